// The cursor of the tree window without widgets: the grid row and column under the cursor, the
// current node and its path, the first visible row, the automatic scroll, and what the arrow,
// paging and setting keys do. Every move ends in setCell or setCurrent, which keep the current
// node, the path and the visible rows in step.
#pragma once

#include "NebuLayout.h"

#include <QString>

// Keys of the tree window, as the window maps them from the keyboard and its buttons.
enum class NebuKey {
    Left, Right, Up, Down,
    Top,         // "top", T, keypad 7
    Bottom,      // "btm", B, keypad 1
    PageUp,      // keypad 9
    PageDown,    // keypad 3
    Parent,      // "U", U
    DeeperDisplay, ShallowerDisplay, // "+", "-" (keypad too)
    FullDisplay, // "≫": the display depth becomes the search depth
    StarsToggle, // "星", F
    UpsideDown,  // R
    FasterDown, FasterUp, StopScroll, // "▼", "▲", "■"
};

enum NebuModifier : int { ModShift = 1, ModCtrl = 2, ModAlt = 4 };

enum class NebuOutcome {
    Nothing,      // nothing to act on
    Moved,        // the cursor or the scroll changed: repaint
    Relaid,       // the layout changed: repaint everything
    RescanParent, // "U" on the root: the window rescans the folder above the root's path
};

class NebuCursor {
public:
    static constexpr int kSpeedLimit = 30;

    // `layout` must outlive the cursor; call relayout() or setCurrent() before the first use.
    explicit NebuCursor(NebuLayout& layout) : layout_(layout) {}

    // Grid rows that fit the window; paging and keeping the cursor in view use it. O(1).
    void setVisibleRows(int rows) { visibleRows_ = rows < 1 ? 1 : rows; }
    int visibleRows() const { return visibleRows_; }

    // One key with its NebuModifier bits. Cost: O(1) for plain moves; a galaxy search walks the
    // display chain to the galaxy found; setting keys relay the tree out.
    NebuOutcome key(NebuKey key, int modifiers = 0);

    // Moves the cursor to a grid cell; a column the row lacks becomes 0. Makes its node current.
    // O(columns + depth).
    void setCell(int gridRow, int column);
    // Makes a node with a row current (a node without one: the nearest row-holding node before
    // it). O(depth), plus the walk back for a hidden node.
    void setCurrent(fileInfo* node);
    // Relays the tree out and puts the cursor back on `node` (or the nearest shown before it).
    void relayoutKeeping(fileInfo* node);
    // relayout() with the cursor on the top galaxy's row and the grid scrolled to its start.
    void relayoutToTop();

    // Moves the cursor `rows` grid rows (0 or less counts as 5), kept inside the grid. O(1).
    void rowStep(int rows, bool down);
    // The galaxy of the current node's depth (of depth 1 below the top galaxy) next above or
    // below on the grid, never past the top galaxy; upside down "below" is the earlier one in
    // the display chain. Nothing when there is none. O(chain nodes passed over).
    NebuOutcome galaxyStep(bool down);

    // One timer tick of the automatic scroll: the first visible row moves by the speed while it
    // stays inside the grid, otherwise the speed becomes 0. True when it moved. O(1).
    bool autoScrollTick();
    // After a scroll that did not move the cursor (wheel, scroll bar, automatic scroll): a cursor
    // row that left the visible rows is brought to the nearest visible row, keeping its column
    // where the row has one, and its node becomes current. True when it moved. O(columns + depth).
    bool followView();
    int speed() const { return speed_; }

    int gridRow() const { return gridRow_; }
    int column() const { return column_; }
    int topRow() const { return topRow_; }
    // The scroll bar moved: the first visible row, kept inside the grid. O(1).
    void setTopRow(int row);
    fileInfo* current() const { return layout_.tree().current; }
    NebuLayout& layout() const { return layout_; }
    const QString& path() const { return path_; }
    // "%6ld／%6ld": the cursor's grid row + 1 and the row count. O(1).
    QString positionText() const;

private:
    void keepInView();
    void clampTop();
    QString pathOf(const fileInfo* node) const;
    fileInfo* nearestWithRow(fileInfo* node) const;

    NebuLayout& layout_;
    int gridRow_ = 0;
    int column_ = 0;
    int topRow_ = 0;
    int visibleRows_ = 20;
    int speed_ = 0;
    QString path_;
};
