// The tree window's layout and cursor without the window: filters, depth, stars per row, upside
// down, connectors, counters, and what the keys do.
#include "UniverseFixture.h"

#include "universe/NebuCursor.h"
#include "universe/NebuLayout.h"

#include "common/ShowCheck.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// A root with seven stars, a galaxy two levels deep and an empty galaxy; old.txt is older than
// the default time range.
const QStringList kChart = {
    "0|1|/r|0|0",
    "1|2|a.txt|1|20100101000000", "1|2|b.txt|1|20100101000000", "1|2|c.txt|1|20100101000000",
    "1|2|d.txt|1|20100101000000", "1|2|e.txt|1|20100101000000", "1|2|f.txt|1|20100101000000",
    "1|2|g.txt|1|20100101000000", "1|2|old.txt|1|0",
    "1|1|sub|0|0", "2|2|x.txt|1|20100101000000", "2|1|deep|0|0", "3|2|y.log|1|20100101000000",
    "1|1|empty|0|0",
};

class NebuLayoutTest : public testing::Test {
public:
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
    treeInfo tree{QStringLiteral("/"), QStringLiteral("/work/")};
    NebuLayout layout{tree};
    NebuCursor cursor{layout};

    void SetUp() override {
        ASSERT_TRUE(readChart(tree, kChart));
        tree.displayDepth = 2;
        tree.topGalaxy = tree.root();
    }

    fileInfo* node(const QString& name) {
        for (fileInfo* n = tree.root(); n != tree.bottom(); n = n->next)
            if (n->name() == name) return n;
        ADD_FAILURE() << name.toStdString();
        return tree.root();
    }

    // Grid rows top to bottom, " " between rows and "," between the nodes of a row.
    QString rowsText() const {
        QStringList rows;
        for (int r = 0; r < layout.rowCount(); ++r) {
            QStringList names;
            for (fileInfo* n = layout.firstOfRow(layout.modelRow(r)); n; n = layout.nextInRow(n)) names.append(n->name());
            rows.append(names.join(u','));
        }
        return rows.join(u' ');
    }
};

TEST_F(NebuLayoutTest, FiltersDepthRowsAndUpsideDown) {
    struct Case {
        const char* what;
        std::function<void(NebuLayoutTest&)> set;
        QString rows;
    };
    const std::vector<Case> cases = {
        {"two levels, one per row; old.txt outside the time range", [](NebuLayoutTest&) {},
         "/r a.txt b.txt c.txt d.txt e.txt f.txt g.txt sub x.txt deep empty"},
        {"three per row: seven stars take rows of 3, 3, 1", [](NebuLayoutTest& t) { t.layout.view.starsPerRow = 3; },
         "/r a.txt,b.txt,c.txt d.txt,e.txt,f.txt g.txt sub x.txt deep empty"},
        {"top at depth 1, display depth 1: the top and its children",
         [](NebuLayoutTest& t) {
             t.tree.topGalaxy = t.node("sub");
             t.tree.displayDepth = 1;
         },
         "sub x.txt deep"},
        {"star wildcard: matching stars and the galaxies up to them",
         [](NebuLayoutTest& t) {
             t.tree.displayDepth = 3;
             t.layout.view.starWild = QStringLiteral("*.LOG");
         },
         "/r sub deep y.log"},
        {"a \"?\" stands for one character", [](NebuLayoutTest& t) { t.layout.view.starWild = QStringLiteral("?.t?T"); },
         "/r a.txt b.txt c.txt d.txt e.txt f.txt g.txt sub x.txt"},
        {"galaxy wildcard alone shows no star", [](NebuLayoutTest& t) { t.layout.view.galaxyWild = QStringLiteral("d*"); },
         "/r sub deep"},
        {"stars hidden", [](NebuLayoutTest& t) { t.layout.view.starsShown = false; }, "/r sub deep empty"},
        {"stars hidden, galaxies of one depth share a row",
         [](NebuLayoutTest& t) {
             t.layout.view.starsShown = false;
             t.layout.view.starsPerRow = 4;
             t.tree.displayDepth = 1;
         },
         "/r sub,empty"},
        {"galaxies without stars hidden; the top keeps its row",
         [](NebuLayoutTest& t) {
             t.layout.view.hideStarlessGalaxies = true;
             t.tree.topGalaxy = t.node("empty");
         },
         "empty"},
        {"galaxies without shown stars hidden below the display depth",
         [](NebuLayoutTest& t) { t.layout.view.hideStarlessGalaxies = true; },
         "/r a.txt b.txt c.txt d.txt e.txt f.txt g.txt sub x.txt"},
        {"upside down: the top galaxy is the last grid row",
         [](NebuLayoutTest& t) {
             t.layout.upsideDown = true;
             t.tree.topGalaxy = t.node("sub");
         },
         "y.log deep x.txt sub"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        layout.view = TreeView{};
        layout.upsideDown = false;
        tree.topGalaxy = tree.root();
        tree.displayDepth = 2;
        c.set(*this);
        layout.relayout();
        EXPECT_EQ(rowsText(), c.rows);
    }
}

TEST_F(NebuLayoutTest, CountersText) {
    layout.relayout();
    EXPECT_EQ(layout.countersText(), "最深:3  検索 ( D=4 F=10 )  表示:12 ( D=4 F=8 )");
    layout.view.starsShown = false;
    layout.relayout();
    EXPECT_EQ(layout.countersText(), "最深:3  検索 ( D=4 F=10 )  表示:4 ( D=4 F=0 )");
}

TEST_F(NebuLayoutTest, ConnectorsFollowSiblingsThatHoldRows) {
    struct Case {
        bool hideStarless;
        const char* row;
        int level; // 0: the row's own connector
        bool through;
    };
    const std::vector<Case> cases = {
        {false, "a.txt", 0, true},  {false, "x.txt", 0, true},  {false, "deep", 0, false},
        {false, "x.txt", 1, true},  {false, "empty", 0, false}, {false, "g.txt", 0, true},
        // With empty galaxies hidden, sub is the last row-holder of the root's children.
        {true, "x.txt", 1, false},  {true, "sub", 0, false},    {true, "x.txt", 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.row) + " level " + std::to_string(c.level));
        layout.view.hideStarlessGalaxies = c.hideStarless;
        layout.relayout();
        const int row = node(c.row)->row;
        EXPECT_EQ(c.level == 0 ? layout.ownLineThrough(row) : layout.levelLineThrough(row, c.level), c.through);
    }
}

TEST_F(NebuLayoutTest, KeysMoveTheCursor) {
    struct Case {
        int perRow;
        bool upsideDown;
        const char* from;
        NebuKey key;
        int modifiers;
        const char* to;
        NebuOutcome outcome;
    };
    using K = NebuKey;
    using O = NebuOutcome;
    const std::vector<Case> cases = {
        {3, false, "d.txt", K::Left, 0, "c.txt", O::Moved},           // column 0 to the previous row's last
        {3, false, "e.txt", K::Left, 0, "d.txt", O::Moved},
        {3, false, "c.txt", K::Right, 0, "d.txt", O::Moved},          // the row's end to the next row
        {3, false, "b.txt", K::Right, 0, "c.txt", O::Moved},
        {3, false, "e.txt", K::Up, 0, "b.txt", O::Moved},             // the column is kept
        {3, false, "f.txt", K::Down, 0, "g.txt", O::Moved},           // ... and lowered to the row's last
        {1, false, "c.txt", K::Left, 0, "c.txt", O::Nothing},         // one per row: no column moves
        {1, false, "/r", K::Up, 0, "/r", O::Nothing},
        {1, false, "sub", K::Down, ModShift, "empty", O::Moved},      // next galaxy of the depth
        {1, false, "/r", K::Down, ModShift, "sub", O::Moved},         // from the root: depth 1
        {1, false, "empty", K::Up, ModShift, "sub", O::Moved},
        {1, false, "sub", K::Up, ModShift, "sub", O::Nothing},        // not past the top
        {1, false, "x.txt", K::Parent, 0, "sub", O::Moved},
        {1, false, "/r", K::Parent, 0, "/r", O::RescanParent},
        {1, false, "c.txt", K::Top, 0, "/r", O::Moved},
        {1, false, "c.txt", K::Bottom, 0, "empty", O::Moved},
        {1, false, "a.txt", K::PageDown, 0, "e.txt", O::Moved},       // four visible rows
        {1, false, "b.txt", K::PageUp, 0, "/r", O::Moved},            // kept inside the grid
        {1, true, "a.txt", K::Up, 0, "b.txt", O::Moved},              // upside down: up is the next model row
        {1, true, "c.txt", K::Top, 0, "/r", O::Moved},
        {1, true, "c.txt", K::Bottom, 0, "/r", O::Moved},             // the last grid row is the top galaxy
        {1, true, "sub", K::Up, ModShift, "empty", O::Moved},         // upside down the later galaxy is above
        {1, true, "empty", K::Down, ModShift, "sub", O::Moved},
        {1, true, "sub", K::Down, ModShift, "sub", O::Nothing},       // ... and still not past the top
        {1, false, "x.txt", K::StarsToggle, 0, "sub", O::Relaid},     // hidden: the nearest shown before it
        {1, false, "x.txt", K::DeeperDisplay, 0, "x.txt", O::Relaid},
        {1, false, "x.txt", K::ShallowerDisplay, 0, "sub", O::Relaid},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.from) + " key " + std::to_string(int(c.key)));
        tree.displayDepth = 2;
        layout.view = TreeView{};
        layout.view.starsPerRow = c.perRow;
        layout.upsideDown = c.upsideDown;
        layout.relayout();
        NebuCursor fresh(layout);
        fresh.setVisibleRows(4);
        fresh.setCurrent(node(c.from));
        EXPECT_EQ(fresh.key(c.key, c.modifiers), c.outcome);
        EXPECT_EQ(fresh.current()->name(), c.to);
        EXPECT_EQ(layout.modelRow(fresh.gridRow()), fresh.current()->row);
        EXPECT_GE(fresh.gridRow(), fresh.topRow());
        EXPECT_LT(fresh.gridRow(), fresh.topRow() + fresh.visibleRows());
    }
}

// The row step of the left band moves grid rows, so it goes the way its arrow points whichever
// way up the tree stands.
TEST_F(NebuLayoutTest, RowStepCountsNonPositiveAsFiveAndStaysInTheGrid) {
    struct Case {
        bool upsideDown;
        int fromRow; // grid rows; 12 of them
        int rows;
        bool down;
        int toRow;
        const char* to;
    };
    const std::vector<Case> cases = {
        {false, 0, 10, true, 10, "deep"},
        {false, 0, 0, true, 5, "e.txt"},   // 0 or less counts as 5
        {false, 0, -3, true, 5, "e.txt"},
        {false, 10, 10, true, 11, "empty"}, // kept inside the grid
        {false, 3, 10, false, 0, "/r"},
        {true, 11, 3, false, 8, "c.txt"},   // upside down the top galaxy is the last grid row
        {true, 8, 3, true, 11, "/r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.fromRow << (c.down ? " down " : " up ") << c.rows);
        layout.upsideDown = c.upsideDown;
        layout.relayout();
        ASSERT_EQ(layout.rowCount(), 12);
        NebuCursor fresh(layout);
        fresh.setCell(c.fromRow, 0);
        fresh.rowStep(c.rows, c.down);
        EXPECT_EQ(fresh.gridRow(), c.toRow);
        EXPECT_EQ(fresh.current()->name(), c.to);
    }
}

TEST_F(NebuLayoutTest, UpsideDownBottomIsModelRowZeroAndTopIsTheTopGalaxy) {
    layout.upsideDown = true;
    layout.relayout();
    cursor.setCurrent(node("c.txt"));
    cursor.key(NebuKey::Top);
    EXPECT_EQ(cursor.gridRow(), layout.rowCount() - 1);
    EXPECT_EQ(cursor.positionText(), "    12／    12");
}

TEST_F(NebuLayoutTest, SettingKeysRespectTheirLimits) {
    layout.relayout();
    cursor.setCurrent(node("sub"));
    tree.searchDepth = 2;
    EXPECT_EQ(cursor.key(NebuKey::DeeperDisplay), NebuOutcome::Nothing); // not above the search depth
    tree.searchDepth = 3;
    EXPECT_EQ(cursor.key(NebuKey::FullDisplay), NebuOutcome::Relaid);
    EXPECT_EQ(tree.displayDepth, 3);
    EXPECT_EQ(node("y.log")->row, 11);
    tree.displayDepth = 1;
    EXPECT_EQ(cursor.key(NebuKey::ShallowerDisplay), NebuOutcome::Nothing);

    for (int i = 0; i < 40; ++i) cursor.key(NebuKey::Down, ModCtrl);
    EXPECT_EQ(cursor.speed(), NebuCursor::kSpeedLimit);
    cursor.key(NebuKey::StopScroll);
    EXPECT_EQ(cursor.speed(), 0);
}

TEST_F(NebuLayoutTest, AutoScrollStopsAtTheGridsEnd) {
    layout.relayout(); // 12 rows
    cursor.setVisibleRows(2);
    cursor.key(NebuKey::FasterDown);
    cursor.key(NebuKey::FasterDown);
    cursor.key(NebuKey::FasterDown); // 3 rows a tick
    std::vector<int> tops;
    while (cursor.autoScrollTick()) tops.push_back(cursor.topRow());
    EXPECT_EQ(tops, (std::vector<int>{3, 6}));
    EXPECT_EQ(cursor.speed(), 0);
}

TEST_F(NebuLayoutTest, PathOfTheCurrentNodeAndABrokenChain) {
    layout.relayout();
    cursor.setCurrent(node("y.log")); // not shown at depth 2: the nearest shown before it
    EXPECT_EQ(cursor.current()->name(), "deep");
    EXPECT_EQ(cursor.path(), "/r/sub/deep");
    EXPECT_TRUE(sink.records.empty());

    node("sub")->parent = nullptr;
    cursor.setCurrent(node("x.txt"));
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, "星座の情報がおかしくなっています！(0 行)");
    EXPECT_EQ(sink.records[0].caption, "パスの情報");
    EXPECT_EQ(cursor.path(), "sub/x.txt");
}

} // namespace
