#include "GalleryWidgets.h"

#include "BgrColor.h"
#include "common/ProgramFont.h"

#include <QLabel>
#include <QPushButton>

namespace GalleryWidgets {

QString cssColour(uint32_t bgr) { return QColor(bgrToRgb(bgr)).name(); }

void paintBackground(QWidget* widget, uint32_t bgr) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, QColor(bgrToRgb(bgr)));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

void colourButton(QPushButton* button, uint32_t background, uint32_t textColour) {
    button->setStyleSheet(QStringLiteral("QPushButton{background:%1;color:%2;border:1px solid #507050;}")
                              .arg(cssColour(background), cssColour(textColour)));
}

QPushButton* makeButton(QWidget* parent, const QString& text, QRect place, uint32_t textColour, const QString& hint,
                        uint32_t background) {
    auto* button = new QPushButton(text, parent);
    button->setGeometry(place);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFont(programFont(QStringLiteral("ＭＳ Ｐゴシック"), 14, true));
    colourButton(button, background, textColour);
    if (!hint.isEmpty()) button->setToolTip(hint);
    return button;
}

QLabel* makeLabel(QWidget* parent, const QString& text, QRect place, uint32_t textColour, const QFont& font) {
    auto* label = new QLabel(text, parent);
    label->setGeometry(place);
    label->setFont(font);
    label->setStyleSheet(QStringLiteral("color:%1;").arg(cssColour(textColour)));
    return label;
}

} // namespace GalleryWidgets
