// A work run without a window on a virtual clock of 10 ms steps: the frame timer fires every step
// and the program timer at its current interval, as for the palette's current work window (when
// both fall due at once the frame tick goes first). Message windows are answered by a recording
// sink. The code path of `vimora-run`, its tests and the interpreter benchmark.
#pragma once

#include "HeadlessWindowSide.h"
#include "PlayInputFeed.h"
#include "RecordingWorkHost.h"
#include "RunOptions.h"
#include "WorkRunner.h"
#include "common/ShowCheck.h"

#include <QJsonObject>

class FrameSequenceWriter;

#include <functional>
#include <memory>

class HeadlessRun {
public:
    static constexpr int kStep = 10; // virtual milliseconds per clock step

    // `print` receives each "caption: text" of a message window and each message list line as
    // it happens (nothing printed without it).
    explicit HeadlessRun(RunOptions options, std::function<void(const QString&)> print = {});
    ~HeadlessRun();

    // Loads the program (file or URL). False when it could not be loaded (reported). Cost: the
    // load and compile, a fetch for a URL.
    bool load();
    // Shows the work, starts it unless --no-run, and runs the virtual clock until the program has
    // ended or the simulated time is over. Cost: the ticks run.
    void run();
    // The parts of run(): show (and start) the work, then one 10 ms clock step at a time. step()
    // answers false when no timer runs any more. Cost: the ticks that fall due.
    void start();
    bool step();
    // 0 ran to its end (or the time ran out), 1 after a script error or fault, 2 when the program
    // was not loaded or an output could not be written.
    int exitStatus() const;
    // The final state: variables, data, characters, program, frames, timing, messages, dialogs, log.
    QJsonObject state() const;
    // Waits for the frames still being written, then writes --png and --state. False, with the
    // reason printed, when a file could not be written.
    bool writeOutputs();

    WorkRunner& runner() { return *runner_; }
    RecordingWorkHost& host() { return host_; }
    const RecordingCheckSink& dialogs() const { return sink_; }
    int elapsedMilliseconds() const { return now_; }

private:
    void timersChanged();
    void frameDrawn();
    void framesFailed();
    void say(const QString& line) const;

    RunOptions options_;
    std::function<void(const QString&)> print_;
    RecordingWorkHost host_;
    HeadlessWindowSide window_;
    RecordingCheckSink sink_;
    ScopedCheckSink installed_;
    std::unique_ptr<WorkRunner> runner_;
    bool loaded_ = false;
    bool outputFailed_ = false;
    int now_ = 0;
    bool programTimerOn_ = false;
    int programInterval_ = 0;
    int nextProgramTick_ = 0;
    std::unique_ptr<FrameSequenceWriter> frames_; // with --frames, once the folder exists
    PlayInputFeed feed_;
};
