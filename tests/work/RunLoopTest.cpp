#include "LoopbackHttpServer.h"
#include "WorkFixture.h"

#include <cmath>

namespace {

class RunLoopTest : public WorkFixture {
protected:
    QString values(const QStringList& names) {
        QStringList parts;
        for (const QString& n : names) parts.append(QString::number(variable(n)));
        return parts.join(u' ');
    }
};

TEST_F(RunLoopTest, OneSourceLinePerProgramTick) {
    struct Case {
        QStringList program;
        QStringList afterTicks; // values of a b c after the first, second and third program tick
    };
    const std::vector<Case> cases = {
        {{"$a=1", "$b=2", "$c=3"}, {"1 0 0", "1 2 0", "1 2 3"}},
        {{"$a=1;$b=2;$c=3"}, {"1 2 3", "1 2 3", "1 2 3"}},
        // no line check after `next`: the line after the loop rides along
        {{"for $i=1 to 100;$a=$a+$i;next", "$b=1", "$c=1"}, {"5050 1 0", "5050 1 1", "5050 1 1"}},
        {{"NONSTOP_SET:", "$a=1", "$b=2", "NONSTOP_END:", "$c=3"}, {"1 2 0", "1 2 3", "1 2 3"}},
        {{"if $a=0 then", "endif", "$a=5", "$b=1"}, {"5 0 0", "5 1 0", "5 1 0"}},
    };
    for (const Case& c : cases) {
        load(withBall(c.program));
        run->start();
        for (int tick = 0; tick < 3; ++tick) {
            runTicks(tick + 2);
            EXPECT_EQ(values({"a", "b", "c"}), c.afterTicks[tick]) << c.program.join('|').toStdString() << " tick " << tick + 1;
        }
    }
}

TEST_F(RunLoopTest, WaitHoldsTheNextLineForItsFrames) {
    // Frame period 100: a frame every 10 frame ticks, so "Wait:3" costs three program ticks more.
    load(withBall({"Wait:3", "$a=1"}));
    run->start();
    runTicks(4);
    EXPECT_EQ(variable("a"), 0);
    runTicks(5);
    EXPECT_EQ(variable("a"), 1);
    EXPECT_EQ(run->elapsedMilliseconds(), 500);
}

TEST_F(RunLoopTest, FrameGateDrawsOneFrameEveryPeriodOverTen) {
    const std::vector<std::pair<int, int>> periodsAndFrames = {{100, 10}, {50, 20}, {25, 50}, {19, 100}, {10, 100}};
    for (const auto& [period, frames] : periodsAndFrames) {
        RunOptions options;
        options.noRun = true;
        load(withBall({}), options);
        run->start();
        runner().setFramePeriod(period);
        for (int i = 0; i < 100; ++i) runner().frameTick();
        EXPECT_EQ(runner().framesDrawn(), frames) << "period " << period;
    }
}

TEST_F(RunLoopTest, AcmdTimeSetsTheProgramIntervalAndTheLineDisplay) {
    load(withBall({"AcmdTime:500", "$a=1", "$b=1"}));
    run->start();
    while (variable("a") != 1 && run->step()) {}
    EXPECT_EQ(run->elapsedMilliseconds(), 700); // the block at 100, AcmdTime at 200, then every 500
    EXPECT_EQ(host().programInterval, "500");
    runToEnd();
    EXPECT_EQ(runner().programInterval(), 500);
    EXPECT_EQ(host().programInterval, "∞ ");

    load(withBall({"AcmdTime:500,0", "$a=1"}));
    run->start();
    runTicks(3);
    EXPECT_EQ(host().commandLine, " ---");

    load(withBall({"AcmdTime:500,0", "AcmdTime:5", "$a=1"}));
    run->start();
    runTicks(4);
    EXPECT_EQ(runner().programInterval(), 500); // out of range: unchanged
    EXPECT_EQ(host().commandLine, "$a=1");      // but the line shows again
}

TEST_F(RunLoopTest, AnimeTimeActsOnlyOnThePalettesCurrentWork) {
    for (const bool current : {true, false}) {
        load(withBall({"AnimeTime:50", "$a=1"}));
        host().current = current;
        run->start();
        runTicks(2);
        EXPECT_EQ(runner().framePeriod(), current ? 50 : 100);
    }
}

TEST_F(RunLoopTest, TheEndOfARunResetsTheWindowAndLogsTheViewing) {
    load(withBall({"$a=1"}));
    run->start();
    EXPECT_TRUE(runner().running());
    EXPECT_TRUE(runner().programTimerOn());
    runToEnd();
    EXPECT_FALSE(runner().running());
    EXPECT_FALSE(runner().programTimerOn());
    EXPECT_TRUE(runner().frameTimerOn()); // the animation goes on
    EXPECT_EQ(runner().lastRunEnd(), WorkRunner::RunEnd::Ended);
    EXPECT_EQ(host().commandLine, " Kbasic End");
    EXPECT_EQ(host().music.stops, 1);
    EXPECT_EQ(host().runsEnded, 1);
    ASSERT_EQ(host().log.size(), 2);
    EXPECT_TRUE(host().log[0].endsWith(":「work.acmd」の鑑賞開始.")) << host().log[0].toStdString();
    EXPECT_TRUE(host().log[1].endsWith(":「work.acmd」の鑑賞終了.(   0 秒)")) << host().log[1].toStdString();
}

TEST_F(RunLoopTest, ASecondRunStartsWithFreshVariables) {
    load(withBall({"$a=$a+1", "ball:X=$a*100"}));
    run->start();
    runToEnd();
    EXPECT_EQ(variable("a"), 1);
    runner().toggleRun();
    EXPECT_EQ(runner().runCount(), 1);
    runToEnd();
    EXPECT_EQ(variable("a"), 1);
    EXPECT_EQ(runner().animation().characters.front()->X, 1000);
    EXPECT_EQ(host().log.size(), 4);
}

TEST_F(RunLoopTest, RenewalAtTheNextFrameRebuildsTheWork) {
    load(withBall({"$a=5", "ball:X=300", "Wait:100", "$b=1"}));
    run->start();
    runTicks(4);
    EXPECT_EQ(runner().animation().characters.front()->X, 3000);
    runner().requestRenew();
    EXPECT_FALSE(runner().running());
    EXPECT_EQ(runner().frameState(), WorkRunner::FrameState::Renew);
    // The gate lets the next frame through within one frame period.
    for (int i = 0; i < 10 && runner().frameState() == WorkRunner::FrameState::Renew; ++i) runner().frameTick();
    EXPECT_EQ(runner().frameState(), WorkRunner::FrameState::Draw);
    EXPECT_EQ(runner().animation().characters.front()->X, 100);
    EXPECT_EQ(variable("a"), 0);
    EXPECT_EQ(runner().runCount(), 0);
}

TEST_F(RunLoopTest, AnimeBlocksAtRunTime) {
    // Anime_Add adds its characters; Anime_Set is passed over; no line after a block is lost.
    load(withBall({"$a=1", "ANIME_ADD:", "DotPtn:ball,1,1,30,40,0,0,0,1,1", "1", "ADD_END:", "$b=1",
                   "ANIME_SET:", "DotPtn:other,1,1,0,0,0,0,0,1,1", "1", "SET_END:", "$c=1", "ball[1]:X=7"}));
    run->start();
    runToEnd();
    EXPECT_EQ(runner().lastRunEnd(), WorkRunner::RunEnd::Ended);
    EXPECT_EQ(variable("b"), 1);
    EXPECT_EQ(variable("c"), 1);
    const auto& characters = runner().animation().characters;
    ASSERT_EQ(characters.size(), 2u);
    EXPECT_EQ(characters[1]->sameNameIndex(), 1);
    EXPECT_EQ(characters[1]->X, 70);
}

TEST_F(RunLoopTest, ACommandErrorEndsTheRunAfterItsTwoTexts) {
    struct Case {
        QString command;
        QString missing; // the lookup's report; none when no lookup is made
    };
    const std::vector<Case> cases = {
        {"ball[5]:X=1", "アニメキャラ（ ball[5] ）は設定されていません！"},
        {"nosuch:X=1", "アニメキャラ（ nosuch[0] ）は設定されていません！"},
        {"ball[0:X=1", ""}, // an unclosed index is no index 0
    };
    for (const Case& c : cases) {
        load(withBall({"$a=1", c.command, "$b=1"}));
        run->start();
        runToEnd();
        const QString text = QStringLiteral(" 6 行 1( %1 )").arg(c.command);
        if (c.missing.isEmpty())
            EXPECT_TRUE(host().messages.filter("アニメキャラ").isEmpty()) << host().messages.join('|').toStdString();
        else
            EXPECT_TRUE(host().messages.contains(c.missing)) << host().messages.join('|').toStdString();
        EXPECT_TRUE(host().messages.contains(text)) << host().messages.join('|').toStdString();
        ASSERT_FALSE(dialogs().empty());
        EXPECT_EQ(dialogs().back().caption, "「acmd」エラーです!");
        EXPECT_EQ(dialogs().back().text, text);
        EXPECT_EQ(variable("b"), 0);
        // The end of the run happened after the message window.
        EXPECT_FALSE(runner().running());
        EXPECT_FALSE(runner().programTimerOn());
        EXPECT_EQ(runner().lastRunEnd(), WorkRunner::RunEnd::CommandError);
        EXPECT_EQ(host().music.stops, 1);
        EXPECT_EQ(host().commandLine, " Kbasic End");
        ASSERT_EQ(host().log.size(), 2);
        EXPECT_TRUE(host().log[1].contains("鑑賞終了"));
    }
}

TEST_F(RunLoopTest, AFaultStopsBothTimersAndSetsTheStopFlag) {
    load(withBall({"$a=1", "$b=1%0", "$c=1"}));
    run->start();
    runToEnd();
    ASSERT_FALSE(dialogs().empty());
    EXPECT_EQ(dialogs().back().caption, "ヴィモラアートの実行エラー！");
    EXPECT_EQ(dialogs().back().text, "ヴィモラの実行を中断します。( 6 行 )");
    EXPECT_EQ(host().stop & 4, 4);
    EXPECT_FALSE(runner().programTimerOn());
    EXPECT_FALSE(runner().frameTimerOn());
    EXPECT_EQ(runner().interpreter().status, 1);
    EXPECT_EQ(variable("c"), 0);
    EXPECT_EQ(runner().lastRunEnd(), WorkRunner::RunEnd::Fault);
    // While the flag is set no tick does anything; a renewal clears it.
    const int frames = runner().framesDrawn();
    runner().frameTick();
    EXPECT_EQ(runner().framesDrawn(), frames);
    runner().restartProgram();
    EXPECT_EQ(host().stop, 0);
    EXPECT_EQ(runner().interpreter().status, 0);
}

TEST_F(RunLoopTest, AStatusErrorEndsTheRunWithErr2) {
    load(withBall({"$a=1", "$b=read(3)", "$c=1"}));
    run->start();
    runToEnd();
    EXPECT_TRUE(host().messages.contains("err2"));
    EXPECT_FALSE(runner().running());
    EXPECT_EQ(runner().lastRunEnd(), WorkRunner::RunEnd::StatusError);
    EXPECT_EQ(variable("c"), 0);
    EXPECT_EQ(host().log.size(), 2);
}

TEST_F(RunLoopTest, AWorkWithoutCharactersNeverStartsAndSaysSo) {
    load({"$a=1"});
    run->start();
    EXPECT_FALSE(runner().running());
    EXPECT_FALSE(runner().programTimerOn());
    EXPECT_FALSE(runner().frameTimerOn());
    EXPECT_EQ(host().runsNotStarted, 1);
    EXPECT_FALSE(run->step());
    EXPECT_EQ(variable("a"), 0);
}

TEST_F(RunLoopTest, TheWaitDisplayShowsALongLineWhole) {
    const QString longLine = QStringLiteral("ball:X=1") + QString(",Y=2").repeated(3000);
    load(withBall({longLine, "Wait:10", "$a=1"}));
    run->start();
    QString shown;
    while (runner().running() && run->step())
        if (host().commandLine.startsWith(" wait:")) shown = host().commandLine;
    EXPECT_EQ(shown, QStringLiteral(" wait:   5 > 0005/0007: %1 ").arg(longLine));
}

// A message window that pumps the frame timer while it is open, as a modal window does.
class PumpingSink : public CheckSink {
public:
    explicit PumpingSink(WorkRunner& runner) : runner_(runner) {}
    int show(const QString&, const QString& caption, int) override {
        captions.append(caption);
        const int ticks = runner_.frameTicks(), frames = runner_.framesDrawn();
        for (int i = 0; i < 30; ++i) runner_.frameTick();
        nestedTicksCounted += runner_.frameTicks() - ticks;
        nestedFrames += runner_.framesDrawn() - frames;
        return 0;
    }
    QStringList captions;
    int nestedTicksCounted = 0;
    int nestedFrames = 0;

private:
    WorkRunner& runner_;
};

TEST_F(RunLoopTest, AFrameTickIsSkippedWhileAMessageWindowOfAFrameIsOpen) {
    // The renewal rebuilds the block, whose faulty colour opens a message window inside the frame.
    load({"ANIME_SET:", "DotPtn:ball,1,1,10,20,0,0,0,1,1", "1", "BgColor:300,0,0", "SET_END:", "$a=1"});
    run->start();
    PumpingSink pumping(runner());
    ScopedCheckSink installed(&pumping);
    runner().requestRenew();
    for (int i = 0; i < 10 && pumping.captions.isEmpty(); ++i) runner().frameTick();
    ASSERT_EQ(pumping.captions, QStringList{"ヴィモラ設定のパラメータに不備があります！"});
    EXPECT_EQ(pumping.nestedTicksCounted, 0);
    EXPECT_EQ(pumping.nestedFrames, 0);
}

} // namespace

namespace {

TEST_F(RunLoopTest, AProgramIsFetchedFromAnHttpAddress) {
    LoopbackHttpServer server;
    server.serve("/works/far.acmd", "ANIME_SET:\r\nDotPtn:ball,1,1,10,20,0,0,0,1,1\r\n1\r\nSET_END:\r\n$a=7\r\n");
    RunOptions options;
    options.program = server.url("/works/far.acmd");
    HeadlessRun far(options);
    ASSERT_TRUE(far.load());
    far.run();
    EXPECT_EQ(far.exitStatus(), 0);
    EXPECT_EQ(far.runner().interpreter().programFolder, server.url("/works/"));

    options.program = server.url("/works/missing.acmd");
    HeadlessRun missing(options);
    EXPECT_FALSE(missing.load());
    EXPECT_EQ(missing.exitStatus(), 2);
    EXPECT_FALSE(missing.dialogs().records.empty()); // the fetch reported its failure
}

TEST_F(RunLoopTest, ACanvasSettingKeepsTheWorkInPlace) {
    // The picture changes from 800 x 400 to the canvas; the dot must stay at its own x.
    RunOptions options;
    options.noRun = true;
    load({"ANIME_SET:", "canvas:center,200,100", "color:1,255,0,0", "DotPtn:dot,1,1,10,20,0,0,0,1,1", "1", "SET_END:"},
         options);
    run->start();
    runner().frameTick();
    const QImage& picture = runner().view().picture;
    ASSERT_EQ(picture.size(), QSize(200, 100));
    int redX = -1;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) == qRgb(255, 0, 0)) redX = x;
    EXPECT_EQ(redX, 10);
}

} // namespace

namespace {

TEST_F(RunLoopTest, BreakingEndsTheRunAtTheNextProgramTick) {
    load(withBall({"$a=1", "$b=1", "$c=1"}));
    run->start();
    runTicks(2);
    runner().toggleRun();
    EXPECT_FALSE(runner().running());
    EXPECT_TRUE(runner().programTimerOn()); // the next tick ends the run
    EXPECT_FALSE(host().runButton);
    runToEnd();
    EXPECT_EQ(variable("b"), 0);
    EXPECT_FALSE(runner().programTimerOn());
    EXPECT_EQ(runner().lastRunEnd(), WorkRunner::RunEnd::Ended);
    EXPECT_EQ(host().log.size(), 2);
}

TEST_F(RunLoopTest, OnlyTheCurrentWorkKeepsItsFrameTimerAfterAnInteraction) {
    struct Case {
        bool current;
        bool presentAll;
        bool timerAfter;
    };
    for (const Case& c : std::vector<Case>{{true, false, true}, {false, false, false}, {false, true, true}}) {
        RunOptions options;
        options.noRun = true;
        load(withBall({}), options);
        run->start();
        host().current = c.current;
        host().presentAllWorks = c.presentAll;
        runner().setInteractionCountdown(3);
        for (int i = 0; i < 2; ++i) runner().frameTick();
        EXPECT_TRUE(runner().frameTimerOn()) << c.current << c.presentAll; // the countdown still runs
        runner().frameTick();
        EXPECT_EQ(runner().frameTimerOn(), c.timerAfter) << c.current << c.presentAll;
    }
}

} // namespace
