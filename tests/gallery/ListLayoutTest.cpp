#include "gallery/ListLayout.h"

#include <gtest/gtest.h>

namespace {

using ListLayout::Item;

// Canvases of a typical catalog: 400 x 300 works and one wide one.
const QSize kSmall(400, 300);
const QSize kWide(800, 400);

TEST(ListLayoutTest, TheAvailableWidthAndTheStartWidthFollowTheExhibitionArea) {
    const struct { int area, available, zoomWidth; } cases[] = {
        {1264, 948, 207},  // the gallery's own size: 3/4
        {1800, 1350, 307}, // still 3/4 at 1800
        {1801, 1200, 270}, // 2/3 beyond
        {2560, 1706, 396},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ListLayout::availableWidth(c.area), c.available) << c.area;
        EXPECT_EQ(ListLayout::startZoomWidth(c.available), c.zoomWidth) << c.area;
    }
    EXPECT_EQ(ListLayout::firstRowTop(true, true), 120);
    EXPECT_EQ(ListLayout::firstRowTop(true, false), 100);
    EXPECT_EQ(ListLayout::firstRowTop(false, true), 28);
}

TEST(ListLayoutTest, WindowsFillRowsAtTheirZoomAndHiddenOnesTakeNoPlace) {
    struct Case {
        const char* name;
        std::vector<Item> items;
        int available, zoomWidth;
        std::vector<QRect> rects; // empty for a hidden window
        std::vector<int> zooms;
    };
    const Case cases[] = {
        {"three fit in a row", {{true, kSmall}, {true, kSmall}, {true, kSmall}}, 948, 200,
         {{20, 120, 200, 150}, {244, 120, 200, 150}, {468, 120, 200, 150}}, {50, 50, 50}},
        // 20 + 200 + 24 = 244, 244 + 200 + 24 = 468; the fourth needs 468 + 200 + 200 + 32 > 899.
        {"the fourth starts a row 30 below the tallest",
         {{true, kSmall}, {true, kSmall}, {true, kWide}, {true, kSmall}}, 899, 200,
         {{20, 120, 200, 150}, {244, 120, 200, 150}, {468, 120, 200, 100}, {20, 300, 200, 150}}, {50, 50, 25, 50}},
        {"a hidden window is passed over and the next one takes its place",
         {{true, kSmall}, {false, kSmall}, {true, kSmall}}, 948, 200,
         {{20, 120, 200, 150}, {}, {244, 120, 200, 150}}, {50, 100, 50}},
        // The hidden one between would not fit; the row decision looks at the next shown one.
        {"the row break looks past a hidden window",
         {{true, kSmall}, {false, kWide}, {true, kSmall}}, 451, 200,
         {{20, 120, 200, 150}, {}, {20, 300, 200, 150}}, {50, 100, 50}},
        {"a zoom width beyond the canvas keeps 100 %", {{true, kSmall}}, 948, 1000, {{20, 120, 400, 300}}, {100}},
        {"a tiny zoom width stops at the minimum", {{true, kSmall}}, 948, 5, {{20, 120, 80, 60}}, {20}},
        {"an empty canvas does not divide by zero", {{true, QSize(0, 0)}}, 948, 200, {{20, 120, 0, 0}}, {100}},
    };
    for (const Case& c : cases) {
        const auto zero = [](QSize full, int zoom) { return full.isEmpty() ? QSize(0, 0) : ListLayout::scaledSize(full, zoom); };
        const std::vector<ListLayout::Cell> cells = ListLayout::layout(c.items, c.available, ListLayout::kMinZoom,
                                                                       c.zoomWidth, 120, zero);
        ASSERT_EQ(cells.size(), c.rects.size()) << c.name;
        for (size_t i = 0; i < cells.size(); ++i) {
            EXPECT_EQ(cells[i].shown, c.rects[i] != QRect()) << c.name << " #" << i;
            if (cells[i].shown) {
                EXPECT_EQ(cells[i].rect, c.rects[i]) << c.name << " #" << i;
                EXPECT_EQ(cells[i].zoom, c.zooms[i]) << c.name << " #" << i;
            }
        }
    }
}

TEST(ListLayoutTest, NarrowAndWideStopAtTheirLimits) {
    const struct { int from, narrowed, widened; } cases[] = {
        {207, 197, 217}, {10, 0, 20}, {9, 9, 19}, {5, 5, 15}, {995, 985, 1005}, {1000, 990, 1000}, {1005, 995, 1005},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ListLayout::narrowed(c.from), c.narrowed) << c.from;
        EXPECT_EQ(ListLayout::widened(c.from), c.widened) << c.from;
    }
}

TEST(ListLayoutTest, GrowingAndShrinkingStepsReachTheirEnds) {
    // From a list zoom to full size in steps of 2; an odd zoom meets 99 and jumps to 100.
    const struct { int from, steps; } grow[] = {{40, 30}, {41, 30}, {98, 1}, {99, 1}};
    for (const auto& g : grow) {
        int zoom = g.from, steps = 0;
        while (zoom < 100) zoom = ListLayout::grownZoom(zoom), ++steps;
        EXPECT_EQ(zoom, 100) << g.from;
        EXPECT_EQ(steps, g.steps) << g.from;
    }
    // The tour grows by 20 and takes 100 from 81 on.
    const struct { int from, to; } tour[] = {{20, 40}, {60, 80}, {80, 100}, {81, 100}, {95, 100}};
    for (const auto& t : tour) EXPECT_EQ(ListLayout::tourGrownZoom(t.from), t.to) << t.from;
    EXPECT_EQ(ListLayout::shrunkZoom(100), 96);
    EXPECT_EQ(ListLayout::tourShrunkZoom(100), 90);
}

TEST(ListLayoutTest, AGrowingWindowStandsLowInTheAreaWithItsPlateInside) {
    const struct { QSize area, window; int plate; QPoint at; } cases[] = {
        // Middle at two thirds: 675 * 2 / 3 - 150 = 300; 300 + 300 + 26 + 5 <= 675.
        {{1264, 675}, {400, 300}, 26, {482, 300}},
        // Too tall for two thirds: the plate stays 5 above the bottom.
        {{1264, 675}, {800, 600}, 26, {282, 44}},
        // Taller than the area: the top stays at 0.
        {{1264, 675}, {800, 700}, 26, {282, 0}},
    };
    for (const auto& c : cases) EXPECT_EQ(ListLayout::growPlace(c.area, c.window, 50, c.plate), c.at) << c.window.height();
}

} // namespace
