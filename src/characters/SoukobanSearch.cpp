#include "SoukobanSearch.h"

#include <algorithm>
#include <cstdlib>
#include <deque>

namespace {

using Push = SoukobanSearch::Push;
using Cell = SoukobanBoard::Cell;

// The board as a direct plan imagines it: boxes and the player are moved without the rules, on
// a copy, and every cell looked at is counted against the plan's work.
class Model {
public:
    Model(const SoukobanBoard& board, int64_t& work)
        : board_(board), grid_(board.grid()), cells_(board.board()), player_(board.playerCell()), work_(work) {}

    const BoardGrid& grid() const { return grid_; }
    int player() const { return player_; }
    // The value of a cell; off the board is wall.
    int at(int cell) const { return cell < 0 ? int(Cell::Wall) : int(cells_[size_t(cell)]); }
    bool exhausted() const { return work_ <= 0; }
    void spend(int64_t visits) const { work_ -= visits; }

    void movePlayer(int to) {
        if (player_ >= 0) cells_[size_t(player_)] = bare(player_);
        player_ = to;
        cells_[size_t(to)] = Cell::Player;
    }
    void moveBox(int from, int to) {
        cells_[size_t(from)] = bare(from);
        cells_[size_t(to)] = Cell::Box;
    }
    // The cells the player reaches through floor and goals (1 where reached).
    std::vector<int8_t> reach() {
        std::vector<int8_t> reached(cells_.size(), 0);
        work_ -= int64_t(cells_.size()) / 16; // clearing the stamps costs too on a large board
        if (player_ < 0) return reached;
        std::vector<int> todo{player_};
        reached[size_t(player_)] = 1;
        while (!todo.empty()) {
            const int c = todo.back();
            todo.pop_back();
            --work_;
            for (int d = 0; d < BoardGrid::kDirections; ++d) {
                const int n = grid_.neighbour(c, d);
                if (n < 0 || reached[size_t(n)] || at(n) >= Cell::Box) continue;
                reached[size_t(n)] = 1;
                todo.push_back(n);
            }
        }
        return reached;
    }
    // Walls on two sides of a cell that follow each other (right, up, left, down, right).
    bool corner(int cell) const {
        for (int d = 0; d < BoardGrid::kDirections; ++d)
            if (at(grid_.neighbour(cell, d)) == Cell::Wall && at(grid_.neighbour(cell, d + 1)) == Cell::Wall)
                return true;
        return false;
    }
    // Counts a copy of the cells against the work.
    Model copy() const {
        work_ -= int64_t(cells_.size());
        return *this;
    }

private:
    int8_t bare(int cell) const { return board_.isGoal(cell) ? Cell::Goal : Cell::Floor; }

    const SoukobanBoard& board_;
    const BoardGrid& grid_;
    std::vector<int8_t> cells_;
    int player_;
    int64_t& work_;
};

// The fewest pushes that bring the box at `from` to `to`: the cell ahead must be floor, a goal
// or the player, and the cell behind, where the player stands, neither a box nor a wall. The
// box's own first cell counts as empty, or no route could push it twice in a line.
bool boxRoute(Model& m, int from, int to, std::vector<int>& directions) {
    const BoardGrid& grid = m.grid();
    std::vector<int> arrivedBy(size_t(grid.cells()), -1);
    std::deque<int> queue{from};
    arrivedBy[size_t(from)] = BoardGrid::kDirections; // the start
    while (!queue.empty() && arrivedBy[size_t(to)] < 0 && !m.exhausted()) {
        const int x = queue.front();
        queue.pop_front();
        m.spend(1);
        for (int d = 0; d < BoardGrid::kDirections; ++d) {
            const int ahead = grid.neighbour(x, d), behind = grid.neighbour(x, BoardGrid::reverse(d));
            if (ahead < 0 || arrivedBy[size_t(ahead)] >= 0 || m.at(ahead) >= Cell::Box) continue;
            if (behind < 0 || (m.at(behind) == Cell::Box && behind != from) || m.at(behind) == Cell::Wall) continue;
            arrivedBy[size_t(ahead)] = d;
            queue.push_back(ahead);
        }
    }
    if (arrivedBy[size_t(to)] < 0) return false;
    directions.clear();
    for (int c = to; c != from; c = grid.neighbour(c, BoardGrid::reverse(arrivedBy[size_t(c)])))
        directions.push_back(arrivedBy[size_t(c)]);
    std::reverse(directions.begin(), directions.end());
    return true;
}

// Plays every push of the plan but the last on a copy: the player walks behind the box and
// pushes it onto floor or a goal that is no corner (an empty goal may be one).
bool trial(const Model& start, const std::vector<Push>& plan) {
    Model m = start.copy();
    const BoardGrid& grid = m.grid();
    for (size_t i = 0; i + 1 < plan.size(); ++i) {
        const Push& push = plan[i];
        const int behind = grid.neighbour(push.box, BoardGrid::reverse(push.direction));
        if (behind < 0 || !m.reach()[size_t(behind)] || m.at(push.box) != Cell::Box) return false;
        m.movePlayer(behind);
        const int beyond = grid.neighbour(push.box, push.direction);
        const int v = m.at(beyond);
        if (v > Cell::Goal || (v != Cell::Goal && m.corner(beyond))) return false;
        m.moveBox(push.box, beyond);
        m.movePlayer(push.box);
        if (m.exhausted()) return false;
    }
    return true;
}

// The plan for one box: its route to the first empty goal, led by pushes that make room behind
// it when the player cannot get there; checked by a trial.
bool planFor(const SoukobanBoard& board, Model& m, int box, std::vector<Push>& plan) {
    const BoardGrid& grid = m.grid();
    const auto& goals = board.goals();
    const auto target = std::find_if(goals.begin(), goals.end(), [&](int g) { return m.at(g) == Cell::Goal; });
    std::vector<int> route;
    if (target == goals.end() || !boxRoute(m, box, *target, route) || route.empty()) return false;
    const int first = route.front(), back = BoardGrid::reverse(first);
    const int behind = grid.neighbour(box, back);
    plan.clear();
    const std::vector<int8_t> reached = m.reach();
    if (behind < 0 || !reached[size_t(behind)]) {
        const int ahead = grid.neighbour(box, first);
        if (m.at(grid.neighbour(behind, back)) != Cell::Floor || ahead < 0 || !reached[size_t(ahead)]) return false;
        // Pull the box back until the player, where the box was, gets behind it.
        Model pulled = m.copy();
        pulled.movePlayer(ahead);
        int x = box, pulls = 0;
        for (;;) {
            const int next = grid.neighbour(x, back);
            if (pulled.at(next) != Cell::Floor || pulled.exhausted()) return false;
            pulled.moveBox(x, next);
            pulled.movePlayer(x);
            x = next;
            ++pulls;
            const int behindNext = grid.neighbour(x, back);
            if (behindNext >= 0 && pulled.reach()[size_t(behindNext)]) break;
        }
        int y = box;
        for (int i = 0; i < pulls; ++i, y = grid.neighbour(y, back)) plan.push_back({y, back});
        for (int i = 0; i < pulls; ++i, y = grid.neighbour(y, first)) plan.push_back({y, first});
    }
    int x = box;
    for (int d : route) {
        plan.push_back({x, d});
        x = grid.neighbour(x, d);
    }
    return trial(m, plan);
}

} // namespace

bool SoukobanSearch::directPlan(const SoukobanBoard& board, std::vector<Push>& plan, int64_t work) {
    plan.clear();
    const BoardGrid& grid = board.grid();
    if (board.allDone() || board.playerCell() < 0 || board.goals().empty()) return false;
    Model m(board, work);
    // Boxes nearest the middle of the goals go first; boxes on goals stay, or a plan could take
    // a box off one goal for another and the demonstration go round for ever.
    int left = grid.width(), right = 0, top = grid.height(), bottom = 0;
    for (int g : board.goals()) {
        left = std::min(left, grid.column(g));
        right = std::max(right, grid.column(g));
        top = std::min(top, grid.row(g));
        bottom = std::max(bottom, grid.row(g));
    }
    const int cx = (left + right) / 2, cy = (top + bottom) / 2;
    std::vector<int> boxes;
    for (int c = 0; c < grid.cells(); ++c)
        if (board.reachable(c) && m.at(c) == Cell::Box && !board.isGoal(c)) boxes.push_back(c);
    auto distance = [&](int c) { return std::abs(grid.column(c) - cx) + std::abs(grid.row(c) - cy); };
    std::stable_sort(boxes.begin(), boxes.end(), [&](int a, int b) { return distance(a) < distance(b); });

    std::vector<Push> rest;
    for (int box : boxes) {
        if (planFor(board, m, box, plan)) return true;
        // Else push the box a few cells along first, from a side the player can reach.
        const std::vector<int8_t> reached = m.reach();
        for (int d = 0; d < BoardGrid::kDirections; ++d) {
            const int from = grid.neighbour(box, BoardGrid::reverse(d));
            if (from < 0 || m.at(from) != Cell::Floor || !reached[size_t(from)]) continue;
            for (int k = 1; k < grid.width() + grid.height(); ++k) {
                const int to = grid.offset(box, k * BoardGrid::dx(d), k * BoardGrid::dy(d));
                if (m.at(to) != Cell::Floor || m.exhausted()) break;
                Model shifted = m.copy();
                shifted.moveBox(box, to);
                shifted.movePlayer(from);
                if (!planFor(board, shifted, to, rest)) continue;
                plan.clear();
                for (int i = 0; i < k; ++i) plan.push_back({grid.offset(box, i * BoardGrid::dx(d), i * BoardGrid::dy(d)), d});
                plan.insert(plan.end(), rest.begin(), rest.end());
                return true;
            }
        }
        if (m.exhausted()) break;
    }
    plan.clear();
    return false;
}

SoukobanSearch::SoukobanSearch(SoukobanBoard& board) : board_(board) {
    ring_.reserve(kRingSize);
    ring_.push_back(positionKey());
    ringNext_ = 1;
}

SoukobanSearch::Result SoukobanSearch::step() {
    backtracked_ = false;
    if (directPlan(board_, plan_)) return Result::Planned;
    if (++steps_ > kMaxSteps) return giveUp();
    return searchStep();
}

SoukobanSearch::Result SoukobanSearch::giveUp() {
    for (; depth_ > 0; --depth_) board_.undo();
    return Result::GaveUp;
}

SoukobanSearch::Result SoukobanSearch::searchStep() {
    Level& level = levels_[size_t(depth_)];
    if (level.tries == BoardGrid::kDirections) {
        if (depth_ == 0) return Result::GaveUp;
        board_.undo();
        --depth_;
        backtracked_ = true;
        return Result::Searching;
    }
    const int direction = (level.tries++ + level.arrived) % BoardGrid::kDirections;
    const int player = board_.playerCell();
    if (board_.at(board_.neighbour(player, direction)) == Cell::Wall) return Result::Searching;
    if (depth_ > 0 && direction == BoardGrid::reverse(level.arrived) && !mayTurnBack(player, direction, level.arrived))
        return Result::Searching;
    if (emptyDeadEnd(player, direction)) return Result::Searching;
    const MoveOutcome outcome = board_.moveInDirection(direction);
    if (outcome == MoveOutcome::Refused) return Result::Searching;
    if (outcome != MoveOutcome::Moved) return Result::Cleared;
    const uint64_t key = positionKey();
    if (std::find(ring_.begin(), ring_.end(), key) != ring_.end()) {
        board_.undo(); // been here lately
        return Result::Searching;
    }
    if (ring_.size() < kRingSize) ring_.push_back(key);
    else ring_[ringNext_] = key;
    ringNext_ = (ringNext_ + 1) % kRingSize;
    if (depth_ == kMaxDepth) {
        board_.undo();
        return Result::Searching;
    }
    ++depth_;
    levels_[size_t(depth_)] = {0, direction};
    return Result::Searching;
}

bool SoukobanSearch::mayTurnBack(int player, int direction, int arrived) const {
    // Only in a corridor, right after pushing a box into it: turning back is the way round.
    const int side = (direction + 1) % BoardGrid::kDirections;
    return board_.at(board_.neighbour(player, side)) == Cell::Wall &&
           board_.at(board_.neighbour(player, BoardGrid::reverse(side))) == Cell::Wall &&
           board_.at(board_.neighbour(player, arrived)) == Cell::Box;
}

bool SoukobanSearch::emptyDeadEnd(int player, int direction) const {
    const BoardGrid& grid = board_.grid();
    const int ahead = grid.neighbour(player, direction);
    if (ahead < 0 || board_.at(ahead) != Cell::Floor) return false;
    // The player's line across the direction, from wall to wall, must be bare floor.
    std::vector<int8_t> blocked(size_t(grid.cells()), 0);
    blocked[size_t(player)] = 1;
    const int side = (direction + 1) % BoardGrid::kDirections;
    for (int s : {side, BoardGrid::reverse(side)})
        for (int c = grid.neighbour(player, s); board_.at(c) != Cell::Wall; c = grid.neighbour(c, s)) {
            if (board_.at(c) != Cell::Floor) return false;
            blocked[size_t(c)] = 1;
        }
    // Beyond it, bare floor that touches no box is not worth a visit.
    std::vector<int> todo{ahead};
    blocked[size_t(ahead)] = 1;
    while (!todo.empty()) {
        const int c = todo.back();
        todo.pop_back();
        for (int d = 0; d < BoardGrid::kDirections; ++d) {
            const int n = grid.neighbour(c, d);
            if (n < 0 || blocked[size_t(n)]) continue;
            if (board_.at(n) == Cell::Box) return false;
            if (board_.at(n) != Cell::Floor) continue;
            blocked[size_t(n)] = 1;
            todo.push_back(n);
        }
    }
    return true;
}

uint64_t SoukobanSearch::positionKey() const {
    // FNV-1a over the player's cell and the boxes' cells: a clash only skips one move.
    uint64_t key = 14695981039346656037ull;
    auto mix = [&](int value) {
        key ^= uint64_t(uint32_t(value));
        key *= 1099511628211ull;
    };
    mix(board_.playerCell());
    const auto& cells = board_.board();
    for (size_t c = 0; c < cells.size(); ++c)
        if (cells[c] == Cell::Box) mix(int(c));
    return key;
}
