// The triangle on every run button.
#pragma once

#include <QImage>

// Fills rows 0 to bottom + 3 with RGB(0, 32, 48), then draws the triangle in RGB(160, 255, 255):
// columns left to width - 6, each from row top to bottom - 1, narrowing by one pixel at both
// ends after every column whose x is not a multiple of 3. Pixels outside the image are skipped.
// An image of another depth is first turned into 32 bits. Returns the image width minus 5.
// Cost: linear in the pixels drawn.
int drawRunMark(int left, int top, QImage& image, int bottom);
