#include "CatalogFixture.h"
#include "LoopbackHttpServer.h"
#include "gallery/Catalog.h"
#include "script/kestoBasInfo.h"

#include <gtest/gtest.h>

namespace {

// A home folder with a remote source first and a local one after it; the remote source's files
// are served by a loopback server.
class RemoteCatalog : public ::testing::Test {
protected:
    void SetUp() override {
        home = folder.path() + u'/';
        folder.write("url.txt", catalogBytes({u"網,"_qs + server.url("/art"), u"館,local"_qs}));
        folder.write("group.txt", catalogBytes({u"g,g"_qs}));
        folder.write("g/anime.txt", catalogBytes({u"w,w.acmd"_qs}));
        catalog.readSources();
        remote = catalog.sources()[0].get();
    }
    void serveText(const char* path, const QStringList& lines) { server.serve(path, catalogBytes(lines)); }
    QStringList captions() const {
        QStringList out;
        for (const auto& r : sink.records) out.append(r.caption);
        return out;
    }

    LoopbackHttpServer server;
    TempFolder folder;
    QString home;
    Catalog catalog{folder.path() + u'/'};
    acmdURLinfo* remote = nullptr;
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
};

} // namespace

TEST_F(RemoteCatalog, AFetchInsertsGroupsAndWorksAfterTheSourceRow) {
    serveText("/art/group.txt", {u"s1,遠い集,1"_qs, u"two fields only,x"_qs, u"s2,次の集,0"_qs});
    serveText("/art/s1/anime.txt", {u"遠一,r1.acmd"_qs, u"遠二,r2.acmd,0"_qs, u"終わり"_qs, u"後,after.acmd"_qs});
    serveText("/art/s2/anime.txt", {u"遠三,r3.acmd,"_qs});
    ASSERT_EQ(catalog.rowCount(), 1 + 3);
    EXPECT_EQ(catalog.rowToEntry(1).source, catalog.sources()[1].get());

    std::vector<bool> panel;
    catalog.setSearchPanel([&](bool shown) { panel.push_back(shown); });
    EXPECT_EQ(catalog.fetchSourceGroups(remote), 2 + 3);
    EXPECT_EQ(panel, (std::vector<bool>{true, false}));
    EXPECT_TRUE(sink.records.empty()) << (sink.records.empty() ? std::string() : (sink.records[0].caption + u": "_qs + sink.records[0].text).toStdString());
    ASSERT_EQ(remote->groups.size(), 2u);
    EXPECT_EQ(remote->groupCount, 2);
    const acmdGroupInfo& s1 = *remote->groups[0];
    EXPECT_EQ(s1.folder, u"s1/"_qs);
    EXPECT_EQ(s1.tourFlag, 1);
    EXPECT_EQ(remote->groups[1]->folder, u"s2/"_qs);
    EXPECT_EQ(remote->groups[1]->tourFlag, 0);
    // a line without a file name ends a fetched work list
    ASSERT_EQ(s1.works.size(), 2u);
    EXPECT_EQ(s1.works[1]->showFlag, 0);
    EXPECT_EQ(remote->groups[1]->works[0]->showFlag, 1);

    ASSERT_EQ(catalog.rowCount(), 4 + 5);
    EXPECT_EQ(catalog.rowToEntry(4), (CatalogEntry{remote, remote->groups[1].get(), nullptr}));
    EXPECT_EQ(catalog.rowToEntry(6).source, catalog.sources()[1].get());
    EXPECT_EQ(catalog.entryToRow(catalog.sources()[1].get(), nullptr, nullptr), 6);
    EXPECT_EQ(Catalog::workPath(*remote, s1, *s1.works[0]), server.url("/art/s1/r1.acmd"));
    const WorkLocation at = Catalog::locateWork(*remote, s1, *s1.works[0]);
    EXPECT_TRUE(at.remote);
    EXPECT_EQ(at.path(), server.url("/art/s1/r1.acmd"));

    s1.works[0]->fetchedBytes = 321;
    EXPECT_EQ(Catalog::fetchedText(*remote, s1, *s1.works[0]), server.url("/art/s1/r1.acmd") + u" ( 321 byte)"_qs);
    // a source that has its groups is not fetched again
    EXPECT_EQ(catalog.fetchSourceGroups(remote), 0);
    EXPECT_EQ(server.requests().size(), 3u);
}

TEST_F(RemoteCatalog, AMissingGroupFileStrikesTheSourceUntilAFetchReadsGroups) {
    EXPECT_EQ(catalog.fetchSourceGroups(remote), 0);
    EXPECT_EQ(remote->groupCount, -1);
    EXPECT_EQ(catalog.rowCount(), 4);
    ASSERT_FALSE(sink.records.empty());
    EXPECT_EQ(sink.records.back().text, u"「 "_qs + server.url("/art/group.txt") + u" 」が見つかりません！"_qs);
    EXPECT_EQ(sink.records.back().caption, u"グループ情報ファイルの確認"_qs);

    // fetched again when reached again; an answer without a usable group keeps the strike-through
    serveText("/art/group.txt", {u"only,two"_qs});
    EXPECT_EQ(catalog.fetchSourceGroups(remote), 0);
    EXPECT_EQ(remote->groupCount, -1);

    serveText("/art/group.txt", {u"s1,集,1"_qs});
    serveText("/art/s1/anime.txt", {u"w,w.acmd"_qs});
    EXPECT_EQ(catalog.fetchSourceGroups(remote), 2);
    EXPECT_EQ(remote->groupCount, 1);
}

TEST_F(RemoteCatalog, AMissingWorkListIsReportedAndTheGalleryGoesOn) {
    ScopedExitThrows exits; // ending the program here would throw
    serveText("/art/group.txt", {u"gone,消えた集,1"_qs, u"s1,集,1"_qs});
    serveText("/art/s1/anime.txt", {u"w,w.acmd"_qs});
    EXPECT_EQ(catalog.fetchSourceGroups(remote), 2 + 1);
    ASSERT_EQ(remote->groups.size(), 2u);
    EXPECT_TRUE(remote->groups[0]->works.empty());
    EXPECT_EQ(remote->groups[1]->works.size(), 1u);
    EXPECT_TRUE(captions().contains(u"作品一覧情報ファイルの確認"_qs));
    EXPECT_EQ(sink.records.back().text, u"「 "_qs + server.url("/art/gone/anime.txt") + u" 」が見つかりません！"_qs);
}

TEST_F(RemoteCatalog, ARecordThatCannotBeAllocatedEndsTheProgramWithItsSite) {
    serveText("/art/group.txt", {u"s1,遠い集,1"_qs});
    serveText("/art/s1/anime.txt", {u"遠一,r1.acmd"_qs});
    const std::set<int> remoteSites{115, 116, 117, 119};
    for (const int site : remoteSites) {
        sink.records.clear();
        ScopedExitThrows exits;
        ScopedAllocationFailure failing(site);
        remote->groups.clear();
        EXPECT_THROW(catalog.fetchSourceGroups(remote), ProgramEnded) << site;
        ASSERT_EQ(sink.records.size(), 1u) << site;
        EXPECT_EQ(sink.records[0].text, memoryErrorText(site));
    }
}

TEST_F(RemoteCatalog, GarbageAnswersGiveNoGroupsAndNoHarm) {
    // an error page, then bytes that are no catalog at all (invalid code page 932, NULs, one
    // endless line without a separator)
    server.serveRaw("/art/group.txt", {"HTTP/1.1 500 Internal Server Error\r\nContent-Length: 5\r\n\r\n", {"a,b,c"}, 0, false});
    EXPECT_EQ(catalog.fetchSourceGroups(remote), 0);
    EXPECT_EQ(remote->groupCount, -1);
    EXPECT_TRUE(captions().contains(u"グループ情報ファイルの確認"_qs));

    QByteArray garbage("\x81\x00\xFF\xFE,\x82\n");
    garbage += QByteArray(200000, 'x');
    server.serve("/art/group.txt", garbage);
    EXPECT_EQ(catalog.fetchSourceGroups(remote), 0);
    EXPECT_TRUE(remote->groups.empty());
    EXPECT_EQ(catalog.rowCount(), 4);
}

TEST_F(RemoteCatalog, AnOversizedCatalogIsCutAndReportedOnce) {
    QStringList groups;
    for (int i = 0; i <= Catalog::kMaxRemoteGroups; ++i) groups.append(u"g,集,1"_qs);
    serveText("/art/group.txt", groups);
    serveText("/art/g/anime.txt", {u"w,w.acmd"_qs});
    EXPECT_EQ(catalog.fetchSourceGroups(remote), 2 * Catalog::kMaxRemoteGroups);
    EXPECT_EQ(remote->groupCount, Catalog::kMaxRemoteGroups);
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].caption, u"グループ情報ファイルの確認"_qs);
}

TEST_F(RemoteCatalog, AnOversizedWorkListIsCut) {
    serveText("/art/group.txt", {u"g,集,1"_qs});
    QStringList works;
    for (int i = 0; i < Catalog::kMaxRemoteWorks + 5; ++i) works.append(u"w,w.acmd"_qs);
    serveText("/art/g/anime.txt", works);
    EXPECT_EQ(catalog.fetchSourceGroups(remote), 1 + Catalog::kMaxRemoteWorks);
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].caption, u"作品一覧情報ファイルの確認"_qs);
}

TEST_F(RemoteCatalog, AWorkIsLoadedFromItsFolderOrFetched) {
    serveText("/art/group.txt", {u"s1,遠い集,1"_qs});
    serveText("/art/s1/anime.txt", {u"遠一,r1.acmd"_qs, u"消えた,gone.acmd"_qs});
    const QByteArray program = catalogBytes({u"' 遠くの作品"_qs, u"$a=1"_qs, u"$b=2"_qs});
    server.serve("/art/s1/r1.acmd", program);
    catalog.fetchSourceGroups(remote);
    folder.write("g/w.acmd", catalogBytes({u"$a=1"_qs}));

    QString workFolder = u"before"_qs;
    kestoBasInfo local;
    ASSERT_TRUE(Catalog::loadWork(catalog.rowToEntry(6), local, workFolder)); // the local source's work
    EXPECT_EQ(workFolder, home + u"g/"_qs);
    EXPECT_EQ(local.programPath, home + u"g/w.acmd"_qs);

    acmdFileInfo* far = remote->groups[0]->works[0].get();
    kestoBasInfo fetched;
    ASSERT_TRUE(Catalog::loadWork({remote, remote->groups[0].get(), far}, fetched, workFolder));
    EXPECT_EQ(workFolder, home + u"g/"_qs); // a fetched work leaves the local folder alone
    EXPECT_EQ(far->fetchedBytes, program.size());
    EXPECT_EQ(fetched.programFolder, server.url("/art/s1/"));
    EXPECT_EQ(fetched.programLines.size(), 3);

    acmdFileInfo* gone = remote->groups[0]->works[1].get();
    EXPECT_FALSE(Catalog::loadWork({remote, remote->groups[0].get(), gone}, fetched, workFolder));
    EXPECT_EQ(gone->fetchedBytes, -1);
    EXPECT_FALSE(Catalog::loadWork({remote, remote->groups[0].get(), nullptr}, fetched, workFolder));
}
