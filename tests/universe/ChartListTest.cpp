// The chart list file: its lines read in pieces, the separators, the limits and what is said
// when something is cut; the choices its lines make.
#include "TestSupport.h"
#include "UniverseFixture.h"

#include "universe/ChartList.h"

#include "common/ShowCheck.h"
#include "common/TextCodec.h"

#include <gtest/gtest.h>

namespace {

QStringList entryTexts(const ChartList& list) {
    QStringList out;
    for (const ChartEntry& e : list.entries) out << e.shown + u'|' + e.file;
    return out;
}

TEST(ChartListTest, LinesGiveAShownNameAndAFileName) {
    struct Case {
        const char* text;
        QStringList entries; // "shown|file"
        int withoutFile;
    };
    const Case cases[] = {
        {"Sky charts,sky.nebu\r\n", {"Sky charts|sky.nebu"}, 0},
        {"Sky, sky.nebu\r\n", {"Sky| sky.nebu"}, 0},                 // a blank after the comma stays
        {"  Lead\tlead.nebu  \r\n", {"  Lead|lead.nebu"}, 0},        // leading blanks stay, trailing go
        {"Semi;a.nebu;more\n", {"Semi|a.nebu"}, 0},                  // the file name ends at the next separator
        {"Tab\tt.nebu,x\n", {"Tab|t.nebu"}, 0},
        {"\r\nab\r\n   \r\nKeep,k.nebu\r\n", {"Keep|k.nebu"}, 0}, // short and blank lines are skipped
        {"name only\r\nLast,last.nebu", {"Last|last.nebu"}, 1},      // a last line without its line end
        {"no separator at all", {}, 1},
        {"", {}, 0},
    };
    for (const Case& c : cases) {
        const ChartList list = ChartList::parse(QString::fromUtf8(c.text));
        EXPECT_EQ(entryTexts(list), c.entries) << c.text;
        EXPECT_EQ(list.linesWithoutFile, c.withoutFile) << c.text;
        EXPECT_EQ(list.problems().isEmpty(), c.withoutFile == 0) << c.text;
    }
}

TEST(ChartListTest, TwentyChartsListSixteenAndSaySo) {
    QString text;
    for (int i = 1; i <= 20; ++i) text += QStringLiteral("Chart %1,c%1.nebu\r\n").arg(i);
    const ChartList list = ChartList::parse(text);
    ASSERT_EQ(list.entries.size(), 16u);
    EXPECT_EQ(list.entries.back().file, QStringLiteral("c16.nebu"));
    EXPECT_EQ(list.chartsLeftOut, 4);
    EXPECT_EQ(list.problems(), QStringLiteral("チャート一覧の一部を読めませんでした！\nチャートは 16 件までなので 4 件を省きました"));
    const QStringList lines = list.lines();
    ASSERT_EQ(lines.size(), 19);
    EXPECT_EQ(lines.mid(16), QStringList({" ----------------", " 銀河の星座から", " "}));
}

TEST(ChartListTest, LongLinesComeInPiecesAndLongNamesAreCut) {
    const QString longFile(80, u'f');
    const QString longLine = QStringLiteral("x,") + QString(118, u'y') + u'\n';
    const ChartList list = ChartList::parse(QStringLiteral("Long,") + longFile + QStringLiteral("\n") + longLine);
    // The line of 120 characters and its line feed: its first 95 characters are a chart whose file name is cut; the rest
    // of it, a piece without a file name, is not offered.
    ASSERT_EQ(list.entries.size(), 2u);
    EXPECT_EQ(list.entries[0].file, longFile.left(63));
    EXPECT_EQ(list.entries[1].shown, QStringLiteral("x"));
    EXPECT_EQ(list.entries[1].file, QString(63, u'y'));
    EXPECT_EQ(list.namesCut, 2);
    EXPECT_EQ(list.linesWithoutFile, 1);
    EXPECT_EQ(list.problems(), QStringLiteral("チャート一覧の一部を読めませんでした！\n"
                                              "63 文字を超える名前 2 個を切り詰めました、ファイル名のない 1 行を飛ばしました"));
}

TEST(ChartListTest, LinesChooseNothingAGalaxysConstellationsOrAChart) {
    const ChartList list = ChartList::parse(QStringLiteral("A,a.nebu\r\nB,sub/b.nebu\r\n"));
    struct Case {
        int index;
        ChartList::Choice choice;
        const char* path;
    };
    const Case cases[] = {
        {0, ChartList::Choice::Chart, "/w/a.nebu"},
        {1, ChartList::Choice::Chart, "/w/sub/b.nebu"},
        {2, ChartList::Choice::Nothing, ""},    // " ----------------"
        {3, ChartList::Choice::FromGalaxy, ""}, // " 銀河の星座から"
        {4, ChartList::Choice::Nothing, ""},    // " "
        {-1, ChartList::Choice::Nothing, ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(list.choice(c.index), c.choice) << c.index;
        EXPECT_EQ(list.chartPath(c.index, QStringLiteral("/w")), QString::fromUtf8(c.path)) << c.index;
    }
    EXPECT_EQ(list.chartPath(0, QStringLiteral("/w/")), QStringLiteral("/w/a.nebu"));
}

TEST(ChartListTest, ReadingTheWorksFileSaysWhatIsWrongAndNeverFails) {
    RecordingCheckSink sink;
    ScopedCheckSink installed(&sink);
    TempFolder folder;

    // No file: the fixed lines alone, silently.
    EXPECT_EQ(ChartList::read(folder.path()).lines().size(), 3);
    EXPECT_TRUE(sink.records.empty());

    // Code page 932, with a line too many and a line without a file name: read, then said once.
    QByteArray bytes = encodeCp932(QStringLiteral("星の図書館,seiza.nebu\r\n見出しだけ\r\n"));
    for (int i = 0; i < 16; ++i) bytes += "c,c.nebu\r\n";
    folder.write(QStringLiteral("nebu/chart.txt"), bytes);
    const ChartList list = ChartList::read(folder.path() + u'/');
    EXPECT_EQ(list.entries.front().shown, QStringLiteral("星の図書館"));
    EXPECT_EQ(list.entries.size(), 16u);
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].caption, folder.file(QStringLiteral("nebu/chart.txt")));
    EXPECT_TRUE(sink.records[0].text.contains(QStringLiteral("1 件を省きました")));
    EXPECT_TRUE(sink.records[0].text.contains(QStringLiteral("ファイル名のない 1 行")));

    // Binary rubbish reads without a crash; a folder in the file's place is reported.
    sink.records.clear();
    QByteArray rubbish;
    for (int i = 0; i < 4096; ++i) rubbish += char((i * 37) % 256);
    folder.write(QStringLiteral("nebu/chart.txt"), rubbish);
    EXPECT_LE(ChartList::read(folder.path()).entries.size(), 16u);
    TempFolder other;
    other.write(QStringLiteral("nebu/chart.txt/inside"), "x");
    sink.records.clear();
    EXPECT_EQ(ChartList::read(other.path()).lines().size(), 3);
    EXPECT_EQ(sink.records.size(), 1u);
}

} // namespace
