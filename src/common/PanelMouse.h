// The mouse on panels: the break panel polled by long loops, and panels the user drags.
#pragma once

class QWidget;

// Keeps the windows responsive during a long loop and reports a press on the break panel.
// Processes pending events at most every 50 ms (calls in between return false at once); while it
// does, mouse, key, shortcut and close input aimed anywhere but the panel is dropped, so that it
// cannot start other work inside the loop. True when the panel (or a child) got a mouse press.
// Cost: one event-loop pass every 50 ms.
bool pumpPanelMouse(QWidget* panel);

// A mouse move at (x, y) inside `control`: chooses the drag mode (widen, heighten, both, move)
// and its cursor and, while a button is held (previousX >= 0), resizes or moves the control.
// previousX/previousY are the stored previous point (see dragStep). Cost: constant.
void dragPanel(int x, int y, int& previousX, int& previousY, QWidget* control);
