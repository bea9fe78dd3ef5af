// The four frame strips around a work's canvas: a rim with a checkerboard in the frame colour,
// or the animation's frame pattern tiled over them. The window owns the strip pictures and
// calls these to paint them.
#pragma once

#include <QImage>
#include <cstdint>
#include <vector>

struct FramePattern;

enum class FrameSide { Top, Bottom, Left, Right };

// Paints a strip in colour c (0x00BBGGRR): all c below 50 % zoom, else a 4-pixel rim on the
// outer sides and a checkerboard of 2 x 2 blocks of c and 0x080800 inside. Cost: the strip's size.
void paintFrameStrip(QImage& strip, FrameSide side, uint32_t color, int zoomPercent);

// Tiles the pattern over a strip from its top-left corner; the bottom strip mirrors the rows,
// the side strips take the pattern transposed (the right one mirrored along x). Empty cells
// leave the strip as it is. Cost: the strip's size.
void paintFramePatternStrip(QImage& strip, FrameSide side, const FramePattern& pattern,
                            const std::vector<uint32_t>& palette);
