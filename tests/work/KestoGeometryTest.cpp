#include "work/KestoGeometry.h"

#include <Qt>
#include <gtest/gtest.h>

namespace {

using namespace kesto;

TEST(KestoGeometryTest, ZoomScalesBaseSizeAndFrameWithIntegerDivision) {
    const struct {
        QSize base;
        int frame, zoom;
        std::optional<QSize> window;
        int frameWidth;
    } cases[] = {
        {{800, 400}, 16, 100, QSize(800, 400), 16},
        {{800, 400}, 16, 50, QSize(400, 200), 8},
        {{750, 500}, 16, 33, QSize(247, 165), 5},  // 247.5, 165, 5.28 truncated
        {{800, 400}, 16, 10, QSize(80, 40), 1},     // the smallest zoom that acts
        {{800, 400}, 16, 9, std::nullopt, 0},       // below 10 %: nothing changes
        {{800, 400}, 16, 0, std::nullopt, 0},
        {{800, 400}, 16, -50, std::nullopt, 0},
        {{0, 0}, 16, 50, QSize(400, 200), 8},       // no canvas yet: the creation size
        {{32768, 32768}, 255, 1000, QSize(327680, 327680), 2550}, // no overflow on the way
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.zoom);
        const auto zoomed = applyZoom(c.base, c.frame, c.zoom);
        ASSERT_EQ(zoomed.has_value(), c.window.has_value());
        if (!zoomed) continue;
        EXPECT_EQ(zoomed->window, *c.window);
        EXPECT_EQ(zoomed->frameWidth, c.frameWidth);
    }
}

TEST(KestoGeometryTest, CentredPlaceDockedAndFloating) {
    const struct {
        QSize window, area;
        bool docked;
        QPoint place;
    } cases[] = {
        {{400, 300}, {1200, 660}, true, {450, 168}},  // (660 - 300) / 2 - 12
        {{800, 500}, {1200, 660}, true, {250, 92}},   // 68 raised to 92
        {{400, 300}, {1200, 400}, true, {450, 80}},   // raised to 92, then lowered to 400 - 300 - 20
        {{801, 301}, {1200, 660}, true, {249, 167}},  // halves truncated
        {{1400, 300}, {1200, 660}, true, {-50, 168}}, // wider than the area: the left may go negative
        {{800, 400}, {1264, 715}, false, {282, 145}},
        {{800, 700}, {1264, 715}, false, {282, 43}},  // below the 40-pixel top bar + 3
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.window.width() << "x" << c.window.height() << " docked " << c.docked);
        EXPECT_EQ(centreInGallery(c.window, c.area, c.docked, 40), c.place);
    }
}

TEST(KestoGeometryTest, ClearOfTheWorksPanel) {
    const QRect panel(10, 50, 300, 400); // right edge + 20 = 330
    EXPECT_EQ(clearOfWorksPanel(100, 400, 1200, panel), 330);
    EXPECT_EQ(clearOfWorksPanel(500, 400, 1200, panel), 500); // already clear
    EXPECT_EQ(clearOfWorksPanel(100, 1000, 1200, panel), 200); // at most area − window
    EXPECT_EQ(clearOfWorksPanel(100, 1300, 1200, panel), 0);   // and at least 0
    EXPECT_EQ(clearOfWorksPanel(100, 400, 1200, QRect()), 100); // a hidden panel moves nothing
}

TEST(KestoGeometryTest, PictureOverhangsTheVisibleArea) {
    EXPECT_EQ(fitPicture({768, 368}, 100), QRect(-20, -20, 808, 408));
    EXPECT_EQ(fitPicture({384, 184}, 50), QRect(-10, -10, 404, 204));
    EXPECT_EQ(fitPicture({100, 100}, 33), QRect(-6, -6, 113, 113));
}

TEST(KestoGeometryTest, CornerPanelPlaces) {
    const CornerPlaces p = layoutCorners({400, 300});
    EXPECT_EQ(p.run, QRect(188, 138, 24, 24));
    EXPECT_EQ(p.close, QRect(376, 0, 24, 24));
    EXPECT_EQ(p.goOut, QRect(376, 276, 24, 24));
    EXPECT_EQ(p.renew, QRect(0, 276, 24, 24));
    EXPECT_EQ(p.goHome, QRect(0, 0, 24, 24));
    EXPECT_EQ(p.free, QRect(188, 0, 24, 24));
    EXPECT_EQ(p.game, QRect(172, 270, 56, 24));
    EXPECT_EQ(layoutCorners({401, 301}).run.topLeft(), QPoint(188, 138)); // halves truncated
}

TEST(KestoGeometryTest, RunZoneIsOpenOnAllSides) {
    // 400 x 300 with a 24-pixel run panel: 138 < X < 238 and 88 < Y < 188.
    const QSize picture(400, 300), run(24, 24);
    const struct {
        QPoint mouse;
        bool inRun;
    } cases[] = {
        {{139, 89}, true}, {{237, 187}, true}, {{200, 150}, true},
        {{138, 150}, false}, {{238, 150}, false}, {{200, 88}, false}, {{200, 188}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mouse.x() << "," << c.mouse.y());
        const Hover h = hoverZone(picture, run, c.mouse, false, true);
        EXPECT_EQ(h.zone == HoverZone::Run, c.inRun);
        if (c.inRun) {
            EXPECT_EQ(h.panel, CornerPanel::Run);
            EXPECT_EQ(h.countdown, 50);
        }
    }
}

TEST(KestoGeometryTest, HoverZonesOfListAndOneDisplay) {
    const QSize picture(400, 300), run(24, 24);
    const struct {
        QPoint mouse;
        bool small, neighbours;
        HoverZone zone;
        CornerPanel panel;
        int countdown;
    } cases[] = {
        // Renew (bottom left) and float (top centre) in any window.
        {{50, 250}, false, false, HoverZone::Edge, CornerPanel::Renew, 50},
        {{51, 250}, false, false, HoverZone::Nothing, CornerPanel::None, 30},
        {{200, 49}, false, false, HoverZone::Edge, CornerPanel::Free, 50},
        {{138, 10}, false, false, HoverZone::Nothing, CornerPanel::None, 30},
        // One display: never close, go out or go home.
        {{390, 10}, false, false, HoverZone::Nothing, CornerPanel::None, 30},
        {{390, 290}, true, false, HoverZone::Nothing, CornerPanel::None, 30},
        {{10, 10}, false, false, HoverZone::Nothing, CornerPanel::None, 30},
        // List display.
        {{350, 49}, false, true, HoverZone::Close, CornerPanel::Close, 30},
        {{350, 50}, false, true, HoverZone::Nothing, CornerPanel::None, 30},
        {{350, 250}, true, true, HoverZone::GoOut, CornerPanel::GoOut, 30},
        {{350, 250}, false, true, HoverZone::Nothing, CornerPanel::None, 30}, // full size: no go out
        {{49, 49}, false, true, HoverZone::GoHome, CornerPanel::GoHome, 30},
        {{49, 49}, true, true, HoverZone::Nothing, CornerPanel::None, 30},    // at list size: no go home
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.mouse.x() << "," << c.mouse.y() << " small " << c.small
                                        << " neighbours " << c.neighbours);
        const Hover h = hoverZone(picture, run, c.mouse, c.small, c.neighbours);
        EXPECT_EQ(h.zone, c.zone);
        EXPECT_EQ(h.panel, c.panel);
        EXPECT_EQ(h.countdown, c.countdown);
        EXPECT_EQ(h.highlight, c.small && c.neighbours && h.zone != HoverZone::Edge);
    }
}

TEST(KestoGeometryTest, FullSizeGamePadAndTitlePlatePlaces) {
    EXPECT_EQ(fullSizePlace({1200, 660}, {800, 400}), QPoint(350, 210));
    // Right of the window, or the whole pad kept 30 pixels inside the area's right edge.
    EXPECT_EQ(gamePadPlace(QRect(100, 100, 400, 300), 1200), QPoint(530, 262));
    EXPECT_EQ(gamePadPlace(QRect(700, 100, 400, 300), 1200), QPoint(1042, 262));

    const PlatePlace below = titlePlatePlace(QRect(100, 100, 400, 300), 100, false, 10);
    EXPECT_FALSE(below.above);
    EXPECT_EQ(below.rect, QRect(245, 401, 110, 26));
    EXPECT_EQ(below.fontSize, 11);
    const PlatePlace longText = titlePlatePlace(QRect(100, 100, 400, 300), 100, false, 100);
    EXPECT_EQ(longText.rect, QRect(102, 401, 396, 26)); // at most width − 4
    const PlatePlace lone = titlePlatePlace(QRect(100, 100, 400, 300), 100, false, 10, 16);
    EXPECT_EQ(lone.rect, QRect(220, 401, 160, 26)); // a lone window's 16 pixels per character
    EXPECT_EQ(titlePlatePlace(QRect(100, 100, 400, 300), 100, false, 30, 16).rect.width(), 396);
    EXPECT_EQ(titlePlatePlace(QRect(100, 100, 400, 300), 100, false, 10, 11, 48).rect, QRect(221, 401, 158, 26))
        << "the shown buttons widen the plate";
    const PlatePlace above = titlePlatePlace(QRect(100, 100, 200, 150), 50, true, 10);
    EXPECT_TRUE(above.above);
    EXPECT_EQ(above.rect, QRect(101, 84, 198, 15)); // bottom one pixel above the window
    EXPECT_EQ(above.fontSize, 10);
    EXPECT_EQ(musicPlayerPlace(QRect(245, 401, 110, 26)), QPoint(363, 401));
}

TEST(KestoGeometryTest, PadAndKeyboardGiveTheGameKeys) {
    const struct {
        int qtKey;
        bool keypad;
        int virtualKey, gameKey;
    } cases[] = {
        {Qt::Key_Left, false, 37, 37},   {Qt::Key_Up, false, 38, 38},     {Qt::Key_Right, false, 39, 39},
        {Qt::Key_Down, false, 40, 40},   {Qt::Key_Backspace, false, 8, 8},
        {Qt::Key_Equal, false, 187, 107}, // "=" on the main keyboard is "next"
        {Qt::Key_Plus, false, 187, 107},  // so is its shifted "+"
        {Qt::Key_Minus, false, 189, 109},
        {Qt::Key_Plus, true, 107, 107},   {Qt::Key_Minus, true, 109, 109},
        {Qt::Key_A, false, 65, 65},       {Qt::Key_5, false, 53, 53},     {Qt::Key_5, true, 101, 101},
        {Qt::Key_Space, false, 32, 32},   {Qt::Key_F1, false, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.qtKey);
        // The codes are the numbers that programs and the pad agree on, so they stay numbers here.
        EXPECT_EQ(int(virtualKeyOfQtKey(c.qtKey, c.keypad)), c.virtualKey);
        EXPECT_EQ(int(gameKeyOfVirtualKey(GameKey(c.virtualKey))), c.gameKey);
    }
}

} // namespace
