#include "TFormCheck.h"

#include "ShowCheck.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include <algorithm>

namespace {

QString colourStyle(const char* widget, const QColor& text, const QColor& back) {
    return QStringLiteral("%1 { color: %2; background: %3; border: none; }")
        .arg(QLatin1String(widget), text.name(), back.name());
}

} // namespace

QFont TFormCheck::checkFont(bool bold) {
    QFont font;
    // The Mono face keeps the message's columns.
    font.setFamilies({QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("Noto Sans CJK JP")});
    font.setPixelSize(16);
    font.setBold(bold);
    return font;
}

TFormCheck::TFormCheck(const QString& text, const QString& caption, int style, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    const QFont plain = checkFont(false), bold = checkFont(true);
    layout_ = layoutCheck(text, caption, style, QFontMetrics(plain), QFontMetrics(bold));
    position_ = checkPosition(style);
    answer_ = layout_.firstAnswer;
    setModal(true);
    setWindowTitle(caption);

    const QColor back(0, 64, 0);
    setAutoFillBackground(true);
    setStyleSheet(colourStyle("TFormCheck", Qt::white, back));

    captionBand_ = new QLabel(layout_.caption, this);
    captionBand_->setFont(plain);
    captionBand_->setStyleSheet(colourStyle("QLabel", QColor(0, 255, 255), back));
    captionBand_->setAlignment(Qt::AlignCenter);

    messageBand_ = new QLabel(layout_.mainLine, this);
    messageBand_->setFont(bold);
    messageBand_->setStyleSheet(colourStyle("QLabel", QColor(192, 192, 0), back));
    messageBand_->setAlignment(Qt::AlignVCenter | (layout_.mainLeft ? Qt::AlignLeft : Qt::AlignHCenter));
    messageBand_->setIndent(layout_.mainLeft ? 12 : 0);

    bottomBand_ = new QWidget(this);
    bottomBand_->setFocusPolicy(Qt::StrongFocus);
    bottomText_ = new QLabel(layout_.bottomLine, bottomBand_);
    bottomText_->setFont(plain);
    bottomText_->setStyleSheet(colourStyle("QLabel", QColor(192, 192, 0), back));
    bottomText_->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    bottomText_->setIndent(12);

    yes_ = new QPushButton(QStringLiteral("はい"), bottomBand_);
    no_ = new QPushButton(layout_.noLabel, bottomBand_);
    yes_->setStyleSheet(colourStyle("QPushButton", Qt::white, QColor(0, 128, 0)));
    no_->setStyleSheet(colourStyle("QPushButton", Qt::white, QColor(128, 0, 128)));
    for (QPushButton* b : {yes_, no_}) {
        b->setFont(plain);
        b->setAutoDefault(false); // Enter on the focused band must not answer by itself
        b->setFocusPolicy(Qt::NoFocus);
    }
    yes_->setVisible(layout_.question);
    connect(yes_, &QPushButton::clicked, this, [this] { answerWith(1); });
    connect(no_, &QPushButton::clicked, this, [this] { answerWith(0); });
    resize(layout_.width, layout_.height);
}

void TFormCheck::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    const int b = CheckLayout::kBorder, band = CheckLayout::kBandHeight, middle = CheckLayout::kMiddleHeight;
    const int inner = width() - 2 * b;
    captionBand_->setGeometry(b, b, inner, band);
    messageBand_->setGeometry(b, b + band, inner, middle);
    bottomBand_->setGeometry(b, b + band + middle, inner, band);
    const int panel = CheckLayout::kButtonPanelWidth, half = panel / 2;
    bottomText_->setGeometry(0, 0, std::max(0, inner - panel), band);
    yes_->setGeometry(inner - panel, 2, half - 2, band - 4);
    no_->setGeometry(inner - half, 2, half - 2, band - 4);
    bottomBand_->setFocus();
}

int TFormCheck::run() {
    const QWidget* owner = parentWidget() ? parentWidget()->window() : nullptr;
    QScreen* screen = owner && owner->screen() ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect screenArea = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QRect area = owner ? owner->frameGeometry() : screenArea;
    setGeometry(placeCheck(layout_.width, layout_.height, area, position_, screenArea.width()));
    exec();
    return answer_;
}

void TFormCheck::answerWith(int value) {
    answer_ = value;
    done(value);
}
