// The run mark as a picture label, the face of each run button.
#pragma once

class QLabel;
class QSize;
class QWidget;

// A label of `size` at the top left of `parent` (which owns it) showing the run mark drawn by
// drawRunMark(left, top, image, bottom) over kRunMarkBack, with the run button's hint.
// Cost: linear in the label's pixels.
QLabel* makeRunMarkLabel(QWidget* parent, QSize size, int left, int top, int bottom);
