// How a long loop (scan, copy, sort, export) learns that the user pressed its break panel.
#pragma once

#include <atomic>

class BreakPoll {
public:
    virtual ~BreakPoll() = default;
    // Called between items; true when the user asked to break since the last call.
    // A window keeps itself responsive here (pumpPanelMouse); headless code checks a flag.
    virtual bool breakRequested() = 0;
};

// Headless break: a flag that a test or a signal handler sets.
class FlagBreakPoll : public BreakPoll {
public:
    bool breakRequested() override { return flag.exchange(false); }
    std::atomic<bool> flag{false};
};
