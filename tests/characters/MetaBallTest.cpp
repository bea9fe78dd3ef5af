// Metaballs: the density shapes, the bright cells of a blob alone and next to another, grey
// shading with its uncapped sum, invisible partners, and drawing clipped to the picture.
#include "FigureFixture.h"
#include "characters/metaBallInfo.h"

#include <gtest/gtest.h>

namespace {

metaBallInfo& ballOf(AnimeInfo& c) { return static_cast<metaBallInfo&>(*c.kind); }

TEST(MetaBall, DeclarationShapesTheDensity) {
    struct Case {
        const char* params;
        int centre, ring1; // density at the centre and one cell from it (side 9, h = 4)
    };
    const Case cases[] = {
        {"b,9,0,0,0,0", 100, 75},        // missing type: a cone
        {"b,9,0,0,0,0,1", 100, 75},      // (400 - 100) div 4
        {"b,9,0,0,0,0,0,40", 40, 40},    // a flat disc
        {"b,9,0,0,0,0,0", 100, 100},     // flat, density missing: 100
        {"b,9,0,0,0,0,0,101", 100, 100}, // flat, density outside: 100
        {"b,9,0,0,0,0,2", 100, 56},      // 300^2 div 4 div 4 div 100
        {"b,9,0,0,0,0,3,40", 100, 75},   // type outside: a cone of 100
        {"b,9,0,0,0,0,x", 100, 75},      // type not a number: a cone, the status cleared
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.params);
        FigureFixture f;
        ASSERT_EQ(f.run({kindLine(Kind::MetaBall, c.params)}), 0);
        metaBallInfo& ball = ballOf(f.last());
        EXPECT_EQ(ball.density(4, 4), c.centre);
        EXPECT_EQ(ball.density(5, 4), c.ring1);
        EXPECT_EQ(ball.density(0, 0), 0);
        EXPECT_EQ(ball.density(8, 4), 0); // 4 from the centre: D = h x 100 is outside
        EXPECT_TRUE(f.host.log.isEmpty());
    }
    const std::pair<const char*, const char*> faults[] = {
        {"b,0,0,0,0,0", "wid"}, {"b,1001,0,0,0,0", "wid"}, {"b,9,0,0,0", "mvy"}, {"b,9,-16385,0,0,0", "lft"}};
    for (const auto& [params, faulty] : faults) {
        SCOPED_TRACE(params);
        FigureFixture f;
        EXPECT_EQ(f.run({kindLine(Kind::MetaBall, params)}), -1);
        EXPECT_TRUE(f.state.characters.empty());
        ASSERT_EQ(f.host.log.size(), 1);
        EXPECT_TRUE(f.host.log[0].endsWith(QStringLiteral("(%1)").arg(faulty)));
    }
}

TEST(MetaBall, BrightPixelsOfABlobAloneAndWithANeighbour) {
    // Side 9, a cone: the cells within 1.97 of the centre pass 50, nine of them.
    FigureFixture f(60, 40);
    ASSERT_EQ(f.run({kindLine(Kind::MetaBall, "a,9,0,0,0,0,1")}), 0);
    AnimeInfo& a = f.last();
    a.mode = 1;
    f.drawAt(a, 10, 10);
    EXPECT_EQ(f.count(metaBallInfo::kBlobColor), 9);
    EXPECT_EQ(f.pixel(14, 14), metaBallInfo::kBlobColor);
    EXPECT_EQ(f.pixel(16, 14), 0u);

    // At dot zoom 2 and 3 every cell is a 2 x 3 patch.
    {
        f.picture.fill(0);
        AnimeCanvas canvas(f.picture, f.picture.height(), {});
        a.kind->draw(canvas, a, {10, 10, 9, 9, 2, 0, 3, 3, 1, 500});
        EXPECT_EQ(f.count(metaBallInfo::kBlobColor), 9 * 6);
    }

    // A second one 5 pixels to the right: the densities between them add up to a bridge.
    ASSERT_EQ(f.run({kindLine(Kind::MetaBall, "b,9,5,0,0,0,1")}), 0);
    f.drawAt(a, 10, 10);
    EXPECT_GT(f.count(metaBallInfo::kBlobColor), 9);
    EXPECT_EQ(ballOf(a).summed(6, 4), 50 + 25); // cell 6 of a is cell 1 of b
    EXPECT_EQ(ballOf(a).summed(7, 4), 25 + 50);
    EXPECT_EQ(f.pixel(16, 14), metaBallInfo::kBlobColor);
    EXPECT_EQ(f.pixel(17, 14), metaBallInfo::kBlobColor);
    // Above or below each other: b 3 pixels higher lies 3 rows further up on a's map.
    f.state.characters[1]->X = 0, f.state.characters[1]->Y = 30;
    f.drawAt(a, 10, 10);
    EXPECT_EQ(ballOf(a).summed(4, 1), 25 + 100);
    EXPECT_EQ(ballOf(a).summed(4, 4), 100 + 25);
    EXPECT_EQ(ballOf(a).summed(4, 7), 25);

    // The neighbour takes part while invisible too; a distant one adds nothing.
    f.state.characters[1]->disp = 0;
    f.drawAt(a, 10, 10);
    EXPECT_EQ(ballOf(a).summed(4, 1), 125);
    f.state.characters[1]->X = 1000;
    f.drawAt(a, 10, 10);
    EXPECT_EQ(ballOf(a).summed(4, 1), 25);
}

TEST(MetaBall, ShadingIsABlackSquareWithAGreyDiscAndTheSumIsNotCapped) {
    FigureFixture f(40, 40);
    f.background = 0x0000FF;
    ASSERT_EQ(f.run({kindLine(Kind::MetaBall, "a,9,0,0,0,0,1"),
                     kindLine(Kind::MetaBall, "b,9,0,0,0,0,0,60")}), 0);
    AnimeInfo& a = *f.state.characters[0];
    f.state.characters[1]->X = 10000; // far away first
    f.drawAt(a, 10, 10);
    EXPECT_EQ(f.pixel(10, 10), 0u);                      // an empty corner cell is black
    EXPECT_EQ(f.pixel(14, 14), 0xFFFFFFu);               // 100
    EXPECT_EQ(f.pixel(15, 14), uint32_t(75 * 255 / 100) * 0x010101u);
    EXPECT_EQ(f.pixel(9, 14), 0x0000FFu);                // outside the square
    EXPECT_EQ(f.count(0x0000FFu), 40 * 40 - 81);

    f.state.characters[1]->X = 0; // on top of it: the sum passes 100
    f.drawAt(a, 10, 10);
    EXPECT_EQ(ballOf(a).summed(4, 4), 160);
    EXPECT_EQ(ballOf(a).summed(5, 4), 135);
    EXPECT_EQ(f.pixel(15, 14), 0xFFFFFFu);
}

TEST(MetaBall, DrawingIsClippedToThePictureWithTheSamePixels) {
    // A ball hanging over the left and top edges gives the pixels a bigger picture shows there.
    FigureFixture whole(120, 120), clipped(60, 60);
    for (FigureFixture* f : {&whole, &clipped})
        ASSERT_EQ(f->run({kindLine(Kind::MetaBall, "a,80,0,0,0,0,2"),
                          kindLine(Kind::MetaBall, "b,40,30,-20,0,0,1")}), 0);
    whole.drawAt(*whole.state.characters[0], 10, 20);
    clipped.drawAt(*clipped.state.characters[0], -50, -40);
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 60; ++x) ASSERT_EQ(clipped.pixel(x, y), whole.pixel(x + 60, y + 60)) << x << "," << y;

    // A large ball at a large dot zoom costs only the picture it covers.
    FigureFixture huge(50, 50);
    ASSERT_EQ(huge.run({kindLine(Kind::MetaBall, "a,1000,0,0,0,0,1")}), 0);
    AnimeInfo& ball = huge.last();
    huge.picture.fill(0xFF0000FF);
    AnimeCanvas canvas(huge.picture, 50, {});
    ball.kind->draw(canvas, ball, {-500 * 255 + 10, -500 * 255 + 10, 1000, 1000, 255, 0, 255, 255, 1, 500});
    EXPECT_EQ(huge.pixel(10, 10), 0xFFFFFFu); // the centre cell
    EXPECT_EQ(huge.pixel(9, 9), uint32_t(99 * 255 / 100) * 0x010101u);

    // A height given later through Font does not change the map the neighbours are read from.
    ASSERT_EQ(huge.run({kindLine(Kind::MetaBall, "b,20,0,0,0,0,1")}), 0);
    huge.last().setAttribute(Attr::Font, 5000);
    ball.setAttribute(Attr::Font, 1);
    huge.drawAt(ball, 0, -950);
    EXPECT_EQ(ballOf(ball).summed(10, 990), 100); // its centre on a corner of the big one
    // Under window rotation every cell goes through the rotation, within the dot budget.
    WindowRotation turn;
    turn.angleZ = 0.5;
    huge.drawAt(ball, -10, -10, turn);
}

} // namespace
