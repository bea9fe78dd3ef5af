#include "PlainBlockInput.h"
// Drawn pixels of hand-computed frames: placement, zoom, repetition, ghost, balloon, depth order,
// dot zoom, perspective, rotations, camera and texts; and a frame of hostile attribute values.
#include "anime/AnimeCanvas.h"
#include "anime/AnimeMotion.h"
#include "anime/AnimeRenderer.h"
#include "anime/AnimeState.h"
#include "anime/AnimeText.h"
#include "anime/AnimeView.h"
#include "common/Numbers.h"
#include "common/ProgramFont.h"
#include "common/Random.h"
#include "script/KestoCodes.h"

#include <QElapsedTimer>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <set>

namespace A = Attr;

namespace {

constexpr uint32_t kRed = 0x0000FF, kBlue = 0xFF0000;

using Dots = std::set<std::pair<int, int>>;

struct Scene {
    AnimeState state;
    AnimeView view;
    Scene(int w = 20, int h = 10) : view(w, h) {}
    // A picture from rows: '1' red, '2' blue, anything else transparent.
    AnimeInfo& add(const QStringList& rows, int lft, int top) {
        const int h = int(rows.size()), w = int(rows[0].size());
        AnimeInfo& c = state.createCharacter("c", lft, top, 1, 1, w, h);
        c.allocatePixels(1, h, w);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const QChar ch = rows[y][x];
                c.pixels[size_t(y * w + x)] = ch == u'1' ? int32_t(kRed) : (ch == u'2' ? int32_t(kBlue) : -1);
            }
        c.frameCount = 1;
        c.disp = 1;
        return c;
    }
    void draw() { drawFrame(state, view, truncToInt64(view.cameraX), truncToInt64(view.cameraY)); }
    // Every pixel of the colour.
    Dots dots(uint32_t color = kRed) const {
        Dots found;
        for (int y = 0; y < view.picture.height(); ++y)
            for (int x = 0; x < view.picture.width(); ++x)
                if (colorOfRgb(view.picture.pixel(x, y)) == color) found.insert({x, y});
        return found;
    }
};

Dots row(int y, std::initializer_list<int> xs) {
    Dots d;
    for (int x : xs) d.insert({x, y});
    return d;
}

} // namespace

TEST(AnimeRender, DotPlacementZoomRepetitionGhost) {
    struct Case {
        const char* what;
        QStringList rows;
        std::vector<std::pair<int, double>> attributes;
        Dots expected;
    } cases[] = {
        // Y grows upward: a one-row picture at top 2 of a 10-row picture lies on row 7.
        {"plain", {"11"}, {}, row(7, {3, 4})},
        {"zoomX 3", {"11"}, {{A::zoomX, 3}}, row(7, {3, 4, 5, 6, 7, 8})},
        {"zoomX -2 takes every second column", {"1.1."}, {{A::zoomX, -2}}, row(7, {3, 4})},
        {"zoomX -2 skipping", {"12.."}, {{A::zoomX, -2}}, row(7, {3})},
        {"multX 2", {"1."}, {{A::multX, 2}}, row(7, {3, 5})},
        {"ghostX 200 doubles the gaps", {"11"}, {{A::ghostX, 200}}, row(7, {3, 5})},
        {"zoomY 2", {"1"}, {{A::zoomY, 2}}, Dots{{3, 6}, {3, 7}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Scene s;
        AnimeInfo& ch = s.add(c.rows, 3, 2);
        for (auto [index, value] : c.attributes) ch.setAttribute(index, value);
        s.draw();
        EXPECT_EQ(s.dots(), c.expected);
        EXPECT_EQ(s.dots(0).size(), size_t(200) - c.expected.size()); // the rest is background
    }
}

TEST(AnimeRender, BalloonDotsAreRoundedAndSkipRowZero) {
    Scene s(20, 20);
    AnimeInfo& c = s.add({"1"}, 0, 19); // the dot's screen position is (0, 0)
    c.setAttribute(A::balloon, 6);
    s.draw();
    Dots expected = row(1, {1, 2, 3, 4});
    for (int y : {2, 3, 4})
        for (int x = 0; x < 6; ++x) expected.insert({x, y});
    for (int x : {1, 2, 3, 4}) expected.insert({x, 5});
    EXPECT_EQ(s.dots(), expected);
}

TEST(AnimeRender, DepthOrderAndListOrder) {
    Scene s;
    AnimeInfo& front = s.add({"1"}, 3, 2);
    s.add({"2"}, 3, 2); // later in the list: drawn over while both have Z 0
    s.draw();
    EXPECT_EQ(s.dots(kBlue), row(7, {3}));
    front.setAttribute(A::Z, 1); // nearer the viewer: drawn last whatever the list says
    s.draw();
    EXPECT_EQ(s.dots(kRed), row(7, {3}));
    EXPECT_TRUE(s.dots(kBlue).empty());
}

TEST(AnimeRender, DotZoomAndPerspective) {
    {
        Scene s;
        s.add({"11"}, 3, 2);
        const QString two = QStringLiteral("2");
        auto number = [](const QString& t) -> std::optional<double> { return parseLeadingNumber(t); };
        s.view.setWzoom(QStringLiteral("0"), number);
        EXPECT_EQ(s.view.dotZoomX, 1);
        s.view.setWzoom(two, number);
        s.draw();
        // Positions and dots doubled; the top is measured from the zoomed far corner.
        Dots expected;
        for (int y : {2, 3})
            for (int x : {6, 7, 8, 9}) expected.insert({x, y});
        EXPECT_EQ(s.dots(), expected);
    }
    {
        Scene s(40, 20);
        AnimeInfo& c = s.add({"11"}, 3, -2);
        c.setAttribute(A::disp, 17);
        c.setAttribute(A::Z, 250); // halfway to the view point: twice the size, from the centre
        s.draw();
        EXPECT_EQ(s.dots(), row(12, {26, 28}));
    }
}

TEST(AnimeRender, CharacterAndWindowRotation) {
    {
        Scene s;
        AnimeInfo& c = s.add({"12"}, 3, 2);
        c.setAttribute(A::angleZ, 90);
        s.draw();
        EXPECT_EQ(s.dots(kRed), row(6, {4}));
        EXPECT_EQ(s.dots(kBlue), row(7, {4}));
    }
    {
        Scene s(40, 20);
        s.add({"1"}, 0, 9); // screen (0, 10), ten pixels left of the rotation centre (10, 10)
        auto number = [](const QString& t) -> std::optional<double> { return parseLeadingNumber(t); };
        s.view.setWinRotation(attrCode(A::rsftX) + "=10," + attrCode(A::rsftY) + "=10," + attrCode(A::rotaZ) + "=90",
                              number);
        int status = 0;
        advanceFrame(s.state, s.view, status); // one frame turns the window by 90 degrees
        EXPECT_EQ(s.dots(), row(0, {10}));
    }
}

// The character drawn onto a 90 x 70 picture by the row walk (first) and by the walk that takes
// each dot through DotRotation::apply and putDot (second).
std::pair<QImage, QImage> drawnBothWays(AnimeInfo& ch, const AnimeState& state, const WindowRotation& window) {
    QImage pictures[2];
    for (int walk = 0; walk < 2; ++walk) {
        pictures[walk] = QImage(90, 70, QImage::Format_RGB32);
        AnimeCanvas canvas(pictures[walk], 70, window);
        canvas.fill(0x202020);
        FrameContext frame{canvas, state};
        frame.dotByDot = walk == 1;
        drawCharacter(ch, frame);
    }
    return {pictures[0], pictures[1]};
}

// Rotated characters and the window rotation are drawn a row of dots at a time, several dots at
// a time where the processor allows; the picture must be the dot-by-dot walk's, pixel for pixel.
TEST(AnimeRender, RotatedRowsMatchTheDotByDotWalk) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* what;
        std::vector<std::pair<int, double>> attributes;
        WindowRotation window;
        int left = 20, top = 20;
        double angleZ = 0; // radians, set directly when not 0 (NaN is refused by the attribute)
        int zoomX = 0;     // set directly when not 0, beyond the attribute's limit
        bool solid = false; // no transparent dots
    } cases[] = {
        {"turned in the plane", {{A::angleZ, 30}, {A::zoomX, 3}, {A::zoomY, 2}}, {}},
        {"turned about three axes, each dot in perspective",
         {{A::angleX, 20}, {A::angleY, 40}, {A::angleZ, 90}, {A::disp, 5}, {A::Z, 2000}, {A::zoomX, 4}, {A::zoomY, 4}}, {}},
        {"dots behind the view point", {{A::angleY, 70}, {A::disp, 5}, {A::Z, 4950}, {A::zoomX, 6}, {A::zoomY, 6}}, {}},
        {"whole-character perspective", {{A::angleZ, 45}, {A::disp, 17}, {A::Z, -500}, {A::zoomX, 3}, {A::zoomY, 3}},
         {}, 0, 0},
        {"ghost and repetition", {{A::angleZ, 10}, {A::ghostX, 150}, {A::ghostY, 50}, {A::multX, 2}, {A::zoomX, 3}}, {}},
        {"axis shifted", {{A::angleZ, 200}, {A::angleX, 15}, {A::rsftX, 7}, {A::rsftY, -3}, {A::rsftZ, 5}, {A::disp, 5}}, {}},
        {"half off the picture", {{A::angleZ, 33}, {A::zoomX, 5}, {A::zoomY, 5}}, {}, -15, 50},
        {"reduced", {{A::angleZ, 12}, {A::zoomX, -2}, {A::zoomY, -3}}, {}},
        {"window rotation alone", {{A::zoomX, 4}, {A::zoomY, 4}}, {0.2, 0.1, 0.4, 10, 12, 3}},
        {"window and character rotation", {{A::angleZ, 25}, {A::angleY, 10}, {A::disp, 5}, {A::zoomX, 3}, {A::zoomY, 3}},
         {0.0, 0.3, -0.7, 30, 5, 0}},
        {"NaN angle", {{A::disp, 5}, {A::zoomX, 2}, {A::zoomY, 2}}, {}, 20, 20, nan},
        {"each dot in perspective, unturned (whole quotients)", {{A::disp, 5}, {A::zoomX, 4}, {A::zoomY, 3}}, {}},
        // Dots beyond the view distance are magnified 5000 times: the first row's quotients start
        // past 2^31, so the row goes on dot by dot and draws its one dot on the picture, column 437000.
        {"far dots past the vector range", {{A::disp, 5}, {A::Z, 6000}, {A::rsftX, 3000}, {A::rsftY, 2}}, {},
         -436990, 20, 0, 124000, true},
        {"window rotation about a far centre", {{A::zoomX, 2}, {A::zoomY, 2}}, {0, 0, 1e-9, 400000000, 0, 0}},
        // rows of 7 x 9362 x 8 = 524272 dots: the budget leaves 58 dots of the fifth row
        {"the dot budget ends inside a row", {{A::angleZ, 0.0001}, {A::multX, 8}}, {}, 0, 20, 0, 9362},
    };
    vimoraSeed(3);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AnimeState state;
        AnimeInfo& ch = state.createCharacter("c", c.left, c.top, 1, 1, 7, 5);
        ch.allocatePixels(1, 5, 7);
        for (auto& p : ch.pixels) p = !c.solid && vimoraRand() % 4 == 0 ? -1 : int32_t(vimoraRand() * 517);
        ch.frameCount = 1;
        ch.disp = 1;
        for (auto [index, value] : c.attributes) ch.setAttribute(index, value);
        if (c.angleZ != 0) ch.angleZ = c.angleZ;
        if (c.zoomX != 0) ch.zoomX = c.zoomX;
        const auto [rows, dots] = drawnBothWays(ch, state, c.window);
        EXPECT_EQ(rows, dots);
        QImage background(dots.size(), QImage::Format_RGB32);
        background.fill(rgbOfColor(0x202020));
        EXPECT_NE(dots, background) << "the case draws something";
    }
}

// Random turns, depths, zooms, places and window rotations: a slip by one pixel in any lane of
// the vector rows, or a dot drawn out of order, shows as a different picture.
TEST(AnimeRender, RotatedRowsMatchTheDotByDotWalkOverRandomScenes) {
    vimoraSeed(11);
    const auto pick = [](int n) { return int(vimoraRand() % unsigned(n)); };
    for (int scene = 0; scene < 300; ++scene) {
        SCOPED_TRACE(scene);
        AnimeState state;
        AnimeInfo& ch = state.createCharacter("c", pick(120) - 40, pick(100) - 30, 1, 1, 9, 6);
        ch.allocatePixels(1, 6, 9);
        for (auto& p : ch.pixels) p = pick(5) == 0 ? -1 : int32_t(vimoraRand() * 311);
        ch.frameCount = 1;
        ch.disp = pick(2) ? 5 : 1;
        for (int axis : {A::angleX, A::angleY, A::angleZ})
            if (pick(3)) ch.setAttribute(axis, pick(720) - 360);
        ch.setAttribute(A::Z, pick(6000) - 1000);
        ch.setAttribute(A::zoomX, pick(6) + 1), ch.setAttribute(A::zoomY, pick(6) + 1);
        WindowRotation window;
        if (pick(2)) window = {pick(100) / 50.0 - 1, pick(100) / 50.0 - 1, pick(100) / 50.0 - 1, pick(90), pick(70), pick(20)};
        const auto [rows, dots] = drawnBothWays(ch, state, window);
        ASSERT_EQ(rows, dots);
    }
}

TEST(AnimeRender, CameraShiftsTheViewAndShowsItsStatus) {
    Scene s;
    s.add({"1"}, 103, 2);
    auto number = [](const QString& t) -> std::optional<double> { return parseLeadingNumber(t); };
    const QString rest = s.view.setCamera(attrCode(A::X) + "=100,skip," + attrCode(A::vY) + "=2," + attrCode(A::Y), number);
    EXPECT_EQ(rest, attrCode(A::Y)); // a camera keyword without '=' ends the list
    s.draw();
    EXPECT_EQ(s.dots(), row(7, {3}));
    EXPECT_EQ(s.view.cameraStatusText(), QStringLiteral("カメラ P( 100,   0,   0) ｖ(  0,  2,  0)"));
    EXPECT_EQ(s.view.picture.size(), QSize(20, 10));
    s.view.cameraX = 5;
    s.view.resetView(0);
    EXPECT_EQ(s.view.cameraX, -100); // back to the saved camera
}

TEST(AnimeRender, CameraDepthRefitsWithinTheCap) {
    Scene s(400, 200);
    auto number = [](const QString& t) -> std::optional<double> { return parseLeadingNumber(t); };
    s.view.setCamera(attrCode(A::Z) + "=-1000", number); // camera z 1000: half the picture, zoomed in
    EXPECT_EQ(s.view.picture.size(), QSize(200, 100));
    EXPECT_EQ(s.view.shiftX, (400 - 200) * 100 / 2.0);
    s.view.driftZ = -100000; // receding fast: stops at the size cap
    for (int i = 0; i < 5; ++i) s.view.cameraDepthStep();
    EXPECT_LE(s.view.picture.width(), AnimeView::kMaxPictureSide);
    EXPECT_EQ(s.view.driftZ, 0);
    s.view.cameraZ = 1500;
    s.view.driftZ = 500; // approaching: stops 100 before the picture plane
    s.view.cameraDepthStep();
    EXPECT_EQ(s.view.driftZ, 0);
    EXPECT_GE(s.view.picture.width(), 1);
    // A reset refits to the saved camera and a new display size, but keeps no shift from it.
    s.view.displayWidth = 300;
    s.view.resetView(0);
    EXPECT_EQ(s.view.picture.size(), QSize(150, 100));
    EXPECT_EQ(s.view.shiftX, 0);
    EXPECT_EQ(s.view.shiftY, 0);
}

TEST(AnimeRender, MessageFieldsAndDrawing) {
    AnimeState state;
    AnimeInfo& m = state.createCharacter("m", 0, 0, 1, 1, 10, 12);
    m.setText("\"abc\"");
    m.mode = 1;
    EXPECT_EQ(messageFieldText(m), QStringLiteral("       abc"));
    m.mode = 4;
    EXPECT_EQ(messageFieldText(m), QStringLiteral("abc        "));
    m.setText("日本");
    m.mode = 0;
    EXPECT_EQ(messageFieldText(m), QStringLiteral("日本      "));
    EXPECT_EQ(programFontFamilies(QStringLiteral("ＭＳ ゴシック")).front(), QStringLiteral("Noto Sans CJK JP"));
    EXPECT_EQ(programFontFamilies(QStringLiteral("ＭＳ 明朝")).front(), QStringLiteral("Noto Serif CJK JP"));

    Scene s(200, 60);
    s.state.setPaletteColor(1, kRed);
    s.state.setPaletteColor(2, kBlue);
    AnimeInfo& text = s.state.createCharacter("t", 10, 20, 1, 1, 4, 12);
    text.disp = 1;
    text.setText("\"日本\"");
    text.setAttribute(A::Color, 1);
    text.setAttribute(A::bgColor, 2);
    s.draw();
    const Dots fill = s.dots(kBlue), ink = s.dots(kRed);
    ASSERT_FALSE(fill.empty());
    EXPECT_FALSE(ink.empty());
    // The field's top-left corner is the character's screen position (10, 60 - 12 - 20).
    EXPECT_EQ(*fill.begin(), std::make_pair(10, 28));
}

TEST(AnimeRender, HostileAttributesRenderWithinTimeAndPicture) {
    const double specials[] = {std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity(), 1e300, -1e300, 1e9, -1e9, 0, -1, 2,
                               100, -99, 10000, 16384};
    vimoraSeed(7);
    for (int round = 0; round < 6; ++round) {
        Scene s(64, 48);
        for (int k = 0; k < 4; ++k) {
            AnimeInfo& c = s.add({"12.1", "2112"}, k * 5, k * 3);
            for (int i = 0; i < 8; ++i) {
                const int attribute = vimoraRand() % A::Count;
                c.setAttribute(attribute, specials[vimoraRand() % int(std::size(specials))]);
            }
            // What the attribute rules would refuse, set directly: the drawing must still hold.
            if (round % 2) c.ghostX = 10000, c.balloonX = c.balloonY = 10000, c.zoomY = 100, c.multX = 100;
            if (round == 3) c.height = std::numeric_limits<int>::max();
        }
        AnimeInfo& text = s.state.createCharacter("m", 1, 1, 1, 1, 10, 12);
        text.disp = 1;
        text.setText(QStringLiteral("\"日本abc\""));
        for (int i = 0; i < 8; ++i) text.setAttribute(vimoraRand() % A::Count, specials[vimoraRand() % int(std::size(specials))]);
        s.view.dotZoomX = s.view.dotZoomY = 255;
        if (round >= 4) s.view.rotation.angleZ = 0.3;
        int status = 0;
        for (int f = 0; f < 2; ++f) {
            QElapsedTimer timer;
            timer.start();
            advanceFrame(s.state, s.view, status);
            EXPECT_LT(timer.elapsed(), 20000) << "round " << round;
        }
        EXPECT_EQ(s.view.picture.size(), QSize(64, 48));
    }
}
