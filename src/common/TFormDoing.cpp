#include "TFormDoing.h"

#include "PanelMouse.h"
#include "ProgramFont.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

TFormDoing::TFormDoing(QWidget* defaultParent) : QWidget(defaultParent), defaultParent_(defaultParent) {
    setAttribute(Qt::WA_StyledBackground);
    setObjectName(QStringLiteral("PanelDoing"));
    setStyleSheet(QStringLiteral("#PanelDoing { background: #003000; }"
                                 "QLabel { color: #00ffff; }"
                                 "#PanelRgt { background: #004000; }"
                                 "#PanelBreak { color: #ffff00; background: #006000; border: none; }"));
    setFont(programFont(QStringLiteral("ＭＳ ゴシック"), 16));
    PanelMsg = new QLabel(this);
    auto* right = new QWidget(this);
    right->setObjectName(QStringLiteral("PanelRgt"));
    right->setAttribute(Qt::WA_StyledBackground);
    right->setFixedWidth(ProgressStrip::kRightWidth);
    PanelCount = new QLabel(right);
    PanelCount->setFixedWidth(ProgressStrip::kCountWidth);
    PanelCount->setAlignment(Qt::AlignCenter);
    PanelBreak = new QPushButton(QStringLiteral("中断"), right);
    PanelBreak->setObjectName(QStringLiteral("PanelBreak"));
    auto* rightLayout = new QHBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->setSpacing(0);
    rightLayout->addWidget(PanelCount);
    rightLayout->addWidget(PanelBreak);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    layout->setSpacing(0);
    layout->addWidget(PanelMsg, 1);
    layout->addWidget(right);
    connect(PanelBreak, &QPushButton::clicked, this, [this] { strip_.requestBreak(); });
    hide();
}

void TFormDoing::showProgress(const QString& message, int alignment, QWidget* parent) {
    QWidget* host = parent ? parent : defaultParent_;
    if (parentWidget() != host || !host)
        setParent(host, host ? Qt::Widget : Qt::Tool | Qt::FramelessWindowHint);
    strip_.start(message, alignment, host ? host->width() : ProgressStrip::kWidth);
    PanelMsg->setText(message);
    PanelMsg->setAlignment(strip_.alignment());
    setGeometry(strip_.rect());
    show();
    raise();
}

void TFormDoing::setCount(const QString& text) { PanelCount->setText(text); }

bool TFormDoing::breakRequested() {
    // Only the break button hears the mouse while the operation runs: a click elsewhere must not
    // start other work inside it.
    if (pumpPanelMouse(PanelBreak)) strip_.requestBreak();
    return strip_.takeBreak();
}
