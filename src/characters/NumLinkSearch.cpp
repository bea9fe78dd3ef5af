#include "NumLinkSearch.h"

#include <utility>

namespace {

// The order in which the search tries directions.
constexpr BoardGrid::Direction kTryOrder[] = {BoardGrid::Right, BoardGrid::Down, BoardGrid::Left, BoardGrid::Up};
constexpr int kLongestRun = 5; // test (b) blocks runs of up to this many empty cells

// The next number after `number` that has both its cells; 0 when none.
int nextPair(const NumLinkBoard& board, int number) {
    for (int n = number + 1; n <= board.pairCount(); ++n)
        if (board.pair(n).complete()) return n;
    return 0;
}

} // namespace

NumLinkSearch::NumLinkSearch(NumLinkBoard& board)
    : board_(board), placedAt_(size_t(board.grid().cells()), -1), fits_(fits(board)) {
    seen_.assign(size_t(board.grid().cells()), 0);
    blocked_.assign(size_t(board.grid().cells()), 0);
    const int first = nextPair(board_, 0);
    if (fits_ && first > 0) levels_.push_back({first, board_.pair(first).first});
}

bool NumLinkSearch::fits(const NumLinkBoard& board) {
    return board.grid().width() <= kMaxSide && board.grid().height() <= kMaxSide && board.hasPairs();
}

int NumLinkSearch::head() const {
    if (!levels_.empty()) return levels_.back().head;
    return 0;
}

void NumLinkSearch::takeBack(int depth) {
    for (size_t c = 0; c < placedAt_.size(); ++c)
        if (placedAt_[c] >= depth) {
            board_.set(int(c), 0);
            placedAt_[c] = -1;
        }
}

NumLinkSearch::Result NumLinkSearch::step() {
    if (solved_) return Result::Solved;
    if (levels_.empty()) return Result::GaveUp;
    const BoardGrid& grid = board_.grid();
    for (;;) {
        const int i = depth();
        takeBack(i);
        Level& level = levels_.back();
        if (++level.tries > BoardGrid::kDirections) {
            levels_.pop_back();
            return levels_.empty() ? Result::GaveUp : Result::BackedUp;
        }
        const int number = level.number, from = level.head;
        const int second = board_.pair(number).second;
        const int to = grid.neighbour(from, kTryOrder[level.tries - 1]);
        bool nextToSecond = false;
        for (int d = 0; d < BoardGrid::kDirections; ++d) nextToSecond = nextToSecond || grid.neighbour(from, d) == second;
        // Beside its other end a path only steps onto it.
        if (to < 0 || (nextToSecond && to != second)) continue;
        if (to == second) {
            level.tries = BoardGrid::kDirections; // no other direction after the end
            if (!allTests(number, to, -1)) continue;
            const int next = nextPair(board_, number);
            if (next == 0) {
                solved_ = true;
                levels_.push_back({number, second});
                return Result::Solved;
            }
            levels_.push_back({next, board_.pair(next).first});
            return Result::PairDone;
        }
        if (board_.at(to) != 0) continue;
        board_.set(to, number + NumLinkBoard::kPath);
        placedAt_[size_t(to)] = i;
        if (!allTests(number, to, to)) continue; // taken back at the loop's top
        levels_.push_back({number, to});
        return Result::Placed;
    }
}

bool NumLinkSearch::allTests(int number, int head, int placed) const {
    // The cheap tests first; all four must pass.
    return (placed < 0 || squareTest(placed, number)) && enclosureTest() && reachTest(number, head) &&
           bottleneckTest(number, head);
}

bool NumLinkSearch::reaches(int from, int to) const {
    const BoardGrid& grid = board_.grid();
    std::fill(seen_.begin(), seen_.end(), uint8_t(0));
    stack_.assign(1, from);
    seen_[size_t(from)] = 1;
    while (!stack_.empty()) {
        const int cell = stack_.back();
        stack_.pop_back();
        for (int d = 0; d < BoardGrid::kDirections; ++d) {
            const int n = grid.neighbour(cell, d);
            if (n == to) return true;
            if (n < 0 || seen_[size_t(n)] || board_.at(n) != 0 || blocked_[size_t(n)]) continue;
            seen_[size_t(n)] = 1;
            stack_.push_back(n);
        }
    }
    return false;
}

int NumLinkSearch::unjoinable(int number, int head) const {
    int count = 0;
    for (int n = number; n <= board_.pairCount(); ++n) {
        const NumLinkBoard::Pair& p = board_.pair(n);
        if (!p.complete()) continue;
        const int start = n == number ? head : p.first;
        if (start != p.second && !reaches(start, p.second)) ++count;
    }
    return count;
}

bool NumLinkSearch::reachTest(int number, int head) const { return unjoinable(number, head) == 0; }

bool NumLinkSearch::bottleneckTest(int number, int head) const {
    const BoardGrid& grid = board_.grid();
    std::vector<int> line;
    // Too many pairs that need the same few empty cells of a row or column cannot all pass.
    auto runsPass = [&]() {
        const int length = int(line.size());
        for (int r = 1; r <= kLongestRun && r < length; ++r)
            for (int s = 0; s <= length - r - 1; ++s) {
                for (int k = s; k < s + r; ++k) blocked_[size_t(line[size_t(k)])] = 1;
                const int cut = unjoinable(number, head);
                for (int k = s; k < s + r; ++k) blocked_[size_t(line[size_t(k)])] = 0;
                if (cut > r) return false;
            }
        return true;
    };
    auto linePasses = [&]() {
        if (!runsPass()) return false;
        if (line.size() <= 2) return true;
        std::swap(line[1], line.back());
        return runsPass();
    };
    for (int row = 0; row < grid.height(); ++row) {
        line.clear();
        for (int c = 0; c < grid.width(); ++c)
            if (board_.at(c, row) == 0) line.push_back(grid.cellAt(c, row));
        if (!linePasses()) return false;
    }
    for (int column = 0; column < grid.width(); ++column) {
        line.clear();
        for (int r = 0; r < grid.height(); ++r)
            if (board_.at(column, r) == 0) line.push_back(grid.cellAt(column, r));
        if (!linePasses()) return false;
    }
    return true;
}

bool NumLinkSearch::squareTest(int placed, int number) const {
    const BoardGrid& grid = board_.grid();
    auto ofNumber = [&](int cell) { return cell >= 0 && board_.at(cell) != 0 && board_.colour(cell) == number; };
    for (int dx : {-1, 1})
        for (int dy : {-1, 1})
            if (ofNumber(grid.offset(placed, dx, 0)) && ofNumber(grid.offset(placed, 0, dy)) &&
                ofNumber(grid.offset(placed, dx, dy)))
                return false;
    return true;
}

bool NumLinkSearch::enclosureTest() const {
    const BoardGrid& grid = board_.grid();
    // The colour of a cell, 0 when empty, -1 off the board.
    auto colourOf = [&](int cell) { return cell < 0 ? -1 : board_.colour(cell); };
    for (int c = 0; c < grid.cells(); ++c) {
        if (board_.at(c) != 0) continue;
        for (int d = 0; d < BoardGrid::kDirections; ++d)
            for (int e : {d + 1, d + 3}) {
                const int plusD = grid.neighbour(c, d), plusE = grid.neighbour(c, e);
                const int minusD = grid.neighbour(c, d + 2), minusE = grid.neighbour(c, e + 2);
                const int diagonal = grid.neighbour(minusD, e + 2);
                const int cd = colourOf(minusD), ce = colourOf(minusE), cx = colourOf(diagonal);
                // A corner cell whose only ways in are walled off by one path.
                if (plusD < 0 && plusE < 0 && cx > 0 && (cx == cd || cx == ce)) return false;
                // An edge cell beside a bend of one colour.
                if (plusD < 0 && minusE >= 0 && cd > 0 && cd == ce && ce == cx) return false;
                // A cell that one colour surrounds on three sides.
                if (cd > 0 && cd == ce && (colourOf(plusD) == cd || colourOf(plusE) == cd)) return false;
            }
    }
    return true;
}
