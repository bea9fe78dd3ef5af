#include "TestSupport.h"
#include "VimoraRunProcess.h"
#include "work/RunOptions.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using Outcome = VimoraRunOutcome;

TEST(VimoraRunTest, RunsASmallProgramAndWritesItsState) {
    TempFolder folder;
    const QString program = folder.write("small.acmd",
        "ANIME_SET:\r\ntheme:\"small\"\r\nData:3\r\n4,5,6\r\nDotPtn:ball,1,1,10,20,0,0,0,1,1\r\n1\r\nSET_END:\r\n"
        "$total=read(1)+read(2)\r\nball:X=12.5,vX=-3\r\nMusic:1\r\nWait:2\r\n");
    const QString state = folder.file("state.json");
    const QString png = folder.file("last.png");
    const Outcome o = vimoraRun({program, "--state", state, "--png", png, "--size", "64x32", "--seed", "7"});
    EXPECT_EQ(o.exitCode, 0) << o.out.toStdString();
    EXPECT_TRUE(o.out.contains("曲名が設定されていません！: Music:1")) << o.out.toStdString();

    QFile file(state);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject s = QJsonDocument::fromJson(file.readAll()).object();
    EXPECT_EQ(s["variables"].toObject()["$total"].toDouble(), 11);
    EXPECT_EQ(s["data"].toArray(), (QJsonArray{4, 5, 6}));
    const QJsonArray characters = s["characters"].toArray();
    ASSERT_EQ(characters.size(), 1);
    const QJsonObject ball = characters[0].toObject();
    EXPECT_EQ(ball["name"].toString(), "ball");
    EXPECT_EQ(ball["index"].toInt(), 0);
    EXPECT_EQ(ball["kind"].toString(), "DotPtn");
    EXPECT_EQ(ball["vX"].toDouble(), -3);
    EXPECT_EQ(ball["disp"].toInt(), 1);
    // Four frames after the command (two of them the wait's) moved it by 0.3 pixels each.
    EXPECT_NEAR(ball["X"].toDouble(), 11.3, 1e-9);
    const QJsonObject prog = s["program"].toObject();
    EXPECT_EQ(prog["running"].toInt(), 0);
    EXPECT_EQ(prog["status"].toInt(), 0);
    EXPECT_EQ(prog["ticks"].toInt(), 7); // four lines, two waiting ticks, the end
    EXPECT_GE(s["frames"].toInt(), 6);
    EXPECT_EQ(s["timing"].toObject()["acmdTime"].toInt(), 100);
    const QJsonArray dialogs = s["dialogs"].toArray();
    ASSERT_EQ(dialogs.size(), 1);
    EXPECT_EQ(dialogs[0].toObject()["caption"].toString(), "曲名が設定されていません！");
    EXPECT_EQ(dialogs[0].toObject()["style"].toInt(), 0);
    const QJsonArray log = s["log"].toArray();
    ASSERT_EQ(log.size(), 2);
    EXPECT_TRUE(log[0].toString().endsWith("「small」の鑑賞開始."));
    QImage picture(png);
    EXPECT_EQ(picture.size(), QSize(64, 32));
}

TEST(VimoraRunTest, WritesEveryFrameDrawn) {
    TempFolder folder;
    const QString program = folder.write("frames.acmd",
        "ANIME_SET:\r\nDotPtn:ball,1,1,10,20,0,0,0,1,1\r\n1\r\nSET_END:\r\nWait:3\r\n");
    for (const QString format : {"png", "bmp"}) {
        const QString frames = folder.file("frames-" + format);
        const QString state = folder.file("state.json");
        ASSERT_EQ(vimoraRun({program, "--frames", frames, "--frames-format", format, "--state", state, "--size",
                             "40x20"}).exitCode, 0);
        QFile file(state);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const int drawn = QJsonDocument::fromJson(file.readAll()).object()["frames"].toInt();
        const QStringList written = QDir(frames).entryList(QDir::Files, QDir::Name);
        ASSERT_EQ(written.size(), drawn);
        EXPECT_EQ(written.first(), "000001." + format);
        EXPECT_EQ(QImage(frames + "/" + written.last()).size(), QSize(40, 20));
    }
}

TEST(VimoraRunTest, ExitStatusTellsErrorsFromFailedLoads) {
    TempFolder folder;
    const QString failing = folder.write("fail.acmd",
        "ANIME_SET:\r\nDotPtn:ball,1,1,10,20,0,0,0,1,1\r\n1\r\nSET_END:\r\nnobody:X=1\r\n");
    const Outcome error = vimoraRun({failing});
    EXPECT_EQ(error.exitCode, 1);
    EXPECT_TRUE(error.out.contains("「acmd」エラーです!:  5 行 1( nobody:X=1 )")) << error.out.toStdString();
    EXPECT_TRUE(error.out.contains("アニメキャラ（ nobody[0] ）は設定されていません！"));

    EXPECT_EQ(vimoraRun({folder.file("missing.acmd")}).exitCode, 2);
    EXPECT_EQ(vimoraRun({failing, "--ms", "ten"}).exitCode, 2);
    EXPECT_EQ(vimoraRun({}).exitCode, 2);
    EXPECT_EQ(vimoraRun({failing, "--state", folder.file("no/such/folder/state.json")}).exitCode, 2);
}

TEST(VimoraRunTest, AWorkWhoseBlockHasAFaultyParameterExitsWithOne) {
    TempFolder folder;
    const QString faulty = folder.write("faulty.acmd",
        "ANIME_SET:\r\nDotPtn:ball,1,1,10,20,0,0,0,1,1\r\n1\r\nBgColor:300,0,0\r\nSET_END:\r\n$a=1\r\n");
    const QString state = folder.file("s.json");
    const Outcome o = vimoraRun({faulty, "--state", state});
    EXPECT_EQ(o.exitCode, 1) << o.out.toStdString();
    EXPECT_TRUE(o.out.contains("ヴィモラ設定のパラメータに不備があります！")) << o.out.toStdString();
    QFile file(state);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject s = QJsonDocument::fromJson(file.readAll()).object();
    EXPECT_EQ(s["variables"].toObject()["$a"].toDouble(), 0) << "the program after the block never ran";
}

// What is not a regular file is refused at once with its own message: nothing waits on a FIFO
// without a writer or reads an endless device.
// A program named relative to the working directory finds its bitmaps in its own folder.
TEST(VimoraRunTest, ARelativeProgramPathFindsTheWorksFiles) {
    TempFolder folder;
    ASSERT_TRUE(QDir(folder.path()).mkdir("work"));
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(0, 0, 255));
    ASSERT_TRUE(image.save(folder.file("work/f0.bmp"), "BMP"));
    folder.write("work/bits.acmd", "ANIME_SET:\r\nBitMap:walk,0,0,0,0,0,1,1,\"f0.bmp\"\r\nSET_END:\r\nWait:1\r\n");
    for (const auto& [where, program] : {std::pair{folder.file("work"), QStringLiteral("bits.acmd")},
                                         std::pair{folder.path(), QStringLiteral("work/bits.acmd")},
                                         std::pair{folder.path(), QStringLiteral("./work/bits.acmd")}}) {
        const Outcome o = vimoraRun({program, "--state", folder.file("s.json")}, where);
        EXPECT_EQ(o.exitCode, 0) << program.toStdString() << o.out.toStdString();
        QFile file(folder.file("s.json"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QJsonArray characters = QJsonDocument::fromJson(file.readAll()).object()["characters"].toArray();
        EXPECT_EQ(characters.size(), 1) << program.toStdString();
    }
}

TEST(VimoraRunTest, OnlyRegularFilesAreLoaded) {
    TempFolder folder;
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder.file("pipe.acmd")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link("/dev/zero", folder.file("zero.acmd")));
    ASSERT_TRUE(QDir(folder.path()).mkdir("folder.acmd"));
    for (const char* name : {"pipe.acmd", "zero.acmd"}) {
        const Outcome o = vimoraRun({folder.file(name)});
        EXPECT_EQ(o.exitCode, 2) << name;
        EXPECT_TRUE(o.out.contains(QStringLiteral("通常のファイルではありません！"))) << o.out.toStdString();
        EXPECT_FALSE(o.out.contains(QStringLiteral("存在しません"))) << o.out.toStdString();
    }
    EXPECT_EQ(vimoraRun({folder.file("folder.acmd")}).exitCode, 2);
    // A picture frame that is a pipe says so, rather than only that its line is faulty.
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder.file("pipe.bmp")).constData(), 0600), 0);
    const Outcome picture =
        vimoraRun({folder.write("picture.acmd", "ANIME_SET:\r\nBitMap:p,0,0,0,0,0,1,1,\"pipe.bmp\"\r\nSET_END:\r\n")});
    EXPECT_TRUE(picture.out.contains(QStringLiteral("通常のファイルではありません！"))) << picture.out.toStdString();
    const Outcome missing = vimoraRun({folder.file("none.acmd")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.out.contains(QStringLiteral("存在しません"))) << missing.out.toStdString();
}

TEST(VimoraRunTest, CommandValuesFollowTheValueRuleAndMissingOnesNameTheirLine) {
    TempFolder folder;
    const QByteArray ball = "ANIME_SET:\r\nDotPtn:ball,1,1,10,20,0,0,0,1,1\r\n1\r\nSET_END:\r\n";
    // "2*-3" does not reduce (its minus is no literal): the value is what stands second, 2.
    const QString state = folder.file("s.json");
    const Outcome reduced = vimoraRun({folder.write("odd.acmd", ball + "ball:X=2*-3,vX=0\r\n"), "--state", state});
    EXPECT_EQ(reduced.exitCode, 0) << reduced.out.toStdString();
    QFile file(state);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonObject s = QJsonDocument::fromJson(file.readAll()).object();
    EXPECT_EQ(s["characters"].toArray()[0].toObject()["X"].toDouble(), 2);

    struct Case {
        const char* line;
        const char* shown;
    };
    for (const Case& c : {Case{"AcmdTime:", " 5 行 値のないパラメータがあります( AcmdTime: )"},
                          Case{"ball:X=", " 5 行 値のないパラメータがあります( ball:X= )"},
                          Case{"ball:dim[]=1", " 5 行 値のないパラメータがあります( ball:dim[]=1 )"}}) {
        const Outcome missing = vimoraRun({folder.write("missing.acmd", ball + c.line + "\r\n$a=1\r\n")});
        EXPECT_EQ(missing.exitCode, 1) << c.line;
        EXPECT_TRUE(missing.out.contains(QStringLiteral("「acmd」エラーです!: ") + QString::fromUtf8(c.shown)))
            << missing.out.toStdString();
    }
}

TEST(VimoraRunTest, EverySampleProgramRunsToItsEnd) {
    const QDir home(qEnvironmentVariable("VIMORA_HOME"));
    int programs = 0;
    for (const QString& group : home.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        for (const QString& name : QDir(home.filePath(group)).entryList({"*.acmd"}, QDir::Files)) {
            ++programs;
            TempFolder out;
            const Outcome o = vimoraRun({home.filePath(group + "/" + name), "--state", out.file("s.json")});
            EXPECT_EQ(o.exitCode, 0) << (group + "/" + name).toStdString() << "\n" << o.out.toStdString();
            QFile file(out.file("s.json"));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QJsonObject s = QJsonDocument::fromJson(file.readAll()).object();
            EXPECT_EQ(s["program"].toObject()["running"].toInt(), 0) << name.toStdString();
            EXPECT_FALSE(s["characters"].toArray().isEmpty()) << name.toStdString();
            EXPECT_GT(s["frames"].toInt(), 0) << name.toStdString();
        }
    }
    EXPECT_GT(programs, 0);
}

TEST(RunOptionsTest, ParsesTheCommandLine) {
    QString error;
    const auto o = RunOptions::parse({"--ms", "500", "--no-run", "--size", "320x200", "--png", "a.png", "--frames",
                                      "f", "--state", "-", "--answer", "1", "--seed", "42", "w.acmd"},
                                     &error);
    ASSERT_TRUE(o) << error.toStdString();
    EXPECT_EQ(o->milliseconds, 500);
    EXPECT_TRUE(o->noRun);
    EXPECT_EQ(o->width, 320);
    EXPECT_EQ(o->height, 200);
    EXPECT_EQ(o->png, "a.png");
    EXPECT_EQ(o->framesDir, "f");
    EXPECT_EQ(o->stateFile, "-");
    EXPECT_EQ(o->answer, 1);
    EXPECT_EQ(o->seed, 42u);
    EXPECT_EQ(o->program, "w.acmd");
    EXPECT_EQ(RunOptions::parse({"w.acmd"}, &error)->simulatedMilliseconds(), RunOptions::kMaxMilliseconds);
    EXPECT_EQ(RunOptions::parse({"--no-run", "w.acmd"}, &error)->simulatedMilliseconds(), RunOptions::kNoRunMilliseconds);

    for (const QStringList& bad : std::vector<QStringList>{
             {}, {"--ms"}, {"--ms", "600001", "w"}, {"--ms", "-1", "w"}, {"--size", "10", "w"}, {"--size", "0x5", "w"},
             {"--answer", "2", "w"}, {"--seed", "x", "w"}, {"--frames-format", "gif", "w"}, {"--bogus", "w"}, {"a", "b"}}) {
        EXPECT_FALSE(RunOptions::parse(bad, &error)) << bad.join(' ').toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST(RunOptionsTest, PlayInputsAreSortedByTimeAndKeepTheirOrderWithinOne) {
    QString error;
    const auto o = RunOptions::parse({"--pad", "--key", "500:39", "--drag", "200:10,20-50,20-50,60", "--click",
                                      "500:7,8", "--key", "0:13", "w.acmd"},
                                     &error);
    ASSERT_TRUE(o) << error.toStdString();
    EXPECT_TRUE(o->pad);
    ASSERT_EQ(o->inputs.size(), 4u);
    using K = PlayInput::Kind;
    EXPECT_EQ(o->inputs[0].kind, K::Key);
    EXPECT_EQ(o->inputs[0].code, 13);
    EXPECT_EQ(o->inputs[1].kind, K::Drag);
    EXPECT_EQ(o->inputs[1].points, (std::vector<QPoint>{{10, 20}, {50, 20}, {50, 60}}));
    EXPECT_EQ(o->inputs[2].kind, K::Key); // both at 500: as given
    EXPECT_EQ(o->inputs[2].code, 39);
    EXPECT_EQ(o->inputs[3].kind, K::Click);
    EXPECT_EQ(o->inputs[3].points, (std::vector<QPoint>{{7, 8}}));

    for (const QStringList& bad : std::vector<QStringList>{
             {"--key", "39", "w"}, {"--key", "10:0", "w"}, {"--key", "10:256", "w"}, {"--key", "x:39", "w"},
             {"--click", "10:5", "w"}, {"--click", "10:5,6-7,8", "w"}, {"--drag", "10:5,6", "w"},
             {"--drag", "10:5,6-", "w"}, {"--click", "10:-5,6", "w"}}) {
        EXPECT_FALSE(RunOptions::parse(bad, &error)) << bad.join(' ').toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
}

TEST(VimoraRunTest, AWorkThatOpensAUniverseReportsItsCounters) {
    TempFolder folder;
    folder.write("宇宙/銀河/星.txt", "12345");
    folder.write("宇宙/月.txt", "1");
    folder.write("chart.nebu", "0\t1\tmc\t0\t0\r\n1\t1\tg\t0\t0\r\n2\t0\ts.txt\t5\t20100101000000\r\n");
    // The program is code page 932 text: "宇宙" is 0x89 0x46 0x92 0x88.
    const QString program = folder.write("uchuu.acmd",
        "ANIME_SET:\r\nnebu:\"tree\",\"\x89\x46\x92\x88\"\r\nnebu:\"chart\",\"chart.nebu\"\r\nSET_END:\r\n");
    const QString state = folder.file("state.json");
    const Outcome o = vimoraRun({program, "--state", state, "--ms", "200"});
    EXPECT_EQ(o.exitCode, 0) << o.out.toStdString();
    QFile file(state);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonArray characters = QJsonDocument::fromJson(file.readAll()).object()["characters"].toArray();
    ASSERT_EQ(characters.size(), 2);
    EXPECT_EQ(characters[0].toObject()["kind"].toString(), "nebu");
    EXPECT_EQ(characters[0].toObject()["window"].toString(),
              "最深:2  検索 ( D=2 F=2 )  表示:4 ( D=2 F=2 ) | " + folder.file("宇宙"));
    EXPECT_EQ(characters[1].toObject()["window"].toString(), "最深:2  検索 ( D=2 F=1 )  表示:3 ( D=2 F=1 ) | mc");
}

// Key commands play through the tree window's key table also without the window: "f" hides the
// stars, "b" goes to the last row.
TEST(VimoraRunTest, AUniversesKeyCommandsPlayWithoutTheWindow) {
    TempFolder folder;
    folder.write("u/g/s.txt", "12345");
    folder.write("u/m.txt", "1");
    const QString program = folder.write("keys.acmd", "ANIME_SET:\r\nnebu:\"tree\",\"u\",\"fb\"\r\nSET_END:\r\n");
    const QString state = folder.file("state.json");
    const Outcome o = vimoraRun({program, "--state", state, "--ms", "200"});
    EXPECT_EQ(o.exitCode, 0) << o.out.toStdString();
    QFile file(state);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QJsonArray characters = QJsonDocument::fromJson(file.readAll()).object()["characters"].toArray();
    ASSERT_EQ(characters.size(), 1);
    EXPECT_EQ(characters[0].toObject()["window"].toString(),
              "最深:2  検索 ( D=2 F=2 )  表示:2 ( D=2 F=0 ) | " + folder.file("u/g"));
}

} // namespace
