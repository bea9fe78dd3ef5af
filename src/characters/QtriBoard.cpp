#include "QtriBoard.h"

#include "common/Random.h"

#include <QDateTime>

#include <algorithm>

QtriBoard::QtriBoard(int width, int height) : grid_(width, height) { deal(); }

bool QtriBoard::empty() const {
    return std::all_of(removed_.begin(), removed_.end(), [](uint8_t r) { return r != 0; });
}

bool QtriBoard::emptyOrOff(int column, int row) const { return removed(grid_.cellAt(column, row)); }

bool QtriBoard::openSide(int cell) const {
    for (int d = 0; d < BoardGrid::kDirections; ++d)
        if (removed(grid_.neighbour(cell, d))) return true;
    return false;
}

void QtriBoard::shuffle() {
    // A fresh sequence each time, so that a deal that got stuck does not shuffle the same way.
    vimoraSeed(uint32_t(vimoraRand()) + uint32_t(QDateTime::currentSecsSinceEpoch()));
    const int n = cells();
    for (int i = 0; i < n; ++i) {
        if (removed_[size_t(i)]) continue;
        int j = i;
        while (j == i || removed_[size_t(j)]) j = vimoraRand() % n;
        std::swap(tiles_[size_t(i)], tiles_[size_t(j)]);
    }
}

void QtriBoard::deal() {
    const int n = cells();
    tiles_.resize(size_t(n));
    for (int i = 0; i < n; ++i) tiles_[size_t(i)] = i;
    removed_.assign(size_t(n), 0);
    removals_.assign(size_t(n) + 2, -1);
    solutionLength_ = 0;
    int focusColumn = grid_.width() / 2, focusRow = grid_.height() / 2;
    bool found = false;
    std::vector<int> left;
    left.reserve(size_t(n));
    // Each pass takes one pair, nearest the focus first; removed cells never move, so the
    // pairs in the order taken clear the final layout by legal moves.
    while (!empty()) {
        if (!found) shuffle();
        left.clear();
        for (int i = 0; i < n; ++i)
            if (!removed_[size_t(i)]) left.push_back(i);
        auto distance = [&](int cell) {
            const int dc = grid_.column(cell) - focusColumn, dr = grid_.row(cell) - focusRow;
            return dc * dc + dr * dr;
        };
        std::stable_sort(left.begin(), left.end(), [&](int a, int b) { return distance(a) < distance(b); });
        found = false;
        for (size_t ai = 0; ai < left.size() && !found; ++ai)
            for (size_t bi = 0; bi < left.size() && !found; ++bi) {
                const int a = left[ai], b = left[bi];
                if (a == b || tiles_[size_t(a)] / kSameKind != tiles_[size_t(b)] / kSameKind || !connect(a, b)) continue;
                removed_[size_t(a)] = removed_[size_t(b)] = 1;
                removals_[size_t(solutionLength_++)] = a;
                removals_[size_t(solutionLength_++)] = b;
                focusColumn = grid_.column(b);
                focusRow = grid_.row(b);
                found = true;
            }
    }
    shown_ = tiles_;
    removed_.assign(size_t(n), 0);
    userCount_ = 0;
    selected_ = -1;
}

bool QtriBoard::corner(int x, int y, int tx, int ty) const {
    const int w = grid_.width(), h = grid_.height();
    auto route = [&](bool alongRowFirst) {
        // The first leg runs from (x, y) to the bend, the second from the bend to the target; a
        // leg along a row or column outside the board is free.
        const bool firstOnBoard = alongRowFirst ? y >= 0 && y < h : x >= 0 && x < w;
        const int from = alongRowFirst ? x : y, to = alongRowFirst ? tx : ty;
        const int step = to > from ? 1 : -1;
        if (firstOnBoard && from != to)
            for (int k = from + step; ; k += step) {
                if (!(alongRowFirst ? emptyOrOff(k, y) : emptyOrOff(x, k))) return false;
                if (k == to) break;
            }
        const int from2 = alongRowFirst ? y : x, to2 = alongRowFirst ? ty : tx;
        const int step2 = to2 > from2 ? 1 : -1;
        for (int k = from2 + step2; from2 != to2 && k != to2; k += step2)
            if (!(alongRowFirst ? emptyOrOff(tx, k) : emptyOrOff(k, ty))) return false;
        return true;
    };
    return route(true) || route(false);
}

bool QtriBoard::reach(int p, int q) const {
    const int pc = grid_.column(p), pr = grid_.row(p), qc = grid_.column(q), qr = grid_.row(q);
    const bool nextDoor = (pc - qc) * (pc - qc) + (pr - qr) * (pr - qr) == 1;
    // Right, up, down, left: only open neighbours lead anywhere.
    const int steps[4][2] = {{1, 0}, {0, -1}, {0, 1}, {-1, 0}};
    for (const auto& s : steps) {
        const int x = pc + s[0], y = pr + s[1];
        if (!emptyOrOff(x, y)) continue;
        if (nextDoor || corner(x, y, qc, qr)) return true;
    }
    return false;
}

bool QtriBoard::connect(int a, int b) const {
    const int ac = grid_.column(a), ar = grid_.row(a), bc = grid_.column(b), br = grid_.row(b);
    const int lastColumn = grid_.width() - 1, lastRow = grid_.height() - 1;
    // Along an outer row or column the path runs outside the board, whatever lies between.
    if ((ac == bc && (ac == 0 || ac == lastColumn)) || (ar == br && (ar == 0 || ar == lastRow))) return true;
    return reach(a, b) || reach(b, a);
}

MoveOutcome QtriBoard::select(int cell) {
    if (cell < 0 || cell >= cells()) return MoveOutcome::Refused;
    if (selected_ < 0) {
        if (removed(cell) || !openSide(cell)) return MoveOutcome::Refused;
        selected_ = cell;
        return MoveOutcome::Moved;
    }
    const int first = std::exchange(selected_, -1);
    if (cell == first || removed(cell) || kind(cell) != kind(first) || !connect(first, cell))
        return cell == first ? MoveOutcome::Moved : MoveOutcome::Refused;
    removed_[size_t(first)] = removed_[size_t(cell)] = 1;
    removals_[size_t(userCount_++)] = first;
    removals_[size_t(userCount_++)] = cell;
    if (!empty()) return MoveOutcome::Moved;
    deal();
    return MoveOutcome::AllCleared;
}

MoveOutcome QtriBoard::undo() {
    if (userCount_ < 2) return MoveOutcome::Refused;
    removed_[size_t(removals_[size_t(userCount_ - 1)])] = 0;
    removed_[size_t(removals_[size_t(userCount_ - 2)])] = 0;
    userCount_ -= 2;
    return MoveOutcome::Moved;
}
