#include "script/QStringPrinter.h"
#include "atelier/AtelierModel.h"

#include <gtest/gtest.h>

namespace {

TEST(AtelierModelTest, MenuRowsFollowTheState) {
    AtelierModel m;
    QStringList labels;
    for (int row = 0; row < AtelierCommandCount; ++row) labels << m.menuRow(row, false, false).label;
    EXPECT_EQ(labels, (QStringList{u"レイアウト"_qs, u"新規作成"_qs, u"acmd読込み"_qs, u"acmd 保存"_qs, u"acmd上書き"_qs,
                                   u"日本語変換"_qs, u"原文に戻す"_qs, u"白板に変更"_qs, u"フォント＋"_qs, u"フォント－"_qs,
                                   u"acmd適用"_qs, u"acmd実行"_qs, u"工作室"_qs, u"ヘルプ"_qs}));
    EXPECT_EQ(m.menuRow(CmdOverwrite, false, false).background, 0x302000u);
    m.setChangedMark(true);
    EXPECT_EQ(m.menuRow(CmdOverwrite, false, false).background, 0x80u);
    m.setJapaneseForm(true);
    EXPECT_EQ(m.menuRow(CmdConvert, false, false).label, u"標準形変換"_qs);
    m.flipBoard();
    EXPECT_EQ(m.board(), WhiteBoard);
    EXPECT_EQ(m.menuRow(CmdBoard, false, false).label, u"黒板に変更"_qs);
    EXPECT_EQ(m.colour(PairBackground), 0xFFFFFFu);
    const MenuRowLook run = m.menuRow(CmdRun, true, false);
    EXPECT_EQ(run.label, u"acmd中断"_qs);
    EXPECT_EQ(run.background, 0xFFu);
    const MenuRowLook pressed = m.menuRow(CmdApply, false, true);
    EXPECT_EQ(pressed.background, 0xF00000u);
    EXPECT_EQ(pressed.text, 0xFFFFFFu);
}

TEST(AtelierModelTest, FontNeverBelowFiveAndTheNumbersFollowIt) {
    AtelierModel m;
    EXPECT_EQ(m.fontSize(), 12);
    for (int i = 0; i < 10; ++i) m.shrinkFont();
    EXPECT_EQ(m.fontSize(), 5);
    EXPECT_EQ(m.numberWidth(), 20);
    m.growFont();
    EXPECT_EQ(m.fontSize(), 6);
}

TEST(AtelierModelTest, ALoadedWorkStopsAnimatingAfterTheCountdownUnlessItRuns) {
    AtelierModel m;
    EXPECT_FALSE(m.countDown(false)) << "no countdown without a load";
    for (bool running : {false, true}) {
        m.startStopCountdown();
        int stops = 0;
        for (int tick = 0; tick < 150; ++tick) stops += m.countDown(running) ? 1 : 0;
        EXPECT_EQ(stops, running ? 0 : 1);
        EXPECT_EQ(m.stopCountdown(), 0);
    }
}

TEST(AtelierPlacement, DockedFloatingAndInside) {
    // Room right of the work window.
    EXPECT_EQ(dockedPlace({2000, 900}, 700, 82), QRect(720, 102, 1260, 778));
    // Too narrow: right-aligned, at most 960 wide.
    EXPECT_EQ(dockedPlace({1264, 675}, 800, 82), QRect(284, 102, 960, 553));
    EXPECT_EQ(dockedPlace({800, 600}, 700, 82), QRect(20, 102, 760, 478));

    EXPECT_EQ(floatingPlace({1920, 1080}), QRect(920, 320, 960, 720));
    EXPECT_EQ(floatingPlace({1024, 768}), QRect(40, 0, 944, 728));

    const AtelierPanels p = innerPlace({960, 720}, 180, 240);
    EXPECT_EQ(p.values.right(), 960 - 20 - 1);
    EXPECT_EQ(p.editor.right() + 40 + 1, p.values.left());
    EXPECT_EQ(p.editor.top(), 60);
    EXPECT_EQ(p.reference.top(), p.editor.bottom() + 1 + 12);
    EXPECT_EQ(p.reference.height(), 220);
    EXPECT_EQ(p.values.height(), p.editor.height());
}

TEST(AtelierPlacement, LayoutCycleHidesValuesThenReferenceThenShowsBoth) {
    PanelsShown s;
    s = nextLayout(s);
    EXPECT_EQ(s, (PanelsShown{false, true}));
    s = nextLayout(s);
    EXPECT_EQ(s, (PanelsShown{false, false}));
    s = nextLayout(s);
    EXPECT_EQ(s, (PanelsShown{true, true}));

    const QSize size(960, 720);
    const AtelierPanels start = innerPlace(size, 180, 240);
    const AtelierPanels noValues = cycledPlace(size, start, {false, true});
    EXPECT_EQ(noValues.editor.right(), 960 - 10 - 1);
    EXPECT_EQ(noValues.reference.bottom(), 720 - 10 - 1);
    const AtelierPanels editorOnly = cycledPlace(size, start, {false, false});
    EXPECT_EQ(editorOnly.editor.bottom(), 720 - 10 - 1);
}

} // namespace
