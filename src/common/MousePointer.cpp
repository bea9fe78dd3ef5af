#include "MousePointer.h"

#include <QCursor>
#include <QPoint>

void moveCursor(int dx, int dy) {
    QCursor::setPos(QCursor::pos() + QPoint(dx, dy));
}

void setCursor(int x, int y) {
    QCursor::setPos(x, y);
}
