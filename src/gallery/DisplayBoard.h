// The geometry, transparency and slide-away state of the gallery's announcement board (the
// display form "展示中"), without any window: the form applies what this computes.
#pragma once

#include "BgrColor.h"

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

class DisplayBoard {
public:
    // Who the board is shown on: the desktop (no parent), the gallery, or a work window.
    enum class Host { Desktop, Gallery, Work };

    static constexpr int kNormalAlpha = 224;  // over the gallery or the desktop
    static constexpr int kWorkAlpha = 64;     // over a work window, which stays visible below
    static constexpr int kDefaultTextSize = 36;
    static constexpr int kSlideStep = 16;     // pixels per gallery tick
    static constexpr QSize kDesignSize{680, 260};
    static constexpr QSize kPanelDesignSize{640, 80};

    DisplayBoard();

    // Places the board for its host and makes it visible. `galleryTopLeft` is the gallery's
    // position on the screen (used on the desktop), `hostSize` the work window's size.
    // Cost: constant.
    void show(Host host, QPoint galleryTopLeft, QSize hostSize);

    // A resize of the form: the text panel is re-centred with its bottom 50 pixels above the
    // form's bottom. Ignored when the size did not change.
    void resize(QSize size);

    // One gallery tick: while visible and not yet above its own height, the board moves up 16
    // pixels and true is returned (the gallery keeps its timer). Once out of sight it is hidden,
    // its text size goes back to 36 and its host back to the gallery (the desktop when the
    // gallery's top is 0 or less); then false.
    bool slideTick(int galleryTop);

    void setText(const QString& text) { text_ = text; }
    void setTextSize(int pixels) { textSize_ = pixels; }
    void setHost(Host host) { host_ = host; }

    const QString& text() const { return text_; }
    int textSize() const { return textSize_; }
    Host host() const { return host_; }
    bool visible() const { return visible_; }
    int alpha() const { return alpha_; }
    QRect formRect() const { return form_; }   // in the host's coordinates (screen on the desktop)
    QRect panelRect() const { return panel_; } // the text panel, in the form's coordinates

    // The checkered curtain: 8-pixel squares, 0xA0D0A0 where x / 8 or y / 8 is odd, else
    // 0xD0A0A0 (colour values 0x00BBGGRR). Cost: one pass over the pixels.
    static QImage curtain(QSize size);

private:
    void placePanel(int bottomGap);

    QString text_;
    int textSize_ = 37;
    Host host_ = Host::Gallery;
    bool visible_ = false;
    int alpha_ = kNormalAlpha;
    QRect form_;
    QRect panel_;
};
