// Reading and writing the system's text files (programs, data, catalogs, constellation data).
#pragma once

#include "TextCodec.h"

#include <QString>
#include <QStringList>

// Reads a local text file: a byte-order mark selects UTF-8 or UTF-16, otherwise code page 932;
// lines end at CR, LF or CR LF. False (lines untouched) when the file cannot be read.
bool readTextLines(const QString& path, QStringList& lines, TextEncoding* found = nullptr);

// Reads a local file or, for an http(s) location, fetches it (failures reported by the fetch).
// False on failure, lines untouched.
bool loadTextLines(const QString& location, QStringList& lines);

// Writes lines with CR LF in code page 932 when every character survives it, otherwise as UTF-8
// with a byte-order mark (when allowUtf8Fallback) or not at all. Atomic: a temporary file renamed
// over the target. *used receives the encoding written. False on failure, the target unchanged.
bool writeTextLines(const QString& path, const QStringList& lines, bool allowUtf8Fallback = true,
                    TextEncoding* used = nullptr);
