#include "metaRingInfo.h"

#include "FigurePainter.h"
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
#include <limits>
#include <numbers>

namespace {

// The colour of a colour number: -1 is the animation's background colour.
uint32_t colorOfNumber(const AnimeState* state, int number, uint32_t background) {
    if (number < 0) return background;
    return state ? state->paletteColor(number) : 0;
}

} // namespace

int metaRingInfo::kindCode() const { return Kind::metaRing; }

int metaRingInfo::cornerCount(int dotZoom) const {
    const double u0 = self_.userValues[Corners];
    double n = 0;
    if (u0 >= 2) {
        n = std::trunc(u0);
    } else {
        const double R = double(dotZoom) * self_.userValues[Radius];
        n = std::isnan(R) ? 0 : std::fabs(std::trunc(3 * R));
        if (n == 0) n = 4;
    }
    return int(std::min<double>(n, kMaxCorners));
}

std::vector<QPointF> metaRingInfo::corners(const AnimeCanvas& canvas, const AnimeKindDraw& at) const {
    const auto& u = self_.userValues;
    const double R = double(at.dotZoom) * u[Radius];
    const int n = cornerCount(at.dotZoom);
    const int64_t zeta = pixelOf(self_.Z);
    const DotRotation rotation(self_, at.viewDistance, 0, 0, 0, zeta);
    const bool rotates = canvas.rotation().active();
    std::vector<QPointF> points;
    points.reserve(size_t(n));
    for (int i = 0; i < n; ++i) {
        const double theta = 2 * std::numbers::pi * i / n;
        int64_t x = truncToInt64(std::cos(u[AngleX] * theta) * (R * u[RadiusX]));
        int64_t y = truncToInt64(std::sin(u[AngleY] * theta) * (R * u[RadiusY]));
        int64_t z = 0;
        rotation.apply(x, y, z);
        x = satAdd(x, at.screenLeft), y = satAdd(y, at.screenTop), z = satAdd(z, zeta);
        if (self_.disp & 16) perspective(at.viewDistance, x, y, z);
        if (rotates) canvas.rotateWindowPoint(x, y, z);
        points.emplace_back(double(x), double(y));
    }
    return points;
}

bool metaRingInfo::draw(AnimeCanvas& canvas, const AnimeInfo&, const AnimeKindDraw& at) {
    auto& u = self_.userValues;
    const std::vector<QPointF> points = corners(canvas, at);
    const AnimeState* state = self_.state;
    // A shifting colour number shows the palette as it cycles; otherwise the colour looked up
    // when it was given.
    const uint32_t color = self_.colorSft != 0 ? colorOfNumber(state, self_.colorNumber, at.background) : self_.textColor;
    const int width = int(std::clamp<int64_t>(truncToInt64(u[Width]), 1, kMaxWidth));
    FigurePainter painter(canvas);
    painter.setPen(color, width);
    if (self_.mode & 1) {
        painter.polygon(points, color);
    } else if (!(self_.mode & 6)) {
        painter.polyline(points, true);
    } else if (!points.empty()) {
        const int highest = state ? state->highestColor : 15;
        const bool spokes = self_.mode & 4;
        const QPointF centre(double(at.screenLeft), double(at.screenTop));
        int k = self_.colorNumber;
        QPointF from = points[0];
        for (size_t i = 1; i < points.size(); ++i) {
            if (self_.mode & 2) {
                if (k > highest) k = 0;
                painter.setPen(colorOfNumber(state, k, at.background), width);
                ++k;
            }
            if (spokes) from = centre;
            painter.line(from, points[i]);
            from = points[i];
        }
        if (!spokes) painter.line(from, points[0]);
    }
    if (u[Radius] > -kRadiusLimit && u[Radius] < kRadiusLimit) {
        u[RadiusSpeed] += u[RadiusAcceleration];
        u[Radius] += u[RadiusSpeed];
    }
    return true;
}

std::optional<QString> readMetaRing(AnimeState& state, AnimeBlockInput& input, const QString& params) {
    ParamFields fields(params);
    const QString name = input.nameText(fields.next().value_or(QString()));
    const auto lft = readIntParam(fields, input, -kPlaceLimit, kPlaceLimit);
    if (!lft) return QStringLiteral("lft");
    const auto top = readIntParam(fields, input, -kPlaceLimit, kPlaceLimit);
    if (!top) return QStringLiteral("top");
    const auto angle = readIntParam(fields, input, std::numeric_limits<int64_t>::min(), 16384);
    if (!angle) return QStringLiteral("angle");
    const auto radius = readIntParam(fields, input, 1, 16384);
    if (!radius) return QStringLiteral("radius");
    const auto wid = readIntParam(fields, input, 1, metaRingInfo::kMaxWidth);
    if (!wid) return QStringLiteral("wid");
    const auto color = readIntParam(fields, input, -1, state.highestColor);
    if (!color) return QStringLiteral("color");
    const auto bgcolor = readIntParam(fields, input, -2, state.highestColor);
    if (!bgcolor) return QStringLiteral("bgcolor");
    int64_t count = 1;
    if (const auto field = fields.next(); !isEmptyParam(field)) {
        count = truncToInt64(input.evaluate(*field).value_or(1));
        if (count > metaRingInfo::kMaxCount) return QStringLiteral("count");
    }
    const double corners = *angle < 1 ? -1 : double(*angle);
    int firstIndex = 0;
    for (int64_t i = 0; i < std::max<int64_t>(count, 1); ++i) {
        AnimeInfo& c = state.createCharacter(name, int(*lft), int(*top), 1, 1, int(*radius), int(*wid));
        if (i == 0) firstIndex = state.sameNameCount(c);
        state.setSameNameIndex(c, firstIndex + int(i));
        c.disp = 1;
        c.userValues[metaRingInfo::Corners] = corners;
        c.userValues[metaRingInfo::Radius] = double(*radius);
        c.userValues[metaRingInfo::Width] = double(*wid);
        for (int v : {metaRingInfo::RadiusX, metaRingInfo::RadiusY, metaRingInfo::AngleX, metaRingInfo::AngleY})
            c.userValues[size_t(v)] = 1.0;
        c.colorNumber = int(*color);
        c.textColor = colorOfNumber(&state, int(*color), state.bgColor);
        c.backColorNumber = int(*bgcolor);
        c.backColor = *bgcolor == -2 ? -2 : int64_t(colorOfNumber(&state, int(*bgcolor), state.bgColor));
        c.kind = std::make_unique<metaRingInfo>(c);
    }
    return std::nullopt;
}
