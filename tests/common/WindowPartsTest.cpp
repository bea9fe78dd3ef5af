// The widget-free parts of the common windows: message window layout and placement, panel
// dragging, the run mark and the chooser routing.
#include "common/CheckLayout.h"
#include "common/Choosers.h"
#include "common/MousePointer.h"
#include "common/PanelDrag.h"
#include "common/RunMark.h"

#include <QCursor>
#include <QFont>
#include <QFontMetrics>

#include <gtest/gtest.h>

namespace {

TEST(CheckLayout, SplitsAtTheLineFeedAndLabelsTheButtons) {
    QFont plain;
    plain.setPixelSize(16);
    QFont bold = plain;
    bold.setBold(true);
    const QFontMetrics pm(plain), bm(bold);

    const CheckLayout notice = layoutCheck("main only", "cap", 20, pm, bm);
    EXPECT_EQ(notice.mainLine, "main only");
    EXPECT_TRUE(notice.bottomLine.isEmpty());
    EXPECT_FALSE(notice.mainLeft);
    EXPECT_FALSE(notice.question);
    EXPECT_EQ(notice.noLabel, QStringLiteral("確認"));
    EXPECT_EQ(notice.firstAnswer, 0);

    const CheckLayout question = layoutCheck("first\r\nsecond\nthird", "cap", 21, pm, bm);
    EXPECT_EQ(question.mainLine, "first");
    EXPECT_EQ(question.bottomLine, "second\nthird");
    EXPECT_TRUE(question.mainLeft);
    EXPECT_TRUE(question.question);
    EXPECT_EQ(question.noLabel, QStringLiteral("いいえ"));
    EXPECT_EQ(question.firstAnswer, 0); // closing a kind-1 question is not a yes
    EXPECT_EQ(layoutCheck("q", "c", 4, pm, bm).firstAnswer, 4);
}

TEST(CheckLayout, WidthIsTheWidestPartPlusForty) {
    QFont plain;
    plain.setPixelSize(16);
    QFont bold = plain;
    bold.setBold(true);
    const QFontMetrics pm(plain), bm(bold);
    const QString wide = QString(60, u'W');
    // Each part in turn is the widest one.
    EXPECT_EQ(layoutCheck("m", wide, 0, pm, bm).width, pm.horizontalAdvance(wide) + 40);
    EXPECT_EQ(layoutCheck(wide, "c", 0, pm, bm).width, bm.horizontalAdvance(wide) + 40);
    EXPECT_EQ(layoutCheck("m\n" + wide, "c", 0, pm, bm).width, pm.horizontalAdvance(wide) + 112 + 40);
    EXPECT_EQ(layoutCheck("m", "c", 0, pm, bm).width, std::max(bm.horizontalAdvance("m"), 112) + 40);
}

TEST(CheckLayout, Placement) {
    const QRect screen(0, 0, 1000, 800);
    const struct {
        int width, height, position;
        QRect area;
        QRect placed;
    } cases[] = {
        {300, 125, 0, screen, {350, 337, 300, 125}},
        {300, 125, 1, screen, {350, 100, 300, 125}},
        {300, 125, 2, screen, {350, 595, 300, 125}},
        {300, 125, 1, {100, 50, 400, 300}, {150, 150, 300, 125}}, // on the parent window
        {2000, 125, 0, screen, {80, 337, 840, 125}},              // cut to the screen width - 160
    };
    for (const auto& c : cases)
        EXPECT_EQ(placeCheck(c.width, c.height, c.area, c.position, screen.width()), c.placed) << c.position;
}

TEST(DragStep, ModesAndMoves) {
    const QRect g(10, 20, 200, 100); // w 200, h 100
    const struct {
        int x, y, prevX, prevY;
        DragMode mode;
        QRect geometry;
        int newPrevX, newPrevY;
    } cases[] = {
        {190, 50, -1, -1, DragMode::Widen, g, -1, -1}, // no button: only the mode
        {100, 90, -1, -1, DragMode::Heighten, g, -1, -1},
        {190, 90, -1, -1, DragMode::Both, g, -1, -1},
        {100, 50, -1, -1, DragMode::Move, g, -1, -1},
        {165, 90, -1, -1, DragMode::Move, g, -1, -1}, // between heighten and the corner
        {190, 20, -1, -1, DragMode::Move, g, -1, -1}, // right edge but near the top
        {195, 50, 190, 50, DragMode::Widen, {10, 20, 205, 100}, 195, 50},
        {100, 95, 100, 90, DragMode::Heighten, {10, 20, 200, 105}, 100, 95},
        {185, 85, 190, 90, DragMode::Both, {10, 20, 195, 95}, 185, 85},
        {100, 50, 90, 40, DragMode::Move, {20, 30, 200, 100}, 90, 40}, // the pointer stays put inside
    };
    for (const auto& c : cases) {
        const DragStep s = dragStep(c.x, c.y, c.prevX, c.prevY, g);
        EXPECT_EQ(s.mode, c.mode) << c.x << "," << c.y;
        EXPECT_EQ(s.geometry, c.geometry) << c.x << "," << c.y;
        EXPECT_EQ(s.previousX, c.newPrevX) << c.x << "," << c.y;
        EXPECT_EQ(s.previousY, c.newPrevY) << c.x << "," << c.y;
    }
}

TEST(RunMark, TriangleNarrowsAfterColumnsNotDividedByThree) {
    QImage image(20, 30, QImage::Format_RGB32);
    image.fill(qRgb(255, 0, 0));
    EXPECT_EQ(drawRunMark(2, 2, image, 10), 15);
    const QRgb back = qRgb(0, 32, 48), mark = qRgb(160, 255, 255), red = qRgb(255, 0, 0);
    const struct {
        int x, y;
        QRgb colour;
    } pixels[] = {
        {1, 5, back},   {2, 1, back},  {2, 2, mark}, {2, 9, mark},  {2, 10, back}, // x = 2, rows 2..9
        {3, 2, back},   {3, 3, mark},  {3, 8, mark}, {3, 9, back},                 // x = 3 after one step
        {4, 3, mark},   {4, 8, mark},                                              // x = 3 keeps the rows
        {5, 3, back},   {5, 4, mark},  {5, 7, mark}, {5, 8, back},  {7, 5, mark},
        {7, 6, mark},   {7, 4, back},  {8, 5, back}, {14, 5, back}, // closed, then nothing
        {19, 13, back}, {19, 14, red}, {0, 29, red},                // filled to bottom + 3
    };
    for (const auto& p : pixels)
        EXPECT_EQ(image.pixel(p.x, p.y), p.colour) << p.x << "," << p.y;

    QImage indexed(10, 8, QImage::Format_Indexed8);
    indexed.fill(0);
    EXPECT_EQ(drawRunMark(-3, -1, indexed, 40), 5); // outside the image: clipped, never written
    EXPECT_EQ(indexed.depth(), 32);
    EXPECT_EQ(indexed.pixel(0, 0), back); // two steps taken left of the image
    EXPECT_EQ(indexed.pixel(0, 1), mark);
}

TEST(Choosers, RoutedToTheInstalledSink) {
    QString path = "shown first";
    QStringList drives{"/", "/home/"};
    EXPECT_FALSE(choosePath("*.acmd", "t", path));
    EXPECT_TRUE(path.isEmpty());
    EXPECT_FALSE(chooseDrives(drives));
    EXPECT_TRUE(drives.isEmpty());

    ScriptedChooserSink sink;
    ScopedChooserSink scoped(&sink);
    sink.paths = {"/w/a.acmd", ""};
    path = "/w/old.acmd";
    EXPECT_TRUE(choosePath("*.acmd", QStringLiteral("選択"), path, nullptr, "/home/"));
    EXPECT_EQ(path, "/w/a.acmd");
    EXPECT_FALSE(choosePath("", "folder", path)); // scripted cancel
    EXPECT_FALSE(choosePath("", "folder", path)); // script used up
    ASSERT_EQ(sink.pathRequests.size(), 3u);
    EXPECT_EQ(sink.pathRequests[0].shownFirst, "/w/old.acmd");
    EXPECT_EQ(sink.pathRequests[0].startFolder, "/home/");

    sink.driveAnswers = {{"/mnt/x/", "/"}, {}};
    drives = {"/", "/home/", "/mnt/x/"};
    EXPECT_TRUE(chooseDrives(drives));
    EXPECT_EQ(drives, QStringList({"/", "/mnt/x/"})); // list order, offered drives only
    drives = {"/"};
    EXPECT_FALSE(chooseDrives(drives));
    drives = {"/", "/home/"};
    EXPECT_TRUE(chooseDrives(drives)); // script used up: all stay ticked
    EXPECT_EQ(drives.size(), 2);
}

TEST(MousePointer, SetAndMove) {
    setCursor(100, 100);
    moveCursor(5, -3);
    EXPECT_EQ(QCursor::pos(), QPoint(105, 97));
}

} // namespace
