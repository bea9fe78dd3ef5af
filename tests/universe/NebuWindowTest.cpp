// The tree window: a scan on a worker while the window stays live, its messages, float and dock,
// the float request count, keys from the keyboard and the close prompt.
#include "TestSupport.h"
#include "UniverseFixture.h"

#include "universe/TFormLoad.h"
#include "universe/TFormNebu.h"

#include "common/Choosers.h"
#include "common/ShowCheck.h"

#include <QPointer>
#include <gtest/gtest.h>

namespace {

class NebuWindowTest : public testing::Test {
protected:
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
    ScriptedChooserSink chooser;
    ScopedChooserSink chooserInstalled{&chooser};
    TempFolder folder;
    QWidget dock;

    void SetUp() override {
        folder.write(QStringLiteral("星座/銀河一/写真.jpg"), "12345");
        folder.write(QStringLiteral("星座/銀河一/深い.txt"), "1");
        folder.write(QStringLiteral("星座/メモ.txt"), "123");
        folder.write(QStringLiteral("星座/銀河二/a.txt"), "12");
        dock.resize(900, 500);
        dock.show();
    }

    // A docked window on the fixture's universe, shown and scanned.
    TFormNebu* openWindow(const QString& keys = {}) {
        auto* w = new TFormNebu(folder.file(QStringLiteral("星座")), folder.path() + u'/', keys, &dock);
        w->show();
        EXPECT_TRUE(pumpUntil([w] { w->timerTick(); return !w->opening(); }));
        return w;
    }
};

TEST_F(NebuWindowTest, ScanRunsOnAWorkerAndTheWindowShowsItsCounters) {
    QPointer<TFormNebu> w = openWindow();
    EXPECT_EQ(w->countersText(), "最深:2  検索 ( D=3 F=4 )  表示:7 ( D=3 F=4 )");
    EXPECT_EQ(w->layout().rowCount(), 7);
    EXPECT_EQ(w->positionText(), "     1／     7");
    EXPECT_FALSE(w->progressWindow()->isVisible());
    EXPECT_TRUE(sink.records.empty()) << sink.records[0].caption.toStdString() << ": " << sink.records[0].text.toStdString();
    EXPECT_EQ(w->geometry(), QRect(0, 0, 900, 500)); // fills the animation's panel

    // Keys as the keyboard gives them: down, keypad 1 (last row), "+" shows one level more.
    EXPECT_TRUE(w->handleKey(Qt::Key_Down, Qt::NoModifier, {}));
    EXPECT_EQ(w->cursor().current()->name(), "メモ.txt");
    EXPECT_TRUE(w->handleKey(Qt::Key_1, Qt::KeypadModifier, {}));
    EXPECT_EQ(w->cursor().gridRow(), 6);
    EXPECT_FALSE(w->handleKey(Qt::Key_1, Qt::NoModifier, {})); // only the keypad's 1
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull()); // freed when it closes
}

// A galaxy whose folder could not be listed is drawn in its own colour, so the user sees where
// the totals above it are low.
TEST_F(NebuWindowTest, AnUnreadableGalaxyIsDrawnInItsOwnColour) {
    QPointer<TFormNebu> w = openWindow();
    const auto unreadableColourShown = [&] {
        const QImage shot = w->grid()->viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < shot.height(); ++y)
            for (int x = 0; x < shot.width(); ++x)
                if (shot.pixel(x, y) == qRgb(255, 128, 96)) return true;
        return false;
    };
    EXPECT_FALSE(unreadableColourShown());
    fileInfo* galaxy = w->model().tree().lastNode();
    while (galaxy && !galaxy->isGalaxy()) galaxy = galaxy->prev;
    ASSERT_TRUE(galaxy);
    ASSERT_NE(galaxy, w->cursor().current());
    galaxy->marks |= MarkUnreadable;
    EXPECT_TRUE(unreadableColourShown());
    delete w;
}

TEST_F(NebuWindowTest, AMissingFolderIsReportedAndTheTreeStays) {
    QPointer<TFormNebu> w = openWindow();
    w->openPath(folder.file(QStringLiteral("無い")));
    ASSERT_TRUE(pumpUntil([&] { w->timerTick(); return !w->opening(); }));
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, "アクセスできません！ 検索を中止します。");
    EXPECT_EQ(w->layout().rowCount(), 7);
    delete w;
}

TEST_F(NebuWindowTest, FloatsOutAndDocksAgainOnRequestAndAfterTheCount) {
    QPointer<TFormNebu> w = openWindow();
    w->setFloatState(1);
    w->timerTick();
    EXPECT_TRUE(w->isFloating());
    EXPECT_TRUE(w->isWindow());
    EXPECT_EQ(w->floatState(), 2);
    w->timerTick();
    EXPECT_EQ(w->floatState(), 0);

    w->setFloatState(3);
    int ticks = 0;
    while (w->isFloating() && ticks < 100) {
        w->timerTick();
        ++ticks;
    }
    EXPECT_EQ(ticks, 39); // 3 counts up to 41, then docks
    EXPECT_EQ(w->parentWidget(), &dock);
    EXPECT_EQ(w->geometry(), QRect(0, 0, 900, 500));
    EXPECT_EQ(w->floatState(), 0);
    delete w;
}

TEST_F(NebuWindowTest, OnlyTheAnswerOneSavesChangedMetadataOnClose) {
    struct Case {
        int answer;
        bool chooserAsked;
    };
    for (const Case c : {Case{0, false}, Case{-1, false}, Case{2, false}, Case{1, true}}) {
        SCOPED_TRACE(c.answer);
        sink.records.clear();
        sink.answers = {c.answer};
        chooser.pathRequests.clear();
        QPointer<TFormNebu> w = openWindow();
        w->model().tree().metaChanged = true;
        w->close();
        ASSERT_EQ(sink.records.size(), 1u);
        EXPECT_EQ(sink.records[0].text, "メタデータを保存しますか？(Y/N)");
        EXPECT_EQ(sink.records[0].caption, "[星]のメタデータ保存");
        EXPECT_EQ(!chooser.pathRequests.empty(), c.chooserAsked);
        delete w;
    }
}

TEST_F(NebuWindowTest, KeyCommandsArePlayedAsKeys) {
    QPointer<TFormNebu> w = openWindow(QStringLiteral("BsuT"));
    auto tickUntil = [&](auto done) {
        for (int i = 0; i < 40 && !done(); ++i) w->timerTick();
        return done();
    };
    EXPECT_TRUE(tickUntil([&] { return w->cursor().gridRow() == 6; }));  // B
    EXPECT_TRUE(tickUntil([&] { return w->cursor().speed() == -1; }));   // "u" lowers the speed ("s" is ignored)
    EXPECT_TRUE(tickUntil([&] { return w->cursor().gridRow() == 0; }));  // T
    delete w;
}

TEST_F(NebuWindowTest, ABreakStopsTheWorkerAndItsMessageWaitsForTheWindow) {
    QString deep = QStringLiteral("深");
    for (int i = 0; i < 150; ++i) deep += QStringLiteral("/%1").arg(i);
    folder.write(deep + QStringLiteral("/終.txt"), "1");
    NebuOpenJob job(folder.file(QStringLiteral("深")), folder.path() + u'/', 999);
    job.requestBreak();
    job.wait();
    EXPECT_EQ(job.result(), 0);
    EXPECT_TRUE(sink.records.empty()); // recorded by the worker, not shown from it
    ASSERT_EQ(job.messages().size(), 1u);
    EXPECT_EQ(job.messages()[0].text, "検索が中断されました！");
    EXPECT_EQ(job.progress().stopping, "    中断の処理をしています!!!");
}

} // namespace
