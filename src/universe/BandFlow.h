// The places of the controls of a band of the tree window (its top band and menu band) for a
// given width, without widgets. A band that is wide enough keeps one row: the controls get their
// preferred widths and the ones with a stretch share what is left over; when the row is short
// the controls shrink toward their minimum widths, each by its share of the room it has to give.
// A band too narrow even for the minimum widths wraps into further rows, so that no control is
// covered or cut on a narrow screen or in a small canvas.
#pragma once

#include <vector>

struct BandItem {
    int minimum = 0;   // the width below which the control is unusable
    int preferred = 0; // at least minimum
    int maximum = 1 << 24;
    int stretch = 0;   // share of the room left over in its row; 0 keeps the preferred width
};

struct BandPlace {
    int row = 0;
    int x = 0;
    int width = 0;
};

// One place per item, in the items' order: rows from 0, x from 0 within `width`. All items
// share one row while their minimum widths fit; otherwise each row takes the next items while
// their preferred widths fit. An item wider than the band alone gets the band's width, never
// less than its minimum. `spacing` lies between neighbours of a row. O(items).
std::vector<BandPlace> flowBand(const std::vector<BandItem>& items, int width, int spacing);

// The number of rows flowBand gives (1 for no items). O(items).
int bandRowCount(const std::vector<BandItem>& items, int width, int spacing);
