#include "AnimeFiles.h"

#include "common/Fetch.h"
#include "common/Platform.h"

#include <QBuffer>
#include <QImageReader>
#include <cstdlib>

namespace {

// A BMP frame file larger than this is no frame of an animation.
constexpr qint64 kMaxFrameFileBytes = qint64(256) << 20;

uint32_t readLE(const QByteArray& b, int at, int count) {
    uint32_t v = 0;
    for (int i = count - 1; i >= 0; --i) v = (v << 8) | uint8_t(b[at + i]);
    return v;
}

} // namespace

QString animeDataPath(const QString& base, const QString& name) {
    if (name.contains(u':')) return name;
    if (base.endsWith(u'/') || name.startsWith(u'/')) return base + name;
    return base + u'/' + name;
}

bool bmpHeaderSize(const QByteArray& bytes, int64_t& width, int64_t& height) {
    if (bytes.size() < 26 || bytes[0] != 'B' || bytes[1] != 'M') return false;
    const uint32_t dib = readLE(bytes, 14, 4);
    if (dib == 12) {
        width = int16_t(readLE(bytes, 18, 2));
        height = int16_t(readLE(bytes, 20, 2));
    } else {
        width = int32_t(readLE(bytes, 18, 4));
        height = int32_t(readLE(bytes, 22, 4));
    }
    height = std::llabs(height);
    return width > 0 && height > 0;
}

FrameLoad loadBmpFrame(const QString& path, int64_t maxPixels, QImage& picture, FileFault* fileFault) {
    QByteArray bytes;
    if (isHttpLocation(path)) {
        if (fetchData(path, bytes) == 0) return FrameLoad::Missing;
        bytes.chop(1); // the fetch appends one 0 byte
    } else {
        FileFault fault = FileFault::None;
        if (!readFileBytes(path, bytes, kMaxFrameFileBytes, &fault)) {
            if (fileFault) *fileFault = fault;
            return fault == FileFault::Missing ? FrameLoad::Missing : fault == FileFault::TooLarge ? FrameLoad::TooLarge : FrameLoad::Unreadable;
        }
    }
    return decodeBmpFrame(std::move(bytes), maxPixels, picture);
}

FrameLoad decodeBmpFrame(QByteArray bytes, int64_t maxPixels, QImage& picture) {
    int64_t width = 0, height = 0;
    if (!bmpHeaderSize(bytes, width, height)) return FrameLoad::Unreadable;
    if (width > maxPixels || height > maxPixels || width * height > maxPixels) return FrameLoad::TooLarge;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    QImage image;
    if (!reader.read(&image) || image.isNull()) return FrameLoad::Unreadable;
    picture = image.convertToFormat(QImage::Format_RGB32);
    return FrameLoad::Ok;
}
