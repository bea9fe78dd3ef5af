// The works list of the gallery without its grid: how each catalog row looks, which rows a fold
// keeps, the panel's height and the hints. The gallery window draws what this describes.
#pragma once

#include "Catalog.h"

#include <QFontMetrics>
#include <QLine>
#include <QRect>
#include <QString>
#include <vector>

class WorksList {
public:
    static constexpr int kRowHeight = 24;

    // Bits of the fold state: only the selected source's works, only the selected group's works.
    enum Fold { FoldSource = 1, FoldGroup = 2 };

    // What one row shows. Colours are 0x00BBGGRR values; lines are in the row's coordinates.
    struct RowLook {
        bool drawn = false;       // false past the catalog or for a row lower than 3 pixels
        uint32_t background = 0;
        uint32_t textColour = 0;
        int textLeft = 0;
        int textTop = 6;
        QString text;
        bool framed = false;      // the current row's frame, 0xFFFF00, inset by one pixel
        std::vector<QLine> treeLines;     // 0x800000, or 0xF0C0C0 for the work line of the current row
        bool currentWorkLine = false;     // the group-to-work line is drawn in 0xF0C0C0
        bool struckThrough = false;       // a source whose group.txt could not be fetched
        QLine strike;                     // 0xC0
        bool runButton = false;           // the run button sits at (left + 10, top + 4)
    };

    explicit WorksList(const Catalog& catalog) : catalog_(catalog) {}

    // The look of `row` in a rectangle of `rect` size, with `currentRow` selected; `running` tells
    // whether the current work window runs its program. Cost: constant.
    RowLook look(int row, QSize rect, int currentRow, bool running) const;

    // Height of every row for a fold state around `at` (its source and group): folded-away works get
    // 0, every other row 24. Cost: linear in the rows.
    std::vector<int> rowHeights(int fold, const CatalogEntry& at) const;

    // Height of the works panel for these row heights: the smaller of 25 per visible row and two
    // thirds of the gallery's height, plus 34 (unfolded: (24 + 1) x (rows + 1) + 12, capped likewise).
    static int panelHeight(const std::vector<int>& heights, int galleryHeight, bool folded);

    // Width the panel needs: the widest group or work title in `metrics` plus 100. Cost: linear.
    int neededWidth(const QFontMetrics& metrics) const;

    // The fold state after a click (toggle) or a programmatic selection of `row`: a source row
    // flips the source fold (clearing the group fold) or clears everything; a group row shows only
    // its works, except that a second click on the current group in one display shows the whole
    // source again; a work row leaves the fold as it is. Cost: constant.
    int foldAfterSelect(int fold, int row, bool toggle, bool oneDisplay, const acmdGroupInfo* currentGroup) const;

    // The hint over a row: the source's location, the work's file name, or " 展示作品の選択　".
    QString hint(int row) const;

private:
    const Catalog& catalog_;
};
