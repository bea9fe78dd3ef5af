// Whole programs through the interpreter: the animation block with its settings, declarations,
// .anim data through Load, Data number files, reports and the user values of characters.
#include "TestSupport.h"
#include "anime/AnimeEngine.h"
#include "characters/CharacterKinds.h"
#include "common/Platform.h"
#include "common/ShowCheck.h"
#include "common/TextFile.h"
#include "script/KeywordTables.h"
#include "script/kestoBasInfo.h"

#include <QBuffer>
#include <QImage>
#include <gtest/gtest.h>

namespace {

struct Work {
    AnimeEngine engine;
    kestoBasInfo k;
    QStringList messages;
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
    Work() {
        k.setAnimationHook(&engine);
        k.setMessageSink([this](const QString& text) { messages.append(text); });
    }
    void prepare(const QStringList& lines, const QString& folder = QString()) { k.prepareProgram(lines, folder); }
    const AnimeState& state() const { return engine.state; }
};

} // namespace

TEST(AnimeEngine, ProgramBlockBuildsTheAnimation) {
    Work w;
    w.prepare({"' a work", "ANIME_SET:", "theme:\"夜の星\"", "bgcolor: 24,24,56", "color:5,10,20,30",
               "DotPtn:ball,4,2,10,20,0,3,0,2,1", "05.F", "1234", "aaaa", "1111",
               "DotPtn:ball,1,1,$x+1,0,0,0,0,1,1", "1", "camera:X=100", "ball:X=50", "SET_END:", "ball[$x+1]:X=5",
               "ball:X=6", "ball[2:X=7"});
    EXPECT_EQ(w.k.status, 0);
    EXPECT_TRUE(w.sink.records.empty());
    const AnimeState& s = w.state();
    EXPECT_EQ(s.theme, QStringLiteral("夜の星"));
    EXPECT_EQ(s.bgColor, 0x381818u);
    ASSERT_EQ(s.characters.size(), 2u);
    const AnimeInfo& ball = *s.characters[0];
    EXPECT_EQ(ball.name, QStringLiteral("ball"));
    ASSERT_NE(keywordOfCode(ball.kindKeyword), nullptr);
    EXPECT_EQ(keywordOfCode(ball.kindKeyword)->standard, u"DotPtn"); // the kind that declared it
    EXPECT_EQ(ball.X, 100);
    EXPECT_EQ(ball.vX, 3);
    EXPECT_EQ(ball.pixelAt(0, 0, 1), 0x1E140A);
    EXPECT_EQ(ball.pixelAt(0, 0, 2), -1);
    EXPECT_EQ(ball.pixelAt(1, 1, 3), 0);
    EXPECT_EQ(s.characters[1]->X, 10); // the parameter was an expression ($x is 0)
    EXPECT_EQ(s.characters[1]->sameNameIndex(), 1);
    EXPECT_EQ(s.nameIndex.size(), 2u);
    EXPECT_EQ(w.engine.view.cameraX, 0); // camera and attribute lines in the block have no effect

    // The names the commands after the block give, with their compiled index expressions.
    std::vector<QString> fields;
    for (progInfo* st = w.k.statements.first(); st; st = st->next)
        if (st->code.startsWith(QChar(char16_t(0x4000)))) fields.push_back(st->code.left(st->code.indexOf(u':')));
    ASSERT_EQ(fields.size(), 4u); // the one inside the block, then three after it
    EXPECT_EQ(w.engine.findNamed(w.k, fields[1]), s.characters[1].get());
    EXPECT_NE(w.engine.findNamed(w.k, fields[2]), nullptr);
    const qsizetype logged = s.log.size();
    EXPECT_EQ(w.engine.findNamed(w.k, fields[3]), nullptr); // '[' without ']' names none
    EXPECT_EQ(s.log.size(), logged);                         // and is no missing character
    EXPECT_EQ(w.engine.findNamed(w.k, u"\"ghost\""), nullptr);
    EXPECT_EQ(s.log.last(), QStringLiteral("アニメキャラ（ ghost[0] ）は設定されていません！"));

    EXPECT_TRUE(w.k.writeUserValue(u"BALL", 1, 31, 2.5));
    double v = 0;
    EXPECT_TRUE(w.engine.userValue(u"ball", 1, 31, &v));
    EXPECT_EQ(v, 2.5);
    EXPECT_FALSE(w.k.writeUserValue(u"ball", 1, 32, 1));
    EXPECT_FALSE(w.k.writeUserValue(u"nobody", 0, 1, 1));
}

TEST(AnimeEngine, FaultyParameterIsReportedWithTheSourceLine) {
    Work w;
    w.prepare({"' a work", "ANIME_SET:", "DotPtn:a,1,1,0,0,0,0,0,1,1", "1", "DotPtn:b,0,2,0,0,0,0,0,1,1",
               "DotPtn:c,1,1,0,0,0,0,0,1,1", "SET_END:"});
    ASSERT_EQ(w.sink.records.size(), 1u);
    EXPECT_EQ(w.sink.records[0].text, QStringLiteral(" 5 行 DotPtn:b,0,2,0,0,0,0,0,1,1 (wid)"));
    EXPECT_EQ(w.sink.records[0].caption, QStringLiteral("ヴィモラ設定のパラメータに不備があります！"));
    EXPECT_EQ(w.state().log, QStringList{w.sink.records[0].text});
    ASSERT_EQ(w.state().characters.size(), 1u);
    EXPECT_EQ(w.state().nameIndex.size(), 1u);
}

TEST(AnimeEngine, AnimDataThroughLoadAndADataFile) {
    TempFolder folder;
    folder.write("stars.anim", QByteArray("theme:stars\r\ncanvas:10,10,750,500\r\nbgcolor:0,0,64\r\n"
                                          "data:3,\"nums.txt\"\r\nDotPtn:star,1,1,5,5,0,0,0,1,1\r\nF\r\n"));
    folder.write("nums.txt", QByteArray("' numbers\r\n1,2\r\n3,4\r\n"));
    Work w;
    w.prepare({"' first", "Load:stars.anim", "wait:1"}, folder.path() + "/");
    EXPECT_EQ(w.k.status, 0);
    EXPECT_TRUE(w.sink.records.empty());
    EXPECT_EQ(w.state().theme, QStringLiteral("stars"));
    EXPECT_EQ(w.state().canvasWidth, 750);
    EXPECT_EQ(w.state().canvasHeight, 500);
    EXPECT_EQ(w.state().bgColor, 0x400000u);
    EXPECT_EQ(w.k.dataValues, (std::vector<double>{1, 2, 3}));
    ASSERT_EQ(w.state().characters.size(), 1u);
    EXPECT_EQ(w.state().characters[0]->pixelAt(0, 0, 0), 0);
}

TEST(AnimeEngine, ResetAndFramesThroughTheInterpreter) {
    Work w;
    w.prepare({"ANIME_SET:", "color:300,255,0,0", "DotPtn:a,1,1,0,0,0,10,0,1,1", "1", "SET_END:"});
    ASSERT_EQ(w.state().characters.size(), 1u);
    EXPECT_EQ(w.state().highestColor, 300);
    w.engine.advanceFrame(w.k);
    EXPECT_EQ(w.state().characters[0]->X, 10);
    w.k.resetAnimation();
    EXPECT_TRUE(w.state().characters.empty());
    EXPECT_EQ(w.state().palette.size(), 16u);
    EXPECT_EQ(w.state().highestColor, 15);
}

TEST(AnimeEngine, BitmapFramesNamedOnTheLineAndOnTheNext) {
    TempFolder folder;
    for (const char* name : {"f0.bmp", "f1.bmp"}) {
        QImage image(3, 2, QImage::Format_RGB32);
        image.fill(qRgb(0, 0, name[1] == '0' ? 255 : 128));
        image.setPixel(2, 0, qRgb(1, 1, 1));
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        image.save(&buffer, "BMP");
        folder.write(name, bytes);
    }
    Work w;
    w.prepare({"ANIME_SET:", "BitMap:walk,0,0,0,0,0,2,1,\"f0.bmp\",\"f1.bmp\"", "BitMap:walk,0,0,0,0,0,2,1,\"f0.bmp\"",
               "\"f1.bmp\"", "\"f0.bmp\"", "SET_END:"},
              folder.path() + "/");
    EXPECT_TRUE(w.sink.records.empty());
    ASSERT_EQ(w.state().characters.size(), 2u);
    for (const auto& c : w.state().characters) {
        EXPECT_EQ(c->width, 3);
        EXPECT_EQ(c->pixelAt(0, 0, 2), -1);
    }
    const AnimeInfo& first = *w.state().characters[0];
    EXPECT_EQ(first.pixelAt(0, 0, 0), 0xFF0000);
    EXPECT_EQ(first.pixelAt(1, 1, 0), 0x800000);
    // One name on the line for two frames: the names come from the following lines instead.
    const AnimeInfo& second = *w.state().characters[1];
    EXPECT_EQ(second.pixelAt(0, 1, 0), 0x800000);
    EXPECT_EQ(second.pixelAt(1, 1, 0), 0xFF0000);
}

TEST(AnimeEngine, BundledWorksBuildTheirAnimationsAndRunFrames) {
    const QString home = qEnvironmentVariable("VIMORA_HOME");
    std::vector<FolderEntry> groups;
    ASSERT_TRUE(listFolder(home, groups));
    int works = 0;
    for (const FolderEntry& group : groups) {
        if (!(group.attributes & AttrDirectory)) continue;
        std::vector<FolderEntry> files;
        listFolder(home + "/" + group.name, files);
        for (const FolderEntry& file : files) {
            if (!file.name.endsWith(QStringLiteral(".acmd"))) continue;
            SCOPED_TRACE(file.name.toStdString());
            const QString folder = home + "/" + group.name + "/";
            QStringList lines;
            ASSERT_TRUE(readTextLines(folder + file.name, lines));
            Work w;
            registerCharacterKinds(w.engine.state); // bundled works play the game kinds too
            w.prepare(lines, folder);
            for (const auto& r : w.sink.records) ADD_FAILURE() << r.text.toStdString();
            EXPECT_FALSE(w.state().characters.empty());
            for (int frame = 0; frame < 3; ++frame) w.engine.advanceFrame(w.k);
            ++works;
        }
    }
    EXPECT_GT(works, 0);
}

TEST(AnimeEngine, SettingsGivenWhileTheWorkRuns) {
    Work w;
    w.prepare({"ANIME_SET:", "DotPtn:a,1,1,0,0,0,0,0,1,1", "1", "SET_END:", "$z=2", "camera:X=100,vY=$z",
               "wzoom:$z*2", "bgcolor:1,2,3", "color:1,300,0,0", "frameptn:2,1", "1A", "wait:1"});
    // Run the statements after the block as the executor would, one command at a time.
    progInfo* current = w.k.statements.first();
    while (current && current->kind() != 0x3301) current = current->next; // past SET_END:
    current = current->next;
    QString command;
    QStringList rests;
    while (w.k.readStatement(command, current) == 0) {
        const int setting = command[0].unicode() - 0x3200;
        const auto rest = w.engine.applySetting(w.k, setting, command.mid(2), current);
        rests.append(rest ? *rest : QStringLiteral("<faulty>"));
    }
    EXPECT_EQ(w.engine.view.cameraX, -100);
    EXPECT_EQ(w.engine.view.driftY, 2);
    EXPECT_EQ(w.engine.view.dotZoomX, 4);
    EXPECT_EQ(w.state().bgColor, 0x030201u);
    ASSERT_TRUE(w.state().framePattern);
    EXPECT_EQ(w.state().framePattern->cells, (std::vector<int>{1, 10}));
    // The pattern's row is taken by the setting, and the run loop's settings come back as they are.
    ASSERT_EQ(rests.size(), 6);
    EXPECT_EQ(rests[3], QStringLiteral("<faulty>"));
    EXPECT_EQ(rests[4], QString());
    EXPECT_FALSE(rests[5].isEmpty());
}
