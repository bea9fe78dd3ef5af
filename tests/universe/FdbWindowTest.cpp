// The database view: 100 000 rows shown through the item model, header clicks that sort and
// reverse, keys, and the tree window's entry that opens it and rebuilds it with the tree.
#include "TestSupport.h"

#include "universe/FdbModel.h"
#include "universe/TFormFdb.h"
#include "universe/TFormNebu.h"

#include "common/ShowCheck.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPointer>
#include <QTableView>
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
    EXPECT_EQ(sizeAt(0), 0u);
    EXPECT_EQ(sizeAt(kGalaxies * kStars - 1), 4995u);
    for (int row = 1; row < model->rowCount(); ++row) ASSERT_LE(sizeAt(row - 1), sizeAt(row)) << row;
    emit header->sectionClicked(DbSize);
    EXPECT_EQ(sizeAt(0), 4995u);
    EXPECT_EQ(model->data(model->index(0, 3)).toString().trimmed(), QStringLiteral("4,995"));
    QCoreApplication::processEvents();
    shot(view, "fdb_100k_by_size_reversed");

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

} // namespace
