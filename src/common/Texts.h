// Texts of sizes, digit groups and packed time stamps, and the image kind of a file.
#pragma once

#include <QString>
#include <cstdint>
#include <ctime>

// Five-character size text: " 1023", "1.50k", " 512m", "1000k", "2.00t".
QString sizeText(uint64_t bytes);

// Right-aligns the digits to `width` characters with "," every three digits; digits beyond the
// width are lost. width < 128.
QString commaText(const QString& digits, int width);

// Packed time stamp YYYYMMDDhhmmss of a file's modification time (seconds since the epoch),
// in local time.
uint64_t fileTimeNumber(std::time_t modified);

// Reads up to six groups of digits ("2010/05/03 12:30:00" -> 20100503123000; "2010/5/3" -> 20100503).
uint64_t dateNumber(const QString& text);

// "YYYY/MM/DD hh:mm:ss" of a packed time stamp (19 characters).
QString dateText(uint64_t packed);

// A real as the script shows it: no fractional part -> integer digits, else six decimals.
// Independent of the process locale.
QString numberText(double value);

// Key of the image kind table ("jpeg", "jpg", "png", "gif", "iff1", "tiff2", "bmp", "pic") chosen
// by the extension, or "non". With verify, the file's first 8 bytes must carry the signature.
QString imageKind(const QString& path, bool verify);
