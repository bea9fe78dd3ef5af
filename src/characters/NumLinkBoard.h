// The rules of the number-linking puzzle on plain data: the stage maps, the board of numbers and
// path cells, the pairs, the cursor with the selected number and the pen, the keys that draw and
// erase paths, and the completion of a map once every pair is joined. No drawing and no messages:
// keys and completion report their outcome.
#pragma once

#include "BoardGrid.h"
#include "MoveOutcome.h"
#include "anime/GameKey.h"

#include <cstdint>
#include <vector>

class NumLinkBoard {
public:
    // Cell values: 0 empty, 1 to 9 a number, 11 to 19 a path cell just drawn, 21 to 59 a path cell
    // fading in, 61 to 69 a path cell shown as a line. A value's colour is its last digit.
    static constexpr int kNumbers = 9;
    static constexpr int kPath = 10;      // a path cell of number n is first n + kPath
    static constexpr int kFadeStep = 10;  // what a drawing adds while the cell fades in
    static constexpr int kLine = 60;      // above this the cell has faded in
    // A number's two cells in map order; -1 when the map has fewer.
    struct Pair {
        int first = -1, second = -1;
        bool complete() const { return second >= 0; }
    };

    // `maps` holds stages x width x height values (0 to 9, anything else is empty); `startStage`
    // is 0-based and clamped into the stages, which is loaded. Cost: one stage load.
    NumLinkBoard(int width, int height, std::vector<int8_t> maps, int stageCount, int startStage);

    const BoardGrid& grid() const { return grid_; }
    int stageCount() const { return stageCount_; }
    int currentStage() const { return stage_; }
    int at(int cell) const { return cell < 0 ? 0 : int(board_[size_t(cell)]); }
    int at(int column, int row) const { return at(grid_.cellAt(column, row)); }
    // The colour (last digit) of a cell's value; 0 for an empty cell and off the board.
    int colour(int cell) const { return at(cell) % 10; }
    static bool isNumber(int value) { return value >= 1 && value <= kNumbers; }
    static bool isPath(int value) { return value > kPath; }
    // Pairs by number: pair(n) for n from 1 to pairCount(); the highest number on the map is the
    // pair count. A number with fewer than two cells is no pair: it is left out of the check and
    // of the demonstration.
    int pairCount() const { return int(pairs_.size()); }
    const Pair& pair(int number) const { return pairs_[size_t(number - 1)]; }
    bool hasPairs() const;

    int cursor() const { return cursor_; }
    void setCursor(int cell) { cursor_ = cell >= 0 && cell < grid_.cells() ? cell : cursor_; }
    int selected() const { return selected_; }
    bool drawing() const { return drawing_; }
    // Path cells met by the last connection check.
    int linkedCells() const { return linkedCells_; }

    // Loads a stage (clamped): its map and pairs; the pen is lifted and no number is selected.
    // Cost: linear in the cells.
    void loadStage(int stage);
    // A key of the game pad at the cursor: Enter or Space selects a number (toggling the pen),
    // draws on an empty cell or erases a path cell; the arrows move the cursor and, with the pen
    // down, draw onto empty cells and take a path back when walking back along it; NextStage and
    // PreviousStage change the map. Refused when nothing changes. Cost: constant.
    MoveOutcome key(GameKey key);
    // Whether every pair is joined by cells of its colour; counts the path cells met. A map
    // without pairs is never joined. Cost: linear in the cells.
    bool allLinked();
    // When every pair is joined: the next map is loaded (StageCleared), or after the last the
    // first again (AllCleared). Refused otherwise. Cost: linear in the cells.
    MoveOutcome complete();
    // The drawing's fade-in: path cells below kLine step on by kFadeStep. Cost: linear in the cells.
    void fadeIn();

    // For the demonstration: sets a cell's value and reads the whole board.
    void set(int cell, int value) { board_[size_t(cell)] = int8_t(value); }
    const std::vector<int8_t>& cells() const { return board_; }

private:
    // Makes `cell` a path cell of the selected number when a neighbour has its colour.
    bool drawAt(int cell);
    // Whether the number's first cell reaches its second through cells of its colour; adds the
    // path cells met to `met`. Cost: linear in the cells.
    bool linked(int number, std::vector<int>& stack, std::vector<uint8_t>& seen, int& met) const;

    BoardGrid grid_;
    int stageCount_;
    std::vector<int8_t> maps_;
    std::vector<int8_t> board_;
    std::vector<Pair> pairs_;
    int stage_ = 0;
    int cursor_ = 0;
    int selected_ = 0;
    bool drawing_ = false;
    int linkedCells_ = 0;
};
