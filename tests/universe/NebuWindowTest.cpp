// The tree window: a scan on a worker while the window stays live, its messages, float and dock,
// the float request count, keys from the keyboard and the close prompt.
#include "TestSupport.h"
#include "UniverseFixture.h"

#include "universe/NebuMenuCommands.h"
#include "universe/TFormLoad.h"
#include "universe/TFormNebu.h"

#include "common/Choosers.h"
#include "common/ShowCheck.h"

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QScrollBar>
#include <gtest/gtest.h>
#include <map>

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
    EXPECT_TRUE(w->animationBusy());
    int ticks = 0;
    while (w->isFloating() && ticks < 100) {
        w->timerTick();
        ++ticks;
    }
    EXPECT_EQ(ticks, 39); // 3 counts up to 41, then docks
    EXPECT_FALSE(w->animationBusy()); // the work may go on
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

// While a scan runs the bottom band shows the busy mark and the grid the busy cursor; both go
// when the tree has been taken over.
TEST_F(NebuWindowTest, TheBusyMarkLastsAsLongAsTheScan) {
    auto* w = new TFormNebu(folder.file(QStringLiteral("星座")), folder.path() + u'/', {}, &dock);
    w->show();
    ASSERT_TRUE(w->opening());
    EXPECT_TRUE(w->busyMark()->isVisible());
    EXPECT_EQ(w->grid()->viewport()->cursor().shape(), Qt::BusyCursor);
    w->waitForOpen();
    EXPECT_FALSE(w->opening());
    EXPECT_FALSE(w->busyMark()->isVisible());
    EXPECT_EQ(w->grid()->viewport()->cursor().shape(), Qt::ArrowCursor);
    delete w;
}

// The box at the top shows each key as it is played; a press on it drops the keys left.
TEST_F(NebuWindowTest, TheKeyCommandBoxShowsTheKeysAndAPressStopsThem) {
    QPointer<TFormNebu> w = openWindow(QStringLiteral("BsT"));
    QLabel* box = w->keyCommandBox();
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->width(), 420);
    EXPECT_EQ(box->y(), 0);
    for (int i = 0; i < 40 && w->cursor().gridRow() != 6; ++i) w->timerTick();
    EXPECT_EQ(w->cursor().gridRow(), 6);
    EXPECT_EQ(box->text(), "キーコマンドー実行中.......  [ B ]");
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), box->mapToGlobal(QPointF(5, 5)), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(box, &press);
    EXPECT_FALSE(box->isVisible());
    for (int i = 0; i < 40; ++i) w->timerTick();
    EXPECT_EQ(w->cursor().gridRow(), 6); // the Shift+T was dropped
    delete w;
}

// The hint to float the window out sits over the tree from tick 20 to tick 100, and only for a
// window docked in a work.
TEST_F(NebuWindowTest, TheHintBoxShowsForAWhileInADockedWindow) {
    QPointer<TFormNebu> w = openWindow();
    QLabel* hint = w->hintBox();
    for (int i = 0; i < 20 && !hint->isVisible(); ++i) w->timerTick();
    EXPECT_TRUE(hint->isVisible());
    EXPECT_TRUE(w->grid()->viewport()->rect().contains(hint->geometry()));
    EXPECT_TRUE(hint->text().startsWith("始めに、「宙」クリックで、キャンバスから出してください。"));
    for (int i = 0; i < 81; ++i) w->timerTick();
    EXPECT_FALSE(hint->isVisible());
    delete w;

    auto* floating = new TFormNebu(folder.file(QStringLiteral("星座")), folder.path() + u'/', {}, nullptr);
    floating->show();
    floating->waitForOpen();
    for (int i = 0; i < 30; ++i) floating->timerTick();
    EXPECT_FALSE(floating->hintBox()->isVisible());
    delete floating;
}

// A name drawn past the right edge brings the horizontal band; the scroll bar follows the
// current node to the right step by step and goes back to 0 when it lies left of the view.
TEST_F(NebuWindowTest, TheHorizontalBandFollowsTheCurrentNode) {
    folder.write(QStringLiteral("星座/銀河一/とても長い名前の星です.txt"), "1");
    dock.resize(360, 400);
    QPointer<TFormNebu> w = openWindow();
    NebuGrid* grid = w->grid();
    grid->look.indent = 40;
    auto paintAndTick = [&] {
        grid->viewport()->grab();
        w->timerTick();
    };
    paintAndTick();
    fileInfo* far = nullptr;
    for (fileInfo* n = w->model().tree().root(); n != w->model().tree().bottom(); n = n->next)
        if (n->name() == "とても長い名前の星です.txt") far = n;
    ASSERT_TRUE(far);
    while (w->cursor().current() != far && w->cursor().gridRow() < w->layout().rowCount() - 1)
        w->handleKey(Qt::Key_Down, Qt::NoModifier, {});
    ASSERT_EQ(w->cursor().current(), far);
    for (int i = 0; i < 60 && (far->drawRight + grid->horizontalOffset > grid->viewport()->width() - 10 || !grid->horizontalBandShown()); ++i)
        paintAndTick();
    EXPECT_TRUE(grid->horizontalBandShown());
    EXPECT_GT(grid->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(grid->horizontalOffset, -100 * grid->horizontalScrollBar()->value());
    EXPECT_LE(far->drawRight + grid->horizontalOffset, grid->viewport()->width() - 10);

    w->handleKey(Qt::Key_T, Qt::NoModifier, {});
    paintAndTick();
    EXPECT_EQ(grid->horizontalScrollBar()->value(), 0);
    EXPECT_EQ(grid->horizontalOffset, 0);
    w->layoutTree(true); // a full layout hides the band again
    EXPECT_FALSE(grid->horizontalBandShown());
    delete w;
}

// A scroll that leaves the cursor's row out of view (wheel, scroll bar, automatic scroll) brings
// the cursor to the nearest visible row on the next tick, and its node becomes current.
TEST_F(NebuWindowTest, TheCursorFollowsRowsScrolledOutOfView) {
    for (int i = 0; i < 60; ++i) folder.write(QStringLiteral("星座/多い/%1.txt").arg(i, 2, 10, QChar(u'0')), "1");
    dock.resize(600, 300);
    QPointer<TFormNebu> w = openWindow();
    NebuCursor& cursor = w->cursor();
    ASSERT_GT(w->layout().rowCount(), cursor.visibleRows() + 20);
    cursor.setTopRow(20);
    w->timerTick();
    EXPECT_EQ(cursor.topRow(), 20);
    EXPECT_EQ(cursor.gridRow(), 20);
    EXPECT_EQ(cursor.current(), w->layout().firstOfRow(20));
    cursor.setTopRow(0);
    w->timerTick();
    EXPECT_EQ(cursor.gridRow(), cursor.visibleRows() - 1);
    EXPECT_EQ(w->positionText(), QStringLiteral("%1／%2").arg(cursor.visibleRows(), 6).arg(w->layout().rowCount(), 6));
    delete w;
}

// The title bar's close of a floating window docks it again with its tree and cursor; 終了
// (key Q) closes it and asks about changed metadata. A window of its own closes at once.
TEST_F(NebuWindowTest, AFloatingWindowsCloseDocksAndQuitCloses) {
    QPointer<TFormNebu> w = openWindow();
    w->handleKey(Qt::Key_Down, Qt::NoModifier, {});
    fileInfo* current = w->cursor().current();
    w->toggleFloat();
    ASSERT_TRUE(w->isFloating());
    w->close();
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(w.isNull());
    EXPECT_EQ(w->parentWidget(), &dock);
    EXPECT_EQ(w->cursor().current(), current);
    EXPECT_TRUE(sink.records.empty());

    w->model().tree().metaChanged = true;
    sink.answers = {0};
    w->toggleFloat();
    w->handleKey(Qt::Key_Q, Qt::NoModifier, {});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, "メタデータを保存しますか？(Y/N)");

    QPointer<TFormNebu> own = new TFormNebu(folder.file(QStringLiteral("星座")), folder.path() + u'/', {}, nullptr);
    own->show();
    own->waitForOpen();
    own->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(own.isNull());
}

// Every item of the popup and the "表示" menu either acts or is disabled with a hint; none
// announces an action and does nothing.
TEST_F(NebuWindowTest, EveryMenuItemActsOrSaysItIsNotThereYet) {
    QPointer<TFormNebu> w = openWindow();
    QMenu popup;
    w->menuCommands().addPopupActions(popup);
    QMenu view;
    w->menuCommands().fillViewMenu(view);
    QList<QAction*> actions = popup.actions() + view.actions();
    for (int i = 0; i < actions.size(); ++i)
        if (actions[i]->menu()) actions += actions[i]->menu()->actions();
    int disabled = 0;
    for (QAction* a : actions) {
        if (a->isSeparator() || a->menu()) continue;
        SCOPED_TRACE(a->text().toStdString());
        if (!a->isEnabled()) {
            EXPECT_FALSE(a->toolTip().isEmpty() || a->toolTip() == a->text().remove(u'&'));
            ++disabled;
        }
    }
    EXPECT_GT(disabled, 0);
    delete w;
}

TEST_F(NebuWindowTest, TheViewCommandsOfThePopup) {
    folder.write(QStringLiteral("星座/空/無/x.txt"), "1"); // "空" holds no star within depth 2
    QPointer<TFormNebu> w = openWindow();
    NebuMenuCommands& menus = w->menuCommands();
    treeInfo& tree = w->model().tree();
    auto rowNames = [&] {
        QStringList names;
        for (int r = 0; r < w->layout().rowCount(); ++r) names << w->layout().firstOfRow(r)->name();
        return names;
    };
    const QStringList all = rowNames();
    ASSERT_TRUE(all.contains("空"));

    menus.toggleHideStarless();
    EXPECT_FALSE(rowNames().contains("空"));
    EXPECT_EQ(rowNames().size(), all.size() - 2); // "空" and its empty "無"
    menus.toggleHideStarless();
    EXPECT_EQ(rowNames(), all);

    // A mark on the current node, the cursor one row down; all marks cleared at once.
    fileInfo* first = w->cursor().current();
    menus.toggleMark();
    EXPECT_TRUE(first->marks & MarkMarked);
    EXPECT_EQ(w->cursor().gridRow(), 1);
    menus.toggleMark();
    menus.clearMarks();
    for (const fileInfo* n = tree.root(); n != tree.bottom(); n = n->next) EXPECT_FALSE(n->marks & MarkMarked);

    // The same name as the star wildcard: the star and the galaxies above it.
    while (w->cursor().current()->name() != "写真.jpg") ASSERT_TRUE(w->handleKey(Qt::Key_Down, Qt::NoModifier, {}));
    menus.sameNameSearch();
    EXPECT_EQ(rowNames(), QStringList({tree.root()->name(), "銀河一", "写真.jpg"}));
    w->setWildcard(false, {});

    // A star's galaxy becomes the top galaxy, on row 0.
    ASSERT_EQ(w->cursor().current()->name(), "写真.jpg");
    menus.currentToTop();
    EXPECT_EQ(tree.topGalaxy->name(), "銀河一");
    EXPECT_EQ(rowNames(), QStringList({"銀河一", "写真.jpg", "深い.txt"}));
    delete w;
}

// The hint of "宙" tells what a click does, docked and floating.
TEST_F(NebuWindowTest, TheFloatPanelsHintFollowsItsState) {
    QPointer<TFormNebu> w = openWindow();
    QLabel* panel = nullptr;
    for (QLabel* l : w->findChildren<QLabel*>())
        if (l->text() == "宙") panel = l;
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->toolTip(), "　キャンバスから宙に飛び出す　");
    w->toggleFloat();
    EXPECT_EQ(panel->text(), "戻");
    EXPECT_EQ(panel->toolTip(), "　キャンバスに戻る　");
    delete w;
}

// サイズ and 日　時 flip their own view bit, 属性 (and key A) all three at once; the three boxes
// then show bits 1, 2 and 4.
TEST_F(NebuWindowTest, TheAttributeBoxesFlipTheirViewBits) {
    QPointer<TFormNebu> w = openWindow();
    std::map<QString, QCheckBox*> boxes;
    for (QCheckBox* box : w->findChildren<QCheckBox*>()) boxes[box->text()] = box;
    ASSERT_EQ(boxes.size(), 3u);
    struct Step {
        const char* click; // a box, or "A" for the key
        int flags;
    };
    for (const Step step : {Step{"属性", 7}, Step{"サイズ", 6}, Step{"属性", 1}, Step{"日　時", 3}, Step{"A", 4}, Step{"A", 3}}) {
        SCOPED_TRACE(step.click);
        if (QString(step.click) == "A") w->handleKey(Qt::Key_A, Qt::NoModifier, {});
        else boxes.at(QString::fromUtf8(step.click))->click();
        EXPECT_EQ(w->grid()->look.viewFlags, step.flags);
        EXPECT_EQ(boxes.at("サイズ")->isChecked(), bool(step.flags & 1));
        EXPECT_EQ(boxes.at("日　時")->isChecked(), bool(step.flags & 2));
        EXPECT_EQ(boxes.at("属性")->isChecked(), bool(step.flags & 4));
    }
    delete w;
}

} // namespace
