// The profile viewer's arithmetic without its window: which stars of a galaxy are pictures,
// where their thumbnails go, how the viewer fits a picture's proportion, and the question that
// comes before many pictures.
#pragma once

#include "treeInfo.h"

#include <QRect>
#include <QSize>
#include <QString>
#include <QStringList>
#include <vector>

// The most pictures shown without asking first.
inline constexpr int kPicturesWithoutAsking = 50;

// The paths of the picture stars the viewer shows for `node` at `path`: for a galaxy its own
// stars (depth + 1) whose names have a picture kind (imageKind without reading the file), for a
// star itself when its name has one. O(subtree).
QStringList pictureStars(const fileInfo* node, const QString& path, QChar separator);

// Thumbnail places for pictures of `sizes` at `zoom` percent in a box `boxWidth` wide: from
// (10, 10), 10 pixels apart, a new row when the box's width less the next thumbnail's width
// would be passed; `lowest` receives the lowest bottom (-1 without pictures). O(count).
std::vector<QRect> thumbnailPlaces(const std::vector<QSize>& sizes, int zoom, int boxWidth, int& lowest);

// The width that shows a picture of `picture` at `shownHeight` in its own proportion; the
// given width when the picture is 10 pixels high or less. O(1).
int fittedWidth(QSize picture, int shownHeight, int currentWidth);
// The height that shows it at `shownWidth` ("等比"); the given height when 10 wide or less.
int fittedHeight(QSize picture, int shownWidth, int currentHeight);

// Checks before showing: "この銀河には、イメージ[星]がありません！ " or "この[星]は、イメージ[星]
// ではありません！ " when there are none, the question "%d 個のイメージを表示しますか？" above
// kPicturesWithoutAsking. True when the viewer may show them.
bool mayShowPictures(int count, bool galaxy);
