// The work window's geometry without widgets: corner panel places, zoomed size, centred place in
// the gallery, the picture's overhang, the hover zones, the places of the game pad and the title
// plate, and the game keys of the pad and keyboard. Every function is constant time.
#pragma once

#include "anime/GameKey.h"

#include <QPoint>
#include <QRect>
#include <QSize>

#include <optional>

namespace kesto {

constexpr int kCornerSize = 24;      // PanelRun and the other corner panels
constexpr int kGamePanelWidth = 56;  // "プレイ"
constexpr int kGamePanelHeight = 24;
constexpr int kGamePadSide = 128;    // PanelGameCtrl
constexpr int kLeftOffset = 50;      // added to the centred left
constexpr int kHoverReach = 50;      // half size of the run zone, size of the corner zones
constexpr QSize kCreationSize{800, 400};

// Places of the corner panels inside `PanelAnime` (W x H), corner size s.
struct CornerPlaces {
    QRect run, close, goOut, renew, goHome, free, game;
};
// Run centred; close top right; go-out bottom right; renew bottom left; go-home top left; float
// centred at the top; "プレイ" centred by its own width with its bottom 6 above the bottom.
CornerPlaces layoutCorners(QSize anime, int s = kCornerSize);

// The window size and frame width at a zoom.
struct ZoomedSize {
    QSize window;
    int frameWidth = 0;
};
// Base size and base frame width × zoomPercent / 100 (integer division); none below 10 %, where
// the window keeps what it has. An empty base size (no canvas set yet) stands for the size the
// window is created with.
std::optional<ZoomedSize> applyZoom(QSize base, int baseFrameWidth, int zoomPercent);

// The centred place of a window of `window` size. Docked, in an exhibition area of `area`:
// left = (PW − W) / 2 + 50; top = (PH − H) / 2 − 12, at least 92, then at most PH − H − 20.
// Floating, against the gallery window's size: the same left and top, the top at least
// topBarHeight + 3.
QPoint centreInGallery(QSize window, QSize area, bool docked, int topBarHeight = 40);

// A left clear of the works panel: while the panel is shown (non-empty) and the left lies left
// of its right edge + 20, it becomes that, but at most areaWidth − windowWidth and at least 0.
int clearOfWorksPanel(int left, int windowWidth, int areaWidth, const QRect& worksPanel);

// The picture inside `PanelImg` (the size of `PanelAnime`): left and top −z × 20 / 100, size
// the panel's plus z × 40 / 100, so that it overhangs the visible area on every side.
QRect fitPicture(QSize anime, int zoomPercent);
// The other way round: the visible `PanelImg` of a picture of this size. Cost: constant.
QSize visiblePicture(QSize picture, int zoomPercent);

// Hover zones of the picture.
enum class HoverZone { None = 0, GoOut = 1, GoHome = 2, Close = 3, Nothing = 4, Run = 5, Edge = 6 };
enum class CornerPanel { None, Run, Close, GoOut, GoHome, Renew, Free };
struct Hover {
    HoverZone zone = HoverZone::Nothing;
    CornerPanel panel = CornerPanel::None; // the corner panel to show
    int countdown = 30;                    // the interaction countdown afterwards
    bool highlight = false;                // list display at list size: window turns RGB(255, 255, 224)
};
// The zone of a mouse point (x, y) on a picture of `picture` size with a run panel of `runPanel`
// size: the run zone within 50 of the run panel's centred place, the renew zone at the bottom
// left and the float zone at the top centre (both zone 6), then the corners: go out (at list
// size only), close, go home (not at list size) — only in list display (with neighbours); a
// window of one display has no corner zone.
Hover hoverZone(QSize picture, QSize runPanel, QPoint mouse, bool smallInList, bool hasNeighbours);

// `goFullSize`: 50 pixels from the right and bottom edges of the exhibition area.
QPoint fullSizePlace(QSize area, QSize window);

// Where the game pad stands beside a window (in the exhibition area's coordinates): left = the
// smaller of window right + 30 and areaWidth − 128 (the pad's width) − 30, top = window bottom −
// pad side − 10.
QPoint gamePadPlace(const QRect& window, int areaWidth);

// The title plate of a window.
struct PlatePlace {
    QRect rect;
    int fontSize = 0;
    bool above = false; // at list size: above the window in 0x504000 with text 0xFFFFC0
};
// At list size the plate goes above the window: left + 1, width − 2, height zoom × 30 / 100, font
// zoom × 20 / 100, its bottom one pixel above the window. Otherwise below: font zoom × 11 / 100,
// `characterWidth` pixels per character (11; a lone window's plate takes 16) plus the width of its
// shown buttons, but at most width − 4, height zoom × 26 / 100, centred one pixel below.
PlatePlace titlePlatePlace(const QRect& window, int zoomPercent, bool smallInList, int characters,
                           int characterWidth = 11, int buttonsWidth = 0);
// The music player window: 8 pixels right of the plate, at its top.
QPoint musicPlayerPlace(const QRect& plate);

// The virtual key code of a Qt key (arrows, Backspace, the keypad's "+" / "-" as 107 / 109, the
// main keyboard's "=" / "+" as 187 and "-" as 189, letters and digits as themselves, Enter,
// Escape, Space, Tab); GameKey::None for a key without one.
GameKey virtualKeyOfQtKey(int qtKey, bool keypad);
// The pending game key of a key pressed in `EditGame`: MainPlus becomes NextStage and MainMinus
// PreviousStage.
GameKey gameKeyOfVirtualKey(GameKey virtualKey);

} // namespace kesto
