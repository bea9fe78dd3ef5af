#include "NebuLayout.h"

#include "common/Random.h"

fileInfo* NebuLayout::firstOfRow(int modelRow) const {
    return modelRow >= 0 && modelRow < rowCount() ? rows_[static_cast<std::size_t>(modelRow)] : nullptr;
}

fileInfo* NebuLayout::nextInRow(const fileInfo* node) const {
    fileInfo* next = node->nextShown;
    return next && next != tree_.bottom() && next->row == node->row && next->column == node->column + 1 ? next : nullptr;
}

fileInfo* NebuLayout::nodeAt(int modelRow, int column) const {
    fileInfo* n = firstOfRow(modelRow);
    for (int c = 0; n && c < column; ++c) n = nextInRow(n);
    return n;
}

int NebuLayout::lastColumn(int modelRow) const {
    fileInfo* n = firstOfRow(modelRow);
    if (!n) return 0;
    while (fileInfo* next = nextInRow(n)) n = next;
    return n->column;
}

void NebuLayout::relayout() {
    view.displayDepth = tree_.displayDepth;
    counts_ = layoutTree(tree_, view);
    fileInfo* top = tree_.topGalaxy;
    rows_.assign(static_cast<std::size_t>(counts_.rows), nullptr);
    // A node waiting at each depth (relative to the top) for a later sibling with a row; a node of
    // smaller depth closes the deeper ones. Depths in the chain grow by one at a time, so the
    // closing loop is paid for by the pushes.
    std::vector<fileInfo*> pending;
    for (fileInfo* n = top; n != tree_.bottom(); n = n->nextShown) {
        n->marks &= ~MarkChainSibling;
        if (n->row < 0) continue;
        if (n->column == 0) rows_[static_cast<std::size_t>(n->row)] = n;
        const std::size_t level = static_cast<std::size_t>(n->depth - top->depth);
        if (pending.size() > level + 1) pending.resize(level + 1);
        if (pending.size() == level + 1 && pending[level]) pending[level]->marks |= MarkChainSibling;
        if (pending.size() < level + 1) pending.resize(level + 1, nullptr);
        pending[level] = n;
    }
}

bool NebuLayout::levelLineThrough(int modelRow, int level) const {
    const fileInfo* n = firstOfRow(modelRow);
    if (!n || level >= n->depth) return false;
    while (n && n->depth > level) n = n->parent;
    return n && n->depth == level && (n->marks & MarkChainSibling);
}

bool NebuLayout::ownLineThrough(int modelRow) const {
    const fileInfo* n = nodeAt(modelRow, lastColumn(modelRow));
    return n && (n->marks & MarkChainSibling);
}

QString NebuLayout::countersText() const { return ::countersText(tree_, counts_); }

void NebuLayout::sprinkle(int width) {
    for (NebuSprinkle& s : sprinkles_) {
        s.x = width > 0 ? vimoraRand() % width : 0;
        s.size = 2 + vimoraRand() % 6;
        s.grey = vimoraRand() % 209;
    }
}
