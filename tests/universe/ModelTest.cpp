// The load and save commands after a path was chosen: extension checks, questions, answers.
#include "UniverseFixture.h"
#include "LoopbackHttpServer.h"
#include "TestSupport.h"

#include "universe/UniverseModel.h"

#include "common/Choosers.h"
#include "common/Platform.h"
#include "common/TextCodec.h"
#include "common/ShowCheck.h"

#include <gtest/gtest.h>

namespace {

class ModelTest : public testing::Test {
protected:
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
    TempFolder dir;
    UniverseModel model{QStringLiteral("/"), QStringLiteral("/work/")};

    void SetUp() override { ASSERT_TRUE(readChart(model.tree(), {"0|1|/d|0|0", "1|2|a|3|0"})); sink.records.clear(); }
};

TEST_F(ModelTest, ExtensionLooksAtTheLastComponentOnly) {
    EXPECT_EQ(lastExtension("/x/my.dir/tree"), "");
    EXPECT_EQ(lastExtension("/x/my.dir/tree.txt"), ".txt");
    EXPECT_EQ(lastExtension("C:\\a.b\\tree"), "");
    ASSERT_TRUE(makeFolders(dir.file("my.dir")));
    EXPECT_TRUE(model.saveConstellation(dir.file("my.dir/tree")));
    EXPECT_TRUE(fileExists(dir.file("my.dir/tree.nebu")));
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, "拡張子「.nebu」を付加しました！");
    EXPECT_EQ(model.tree().lastChooserFolder, dir.file("my.dir/"));
}

// Only the answer 1 is a yes: "no" and "another message is open" (-1) both leave the disk alone.
TEST_F(ModelTest, OnlyYesChangesTheExtensionOrOverwrites) {
    struct Case {
        int answer;
        bool written;
    } cases[] = {{1, true}, {0, false}, {-1, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.answer);
        const QString name = dir.file(QStringLiteral("t%1.txt").arg(c.answer + 1));
        const QString nebu = dir.file(QStringLiteral("t%1.nebu").arg(c.answer + 1));
        sink.records.clear();
        sink.answers = {c.answer};
        EXPECT_EQ(model.saveConstellation(name), c.written);
        EXPECT_EQ(fileExists(nebu), c.written);
        EXPECT_EQ(sink.records.at(0).text, "拡張子を「.nebu」に変更して保存しますか？(Y/N)");

        ASSERT_TRUE(writeFileAtomic(nebu, "old"));
        sink.answers = {c.answer};
        EXPECT_EQ(model.saveConstellation(nebu), c.written);
        EXPECT_EQ(sink.records.back().text, "上書きしますか？(Y/N)");
        QByteArray bytes;
        ASSERT_TRUE(readFileBytes(nebu, bytes));
        EXPECT_EQ(bytes == "old", !c.written);
    }
}

TEST_F(ModelTest, LoadChecksExtensionAndExistenceFirst) {
    ASSERT_TRUE(writeFileAtomic(dir.file("x.txt"), "0\t1\t/other\t0\t0\r\n"));
    EXPECT_FALSE(model.loadConstellation(dir.file("x.txt"), true));
    EXPECT_FALSE(model.loadConstellation(dir.file("none.NEBU"), true));
    ASSERT_EQ(sink.records.size(), 2u);
    EXPECT_EQ(sink.records[0].text, "「NEBU」星座データではありません！");
    EXPECT_EQ(sink.records[1].text, "指定の「NEBU」星座データの[星]が存在しません！");
    EXPECT_EQ(model.tree().root()->name(), "/d");

    ASSERT_TRUE(writeFileAtomic(dir.file("y.NEBU"), "0\t1\t/other\t0\t0\r\n1\t1\tg\t0\t0\r\n2\t2\ts\t5\t0\r\n"));
    model.tree().displayDepth = 1;
    EXPECT_TRUE(model.loadConstellation(dir.file("y.NEBU"), true));
    EXPECT_EQ(model.tree().root()->name(), "/other");
    EXPECT_EQ(model.tree().displayDepth, 2);
    EXPECT_EQ(model.tree().root()->size, 5u);
}

TEST_F(ModelTest, OpenPathReadsConstellationDataUnderTheWorkFolder) {
    ASSERT_TRUE(writeFileAtomic(dir.file("chart.nebu"), "0\t1\t新世界\t0\t0\r\n1\t2\t星\t4\t0\r\n"));
    UniverseModel m(QStringLiteral("chart.nebu"), dir.path() + u'/');
    EXPECT_EQ(m.openPath(), 1);
    EXPECT_TRUE(m.tree().chartMode);
    EXPECT_EQ(m.tree().driveText, "mc");
    EXPECT_EQ(m.tree().root()->size, 4u);
}

TEST_F(ModelTest, TreeImageFileIsCodePage932WithHeading) {
    TreeView view;
    layoutTree(model.tree(), view);
    EXPECT_TRUE(model.saveTreeImage(dir.file("pic"), view, TreeImageStyle{}));
    QByteArray bytes;
    ASSERT_TRUE(readFileBytes(dir.file("pic.nimg"), bytes));
    EXPECT_TRUE(bytes.startsWith(QByteArray("\x81\x6b HD_\x89\x46\x92\x88 \x81\x6c\r\n")));
    EXPECT_EQ(sink.records.at(0).text, "拡張子「.nimg」を付加しました！");
}

// The commands choose their file first; cancelling changes nothing and says nothing.
TEST_F(ModelTest, CommandsChooseTheirFileFirst) {
    ScriptedChooserSink chooser;
    ScopedChooserSink installedChooser(&chooser);
    model.tree().lastChooserFolder = dir.path() + u'/';
    chooser.paths = {QString(), dir.file("kept"), QString(), dir.file("kept.nebu"), dir.file("pic")};
    EXPECT_FALSE(model.saveConstellation());
    EXPECT_TRUE(model.saveConstellation());
    EXPECT_FALSE(model.loadConstellation(true));
    EXPECT_TRUE(model.loadConstellation(true));
    EXPECT_TRUE(model.saveTreeImage(TreeView{}, TreeImageStyle{}));
    ASSERT_EQ(chooser.pathRequests.size(), 5u);
    EXPECT_EQ(chooser.pathRequests[0].filter, "*.nebu");
    EXPECT_EQ(chooser.pathRequests[0].title, "星座データを保存する[星]を選択してください");
    EXPECT_EQ(chooser.pathRequests[0].shownFirst, dir.path() + u'/');
    EXPECT_EQ(chooser.pathRequests[2].title, "読込む星座データの[星]を選択してください");
    EXPECT_EQ(chooser.pathRequests[4].filter, "*.nimg");
    EXPECT_TRUE(fileExists(dir.file("pic.nimg")));
    EXPECT_EQ(sink.records.size(), 2u); // the two extension notices

    chooser.driveAnswers = {QStringList()};
    EXPECT_FALSE(model.logAllDrives());
    ASSERT_EQ(chooser.driveRequests.size(), 1u);
    EXPECT_TRUE(chooser.driveRequests[0].contains("/"));
}

TEST_F(ModelTest, ConstellationDataOverHttp) {
    LoopbackHttpServer server;
    server.serve("/c.nebu", encodeCp932(QStringLiteral("0\t1\t/遠い\t0\t0\r\n1\t2\t星\t9\t0\r\n")));
    EXPECT_TRUE(model.loadConstellation(server.url("/c.nebu"), true));
    EXPECT_EQ(chartLines(model.tree()), QStringList({"0|1|/遠い|9|0", "1|2|星|9|0"}));
    EXPECT_TRUE(sink.records.empty());

    // A failed fetch is reported by the fetch and leaves the tree as it was.
    EXPECT_FALSE(model.loadConstellation(server.url("/missing.nebu"), true));
    EXPECT_EQ(chartLines(model.tree()).size(), 2);
    EXPECT_FALSE(sink.records.empty());
}

TEST_F(ModelTest, DriveListEndsWithAnEmptyItem) {
    const QStringList drives = UniverseModel::driveList();
    ASSERT_GE(drives.size(), 2);
    EXPECT_EQ(drives.first(), " /");
    EXPECT_EQ(drives.last(), "");
}

TEST_F(ModelTest, DriveLogNames) {
    model.tree().lastChooserFolder = QStringLiteral("/logs/");
    EXPECT_EQ(model.driveLogName("C:\\", 12, "14030815"), "/logs/C1214030815.nebu");
    EXPECT_EQ(model.driveLogName("/", 3, "14030815"), "/logs/root0314030815.nebu");
    EXPECT_EQ(model.driveLogName("/mnt/usb/", 7, "14030815"), "/logs/mnt_usb0714030815.nebu");
}

} // namespace
