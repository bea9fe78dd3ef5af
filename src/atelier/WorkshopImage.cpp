#include "WorkshopImage.h"

#include <QBuffer>
#include <QHash>
#include <QImageWriter>
#include <QtEndian>

#include <algorithm>
#include <climits>

namespace {

constexpr QRgb kWhite = 0xFFFFFFFFu;
constexpr QRgb kBlack = 0xFF000000u;

CutFault checkCut(const QImage& image, int columns, int rows) {
    if (image.isNull()) return CutFault::NoPicture;
    if (columns < 1 || columns > kMostDivisions || rows < 1 || rows > kMostDivisions) return CutFault::BadCount;
    if (image.width() / columns < 1 || image.height() / rows < 1) return CutFault::EmptyCell;
    return CutFault::None;
}

void put16(QByteArray& out, int value) {
    char bytes[2];
    qToLittleEndian<quint16>(quint16(value), bytes);
    out.append(bytes, 2);
}

void put32(QByteArray& out, qint64 value) {
    char bytes[4];
    qToLittleEndian<quint32>(quint32(value), bytes);
    out.append(bytes, 4);
}

// Transparent corners keep the icon's outline round, as the workshop has always cut it.
bool cornerPixel(int x, int y, int w, int h) {
    const int dx = std::min(x, w - 1 - x);
    const int dy = std::min(y, h - 1 - y);
    return dx + dy <= 3;
}

// "%3d" without the cost of a format parser per pixel.
void appendNumber(QString& out, int value) {
    char digits[12];
    int n = 0;
    int v = value;
    do {
        digits[n++] = char('0' + v % 10);
        v /= 10;
    } while (v > 0);
    for (int pad = n; pad < 3; ++pad) out += u' ';
    while (n > 0) out += QChar(char16_t(digits[--n]));
}

} // namespace

QImage workshopPicture(const QImage& image) {
    if (image.isNull()) return {};
    return image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
}

QImage invertBlack(const QImage& image) {
    QImage out = workshopPicture(image);
    for (int y = 0; y < out.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) line[x] = isBlackPixel(line[x]) ? kWhite : kBlack;
    }
    return out;
}

QImage outlineBlack(const QImage& image) {
    const QImage in = workshopPicture(image);
    QImage out = in;
    for (int y = 1; y + 1 < in.height(); ++y) {
        const QRgb* rows[3] = {reinterpret_cast<const QRgb*>(in.constScanLine(y - 1)),
                               reinterpret_cast<const QRgb*>(in.constScanLine(y)),
                               reinterpret_cast<const QRgb*>(in.constScanLine(y + 1))};
        auto* target = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 1; x + 1 < in.width(); ++x) {
            bool inside = true;
            for (const QRgb* row : rows) inside = inside && isBlackPixel(row[x - 1]) && isBlackPixel(row[x]) && isBlackPixel(row[x + 1]);
            // The test reads the untouched picture, so a pixel turned white never thins its neighbours.
            if (inside) target[x] = kWhite;
        }
    }
    return out;
}

QStringList dotData(const QImage& image) {
    const QImage in = workshopPicture(image);
    int count = 0;
    int left = INT_MAX;
    int top = INT_MAX;
    for (int y = 0; y < in.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(in.constScanLine(y));
        for (int x = 0; x < in.width(); ++x) {
            if (!isBlackPixel(row[x])) continue;
            ++count;
            left = std::min(left, x);
            top = std::min(top, y);
        }
    }
    QStringList lines{QStringLiteral("data:%1").arg(count)};
    lines.reserve(1 + (count + 9) / 10);
    QString line;
    int onLine = 0;
    for (int y = 0; y < in.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(in.constScanLine(y));
        for (int x = 0; x < in.width(); ++x) {
            if (!isBlackPixel(row[x])) continue;
            if (onLine > 0) line += QStringLiteral(", ");
            appendNumber(line, x - left);
            line += u',';
            appendNumber(line, y - top);
            if (++onLine == 10) {
                lines << line;
                line.clear();
                onLine = 0;
            }
        }
    }
    if (onLine > 0) lines << line;
    return lines;
}

CutFault dotPattern(const QImage& image, int columns, int rows, DotPattern& out) {
    if (const CutFault fault = checkCut(image, columns, rows); fault != CutFault::None) return fault;
    const QImage in = workshopPicture(image);
    const int cellWidth = in.width() / columns;
    const int cellHeight = in.height() / rows;
    if (cellWidth > kWidestPatternRow) return CutFault::TooWide;
    std::vector<QRgb> colours;
    QHash<QRgb, int> indexOf;
    QStringList lines;
    for (int cellRow = 0; cellRow < rows; ++cellRow) {
        for (int cellColumn = 0; cellColumn < columns; ++cellColumn) {
            for (int y = cellRow * cellHeight; y < (cellRow + 1) * cellHeight; ++y) {
                QString line;
                line.reserve(cellWidth);
                for (int x = cellColumn * cellWidth; x < (cellColumn + 1) * cellWidth; ++x) {
                    const QRgb colour = in.pixel(x, y) & 0xFFFFFFu;
                    auto found = indexOf.constFind(colour);
                    if (found == indexOf.cend()) {
                        if (int(colours.size()) == kMostPatternColours) return CutFault::TooManyColours;
                        found = indexOf.insert(colour, int(colours.size()));
                        colours.push_back(colour);
                    }
                    const int index = *found;
                    line += index == 0 ? QChar(u'.') : index <= 9 ? QChar(u'0' + index) : QChar(char16_t(index + 55));
                }
                lines << line;
            }
            lines << QString();
        }
    }
    for (size_t i = 0; i < colours.size(); ++i)
        lines << QString::asprintf("color:%2d,%3d,%3d,%3d", int(i), qRed(colours[i]), qGreen(colours[i]), qBlue(colours[i]));
    out.lines = lines;
    out.colourCount = int(colours.size());
    return CutFault::None;
}

CutFault cutTiles(const QImage& image, int columns, int rows, std::vector<QImage>& tiles) {
    if (const CutFault fault = checkCut(image, columns, rows); fault != CutFault::None) return fault;
    const QImage in = workshopPicture(image);
    const int w = in.width() / columns;
    const int h = in.height() / rows;
    tiles.clear();
    tiles.reserve(size_t(columns) * size_t(rows));
    for (int row = 0; row < rows; ++row)
        for (int column = 0; column < columns; ++column) tiles.push_back(in.copy(column * w, row * h, w, h));
    return CutFault::None;
}

QString tileName(const QString& basePath, int number) {
    return basePath + QString::asprintf("%02d.bmp", number);
}

int divisionCount(const QString& field) {
    bool ok = false;
    const int value = field.trimmed().toInt(&ok);
    return ok && value >= 1 && value <= kMostDivisions ? value : 0;
}

QByteArray bmpBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "BMP");
    if (!writer.write(workshopPicture(image))) return {};
    return bytes;
}

QByteArray iconBytes(const QImage& image) {
    const QImage in = workshopPicture(image);
    constexpr int w = kIconSide;
    constexpr int h = kIconSide;
    constexpr int maskStride = (w + 31) / 32 * 4;
    constexpr int headerSize = 40;
    constexpr int colourSize = w * 4 * h;
    constexpr int maskSize = maskStride * h;
    constexpr int imageSize = headerSize + colourSize + maskSize;
    const auto transparent = [&in](int x, int y) {
        return cornerPixel(x, y, w, h) || x >= in.width() || y >= in.height();
    };

    QByteArray out;
    out.reserve(22 + imageSize);
    put16(out, 0); // reserved
    put16(out, 1); // an icon
    put16(out, 1); // one image
    out.append(char(w)).append(char(h)).append(char(0)).append(char(0));
    put16(out, 1);  // colour planes
    put16(out, 32); // bits per pixel
    put32(out, imageSize);
    put32(out, 22);

    put32(out, headerSize);
    put32(out, w);
    put32(out, 2 * h); // colours and mask
    put16(out, 1);
    put16(out, 32);
    put32(out, 0); // no compression
    put32(out, colourSize + maskSize);
    for (int i = 0; i < 4; ++i) put32(out, 0);

    for (int row = 0; row < h; ++row) {
        const int y = h - 1 - row;
        for (int x = 0; x < w; ++x) {
            const QRgb pixel = transparent(x, y) ? 0 : in.pixel(x, y);
            out.append(char(qBlue(pixel))).append(char(qGreen(pixel))).append(char(qRed(pixel)));
            out.append(char(transparent(x, y) ? 0 : 0xFF));
        }
    }
    for (int row = 0; row < h; ++row) {
        const int y = h - 1 - row;
        QByteArray line(maskStride, '\0');
        for (int x = 0; x < w; ++x)
            if (transparent(x, y)) line[x / 8] = char(uchar(line[x / 8]) | (0x80 >> (x % 8)));
        out.append(line);
    }
    return out;
}
