// Constellation data: reading with its validation, time stamp forms, metadata, writing.
#include "UniverseFixture.h"
#include "TestSupport.h"

#include "common/Platform.h"
#include "common/ShowCheck.h"
#include "common/TextCodec.h"
#include "common/Texts.h"

#include <QFile>
#include <gtest/gtest.h>

#include <unistd.h>

namespace {

class ConstellationTest : public testing::Test {
protected:
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
    treeInfo tree{QStringLiteral("/"), QStringLiteral("/work/")};
};

TEST_F(ConstellationTest, ReadsCommentsRootAfterCommentsAndReportsOutsideLinesOnce) {
    ASSERT_TRUE(readChart(tree, {
        "' a hand-made chart",          // 0 comment
        "",                             // 1 empty
        ": another comment",            // 2
        "0|17|C:\\|0|20140308150000",   // 3 root
        "1|2|a.txt|1024|20130101093000",
        "abc",                          // 5 outside
        "   ",                          // blanks only: ignored
        "\tindented",                   // control first: ignored
        "1|1|sub|0|201001021530",
        "2|2|b.bin|10|1262394000000",
        "2|8|c.txt|999|20100102153000|400,300,0,text:hello world 1234",
    }));
    EXPECT_EQ(chartLines(tree), QStringList({
        "0|17|C:\\|1065|20140308150000",
        "1|2|a.txt|1024|20130101093000",
        "1|1|sub|41|20100102153000",
        "2|2|b.bin|10|" + QString::number(fileTimeNumber(1262394000)),
        "2|8|c.txt|31|20100102153000|400,300,0,text:hello world 1234",
    }));
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, "書式外の行があります！");
    EXPECT_EQ(sink.records[0].caption, "(行数:1) 5 行...");
    EXPECT_EQ(tree.galaxyCount, 2);
    EXPECT_EQ(tree.starCount, 3);
    EXPECT_EQ(tree.deepestLevel, 2);
    EXPECT_EQ(tree.searchDepth, 2);
    EXPECT_FALSE(tree.chartMode);
    EXPECT_EQ(tree.driveText, " C:");
    EXPECT_EQ(tree.pathBuffer, "C:\\");
    const fileInfo* c = tree.lastNode();
    ASSERT_TRUE(c->meta);
    EXPECT_EQ(c->meta->dataKind, 3);
    EXPECT_EQ(c->parent->name(), "sub");
    EXPECT_EQ(tree.treePath(c), "C:\\sub\\c.txt");
}

// Every bad line is counted, reported with the first index, and never stops the good lines.
TEST_F(ConstellationTest, LinesOutsideTheFormat) {
    const QStringList bad = {
        "1|2|three tabs|5",              // four fields
        "1|2|six|5|20100101000000|m|x",  // seven fields
        "1x|2|name|5|20100101000000",    // depth not an integer
        "1|2y|name|5|20100101000000",    // kind not an integer
        "0|2|second root|5|20100101000000",
        "-1|2|negative|5|20100101000000",
        "3|2|skips a level|5|20100101000000",
        "1000|2|too deep|5|20100101000000",
        "x1|2|letter first|5|20100101000000",
    };
    for (const QString& line : bad) {
        SCOPED_TRACE(line.toStdString());
        sink.records.clear();
        treeInfo t(QStringLiteral("/"), QStringLiteral("/"));
        ASSERT_TRUE(readChart(t, {"0|1|/data|0|0", line, "1|2|good|7|20100101000000"}));
        EXPECT_EQ(chartLines(t), QStringList({"0|1|/data|7|0", "1|2|good|7|20100101000000"}));
        ASSERT_EQ(sink.records.size(), 1u);
        EXPECT_EQ(sink.records[0].caption, "(行数:1) 1 行...");
    }
}

// In a tree of real paths a name is one path component, so no later file command can be led
// elsewhere; a chart's names are free labels.
TEST_F(ConstellationTest, NamesThatWouldLeaveTheirGalaxyAreOutsideTheFormat) {
    for (const char* root : {"/home/u", "C:\\"}) {
        SCOPED_TRACE(root);
        sink.records.clear();
        ASSERT_TRUE(readChart(tree, {QStringLiteral("0|1|%1|0|0").arg(QString::fromUtf8(root)), "1|2|..|1|0",
                                     "1|2|../../etc/passwd|1|0", "1|2|a\\b|1|0", "1|2||1|0", "1|2|.|1|0",
                                     QStringLiteral("1|2|nul") + QChar(0) + QStringLiteral("cut|1|0"), "1|2|ok|1|0"}));
        EXPECT_EQ(tree.nodeCount(), root[0] == '/' ? 2u : 1u); // "a\\b" is a Linux name
        EXPECT_EQ(sink.records.at(0).caption, root[0] == '/' ? "(行数:5) 1 行..." : "(行数:6) 1 行...");
    }
    ASSERT_TRUE(readChart(tree, {"0|1|チャート|0|0", "1|2|A/B テスト|1|0", "1|2|..|1|0"}));
    EXPECT_EQ(tree.nodeCount(), 2u);
    ASSERT_TRUE(readChart(tree, {"0|1|/home/u|0|0", "1|2|back\\slash|1|0"})); // a Linux name may hold "\\"
    EXPECT_EQ(tree.nodeCount(), 1u);
}

TEST_F(ConstellationTest, AChildMustFollowAGalaxy) {
    ASSERT_TRUE(readChart(tree, {"0|1|/d|0|0", "1|2|star|1|0", "2|2|under a star|1|0", "1|1|g|0|0", "2|2|ok|3|0"}));
    EXPECT_EQ(chartLines(tree), QStringList({"0|1|/d|4|0", "1|2|star|1|0", "1|1|g|3|0", "2|2|ok|3|0"}));
    EXPECT_EQ(sink.records.at(0).caption, "(行数:1) 2 行...");
}

TEST_F(ConstellationTest, WithoutARootTheTreeStaysAsItWas) {
    ASSERT_TRUE(readChart(tree, {"0|1|/old|0|0", "1|2|kept|5|0"}));
    sink.records.clear();
    for (const QStringList& lines : {QStringList{}, QStringList{"garbage"}, QStringList{"1|2|no root|1|0"}}) {
        EXPECT_FALSE(readChart(tree, lines));
        EXPECT_EQ(chartLines(tree), QStringList({"0|1|/old|5|0", "1|2|kept|5|0"}));
    }
    EXPECT_EQ(sink.records.size(), 3u);
}

TEST_F(ConstellationTest, TimeStampForms) {
    struct Case {
        uint64_t in, out;
    } cases[] = {
        {20100102153000ULL, 20100102153000ULL}, // packed, unchanged
        {201001021530ULL, 20100102153000ULL},   // twelve digits
        {1262394000000ULL, fileTimeNumber(1262394000)}, // milliseconds since 1970
        {0, 0},
        {12345, 12345},
        {300012312359ULL, 300012312359ULL},     // neither form: unchanged
    };
    for (const Case& c : cases) EXPECT_EQ(convertStamp(c.in), c.out) << c.in;
    // Far-out milliseconds must not break the conversion.
    EXPECT_NO_FATAL_FAILURE(convertStamp(UINT64_MAX));
}

TEST_F(ConstellationTest, HugeAndOddNumbersSaturate) {
    ASSERT_TRUE(readChart(tree, {"0|1|/d|0|0", "1|2|a|99999999999999999999999|1e400", "1|2|b|18446744073709551615|-5",
                                 "1|2|c|1.5e3|2.01001021530e13"}));
    const fileInfo* a = tree.root()->next;
    EXPECT_EQ(a->size, UINT64_MAX);
    EXPECT_EQ(a->next->size, UINT64_MAX);
    EXPECT_EQ(a->next->stamp, 0u);
    EXPECT_EQ(a->next->next->size, 1500u);
    EXPECT_EQ(a->next->next->stamp, 20100102153000ULL);
    EXPECT_EQ(tree.root()->size, UINT64_MAX); // the sum saturates instead of wrapping
}

TEST_F(ConstellationTest, AChartWithoutDriveLetter) {
    ASSERT_TRUE(readChart(tree, {"0|1|新世界|0|0", "1|2|星|0|0|300,200,1,http://example.com/"}));
    EXPECT_TRUE(tree.chartMode);
    EXPECT_EQ(tree.driveText, "mc");
    EXPECT_EQ(tree.lastNode()->meta->mark(), "_◆");
    EXPECT_EQ(tree.lastNode()->size, 29u); // the length of the metadata text
}

TEST_F(ConstellationTest, SaveAndReadBackInCodePage932) {
    TempFolder dir;
    ASSERT_TRUE(readChart(tree, {"0|1|/データ|0|0", "1|2|日本語.txt|100|20100102153000", "1|1|銀河|0|20100102153000",
                                 "2|6|深い|50|20110102153000|100,100,0,text:メモ", "2|1|空|0|20100102153000"}));
    tree.metaChanged = true;
    const QString path = dir.file("t.nebu");
    ASSERT_TRUE(writeConstellation(tree, path));
    EXPECT_FALSE(tree.metaChanged);
    QByteArray bytes;
    ASSERT_TRUE(readFileBytes(path, bytes));
    EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(bytes.contains(encodeCp932(QStringLiteral("1\t2\t日本語.txt\t100\t20100102153000\r\n"))));

    treeInfo back(QStringLiteral("/"), QStringLiteral("/"));
    ASSERT_TRUE(readConstellation(back, path, nullptr));
    EXPECT_EQ(chartLines(back), chartLines(tree));
    EXPECT_EQ(back.lastNode()->parent->name(), "銀河");
    EXPECT_TRUE(sink.records.empty());
}

TEST_F(ConstellationTest, NamesOutsideCodePage932GoAsUtf8AndControlsNeverSplitALine) {
    TempFolder dir;
    ASSERT_TRUE(readChart(tree, {"0|1|/d|0|0", "1|2|smile😀ä.txt|1|0"}));
    tree.appendNode(tree.lastNode(), 1, QStringLiteral("tab\there\nline"))->parent = tree.root();
    const QString path = dir.file("u.nebu");
    ASSERT_TRUE(writeConstellation(tree, path));
    QByteArray bytes;
    ASSERT_TRUE(readFileBytes(path, bytes));
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    treeInfo back(QStringLiteral("/"), QStringLiteral("/"));
    ASSERT_TRUE(readConstellation(back, path, nullptr));
    EXPECT_EQ(back.root()->next->name(), "smile😀ä.txt");
    EXPECT_EQ(back.lastNode()->name(), "tab\uFFFDhere\uFFFDline");
    EXPECT_TRUE(sink.records.empty());
}

// A name outside code page 932 late in a large tree still turns the whole file into UTF-8.
TEST_F(ConstellationTest, ALateNameOutsideCodePage932ChangesTheWholeFile) {
    TempFolder dir;
    ASSERT_TRUE(readChart(tree, {"0|1|/d|0|0"}));
    fileInfo* last = tree.root();
    for (int i = 0; i < 30000; ++i) { // past the first encoding chunk
        last = tree.appendNode(last, 1, QStringLiteral("星の名前_%1_").arg(i) + QString(30, u'x'));
        last->parent = tree.root();
    }
    last = tree.appendNode(last, 1, QStringLiteral("最後😀"));
    last->parent = tree.root();
    ASSERT_TRUE(writeConstellation(tree, dir.file("big.nebu")));
    QByteArray bytes;
    ASSERT_TRUE(readFileBytes(dir.file("big.nebu"), bytes));
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(bytes.mid(3, 2), "0\t");
    treeInfo back(QStringLiteral("/"), QStringLiteral("/"));
    ASSERT_TRUE(readConstellation(back, dir.file("big.nebu"), nullptr));
    EXPECT_EQ(back.nodeCount(), 30001u);
    EXPECT_EQ(back.lastNode()->name(), "最後😀");
    EXPECT_EQ(back.root()->next->name(), tree.root()->next->name());
}

TEST_F(ConstellationTest, AFailedWriteIsReportedAndKeepsTheChangedFlag) {
    TempFolder dir;
    ASSERT_TRUE(readChart(tree, {"0|1|/d|0|0"}));
    tree.metaChanged = true;
    EXPECT_FALSE(writeConstellation(tree, dir.file("missing/folder/t.nebu")));
    EXPECT_TRUE(tree.metaChanged);
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].caption, dir.file("missing/folder/t.nebu"));
}

TEST_F(ConstellationTest, AFileBeyondTheSizeLimitIsRefusedUnread) {
    TempFolder dir;
    ASSERT_TRUE(readChart(tree, {"0|1|/d|0|0"}));
    const QString path = dir.file("huge.nebu");
    ASSERT_TRUE(writeFileAtomic(path, "0\t1\t/x\t0\t0\r\n"));
    ASSERT_EQ(::truncate(QFile::encodeName(path).constData(), kMaxConstellationBytes + 1), 0); // sparse
    EXPECT_FALSE(readConstellation(tree, path, nullptr));
    EXPECT_EQ(tree.root()->name(), "/d");
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, "星座データが大きすぎます！");
}

TEST_F(ConstellationTest, AMissingFileIsReportedAndChangesNothing) {
    TempFolder dir;
    ASSERT_TRUE(readChart(tree, {"0|1|/d|0|0", "1|2|x|1|0"}));
    EXPECT_FALSE(readConstellation(tree, dir.file("none.nebu"), nullptr));
    EXPECT_EQ(chartLines(tree).size(), 2);
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, "指定の「NEBU」星座データの[星]が存在しません！");
}

} // namespace
