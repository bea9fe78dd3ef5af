// The look of the tree window's float panel ("宙" / "戻") in each of its states: docked in a
// work it offers to float out, floating it offers to go back, and in a window opened for the
// star journey it is kept small beside the journey's own controls.
#pragma once

#include <QString>

#include <cstdint>

struct FloatPanelLook {
    QString caption;
    QString tip;
    int side = 0;       // pixels, square
    int fontPixels = 0;
    uint32_t text = 0;  // 0xRRGGBB
    uint32_t background = 0;
};

// The look for a docked or floating window, small with `journey`. O(1).
FloatPanelLook floatPanelLook(bool floating, bool journey);
