// The media player behind the music strip. It lives in a module of its own (vimora_music),
// loaded on the first play: the media framework and its sound and codec libraries take longer
// to map and start than the whole gallery takes to draw, and most works play no music.
#pragma once

#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

class MediaBackend {
public:
    virtual ~MediaBackend() = default;
    // The file or address to play from now on; an empty URL lets the last one go. O(1) plus the
    // backend's open, which runs on.
    virtual void setSource(const QUrl& url) = 0;
    virtual void play() = 0;
    virtual void stop() = 0;

    // The play reached its end; a media error happened (after an open or during a play).
    std::function<void()> onEnded;
    std::function<void()> onError;
};

// A new backend from the module (found beside the build's programs, else where the installation
// puts it); null with the reason in `why` when the module cannot be loaded. Cost: the module's
// load and the media framework's start the first time, then the backend's construction.
std::unique_ptr<MediaBackend> makeMediaBackend(QString* why = nullptr);
