// The widget side of a work window as its runner sees it: what the run loop and the animation
// ask of the window itself (its frame, corner panels, place, title plate, game pad, music
// button, the windows opened inside the animation). The work window implements it; the headless
// runner has HeadlessWindowSide.
#pragma once

#include "anime/AnimeHost.h"
#include "anime/AnimeKind.h"

#include <QString>

#include <cstdint>
#include <memory>

class AnimeInfo;
class WorkChart;

class WorkWindowSide {
public:
    virtual ~WorkWindowSide() = default;
    // Shows the frame strips in a colour (0x00BBGGRR), or the frame pattern when one is set.
    virtual void paintWindowFrame(uint32_t color) = 0;
    // The interaction countdown ran out: the corner panels hide.
    virtual void hideCornerPanels() = 0;
    // The reposition request: centred in the gallery and clear of the works panel.
    virtual void reposition() = 0;
    // Places and refreshes the title plate.
    virtual void placeTitlePlate() = 0;
    // Hides the game pad (a run starts).
    virtual void hideGamePad() = 0;
    // The animation is reset: the game panel "プレイ" hides in its idle colour, and its pad too.
    virtual void hideGamePanel() = 0;
    // A player character waits for the user: the game panel "プレイ" appears.
    virtual void showGamePanel() = 0;
    // True while the game pad is shown.
    virtual bool gamePadVisible() const { return false; }
    // A program set music: the music button "♪" appears.
    virtual void showMusicPanel() = 0;
    // The chart is shown: a new form is made for it (the old one closed) and filled from its
    // definition, with relative names taken from `folder`. False when no form stands in sight
    // (a program was started instead, or the chart was refused with a message). The default
    // shows nothing and says so.
    virtual bool openChartForm(WorkChart& chart, const QString& folder) { return false; }
    // The chart's form takes the geometry and visibility the chart now has.
    virtual void chartMoved(const WorkChart& chart) {}
    // The chart goes: its form closes.
    virtual void closeChartForm() {}
    // The window's place and size as the canvas setting reads them.
    virtual AnimeWindowGeometry windowGeometry() const = 0;
    // The canvas setting moves and resizes the window.
    virtual void moveWindow(int left, int top) = 0;
    virtual void resizeWindow(int width, int height) = 0;
    // The canvas setting's `max`: the window fills the exhibition area (the screen while it
    // floats); restoreNormal() puts it back where it was before.
    virtual void maximise() = 0;
    virtual void restoreNormal() = 0;
    // The frame strips' thickness (-1 leaves one as it is).
    virtual void setFrameStrips(int topBottom, int leftRight) = 0;
    // Opens a file-universe (mode 0) or star-journey (mode 1) window inside the animation;
    // nullptr while the window has none to offer.
    virtual std::unique_ptr<AnimeKind> openUniverseWindow(AnimeInfo& owner, const QString& folder,
                                                          const QString& options, int mode) {
        return nullptr;
    }
};
