// The frame that every board game kind shares: the declaration (size, place, cell zoom, stages
// and their map rows), the link to the player character and its mode, the pending game key and
// click, click walking, demonstration pacing and the player sprite's place on the board.
// A game derives from it and supplies its rules through the protected hooks: its rules live on
// plain data (a board class), a move by key returns a MoveOutcome, the game shows the stage
// messages for it, and it draws through the AnimeCanvas calls only, so it plays and renders
// headless.
#pragma once

#include "MoveOutcome.h"
#include "anime/AnimeKind.h"
#include "anime/GameKey.h"

#include <QPoint>
#include <QString>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class AnimeBlockInput;
class AnimeInfo;
class AnimeState;
class ParamFields;

// Game modes, the digit of a player's link.
namespace GameMode {
enum : int { Idle = 0, Demonstration = 1, Waiting = 2, UserPlay = 3 };
}

// A board game's declaration line and its map rows.
struct BoardDeclaration {
    QString name;
    int wid = 0, hei = 0, lft = 0, top = 0, xzoom = 1, yzoom = 1;
    int stages = 1, start = 1;
    // stages x hei rows as read; a row missing at the block's end is empty. A row's character at
    // column c is the cell, a missing one counts as floor.
    std::vector<QString> rows;

    // The map character of (stage, row, column); u'0' beyond a row's end. Cost: constant.
    QChar cell(int stage, int row, int column) const;
    // Every stage's cells, stage by stage and row by row: a digit '1' to `highest` as its number,
    // any other character `other`. Cost: linear in the cells.
    std::vector<int8_t> digitMaps(char16_t highest, int8_t other) const;
};

// The board cell of a picture coordinate relative to the board's edge: rounds toward negative
// infinity, so a point just left of or above the board is cell -1, not 0. Cost: constant.
inline int cellOf(int64_t offset, int64_t cellSize) {
    return int(offset >= 0 ? offset / cellSize : -((-offset + cellSize - 1) / cellSize));
}

// The most columns or rows of a board.
inline constexpr int kMaxBoardSide = 1024;

// Reads name, wid, hei (1 to sizeLimit), lft, top, xzoom and yzoom, the parameters that every
// board declaration begins with. Returns the faulty parameter's name. Cost: constant.
std::optional<QString> readBoardPlace(ParamFields& fields, AnimeBlockInput& input, int sizeLimit,
                                      BoardDeclaration& out);
// Reads up to `count` data lines as map rows, each cut to `width` characters; rows missing at
// the block's end are left out. Cost: linear in the rows read.
void readBoardRows(AnimeBlockInput& input, int count, int width, BoardDeclaration& out);
// Makes the visible board character of a declaration: its place and cell zoom, columns x rows
// dots. Cost: constant.
AnimeInfo& createBoardCharacter(AnimeState& state, const BoardDeclaration& d, int columns, int rows);

// Reads name, wid, hei, lft, top, xzoom, yzoom [, stages, start] and then stages x hei data
// lines. Returns the faulty parameter's name ("wid", "hei", "lft", "top", "xzoom", "yzoom"), or
// "stages" when the maps of all stages would not fit the animation's dot budget; a faulty or
// missing stages or start is 1 without an error. Cost: linear in the rows read.
std::optional<QString> readBoardDeclaration(AnimeState& state, AnimeBlockInput& input, const QString& params,
                                            BoardDeclaration& out);

// A board game's declaration: reads it as above and makes the visible board character whose
// game `make` builds from the declaration. Returns the faulty parameter's name as above.
// Cost: the declaration's and the game's construction.
using MakeBoardGame = std::unique_ptr<AnimeKind> (*)(AnimeInfo& self, const BoardDeclaration& d);
std::optional<QString> readBoardCharacter(AnimeState& state, AnimeBlockInput& input, const QString& params,
                                          MakeBoardGame make);

class BoardGame : public AnimeKind {
public:
    // `self` is the game character that owns this object.
    explicit BoardGame(AnimeInfo& self) : self_(self) {}

    // Remembers the last linked player (mode > 0) and hands the mode to the game.
    void linkPlayer(AnimeInfo& player, int modeDigit) override;
    // One frame of the player's game turn: mode 2 becomes 3 once the game pad is visible,
    // mode 3 walks to a click and passes a pending key to the game, mode 1 paces the game's
    // demonstration; the sprite then heads for the player's cell. Cost: the game's move or
    // demonstration step.
    void stepPlayer(AnimeInfo& player) override;
    // One pending key: a later key replaces an earlier one.
    void key(GameKey key) override { pendingKey_ = key; }
    // One pending click in picture pixels; a negative x clears it.
    void click(int x, int y) override {
        clickX_ = x;
        clickY_ = y;
    }

    // The board as digits or the game's own letters, its stage, the status line's counter and
    // the player's mode. Cost: linear in the cells.
    std::optional<AnimeGameState> gameState() const override;

    GameKey pendingKey() const { return pendingKey_; }
    AnimeInfo* player() const { return player_; }
    AnimeInfo& self() const { return self_; }

    // Goto target of the sprite on (column, row), in tenths of a pixel. Cost: constant.
    double spriteX(int column) const;
    double spriteY(int row) const;

protected:
    // The game's move for a key of the game pad. Cost: the game's.
    virtual MoveOutcome moveByKey(GameKey key) = 0;
    // Tells the user what a move did: a game shows its stage message for StageCleared and
    // AllCleared (showCheck, style 0). Called after every move in user play.
    virtual void announce(MoveOutcome outcome) {}
    // One paced step of the demonstration.
    virtual void demonstrationStep() = 0;
    // A player was linked with this mode (1 to 3).
    virtual void playerLinked(int modeDigit) {}
    // Mode 2 turned into user play.
    virtual void userPlayStarts() {}
    // The player's cell now.
    virtual int playerColumn() const = 0;
    virtual int playerRow() const = 0;
    // The cell a click in picture pixels points at; -1 for a coordinate off the board.
    virtual int clickColumn(int x) const = 0;
    virtual int clickRow(int y) const = 0;
    // True once the stage after the last one was asked for.
    virtual bool allStagesDone() const = 0;
    // The 0-based current stage and the stage count.
    virtual int currentStage() const = 0;
    virtual int stageCount() const = 0;
    // The board's rows, and a row as text, a character a cell. Cost: linear in the row.
    virtual int boardRows() const;
    virtual QString rowText(int row) const = 0;
    // The counter of the status line (moves, snapshots or linked cells); 0 for a game without one.
    virtual int moveCounter() const { return 0; }

    // Sets the player's goto target to a cell with speed 400.
    void placeSprite(AnimeInfo& player, int column, int row) const;
    // Click walking: a pending click becomes a target cell; while the walk lasts (30 steps at
    // most) it makes up the key toward it, across first. Cost: constant.
    void walkToClick();
    // Takes the pending key (None when there is none). Cost: constant.
    GameKey takeKey() { return std::exchange(pendingKey_, GameKey::None); }
    // Takes the pending click in picture pixels, if there is one. Cost: constant.
    std::optional<std::pair<int, int>> takeClick() {
        if (clickX_ < 0) return std::nullopt;
        return std::pair{std::exchange(clickX_, -1), std::exchange(clickY_, -1)};
    }
    // Ends a click walk. Cost: constant.
    void stopWalk() { walkCounter_ = 0; }

private:

    AnimeInfo& self_;
    AnimeInfo* player_ = nullptr; // the last linked player, not owned
    GameKey pendingKey_ = GameKey::None;
    int clickX_ = -1, clickY_ = -1;
    int walkColumn_ = -1, walkRow_ = -1, walkCounter_ = 0;
    int paceCounter_ = 0;
};
