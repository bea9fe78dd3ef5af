// The byte-preserving UTF-8 form of file names. A file system stores names as bytes that need not
// be UTF-8; such a name must still name the same file after it has been shown, stored in
// constellation data and read back. Valid UTF-8 decodes as usual; each byte of an invalid sequence
// becomes a lone low surrogate U+DC80 + (byte - 0x80), and encoding turns those back into bytes.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Decodes bytes as UTF-8, escaping every byte that is not part of a well-formed sequence (lone
// continuation bytes, truncated or overlong sequences, encoded surrogates, values past U+10FFFF)
// as U+DC80..U+DCFF. Never fails; encodeFileName(decodeFileName(b)) == b for every b.
// Cost: linear in the input, one allocation.
QString decodeFileName(QByteArrayView bytes);

// Encodes text as UTF-8, turning lone U+DC80..U+DCFF back into the bytes 0x80..0xFF. Any other
// lone surrogate, which no decoded name holds, becomes '?'. Cost: linear, one allocation.
QByteArray encodeFileName(QStringView text);
