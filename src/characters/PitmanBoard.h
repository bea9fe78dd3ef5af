// The rules of the gold-collecting game on plain data: the stage maps, the current map with its
// ladder layer, moves by game key (digging, climbing, rock pushes), gravity one row at a time,
// snapshots for undo, and the completion of a map once its gold is taken. No drawing and no
// messages: moves and completion report their outcome.
#pragma once

#include "BoardGrid.h"
#include "MoveOutcome.h"
#include "anime/GameKey.h"

#include <cstdint>
#include <deque>
#include <vector>

class PitmanBoard {
public:
    enum Cell : int8_t {
        Empty = 0,
        Ladder = 1,
        Gold = 2,
        Earth = 3, // the player digs through it
        Rock = 4,  // falls and can be pushed
        Stone = 5,
        Player = 6,
        FixedGold = 7, // counts as gold but cannot be taken
        Wall = 8,
        Figure = 9,
    };
    // Undo keeps the latest moves only; older snapshots are dropped.
    static constexpr size_t kMaxSnapshots = 200;

    // `maps` holds stages x width x height cells (0 to 9, others are empty); `startStage` is
    // 0-based and clamped into the stages, which is loaded. Cost: one stage load.
    PitmanBoard(int width, int height, std::vector<int8_t> maps, int stageCount, int startStage);

    const BoardGrid& grid() const { return grid_; }
    int stageCount() const { return stageCount_; }
    int currentStage() const { return stage_; }
    int playerCell() const { return player_; }
    int snapshotCount() const { return int(snapshots_.size()); }
    const std::vector<int8_t>& map() const { return map_; }
    // The cell's value; off the board is wall. Cost: constant.
    int at(int cell) const { return cell < 0 ? int(Wall) : int(map_[size_t(cell)]); }
    int at(int column, int row) const { return at(grid_.cellAt(column, row)); }
    bool onLadder(int cell) const { return cell >= 0 && ladder_[size_t(cell)] != 0; }

    // Loads a stage (clamped): its map, the ladder layer and the player; snapshots are cleared.
    // Cost: linear in the cells.
    void loadStage(int stage);
    void clearSnapshots() { snapshots_.clear(); }
    // Gold left on the map, fixed gold included. Cost: linear in the cells.
    int goldLeft() const;
    // When no gold is left on a map that had some: the next map is loaded (StageCleared), or,
    // after the last, the first again (AllCleared); currentStage() was the completed one before.
    // Refused while gold is left. Cost: linear in the cells.
    MoveOutcome complete();
    // One row of gravity: gold, rocks and the player with nothing below them and off ladders
    // drop one row. True when anything fell. Cost: linear in the cells.
    bool fall();
    // A key of the game pad: the arrows move (sideways into empty, ladder, gold or earth, or
    // pushing a rock into an empty cell beside it; down onto a ladder; up or down from a
    // ladder), Undo restores the last snapshot, NextStage and PreviousStage change the map.
    // Refused when nothing changes. Cost: a snapshot (linear in the cells) per move.
    MoveOutcome move(GameKey key);

private:
    void enter(int to); // the player goes to `to`, its old cell gets its ladder back
    void snapshot();

    struct Snapshot {
        std::vector<int8_t> map;
        int player = -1;
    };

    BoardGrid grid_;
    int stageCount_;
    std::vector<int8_t> maps_;
    std::vector<int8_t> map_;
    std::vector<int8_t> ladder_; // 1 where the stage's map has a ladder
    std::deque<Snapshot> snapshots_;
    int stage_ = 0;
    int player_ = -1;
    bool hadGold_ = false;
};
