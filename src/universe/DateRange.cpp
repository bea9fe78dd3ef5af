#include "DateRange.h"

#include "common/Texts.h"

uint64_t rangeStamp(const QString& text, bool end) {
    uint64_t n = dateNumber(text);
    if (n == 0) return 0;
    int digits = 0;
    for (uint64_t v = n; v; v /= 10) ++digits;
    static const int lowest[] = {1, 1, 0, 0, 0}, highest[] = {12, 31, 23, 59, 59};
    for (int group = (digits - 4 + 1) / 2; group < 5 && digits < 14; ++group, digits += 2)
        n = n * 100 + static_cast<uint64_t>(end ? highest[group] : lowest[group]);
    return n;
}
