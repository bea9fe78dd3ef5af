// What the step executor needs from the window that runs the program: the anime commands it
// meets (settings and character commands, Part of the work window), the line display and the
// frame painting after a block. The work window implements it; tests use a fake.
#pragma once

#include <QString>

class kestoBasInfo;
struct progInfo;

class StepHost {
public:
    virtual ~StepHost() = default;

    // Timing, chart and music settings: 1 handled, -1 handled with a reported error, 0 not one of
    // them. `display` is off inside an `Acmd_Run` block.
    virtual int runTimingCommand(kestoBasInfo& interpreter, const QString& command, bool display) = 0;

    // Every other setting and the character commands: 0 done (or nothing to do), 1 failed.
    virtual int runCommand(kestoBasInfo& interpreter, const QString& command) = 0;

    // What runCompiledCommand did with a statement.
    enum class Compiled {
        Declined, // not run: the statement takes the general path (evaluate, then runCommand)
        Done,     // run with the general path's effects, no parameter left without its value
        Failed,   // run and failed as runCommand's 1 would have (its message logged)
    };
    // Runs the command of statement `s` straight from its compiled code, before any evaluation,
    // when the host can do so with the general path's effects; may keep what it learns in
    // s.hostCache. May throw ScriptFault as the evaluator does. Cost: the host's; a host without
    // such a path declines at once.
    virtual Compiled runCompiledCommand(kestoBasInfo& /*interpreter*/, progInfo& /*s*/) { return Compiled::Declined; }

    // The source line about to run (or " ---" while the line display is off), display on only.
    virtual void showLine(const QString& text) = 0;

    // Paints the window's frame after an `Anime_Set` or `Anime_Add` block ran.
    virtual void paintFrame() = 0;

    // A statement faulted and its message window is about to open: whatever animates stops now,
    // so nothing moves behind the message.
    virtual void programFaulted() {}
};
