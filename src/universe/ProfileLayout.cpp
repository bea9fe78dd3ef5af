#include "ProfileLayout.h"

#include "common/ShowCheck.h"
#include "common/Texts.h"

QStringList pictureStars(const fileInfo* node, const QString& path, QChar separator) {
    QStringList pictures;
    if (!node->isGalaxy()) {
        if (imageKind(path, false) != QStringLiteral("non")) pictures.append(path);
        return pictures;
    }
    const QString folder = path.endsWith(separator) ? path : path + separator;
    for (const fileInfo* n = node->next; n && n->next && n->depth > node->depth; n = n->next) {
        if (n->depth != node->depth + 1 || n->isGalaxy()) continue;
        const QString star = folder + n->name();
        if (imageKind(star, false) != QStringLiteral("non")) pictures.append(star);
    }
    return pictures;
}

std::vector<QRect> thumbnailPlaces(const std::vector<QSize>& sizes, int zoom, int boxWidth, int& lowest) {
    std::vector<QRect> places;
    int x = 10, y = 10, rowHeight = 0;
    lowest = -1;
    for (const QSize& size : sizes) {
        const int w = size.width() * zoom / 100, h = size.height() * zoom / 100;
        if (x > 10 && boxWidth - w < x + w) { // the next one would not fit: a new row
            x = 10;
            y += rowHeight + 10;
            rowHeight = 0;
        }
        places.emplace_back(x, y, w, h);
        rowHeight = qMax(rowHeight, h);
        lowest = qMax(lowest, y + h);
        x += w + 10;
    }
    return places;
}

int fittedWidth(QSize picture, int shownHeight, int currentWidth) {
    if (picture.height() <= 10) return currentWidth;
    return static_cast<int>(static_cast<qint64>(shownHeight) * picture.width() / picture.height());
}

int fittedHeight(QSize picture, int shownWidth, int currentHeight) {
    if (picture.width() <= 10) return currentHeight;
    return static_cast<int>(static_cast<qint64>(shownWidth) * picture.height() / picture.width());
}

bool mayShowPictures(int count, bool galaxy) {
    const QString caption = QStringLiteral("イメージ[星]の表示");
    if (count == 0) {
        showCheck(galaxy ? QStringLiteral("この銀河には、イメージ[星]がありません！ ")
                         : QStringLiteral("この[星]は、イメージ[星]ではありません！ "),
                  caption, 0);
        return false;
    }
    if (count > kPicturesWithoutAsking)
        return showCheck(QStringLiteral("%1 個のイメージを表示しますか？").arg(count), caption, 1) == 1;
    return true;
}
