// What a board game's move did, as the rules report it to the game's character kind, which then
// shows the stage messages. Rules never talk to the user themselves, so they play headless and
// under a solver.
#pragma once

enum class MoveOutcome {
    Refused,      // nothing changed
    Moved,        // the board changed (a step, a push, an undo or a stage key)
    StageCleared, // the stage was cleared and the next one is loaded
    AllCleared,   // the last stage was cleared
};
