// Colour values as the program writes them, 0x00BBGGRR (red in the low byte), and screen colours.
#pragma once

#include <QColor>
#include <cstdint>

// The screen colour of a 0x00BBGGRR colour value.
constexpr QRgb bgrToRgb(uint32_t bgr) {
    return qRgb(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF), static_cast<int>((bgr >> 16) & 0xFF));
}

// The 0x00BBGGRR value of a screen colour.
constexpr uint32_t rgbToBgr(QRgb rgb) {
    return static_cast<uint32_t>(qRed(rgb)) | static_cast<uint32_t>(qGreen(rgb)) << 8 |
           static_cast<uint32_t>(qBlue(rgb)) << 16;
}
