// The database table: column sorts with their ties and reverse toggles, narrowing step by step,
// clone counts that stay the view's own, marks, and the export text byte for byte.
#include "TestSupport.h"
#include "UniverseFixture.h"

#include "universe/DatabaseTable.h"
#include "universe/NodeText.h"

#include "common/BreakPoll.h"
#include "common/ShowCheck.h"
#include "common/TextCodec.h"

#include <QFile>
#include <functional>
#include <gtest/gtest.h>

namespace {

// /u
//   docs/            a.TXT (archive), b.txt, sub/ c.Txt (archive, read-only)
//   readme, A.txt (a clone of a.TXT: same folded name, size and hour), zeta.dat
class DatabaseTableTest : public testing::Test {
protected:
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
    treeInfo tree{QStringLiteral("/u"), QStringLiteral("/")};
    DatabaseTable table{tree, nullptr};

    void SetUp() override {
        add(1, "docs", 0, 20200101000000, KindGalaxy);
        add(2, "a.TXT", 30, 20200101100500, KindArchive);
        add(2, "b.txt", 10, 20200101104000, 0);
        add(2, "sub", 0, 20200101000000, KindGalaxy);
        add(3, "c.Txt", 30, 20200101100500, KindArchive | KindReadOnly);
        add(1, "readme", 10, 20190101000000, 0);
        add(1, "A.txt", 30, 20200101103000, 0);
        add(1, "zeta.dat", 20, 20210101000000, 0);
        tree.root()->kind = KindGalaxy;
        tree.rebuildLinks();
        tree.sumSizes();
        ASSERT_TRUE(table.refresh(DatabaseLook{}));
    }
    fileInfo* add(int depth, const char* name, uint64_t size, uint64_t stamp, int kind) {
        fileInfo* n = tree.appendNode(tree.lastNode(), depth, QString::fromUtf8(name));
        n->size = size;
        n->stamp = stamp;
        n->kind = static_cast<uint8_t>(kind);
        return n;
    }
    QStringList shown() const {
        QStringList names;
        for (std::size_t row = 0; row < table.shownCount(); ++row) names.append(table.star(row)->name());
        return names;
    }
    std::size_t rowOf(const QString& name) const {
        for (std::size_t row = 0; row < table.shownCount(); ++row)
            if (table.star(row)->name() == name) return row;
        ADD_FAILURE() << name.toStdString() << " is not shown";
        return 0;
    }
};

TEST_F(DatabaseTableTest, OneRowPerStarInListOrder) {
    EXPECT_EQ(table.totalCount(), 6u);
    EXPECT_EQ(shown(), QStringList({"a.TXT", "b.txt", "c.Txt", "readme", "A.txt", "zeta.dat"}));
    EXPECT_EQ(table.cellText(rowOf("c.Txt"), DbGalaxy), QStringLiteral("docs\\sub"));
    EXPECT_EQ(table.cellText(rowOf("readme"), DbGalaxy), QString());
    EXPECT_EQ(table.cellText(rowOf("c.Txt"), DbKind), QStringLiteral("A..R"));
    EXPECT_EQ(table.cellText(0, DbNumber), QStringLiteral("000001 "));
    EXPECT_EQ(table.cellText(0, DbClones), QString());
    EXPECT_EQ(table.positionText(0), QStringLiteral("星〔     0／     6／     6:0〕"));
}

struct SortCase {
    int column;
    int formatOptions;
    QStringList ascending; // the first sort; the second one gives `descending`
    QStringList descending;
};

TEST_F(DatabaseTableTest, EveryColumnSortsAndTheSecondSortReverses) {
    const std::vector<SortCase> cases = {
        {DbNumber, 0, {"a.TXT", "b.txt", "c.Txt", "readme", "A.txt", "zeta.dat"},
         {"zeta.dat", "A.txt", "readme", "c.Txt", "b.txt", "a.TXT"}},
        // Equal folded names fall to size, then the stamp.
        {DbName, 0, {"a.TXT", "A.txt", "b.txt", "c.Txt", "readme", "zeta.dat"},
         {"zeta.dat", "readme", "c.Txt", "b.txt", "A.txt", "a.TXT"}},
        // Extension format: names without "." first, then by extension, then name, then record order.
        {DbName, FormatExtension, {"readme", "zeta.dat", "a.TXT", "A.txt", "b.txt", "c.Txt"},
         {"c.Txt", "b.txt", "A.txt", "a.TXT", "zeta.dat", "readme"}},
        {DbNameBytes, 0, {"a.TXT", "b.txt", "c.Txt", "A.txt", "readme", "zeta.dat"},
         {"zeta.dat", "readme", "A.txt", "c.Txt", "b.txt", "a.TXT"}},
        // Equal sizes keep the record order, and its reverse when descending.
        {DbSize, 0, {"b.txt", "readme", "zeta.dat", "a.TXT", "c.Txt", "A.txt"},
         {"A.txt", "c.Txt", "a.TXT", "zeta.dat", "readme", "b.txt"}},
        {DbTime, 0, {"readme", "a.TXT", "c.Txt", "A.txt", "b.txt", "zeta.dat"},
         {"zeta.dat", "b.txt", "A.txt", "c.Txt", "a.TXT", "readme"}},
        {DbKind, 0, {"b.txt", "readme", "A.txt", "zeta.dat", "a.TXT", "c.Txt"},
         {"c.Txt", "a.TXT", "zeta.dat", "A.txt", "readme", "b.txt"}},
        // Counted first: a.TXT and A.txt have one clone each; ties by name, then time.
        {DbClones, 0, {"b.txt", "c.Txt", "readme", "zeta.dat", "a.TXT", "A.txt"},
         {"A.txt", "a.TXT", "zeta.dat", "readme", "c.Txt", "b.txt"}},
        // Galaxy lists element by element; an empty list (depth 1) first.
        {DbGalaxy, 0, {"readme", "A.txt", "zeta.dat", "a.TXT", "b.txt", "c.Txt"},
         {"c.Txt", "b.txt", "a.TXT", "zeta.dat", "A.txt", "readme"}},
    };
    for (const SortCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "column " << c.column << " options " << c.formatOptions);
        ASSERT_TRUE(table.refresh(DatabaseLook{0, c.formatOptions, 24}));
        ASSERT_TRUE(table.sortColumn(c.column));
        EXPECT_EQ(shown(), c.ascending);
        EXPECT_EQ(table.sortToggle(c.column), 1);
        ASSERT_TRUE(table.sortColumn(c.column));
        EXPECT_EQ(shown(), c.descending);
        ASSERT_TRUE(table.sortColumn(c.column));
        EXPECT_EQ(shown(), c.ascending);
    }
    EXPECT_TRUE(sink.records.empty());
}

TEST_F(DatabaseTableTest, SortingTouchesOnlyTheShownRowsAndNarrowingUndoesIt) {
    table.setWildcard(QStringLiteral("*.txt"));
    ASSERT_TRUE(table.sortColumn(DbSize));
    EXPECT_EQ(shown(), QStringList({"b.txt", "a.TXT", "c.Txt", "A.txt"}));
    table.addSameValue(rowOf("A.txt"), DbSize);
    EXPECT_EQ(shown(), QStringList({"a.TXT", "c.Txt", "A.txt"}));
}

struct NarrowStep {
    const char* what;
    std::function<void(DatabaseTable&, std::size_t)> act; // given the row of `on`
    const char* on;
    QStringList expected;
    std::size_t criteria;
};

TEST_F(DatabaseTableTest, NarrowingStepByStep) {
    const auto same = [](int column) {
        return [column](DatabaseTable& t, std::size_t row) { t.addSameValue(row, column); };
    };
    const QStringList all = {"a.TXT", "b.txt", "c.Txt", "readme", "A.txt", "zeta.dat"};
    const std::vector<NarrowStep> steps = {
        {"same extension, folded", [](DatabaseTable& t, std::size_t r) { t.addSameExtension(r); }, "a.TXT",
         {"a.TXT", "b.txt", "c.Txt", "A.txt"}, 1},
        {"same size on top", same(DbSize), "a.TXT", {"a.TXT", "c.Txt", "A.txt"}, 2},
        {"same time on top", same(DbTime), "a.TXT", {"a.TXT", "c.Txt"}, 3},
        {"drop the last", [](DatabaseTable& t, std::size_t) { t.removeLastCriterion(); }, "a.TXT",
         {"a.TXT", "c.Txt", "A.txt"}, 2},
        {"drop all", [](DatabaseTable& t, std::size_t) { t.removeAllCriteria(); }, "a.TXT", all, 0},
        {"same folder layer: every star below docs", [](DatabaseTable& t, std::size_t r) { t.addSameFolder(r); },
         "a.TXT", {"a.TXT", "b.txt", "c.Txt"}, 1},
        {"same galaxy: only docs itself", same(DbGalaxy), "a.TXT", {"a.TXT", "b.txt"}, 2},
        {"drop all", [](DatabaseTable& t, std::size_t) { t.removeAllCriteria(); }, "a.TXT", all, 0},
        {"same name, folded", same(DbName), "A.txt", {"a.TXT", "A.txt"}, 1},
        {"drop the last", [](DatabaseTable& t, std::size_t) { t.removeLastCriterion(); }, "a.TXT", all, 0},
        {"same base name", [](DatabaseTable& t, std::size_t r) { t.addSameBase(r); }, "zeta.dat", {"zeta.dat"}, 1},
        {"drop the last", [](DatabaseTable& t, std::size_t) { t.removeLastCriterion(); }, "zeta.dat", all, 0},
        {"same base name, folded", [](DatabaseTable& t, std::size_t r) { t.addSameBase(r); }, "A.txt",
         {"a.TXT", "A.txt"}, 1},
        {"drop the last", [](DatabaseTable& t, std::size_t) { t.removeLastCriterion(); }, "a.TXT", all, 0},
        {"same name bytes", same(DbNameBytes), "readme", {"readme"}, 1},
        {"drop the last", [](DatabaseTable& t, std::size_t) { t.removeLastCriterion(); }, "readme", all, 0},
        {"same attributes", same(DbKind), "b.txt", {"b.txt", "readme", "A.txt", "zeta.dat"}, 1},
        {"the number column adds an empty criterion", same(DbNumber), "b.txt",
         {"b.txt", "readme", "A.txt", "zeta.dat"}, 2},
        {"wildcard on top of the criteria", [](DatabaseTable& t, std::size_t) { t.setWildcard(QStringLiteral("?*.TXT")); },
         "b.txt", {"b.txt", "A.txt"}, 2},
        {"drop all; the wildcard stays", [](DatabaseTable& t, std::size_t) { t.removeAllCriteria(); }, "b.txt",
         {"a.TXT", "b.txt", "c.Txt", "A.txt"}, 0},
        {"no criteria left: nothing to drop", [](DatabaseTable& t, std::size_t) { EXPECT_FALSE(t.removeLastCriterion()); },
         "b.txt", {"a.TXT", "b.txt", "c.Txt", "A.txt"}, 0},
        {"empty wildcard", [](DatabaseTable& t, std::size_t) { t.setWildcard(QString()); }, "b.txt", all, 0},
    };
    for (const NarrowStep& s : steps) {
        SCOPED_TRACE(s.what);
        s.act(table, rowOf(QString::fromUtf8(s.on)));
        EXPECT_EQ(shown(), s.expected);
        EXPECT_EQ(table.criterionCount(), s.criteria);
    }
}

TEST_F(DatabaseTableTest, CloneCountsAreTheViewsOwnAndCloneOnlyNeedsClones) {
    fileInfo* a = table.star(rowOf("a.TXT"));
    a->cloneCount = 7; // the tree window's count
    EXPECT_FALSE(table.setCloneOnly(true));
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, QStringLiteral("クローンはありません！"));
    EXPECT_EQ(sink.records[0].caption, QStringLiteral("クローンのみ表示"));

    table.addSameExtension(rowOf("a.TXT"));
    ASSERT_TRUE(table.countClones());
    EXPECT_TRUE(table.clonesComputed());
    EXPECT_EQ(shown(), QStringList({"a.TXT", "b.txt", "c.Txt", "A.txt"})); // narrowing applied again
    EXPECT_EQ(table.cellText(rowOf("a.TXT"), DbClones), QStringLiteral("   1"));
    EXPECT_EQ(table.cellText(rowOf("c.Txt"), DbClones), QStringLiteral("   0"));
    EXPECT_EQ(a->cloneCount, 7);

    EXPECT_TRUE(table.setCloneOnly(true));
    EXPECT_EQ(shown(), QStringList({"a.TXT", "A.txt"}));
    table.addSameValue(rowOf("A.txt"), DbClones);
    EXPECT_EQ(shown(), QStringList({"a.TXT", "A.txt"}));
    EXPECT_FALSE(table.setCloneOnly(false));
    EXPECT_EQ(shown(), QStringList({"a.TXT", "A.txt"})); // the count-1 criterion still holds

    ASSERT_TRUE(table.refresh(DatabaseLook{}));
    EXPECT_FALSE(table.clonesComputed());
    EXPECT_EQ(a->cloneCount, 7);
}

TEST_F(DatabaseTableTest, MarksAreTheNodesOwnAndRunsOfNames) {
    table.toggleMarks(3, 1); // b.txt, c.Txt, readme
    EXPECT_EQ(table.markedCount(), 3u);
    EXPECT_TRUE(table.star(rowOf("c.Txt"))->marks & MarkMarked);
    table.setWildcard(QStringLiteral("*.txt"));
    table.setShownMarks(false); // readme is not shown and keeps its mark
    EXPECT_EQ(table.markedCount(), 1u);
    table.setShownMarks(true);
    EXPECT_EQ(table.markedCount(), 5u);
    table.toggleMark(0);
    EXPECT_EQ(table.markedCount(), 4u);

    table.setWildcard(QString());
    ASSERT_TRUE(table.sortColumn(DbName)); // a.TXT A.txt b.txt c.Txt readme zeta.dat
    EXPECT_EQ(table.nextNameRun(0), 2u);
    EXPECT_EQ(table.nextNameRun(1), 2u);
    EXPECT_EQ(table.previousNameRun(2), 1u);
    EXPECT_EQ(table.previousNameRun(1), 1u); // the first run: stays
    EXPECT_EQ(table.nextNameRun(5), 5u);
    EXPECT_TRUE(table.sameAsNext(0, DbName));
    EXPECT_TRUE(table.sameAsNext(0, DbSize));
    EXPECT_FALSE(table.sameAsNext(0, DbTime));
}

TEST_F(DatabaseTableTest, ExportWritesHeaderAndShownRowsInDisplayOrder) {
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("ndb.txt"));
    table.addSameValue(rowOf("a.TXT"), DbSize);
    ASSERT_TRUE(table.sortColumn(DbTime));
    ASSERT_TRUE(table.sortColumn(DbTime)); // descending: A.txt, then a.TXT and c.Txt reversed
    ASSERT_TRUE(table.exportTo(path));
    const QString expected = QStringLiteral(
        "[星]名\tサイズ\t更新日時\t階層\t属性\t銀河\r\n"
        "A.txt\t30\t2020/01/01 10:30:00  \t1\t....  \t\r\n"
        "c.Txt\t30\t2020/01/01 10:05:00  \t3\tA..R  \tdocs\\sub\r\n"
        "a.TXT\t30\t2020/01/01 10:05:00  \t2\tA...  \tdocs\r\n");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), encodeCp932(expected));
    EXPECT_TRUE(sink.records.empty());
}

TEST_F(DatabaseTableTest, ExportAsksBeforeReplacingAndReportsAFailedWrite) {
    TempFolder folder;
    const QString path = folder.write(QStringLiteral("old.txt"), "old");
    table.addSameValue(rowOf("zeta.dat"), DbName);
    struct Case {
        int answer;
        bool written;
        QByteArray content;
    };
    const QByteArray fresh = encodeCp932(QStringLiteral(
        "[星]名\tサイズ\t更新日時\t階層\t属性\t銀河\r\nzeta.dat\t20\t2021/01/01 00:00:00  \t1\t....  \t\r\n"));
    for (const Case& c : {Case{0, false, "old"}, Case{-1, false, "old"}, Case{1, true, fresh}}) {
        SCOPED_TRACE(c.answer);
        sink.records.clear();
        sink.answers = {c.answer};
        EXPECT_EQ(table.exportTo(path), c.written);
        ASSERT_EQ(sink.records.size(), 1u);
        EXPECT_EQ(sink.records[0].text, QStringLiteral("上書きしますか？(Y/N)"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), c.content);
    }

    sink.records.clear();
    const QString missing = folder.file(QStringLiteral("no/such/folder/ndb.txt"));
    EXPECT_FALSE(table.exportTo(missing));
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, QStringLiteral("ＮＤＢデータを保存できませんでした！"));
    EXPECT_EQ(sink.records[0].caption, missing);
}

TEST_F(DatabaseTableTest, ExportFallsBackToUtf8WhenANameLeavesTheCodePage) {
    add(1, "ü€.txt", 1, 20200101000000, 0);
    tree.rebuildLinks();
    tree.sumSizes();
    ASSERT_TRUE(table.refresh(DatabaseLook{}));
    table.setWildcard(QStringLiteral("?€*"));
    TempFolder folder;
    const QString path = folder.file(QStringLiteral("ndb.txt"));
    ASSERT_TRUE(table.exportTo(path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("\xEF\xBB\xBF") + QStringLiteral("[星]名\tサイズ\t更新日時\t階層\t属性\t銀河\r\n"
                                                                           "ü€.txt\t1\t2020/01/01 00:00:00  \t1\t....  \t\r\n")
                                                              .toUtf8());
}

// A long export polls the break panel; a stop answered yes leaves the old file as it was, a
// stop answered no goes on.
TEST(DatabaseExportTest, StoppingALongExportKeepsTheOldFile) {
    RecordingCheckSink sink;
    ScopedCheckSink installed(&sink);
    treeInfo tree(QStringLiteral("/u"), QStringLiteral("/"));
    tree.root()->kind = KindGalaxy;
    for (std::size_t i = 0; i <= DatabaseTable::kProgressAbove; ++i) tree.appendNode(tree.lastNode(), 1, QStringLiteral("s"));
    tree.rebuildLinks();
    tree.sumSizes();
    FlagBreakPoll poll;
    DatabaseTable table(tree, &poll);
    ASSERT_TRUE(table.refresh(DatabaseLook{}));
    TempFolder folder;
    const QString path = folder.write(QStringLiteral("ndb.txt"), "old");
    const auto content = [&] {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };

    sink.answers = {1, 1}; // replace, then stop
    poll.flag = true;
    EXPECT_FALSE(table.exportTo(path));
    ASSERT_EQ(sink.records.size(), 2u);
    EXPECT_EQ(sink.records[1].text, QStringLiteral("書き出しを中止しますか？(Y/N)"));
    EXPECT_EQ(sink.records[1].caption, QStringLiteral("ＮＤＢデータ保存"));
    EXPECT_EQ(content(), QByteArray("old"));

    sink.records.clear();
    sink.answers = {1, 0}; // replace, then go on
    poll.flag = true;
    EXPECT_TRUE(table.exportTo(path));
    EXPECT_EQ(sink.records.size(), 2u);
    EXPECT_EQ(content().count("\r\n"), static_cast<qsizetype>(DatabaseTable::kProgressAbove + 2));
}

// Above 500 000 shown rows a sort asks first; only the answer 1 sorts, and a long sort shows its
// progress text (reverse on the second sort) and hides it again.
TEST(DatabaseSortQuestionTest, MoreThanHalfAMillionRowsAsk) {
    RecordingCheckSink sink;
    ScopedCheckSink installed(&sink);
    treeInfo tree(QStringLiteral("/u"), QStringLiteral("/"));
    tree.root()->kind = KindGalaxy;
    fileInfo* last = tree.root();
    for (std::size_t i = 0; i <= DatabaseTable::kAskAbove; ++i) {
        last = tree.appendNode(last, 1, QStringLiteral("s"));
        last->size = (i * 7919) % 1000; // many ties
    }
    tree.rebuildLinks();
    DatabaseTable table(tree, nullptr);
    QStringList progress;
    table.onProgress = [&](const QString& text) { progress.append(text); };
    ASSERT_TRUE(table.refresh(DatabaseLook{}));
    const auto sizesAscending = [&] {
        for (std::size_t row = 1; row < table.shownCount(); ++row) {
            const fileInfo* a = table.star(row - 1);
            const fileInfo* b = table.star(row);
            if (a->size > b->size || (a->size == b->size && table.recordOf(row - 1) > table.recordOf(row))) return false;
        }
        return true;
    };
    for (const int answer : {0, 2, -1}) {
        SCOPED_TRACE(answer);
        sink.records.clear();
        sink.answers = {answer};
        EXPECT_FALSE(table.sortColumn(DbSize));
        ASSERT_EQ(sink.records.size(), 1u);
        EXPECT_EQ(sink.records[0].text, QStringLiteral("時間かかります。続けますか？(Y/N)"));
        EXPECT_EQ(sink.records[0].caption, QStringLiteral(" サイズ で並べ替え"));
        EXPECT_EQ(table.recordOf(0), 0u);
        EXPECT_EQ(table.sortToggle(DbSize), 0);
    }
    EXPECT_TRUE(progress.isEmpty());
    sink.answers = {1, 1};
    ASSERT_TRUE(table.sortColumn(DbSize));
    EXPECT_TRUE(sizesAscending());
    ASSERT_TRUE(table.sortColumn(DbSize));
    EXPECT_EQ(table.star(0)->size, 999u);
    EXPECT_EQ(progress, QStringList({QStringLiteral(" サイズ で並べ替え中......."), QString(),
                                     QStringLiteral(" サイズ で並べ替え中（逆順）......."), QString()}));
}

} // namespace
