// The solver that the demonstration falls back to when its own search (SoukobanSearch) gives up,
// so the demonstration still finishes rooms that search cannot: a best-first search over box
// positions (a position is the boxes and the area the player can reach; a step is one push),
// ordered by the pushes made plus kGreed times the pushes that every box still needs to its
// nearest goal at the least. The greed finds plans in open rooms quickly, where a search for the
// fewest pushes would drown in positions; plans are short but not always the shortest. It runs
// in slices, one per demonstration step, so a frame never waits on it.
//
// Bounds: at most kMaxStates positions and kMaxStoredCells stored box cells, which keeps the
// positions, their keys and the hash set below about 100 MB whatever the board, and at most
// kWorkPerSlice cell visits per slice: about 1.5 ms in an optimised build (a slice that grows
// the stores may take a few tens), so frames keep their pace while it searches. A warehouse of
// a few boxes is solved in a few hundred positions; past the bounds the demonstration gives up
// and the board stays as it is.
#pragma once

#include "SoukobanBoard.h"

#include <cstdint>
#include <functional>
#include <queue>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

class SoukobanSolver {
public:
    static constexpr size_t kMaxStates = 200000;
    static constexpr size_t kMaxStoredCells = size_t(8) << 20;
    static constexpr int64_t kWorkPerSlice = 50000;
    static constexpr int64_t kGreed = 3;

    enum class Result { Running, Solved, Failed };
    struct Push {
        int box = 0;       // the cell of the box before the push
        int direction = 0; // BoardGrid::Direction
    };

    // Starts a search from the board as it stands. Cost: linear in the cells.
    explicit SoukobanSolver(const SoukobanBoard& board);
    // Runs one slice of the search (at most `work` cell visits). Cost: bounded by `work`.
    Result run(int64_t work = kWorkPerSlice);
    Result result() const { return result_; }
    // The pushes from the start to a solution, once solved.
    const std::vector<Push>& plan() const { return plan_; }
    // Pushes from the start to the positions being searched now.
    int depth() const { return depth_; }

    // The shortest walk of the player on `board` from its cell to `target` through floor and
    // goals, as directions; empty when already there, nothing (false) when there is none.
    // Cost: linear in the cells.
    static bool walk(const SoukobanBoard& board, int target, std::vector<int>& directions);

private:
    struct Node {
        size_t boxes = 0; // index of the first box cell in boxCells_
        int player = 0;   // the smallest cell the player can reach
        int parent = -1;
        Push push;
        int depth = 0; // pushes from the start
    };
    bool passable(int cell) const { return cell >= 0 && !wall_[size_t(cell)]; }
    int neighbour(int cell, int direction) const { return grid_.neighbour(cell, direction); }
    // Stamps in `reach` the cells the player reaches from `from` around the boxes marked in
    // occupied_; returns the smallest of them.
    int reachFrom(int from, std::vector<int>& reach, int64_t& work);
    void tryPushes(int index, int64_t& work);
    bool solvedBy(const std::vector<int>& boxes) const;
    void finish(int index);

    BoardGrid grid_;
    int cells_ = 0;
    size_t boxCount_ = 0;
    size_t goalCount_ = 0;
    static constexpr int kDead = -1; // no goal can be reached from the cell
    std::vector<int8_t> wall_, goal_, occupied_;
    std::vector<int> distance_; // pushes to the nearest goal, or kDead
    std::vector<int> reach_, childReach_; // generation stamps of flood fills
    int generation_ = 0;
    std::vector<int> stack_;
    std::vector<int> boxCells_;
    std::vector<Node> nodes_;
    std::unordered_set<std::string> seen_;
    using Entry = std::pair<int64_t, int64_t>; // (order, node index): smaller first, then older
    std::priority_queue<Entry, std::vector<Entry>, std::greater<Entry>> open_;
    int depth_ = 0;
    Result result_ = Result::Running;
    std::vector<Push> plan_;
};
