// The database view: 100 000 rows shown through the item model, header clicks that sort and
// reverse, keys, the tree window's entry that opens it and rebuilds it with the tree, docking and
// floating with the tree window, deletion that keeps the tree and the view in step, and the
// colours of the grid.
#include "TestSupport.h"

#include "universe/FdbCellDelegate.h"
#include "universe/FdbModel.h"
#include "universe/TFormFdb.h"
#include "universe/TFormNebu.h"

#include "common/ShowCheck.h"
#include "common/TFormDoing.h"

#include <QApplication>
#include <QHeaderView>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QSpinBox>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTableView>
#include <QWindow>
#include <gtest/gtest.h>

namespace {

// Saves a picture of the widget when VIMORA_FDB_SHOTS names a folder.
void shot(QWidget& w, const char* name) {
    const QString shots = qEnvironmentVariable("VIMORA_FDB_SHOTS");
    if (!shots.isEmpty()) w.grab().save(shots + u'/' + QString::fromUtf8(name) + QStringLiteral(".png"));
}

TEST(FdbWindowTest, HundredThousandRowsSortAndReverseFromTheHeader) {
    RecordingCheckSink sink;
    ScopedCheckSink installed(&sink);
    treeInfo tree(QStringLiteral("/u"), QStringLiteral("/"));
    tree.root()->kind = KindGalaxy;
    constexpr int kGalaxies = 100, kStars = 1000;
    fileInfo* last = tree.root();
    for (int g = 0; g < kGalaxies; ++g) {
        last = tree.appendNode(last, 1, QStringLiteral("g%1").arg(g, 3, 10, QChar(u'0')));
        last->kind = KindGalaxy;
        for (int s = 0; s < kStars; ++s) {
            last = tree.appendNode(last, 2, QStringLiteral("s%1.txt").arg((g * 7919 + s * 104729) % 100000));
            last->size = static_cast<uint64_t>((s * 37) % 5000);
            last->stamp = 20200101000000ULL + static_cast<uint64_t>(s % 60);
        }
    }
    tree.rebuildLinks();
    tree.sumSizes();

    TFormFdb view(nullptr);
    view.refreshDatabase(tree, DatabaseLook{});
    view.resize(1000, 600);
    view.show();
    QAbstractItemModel* model = view.grid()->model();
    ASSERT_EQ(model->rowCount(), kGalaxies * kStars);
    EXPECT_EQ(model->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral(" サイズ"));
    EXPECT_EQ(model->data(model->index(1, 7)).toString(), QStringLiteral("g000"));
    QCoreApplication::processEvents();
    shot(view, "fdb_100k");

    QHeaderView* header = view.grid()->horizontalHeader();
    const auto sizeAt = [&](int row) { return view.table()->star(static_cast<std::size_t>(row))->size; };
    emit header->sectionClicked(DbSize);
    // The progress box told of the long sort and went away again.
    EXPECT_EQ(view.progressBox()->messagePanel()->text(), QStringLiteral(" サイズ で並べ替え中......."));
    EXPECT_FALSE(view.progressBox()->isVisible());
    EXPECT_EQ(sizeAt(0), 0u);
    EXPECT_EQ(sizeAt(kGalaxies * kStars - 1), 4995u);
    for (int row = 1; row < model->rowCount(); ++row) ASSERT_LE(sizeAt(row - 1), sizeAt(row)) << row;
    emit header->sectionClicked(DbSize);
    EXPECT_EQ(sizeAt(0), 4995u);
    EXPECT_EQ(model->data(model->index(0, 3)).toString().trimmed(), QStringLiteral("4,995"));
    QCoreApplication::processEvents();
    shot(view, "fdb_100k_by_size_reversed");

    // A press on the progress box's 中断 panel during a long export, answered yes, stops it and
    // leaves no file.
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("ndb.txt"));
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(5, 5), QPointF(5, 5), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::postEvent(view.progressBox()->breakButton(), press.clone());
    sink.answers = {1};
    EXPECT_FALSE(view.table()->exportTo(path));
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, QStringLiteral("書き出しを中止しますか？(Y/N)"));
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_FALSE(view.progressBox()->isVisible());
    sink.records.clear();

    // Keys on release: B to the last row, Space marks it, T back to the first.
    QKeyEvent b(QEvent::KeyRelease, Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));
    QApplication::sendEvent(&view, &b);
    EXPECT_EQ(view.grid()->currentIndex().row(), kGalaxies * kStars - 1);
    QKeyEvent space(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
    QApplication::sendEvent(&view, &space);
    EXPECT_EQ(view.table()->markedCount(), 1u);
    QKeyEvent t(QEvent::KeyRelease, Qt::Key_T, Qt::NoModifier, QStringLiteral("t"));
    QApplication::sendEvent(&view, &t);
    EXPECT_EQ(view.grid()->currentIndex().row(), 0);
    EXPECT_TRUE(view.positionText().startsWith(QStringLiteral("星〔     0／100000／100000:0〕")));
    EXPECT_TRUE(sink.records.empty());
}

TEST(FdbWindowTest, TheTreeWindowOpensTheViewAndRebuildsItWithTheTree) {
    RecordingCheckSink sink;
    ScopedCheckSink installed(&sink);
    TempFolder folder;
    for (const char* name : {"u/p1/a.txt", "u/p2/b.txt", "u/c.txt"}) folder.write(QString::fromUtf8(name), "x");
    QWidget dock;
    dock.resize(1100, 500);
    dock.show();
    QPointer<TFormNebu> w = new TFormNebu(folder.file(QStringLiteral("u")), folder.path() + u'/', QString(), &dock);
    w->show();
    ASSERT_TRUE(pumpUntil([&] { w->timerTick(); return !w->opening(); }));

    QAction* entry = nullptr;
    for (QAction* a : w->findChildren<QAction*>())
        if (a->text() == QStringLiteral("NDB (&D)")) entry = a;
    ASSERT_NE(entry, nullptr);
    entry->trigger();
    auto* view = w->findChild<TFormFdb*>();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(view->isVisible());
    ASSERT_NE(view->table(), nullptr);
    EXPECT_EQ(view->table()->totalCount(), 3u);
    QCoreApplication::processEvents();
    shot(*view, "fdb_from_nebu");

    // A new tree replaces the old nodes: the view follows instead of keeping stale rows.
    folder.write(QStringLiteral("u/p2/d.txt"), "y");
    w->openPath(folder.file(QStringLiteral("u")));
    ASSERT_TRUE(pumpUntil([&] { w->timerTick(); return !w->opening(); }));
    ASSERT_NE(view->table(), nullptr);
    EXPECT_EQ(view->table()->totalCount(), 4u);

    view->close();
    EXPECT_EQ(view->table(), nullptr);
    w->layoutTree(true); // a closed view is left alone
    EXPECT_EQ(view->table(), nullptr);
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// The "NDB (&D)" entry of a tree window's menus.
QAction* databaseEntry(TFormNebu& w) {
    for (QAction* a : w.findChildren<QAction*>())
        if (a->text() == QStringLiteral("NDB (&D)")) return a;
    return nullptr;
}

QPushButton* buttonNamed(QWidget& w, const QString& text) {
    for (QPushButton* b : w.findChildren<QPushButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

// A tree window docked in a work's panel over u/ a.txt (1 byte), b.txt (3), c.txt (3), d.txt (2).
class FdbDockTest : public testing::Test {
protected:
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
    TempFolder folder;
    QWidget dock;
    QPointer<TFormNebu> w;

    void SetUp() override {
        qputenv("XDG_DATA_HOME", (folder.path() + QStringLiteral("/xdg")).toUtf8());
        for (auto [name, bytes] : {std::pair{"u/a.txt", "1"}, {"u/b.txt", "333"}, {"u/c.txt", "333"}, {"u/d.txt", "22"}})
            folder.write(QString::fromUtf8(name), bytes);
        dock.resize(1100, 560);
        dock.show();
        w = new TFormNebu(folder.file(QStringLiteral("u")), folder.path() + u'/', QString(), &dock);
        w->show();
        ASSERT_TRUE(pumpUntil([&] { w->timerTick(); return !w->opening(); }));
    }
    void TearDown() override {
        if (!w) return;
        w->quit();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    TFormFdb* open() {
        QAction* entry = databaseEntry(*w);
        if (!entry) return nullptr;
        entry->trigger();
        QCoreApplication::processEvents();
        return w->findChild<TFormFdb*>();
    }
    QStringList shown(const TFormFdb& view) const {
        QStringList names;
        for (std::size_t row = 0; row < view.table()->shownCount(); ++row) names.append(view.table()->star(row)->name());
        return names;
    }
    QRect treeArea() const { return QRect(w->grid()->mapTo(w.data(), QPoint(0, 0)), w->grid()->size()); }
};

TEST_F(FdbDockTest, TheViewCoversTheTreeFloatsOutAndFollowsTheTreeWindow) {
    TFormFdb* view = open();
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(view->isVisible());
    EXPECT_FALSE(view->isFloating());
    EXPECT_EQ(view->parentWidget(), w.data());
    EXPECT_EQ(view->geometry(), treeArea());
    EXPECT_TRUE(view->positionTimer().isActive());
    shot(dock, "fdb_docked");

    QPushButton* floatButton = buttonNamed(*view, QStringLiteral("宙"));
    ASSERT_NE(floatButton, nullptr);
    EXPECT_EQ(floatButton->toolTip(), QStringLiteral("宙に飛び出す"));
    floatButton->click();
    pumpUntil([&] { return view->windowHandle() && view->windowHandle()->isExposed(); }, 2000);
    EXPECT_TRUE(view->isFloating());
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(floatButton->text(), QStringLiteral("戻"));
    EXPECT_EQ(floatButton->toolTip(), QStringLiteral("「NEBU」に戻る"));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    // (A small screen leaves the view as wide as its bands need.)
    EXPECT_EQ(view->width(), std::max(std::min(screen.width() - 160, 1280), view->minimumSizeHint().width()));
    EXPECT_NEAR(view->geometry().center().x(), screen.center().x(), 4); // halves of odd widths
    EXPECT_EQ(view->windowTitle(), QStringLiteral("HD宇宙データベース"));
    shot(*view, "fdb_floating");

    // The tree window floats out and back: the floating view stays open with its rows.
    for (int round = 0; round < 2; ++round) {
        w->toggleFloat();
        QCoreApplication::processEvents();
        EXPECT_TRUE(view->isVisible()) << round;
        EXPECT_TRUE(view->isFloating()) << round;
        ASSERT_NE(view->table(), nullptr);
        EXPECT_EQ(view->table()->totalCount(), 4u);
    }

    // Back over the tree, then the tree window floats: the docked view goes with it.
    floatButton->click();
    QCoreApplication::processEvents();
    EXPECT_FALSE(view->isFloating());
    EXPECT_EQ(floatButton->text(), QStringLiteral("宙"));
    w->toggleFloat();
    QCoreApplication::processEvents();
    EXPECT_TRUE(w->isFloating());
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->geometry(), treeArea());
    w->toggleFloat();
    QCoreApplication::processEvents();
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->geometry(), treeArea());

    // 閉じる: closed and freed; the next layout of the tree leaves it alone; the entry opens it again.
    buttonNamed(*view, QStringLiteral("閉じる"))->click();
    EXPECT_FALSE(view->isVisible());
    EXPECT_FALSE(view->positionTimer().isActive());
    EXPECT_EQ(view->table(), nullptr);
    w->layoutTree(true);
    EXPECT_EQ(view->table(), nullptr);
    EXPECT_EQ(open(), view);
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(view->table()->totalCount(), 4u);
    EXPECT_TRUE(sink.records.empty());
}

TEST_F(FdbDockTest, DeletingFromTheViewKeepsTheTreeAndTheSortedRowsInStep) {
    TFormFdb* view = open();
    ASSERT_NE(view, nullptr);
    view->sortColumn(DbSize);
    ASSERT_EQ(shown(*view), QStringList({"a.txt", "d.txt", "b.txt", "c.txt"}));
    view->grid()->setCurrentIndex(view->grid()->model()->index(2, DbName)); // b.txt

    sink.answers = {0};
    view->deleteDbStars();
    EXPECT_TRUE(QFileInfo::exists(folder.file(QStringLiteral("u/b.txt"))));
    EXPECT_EQ(shown(*view), QStringList({"a.txt", "d.txt", "b.txt", "c.txt"}));

    sink.records.clear();
    sink.answers = {1};
    view->deleteDbStars();
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, QStringLiteral("〔 b.txt 〕[星]を削除しますか？"));
    EXPECT_FALSE(QFileInfo::exists(folder.file(QStringLiteral("u/b.txt"))));
    // The view kept its sort; the tree lost the star and was laid out again.
    EXPECT_EQ(shown(*view), QStringList({"a.txt", "d.txt", "c.txt"}));
    EXPECT_EQ(view->grid()->model()->rowCount(), 3);
    EXPECT_EQ(view->grid()->currentIndex().row(), 2);
    QStringList inTree;
    const treeInfo& tree = w->model().tree();
    for (const fileInfo* n = tree.root(); n != tree.bottom(); n = n->next)
        if (!n->isGalaxy()) inTree.append(n->name());
    EXPECT_EQ(inTree, QStringList({"a.txt", "c.txt", "d.txt"}));

    // A layout the view did not ask for rebuilds it in the tree's order.
    w->layoutTree(false);
    EXPECT_EQ(shown(*view), inTree);
}

TEST_F(FdbDockTest, CurrentMarkedAndRunColoursAndTheLineHeight) {
    TFormFdb* view = open();
    ASSERT_NE(view, nullptr);
    view->sortColumn(DbSize); // a.txt 1, d.txt 2, b.txt 3, c.txt 3: b and c form a run of sizes
    QTableView* grid = view->grid();
    view->table()->toggleMark(0);
    view->table()->toggleMark(1);
    grid->setCurrentIndex(grid->model()->index(1, DbName));
    view->lineHeightBox()->setValue(2);
    EXPECT_EQ(view->lineHeightBox()->value(), 4);
    view->lineHeightBox()->setValue(30);
    EXPECT_EQ(grid->rowHeight(0), 30);
    QCoreApplication::processEvents();
    const QImage image = grid->viewport()->grab().toImage();
    const auto at = [&](int row, int column, int dx, int dy) {
        const QRect cell = grid->visualRect(grid->model()->index(row, column));
        return image.pixelColor(cell.left() + dx, cell.top() + dy);
    };
    EXPECT_EQ(at(0, DbName, 1, 1), FdbCellDelegate::kMarked);
    EXPECT_EQ(at(1, DbName, 1, 1), FdbCellDelegate::kMarkedCurrent);
    EXPECT_EQ(at(2, DbName, 1, 1), FdbCellDelegate::kGround);
    grid->setCurrentIndex(grid->model()->index(3, DbTime));
    QCoreApplication::processEvents();
    const QImage after = grid->viewport()->grab().toImage();
    const QRect current = grid->visualRect(grid->model()->index(3, DbTime));
    EXPECT_EQ(after.pixelColor(current.left() + 1, current.top() + 1), FdbCellDelegate::kCurrent);
    // The line under b.txt's size cell is grey (c.txt holds the same size); under its name it is not.
    const QRect size = grid->visualRect(grid->model()->index(2, DbSize));
    EXPECT_EQ(after.pixelColor(size.left() + 4, size.bottom()), FdbCellDelegate::kRunLine);
    const QRect name = grid->visualRect(grid->model()->index(2, DbName));
    EXPECT_EQ(after.pixelColor(name.left() + 4, name.bottom()), FdbCellDelegate::kGridLine);
    shot(*view, "fdb_colours");
}

TEST_F(FdbDockTest, TheLeftBandMovesByItsStepAndByRunsOfNames) {
    folder.write(QStringLiteral("u/B.txt"), "x"); // one name with b.txt, as names fold
    w->openPath(folder.file(QStringLiteral("u")));
    ASSERT_TRUE(pumpUntil([&] { w->timerTick(); return !w->opening(); }));
    TFormFdb* view = open();
    ASSERT_NE(view, nullptr);
    view->sortColumn(DbName); // a.txt B.txt b.txt c.txt d.txt
    const auto byTip = [&](const char* tip) {
        for (QPushButton* b : view->findChildren<QPushButton*>())
            if (b->toolTip() == QString::fromUtf8(tip)) return b;
        ADD_FAILURE() << tip;
        return static_cast<QPushButton*>(nullptr);
    };
    auto* step = view->findChild<QLineEdit*>();
    for (QLineEdit* e : view->findChildren<QLineEdit*>())
        if (e->toolTip() == QStringLiteral("▲▼で動く行数")) step = e;
    const auto row = [&] { return view->grid()->currentIndex().row(); };
    struct Move {
        const char* button;
        const char* step;
        int row;
    };
    const std::vector<Move> moves = {
        {"最後の行へ", "10", 4},   {"先頭の行へ", "10", 0},     {"行数だけ下へ", "3", 3},
        {"行数だけ下へ", "3", 4},  {"行数だけ上へ", "0", 0},    // 0 counts as 5, kept inside
        {"次の同名[星]の並びへ", "", 1}, {"次の同名[星]の並びへ", "", 3}, {"前の同名[星]の並びへ", "", 2},
        {"前の同名[星]の並びへ", "", 0},
    };
    for (const Move& m : moves) {
        SCOPED_TRACE(m.button);
        if (*m.step) step->setText(QString::fromUtf8(m.step));
        byTip(m.button)->click();
        EXPECT_EQ(row(), m.row);
    }
}

} // namespace
