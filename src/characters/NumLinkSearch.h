// The number-linking puzzle's demonstration: a depth-first search that places one path cell per
// step, pair by pair from pair 1, each path from its pair's first cell. A placement stays only when
// four tests pass: every pair still to be joined can reach its other end through empty cells (a),
// no row or column has a short run of empty cells that too many pairs need (b), the path makes no
// 2 x 2 square of its colour (c), and no empty cell is left as a pocket that no path can use (d).
// Tried directions run out after four; the search then takes the last cell back.
#pragma once

#include "NumLinkBoard.h"

#include <vector>

class NumLinkSearch {
public:
    // The demonstration runs on boards up to this size: its tests cost grow with the rows and
    // columns times the pairs times the board.
    static constexpr int kMaxSide = 10;
    enum class Result { Placed, BackedUp, PairDone, Solved, GaveUp };

    // A search on `board` (not owned; it must outlive the search), which it changes cell by cell
    // from the current board on, starting at pair 1. Cost: linear in the cells.
    explicit NumLinkSearch(NumLinkBoard& board);

    // Whether the board is small enough for the demonstration and has pairs to link.
    static bool fits(const NumLinkBoard& board);
    // One step: places one path cell (or reaches a pair's other end), or backs up one cell.
    // Solved once every pair is joined; GaveUp when nothing is left to try or the board does not
    // fit. Cost: up to four tries, each the four tests (test (b) dominates: rows and columns x
    // runs x pairs x a flood over the board).
    Result step();
    // The cell the path of the pair being linked ends at (where the sprite is).
    int head() const;
    int depth() const { return int(levels_.size()) - 1; }
    // Tests of a placement on the board as it is now; public for their tests. `head` is the new
    // end of pair `number`'s path, `placed` the new path cell (-1 when none was placed).
    bool reachTest(int number, int head) const;
    bool bottleneckTest(int number, int head) const;
    bool squareTest(int placed, int number) const;
    bool enclosureTest() const;

private:
    struct Level {
        int number;    // the pair whose path this level extends
        int head;      // the cell the path ends at before this level's move
        int tries = 0; // directions tried: right, down, left, up
    };
    // Clears the path cells placed at `depth` and deeper.
    void takeBack(int depth);
    // Whether the pairs from `number` on can each still be joined; counts those that cannot.
    int unjoinable(int number, int head) const;
    // Flood through empty cells from `from` to a neighbour of `to`. Cost: linear in the cells.
    bool reaches(int from, int to) const;
    bool allTests(int number, int head, int placed) const;

    NumLinkBoard& board_;
    std::vector<Level> levels_;
    std::vector<int> placedAt_; // per cell the depth that placed it, -1 for none
    bool fits_;
    bool solved_ = false;
    // Reused by the floods.
    mutable std::vector<int> stack_;
    mutable std::vector<uint8_t> seen_;
    mutable std::vector<uint8_t> blocked_; // cells test (b) closes for a while
};
