// Conversions between the byte encodings the system meets (code page 932, UTF-8, UTF-16) and QString.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

enum class TextEncoding { Cp932, Utf8Bom, Utf16LE, Utf16BE };

// Decodes code page 932 bytes (glibc iconv "CP932", so 0x5C stays a backslash). An invalid or
// truncated sequence becomes U+FFFD and decoding goes on. Cost: linear in the input; ASCII runs
// are copied, other characters looked up in per-thread tables that ask iconv once per character.
QString decodeCp932(const QByteArray& bytes);
// The same, appended to `out` (so a caller can reuse one large buffer). Cost: as above.
void appendDecodedCp932(QByteArrayView bytes, QString& out);

// Encodes to code page 932. Characters without a code page 932 form become '?' and make
// *lossless false (when given). Cost: linear, as decoding.
QByteArray encodeCp932(const QString& text, bool* lossless = nullptr);
// The same, appended to `out`. Returns whether every character survives the round trip back
// (cp932RoundTrips). Cost: as above, no allocation once `out` has room.
bool appendCp932(QStringView text, QByteArray& out, bool* lossless = nullptr);

// True when the text survives encodeCp932 followed by decodeCp932 unchanged.
bool cp932RoundTrips(const QString& text);

// Decodes a whole text file's bytes: a byte-order mark selects UTF-8 or UTF-16 LE/BE (and is
// dropped), otherwise code page 932. *found receives the encoding that was used. UTF-8 goes through
// decodeFileName, so raw name bytes written by encodeLines come back as the same escapes.
QString decodeText(const QByteArray& bytes, TextEncoding* found = nullptr);

// Splits at CR, LF or CR LF; a final line end does not add an empty line. Cost: linear.
QStringList splitLines(const QString& text);

// Joins lines with CR LF after each line and encodes them; Utf8Bom and the UTF-16 forms
// write their byte-order mark first. Utf8Bom writes escaped name bytes (see FileNameCodec.h)
// back as the raw bytes. Cost: linear.
QByteArray encodeLines(const QStringList& lines, TextEncoding encoding);

// Length in bytes of the text in code page 932 (a double-byte character counts two).
// Cost: linear; ASCII text needs no conversion.
int ansiLength(const QString& text);
int cp932Length(QStringView text);
