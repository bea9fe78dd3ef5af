#include "RunMarkLabel.h"

#include "RunMark.h"

#include <QLabel>
#include <QPixmap>

QLabel* makeRunMarkLabel(QWidget* parent, QSize size, int left, int top, int bottom) {
    auto* label = new QLabel(parent);
    QImage mark(size, QImage::Format_RGB32);
    mark.fill(kRunMarkBack);
    drawRunMark(left, top, mark, bottom);
    label->setPixmap(QPixmap::fromImage(mark));
    label->setGeometry(0, 0, size.width(), size.height());
    label->setToolTip(QString::fromUtf16(kRunMarkHint));
    return label;
}
