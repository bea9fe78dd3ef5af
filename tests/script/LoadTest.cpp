#include "LoopbackHttpServer.h"
#include "ScriptFixture.h"
#include "TestSupport.h"
#include "common/Platform.h"
#include "common/ShowCheck.h"
#include "script/KeywordTables.h"

#include <gtest/gtest.h>

namespace {

class LoadTest : public ScriptFixture {
protected:
    LoadTest() : installed(&sink) {
        for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"}) qunsetenv(name);
    }
    QString folder() const { return files.path() + "/"; }

    RecordingCheckSink sink;
    ScopedCheckSink installed;
    TempFolder files;
};

TEST_F(LoadTest, LinesAreCutIntoStatementsWithStepNumbers) {
    prepare({"$a=1;$b=2", "'comment", "", ":label", " \t", "theme: A;B", "$c=3;", "  $d=4 ; $e=5\x01", "$f=6;;$g=7",
             "Music:1,\"a;b\"", "$h=\"a;b\""});
    struct Expected {
        int line;
        int step;
    };
    // A ';' cuts the line even inside quotes, except on Theme, metaChart and Music lines.
    const Expected expected[] = {{1, 0}, {1, 0}, {6, 3}, {7, 4}, {8, 5}, {8, 5}, {9, 6}, {9, 6}, {9, 6}, {10, 7},
                                 {11, 8}, {11, 8}};
    const auto list = statementList();
    ASSERT_EQ(list.size(), std::size(expected));
    for (size_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(list[i]->lineNumber, expected[i].line) << i;
        EXPECT_EQ(list[i]->stepNumber, expected[i].step) << i;
        EXPECT_EQ(list[i]->source, k.programLines[expected[i].line - 1]) << i;
        EXPECT_EQ(list[i]->previous, i ? list[i - 1] : nullptr);
    }
    EXPECT_EQ(list[2]->code, QString(QChar(code::setting(Setting::Theme))) + " A;B");
    EXPECT_TRUE(list[7]->code.isEmpty());
    EXPECT_EQ(list[9]->code.front(), QChar(code::setting(Setting::Music)));
    EXPECT_EQ(k.lastLineNumber, 11);
    EXPECT_EQ(animation.runs, 0); // no block, no animation
}

TEST_F(LoadTest, LoadLineInsertsAnimationDataAfterTheFirstLine) {
    files.write("stars.anim", "Canvas:10,20\r\nColor:1,2,3,4\r\n");
    files.write("other.anim", "Frame:5\r\n");
    const QString program = folder() + "prog.acmd";
    files.write("prog.acmd", "Theme:T\r\nLoad: other.anim\r\nLOAD:stars.anim\r\n$a=1\r\n");
    ASSERT_EQ(k.loadProgramFile(folder(), "prog.acmd"), 0);
    EXPECT_EQ(k.programPath, program);
    EXPECT_EQ(k.programFolder, folder());
    EXPECT_EQ(k.programLines, QStringList({"Theme:T", "ANIME_SET:", "Canvas:10,20", "Color:1,2,3,4", "SET_END:",
                                           "'Load: other.anim", "'LOAD:stars.anim", "$a=1"}));
    EXPECT_EQ(animation.runs, 1);
    ASSERT_EQ(animation.commands.size(), 2);
    EXPECT_EQ(animation.commands[0].front(), QChar(code::setting(Setting::Canvas)));
    EXPECT_EQ(statementList().back()->lineNumber, 8);
    EXPECT_TRUE(sink.records.empty());
}

TEST_F(LoadTest, LoadDataThatIsMissingOrNotAnimationIsReported) {
    struct Case {
        const char* line;
        QString message;
        QString caption;
    };
    files.write("data.txt", "Frame:1\r\n");
    const Case cases[] = {
        {"Load:gone.anim", "指定のアニメデータのファイルが存在しません！(2)", folder() + "gone.anim"},
        {"Load:data.txt", "アニメデータではありません！", folder() + "data.txt"},
    };
    for (const Case& c : cases) {
        sink.records.clear();
        k.prepareProgram({"$a=1", c.line}, folder());
        ASSERT_EQ(sink.records.size(), 1u);
        EXPECT_EQ(sink.records[0].text, c.message);
        EXPECT_EQ(sink.records[0].caption, c.caption);
        EXPECT_EQ(k.programLines.size(), 2);
    }
    k.prepareProgram({"Load"}, folder()); // no file named: the line is only made a comment
    EXPECT_EQ(k.programLines, QStringList({"'Load"}));
}

TEST_F(LoadTest, FailedLoadsKeepTheOldProgramWhole) {
    files.write("good.acmd", "$a=1;$b=2\r\n");
    files.write("empty.acmd", "");
    ASSERT_EQ(k.loadProgramFile(folder(), "good.acmd"), 0);
    const progInfo* first = k.statements.first();
    EXPECT_EQ(k.loadProgramFile(folder(), "empty.acmd"), -1);
    EXPECT_EQ(k.loadProgramFile(folder(), "missing.acmd"), -1);
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, QStringLiteral("指定のアニメプログラムのファイルが存在しません！(1)"));
    EXPECT_EQ(sink.records[0].caption, folder() + "missing.acmd");
    EXPECT_EQ(k.loadProgramUrl(QStringLiteral("http://127.0.0.1:%1/").arg(LoopbackHttpServer::unusedPort()), "x.acmd"), 0u);
    EXPECT_EQ(k.statements.first(), first);
    EXPECT_EQ(first->source, "$a=1;$b=2");
    EXPECT_EQ(k.programLines, QStringList({"$a=1;$b=2"}));
    EXPECT_EQ(k.programPath, folder() + "good.acmd");
}

TEST_F(LoadTest, ProgramAndLoadDataOverHttp) {
    LoopbackHttpServer server;
    const QByteArray program = "Load:stars.anim\r\nfor $i=1 to 3;next\r\n";
    server.serve("/works/prog.acmd", program);
    server.serve("/works/stars.anim", "Canvas:100,50\r\n");
    const QString base = server.url("/works/");
    EXPECT_EQ(k.loadProgramUrl(base, "prog.acmd"), uint32_t(program.size()));
    EXPECT_EQ(k.programFolder, base);
    EXPECT_EQ(k.programPath, base + "prog.acmd");
    EXPECT_EQ(k.programLines, QStringList({"'Load:stars.anim", "ANIME_SET:", "Canvas:100,50", "SET_END:", "for $i=1 to 3;next"}));
    EXPECT_EQ(animation.commands.size(), 1);
}

TEST_F(LoadTest, ChooseProgramLoadsOnlyAcmdFiles) {
    files.write("sub/prog.ACMD", "$a=1\r\n");
    QString chooser = folder();
    QString offered;
    auto choose = [&](const QString& path) {
        return [&offered, path](const QString& filter, const QString& title, const QString& start) {
            offered = filter + "|" + title + "|" + start;
            return path;
        };
    };
    EXPECT_EQ(k.chooseProgram(choose(QString()), chooser), 0);
    EXPECT_EQ(offered, "*.acmd|アニメプログラムの[星]を選択してください|" + folder());
    EXPECT_EQ(k.chooseProgram(choose(folder() + "sub/notes.txt"), chooser), 0);
    EXPECT_EQ(sink.records.back().text, QStringLiteral("アニメプログラムではありません！"));
    EXPECT_EQ(chooser, folder() + "sub/");
    EXPECT_EQ(k.chooseProgram(choose(folder() + "sub/prog.ACMD"), chooser), 0);
    EXPECT_EQ(k.programFolder, folder() + "sub/");
    EXPECT_EQ(k.programLines, QStringList({"$a=1"}));
}

TEST_F(LoadTest, DataFromStatementsReportsTooManyAndTooFew) {
    struct Case {
        QStringList block;
        std::vector<double> values;
        QString message;
        int commands;
    };
    const std::vector<Case> cases = {
        {{"Data:3", "1,2", "3,4", "Canvas:1,1"}, {1, 2, 3}, "「Data」個数が多すぎます！(3 ) ", 1},
        {{"Data:4", "1,-2", "Canvas:1,1", "Frame:1"}, {1, -2, 0, 0}, "「Data」 個数が足りません！( 2／4 ) ", 1},
        {{"$v=7", "Data:3", "$v,$v*2", "", "(1+2)*2", "Frame:1"}, {7, 14, 6}, QString(), 1},
        {{"Data:2,", "5,6"}, {5, 6}, QString(), 0},
    };
    for (const Case& c : cases) {
        messages.clear();
        animation.commands.clear();
        QStringList lines = {"ANIME_SET:"};
        lines += c.block;
        lines += "SET_END:";
        prepare(lines);
        EXPECT_EQ(k.dataValues, c.values) << c.block.join('|').toStdString();
        EXPECT_EQ(messages, c.message.isEmpty() ? QStringList() : QStringList({c.message}));
        EXPECT_EQ(animation.commands.size(), c.commands);
    }
}

TEST_F(LoadTest, DataFromFile) {
    files.write("vals.txt", "1, 2.5\r\n:skipped,9\r\n'skipped too\r\n 3x,abc,4\r\n7\r\n");
    files.write("empty.txt", "");
    prepare({}); // sets no folder; the folder comes with the program
    k.prepareProgram({"ANIME_SET:", "Data:5,\"vals.txt\"", "SET_END:", "$a=1"}, folder());
    EXPECT_EQ(k.dataValues, std::vector<double>({1, 2.5, 3, 0, 4}));
    EXPECT_TRUE(sink.records.empty());
    EXPECT_EQ(statementList().size(), 4u);

    k.prepareProgram({"ANIME_SET:", "Data:2,\"empty.txt\"", "SET_END:"}, folder());
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, QStringLiteral("「 empty.txt 」が見つかりません！"));
    EXPECT_EQ(sink.records[0].caption, QStringLiteral("Dataファイルの確認"));
    EXPECT_EQ(k.dataValues, std::vector<double>({0, 0}));
    EXPECT_EQ(k.status, 0);

    // A missing local file stops the block like any fault in it: status 1, the rest cut off.
    k.prepareProgram({"ANIME_SET:", "Data:2,\"gone.txt\"", "SET_END:", "$a=1"}, folder());
    EXPECT_EQ(sink.records.back().text, QStringLiteral("「 gone.txt 」が見つかりません！"));
    EXPECT_EQ(k.status, 1);
    EXPECT_EQ(statementList().size(), 2u);

    // A folder is no data file, and says so; a row past the line limit stops the block likewise.
    ASSERT_TRUE(makeFolders(folder() + "dir.txt"));
    files.write("wide.txt", "1,2\r\n" + QByteArray("3,").repeated(kestoBasInfo::kMaxLineLength / 2 + 1) + "\r\n");
    const struct {
        const char* file;
        QString text;
        QString caption;
    } refused[] = {
        {"dir.txt", QStringLiteral("「 dir.txt 」: 通常のファイルではありません！"), QStringLiteral("Dataファイルの確認")},
        {"wide.txt", QStringLiteral(" 2 行 ( 65538 文字 ) : 65536 文字までです"), QStringLiteral("「 wide.txt 」の行が長すぎます！")},
    };
    for (const auto& c : refused) {
        k.status = 0;
        k.prepareProgram({"ANIME_SET:", QStringLiteral("Data:9,\"%1\"").arg(c.file), "SET_END:", "$a=1"}, folder());
        EXPECT_EQ(sink.records.back().text, c.text);
        EXPECT_EQ(sink.records.back().caption, c.caption);
        EXPECT_EQ(k.status, 1);
    }
}

TEST_F(LoadTest, DataOverHttpAndFaultyCounts) {
    LoopbackHttpServer server;
    server.serve("/w/vals.txt", "4,5,6\r\n");
    k.prepareProgram({"ANIME_SET:", "Data:2,\"vals.txt\"", "SET_END:"}, server.url("/w/"));
    EXPECT_EQ(k.dataValues, std::vector<double>({4, 5}));
    for (const char* count : {"Data:0", "Data:65536", "Data:-3"}) {
        prepare({"ANIME_SET:", count, "SET_END:", "$a=1"});
        EXPECT_TRUE(k.dataValues.empty());
        EXPECT_EQ(statementList().size(), 2u) << count; // the block failed: the program ends after it
    }
}

TEST_F(LoadTest, AnimationBlockIsCutWhileItRunsAndJoinedAfterwards) {
    prepare({"$a=1", "ANIME_SET:", "Canvas:1,1", "SET_END:", "$b=2"});
    EXPECT_EQ(animation.runs, 1);
    EXPECT_EQ(animation.resets, 1);
    EXPECT_EQ(animation.cameraClears, 1);
    EXPECT_EQ(statementList().size(), 5u);

    prepare({"ANIME_SET:", "SET_END:", "$b=2"}); // empty block: nothing read, the list whole
    EXPECT_EQ(animation.runs, 1);
    EXPECT_EQ(statementList().size(), 3u);

    animation.blockResult = -1;
    prepare({"ANIME_SET:", "Canvas:1,1", "SET_END:", "$b=2"});
    EXPECT_EQ(statementList().size(), 2u);
    EXPECT_EQ(k.status, 0);

    animation.blockResult = 0;
    animation.throwInBlock = true;
    prepare({"ANIME_SET:", "Canvas:1,1", "SET_END:", "$b=2"});
    EXPECT_EQ(k.status, 1);
    EXPECT_EQ(statementList().size(), 2u);
}

// A line past the limit and a full item table refuse the program with a message naming the line;
// a line at the limit compiles.
TEST_F(LoadTest, OverlongLinesAndAFullItemTableNameTheirLine) {
    const QString atLimit = "$a=1" + QString("+1").repeated((kestoBasInfo::kMaxLineLength - 4) / 2);
    ASSERT_EQ(atLimit.size(), kestoBasInfo::kMaxLineLength);
    prepare({"$b=2", atLimit});
    EXPECT_EQ(k.status, RunStatus::Well);
    EXPECT_TRUE(sink.records.empty());

    prepare({"$b=2", "'comment", atLimit + "+"});
    EXPECT_EQ(k.status, RunStatus::Fault);
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].caption, QStringLiteral("「acmd」の行が長すぎます！"));
    EXPECT_EQ(sink.records[0].text, QStringLiteral(" 3 行 ( 65537 文字 ) : 65536 文字までです"));

    k.status = RunStatus::Well;
    sink.records.clear();
    QStringList many;
    for (int line = 0; line < 700; ++line) {
        QString text = "$a=0";
        for (int n = 0; n < 100; ++n) text += QStringLiteral(";$a=%1").arg(line * 100 + n + 1);
        many.append(text);
    }
    prepare(many);
    EXPECT_EQ(k.status, RunStatus::Fault);
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].caption, QStringLiteral("「acmd」の変数と定数が多すぎます！"));
    EXPECT_EQ(sink.records[0].text, QStringLiteral(" 653 行 : 変数と定数は 65280 個までです"));
}

TEST_F(LoadTest, NamesSurviveRecompileAndGoWithClearProgram) {
    prepare({"ANIME_SET:", "BitMap:ball,1", "SET_END:", "ball:X=1"});
    EXPECT_TRUE(messages.isEmpty());
    prepare({"ball:X=1"}); // the same work renewed without its declaration still knows the name
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(statementList()[0]->code.front(), QChar(code::NameFirst));
    k.clearProgram();
    EXPECT_TRUE(k.names().isEmpty());
    EXPECT_TRUE(k.programLines.isEmpty());
    EXPECT_EQ(k.statements.first(), nullptr);
    EXPECT_EQ(k.items.count(), 0);
}

} // namespace
