#include "NebuFloatPanel.h"

FloatPanelLook floatPanelLook(bool floating, bool journey) {
    FloatPanelLook look = floating ? FloatPanelLook{QStringLiteral("戻"), QStringLiteral("　キャンバスに戻る　"), 24, 11, 0xC000C0, 0xF0F0F0}
                                   : FloatPanelLook{QStringLiteral("宙"), QStringLiteral("　キャンバスから宙に飛び出す　"), 32, 14, 0xFF0000, 0x00FF60};
    if (journey) {
        look.side = 18;
        look.fontPixels = 10;
    }
    return look;
}
