// Metadata pages in the tree window: a press on a mark, mouse-over, the tour on the window's
// timer, program pages (kept and ended, refused for fetched data), scrolling, editing, and the
// band's controls. Pages that need the web engine are in MetaWebTest.
#include "TestSupport.h"
#include "UniverseFixture.h"

#include "universe/FdbMetaBand.h"
#include "universe/NebuMetaBand.h"
#include "universe/TFormFdb.h"
#include "universe/TFormNebu.h"

#include "common/Platform.h"
#include "common/ShowCheck.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class MetaWindowTest : public testing::Test {
protected:
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
    TempFolder folder;
    QWidget dock;
    TFormNebu* nebu = nullptr;

    void SetUp() override {
        QStringList lines{u"0\t1\tmc\t0\t0"_qs};
        const char* rows[][2] = {
            {"plain", ""},
            {"sleeper", "100,100,0,exec:/bin/sleep 30"},
            {"picture", "120,80,0,imag:missing.png"},
            {"slow", "100,100,0,2,imag:missing.png"},
        };
        for (auto& r : rows)
            lines.append(u"1\t2\t%1\t1\t20100101000000"_qs.arg(QLatin1String(r[0])) + (*r[1] ? u"\t"_qs + QLatin1String(r[1]) : QString()));
        for (int i = 0; i < 60; ++i) lines.append(u"1\t2\tfiller%1\t1\t20100101000000"_qs.arg(i, 2, 10, QChar(u'0')));
        folder.write(u"chart.nebu"_qs, lines.join(u"\r\n"_qs).toUtf8());
        dock.resize(1000, 600);
        dock.show();
        nebu = new TFormNebu(folder.file(u"chart.nebu"_qs), folder.path() + u'/', {}, &dock);
        nebu->show();
        ASSERT_TRUE(pumpUntil([this] {
            nebu->timerTick();
            return nebu->treeReady();
        }));
        nebu->timer().stop(); // the test ticks by hand
        nebu->grid()->viewport()->repaint();
        sink.records.clear();
    }
    void TearDown() override { delete nebu; }

    fileInfo* node(const QString& name) {
        treeInfo& tree = nebu->model().tree();
        for (fileInfo* n = tree.root(); n != tree.bottom(); n = n->next)
            if (n->name() == name) return n;
        ADD_FAILURE() << name.toStdString();
        return tree.root();
    }
    QPoint markPoint(fileInfo* n) {
        const int row = nebu->layout().gridRow(n->row) - nebu->cursor().topRow();
        return QPoint(n->drawRight - 4 + nebu->grid()->horizontalOffset, row * nebu->grid()->rowHeight() + 4);
    }
    NebuMetaBand& band() { return nebu->metaBand(); }
};

TEST_F(MetaWindowTest, PressOnTheMarkOpensThePageAndScrollingClosesIt) {
    fileInfo* picture = node("picture");
    QTest::mouseClick(nebu->grid()->viewport(), Qt::LeftButton, {}, markPoint(picture) - QPoint(30, 0));
    EXPECT_EQ(band().page(), nullptr) << "left of the band";
    QTest::mouseClick(nebu->grid()->viewport(), Qt::LeftButton, {}, markPoint(picture));
    ASSERT_NE(band().page(), nullptr);
    TFormWebX* page = band().page();
    EXPECT_EQ(page->size(), QSize(120, 80));
    EXPECT_EQ(page->windowTitle(), u"picture〔120,80,0,imag:missing.png〕"_qs);
    EXPECT_EQ(page->parentWidget(), nebu->grid()->viewport());
    EXPECT_EQ(page->pos(), QPoint(picture->drawRight + 96, markPoint(picture).y() + 16));
    EXPECT_TRUE(page->isVisible());
    EXPECT_EQ(page->browser(), nullptr) << "a picture never starts the web engine";
    // The missing picture is reported.
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].caption, u"メタデータの画像を読み込めません！"_qs);
    EXPECT_EQ(nebu->cursor().current(), picture);
    // A Ctrl press marks and opens nothing; any press closes the page first.
    QTest::mouseClick(nebu->grid()->viewport(), Qt::LeftButton, Qt::ControlModifier, markPoint(picture));
    EXPECT_EQ(band().page(), nullptr);
    EXPECT_TRUE(picture->marks & MarkMarked);
    QTest::mouseClick(nebu->grid()->viewport(), Qt::LeftButton, {}, markPoint(picture));
    ASSERT_NE(band().page(), nullptr);
    nebu->grid()->verticalScrollBar()->setValue(3);
    EXPECT_EQ(band().page(), nullptr);
}

TEST_F(MetaWindowTest, MouseOverOpensWhenSwitchedOnAndCurrentWithoutMetadataCloses) {
    fileInfo* picture = node("picture");
    QTest::mouseMove(nebu->grid()->viewport(), markPoint(picture));
    EXPECT_EQ(band().page(), nullptr);
    nebu->toggleMetaHover();
    EXPECT_EQ(band().mousePanel()->text(), u"マウスON"_qs);
    QTest::mouseMove(nebu->grid()->viewport(), markPoint(picture) + QPoint(1, 0));
    ASSERT_NE(band().page(), nullptr);
    EXPECT_EQ(band().meta().tour().hover(), 20);
    EXPECT_EQ(nebu->cursor().current(), nebu->model().tree().root()) << "mouse-over does not move the cursor";
    // Making a node without metadata current closes the page.
    nebu->cursor().setCurrent(node("plain"));
    nebu->grid()->onCursorMoved();
    EXPECT_EQ(band().page(), nullptr);
    nebu->toggleMetaHover();
    EXPECT_EQ(band().mousePanel()->text(), u"マウスOFF"_qs);
}

TEST_F(MetaWindowTest, TourRunsOnTheTimerWithItsBoxAndDwell) {
    nebu->cursor().setCurrent(node("slow"));
    QTest::mouseClick(band().tourPanel(), Qt::LeftButton);
    EXPECT_EQ(band().meta().tour().state(), 2);
    EXPECT_TRUE(band().tourBox()->isVisible());
    EXPECT_TRUE(band().stopButton()->isEnabled());
    for (int t = 0; t < 5; ++t) nebu->timerTick();
    ASSERT_NE(band().page(), nullptr);
    EXPECT_EQ(band().page()->windowTitle(), u"slow〔100,100,0,2,imag:missing.png〕"_qs);
    EXPECT_EQ(band().tourName(), u"slow"_qs);
    EXPECT_EQ(band().tourMessage(), u"　　メタデータのツアー...10..."_qs);
    // Dwell 2 at the default speed: 100 ticks, then the next node without metadata.
    for (int t = 0; t < 99; ++t) nebu->timerTick();
    EXPECT_EQ(nebu->cursor().current(), node("slow"));
    EXPECT_NE(band().page(), nullptr);
    nebu->timerTick();
    EXPECT_EQ(nebu->cursor().current(), node("filler00"));
    EXPECT_EQ(band().page(), nullptr);
    band().stopButton()->click();
    EXPECT_EQ(band().meta().tour().state(), 0);
    EXPECT_FALSE(band().tourBox()->isVisible());
    EXPECT_FALSE(band().stopButton()->isEnabled());
    // The speed panel follows "▲" and "▼".
    band().meta().tour().slower();
    EXPECT_EQ(band().meta().tour().speedText(), u"6"_qs);
    // The float request 2 starts the tour.
    nebu->setFloatState(2);
    nebu->timerTick();
    EXPECT_EQ(band().meta().tour().state(), 2);
    nebu->toggleMetaTour();
    EXPECT_EQ(band().meta().tour().state(), 0);
}

TEST_F(MetaWindowTest, ProgramPageKeepsItsProcessUntilClosedAndFetchedDataStartsNone) {
    fileInfo* sleeper = node("sleeper");
    QTest::mouseClick(nebu->grid()->viewport(), Qt::LeftButton, {}, markPoint(sleeper));
    ASSERT_NE(band().page(), nullptr);
    const int process = band().page()->process();
    ASSERT_GT(process, 0) << (sink.records.empty() ? std::string() : sink.records[0].caption.toStdString());
    EXPECT_FALSE(band().page()->isVisible()) << "a program page stays out of sight";
    EXPECT_TRUE(processRunning(process));
    band().closeMetaPage();
    EXPECT_FALSE(processRunning(process));

    nebu->model().tree().fetched = true;
    QTest::mouseClick(nebu->grid()->viewport(), Qt::LeftButton, {}, markPoint(sleeper));
    ASSERT_NE(band().page(), nullptr);
    EXPECT_EQ(band().page()->process(), 0);
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, metaRefusedText());
    EXPECT_EQ(sink.records[0].caption, u"100,100,0,exec:/bin/sleep 30"_qs);
}

TEST_F(MetaWindowTest, EditingThroughTheInstalledEditorShowsTheMarkAndAsksOnClose) {
    MetaEditRequest asked;
    setMetadataEditor([&](QWidget* owner, const MetaEditRequest& r) {
        EXPECT_EQ(owner, nebu);
        asked = r;
        return MetaEditResult{true, true, u"200,100,0,text:new"_qs};
    });
    fileInfo* plain = node("plain");
    nebu->cursor().setCurrent(plain);
    sink.answers = {1};
    nebu->editMetadata();
    setMetadataEditor(nullptr);
    EXPECT_EQ(asked.caption, u"plainのメタデータ"_qs);
    ASSERT_TRUE(plain->meta);
    EXPECT_EQ(plain->meta->mark(), u"_■"_qs);
    EXPECT_TRUE(nebu->model().tree().metaChanged);
    nebu->grid()->viewport()->repaint();
    QTest::mouseClick(nebu->grid()->viewport(), Qt::LeftButton, {}, markPoint(plain));
    ASSERT_NE(band().page(), nullptr);
    EXPECT_EQ(band().page()->plan().target, metaTextPage(u"new"_qs));
    // Closing asks to save the changed metadata; "no" closes without writing.
    sink.records.clear();
    sink.answers = {0};
    nebu->quit();
    ASSERT_FALSE(sink.records.empty());
    EXPECT_EQ(sink.records.back().text, u"メタデータを保存しますか？(Y/N)"_qs);
    EXPECT_EQ(sink.records.back().caption, u"[星]のメタデータ保存"_qs);
    nebu = nullptr; // freed on close
}

TEST_F(MetaWindowTest, DatabaseViewHasItsOwnTourHoverAndPress) {
    TFormFdb view(nullptr);
    view.refreshDatabase(nebu->model().tree(), DatabaseLook{});
    view.resize(1000, 600);
    view.show();
    FdbMetaBand& meta = view.metaBand();
    QTableView* grid = view.grid();
    int pictureRow = -1;
    for (std::size_t r = 0; r < view.table()->shownCount(); ++r)
        if (view.table()->star(r)->name() == u"picture"_qs) pictureRow = int(r);
    ASSERT_GE(pictureRow, 0);
    grid->setCurrentIndex(grid->model()->index(pictureRow, 0));
    meta.toggleTour();
    EXPECT_EQ(meta.tour().state(), 2);
    EXPECT_TRUE(meta.tourBox()->isVisible());
    EXPECT_EQ(grid->currentIndex().column(), 1) << "the tour walks the name column";
    for (int t = 0; t < 5; ++t) meta.timerTick();
    ASSERT_NE(meta.page(), nullptr);
    EXPECT_EQ(meta.tourName(), u"picture"_qs);
    const QRect cell = grid->visualRect(grid->model()->index(pictureRow, 1));
    EXPECT_EQ(meta.page()->pos(), QPoint(qMin(cell.right() - 40 + 32, grid->viewport()->width() - 120 - 10), cell.top() + 16));
    // The database view keeps every page the speed alone: "slow" (dwell 2) after 50 ticks, then 50.
    for (int t = 0; t < 50; ++t) meta.timerTick();
    ASSERT_NE(meta.page(), nullptr);
    EXPECT_EQ(meta.tourName(), u"slow"_qs);
    for (int t = 0; t < 50; ++t) meta.timerTick();
    EXPECT_EQ(meta.tourName(), u"filler00"_qs);
    EXPECT_EQ(meta.page(), nullptr);
    // A press stops the tour and closes the page.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid->visualRect(grid->model()->index(0, 3)).center());
    EXPECT_EQ(meta.tour().state(), 0);
    EXPECT_FALSE(meta.tourBox()->isVisible());
    // Mouse-over just right of the name's end opens at the pointer and pauses.
    meta.toggleHover();
    EXPECT_EQ(meta.mousePanel()->text(), u"マウスON"_qs);
    const int nameEnd = cell.left() + grid->fontMetrics().horizontalAdvance(view.table()->cellText(std::size_t(pictureRow), 1));
    // (Moves are sent to the grid itself: the offscreen platform gives a pointer move to the
    // first window at the point, here the tree window's panel.)
    const auto moveTo = [grid](QPoint at) {
        QMouseEvent e(QEvent::MouseMove, at, grid->viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton, {});
        QApplication::sendEvent(grid->viewport(), &e);
    };
    moveTo(QPoint(nameEnd + 32, cell.center().y()));
    EXPECT_EQ(meta.page(), nullptr) << "32 pixels past the end is outside";
    moveTo(QPoint(nameEnd + 10, cell.center().y()));
    ASSERT_NE(meta.page(), nullptr);
    EXPECT_EQ(meta.tour().hover(), 20);
    EXPECT_TRUE(meta.timer().isActive());
    // Dragging the signal panel moves the metadata panel by the pointer's way.
    const QPoint before = meta.pos();
    QWidget* signal = meta.signalPanel();
    QTest::mousePress(signal, Qt::LeftButton, {}, QPoint(5, 5));
    QMouseEvent move(QEvent::MouseMove, QPointF(25, 15), signal->mapToGlobal(QPointF(25, 15)), Qt::NoButton, Qt::LeftButton, {});
    QApplication::sendEvent(signal, &move);
    QTest::mouseRelease(signal, Qt::LeftButton, {}, QPoint(25, 15));
    EXPECT_EQ(meta.pos(), before + QPoint(20, 10));
}

} // namespace
