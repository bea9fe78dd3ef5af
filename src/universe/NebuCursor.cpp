#include "NebuCursor.h"

#include "common/ShowCheck.h"

#include <algorithm>

namespace {
constexpr int kMaxDisplayDepth = 64;
constexpr int kDefaultRowStep = 5;
} // namespace

QString NebuCursor::positionText() const {
    return QStringLiteral("%1／%2").arg(gridRow_ + 1, 6).arg(layout_.rowCount(), 6);
}

void NebuCursor::clampTop() {
    topRow_ = std::clamp(topRow_, 0, std::max(0, layout_.rowCount() - visibleRows_));
}

void NebuCursor::setTopRow(int row) {
    topRow_ = row;
    clampTop();
}

void NebuCursor::keepInView() {
    if (gridRow_ < topRow_) topRow_ = gridRow_;
    if (gridRow_ >= topRow_ + visibleRows_) topRow_ = gridRow_ - visibleRows_ + 1;
    clampTop();
}

QString NebuCursor::pathOf(const fileInfo* node) const {
    // The chain of parents must step down one level at a time to the root; a gap is reported
    // and the path stops there.
    std::vector<const fileInfo*> chain{node};
    for (const fileInfo* p = node; p != layout_.tree().root();) {
        const fileInfo* parent = p->parent;
        if (!parent || parent->depth != p->depth - 1) {
            showCheck(QStringLiteral("星座の情報がおかしくなっています！(%1 行)").arg(p->depth - 1),
                      QStringLiteral("パスの情報"), 0);
            break;
        }
        chain.push_back(parent);
        p = parent;
    }
    const QChar sep = layout_.tree().separator();
    QString path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (path.size() > 1 && !path.endsWith(sep)) path += sep;
        path += (*it)->name();
    }
    return path;
}

fileInfo* NebuCursor::nearestWithRow(fileInfo* node) const {
    treeInfo& tree = layout_.tree();
    fileInfo* top = tree.topGalaxy;
    if (!node || node->depth < top->depth) return top;
    fileInfo* n = node;
    while (n != top && n->row < 0) n = n->prev;
    return n;
}

void NebuCursor::setCurrent(fileInfo* node) {
    fileInfo* n = nearestWithRow(node);
    gridRow_ = layout_.gridRow(n->row);
    column_ = n->column;
    layout_.tree().current = n;
    path_ = pathOf(n);
    keepInView();
}

void NebuCursor::setCell(int gridRow, int column) {
    gridRow_ = std::clamp(gridRow, 0, layout_.rowCount() - 1);
    const int row = layout_.modelRow(gridRow_);
    fileInfo* n = layout_.nodeAt(row, column);
    if (!n) n = layout_.firstOfRow(row);
    column_ = n->column;
    layout_.tree().current = n;
    path_ = pathOf(n);
    keepInView();
}

void NebuCursor::relayoutKeeping(fileInfo* node) {
    layout_.relayout();
    setCurrent(node);
}

void NebuCursor::relayoutToTop() {
    layout_.relayout();
    topRow_ = 0;
    setCell(layout_.gridRow(0), 0);
}

void NebuCursor::rowStep(int rows, bool down) {
    if (rows <= 0) rows = kDefaultRowStep;
    setCell(gridRow_ + (down ? rows : -rows), 0);
}

NebuOutcome NebuCursor::galaxyStep(bool down) {
    fileInfo* cur = current();
    fileInfo* top = layout_.tree().topGalaxy;
    if (!cur) return NebuOutcome::Nothing;
    // Upside down the later galaxies stand above: the arrow pointing up must still go up.
    const bool later = down != layout_.upsideDown;
    const int depth = cur == top ? top->depth + 1 : cur->depth;
    fileInfo* n = cur;
    const fileInfo* end = layout_.tree().bottom();
    do {
        n = later ? n->nextShown : (n == top ? nullptr : n->prevShown);
        if (!n || n == end) return NebuOutcome::Nothing;
    } while (!(n->isGalaxy() && n->depth == depth && n->row >= 0));
    setCurrent(n);
    return NebuOutcome::Moved;
}

bool NebuCursor::autoScrollTick() {
    if (speed_ == 0) return false;
    const int next = topRow_ + speed_;
    if (next < layout_.rowCount() - 3 && next >= 0) {
        topRow_ = next;
        return true;
    }
    speed_ = 0;
    return false;
}

bool NebuCursor::followView() {
    if (layout_.rowCount() == 0) return false;
    const int last = std::min(layout_.rowCount(), topRow_ + visibleRows_) - 1;
    const int row = std::clamp(gridRow_, topRow_, std::max(topRow_, last));
    if (row == gridRow_) return false;
    const int top = topRow_;
    setCell(row, column_);
    topRow_ = top; // the view stays where the scroll put it
    return true;
}

NebuOutcome NebuCursor::key(NebuKey key, int modifiers) {
    treeInfo& tree = layout_.tree();
    fileInfo* cur = current();
    const int row = layout_.modelRow(gridRow_);
    const bool manyPerRow = layout_.view.starsPerRow > 1;
    switch (key) {
    case NebuKey::Left:
        if (!manyPerRow) return NebuOutcome::Nothing;
        if (column_ > 0) setCell(gridRow_, column_ - 1);
        else if (row > 0) setCell(layout_.gridRow(row - 1), layout_.lastColumn(row - 1));
        else return NebuOutcome::Nothing;
        return NebuOutcome::Moved;
    case NebuKey::Right:
        if (!manyPerRow || !cur) return NebuOutcome::Nothing;
        if (layout_.nextInRow(cur)) setCell(gridRow_, column_ + 1);
        else if (row + 1 < layout_.rowCount()) setCell(layout_.gridRow(row + 1), 0);
        else return NebuOutcome::Nothing;
        return NebuOutcome::Moved;
    case NebuKey::Up:
    case NebuKey::Down: {
        const bool down = key == NebuKey::Down;
        if (modifiers & ModCtrl) {
            speed_ = std::clamp(speed_ + (down ? 1 : -1), -kSpeedLimit, kSpeedLimit);
            return NebuOutcome::Moved;
        }
        if (modifiers & ModShift) return galaxyStep(down);
        const int target = gridRow_ + (down ? 1 : -1);
        if (target < 0 || target >= layout_.rowCount()) return NebuOutcome::Nothing;
        setCell(target, std::min(column_, layout_.lastColumn(layout_.modelRow(target))));
        return NebuOutcome::Moved;
    }
    case NebuKey::Top:
        topRow_ = 0;
        setCell(layout_.gridRow(0), 0);
        return NebuOutcome::Moved;
    case NebuKey::Bottom: setCell(layout_.rowCount() - 1, 0); return NebuOutcome::Moved;
    case NebuKey::PageUp: setCell(gridRow_ - visibleRows_, 0); return NebuOutcome::Moved;
    case NebuKey::PageDown: setCell(gridRow_ + visibleRows_, 0); return NebuOutcome::Moved;
    case NebuKey::Parent:
        if (!cur) return NebuOutcome::Nothing;
        if (cur == tree.root()) return NebuOutcome::RescanParent;
        if (cur->depth > tree.topGalaxy->depth) {
            setCurrent(cur->parent);
            return NebuOutcome::Moved;
        }
        tree.topGalaxy = cur->parent;
        relayoutKeeping(cur->parent);
        return NebuOutcome::Relaid;
    case NebuKey::DeeperDisplay:
    case NebuKey::ShallowerDisplay:
    case NebuKey::FullDisplay: {
        const int ceiling = std::min(tree.searchDepth, kMaxDisplayDepth);
        int depth = tree.displayDepth;
        if (key == NebuKey::FullDisplay) depth = ceiling;
        else if (key == NebuKey::DeeperDisplay && depth < ceiling) ++depth;
        else if (key == NebuKey::ShallowerDisplay && depth > 1) --depth;
        if (depth == tree.displayDepth) return NebuOutcome::Nothing;
        tree.displayDepth = depth;
        relayoutKeeping(cur);
        return NebuOutcome::Relaid;
    }
    case NebuKey::StarsToggle:
        layout_.view.starsShown = !layout_.view.starsShown;
        relayoutKeeping(cur);
        return NebuOutcome::Relaid;
    case NebuKey::UpsideDown:
        layout_.upsideDown = !layout_.upsideDown;
        relayoutToTop();
        return NebuOutcome::Relaid;
    case NebuKey::FasterDown:
    case NebuKey::FasterUp:
        speed_ = std::clamp(speed_ + (key == NebuKey::FasterDown ? 1 : -1), -kSpeedLimit, kSpeedLimit);
        return NebuOutcome::Moved;
    case NebuKey::StopScroll: speed_ = 0; return NebuOutcome::Moved;
    }
    return NebuOutcome::Nothing;
}
