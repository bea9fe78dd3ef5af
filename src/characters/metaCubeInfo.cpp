#include "metaCubeInfo.h"

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
#include <numbers>

namespace {

constexpr double kDegree = std::numbers::pi / 180;
// Budget dots one stored vertex counts for (three 64-bit numbers against a 32-bit dot).
constexpr int64_t kDotsPerVertex = 6;

// A declared colour number: -1 is the background colour, a number beyond the palette black.
uint32_t declaredColor(const AnimeState& state, int64_t number) {
    return number < 0 ? state.bgColor : state.paletteColor(int(number));
}

// Channel mask of a colour: 1 in every channel (0x00BBGGRR) that is not 0.
uint32_t channelMask(uint32_t color) {
    return ((color & 0xFF0000u) ? 0x010000u : 0u) | ((color & 0x00FF00u) ? 0x000100u : 0u) |
           ((color & 0x0000FFu) ? 0x000001u : 0u);
}

} // namespace

metaCubeInfo::metaCubeInfo(AnimeInfo& self, int corners, std::shared_ptr<const std::vector<Vertex>> model)
    : self_(self), corners_(std::clamp(corners, kMinCorners, kMaxCorners)), model_(std::move(model)) {}

int metaCubeInfo::kindCode() const { return Kind::MetaCube; }

void metaCubeInfo::project(const AnimeCanvas& canvas, const AnimeKindDraw& at) {
    const auto& u = self_.userValues;
    const int faces = faceCount();
    screen_.resize(size_t(faces) * size_t(corners_));
    deepest_.assign(size_t(faces), 0);
    meanZ_.assign(size_t(faces), 0);
    order_.resize(size_t(faces));
    const int64_t scale[3] = {truncToInt64(u[ScaleX]), truncToInt64(u[ScaleY]), truncToInt64(u[ScaleZ])};
    const bool spins = spin_[0] != 0 || spin_[1] != 0 || spin_[2] != 0;
    const double sx = std::sin(spin_[0]), cx = std::cos(spin_[0]), sy = std::sin(spin_[1]), cy = std::cos(spin_[1]),
                 sz = std::sin(spin_[2]), cz = std::cos(spin_[2]);
    const int64_t zeta = pixelOf(self_.Z);
    const DotRotation rotation(self_, at.viewDistance, 0, 0, 0, zeta);
    const bool windowRotates = canvas.rotation().active();
    const int64_t W = canvas.width(), H = canvas.height();
    // Height of the character's box in the picture, the base of a perspective placement.
    const int64_t boxHeight = divTrunc(satMul(satMul(at.factorY, self_.height), self_.multY), at.divisorY);
    for (int f = 0; f < faces; ++f) {
        int64_t deepest = 0, sum = 0;
        for (int i = 0; i < corners_; ++i) {
            const size_t at_ = size_t(f) * size_t(corners_) + size_t(i);
            const Vertex& m = (*model_)[at_];
            int64_t x = satMul(scale[0], m[0]) / 100, y = satMul(scale[1], m[1]) / 100, z = satMul(scale[2], m[2]) / 100;
            if (spins) {
                const double dx = double(x), dy = double(y), dz = double(z);
                const double x1 = cz * dx - sz * dy, y1 = sz * dx + cz * dy;
                const double z1 = cy * dz - sy * x1, x2 = sy * dz + cy * x1;
                x = truncToInt64(x2), y = truncToInt64(cx * y1 - sx * z1), z = truncToInt64(sx * y1 + cx * z1);
            }
            rotation.apply(x, y, z);
            if (self_.disp & 16) {
                int64_t px = satAdd(pixelOf(self_.X), x);
                int64_t py = satAdd(satAdd(boxHeight, pixelOf(self_.Y)), y);
                const int64_t pz = satAdd(zeta, z);
                perspective(at.viewDistance, px, py, pz);
                x = satAdd(W / 2, px), y = satSub(satSub(H, py), H / 2), z = pz;
            } else {
                x = satAdd(x, at.screenLeft), y = satAdd(y, at.screenTop), z = satAdd(z, zeta);
            }
            if (windowRotates) canvas.rotateWindowPoint(x, y, z);
            screen_[at_] = {x, y, z};
            deepest = i == 0 ? z : std::max(deepest, z);
            sum = satAdd(sum, z);
        }
        deepest_[size_t(f)] = deepest;
        meanZ_[size_t(f)] = sum / corners_;
        order_[size_t(f)] = f;
    }
    // Exchanging neighbours only when the later one is further back keeps equal faces in
    // index order; a stable sort gives the same order.
    std::stable_sort(order_.begin(), order_.end(), [this](int a, int b) {
        const size_t i = size_t(a), j = size_t(b);
        return deepest_[i] != deepest_[j] ? deepest_[i] < deepest_[j] : meanZ_[i] < meanZ_[j];
    });
}

bool metaCubeInfo::draw(AnimeCanvas& canvas, const AnimeInfo&, const AnimeKindDraw& at) {
    project(canvas, at);
    const uint32_t faceColor = self_.textColor;
    std::vector<QPointF> points(static_cast<size_t>(corners_));
    auto facePoints = [&](int f) {
        const Vertex* v = screenFace(f);
        for (int i = 0; i < corners_; ++i) points[size_t(i)] = QPointF(double(v[i][0]), double(v[i][1]));
    };
    FigurePainter painter(canvas);
    if (self_.mode & 1) {
        const uint32_t mask = channelMask(faceColor);
        if (self_.backColor == -2) painter.noPen();
        else painter.setPen(uint32_t(self_.backColor), 1);
        for (int f : order_) {
            facePoints(f);
            painter.polygon(points, (self_.mode & 2) ? mask * uint32_t((15 - f % 12) * 16) : faceColor);
        }
    } else {
        // A smaller window shows the picture shrunk, so its lines are drawn wider.
        const int percent = std::max(self_.state ? self_.state->zoomPercent : 100, 1);
        painter.setPen(faceColor, percent < 100 ? 200 / percent : 100 / percent);
        for (int f : order_) {
            facePoints(f);
            painter.polyline(points, true);
        }
    }
    const auto& u = self_.userValues;
    spin_[0] += u[SpinX] * kDegree;
    spin_[1] += u[SpinY] * kDegree;
    spin_[2] += u[SpinZ] * kDegree;
    return true;
}

std::optional<QString> readMetaCube(AnimeState& state, AnimeBlockInput& input, const QString& params) {
    ParamFields fields(params);
    const QString name = input.nameText(fields.next().value_or(QString()));
    if (input.status() != RunStatus::Well) {
        // The line itself could not be evaluated.
        input.setStatus(RunStatus::Well);
        return name;
    }
    const auto cubelen = readIntParam(fields, input, metaCubeInfo::kMinCorners, metaCubeInfo::kMaxCorners);
    if (!cubelen || name.isEmpty()) return QStringLiteral("cubelen");
    const auto cubecnt = readIntParam(fields, input, 1, metaCubeInfo::kMaxFaces);
    if (!cubecnt) return QStringLiteral("cubecnt");
    struct Rule {
        int64_t lo, hi;
        const char* name;
    };
    static constexpr Rule rules[] = {{-kPlaceLimit, kPlaceLimit, "lft"}, {-kPlaceLimit, kPlaceLimit, "top"}, {-kRateLimit, kRateLimit, "mvx"},
                                     {-kRateLimit, kRateLimit, "mvy"},   {-1, 255, "color"},     {-1, 255, "lincol"},
                                     {1, 3000, "xzoom"},     {1, 3000, "yzoom"},     {1, 3000, "zzoom"}};
    int64_t v[std::size(rules)] = {};
    for (size_t i = 0; i < std::size(rules); ++i) {
        const auto n = readIntParam(fields, input, rules[i].lo, rules[i].hi);
        if (!n) return QString::fromLatin1(rules[i].name);
        v[i] = *n;
    }
    const auto [lft, top, mvx, mvy, color, lincol, xzoom, yzoom, zzoom] = v;
    int64_t count = 1;
    if (const auto field = fields.next(); !isEmptyParam(field)) {
        count = truncToInt64(input.evaluate(*field).value_or(1));
        if (count > metaCubeInfo::kMaxCount) return QStringLiteral("count");
    }
    count = std::max<int64_t>(count, 1);
    const int corners = int(*cubelen), faces = int(*cubecnt);
    const int64_t vertices = int64_t(corners) * faces;
    // The model once and the screen vertices of every copy.
    if (!state.reservePixels(vertices * kDotsPerVertex * (count + 1))) return count > 1 ? QStringLiteral("count") : QStringLiteral("cubecnt");

    auto model = std::make_shared<std::vector<metaCubeInfo::Vertex>>(size_t(vertices), metaCubeInfo::Vertex{});
    for (auto& vertex : *model) {
        const auto line = input.nextDataLine();
        if (!line) break; // the block ended: the other vertices stay at the origin
        ParamFields coordinates(*line);
        for (int axis = 0; axis < 3; ++axis) {
            const auto field = coordinates.next();
            if (isEmptyParam(field)) break;
            const int status = input.status();
            const auto value = input.evaluate(*field);
            if (value) vertex[size_t(axis)] = truncToInt64(*value);
            else if (input.status() == RunStatus::NoValue) input.setStatus(status); // a coordinate that is no number stays 0
        }
    }

    int firstIndex = 0;
    for (int64_t i = 0; i < count; ++i) {
        AnimeInfo& c = state.createCharacter(name, int(lft), int(top), 1, 1, corners, faces);
        if (i == 0) firstIndex = state.sameNameCount(c);
        state.setSameNameIndex(c, firstIndex + int(i));
        c.frameCount = 1;
        c.disp = 1;
        if (i == 0) {
            c.declaredMvx = int(mvx), c.declaredMvy = int(mvy);
            c.setVelocity(double(mvx), double(mvy), 0);
        }
        c.colorNumber = int(color);
        c.textColor = declaredColor(state, color);
        c.backColorNumber = int(lincol);
        c.backColor = int64_t(declaredColor(state, lincol));
        c.userValues[metaCubeInfo::ScaleX] = double(xzoom);
        c.userValues[metaCubeInfo::ScaleY] = double(yzoom);
        c.userValues[metaCubeInfo::ScaleZ] = double(zzoom);
        c.kind = std::make_unique<metaCubeInfo>(c, corners, model);
    }
    return std::nullopt;
}
