// The rules of the warehouse game on plain data: the stage maps, the current board, moves by
// game key with the dead-box tests, undo, and stage progression. No drawing and no characters,
// so the rules are tested and solved on their own.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

class SoukobanBoard {
public:
    enum Cell : int8_t { Floor = 0, Goal = 1, Player = 2, Box = 3, Wall = 4, Mark = 5, Unreachable = 6 };
    // Direction offsets in the order right, up, left, down.
    enum Direction : int { Right = 0, Up = 1, Left = 2, Down = 3 };

    // One recorded move: the changed cells with their old values (cell -1: unused).
    struct UndoRecord {
        std::array<int, 3> cell{-1, -1, -1};
        std::array<int8_t, 3> old{};
    };

    // `maps` holds stages x width x height cells (values 0 to 4); `startStage` is 0-based and
    // clamped into the stages. The current stage is loaded. Cost: one stage load.
    SoukobanBoard(int width, int height, std::vector<int8_t> maps, int stageCount, int startStage);

    int width() const { return width_; }
    int height() const { return height_; }
    int stageCount() const { return stageCount_; }
    int currentStage() const { return stage_; }
    int moveCount() const { return int(undo_.size()); }
    bool allDone() const { return allDone_; }
    int playerCell() const { return player_; }
    const std::vector<int>& goals() const { return goals_; }
    const std::vector<int8_t>& board() const { return board_; }
    // The cell at a column and row; every cell off the board counts as a wall, so a map that is
    // not closed by walls still keeps the player and the boxes on it. Cost: constant.
    int at(int column, int row) const;
    int at(int cell) const { return at(cell % width_, cell / width_); }
    // The cell one step from `cell` in a direction, or -1 off the board.
    int neighbour(int cell, int direction) const;

    // Loads the current stage (or sets the all-done flag after the last one): unreachable floor
    // is marked, the goals are ordered by score, the moves are forgotten. Cost: linear in cells.
    void loadStage();
    // Goes to another stage (clamped to 0..stage count) and loads it.
    void goToStage(int stage);
    // A key of the game pad: 37 to 40 move, 8 undoes, 107 and 109 change the stage. Returns -1
    // when refused (nothing changes), else the number of goals without a box. A move that leaves
    // no goal empty clears the stage: a message says so and the next stage is loaded.
    // Cost: constant, a stage load on a stage change.
    int move(int key);
    // A step in a direction with the dead-box tests (`checked`) or without; true when made.
    // Made steps are recorded for undo. Cost: constant.
    bool step(int direction, bool checked);
    // Takes back the last recorded move; false when there is none. Cost: constant.
    bool undo();
    // Goals that hold no box. Cost: linear in the goals.
    int emptyGoals() const;
    // True when a push that brought a box to `pushedTo` left a box near it that can never reach
    // a goal: a 2 x 2 block or a closed pocket around a box within two cells, or a corner within
    // one cell when `pushedTo` is no goal. A box on a goal is never dead. Cost: constant.
    bool deadAfterPush(int pushedTo) const;

private:
    bool blocked(int cell) const { return cell < 0 || board_[size_t(cell)] >= Box; }
    bool isWall(int cell) const { return cell < 0 || board_[size_t(cell)] == Wall; }
    bool isBox(int cell) const { return cell >= 0 && board_[size_t(cell)] == Box; }
    bool isGoalCell(int cell) const;
    int offset(int cell, int dx, int dy) const; // -1 off the board
    bool patternDead(int box) const;
    bool cornerDead(int box) const;

    int width_, height_, stageCount_;
    std::vector<int8_t> maps_;
    std::vector<int8_t> board_;
    std::vector<int8_t> goalCell_; // 1 where the stage map has a goal
    std::vector<int> goals_;
    std::vector<UndoRecord> undo_;
    int stage_ = 0;
    int player_ = -1;
    bool allDone_ = false;
};
