// Moving the mouse pointer (the work window's run image, the palette and the tree window place
// it). Screen coordinates; where the desktop does not let programs move the pointer (Wayland),
// nothing happens.
#pragma once

#include <QPoint>

// The one place that moves the pointer: to the screen point `global`, unless the platform refuses
// programs that. Cost: constant.
void movePointerTo(QPoint global);

// True where the platform lets programs move the pointer. Cost: constant.
bool pointerMovable();

// Moves the pointer by (dx, dy). Cost: constant.
void moveCursor(int dx, int dy);

// Moves the pointer to the screen point (x, y). Widget code calls it as ::setCursor to pass by
// QWidget::setCursor. Cost: constant.
void setCursor(int x, int y);
