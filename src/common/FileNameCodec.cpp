#include "FileNameCodec.h"

namespace {

constexpr char16_t kEscapeBase = 0xDC00; // escaped byte b becomes kEscapeBase + b (b >= 0x80)

bool allAscii(QByteArrayView bytes) {
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

bool allAscii(QStringView text) {
    for (const QChar c : text)
        if (c.unicode() >= 0x80) return false;
    return true;
}

// The code point of the well-formed sequence at bytes[i], or -1 when the lead byte starts none.
// *length receives the sequence's byte count.
int32_t sequenceAt(QByteArrayView bytes, qsizetype i, int* length) {
    const auto lead = static_cast<unsigned char>(bytes[i]);
    int need;
    int32_t cp, lowest;
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1, cp = lead & 0x1F, lowest = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2, cp = lead & 0x0F, lowest = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3, cp = lead & 0x07, lowest = 0x10000;
    } else {
        return -1; // a continuation byte, C0/C1 (always overlong) or F5..FF
    }
    if (bytes.size() - i <= need) return -1;
    for (int k = 1; k <= need; ++k) {
        const auto b = static_cast<unsigned char>(bytes[i + k]);
        if ((b & 0xC0) != 0x80) return -1;
        cp = (cp << 6) | (b & 0x3F);
    }
    // Overlong forms and encoded surrogates would decode to text that encodes to other bytes.
    if (cp < lowest || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return -1;
    *length = need + 1;
    return cp;
}

} // namespace

QString decodeFileName(QByteArrayView bytes) {
    if (allAscii(bytes)) return QString::fromLatin1(bytes);
    QString out(bytes.size(), Qt::Uninitialized); // never more UTF-16 units than bytes
    char16_t* o = reinterpret_cast<char16_t*>(out.data());
    for (qsizetype i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            *o++ = b;
            ++i;
            continue;
        }
        int length = 0;
        const int32_t cp = sequenceAt(bytes, i, &length);
        if (cp < 0) {
            // Only the lead byte is escaped; the bytes after it are looked at afresh.
            *o++ = static_cast<char16_t>(kEscapeBase + b);
            ++i;
            continue;
        }
        const char32_t point = static_cast<char32_t>(cp);
        if (QChar::requiresSurrogates(point)) {
            *o++ = QChar::highSurrogate(point);
            *o++ = QChar::lowSurrogate(point);
        } else {
            *o++ = static_cast<char16_t>(point);
        }
        i += length;
    }
    out.truncate(o - reinterpret_cast<char16_t*>(out.data()));
    return out;
}

QByteArray encodeFileName(QStringView text) {
    if (allAscii(text)) return text.toLatin1();
    QByteArray out;
    out.reserve(text.size() * 3); // the most a single UTF-16 unit takes
    auto put = [&](unsigned value) { out.append(static_cast<char>(value)); };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u < 0x80) {
            put(u);
        } else if (u < 0x800) {
            put(0xC0 | (u >> 6));
            put(0x80 | (u & 0x3F));
        } else if (QChar::isHighSurrogate(u) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            const char32_t cp = QChar::surrogateToUcs4(u, text[i + 1].unicode());
            ++i;
            put(0xF0 | (cp >> 18));
            put(0x80 | ((cp >> 12) & 0x3F));
            put(0x80 | ((cp >> 6) & 0x3F));
            put(0x80 | (cp & 0x3F));
        } else if (u >= kEscapeBase + 0x80 && u <= kEscapeBase + 0xFF) {
            put(u - kEscapeBase);
        } else if (QChar::isSurrogate(u)) {
            put('?');
        } else {
            put(0xE0 | (u >> 12));
            put(0x80 | ((u >> 6) & 0x3F));
            put(0x80 | (u & 0x3F));
        }
    }
    return out;
}
