// Runs a compiled program one source line per tick, as the work window's program timer does:
// the statements that share a step number run together, control statements cost no time, and a
// line that holds `Wait` is followed by that many frames. The window owns the timers and calls
// tick(); commands go to its StepHost. Headless: tests drive it call by call.
#pragma once

#include <QString>

#include <cstdint>

class kestoBasInfo;
class StepHost;
struct progInfo;

class StepExecutor {
public:
    // What one program tick did; the window switches its timers by it.
    enum class Tick {
        Ran,           // a line (or part of it, after the statement budget) ran
        Waiting,       // frames of a `Wait` still to pass; nothing ran
        Ended,         // no current statement or not running: the run is over
        StatusStopped, // the interpreter's status is set: "err2" went to the message list
        CommandFailed, // a command failed and was reported; the run is over
        Faulted,       // a fault (remainder by zero, full item table) ended the run; reported
    };

    // Both links stay owned by the caller and must outlive the executor.
    StepExecutor(kestoBasInfo& interpreter, StepHost& host);

    // Starts a run at the first statement of `list` (the program's when nullptr).
    void start(progInfo* first = nullptr);
    // Stops the run: the next tick ends it.
    void stop();
    // One program tick: nothing once the status is not Well, a pending wait, else one line. Cost: the statements of one line,
    // at most the interpreter's statement budget.
    Tick tick();
    // One program line (the step executor proper): what tick() runs. `display` shows the lines
    // and reports command errors. Returns false when a command failed. May throw ScriptFault.
    bool step(bool display);
    // One frame passed: a pending wait decreases. Cost: constant.
    void frameElapsed() { if (wait_ > 0) --wait_; }

    bool running() const { return running_; }
    int wait() const { return wait_; }
    void setLineDisplay(bool on) { lineDisplay_ = on; }
    // "%04d/%04d: %s" of the last command's source line (shown while waiting); built on demand.
    QString displayText() const;
    // True when the last step ended because the statement budget ran out mid-line.
    bool budgetExhausted() const { return budgetExhausted_; }

    // Runs an `Acmd_Run` block copy in one go without display; a step that exhausts the statement
    // budget is a fault (reported, then ScriptFault). Used by readStatement.
    static void runBlock(kestoBasInfo& interpreter, StepHost* host, progInfo* first);

private:
    bool runCommand(progInfo* s, bool display);
    // The statement's line becomes the one the display text shows (one of two lines at least).
    void noteDisplayLine(const progInfo* s);
    // A command of `s` failed: the run stops; with display on, the line is reported. Returns false.
    bool commandFailed(const progInfo* s, bool display);
    // With display on, a command that left a parameter without value is named with its line.
    void reportMissingValue(const progInfo* s, bool display) const;

    kestoBasInfo& k_;
    StepHost& host_;
    bool running_ = false;
    bool nonStop_ = false;
    bool lineDisplay_ = true;
    bool budgetExhausted_ = false;
    int wait_ = 0;
    QString buffer_;                        // evaluation buffer
    int displayLine_ = 0;                   // line of the display text, 0 for none
    QString displaySource_;                 // its source (shares the program line)
};
