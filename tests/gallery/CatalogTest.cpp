#include "CatalogFixture.h"
#include "characters/CharacterKinds.h"
#include "common/TextFile.h"
#include "gallery/Catalog.h"
#include "script/kestoBasInfo.h"
#include "anime/AnimeEngine.h"

#include <gtest/gtest.h>
#include <random>

namespace {

class LocalCatalog : public ::testing::Test {
protected:
    void SetUp() override { home = writeTwoSourceHome(folder); }
    TempFolder folder;
    QString home;
};

} // namespace

TEST_F(LocalCatalog, RowsAreNumberedInPreorder) {
    Catalog catalog(home);
    catalog.readSources();
    ASSERT_EQ(catalog.rowCount(), 2 + 4 + 12);
    const auto& s = catalog.sources();
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(catalog.current, (CatalogEntry{s[0].get(), nullptr, nullptr}));
    const struct {
        int row;
        int source, group, work; // -1: none
    } rows[] = {
        {0, 0, -1, -1}, {1, 0, 0, -1}, {2, 0, 0, 0}, {4, 0, 0, 2}, {5, 0, 1, -1},
        {8, 0, 1, 2},   {9, 1, -1, -1}, {10, 1, 0, -1}, {17, 1, 1, 2},
    };
    for (const auto& r : rows) {
        acmdURLinfo* source = s[r.source].get();
        acmdGroupInfo* group = r.group < 0 ? nullptr : source->groups[r.group].get();
        acmdFileInfo* work = r.work < 0 ? nullptr : group->works[r.work].get();
        EXPECT_EQ(catalog.rowToEntry(r.row), (CatalogEntry{source, group, work})) << r.row;
        EXPECT_EQ(catalog.entryToRow(source, group, work), r.row) << r.row;
    }
    EXPECT_EQ(catalog.rowToEntry(18), CatalogEntry{});
    EXPECT_EQ(catalog.rowToEntry(-1), CatalogEntry{});
    // a group of another source is not in the catalog under this one
    EXPECT_EQ(catalog.entryToRow(s[0].get(), s[1]->groups[0].get()), -1);
    EXPECT_EQ(catalog.entryToRow(nullptr), -1);
}

TEST_F(LocalCatalog, RecordsCarryTheirFields) {
    Catalog catalog(home);
    catalog.readSources();
    const acmdURLinfo& main = *catalog.sources()[0];
    const acmdURLinfo& more = *catalog.sources()[1];
    EXPECT_EQ(main.name, u"館"_qs);
    EXPECT_EQ(main.location, home);
    EXPECT_EQ(more.location, home + u"more/sub/"_qs);
    EXPECT_FALSE(main.remote);
    EXPECT_EQ(main.groupCount, 2);
    const acmdGroupInfo& set2 = *main.groups[1];
    EXPECT_EQ(set2.folder, u"set2/"_qs); // "set2\" gets no second separator
    EXPECT_EQ(set2.title, u"第二集"_qs);
    EXPECT_EQ(set2.index, 1);
    EXPECT_EQ(set2.source, &main);
    EXPECT_FALSE(set2.hasNext());
    EXPECT_TRUE(main.groups[0]->hasNext());
    EXPECT_EQ(main.groups[0]->tourFlag, 1); // no third field
    EXPECT_EQ(set2.tourFlag, 0);
    EXPECT_EQ(more.groups[1]->tourFlag, 0); // letters
    const auto& works = main.groups[0]->works;
    EXPECT_EQ(works[0]->showFlag, 1);
    EXPECT_EQ(works[1]->showFlag, 0);
    EXPECT_EQ(works[2]->showFlag, 1); // empty third field
    EXPECT_EQ(works[2]->index, 2);
    EXPECT_EQ(works[2]->fetchedBytes, -1);
    EXPECT_EQ(works[2]->group, main.groups[0].get());
    EXPECT_EQ(Catalog::workPath(main, set2, *set2.works[0]), home + u"set2/one.acmd"_qs);
    const WorkLocation at = Catalog::locateWork(more, *more.groups[0], *more.groups[0]->works[1]);
    EXPECT_EQ(at.folder, home + u"more/sub/a/"_qs);
    EXPECT_EQ(at.fileName, u"two.acmd"_qs);
    EXPECT_FALSE(at.remote);
}

TEST(CatalogFiles, LineRulesOfAnimeTxt) {
    TempFolder folder;
    const QString home = folder.path() + u'/';
    folder.write("url.txt", catalogBytes({u"館,local"_qs}));
    folder.write("group.txt", catalogBytes({u"g,集"_qs}));
    const QString longTitle = QString(120, u'長');
    // Raw bytes: the last line has no line end, and a long line must not become two records.
    folder.write("g/anime.txt",
                 encodeCp932(u"ab\r\n:x,c.acmd\r\n'x,c.acmd\r\n"_qs + longTitle +
                             u",long.acmd\r\nsolo\r\n空白 , spaced.acmd\r\n最後,last.acmd"_qs));
    Catalog catalog(home);
    catalog.readSources();
    const auto& works = catalog.sources()[0]->groups[0]->works;
    ASSERT_EQ(works.size(), 3u);
    EXPECT_EQ(works[0]->title, longTitle);
    EXPECT_EQ(works[0]->fileName, u"long.acmd"_qs);
    EXPECT_EQ(works[1]->title, u"空白"_qs);
    EXPECT_EQ(works[1]->fileName, u" spaced.acmd"_qs); // leading space kept: such a file is not found
    EXPECT_EQ(works[2]->title, u"最後"_qs);
    EXPECT_EQ(works[2]->fileName, u"last.acmd"_qs);
    EXPECT_EQ(catalog.rowCount(), 1 + 1 + 3);
}

TEST(CatalogFiles, ByteOrderMarkAndBareLineFeedsAreRead) {
    TempFolder folder;
    const QString home = folder.path() + u'/';
    folder.write("url.txt", QByteArray("\xEF\xBB\xBF") + u"館,local\n"_qs.toUtf8());
    folder.write("group.txt", QByteArray("g,g\n"));
    folder.write("g/anime.txt", QByteArray("w,w.acmd\n"));
    Catalog catalog(home);
    catalog.readSources();
    EXPECT_EQ(catalog.sources()[0]->name, u"館"_qs);
    EXPECT_EQ(catalog.rowCount(), 3);
}

TEST(CatalogFiles, AMissingLocalFileIsReportedAndEndsTheProgram) {
    const struct {
        const char* missing;
        const char16_t* caption;
        int site;
    } cases[] = {
        {"url.txt", u"ＵＲＬ情報ファイルの確認", 109},
        {"group.txt", u"グループ情報ファイルの確認", 111},
        {"g/anime.txt", u"作品一覧情報ファイルの確認", 113},
    };
    for (const auto& c : cases) {
        TempFolder folder;
        const QString home = folder.path() + u'/';
        const std::pair<const char*, QString> files[] = {
            {"url.txt", u"館,local"_qs}, {"group.txt", u"g,g"_qs}, {"g/anime.txt", u"w,w.acmd"_qs}};
        for (const auto& [name, line] : files)
            if (qstrcmp(name, c.missing) != 0) folder.write(name, catalogBytes({line}));
        RecordingCheckSink sink;
        ScopedCheckSink installed(&sink);
        ScopedExitThrows exits;
        Catalog catalog(home);
        EXPECT_THROW(catalog.readSources(), ProgramEnded) << c.missing;
        ASSERT_EQ(sink.records.size(), 2u) << c.missing;
        EXPECT_EQ(sink.records[0].text, u"「 "_qs + home + QString::fromLatin1(c.missing) + u" 」が見つかりません！"_qs);
        EXPECT_EQ(sink.records[0].caption, QString::fromUtf16(c.caption));
        EXPECT_EQ(sink.records[1].text,
                  QStringLiteral("メモリーエラーが発生しました！ ( %1 )　再起動してください。").arg(c.site));
    }
}

TEST(CatalogFiles, ARecordThatCannotBeAllocatedEndsTheProgramWithItsSite) {
    TempFolder folder;
    const QString home = folder.path() + u'/';
    folder.write("url.txt", catalogBytes({u"館,local"_qs}));
    folder.write("group.txt", catalogBytes({u"g,集"_qs}));
    folder.write("g/anime.txt", catalogBytes({u"作,w.acmd"_qs}));
    const std::set<int> localSites{101, 102, 103, 104, 105, 106, 108, 110, 112};
    {
        ScopedAllocationFailure none(0);
        Catalog catalog(home);
        catalog.readSources();
        EXPECT_EQ(catalog.rowCount(), 3);
        EXPECT_EQ(none.reached, localSites) << "every record and text of a local catalog is guarded";
    }
    for (const int site : localSites) {
        RecordingCheckSink sink;
        ScopedCheckSink installed(&sink);
        ScopedExitThrows exits;
        ScopedAllocationFailure failing(site);
        Catalog catalog(home);
        EXPECT_THROW(catalog.readSources(), ProgramEnded) << site;
        ASSERT_EQ(sink.records.size(), 1u) << site;
        EXPECT_EQ(sink.records[0].text, memoryErrorText(site));
        EXPECT_EQ(sink.records[0].caption, u"ヴィモラアート"_qs);
    }
}

TEST(CatalogFiles, LocationForms) {
    const QString home = u"/home/u/vimora/"_qs;
    const struct {
        const char16_t* field;
        const char16_t* location;
    } cases[] = {
        {u"local", u"/home/u/vimora/"},
        {u"LOCAL", u"/home/u/vimora/"},
        {u"art\\set1", u"/home/u/vimora/art/set1/"},
        {u"art/set1/", u"/home/u/vimora/art/set1/"},
        {u"D:\\art", u"D:/art/"},
        {u"/srv/art", u"/srv/art/"},
        {u"http://example.org/art", u"http://example.org/art/"},
        {u"HTTP://example.org/art/", u"HTTP://example.org/art/"},
        {u"https://example.org/art", u"https://example.org/art/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Catalog::sourceLocation(QString::fromUtf16(c.field), home), QString::fromUtf16(c.location))
            << QString::fromUtf16(c.field).toStdString();
}

TEST(CatalogFiles, RemoteSourcesWaitForTheirFetch) {
    TempFolder folder;
    const QString home = folder.path() + u'/';
    folder.write("url.txt", catalogBytes({u"網,https://127.0.0.1:1/art"_qs, u"館,local"_qs, u"名前だけ"_qs}));
    folder.write("group.txt", catalogBytes({u"g,g"_qs}));
    folder.write("g/anime.txt", catalogBytes({u"w,w.acmd"_qs}));
    Catalog catalog(home);
    catalog.readSources();
    ASSERT_EQ(catalog.sources().size(), 2u); // a line without a location is no source
    EXPECT_TRUE(catalog.sources()[0]->remote);
    EXPECT_EQ(catalog.sources()[0]->groupCount, 0);
    EXPECT_EQ(catalog.rowCount(), 1 + 3);
    EXPECT_EQ(catalog.rowToEntry(1).source, catalog.sources()[1].get());
    // a local source is never fetched
    EXPECT_EQ(catalog.fetchSourceGroups(catalog.sources()[1].get()), 0);
}

TEST(BundledHome, CatalogReadsAndEveryWorkFileExists) {
    if (qEnvironmentVariableIsEmpty("VIMORA_HOME")) GTEST_SKIP() << "VIMORA_HOME names no home folder";
    const QString home = qEnvironmentVariable("VIMORA_HOME") + u'/';
    RecordingCheckSink sink;
    ScopedCheckSink installed(&sink);
    ScopedExitThrows exits;
    Catalog catalog(home);
    ASSERT_NO_THROW(catalog.readSources());
    EXPECT_TRUE(sink.records.empty());
    ASSERT_EQ(catalog.sources().size(), 1u); // the http example is a comment
    const acmdURLinfo& source = *catalog.sources()[0];
    EXPECT_EQ(source.location, home);
    ASSERT_GE(source.groups.size(), 3u);
    bool someGroupLeftOutOfTheTour = false;
    int works = 0;
    for (const auto& group : source.groups) {
        someGroupLeftOutOfTheTour |= group->tourFlag == 0;
        EXPECT_FALSE(group->works.empty()) << group->title.toStdString();
        for (const auto& work : group->works) {
            ++works;
            QStringList lines;
            EXPECT_TRUE(readTextLines(Catalog::workPath(source, *group, *work), lines)) << work->fileName.toStdString();
            EXPECT_GT(lines.size(), 3) << work->fileName.toStdString();
        }
    }
    EXPECT_TRUE(someGroupLeftOutOfTheTour);
    // every work compiles and builds its animation without a message line; its theme is its title
    for (int row = 0; row < catalog.rowCount(); ++row) {
        const CatalogEntry e = catalog.rowToEntry(row);
        if (!e.work) continue;
        const std::string name = e.work->fileName.toStdString();
        QStringList messages;
        kestoBasInfo interpreter;
        AnimeEngine engine;
        registerCharacterKinds(engine.state); // bundled works play the game kinds too
        interpreter.setAnimationHook(&engine);
        interpreter.setMessageSink([&](const QString& line) { messages.append(line); });
        QString workFolder;
        EXPECT_TRUE(Catalog::loadWork(e, interpreter, workFolder)) << name;
        EXPECT_EQ(messages, QStringList()) << name;
        EXPECT_EQ(engine.state.log, QStringList()) << name;
        EXPECT_EQ(interpreter.status, 0) << name;
        EXPECT_GE(engine.state.characters.size(), 2u) << name;
        EXPECT_EQ(engine.state.theme.value_or(QString()), e.work->title) << name;
        // a Data file holds whole pairs of numbers: every value read is a coordinate, none a filler
        for (double v : interpreter.dataValues) EXPECT_GT(v, 0) << name;
    }
    EXPECT_TRUE(sink.records.empty());
    EXPECT_GE(works, 8);
    EXPECT_EQ(catalog.rowCount(), 1 + static_cast<int>(source.groups.size()) + works);
}

TEST(CatalogFiles, AHomeFolderWithoutSlashGetsOne) {
    TempFolder folder;
    folder.write("url.txt", catalogBytes({u"館,local"_qs}));
    folder.write("group.txt", catalogBytes({u"g,g"_qs}));
    folder.write("g/anime.txt", catalogBytes({u"w,w.acmd"_qs}));
    Catalog catalog(folder.path());
    catalog.readSources();
    EXPECT_EQ(catalog.homeFolder(), folder.path() + u'/');
    EXPECT_EQ(catalog.sources()[0]->location, folder.path() + u'/');
}

TEST(CatalogFiles, ArbitraryBytesNeverBreakTheReader) {
    // Bytes of every kind (NUL, broken double-byte pairs, lone CR) with many separators: the
    // reader either builds a consistent catalog or reports a missing file, never more.
    std::mt19937 random(20261210);
    int complete = 0;
    static const char kinds[] = "ab,;\t\r\n:'\\/ \x81\x82\x9f\xe0\xfc\x00";
    const QByteArray alphabet(kinds, sizeof kinds - 1); // with the embedded NUL, without the final one
    for (int round = 0; round < 40; ++round) {
        TempFolder folder;
        QByteArray bytes;
        for (int i = 0; i < 400; ++i) bytes += alphabet[static_cast<int>(random() % alphabet.size())];
        folder.write("url.txt", catalogBytes({u"館,local"_qs}));
        // odd rounds also feed the group list, whose random groups then mostly lack their work list
        folder.write("group.txt", encodeCp932(u"g,集\r\n"_qs) + (round % 2 ? bytes : QByteArray()));
        folder.write("g/anime.txt", bytes);
        RecordingCheckSink sink;
        ScopedCheckSink installed(&sink);
        ScopedExitThrows exits;
        Catalog catalog(folder.path());
        try {
            catalog.readSources();
        } catch (const ProgramEnded&) {
            ASSERT_FALSE(sink.records.empty()) << round;
            EXPECT_EQ(sink.records.front().caption, u"作品一覧情報ファイルの確認"_qs) << round;
            continue;
        }
        int rows = 0;
        for (const auto& source : catalog.sources()) {
            ++rows;
            for (const auto& group : source->groups) rows += 1 + static_cast<int>(group->works.size());
        }
        EXPECT_EQ(catalog.rowCount(), rows) << round;
        ++complete;
    }
    EXPECT_GE(complete, 20); // every even round reads through
}
