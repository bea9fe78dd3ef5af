// The maze as a character kind: its cells (MazeBoard) read from map rows or generated, the
// runners linked to it, and the drawing of its walls. A runner in mode 1 or 2 explores on its
// own, keeping its left or right hand on the wall, records its trail and cuts the loops out of
// it; once back at its start it walks the trail for ever. In mode 3 the user walks it through
// the maze cell by cell with the game pad, is asked about the next maze after getting out, and
// "+" or "－" makes the maze bigger or smaller.
#pragma once

#include "BoardGame.h"
#include "MazeBoard.h"
#include "mazeUinfo.h"

#include <optional>
#include <unordered_map>

class mazeInfo : public BoardGame {
public:
    // The maze of character `self`: `type` 0 takes the declaration's one map (characters '1' to
    // '9' are walls), 1 and 2 generate one. Cost: linear in the cells.
    mazeInfo(AnimeInfo& self, const BoardDeclaration& declaration, int type);

    int kindCode() const override;
    // Links a runner (mode digit 1 to 5; the user modes start waiting) or leaves the link
    // dropped (0): the runner's record is reset, its bounds become the maze's box widened by a
    // cell, and it heads for the cell below the entrance. Mode 3 shows the game pad.
    // Cost: constant.
    void linkPlayer(AnimeInfo& player, int modeDigit) override;
    // User play of a runner in modes 3 to 5: the game pad's key or a click walk moves the user's
    // cell (not into walls), "+" and "－" regenerate the maze, and leaving it asks about the next.
    // Cost: constant, or a generation.
    void stepPlayer(AnimeInfo& player) override;
    // An exploring runner at its first target starts its trail. Cost: constant.
    void playerArrived(AnimeInfo& player) override;
    // An exploring runner in a new pixel: centring, the trail with its loops cut, and at a
    // cell's centre a turn by its hand's rule. Cost: linear in the trail.
    void playerEnteredPixel(AnimeInfo& player) override;
    // A runner that found its way walks its trail one point a frame, round and round; true
    // while it does. Cost: constant.
    bool followPath(AnimeInfo& player) override;
    // Fills the wall cells that fall on the picture. Cost: linear in the visible cells.
    bool draw(AnimeCanvas& canvas, const AnimeInfo& self, const AnimeKindDraw& at) override;

    const MazeBoard& board() const { return board_; }
    int type() const { return type_; }
    // The record of a runner linked to this maze; nullptr for any other character.
    const mazeUinfo* runner(const AnimeInfo& player) const;
    // Makes a new maze of the same size, of the other generating type. Cost: a generation.
    void regenerate();

protected:
    MoveOutcome moveByKey(GameKey key) override;
    void demonstrationStep() override {}
    int playerColumn() const override;
    int playerRow() const override;
    int clickColumn(int x) const override;
    int clickRow(int y) const override;
    bool allStagesDone() const override { return false; }
    int currentStage() const override { return 0; }
    int stageCount() const override { return 1; }
    int boardRows() const override { return board_.rows(); }
    // Walls as their digits, free cells '0'.
    QString rowText(int row) const override;

private:
    // Grows or shrinks the maze by two columns and rows; refused beyond the limits. Cost: a
    // generation.
    MoveOutcome resize(int change);
    // A new maze of the other generating type and this size; every runner starts again.
    void remake(int columns, int rows);
    // Sends a runner back to the cell below the entrance: explorers start again from there, the
    // user waits there for the game pad.
    void restart(AnimeInfo& runner, mazeUinfo& record);
    // The runner's cell by the nearest anchor, and its offsets from that anchor in tenths.
    mazeUinfo::Cell runnerCell(const AnimeInfo& runner, double& offsetX, double& offsetY) const;
    double anchorX(int column) const; // the runner's X in `column`, tenths
    double anchorY(int row) const;    // the runner's Y in `row`, tenths
    void turnAtJunction(AnimeInfo& runner, const mazeUinfo& record, mazeUinfo::Cell at);

    MazeBoard board_;
    int type_;
    int pixelWidth_; // the maze's width in pixels at creation, kept when its size changes
    // Runner records by runner; the keys are never followed, only compared.
    std::unordered_map<const AnimeInfo*, mazeUinfo> runners_;
    mazeUinfo* stepping_ = nullptr; // the record whose user play is being stepped
    // Where the maze was last drawn and its cell size in picture pixels, for clicks.
    int64_t drawnLeft_ = 0, drawnTop_ = 0;
    int cellWidth_ = 1, cellHeight_ = 1;
};

// Reader of a Maze declaration line: name, wid, hei, lft, top, xzoom, yzoom, type, then hei map
// rows for type 0. An invalid type is reported as "yzoom".
std::optional<QString> readMaze(AnimeState& state, AnimeBlockInput& input, const QString& params);
