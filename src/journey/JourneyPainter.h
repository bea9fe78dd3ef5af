// The picture of the star journey: the frame's objects projected for the ship, sorted farthest
// first and drawn into a QImage, and the map of the whole universe over it.
#pragma once

#include "JourneyScene.h"

#include <QImage>
#include <vector>

class NebuLayout;

// What the drawing needs besides the objects.
struct FrameLook {
    int64_t tick = 0;
    bool returning = false; // the Earth's second picture, the destination without its sprays
};

// Clears the picture to RGB(0, 0, 48), projects every object's corners, drops those behind the
// eye or outside the picture, sorts the rest by depth key (farthest first, ties in build order)
// and draws them: plates as filled quadrilaterals with their text in the largest size that fits,
// "+" and "★" marks as text, the Earth, the gate and the destination as pictures. Returns the
// number of objects drawn. Cost: O(n log n) in the objects plus their pixels; fonts are made
// once per size.
int drawJourneyFrame(QImage& picture, std::vector<JourneyObject>& objects, const JourneyCamera& camera,
                     const FrameLook& look);

// The map: the whole universe scaled into a square of `size` pixels centred at (210, 210):
// galaxies as small marks (rows sampled, at most about 1500), the gates red, the destination
// orange and the ship cyan. Cost: O(1500 + gates).
void drawJourneyMap(QImage& picture, int size, const NebuLayout& layout, const JourneyLook& look,
                    const std::vector<const fileInfo*>& gates, const fileInfo* destination, double shipX, double shipY);
