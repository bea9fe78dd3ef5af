#include "AnimeFrame.h"

#include "AnimeCanvas.h"
#include "AnimeState.h"

void paintFrameStrip(QImage& strip, FrameSide side, uint32_t color, int zoomPercent) {
    if (strip.isNull()) return;
    if (strip.format() != QImage::Format_RGB32) strip = strip.convertToFormat(QImage::Format_RGB32);
    const int W = strip.width(), H = strip.height();
    const QRgb rim = rgbOfColor(color), dark = rgbOfColor(0x080800);
    for (int y = 0; y < H; ++y) {
        QRgb* row = reinterpret_cast<QRgb*>(strip.scanLine(y));
        for (int x = 0; x < W; ++x) {
            const bool onRim = zoomPercent < 50 || (side == FrameSide::Top && y < 4) ||
                               (side == FrameSide::Bottom && y > H - 4) || (side != FrameSide::Right && x < 4) ||
                               (side != FrameSide::Left && x > W - 4);
            row[x] = (onRim || (x / 2 + y / 2) % 2 == 0) ? rim : dark;
        }
    }
}

void paintFramePatternStrip(QImage& strip, FrameSide side, const FramePattern& pattern,
                            const std::vector<uint32_t>& palette) {
    const int w = pattern.width, h = pattern.height;
    if (strip.isNull() || w < 1 || h < 1 || pattern.cells.size() < size_t(w) * size_t(h)) return;
    if (strip.format() != QImage::Format_RGB32) strip = strip.convertToFormat(QImage::Format_RGB32);
    const bool transposed = side == FrameSide::Left || side == FrameSide::Right;
    const int stepX = transposed ? h : w, stepY = transposed ? w : h;
    for (int ty = 0; ty < strip.height(); ty += stepY)
        for (int tx = 0; tx < strip.width(); tx += stepX)
            for (int i = 0; i < h; ++i)
                for (int j = 0; j < w; ++j) {
                    const int cell = pattern.cells[size_t(i * w + j)];
                    if (cell < 0 || size_t(cell) >= palette.size()) continue;
                    int x = tx + j, y = ty + i;
                    switch (side) {
                    case FrameSide::Top: break;
                    case FrameSide::Bottom: y = ty + h - 1 - i; break;
                    case FrameSide::Left: x = tx + i, y = ty + j; break;
                    case FrameSide::Right: x = tx + h - 1 - i, y = ty + j; break;
                    }
                    if (x < strip.width() && y < strip.height())
                        reinterpret_cast<QRgb*>(strip.scanLine(y))[x] = rgbOfColor(palette[size_t(cell)]);
                }
}
