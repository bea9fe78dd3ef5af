#include "UpDownControl.h"

#include <QToolButton>

UpDownControl::UpDownControl(int min, int max, int step, int start, QWidget* parent, bool horizontal)
    : QWidget(parent), min_(min), max_(max), step_(step), position_(start), horizontal_(horizontal),
      up_(new QToolButton(this)), down_(new QToolButton(this)) {
    up_->setText(horizontal ? QStringLiteral("▶") : QStringLiteral("▲"));
    down_->setText(horizontal ? QStringLiteral("◀") : QStringLiteral("▼"));
    for (QToolButton* b : {up_, down_}) {
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setStyleSheet(QStringLiteral("QToolButton{font-size:7px;padding:0;border:1px solid #607060;"
                                        "background:#d0d8d0;color:#203020;}"));
    }
    connect(up_, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(down_, &QToolButton::clicked, this, [this] { stepBy(-1); });
}

void UpDownControl::setPosition(int value) {
    // Beyond the ends the control stands still, as the arrows of a range do.
    if (value < min_ || value > max_ || value == position_) return;
    position_ = value;
    if (onChanged) onChanged(position_);
}

void UpDownControl::resizeEvent(QResizeEvent*) {
    if (horizontal_) {
        down_->setGeometry(0, 0, width() / 2, height());
        up_->setGeometry(width() / 2, 0, width() - width() / 2, height());
    } else {
        up_->setGeometry(0, 0, width(), height() / 2);
        down_->setGeometry(0, height() / 2, width(), height() - height() / 2);
    }
}
