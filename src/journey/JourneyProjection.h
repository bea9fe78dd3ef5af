// The camera of the star journey: the sine and cosine tables of whole degrees and the projection
// of a world point onto the picture for a ship pose.
#pragma once

#include <array>
#include <cstdint>

// Where the eye is and how it looks: position, angle indexes in whole degrees (0 to 359), the
// eye distance behind the screen plane and the projection centre in pixels.
struct JourneyCamera {
    double x = 0, y = 0, z = 0;
    int yaw = 0, pitch = 0, roll = 0;
    double eye = 160;
    double cx = 0, cy = 0;
};

// One projected point: its screen place and its squared distance from the eye (-1 behind it).
struct ProjectedPoint {
    int sx = 0;
    int sy = 0;
    int64_t distance = 0;
};

// sin and cos of i degrees for i in 0..359, built once. O(1) per look-up.
double tableSin(int degrees);
double tableCos(int degrees);
// An angle index brought into 0..359 (negative counts back from 360). O(1).
int wrapDegrees(int degrees);

// Projects (X, Y, Z): the offset from the eye is turned by yaw about the vertical, by roll and
// then by pitch; t is the depth toward the eye, which a point at or beyond the eye distance lies
// behind (it is then projected as if 0.1 in front and its distance is -1). The screen point is
// centre + 180 × (h, w) / (L − t), truncated, held within ±2^30. O(1).
ProjectedPoint projectPoint(const JourneyCamera& camera, double X, double Y, double Z);
