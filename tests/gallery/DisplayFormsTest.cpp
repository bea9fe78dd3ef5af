#include "gallery/DisplayBoard.h"
#include "gallery/TFormDisplay.h"
#include "common/TFormDoing.h"

#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>
#include <memory>

TEST(DisplayBoard, CurtainHasEightPixelSquares) {
    const QImage image = DisplayBoard::curtain(QSize(16, 16));
    const struct {
        int x, y;
        uint32_t colour;
    } pixels[] = {{0, 0, 0xD0A0A0}, {7, 7, 0xD0A0A0}, {8, 0, 0xA0D0A0}, {0, 8, 0xA0D0A0},
                  {15, 15, 0xA0D0A0}, {8, 7, 0xA0D0A0}};
    for (const auto& p : pixels) EXPECT_EQ(rgbToBgr(image.pixel(p.x, p.y)), p.colour) << p.x << "," << p.y;
    EXPECT_TRUE(DisplayBoard::curtain(QSize(0, 0)).isNull());
}

TEST(DisplayBoard, PlacementByHost) {
    const struct {
        DisplayBoard::Host host;
        QRect form;
        int alpha;
    } cases[] = {
        {DisplayBoard::Host::Desktop, QRect(QPoint(120, 258), DisplayBoard::kDesignSize), 224},
        {DisplayBoard::Host::Gallery, QRect(QPoint(12, 24), DisplayBoard::kDesignSize), 224},
        {DisplayBoard::Host::Work, QRect(0, 0, 900, 500), 64},
    };
    for (const auto& c : cases) {
        DisplayBoard board;
        board.show(c.host, QPoint(100, 200), QSize(900, 500));
        EXPECT_TRUE(board.visible());
        EXPECT_EQ(board.formRect(), c.form);
        EXPECT_EQ(board.alpha(), c.alpha);
        // the text panel: 40 narrower than the form, centred, its bottom 100 above the form's
        const QRect panel = board.panelRect();
        EXPECT_EQ(panel.width(), c.form.width() - 40);
        EXPECT_EQ(panel.left(), 20);
        EXPECT_EQ(panel.bottom() + 1, c.form.height() - 100);
    }
    DisplayBoard board;
    board.show(DisplayBoard::Host::Work, {}, QSize(900, 500));
    board.resize(QSize(900, 500)); // no change: the panel stays
    EXPECT_EQ(board.panelRect().bottom() + 1, 400);
    board.resize(QSize(800, 300));
    EXPECT_EQ(board.panelRect(), QRect(20, 300 - 50 - 80, 760, 80));
}

TEST(DisplayBoard, SlidesUpAndReturnsToTheGallery) {
    DisplayBoard board;
    board.setTextSize(28);
    board.show(DisplayBoard::Host::Work, {}, QSize(400, 40));
    int ticks = 0;
    while (board.slideTick(10)) ++ticks;
    EXPECT_EQ(ticks, 3); // 0, -16, -32, -48: up while the top is above minus the height (40)
    EXPECT_FALSE(board.visible());
    EXPECT_EQ(board.textSize(), 36);
    EXPECT_EQ(board.host(), DisplayBoard::Host::Gallery);
    EXPECT_FALSE(board.slideTick(10));

    board.show(DisplayBoard::Host::Gallery, {}, {});
    while (board.slideTick(0)) {}
    EXPECT_EQ(board.host(), DisplayBoard::Host::Desktop); // a gallery at the screen's top edge
}

TEST(TFormDisplay, AnnouncementOverAWorkWindowCoversItHalfTransparent) {
    QWidget gallery;
    gallery.setGeometry(50, 60, 1264, 715);
    QWidget work(&gallery);
    work.setGeometry(30, 70, 640, 480);
    QPalette red = work.palette();
    red.setColor(QPalette::Window, QColor(200, 40, 40));
    work.setPalette(red);
    work.setAutoFillBackground(true);
    auto display = std::make_unique<TFormDisplay>(&gallery);
    display->setMessage(u"展示の準備中です"_qs, 28);
    display->setHost(&work);
    display->showBoard();
    EXPECT_EQ(display->parentWidget(), &work);
    EXPECT_EQ(display->geometry(), QRect(0, 0, 640, 480));
    EXPECT_EQ(display->board().alpha(), 64);
    EXPECT_EQ(display->board().textSize(), 28);
    EXPECT_TRUE(display->isVisibleTo(&gallery));
    EXPECT_EQ(display->board().panelRect().bottom() + 1, 380);
    // one blend of a quarter of the board over the work: the work stays clearly visible
    const QColor seen = work.grab().toImage().pixelColor(15, 15);
    // (a lavender square of the curtain, RGB A0 A0 D0, lies there)
    EXPECT_NEAR(seen.red(), (200 * 191 + 0xA0 * 64) / 255, 6);
    EXPECT_NEAR(seen.green(), (40 * 191 + 0xA0 * 64) / 255, 6);
    EXPECT_NEAR(seen.blue(), (40 * 191 + 0xD0 * 64) / 255, 6);

    int ticks = 0;
    while (display->slideTick()) ++ticks;
    EXPECT_EQ(ticks, 30);
    EXPECT_FALSE(display->isVisibleTo(&gallery));
    EXPECT_EQ(display->parentWidget(), &gallery);
    EXPECT_EQ(display->host(), &gallery);
    EXPECT_EQ(display->board().textSize(), 36);

    display->setMessage(u"「アトリエ」に入室します。"_qs);
    display->showBoard();
    EXPECT_EQ(display->pos(), QPoint(12, 24));
    EXPECT_EQ(display->board().alpha(), 224);
}

TEST(TFormDisplay, OnTheDesktopItIsAWindowNearTheGallery) {
    QWidget gallery;
    gallery.setGeometry(50, 60, 1264, 715);
    auto display = std::make_unique<TFormDisplay>(&gallery);
    display->setHost(nullptr);
    display->setMessage(u"展示を始めます"_qs);
    display->showBoard();
    EXPECT_TRUE(display->isWindow());
    EXPECT_EQ(display->pos(), gallery.geometry().topLeft() + QPoint(20, 58));
    EXPECT_NEAR(display->windowOpacity(), 224 / 255.0, 0.01);
}

TEST(TFormDoing, ShowsCentredWithAlignmentAndBreaks) {
    QWidget grid;
    grid.resize(1000, 600);
    QWidget other;
    other.resize(700, 300);
    TFormDoing doing(&grid);
    const struct {
        int alignment;
        Qt::Alignment horizontal;
    } cases[] = {{0, Qt::AlignHCenter}, {1, Qt::AlignLeft}, {2, Qt::AlignRight}, {-1, Qt::AlignRight}};
    for (const auto& c : cases) {
        doing.showProgress(u"コピー中"_qs, c.alignment);
        EXPECT_EQ(doing.messagePanel()->alignment() & Qt::AlignHorizontal_Mask, c.horizontal) << c.alignment;
    }
    EXPECT_EQ(doing.parentWidget(), &grid);
    EXPECT_EQ(doing.geometry(), QRect(200, 32, 600, 40));
    EXPECT_EQ(doing.messagePanel()->text(), u"コピー中"_qs);

    doing.showProgress(u"削除中"_qs, 1, &other);
    EXPECT_EQ(doing.parentWidget(), &other);
    EXPECT_EQ(doing.geometry(), QRect(50, 32, 600, 40));
    doing.setCount(u"12 / 40"_qs);
    EXPECT_EQ(doing.countPanel()->text(), u"12 / 40"_qs);

    EXPECT_FALSE(doing.breakRequested());
    doing.breakButton()->click();
    EXPECT_TRUE(doing.breakRequested());
    EXPECT_FALSE(doing.breakRequested()); // one request, one answer
    doing.breakButton()->click();
    doing.showProgress(u"次"_qs, 0); // a new operation starts without the old request
    EXPECT_FALSE(doing.breakRequested());
}
