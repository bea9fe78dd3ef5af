// A work run headless on the virtual clock from program lines written to a temporary folder.
#pragma once

#include "TestSupport.h"
#include "anime/GameKey.h"
#include "work/HeadlessRun.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <memory>

class WorkFixture : public testing::Test {
public:
    // Writes the lines as a program file (CR LF, UTF-8 with a byte-order mark) and loads it.
    HeadlessRun& load(const QStringList& lines, RunOptions options = {}) {
        QByteArray bytes("\xEF\xBB\xBF");
        for (const QString& line : lines) bytes += line.toUtf8() + "\r\n";
        options.program = folder.write(QStringLiteral("work.acmd"), bytes);
        run.reset(); // its message sink goes before the next one is installed
        run = std::make_unique<HeadlessRun>(options);
        EXPECT_TRUE(run->load());
        return *run;
    }
    // Runs the clock until `programTicks` program ticks happened. The first tick of a program that
    // begins with its animation block passes over the block.
    void runTicks(int programTicks) {
        while (runner().programTicks() < programTicks && runner().programTimerOn() && run->step()) {}
    }
    // Runs the clock until the program ended (or nothing runs any more).
    void runToEnd() {
        for (int i = 0; i < 600000 / HeadlessRun::kStep && (runner().running() || runner().programTimerOn()); ++i)
            if (!run->step()) break;
    }
    // Frame ticks until one more frame was drawn.
    void nextFrame() {
        const int drawn = runner().framesDrawn();
        for (int i = 0; i < 100 && runner().framesDrawn() == drawn; ++i) runner().frameTick();
    }
    // A key of the game pad, taken by the games in the next drawn frame.
    void press(GameKey key) {
        runner().gameInput().key = key;
        nextFrame();
    }
    WorkRunner& runner() { return run->runner(); }
    RecordingWorkHost& host() { return run->host(); }
    // Value of the variable `name` (without '$'); 0 when it does not exist.
    double variable(const QString& name) {
        const kestoBasInfo& k = runner().interpreter();
        for (int i = 0; i < k.items.count(); ++i)
            if (k.items.item(i).name == name) return k.items.item(i).value;
        return 0;
    }
    const std::vector<RecordingCheckSink::Record>& dialogs() { return run->dialogs().records; }

    // A small animation every test program starts with: one 1 x 1 dot named `ball`.
    static QStringList withBall(const QStringList& program) {
        return QStringList{"ANIME_SET:", "DotPtn:ball,1,1,10,20,0,0,0,1,1", "1", "SET_END:"} + program;
    }

    TempFolder folder;
    std::unique_ptr<HeadlessRun> run;
};
