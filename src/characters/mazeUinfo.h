// What a maze keeps for one runner character: how it runs (the mode digit of its link), the
// trail of its exploration with loops cut out, and the user's cell in user play. A plain record
// held by the maze the runner is linked to; the maze's rules fill it in.
#pragma once

#include <cstddef>
#include <vector>

struct mazeUinfo {
    // Modes of a runner, the digit of its link.
    enum Mode : int {
        Off = 0,
        LeftHand = 1,  // explores keeping its left hand on the wall
        RightHand = 2, // the mirror image
        UserWaiting = 3, // the game pad is shown; play starts when the user opens it
        UserPlay = 4,
        UserOut = 5, // the user has left the maze and was asked about the next one
    };
    // What an exploring runner does.
    enum class Run { Off, Exploring, WalkingTrail };

    struct Point {
        int x = 0, y = 0; // whole pixels of the picture, y upward
    };
    // A cell of the maze or of the ground round it (column or row -1, or one past the last).
    struct Cell {
        int column = 0, row = 0;
        bool operator==(const Cell&) const = default;
    };

    int mode = Off;
    bool mazeRemade = false; // back to the start in the next frame
    Run run = Run::Off;
    std::vector<Point> trail;
    size_t walkIndex = 0;   // the next trail point while walking it
    Cell start;             // the cell below the entrance where exploring begins
    Cell lastJunction;      // the last cell whose walls were read
    // The user's cell with a one-cell border: column 0 and row 0 lie outside the maze, and so do
    // columns + 1 and rows + 1.
    int userColumn = 0, userRow = 0;
};
