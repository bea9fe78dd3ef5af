// The work window's interaction on the offscreen platform: hover zones and their panels, the
// run button of a work that ran before, float and dock, full and list size, the game pad and
// dragging by the frame.
#include "LoopbackHttpServer.h"
#include "TestKestoHost.h"
#include "TestSupport.h"
#include "common/ShowCheck.h"
#include "work/KestoGamePad.h"
#include "work/KestoTitlePlate.h"

#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A 400 x 300 work (16-pixel frame) that keeps running: its program waits for ever.
const char* const kWork = "ANIME_SET:\r\ncanvas:center,400,300\r\nbgcolor:0,0,64\r\ncolor:1,255,255,0\r\n"
                          "DotPtn:box,4,4,10,40,0,0,0,1,1,4,4\r\n1111\r\n1111\r\n1111\r\n1111\r\nSET_END:\r\n"
                          "Wait:10000\r\nWait:10000\r\n";

class KestoWindowTest : public testing::Test {
protected:
    void SetUp() override {
        folder.write("work.acmd", kWork);
        host.gallery->show();
        window = std::make_unique<TFormKesto>(host);
        ASSERT_TRUE(window->openWork(folder.path() + "/", "work.acmd"));
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.gallery.get()));
    }
    void TearDown() override { window.reset(); }

    const TFormKesto::Panels& panels() { return window->panels(); }
    WorkRunner& runner() { return window->runner(); }

    // The mouse moved to (x, y) on the picture.
    void hover(int x, int y, Qt::MouseButtons buttons = Qt::NoButton) {
        QWidget* picture = panels().ImageAnime;
        const QPointF local(x, y);
        QMouseEvent move(QEvent::MouseMove, local, picture->mapToGlobal(local), Qt::NoButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(picture, &move);
    }
    void hoverCentre() {
        const QSize size = panels().ImageAnime->size();
        hover(size.width() / 2, size.height() / 2);
    }
    void hoverFloatZone() { hover(panels().ImageAnime->width() / 2, 10); }
    void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center()); }
    // The frame timer's ticks, without waiting for them.
    void frameTicks(int n) {
        for (int i = 0; i < n; ++i) runner().frameTick();
    }

    TempFolder folder;
    TestKestoHost host;
    std::unique_ptr<TFormKesto> window;
};

TEST_F(KestoWindowTest, OpensOnTheExhibitionAreaAtTheCanvasSizeWithThePictureOverhanging) {
    EXPECT_EQ(window->parentWidget(), host.area);
    EXPECT_FALSE(window->isFloating());
    EXPECT_EQ(window->size(), QSize(400, 300));
    EXPECT_EQ(panels().PanelAnime->geometry(), QRect(16, 16, 368, 268));
    EXPECT_EQ(panels().ImageAnime->geometry(), QRect(-20, -20, 408, 308));
    EXPECT_EQ(runner().view().displayWidth, 408);
    EXPECT_EQ(panels().PanelRun->geometry(), QRect(172, 122, 24, 24));
    EXPECT_TRUE(panels().PanelImg->isVisible()); // "準備中" covered
}

TEST_F(KestoWindowTest, HoverShowsTheRunPanelAndTheCountdownHidesIt) {
    hoverCentre();
    EXPECT_TRUE(panels().PanelRun->isVisible());
    EXPECT_TRUE(panels().ImageRun->isVisible()); // the triangle while idle
    EXPECT_EQ(window->hoveredZone(), 5);
    EXPECT_EQ(runner().interactionCountdown(), 50);
    EXPECT_EQ(host.lastCornerPanel, panels().PanelRun);

    runner().runProgram();
    hoverCentre();
    EXPECT_FALSE(panels().ImageRun->isVisible());
    EXPECT_EQ(panels().PanelRun->text(), QStringLiteral("■"));

    frameTicks(50);
    EXPECT_FALSE(panels().PanelRun->isVisible());
    EXPECT_EQ(host.lastCornerPanel, nullptr);
}

TEST_F(KestoWindowTest, OneDisplayNeverShowsCloseGoOutOrGoHome) {
    const QSize size = panels().ImageAnime->size();
    for (bool small : {false, true}) {
        runner().listPlace().smallInList = small;
        for (QPoint corner : {QPoint(5, 5), QPoint(size.width() - 5, 5), QPoint(size.width() - 5, size.height() - 5)}) {
            hover(corner.x(), corner.y());
            EXPECT_FALSE(panels().PanelClose->isVisible());
            EXPECT_FALSE(panels().PanelGoOut->isVisible());
            EXPECT_FALSE(panels().PanelGoHome->isVisible());
        }
    }
    host.neighbours = true;
    runner().listPlace().smallInList = false;
    hover(size.width() - 5, 5);
    EXPECT_TRUE(panels().PanelClose->isVisible());
    EXPECT_EQ(window->hoveredZone(), 3);
}

TEST_F(KestoWindowTest, CornerPanelOfAnotherWindowHidesWhenThisOneShowsOne) {
    TFormKesto other(host);
    ASSERT_TRUE(other.openWork(folder.path() + "/", "work.acmd"));
    hoverCentre();
    ASSERT_TRUE(panels().PanelRun->isVisible());
    const QSize size = other.panels().ImageAnime->size();
    QMouseEvent move(QEvent::MouseMove, QPointF(5, size.height() - 5), QPointF(), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(other.panels().ImageAnime, &move);
    EXPECT_TRUE(other.panels().PanelRenew->isVisible());
    EXPECT_FALSE(panels().PanelRun->isVisible());
}

TEST_F(KestoWindowTest, FirstRunClickTogglesAtOnceTheSecondGoesThroughTheHost) {
    hoverCentre();
    click(panels().ImageRun);
    EXPECT_TRUE(runner().running());
    EXPECT_TRUE(host.toggleRequests.empty());
    EXPECT_EQ(host.current, window.get());

    // Running, the panel shows "■"; its click is the second run click of this work.
    hoverCentre();
    click(panels().PanelRun);
    ASSERT_EQ(host.toggleRequests.size(), 1u);
    EXPECT_EQ(host.toggleRequests[0], window.get());
    EXPECT_TRUE(runner().running()); // the host toggles at its next step

    runner().breakProgram();
    runner().programTick();
    ASSERT_FALSE(runner().running());
    hoverCentre();
    click(panels().ImageRun);
    EXPECT_EQ(host.toggleRequests.size(), 2u); // a fresh start of a work that ran is the host's too
    EXPECT_FALSE(runner().running());
}

TEST_F(KestoWindowTest, RunImageMovesThePointerToTheTopBarTheRunPanelDoesNot) {
    host.pointerSpot = QPoint(700, 10);
    QCursor::setPos(5, 5);
    hoverCentre();
    click(panels().ImageRun);
    EXPECT_EQ(QCursor::pos(), QPoint(700, 10));
    QCursor::setPos(5, 5);
    hoverCentre();
    click(panels().PanelRun); // running: the panel without the triangle
    EXPECT_EQ(QCursor::pos(), QPoint(5, 5));
}

TEST_F(KestoWindowTest, SpaceGalleryTakesActivationWhileShown) {
    host.spaceGallery = true;
    window->activateWindow();
    EXPECT_EQ(host.spaceActivations.size(), 1u);
    EXPECT_TRUE(host.activations.empty());
    host.spaceGallery = false;
    window->activateWindow();
    EXPECT_EQ(host.activations.size(), 1u);
}

TEST_F(KestoWindowTest, FloatAndDockKeepTheWorkRunning) {
    host.worksPanel = QRect(0, 40, 500, 400);
    runner().runProgram();
    const int ticks = runner().programTicks();
    hoverFloatZone();
    ASSERT_TRUE(panels().PanelFree->isVisible());
    EXPECT_EQ(panels().PanelFree->text(), QStringLiteral("宙"));
    click(panels().PanelFree);
    EXPECT_TRUE(window->isFloating());
    EXPECT_TRUE(window->isWindow());
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(panels().PanelFree->text(), QStringLiteral("戻"));
    EXPECT_TRUE(runner().running());
    EXPECT_TRUE(window->timerProg().isActive());
    QTest::qWait(250); // the program timer still ticks
    EXPECT_GT(runner().programTicks(), ticks);

    hoverFloatZone();
    click(panels().PanelFree);
    EXPECT_FALSE(window->isFloating());
    EXPECT_EQ(window->parentWidget(), host.area);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(panels().PanelFree->text(), QStringLiteral("宙"));
    // Centred in the 1200 x 660 area (450, 168), then clear of the works panel (500 + 20).
    EXPECT_EQ(window->pos(), QPoint(520, 168));
    EXPECT_TRUE(runner().running());
    EXPECT_TRUE(window->timerProg().isActive());
}

TEST_F(KestoWindowTest, FullSizeAndBackToListSize) {
    host.neighbours = true;
    window->setZoom(50);
    window->move(20, 30);
    runner().listPlace().smallInList = true;
    EXPECT_EQ(window->size(), QSize(200, 150));

    window->goFullSize();
    EXPECT_EQ(runner().zoomPercent(), 100);
    EXPECT_EQ(window->size(), QSize(400, 300));
    EXPECT_EQ(window->pos(), QPoint(1200 - 400 - 50, 660 - 300 - 50));
    EXPECT_FALSE(runner().listPlace().smallInList);
    EXPECT_EQ(window->titlePlate()->y(), window->geometry().bottom() + 2); // the plate went below
    EXPECT_EQ(runner().interactionCountdown(), 100);
    EXPECT_EQ(host.current, window.get());

    window->goListSize();
    EXPECT_EQ(runner().zoomPercent(), 50);
    EXPECT_EQ(window->geometry(), QRect(20, 30, 200, 150));
    EXPECT_TRUE(runner().listPlace().smallInList);
    EXPECT_EQ(window->titlePlate()->geometry().bottom(), 30 - 2); // and above again
}

TEST_F(KestoWindowTest, ZoomBelowTenChangesNothing) {
    window->setZoom(9);
    EXPECT_EQ(window->size(), QSize(400, 300));
    EXPECT_EQ(panels().ImageAnime->geometry(), QRect(-20, -20, 408, 308));
    window->setZoom(10);
    EXPECT_EQ(window->size(), QSize(40, 30));
    // The bitmap is refitted (420 x 320 for a 42 x 32 display at 10 %) without moving the view.
    EXPECT_EQ(runner().view().picture.size(), QSize(420, 320));
    EXPECT_EQ(runner().view().shiftX, 0);
    EXPECT_EQ(runner().view().shiftY, 0);
}

TEST_F(KestoWindowTest, CanvasMaxFillsTheAreaAndALaterCanvasRestoresIt) {
    folder.write("max.acmd", "ANIME_SET:\r\ncanvas:max\r\nDotPtn:box,4,4,10,40,0,0,0,1,1,4,4\r\n1111\r\n1111\r\n"
                             "1111\r\n1111\r\nSET_END:\r\nWait:1\r\nANIME_ADD:\r\ncanvas:center,400,300\r\n"
                             "ADD_END:\r\nWait:10000\r\n");
    TFormKesto maximised(host);
    ASSERT_TRUE(maximised.openWork(folder.path() + "/", "max.acmd"));
    EXPECT_EQ(maximised.geometry(), host.area->rect());
    EXPECT_EQ(maximised.panels().PanelAnime->size(), host.area->size() - QSize(32, 32)) << "the picture is refitted";

    maximised.runner().runProgram();
    for (int i = 0; i < 400 && maximised.size() == host.area->size(); ++i) {
        maximised.runner().programTick();
        maximised.runner().frameTick();
    }
    EXPECT_EQ(maximised.size(), QSize(400, 300));
    EXPECT_EQ(maximised.parentWidget(), host.area);
}

TEST_F(KestoWindowTest, CloseClickHandsTheWindowToThePalette) {
    host.neighbours = true;
    hover(panels().ImageAnime->width() - 5, 5);
    ASSERT_TRUE(panels().PanelClose->isVisible());
    click(panels().PanelClose);
    EXPECT_EQ(host.closing, window.get());
    EXPECT_FALSE(window->timerKesto().isActive());
    EXPECT_EQ(runner().interactionCountdown(), 100);
    // The window about to close is not activated by a click on its picture.
    host.activations.clear();
    click(panels().ImageAnime);
    EXPECT_TRUE(host.activations.empty());
}

TEST_F(KestoWindowTest, GamePadStandsBesideTheWindowAndGivesKeys) {
    window->move(100, 100);
    window->toggleGamePad();
    KestoGamePad* pad = window->gamePad();
    ASSERT_TRUE(pad->isVisible());
    EXPECT_EQ(pad->parentWidget(), host.area);
    EXPECT_EQ(pad->pos(), QPoint(530, 262));
    EXPECT_EQ(runner().gameInput().key, GameKey::None);

    QTest::keyClick(pad->editGame(), Qt::Key_Equal);
    EXPECT_EQ(runner().gameInput().key, GameKey::NextStage);
    QTest::keyClick(pad->editGame(), Qt::Key_Minus);
    EXPECT_EQ(runner().gameInput().key, GameKey::PreviousStage);
    QTest::mouseClick(pad->button(GameKey::Left), Qt::LeftButton);
    EXPECT_EQ(runner().gameInput().key, GameKey::Left);
    QTest::mouseClick(pad->button(GameKey::Undo), Qt::LeftButton);
    EXPECT_EQ(runner().gameInput().key, GameKey::Undo);

    // Hovering the picture does nothing while the pad is shown; a run start hides it.
    hoverCentre();
    EXPECT_FALSE(panels().PanelRun->isVisible());
    runner().runProgram();
    EXPECT_FALSE(pad->isVisible());
}

TEST_F(KestoWindowTest, MouseOnThePictureIsRecordedForGames) {
    QTest::mousePress(panels().ImageAnime, Qt::LeftButton, {}, QPoint(30, 40));
    EXPECT_EQ(runner().gameInput().mouseDown, QPoint(30, 40));
    // A drag is in the picture's pixels like the press, so a game finds the same cell under both,
    // and it is recorded while the game pad is open too (the games read drags in play).
    hover(50, 60, Qt::LeftButton);
    EXPECT_EQ(runner().gameInput().mouseHeld, QPoint(50, 60));
    window->toggleGamePad();
    hover(70, 80, Qt::LeftButton);
    EXPECT_EQ(runner().gameInput().mouseHeld, QPoint(70, 80));
    hover(90, 90);
    EXPECT_EQ(runner().gameInput().mouseHeld, QPoint(70, 80)) << "only with the button held";
    QTest::mouseRelease(panels().ImageAnime, Qt::LeftButton, {}, QPoint(30, 40));
}

TEST_F(KestoWindowTest, DraggingTheFrameMovesTheWindow) {
    window->move(100, 100);
    QWidget* strip = panels().strips[0];
    const QPointF start(50, 5);
    QMouseEvent press(QEvent::MouseButtonPress, start, strip->mapToGlobal(start), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(strip, &press);
    const QPointF global = strip->mapToGlobal(start) + QPointF(30, -20);
    QMouseEvent move(QEvent::MouseMove, strip->mapFromGlobal(global), global, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(strip, &move);
    EXPECT_EQ(window->pos(), QPoint(130, 80));
    QMouseEvent release(QEvent::MouseButtonRelease, start, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(strip, &release);
    QMouseEvent after(QEvent::MouseMove, start, global + QPointF(40, 40), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(strip, &after);
    EXPECT_EQ(window->pos(), QPoint(130, 80)); // no drag after the release
}

TEST_F(KestoWindowTest, TitlePlateBelowTheWindowAndAboveAtListSize) {
    window->move(100, 100);
    window->setTitleText(QStringLiteral("星の海"));
    KestoTitlePlate* plate = window->titlePlate();
    EXPECT_EQ(plate->parentWidget(), host.area);
    EXPECT_TRUE(plate->isVisible());
    EXPECT_EQ(plate->geometry(), QRect(100 + (400 - 33) / 2, 401, 33, 26));
    window->setChartButton(4, true);
    EXPECT_EQ(plate->chartButton()->text(), QStringLiteral("★"));
    EXPECT_FALSE(plate->musicButton()->isVisible());
    // The buttons stand right of the title, not on it.
    EXPECT_EQ(plate->geometry(), QRect(100 + (400 - 57) / 2, 401, 57, 26));
    EXPECT_EQ(plate->chartButton()->geometry(), QRect(33, 0, 24, 24));
    EXPECT_EQ(plate->contentsRect().width(), 33);
    window->setMusicButtonVisible(true);
    EXPECT_TRUE(plate->musicButton()->isVisible());
    EXPECT_EQ(plate->width(), 33 + 48);
    EXPECT_EQ(plate->chartButton()->geometry(), QRect(33, 0, 24, 24));
    EXPECT_EQ(plate->musicButton()->geometry(), QRect(57, 0, 24, 24));
    QTest::mouseClick(plate->musicButton(), Qt::LeftButton);
    EXPECT_EQ(host.musicToggles, 1);

    host.neighbours = true;
    runner().listPlace().smallInList = true;
    hover(5, 100);
    EXPECT_EQ(plate->geometry(), QRect(101, 100 - 30 - 1, 398, 30));
    EXPECT_EQ(window->titlePlateCountdown(), 30);
    EXPECT_EQ(host.hovers, 1);
    EXPECT_EQ(window->shownFrameColor(), 0xE0FFFFu); // highlighted at list size
}

TEST_F(KestoWindowTest, ChartButtonShowsTheSymbolOfTheWorksChartKind) {
    KestoTitlePlate* plate = window->titlePlate();
    window->showChartButton();
    EXPECT_FALSE(plate->chartButton()->isVisible()) << "a work without a chart has no chart button";
    const struct {
        int kind;
        const char16_t* symbol;
    } cases[] = {{1, u"◆"}, {2, u"◇"}, {3, u"■"}, {4, u"□"}, {5, u"★"}, {6, u"▲"}, {7, u"●"}, {0, u"◆"}};
    const char* prefixes[] = {"what:", "http:", "file:", "text:", "html:", "imag:", "tbl0:", "exec:"};
    for (const auto& c : cases) {
        runner().setChart(
            std::make_unique<WorkChart>(metaChartInfo(QStringLiteral("400,300,0,") + prefixes[c.kind] + u'x')));
        window->showChartButton();
        EXPECT_TRUE(plate->chartButton()->isVisible()) << c.kind;
        EXPECT_EQ(plate->chartButton()->text(), QString::fromUtf16(c.symbol)) << c.kind;
    }
    runner().setChart(nullptr);
    window->showChartButton();
    EXPECT_FALSE(plate->chartButton()->isVisible());
}

TEST_F(KestoWindowTest, ALoneWindowsPlateIsWiderAndTheMusicPlayerStandsBesideIt) {
    QWidget player(host.area);
    player.resize(120, 26);
    host.musicPlayer = &player;
    window->move(100, 100);
    window->setTitleText(QStringLiteral("星の海"));
    KestoTitlePlate* plate = window->titlePlate();
    EXPECT_EQ(plate->width(), 33);
    window->setPlateCharacterWidth(TFormKesto::kLonePlateCharacterWidth);
    EXPECT_EQ(plate->geometry(), QRect(100 + (400 - 48) / 2, 401, 48, 26));
    EXPECT_EQ(player.pos(), QPoint(plate->geometry().right() + 1 + 8, 401));
    // The frame tick places the plate again: the lone window's width stays.
    frameTicks(64);
    EXPECT_EQ(plate->width(), 48);
    host.musicPlayer = nullptr;
}

TEST_F(KestoWindowTest, TitlePlateComesAndGoesWithTheWindow) {
    KestoTitlePlate* plate = window->titlePlate();
    ASSERT_TRUE(plate->isVisible());
    window->hide();
    EXPECT_FALSE(plate->isVisible());
    window->show();
    EXPECT_TRUE(plate->isVisible());
    window->setTitlePlateVisible(false);
    window->hide();
    window->show();
    EXPECT_FALSE(plate->isVisible()) << "a plate the gallery hid stays hidden";
}

TEST(KestoWindowFetch, AFetchedWorkHandsOutItsByteCount) {
    LoopbackHttpServer server;
    const QByteArray program(kWork);
    server.serve("/art/work.acmd", program);
    TestKestoHost host;
    TFormKesto window(host);
    uint32_t bytes = 1;
    ASSERT_TRUE(window.openWork(server.url("/art/"), "work.acmd", &bytes));
    EXPECT_EQ(bytes, uint32_t(program.size()));
    EXPECT_FALSE(window.runner().animation().characters.empty());

    RecordingCheckSink messages;
    ScopedCheckSink installed{&messages};
    EXPECT_FALSE(window.openWork(server.url("/art/"), "missing.acmd", &bytes));
    EXPECT_EQ(bytes, 0u);
    TempFolder folder;
    folder.write("work.acmd", kWork);
    bytes = 1;
    ASSERT_TRUE(window.openWork(folder.path() + "/", "work.acmd", &bytes));
    EXPECT_EQ(bytes, 0u) << "nothing was fetched";
}

} // namespace
