#include "TFormMPlayer.h"

#include "common/Platform.h"
#include "common/ShowCheck.h"

#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QUrl>

TFormMPlayer::TFormMPlayer(QWidget* parent) : QWidget(parent) {
    resize(kWidth, kHeight);
    PanelBase = new QWidget(this);
    PanelBase->setGeometry(rect());
    PanelBase->setStyleSheet(QStringLiteral("background:#000040;color:#c0c0ff;"));
    PanelBase->setAttribute(Qt::WA_StyledBackground);
    button_ = new QPushButton(QStringLiteral("▶"), PanelBase);
    button_->setGeometry(2, 2, 26, kHeight - 4);
    button_->setToolTip(QStringLiteral("　音楽の再生と停止　"));
    connect(button_, &QPushButton::clicked, this, [this] {
        if (onToggle) onToggle();
    });
    name_ = new QLabel(PanelBase);
    name_->setGeometry(32, 0, kWidth - 34, kHeight);
}

bool TFormMPlayer::makeMediaPlayer() {
    // Made on the first open: starting the media backend takes longer than drawing the gallery,
    // and most works play no music.
    if (media_) return true;
    media_ = makeMediaBackend();
    if (!media_) return false;
    media_->onEnded = [this] {
        if (stopping_) return;
        button_->setText(QStringLiteral("▶"));
        if (onEnded) onEnded();
    };
    media_->onError = [this] {
        if (stopping_) return;
        media_->stop();
        button_->setText(QStringLiteral("▶"));
        showCheck(QStringLiteral("エラーが発生しました。"), QStringLiteral("メディアプレィヤーの再生"), 0);
    };
    return true;
}

TFormMPlayer::~TFormMPlayer() {
    // No end of play is told while the player goes.
    stopping_ = true;
    onEnded = nullptr;
}

MusicPlayer::Opened TFormMPlayer::open(const QString& path) {
    const bool web = path.startsWith(QLatin1String("http:"), Qt::CaseInsensitive) ||
                     path.startsWith(QLatin1String("https:"), Qt::CaseInsensitive);
    if (!web && !fileExists(path)) return Opened::Missing;
    const QUrl url = web ? QUrl(path) : QUrl::fromLocalFile(path);
    if (!url.isValid()) return Opened::Failed;
    stopping_ = false;
    // Without the music module the file cannot be played: told as a failed open.
    if (!makeMediaPlayer()) return Opened::Failed;
    media_->setSource(url);
    name_->setText(QStringLiteral(" ♪ ") + QFileInfo(path).fileName());
    return Opened::Ok;
}

void TFormMPlayer::play() {
    stopping_ = false;
    if (!media_) return; // nothing was opened
    media_->play();
    button_->setText(QStringLiteral("■"));
}

void TFormMPlayer::stop() {
    stopping_ = true;
    if (media_) media_->stop();
    button_->setText(QStringLiteral("▶"));
}

void TFormMPlayer::close() {
    stopping_ = true;
    if (media_) media_->setSource(QUrl());
}
