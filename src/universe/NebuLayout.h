// The tree window's layout as a model without widgets: the display filter and rows of
// TreeLayout run once per change, then a row table (the first node of every row), the connector
// flags and the counters text are kept, so that painting a row and moving the cursor cost a few
// steps whatever the size of the tree. Grid rows and model rows meet only in gridRow/modelRow.
#pragma once

#include "TreeLayout.h"
#include "treeInfo.h"

#include <QString>
#include <array>
#include <vector>

// One star of the background: x in column-1 pixels, font size in points, grey level.
struct NebuSprinkle {
    int x = 0;
    int size = 2;
    int grey = 0;
};

class NebuLayout {
public:
    // `tree` must outlive the layout; nothing is laid out until relayout().
    explicit NebuLayout(treeInfo& tree) : tree_(tree) {}

    TreeView view;           // the filter settings the next relayout() applies (its display
                             // depth is taken from the tree's, which opening a file sets)
    bool upsideDown = false; // grid row r shows model row rowCount − 1 − r

    // Runs the display filter and the row layout from the tree's top galaxy, then builds the row
    // table and sets MarkChainSibling on every node that has a later row-holding node of its
    // depth in its parent's shown subtree. O(nodes below the top galaxy), no search per node.
    void relayout();

    // Rows of the last relayout (at least 1: the top galaxy's row). O(1).
    int rowCount() const { return static_cast<int>(rows_.size()); }
    // The model row a grid row shows and back (the same mapping both ways). O(1).
    int modelRow(int gridRow) const { return upsideDown ? rowCount() - 1 - gridRow : gridRow; }
    int gridRow(int modelRow) const { return this->modelRow(modelRow); }
    // The first node of a model row; nullptr outside the rows. O(1).
    fileInfo* firstOfRow(int modelRow) const;
    // The node at `column` of a model row, nullptr when the row has no such column. O(columns).
    fileInfo* nodeAt(int modelRow, int column) const;
    // The largest column of a model row (0 for an empty or missing row). O(columns).
    int lastColumn(int modelRow) const;
    // The node of the row that comes after `node` in the row, or nullptr. O(1).
    fileInfo* nextInRow(const fileInfo* node) const;

    // True when a vertical connector of `level` (a depth above the row's first node) runs
    // through the row: the row's ancestor at that level has a later sibling with a row. O(depth).
    bool levelLineThrough(int modelRow, int level) const;
    // True when the row's own connector runs through the whole cell rather than half of it. O(columns).
    bool ownLineThrough(int modelRow) const;

    const LayoutCounts& counts() const { return counts_; }
    // "最深:…  検索 ( D=… F=… )  表示:… ( D=… F=… )" of the last relayout. O(1).
    QString countersText() const;

    // The 200 background stars for a column of `width` pixels, drawn afresh (on every full
    // layout and resize). O(200).
    void sprinkle(int width);
    const std::array<NebuSprinkle, 200>& sprinkles() const { return sprinkles_; }

    treeInfo& tree() const { return tree_; }

private:
    treeInfo& tree_;
    std::vector<fileInfo*> rows_;
    LayoutCounts counts_;
    std::array<NebuSprinkle, 200> sprinkles_{};
};
