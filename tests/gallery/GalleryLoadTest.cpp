// What loading a work shows in the gallery besides the program: the work's own title on its plate,
// its chart button, the plate of a lone window, and the log line of a fetched work.
#include "TestSupport.h"
#include "CatalogFixture.h"
#include "LoopbackHttpServer.h"
#include "gallery/TfVimora.h"
#include "gallery/WorksGrid.h"
#include "work/KestoTitlePlate.h"
#include "work/TFormKesto.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// A work with a title of its own that asks for a chart while its first block is read.
const QStringList kTitledWork = {u"ANIME_SET:"_qs,
                                 u"theme:\"自前の題\""_qs,
                                 u"canvas:center,400,300"_qs,
                                 u"color:1,255,255,0"_qs,
                                 u"DotPtn:box,4,4,10,40,0,0,0,1,1,4,4"_qs,
                                 u"1111"_qs,
                                 u"1111"_qs,
                                 u"1111"_qs,
                                 u"1111"_qs,
                                 u"Acmd_Run:"_qs,
                                 u"metaChart:0,\"400,300,0,text:題の説明\""_qs,
                                 u"Acmd_End:"_qs,
                                 u"SET_END:"_qs,
                                 u"Wait:100"_qs};
// A work with neither.
const QStringList kPlainWork = {u"ANIME_SET:"_qs,
                                u"canvas:center,400,300"_qs,
                                u"color:1,255,255,0"_qs,
                                u"DotPtn:box,4,4,10,40,0,0,0,1,1,4,4"_qs,
                                u"1111"_qs,
                                u"1111"_qs,
                                u"1111"_qs,
                                u"1111"_qs,
                                u"SET_END:"_qs,
                                u"Wait:100"_qs};

// A work that declares another name and faults in its first program line (a remainder by zero).
const QStringList kFaultingWork = {u"ANIME_SET:"_qs,
                                   u"canvas:center,400,300"_qs,
                                   u"DotPtn:other,1,1,10,20,0,0,0,1,1"_qs,
                                   u"1"_qs,
                                   u"SET_END:"_qs,
                                   u"$b=1%0"_qs};

// A work that paints the gallery's wall.
const QStringList kWallWork = {u"ANIME_SET:"_qs, u"canvas:center,200,100"_qs, u"WallColor:10,200,30"_qs,
                               u"DotPtn:dot,1,1,10,20,0,0,0,1,1"_qs, u"1"_qs, u"SET_END:"_qs, u"Wait:1"_qs};

// A gallery on a home folder the test writes; the first work's load has happened.
class GalleryLoad : public ::testing::Test {
protected:
    // Writes the home with `sources` as its url.txt lines (the local one holds both works above)
    // and opens the gallery on it.
    void open(const QStringList& sources) {
        folder.write("url.txt", catalogBytes(sources));
        folder.write("group.txt", catalogBytes({u"g,手元の集"_qs}));
        folder.write("g/anime.txt", catalogBytes({u"題のある作品,titled.acmd"_qs, u"題のない作品,plain.acmd"_qs,
                                                  u"止まる作品,faulting.acmd"_qs, u"壁の作品,wall.acmd"_qs}));
        folder.write("g/wall.acmd", catalogBytes(kWallWork));
        folder.write("g/titled.acmd", catalogBytes(kTitledWork));
        folder.write("g/plain.acmd", catalogBytes(kPlainWork));
        folder.write("g/faulting.acmd", catalogBytes(kFaultingWork));
        GallerySettings settings;
        settings.homeFolder = folder.path() + u'/';
        gallery = std::make_unique<TfVimora>(settings, nullptr,
                                             PaletteLog::Clock{[this] { return wall; }, [] { return qint64(0); }});
        gallery->show();
        ASSERT_TRUE(waitFor([&] { return loaded(); }));
    }
    bool loaded() {
        return gallery->state().pendingRow() < 0 && !gallery->workWindow().runner().interpreter().statements.empty();
    }
    template <typename Done>
    bool waitFor(Done done, int ms = 10000) {
        return pumpUntil(done, ms);
    }
    // Shows the work of `row` and waits for its load.
    void show(int row) {
        gallery->state().showRow(row);
        gallery->timerUpDown().start();
        ASSERT_TRUE(waitFor([&] { return gallery->state().pendingRow() < 0; }));
    }
    int rowOf(const QString& title) {
        Catalog& catalog = gallery->state().catalog();
        for (int row = 0; row < catalog.rowCount(); ++row)
            if (const CatalogEntry e = catalog.rowToEntry(row); e.work && e.work->title == title) return row;
        return -1;
    }
    QString stamp() const { return PaletteLog::stamp(wall); }

    QDateTime wall{QDate(2026, 3, 7), QTime(9, 5, 4)};
    TempFolder folder;
    RecordingCheckSink messages;
    ScopedCheckSink installed{&messages};
    std::unique_ptr<TfVimora> gallery;
};

} // namespace

TEST_F(GalleryLoad, ThePlateShowsTheWorksOwnTitleAndItsChartButton) {
    open({u"館,local"_qs});
    TFormKesto& window = gallery->workWindow();
    KestoTitlePlate* plate = window.titlePlate();
    EXPECT_EQ(window.windowTitle(), u"題のある作品"_qs) << "the caption is the catalog's title";
    EXPECT_EQ(gallery->palette().theme(), u"題のある作品"_qs);
    EXPECT_EQ(plate->text(), u"自前の題"_qs) << "the plate shows the program's own title";
    // The chart set while the block was read: its button shows the text kind's symbol.
    ASSERT_TRUE(window.runner().chart());
    EXPECT_TRUE(plate->chartButton()->isVisible());
    EXPECT_EQ(plate->chartButton()->text(), u"■"_qs);
    EXPECT_TRUE(messages.records.empty());
    // The lone window's plate: 16 pixels per character, and room for its chart button.
    EXPECT_EQ(plate->width(), 16 * 4 + plate->buttonsWidth());

    show(rowOf(u"題のない作品"_qs));
    EXPECT_EQ(window.windowTitle(), u"題のない作品"_qs);
    EXPECT_EQ(plate->text(), u"題のない作品"_qs) << "no title of its own: the caption, not the last work's title";
    EXPECT_FALSE(window.runner().chart());
    EXPECT_FALSE(plate->chartButton()->isVisible()) << "the last work's chart button does not stay";
    EXPECT_EQ(plate->width(), 16 * 6);
    EXPECT_TRUE(messages.records.empty()) << messages.records.front().text.toStdString();
}

TEST_F(GalleryLoad, AFetchedWorkIsLoggedWithItsAddressAndByteCount) {
    LoopbackHttpServer server;
    server.serve("/art/group.txt", catalogBytes({u"s1,遠い集,1"_qs}));
    server.serve("/art/s1/anime.txt", catalogBytes({u"遠一,r1.acmd"_qs}));
    const QByteArray program = catalogBytes(kPlainWork);
    server.serve("/art/s1/r1.acmd", program);
    open({u"網,"_qs + server.url("/art"), u"館,local"_qs});

    TFormKesto& window = gallery->workWindow();
    EXPECT_EQ(window.windowTitle(), u"遠一"_qs);
    const QString loadedLine =
        stamp() + u": "_qs + server.url("/art/s1/r1.acmd") + u" ( %1 byte) の読込."_qs.arg(program.size());
    const QStringList lines = gallery->palette().logLines();
    const qsizetype at = lines.indexOf(loadedLine);
    ASSERT_GE(at, 0) << lines.join(u'\n').toStdString();
    EXPECT_EQ(lines.value(at + 1), stamp() + u":「遠一」の展示."_qs) << "the load comes before the show";
    EXPECT_EQ(gallery->state().catalog().rowToEntry(gallery->state().currentRow()).work->fetchedBytes, program.size());

    // A work of a folder writes no such line.
    show(rowOf(u"題のない作品"_qs));
    EXPECT_EQ(gallery->palette().logLines().filter(u"の読込."_qs).size(), 1);
}

TEST_F(GalleryLoad, AWorkLoadedAfterAFaultedOneStartsAfresh) {
    open({u"館,local"_qs});
    show(rowOf(u"止まる作品"_qs));
    WorkRunner& runner = gallery->workWindow().runner();
    runner.runProgram();
    ASSERT_TRUE(waitFor([&] { return runner.lastRunEnd() == WorkRunner::RunEnd::Fault; }));
    ASSERT_NE(runner.interpreter().status, 0);
    ASSERT_TRUE(runner.interpreter().names().contains(u"other"_qs));
    messages.records.clear();

    show(rowOf(u"題のない作品"_qs));
    EXPECT_EQ(runner.interpreter().status, 0) << "the last work's fault does not stay";
    EXPECT_EQ(runner.interpreter().names(), QStringList{u"box"_qs}) << "nor the names it declared";
    ASSERT_EQ(runner.animation().characters.size(), 1u);
    EXPECT_EQ(gallery->palette().commandLine(), u" Kesto Basic"_qs);
    runner.runProgram();
    EXPECT_TRUE(runner.running()) << "the new work runs";
    EXPECT_TRUE(messages.records.empty()) << messages.records.front().text.toStdString();
}

TEST_F(GalleryLoad, AWorksWallColorPaintsTheGallerysWall) {
    open({u"館,local"_qs});
    const auto wallAt = [&] {
        QCoreApplication::processEvents();
        return gallery->grab().toImage().pixelColor(3, gallery->height() - 3);
    };
    EXPECT_NE(wallAt(), QColor(10, 200, 30));
    show(rowOf(u"壁の作品"_qs));
    ASSERT_EQ(gallery->workWindow().windowTitle(), u"壁の作品"_qs);
    EXPECT_EQ(wallAt(), QColor(10, 200, 30));
}

TEST_F(GalleryLoad, ARemoteSourceThatFailedIsFetchedAgainWhenReached) {
    LoopbackHttpServer server; // group.txt is missing at first
    open({u"網,"_qs + server.url("/art"), u"館,local"_qs});
    const auto notFound = [&] {
        int count = 0;
        for (const RecordingCheckSink::Record& r : messages.records) count += r.caption == u"グループ情報ファイルの確認"_qs;
        return count;
    };
    EXPECT_EQ(notFound(), 1);
    const acmdURLinfo* remote = gallery->state().catalog().firstSource();
    ASSERT_TRUE(remote->remote);
    EXPECT_EQ(remote->groupCount, -1);

    // The visitor clicks the struck row again while the server still has no list: one more try.
    WorksGrid& grid = gallery->worksGrid();
    const auto clickRow = [&](int row) {
        ASSERT_FALSE(grid.rowRect(row).isEmpty()) << row;
        const QPointF at = grid.rowRect(row).center();
        QMouseEvent up(QEvent::MouseButtonRelease, at, grid.mapToGlobal(at), Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&grid, &up);
    };
    clickRow(0);
    ASSERT_TRUE(waitFor([&] { return gallery->state().pendingRow() < 0; }));
    EXPECT_EQ(notFound(), 2) << "one message per attempt";

    server.serve("/art/group.txt", catalogBytes({u"s1,遠い集,1"_qs}));
    server.serve("/art/s1/anime.txt", catalogBytes({u"遠一,r1.acmd"_qs}));
    server.serve("/art/s1/r1.acmd", catalogBytes(kPlainWork));
    clickRow(gallery->state().catalog().entryToRow(gallery->state().catalog().firstSource()));
    ASSERT_TRUE(waitFor([&] { return gallery->state().pendingRow() < 0 && gallery->workWindow().windowTitle() == u"遠一"_qs; }));
    EXPECT_EQ(remote->groupCount, 1) << "the strike-through is lifted";
    EXPECT_EQ(notFound(), 2);
}
