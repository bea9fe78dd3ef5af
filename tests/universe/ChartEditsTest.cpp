// Chart edits on a small chart: where an added star lands, what a depth change does to the node,
// its subtree and the nodes after it, refusals, the changed flag, and that every edited chart is
// written and read back unchanged.
#include "TestSupport.h"
#include "UniverseFixture.h"

#include "universe/ChartEdits.h"

#include "common/Platform.h"
#include "common/ShowCheck.h"

#include <gtest/gtest.h>

namespace {

constexpr uint64_t kStamp = 20261210120000;

// Depth, kind (g galaxy, s star) and name of every node: "2s:a1".
QStringList shape(const treeInfo& tree) {
    QStringList out;
    for (const fileInfo* n = tree.root(); n != tree.bottom(); n = n->next)
        out << QStringLiteral("%1%2:%3").arg(n->depth).arg(QChar(n->isGalaxy() ? u'g' : u's')).arg(n->name());
    return out;
}

class ChartEditsTest : public testing::Test {
protected:
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
    treeInfo tree{QStringLiteral("チャート"), QString()};

    // A chart three levels deep; E is an empty galaxy at the deepest level.
    void SetUp() override {
        ASSERT_TRUE(readChart(tree, {
            "0|1|チャート|0|0",
            "1|1|A|0|0",
            "2|0|a1|0|0",
            "2|1|B|0|0",
            "3|0|b1|0|0",
            "2|0|a2|0|0",
            "1|1|C|0|0",
            "2|1|D|0|0",
            "3|1|E|0|0",
            "1|0|s|0|0|300,200,0,text:星の話",
        }));
        ASSERT_TRUE(tree.chartMode);
        ASSERT_EQ(tree.searchDepth, 3);
        tree.displayDepth = 2;
        tree.metaChanged = false;
        sink.records.clear();
    }

    fileInfo* node(const QString& name) {
        for (fileInfo* n = tree.root(); n != tree.bottom(); n = n->next)
            if (n->name() == name) return n;
        return nullptr;
    }

    // The chart as written reads back to the same lines: no edit leaves a node the reader refuses.
    void expectReadsBack() {
        QStringList lines;
        for (const fileInfo* n = tree.root(); n != tree.bottom(); n = n->next) lines << constellationLine(*n);
        treeInfo back(QStringLiteral("x"), QString());
        ASSERT_TRUE(readConstellationLines(back, lines, nullptr));
        EXPECT_EQ(chartLines(back), chartLines(tree));
        for (const fileInfo* n = tree.root()->next, *m = back.root()->next; n != tree.bottom(); n = n->next, m = m->next)
            EXPECT_EQ(n->parent ? n->parent->name() : QString(), m->parent ? m->parent->name() : QString()) << n->name().toStdString();
    }
};

TEST_F(ChartEditsTest, AddedStarFollowsTheCurrentNodeAtItsLevelOrOneDown) {
    struct Case {
        const char* current;
        ChartLevel level;
        QStringList shape;  // the nodes from A to the end afterwards
        const char* parent; // of the new star
        int searchDepth;    // afterwards; the display depth follows a raise
    };
    const Case cases[] = {
        // Same level as a star of depth 2: its next sibling, in the same galaxy.
        {"a1", ChartLevel::Same, {"1g:A", "2s:a1", "2s:new", "2g:B", "3s:b1", "2s:a2"}, "A", 3},
        // One level below a star: the star becomes the galaxy that holds it.
        {"a1", ChartLevel::Below, {"1g:A", "2g:a1", "3s:new", "2g:B", "3s:b1", "2s:a2"}, "a1", 3},
        // Same level as a galaxy: after its whole content, which stays the galaxy's.
        {"B", ChartLevel::Same, {"1g:A", "2s:a1", "2g:B", "3s:b1", "2s:new", "2s:a2"}, "A", 3},
        // Below a galaxy: its first node.
        {"B", ChartLevel::Below, {"1g:A", "2s:a1", "2g:B", "3s:new", "3s:b1", "2s:a2"}, "B", 3},
        // Below a node at the search depth: every depth control goes one deeper.
        {"b1", ChartLevel::Below, {"1g:A", "2s:a1", "2g:B", "3g:b1", "4s:new", "2s:a2"}, "b1", 4},
        // Below the root.
        {"チャート", ChartLevel::Below, {"1s:new", "1g:A", "2s:a1", "2g:B", "3s:b1", "2s:a2"}, "チャート", 3},
    };
    for (const Case& c : cases) {
        SetUp();
        tree.current = node(QString::fromUtf8(c.current));
        fileInfo* added = addChartStar(tree, c.level, kStamp);
        ASSERT_NE(added, nullptr) << c.current;
        EXPECT_EQ(shape(tree).mid(1, 6), c.shape) << c.current << int(c.level);
        EXPECT_EQ(added->parent, node(QString::fromUtf8(c.parent))) << c.current;
        EXPECT_EQ(added->kind, 0);
        EXPECT_EQ(added->size, 0u);
        EXPECT_EQ(added->stamp, kStamp);
        EXPECT_EQ(tree.current, node(QString::fromUtf8(c.current))) << "the current node stays";
        EXPECT_TRUE(tree.metaChanged);
        EXPECT_EQ(tree.searchDepth, c.searchDepth);
        EXPECT_EQ(tree.deepestLevel, c.searchDepth);
        EXPECT_EQ(tree.displayDepth, c.searchDepth > 3 ? c.searchDepth : 2);
        EXPECT_TRUE(sink.records.empty());
        expectReadsBack();
    }
}

TEST_F(ChartEditsTest, TheRootHasNoSameLevelAndIsNeverDeletedTurnedOrMoved) {
    const QStringList before = chartLines(tree);
    tree.current = tree.root();
    EXPECT_EQ(addChartStar(tree, ChartLevel::Same, kStamp), nullptr);
    EXPECT_EQ(deleteChartNode(tree), nullptr);
    EXPECT_FALSE(toggleChartGalaxy(tree));
    EXPECT_FALSE(setChartDepth(tree, QStringLiteral("2")));
    EXPECT_EQ(sink.records.size(), 4u) << "each refusal says why";
    EXPECT_EQ(chartLines(tree), before);
    EXPECT_FALSE(tree.metaChanged);
}

TEST_F(ChartEditsTest, DeletionTakesTheSubtreeAndMarksTheChartChanged) {
    tree.current = node("B");
    const int64_t stars = tree.starCount;
    EXPECT_EQ(deleteChartNode(tree), node("a2")) << "the node after the subtree becomes current";
    EXPECT_EQ(tree.current, node("a2"));
    EXPECT_EQ(shape(tree).mid(1, 3), QStringList({"1g:A", "2s:a1", "2s:a2"}));
    EXPECT_EQ(tree.starCount, stars - 1);
    EXPECT_TRUE(tree.metaChanged) << "a deletion changes the chart as much as an addition";
    expectReadsBack();

    tree.current = node("s"); // the last node: the one before it becomes current
    EXPECT_EQ(deleteChartNode(tree), node("E"));
    EXPECT_TRUE(sink.records.empty());
    expectReadsBack();
}

TEST_F(ChartEditsTest, StarAndGalaxyTurnIntoEachOtherUnlessAGalaxyHoldsNodes) {
    tree.current = node("s");
    ASSERT_EQ(node("s")->size, 18u) << "a star with metadata has its length as size";
    EXPECT_TRUE(toggleChartGalaxy(tree));
    EXPECT_TRUE(node("s")->isGalaxy());
    EXPECT_EQ(node("s")->size, 0u) << "an empty galaxy holds nothing";
    EXPECT_TRUE(toggleChartGalaxy(tree));
    EXPECT_FALSE(node("s")->isGalaxy());
    EXPECT_EQ(node("s")->size, 18u) << "back as a star it has its metadata's size again";
    EXPECT_TRUE(tree.metaChanged);
    expectReadsBack();

    tree.metaChanged = false;
    tree.current = node("D");
    EXPECT_FALSE(toggleChartGalaxy(tree)) << "E would be left below a star";
    EXPECT_TRUE(node("D")->isGalaxy());
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, QStringLiteral("中に「星」のある銀河は「星」にできません！"));
    EXPECT_FALSE(tree.metaChanged);
}

TEST_F(ChartEditsTest, RenameKeepsTheNameWritableAndTheRootAChart) {
    tree.current = node("a1");
    EXPECT_TRUE(renameChartNode(tree, QStringLiteral("星\tの\x01名\r\n")));
    EXPECT_EQ(tree.current->name(), QStringLiteral("星 の 名")) << "no TAB or control character reaches the data";
    EXPECT_TRUE(tree.metaChanged);
    expectReadsBack();

    tree.current = tree.root();
    EXPECT_FALSE(renameChartNode(tree, QStringLiteral("/home/user")));
    EXPECT_EQ(tree.root()->name(), QStringLiteral("チャート"));
    EXPECT_TRUE(renameChartNode(tree, QStringLiteral("新しい星図")));
    EXPECT_EQ(tree.pathBuffer, QStringLiteral("新しい星図"));
    EXPECT_TRUE(tree.chartMode);
}

TEST_F(ChartEditsTest, DepthChangesMoveTheSubtreeAndKeepEveryNodeInAGalaxy) {
    struct Case {
        const char* current;
        const char* text;
        QStringList shape; // the whole chart after it, without the root
        bool notice;       // the depth asked for was brought into place
        int searchDepth;
    };
    const QStringList unchanged{"1g:A", "2s:a1", "2g:B", "3s:b1", "2s:a2", "1g:C", "2g:D", "3g:E", "1s:s"};
    const Case cases[] = {
        // Depth 5 in a chart of depth 3: one below the galaxy before it is as deep as it goes.
        {"s", "5", {"1g:A", "2s:a1", "2g:B", "3s:b1", "2s:a2", "1g:C", "2g:D", "3g:E", "4s:s"}, true, 4},
        {"s", "2", {"1g:A", "2s:a1", "2g:B", "3s:b1", "2s:a2", "1g:C", "2g:D", "3g:E", "2s:s"}, false, 3},
        // Shallower: B leaves A with its content after A's other nodes, so a2 stays in A.
        {"B", "1", {"1g:A", "2s:a1", "2s:a2", "1g:B", "2s:b1", "1g:C", "2g:D", "3g:E", "1s:s"}, false, 3},
        // The last node of a galaxy leaves it in place; a text without digits is depth 0, which
        // only the root has.
        {"a2", "x", {"1g:A", "2s:a1", "2g:B", "3s:b1", "1s:a2", "1g:C", "2g:D", "3g:E", "1s:s"}, true, 3},
        {"D", "1", {"1g:A", "2s:a1", "2g:B", "3s:b1", "2s:a2", "1g:C", "1g:D", "2g:E", "1s:s"}, false, 3},
        // At most one level below the galaxy before it (and E goes with D): D stays where it is.
        {"D", "9", unchanged, true, 3},
        // After a star at most at the star's level: a2 after b1 joins B.
        {"a2", "4", {"1g:A", "2s:a1", "2g:B", "3s:b1", "3s:a2", "1g:C", "2g:D", "3g:E", "1s:s"}, true, 3},
    };
    for (const Case& c : cases) {
        SetUp();
        tree.current = node(QString::fromUtf8(c.current));
        const bool changed = setChartDepth(tree, QString::fromUtf8(c.text));
        EXPECT_EQ(shape(tree).mid(1), c.shape) << c.current << " " << c.text;
        EXPECT_EQ(changed, c.shape != unchanged) << c.current << " " << c.text;
        EXPECT_EQ(tree.metaChanged, changed);
        EXPECT_EQ(sink.records.size(), c.notice ? 1u : 0u) << c.current << " " << c.text;
        EXPECT_EQ(tree.searchDepth, c.searchDepth) << c.current << " " << c.text;
        EXPECT_EQ(tree.displayDepth, c.searchDepth > 3 ? c.searchDepth : 2);
        EXPECT_EQ(tree.current, node(QString::fromUtf8(c.current)));
        expectReadsBack();
    }
}

TEST_F(ChartEditsTest, NothingHappensOutsideChartMode) {
    treeInfo disk(QStringLiteral("/data"), QString());
    ASSERT_TRUE(readChart(disk, {"0|1|/data|0|0", "1|0|a.txt|5|0"}));
    disk.current = disk.root()->next;
    EXPECT_EQ(addChartStar(disk, ChartLevel::Same, kStamp), nullptr);
    EXPECT_EQ(deleteChartNode(disk), nullptr);
    EXPECT_FALSE(renameChartNode(disk, QStringLiteral("b.txt")));
    EXPECT_FALSE(toggleChartGalaxy(disk));
    EXPECT_FALSE(setChartDepth(disk, QStringLiteral("1")));
    EXPECT_EQ(chartLines(disk), QStringList({"0|1|/data|5|0", "1|0|a.txt|5|0"}));
}

// A chart built by the edits is saved, loaded and saved again to the same bytes.
TEST_F(ChartEditsTest, AnEditedChartSurvivesSaveAndLoadByteForByte) {
    tree.current = node("a1");
    addChartStar(tree, ChartLevel::Below, kStamp);
    tree.current = node("new");
    renameChartNode(tree, QStringLiteral("追加した星"));
    tree.current = node("B");
    setChartDepth(tree, QStringLiteral("1"));
    tree.current = node("E");
    toggleChartGalaxy(tree);
    tree.current = node("C");
    addChartStar(tree, ChartLevel::Same, kStamp);
    tree.current = node("b1");
    deleteChartNode(tree);

    TempFolder folder;
    const QString first = folder.file(QStringLiteral("first.nebu"));
    const QString second = folder.file(QStringLiteral("second.nebu"));
    ASSERT_TRUE(writeConstellation(tree, first));
    EXPECT_FALSE(tree.metaChanged) << "saving clears the changed flag";
    treeInfo loaded(QStringLiteral("x"), QString());
    ASSERT_TRUE(readConstellation(loaded, first, nullptr));
    EXPECT_TRUE(loaded.chartMode);
    EXPECT_EQ(chartLines(loaded), chartLines(tree));
    ASSERT_TRUE(writeConstellation(loaded, second));
    QByteArray a, b;
    ASSERT_TRUE(readFileBytes(first, a));
    ASSERT_TRUE(readFileBytes(second, b));
    EXPECT_EQ(a, b);
    EXPECT_TRUE(a.contains("\t\x92\xc7\x89\xc1\x82\xb5\x82\xbd\x90\xaf\t")) << "names in code page 932";
    EXPECT_TRUE(sink.records.empty());
}

} // namespace
