#include "AnimeRenderer.h"

#include "AnimeCanvas.h"
#include "AnimeInfo.h"
#include "AnimeMath.h"
#include "AnimeState.h"
#include "AnimeText.h"
#include "AnimeView.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

int64_t clamp40(int64_t v) {
    constexpr int64_t limit = int64_t(1) << 40;
    return std::clamp(v, -limit, limit);
}

// First n >= 0 with floor(n * g / 100) >= t, for g >= 1.
int64_t firstStepReaching(int64_t t, int64_t g) {
    if (t <= 0) return 0;
    const int64_t a = satMul(t, 100);
    return a / g + (a % g != 0 ? 1 : 0);
}

// The drawing factors of one axis: magnification f and reduction divisor q.
struct Factor {
    int64_t f = 1, q = 1;
};
Factor factorOf(int zoom, int dotZoom, int mult, bool reductionTakesMult) {
    if (zoom >= 1) return {int64_t(zoom) * dotZoom, 1};
    const int64_t f = reductionTakesMult ? int64_t(dotZoom) * mult : dotZoom;
    return {std::max<int64_t>(f, 1), std::max<int64_t>(-int64_t(zoom), 1)};
}

// The dot walk of a pixel picture; one object per character and frame.
class DotWalk {
public:
    DotWalk(AnimeInfo& c, const FrameContext& frame) : c_(c), frame_(frame), canvas_(frame.canvas) {}

    void run(int64_t sx, int64_t sy, Factor fx, Factor fy, int64_t hx, int64_t hy, int64_t hz, int64_t pz);

private:
    void drawDot(int64_t dx, int64_t dy, uint32_t color);
    // The rest of drawDot after the rotation: perspective, ghost and the shift to the screen.
    [[gnu::always_inline]] void place(int64_t& dx, int64_t& dy) const {
        if (perspective_) perspective(frame_.viewDistance, dx, dy, pixelDiv10(c_.Z));
        if (c_.ghostX != 100) dx = satMul(dx, c_.ghostX) / 100;
        if (c_.ghostY != 100) dy = satMul(dy, c_.ghostY) / 100;
        dx = satAdd(sx_, dx), dy = satAdd(sy_, dy);
    }
    // One row of single dots of a rotated character or under the window rotation, `span` output
    // columns from rxBegin, all that the budget allows; false when the budget ran out in it.
    // A function of its own, so that its loop keeps its values in registers.
    [[gnu::noinline]] bool drawRotatedRow(const int32_t* source, const int32_t* columns, int64_t rxBegin, int64_t span,
                                          int64_t ry);
    template <bool rotates, bool windowRotates>
    int64_t rotatedRowDots(const int32_t* source, const int32_t* columns, int64_t rxBegin, int64_t from,
                           int64_t allowed, int64_t ry);
    // Hands the walk's turns to the vector rows when this processor and the values allow it.
    void setUpVectorRows();
    void drawPlainRows(int frameIndex, Factor fx, Factor fy, int64_t perTileX, int64_t perTileY, int64_t rxBegin,
                       int64_t rxEnd, int64_t ryBegin, int64_t ryEnd);
    bool spend(int64_t count) {
        budget_ -= count;
        return budget_ > 0;
    }

    AnimeInfo& c_;
    const FrameContext& frame_;
    AnimeCanvas& canvas_;
    int64_t budget_ = kDotBudget;
    int64_t sx_ = 0, sy_ = 0, pz_ = 0, hx_ = 0, hy_ = 0, hz_ = 0;
    int64_t z_ = 0; // the depth every dot is put at
    int64_t bx_ = 1, by_ = 1;
    bool rotates_ = false, perspective_ = false, clipLoops_ = false;
    std::optional<DotRotation> rotation_;
    // The row walk's buffers, sized once per character: the output columns as doubles, the
    // rotated offsets, and the dots waiting for the window rotation.
    std::vector<double> columnValues_, rotatedX_, rotatedY_, dotX_, dotY_;
    std::vector<uint32_t> dotColors_;
    // The vector rows and the picture colours of the source row they were last given (0 for a
    // transparent dot): zoomed pictures repeat each source row, and its colours are taken once.
    std::optional<DotRows> vectorRows_;
    std::vector<QRgb> rowColours_;
    const int32_t* rowColoursSource_ = nullptr;
};

void DotWalk::run(int64_t sx, int64_t sy, Factor fx, Factor fy, int64_t hx, int64_t hy, int64_t hz, int64_t pz) {
    sx_ = sx, sy_ = sy, pz_ = pz, hx_ = hx, hy_ = hy, hz_ = hz;
    const int L = frame_.viewDistance;
    if ((c_.disp & 8) && L > c_.box.nearZ) {
        bx_ = by_ = truncToInt64(500.0 / double(L - c_.box.nearZ) + 0.999);
    } else {
        bx_ = c_.balloonX, by_ = c_.balloonY;
    }
    rotates_ = c_.angleX != 0 || c_.angleY != 0 || c_.angleZ != 0 || ((c_.disp & 4) && !(c_.disp & 16));
    perspective_ = (c_.disp & 16) != 0;
    clipLoops_ = !rotates_ && !perspective_ && !canvas_.rotation().active();
    if (rotates_) rotation_.emplace(c_, L, hx, hy, hz, pz);

    const int64_t w = c_.width, h = c_.height;
    if (w <= 0 || h <= 0 || c_.multX <= 0 || c_.multY <= 0) return;
    // Output columns of one tile: the repetitions nx = x * fx + j taken where nx mod qx = 0.
    const int64_t perTileX = satAdd(satMul(w, fx.f), fx.q - 1) / fx.q;
    const int64_t perTileY = satAdd(satMul(h, fy.f), fy.q - 1) / fy.q;
    int64_t rxEnd = satMul(perTileX, c_.multX), ryEnd = satMul(perTileY, c_.multY);
    int64_t rxBegin = 0, ryBegin = 0;
    if (clipLoops_) {
        // Dots only move right and down as the counters grow, so the visible counters form a range.
        const int64_t gx = c_.ghostX, gy = c_.ghostY;
        const int64_t ext = std::max<int64_t>({bx_, by_, 1});
        rxBegin = std::max(rxBegin, firstStepReaching(1 - sx - ext, gx));
        rxEnd = std::min(rxEnd, firstStepReaching(canvas_.width() - sx, gx));
        ryBegin = std::max(ryBegin, firstStepReaching(1 - sy - ext, gy));
        ryEnd = std::min(ryEnd, firstStepReaching(canvas_.height() - sy, gy));
    }
    const int frameIndex = c_.currentFrame;
    if (clipLoops_ && c_.ghostX == 100 && c_.ghostY == 100 && bx_ < 2 && by_ < 2) {
        drawPlainRows(frameIndex, fx, fy, perTileX, perTileY, rxBegin, rxEnd, ryBegin, ryEnd);
        return;
    }
    if (frameIndex < 0 || frameIndex >= c_.pixelFrames) return; // every dot transparent
    // The source column of each output column is the same in every row: one division per column
    // instead of one per dot. Walks wider than the budget end within their first row anyway.
    const int64_t span = std::min(std::max<int64_t>(rxEnd - rxBegin, 0), budget_);
    std::vector<int32_t> columns(static_cast<size_t>(span));
    for (int64_t k = 0; k < span; ++k) {
        const int64_t column = (((rxBegin + k) % perTileX) * fx.q) / fx.f;
        columns[size_t(k)] = column < c_.pixelWidth ? int32_t(column) : -1;
    }
    z_ = satMul(pz_, frame_.zoomZ);
    // Single dots that turn are taken a row at a time; balloons and the reference go dot by dot.
    const bool rowWise = !frame_.dotByDot && bx_ < 2 && by_ < 2 && (rotation_ || canvas_.rotation().active());
    if (rowWise) {
        columnValues_.resize(size_t(span));
        for (int64_t k = 0; k < span; ++k) columnValues_[size_t(k)] = double(rxBegin + k);
        for (auto* buffer : {&rotatedX_, &rotatedY_, &dotX_, &dotY_}) buffer->resize(size_t(span));
        dotColors_.resize(size_t(span));
        setUpVectorRows();
        if (vectorRows_) rowColours_.resize(size_t(span));
    }
    for (int64_t ry = ryBegin; ry < ryEnd; ++ry) {
        const int64_t row = ((ry % perTileY) * fy.q) / fy.f;
        if (!spend(1)) return;
        if (row >= c_.pixelHeight) { // a transparent row still costs its dots
            if (!spend(rxEnd - rxBegin)) return;
            continue;
        }
        const int32_t* source = c_.pixels.data() + (size_t(frameIndex) * size_t(c_.pixelHeight) + size_t(row)) * size_t(c_.pixelWidth);
        if (rowWise) {
            if (!drawRotatedRow(source, columns.data(), rxBegin, span, ry)) return;
            if (span < rxEnd - rxBegin) return;
            continue;
        }
        for (int64_t k = 0; k < span; ++k) {
            const int32_t column = columns[size_t(k)];
            if (!spend(1)) return;
            if (column < 0) continue;
            const int32_t v = source[column];
            if (v != -1) drawDot(rxBegin + k, ry, uint32_t(v));
        }
        if (span < rxEnd - rxBegin) return; // the budget is spent
    }
}

void DotWalk::drawPlainRows(int frameIndex, Factor fx, Factor fy, int64_t perTileX, int64_t perTileY, int64_t rxBegin,
                            int64_t rxEnd, int64_t ryBegin, int64_t ryEnd) {
    // Nothing transforms the dots: each output row is a run of picture pixels, the source column
    // of every output column is the same in all rows, and the loops are already clipped.
    if (rxBegin >= rxEnd || frameIndex < 0 || frameIndex >= c_.pixelFrames) return;
    std::vector<int32_t> columns(size_t(rxEnd - rxBegin));
    for (int64_t rx = rxBegin; rx < rxEnd; ++rx) {
        const int64_t column = ((rx % perTileX) * fx.q) / fx.f;
        columns[size_t(rx - rxBegin)] = column < c_.pixelWidth ? int32_t(column) : -1;
    }
    // Output column k shows source column rxBegin + k when the picture is neither zoomed nor repeated.
    const bool contiguous = fx.f == 1 && fx.q == 1 && rxEnd <= perTileX && rxEnd <= c_.pixelWidth;
    // The columns that land on the picture, so the row loop needs no test per dot.
    const int64_t kBegin = std::clamp<int64_t>(-(sx_ + rxBegin), 0, rxEnd - rxBegin);
    const int64_t kEnd = std::clamp<int64_t>(canvas_.width() - (sx_ + rxBegin), kBegin, rxEnd - rxBegin);
    std::vector<QRgb> colours(contiguous ? 0 : size_t(kEnd - kBegin));
    const int32_t* coloursSource = nullptr;
    // Row ry shows source row ry when the picture is neither zoomed nor repeated down.
    const bool straightDown = fy.f == 1 && fy.q == 1 && ryEnd <= perTileY;
    for (int64_t ry = ryBegin; ry < ryEnd; ++ry) {
        const int64_t row = straightDown ? ry : ((ry % perTileY) * fy.q) / fy.f;
        const int64_t y = sy_ + ry;
        if (row >= c_.pixelHeight || y < 0 || y >= canvas_.height()) continue;
        const int32_t* source = c_.pixels.data() + (size_t(frameIndex) * size_t(c_.pixelHeight) + size_t(row)) * size_t(c_.pixelWidth);
        QRgb* target = canvas_.row(y);
        const int64_t base = sx_ + rxBegin; // base + k lies on the picture for k in [kBegin, kEnd)
        if (contiguous) { // the common unzoomed picture: a straight run the compiler vectorises
            for (int64_t k = kBegin; k < kEnd; ++k) {
                const int32_t v = source[rxBegin + k];
                const QRgb keep = v == -1 ? ~QRgb(0) : QRgb(0);
                QRgb& dot = target[base + k];
                dot = (dot & keep) | (rgbOfColor(uint32_t(v)) & ~keep);
            }
            continue;
        }
        // Zoomed or repeated: a zoom repeats each source row, so its pixels are taken once and
        // then laid down as a masked copy the compiler vectorises (0 marks a transparent dot).
        if (source != coloursSource) {
            DotRows::takeColours(source, columns.data() + kBegin, kEnd - kBegin, colours.data());
            coloursSource = source;
        }
        QRgb* out = target + base + kBegin;
        for (int64_t k = 0; k < kEnd - kBegin; ++k) out[k] = colours[size_t(k)] ? colours[size_t(k)] : out[k];
    }
}

bool DotWalk::drawRotatedRow(const int32_t* source, const int32_t* columns, int64_t rxBegin, int64_t span,
                             int64_t ry) {
    // Dot k spends the budget before it is drawn, and the walk ends on the dot that empties it.
    const int64_t allowed = std::clamp<int64_t>(budget_ - 1, 0, span);
    const bool exhausted = budget_ - span <= 0;
    budget_ -= span;
    // The vector rows draw what they can from the start of the row; the scalar walk below the rest.
    int64_t from = 0;
    if (vectorRows_) {
        if (source != rowColoursSource_) {
            DotRows::takeColours(source, columns, span, rowColours_.data());
            rowColoursSource_ = source;
        }
        from = vectorRows_->drawRow(rowColours_.data(), rxBegin, allowed, ry);
        if (from == allowed) return !exhausted;
    }
    if (rotation_)
        rotation_->applyRow(columnValues_.data() + from, ry, allowed - from, rotatedX_.data() + from,
                            rotatedY_.data() + from);
    if (!canvas_.rotation().active()) {
        if (rotation_) rotatedRowDots<true, false>(source, columns, rxBegin, from, allowed, ry);
        else rotatedRowDots<false, false>(source, columns, rxBegin, from, allowed, ry);
        return !exhausted;
    }
    const int64_t n = rotation_ ? rotatedRowDots<true, true>(source, columns, rxBegin, from, allowed, ry)
                                : rotatedRowDots<false, true>(source, columns, rxBegin, from, allowed, ry);
    canvas_.putDots(n, dotX_.data(), dotY_.data(), z_, dotColors_.data());
    return !exhausted;
}

// The dots of one row after the character's rotation: drawn, or under the window rotation
// gathered for it (their number returned).
template <bool rotates, bool windowRotates>
int64_t DotWalk::rotatedRowDots(const int32_t* source, const int32_t* columns, int64_t rxBegin, int64_t from,
                                int64_t allowed, int64_t ry) {
    // Transparent dots are scattered through most pictures and the picture's edge cuts rows
    // anywhere: both are data here, not branches. A dot that is not drawn goes to `sink`.
    const uint64_t width = uint64_t(canvas_.width()), height = uint64_t(canvas_.height());
    const int64_t cx = rotation_ ? rotation_->centreX() : 0, cy = rotation_ ? rotation_->centreY() : 0;
    const double* rotatedX = rotatedX_.data();
    const double* rotatedY = rotatedY_.data();
    double* dotX = dotX_.data();
    double* dotY = dotY_.data();
    uint32_t* dotColors = dotColors_.data();
    QRgb sink = 0;
    int64_t n = 0;
    for (int64_t k = from; k < allowed; ++k) {
        const int32_t column = columns[k];
        const int32_t v = source[std::max(column, 0)];
        const bool opaque = (column >= 0) & (v != -1);
        int64_t dx = rxBegin + k, dy = ry;
        if constexpr (rotates) {
            dx = satAdd(cx, truncToInt64(rotatedX[k]));
            dy = satAdd(cy, truncToInt64(rotatedY[k]));
        }
        place(dx, dy);
        if constexpr (!windowRotates) {
            const bool visible = opaque & (uint64_t(dx) < width) & (uint64_t(dy) < height);
            QRgb* target = visible ? canvas_.row(dy) + dx : &sink;
            *target = rgbOfColor(uint32_t(v));
        } else {
            // The window rotation starts with double(x), as rotateWindowPoint does.
            dotX[n] = double(dx), dotY[n] = double(dy);
            dotColors[n] = uint32_t(v);
            n += opaque;
        }
    }
    return n;
}

void DotWalk::setUpVectorRows() {
    // The vector rows know neither the ghost nor the whole-character perspective.
    if (!DotRows::available() || perspective_ || c_.ghostX != 100 || c_.ghostY != 100) return;
    if (canvas_.width() <= 0 || canvas_.height() <= 0) return;
    const DotRows::Target target{canvas_.row(0), canvas_.strideWords(), canvas_.width(), canvas_.height(),
                                        sx_, sy_, z_};
    std::optional<DotRows::Turn> turn;
    if (rotation_) turn = rotation_->rowTurn();
    std::optional<DotRows::Window> window;
    if (canvas_.rotation().active()) window = canvas_.rowWindow();
    DotRows rows;
    if (rows.setUp(turn ? &*turn : nullptr, window ? &*window : nullptr, target)) vectorRows_ = rows;
}

void DotWalk::drawDot(int64_t dx, int64_t dy, uint32_t color) {
    int64_t dz = 0;
    if (rotation_) rotation_->apply(dx, dy, dz);
    place(dx, dy);
    const int64_t z = z_;
    const int64_t x0 = dx, y0 = dy;
    if (bx_ < 2 && by_ < 2) {
        canvas_.putDot(x0, y0, z, color);
        return;
    }
    // A rounded dot: row 0 is never drawn; the indent shrinks, stays 0, then grows again.
    const bool clip = !canvas_.rotation().active();
    int64_t i = bx_ / 4;
    for (int64_t r = 1; r < by_; ++r) {
        const int64_t y = satAdd(y0, r);
        if (clip && y >= canvas_.height()) break;
        if (!clip || y >= 0) {
            int64_t jBegin = i, jEnd = bx_ - i; // columns i .. bx - i - 1
            if (clip) {
                jBegin = std::max(jBegin, -x0);
                jEnd = std::min(jEnd, satSub(canvas_.width(), x0));
            }
            if (!spend(1 + std::max<int64_t>(jEnd - jBegin, 0))) return;
            for (int64_t j = jBegin; j < jEnd; ++j) canvas_.putDot(x0 + j, y, z, color);
        } else if (!spend(1)) {
            return;
        }
        if (r < by_ / 4) {
            if (i > 0) --i;
        } else if (r < (3 * by_) / 4) {
            i = 0;
        } else if (i < bx_ / 4) {
            ++i;
        }
    }
}

} // namespace

void perspective(int viewDistance, int64_t& x, int64_t& y, int64_t z) {
    const double D = z >= viewDistance ? 0.1 : double(viewDistance) - double(z);
    x = truncToInt64(double(x) * 500 / D);
    y = truncToInt64(double(y) * 500 / D);
}

DotRotation::DotRotation(const AnimeInfo& c, int viewDistance, int64_t hx, int64_t hy, int64_t hz, int64_t pz)
    : cx_(satAdd(hx, truncToInt64(c.rsftX) / 10)), cy_(satSub(hy, truncToInt64(c.rsftY) / 10)),
      cz_(satAdd(hz, truncToInt64(c.rsftZ) / 10)), pz_(pz), viewDistance_(viewDistance),
      perspective_((c.disp & 4) && !(c.disp & 16)), sinX_(std::sin(c.angleX)), cosX_(std::cos(c.angleX)),
      sinY_(std::sin(c.angleY)), cosY_(std::cos(c.angleY)), sinZ_(std::sin(c.angleZ)), cosZ_(std::cos(c.angleZ)) {}

DotRows::Turn DotRotation::rowTurn() const {
    return {sinX_, cosX_, sinY_, cosY_, sinZ_, cosZ_, cx_, cy_, cz_, pz_, viewDistance_, perspective_};
}

void DotRotation::apply(int64_t& x, int64_t& y, int64_t& z) const {
    const double dx = double(x) - double(cx_), dy = double(y) - double(cy_), dz = double(z) - double(cz_);
    const double x1 = cosZ_ * dx - sinZ_ * dy;
    const double y1 = sinZ_ * dx + cosZ_ * dy;
    const double z1 = cosY_ * dz - sinY_ * x1;
    double x2 = sinY_ * dz + cosY_ * x1;
    double y2 = cosX_ * y1 - sinX_ * z1;
    const double z2 = sinX_ * y1 + cosX_ * z1;
    if (perspective_) {
        const double depth = double(pz_) + z2;
        const double D = depth >= viewDistance_ ? 0.1 : double(viewDistance_) - depth;
        x2 = double(truncToInt64(x2 * 500 / D));
        y2 = double(truncToInt64(y2 * 500 / D));
    }
    x = satAdd(cx_, truncToInt64(x2));
    y = satAdd(cy_, truncToInt64(y2));
    z = satAdd(cz_, truncToInt64(z2));
}

void DotRotation::applyRow(const double* __restrict xs, int64_t y, int64_t n, double* __restrict outX,
                           double* __restrict outY) const {
    // apply() with z = 0, operation for operation; the terms that do not change along the row are
    // the same products computed once. No branch in the loop, so it runs several dots at a time.
    const double dy = double(y) - double(cy_), dz = double(0) - double(cz_);
    const double cx = double(cx_), sinZdy = sinZ_ * dy, cosZdy = cosZ_ * dy;
    const double cosYdz = cosY_ * dz, sinYdz = sinY_ * dz;
    const double depth0 = double(pz_), L = double(viewDistance_);
    const double sX = sinX_, cX = cosX_, sY = sinY_, cY = cosY_, sZ = sinZ_, cZ = cosZ_;
    if (!perspective_) {
        for (int64_t k = 0; k < n; ++k) {
            const double dx = xs[k] - cx;
            const double x1 = cZ * dx - sinZdy;
            const double y1 = sZ * dx + cosZdy;
            const double z1 = cosYdz - sY * x1;
            outX[k] = sinYdz + cY * x1;
            outY[k] = cX * y1 - sX * z1;
        }
        return;
    }
    int64_t k = 0;
#if defined(__SSE2__)
    // The compiler keeps the choice of the divisor a branch; two dots at a time by hand instead,
    // with the same operations in the same order (a compare that fails for NaN, as `>=` does).
    const __m128d vcx = _mm_set1_pd(cx), vsinZdy = _mm_set1_pd(sinZdy), vcosZdy = _mm_set1_pd(cosZdy);
    const __m128d vcosYdz = _mm_set1_pd(cosYdz), vsinYdz = _mm_set1_pd(sinYdz), vdepth0 = _mm_set1_pd(depth0);
    const __m128d vL = _mm_set1_pd(L), tenth = _mm_set1_pd(0.1), v500 = _mm_set1_pd(500);
    const __m128d vsX = _mm_set1_pd(sX), vcX = _mm_set1_pd(cX), vsY = _mm_set1_pd(sY), vcY = _mm_set1_pd(cY);
    const __m128d vsZ = _mm_set1_pd(sZ), vcZ = _mm_set1_pd(cZ);
    for (; k + 2 <= n; k += 2) {
        const __m128d dx = _mm_sub_pd(_mm_loadu_pd(xs + k), vcx);
        const __m128d x1 = _mm_sub_pd(_mm_mul_pd(vcZ, dx), vsinZdy);
        const __m128d y1 = _mm_add_pd(_mm_mul_pd(vsZ, dx), vcosZdy);
        const __m128d z1 = _mm_sub_pd(vcosYdz, _mm_mul_pd(vsY, x1));
        const __m128d x2 = _mm_add_pd(vsinYdz, _mm_mul_pd(vcY, x1));
        const __m128d y2 = _mm_sub_pd(_mm_mul_pd(vcX, y1), _mm_mul_pd(vsX, z1));
        const __m128d depth = _mm_add_pd(vdepth0, _mm_add_pd(_mm_mul_pd(vsX, y1), _mm_mul_pd(vcX, z1)));
        const __m128d far = _mm_cmpge_pd(depth, vL);
        const __m128d D = _mm_or_pd(_mm_and_pd(far, tenth), _mm_andnot_pd(far, _mm_sub_pd(vL, depth)));
        _mm_storeu_pd(outX + k, _mm_div_pd(_mm_mul_pd(x2, v500), D));
        _mm_storeu_pd(outY + k, _mm_div_pd(_mm_mul_pd(y2, v500), D));
    }
#endif
    for (; k < n; ++k) {
        const double dx = xs[k] - cx;
        const double x1 = cZ * dx - sinZdy;
        const double y1 = sZ * dx + cosZdy;
        const double z1 = cosYdz - sY * x1;
        const double x2 = sinYdz + cY * x1;
        const double y2 = cX * y1 - sX * z1;
        const double depth = depth0 + (sX * y1 + cX * z1);
        const double D = depth >= L ? 0.1 : L - depth;
        // apply() truncates the quotient twice; truncating it once gives the same whole number.
        outX[k] = x2 * 500 / D, outY[k] = y2 * 500 / D;
    }
}

void drawCharacter(AnimeInfo& c, const FrameContext& frame) {
    AnimeCanvas& canvas = frame.canvas;
    const int zx = frame.zoomX, zy = frame.zoomY, zz = frame.zoomZ;
    const int64_t w = c.width, h = c.height, d = c.depth;
    const Factor fx = factorOf(c.zoomX, zx, c.multX, false);
    const Factor fy = factorOf(c.zoomY, zy, c.multY, true);
    const Factor fz = factorOf(c.zoomZ, zz, c.multZ, true);
    const int64_t W = canvas.width(), H = canvas.height();

    int64_t px = pixelOf(c.X), py = pixelOf(c.Y);
    const int64_t pz = pixelOf(c.Z);
    int64_t fx2 = clamp40(satAdd(satMul(satMul(satMul(w, fx.f), c.multX), c.ghostX) / fx.q / 100, px));
    int64_t fy2 = clamp40(satAdd(satMul(satMul(satMul(h, fy.f), c.multY), c.ghostY) / fy.q / 100, py));
    if (c.disp & 16) {
        perspective(frame.viewDistance, px, py, pz);
        perspective(frame.viewDistance, fx2, fy2, pz);
        px = clamp40(px) + W / 2;
        fy2 = clamp40(fy2) + H / 2;
    }
    const int64_t sx = satAdd(satMul(px, zx), frame.originX);
    const int64_t sy = satSub(satAdd(frame.originY, H), satMul(fy2, zy));

    c.box.left = pixelOf(c.X);
    c.box.right = clamp40(satAdd(satMul(satMul(w, fx.f), c.multX) / fx.q, c.box.left));
    c.box.low = clamp40(satMul(pixelOf(c.Y), zy));
    c.box.high = clamp40(satAdd(satMul(satMul(h, fy.f), c.multY) / fy.q, c.box.low));
    c.box.nearZ = clamp40(satMul(pz, zz));
    c.box.farZ = clamp40(satAdd(satMul(satMul(d, fz.f), c.multZ) / fz.q, c.box.nearZ));
    const int64_t hx = clamp40(satMul(w, fx.f) / fx.q / 2);
    const int64_t hy = clamp40(satMul(h, fy.f) / fy.q / 2);
    const int64_t hz = clamp40(satMul(d, fz.f) / fz.q / 2);

    if (c.kind) {
        const AnimeKindDraw at{sx, sy, c.width, c.height, zx, frame.state.bgColor, zy, fy.f, fy.q, frame.viewDistance};
        if (c.kind->draw(canvas, c, at)) return;
    }
    if (c.hasText) {
        drawMessage(c, frame, sx, sy);
        return;
    }
    if (c.hasPixels()) DotWalk(c, frame).run(sx, sy, fx, fy, hx, hy, hz, pz);
}

void drawFrame(AnimeState& state, AnimeView& view, int64_t originX, int64_t originY) {
    QImage& picture = view.picture;
    const int64_t H = picture.height();
    view.yBase = satAdd(originY, H);
    AnimeCanvas canvas(picture, view.yBase, view.rotation);
    canvas.fill(state.bgColor);

    std::vector<AnimeInfo*> visible;
    bool anyKey = false;
    for (const auto& c : state.characters) {
        if (!(c->disp & 1)) continue;
        if (!view.rotation.active()) {
            c->depthKey = c->Z * 0.1;
        } else {
            int64_t x = pixelDiv10(c->X), y = satSub(view.yBase, pixelOf(c->Y)), z = pixelDiv10(c->Z);
            canvas.rotateWindowPoint(x, y, z);
            c->depthKey = double(z);
        }
        if (std::isnan(c->depthKey)) c->depthKey = 0; // keeps the ordering strict
        anyKey = anyKey || c->depthKey != 0;
        visible.push_back(c.get());
    }
    // Further back first; equal keys keep the list order (serials grow along the list).
    if (anyKey)
        std::stable_sort(visible.begin(), visible.end(), [](const AnimeInfo* a, const AnimeInfo* b) {
            return a->depthKey < b->depthKey;
        });
    const FrameContext frame{canvas, state, view.dotZoomX, view.dotZoomY, view.dotZoomZ, view.viewDistance, originX,
                             originY};
    for (AnimeInfo* c : visible) drawCharacter(*c, frame);
}
