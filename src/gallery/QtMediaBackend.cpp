// The music module: MediaBackend over QMediaPlayer and QAudioOutput.
#include "MediaBackend.h"

#include <QAudioOutput>
#include <QMediaPlayer>

namespace {

class QtMediaBackend : public MediaBackend {
public:
    QtMediaBackend() {
        player_.setAudioOutput(&audio_);
        QObject::connect(&player_, &QMediaPlayer::mediaStatusChanged, [this](QMediaPlayer::MediaStatus status) {
            if (status == QMediaPlayer::EndOfMedia && onEnded) onEnded();
        });
        QObject::connect(&player_, &QMediaPlayer::errorOccurred, [this](QMediaPlayer::Error error, const QString&) {
            if (error != QMediaPlayer::NoError && onError) onError();
        });
    }
    ~QtMediaBackend() override {
        // Nothing is told while the player goes.
        onEnded = nullptr;
        onError = nullptr;
        player_.stop();
    }

    void setSource(const QUrl& url) override { player_.setSource(url); }
    void play() override { player_.play(); }
    void stop() override { player_.stop(); }

private:
    QAudioOutput audio_;
    QMediaPlayer player_; // after the output it plays through, so that it goes first
};

} // namespace

extern "C" Q_DECL_EXPORT MediaBackend* vimoraMakeMediaBackend() { return new QtMediaBackend; }
