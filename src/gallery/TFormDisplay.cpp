#include "TFormDisplay.h"

#include "common/ProgramFont.h"

#include <QPainter>
#include <QResizeEvent>

namespace {

constexpr int kBorder = 10;
constexpr uint32_t kFormColour = 0xE0E8E0;
constexpr uint32_t kBaseColour = 0xE8E8E0;
constexpr uint32_t kTextColour = 0x406000;

} // namespace

TFormDisplay::TFormDisplay(QWidget* gallery)
    : QWidget(gallery), gallery_(gallery), host_(gallery),
      curtain_(DisplayBoard::curtain(DisplayBoard::kDesignSize - QSize(2 * kBorder, 2 * kBorder))) {
    setWindowTitle(QStringLiteral("展示中"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setGeometry(board_.formRect());
    hide();
}

void TFormDisplay::setMessage(const QString& text, int textSize) {
    board_.setText(text);
    if (textSize > 0) board_.setTextSize(textSize);
    update();
}

void TFormDisplay::setHost(QWidget* host) {
    if (host == host_ && parentWidget() == host) return;
    host_ = host;
    board_.setHost(!host ? DisplayBoard::Host::Desktop
                   : host == gallery_ ? DisplayBoard::Host::Gallery
                                      : DisplayBoard::Host::Work);
    if (host)
        setParent(host, Qt::Widget);
    else // a borderless tool window above the desktop, without a task bar entry
        setParent(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
}

void TFormDisplay::showBoard() {
    const QPoint galleryTopLeft = gallery_->window()->geometry().topLeft();
    board_.show(board_.host(), galleryTopLeft, host_ ? host_->size() : size());
    setGeometry(board_.formRect());
    setWindowOpacity(host_ ? 1.0 : board_.alpha() / 255.0);
    show();
    raise();
    update();
}

bool TFormDisplay::slideTick() {
    const bool wasVisible = board_.visible();
    const bool moved = board_.slideTick(gallery_->window()->geometry().top());
    if (moved) {
        move(board_.formRect().topLeft());
    } else if (wasVisible) {
        hide();
        setHost(board_.host() == DisplayBoard::Host::Desktop ? nullptr : gallery_);
    }
    return moved;
}

void TFormDisplay::resizeEvent(QResizeEvent* event) {
    board_.resize(event->size());
    QWidget::resizeEvent(event);
}

void TFormDisplay::paintEvent(QPaintEvent*) {
    // The layers are composed first and blended once: blending each layer on its own would make
    // the stack far more opaque than the board's alpha.
    QImage board(size(), QImage::Format_RGB32);
    QPainter layers(&board);
    layers.fillRect(board.rect(), QColor(bgrToRgb(kFormColour)));
    const QRect base = board.rect().adjusted(kBorder, kBorder, -kBorder, -kBorder);
    layers.fillRect(base, QColor(bgrToRgb(kBaseColour)));
    layers.drawImage(base, curtain_);
    const QRect panel = board_.panelRect();
    layers.fillRect(panel, QColor(bgrToRgb(kBaseColour)));
    layers.setPen(QColor(bgrToRgb(kTextColour)));
    layers.setFont(programFont(QStringLiteral("Tahoma"), board_.textSize(), true, true));
    layers.drawText(panel, Qt::AlignCenter | Qt::TextSingleLine, board_.text());
    layers.end();

    QPainter painter(this);
    // A child widget cannot use window opacity; it blends itself instead.
    if (host_) painter.setOpacity(board_.alpha() / 255.0);
    painter.drawImage(0, 0, board);
}
