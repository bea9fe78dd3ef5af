#include "TestSupport.h"
#include "common/InstallPaths.h"
#include "common/ShowCheck.h"

#include <gtest/gtest.h>

TEST(InstallPaths, TheBundledHomeIsFoundInTheBuildTreeOrTheInstalledLayout) {
    // Each case lays out files under a fresh folder; the program sits in "prefix/bin".
    const struct {
        const char* name;
        QStringList files;
        const char* expected; // relative to the folder, "" for none
    } cases[] = {
        {"build tree", {u"prefix/bin/home/url.txt"_qs}, "prefix/bin/home/"},
        {"installed", {u"prefix/share/vimora/home/url.txt"_qs}, "prefix/share/vimora/home/"},
        {"both: the build tree wins", {u"prefix/bin/home/url.txt"_qs, u"prefix/share/vimora/home/url.txt"_qs},
         "prefix/bin/home/"},
        {"a home without its catalog is passed over", {u"prefix/bin/home/group.txt"_qs, u"prefix/share/vimora/home/url.txt"_qs},
         "prefix/share/vimora/home/"},
        {"a folder named url.txt is no catalog", {u"prefix/bin/home/url.txt/x"_qs}, ""},
        {"neither", {u"prefix/bin/vimora"_qs}, ""},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        for (const QString& file : c.files) folder.write(file, "館,local\r\n");
        const BundledHome lookup = findBundledHome(folder.file("prefix/bin"));
        const QString expected = *c.expected ? folder.file(QString::fromLatin1(c.expected)) : QString();
        EXPECT_EQ(lookup.folder, expected) << c.name;
        EXPECT_EQ(lookup.candidates, (QStringList{folder.file("prefix/bin/home"), folder.file("prefix/share/vimora/home")}))
            << c.name;
    }
    // An install with its own data folder names the relative path.
    TempFolder folder;
    folder.write("p/data/vimora/home/url.txt", "館,local\r\n");
    EXPECT_EQ(findBundledHome(folder.file("p/bin"), u"../data/vimora/home"_qs).folder, folder.file("p/data/vimora/home/"));
}

TEST(InstallPaths, AMissingHomeIsReportedWithTheFoldersLookedAt) {
    RecordingCheckSink sink;
    ScopedCheckSink installed(&sink);
    reportMissingHome({QString(), {u"/opt/v/bin/home"_qs, u"/opt/v/share/vimora/home"_qs}});
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, u"ホームフォルダが見つかりません！　home=フォルダ名 で指定してください。\n"
                                    u"探した場所：「 /opt/v/bin/home 」「 /opt/v/share/vimora/home 」"_qs);
    EXPECT_EQ(sink.records[0].caption, u"ヴィモラアート"_qs);
    EXPECT_EQ(sink.records[0].style, 0);
}
