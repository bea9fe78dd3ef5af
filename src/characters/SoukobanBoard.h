// The rules of the warehouse game on plain data: the stage maps, the current board, moves by
// game key with the dead-box tests, undo, and stage progression. No drawing, no characters and no
// messages (a move reports its outcome), so the rules are tested and solved on their own.
#pragma once

#include "BoardGrid.h"
#include "MoveOutcome.h"
#include "anime/GameKey.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

class SoukobanBoard {
public:
    enum Cell : int8_t { Floor = 0, Goal = 1, Player = 2, Box = 3, Wall = 4, Mark = 5, Unreachable = 6 };
    using Direction = BoardGrid::Direction;

    // One recorded move: the changed cells with their old values (cell -1: unused).
    struct UndoRecord {
        std::array<int, 3> cell{-1, -1, -1};
        std::array<int8_t, 3> old{};
    };

    // `maps` holds stages x width x height cells (values 0 to 4); `startStage` is 0-based and
    // clamped into the stages. The current stage is loaded. Cost: one stage load.
    SoukobanBoard(int width, int height, std::vector<int8_t> maps, int stageCount, int startStage);

    const BoardGrid& grid() const { return grid_; }
    int width() const { return grid_.width(); }
    int height() const { return grid_.height(); }
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
    int at(int cell) const { return at(grid_.column(cell), grid_.row(cell)); }
    // The cell one step from `cell` in a direction, or -1 off the board.
    int neighbour(int cell, int direction) const { return grid_.neighbour(cell, direction); }

    // Loads the current stage (or sets the all-done flag after the last one): unreachable floor
    // is marked, the goals are ordered by score, the moves are forgotten. Cost: linear in cells.
    void loadStage();
    // Goes to another stage (clamped to 0..stage count) and loads it.
    void goToStage(int stage);
    // A key of the game pad: the arrows move, Undo takes a move back, NextStage and
    // PreviousStage change the stage (Refused at the ends). A move that leaves no goal empty
    // clears the stage: the stage number goes up and the next stage is loaded (StageCleared), or
    // the all-done flag is set after the last one (AllCleared); currentStage() is then the
    // cleared stage's 1-based number. Any other key is Refused. Cost: constant, a stage load on
    // a stage change.
    MoveOutcome move(GameKey key);
    // A step in a direction with the dead-box tests (`checked`) or without; true when made.
    // Made steps are recorded for undo. Cost: constant.
    bool step(int direction, bool checked);
    // The demonstration's walk: a step or push without the dead-box tests and without an undo
    // record; false when the way is blocked. Cost: constant.
    bool walkStep(int direction);
    // A checked, recorded step in a direction with the outcome a move key gives. Cost: as move().
    MoveOutcome moveInDirection(int direction);
    // Takes back the last recorded move; false when there is none. Cost: constant.
    bool undo();
    // Whether the stage map has a goal at `cell`. Cost: constant.
    bool isGoal(int cell) const;
    // Whether the player could reach `cell` at the stage's start through floor, goals and boxes.
    // Cost: constant.
    bool reachable(int cell) const;
    // Goals that hold no box. Cost: linear in the goals.
    int emptyGoals() const;
    // True when a push that brought a box to `pushedTo` left a box near it that can never reach
    // a goal: a 2 x 2 block or a closed pocket around a box within two cells, or a corner within
    // one cell when `pushedTo` is no goal. A box on a goal, and a box that the player could not
    // reach at the stage's start, is never dead. Cost: constant.
    bool deadAfterPush(int pushedTo) const;

private:
    bool blocked(int cell) const { return cell < 0 || board_[size_t(cell)] >= Box; }
    bool isWall(int cell) const { return cell < 0 || board_[size_t(cell)] == Wall; }
    bool isBox(int cell) const { return cell >= 0 && board_[size_t(cell)] == Box; }
    int offset(int cell, int dx, int dy) const { return grid_.offset(cell, dx, dy); }
    bool apply(int direction, bool checked, bool recorded);
    bool patternDead(int box) const;
    bool cornerDead(int box) const;

    BoardGrid grid_;
    int stageCount_;
    std::vector<int8_t> maps_;
    std::vector<int8_t> board_;
    std::vector<int8_t> goalCell_; // 1 where the stage map has a goal
    std::vector<int8_t> reachable_; // 1 where the player could go at the stage's start
    std::vector<int> goals_;
    std::vector<UndoRecord> undo_;
    int stage_ = 0;
    int player_ = -1;
    bool allDone_ = false;
};
