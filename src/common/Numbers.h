// Locale-independent number conversions shared by every reader of program and data text.
#pragma once

#include <QString>
#include <QStringView>
#include <cmath>
#include <cstdint>
#include <limits>

// Truncates toward zero and saturates: NaN gives 0, values beyond the range give its ends.
// The one conversion from script reals to integers; never undefined behaviour.
// Inline because the renderer converts every drawn dot with them.
inline int64_t truncToInt64(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 9223372036854775807.0) return std::numeric_limits<int64_t>::max();
    if (value <= -9223372036854775808.0) return std::numeric_limits<int64_t>::min();
    return static_cast<int64_t>(value);
}
inline int truncToInt(double value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483647.0) return std::numeric_limits<int>::max();
    if (value <= -2147483648.0) return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

// Reads a leading decimal real as the C library's atof does in the "C" locale: optional spaces,
// sign, digits, '.', exponent; stops at the first other character. *used receives the number of
// characters read (0 when no number starts there). Never depends on the process locale.
double parseLeadingNumber(QStringView text, qsizetype* used = nullptr);

// atoi-like: the leading integer part of parseLeadingNumber, saturated.
int parseLeadingInt(QStringView text);
