#include "QStringPrinter.h"
#include "script/KeywordForms.h"
#include "script/KeywordTables.h"

#include <gtest/gtest.h>

namespace {

TEST(KeywordTables, SizesCodesAndLookupFollowTheFixedOrder) {
    const size_t sizes[] = {71, 16, 20, 8, 9, 8};
    for (int t = 0; t < KeywordTableCount; ++t) EXPECT_EQ(keywordTable(t).size(), sizes[t]) << t;

    struct Case {
        int table;
        int index;
        char16_t code;
        const char16_t* standard;
        const char16_t* japanese;
    };
    const Case cases[] = {
        {TableAttributes, Attr::X, 0x3000, u"X", u"位置X"},
        {TableAttributes, Attr::dim, 0x3044, u"dim", u"配列"},
        {TableAttributes, Attr::pitman, 0x3046, u"pitman", u"ピットマン"},
        {TableKinds, 15, code::kind(Kind::pitman), u"pitman", u"ピットマン"},
        {TableSettings, 17, code::setting(Setting::Data), u"Data", u"データ"},
        {TableSettings, 19, code::setting(Setting::Music), u"Music", u"ミュージック"},
        {TableBlocks, 2, code::AcmdRun, u"Acmd_Run", u"Acmd実行"},
        {TableFunctions, 8, code::Read, u"read", u""},
        {TableControls, 7, code::Endif, u"endif", u""},
    };
    for (const Case& c : cases) {
        const KeywordEntry& entry = keywordTable(c.table)[c.index];
        EXPECT_EQ(keywordCode(c.table, c.index), c.code);
        EXPECT_EQ(entry.standard, QStringView(c.standard));
        EXPECT_EQ(entry.japanese, QStringView(c.japanese));
        EXPECT_EQ(keywordOfCode(c.code), &entry);
    }
    EXPECT_EQ(keywordOfCode(0x3047), nullptr);
    EXPECT_EQ(keywordOfCode(0x3308), nullptr);
    EXPECT_EQ(keywordTable(TableAttributes)[Attr::balloon].explanationLines, 0);
    EXPECT_EQ(keywordTable(TableAttributes)[Attr::balloonZ].explanationLines, 1);
}

TEST(KeywordForms, KeywordTestAtLineStart) {
    struct Case {
        const char16_t* text;
        qsizetype pos;
        const char16_t* keyword;
        bool separator;
        qsizetype length;
    };
    const Case cases[] = {
        {u"Load:stars.anim", 0, u"Load", true, 4},
        {u"LOAD,x", 0, u"Load", true, 4},
        {u"load", 0, u"Load", true, 4},
        {u"読込:stars.anim", 0, u"Load", true, 2},
        {u"Loader:x", 0, u"Load", true, 0},
        {u"Loader:x", 0, u"Load", false, 4},
        {u"$Load:x", 1, u"Load", true, 0},
        {u"題:タイトル", 0, u"Theme", true, 1},
        {u"theme", 0, u"Theme", true, 5},
        {u"メタチャート:5", 0, u"metaChart", true, 6},
        {u"Music :1", 0, u"Music", true, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(keywordLengthAt(QStringView(c.text), c.pos, QStringView(c.keyword), TableSettings, c.separator), c.length)
            << QString::fromUtf16(c.text).toStdString();
        EXPECT_EQ(isKeywordAt(QStringView(c.text), c.pos, QStringView(c.keyword), TableSettings, c.separator), c.length > 0);
    }
}

TEST(KeywordForms, KeywordAtForColouring) {
    int table = -1;
    EXPECT_EQ(keywordAt(u"ball:angleX=3", 5, &table), 6);
    EXPECT_EQ(table, TableAttributes);
    EXPECT_EQ(keywordAt(u"x=sin(30)", 2, &table), 3);
    EXPECT_EQ(table, TableFunctions);
    EXPECT_EQ(keywordAt(u"for $i", 0, &table), 3);
    EXPECT_EQ(table, TableControls);
    EXPECT_EQ(keywordAt(u"BitMap:ball", 0, &table), 6);
    EXPECT_EQ(table, TableKinds);
    EXPECT_EQ(keywordAt(u"xangle", 1, &table), 0);  // inside a word
    EXPECT_EQ(keywordAt(u"angles", 0, &table), 0);  // continues as a word
    EXPECT_EQ(keywordAt(u"", 0, &table), 0);
}

TEST(KeywordForms, FormDetectionCountsKeywords) {
    EXPECT_TRUE(isMostlyJapanese(u"no keywords here"));
    EXPECT_TRUE(isMostlyJapanese(u""));
    EXPECT_FALSE(isMostlyJapanese(u"ball:X=10,Y=20"));
    EXPECT_TRUE(isMostlyJapanese(u"ball:位置X=10,Y=20"));
    EXPECT_TRUE(isMostlyJapanese(u"ビットマップ:ball,1"));
}

TEST(KeywordForms, ConvertsSingleKeywordsAndLeavesTheRest) {
    struct Case {
        const char16_t* from;
        const char16_t* to;
    };
    const Case cases[] = {
        {u"ball:位置X=10", u"ball:X=10"},
        {u"$位置x=10", u"$位置x=10"},
        {u"ball:X=10", u"ball:位置X=10"},
        {u"$x=1:ball:X=sin(30)", u"$x=1:ball:位置X=sin(30)"},
        {u"Message:m,\"X Y\",1", u"メッセージ:m,\"X Y\",1"},
        {u"ANIME_SET:", u"アニメ設定:"},
        {u"Acmd実行:", u"Acmd_Run:"},
        {u"boxX=1", u"boxX=1"},
    };
    for (const Case& c : cases) EXPECT_EQ(convertForm(QStringView(c.from)), QString::fromUtf16(c.to));
}

TEST(KeywordForms, WholeProgramRoundTripsInBothDirections) {
    const QString standard = QStringLiteral(
        "Theme:Stars\r\n"
        "Anime_Set:\r\n"
        "Canvas:400,300\r\n"
        "Color:1,255,0,0\r\n"
        "BitMap:ball,\"ball.bmp\",1\r\n"
        "DotPtn:dot,2,2\r\n"
        "Message:note,\"Color X stays\",3\r\n"
        "Set_End:\r\n"
        "Wait:10\r\n"
        "for $i=1 to 10\r\n"
        "ball:X=$i*10,Y=20,angleZ=sin($i),dim[2]=5\r\n"
        "next\r\n"
        "Acmd_Run:\r\n"
        "ball:disp=1\r\n"
        "Acmd_End:\r\n"
        "NonStop_Set:\r\n"
        "ball:zoomX=2,Maze=1\r\n"
        "NonStop_End:\r\n");
    const QString japanese = convertForm(standard);
    EXPECT_TRUE(isMostlyJapanese(japanese));
    EXPECT_TRUE(japanese.contains(QStringLiteral("ビットマップ:ball")));
    EXPECT_TRUE(japanese.contains(QStringLiteral("位置X=$i*10,位置Y=20,角度Z=sin($i),配列[2]=5")));
    EXPECT_TRUE(japanese.contains(QStringLiteral("\"Color X stays\"")));
    EXPECT_EQ(convertForm(japanese), standard);

    const QString japaneseFirst = QStringLiteral("題:星\r\nアニメ設定:\r\nキャンバス:400,300\r\n設定終了:\r\n時間待:5\r\n");
    const QString toStandard = convertForm(japaneseFirst);
    EXPECT_EQ(toStandard, QStringLiteral("Theme:星\r\nAnime_Set:\r\nCanvas:400,300\r\nSet_End:\r\nWait:5\r\n"));
    EXPECT_EQ(convertForm(toStandard), japaneseFirst);
}

} // namespace
