// Moving and resizing a panel by dragging it with the mouse, worked out without a widget.
#pragma once

#include <QRect>

// What a drag at a point of the panel does: widen at the right edge, heighten at the bottom
// edge, both at the bottom-right corner, move elsewhere.
enum class DragMode { Widen, Heighten, Both, Move };

struct DragStep {
    DragMode mode = DragMode::Move;
    QRect geometry; // the panel's new geometry (unchanged when no button is held)
    int previousX = -1;
    int previousY = -1;
};

// One mouse move at (x, y) inside a panel of `geometry` (in its parent's coordinates). A negative
// previousX means no button is held: only the mode is chosen. The sizing modes store (x, y) as
// the new previous point; moving keeps it, since the panel moves under the pointer.
// Cost: constant.
DragStep dragStep(int x, int y, int previousX, int previousY, const QRect& geometry);
