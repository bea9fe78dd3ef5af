// A board's cells as one row-major array: cell = row × width + column, row 0 at the top. A game's
// rules and its solver step between cells only through neighbour() and offset(), so the board's
// edge is handled in one place: every step off the board is -1.
#pragma once

#include "anime/GameKey.h"

#include <optional>

class BoardGrid {
public:
    // Directions in the order the games try them: right, up, left, down.
    enum Direction : int { Right = 0, Up = 1, Left = 2, Down = 3 };
    static constexpr int kDirections = 4;

    // A grid of at least 1 x 1. Cost: constant.
    BoardGrid(int width, int height) : width_(width < 1 ? 1 : width), height_(height < 1 ? 1 : height) {}

    int width() const { return width_; }
    int height() const { return height_; }
    int cells() const { return width_ * height_; }
    int column(int cell) const { return cell % width_; }
    int row(int cell) const { return cell / width_; }
    // The cell at (column, row), or -1 off the board. Cost: constant.
    int cellAt(int column, int row) const {
        return column < 0 || row < 0 || column >= width_ || row >= height_ ? -1 : row * width_ + column;
    }
    // The cell dx columns right and dy rows down of `cell`; -1 off the board or from -1.
    // Cost: constant.
    int offset(int cell, int dx, int dy) const {
        return cell < 0 ? -1 : cellAt(column(cell) + dx, row(cell) + dy);
    }
    // The cell one step from `cell` in a direction (taken mod 4); -1 off the board or from -1.
    // Cost: constant.
    int neighbour(int cell, int direction) const { return offset(cell, dx(direction & 3), dy(direction & 3)); }

    static int dx(int direction) { return direction % 2 == 0 ? 1 - (direction & 2) : 0; }
    static int dy(int direction) { return direction % 2 == 1 ? (direction & 2) - 1 : 0; }
    static int reverse(int direction) { return (direction + 2) % kDirections; }
    // The direction of an arrow key; nothing for any other key. Cost: constant.
    static std::optional<Direction> directionOfKey(GameKey key) {
        switch (key) {
        case GameKey::Right: return Right;
        case GameKey::Up: return Up;
        case GameKey::Left: return Left;
        case GameKey::Down: return Down;
        default: return std::nullopt;
        }
    }

private:
    int width_, height_;
};
