// The rules of the tile-matching game on plain data: a solvable deal (one pair a pass, the tile
// nearest the focus first, shuffling only when no pair is left), the connection of two tiles by a
// path with at most two turns through empty cells or around the board's outer edge, the user's
// picks with undo, and the removal list that holds the deal's solution and the user's pairs.
// No drawing and no messages: a pick reports its outcome.
#pragma once

#include "BoardGrid.h"
#include "MoveOutcome.h"

#include <cstdint>
#include <vector>

class QtriBoard {
public:
    static constexpr int kMaxCells = 136; // a full set: 34 kinds of four tiles
    static constexpr int kSameKind = 4;

    // Whether a board of this size can be dealt: an even count of 2 to kMaxCells cells.
    static bool dealable(int width, int height) {
        const int64_t n = int64_t(width) * height;
        return n >= 2 && n <= kMaxCells && n % 2 == 0;
    }

    // A board of a dealable size, dealt. Cost: one deal.
    QtriBoard(int width, int height);

    const BoardGrid& grid() const { return grid_; }
    int cells() const { return grid_.cells(); }
    // The kind of the tile shown on a cell (4 tiles a kind).
    int kind(int cell) const { return shown_[size_t(cell)] / kSameKind; }
    bool removed(int cell) const { return cell < 0 || removed_[size_t(cell)] != 0; }
    bool empty() const;
    // Whether a cell has a neighbour off the board or empty.
    bool openSide(int cell) const;
    // The removal list: the deal's pairs in order, the user's pairs written over its start;
    // -1 after the last entry and beyond.
    int removalAt(int k) const { return k >= 0 && k < int(removals_.size()) ? removals_[size_t(k)] : -1; }
    int solutionLength() const { return solutionLength_; }
    int userCount() const { return userCount_; }
    int selected() const { return selected_; }

    // A new solvable layout with its solution; every tile back, the user's pairs forgotten.
    // Cost: a pass a pair, each sorting the tiles left and trying their pairs: about n^3 / 2
    // connection tests at most, with n at most kMaxCells.
    void deal();
    // Whether two tiles' cells can be joined: both on the same outer row or column, or by a
    // path of at most two turns through empty cells and around the board. Cost: linear in the
    // board's width plus height.
    bool connect(int a, int b) const;
    // The user's pick of a cell: the first pick of a tile with an open side selects it; the
    // selected tile again clears the selection; a tile of the same kind that connects takes both
    // (AllCleared when the board is then empty: it is dealt again), anything else clears the
    // selection. Cost: a connection test; a deal after the last pair.
    MoveOutcome select(int cell);
    // Puts the user's last pair back. Refused without one. Cost: constant.
    MoveOutcome undo();
    // The demonstration takes a tile without checks. Cost: constant.
    void take(int cell) { removed_[size_t(cell)] = 1; }

private:
    bool emptyOrOff(int column, int row) const;
    bool reach(int p, int q) const;
    bool corner(int x, int y, int tx, int ty) const;
    void shuffle();

    BoardGrid grid_;
    std::vector<int> tiles_;
    std::vector<int> shown_;
    std::vector<uint8_t> removed_;
    std::vector<int> removals_;
    int solutionLength_ = 0;
    int userCount_ = 0;
    int selected_ = -1;
};
