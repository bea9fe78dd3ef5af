// The gallery's media on the offscreen platform: the music player plays a generated WAV to its
// end through the platform's media backend, and the classroom page of the bundled home opens in
// the browser form with working links to its works.
#include "TestSupport.h"
#include "common/ShowCheck.h"
#include "gallery/Classroom.h"
#include "gallery/TFormMPlayer.h"
#include "work/TFormWeb.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
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

} // namespace
