#include "AtelierWidgets.h"

#include <QPalette>
#include <QWidget>

void fillBackground(QWidget* widget, uint32_t bgr) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colourOf(bgr));
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}
