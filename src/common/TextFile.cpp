#include "TextFile.h"

#include "Fetch.h"
#include "FileNameCodec.h"
#include "Platform.h"

bool readTextLines(const QString& path, QStringList& lines, TextEncoding* found, FileFault* fault) {
    QByteArray bytes;
    if (!readFileBytes(path, bytes, kMaxReadBytes, fault)) return false;
    lines = splitLines(decodeText(bytes, found));
    return true;
}

TextLineReader::TextLineReader(const QString& path) : file_(path) {}

bool TextLineReader::fill() {
    text_.clear();
    pos_ = 0;
    if (atEnd_ || failed_ || !file_.ok()) return false;
    const qint64 n = file_.readInto(raw_, kPiece);
    if (n < 0) {
        failed_ = true;
        return false;
    }
    if (!started_ && (raw_.size() >= 3 || n == 0)) {
        started_ = true;
        if (raw_.startsWith("\xEF\xBB\xBF")) {
            encoding_ = TextEncoding::Utf8Bom;
            raw_.remove(0, 3);
        } else if (raw_.startsWith("\xFF\xFE") || raw_.startsWith("\xFE\xFF")) {
            encoding_ = TextEncoding::Utf16LE;
        }
    }
    atEnd_ = n == 0;
    if (!started_ || (encoding_ == TextEncoding::Utf16LE && !atEnd_)) return true;
    // Only whole lines are decoded: LF and CR are never part of a code page 932 or UTF-8
    // sequence, and a CR is kept back when the LF of its CR LF may still be to come.
    qsizetype cut = raw_.size();
    if (!atEnd_) {
        cut = raw_.lastIndexOf('\n') + 1;
        if (cut == 0) {
            cut = raw_.lastIndexOf('\r', raw_.size() - 2) + 1;
            if (cut == 0) return true;
        }
    }
    const QByteArrayView whole(raw_.constData(), cut);
    if (encoding_ == TextEncoding::Cp932) appendDecodedCp932(whole, text_);
    else if (encoding_ == TextEncoding::Utf8Bom) text_ = decodeFileName(whole);
    else text_ = decodeText(raw_);
    raw_.remove(0, cut);
    return true;
}

bool TextLineReader::next(QStringView& line) {
    while (pos_ >= text_.size())
        if (!fill() && pos_ >= text_.size()) return false;
    const qsizetype start = pos_;
    const QChar* data = text_.constData();
    qsizetype i = start;
    while (i < text_.size() && data[i] != u'\r' && data[i] != u'\n') ++i;
    line = QStringView(data + start, i - start);
    if (i < text_.size() && data[i] == u'\r' && i + 1 < text_.size() && data[i + 1] == u'\n') ++i;
    pos_ = i + 1;
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
