#include "MousePointer.h"

#include <QCursor>
#include <QGuiApplication>

bool pointerMovable() {
    // Wayland refuses programs that move the pointer (and warns each time); the offscreen
    // platform keeps a pointer of its own that tests may move.
    return !QGuiApplication::platformName().startsWith(QLatin1String("wayland"));
}

void movePointerTo(QPoint global) {
    if (pointerMovable()) QCursor::setPos(global);
}

void moveCursor(int dx, int dy) { movePointerTo(QCursor::pos() + QPoint(dx, dy)); }

void setCursor(int x, int y) { movePointerTo(QPoint(x, y)); }
