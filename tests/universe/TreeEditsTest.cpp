// The in-place tree edits after file operations: totals above the node, counters, sibling marks,
// depths, the top galaxy and the current node; and the marked set a batch works on.
#include "StarFixture.h"
#include "UniverseFixture.h"

#include "universe/StarOperations.h"
#include "universe/TreeEdits.h"

#include "common/Choosers.h"
#include "common/Platform.h"
#include "common/ShowCheck.h"

#include <gtest/gtest.h>

namespace {

class TreeEdits : public testing::Test {
protected:
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
    treeInfo tree{QStringLiteral("/"), QStringLiteral("/work/")};

    void SetUp() override {
        // r ─ a.txt 1, g (h (d 8, e 16), c 4), last 2
        ASSERT_TRUE(readChart(tree, {"0|1|/r|0|0", "1|2|a.txt|1|0", "1|1|g|0|0", "2|1|h|0|0", "3|2|d|8|0", "3|2|e|16|0",
                                     "2|2|c|4|0", "1|2|last|2|0"}));
        tree.galaxyCount = 3;
        tree.starCount = 5;
    }
    fileInfo* node(const QString& name) {
        for (fileInfo* n = tree.root(); n != tree.bottom(); n = n->next)
            if (n->name() == name) return n;
        ADD_FAILURE() << name.toStdString();
        return tree.root();
    }
    QStringList names() const {
        QStringList out;
        for (const fileInfo* n = tree.root()->next; n != tree.bottom(); n = n->next)
            out << QString::number(n->depth) + n->name();
        return out;
    }
};

TEST_F(TreeEdits, RemovingASubtreeTakesItsSizeAndCountsFromEveryGalaxyAbove) {
    ASSERT_EQ(tree.root()->size, 31u);
    tree.topGalaxy = node("h");
    tree.current = node("e");
    fileInfo* after = removeNode(tree, node("h"));
    EXPECT_EQ(after, node("c"));
    EXPECT_EQ(node("g")->size, 4u);
    EXPECT_EQ(tree.root()->size, 7u);
    EXPECT_EQ(tree.galaxyCount, 2);
    EXPECT_EQ(tree.starCount, 3);
    EXPECT_EQ(tree.nodeCount(), 4u);
    EXPECT_EQ(tree.topGalaxy, node("g")) << "a removed top galaxy hands the top to its parent";
    EXPECT_EQ(tree.current, node("g"));
    EXPECT_EQ(linkFaults(tree), "");
    EXPECT_EQ(names(), QStringList({"1a.txt", "1g", "2c", "1last"}));
}

TEST_F(TreeEdits, RemovingTheLastNodeReturnsTheOneBeforeAndClearsTheSiblingMark) {
    EXPECT_EQ(removeNode(tree, node("last")), node("c"));
    EXPECT_EQ(linkFaults(tree), "") << "g lost its later sibling";
    EXPECT_EQ(removeNode(tree, node("c")), node("e"));
    EXPECT_EQ(linkFaults(tree), "");
    EXPECT_EQ(removeNode(tree, tree.root()), nullptr) << "the root is never removed";
    EXPECT_EQ(tree.root()->size, 25u);
}

TEST_F(TreeEdits, RelinkingShiftsEveryDepthAndMovesTheTotals) {
    ASSERT_TRUE(relinkUnder(tree, node("h"), tree.root()));
    EXPECT_EQ(names(), QStringList({"1h", "2d", "2e", "1a.txt", "1g", "2c", "1last"}));
    EXPECT_EQ(node("g")->size, 4u);
    EXPECT_EQ(node("h")->size, 24u);
    EXPECT_EQ(tree.root()->size, 31u);
    EXPECT_EQ(linkFaults(tree), "");
    ASSERT_TRUE(relinkUnder(tree, node("g"), node("h")));
    EXPECT_EQ(names(), QStringList({"1h", "2g", "3c", "2d", "2e", "1a.txt", "1last"}));
    EXPECT_EQ(node("h")->size, 28u);
    EXPECT_EQ(linkFaults(tree), "");
    EXPECT_FALSE(relinkUnder(tree, node("h"), node("g"))) << "never into its own subtree";
    EXPECT_FALSE(relinkUnder(tree, node("d"), node("e"))) << "never under a star";
    EXPECT_EQ(tree.galaxyCount, 3);
}

TEST_F(TreeEdits, FindGalaxyComparesBytesAndStepsDown) {
    struct Case {
        const char* path;
        const char* found; // null: none
    } cases[] = {{"/r/g/h/", "h"}, {"/r/g/h", "h"}, {"/r//g/./h/", "h"}, {"/r/", "/r"},
                 {"/r/G/h/", nullptr}, {"/r/g/c/", nullptr}, {"/r/g/../g/", nullptr}, {"/rx/g/", nullptr}};
    for (const Case& c : cases) {
        fileInfo* g = findGalaxy(tree, QString::fromUtf8(c.path));
        if (!c.found) EXPECT_EQ(g, nullptr) << c.path;
        else EXPECT_EQ(g, node(QString::fromUtf8(c.found))) << c.path;
    }
}

TEST_F(TreeEdits, MarksInsideAMarkedGalaxyGoWithIt) {
    for (const char* n : {"g", "d", "c", "last"}) node(QString::fromUtf8(n))->marks |= MarkMarked;
    StarOperations ops(tree);
    int64_t raw = 0;
    const std::vector<fileInfo*> marked = ops.markedNodes(false, &raw);
    EXPECT_EQ(marked, (std::vector<fileInfo*>{node("g"), node("last")}));
    EXPECT_EQ(raw, 4);
    tree.topGalaxy = node("g");
    EXPECT_EQ(ops.markedNodes(false), (std::vector<fileInfo*>{node("d"), node("c")})) << "only below the top";
    EXPECT_EQ(ops.markedNodes(true), std::vector<fileInfo*>{node("g")});
    EXPECT_EQ(StarOperations::galaxyCount(node("g")), 5);
}

// Copies on a real disk: they come out marked, the copied nodes lose their marks, and a batch
// stopped from its progress box keeps what was done.
class StarProgressScript : public StarProgress {
public:
    void begin(const QString& text) override { log << text; }
    void item(const QString& name) override { log << name; }
    bool pressed() override { return ++polls == pressAt; }
    void end() override { log << QStringLiteral("end"); }
    QStringList log;
    int polls = 0;
    int pressAt = -1;
};

TEST(StarBatch, CopiesComeOutMarkedAndAStopKeepsWhatWasDone) {
    QTemporaryDir dir;
    const QByteArray root = dir.path().toUtf8() + "/u";
    makeStarFixture(root);
    RecordingCheckSink checks;
    checks.defaultAnswer = 1;
    ScopedCheckSink installedChecks(&checks);
    ScriptedChooserSink chooser;
    ScopedChooserSink installedChooser(&chooser);
    treeInfo tree(QString(), QStringLiteral("/"));
    ASSERT_EQ(scanWhole(tree, QString::fromUtf8(root)), 1);
    auto at = [&](const char* rel) {
        for (fileInfo* n = tree.root(); n != tree.bottom(); n = n->next)
            if (tree.treePath(n) == QString::fromUtf8(root + rel)) return n;
        return static_cast<fileInfo*>(nullptr);
    };
    for (const char* rel : {"/a/f1.txt", "/a/f2.bin", "/b/g.txt"}) at(rel)->marks |= MarkMarked;
    StarProgressScript progress;
    progress.pressAt = 3; // the press before the third node; the question answers yes
    StarOperations ops(tree);
    ops.setProgress(&progress);
    chooser.paths.push_back(QString::fromUtf8(root + "/exists"));
    const StarResult result = ops.copyStars();
    EXPECT_EQ(result.outcome, StarOutcome::Stopped);
    EXPECT_EQ(result.done, 1) << "f1.txt exists there and was skipped; f2.bin copied; stopped before g.txt";
    EXPECT_EQ(progress.log, QStringList({"[星]のコピー中.......", "f1.txt", "f2.bin", "end"}));
    EXPECT_EQ(checks.records.back().text, "コピーを中止しますか？(Y/N)");
    EXPECT_TRUE(at("/a/f1.txt")->marks & MarkMarked) << "skipped: keeps its mark";
    EXPECT_FALSE(at("/a/f2.bin")->marks & MarkMarked);
    ASSERT_NE(at("/exists/f2.bin"), nullptr);
    EXPECT_TRUE(at("/exists/f2.bin")->marks & MarkMarked);
    EXPECT_TRUE(at("/b/g.txt")->marks & MarkMarked);
    EXPECT_EQ(tree.current, at("/exists/f2.bin"));
    EXPECT_EQ(linkFaults(tree), "");
    ::chmod((root + "/ro").constData(), 0755);
    eraseFile(dir.path() + QStringLiteral("/u"));
}

// The questions and their answers: only 1 goes on, and the texts name what they act on.
TEST(StarQuestions, OnlyYesGoesOnAndEveryQuestionNamesItsNodes) {
    QTemporaryDir dir;
    const QByteArray root = dir.path().toUtf8() + "/u";
    makeStarFixture(root);
    ScriptedChooserSink chooser;
    ScopedChooserSink installedChooser(&chooser);
    treeInfo tree(QString(), QStringLiteral("/"));
    ASSERT_EQ(scanWhole(tree, QString::fromUtf8(root)), 1);
    fileInfo* a = findGalaxy(tree, QString::fromUtf8(root + "/a"));
    ASSERT_NE(a, nullptr);
    StarOperations ops(tree);
    const DiskMap before = readDisk(root);
    for (int answer : {0, -1, 2}) {
        RecordingCheckSink checks;
        checks.defaultAnswer = answer;
        ScopedCheckSink installed(&checks);
        tree.current = a;
        chooser.paths.push_back(QString::fromUtf8(root + "/b"));
        EXPECT_EQ(ops.copyStars().outcome, StarOutcome::Cancelled) << answer;
        EXPECT_EQ(ops.deleteStars().outcome, StarOutcome::Cancelled) << answer;
        ASSERT_EQ(checks.records.size(), 2u);
        EXPECT_EQ(checks.records[0].text, "銀河( 6 個以上) をコピーしますか？");
        EXPECT_EQ(checks.records[1].text, "〔 a 〕銀河を削除しますか？");
        EXPECT_EQ(checks.records[1].caption, "銀河の削除");
    }
    EXPECT_EQ(readDisk(root), before);
    // A star is copied without a first question: the destination, then one question.
    RecordingCheckSink checks;
    checks.answers = {1};
    ScopedCheckSink installed(&checks);
    tree.current = findGalaxy(tree, QString::fromUtf8(root + "/b"))->next;
    chooser.paths.clear();
    chooser.paths.push_back(QString::fromUtf8(root + "/a"));
    EXPECT_EQ(ops.copyStars().outcome, StarOutcome::Done);
    ASSERT_EQ(checks.records.size(), 1u);
    EXPECT_EQ(checks.records[0].text, QString::fromUtf8("〔 " + root + "/b/g.txt 〕[星]を\n〔 " + root + "/a/ 〕へコピーしますか？"));
    EXPECT_EQ(chooser.pathRequests.back().title, "  コピー先の銀河を指定して下さい。");
    ::chmod((root + "/ro").constData(), 0755);
    eraseFile(dir.path() + QStringLiteral("/u"));
}

} // namespace
