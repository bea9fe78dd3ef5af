#include "WorkFixture.h"

#include <functional>

namespace {

class AnimeCommandsTest : public WorkFixture {
public:
    // Three dots named ball (same-name indexes 0, 1, 2), the command, then a line that must run.
    void runCommand(const QString& command) {
        load({"ANIME_SET:", "DotPtn:ball,1,1,10,20,0,0,0,1,1", "1", "DotPtn:ball,1,1,30,40,0,0,0,1,1", "1",
              "DotPtn:ball,1,1,50,60,0,0,0,1,1", "1", "SET_END:", command, "$done=1"});
        run->start();
        runToEnd();
    }
    AnimeInfo& ball(int index) { return *runner().animation().characters.at(size_t(index)); }
};

TEST_F(AnimeCommandsTest, CharacterCommandsSetTheNamedCharacter) {
    struct Case {
        QString command;
        std::function<bool(AnimeCommandsTest&)> holds;
    };
    const std::vector<Case> cases = {
        {"ball:X=100,Y=20", [](auto& t) { return t.ball(0).X == 1000 && t.ball(0).Y == 200 && t.ball(1).X == 300; }},
        {"ball[2]:X=100", [](auto& t) { return t.ball(2).X == 1000 && t.ball(0).X == 100; }},
        {"ball[1+1]:vX=-15", [](auto& t) { return t.ball(2).vX == -15; }},
        {"ball:dim[3]=7", [](auto& t) { return t.ball(0).userValues[3] == 7; }},
        {"ball:dim[40]=7,X=5", [](auto& t) { return t.ball(0).X == 50; }}, // an index beyond 31 is ignored
        {"ball:Chaser=1,ball[2],X=9", [](auto& t) { return t.ball(0).chased == &t.ball(2) && t.ball(0).X == 90; }},
        {"ball:text=12*2", [](auto& t) { return t.ball(0).text == "24"; }},
        {"ball:text=\"a,b\"", [](auto& t) { return t.ball(0).text == "\"a,b\""; }},
        {"ball:X", [](auto& t) { return t.ball(0).X == 100; }}, // no value: nothing to do
        {"Wzoom:2", [](auto& t) { return t.runner().view().dotZoomX == 2; }},
        {"ViewPoint:800", [](auto& t) { return t.runner().view().viewDistance == 800; }},
        {"BgColor:10,20,30", [](auto& t) { return t.runner().animation().bgColor == 0x1E140A; }},
        {"Color:3,1,2,3;ball:X=2", [](auto& t) { return t.runner().animation().paletteColor(3) == 0x030201 && t.ball(0).X == 20; }},
    };
    for (const Case& c : cases) {
        runCommand(c.command);
        EXPECT_EQ(runner().lastRunEnd(), WorkRunner::RunEnd::Ended) << c.command.toStdString();
        EXPECT_EQ(variable("done"), 1) << c.command.toStdString();
        EXPECT_TRUE(c.holds(*this)) << c.command.toStdString();
    }
}

TEST_F(AnimeCommandsTest, GetvalReadsWhatSetValStored) {
    // SetVal is a character command and getval a script function: both must reach one store.
    runCommand("ball[1]:SetVal=1;$v=getval(0)*100+getval(1);ball[2]:SetVal=1;$w=getval(0)");
    EXPECT_EQ(runner().lastRunEnd(), WorkRunner::RunEnd::Ended);
    EXPECT_EQ(variable("v"), 3040);
    EXPECT_EQ(variable("w"), 50);
}

TEST_F(AnimeCommandsTest, MalformedCharacterCommandsFail) {
    for (const QString command : {"ball[1:X=1", "ball:dim=3", "ball:dim[2=3", "ball[7]:X=1"}) {
        runCommand(command);
        EXPECT_EQ(runner().lastRunEnd(), WorkRunner::RunEnd::CommandError) << command.toStdString();
        EXPECT_EQ(variable("done"), 0) << command.toStdString();
    }
}

// Missing music or chart data has its own caption, as has a chart file that cannot be read. Each
// is reported and the run goes on.
TEST_F(AnimeCommandsTest, MissingMusicAndChartDataAreReportedAndTheRunGoesOn) {
    const struct {
        QString command, caption, text;
    } cases[] = {
        {"Music:2", "曲名が設定されていません！", "Music:2"},
        {"metaChart:5", "メタチャートデータが設定されていません！", "metaChart:5"},
        {"metaChart:5,\"nochart.txt\"", "メタチャートのファイルが読めません！", "nochart.txt"},
    };
    for (const auto& c : cases) {
        runCommand(c.command);
        ASSERT_EQ(dialogs().size(), 1u) << c.command.toStdString();
        EXPECT_EQ(dialogs()[0].caption, c.caption);
        EXPECT_EQ(dialogs()[0].text, c.text);
        EXPECT_EQ(variable("done"), 1);
        EXPECT_EQ(runner().lastRunEnd(), WorkRunner::RunEnd::Ended);
        EXPECT_FALSE(runner().chart());
        EXPECT_EQ(host().music.starts, 0);
    }
}

// A music file goes to the palette with the program's folder; a start is asked for only with a
// play to make, and a count without a file changes the count of the music set before.
TEST_F(AnimeCommandsTest, MusicCommandsSetThePalettesMusicAndAskForItsStart) {
    load(withBall({"Music:0,\"kyoku.wav\"", "Music:3", "$done=1"}));
    run->start();
    runToEnd();
    EXPECT_TRUE(dialogs().empty());
    EXPECT_EQ(host().music.file, u"kyoku.wav"_qs);
    EXPECT_EQ(host().music.folder, runner().interpreter().programFolder);
    EXPECT_EQ(host().music.count, 3);
    EXPECT_EQ(host().music.starts, 1) << "a count of 0 sets the name only";
    load(withBall({"Music:2,\"b.wav\"", "$done=1"}));
    host().current = false;
    run->start();
    runToEnd();
    EXPECT_EQ(host().music.file, u"b.wav"_qs);
    EXPECT_EQ(host().music.starts, 0) << "a work that is not the current one asks for nothing";
}

// A chart is given by its definition or by a file beside the program that holds it; a new
// definition replaces the old. A count of seconds shows it; the run's end slides it out.
TEST_F(AnimeCommandsTest, ChartCommandsDefineAndShowTheWorksChart) {
    runCommand("metaChart:0,\"400,300,2,text:Hello\"");
    ASSERT_TRUE(runner().chart());
    EXPECT_EQ(runner().chart()->definition.source, u"text:Hello"_qs);
    EXPECT_FALSE(runner().chart()->onPicture);
    EXPECT_FALSE(runner().chart()->formVisible) << "0 seconds define the chart without showing it";

    folder.write(u"chart.txt"_qs, QByteArray("300,200,0,html:<b>a\r\nb</b>\r\n"));
    load(withBall({"metaChart:0,\"400,300,2,text:Hello\"", "metaChart:0,\"chart.txt\"", "metaChart:5", "$a=1"}));
    run->start();
    for (int i = 0; i < 100 && variable("a") == 0; ++i) run->step();
    ASSERT_TRUE(runner().chart());
    // The file's line break is a space of the definition.
    EXPECT_EQ(runner().chart()->definition.source, u"html:<b>a b</b>"_qs);
    EXPECT_EQ(runner().chart()->definition.width, 300);
    EXPECT_TRUE(runner().chart()->onPicture);
    EXPECT_TRUE(runner().chart()->formVisible) << "metaChart:5 shows it";
    EXPECT_EQ(runner().chart()->seconds, 5);
    runToEnd();
    EXPECT_EQ(runner().chart()->showState, WorkChart::kCloseRequested) << "the end of a run slides it out";
    EXPECT_TRUE(dialogs().empty());
}

TEST_F(AnimeCommandsTest, TypedCommandsAreCompiledLikeProgramLines) {
    runCommand("'nothing");
    runner().runTypedCommand("ball[1]: X=55, vY=2*3");
    EXPECT_EQ(ball(1).X, 550);
    EXPECT_EQ(ball(1).vY, 6);
    runner().runTypedCommand("AcmdTime:300");
    EXPECT_EQ(runner().programInterval(), 300);
    runner().runTypedCommand("nosuch:X=1");
    EXPECT_TRUE(host().messages.contains("アニメキャラ（ nosuch[0] ）は設定されていません！"));
    EXPECT_TRUE(dialogs().empty()); // the palette ignores a failed typed command
}

} // namespace
