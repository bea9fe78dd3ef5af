// The control actions of the star journey and the keys that give them.
#pragma once

#include <optional>

enum class JourneyKey {
    Left,        // vx − 1
    Right,       // vx + 1
    Forward,     // vy − 1
    Backward,    // vy + 1
    Up,          // vz + 1
    Down,        // vz − 1
    PitchRateDown,
    PitchRateUp,
    YawRateUp,
    YawRateDown,
    PitchStep,   // pitch index + 1
    EyeNearer,   // eye-distance drift − 1 (free)
    EyeFarther,  // eye-distance drift + 1 (free)
    Warp,        // position += 1000 × velocity (costs 100)
    LongWarp,    // position += 10000 × velocity (costs 1000)
    SwitchPilot, // free
    Map,         // open or close the map (opening costs 10)
    PanelRight,  // the control panel 16 pixels right
    PanelLeft,   // the control panel 16 pixels left
};

// The action of a released key: `key` a Qt::Key code, `keypad` when it came from the numeric
// pad, `shift` when Shift was held. The pad follows the labels of the up-down controls; the main
// row's digits differ from it for 1, 3, 4, 6, 7 and 9. Nothing for a key without an action. O(1).
std::optional<JourneyKey> journeyKeyFor(int key, bool keypad, bool shift);

// What an action costs in energy. O(1).
int journeyKeyCost(JourneyKey key);
