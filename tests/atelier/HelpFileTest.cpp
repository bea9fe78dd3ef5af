#include "script/QStringPrinter.h"
#include "TestSupport.h"
#include "atelier/HelpFile.h"
#include "common/TextCodec.h"

#include <gtest/gtest.h>

namespace {

TEST(HelpFileTest, PathsFollowTheMode) {
    EXPECT_EQ(helpFilePath(u"/home/v"_qs, HelpBrief), u"/home/v/atelier/help_hot.txt"_qs);
    EXPECT_EQ(helpFilePath(u"/home/v/"_qs, HelpFull), u"/home/v/atelier/help.txt"_qs);
    EXPECT_EQ(helpFilePath(u"/home/v/"_qs, HelpUniverse), u"/home/v/atelier/nebuhelp.txt"_qs);
}

TEST(HelpFileTest, HeaderRunsToTheFirstShortLine) {
    const QString longLine(600, u'x');
    const QString exact(kHelpPiece, u'y');
    const struct {
        const char* name;
        QString text;
        QStringList header;
        QString body;
    } cases[] = {
        {"header and body", u"Title\r\nSub\r\n\r\nbody 1\r\nbody 2\r\n"_qs, {u"Title"_qs, u"Sub"_qs}, u"body 1\nbody 2\n"_qs},
        {"a first empty line: no header", u"\r\nall\r\nbody\r\n"_qs, {}, u"all\nbody\n"_qs},
        {"a one-character line ends it too", u"Title\r\nx\r\nbody\r\n"_qs, {u"Title"_qs}, u"body\n"_qs},
        {"only header lines", u"One\r\nTwo\r\n"_qs, {u"One"_qs, u"Two"_qs}, QString()},
        {"no final line end", u"One\r\nTwo"_qs, {u"One"_qs, u"Two"_qs}, QString()},
        {"a long header line becomes two", longLine + u"\r\n\r\nb\r\n"_qs,
         {QString(kHelpPiece, u'x'), QString(600 - kHelpPiece, u'x')}, u"b\n"_qs},
        {"the tail of a cut line ends nothing", exact + u"z\r\nmore\r\n\r\nb"_qs, {exact, u"z"_qs, u"more"_qs}, u"b"_qs},
        {"a long body line stays whole", u"T1\r\n\r\n"_qs + longLine + u"\r\n"_qs, {u"T1"_qs}, longLine + u"\n"_qs},
    };
    for (const auto& c : cases) {
        const HelpText help = splitHelpText(c.text);
        EXPECT_EQ(help.header, c.header) << c.name;
        EXPECT_EQ(help.body, c.body) << c.name;
    }
}

TEST(HelpFileTest, FilesAreReadAsCodePage932AndFaultsAreTold) {
    TempFolder folder;
    const QString path = folder.write(u"h.txt"_qs, encodeCp932(u"ヘルプ\r\n\r\n本文です\r\n"_qs));
    const HelpText help = readHelpText(path);
    EXPECT_EQ(help.status, HelpText::Shown);
    EXPECT_EQ(help.header, QStringList{u"ヘルプ"_qs});
    EXPECT_EQ(help.body, u"本文です\n"_qs);
    EXPECT_EQ(readHelpText(folder.file(u"none.txt"_qs)).status, HelpText::Missing);
    EXPECT_EQ(readHelpText(folder.write(u"empty.txt"_qs, {})).status, HelpText::Empty);
    EXPECT_EQ(readHelpText(folder.path()).status, HelpText::Unreadable) << "a folder is no file";
}

TEST(HelpFileTest, TheBundledHelpFilesHaveAHeaderAndABody) {
    const QString home = qEnvironmentVariable("VIMORA_HOME");
    if (home.isEmpty()) GTEST_SKIP() << "VIMORA_HOME not set";
    for (const int mode : {HelpBrief, HelpFull, HelpUniverse}) {
        const HelpText help = readHelpText(helpFilePath(home, mode));
        EXPECT_EQ(help.status, HelpText::Shown) << mode;
        EXPECT_GE(help.header.size(), 2) << mode;
        EXPECT_GT(help.body.count(u'\n'), 10) << mode;
        EXPECT_FALSE(help.body.contains(QChar::ReplacementCharacter)) << mode;
    }
}

} // namespace
