#include "work/WorkChart.h"

#include <gtest/gtest.h>

namespace {

constexpr int kPictureWidth = 800, kPictureHeight = 400;

WorkChart chartOf(int width, int height, int seconds) {
    WorkChart chart(metaChartInfo(QStringLiteral("%1,%2,0,text:x").arg(width).arg(height)));
    chart.seconds = seconds;
    return chart;
}

// Frame ticks until the form is hidden (at most `limit`).
int ticksUntilHidden(WorkChart& chart, int limit) {
    int ticks = 0;
    while (chart.formVisible && ticks < limit) {
        chart.advance(kPictureWidth, kPictureHeight, 100);
        ++ticks;
    }
    return ticks;
}

TEST(WorkChartTest, StepsGrowWithTheSize) {
    for (const auto& [width, step] : std::vector<std::pair<int, int>>{{400, 1}, {499, 1}, {600, 2}, {1000, 3}}) {
        WorkChart chart = chartOf(width, width, 5);
        chart.toggle(1, kPictureWidth, kPictureHeight, 100);
        EXPECT_EQ(chart.stepX, step) << width;
        EXPECT_EQ(chart.stepY, step) << width;
    }
}

TEST(WorkChartTest, SlidesInStandsItsSecondsAndSlidesOut) {
    WorkChart chart = chartOf(400, 300, 5);
    chart.toggle(1, kPictureWidth, kPictureHeight, 100);
    EXPECT_EQ(chart.left, 540); // beyond the bottom-right corner
    EXPECT_EQ(chart.top, 240);
    for (int i = 0; i < 200; ++i) chart.advance(kPictureWidth, kPictureHeight, 100);
    EXPECT_EQ(chart.left, 395); // arrived at the corner
    EXPECT_EQ(chart.top, 95);
    for (int i = 200; i < 490; ++i) chart.advance(kPictureWidth, kPictureHeight, 100);
    EXPECT_EQ(chart.showState, WorkChart::kShowing); // still standing after 4.9 seconds
    for (int i = 490; i < 510; ++i) chart.advance(kPictureWidth, kPictureHeight, 100);
    EXPECT_EQ(chart.showState, WorkChart::kClosing);
    const int out = ticksUntilHidden(chart, 2000);
    EXPECT_EQ(chart.showState, WorkChart::kHidden);
    EXPECT_GE(chart.left, kPictureWidth);
    EXPECT_GT(out, 390);
    EXPECT_LT(out, 420);
}

TEST(WorkChartTest, CloseRequestsAndZeroSeconds) {
    WorkChart chart = chartOf(400, 300, 5);
    chart.toggle(0, kPictureWidth, kPictureHeight, 100); // never shown: simply hidden
    EXPECT_EQ(chart.showState, WorkChart::kHidden);
    chart.toggle(-1, kPictureWidth, kPictureHeight, 100); // toggles a hidden form in
    EXPECT_TRUE(chart.formVisible);
    chart.toggle(-1, kPictureWidth, kPictureHeight, 100); // and out again
    EXPECT_EQ(chart.showState, WorkChart::kCloseRequested);
    EXPECT_LT(ticksUntilHidden(chart, 2000), 2000);

    chart.toggle(1, kPictureWidth, kPictureHeight, 100);
    chart.showState = 0; // "metaChart:0"
    EXPECT_EQ(ticksUntilHidden(chart, 10), 1);
}

} // namespace
