// The number-linking puzzle as a character kind: the rules (NumLinkBoard) on the board frame, user
// play by keys, clicks and drags, the demonstration (NumLinkSearch) one cell per paced step, the
// stage messages, and the drawing of numbers, fading path cells and the lines that join them.
#pragma once

#include "BoardGame.h"
#include "NumLinkBoard.h"
#include "NumLinkSearch.h"

#include <memory>
#include <optional>

class numlinkInfo : public BoardGame {
public:
    enum class Demo { Idle, Delay, Start, Search, ToLastEnd, ToCorner, Stopped };

    // The game of character `self` from its declaration (map characters '1' to '9' are numbers,
    // anything else is empty). Cost: linear in the maps.
    numlinkInfo(AnimeInfo& self, const BoardDeclaration& declaration);

    int kindCode() const override;
    // One frame: mode 2 turns into play once the game pad shows; in play a map whose pairs are
    // all joined moves on (with its message; never while another message window is open), a drag
    // with the pen down and a click move the cursor and act as Enter, a key plays; mode 1 paces
    // the demonstration. Cost: linear in the cells; a demonstration step costs NumLinkSearch::step.
    void stepPlayer(AnimeInfo& player) override;
    // The pointer held at (x, y) in picture pixels; the next frame of play reads it.
    void drag(int x, int y) override {
        dragX_ = x;
        dragY_ = y;
    }
    // Draws the board, fades path cells in and draws the status line. Cost: linear in the
    // visible cells.
    bool draw(AnimeCanvas& canvas, const AnimeInfo& self, const AnimeKindDraw& at) override;

    NumLinkBoard& board() { return board_; }
    const NumLinkBoard& board() const { return board_; }
    Demo demonstration() const { return demo_; }
    // The status line as drawn above the board.
    QString statusLine() const;
    // The colour of a value's last digit (0x00BBGGRR).
    static uint32_t colourOfDigit(int digit);

protected:
    MoveOutcome moveByKey(GameKey key) override { return board_.key(key); }
    void announce(MoveOutcome outcome) override;
    void demonstrationStep() override;
    void playerLinked(int modeDigit) override;
    void userPlayStarts() override;
    int playerColumn() const override { return board_.grid().column(board_.cursor()); }
    int playerRow() const override { return board_.grid().row(board_.cursor()); }
    int clickColumn(int x) const override;
    int clickRow(int y) const override;
    bool allStagesDone() const override { return allDone_; }
    int currentStage() const override { return allDone_ ? board_.stageCount() : board_.currentStage(); }
    int stageCount() const override { return board_.stageCount(); }
    QString rowText(int row) const override;
    int moveCounter() const override { return board_.linkedCells(); }

private:
    void play(AnimeInfo& player);
    // The demonstration's start of a stage: the board is loaded and a new search begins.
    void startStage(int stage);

    NumLinkBoard board_;
    std::unique_ptr<NumLinkSearch> search_;
    Demo demo_ = Demo::Idle;
    bool allDone_ = false;
    int dragX_ = -1, dragY_ = -1;
    int frameCounter_ = 0; // for the selected number's blinking
    // Where the board was last drawn and its cell size, for clicks and drags.
    int64_t drawnLeft_ = 0, drawnTop_ = 0;
    int cellWidth_ = 1, cellHeight_ = 1;
};

// Reader of a NumLink declaration line: creates the game character with its board.
std::optional<QString> readNumLink(AnimeState& state, AnimeBlockInput& input, const QString& params);
