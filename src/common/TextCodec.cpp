#include "TextCodec.h"

#include "FileNameCodec.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <memory>

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

// Code page 932 has no shift states, so each character converts on its own. These tables ask
// glibc's iconv once per character met and remember the answer: a conversion then costs a
// lookup instead of an iconv call, and iconv stays the only authority on the mapping.
class Cp932Tables {
public:
    // Decoding. A byte is a character of its own, the lead of a pair, or invalid.
    enum ByteKind : uint8_t { Unknown, Single, Lead, Bad };
    ByteKind byteKind(unsigned char b) {
        if (kinds_[b] == Unknown) learnByte(b);
        return kinds_[b];
    }
    char16_t single(unsigned char b) const { return singles_[b]; }
    // The character of a lead and a trail byte; kNone when the pair is invalid.
    char16_t pair(unsigned char lead, unsigned char trail) {
        if (!pairs_) pairs_ = std::make_unique<char16_t[]>(128 * 256); // zero: not asked yet
        char16_t& slot = pairs_[(lead - 128) * 256 + trail];
        if (slot == 0) slot = convertPair(lead, trail);
        return slot;
    }

    // Encoding of one UTF-16 unit that is neither ASCII nor a surrogate: 1 or 2 bytes, whether it
    // has a form at all ('?' stands in) and whether decoding that form gives the unit back.
    struct Form {
        uint8_t length = 0; // 0: not asked yet
        bool lossless = false;
        bool roundTrips = false;
        char bytes[2] = {};
    };
    const Form& form(char16_t u) {
        if (!forms_) forms_ = std::make_unique<Form[]>(65536);
        Form& f = forms_[u];
        if (f.length == 0) learnForm(u, f);
        return f;
    }

    static constexpr char16_t kNone = 0xFFFF;

private:
    void learnByte(unsigned char b) {
        IconvPipe& pipe = cp932Decoder();
        char in[1] = {static_cast<char>(b)};
        char16_t out[2] = {};
        char* inPtr = in;
        size_t inLeft = 1;
        char* outPtr = reinterpret_cast<char*>(out);
        size_t outLeft = sizeof out;
        const size_t r = pipe.ok() ? iconv(pipe.fresh(), &inPtr, &inLeft, &outPtr, &outLeft) : size_t(-1);
        if (r != size_t(-1) && inLeft == 0 && outLeft == sizeof out - sizeof(char16_t)) {
            kinds_[b] = Single;
            singles_[b] = out[0];
        } else {
            kinds_[b] = r == size_t(-1) && errno == EINVAL ? Lead : Bad;
        }
    }

    char16_t convertPair(unsigned char lead, unsigned char trail) {
        IconvPipe& pipe = cp932Decoder();
        char in[2] = {static_cast<char>(lead), static_cast<char>(trail)};
        char16_t out[2] = {};
        char* inPtr = in;
        size_t inLeft = 2;
        char* outPtr = reinterpret_cast<char*>(out);
        size_t outLeft = sizeof out;
        const size_t r = pipe.ok() ? iconv(pipe.fresh(), &inPtr, &inLeft, &outPtr, &outLeft) : size_t(-1);
        const bool one = r != size_t(-1) && inLeft == 0 && outLeft == sizeof out - sizeof(char16_t);
        return one && out[0] != 0 && out[0] != kNone ? out[0] : kNone;
    }

    void learnForm(char16_t u, Form& f) {
        IconvPipe& pipe = cp932Encoder();
        char16_t in[1] = {u};
        char out[4] = {};
        char* inPtr = reinterpret_cast<char*>(in);
        size_t inLeft = sizeof in;
        char* outPtr = out;
        size_t outLeft = sizeof out;
        const size_t r = pipe.ok() ? iconv(pipe.fresh(), &inPtr, &inLeft, &outPtr, &outLeft) : size_t(-1);
        const size_t made = sizeof out - outLeft;
        if (r == size_t(-1) || inLeft != 0 || made == 0 || made > 2) {
            f = {1, false, false, {'?', 0}};
            return;
        }
        f.length = static_cast<uint8_t>(made);
        f.lossless = true;
        f.bytes[0] = out[0];
        f.bytes[1] = out[1];
        const auto b0 = static_cast<unsigned char>(out[0]);
        char16_t back = kNone;
        if (made == 1 && b0 < 0x80) back = b0;
        else if (made == 1 && byteKind(b0) == Single) back = single(b0);
        else if (made == 2 && byteKind(b0) == Lead) back = pair(b0, static_cast<unsigned char>(out[1]));
        f.roundTrips = back == u;
    }

    ByteKind kinds_[256] = {};
    char16_t singles_[256] = {};
    std::unique_ptr<char16_t[]> pairs_;
    std::unique_ptr<Form[]> forms_;
};

Cp932Tables& cp932Tables() {
    thread_local Cp932Tables tables;
    return tables;
}

// Code page 932 keeps 0x00..0x7F as they are (0x5C stays a backslash), so such text needs no table.
bool asciiOnly(const QString& text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

} // namespace

void appendDecodedCp932(QByteArrayView bytes, QString& out) {
    const qsizetype start = out.size();
    out.resize(start + bytes.size()); // never more UTF-16 units than bytes
    char16_t* o = reinterpret_cast<char16_t*>(out.data()) + start;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* end = p + bytes.size();
    Cp932Tables* tables = nullptr;
    while (p < end) {
        while (p < end && *p < 0x80) *o++ = *p++;
        if (p == end) break;
        if (!tables) tables = &cp932Tables();
        const unsigned char b = *p;
        switch (tables->byteKind(b)) {
        case Cp932Tables::Single:
            *o++ = tables->single(b);
            ++p;
            break;
        case Cp932Tables::Lead: {
            const char16_t c = p + 1 < end ? tables->pair(b, p[1]) : Cp932Tables::kNone;
            // An invalid pair replaces its lead byte only; the byte after it is read afresh.
            *o++ = c == Cp932Tables::kNone ? char16_t(0xFFFD) : c;
            p += c == Cp932Tables::kNone ? 1 : 2;
            break;
        }
        default:
            *o++ = 0xFFFD;
            ++p;
        }
    }
    out.truncate(o - reinterpret_cast<char16_t*>(out.data()));
}

bool appendCp932(QStringView text, QByteArray& out, bool* lossless) {
    const qsizetype start = out.size();
    out.resize(start + text.size() * 2); // at most two bytes per UTF-16 unit
    char* o = out.data() + start;
    const char16_t* p = text.utf16();
    const char16_t* end = p + text.size();
    bool kept = true, trips = true;
    Cp932Tables* tables = nullptr;
    while (p < end) {
        while (p < end && *p < 0x80) *o++ = static_cast<char>(*p++);
        if (p == end) break;
        if (!tables) tables = &cp932Tables();
        const char16_t u = *p;
        if (QChar::isSurrogate(u)) {
            // Nothing outside the basic plane has a form; a pair is one character.
            *o++ = '?';
            kept = trips = false;
            p += QChar::isHighSurrogate(u) && p + 1 < end && QChar::isLowSurrogate(p[1]) ? 2 : 1;
            continue;
        }
        const Cp932Tables::Form& f = tables->form(u);
        *o++ = f.bytes[0];
        if (f.length == 2) *o++ = f.bytes[1];
        kept = kept && f.lossless;
        trips = trips && f.roundTrips;
        ++p;
    }
    out.truncate(o - out.data());
    if (lossless) *lossless = kept;
    return trips;
}

QString decodeCp932(const QByteArray& bytes) {
    QString out;
    appendDecodedCp932(bytes, out);
    return out;
}

QByteArray encodeCp932(const QString& text, bool* lossless) {
    if (asciiOnly(text)) {
        if (lossless) *lossless = true;
        return text.toLatin1();
    }
    QByteArray out;
    appendCp932(text, out, lossless);
    return out;
}

bool cp932RoundTrips(const QString& text) {
    QByteArray scratch;
    return appendCp932(text, scratch);
}

int cp932Length(QStringView text) {
    int bytes = 0;
    Cp932Tables* tables = nullptr;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (u < 0x80) {
            ++bytes;
            continue;
        }
        if (!tables) tables = &cp932Tables();
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
        bytes += QChar::isSurrogate(u) ? 1 : tables->form(u).length;
    }
    return bytes;
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

int ansiLength(const QString& text) { return cp932Length(text); }
