// Metadata pages in the tree window: a press on a mark, mouse-over, the tour on the window's
// timer, program pages (kept and ended, refused for fetched data), scrolling, editing, and the
// band's controls. Pages that need the web engine are in MetaWebTest.
#include "TestSupport.h"
#include "UniverseFixture.h"

#include "universe/NebuMetaBand.h"
#include "universe/TFormNebu.h"

#include "common/Platform.h"
#include "common/ShowCheck.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
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
            {"picture", "120,80,0,imag:missing.png"},
            {"sleeper", "100,100,0,exec:/bin/sleep 30"},
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

} // namespace
