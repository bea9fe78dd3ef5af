#include "script/QStringPrinter.h"
#include "TestSupport.h"
#include "atelier/AtelierColours.h"
#include "atelier/AtelierHelpText.h"
#include "atelier/CommandReference.h"
#include "common/TextFile.h"
#include "script/KeywordTables.h"

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const HelpPiece& p, std::ostream* os) {
    *os << "{" << p.text.toStdString() << "," << std::hex << p.colour << std::dec << "," << p.size << "}";
}

namespace {

QString homeFile(const char* name) { return qEnvironmentVariable("VIMORA_HOME") + "/atelier/" + name; }

// The keyword tables are shared by the whole process: every test starts and ends without
// descriptions.
class Descriptions : public testing::Test {
protected:
    void SetUp() override { clearDescriptions(); }
    void TearDown() override { clearDescriptions(); }
    static const KeywordEntry& entry(int table, int index) { return keywordTable(table)[index]; }
};

TEST_F(Descriptions, LinesOfTheReferenceFileGiveTheirKeywordsDescriptionsAndLineCounts) {
    const QStringList lines = {
        QStringLiteral("4,abs(x)|絶対値"),
        QStringLiteral("1\tBitMap ビットマップ画像のキャラクター"),
        QStringLiteral("2,Canvas:左,上|位置|r右寄せ"),
        QStringLiteral("0,COLOR=色番号"),      // case-insensitive, one table only
        QStringLiteral("5,to,終わりの値"),      // a comma after the keyword is skipped
        QStringLiteral("5,then"),              // the keyword alone: an empty description
        QStringLiteral("0,maxXtra=1"),         // no keyword ends there: maxX must not match
        QStringLiteral("7,X=out of range"),    // tables beyond 5 are ignored
        QStringLiteral("-1,X=out of range"),
        QStringLiteral("x"),                   // too short
        QStringLiteral("abc"),                 // no table number
    };
    EXPECT_EQ(applyDescriptionLines(lines), 6);

    EXPECT_EQ(entry(TableFunctions, 0).explanation, u"(x)|絶対値"_qs);
    EXPECT_EQ(entry(TableFunctions, 0).explanationLines, 2);
    EXPECT_EQ(entry(TableKinds, 0).explanation, u"ビットマップ画像のキャラクター"_qs);
    EXPECT_EQ(entry(TableSettings, 4).explanation, u":左,上|位置|r右寄せ"_qs);
    EXPECT_EQ(entry(TableSettings, 4).explanationLines, 3);
    EXPECT_EQ(entry(TableAttributes, Attr::Color).explanation, u"=色番号"_qs);
    EXPECT_TRUE(entry(TableSettings, 5).explanation.isEmpty()) << "Color of the settings table";
    EXPECT_EQ(entry(TableControls, 1).explanation, u"終わりの値"_qs);
    EXPECT_TRUE(entry(TableAttributes, Attr::maxX).explanation.isEmpty());
    EXPECT_TRUE(entry(TableAttributes, Attr::X).explanation.isEmpty());
}

TEST_F(Descriptions, EveryRowIsAtLeastOneLineHighAndAMissingFileLeavesThemEmpty) {
    EXPECT_EQ(entry(TableAttributes, Attr::balloon).explanationLines, 1);
    EXPECT_EQ(referenceRowHeight(entry(TableAttributes, Attr::balloon).explanationLines, true), 20);
    EXPECT_EQ(referenceRowHeight(3, true), 60);
    EXPECT_EQ(referenceRowHeight(3, false), 20);
    EXPECT_EQ(referenceRowHeight(0, true), 20);

    applyDescriptionLines({QStringLiteral("4,sin(度)|正弦")});
    EXPECT_FALSE(readDescriptionFile(QStringLiteral("/nonexistent/help_cmd.txt")));
    EXPECT_TRUE(entry(TableFunctions, 1).explanation.isEmpty());
}

TEST_F(Descriptions, TheBundledReferenceDescribesEveryKeywordOfEveryTable) {
    ASSERT_TRUE(readDescriptionFile(homeFile("help_cmd.txt")));
    for (int t = 0; t < KeywordTableCount; ++t) {
        for (const KeywordEntry& e : keywordTable(t)) {
            EXPECT_FALSE(e.explanation.isEmpty()) << t << " " << e.standard.toString().toStdString();
            EXPECT_GE(e.explanationLines, 1);
            const std::vector<DescriptionLine> lines = descriptionLines(e.explanation);
            ASSERT_FALSE(lines.empty());
            // The collapsed row shows the first line only: it must say something.
            bool hasJapanese = false;
            for (const DescriptionLine& line : lines)
                for (QChar c : line.text) hasJapanese |= c.unicode() >= 0x3000;
            EXPECT_TRUE(hasJapanese) << e.standard.toString().toStdString();
        }
    }
}

TEST(DescriptionLinesTest, SplitAtBarsWithRightAlignedLines) {
    EXPECT_TRUE(descriptionLines(QString()).empty());
    const std::vector<DescriptionLine> expected = {{u"(x)"_qs, false}, {u"絶対値"_qs, false}, {u"右"_qs, true}, {QString(), false}};
    EXPECT_EQ(descriptionLines(u"(x)|絶対値|r右|"_qs), expected);
}

TEST(ReferenceCategoriesTest, CategoriesListTheirTablesWithTheirColumns) {
    const auto& c = referenceCategories();
    ASSERT_EQ(c.size(), 6u);
    const int tables[] = {TableBlocks, TableAttributes, TableFunctions, TableControls, TableKinds, TableSettings};
    for (size_t i = 0; i < c.size(); ++i) EXPECT_EQ(c[i].table, tables[i]) << i;
    EXPECT_EQ(c[kFirstCategory].caption, u"ヴィモラコマンド"_qs);
    EXPECT_EQ(c[2].columnCount(), 2);
    EXPECT_EQ(c[4].columnCount(), 3);

    using W = std::array<int, 3>;
    EXPECT_EQ(referenceColumnWidths(0, 600, false), (W{100, 104, 390}));
    EXPECT_EQ(referenceColumnWidths(1, 600, true), (W{88, 104, 384}));
    EXPECT_EQ(referenceColumnWidths(3, 600, false), (W{64, 530, 0}));
    EXPECT_EQ(referenceColumnWidths(5, 600, true), (W{112, 112, 352}));
}

TEST(ColourFile, LinesSetPairsAndBadLinesKeepTheirBuiltInColours) {
    struct Case {
        const char* name;
        QStringList lines;
        int set;
        std::vector<std::pair<int, std::array<uint32_t, 2>>> expect; // pair, white, black
    };
    const ColourTable builtIn;
    auto kept = [&](int pair) { return std::pair{pair, std::array{builtIn.colour(pair, 0), builtIn.colour(pair, 1)}}; };
    const Case cases[] = {
        {"two pairs", {"1,2,3,4,5,6", "255,0,0, 0,0,255"}, 2,
         {{0, {0x030201, 0x060504}}, {1, {0x0000FF, 0xFF0000}}, kept(2)}},
        {"value out of range", {"1,2,3,4,5,6", "300,0,0,0,0,0", "7,8,9,10,11,12"}, 2,
         {{0, {0x030201, 0x060504}}, kept(1), {2, {0x090807, 0x0C0B0A}}}},
        {"missing field", {"1,2,3,4,5"}, 0, {kept(0)}},
        {"empty field", {"1,2,,4,5,6"}, 0, {kept(0)}},
        {"short lines take no pair", {"", "x", "1,2,3,4,5,6"}, 1, {{0, {0x030201, 0x060504}}}},
        {"lines past the last pair", QStringList(12, "1,1,1,1,1,1") << "2,2,2,2,2,2", 11, {{10, {0x010101, 0x010101}}}},
    };
    for (const Case& c : cases) {
        ColourTable table;
        EXPECT_EQ(table.applyLines(c.lines), c.set) << c.name;
        for (const auto& [pair, colours] : c.expect) {
            EXPECT_EQ(table.colour(pair, WhiteBoard), colours[0]) << c.name << " pair " << pair;
            EXPECT_EQ(table.colour(pair, BlackBoard), colours[1]) << c.name << " pair " << pair;
        }
    }
}

TEST(ColourFile, TheBundledFileHoldsTheBuiltInColoursAndAMissingFileIsReported) {
    ColourTable table;
    table.setPair(3, 1, 2);
    ASSERT_TRUE(table.readFile(homeFile("color.txt")));
    const ColourTable builtIn;
    for (int pair = 0; pair < ColourPairCount; ++pair)
        for (int board : {WhiteBoard, BlackBoard}) EXPECT_EQ(table.colour(pair, board), builtIn.colour(pair, board));
    EXPECT_EQ(builtIn.colour(PairString, WhiteBoard), 0x408000u);
    EXPECT_EQ(builtIn.colour(PairKeyword + 5, BlackBoard), 0xF09080u);
    EXPECT_FALSE(table.readFile(QStringLiteral("/nonexistent/color.txt")));
}

TEST(HelpText, StyledAndPlainFormsOfTheHelpLines) {
    const QStringList lines = {u"題名"_qs, u"副題です"_qs, u"_見出し"_qs, u"本文の行"_qs, u"ab"_qs};
    const std::vector<HelpPiece> styled = {
        {u"題名\n"_qs, 0xA0FFFF, 12},         {u" "_qs, 0xFFFFFF, 15}, {u"副題です\n"_qs, 0xA0FFFF, 12},
        {u" "_qs, 0xFFFFFF, 15},             {u"見出し\n"_qs, 0x00FFFF, 10}, {u" "_qs, 0xFFFFFF, 15},
        {u"本文の行\n"_qs, 0xFFFFFF, 11},     {u"ab\n"_qs, 0xFFFFFF, 9},
    };
    EXPECT_EQ(helpPieces(lines, true), styled);
    const std::vector<HelpPiece> plain = helpPieces(lines, false);
    ASSERT_EQ(plain.size(), styled.size());
    EXPECT_EQ(plain[4], (HelpPiece{u"_見出し\n"_qs, 0xFFFFFF, 11}));

    QStringList bundled;
    ASSERT_TRUE(readTextLines(homeFile("atelier.txt"), bundled));
    EXPECT_GT(bundled.size(), 5);
}

} // namespace
