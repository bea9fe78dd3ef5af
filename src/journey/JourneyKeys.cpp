#include "JourneyKeys.h"

#include <Qt>

std::optional<JourneyKey> journeyKeyFor(int key, bool keypad, bool shift) {
    using K = JourneyKey;
    switch (key) {
    case Qt::Key_Left: return K::Left;
    case Qt::Key_Right: return K::Right;
    case Qt::Key_Up: return K::Forward;
    case Qt::Key_Down: return K::Backward;
    case Qt::Key_4: return keypad ? K::Left : K::Right;
    case Qt::Key_6: return keypad ? K::Right : K::Left;
    case Qt::Key_8: return K::Forward;
    case Qt::Key_2: return K::Backward;
    case Qt::Key_5: return K::Up;
    case Qt::Key_0: return K::Down;
    case Qt::Key_Plus:
    case Qt::Key_Equal: return K::Up;
    case Qt::Key_Minus: return K::Down;
    case Qt::Key_1: return keypad ? K::PitchRateDown : K::YawRateUp;
    case Qt::Key_3: return keypad ? K::PitchRateUp : K::YawRateDown;
    case Qt::Key_7: return keypad ? K::YawRateUp : K::PitchRateDown;
    case Qt::Key_9: return keypad ? K::YawRateDown : K::PitchRateUp;
    case Qt::Key_X: return K::PitchStep;
    case Qt::Key_Asterisk: return keypad ? std::optional(K::EyeNearer) : std::nullopt;
    case Qt::Key_Slash: return keypad ? K::EyeFarther : K::Map;
    case Qt::Key_W: return shift ? K::LongWarp : K::Warp;
    case Qt::Key_V: return K::LongWarp;
    case Qt::Key_A: return K::SwitchPilot;
    case Qt::Key_M: return K::Map;
    case Qt::Key_Period: return keypad ? std::nullopt : std::optional(K::PanelRight);
    case Qt::Key_Comma: return keypad ? std::nullopt : std::optional(K::PanelLeft);
    default: return std::nullopt;
    }
}

int journeyKeyCost(JourneyKey key) {
    switch (key) {
    case JourneyKey::EyeNearer:
    case JourneyKey::EyeFarther:
    case JourneyKey::SwitchPilot: return 0;
    case JourneyKey::Warp: return 100;
    case JourneyKey::LongWarp: return 1000;
    default: return 1;
    }
}
