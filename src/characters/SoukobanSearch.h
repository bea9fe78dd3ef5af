// The warehouse demonstration's own search, one paced step at a time, as the game shows it: each
// step first looks for a direct plan (one box to the first empty goal, with the player's way
// behind it), and when there is none makes one move of a depth-first search over the player's
// moves, taking moves back when a depth has tried its four directions (the board is drawn grey
// then). The search works on the game's board itself, so each of its moves is seen.
//
// Bounds: a direct plan looks at no more than kPlanWork cells per step (about 1 ms in an
// optimised build), the depth-first search goes at most kMaxDepth moves deep and remembers the
// last kRingSize positions; past kMaxSteps search steps it takes its moves back and gives up,
// and the demonstration then asks SoukobanSolver instead.
#pragma once

#include "SoukobanBoard.h"
#include "SoukobanSolver.h"

#include <array>
#include <cstdint>
#include <vector>

class SoukobanSearch {
public:
    static constexpr int kMaxDepth = 95;
    static constexpr size_t kRingSize = 2000;
    static constexpr int kMaxSteps = 1500;
    static constexpr int64_t kPlanWork = 200000;

    enum class Result {
        Searching, // a move was tried, made or taken back
        Planned,   // plan() moves a box onto a goal
        Cleared,   // a move of the search cleared the stage (the board has moved on)
        GaveUp,    // every move was tried or the steps ran out; the board is back where it began
    };
    using Push = SoukobanSolver::Push;

    // A search from the board as it stands now, at depth 0. The board must outlive the search.
    explicit SoukobanSearch(SoukobanBoard& board);
    // One demonstration step. Cost: a direct plan (bounded by kPlanWork) and one move or undo.
    Result step();
    const std::vector<Push>& plan() const { return plan_; }
    int depth() const { return depth_; }
    // True when the last step took a move back.
    bool backtracked() const { return backtracked_; }

    // The direct plan for the board as it stands: the pushes that bring one box onto the first
    // empty goal, or false when no box has one (or `work` cell visits did not suffice).
    // Boxes already on a goal are left where they are. Cost: at most `work` cell visits.
    static bool directPlan(const SoukobanBoard& board, std::vector<Push>& plan, int64_t work = kPlanWork);

private:
    struct Level {
        int tries = 0;
        int arrived = BoardGrid::Right; // the direction that led to this depth
    };
    Result searchStep();
    Result giveUp();
    bool mayTurnBack(int player, int direction, int arrived) const;
    bool emptyDeadEnd(int player, int direction) const;
    uint64_t positionKey() const;

    SoukobanBoard& board_;
    std::vector<Push> plan_;
    std::array<Level, kMaxDepth + 1> levels_{};
    int depth_ = 0;
    int steps_ = 0;
    bool backtracked_ = false;
    std::vector<uint64_t> ring_; // the last kRingSize positions, oldest overwritten first
    size_t ringNext_ = 0;
};
