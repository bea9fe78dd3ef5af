#include "script/QStringPrinter.h"
#include "TestSupport.h"
#include "atelier/ProgramSaver.h"
#include "common/Choosers.h"
#include "common/Platform.h"
#include "common/ShowCheck.h"

#include <gtest/gtest.h>

namespace {

class SaveFixture : public testing::Test {
protected:
    QByteArray bytesOf(const QString& path) {
        QByteArray bytes;
        readFileBytes(path, bytes);
        return bytes;
    }
    SaveRequest request(const QStringList& lines = {u"ANIME_SET:"_qs, u"SET_END:"_qs}) {
        SaveRequest r;
        r.lines = lines;
        r.changed = true;
        r.shownPath = QStringLiteral("無題");
        r.chooserFolder = &chooserFolder;
        return r;
    }
    QStringList texts() const {
        QStringList t;
        for (const auto& r : checks.records) t << r.text;
        return t;
    }

    TempFolder folder;
    QString chooserFolder;
    RecordingCheckSink checks;
    ScriptedChooserSink chooser;
    ScopedCheckSink scopedChecks{&checks};
    ScopedChooserSink scopedChooser{&chooser};
};

TEST_F(SaveFixture, SaveAsFollowsTheExtensionRules) {
    struct Case {
        const char* chosen;       // relative to the folder
        std::deque<int> answers;  // to the questions asked
        const char* written;      // relative file written, or nullptr
        QStringList asked;        // texts shown, in order
    };
    const QString added = u"拡張子「.acmd」を付加しました！"_qs;
    const QString change = u"拡張子を「.acmd」に変更して保存しますか？(Y/N)"_qs;
    const Case cases[] = {
        {"test", {}, "test.acmd", {added}},
        {"test.txt", {0}, nullptr, {change}},
        {"test.txt", {1}, "test.acmd", {change}},
        {"upper.ACMD", {}, "upper.ACMD", {}},
        {"my.works/plain", {}, "my.works/plain.acmd", {added}},
        {"", {}, nullptr, {}},
    };
    makeFolders(folder.file(u"my.works"_qs));
    for (const Case& c : cases) {
        checks.records.clear();
        checks.answers = c.answers;
        const QString chosen = QString::fromUtf8(c.chosen);
        chooser.paths = {chosen.isEmpty() ? QString() : folder.file(chosen)};
        const SaveOutcome out = saveProgramAs(request());
        EXPECT_EQ(texts(), c.asked) << c.chosen;
        EXPECT_EQ(out.saved, c.written != nullptr) << c.chosen;
        if (c.written) {
            EXPECT_EQ(out.path, folder.file(QString::fromUtf8(c.written)));
            EXPECT_EQ(bytesOf(out.path), QByteArray("ANIME_SET:\r\nSET_END:\r\n")) << c.chosen;
            eraseFile(out.path);
        }
    }
    EXPECT_FALSE(fileExists(folder.file(u"test.txt"_qs)));
    ASSERT_FALSE(chooser.pathRequests.empty());
    EXPECT_EQ(chooser.pathRequests[0].filter, u"*.acmd"_qs);
    EXPECT_EQ(chooser.pathRequests[0].title, u"アニメプログラムを保存するファイルを選択してください"_qs);
}

TEST_F(SaveFixture, AnExistingFileIsReplacedOnlyWhenTheUserAgrees) {
    const QString path = folder.write(u"old.acmd"_qs, "old\r\n");
    for (int answer : {0, 1}) {
        checks.answers = {answer};
        chooser.paths = {path};
        const SaveOutcome out = saveProgramAs(request({u"new"_qs}));
        EXPECT_EQ(out.saved, answer == 1);
        EXPECT_EQ(bytesOf(path), answer ? QByteArray("new\r\n") : QByteArray("old\r\n"));
    }
    EXPECT_EQ(checks.records.back().text, u"上書きしますか？(Y/N)"_qs);
    EXPECT_EQ(checks.records.back().caption, path);
    EXPECT_EQ(chooserFolder, folder.path() + u'/');
}

TEST_F(SaveFixture, PercentSignsAndCodePageTextAreWrittenAsTheyStand) {
    chooser.paths = {folder.file(u"p.acmd"_qs)};
    const SaveOutcome out = saveProgramAs(request({u"$p=\"100%d%s\""_qs, u"題:ねこ"_qs}));
    ASSERT_TRUE(out.saved);
    EXPECT_EQ(out.encoding, TextEncoding::Cp932);
    EXPECT_EQ(bytesOf(out.path), QByteArray("$p=\"100%d%s\"\r\n\x91\xe8:\x82\xcb\x82\xb1\r\n"));
    EXPECT_TRUE(checks.records.empty());
}

TEST_F(SaveFixture, CharactersWithoutACodePageFormAreSavedAsUtf8AndTheUserIsTold) {
    chooser.paths = {folder.file(u"u.acmd"_qs)};
    const SaveOutcome out = saveProgramAs(request({u"題:\"☃ 🎨\""_qs}));
    ASSERT_TRUE(out.saved);
    EXPECT_EQ(out.encoding, TextEncoding::Utf8Bom);
    EXPECT_EQ(bytesOf(out.path), QByteArray("\xEF\xBB\xBF") + u"題:\"☃ 🎨\"\r\n"_qs.toUtf8());
    ASSERT_EQ(checks.records.size(), 1u);
    EXPECT_TRUE(checks.records[0].text.contains(u"UTF-8"_qs));
}

TEST_F(SaveFixture, OverwriteWritesTheShownFileOnlyWhenChanged) {
    const QString path = folder.write(u"w.acmd"_qs, "old\r\n");
    SaveRequest r = request({u"new"_qs});
    r.shownPath = path;
    r.changed = false;
    EXPECT_FALSE(overwriteProgram(r).saved);
    EXPECT_EQ(bytesOf(path), QByteArray("old\r\n"));

    r.shownPath = folder.file(u"gone.acmd"_qs);
    EXPECT_FALSE(overwriteProgram(r).saved) << "unchanged text: nothing, even for a missing file";
    EXPECT_TRUE(chooser.pathRequests.empty());

    r.shownPath = path;
    r.changed = true;
    EXPECT_TRUE(overwriteProgram(r).saved);
    EXPECT_EQ(bytesOf(path), QByteArray("new\r\n"));
    EXPECT_TRUE(chooser.pathRequests.empty());

    // A fetched program is saved as a local file.
    r.shownPath = u"http://example.invalid/works/a.acmd"_qs;
    chooser.paths = {folder.file(u"local"_qs)};
    const SaveOutcome out = overwriteProgram(r);
    EXPECT_TRUE(out.saved);
    EXPECT_EQ(out.path, folder.file(u"local.acmd"_qs));
    ASSERT_EQ(chooser.pathRequests.size(), 1u);
    EXPECT_TRUE(chooser.pathRequests[0].shownFirst.isEmpty());
}

TEST_F(SaveFixture, AskToSaveOnlyForChangedText) {
    EXPECT_FALSE(askToSave(false));
    EXPECT_TRUE(checks.records.empty());
    checks.answers = {1, 0};
    EXPECT_TRUE(askToSave(true));
    EXPECT_FALSE(askToSave(true));
    EXPECT_EQ(checks.records[0].text, u"ヴィモラ「acmd」ファイルを保存しますか？(Y/N)"_qs);
    EXPECT_EQ(checks.records[0].caption, u"「acmd」ファイルの保存"_qs);
    EXPECT_EQ(checks.records[0].style, 1);
}

TEST(AcmdExtension, OnlyTheFileNameCounts) {
    struct Case {
        const char* path;
        int result;
        const char* after;
    };
    const Case cases[] = {
        {"/a/b/test", 1, "/a/b/test.acmd"},          {"/a.b/test", 1, "/a.b/test.acmd"},
        {"C:\\x.y\\test", 1, "C:\\x.y\\test.acmd"}, {"/a/t.txt", 2, "/a/t.acmd"},
        {"/a/t.Acmd", 0, "/a/t.Acmd"},               {"/a/t.tar.gz", 2, "/a/t.tar.acmd"},
        {"/a/.hidden", 1, "/a/.hidden.acmd"},
    };
    for (const Case& c : cases) {
        QString path = QString::fromUtf8(c.path);
        EXPECT_EQ(acmdExtension(path), c.result) << c.path;
        EXPECT_EQ(path, QString::fromUtf8(c.after)) << c.path;
    }
}

} // namespace
