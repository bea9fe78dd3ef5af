// Locale-independent number conversions shared by every reader of program and data text.
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>

// Truncates toward zero and saturates: NaN gives 0, values beyond the range give its ends.
// The one conversion from script reals to integers; never undefined behaviour.
int64_t truncToInt64(double value);
int truncToInt(double value);

// Reads a leading decimal real as the C library's atof does in the "C" locale: optional spaces,
// sign, digits, '.', exponent; stops at the first other character. *used receives the number of
// characters read (0 when no number starts there). Never depends on the process locale.
double parseLeadingNumber(QStringView text, qsizetype* used = nullptr);

// atoi-like: the leading integer part of parseLeadingNumber, saturated.
int parseLeadingInt(QStringView text);
