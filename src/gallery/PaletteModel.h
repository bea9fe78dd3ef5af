// The palette without its window: it owns the list of work windows with the current one, keeps
// the viewing log's clock, shares the gallery's stop flag, and runs the palette timer
// `TimerCtrl` (20 ms, acting every fifth tick) that performs the window closes and run toggles
// asked for from event handlers, the music requests and the tour steps.
#pragma once

#include "GalleryState.h"
#include "PaletteWindow.h"
#include "PaletteLog.h"
#include "musicInfo.h"

#include <QSize>

#include <list>
#include <memory>

// What the palette's step asks of the windows around it. Every call returns at once.
class PaletteStage {
public:
    virtual ~PaletteStage() = default;
    // One line for `MemoLog`.
    virtual void appendLogLine(const QString& line) = 0;
    // The very first timer tick (the mouse pointer goes to the gallery's top right).
    virtual void firstTick() {}
    // A window is about to be destroyed: nothing may stay attached to it.
    virtual void windowClosing(PaletteWindow&) {}
    // After a close: the theme, the command line and the run button follow `current` (none when
    // no window is left); `count` windows remain (the gallery's "全発表" and "巡回" need two).
    virtual void windowClosed(PaletteWindow* current, int count) {}
    // The music player starts the music of the current work, respectively plays it again.
    virtual void startMusicPlayer() {}
    virtual void repeatMusic(int step) {}
    // One tour step of the gallery.
    virtual void tourStep() {}
    // A palette step failed beyond repair: the program ends (exit status 0).
    virtual void endProgram() = 0;
};

class PaletteModel {
public:
    static constexpr int kTimerInterval = 20; // ms
    static constexpr int kTicksPerStep = 5;   // the step acts every 100 ms

    // Writes the size line and the opening line. `gallery` (whose stop flag stops the palette's
    // timer and is set when a step fails) and `stage` must outlive the model. Cost: constant.
    PaletteModel(GalleryState& gallery, PaletteStage& stage, QSize screen,
                 PaletteLog::Clock clock = PaletteLog::systemClock());

    GalleryState& gallery() { return gallery_; }

    // ---- viewing log ----
    // Formats a stamped line (see PaletteLog::line) and hands it to `MemoLog`.
    void addLogLine(int kind, const QString& text = {}, const void* window = nullptr);
    // A line without stamp.
    void addPlainLine(const QString& line) { stage_.appendLogLine(line); }

    // ---- work windows ----
    // Links `window` after `after` (at the end when none) and returns it; the first window
    // becomes the current one. Cost: linear in the windows.
    PaletteWindow& addWindow(std::unique_ptr<PaletteWindow> window, PaletteWindow* after = nullptr);
    PaletteWindow* currentWindow() const { return current_; }
    // Makes a linked window the current one (an unknown one is ignored). Cost: linear.
    void setCurrentWindow(PaletteWindow* window);
    PaletteWindow* firstWindow() const { return windows_.empty() ? nullptr : windows_.front().get(); }
    PaletteWindow* previousWindow(const PaletteWindow* window) const;
    PaletteWindow* nextWindow(const PaletteWindow* window) const;
    // The window has a previous or next window. Cost: linear.
    bool hasNeighbours(const PaletteWindow* window) const;
    int countWindows() const { return static_cast<int>(windows_.size()); }
    // The first window for which `match` holds, or none. Cost: linear.
    template <typename Match>
    PaletteWindow* findWindow(Match match) const {
        for (const auto& w : windows_)
            if (match(*w)) return w.get();
        return nullptr;
    }

    // Unlinks and destroys `window`: its next window takes its place, the current window becomes
    // its next one (its previous one when it was the last), the head moves on when it was first;
    // the stage hears windowClosed with the new current window and count; bit 1 of displayFlags
    // is cleared. An unknown window is ignored. Cost: linear in the windows.
    void closeWindow(PaletteWindow* window);

    // "×": closes the current window at once when it has a neighbour; the single window is
    // refused with "最後の一作品なので撤去できません！" and false. Cost: as closeWindow.
    bool removeCurrentWindow();

    // ---- requests done by the next step ----
    // A close asked for from the window's own handler; it happens at the palette's next step.
    // The last window is refused as "×" refuses it ("最後の一作品なので撤去できません！"), so that
    // the gallery always has a window to show works in; false then. Cost: linear in the windows.
    bool requestClose(PaletteWindow* window);
    PaletteWindow* windowToClose() const { return windowToClose_; }
    // The current window's run is toggled at the next step.
    void requestRunToggle() { runToggleRequest_ = true; }
    bool runToggleRequest() const { return runToggleRequest_; }

    // The music stops: a start or step still waiting for the timer is dropped. Cost: constant.
    void cancelMusic() { musicRequest = musicStep = 0; }

    // Display state used by the gallery (bit 0 list display, bit 1 the group's windows exist).
    int displayFlags = 0;
    // The music state: a request (1 start), a pending step (above 0, a repeat) and the record
    // whose play counter the timer runs.
    int musicRequest = 0;
    int musicStep = 0;
    musicInfo music;
    // The window the tour shows, none when no tour runs.
    PaletteWindow* tourWindow = nullptr;
    // "全発表" (every work animates) and "全Run" (every program was started).
    bool presentAll = false;
    bool runAll = false;
    // `listZoomWidth`: the width in pixels a work window aims at in list display.
    int listZoomWidth = 0;

    // ---- the palette timer ----
    // One 20 ms tick: the stop flag stops the timer; the music counter runs; every fifth tick,
    // under a busy flag, the first of: a close, a run toggle, the music start, a music step, a
    // tour step with the title plate countdown. A failure sets bit 2 of the stop flag, stops the
    // timer, reports "再度の入館をお願いします。" and ends the program. Cost: that operation.
    void tick();
    bool timerOn() const { return timer_.on(); }
    // The palette window's timer follows this switch (see TimerSwitch::listen).
    TimerSwitch& timer() { return timer_; }
    // The palette is shown: the timer runs.
    void startTimer() { timer_.set(true); }
    void stopTimer() { timer_.set(false); }
    int tickCount() const { return tickCount_; }

private:
    void step();
    void countDownPlates();

    PaletteStage& stage_;
    GalleryState& gallery_;
    PaletteLog log_;
    std::list<std::unique_ptr<PaletteWindow>> windows_;
    PaletteWindow* current_ = nullptr;
    PaletteWindow* windowToClose_ = nullptr;
    bool runToggleRequest_ = false;
    int tickCount_ = 0;
    bool busy_ = false;
    TimerSwitch timer_;
    bool ticked_ = false;
};
