// The command line of the headless runner `vimora-run`.
#pragma once

#include <QPoint>
#include "common/FrameSequenceWriter.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

// One input of headless play, given at a virtual time as a user would give it to the work window.
struct PlayInput {
    enum class Kind { Key, Click, Drag };
    Kind kind = Kind::Key;
    int milliseconds = 0;
    int code = 0;              // Key: the virtual key code as the game pad or keyboard makes it
    std::vector<QPoint> points; // Click: one point; Drag: the press and then the points moved to,
                                // in picture pixels
};

struct RunOptions {
    static constexpr int kMaxMilliseconds = 600000;
    static constexpr int kNoRunMilliseconds = 1000; // what --no-run animates without --ms

    QString program;     // a local .acmd file or an http(s): URL
    int milliseconds = -1; // -1: until the program has ended (at most kMaxMilliseconds)
    bool noRun = false;
    int width = 0, height = 0; // 0: the size the work window would use
    QString png;
    QString framesDir;
    FrameSequenceWriter::Format framesFormat = FrameSequenceWriter::Format::Png;
    QString stateFile;   // "-" for standard output
    int answer = 0;      // answer to every yes/no question
    std::optional<uint32_t> seed;
    bool window = false; // show the work in a window with real timers instead
    bool pad = false;    // the game pad is opened as soon as a game offers it
    std::vector<PlayInput> inputs; // sorted by time, the given order kept within one time
    bool help = false;

    // Parses the arguments (without the program name). Nothing, with `error` set, for unknown
    // options, missing or malformed values and a missing PROGRAM. Cost: linear.
    static std::optional<RunOptions> parse(const QStringList& arguments, QString* error);
    // The usage text of --help.
    static QString usage();
    // The simulated time: --ms, else kNoRunMilliseconds with --no-run, else the maximum.
    int simulatedMilliseconds() const;
};
