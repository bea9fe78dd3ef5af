// Reading and writing the system's text files (programs, data, catalogs, constellation data).
#pragma once

#include "Platform.h"
#include "TextCodec.h"

#include <QString>
#include <QStringList>

// Reads a local text file: a byte-order mark selects UTF-8 or UTF-16, otherwise code page 932;
// lines end at CR, LF or CR LF. False (lines untouched, *fault saying why) when the file cannot
// be read.
bool readTextLines(const QString& path, QStringList& lines, TextEncoding* found = nullptr, FileFault* fault = nullptr);

// A local text file read line by line, 256 KiB at a time, with the encodings and line ends
// of readTextLines; memory stays at a piece however large the file (a UTF-16 file, which no
// program of the system writes, is read whole).
class TextLineReader {
public:
    // Opens the file; ok() tells whether that worked. Cost: two system calls.
    explicit TextLineReader(const QString& path);
    // Bytes read at a time.
    static constexpr qint64 kPiece = qint64(1) << 18;
    bool ok() const { return file_.ok(); }
    // Why it did not open (None when it did).
    FileFault fault() const { return file_.fault(); }
    // The file's size when it was opened.
    qint64 size() const { return file_.size(); }
    // The next line without its end in `line`, valid until the next call. False at the end or
    // after a read error (failed()). Cost: amortised linear in the line.
    bool next(QStringView& line);
    bool failed() const { return failed_; }

private:
    bool fill();

    FileChunkReader file_;
    QByteArray raw_; // bytes read but not decoded: the start of a line whose end is still to come
    QString text_;   // decoded whole lines
    qsizetype pos_ = 0;
    bool started_ = false;
    bool atEnd_ = false;
    bool failed_ = false;
    TextEncoding encoding_ = TextEncoding::Cp932;
};

// Reads a local file or, for an http(s) location, fetches it (failures reported by the fetch).
// False on failure, lines untouched.
bool loadTextLines(const QString& location, QStringList& lines);

// Writes lines with CR LF in code page 932 when every character survives it, otherwise as UTF-8
// with a byte-order mark (when allowUtf8Fallback) or not at all. Atomic: a temporary file renamed
// over the target. *used receives the encoding written. False on failure, the target unchanged.
bool writeTextLines(const QString& path, const QStringList& lines, bool allowUtf8Fallback = true,
                    TextEncoding* used = nullptr);
