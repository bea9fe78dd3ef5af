// Motion per frame: acceleration, resistance, velocity, bounds with restitution and mirroring,
// goto targets and chasers, facing, colour shift, frame stepping, life time and charges; the
// games take their turn first through the kind objects.
#pragma once

#include <cstdint>

class AnimeInfo;
class AnimeState;
class AnimeView;
class AnimeHost;

// The canvas bounds of a frame in whole pixels (picture plus 200 on every side, camera-shifted).
struct CanvasBounds {
    int64_t minX = 0, minY = 0, maxX = 0, maxY = 0;
};

// Bounds of this frame for a picture of width x height seen with the view's camera.
CanvasBounds canvasBounds(const AnimeView& view);

// One frame: window rotation and camera drift, the camera status (current window only), every
// visible character stepped in list order while `status` stays 0, the refit shift, and the
// picture drawn. Nothing happens without characters. Cost: linear in the characters plus drawing.
void advanceFrame(AnimeState& state, AnimeView& view, const int& status);

// One character's motion of a frame. Cost: constant plus the game's turn and the charges.
void stepCharacter(AnimeInfo& c, const CanvasBounds& bounds);

// Moves toward the goto targets at the stored speed, landing exactly on them. Returns 1 when no
// target is set or it was reached this frame, else 0. Cost: constant.
int stepToTarget(AnimeInfo& c);

// Changes c's velocity by every charge of the animation (like charges repel). A charge at
// distance 0 (or at a non-finite distance) is skipped. Cost: linear in the charges.
void applyCharges(AnimeInfo& c);
