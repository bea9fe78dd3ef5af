// The tree window's bands on narrow and wide widths: one row while the controls fit, the wide
// controls shrinking first, and wrapped rows rather than covered or cut controls.
#include "universe/BandFlow.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int kSpacing = 4;

// Rows and widths as text, "row:width" per item, so that a case reads as the band looks.
std::string placesText(const std::vector<BandPlace>& places) {
    std::string text;
    for (const BandPlace& p : places) text += (text.empty() ? "" : " ") + std::to_string(p.row) + ':' + std::to_string(p.width);
    return text;
}

// What every band must keep: neighbours of a row in order, `spacing` apart, and no control below
// its minimum; inside the band unless a control alone is wider than the band.
void expectSound(const std::vector<BandItem>& items, const std::vector<BandPlace>& places, int width) {
    ASSERT_EQ(places.size(), items.size());
    for (size_t i = 0; i < places.size(); ++i) {
        EXPECT_GE(places[i].width, items[i].minimum) << i;
        const bool alone = (i == 0 || places[i - 1].row != places[i].row) &&
                           (i + 1 == places.size() || places[i + 1].row != places[i].row);
        if (!alone) EXPECT_LE(places[i].x + places[i].width, width) << i;
        if (i > 0 && places[i - 1].row == places[i].row)
            EXPECT_EQ(places[i].x, places[i - 1].x + places[i - 1].width + kSpacing) << i;
        else
            EXPECT_EQ(places[i].x, 0) << i;
        if (i > 0) EXPECT_GE(places[i].row, places[i - 1].row);
    }
}

TEST(BandFlowTest, OneRowWhileTheControlsFitElseWrappedRows) {
    // A button, a path field that stretches, a list that stretches more up to 200, a button.
    const std::vector<BandItem> band = {{20, 50, 1 << 24, 0}, {60, 100, 1 << 24, 2}, {40, 120, 200, 3}, {20, 50, 1 << 24, 0}};
    struct Case {
        int width;
        const char* places;
    };
    const std::vector<Case> cases = {
        {332, "0:50 0:100 0:120 0:50"},  // exactly the preferred widths
        {432, "0:50 0:140 0:180 0:50"},  // the room shared 2 : 3
        {632, "0:50 0:320 0:200 0:50"},  // the list stops at its maximum, the field takes the rest
        {152, "0:20 0:60 0:40 0:20"},    // every control at its minimum, still one row
        {151, "0:50 1:151 2:151 3:50"},  // one pixel less: wrapped, each row stretched again
        {60, "0:50 1:60 2:60 3:50"},     // a control wider than the band gets the band
        {30, "0:30 1:60 2:40 3:30"},     // ... but never less than its minimum
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        const std::vector<BandPlace> places = flowBand(band, c.width, kSpacing);
        EXPECT_EQ(placesText(places), c.places);
        expectSound(band, places, c.width);
    }
}

// Short of the preferred widths, the controls with most room to give give most, and the row
// still ends at the band's edge whatever the rounding.
TEST(BandFlowTest, AShortRowShrinksTheWideControlsFirst) {
    const std::vector<BandItem> band = {{28, 30, 1 << 24, 0}, {100, 400, 400, 3}, {60, 150, 1 << 24, 2}, {40, 50, 1 << 24, 0}};
    for (int width : {300, 401, 500, 555, 600}) {
        SCOPED_TRACE(width);
        const std::vector<BandPlace> places = flowBand(band, width, kSpacing);
        expectSound(band, places, width);
        EXPECT_EQ(places.back().row, 0);
        EXPECT_EQ(places.back().x + places.back().width, width);
        EXPECT_GT(band[1].preferred - places[1].width, band[2].preferred - places[2].width);
    }
}

TEST(BandFlowTest, RowCounts) {
    const std::vector<BandItem> three = {{30, 40, 1 << 24, 0}, {30, 40, 1 << 24, 0}, {30, 40, 1 << 24, 0}};
    EXPECT_EQ(bandRowCount({}, 100, kSpacing), 1);
    EXPECT_TRUE(flowBand({}, 100, kSpacing).empty());
    EXPECT_EQ(bandRowCount(three, 98, kSpacing), 1);
    EXPECT_EQ(bandRowCount(three, 97, kSpacing), 2);  // (40 + 4 + 40) and 40
    EXPECT_EQ(bandRowCount(three, 83, kSpacing), 3);
    EXPECT_EQ(bandRowCount(three, 0, kSpacing), 3);   // no width at all: one control a row
}

} // namespace
