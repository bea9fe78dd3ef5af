// The gold-collecting game as a character kind: the rules (PitmanBoard) on the board frame, the
// field drawn with three by three glyphs a cell, and the stage message once the gold of the last
// map is collected. The player is drawn inside the field; the player character only carries
// the link. There is no demonstration.
#pragma once

#include "BoardGame.h"
#include "PitmanBoard.h"

#include <optional>

class pitmanInfo : public BoardGame {
public:
    // The game of character `self` from its declaration (map characters '1' to '9' give the
    // cells 1 to 9, anything else is empty). Cost: linear in the maps.
    pitmanInfo(AnimeInfo& self, const BoardDeclaration& declaration);

    int kindCode() const override;
    // One frame: mode 2 turns into play once the game pad shows (and nothing else happens);
    // a map whose gold is all taken moves on (with the message after the last); things fall one
    // row (the player waits meanwhile, keys are dropped); in play a click walk or a key moves
    // the player. Cost: linear in the cells.
    void stepPlayer(AnimeInfo& player) override;
    // Draws the field and the status line above it. Cost: nine glyphs a visible cell.
    bool draw(AnimeCanvas& canvas, const AnimeInfo& self, const AnimeKindDraw& at) override;

    PitmanBoard& board() { return board_; }
    const PitmanBoard& board() const { return board_; }
    // The status line as drawn above the field.
    QString statusLine() const;

protected:
    MoveOutcome moveByKey(GameKey key) override { return board_.move(key); }
    void announce(MoveOutcome outcome) override;
    void demonstrationStep() override {}
    int playerColumn() const override;
    int playerRow() const override;
    int clickColumn(int x) const override;
    int clickRow(int y) const override;
    bool allStagesDone() const override { return false; }
    int currentStage() const override { return board_.currentStage(); }
    int stageCount() const override { return board_.stageCount(); }
    QString rowText(int row) const override;
    int moveCounter() const override { return board_.snapshotCount(); }

private:
    PitmanBoard board_;
    // Where the field was last drawn and its cell size, for clicks.
    int64_t drawnLeft_ = 0, drawnTop_ = 0;
    int cellSize_ = 1;
};

// Reader of a pitman declaration line: creates the game character with its field.
std::optional<QString> readPitman(AnimeState& state, AnimeBlockInput& input, const QString& params);
