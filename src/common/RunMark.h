// The triangle on every run button.
#pragma once

#include <QImage>

// The dark teal behind the run mark; the panels that carry the mark share it so that the mark sits
// on them without a seam.
inline constexpr QRgb kRunMarkBack = qRgb(0, 32, 48);

// The run button's hint, on every control that starts a work's commands.
inline constexpr char16_t kRunMarkHint[] = u"　マクロコマンドの実行　";

// Fills rows 0 to bottom + 3 with kRunMarkBack, then draws the triangle in RGB(160, 255, 255):
// columns left to width - 6, each from row top to bottom - 1, narrowing by one pixel at both
// ends after every column whose x is not a multiple of 3. Pixels outside the image are skipped.
// An image of another depth is first turned into 32 bits. Returns the image width minus 5.
// Cost: linear in the pixels drawn.
int drawRunMark(int left, int top, QImage& image, int bottom);
