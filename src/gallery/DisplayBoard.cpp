#include "DisplayBoard.h"

DisplayBoard::DisplayBoard() : form_(QPoint(12, 24), kDesignSize) { placePanel(100); }

void DisplayBoard::show(Host host, QPoint galleryTopLeft, QSize hostSize) {
    host_ = host;
    switch (host) {
    case Host::Desktop:
        alpha_ = kNormalAlpha;
        form_.moveTopLeft(galleryTopLeft + QPoint(20, 58));
        break;
    case Host::Gallery:
        alpha_ = kNormalAlpha;
        form_.moveTopLeft(QPoint(12, 24));
        break;
    case Host::Work:
        alpha_ = kWorkAlpha;
        form_ = QRect(QPoint(0, 0), hostSize);
        break;
    }
    placePanel(100);
    visible_ = true;
}

void DisplayBoard::resize(QSize size) {
    if (size == form_.size()) return;
    form_.setSize(size);
    placePanel(50);
}

void DisplayBoard::placePanel(int bottomGap) {
    const int width = form_.width() - 40;
    const int height = kPanelDesignSize.height();
    panel_ = QRect((form_.width() - width) / 2, form_.height() - bottomGap - height, width, height);
}

bool DisplayBoard::slideTick(int galleryTop) {
    if (!visible_) return false;
    if (form_.top() > -form_.height()) {
        form_.moveTop(form_.top() - kSlideStep);
        return true;
    }
    visible_ = false;
    textSize_ = kDefaultTextSize;
    host_ = galleryTop <= 0 ? Host::Desktop : Host::Gallery;
    return false;
}

QImage DisplayBoard::curtain(QSize size) {
    QImage image(size, QImage::Format_RGB32);
    const QRgb light = bgrToRgb(0xA0D0A0);
    const QRgb dark = bgrToRgb(0xD0A0A0);
    for (int y = 0; y < image.height(); ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) line[x] = ((x / 8) % 2 || (y / 8) % 2) ? light : dark;
    }
    return image;
}
