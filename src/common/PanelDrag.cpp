#include "PanelDrag.h"

DragStep dragStep(int x, int y, int previousX, int previousY, const QRect& geometry) {
    const int w = geometry.width(), h = geometry.height();
    DragStep s;
    if (y > 30 && y < h - 30 && x > w - 30)
        s.mode = DragMode::Widen;
    else if (x > 30 && x < w - 40 && y > h - 30)
        s.mode = DragMode::Heighten;
    else if (x > w - 30 && y > h - 30)
        s.mode = DragMode::Both;
    else
        s.mode = DragMode::Move;
    s.geometry = geometry;
    s.previousX = previousX;
    s.previousY = previousY;
    if (previousX < 0) return s;
    const int dx = x - previousX, dy = y - previousY;
    switch (s.mode) {
    case DragMode::Widen:
        s.geometry.setWidth(w + dx);
        break;
    case DragMode::Heighten:
        s.geometry.setHeight(h + dy);
        break;
    case DragMode::Both:
        s.geometry.setSize({w + dx, h + dy});
        break;
    case DragMode::Move:
        s.geometry.moveTopLeft(geometry.topLeft() + QPoint(dx, dy));
        return s;
    }
    s.previousX = x;
    s.previousY = y;
    return s;
}
