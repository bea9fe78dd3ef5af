// Everything a work window reaches outside itself: the palette's displays and message list, the
// gallery's stop flag and works list, the viewing log, the music player, the chart form and the
// window placement. The palette and gallery implement it; until they exist a stand-in host (and
// the headless runner's recording host) do. Every call is cheap and returns at once; the defaults
// do nothing, so a host overrides only what it shows.
#pragma once

#include "anime/AnimeKind.h"

#include <QString>

#include <cstdint>
#include <memory>

class AnimeInfo;
class WorkRunner;

// Size and options of a chart definition, as the chart reader gives them.
struct ChartDefinition {
    int width = 400;
    int height = 300;
    int options = 0; // bit 0: the chart panel gets a border
    int kind = 0;    // 1 "http:", 2 "file:", 3 "text:", 4 "html:", 5 "imag:", 6 "tbl0:", 7 "exec:"; 0 unknown
};

// Kinds of viewing log lines written by the work window.
enum class ViewingEvent { Started = 3, Ended = 4 };

class WorkHost {
public:
    virtual ~WorkHost() = default;

    // ---- palette ----
    // True while the window is the palette's current work window (its displays follow it); a
    // lone window is its palette's current one.
    virtual bool isCurrentWindow(const WorkRunner&) const { return true; }
    // True while the palette's tour shows this window.
    virtual bool isTourWindow(const WorkRunner&) const { return false; }
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
    // The palette's `presentAll`: every work animates, not only the current one.
    virtual bool presentAll() const { return false; }
    // True while the palette is about to close this window (`windowToClose`).
    virtual bool isClosing(const WorkRunner&) const { return false; }
    // The palette's viewing log: a started or ended line of `window` with its caption; the host
    // adds the time stamp and, for the end, the seconds since that window's own start.
    virtual void logViewing(ViewingEvent event, const WorkRunner& window, const QString& caption) {}

    // ---- gallery ----
    // The gallery's shared `stopFlag` (1 gallery, 2 palette, 4 program fault, 8 frame fault).
    virtual int stopFlag() const { return 0; }
    virtual void setStopFlag(int flag) {}
    // The end of a run: `lastRow` takes the current row, the list is repainted, `tourCount` 9999.
    virtual void runEnded(WorkRunner&) {}
    // A start of a work that has no character: the program never runs, so a tour waiting on it
    // must treat it as ended now.
    virtual void runNotStarted(WorkRunner&) {}
    // The run was toggled from the window or the palette: in list display the gallery grows a
    // window at its list size when it starts (`zoomInWindow`) and shrinks it back when it stops.
    virtual void runToggled(WorkRunner&, bool starting) {}
    // True when the window has a previous or next window in the gallery's chain.
    virtual bool hasNeighbours(const WorkRunner&) const { return false; }

    // ---- music (one player per palette) ----
    virtual bool hasMusic() const { return false; }
    // Gives the player a play count and a file of the program's folder (creating it when missing).
    virtual void setMusic(int count, const QString& file, const QString& folder) {}
    virtual void setMusicCount(int count) {}
    // The palette's timer starts the player.
    virtual void startMusic() {}
    virtual void stopMusic() {}

    // ---- chart ----
    // Reads a chart definition file of the program's folder; false when it cannot be read.
    virtual bool readChart(const QString& file, const QString& folder, ChartDefinition& definition) {
        return true;
    }
    // The chart form moved, resized, appeared or vanished (see WorkChart for its geometry).
    virtual void chartChanged(const WorkRunner&) {}

    // ---- the window itself (asked only while the runner has no window side, see WorkWindowSide) ----
    // Paints the window's frame strips in a colour (0x00BBGGRR).
    virtual void paintWindowFrame(uint32_t color) {}
    // Hides the corner panels when the interaction countdown runs out.
    virtual void hideCornerPanels() {}
    // Centres the window in the gallery, clear of the works panel.
    virtual void reposition() {}
    // Places and refreshes the title plate.
    virtual void placeTitlePlate() {}
    // Hides the game pad at a run start and when the animation is reset.
    virtual void hideGamePad() {}
    // Shows the music panel "♪".
    virtual void showMusicPanel() {}
    // The window's pending camera movement is dropped before a block replaces the animation.
    virtual void clearCameraMotion() {}
    // Opens a file-universe (mode 0) or star-journey (mode 1) window inside the animation.
    virtual std::unique_ptr<AnimeKind> openUniverseWindow(AnimeInfo& owner, const QString& folder,
                                                          const QString& options, int mode) {
        return nullptr;
    }
};
