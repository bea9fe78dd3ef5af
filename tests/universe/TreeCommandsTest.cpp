// The tree window's commands without the window: the key table, the tree sort, the searches and
// the paths of the rescans.
#include "TestSupport.h"
#include "UniverseFixture.h"

#include "universe/NebuCursor.h"
#include "universe/NebuKeyTable.h"
#include "universe/NebuLayout.h"
#include "universe/TreeSearches.h"
#include "universe/TreeSort.h"
#include "universe/UniverseScan.h"

#include "common/ShowCheck.h"
#include "common/TextCodec.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <functional>
#include <random>

namespace {

TEST(NebuKeyTable, KeysGiveTheirCommands) {
    using C = NebuCommand;
    const Qt::KeyboardModifiers none = Qt::NoModifier, shift = Qt::ShiftModifier, ctrl = Qt::ControlModifier,
                                pad = Qt::KeypadModifier;
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        C command;
        int argument;
    };
    const std::vector<Case> cases = {
        {Qt::Key_A, ctrl, C::ScanDrive, 0}, {Qt::Key_C, ctrl, C::ScanDrive, 2}, // Ctrl wins over the letter's command
        {Qt::Key_Z, ctrl | shift, C::ScanDrive, 25},
        {Qt::Key_1, ctrl, C::SearchDepth, 1}, {Qt::Key_9, ctrl | pad, C::SearchDepth, 9},
        {Qt::Key_0, ctrl, C::None, 0},
        {Qt::Key_Space, none, C::ToggleMark, 0}, {Qt::Key_A, none, C::FlipAttributes, 0},
        {Qt::Key_B, none, C::Bottom, 0}, {Qt::Key_1, pad, C::Bottom, 0}, {Qt::Key_1, none, C::None, 0},
        {Qt::Key_C, none, C::Copy, 0}, {Qt::Key_D, none, C::TimeFlag, 0}, {Qt::Key_F, none, C::StarsToggle, 0},
        {Qt::Key_I, none, C::IndentStep, 1}, {Qt::Key_I, shift, C::IndentStep, -1},
        {Qt::Key_J, none, C::TopGalaxy, 0}, {Qt::Key_J, shift, C::TopGalaxy, 1},
        {Qt::Key_L, none, C::NameLengthStep, 1}, {Qt::Key_L, shift, C::NameLengthStep, -1},
        {Qt::Key_O, none, C::LoadConstellation, 0}, {Qt::Key_O, shift, C::SaveConstellation, 0},
        {Qt::Key_Q, none, C::Quit, 0}, {Qt::Key_R, none, C::UpsideDown, 0}, {Qt::Key_S, none, C::SortChooser, 0},
        {Qt::Key_T, none, C::Top, 0}, {Qt::Key_7, pad, C::Top, 0}, {Qt::Key_U, none, C::Parent, 0},
        {Qt::Key_V, none, C::SizeFlag, 0}, {Qt::Key_W, none, C::StarsPerRowStep, 1},
        {Qt::Key_W, shift, C::StarsPerRowStep, -1}, {Qt::Key_X, none, C::SearchFromGalaxy, 0},
        {Qt::Key_Y, none, C::CloneView, 0}, {Qt::Key_Z, none, C::ZoomStep, 1}, {Qt::Key_Z, shift, C::ZoomStep, -1},
        {Qt::Key_3, pad, C::PageDown, 0}, {Qt::Key_9, pad, C::PageUp, 0}, {Qt::Key_3, none, C::None, 0},
        {Qt::Key_Plus, none, C::DeeperDisplay, 0}, {Qt::Key_Plus, pad, C::DeeperDisplay, 0},
        {Qt::Key_Minus, pad, C::ShallowerDisplay, 0}, {Qt::Key_Comma, none, C::ShiftRight, 0},
        {Qt::Key_Period, none, C::ShiftLeft, 0}, {Qt::Key_At, none, C::DriveList, 0},
        {Qt::Key_Backslash, none, C::RescanParent, 0}, {Qt::Key_yen, none, C::RescanParent, 0},
        {Qt::Key_Up, shift, C::Up, ModShift}, {Qt::Key_Down, ctrl, C::Down, ModCtrl}, {Qt::Key_Left, none, C::Left, 0},
        {Qt::Key_E, none, C::None, 0}, {Qt::Key_G, none, C::None, 0},
    };
    for (const Case& c : cases) {
        const NebuKeyAction a = nebuKeyAction(c.key, c.mods);
        EXPECT_EQ(a.command, c.command) << "key " << std::hex << c.key << " mods " << c.mods.toInt();
        EXPECT_EQ(a.argument, c.argument) << "key " << std::hex << c.key;
        // Only the drive list keeps the focus away from the grid.
        EXPECT_EQ(a.focusGrid, c.command != C::DriveList) << "key " << std::hex << c.key;
    }
}

TEST(NebuKeyTable, KeyCommandCharactersMeanTheSameKeys) {
    // A work's key text plays characters; each must land on the command the keyboard key has.
    const std::vector<std::pair<QChar, NebuCommand>> cases = {
        {u'j', NebuCommand::TopGalaxy}, {u'J', NebuCommand::TopGalaxy}, {u'+', NebuCommand::DeeperDisplay},
        {u'-', NebuCommand::ShallowerDisplay}, {u',', NebuCommand::ShiftRight}, {u'.', NebuCommand::ShiftLeft},
        {u'\\', NebuCommand::RescanParent}, {u'¥', NebuCommand::RescanParent}, {u'@', NebuCommand::DriveList},
        {u' ', NebuCommand::ToggleMark}, {u'x', NebuCommand::SearchFromGalaxy},
    };
    for (const auto& [c, command] : cases)
        EXPECT_EQ(nebuKeyAction(nebuKeyOfChar(c), Qt::NoModifier).command, command) << QString(c).toStdString();
    // Modifier letters before a key; the last character is always a key, even "s" or "c".
    QString text = QStringLiteral("sjcsxds");
    std::vector<std::pair<NebuCommand, Qt::KeyboardModifiers>> played;
    while (const std::optional<PlayedKey> key = takePlayedKey(text))
        played.emplace_back(playedKeyAction(*key).command, key->modifiers);
    const std::vector<std::pair<NebuCommand, Qt::KeyboardModifiers>> expected = {
        {NebuCommand::TopGalaxy, Qt::ShiftModifier},
        {NebuCommand::ScanDrive, Qt::ControlModifier | Qt::ShiftModifier},
        {NebuCommand::ScrollSpeed, Qt::NoModifier},
        {NebuCommand::SortChooser, Qt::NoModifier}};
    EXPECT_EQ(played, expected);
    EXPECT_EQ(driveOfLetter({"/", "/home"}, 1), "/home");
    EXPECT_EQ(driveOfLetter({"/", "/home"}, 2), "");
}

// The root holds four stars (one stray star after a sub-galaxy, as chart editing can leave it)
// and two sub-galaxies; alpha holds a star and a galaxy with a star. a.txt and Readme have the
// same size and time.
const QStringList kSortChart = {
    "0|1|/r|0|0",
    "1|2|b.TXT|30|20100103000000", "1|2|a.txt|10|20100101000000", "1|2|Readme|10|20100101000000",
    "1|1|zeta|0|0", "2|2|z2.dat|5|20100101000000", "2|2|z1.dat|50|20100105000000",
    "1|2|c.md|40|20100102000000",
    "1|1|alpha|0|0", "2|2|x.txt|1|20100101000000", "2|1|inner|0|0", "3|2|deep.bin|100|20100101000000",
};

class TreeSortTest : public testing::Test {
public:
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
    treeInfo tree{QStringLiteral("/"), QStringLiteral("/work/")};

    void SetUp() override { ASSERT_TRUE(readChart(tree, kSortChart)); }

    fileInfo* node(const QString& name) {
        for (fileInfo* n = tree.root(); n != tree.bottom(); n = n->next)
            if (n->name() == name) return n;
        ADD_FAILURE() << name.toStdString();
        return tree.root();
    }
    // The names in list order, each after its depth.
    QString order() const {
        QStringList names;
        for (const fileInfo* n = tree.root()->next; n != tree.bottom(); n = n->next)
            names.append(QString::number(n->depth) + n->name());
        return names.join(u' ');
    }
    // The links the sort keeps must be what the depths alone give.
    void expectLinksConsistent() {
        std::vector<std::pair<fileInfo*, uint8_t>> before;
        for (fileInfo* n = tree.root(); n != tree.bottom(); n = n->next) {
            ASSERT_EQ(n->next->prev, n);
            before.emplace_back(n->parent, n->marks);
        }
        tree.rebuildLinks();
        std::size_t i = 0;
        for (fileInfo* n = tree.root(); n != tree.bottom(); n = n->next, ++i) {
            EXPECT_EQ(n->parent, before[i].first) << n->name().toStdString();
            EXPECT_EQ(n->marks & MarkSiblingFollows, before[i].second & MarkSiblingFollows) << n->name().toStdString();
        }
    }
};

TEST_F(TreeSortTest, ModesOnAStarAndOnAGalaxy) {
    struct Case {
        const char* what;
        const char* at;
        int mode;
        const char* order;
    };
    const std::vector<Case> cases = {
        {"name on a star: only its galaxy's stars, gathered before the sub-galaxies, which stay as they are", "a.txt",
         TreeSortName, "1a.txt 1b.TXT 1c.md 1Readme 1zeta 2z2.dat 2z1.dat 1alpha 2x.txt 2inner 3deep.bin"},
        {"size reversed on a galaxy: largest star and largest sub-galaxy (with its subtree) first; equal sizes keep "
         "their order",
         "/r", TreeSortSize | TreeSortReverse,
         "1c.md 1b.TXT 1a.txt 1Readme 1alpha 2x.txt 2inner 3deep.bin 1zeta 2z1.dat 2z2.dat"},
        {"extension: names without a dot first, equal extensions by name", "/r", TreeSortExtension,
         "1Readme 1c.md 1a.txt 1b.TXT 1alpha 2x.txt 2inner 3deep.bin 1zeta 2z1.dat 2z2.dat"},
        {"time reversed on a galaxy: only its own content", "zeta", TreeSortStamp | TreeSortReverse,
         "1b.TXT 1a.txt 1Readme 1zeta 2z1.dat 2z2.dat 1c.md 1alpha 2x.txt 2inner 3deep.bin"},
        {"time reversed on the root; stars equal in time keep their order", "/r", TreeSortStamp | TreeSortReverse,
         "1b.TXT 1c.md 1a.txt 1Readme 1zeta 2z1.dat 2z2.dat 1alpha 2x.txt 2inner 3deep.bin"},
        {"scan order puts the stray star back among the stars", "/r", TreeSortSerial,
         "1b.TXT 1a.txt 1Readme 1c.md 1zeta 2z2.dat 2z1.dat 1alpha 2x.txt 2inner 3deep.bin"},
        {"an unknown mode changes nothing", "/r", 6,
         "1b.TXT 1a.txt 1Readme 1zeta 2z2.dat 2z1.dat 1c.md 1alpha 2x.txt 2inner 3deep.bin"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        tree.clearTree();
        ASSERT_TRUE(readChart(tree, kSortChart));
        sortTree(tree, node(QString::fromUtf8(c.at)), c.mode);
        EXPECT_EQ(order(), QString::fromUtf8(c.order));
        expectLinksConsistent();
    }
}

TEST_F(TreeSortTest, SortingBackByScanOrderUndoesAnySort) {
    // Every sort only permutes siblings: a scan-order sort afterwards restores the list (the stray
    // star aside, which stays with the stars).
    sortTree(tree, tree.root(), TreeSortSerial);
    const QString scanOrder = order();
    for (int mode : std::initializer_list<int>{TreeSortName, TreeSortExtension | TreeSortReverse, TreeSortSize, TreeSortStamp | TreeSortReverse}) {
        sortTree(tree, tree.root(), mode);
        sortTree(tree, tree.root(), TreeSortSerial);
        EXPECT_EQ(order(), scanOrder) << mode;
    }
}

TEST(TreeSortLarge, EveryGalaxyEndsWithItsStarsSortedThenItsGalaxies) {
    // A random tree of a few thousand nodes with stars and galaxies mixed in every galaxy.
    RecordingCheckSink sink;
    ScopedCheckSink installed(&sink);
    treeInfo tree(QStringLiteral("/"), QStringLiteral("/"));
    std::mt19937 random(7);
    std::function<void(fileInfo*, int)> fill = [&](fileInfo* galaxy, int depth) {
        const int children = depth == 1 ? 60 : static_cast<int>(random() % 12);
        for (int i = 0; i < children; ++i) {
            fileInfo* n = tree.appendNode(tree.lastNode(), depth, QStringLiteral("n%1").arg(random() % 50));
            n->parent = galaxy;
            n->size = random() % 20;
            if (depth < 5 && random() % 3 == 0) {
                n->kind = KindGalaxy;
                fill(n, depth + 1);
            }
        }
    };
    fill(tree.root(), 1);
    tree.rebuildLinks();
    std::map<fileInfo*, fileInfo*> parents;
    for (fileInfo* n = tree.root()->next; n != tree.bottom(); n = n->next) parents[n] = n->parent;
    ASSERT_GT(parents.size(), 100u);

    sortTree(tree, tree.root(), TreeSortSize | TreeSortReverse);
    std::map<fileInfo*, std::pair<bool, const fileInfo*>> lastChild; // galaxy: (seen a galaxy, last child)
    std::size_t seen = 0;
    for (fileInfo* n = tree.root()->next; n != tree.bottom(); n = n->next, ++seen) {
        ASSERT_EQ(n->prev->next, n);
        ASSERT_EQ(parents.at(n), n->parent); // nothing changes galaxy
        // The list is depth-first again: a node follows its parent's subtree start.
        ASSERT_TRUE(n->prev == n->parent || n->prev->depth >= n->depth) << n->name().toStdString();
        auto& [galaxySeen, previous] = lastChild[n->parent];
        if (previous) {
            const bool sameKind = previous->isGalaxy() == n->isGalaxy();
            EXPECT_TRUE(!sameKind || previous->size >= n->size) << n->name().toStdString();
            EXPECT_FALSE(galaxySeen && !n->isGalaxy()) << "a star after a sub-galaxy";
        }
        galaxySeen |= n->isGalaxy();
        previous = n;
    }
    EXPECT_EQ(seen, parents.size());
}

class TreeSearchTest : public testing::Test {
public:
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
    treeInfo tree{QStringLiteral("/"), QStringLiteral("/work/")};
    NebuLayout layout{tree};

    void SetUp() override {
        ASSERT_TRUE(readChart(tree, {"0|1|/top|0|0", "1|2|短い.txt|1|20100101000000", "1|1|銀河|0|0",
                                     "2|2|とても長い名前.txt|1|20100101000000", "2|1|b|0|0", "3|2|ab.c|1|20100101000000",
                                     "3|2|xy.z|1|20100101000000", "1|2|longest_ascii_name.dat|1|20100101000000"}));
        tree.sumSizes();
        tree.deepestLevel = 3;
        tree.displayDepth = 9;
        layout.relayout();
    }
};

TEST_F(TreeSearchTest, DeepestLongestNameAndLongestPath) {
    fileInfo* deepest = findDeepestShown(tree);
    ASSERT_TRUE(deepest);
    EXPECT_EQ(deepest->name(), "ab.c"); // the first one of that level

    const SearchHit name = findLongestName(tree);
    ASSERT_TRUE(name.node);
    EXPECT_EQ(name.node->name(), "longest_ascii_name.dat");
    EXPECT_EQ(name.bytes, 22);

    // Measured in code page 932 bytes: the Japanese names win the path although the ASCII name
    // has more characters.
    const SearchHit path = findLongestPath(tree);
    ASSERT_TRUE(path.node);
    EXPECT_EQ(path.node->name(), "とても長い名前.txt");
    EXPECT_EQ(path.bytes, cp932Length(tree.treePath(path.node)));
    int longest = 0;
    for (fileInfo* n = tree.topGalaxy; n != tree.bottom(); n = n->nextShown)
        longest = std::max(longest, cp932Length(tree.treePath(n)));
    EXPECT_EQ(path.bytes, longest);

    // With the display depth at 1 the deeper nodes are not searched.
    tree.displayDepth = 1;
    layout.relayout();
    EXPECT_EQ(findDeepestShown(tree), nullptr);
    EXPECT_EQ(findLongestPath(tree).node->name(), "longest_ascii_name.dat");
}

TEST(ParentRescanPath, CutsOneLevelAndKeepsARoot) {
    const std::vector<std::pair<QString, QString>> cases = {
        {"C:\\a\\b", "C:\\a"}, {"C:\\a", "C:\\"}, {"C:\\a\\b\\", "C:\\a"}, {"C:\\", ""},
        {"/home/user/work", "/home/user"}, {"/home", "/"}, {"/home/", "/"}, {"/", ""}, {"chart", ""},
    };
    for (const auto& [path, parent] : cases) EXPECT_EQ(parentRescanPath(path), parent) << path.toStdString();
}

TEST(RescanRefusal, AGalaxyTurnedIntoALinkIsNotScanned) {
    RecordingCheckSink sink;
    ScopedCheckSink installed(&sink);
    TempFolder folder;
    folder.write(QStringLiteral("top/inner/deep/a.txt"), "1");
    folder.write(QStringLiteral("elsewhere/secret.txt"), "1");
    treeInfo tree(folder.file(QStringLiteral("top")), QStringLiteral("/"));
    tree.searchDepth = 9;
    UniverseScan scan(tree, nullptr, nullptr);
    ASSERT_EQ(scan.scanUniverse(folder.file(QStringLiteral("top"))), 1);
    fileInfo* deep = nullptr;
    for (fileInfo* n = tree.root(); n != tree.bottom(); n = n->next)
        if (n->name() == "deep") deep = n;
    ASSERT_TRUE(deep);
    EXPECT_EQ(rescanRefusal(tree, deep), "");

    // The folder on the way is replaced by a link to another place after the scan.
    ASSERT_TRUE(QDir(folder.file(QStringLiteral("top/inner"))).removeRecursively());
    ASSERT_TRUE(QFile::link(folder.file(QStringLiteral("elsewhere")), folder.file(QStringLiteral("top/inner"))));
    EXPECT_TRUE(rescanRefusal(tree, deep).startsWith(QStringLiteral("リンクになった銀河からは検索しません！")));
    // A folder that is simply gone is left to the scan, which reports it.
    ASSERT_TRUE(QFile::remove(folder.file(QStringLiteral("top/inner"))));
    EXPECT_EQ(rescanRefusal(tree, deep), "");
}

} // namespace
