// Saturating integer steps for the drawing and motion formulas: script values may be huge or NaN,
// and a product such as width x zoom x repetition x ghost must never overflow.
#pragma once

#include "common/Numbers.h"

#include <cstdint>
#include <limits>

inline int64_t satAdd(int64_t a, int64_t b) {
    int64_t r;
    if (__builtin_add_overflow(a, b, &r)) return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    return r;
}
inline int64_t satSub(int64_t a, int64_t b) {
    int64_t r;
    if (__builtin_sub_overflow(a, b, &r)) return b < 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    return r;
}
inline int64_t satMul(int64_t a, int64_t b) {
    int64_t r;
    if (__builtin_mul_overflow(a, b, &r))
        return ((a < 0) != (b < 0)) ? std::numeric_limits<int64_t>::min() : std::numeric_limits<int64_t>::max();
    return r;
}
// Integer division toward zero that never traps (divisor 0 gives 0, MIN / -1 saturates).
inline int64_t divTrunc(int64_t a, int64_t b) {
    if (b == 0) return 0;
    if (b == -1) return satSub(0, a);
    return a / b;
}
// A whole pixel of a tenth-of-a-pixel position, clamped so that later sums stay far from overflow.
inline int64_t pixelOf(double tenths) {
    constexpr int64_t limit = int64_t(1) << 40;
    const int64_t v = truncToInt64(tenths * 0.1);
    return v > limit ? limit : (v < -limit ? -limit : v);
}
// trunc(value) div 10, the other way the formulas take a whole pixel, with the same clamp.
inline int64_t pixelDiv10(double tenths) {
    constexpr int64_t limit = int64_t(1) << 40;
    const int64_t v = truncToInt64(tenths) / 10;
    return v > limit ? limit : (v < -limit ? -limit : v);
}
