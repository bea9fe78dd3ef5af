// The gallery's music: one record for all works (the palette holds it) with the file a work's
// program named, the plays still to start and the play counter that tells a real end of play
// from a notification arriving within two seconds of a start. It drives a media player through
// MusicPlayer, so the whole state machine runs without one in tests.
#pragma once

#include <QString>

// What the music asks of the media player. Every call returns at once.
class MusicPlayer {
public:
    enum class Opened { Ok, Missing, Failed };
    virtual ~MusicPlayer() = default;
    // Opens the file at `path` (a local path or an http address). Missing: there is no such local file.
    virtual Opened open(const QString& path) = 0;
    virtual void play() = 0;
    virtual void stop() = 0;
    virtual void close() = 0;
};

class musicInfo {
public:
    // Palette ticks (20 ms) after a start within which an end of play is no real end: 2 s.
    static constexpr int kRepeatTicks = 100;
    // Playing flag values.
    static constexpr int kStopped = 0, kPlaying = 1, kStopping = -1;

    // `player` (not owned) must outlive the record; nullptr: no player (nothing plays).
    explicit musicInfo(MusicPlayer* player = nullptr) : player_(player) {}
    // The player from now on (not owned; it must outlive the record or be replaced first).
    void setPlayer(MusicPlayer* player) { player_ = player; }

    // A music command with a file: the plays and the name. When the path in `folder` changes
    // while a file is given to the player, the player gets the new file at once. Cost: constant.
    void set(int count, const QString& name, const QString& folder);
    // A music command without a file. Cost: constant.
    void setCount(int count) { playsLeft = count; }
    // `startMusic`: one play less; the path (`folder` + the name, compared without case) replaces
    // the player's; a playing file stops; it opens and plays. A missing file says so
    // ("指定のミュージックのファイルが存在しません！", the name as caption) and stays silent; a failed
    // open says "エラーが発生しました。". Cost: the player's open.
    void start(const QString& folder);
    // `stopMusic`: no plays left, the player stops. Cost: constant.
    void stop();
    // `repeatMusic`: the counter starts again, one play less, the same file plays again.
    void repeat();
    // The "♪" button: a playing file stops, else the last file opens and plays.
    void toggle();
    // The player's end of play: true when the file should play again (the palette's repeat
    // request); the counter is cleared when no play is left. Cost: constant.
    bool ended();
    // One palette tick (20 ms): the counter runs while it is above 0.
    void tick() {
        if (playCounter > 0) ++playCounter;
    }
    // The palette's record is cleared (all work windows closed or replaced).
    void reset();
    bool playing() const { return playingFlag > 0; }

    QString fileName;
    QString fullPath;
    int playsLeft = 0;
    int playCounter = 0;
    int playingFlag = kStopped;

private:
    void openAndPlay();
    void stopPlayer();

    MusicPlayer* player_;
};
