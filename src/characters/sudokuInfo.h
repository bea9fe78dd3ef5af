// Sudoku as a character kind: the rules (SudokuBoard) on the board frame, the user's play with
// the game pad (a cursor, "+" and "－" on the digit, Enter to highlight, take away or enter the
// highlighted digit), the completion message, the demonstration in which the player fills the
// empty cell nearest to it with its digit of the solution, one after another, and the drawing.
// A board of another size than 9 x 9 is drawn only.
#pragma once

#include "BoardGame.h"
#include "SudokuBoard.h"

#include <optional>

class sudokuInfo : public BoardGame {
public:
    // The board of character `self` from its declaration: `columns` x `rows` cells whose map
    // characters '1' to '9' are givens. Cost: linear in the cells.
    sudokuInfo(AnimeInfo& self, const BoardDeclaration& declaration, int boxColumns, int boxRows);

    int kindCode() const override;
    // Mode 2 turns into play once the game pad shows (the cursor at the first cell); in play a
    // click or key of the game pad acts on the cursor's cell and the player heads for it; in
    // the demonstration (mode 1) the player, once it stands, fills the cell it went to and
    // heads for the nearest empty one, and for the board's middle when none is left (mode 0).
    // Cost: linear in the cells.
    void stepPlayer(AnimeInfo& player) override;
    // Draws the cells with their digits. Cost: linear in the visible cells.
    bool draw(AnimeCanvas& canvas, const AnimeInfo& self, const AnimeKindDraw& at) override;

    SudokuBoard& board() { return board_; }
    const SudokuBoard& board() const { return board_; }
    int cursor() const { return cursor_; }
    // The cell the demonstration is filling, -1 for none.
    int filling() const { return filling_; }
    // The goto target of a player on a cell, in tenths of a pixel. Cost: constant.
    double cellX(int cell) const;
    double cellY(int cell) const;

protected:
    MoveOutcome moveByKey(GameKey key) override;
    void announce(MoveOutcome outcome) override;
    void demonstrationStep() override;
    void playerLinked(int modeDigit) override;
    int playerColumn() const override { return cursor_ % board_.columns(); }
    int playerRow() const override { return cursor_ / board_.columns(); }
    int clickColumn(int x) const override;
    int clickRow(int y) const override;
    bool allStagesDone() const override { return false; }
    int currentStage() const override { return 0; }
    int stageCount() const override { return 1; }
    int boardRows() const override { return board_.rows(); }
    // The digits shown, '.' for an empty cell.
    QString rowText(int row) const override;

private:
    void target(AnimeInfo& player, int cell, std::optional<double> speed) const;

    SudokuBoard board_;
    int boxColumns_, boxRows_; // the gaps of the drawing
    int cursor_ = 0;
    int filling_ = -1;
    int drawings_ = 0; // for the highlight's blinking
    // Where the board was last drawn and its cell size, for clicks.
    int64_t drawnLeft_ = 0, drawnTop_ = 0;
    int cellWidth_ = 1, cellHeight_ = 1;
};

// Reader of a Sudoku declaration line: name, wid and hei (the box's columns and rows, 1 to
// 1000), lft, top, xzoom, yzoom, then hei² rows of wid² map characters. A board too large for
// the animation's dot budget is reported as "hei".
std::optional<QString> readSudoku(AnimeState& state, AnimeBlockInput& input, const QString& params);
