// Rows of single dots, several at a time on processors with 256-bit vectors: the pixels of a
// row of source dots, and the rows that turn (a character's rotation, its per-dot perspective,
// the window rotation), four dots at a time. Every turned dot gets the same double arithmetic as
// DotRotation and AnimeCanvas::rotateWindowPoint, operation for operation and without fused
// multiply-adds, so the picture is the same dot for dot; a group of four whose quotients leave
// the range where that is cheap to guarantee is handed back to the scalar walk.
#pragma once

#include <QRgb>
#include <cstdint>

class DotRows {
public:
    // The character's rotation about its centre, as DotRotation holds it.
    struct Turn {
        double sinX, cosX, sinY, cosY, sinZ, cosZ;
        int64_t centreX, centreY, centreZ, depth; // depth: the character's z, for the perspective
        int viewDistance;
        bool perspective;
    };
    // The window rotation, as AnimeCanvas holds it.
    struct Window {
        double sinX, cosX, sinY, cosY, sinZ, cosZ;
        int64_t centreX, centreY, centreZ, yBase;
    };
    // The picture and where the character's rows are put on it.
    struct Target {
        QRgb* bits;
        int64_t strideWords; // pixels from one row to the next
        int width, height;
        int64_t shiftX, shiftY; // added after the character's rotation (its screen corner)
        int64_t dotZ;           // the depth every dot enters the window rotation with
    };

    // Whether this processor runs the vector rows. Cost: constant.
    static bool available();
    // The rows of one character: `turn` or `window` may be absent (null), not both. False when a
    // value is so large that the vector rows could differ from the scalar walk; the character is
    // then drawn by the scalar walk alone. Cost: constant.
    bool setUp(const Turn* turn, const Window* window, const Target& target);
    // Draws the dots k = 0, 1, ... of row `ry`, column rxBegin + k, colour rowColours[k] (0 for a
    // transparent dot), in order, while k < n, and returns the first k it did not draw: the rest
    // of the row (at most three dots, or a group with out-of-range values and all after it) is
    // left to the scalar walk. Cost: linear in the dots drawn.
    int64_t drawRow(const QRgb* rowColours, int64_t rxBegin, int64_t n, int64_t ry) const;

    // The pixels of a row of source dots: out[k] = rgbOfColor(source[columns[k]]), or 0 where
    // columns[k] < 0 or the dot is transparent (-1). Cost: linear, eight dots at a time here.
    static void takeColours(const int32_t* source, const int32_t* columns, int64_t n, QRgb* out);

private:
    bool turns_ = false, windowTurns_ = false;
    Turn turn_{};
    Window window_{};
    Target target_{};
};
