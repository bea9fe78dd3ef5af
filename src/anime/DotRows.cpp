#include "DotRows.h"

#include "AnimeCanvas.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#if defined(__x86_64__)
#include <immintrin.h>
#define VIMORA_DOT_ROWS_AVX2 1
#endif

namespace {

// Setup values (centres, the screen corner, the depths, row and column numbers) below this in
// size keep every sum and product of the formulas exact in a double, as the scalar walk's int64
// values are, and an unturned row's or a turned character's coordinates below 2^31 (a turn
// grows a vector's parts by at most the square root of 3).
constexpr int64_t kSetupLimit = int64_t(1) << 28;
bool withinSetupLimit(int64_t v) { return v > -kSetupLimit && v < kSetupLimit; }

#if VIMORA_DOT_ROWS_AVX2

// Perspective quotients below this in size: their truncation and the sums after it are exact
// whole numbers that saturate nowhere, as truncToInt64 and satAdd give them.
constexpr double kQuotientLimit = 2147483648.0;

// The target list names AVX2 alone: with fused multiply-adds the compiler could contract a
// product and a sum into one rounding, and the dots would no longer match the scalar walk.
#define VIMORA_AVX2 __attribute__((target("avx2")))

VIMORA_AVX2 inline __m256d set(double v) { return _mm256_set1_pd(v); }
VIMORA_AVX2 inline __m256d add(__m256d a, __m256d b) { return _mm256_add_pd(a, b); }
VIMORA_AVX2 inline __m256d sub(__m256d a, __m256d b) { return _mm256_sub_pd(a, b); }
VIMORA_AVX2 inline __m256d mul(__m256d a, __m256d b) { return _mm256_mul_pd(a, b); }
// truncToInt64 of a value known to be small, kept as a double.
VIMORA_AVX2 inline __m256d truncated(__m256d v) { return _mm256_round_pd(v, _MM_FROUND_TO_ZERO | _MM_FROUND_NO_EXC); }

template <bool turns, bool perspective, bool windowTurns>
VIMORA_AVX2 int64_t drawRowAvx2(const DotRows::Turn& t, const DotRows::Window& w,
                                const DotRows::Target& g, const QRgb* colours, int64_t rxBegin, int64_t n,
                                int64_t ry) {
    const __m256d four = set(4), zero = _mm256_setzero_pd();
    const __m256d lanes = _mm256_set_pd(3, 2, 1, 0);
    // The character's rotation: DotRotation::applyRow's terms, the row's own ones taken once.
    // Its dx = column - centre is a whole number and steps by exactly 4 from group to group.
    const double dy = double(ry) - double(t.centreY), dz = double(0) - double(t.centreZ);
    const __m256d sinZdy = set(t.sinZ * dy), cosZdy = set(t.cosZ * dy);
    const __m256d cosYdz = set(t.cosY * dz), sinYdz = set(t.sinY * dz);
    const __m256d depth0 = set(double(t.depth)), L = set(double(t.viewDistance)), tenth = set(0.1), v500 = set(500);
    const __m256d sX = set(t.sinX), cX = set(t.cosX), sY = set(t.sinY), cY = set(t.cosY), sZ = set(t.sinZ),
                  cZ = set(t.cosZ);
    const __m256d sign = set(-0.0), limit = set(kQuotientLimit);
    // The whole numbers added after the rotation (exact sums: all lie within the setup limit).
    const __m256d cornerX = set(double(t.centreX + g.shiftX)), cornerY = set(double(t.centreY + g.shiftY));
    // The window rotation: AnimeCanvas::putDots' terms. Unturned, a row's dots share their y, so
    // the window's dy and its products are the row's constants and dx steps by 4 as well.
    const double wdz = double(g.dotZ) - double(w.centreZ);
    const double rowDy = double(ry + g.shiftY) + double(w.centreY) - double(w.yBase);
    const __m256d wsinZdy = set(w.sinZ * rowDy), wcosZdy = set(w.cosZ * rowDy);
    const __m256d wcx = set(double(w.centreX)), wcy = set(double(w.centreY)), yBase = set(double(w.yBase));
    const __m256d lastY = set(double(w.yBase - w.centreY));
    const __m256d zX = set(w.sinY * wdz), zY = set(w.cosY * wdz);
    const __m256d wsX = set(w.sinX), wcX = set(w.cosX), wsY = set(w.sinY), wcY = set(w.cosY), wsZ = set(w.sinZ),
                  wcZ = set(w.cosZ);
    const __m256d width = set(double(g.width)), height = set(double(g.height)), stride = set(double(g.strideWords));

    __m256d dx = add(set(double(rxBegin - (turns ? t.centreX : w.centreX - g.shiftX))), lanes);
    int64_t k = 0;
    for (; k + 4 <= n; k += 4, dx = add(dx, four)) {
        __m256d x, y;
        if constexpr (turns) {
            const __m256d x1 = sub(mul(cZ, dx), sinZdy);
            const __m256d y1 = add(mul(sZ, dx), cosZdy);
            const __m256d z1 = sub(cosYdz, mul(sY, x1));
            __m256d qx = add(sinYdz, mul(cY, x1));
            __m256d qy = sub(mul(cX, y1), mul(sX, z1));
            if constexpr (perspective) {
                const __m256d depth = add(depth0, add(mul(sX, y1), mul(cX, z1)));
                const __m256d far = _mm256_cmp_pd(depth, L, _CMP_GE_OQ);
                const __m256d D = _mm256_blendv_pd(sub(L, depth), tenth, far);
                qx = _mm256_div_pd(mul(qx, v500), D);
                qy = _mm256_div_pd(mul(qy, v500), D);
                // Near the eye the quotients grow without bound; those groups go the scalar way.
                const __m256d large = _mm256_cmp_pd(_mm256_max_pd(_mm256_andnot_pd(sign, qx), _mm256_andnot_pd(sign, qy)),
                                                    limit, _CMP_GE_OQ);
                if (_mm256_movemask_pd(large)) break;
            }
            x = add(truncated(qx), cornerX);
            y = add(truncated(qy), cornerY);
            if constexpr (windowTurns) {
                const __m256d dxw = sub(x, wcx);
                const __m256d dyw = sub(add(y, wcy), yBase);
                const __m256d x1w = sub(mul(wcZ, dxw), mul(wsZ, dyw));
                const __m256d y1w = add(mul(wsZ, dxw), mul(wcZ, dyw));
                const __m256d z1w = sub(zY, mul(wsY, x1w));
                x = add(truncated(add(zX, mul(wcY, x1w))), wcx);
                y = add(truncated(sub(mul(wcX, y1w), mul(wsX, z1w))), lastY);
            }
        } else {
            const __m256d x1w = sub(mul(wcZ, dx), wsinZdy);
            const __m256d y1w = add(mul(wsZ, dx), wcosZdy);
            const __m256d z1w = sub(zY, mul(wsY, x1w));
            x = add(truncated(add(zX, mul(wcY, x1w))), wcx);
            y = add(truncated(sub(mul(wcX, y1w), mul(wsX, z1w))), lastY);
        }
        const __m256d visible = _mm256_and_pd(
            _mm256_and_pd(_mm256_cmp_pd(x, zero, _CMP_GE_OQ), _mm256_cmp_pd(x, width, _CMP_LT_OQ)),
            _mm256_and_pd(_mm256_cmp_pd(y, zero, _CMP_GE_OQ), _mm256_cmp_pd(y, height, _CMP_LT_OQ)));
        const __m128i transparent =
            _mm_cmpeq_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(colours + k)), _mm_setzero_si128());
        unsigned drawn = unsigned(_mm256_movemask_pd(visible)) & ~unsigned(_mm_movemask_ps(_mm_castsi128_ps(transparent)));
        if (!drawn) continue;
        // Lanes that are not drawn may hold any index; only drawn ones are used.
        alignas(16) int32_t at[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(at), _mm256_cvttpd_epi32(add(mul(y, stride), x)));
        // In order, so that a later dot on the same pixel wins as it does one by one. Transparent
        // dots come in runs in pictures, and a zoom repeats each one, so the branch is predictable:
        // measured against storing every lane through a sink address, it takes a third less time.
        if (drawn == 15) {
            g.bits[at[0]] = colours[k], g.bits[at[1]] = colours[k + 1];
            g.bits[at[2]] = colours[k + 2], g.bits[at[3]] = colours[k + 3];
            continue;
        }
        for (; drawn; drawn &= drawn - 1) {
            const int lane = __builtin_ctz(drawn);
            g.bits[at[lane]] = colours[k + lane];
        }
    }
    return k;
}

// takeColours' eight at a time: columns < 0 and dots of -1 become 0, the rest RGB32 pixels.
VIMORA_AVX2 int64_t takeColoursAvx2(const int32_t* source, const int32_t* columns, int64_t n, QRgb* out) {
    const __m256i none = _mm256_set1_epi32(-1), zero = _mm256_setzero_si256(), alpha = _mm256_set1_epi32(int(0xFF000000u));
    // 0x00BBGGRR to 0xAARRGGBB: bytes 2, 1, 0 of each dot, the fourth cleared for the alpha.
    const __m256i order = _mm256_setr_epi8(2, 1, 0, -128, 6, 5, 4, -128, 10, 9, 8, -128, 14, 13, 12, -128, 2, 1, 0, -128,
                                           6, 5, 4, -128, 10, 9, 8, -128, 14, 13, 12, -128);
    int64_t k = 0;
    for (; k + 8 <= n; k += 8) {
        const __m256i column = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(columns + k));
        const __m256i dot = _mm256_i32gather_epi32(reinterpret_cast<const int*>(source), _mm256_max_epi32(column, zero), 4);
        const __m256i hidden = _mm256_or_si256(_mm256_cmpeq_epi32(dot, none), _mm256_cmpgt_epi32(zero, column));
        const __m256i rgb = _mm256_or_si256(_mm256_shuffle_epi8(dot, order), alpha);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + k), _mm256_andnot_si256(hidden, rgb));
    }
    return k;
}

#endif

} // namespace

void DotRows::takeColours(const int32_t* source, const int32_t* columns, int64_t n, QRgb* out) {
    int64_t k = 0;
#if VIMORA_DOT_ROWS_AVX2
    if (available()) k = takeColoursAvx2(source, columns, n, out);
#endif
    for (; k < n; ++k) { // transparent dots are scattered: masks, not branches
        const int32_t v = source[std::max(columns[k], 0)];
        const QRgb keep = (columns[k] >= 0) & (v != -1) ? ~QRgb(0) : QRgb(0);
        out[k] = rgbOfColor(uint32_t(v)) & keep;
    }
}

bool DotRows::available() {
#if VIMORA_DOT_ROWS_AVX2
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
#else
    return false;
#endif
}

bool DotRows::setUp(const Turn* turn, const Window* window, const Target& target) {
    if (!available() || (!turn && !window) || !target.bits || target.width <= 0 || target.height <= 0) return false;
    turns_ = turn != nullptr, windowTurns_ = window != nullptr;
    if (turn) turn_ = *turn;
    if (window) window_ = *window;
    target_ = target;
    // NaN angles make every dot's arithmetic NaN, which the scalar walk turns into zeros.
    const auto finite = [](std::initializer_list<double> values) {
        return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
    };
    if (turn && !finite({turn->sinX, turn->cosX, turn->sinY, turn->cosY, turn->sinZ, turn->cosZ})) return false;
    if (window && !finite({window->sinX, window->cosX, window->sinY, window->cosY, window->sinZ, window->cosZ}))
        return false;
    bool small = withinSetupLimit(target.shiftX) && withinSetupLimit(target.shiftY) && withinSetupLimit(target.dotZ);
    if (turn)
        small = small && withinSetupLimit(turn->centreX) && withinSetupLimit(turn->centreY) &&
                withinSetupLimit(turn->centreZ) && withinSetupLimit(turn->depth);
    if (window)
        small = small && withinSetupLimit(window->centreX) && withinSetupLimit(window->centreY) &&
                withinSetupLimit(window->centreZ) && withinSetupLimit(window->yBase);
    return small;
}

int64_t DotRows::drawRow(const QRgb* rowColours, int64_t rxBegin, int64_t n, int64_t ry) const {
#if VIMORA_DOT_ROWS_AVX2
    // Row and column numbers are bounded by the dot budget; anything else goes the scalar way.
    if (!withinSetupLimit(ry) || !withinSetupLimit(rxBegin) || !withinSetupLimit(n)) return 0;
    const Turn& t = turn_;
    const Window& w = window_;
    const Target& g = target_;
    if (!turns_) return drawRowAvx2<false, false, true>(t, w, g, rowColours, rxBegin, n, ry);
    if (turn_.perspective)
        return windowTurns_ ? drawRowAvx2<true, true, true>(t, w, g, rowColours, rxBegin, n, ry)
                            : drawRowAvx2<true, true, false>(t, w, g, rowColours, rxBegin, n, ry);
    return windowTurns_ ? drawRowAvx2<true, false, true>(t, w, g, rowColours, rxBegin, n, ry)
                        : drawRowAvx2<true, false, false>(t, w, g, rowColours, rxBegin, n, ry);
#else
    (void)rowColours, (void)rxBegin, (void)n, (void)ry;
    return 0;
#endif
}
