// A stand-in for the work window: records the commands the step executor hands over. A command
// whose first character is plain text (no keyword or name code) fails, as a command naming an
// unknown character does.
#pragma once

#include "script/StepHost.h"

#include <QStringList>

class FakeStepHost : public StepHost {
public:
    int runTimingCommand(kestoBasInfo&, const QString& command, bool display) override {
        timing.append(command);
        lastDisplay = display;
        return 0;
    }
    int runCommand(kestoBasInfo&, const QString& command) override {
        commands.append(command);
        return command.front().unicode() < 0x3000 ? 1 : 0;
    }
    void showLine(const QString& text) override { lines.append(text); }
    void paintFrame() override { ++frames; }

    QStringList timing;
    QStringList commands;
    QStringList lines;
    int frames = 0;
    bool lastDisplay = false;
};
