// The workshop's picture work as plain functions over QImage: inverting black and white, the
// outline of black shapes, dot coordinate data, colour-index text cells with their colour table,
// equal tiles, and the bytes of BMP and ICO files. Nothing here touches a file or a window.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRgb>
#include <QString>
#include <QStringList>

#include <vector>

// A pixel is black when its colour (alpha aside) is 0; every other colour counts as not black.
inline bool isBlackPixel(QRgb pixel) { return (pixel & 0xFFFFFFu) == 0; }

// The picture in the one format the workshop works in (32-bit RGB); a null picture stays null.
QImage workshopPicture(const QImage& image);

// "反転": every black pixel white (0xFFFFFF), every other pixel black. Cost: one pass.
QImage invertBlack(const QImage& image);

// "輪郭化": every black pixel off the border whose 3 × 3 neighbourhood is all black turns white,
// so only the outlines of black shapes remain. Cost: nine reads per pixel.
QImage outlineBlack(const QImage& image);

// "データ化": "data:N" with the number of black pixels, then the black pixels row by row, left to
// right, as "%3d,%3d" relative to the smallest x and smallest y, ten to a line joined by ", ".
// A picture without black pixels gives "data:0" alone. Cost: two passes.
QStringList dotData(const QImage& image);

// The largest colour table and cell row the dot pattern writes.
inline constexpr int kMostPatternColours = 256;
inline constexpr int kWidestPatternRow = 511;

// "ドットデータ化": the picture cut into `columns` × `rows` cells of width / columns by height /
// rows pixels. `lines` gets, cell by cell (rows of cells top to bottom, each left to right),
// one line per pixel row with a character per pixel: "." for colour index 0, "1" to "9", then
// the character of code index + 55 ("A" for 10); an empty line after each cell; then a line
// "color:%2d,%3d,%3d,%3d" (index, red, green, blue) per colour. Indices follow the order in
// which the colours first appear in that walk.
struct DotPattern {
    QStringList lines;
    int colourCount = 0;
};
// Why a pattern or a cut cannot be made; None when it can.
enum class CutFault { None, NoPicture, BadCount, EmptyCell, TooWide, TooManyColours };
// The pattern in `out`; nothing is written unless the answer is None. Cost: one pass with a
// hash lookup per pixel.
CutFault dotPattern(const QImage& image, int columns, int rows, DotPattern& out);

// "ＢＭＰ分割保存": the tiles of width / columns by height / rows pixels, rows of tiles top to
// bottom, each left to right. Empty unless the answer is None (TooWide and TooManyColours are
// never given). Cost: a copy of the covered pixels.
CutFault cutTiles(const QImage& image, int columns, int rows, std::vector<QImage>& tiles);

// The name of tile `number`: `basePath` followed by the number with at least two digits and
// ".bmp" ("/p/pic" and 3 give "/p/pic03.bmp").
QString tileName(const QString& basePath, int number);

// A division field's value when it is a whole number from 1 to 64, else 0. Cost: linear.
int divisionCount(const QString& field);
inline constexpr int kMostDivisions = 64;

// The picture as the bytes of a BMP file. Cost: linear in the pixels.
QByteArray bmpBytes(const QImage& image);

// The icon's side in pixels.
inline constexpr int kIconSide = 32;
// The top-left kIconSide × kIconSide pixels of the picture as an ICO file of one 32-bit image:
// directory (type 1, one entry whose size counts the 40-byte header, the colours and the mask,
// at offset 22), the header (height doubled for the mask), the colours bottom row first as blue,
// green, red, alpha, then the mask rows padded to 4 bytes. Pixels within 3 steps (along rows
// plus columns) of a corner and pixels beyond the picture are transparent: mask bit 1 and
// alpha 0; all others opaque. Cost: linear in the icon's pixels.
QByteArray iconBytes(const QImage& image);
