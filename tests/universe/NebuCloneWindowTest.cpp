// The clone commands in the tree window: key Y with its message and the "C" panel, the inverted
// view, marking, deleting from the popup's command, and a new scan turning the view off.
#include "TestSupport.h"
#include "UniverseFixture.h"

#include "universe/NodeText.h"
#include "universe/TFormNebu.h"

#include "common/ShowCheck.h"

#include <QFile>
#include <QLabel>
#include <QPointer>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>

namespace {

class NebuCloneWindowTest : public testing::Test {
protected:
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
    TempFolder folder;
    QWidget dock;
    QPointer<TFormNebu> w;

    void SetUp() override {
        for (const char* name : {"u/p1/a.txt", "u/p2/a.txt", "u/p3/a.txt", "u/p4/a.txt", "u/p4/b.txt"}) {
            const QString path = folder.write(QString::fromUtf8(name), name[7] == 'b' ? "other" : "same bytes");
            const struct timespec times[2] = {{1714550700, 0}, {1714550700, 0}};
            ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
        }
        dock.resize(1100, 500);
        dock.show();
        w = new TFormNebu(folder.file(QStringLiteral("u")), folder.path() + u'/', QString(), &dock);
        w->show();
        ASSERT_TRUE(pumpUntil([this] { w->timerTick(); return !w->opening(); }));
    }
    void TearDown() override {
        if (w) w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QStringList shownStars() {
        QStringList out;
        treeInfo& tree = w->model().tree();
        for (fileInfo* n = tree.topGalaxy; n != tree.bottom(); n = n->nextShown)
            if (!n->isGalaxy()) out.append(n->parent->name() + u'/' + n->name());
        return out;
    }
    void shot(const QString& name) {
        const QString shots = qEnvironmentVariable("VIMORA_CLONE_SHOTS");
        if (!shots.isEmpty()) w->grab().save(shots + u'/' + name + QStringLiteral(".png"));
    }
};

TEST_F(NebuCloneWindowTest, KeyYCountsShowsOnlyClonesAndTheInversionShowsTheRest) {
    ASSERT_EQ(shownStars().size(), 5);
    EXPECT_TRUE(w->handleKey(Qt::Key_Y, Qt::NoModifier, QStringLiteral("y")));
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, "クローン（複製）数 4 種類（最大 3 個 [星]名 a.txt）");
    EXPECT_EQ(w->cloneCommands().panel()->text(), "C");
    EXPECT_EQ(shownStars(), QStringList({"p1/a.txt", "p2/a.txt", "p3/a.txt", "p4/a.txt"}));
    EXPECT_TRUE(w->grid()->look.viewFlags & ViewClones); // the clone count column is drawn
    shot(QStringLiteral("clone-view"));

    w->cloneCommands().toggleInverted();
    EXPECT_EQ(shownStars(), QStringList({"p4/b.txt"}));
    w->cloneCommands().toggleInverted();

    // Off and on again: the old counts at once, no second message.
    w->handleKey(Qt::Key_Y, Qt::NoModifier, QStringLiteral("y"));
    EXPECT_EQ(w->cloneCommands().panel()->text(), "");
    EXPECT_EQ(shownStars().size(), 5);
    w->handleKey(Qt::Key_Y, Qt::NoModifier, QStringLiteral("y"));
    EXPECT_EQ(shownStars().size(), 4);
    EXPECT_EQ(sink.records.size(), 1u);

    // A new scan has no counts: the view goes off.
    w->openPath(folder.file(QStringLiteral("u")));
    ASSERT_TRUE(pumpUntil([this] { w->timerTick(); return !w->opening(); }));
    EXPECT_EQ(w->cloneCommands().panel()->text(), "");
    EXPECT_EQ(w->layout().view.viewFlags & ViewClones, 0);
    EXPECT_EQ(shownStars().size(), 5);
}

TEST_F(NebuCloneWindowTest, MarkingAndDeletingWorkOnTheCurrentStar) {
    treeInfo& tree = w->model().tree();
    fileInfo* first = tree.root()->next->next;
    ASSERT_EQ(tree.treePath(first), folder.file(QStringLiteral("u/p1/a.txt")));
    w->cursor().setCurrent(first);
    w->cloneCommands().markCurrent();
    int marked = 0;
    for (fileInfo* n = tree.root(); n != tree.bottom(); n = n->next) marked += (n->marks & MarkMarked) != 0;
    EXPECT_EQ(marked, 4);

    w->handleKey(Qt::Key_Y, Qt::NoModifier, QStringLiteral("y"));
    sink.records.clear();
    sink.answers = {1};
    w->cloneCommands().deleteCurrent();
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, "[星](（a.txt）のクローン星を削除しますか？（前３個を残す）");
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("u/p4/a.txt"))));
    EXPECT_EQ(shownStars(), QStringList({"p1/a.txt", "p2/a.txt", "p3/a.txt"}));
    EXPECT_EQ(first->cloneCount, 2);
    EXPECT_EQ(w->cursor().current(), tree.topGalaxy);
    EXPECT_EQ(w->cursor().gridRow(), 0);
    shot(QStringLiteral("clone-deleted"));
}

} // namespace
