// Moving the mouse pointer (the work window's game pad and the tree window place it).
// Screen coordinates; where the desktop does not let programs move the pointer, nothing happens.
#pragma once

// Moves the pointer by (dx, dy). Cost: constant.
void moveCursor(int dx, int dy);

// Moves the pointer to the screen point (x, y). Widget code calls it as ::setCursor to pass by
// QWidget::setCursor. Cost: constant.
void setCursor(int x, int y);
