#include "NebuStepper.h"

#include <QToolButton>

#include <algorithm>

NebuStepper::NebuStepper(const QString& tip, QWidget* parent)
    : QWidget(parent), up_(new QToolButton(this)), down_(new QToolButton(this)) {
    setToolTip(tip);
    // Small arrows, apart from the band's own ▲ and ▼ of the automatic scroll.
    up_->setText(QStringLiteral("▴"));
    down_->setText(QStringLiteral("▾"));
    for (QToolButton* b : {up_, down_}) {
        b->setToolTip(tip);
        b->setAutoRepeat(true);
        b->setFocusPolicy(Qt::NoFocus);
        b->setStyleSheet(QStringLiteral("QToolButton { font-size: 8px; padding: 0; border: 1px solid #6070a0;"
                                        " background: #c8d0e8; color: #102040; }"
                                        "QToolButton:pressed { background: #8090c0; }"));
    }
    connect(up_, &QToolButton::clicked, this, [this] { step(1); });
    connect(down_, &QToolButton::clicked, this, [this] { step(-1); });
    setFixedSize(30, 26);
}

void NebuStepper::setRange(int min, int max, int value) {
    ranged_ = true;
    min_ = min;
    max_ = max;
    value_ = std::clamp(value, min, max);
}

void NebuStepper::step(int direction) {
    if (ranged_) {
        const int next = std::clamp(value_ + direction, min_, max_);
        if (next == value_) return; // at an end the arrow stands still
        value_ = next;
    }
    if (onStep) onStep(direction);
}

void NebuStepper::resizeEvent(QResizeEvent*) {
    up_->setGeometry(0, 0, width(), height() / 2);
    down_->setGeometry(0, height() / 2, width(), height() - height() / 2);
}
