// What every headless core (gallery, palette, work runner) shares about the timers its window
// runs for it: the core says whether it wants its timer and the window hears each change through
// one callback, and each timer step runs under one guard.
#pragma once

#include <exception>
#include <functional>
#include <utility>

// The core's wish for its window's timer. The window installs its listener once and never asks
// again; a set() that changes nothing tells nobody. Cost: constant.
class TimerSwitch {
public:
    bool on() const { return on_; }
    void set(bool on) {
        if (on_ == on) return;
        on_ = on;
        if (listener_) listener_(on_);
    }
    // `listener` hears the present state at once and every change after it.
    void listen(std::function<void(bool on)> listener) {
        listener_ = std::move(listener);
        if (listener_) listener_(on_);
    }

private:
    std::function<void(bool)> listener_;
    bool on_ = false;
};

// One timer step under the guard every timer of the program keeps. A step already under way is
// not entered again: a message window opened inside it runs its own event loop, which fires the
// same timer. A step that throws opens the guard again and ends in `fault`, which stops the
// timer, sets the stop flag and tells the user as its owner does. True when the step ran to its
// end. Cost: the step.
template <typename Step, typename Fault>
bool guardedStep(bool& busy, Step&& step, Fault&& fault) {
    if (busy) return false;
    busy = true;
    try {
        step();
    } catch (const std::exception&) {
        busy = false;
        fault();
        return false;
    }
    busy = false;
    return true;
}
