// The music player window: a small borderless strip beside the current work's title plate with
// the file's name and a play/stop button, playing through the music module (MediaBackend), which
// it loads on the first open. It is the MusicPlayer of the palette's music record and tells the
// end of each play through onEnded.
#pragma once

#include "MediaBackend.h"
#include "musicInfo.h"

#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;

class TFormMPlayer : public QWidget, public MusicPlayer {
    Q_OBJECT
public:
    static constexpr int kWidth = 272, kHeight = 30;

    explicit TFormMPlayer(QWidget* parent);
    ~TFormMPlayer() override;

    // MusicPlayer. A local file is looked for first (Missing when it is not there); a media
    // error after the open is reported as a failed open is, and so is a music module that cannot
    // be loaded. Cost: the media backend's open (the module's load the first time).
    Opened open(const QString& path) override;
    void play() override;
    void stop() override;
    void close() override;

    // The play ended by itself (not by stop()).
    std::function<void()> onEnded;
    // The button was pressed ("♪" does the same).
    std::function<void()> onToggle;
    QPushButton* playButton() const { return button_; }

private:
    bool makeMediaPlayer();

    QWidget* PanelBase = nullptr;
    QLabel* name_ = nullptr;
    QPushButton* button_ = nullptr;
    std::unique_ptr<MediaBackend> media_;
    bool stopping_ = false;
};
