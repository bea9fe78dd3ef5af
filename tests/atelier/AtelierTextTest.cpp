#include "script/QStringPrinter.h"
#include "atelier/AtelierText.h"
#include "common/ShowCheck.h"
#include "script/ItemTable.h"
#include "script/KeywordForms.h"
#include "work/HeadlessWindowSide.h"
#include "work/RecordingWorkHost.h"
#include "work/WorkRunner.h"

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const VariableRow& r, std::ostream* os) {
    *os << "{" << r.count.toStdString() << "|" << r.name.toStdString() << "|" << r.value.toStdString() << "}";
}

namespace {

TEST(AtelierTemplate, NewProgramAppliedGivesAnEmptyAnimationTitledMudai) {
    const QStringList lines = newProgramLines();
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[1], u"theme:\" 無題 \""_qs);

    RecordingCheckSink checks;
    ScopedCheckSink scoped(&checks);
    RecordingWorkHost host;
    HeadlessWindowSide side;
    WorkRunner runner(host, host, side);
    runner.loadProgramLines(editorLines(lines.join(u'\n')), QStringLiteral("/tmp/"));
    const AnimeState& a = runner.animation();
    EXPECT_TRUE(a.characters.empty());
    ASSERT_TRUE(a.theme.has_value());
    EXPECT_EQ(a.theme->trimmed(), u"無題"_qs);
    EXPECT_EQ(runner.baseSize(), QSize(750, 500));
    EXPECT_EQ(a.bgColor, 24u + 24u * 256u + 56u * 65536u);
    EXPECT_TRUE(host.messages.isEmpty()) << host.messages.join(u'\n').toStdString();
    EXPECT_TRUE(checks.records.empty());
}

TEST(AtelierText, EditorLinesLoseLineBreaksInsideAndTrailingSpaces) {
    EXPECT_EQ(editorLines(u"a  \nb\r\nc\u2028d \n\n  "_qs), (QStringList{u"a"_qs, u"b"_qs, u"c d"_qs, QString(), QString()}));
    EXPECT_EQ(editorLines(u"$p=\"100%\""_qs), QStringList{u"$p=\"100%\""_qs});
}

TEST(AtelierText, LineNumbersAndCaretStatus) {
    EXPECT_EQ(lineNumberText(3), u"0001\n0002\n0003"_qs);
    EXPECT_EQ(lineNumberText(0), u"0001"_qs);
    EXPECT_EQ(caretStatus(4, 12, 130), u"04,012／130"_qs);
}

TEST(AtelierText, ConversionOfASampleProgramBothWays) {
    const QString standard = QStringLiteral(
        "ANIME_SET:\n"
        "theme:\"Color and X stay\"\n"
        "canvas:center,750,500\n"
        "BitMap:neko,neko1.bmp\n"
        "SET_END:\n"
        "ACMD_RUN:\n"
        "for $i=1 to 10\n"
        "neko:X=$i*10,vY=abs($x)\n"
        "next\n"
        "ACMD_END:");
    const QString japanese = QStringLiteral(
        "アニメ設定:\n"
        "題:\"Color and X stay\"\n"
        "キャンバス:中央,750,500\n"
        "ビットマップ:neko,neko1.bmp\n"
        "設定終了:\n"
        "Acmd実行:\n"
        "for $i=1 to 10\n"
        "neko:位置X=$i*10,速度Y=abs($x)\n"
        "next\n"
        "Acmd終了:");
    EXPECT_FALSE(isMostlyJapanese(standard));
    EXPECT_EQ(convertForm(standard), japanese);
    EXPECT_TRUE(isMostlyJapanese(japanese));
    EXPECT_EQ(convertForm(japanese), QString(standard).replace(u"ANIME_SET"_qs, u"Anime_Set"_qs)
                                         .replace(u"theme:"_qs, u"Theme:"_qs)
                                         .replace(u"canvas:center"_qs, u"Canvas:Center"_qs)
                                         .replace(u"SET_END"_qs, u"Set_End"_qs)
                                         .replace(u"ACMD_RUN"_qs, u"Acmd_Run"_qs)
                                         .replace(u"ACMD_END"_qs, u"Acmd_End"_qs));
}

TEST(AtelierText, VariablesGridRowsNamedFirstThenConstants) {
    ItemTable items;
    items.findOrAdd(QString(), 10);
    items.findOrAdd(u"speed"_qs, 2.5);
    items.findOrAdd(QString(), -3);
    items.findOrAdd(u"averyverylongname"_qs, 0);
    const std::vector<VariableRow> expected = {
        {u"  1"_qs, u"$speed     "_qs, u"    2.5000"_qs, false},
        {u"  1"_qs, u"$averyveryl"_qs, u"    0"_qs, false},
        {u"  1"_qs, u"fix(256)"_qs, u"   10"_qs, true},
        {u"  1"_qs, u"fix(258)"_qs, u"   -3"_qs, true},
    };
    EXPECT_EQ(variableRows(items), expected);
}

TEST(AtelierText, TheLineAScriptErrorNames) {
    struct Case {
        const char16_t* message;
        int line;
    };
    const Case cases[] = {
        {u"ヴィモラの実行を中断します。( 12 行 )", 12},
        {u" 7 行 1( ball:X=1 )", 7},
        {u"3 行［read］の配列番号が範囲外です！(9／2) ", 3},
        {u"該当する「acmd」が見当たりません！\r\n 045: bal ", 45},
        {u"対応する「next」がありません！(21 ) ", 21},
        {u"err2", -1},
        {u"2026/12/10/12:00:00 開館.", -1},
    };
    for (const Case& c : cases) EXPECT_EQ(scriptErrorLine(QString::fromUtf16(c.message)), c.line) << c.line;
}

} // namespace
