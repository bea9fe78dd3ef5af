#include "SoukobanSolver.h"

#include <algorithm>
#include <deque>
#include <limits>

namespace {

std::string keyOf(const std::vector<int>& boxes, int player) {
    std::string key(sizeof(int) * (boxes.size() + 1), '\0');
    std::copy_n(reinterpret_cast<const char*>(boxes.data()), sizeof(int) * boxes.size(), key.data());
    std::copy_n(reinterpret_cast<const char*>(&player), sizeof(int), key.data() + sizeof(int) * boxes.size());
    return key;
}

} // namespace

SoukobanSolver::SoukobanSolver(const SoukobanBoard& board)
    : grid_(board.grid()), cells_(board.grid().cells()) {
    wall_.assign(size_t(cells_), 0);
    goal_.assign(size_t(cells_), 0);
    distance_.assign(size_t(cells_), kDead);
    occupied_.assign(size_t(cells_), 0);
    reach_.assign(size_t(cells_), 0);
    childReach_.assign(size_t(cells_), 0);
    std::vector<int> boxes;
    for (int c = 0; c < cells_; ++c) {
        const int v = board.at(c);
        // Unreachable floor and search marks can hold no box and no player.
        wall_[size_t(c)] = v >= SoukobanBoard::Wall ? 1 : 0;
        if (v == SoukobanBoard::Box) boxes.push_back(c);
    }
    for (int g : board.goals()) goal_[size_t(g)] = 1;
    goalCount_ = board.goals().size();
    boxCount_ = boxes.size();
    if (board.allDone() || board.playerCell() < 0) {
        result_ = Result::Failed;
        return;
    }
    // Pushes from each cell to the nearest goal, found by pulling boxes away from the goals; a
    // box on a cell that no pull reaches can never be brought to a goal.
    std::deque<int> todo(board.goals().begin(), board.goals().end());
    for (int g : todo) distance_[size_t(g)] = 0;
    while (!todo.empty()) {
        const int c = todo.front();
        todo.pop_front();
        for (int d = 0; d < BoardGrid::kDirections; ++d) {
            const int to = neighbour(c, d), behind = neighbour(to, d);
            if (passable(to) && passable(behind) && distance_[size_t(to)] == kDead) {
                distance_[size_t(to)] = distance_[size_t(c)] + 1;
                todo.push_back(to);
            }
        }
    }
    int64_t work = 0;
    for (int b : boxes) occupied_[size_t(b)] = 1;
    const int player = reachFrom(board.playerCell(), reach_, work);
    for (int b : boxes) occupied_[size_t(b)] = 0;
    boxCells_ = boxes;
    seen_.reserve(kMaxStates);
    nodes_.reserve(kMaxStates);
    nodes_.push_back({0, player, -1, {}, 0});
    seen_.insert(keyOf(boxes, player));
    open_.push({0, 0});
    if (solvedBy(boxes)) finish(0);
}

int SoukobanSolver::reachFrom(int from, std::vector<int>& reach, int64_t& work) {
    if (generation_ == std::numeric_limits<int>::max()) {
        // Stamps start again rather than wrap into values that may still stand in the arrays.
        std::fill(reach_.begin(), reach_.end(), 0);
        std::fill(childReach_.begin(), childReach_.end(), 0);
        generation_ = 0;
    }
    ++generation_;
    int smallest = from;
    stack_.clear();
    stack_.push_back(from);
    reach[size_t(from)] = generation_;
    while (!stack_.empty()) {
        const int c = stack_.back();
        stack_.pop_back();
        ++work;
        smallest = std::min(smallest, c);
        for (int d = 0; d < BoardGrid::kDirections; ++d) {
            const int n = neighbour(c, d);
            if (passable(n) && !occupied_[size_t(n)] && reach[size_t(n)] != generation_) {
                reach[size_t(n)] = generation_;
                stack_.push_back(n);
            }
        }
    }
    return smallest;
}

bool SoukobanSolver::solvedBy(const std::vector<int>& boxes) const {
    size_t onGoals = 0;
    for (int b : boxes) onGoals += goal_[size_t(b)];
    return onGoals == goalCount_;
}

void SoukobanSolver::finish(int index) {
    plan_.clear();
    for (int i = index; i > 0; i = nodes_[size_t(i)].parent) plan_.push_back(nodes_[size_t(i)].push);
    std::reverse(plan_.begin(), plan_.end());
    result_ = Result::Solved;
}

void SoukobanSolver::tryPushes(int index, int64_t& work) {
    const Node node = nodes_[size_t(index)];
    const std::vector<int> boxes(boxCells_.begin() + std::ptrdiff_t(node.boxes),
                                 boxCells_.begin() + std::ptrdiff_t(node.boxes + boxCount_));
    for (int b : boxes) occupied_[size_t(b)] = 1;
    // Where the player can stand before any of this position's pushes; the children's fills go
    // to another array so this one stays.
    reachFrom(node.player, reach_, work);
    const int stamp = generation_;
    std::vector<int> child;
    for (size_t i = 0; i < boxes.size() && result_ == Result::Running; ++i) {
        for (int d = 0; d < BoardGrid::kDirections; ++d) {
            const int behind = neighbour(boxes[i], BoardGrid::reverse(d)), ahead = neighbour(boxes[i], d);
            if (behind < 0 || reach_[size_t(behind)] != stamp) continue;
            if (!passable(ahead) || occupied_[size_t(ahead)] || distance_[size_t(ahead)] == kDead) continue;
            child = boxes;
            child[i] = ahead;
            std::sort(child.begin(), child.end());
            work += int64_t(child.size());
            occupied_[size_t(boxes[i])] = 0;
            occupied_[size_t(ahead)] = 1;
            const int player = reachFrom(boxes[i], childReach_, work);
            occupied_[size_t(ahead)] = 0;
            occupied_[size_t(boxes[i])] = 1;
            if (!seen_.insert(keyOf(child, player)).second) continue;
            if (nodes_.size() >= kMaxStates || boxCells_.size() + child.size() > kMaxStoredCells) {
                result_ = Result::Failed;
                break;
            }
            nodes_.push_back({boxCells_.size(), player, index, {boxes[i], d}, node.depth + 1});
            boxCells_.insert(boxCells_.end(), child.begin(), child.end());
            int64_t remaining = 0;
            for (int b : child) remaining += distance_[size_t(b)];
            open_.push({node.depth + 1 + kGreed * remaining, int64_t(nodes_.size() - 1)});
            if (solvedBy(child)) finish(int(nodes_.size() - 1));
            if (result_ != Result::Running) break;
        }
    }
    for (int b : boxes) occupied_[size_t(b)] = 0;
}

SoukobanSolver::Result SoukobanSolver::run(int64_t work) {
    int64_t done = 0;
    while (result_ == Result::Running && done < work) {
        if (open_.empty()) {
            result_ = Result::Failed; // every position was tried
            break;
        }
        const int index = int(open_.top().second);
        open_.pop();
        depth_ = nodes_[size_t(index)].depth;
        tryPushes(index, done);
    }
    return result_;
}

bool SoukobanSolver::walk(const SoukobanBoard& board, int target, std::vector<int>& directions) {
    directions.clear();
    const int start = board.playerCell();
    if (start < 0 || target < 0) return false;
    if (start == target) return true;
    const size_t cells = board.board().size();
    std::vector<int> from(cells, -1);
    std::deque<int> queue{start};
    from[size_t(start)] = start;
    while (!queue.empty()) {
        const int c = queue.front();
        queue.pop_front();
        if (c == target) break;
        for (int d = 0; d < BoardGrid::kDirections; ++d) {
            const int n = board.neighbour(c, d);
            if (n < 0 || from[size_t(n)] >= 0 || board.at(n) > SoukobanBoard::Goal) continue;
            from[size_t(n)] = c;
            queue.push_back(n);
        }
    }
    if (from[size_t(target)] < 0) return false;
    for (int c = target; c != start; c = from[size_t(c)]) {
        const int p = from[size_t(c)];
        for (int d = 0; d < BoardGrid::kDirections; ++d)
            if (board.neighbour(p, d) == c) directions.push_back(d);
    }
    std::reverse(directions.begin(), directions.end());
    return true;
}
