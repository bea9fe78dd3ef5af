#include "TFormLoad.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int kBorder = 7;
constexpr int kPanelWidth = 40;
} // namespace

TFormLoad::TFormLoad(QWidget* host) : QWidget(host) {
    setWindowFlag(Qt::FramelessWindowHint);
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral("TFormLoad { background: #000040; border: %1px solid #4040a0; }"
                                 "QLabel { color: #ffff80; }")
                      .arg(kBorder));
    caption_ = new QLabel(QStringLiteral("HD宇宙を探査しています..."), this);
    counter_ = new QLabel(this);
    path_ = new QLabel(this);
    path_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    version_ = new QLabel(QStringLiteral("NEBU for Vimora Art"), this);
    panelBreak_ = new QLabel(QStringLiteral("中断"), this);
    panelBreak_->setFixedWidth(kPanelWidth);
    panelBreak_->setAlignment(Qt::AlignCenter);
    panelBreak_->setStyleSheet(QStringLiteral("background: #800000; color: white;"));
    breakPoll_ = std::make_unique<PanelBreakPoll>(panelBreak_);
    panelBreak_->installEventFilter(this);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(version_, 1);
    bottom->addWidget(panelBreak_);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kBorder, kBorder, kBorder, kBorder);
    column->addWidget(caption_);
    column->addWidget(counter_);
    column->addWidget(path_);
    column->addLayout(bottom);
    hide();
}

TFormLoad::~TFormLoad() = default;

void TFormLoad::showProgress(bool withBreak) {
    if (QWidget* host = parentWidget()) {
        const int width = qMax(160, host->width() - (withBreak ? 120 : 320));
        resize(width, sizeHint().height());
        move((host->width() - width) / 2, qMax(0, (host->height() - height()) / 2));
    }
    panelBreak_->setVisible(withBreak);
    path_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    counter_->clear();
    path_->clear();
    show();
    raise();
    repaint();
}

void TFormLoad::setCounterText(const QString& text) {
    counter_->setText(text);
    if (isVisible()) counter_->repaint();
}

void TFormLoad::setPathText(const QString& text) {
    path_->setText(text);
    if (isVisible()) path_->repaint();
}

void TFormLoad::showStopping(const QString& text) {
    panelBreak_->hide();
    path_->setAlignment(Qt::AlignCenter);
    setPathText(text);
}

void TFormLoad::hideProgress() { hide(); }

QString TFormLoad::counterText() const { return counter_->text(); }
QString TFormLoad::pathText() const { return path_->text(); }
bool TFormLoad::breakPanelShown() const { return !panelBreak_->isHidden(); }

bool TFormLoad::eventFilter(QObject* watched, QEvent* event) {
    if (watched == panelBreak_ && event->type() == QEvent::MouseButtonPress && onBreakPressed) onBreakPressed();
    return QWidget::eventFilter(watched, event);
}
