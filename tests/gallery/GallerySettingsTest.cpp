#include "CatalogFixture.h"
#include "common/Settings.h"
#include "common/ShowCheck.h"
#include "gallery/GallerySettings.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

// Command-line words are global; each case sets its own and the fixture clears them afterwards.
class StartSettings : public ::testing::Test {
protected:
    void TearDown() override { setCommandLine({}); }
    TempFolder folder;
};

} // namespace

TEST_F(StartSettings, CommandLineWordsWinOverTheSettingsFile) {
    const QString prog = folder.path() + u"/bin/vimora.exe"_qs;
    const QString other = folder.path() + u"/other"_qs;
    folder.write("bin/vimora.env", catalogBytes({u"  ; comment"_qs, u"   "_qs, u"alldisp=2"_qs, u"wide"_qs}));
    folder.write("other/vimora.env", catalogBytes({u"wide=0"_qs, u"wide"_qs, u"alldisp=3  \t"_qs}));
    const struct {
        QStringList words;
        QString home;
        bool wide;
        int level;
    } cases[] = {
        {{}, folder.path() + u"/bin/"_qs, true, 2},
        {{u"wide=0"_qs}, folder.path() + u"/bin/"_qs, false, 2},
        {{u"ALLDISP=1"_qs}, folder.path() + u"/bin/"_qs, true, 1},
        {{u"alldisp=-4"_qs}, folder.path() + u"/bin/"_qs, true, 0},
        // another home folder brings its own settings file; wide=0 beats the bare word there
        {{u"home="_qs + other}, other + u'/', false, 3},
        {{u"home="_qs + other + u'/'}, other + u'/', false, 3},
        {{u"home="_qs + other + u"\\.\\"_qs}, other + u'/', false, 3},
        {{u"home="_qs + other, u"wide=1"_qs}, other + u'/', true, 3},
        // an empty home= is no home folder at all
        {{u"home="_qs}, folder.path() + u"/bin/"_qs, true, 2},
        // a relative home is the working directory's
        {{u"home=rel/art"_qs}, QDir::currentPath() + u"/rel/art/"_qs, false, 0},
    };
    for (const auto& c : cases) {
        setCommandLine(c.words);
        const GallerySettings s = GallerySettings::read(prog);
        const std::string label = c.words.join(u' ').toStdString();
        EXPECT_EQ(s.homeFolder, c.home) << label;
        EXPECT_EQ(s.chooserFolder, c.home) << label;
        EXPECT_EQ(s.workFolder, c.home) << label;
        EXPECT_EQ(s.startWide, c.wide) << label;
        EXPECT_EQ(s.autoModeLevel, c.level) << label;
    }
}

TEST_F(StartSettings, AHomeLineInTheSettingsFileMovesTheHome) {
    folder.write("vimora.env", catalogBytes({u"home=D:\\art"_qs}));
    setCommandLine({});
    const GallerySettings s = GallerySettings::read(folder.path() + u"/vimora"_qs);
    EXPECT_EQ(s.homeFolder, u"D:/art/"_qs);
    ASSERT_TRUE(s.settingsText.has_value());
    EXPECT_EQ(*s.settingsText, QStringList{u"home=D:\\art"_qs});
}

TEST_F(StartSettings, WithoutASettingsFileTheDefaultsHold) {
    setCommandLine({});
    const GallerySettings s = GallerySettings::read(u"/nowhere/vimora"_qs, folder.path());
    EXPECT_EQ(s.homeFolder, folder.path() + u'/');
    EXPECT_FALSE(s.settingsText.has_value());
    EXPECT_FALSE(s.startWide);
    EXPECT_EQ(s.autoModeLevel, 0);
    EXPECT_EQ(GallerySettings::read(u"vimora"_qs).homeFolder, QDir::currentPath() + u'/'); // a bare name: the working directory
    EXPECT_EQ(GallerySettings::read(u"C:\\art\\.\\vimora.exe"_qs).homeFolder, u"C:/art/"_qs);
}

TEST_F(StartSettings, SettingsLinesAreKeptWholeAndTrimmed) {
    const QString longLine = u"x="_qs + QString(400, u'字');
    const QString path = folder.write("a.env", encodeCp932(u"wide\r\n\r\n  \r\n"_qs + longLine + u"  \r\nlast"_qs));
    const std::optional<QStringList> lines = GallerySettings::readSettingsFile(path);
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(*lines, (QStringList{u"wide"_qs, longLine, u"last"_qs}));
    EXPECT_FALSE(GallerySettings::readSettingsFile(folder.file("missing.env")).has_value());
}

TEST_F(StartSettings, ASettingsFileThatCannotBeReadIsReported) {
    RecordingCheckSink sink;
    ScopedCheckSink installed(&sink);
    EXPECT_FALSE(GallerySettings::readSettingsFile(folder.file("missing.env")).has_value());
    EXPECT_TRUE(sink.records.empty()) << "no settings file is no fault";
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder.file("vimora.env")).constData(), 0600), 0);
    setCommandLine({});
    const GallerySettings s = GallerySettings::read(folder.path() + u"/vimora"_qs);
    EXPECT_FALSE(s.settingsText.has_value());
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, u"通常のファイルではありません！"_qs);
}

TEST_F(StartSettings, TheBundledSettingsFileStartsInOneDisplay) {
    if (qEnvironmentVariableIsEmpty("VIMORA_HOME")) GTEST_SKIP() << "VIMORA_HOME names no home folder";
    setCommandLine({u"home="_qs + qEnvironmentVariable("VIMORA_HOME")});
    const GallerySettings s = GallerySettings::read(u"/usr/bin/vimora"_qs);
    ASSERT_TRUE(s.settingsText.has_value());
    EXPECT_FALSE(s.startWide);
    EXPECT_EQ(s.autoModeLevel, 0);
}
