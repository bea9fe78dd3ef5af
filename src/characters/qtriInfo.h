// The tile-matching game as a character kind: the rules (QtriBoard), user play by clicks and the
// game pad with a cursor, the demonstration in which the player walks the removal list and takes
// each tile on arrival, the cleared-board message, and the tiles drawn from the tile picture
// "img/majyan.bmp" (faces of 40 x 56 pixels, nine to a row), with the pair to take lifted.
#pragma once

#include "QtriBoard.h"
#include "anime/AnimeKind.h"

#include <QImage>
#include <QString>

#include <optional>

class AnimeBlockInput;
class AnimeState;

class qtriInfo : public AnimeKind {
public:
    static constexpr int kFaceWidth = 40, kFaceHeight = 56, kFacesARow = 9;

    // The board of character `self` (a dealable size), drawn from `picture` (none: it is
    // played unseen). Cost: one deal.
    qtriInfo(AnimeInfo& self, QImage picture);

    int kindCode() const override;
    void linkPlayer(AnimeInfo& player, int modeDigit) override;
    // One frame of the player: mode 2 turns into play once the game pad shows; in play a click
    // or key moves the cursor, picks, undoes or deals; in modes 0 and 1 a click picks, and mode 1
    // walks the player from tile to tile along the removal list. Cost: a pick's connection test,
    // a deal after the last pair.
    void stepPlayer(AnimeInfo& player) override;
    void key(GameKey key) override { pendingKey_ = key; }
    void click(int x, int y) override {
        clickX_ = x;
        clickY_ = y;
    }
    // Draws the tiles from the picture, the pair to take and the selected tile lifted while they
    // blink. Cost: a stretched face a tile.
    bool draw(AnimeCanvas& canvas, const AnimeInfo& self, const AnimeKindDraw& at) override;
    // Rows of kinds ('0' to '9', then 'a' on), '.' for an empty cell; moves are the user's
    // removals; stage 0 of 1. Cost: linear in the cells.
    std::optional<AnimeGameState> gameState() const override;

    QtriBoard& board() { return board_; }
    const QtriBoard& board() const { return board_; }
    int cursor() const { return cursor_; }
    bool demonstrationFinished() const { return finished_; }
    // The cell of a click in picture pixels; -1 off the board.
    int clickCell(int x, int y) const;

private:
    // The sprite's target on a cell, in tenths of a pixel.
    void headFor(AnimeInfo& player, int cell) const;
    void pick(int cell);
    void demonstrate(AnimeInfo& player);

    AnimeInfo& self_;
    AnimeInfo* player_ = nullptr; // the last linked player, not owned
    QtriBoard board_;
    QImage picture_;
    GameKey pendingKey_ = GameKey::None;
    int clickX_ = -1, clickY_ = -1;
    int cursor_ = 0;
    bool finished_ = false;
    int frameCounter_ = 0; // for the blinking of the pair to take
    int64_t drawnLeft_ = 0, drawnTop_ = 0;
    int cellWidth_ = 1, cellHeight_ = 1;
};

// Reader of a Nikaku declaration line (name, wid, hei, lft, top, xzoom, yzoom, no rows): an odd
// cell count or more than 136 cells is refused as "wid". Loads the tile picture from the
// program's folder or address. Cost: the picture's load and one deal.
std::optional<QString> readNikaku(AnimeState& state, AnimeBlockInput& input, const QString& params);
