// The palette's geometry without a window: its place on the exhibition area, the narrow and full
// forms of "≫" / "≪" and the log's growth.
#pragma once

#include <QRect>

namespace PaletteLayout {

constexpr int kNormalHeight = 82;  // the palette with its log closed
constexpr int kLogOpenStep = 28;   // added at once when the log opens
constexpr int kGrowStep = 4;       // the log grows by this many pixels at a time
constexpr int kGrowLimit = 500;    // ... while the palette is lower than this
constexpr int kFullWidth = 692;
constexpr int kNarrowWidth = 312;
constexpr int kMinFullLeft = 20;
constexpr int kCameraWidth = 140;
constexpr int kMidLeftWidth = 244;
constexpr int kRightGap = 10;      // from the exhibition area's right edge

// The palette's left on an exhibition area `areaWidth` wide. Cost: constant.
inline int leftOnArea(int areaWidth, int paletteWidth) { return areaWidth - paletteWidth - kRightGap; }

// The geometry after "≫" / "≪": narrow keeps the right edge; full keeps it too, but its left
// never goes left of 20. Cost: constant.
inline QRect sizeToggled(const QRect& geometry, bool toNarrow) {
    const int right = geometry.x() + geometry.width();
    const int width = toNarrow ? kNarrowWidth : kFullWidth;
    int left = right - width;
    if (!toNarrow && left < kMinFullLeft) left = kMinFullLeft;
    return {left, geometry.y(), width, geometry.height()};
}

// The height the log grows to from `height`, 4 pixels at a time, while the palette is lower than
// 500 and its lines need more room than `neededHeight` gives (the log's first visible line is
// then not the first). Cost: constant.
inline int grownHeight(int height, int neededHeight) {
    while (height < kGrowLimit && height < neededHeight) height += kGrowStep;
    return height;
}

} // namespace PaletteLayout
