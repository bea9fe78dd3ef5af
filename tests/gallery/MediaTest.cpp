// The gallery's media on the offscreen platform: the music player plays a generated WAV to its
// end through the platform's media backend, and the classroom page of the bundled home opens in
// the browser form with working links to its works.
#include "CatalogFixture.h"
#include "TestSupport.h"
#include "common/ShowCheck.h"
#include "gallery/Classroom.h"
#include "gallery/TFormCtrl.h"
#include "gallery/TFormMPlayer.h"
#include "gallery/TfVimora.h"
#include "work/KestoTitlePlate.h"
#include "work/TFormKesto.h"
#include "work/TFormWeb.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QtEndian>
#include <gtest/gtest.h>

#include <cmath>

namespace {

// A WAV of `seconds` of a 440 Hz tone, 8 kHz, 8-bit, mono.
QByteArray toneWav(double seconds) {
    const int rate = 8000, count = int(seconds * rate);
    QByteArray data(count, '\0');
    for (int i = 0; i < count; ++i) data[i] = char(128 + int(60 * std::sin(2 * M_PI * 440 * i / rate)));
    auto le32 = [](uint32_t v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); };
    auto le16 = [](uint16_t v) { return QByteArray(reinterpret_cast<const char*>(&v), 2); };
    return "RIFF" + le32(36 + count) + "WAVEfmt " + le32(16) + le16(1) + le16(1) + le32(rate) + le32(rate) + le16(1) +
           le16(8) + "data" + le32(count) + data;
}

TEST(MediaTest, TheMusicPlayerPlaysAGeneratedWavToItsEnd) {
    TempFolder folder;
    const QString path = folder.write("ton.wav", toneWav(0.6));
    TFormMPlayer player(nullptr);
    int ends = 0;
    player.onEnded = [&] { ++ends; };
    EXPECT_EQ(player.open(folder.path() + u"/nothing.wav"_qs), MusicPlayer::Opened::Missing);
    ASSERT_EQ(player.open(path), MusicPlayer::Opened::Ok);
    QElapsedTimer clock;
    clock.start();
    player.play();
    EXPECT_EQ(player.playButton()->text(), u"■"_qs);
    ASSERT_TRUE(pumpUntil([&] { return ends > 0; }, 20000)) << "no end of play";
    EXPECT_GE(clock.elapsed(), 400) << "the file was played, not skipped";
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(player.playButton()->text(), u"▶"_qs);
    // A stopped play tells no end.
    ASSERT_EQ(player.open(path), MusicPlayer::Opened::Ok);
    player.play();
    player.stop();
    player.close();
    pumpUntil([] { return false; }, 800);
    EXPECT_EQ(ends, 1);
}

TEST(MediaTest, TheClassroomOpensOnTheCourseAndItsLinksShowBundledWorks) {
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS")) qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox");
    RecordingCheckSink messages;
    ScopedCheckSink installed(&messages);
    TempFolder empty;
    QWidget owner;
    EXPECT_FALSE(openClassroom(&owner, empty.path() + u'/', {}));
    ASSERT_EQ(messages.records.size(), 1u) << "a missing page is told";
    messages.records.clear();

    const QString home = QDir(qEnvironmentVariable("VIMORA_HOME")).absolutePath() + u'/';
    QString shown;
    QPointer<TFormWeb> room = openClassroom(&owner, home, [&](const QString& path) { shown = path; });
    ASSERT_TRUE(room);
    EXPECT_EQ(room->width(), 1280);
    bool loaded = false;
    QObject::connect(room->browser(), &QWebEngineView::loadFinished, [&](bool ok) { loaded = ok; });
    ASSERT_TRUE(pumpUntil([&] { return loaded; }, 60000));
    // The page is read in its code page; every work it links to is there.
    QVariant answer;
    room->browser()->page()->runJavaScript(
        u"[document.title].concat(Array.from(document.querySelectorAll('a.work')).map(a => a.href))"_qs,
        [&](const QVariant& v) { answer = v; });
    ASSERT_TRUE(pumpUntil([&] { return answer.isValid(); }, 20000));
    const QStringList values = answer.toStringList();
    ASSERT_GE(values.size(), 5);
    EXPECT_EQ(values[0], u"ヴィモラアート教室"_qs);
    for (const QString& link : values.mid(1)) EXPECT_TRUE(QFileInfo::exists(QUrl(link).toLocalFile())) << link.toStdString();
    if (const QByteArray to = qgetenv("VIMORA_SHOT_DIR"); !to.isEmpty()) {
        pumpUntil([] { return false; }, 1500);
        room->grab().save(QString::fromLocal8Bit(to) + u"/classroom.png"_qs);
    }
    // Following a work's link shows that work and closes the classroom.
    ASSERT_TRUE(room->onLink);
    EXPECT_TRUE(room->onLink(QUrl(values[1])));
    EXPECT_EQ(QDir::cleanPath(shown), QDir::cleanPath(QUrl(values[1]).toLocalFile()));
    EXPECT_FALSE(room->onLink(QUrl(u"https://example.org/"_qs))) << "other links stay in the browser";
    pumpUntil([&] { return room.isNull(); }, 5000);
    EXPECT_TRUE(room.isNull()) << "freed when it closes";
    EXPECT_TRUE(messages.records.empty());
}

// A click on a label of the title plate, as the mouse makes it.
void click(QWidget* label) {
    const QPointF at(label->width() / 2.0, label->height() / 2.0);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(type, at, label->mapToGlobal(at), Qt::LeftButton,
                      type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(label, &e);
    }
}

TEST(MediaTest, AWorksMusicPlaysInTheGalleryAndStopsWhereTheGalleryMovesOn) {
    RecordingCheckSink messages;
    ScopedCheckSink installed(&messages);
    TempFolder home;
    const QStringList work = {u"ANIME_SET:"_qs, u"canvas:center,400,300"_qs, u"DotPtn:dot,1,1,10,20,0,0,0,1,1"_qs, u"1"_qs,
                              u"SET_END:"_qs};
    home.write("url.txt", catalogBytes({u"館,local"_qs}));
    home.write("group.txt", catalogBytes({u"g,音の集"_qs, u"h,次の集"_qs}));
    home.write("g/anime.txt", catalogBytes({u"音楽,music.acmd"_qs, u"無音,silent.acmd"_qs}));
    home.write("h/anime.txt", catalogBytes({u"次,music.acmd"_qs}));
    home.write("g/music.acmd", catalogBytes(work + QStringList{u"Music:3,\"ton.wav\""_qs, u"Wait:10000"_qs}));
    home.write("h/music.acmd", catalogBytes(work + QStringList{u"Wait:10000"_qs}));
    home.write("g/silent.acmd", catalogBytes(work + QStringList{u"Music:1,\"nothing.wav\""_qs, u"Wait:10000"_qs}));
    home.write("g/ton.wav", toneWav(1.5));
    GallerySettings settings;
    settings.homeFolder = home.path() + u'/';
    TfVimora gallery(settings);
    gallery.show();
    WorkRunner& runner = gallery.workWindow().runner();
    ASSERT_TRUE(pumpUntil([&] { return gallery.state().pendingRow() < 0 && !runner.interpreter().statements.empty(); }));
    musicInfo& music = gallery.palette().model().music;
    EXPECT_TRUE(music.fileName.isEmpty());

    runner.runProgram();
    ASSERT_TRUE(pumpUntil([&] { return music.playing(); }, 10000)) << "the palette's step starts the player";
    EXPECT_EQ(music.fullPath, settings.homeFolder + u"g/ton.wav"_qs);
    EXPECT_EQ(music.playsLeft, 2);
    KestoTitlePlate* plate = gallery.workWindow().titlePlate();
    EXPECT_TRUE(plate->musicButton()->isVisible());
    EXPECT_TRUE(gallery.palette().musicPlayer()->isVisible());
    click(plate->musicButton()); // "♪" stops a playing music
    EXPECT_FALSE(music.playing());
    click(plate->musicButton()); // and plays it again
    EXPECT_TRUE(music.playing());

    // Passing over "▲" stops it, with no play left.
    QEvent enter(QEvent::Enter);
    for (QPushButton* b : gallery.findChildren<QPushButton*>())
        if (b->text() == u"▲"_qs) QCoreApplication::sendEvent(b, &enter);
    EXPECT_FALSE(music.playing());
    EXPECT_EQ(music.playsLeft, 0);

    // The next group's button stops it as well.
    click(plate->musicButton());
    ASSERT_TRUE(music.playing());
    for (QPushButton* b : gallery.findChildren<QPushButton*>())
        if (b->text() == u"↓"_qs) b->click();
    EXPECT_FALSE(music.playing());
    EXPECT_TRUE(messages.records.empty()) << messages.records.front().text.toStdString();

    // A work whose file is missing says so and stays silent.
    Catalog& catalog = gallery.state().catalog();
    int silent = -1;
    for (int row = 0; row < catalog.rowCount(); ++row)
        if (const CatalogEntry e = catalog.rowToEntry(row); e.work && e.work->title == u"無音"_qs) silent = row;
    gallery.state().showRow(silent);
    ASSERT_TRUE(pumpUntil([&] { return gallery.state().pendingRow() < 0; }));
    ASSERT_EQ(gallery.workWindow().windowTitle(), u"無音"_qs);
    gallery.workWindow().runner().runProgram();
    ASSERT_TRUE(pumpUntil([&] { return !messages.records.empty(); }, 10000));
    EXPECT_EQ(messages.records[0].text, u"指定のミュージックのファイルが存在しません！"_qs);
    EXPECT_EQ(messages.records[0].caption, u"nothing.wav"_qs);
    EXPECT_FALSE(music.playing());
}

} // namespace
