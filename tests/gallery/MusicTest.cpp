// The music's state machine with a player that only notes what it is asked.
#include "gallery/musicInfo.h"

#include "TestSupport.h"
#include "common/ShowCheck.h"

#include <gtest/gtest.h>

namespace {

class FakePlayer : public MusicPlayer {
public:
    Opened open(const QString& path) override {
        calls << u"open "_qs + path;
        return answer;
    }
    void play() override { calls << u"play"_qs; }
    void stop() override { calls << u"stop"_qs; }
    void close() override { calls << u"close"_qs; }
    int plays() const { return int(calls.count(u"play"_qs)); }

    Opened answer = Opened::Ok;
    QStringList calls;
};

class Music : public testing::Test {
protected:
    // `ticks` palette ticks (20 ms) pass, then the play ends: whether it asks to play again.
    bool endAfter(int ticks) {
        for (int i = 0; i < ticks; ++i) music.tick();
        return music.ended();
    }
    // The palette's loop: every repeat request is carried out after the ticks of one play.
    int playWhole(int ticksPerPlay) {
        music.start(u"/w/"_qs);
        while (endAfter(ticksPerPlay)) music.repeat();
        return player.plays();
    }

    FakePlayer player;
    musicInfo music{&player};
    RecordingCheckSink messages;
    ScopedCheckSink installed{&messages};
};

TEST_F(Music, ACountPlaysTheFileThatOftenWhenEachPlayLastsOverTwoSeconds) {
    for (const auto& [count, plays] : std::vector<std::pair<int, int>>{{3, 3}, {1, 1}, {2, 2}}) {
        player.calls.clear();
        music.set(count, u"kyoku.wav"_qs, u"/w/"_qs);
        EXPECT_EQ(playWhole(musicInfo::kRepeatTicks + 1), plays) << count;
        EXPECT_EQ(music.playsLeft, 0);
        EXPECT_EQ(music.playCounter, 0) << "over";
        EXPECT_FALSE(music.playing());
    }
    EXPECT_EQ(music.fullPath, u"/w/kyoku.wav"_qs);
    EXPECT_TRUE(messages.records.empty());
}

TEST_F(Music, AnEndWithinTwoSecondsOfAStartPlaysNothingMore) {
    music.set(3, u"short.wav"_qs, u"/w/"_qs);
    EXPECT_EQ(playWhole(musicInfo::kRepeatTicks - 1), 1); // 1.98 s
    EXPECT_EQ(music.playsLeft, 2) << "the plays left stay for the next start";
    EXPECT_FALSE(music.playing());
}

TEST_F(Music, AMissingOrFailingFileIsToldAndStaysSilent) {
    const struct {
        MusicPlayer::Opened answer;
        const char16_t* text;
        const char16_t* caption;
    } cases[] = {
        {MusicPlayer::Opened::Missing, u"指定のミュージックのファイルが存在しません！", u"nothing.wav"},
        {MusicPlayer::Opened::Failed, u"エラーが発生しました。", u"メディアプレィヤーの再生"},
    };
    for (const auto& c : cases) {
        messages.records.clear();
        player.answer = c.answer;
        music.set(2, u"nothing.wav"_qs, u"/w/"_qs);
        music.start(u"/w/"_qs);
        ASSERT_EQ(messages.records.size(), 1u);
        EXPECT_EQ(messages.records[0].text, QString::fromUtf16(c.text));
        EXPECT_EQ(messages.records[0].caption, QString::fromUtf16(c.caption));
        EXPECT_EQ(player.plays(), 0);
        EXPECT_FALSE(music.playing());
        EXPECT_EQ(music.playCounter, 0) << "no repeat waits";
    }
}

TEST_F(Music, TheSameFileAgainIsNotReloadedAnotherReplacesThePlayersAtOnce) {
    music.set(1, u"kyoku.wav"_qs, u"/w/"_qs);
    music.start(u"/w/"_qs);
    player.calls.clear();
    music.set(2, u"KYOKU.WAV"_qs, u"/w/"_qs); // a second work with the same file
    EXPECT_TRUE(player.calls.isEmpty()) << player.calls.join(u',').toStdString();
    EXPECT_TRUE(music.playing());
    music.set(2, u"other.wav"_qs, u"/w/"_qs);
    EXPECT_EQ(player.calls, QStringList({u"stop"_qs, u"close"_qs, u"close"_qs}));
    EXPECT_EQ(music.fullPath, u"/w/other.wav"_qs);
    EXPECT_FALSE(music.playing());
}

TEST_F(Music, StopAndTheMusicButton) {
    music.set(3, u"kyoku.wav"_qs, u"/w/"_qs);
    music.start(u"/w/"_qs);
    music.stop();
    EXPECT_EQ(music.playsLeft, 0);
    EXPECT_FALSE(music.playing());
    EXPECT_FALSE(endAfter(musicInfo::kRepeatTicks + 1)) << "a stopped music does not come back";
    player.calls.clear();
    music.toggle(); // "♪" plays the last file again
    EXPECT_EQ(player.calls, QStringList({u"open /w/kyoku.wav"_qs, u"play"_qs}));
    EXPECT_TRUE(music.playing());
    music.toggle();
    EXPECT_FALSE(music.playing());
    musicInfo none; // no player: nothing plays and nothing breaks
    none.set(2, u"a.wav"_qs, u"/w/"_qs);
    none.start(u"/w/"_qs);
    none.toggle();
    EXPECT_FALSE(none.playing());
}

} // namespace
