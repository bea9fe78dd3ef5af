// The rules of Sudoku on plain data: the givens, the digits on the board, the solution, the 27
// units, the user's changes with their wrong marks and the highlighted digit. The rules play the
// standard board of 9 x 9 cells in boxes of 3 x 3; a board of another size keeps its digits for
// drawing and refuses every change.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

class SudokuBoard {
public:
    static constexpr int kSide = 9;
    static constexpr int kCells = kSide * kSide;
    static constexpr int kUnits = 27;      // 9 rows, then 9 columns, then 9 boxes
    static constexpr int8_t kWrong = 10;   // in the givens: the user's digit here repeats in a unit
    // Search nodes a solve may spend: twice what a puzzle made against cell-order search needs,
    // and a bound of a fraction of a second for the rest.
    static constexpr int64_t kNodeBudget = 1'000'000;

    enum class Solved { Found, NoSolution, OverBudget };
    // What a change by the user did.
    enum class Change { Refused, Changed, Full };

    using Unit = std::array<int, kSide>;

    // A board of columns x rows whose givens are `givens` row by row (1 to 9, anything else
    // empty; missing cells empty); it plays when it is 9 x 9. Cost: linear in the cells.
    SudokuBoard(int columns, int rows, std::vector<int8_t> givens);

    int columns() const { return columns_; }
    int rows() const { return rows_; }
    bool plays() const { return columns_ == kSide && rows_ == kSide; }
    // The given of a cell (0 empty, kWrong a marked entry of the user). Cost: constant.
    int given(int cell) const { return givens_[size_t(cell)]; }
    // The digit shown in a cell, 0 for empty. Cost: constant.
    int at(int cell) const { return board_[size_t(cell)]; }
    int solution(int cell) const { return solution_[size_t(cell)]; }
    bool isGiven(int cell) const { return given(cell) >= 1 && given(cell) <= 9; }
    bool markedWrong(int cell) const { return given(cell) == kWrong; }
    // The digit whose givens are highlighted, -1 for none.
    int highlighted() const { return highlighted_; }
    int64_t nodes() const { return nodes_; }
    // The 27 units and the three units of each cell (its row, its column, its box).
    static const std::array<Unit, kUnits>& units();
    static const std::array<std::array<int, 3>, kCells>& unitsOf();

    // Starts over from the givens and solves: wrong marks are cleared, the board and the
    // solution get the givens, and a depth-first search fills the empty cells of the solution
    // in cell order with the digits 1 to 9 in order, so that the first solution is the one of
    // plain backtracking. It looks ahead: a placement that leaves an empty cell without a digit,
    // or a unit without a place for a digit it lacks, is taken back at once. Givens that repeat
    // a digit in a unit, such a dead end among the givens, or a search over `budget` nodes end
    // it with the solution's empty cells 0. Cost: at most `budget` nodes of 20 peers each
    // (about 0.2 us a node).
    Solved solve(int64_t budget = kNodeBudget);

    // "+": a cell that is not given and holds at most 8 gets the next digit (an empty one 1).
    Change increase(int cell);
    // "－": a cell that is not given and holds at least 2 gets the digit before.
    Change decrease(int cell);
    // Enter or space: on a given its digit becomes the highlighted one, or stops being it; a
    // digit of the user is taken away; an empty cell takes the highlighted digit, if any. Full
    // when the board is full afterwards, whatever changed.
    Change press(int cell);
    // Marks every digit of the user that repeats in one of its units (kWrong in the givens;
    // earlier marks are cleared first; givens are never marked). True when no cell is empty.
    // Cost: linear in the cells.
    bool check();
    // The demonstration's fill: the cell shows its digit of the solution. Cost: constant.
    void fill(int cell);

private:
    Change changed(); // checks after a change

    int columns_, rows_;
    std::vector<int8_t> givens_;
    std::vector<int8_t> board_;
    std::vector<int8_t> solution_;
    int highlighted_ = -1;
    int64_t nodes_ = 0;
};
