// The warehouse game as a character kind: the board rules (SoukobanBoard) on the board frame,
// the demonstration and the drawing of the board. The demonstration shows its own search
// (SoukobanSearch: direct plans, else a depth-first search whose backtracking greys the board);
// when that gives up, a SoukobanSolver plan finishes the room. Either plan is played push by
// push, the player walking to each push.
#pragma once

#include "BoardGame.h"
#include "SoukobanBoard.h"
#include "SoukobanSearch.h"
#include "SoukobanSolver.h"

#include <memory>
#include <optional>
#include <vector>

class soukobanInfo : public BoardGame {
public:
    enum class Demo { Idle, Search, Solve, Plan, Walk, Start, NextStage };

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
    // True while the board shows a move that the demonstration's search took back (drawn grey).
    bool backtracking() const;

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
    QString rowText(int row) const override;
    int moveCounter() const override { return board_.moveCount(); }

private:
    SoukobanBoard board_;
    Demo demo_ = Demo::Idle;
    void startSolver();

    std::unique_ptr<SoukobanSearch> search_;
    std::unique_ptr<SoukobanSolver> solver_;
    std::vector<SoukobanSolver::Push> plan_;
    size_t nextPush_ = 0;
    int startsOnStage_ = 0; // searches begun on this stage, bounded so that plans cannot go round
    std::vector<int> walk_;
    size_t walkAt_ = 0;
    int searchDepth_ = 0;
    // Where the board was last drawn and its cell size, for clicks.
    int64_t drawnLeft_ = 0, drawnTop_ = 0;
    int cellWidth_ = 1, cellHeight_ = 1;
};

// Reader of a Soukoban declaration line: creates the game character with its board.
std::optional<QString> readSoukoban(AnimeState& state, AnimeBlockInput& input, const QString& params);
