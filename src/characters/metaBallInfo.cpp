#include "metaBallInfo.h"

#include "anime/AnimeBlockInput.h"
#include "anime/AnimeCanvas.h"
#include "anime/AnimeInfo.h"
#include "anime/AnimeMath.h"
#include "anime/AnimeReaders.h"
#include "anime/AnimeRenderer.h"
#include "anime/AnimeState.h"
#include "script/KestoCodes.h"

#include <algorithm>
#include <cmath>

namespace {

// Where a map's row 0 stands, counted downward (1000 - whole-pixel y), and its left.
int64_t mapTop(const AnimeInfo& c, int side) { return satSub(satSub(1000, pixelOf(c.Y)), side); }
int64_t mapLeft(const AnimeInfo& c) { return pixelOf(c.X); }

} // namespace

metaBallInfo::metaBallInfo(AnimeInfo& self, int side, Shape shape, int value)
    : self_(self), side_(std::clamp(side, 1, kMaxSide)), map_(size_t(side_) * size_t(side_), 0),
      sum_(map_.size(), 0) {
    const int h = side_ / 2;
    for (int i = 0; i < side_; ++i)
        for (int j = 0; j < side_; ++j) {
            const int D = int(std::sqrt(double((j - h) * (j - h) + (i - h) * (i - h))) * 100);
            if (D >= h * 100) continue;
            int g = value;
            if (shape == Shape::Cone) g = (h * 100 - D) / h;
            else if (shape == Shape::Peak) g = int(int64_t(h * 100 - D) * (h * 100 - D) / h / h / 100);
            map_[size_t(i) * size_t(side_) + size_t(j)] = g;
        }
}

int metaBallInfo::kindCode() const { return Kind::MetaBall; }

void metaBallInfo::sum(const Cells& cells) {
    const size_t s = size_t(side_);
    for (int64_t i = cells.firstRow; i < cells.endRow; ++i)
        std::copy(map_.begin() + ptrdiff_t(size_t(i) * s + size_t(cells.firstColumn)),
                  map_.begin() + ptrdiff_t(size_t(i) * s + size_t(cells.endColumn)),
                  sum_.begin() + ptrdiff_t(size_t(i) * s + size_t(cells.firstColumn)));
    if (!self_.state) return;
    const int64_t xM = mapLeft(self_), topM = mapTop(self_, side_);
    for (const auto& owned : self_.state->characters) {
        const AnimeInfo& N = *owned;
        if (&N == &self_ || !N.kind || N.kind->kindCode() != Kind::MetaBall) continue;
        const auto& other = static_cast<const metaBallInfo&>(*N.kind);
        const int64_t sN = other.side_;
        // N's cell (j, i) lies on this map's cell (j + shiftX, i + shiftY).
        const int64_t shiftX = satSub(mapLeft(N), xM), shiftY = satSub(mapTop(N, other.side_), topM);
        const int64_t rowBegin = std::max(cells.firstRow, shiftY), rowEnd = std::min(cells.endRow, satAdd(shiftY, sN));
        const int64_t colBegin = std::max(cells.firstColumn, shiftX), colEnd = std::min(cells.endColumn, satAdd(shiftX, sN));
        if (rowBegin >= rowEnd || colBegin >= colEnd) continue;
        for (int64_t i = rowBegin; i < rowEnd; ++i) {
            const int* from = other.map_.data() + size_t(i - shiftY) * size_t(sN) + size_t(colBegin - shiftX);
            int* to = sum_.data() + size_t(i) * s + size_t(colBegin);
            for (int64_t k = colBegin; k < colEnd; ++k) *to++ += *from++;
        }
    }
}

bool metaBallInfo::draw(AnimeCanvas& canvas, const AnimeInfo&, const AnimeKindDraw& at) {
    const int64_t fx = std::max(at.dotZoom, 1), fy = std::max(at.dotZoomY, 1);
    const int64_t sx = at.screenLeft, sy = at.screenTop;
    const bool rotates = canvas.rotation().active();
    Cells cells{0, side_, 0, side_};
    if (!rotates) {
        // Cell i covers the rows sy + i fy .. sy + i fy + fy - 1.
        auto firstCell = [](int64_t start, int64_t f) { return start >= 0 ? int64_t(0) : satSub(0, start) / f; };
        auto endCell = [](int64_t start, int64_t f, int64_t size) {
            return start >= size ? int64_t(0) : satSub(size - 1, start) / f + 1;
        };
        cells.firstRow = std::min<int64_t>(firstCell(sy, fy), side_);
        cells.endRow = std::min<int64_t>(endCell(sy, fy, canvas.height()), side_);
        cells.firstColumn = std::min<int64_t>(firstCell(sx, fx), side_);
        cells.endColumn = std::min<int64_t>(endCell(sx, fx, canvas.width()), side_);
        if (cells.firstRow >= cells.endRow || cells.firstColumn >= cells.endColumn) return true;
    }
    sum(cells);
    const bool blob = self_.mode != 0;
    auto colorOf = [blob](int g) {
        if (blob) return kBlobColor;
        return uint32_t(g > 100 ? 255 : std::max(g, 0) * 255 / 100) * 0x010101u;
    };
    const size_t s = size_t(side_);
    if (!rotates) {
        // Rows and columns are clipped already: each cell is a run of fx pixels in fy rows.
        const int64_t W = canvas.width(), H = canvas.height();
        for (int64_t i = cells.firstRow; i < cells.endRow; ++i)
            for (int64_t a = 0; a < fy; ++a) {
                const int64_t y = sy + i * fy + a;
                if (y < 0 || y >= H) continue;
                QRgb* target = canvas.row(y);
                for (int64_t k = cells.firstColumn; k < cells.endColumn; ++k) {
                    const int g = sum_[size_t(i) * s + size_t(k)];
                    if (blob && g <= kBlobThreshold) continue;
                    const QRgb rgb = rgbOfColor(colorOf(g));
                    const int64_t x0 = sx + k * fx;
                    for (int64_t x = std::max<int64_t>(x0, 0), end = std::min(x0 + fx, W); x < end; ++x) target[x] = rgb;
                }
            }
        return true;
    }
    // Every dot goes through the window rotation; the dot budget bounds a huge zoom.
    int64_t budget = kDotBudget;
    for (int64_t i = cells.firstRow; i < cells.endRow; ++i)
        for (int64_t a = 0; a < fy; ++a) {
            const int64_t y = satAdd(satAdd(sy, satMul(i, fy)), a);
            for (int64_t k = cells.firstColumn; k < cells.endColumn; ++k) {
                const int g = sum_[size_t(i) * s + size_t(k)];
                if (blob && g <= kBlobThreshold) continue;
                if ((budget -= fx) < 0) return true;
                const int64_t x0 = satAdd(sx, satMul(k, fx));
                for (int64_t b = 0; b < fx; ++b) canvas.putDot(satAdd(x0, b), y, 0, colorOf(g));
            }
        }
    return true;
}

std::optional<QString> readMetaBall(AnimeState& state, AnimeBlockInput& input, const QString& params) {
    ParamFields fields(params);
    const QString name = input.nameText(fields.next().value_or(QString()));
    const auto wid = readIntParam(fields, input, 1, metaBallInfo::kMaxSide);
    if (!wid) return QStringLiteral("wid");
    const auto lft = readIntParam(fields, input, -kPlaceLimit, kPlaceLimit);
    if (!lft) return QStringLiteral("lft");
    const auto top = readIntParam(fields, input, -kPlaceLimit, kPlaceLimit);
    if (!top) return QStringLiteral("top");
    const auto mvx = readIntParam(fields, input, -kRateLimit, kRateLimit);
    if (!mvx) return QStringLiteral("mvx");
    const auto mvy = readIntParam(fields, input, -kRateLimit, kRateLimit);
    if (!mvy) return QStringLiteral("mvy");
    // A missing or faulty type is a cone of full density.
    auto shape = metaBallInfo::Shape::Cone;
    int value = 100;
    if (const auto type = readIntParam(fields, input, 0, 2)) {
        shape = metaBallInfo::Shape(*type);
        if (const auto density = readIntParam(fields, input, 0, 100)) value = int(*density);
    }
    if (input.status() == RunStatus::NoValue) input.setStatus(RunStatus::Well);
    const int s = int(*wid);
    // The own map and the summed map.
    if (!state.reservePixels(int64_t(2) * s * s)) return QStringLiteral("wid");

    AnimeInfo& c = state.createCharacter(name, int(*lft), int(*top), 1, 1, s, s);
    state.setSameNameIndex(c, state.sameNameCount(c));
    c.disp = 1;
    c.frameCount = 1;
    c.declaredMvx = int(*mvx), c.declaredMvy = int(*mvy);
    c.setVelocity(double(*mvx), double(*mvy), 0);
    c.kind = std::make_unique<metaBallInfo>(c, s, shape, value);
    return std::nullopt;
}
