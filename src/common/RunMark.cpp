#include "RunMark.h"

#include <algorithm>

int drawRunMark(int left, int top, QImage& image, int bottom) {
    if (image.depth() != 32) image = image.convertToFormat(QImage::Format_RGB32);
    const int width = image.width(), height = image.height();
    const QRgb mark = qRgb(160, 255, 255);
    for (int y = 0; y < std::min(bottom + 4, height); ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, kRunMarkBack);
    for (int x = left; x <= width - 6; ++x) {
        if (x >= 0)
            for (int y = std::max(top, 0); y < std::min(bottom, height); ++y)
                image.setPixel(x, y, mark);
        if (x % 3 != 0) {
            ++top;
            --bottom;
        }
    }
    return width - 5;
}
