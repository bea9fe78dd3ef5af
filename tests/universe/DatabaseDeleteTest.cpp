// Deleting files from the database table: the question and its answers, marks counted over every
// record, a file changed behind the tree's back stopping the batch, and the rows that stay keeping
// their order while the deleted stars leave both the tree and the table.
#include "StarFixture.h"
#include "TestSupport.h"

#include "universe/DatabaseTable.h"
#include "universe/StarOperations.h"
#include "universe/TreeEdits.h"

#include "common/FileNameCodec.h"
#include "common/ShowCheck.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// /u: five.dat, four.txt, a/ one.txt three.dat two.txt (the scan's list order; sizes 1..5 bytes as
// the names count, so a size sort is fixed).
class DatabaseDeleteTest : public testing::Test {
protected:
    QTemporaryDir dir;
    QByteArray root;
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
    treeInfo tree{QString(), QStringLiteral("/")};
    DatabaseTable table{tree, nullptr};
    StarOperations ops{tree};

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = dir.path().toUtf8() + "/u";
        qputenv("XDG_DATA_HOME", dir.path().toUtf8() + "/xdg");
        ::mkdir(root.constData(), 0755);
        ::mkdir((root + "/a").constData(), 0755);
        writeBytes(root + "/a/one.txt", "1");
        writeBytes(root + "/a/two.txt", "22");
        writeBytes(root + "/a/three.dat", "333");
        writeBytes(root + "/four.txt", "4444");
        writeBytes(root + "/five.dat", "55555");
        ASSERT_EQ(scanWhole(tree, decodeFileName(root)), 1);
        ASSERT_TRUE(table.refresh(DatabaseLook{}));
    }
    QStringList shown() const {
        QStringList names;
        for (std::size_t row = 0; row < table.shownCount(); ++row) names.append(table.star(row)->name());
        return names;
    }
    std::size_t rowOf(const char* name) const {
        for (std::size_t row = 0; row < table.shownCount(); ++row)
            if (table.star(row)->name() == QLatin1String(name)) return row;
        ADD_FAILURE() << name << " is not shown";
        return 0;
    }
    void mark(const char* name) { table.toggleMark(rowOf(name)); }
    bool onDisk(const char* rel) const { return QFileInfo::exists(decodeFileName(root + rel)); }
    // The names of the tree's stars in list order.
    QStringList treeStars() const {
        QStringList names;
        for (const fileInfo* n = tree.root(); n != tree.bottom(); n = n->next)
            if (!n->isGalaxy()) names.append(n->name());
        return names;
    }
};

TEST_F(DatabaseDeleteTest, OnlyTheAnswerOneDeletes) {
    ASSERT_TRUE(table.sortColumn(DbSize));
    for (const int answer : {0, 2, -1}) {
        SCOPED_TRACE(answer);
        sink.records.clear();
        sink.answers = {answer};
        const StarResult result = table.deleteStars(ops, rowOf("two.txt"));
        EXPECT_EQ(result.done, 0);
        ASSERT_EQ(sink.records.size(), 1u);
        EXPECT_EQ(sink.records[0].text, QStringLiteral("〔 two.txt 〕[星]を削除しますか？"));
        EXPECT_TRUE(onDisk("/a/two.txt"));
        EXPECT_EQ(table.totalCount(), 5u);
    }

    // Without marks the current row goes; the sorted rows keep their order.
    sink.records.clear();
    sink.answers = {1};
    EXPECT_EQ(table.deleteStars(ops, rowOf("two.txt")).done, 1);
    EXPECT_FALSE(onDisk("/a/two.txt"));
    EXPECT_EQ(shown(), QStringList({"one.txt", "three.dat", "four.txt", "five.dat"}));
    EXPECT_EQ(treeStars(), QStringList({"five.dat", "four.txt", "one.txt", "three.dat"}));
    EXPECT_EQ(table.totalCount(), 4u);
    EXPECT_EQ(linkFaults(tree), "");
    // The table still sorts over what is left: the record order is the tree's again.
    ASSERT_TRUE(table.sortColumn(DbNumber));
    EXPECT_EQ(shown(), treeStars());
}

TEST_F(DatabaseDeleteTest, MarksCountOverHiddenRowsAndGoFromTheLastRecord) {
    mark("two.txt");
    mark("five.dat");
    mark("three.dat");
    table.setWildcard(QStringLiteral("*.dat")); // two.txt is marked but not shown
    ASSERT_TRUE(table.sortColumn(DbSize));
    ASSERT_TRUE(table.sortColumn(DbSize)); // five.dat, three.dat
    sink.answers = {1};
    const StarResult result = table.deleteStars(ops, 0);
    EXPECT_EQ(result.outcome, StarOutcome::Done);
    EXPECT_EQ(result.done, 3);
    ASSERT_EQ(sink.records.size(), 1u);
    // The question names the first marked record, whatever the display order.
    EXPECT_EQ(sink.records[0].text, QStringLiteral("〔 five.dat 〕マークした[星]( 3 個)を削除しますか？"));
    for (const char* rel : {"/a/two.txt", "/a/three.dat", "/five.dat"}) EXPECT_FALSE(onDisk(rel)) << rel;
    EXPECT_TRUE(shown().isEmpty());
    EXPECT_EQ(table.totalCount(), 2u);
    EXPECT_EQ(treeStars(), QStringList({"four.txt", "one.txt"}));
    table.setWildcard(QString());
    EXPECT_EQ(shown(), treeStars());
}

TEST_F(DatabaseDeleteTest, AFileChangedBehindTheTreeStopsTheBatch) {
    mark("one.txt");
    mark("four.txt");
    mark("five.dat");
    ::unlink((root + "/four.txt").constData()); // walked after one.txt, before five.dat
    sink.answers = {1};
    const StarResult result = table.deleteStars(ops, 0);
    EXPECT_EQ(result.outcome, StarOutcome::Failed);
    EXPECT_EQ(result.done, 1);
    ASSERT_EQ(sink.records.size(), 2u);
    EXPECT_TRUE(sink.records[1].text.contains(QStringLiteral("変わったか、なくなっています"))) << sink.records[1].text.toStdString();
    EXPECT_FALSE(onDisk("/a/one.txt"));
    EXPECT_TRUE(onDisk("/five.dat"));
    EXPECT_EQ(shown(), QStringList({"five.dat", "four.txt", "three.dat", "two.txt"}));
    EXPECT_EQ(treeStars(), shown());
}

TEST_F(DatabaseDeleteTest, CountedClonesAreCountedAgainAfterADeletion) {
    ::mkdir((root + "/b").constData(), 0755);
    writeBytes(root + "/b/one.txt", "1");
    QFile copy(decodeFileName(root + "/b/one.txt"));
    ASSERT_TRUE(copy.open(QIODevice::ReadWrite));
    ASSERT_TRUE(copy.setFileTime(QFileInfo(decodeFileName(root + "/a/one.txt")).lastModified(),
                                 QFileDevice::FileModificationTime));
    copy.close();
    treeInfo twins(QString(), QStringLiteral("/"));
    ASSERT_EQ(scanWhole(twins, decodeFileName(root)), 1);
    DatabaseTable t(twins, nullptr);
    StarOperations twinOps(twins);
    ASSERT_TRUE(t.refresh(DatabaseLook{}));
    ASSERT_TRUE(t.countClones());
    ASSERT_TRUE(t.setCloneOnly(true));
    ASSERT_EQ(t.shownCount(), 2u);
    sink.answers = {1};
    ASSERT_EQ(t.deleteStars(twinOps, 1).done, 1);
    EXPECT_EQ(t.shownCount(), 0u); // the one left has no clone now
    ASSERT_FALSE(t.setCloneOnly(false));
    ASSERT_EQ(t.totalCount(), 5u);
    for (std::size_t row = 0; row < t.shownCount(); ++row) EXPECT_EQ(t.cellText(row, DbClones), QStringLiteral("   0"));
}

} // namespace
