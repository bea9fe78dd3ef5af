// Polygon solids: the declaration with its vertex lines and copies, colour numbers beyond the
// palette, faces and their order after frames of spin, shaded and plain fills, the outline width
// at window zooms (0 counting as 1), and the colour attributes.
#include "FigureFixture.h"
#include "characters/metaCubeInfo.h"

#include <gtest/gtest.h>

namespace {

metaCubeInfo& cubeOf(AnimeInfo& c) { return static_cast<metaCubeInfo&>(*c.kind); }

// A cube of side 20 about the origin: six faces of four corners (-x, +x, -y, +y, -z, +z).
QStringList cubeBlock(const QString& params) {
    QStringList lines{kindLine(Kind::MetaCube, params)};
    const char* faces[6][4] = {
        {"-10,-10,-10", "-10,10,-10", "-10,10,10", "-10,-10,10"}, {"10,-10,-10", "10,10,-10", "10,10,10", "10,-10,10"},
        {"-10,-10,-10", "10,-10,-10", "10,-10,10", "-10,-10,10"}, {"-10,10,-10", "10,10,-10", "10,10,10", "-10,10,10"},
        {"-10,-10,-10", "10,-10,-10", "10,10,-10", "-10,10,-10"}, {"-10,-10,10", "10,-10,10", "10,10,10", "-10,10,10"},
    };
    for (const auto& face : faces)
        for (const char* corner : face) lines << QString::fromLatin1(corner);
    return lines;
}

TEST(MetaCube, DeclarationReadsVerticesAndMakesCopies) {
    FigureFixture f;
    ASSERT_EQ(f.run({kindLine(Kind::MetaCube, "box,3,2,5,6,7,-8,1,2,100,200,300,3"), "1,2,3", "4,5",
                     "x,6,7", "8", "9,10,11,12"}), 0);
    ASSERT_EQ(f.state.characters.size(), 3u);
    AnimeInfo& first = *f.state.characters[0];
    EXPECT_EQ(first.width, 3);
    EXPECT_EQ(first.height, 2);
    EXPECT_EQ(first.vX, 7);
    EXPECT_EQ(first.vY, -8);
    EXPECT_EQ(first.textColor, 0x0000FFu);
    EXPECT_EQ(first.backColor, 0x00FF00);
    EXPECT_EQ(first.userValues[0], 100);
    EXPECT_EQ(first.userValues[2], 300);
    EXPECT_EQ(cubeOf(first).faceCount(), 2);
    for (size_t i = 1; i < 3; ++i) {
        const AnimeInfo& copy = *f.state.characters[i];
        EXPECT_EQ(copy.sameNameIndex(), int(i));
        EXPECT_EQ(copy.vX, 0); // copies stand still
        EXPECT_EQ(copy.userValues[1], 200);
        EXPECT_EQ(copy.textColor, 0x0000FFu);
    }
    // The vertices as drawn with scale 100 % at the origin: a field that is no number and the
    // fields missing at the end of a line or of the block stay 0.
    first.userValues[1] = first.userValues[2] = 100;
    f.drawAt(first, 0, 0);
    const metaCubeInfo::Vertex* v0 = cubeOf(first).screenFace(0);
    const metaCubeInfo::Vertex* v1 = cubeOf(first).screenFace(1);
    EXPECT_EQ(v0[0], (metaCubeInfo::Vertex{1, 2, 3}));
    EXPECT_EQ(v0[1], (metaCubeInfo::Vertex{4, 5, 0}));
    EXPECT_EQ(v0[2], (metaCubeInfo::Vertex{0, 6, 7}));
    EXPECT_EQ(v1[0], (metaCubeInfo::Vertex{8, 0, 0}));
    EXPECT_EQ(v1[1], (metaCubeInfo::Vertex{9, 10, 11}));
    EXPECT_EQ(v1[2], (metaCubeInfo::Vertex{0, 0, 0}));
    EXPECT_EQ(f.state.log.size() + f.host.log.size(), 0);
}

TEST(MetaCube, FaultyParametersAreReported) {
    struct Case {
        const char* params;
        const char* faulty;
    };
    const Case cases[] = {
        {"c,2,1,0,0,0,0,1,1,100,100,100", "cubelen"},  {"c,11,1,0,0,0,0,1,1,100,100,100", "cubelen"},
        {",4,1,0,0,0,0,1,1,100,100,100", "cubelen"},   {"c,4,0,0,0,0,0,1,1,100,100,100", "cubecnt"},
        {"c,4,1025,0,0,0,0,1,1,100,100,100", "cubecnt"}, {"c,4,1,-16385,0,0,0,1,1,100,100,100", "lft"},
        {"c,4,1,0,0,1001,0,1,1,100,100,100", "mvx"},   {"c,4,1,0,0,0,0,256,1,100,100,100", "color"},
        {"c,4,1,0,0,0,0,1,-2,100,100,100", "lincol"},  {"c,4,1,0,0,0,0,1,1,0,100,100", "xzoom"},
        {"c,4,1,0,0,0,0,1,1,100,100,3001", "zzoom"},   {"c,4,1,0,0,0,0,1,1,100,100", "zzoom"},
        {"c,4,1,0,0,0,0,1,1,100,100,100,1001", "count"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.params);
        FigureFixture f;
        EXPECT_EQ(f.run({kindLine(Kind::MetaCube, c.params)}), -1);
        EXPECT_TRUE(f.state.characters.empty());
        ASSERT_EQ(f.host.log.size(), 1);
        EXPECT_TRUE(f.host.log[0].endsWith(QStringLiteral("(%1)").arg(c.faulty))) << f.host.log[0].toStdString();
    }
    // A line that failed while it was evaluated names the character and clears the status.
    FigureFixture f;
    AnimeState& state = f.state;
    PlainBlockInput input({});
    input.setStatus(-1);
    EXPECT_EQ(readMetaCube(state, input, "spin,4,1,0,0,0,0,1,1,100,100,100"), QStringLiteral("spin"));
    EXPECT_EQ(input.status(), 0);
}

TEST(MetaCube, ColourNumbersBeyondThePaletteAreBlack) {
    FigureFixture f;
    ASSERT_EQ(f.run({kindLine(Kind::MetaCube, "c,3,1,0,0,0,0,200,-1,100,100,100")}), 0);
    EXPECT_EQ(f.last().textColor, 0u);
    EXPECT_EQ(f.last().backColor, int64_t(f.state.bgColor));
    f.state.setPaletteColor(200, 0x123456);
    ASSERT_EQ(f.run({kindLine(Kind::MetaCube, "c,3,1,0,0,0,0,200,-1,100,100,100")}), 0);
    EXPECT_EQ(f.last().textColor, 0x123456u);
}

TEST(MetaCube, FacesAfterFramesOfSpin) {
    FigureFixture f(100, 100);
    ASSERT_EQ(f.run(cubeBlock("cube,4,6,0,0,0,0,1,2,100,100,100")), 0);
    AnimeInfo& cube = f.last();
    cube.setUserValue(4, 90); // 90 degrees about y per drawn frame
    const metaCubeInfo& kind = cubeOf(cube);
    struct Frame {
        int front, back;                // faces drawn last and first
        metaCubeInfo::Vertex corner0;   // screen corner 0 of face 1 (+x)
    };
    // About y by 90 degrees: x becomes z and z becomes -x (then the picture offset 50, 50).
    const Frame frames[] = {
        {5, 4, {60, 40, -10}}, // +z in front
        {0, 1, {40, 40, -10}}, // -x turned to the front
        {4, 5, {40, 40, 10}},  // -z
        {1, 0, {60, 40, 10}},  // +x
        {5, 4, {60, 40, -10}}, // once round
    };
    for (size_t n = 0; n < std::size(frames); ++n) {
        SCOPED_TRACE(n);
        f.drawAt(cube, 50, 50);
        EXPECT_EQ(kind.faceOrder().back(), frames[n].front);
        EXPECT_EQ(kind.faceOrder().front(), frames[n].back);
        // The spun coordinates are truncated, so a sine just below 1 may lose a pixel.
        for (size_t axis = 0; axis < 3; ++axis) EXPECT_NEAR(kind.screenFace(1)[0][axis], frames[n].corner0[axis], 1);
    }
    EXPECT_NEAR(kind.spin()[1], 5 * 3.14159265358979 / 2, 1e-9);
    // Outlines in the face colour: the square seen from the front.
    EXPECT_EQ(f.pixel(40, 40), 0x0000FFu);
    EXPECT_EQ(f.pixel(60, 50), 0x0000FFu);
    EXPECT_EQ(f.pixel(50, 50), 0u);
}

TEST(MetaCube, FilledFacesTakeShadesOfTheirColoursChannels) {
    // Six squares side by side, face f at x = 10 f.
    QStringList block{kindLine(Kind::MetaCube, "row,4,6,0,0,0,0,1,2,100,100,100")};
    for (int face = 0; face < 6; ++face) {
        const int x = face * 10;
        block << QStringLiteral("%1,0,0").arg(x) << QStringLiteral("%1,0,0").arg(x + 8)
              << QStringLiteral("%1,8,0").arg(x + 8) << QStringLiteral("%1,8,0").arg(x);
    }
    struct Case {
        int mode;
        uint32_t color;
        uint32_t (*expected)(int face);
    };
    const Case cases[] = {
        {3, 0x0000FF, [](int face) { return uint32_t((15 - face) * 16); }},                  // red only
        {3, 0xFF00FF, [](int face) { return uint32_t((15 - face) * 16) * 0x010001u; }},       // red and blue
        {1, 0x0000FF, [](int) { return 0x0000FFu; }},                                          // the face colour
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        FigureFixture f;
        ASSERT_EQ(f.run(block), 0);
        AnimeInfo& row = f.last();
        row.mode = c.mode;
        row.textColor = c.color;
        f.drawAt(row, 5, 5);
        for (int face = 0; face < 6; ++face) EXPECT_EQ(f.pixel(5 + face * 10 + 4, 9), c.expected(face)) << face;
        EXPECT_EQ(f.pixel(5, 5), 0x00FF00u); // the outline in the line colour
    }
}

TEST(MetaCube, OutlineWidthFollowsTheWindowZoomAndZeroCountsAsOne) {
    struct Case {
        int percent;
        bool thick; // a pixel 30 away from the edge is covered
    };
    const Case cases[] = {{100, false}, {200, false}, {50, false}, {1, true}, {0, true}, {-5, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.percent);
        FigureFixture f(200, 200);
        ASSERT_EQ(f.run(cubeBlock("cube,4,6,0,0,0,0,1,2,100,100,100")), 0);
        f.state.zoomPercent = c.percent;
        f.drawAt(f.last(), 100, 100);
        EXPECT_EQ(f.pixel(90, 100), 0x0000FFu);
        EXPECT_EQ(f.pixel(60, 100) == 0x0000FFu, c.thick);
        if (c.percent == 50) {
            EXPECT_EQ(f.pixel(89, 100), 0x0000FFu); // 4 pixels wide
        }
    }
}

TEST(MetaCube, ColourAttributesChangeFaceAndLineColoursAtOnce) {
    FigureFixture f;
    ASSERT_EQ(f.run(cubeBlock("cube,4,6,0,0,0,0,1,2,100,100,100")), 0);
    AnimeInfo& cube = f.last();
    cube.setAttribute(Attr::Color, 2);
    f.drawAt(cube, 40, 30);
    EXPECT_EQ(f.pixel(30, 20), 0x00FF00u);
    cube.mode = 1;
    cube.setAttribute(Attr::bgColor, 1);
    f.drawAt(cube, 40, 30);
    EXPECT_EQ(f.pixel(30, 20), 0x0000FFu); // outline
    EXPECT_EQ(f.pixel(40, 30), 0x00FF00u); // fill
    cube.setAttribute(Attr::bgColor, -2); // transparent: no outline
    f.drawAt(cube, 40, 30);
    EXPECT_EQ(f.pixel(30, 20), 0x00FF00u);
}

} // namespace
