// What a work runner shows on and asks of its palette: the palette's displays and message list,
// its window list (which window is current, closing or has neighbours), its frame period control,
// the viewing log, the music (one per palette) and the chart form. The palette implements
// it itself; a lone window and the headless runner use a stand-in (WorkHost). Every call is cheap
// and returns at once; the defaults do nothing, so a palette overrides only what it shows.
#pragma once

#include <QString>

class WorkRunner;

// Kinds of viewing log lines written by the work window.
enum class ViewingEvent { Started = 3, Ended = 4 };

class WorkPaletteSide {
public:
    virtual ~WorkPaletteSide() = default;

    // ---- the window list ----
    // True while the window is the palette's current work window (its displays follow it); a
    // lone window is its palette's current one.
    virtual bool isCurrentWindow(const WorkRunner&) const { return true; }
    // True while the palette's tour shows this window.
    virtual bool isTourWindow(const WorkRunner&) const { return false; }
    // True while the palette is about to close this window (`windowToClose`).
    virtual bool isClosing(const WorkRunner&) const { return false; }
    // True when the window has a previous or next window in the palette's list.
    virtual bool hasNeighbours(const WorkRunner&) const { return false; }
    // The palette's `presentAll`: every work animates, not only the current one.
    virtual bool presentAll() const { return false; }

    // ---- displays ----
    // The palette's frame period control (`UpDownWait`), read when the window is shown.
    virtual int paletteFramePeriod() const { return 100; }
    // The window's frame period changed through the palette's control (current window only).
    virtual void framePeriodChanged(int milliseconds) {}
    // `CtrlEditCmd`: the program line, the wait display and " Kbasic End".
    virtual void showCommandLine(const QString& text) {}
    // `PanelAcmdTime`: the program interval, "∞ " after the end of a run.
    virtual void showProgramInterval(const QString& text) {}
    // The run buttons show running (true) or stopped.
    virtual void updateRunButton(bool running) {}
    // One line of the palette's message list (`MemoLog`).
    virtual void addMessage(const QString& line) {}
    // `labelCamera`: the camera status, written every frame of the current window.
    virtual void showCameraStatus(const QString& text) {}
    // The palette's viewing log: a started or ended line of `window` with its caption; the
    // palette adds the time stamp and, for the end, the seconds since that window's own start.
    virtual void logViewing(ViewingEvent event, const WorkRunner& window, const QString& caption) {}

    // ---- music (one record and one player per palette) ----
    virtual bool hasMusic() const { return false; }
    // A music command with a file: the palette's record takes the play count, the file name and
    // the program's folder (created when there is none).
    virtual void setMusic(int count, const QString& fileName, const QString& folder) {}
    // A music command without a file: only the play count changes.
    virtual void setMusicCount(int count) {}
    // The palette's timer starts the player.
    virtual void startMusic() {}
    virtual void stopMusic() {}

    // ---- chart ----
    // The chart form moved, resized, appeared or vanished (see WorkChart for its geometry).
    virtual void chartChanged(const WorkRunner&) {}
};
