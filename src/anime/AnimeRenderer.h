// Drawing of an animation frame: the picture cleared to the background, the visible characters
// in depth order, each drawn dot by dot (zoom, repetition, ghost, balloon, rotation, perspective)
// or by its kind. Every store is clipped; huge attribute values are bounded by clipping the
// loops to the picture and by a dot budget per character and frame.
#pragma once

#include "DotRows.h"

#include <cstdint>

class AnimeCanvas;
class AnimeInfo;
class AnimeState;
class AnimeView;

// What one frame is drawn with.
struct FrameContext {
    AnimeCanvas& canvas;
    const AnimeState& state;
    int zoomX = 1, zoomY = 1, zoomZ = 1; // the dot zoom
    int viewDistance = 500;              // L
    int64_t originX = 0, originY = 0;    // (trunc(camera x), trunc(camera y))
    // Every rotated dot through DotRotation::apply and AnimeCanvas::putDot one at a time: the
    // reference that the row-wise walk is checked against, dot for dot.
    bool dotByDot = false;
};

// Dots (loop steps and pixel writes) one character may spend in one frame.
inline constexpr int64_t kDotBudget = int64_t(1) << 21;

// Draws the whole frame into view.picture with the origin (ox, oy) and stores the y base in the
// view. Cost: the picture's size plus the characters' visible dots (bounded by kDotBudget each).
void drawFrame(AnimeState& state, AnimeView& view, int64_t originX, int64_t originY);

// Draws one character and updates its screen box. Cost: its visible dots, at most kDotBudget.
void drawCharacter(AnimeInfo& c, const FrameContext& frame);

// Scales (x, y) for a point at depth z seen from the view distance L (x * 500 / (L - z), the
// divisor 0.1 from L on). Cost: constant.
void perspective(int viewDistance, int64_t& x, int64_t& y, int64_t z);

// The rotation of a character's dots about its centre (half sizes hx, hy, hz plus the axis
// shift) by its angles, with its per-dot perspective when disp bit 2 is set without bit 4.
// The sines are taken once per character and frame.
class DotRotation {
public:
    DotRotation(const AnimeInfo& c, int viewDistance, int64_t hx, int64_t hy, int64_t hz, int64_t pz);
    // Rotates one dot in place. Cost: constant.
    void apply(int64_t& x, int64_t& y, int64_t& z) const;
    // The dots (xs[k], y, 0) for k < n, each as apply() turns it: their x and y are
    // satAdd(centreX(), truncToInt64(outX[k])) and satAdd(centreY(), truncToInt64(outY[k])). The
    // same arithmetic as apply(), in loops the compiler runs several dots at a time. Cost: linear.
    void applyRow(const double* xs, int64_t y, int64_t n, double* outX, double* outY) const;
    int64_t centreX() const { return cx_; }
    int64_t centreY() const { return cy_; }
    // The same rotation for the vector rows. Cost: constant.
    DotRows::Turn rowTurn() const;

private:
    int64_t cx_, cy_, cz_, pz_;
    int viewDistance_;
    bool perspective_;
    double sinX_, cosX_, sinY_, cosY_, sinZ_, cosZ_;
};
