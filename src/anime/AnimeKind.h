// The object of a character kind with its own behaviour: a game board, a figure or a window.
// A character owns at most one; characters that play a game link to the game's character.
// Everything a kind does goes through these calls, so a game runs and renders headless.
#pragma once

#include "GameKey.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

class AnimeCanvas;
class AnimeInfo;

// Where and how large the owning character is drawn in this frame.
struct AnimeKindDraw {
    int64_t screenLeft = 0;
    int64_t screenTop = 0;
    int width = 0;    // the character's width in dots
    int height = 0;   // the character's height in dots
    int dotZoom = 1;  // the dot zoom x of the frame
    uint32_t background = 0; // the animation's background colour (0x00BBGGRR)
    int dotZoomY = 1;        // the dot zoom y of the frame
    int64_t factorY = 1, divisorY = 1; // the character's drawing factor and divisor y
    int viewDistance = 500;  // L of the perspective
};

// What a board game shows of its play, for tools and tests that look at a game from outside.
struct AnimeGameState {
    QStringList rows;   // the board, one text a row, one character a cell (each game says which)
    int stage = 0;      // 0-based
    int stageCount = 1;
    int moves = 0;      // the game's counter of its status line
    int mode = -1;      // the linked player's game mode; -1 without a player
};

class AnimeKind {
public:
    virtual ~AnimeKind() = default;
    // The kind's number in the kind table (`Kind::`). Cost: constant.
    virtual int kindCode() const = 0;
    // A character starts (modeDigit > 0) or stops (modeDigit 0) playing this game.
    virtual void linkPlayer(AnimeInfo& player, int modeDigit) {}
    // The game's turn for a player, before the player's own motion of the frame.
    virtual void stepPlayer(AnimeInfo& player) {}
    // Path following of a maze runner; true when the player moved along a path this frame
    // (its free motion is then skipped).
    virtual bool followPath(AnimeInfo& player) { return false; }
    // The player entered a new whole pixel (maze runners turn at crossings).
    virtual void playerEnteredPixel(AnimeInfo& player) {}
    // The player reached its goto target.
    virtual void playerArrived(AnimeInfo& player) {}
    // Draws the kind's face; false lets the owning character draw its dots instead.
    virtual bool draw(AnimeCanvas& canvas, const AnimeInfo& self, const AnimeKindDraw& at) { return false; }
    // The owning character's mode attribute was given (a window kind takes any value).
    virtual void modeGiven(int mode) {}
    // A key of the game pad or keyboard, and a click in picture coordinates.
    virtual void key(GameKey key) {}
    virtual void click(int x, int y) {}
    // The pointer moved to (x, y) in picture coordinates with the left button held.
    virtual void drag(int x, int y) {}
    // The game's board and progress; nothing for a kind that is no board game. Cost: linear in
    // the board's cells.
    virtual std::optional<AnimeGameState> gameState() const { return std::nullopt; }
    // What a headless run reports about the character's window (a universe's counters); empty
    // for kinds without one. Cost: constant.
    virtual QString reportText() const { return {}; }
};
