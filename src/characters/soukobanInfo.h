// The warehouse game as a character kind: the board rules (SoukobanBoard) on the board frame,
// the demonstration that plays a solver's plan push by push, and the drawing of the board.
#pragma once

#include "BoardGame.h"
#include "SoukobanBoard.h"
#include "SoukobanSolver.h"

#include <memory>
#include <optional>
#include <vector>

class soukobanInfo : public BoardGame {
public:
    enum class Demo { Idle, Search, Plan, Walk, Start, NextStage };

    // The game of character `self` from its declaration (map characters '1' goal, '2' player,
    // '3' box, '4' wall, anything else floor). Cost: linear in the maps.
    soukobanInfo(AnimeInfo& self, const BoardDeclaration& declaration);

    int kindCode() const override;
    // Draws the cells and the status line above them. Cost: linear in the cells.
    bool draw(AnimeCanvas& canvas, const AnimeInfo& self, const AnimeKindDraw& at) override;

    SoukobanBoard& board() { return board_; }
    const SoukobanBoard& board() const { return board_; }
    Demo demonstration() const { return demo_; }
    // The status line as drawn above the board.
    QString statusLine() const;

protected:
    MoveOutcome moveByKey(GameKey key) override { return board_.move(key); }
    void announce(MoveOutcome outcome) override;
    void demonstrationStep() override;
    void playerLinked(int modeDigit) override;
    void userPlayStarts() override;
    int playerColumn() const override;
    int playerRow() const override;
    int clickColumn(int x) const override;
    int clickRow(int y) const override;
    bool allStagesDone() const override { return board_.allDone(); }
    int currentStage() const override { return board_.currentStage(); }
    int stageCount() const override { return board_.stageCount(); }

private:
    SoukobanBoard board_;
    Demo demo_ = Demo::Idle;
    std::unique_ptr<SoukobanSolver> solver_;
    size_t nextPush_ = 0;
    std::vector<int> walk_;
    size_t walkAt_ = 0;
    int searchDepth_ = 0;
    // Where the board was last drawn and its cell size, for clicks.
    int64_t drawnLeft_ = 0, drawnTop_ = 0;
    int cellWidth_ = 1, cellHeight_ = 1;
};

// Reader of a Soukoban declaration line: creates the game character with its board.
std::optional<QString> readSoukoban(AnimeState& state, AnimeBlockInput& input, const QString& params);
