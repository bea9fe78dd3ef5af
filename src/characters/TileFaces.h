// The tile faces of the tile-matching game, drawn by us: 34 kinds on one picture of 9 x 4 faces
// of 40 x 56 pixels. Kinds 0 to 26 are three suits of one to nine marks (dots, bars, rings), each
// mark coloured red, green or blue by its place; kinds 27 to 33 are seven shapes. The picture is
// what the sample works ship as "img/majyan.bmp".
#pragma once

#include <QImage>

// The 360 x 224 picture of all faces (RGB, 24 bits when saved as BMP). Cost: the picture's
// pixels; no window system is needed.
QImage drawTileFaces();
