// The headless state of the Atelier window: font size, board, the changed mark, the keyword form
// of the text, the countdown that stops a loaded work's animation, the menu's rows as they are
// drawn, the reference's category and expansion, and the geometry rules of its placement.
#pragma once

#include "AtelierColours.h"
#include "CommandReference.h"

#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>

// The menu rows, in order.
enum AtelierCommand : int {
    CmdLayout, CmdNew, CmdLoad, CmdSaveAs, CmdOverwrite, CmdConvert, CmdRevert, CmdBoard,
    CmdFontUp, CmdFontDown, CmdApply, CmdRun, CmdWorkshop, CmdHelp, AtelierCommandCount
};

// How one menu row is drawn.
struct MenuRowLook {
    QString label;
    uint32_t text = 0xE0F0E0;       // 0x00BBGGRR
    uint32_t background = 0x302000;
};

class AtelierModel {
public:
    static constexpr int kStartFontSize = 12;
    static constexpr int kSmallestFont = 5;
    static constexpr int kStopTicks = 100; // Atelier ticks a loaded work animates without running

    // ---- font ----
    int fontSize() const { return fontSize_; }
    // "フォント＋" / "フォント－": one point larger, or smaller while above 5. Cost: constant.
    void growFont() { ++fontSize_; }
    void shrinkFont() {
        if (fontSize_ > kSmallestFont) --fontSize_;
    }
    // Width of the line-number column: 4 × the font size.
    int numberWidth() const { return 4 * fontSize_; }

    // ---- board and colours ----
    int board() const { return board_; }
    void flipBoard() { board_ = board_ == BlackBoard ? WhiteBoard : BlackBoard; }
    ColourTable& colours() { return colours_; }
    const ColourTable& colours() const { return colours_; }
    uint32_t colour(int pair) const { return colours_.colour(pair, board_); }

    // ---- text state ----
    // The editor text differs from what was last loaded, saved or converted.
    bool changedMark() const { return changedMark_; }
    void setChangedMark(bool changed) { changedMark_ = changed; }
    // The text was mostly Japanese at its last full recolouring (label of the convert row).
    bool japaneseForm() const { return japaneseForm_; }
    void setJapaneseForm(bool japanese) { japaneseForm_ = japanese; }
    bool savedWhileOpen() const { return savedWhileOpen_; }
    void setSavedWhileOpen(bool saved) { savedWhileOpen_ = saved; }

    // ---- the stop countdown ----
    // After a load or an apply the work animates for kStopTicks ticks unless it runs.
    void startStopCountdown() { stopCountdown_ = kStopTicks; }
    // One Atelier tick: true exactly when the countdown ran out now and the work is not running,
    // so its animation timer is to stop. Cost: constant.
    bool countDown(bool workRunning);
    int stopCountdown() const { return stopCountdown_; }

    // ---- menu ----
    // Label and colours of menu row `row`; `running` tells whether the edited work runs, `pressed`
    // whether the mouse holds the row down. Cost: constant.
    MenuRowLook menuRow(int row, bool running, bool pressed) const;

    // ---- reference ----
    int category() const { return category_; }
    void setCategory(int row) { category_ = row; }
    bool expanded() const { return expanded_; }
    void flipExpanded() { expanded_ = !expanded_; }

private:
    ColourTable colours_;
    int fontSize_ = kStartFontSize;
    int board_ = BlackBoard;
    bool changedMark_ = false;
    bool japaneseForm_ = false;
    bool savedWhileOpen_ = false;
    int stopCountdown_ = 0;
    int category_ = kFirstCategory;
    bool expanded_ = false;
};

// ---- placement ----
// The Atelier on the exhibition area of `area` size: right of the work window (whose right edge
// is `workRight`) with 20 pixels around; narrower than 960 it becomes the area's width − 40 (at
// most 960), right-aligned 20 pixels from the edge; from 20 below the palette's bottom to 20
// above the area's bottom. Cost: constant.
QRect dockedPlace(QSize area, int workRight, int paletteBottom);
// The Atelier floating on a screen of `screen` size: 40 pixels from its right and bottom edges.
QRect floatingPlace(QSize screen);

// The panels inside the Atelier at `size` with the menu panel `menuWidth` and the variables
// panel `valuesWidth` wide.
struct AtelierPanels {
    QRect editor;
    QRect reference;
    QRect values;
};
AtelierPanels innerPlace(QSize size, int menuWidth, int valuesWidth);

// The layout cycle ("レイアウト"): which of the variables and reference panels are visible.
struct PanelsShown {
    bool values = true;
    bool reference = true;
    bool operator==(const PanelsShown&) const = default;
};
// Hides the variables panel when shown; else hides the reference when shown; else shows both.
PanelsShown nextLayout(PanelsShown now);
// The panels after a layout cycle in an Atelier of `size`; the editor keeps its left and top.
AtelierPanels cycledPlace(QSize size, const AtelierPanels& now, PanelsShown shown);
