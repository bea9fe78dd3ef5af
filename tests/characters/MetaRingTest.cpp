// Ring figures: the declaration, corner points and outlines, spokes, the colour run of mode 2,
// the clamps of values given through dim, and the radius that grows until it leaves its range.
#include "FigureFixture.h"
#include "characters/metaRingInfo.h"

#include <gtest/gtest.h>

namespace {

metaRingInfo& ringOf(AnimeInfo& c) { return static_cast<metaRingInfo&>(*c.kind); }

TEST(MetaRing, DeclarationSetsTheShapeValuesAndReportsFaultyParameters) {
    {
        FigureFixture f;
        ASSERT_EQ(f.run({kindLine(Kind::metaRing, "ring,10,20,0,15,3,-1,-2,3")}), 0);
        ASSERT_EQ(f.state.characters.size(), 3u);
        for (int i = 0; i < 3; ++i) {
            const AnimeInfo& c = *f.state.characters[size_t(i)];
            EXPECT_EQ(c.sameNameIndex(), i);
            EXPECT_EQ(c.width, 15);
            EXPECT_EQ(c.height, 3);
            EXPECT_EQ(c.userValues[0], -1); // automatic corners
            EXPECT_EQ(c.userValues[1], 15);
            EXPECT_EQ(c.userValues[2], 3);
            EXPECT_EQ(c.userValues[5], 1.0);
            EXPECT_EQ(c.userValues[8], 1.0);
            EXPECT_EQ(c.textColor, f.state.bgColor); // colour -1
            EXPECT_EQ(c.backColor, -2);
            EXPECT_EQ(c.kind->kindCode(), Kind::metaRing);
        }
    }
    struct Case {
        const char* params;
        const char* faulty;
    };
    const Case cases[] = {
        {"r,16385,0,4,10,1,1,0", "lft"},   {"r,0,x,4,10,1,1,0", "top"},    {"r,0,0,16385,10,1,1,0", "angle"},
        {"r,0,0,4,0,1,1,0", "radius"},     {"r,0,0,4,10,401,1,0", "wid"},  {"r,0,0,4,10,0,1,0", "wid"},
        {"r,0,0,4,10,1,16,0", "color"},    {"r,0,0,4,10,1,-2,0", "color"}, {"r,0,0,4,10,1,1,-3", "bgcolor"},
        {"r,0,0,4,10,1,1", "bgcolor"},     {"r,0,0,4,10,1,1,0,10001", "count"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.params);
        FigureFixture f;
        f.state.highestColor = 15;
        EXPECT_EQ(f.run({kindLine(Kind::metaRing, c.params)}), -1);
        EXPECT_TRUE(f.state.characters.empty());
        ASSERT_EQ(f.host.log.size(), 1);
        EXPECT_TRUE(f.host.log[0].endsWith(QStringLiteral("(%1)").arg(c.faulty))) << f.host.log[0].toStdString();
    }
}

TEST(MetaRing, OutlinesRunThroughTheirCornerPoints) {
    FigureFixture f;
    ASSERT_EQ(f.run({kindLine(Kind::metaRing, "sq,0,0,4,20,1,1,0"),
                     kindLine(Kind::metaRing, "circle,0,0,0,10,1,1,0")}), 0);
    AnimeInfo& square = *f.state.characters[0];
    const AnimeCanvas canvas(f.picture, f.picture.height(), {});
    const AnimeKindDraw at{40, 30, 20, 1, 1, 0, 1, 1, 1, 500};
    const std::vector<QPointF> corners = ringOf(square).corners(canvas, at);
    // A square turned so that its corners lie on the axes, y growing downward.
    const std::vector<QPointF> expected = {{60, 30}, {40, 50}, {20, 30}, {40, 10}};
    EXPECT_EQ(corners, expected);
    EXPECT_EQ(ringOf(*f.state.characters[1]).cornerCount(1), 30);
    EXPECT_EQ(ringOf(*f.state.characters[1]).cornerCount(2), 60); // the dot zoom scales the radius

    f.drawAt(square, 40, 30);
    const uint32_t red = 0x0000FF;
    for (const QPointF& p : expected) EXPECT_EQ(f.pixel(int(p.x()), int(p.y())), red) << p.x() << "," << p.y();
    EXPECT_EQ(f.pixel(50, 40), red);  // middle of the first edge
    EXPECT_EQ(f.pixel(50, 20), red);  // middle of the closing edge
    EXPECT_EQ(f.pixel(40, 30), 0u);   // the centre stays empty
    EXPECT_EQ(f.pixel(50, 30), 0u);   // no spoke

    // Mode 4: spokes to corners 1 to n - 1 from the centre, no rim.
    square.mode = 4;
    f.drawAt(square, 40, 30);
    EXPECT_EQ(f.pixel(40, 30), red);
    EXPECT_EQ(f.pixel(40, 40), red); // spoke to corner 1
    EXPECT_EQ(f.pixel(30, 30), red); // spoke to corner 2
    EXPECT_EQ(f.pixel(50, 30), 0u);  // corner 0 gets none
    EXPECT_EQ(f.pixel(50, 40), 0u);  // no rim

    // Mode 1: the polygon filled.
    square.mode = 1;
    f.drawAt(square, 40, 30);
    EXPECT_EQ(f.pixel(40, 30), red);
    EXPECT_EQ(f.pixel(45, 35), red);
    EXPECT_EQ(f.pixel(55, 45), 0u);
}

TEST(MetaRing, ColourRunOfModeTwoStartsWithTheBackgroundForColourMinusOne) {
    FigureFixture f;
    f.state.highestColor = 2;
    ASSERT_EQ(f.run({kindLine(Kind::metaRing, "sq,0,0,4,20,1,-1,0")}), 0);
    AnimeInfo& ring = f.last();
    ring.mode = 2;
    f.background = 0xFFFFFF;
    f.drawAt(ring, 40, 30);
    EXPECT_EQ(f.pixel(50, 40), f.state.bgColor);    // line 1: colour -1, the background colour
    EXPECT_EQ(f.pixel(30, 40), f.state.palette[0]); // line 2: colour 0
    EXPECT_EQ(f.pixel(30, 20), f.state.palette[1]); // line 3: colour 1
    EXPECT_EQ(f.pixel(50, 20), f.state.palette[1]); // closing line: the last pen

    // The run goes back to 0 after the highest colour number.
    ring.colorNumber = 2;
    f.drawAt(ring, 40, 30);
    EXPECT_EQ(f.pixel(50, 40), f.state.palette[2]);
    EXPECT_EQ(f.pixel(30, 40), f.state.palette[0]);

    // A shifting colour number -1 also stands for the background colour.
    ring.mode = 0;
    ring.colorNumber = -1;
    ring.colorSft = 0.5;
    f.drawAt(ring, 40, 30);
    EXPECT_EQ(f.pixel(50, 40), f.state.bgColor);
}

TEST(MetaRing, CornersAndWidthGivenThroughDimAreClamped) {
    FigureFixture f(600, 600);
    ASSERT_EQ(f.run({kindLine(Kind::metaRing, "r,0,0,4,10,1,1,0")}), 0);
    AnimeInfo& ring = f.last();
    ring.setUserValue(0, 1e12);
    EXPECT_EQ(ringOf(ring).cornerCount(1), metaRingInfo::kMaxCorners);
    ring.setUserValue(0, 0);
    ring.setUserValue(1, 1e12);
    EXPECT_EQ(ringOf(ring).cornerCount(255), metaRingInfo::kMaxCorners);
    ring.setUserValue(1, std::nan(""));
    EXPECT_EQ(ringOf(ring).cornerCount(1), 4);

    // A width beyond the declaration's range draws 400 pixels wide, one below it one pixel.
    ring.setUserValue(0, 4);
    ring.setUserValue(1, 10);
    ring.setUserValue(2, 1e9);
    f.drawAt(ring, 300, 300);
    EXPECT_EQ(f.pixel(300, 300 + 205), 0x0000FFu);
    EXPECT_EQ(f.pixel(300, 300 + 215), 0u);
    EXPECT_EQ(f.pixel(300 + 215, 300), 0u);
    ring.setUserValue(2, -7);
    f.drawAt(ring, 300, 300);
    EXPECT_EQ(f.pixel(310, 300), 0x0000FFu);
    EXPECT_EQ(f.pixel(312, 300), 0u);

    // Corners far outside the picture are clipped before they reach the painter.
    ring.setUserValue(1, 1e15);
    f.drawAt(ring, 300, 300);
    EXPECT_EQ(f.pixel(300, 300), 0u);
}

TEST(MetaRing, RadiusGrowsFasterAndFasterThenStays) {
    FigureFixture f(8, 8);
    ASSERT_EQ(f.run({kindLine(Kind::metaRing, "r,0,0,4,10,1,1,0")}), 0);
    AnimeInfo& ring = f.last();
    ring.setUserValue(4, 0.1);
    f.drawAt(ring, 4, 4);
    EXPECT_DOUBLE_EQ(ring.userValues[3], 0.1);
    EXPECT_DOUBLE_EQ(ring.userValues[1], 10.1);
    f.drawAt(ring, 4, 4);
    EXPECT_DOUBLE_EQ(ring.userValues[3], 0.2);
    EXPECT_NEAR(ring.userValues[1], 10.3, 1e-9);
    int frames = 2;
    while (ring.userValues[1] < metaRingInfo::kRadiusLimit && frames < 1000) {
        f.drawAt(ring, 4, 4);
        ++frames;
    }
    EXPECT_LT(frames, 1000);
    const double passed = ring.userValues[1];
    EXPECT_GE(passed, metaRingInfo::kRadiusLimit);
    f.drawAt(ring, 4, 4);
    EXPECT_EQ(ring.userValues[1], passed);
}

} // namespace
