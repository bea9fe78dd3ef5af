// List display's geometry without windows: the available width and the start width of a work in
// the list, the rows the works are laid out in, "≪" / "≫", and the steps by which a selected
// window grows to full size, shrinks back, and grows and shrinks during a tour. Every function is
// constant time except layout(), which is linear in the windows.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>
#include <vector>

namespace ListLayout {

constexpr int kLeft = 20;           // x of every row's first window
constexpr int kColumnGap = 24;      // between two windows of a row
constexpr int kRowGap = 20;         // between two rows, beyond the row height
constexpr int kRowExtra = 10;       // added to a row's tallest window
constexpr int kRightReserve = 32;   // kept free right of a row
constexpr int kMinZoom = 20;        // smallest zoom of a window in the list
constexpr int kZoomWidthStep = 10;  // "≪" / "≫"
constexpr int kShrinkTarget = 10;   // `shrinkTarget`
constexpr int kBottomGap = 5;       // a grown window's plate stays this far above the area's bottom
constexpr int kTourEnded = 9999;    // `tourCount` of a tour window whose program ended

// Of an exhibition area `areaWidth` wide: 3/4 up to 1800 pixels, 2/3 beyond.
int availableWidth(int areaWidth);
// `listZoomWidth` when list display opens: (available − 120) / 4.
int startZoomWidth(int available);
// The first row's top: 120 under the full palette, 100 under the narrow one, 28 without palette.
int firstRowTop(bool paletteVisible, bool cameraPanel);
// "≪": 10 narrower while above 9; "≫": 10 wider while below 1000.
int narrowed(int zoomWidth);
int widened(int zoomWidth);

// One work window to lay out: hidden ones (`showFlag` 0) take no place.
struct Item {
    bool shown = true;
    QSize fullSize; // at 100 %
};
// Where it goes: its zoom and its rectangle at that zoom (nothing for a hidden one).
struct Cell {
    bool shown = false;
    int zoom = 100;
    QRect rect;
};
// The window size at a zoom (the work window's own rule, see kesto::applyZoom).
using SizeAt = std::function<QSize(QSize fullSize, int zoom)>;
// The standard rule: kesto::applyZoom without frame.
QSize scaledSize(QSize fullSize, int zoom);

// Lays the shown windows out in rows from (20, top): each gets zoom = zoomWidth × 100 / its full
// width within minZoom..100; a window is followed in its row by the next shown one when both fit
// with 32 pixels to spare in `available`, else the next row starts 20 pixels below the tallest
// window of this one + 10.
std::vector<Cell> layout(const std::vector<Item>& items, int available, int minZoom, int zoomWidth, int top,
                         const SizeAt& sizeAt = scaledSize);

// The place of a window growing or shown by the tour: centred across the area plus `offset`, its
// middle at two thirds of the area's height, but with its plate (`plateHeight`) 5 pixels above the
// area's bottom and its top not above the area's.
QPoint growPlace(QSize area, QSize window, int offset, int plateHeight);
// One growing step: +2 below 99, 99 becomes 100; 100 or more means grown.
int grownZoom(int zoom);
// One shrinking step of 4.
int shrunkZoom(int zoom);
// One tour growth step (from the eleventh step on): +20, from 81 on 100.
int tourGrownZoom(int zoom);
// One tour shrinking step of 10.
int tourShrunkZoom(int zoom);

} // namespace ListLayout
