#include "TextFile.h"

#include "Fetch.h"
#include "Platform.h"

bool readTextLines(const QString& path, QStringList& lines, TextEncoding* found) {
    QByteArray bytes;
    if (!readFileBytes(path, bytes)) return false;
    lines = splitLines(decodeText(bytes, found));
    return true;
}

bool loadTextLines(const QString& location, QStringList& lines) {
    if (!isHttpLocation(location)) return readTextLines(location, lines);
    QStringList fetched;
    if (fetchLines(location, fetched) == 0) return false;
    lines = std::move(fetched);
    return true;
}

bool writeTextLines(const QString& path, const QStringList& lines, bool allowUtf8Fallback, TextEncoding* used) {
    TextEncoding encoding = TextEncoding::Cp932;
    for (const QString& line : lines) {
        if (!cp932RoundTrips(line)) {
            if (!allowUtf8Fallback) return false;
            encoding = TextEncoding::Utf8Bom;
            break;
        }
    }
    if (used) *used = encoding;
    return writeFileAtomic(path, encodeLines(lines, encoding));
}
