// The anime commands a work runs: the timing, chart and music settings, the other run-time
// settings, and the character commands that set attributes ("ball[2]:X=100,dim[3]=7"). The step
// executor hands each evaluated command here; the palette's command line does the same with typed
// text. The dispatchers only choose and call: the animation, view, chart and host do the work.
#pragma once

#include "script/StepHost.h"

#include <QString>

#include <optional>

class WorkRunner;
struct progInfo;

class AnimeCommands {
public:
    explicit AnimeCommands(WorkRunner& window) : w_(window) {}

    // `AcmdTime`, `AnimeTime`, `TimeFlow`, `metaChart` and `Music`: 1 handled, -1 handled with a
    // reported error (missing music or chart data), 0 not one of them. Cost: constant plus a chart
    // definition read.
    int runTimingCommand(const QString& command, bool display);
    // Every other setting and the character commands, one after another along the text: 0 done
    // (or nothing to do), 1 failed (a missing character or a malformed pair). Cost: linear in
    // the text plus what the settings do.
    int runCommand(const QString& command);
    // "target[index]: pair, pair, ...": the rest after success (empty), nothing on failure.
    // Cost: linear in the text plus a name lookup.
    std::optional<QString> runCharacterCommand(QStringView command);
    // The character command of a program statement straight from its parsed shape, kept on the
    // statement (this class is the only one that keeps anything there): see
    // CompiledCharacterCommand::run. Declined for every other statement. Cost: constant after
    // the statement's first run (its parse, linear in the code).
    StepHost::Compiled runCompiledCommand(progInfo& statement);

private:
    WorkRunner& w_;
};
