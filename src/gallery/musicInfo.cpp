#include "musicInfo.h"

#include "common/ShowCheck.h"

void musicInfo::set(int count, const QString& name, const QString& folder) {
    playsLeft = count;
    fileName = name;
    const QString path = folder + name;
    if (!fullPath.isEmpty() && fullPath.compare(path, Qt::CaseInsensitive) != 0) {
        // A file already given to the player is replaced at once; a playing one stops first.
        stopPlayer();
        fullPath = path;
        if (player_) player_->close();
    }
}

void musicInfo::start(const QString& folder) {
    --playsLeft;
    playCounter = playsLeft > 0 ? 1 : 0;
    const QString path = folder + fileName;
    if (fullPath.compare(path, Qt::CaseInsensitive) != 0) fullPath = path;
    if (!player_) return;
    stopPlayer();
    player_->close();
    openAndPlay();
}

void musicInfo::stop() {
    if (!player_) return;
    playsLeft = 0;
    stopPlayer();
}

void musicInfo::repeat() {
    playCounter = 1;
    --playsLeft;
    if (!player_) return;
    stopPlayer();
    player_->close();
    openAndPlay();
}

void musicInfo::toggle() {
    if (playing()) stopPlayer();
    else if (player_ && !fullPath.isEmpty()) openAndPlay();
}

bool musicInfo::ended() {
    bool again = false;
    if (playsLeft <= 0) playCounter = 0;
    else if (playCounter > kRepeatTicks) again = true;
    playingFlag = kStopped;
    return again;
}

void musicInfo::reset() {
    stop();
    playsLeft = 0;
    playCounter = 0;
}

void musicInfo::openAndPlay() {
    switch (player_->open(fullPath)) {
    case MusicPlayer::Opened::Missing:
        showCheck(QStringLiteral("指定のミュージックのファイルが存在しません！"), fileName, 0);
        playCounter = 0;
        return;
    case MusicPlayer::Opened::Failed:
        showCheck(QStringLiteral("エラーが発生しました。"), QStringLiteral("メディアプレィヤーの再生"), 0);
        playCounter = 0;
        return;
    case MusicPlayer::Opened::Ok:
        player_->play();
        playingFlag = kPlaying;
        return;
    }
}

void musicInfo::stopPlayer() {
    if (playingFlag <= 0 || !player_) return;
    playingFlag = kStopping;
    player_->stop();
    player_->close();
    playingFlag = kStopped;
}
