// The universe tree: links, sizes, paths, node texts, metadata, layout and the tree image text.
#include "UniverseFixture.h"

#include "universe/NodeText.h"
#include "universe/TreeImage.h"
#include "universe/TreeLayout.h"
#include "universe/metaInfo.h"

#include "common/ShowCheck.h"

#include <gtest/gtest.h>

namespace {

class TreeTest : public testing::Test {
protected:
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
    treeInfo tree{QStringLiteral("/"), QStringLiteral("/work/")};

    fileInfo* node(const QString& name) {
        for (fileInfo* n = tree.root(); n != tree.bottom(); n = n->next)
            if (n->name() == name) return n;
        ADD_FAILURE() << name.toStdString();
        return tree.root();
    }
};

TEST_F(TreeTest, SizesAddUpAtEveryLevelAndMarksFollowSiblings) {
    ASSERT_TRUE(readChart(tree, {"0|1|/r|999|0", "1|2|a|1|0", "1|2|b|2|0", "1|1|g|999|0", "2|2|c|4|0", "2|1|h|7|0",
                                 "3|2|d|8|0", "2|1|empty|55|0", "1|1|last|0|0"}));
    EXPECT_EQ(node("h")->size, 8u);
    EXPECT_EQ(node("g")->size, 12u);
    EXPECT_EQ(node("empty")->size, 0u);
    EXPECT_EQ(tree.root()->size, 15u);
    const char* withSibling[] = {"a", "b", "g", "c", "h"};
    const char* without[] = {"d", "empty", "last"};
    for (const char* n : withSibling) EXPECT_EQ(node(n)->marks & MarkSiblingFollows, 1u) << n;
    for (const char* n : without) EXPECT_EQ(node(n)->marks & MarkSiblingFollows, 0u) << n;
    EXPECT_EQ(node("d")->parent, node("h"));
    EXPECT_EQ(node("last")->parent, tree.root());
    EXPECT_EQ(node("b")->serial, 2);
}

TEST_F(TreeTest, PathsUseTheRootsSeparator) {
    ASSERT_TRUE(readChart(tree, {"0|1|C:\\|0|0", "1|2|a.txt|1|0", "1|1|Windows|0|0", "2|2|b.dll|1|0"}));
    EXPECT_EQ(tree.treePath(node("a.txt")), "C:\\a.txt");
    EXPECT_EQ(tree.treePath(node("b.dll")), "C:\\Windows\\b.dll");
    EXPECT_EQ(tree.treePath(tree.root()), "C:\\");
    ASSERT_TRUE(readChart(tree, {"0|1|/home/u|0|0", "1|1|銀河|0|0", "2|2|星.txt|1|0"}));
    EXPECT_EQ(tree.treePath(node("星.txt")), "/home/u/銀河/星.txt");
    ASSERT_TRUE(readChart(tree, {"0|1|/|0|0", "1|2|etc|1|0"}));
    EXPECT_EQ(tree.treePath(node("etc")), "/etc");
}

TEST_F(TreeTest, ClearTreeLinksRootAndSentinel) {
    ASSERT_TRUE(readChart(tree, {"0|1|/r|0|0", "1|2|a|1|0"}));
    tree.clearTree();
    EXPECT_EQ(tree.root()->next, tree.bottom());
    EXPECT_EQ(tree.bottom()->prev, tree.root());
    EXPECT_EQ(tree.nodeCount(), 0u);
}

TEST_F(TreeTest, NodeLimitActsAsMemoryShortage) {
    tree.nodeLimit = 2;
    ASSERT_TRUE(readChart(tree, {"0|1|/r|0|0", "1|2|a|1|0", "1|2|b|1|0", "1|2|c|1|0"}));
    EXPECT_EQ(tree.nodeCount(), 2u);
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].caption, "メモリー不足で銀河が作成できません！");
}

TEST_F(TreeTest, MetadataParsing) {
    struct Case {
        const char* text;
        uint32_t errors;
        int kind, width, dwell;
    } cases[] = {
        {"400,300,0,text:hi", 0, 3, 400, 1},
        {"400,300,1,5,IMAG:a.png", 0, 5, 400, 5},
        {"400,300,1,-2,exec:a,b:c", 0, 7, 400, 1},
        {"no commas", 15, 0, 0, 1},
        {"1,2", 14, 0, 0, 1},
        {"5,300,0,text:x", 16, 0, 5, 1},
        {"400,300,0,what:x", 64, 0, 400, 1},
        {"400,300,0,text:line\r\nbreak\n", 0, 3, 400, 1},
    };
    for (const Case& c : cases) {
        const metaInfo m(QString::fromUtf8(c.text));
        EXPECT_EQ(m.errors, c.errors) << c.text;
        EXPECT_EQ(m.dataKind, c.kind) << c.text;
        EXPECT_EQ(m.width, c.width) << c.text;
        EXPECT_EQ(m.dwell, c.dwell) << c.text;
    }
    EXPECT_EQ(metaInfo(QStringLiteral("400,300,0,text:line\r\nbreak\n")).text, "400,300,0,text:line  break");
}

TEST_F(TreeTest, NameAndDetailTexts) {
    ASSERT_TRUE(readChart(tree, {"0|1|/r|0|0", "1|2|readme.txt|1536|20100503123000", "1|12|日本語の長い名前.txt|5|0",
                                 "1|2|abcdefghijklmnop|1234567|0", "1|2|m.txt|0|0|400,300,0,text:x",
                                 "1|1|galaxy|0|0"}));
    fileInfo* readme = node("readme.txt");
    struct Case {
        const char* name;
        bool cut;
        int options, width;
        const char* text;
    } cases[] = {
        {"readme.txt", false, 0, 24, "readme.txt"},
        {"readme.txt", false, FormatExtension, 12, "readme      .txt"},
        {"readme.txt", true, 0, 8, "readme.."},
        {"abcdefghijklmnop", true, 0, 10, "abcdefgh.."},
        {"日本語の長い名前.txt", true, 0, 12, "日本語の長.."},
        {"日本語の長い名前.txt", true, 0, 11, "日本語の..."},
        {"m.txt", false, 0, 24, "m.txt_■"},
        {"m.txt", false, FormatExtension, 4, "m   .txt_■"},
        {"galaxy", true, 0, 24, "< galaxy >"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(nameText(*node(QString::fromUtf8(c.name)), false, c.cut, c.options, c.width, false),
                  QString::fromUtf8(c.text))
            << c.name << " " << c.width;
    }
    EXPECT_EQ(nameText(*node("m.txt"), false, false, 0, 24, true), "       m.txt ");
    EXPECT_EQ(nameText(*node("abcdefghijklmnop"), false, false, 0, 24, true), "abcdefghijklmnop");

    readme->cloneCount = 3;
    EXPECT_EQ(detailText(*readme, ViewSize | ViewTime | ViewAttributes | ViewClones, 0),
              "           1,536  2010/05/03 12:30:00  A...     3");
    EXPECT_EQ(detailText(*readme, ViewSize, FormatShortSize), "1.50k  ");
    EXPECT_EQ(detailText(*node("日本語の長い名前.txt"), ViewAttributes | ViewClones, 0), ".H.R      ");
}

TEST_F(TreeTest, LayoutFiltersAndRows) {
    ASSERT_TRUE(readChart(tree, {"0|1|/r|0|0", "1|2|a.txt|1|20100101000000", "1|2|b.log|1|20100101000000",
                                 "1|2|old.txt|1|0", "1|1|g|0|0", "2|2|deep.txt|1|20100101000000",
                                 "1|1|nothing|0|0"}));
    TreeView view;
    LayoutCounts c = layoutTree(tree, view);
    EXPECT_EQ(c.chain, 6); // old.txt lies outside the time range
    EXPECT_EQ(c.rows, 6);
    EXPECT_EQ(countersText(tree, c), "最深:2  検索 ( D=3 F=4 )  表示:6 ( D=3 F=3 )");

    view.starWild = QStringLiteral("*.TXT");
    c = layoutTree(tree, view);
    EXPECT_EQ(c.shownStars, 2);   // a.txt and deep.txt
    EXPECT_EQ(c.shownGalaxies, 2); // the top and g, which holds deep.txt

    view = TreeView{};
    view.starsPerRow = 2;
    view.hideStarlessGalaxies = true;
    c = layoutTree(tree, view);
    EXPECT_EQ(node("a.txt")->row, node("b.log")->row);
    EXPECT_EQ(node("b.log")->column, 1);
    EXPECT_EQ(node("nothing")->row, -1);
    EXPECT_EQ(c.rows, 4);

    view = TreeView{};
    view.starsShown = false;
    view.displayDepth = 1;
    c = layoutTree(tree, view);
    EXPECT_EQ(c.chain, 3);
    EXPECT_TRUE(maskMatches(u"*a?e*", u"Phase1"));
    EXPECT_FALSE(maskMatches(u"a*b", u"acbx"));
}

TEST_F(TreeTest, TreeImageOfASmallGalaxy) {
    ASSERT_TRUE(readChart(tree, {"0|1|/宇宙|0|0", "1|2|a.txt|1|20100101000000", "1|2|b.txt|1|20100101000000",
                                 "1|1|空|0|0"}));
    TreeView view;
    layoutTree(tree, view);
    TreeImageStyle style;
    style.indent = 2;
    EXPECT_EQ(treeImageLines(tree, view, style), QStringList({
        "〔 HD_宇宙 〕",
        "  └< /宇宙 >",
        "    　  ├a.txt",
        "    　  ├b.txt",
        "    　  └< 空 >",
    }));
}

TEST_F(TreeTest, TreeImageConnectorsAndDetails) {
    ASSERT_TRUE(readChart(tree, {"0|1|/r|0|0", "1|1|g|0|20100101000000", "2|2|x|1|20100101000000",
                                 "1|2|y|2|20100101000000"}));
    TreeView view;
    view.viewFlags = ViewSize;
    layoutTree(tree, view);
    TreeImageStyle style;
    style.indent = 1;
    EXPECT_EQ(treeImageLines(tree, view, style), QStringList({
        "〔 HD_宇宙 〕",
        "  └< /r >" + QString(15, u' ') + "3  ",
        "    　 ├< g >" + QString(15, u' ') + "1  ",
        "    　 │ └x" + QString(15, u' ') + "1  ",
        "    　 └y" + QString(15, u' ') + "2  ",
    }));
    view = TreeView{};
    view.starsShown = false;
    layoutTree(tree, view);
    EXPECT_EQ(treeImageLines(tree, view, style), QStringList({"〔 HD_宇宙 〕", "─└ < /r >", "    　 └ < g >"}));
}

} // namespace
