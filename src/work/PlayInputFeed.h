// Hands the play inputs of vimora-run (--key, --click, --drag) to a work runner's game input as
// their times come, as a user at the work window would give them: a key as the game pad makes
// it, a mouse-down on the picture, and a drag whose pointer moves on a little with every frame
// drawn. The headless clock and the window run both feed through it.
#pragma once

#include "RunOptions.h"

#include <QPoint>

#include <deque>
#include <vector>

class WorkRunner;

class PlayInputFeed {
public:
    // A drag's pointer moves this many picture pixels a frame, so it crosses a game's cell over
    // several frames as a hand does.
    static constexpr int kDragStep = 8;

    // `inputs` sorted by time (RunOptions::parse sorts them). Cost: a copy of them.
    explicit PlayInputFeed(std::vector<PlayInput> inputs) : inputs_(std::move(inputs)) {}

    // Hands every input due at `milliseconds` (and before) to the runner's game input.
    // Cost: constant an input.
    void deliverDue(int milliseconds, WorkRunner& runner);
    // A frame was drawn: the pointer of a drag moves on toward its next point. Cost: constant.
    void frameDrawn(WorkRunner& runner);
    // True once every input was handed over and no drag moves any more.
    bool done() const { return next_ >= inputs_.size() && dragPath_.empty(); }

private:
    std::vector<PlayInput> inputs_;
    size_t next_ = 0;
    std::deque<QPoint> dragPath_; // the points a drag still moves to
    QPoint dragAt_;
};
