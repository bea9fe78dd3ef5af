#include "PlayInputFeed.h"

#include "KestoGeometry.h"
#include "WorkRunner.h"

#include <algorithm>
#include <cstdlib>

namespace {

// A picture point in the image control's pixels, as the window reports mouse points.
QPoint controlPoint(const WorkRunner& runner, QPoint picture) { return picture * runner.zoomPercent() / 100; }

} // namespace

void PlayInputFeed::deliverDue(int milliseconds, WorkRunner& runner) {
    WorkRunner::GameInput& input = runner.gameInput();
    for (; next_ < inputs_.size() && inputs_[next_].milliseconds <= milliseconds; ++next_) {
        const PlayInput& in = inputs_[next_];
        switch (in.kind) {
        case PlayInput::Kind::Key: input.key = kesto::gameKeyOfVirtualKey(GameKey(in.code)); break;
        case PlayInput::Kind::Click: input.mouseDown = controlPoint(runner, in.points.front()); break;
        case PlayInput::Kind::Drag:
            input.mouseDown = controlPoint(runner, in.points.front());
            dragAt_ = in.points.front();
            dragPath_.assign(in.points.begin() + 1, in.points.end());
            break;
        }
    }
}

void PlayInputFeed::frameDrawn(WorkRunner& runner) {
    if (dragPath_.empty()) return;
    const QPoint to = dragPath_.front();
    const QPoint d = to - dragAt_;
    const int distance = std::max(std::abs(d.x()), std::abs(d.y()));
    if (distance <= kDragStep) {
        dragAt_ = to;
        dragPath_.pop_front();
    } else {
        dragAt_ += d * kDragStep / distance;
    }
    runner.gameInput().mouseHeld = controlPoint(runner, dragAt_);
}
