#include "TextCodec.h"

#include "FileNameCodec.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>

namespace {

// An iconv descriptor opened once per thread and direction: opening one costs far more than
// converting a line, and constellation data converts one chunk after another.
class IconvPipe {
public:
    IconvPipe(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~IconvPipe() {
        if (ok()) iconv_close(cd_);
    }
    IconvPipe(const IconvPipe&) = delete;
    IconvPipe& operator=(const IconvPipe&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    // The descriptor in its initial shift state, as a fresh conversion needs it.
    iconv_t fresh() {
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
        return cd_;
    }

private:
    iconv_t cd_;
};

IconvPipe& cp932Decoder() {
    thread_local IconvPipe pipe("UTF-16LE", "CP932");
    return pipe;
}

IconvPipe& cp932Encoder() {
    thread_local IconvPipe pipe("CP932", "UTF-16LE");
    return pipe;
}

// Code page 932 keeps 0x00..0x7F as they are (0x5C stays a backslash), so such text needs no iconv.
bool asciiOnly(const QByteArray& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool asciiOnly(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

} // namespace

QString decodeCp932(const QByteArray& bytes) {
    if (bytes.isEmpty()) return {};
    if (asciiOnly(bytes)) return QString::fromLatin1(bytes);
    IconvPipe& pipe = cp932Decoder();
    if (!pipe.ok()) return QString::fromLatin1(bytes);
    const iconv_t cd = pipe.fresh();
    QString out;
    out.reserve(bytes.size());
    char* in = const_cast<char*>(bytes.constData());
    size_t inLeft = static_cast<size_t>(bytes.size());
    char16_t buffer[1024];
    while (inLeft > 0) {
        char* outPtr = reinterpret_cast<char*>(buffer);
        size_t outLeft = sizeof(buffer);
        const size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(reinterpret_cast<const QChar*>(buffer),
                   static_cast<qsizetype>((sizeof(buffer) - outLeft) / sizeof(char16_t)));
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            // EILSEQ or EINVAL (truncated at the end): replace one byte and go on.
            out.append(QChar(0xFFFD));
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

QByteArray encodeCp932(const QString& text, bool* lossless) {
    if (lossless) *lossless = true;
    if (text.isEmpty()) return {};
    if (asciiOnly(text)) return text.toLatin1();
    IconvPipe& pipe = cp932Encoder();
    if (!pipe.ok()) {
        if (lossless) *lossless = false;
        return text.toLatin1();
    }
    const iconv_t cd = pipe.fresh();
    QByteArray out;
    out.reserve(text.size() * 2);
    char* in = reinterpret_cast<char*>(const_cast<QChar*>(text.constData()));
    size_t inLeft = static_cast<size_t>(text.size()) * sizeof(char16_t);
    char buffer[2048];
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof(buffer);
        const size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<qsizetype>(sizeof(buffer) - outLeft));
        if (r == static_cast<size_t>(-1) && errno != E2BIG) {
            if (lossless) *lossless = false;
            out.append('?');
            // Skip a whole surrogate pair when the unconvertible character is one.
            const char16_t unit = *reinterpret_cast<const char16_t*>(in);
            const size_t skip = (QChar::isHighSurrogate(unit) && inLeft >= 4) ? 4 : 2;
            in += skip;
            inLeft -= std::min(skip, inLeft);
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}

bool cp932RoundTrips(const QString& text) {
    bool lossless = true;
    const QByteArray bytes = encodeCp932(text, &lossless);
    return lossless && decodeCp932(bytes) == text;
}

QString decodeText(const QByteArray& bytes, TextEncoding* found) {
    auto set = [&](TextEncoding e) {
        if (found) *found = e;
    };
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        set(TextEncoding::Utf8Bom);
        // Names that are not UTF-8 on disk were written as their raw bytes and come back escaped.
        return decodeFileName(QByteArrayView(bytes).sliced(3));
    }
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) {
        const bool little = static_cast<unsigned char>(bytes[0]) == 0xFF;
        set(little ? TextEncoding::Utf16LE : TextEncoding::Utf16BE);
        QString out;
        out.reserve((bytes.size() - 2) / 2);
        for (qsizetype i = 2; i + 1 < bytes.size(); i += 2) {
            const auto a = static_cast<unsigned char>(bytes[i]);
            const auto b = static_cast<unsigned char>(bytes[i + 1]);
            out.append(QChar(static_cast<char16_t>(little ? (a | b << 8) : (b | a << 8))));
        }
        return out;
    }
    set(TextEncoding::Cp932);
    return decodeCp932(bytes);
}

QStringList splitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n') continue;
        lines.append(text.mid(start, i - start));
        if (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (start < n) lines.append(text.mid(start));
    return lines;
}

QByteArray encodeLines(const QStringList& lines, TextEncoding encoding) {
    QString joined;
    for (const QString& line : lines) {
        joined += line;
        joined += QStringLiteral("\r\n");
    }
    switch (encoding) {
    case TextEncoding::Cp932:
        return encodeCp932(joined);
    case TextEncoding::Utf8Bom:
        return QByteArray("\xEF\xBB\xBF") + encodeFileName(joined);
    case TextEncoding::Utf16LE:
    case TextEncoding::Utf16BE: {
        const bool little = encoding == TextEncoding::Utf16LE;
        QByteArray out(little ? "\xFF\xFE" : "\xFE\xFF", 2);
        for (QChar c : joined) {
            const char16_t u = c.unicode();
            const char lo = static_cast<char>(u & 0xFF), hi = static_cast<char>(u >> 8);
            out.append(little ? lo : hi);
            out.append(little ? hi : lo);
        }
        return out;
    }
    }
    return {};
}

int ansiLength(const QString& text) {
    if (asciiOnly(text)) return static_cast<int>(text.size());
    return static_cast<int>(encodeCp932(text).size());
}
