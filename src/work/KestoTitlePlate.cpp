#include "KestoTitlePlate.h"

#include "KestoGeometry.h"
#include "common/ProgramFont.h"

#include <QMouseEvent>

namespace {

QString css(QColor background, QColor text) {
    return QStringLiteral("background:%1;color:%2;").arg(background.name(), text.name());
}

} // namespace

KestoTitlePlate::KestoTitlePlate(QWidget* parent) : QLabel(parent) {
    resize(240, 26);
    setAlignment(Qt::AlignCenter);
    setStyleSheet(css(QColor(32, 32, 64), QColor(208, 208, 208)));
    setFont(programFont(QStringLiteral("ＭＳ Ｐゴシック"), 14, true));
    PanelMsgBtn = new QLabel(QStringLiteral("◆"), this);
    PanelMsgBtn->setAlignment(Qt::AlignCenter);
    PanelMsgBtn->setToolTip(QStringLiteral("　メタチャート（メッセージ）の表示　"));
    PanelMsgBtn->setStyleSheet(css(QColor(32, 32, 64), QColor(255, 255, 160)));
    PanelMsgBtn->hide();
    PanelMusic = new QLabel(QStringLiteral("♪"), this);
    PanelMusic->setAlignment(Qt::AlignCenter);
    PanelMusic->setStyleSheet(css(QColor(32, 32, 64), QColor(240, 192, 128)));
    PanelMusic->hide();
    for (QLabel* button : {PanelMsgBtn, PanelMusic}) {
        button->setFont(programFont(QStringLiteral("ＭＳ Ｐゴシック"), 14, true));
        button->installEventFilter(this);
    }
    placeButtons();
}

QString KestoTitlePlate::chartSymbol(int kind) {
    static const QString symbols = QStringLiteral("◆◇■□★▲●");
    return kind >= 0 && kind < symbols.size() ? QString(symbols[kind]) : QStringLiteral("◆");
}

void KestoTitlePlate::setChartButton(const QString& symbol, bool visible) {
    PanelMsgBtn->setText(symbol);
    PanelMsgBtn->setVisible(visible);
    placeButtons();
}

void KestoTitlePlate::setMusicButton(bool visible) {
    PanelMusic->setVisible(visible);
    placeButtons();
}

int KestoTitlePlate::buttonsWidth() const {
    return kesto::kCornerSize * ((PanelMsgBtn->isHidden() ? 0 : 1) + (PanelMusic->isHidden() ? 0 : 1));
}

void KestoTitlePlate::place(const QRect& rect, int fontSize, QColor background, QColor text) {
    setGeometry(rect);
    setFont(programFont(QStringLiteral("ＭＳ Ｐゴシック"), std::max(fontSize, 1), true));
    setStyleSheet(css(background, text));
    placeButtons();
}

void KestoTitlePlate::resizeEvent(QResizeEvent* event) {
    QLabel::resizeEvent(event);
    placeButtons();
}

void KestoTitlePlate::placeButtons() {
    // The shown buttons close up at the right end; the title is centred in what is left of them.
    const int s = kesto::kCornerSize;
    PanelMusic->setGeometry(width() - s, 0, s, s);
    PanelMsgBtn->setGeometry(width() - (PanelMusic->isHidden() ? 1 : 2) * s, 0, s, s);
    setContentsMargins(0, 0, buttonsWidth(), 0);
}

bool KestoTitlePlate::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // The chart button acts on the press, the music button on the click (its release).
        if (watched == PanelMsgBtn && onChartButton) onChartButton();
        return true;
    }
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        const auto* release = static_cast<QMouseEvent*>(event);
        if (watched == PanelMusic && PanelMusic->rect().contains(release->position().toPoint()) && onMusicButton)
            onMusicButton();
        return true;
    }
    return QLabel::eventFilter(watched, event);
}
