#include "moleculeInfo.h"

#include "anime/AnimeBlockInput.h"
#include "anime/AnimeInfo.h"
#include "anime/AnimeMath.h"
#include "anime/AnimeReaders.h"
#include "anime/AnimeState.h"
#include "script/KestoCodes.h"

#include <cmath>

namespace {

// Centre offset of b from a in tenths of a pixel, as the collision measures it.
struct Offset {
    double dx = 0, dy = 0;
    double squared() const { return dx * dx + dy * dy; }
};
Offset centreOffset(const AnimeInfo& a, const AnimeInfo& b) {
    const double ax = double(satAdd(truncToInt64(a.X), int64_t(a.width) * 5));
    const double ay = double(satAdd(truncToInt64(a.Y), int64_t(a.height) * 5));
    const double bx = double(satAdd(truncToInt64(b.X), int64_t(b.width) * 5));
    const double by = double(satAdd(truncToInt64(b.Y), int64_t(b.height) * 5));
    return {bx - ax, by - ay};
}

} // namespace

int moleculeInfo::kindCode() const { return Kind::Molecule; }

int moleculeInfo::sideOfMass(int mass) {
    // A power of reals taken as exp(e ln m), with e the double nearest to 1/3 (slightly below
    // it): exact cubes land just below their root, so 8 gives 19 and 1000 gives 99.
    return int(std::exp(std::log(double(mass)) * 0.3333333333333333) * 10);
}

bool moleculeInfo::draw(AnimeCanvas&, const AnimeInfo&, const AnimeKindDraw&) {
    collide();
    return false;
}

void moleculeInfo::collide() {
    AnimeInfo& A = self_;
    if (!A.state) return;
    const double rA = double((int64_t(A.width) * 10) / 2);
    const double mA = mass_;
    bool after = false;
    for (const auto& owned : A.state->characters) {
        AnimeInfo& B = *owned;
        if (&B == &A) {
            after = true;
            continue;
        }
        if (!after || !B.kind || B.kind->kindCode() != Kind::Molecule) continue;
        const double rB = double((int64_t(B.width) * 10) / 2);
        const double limit = (rA + rB) * (rA + rB);
        const Offset o = centreOffset(A, B);
        if (!(o.squared() < limit)) continue;
        double d = std::sqrt(o.squared());
        if (d == 0) d = 0.1;
        const double nx = o.dx / d, ny = o.dy / d;
        const double uA = nx * A.vX + ny * A.vY, tA = ny * A.vX - nx * A.vY;
        const double uB = nx * B.vX + ny * B.vY, tB = ny * B.vX - nx * B.vY;
        const double mB = static_cast<const moleculeInfo&>(*B.kind).mass();
        const double e = A.eX * B.eX;
        const double uA2 = (uA * (mA - e * mB) + uB * mB * (1 + e)) / (mA + mB);
        const double uB2 = (uA * mA * (1 + e) + uB * (mB - e * mA)) / (mA + mB);
        A.vX = std::trunc(tA * ny + uA2 * nx), A.vY = std::trunc(-tA * nx + uA2 * ny);
        B.vX = std::trunc(tB * ny + uB2 * nx), B.vY = std::trunc(-tB * nx + uB2 * ny);
        // Only B moves; steps of a tenth of the offset leave a pair closer than 10 tenths where it is.
        for (int step = 0; step < kMaxSeparationSteps; ++step) {
            const Offset now = centreOffset(A, B);
            if (!(now.squared() < limit)) break;
            if (now.dx != 0 || now.dy != 0) B.moveBy(std::trunc(now.dx * 0.1), std::trunc(now.dy * 0.1), 0, false);
            else B.moveBy(5, 5, 0, false);
        }
    }
}

std::optional<QString> readMolecule(AnimeState& state, AnimeBlockInput& input, const QString& params) {
    ParamFields fields(params);
    const QString name = input.nameText(fields.next().value_or(QString()));
    const auto mass = readIntParam(fields, input, 1, moleculeInfo::kMaxMass);
    if (!mass) return QStringLiteral("mass");
    const auto lft = readIntParam(fields, input, -kPlaceLimit, kPlaceLimit);
    if (!lft) return QStringLiteral("lft");
    const auto top = readIntParam(fields, input, -kPlaceLimit, kPlaceLimit);
    if (!top) return QStringLiteral("top");
    const auto mvx = readIntParam(fields, input, -kRateLimit, kRateLimit);
    if (!mvx) return QStringLiteral("mvx");
    const auto mvy = readIntParam(fields, input, -kRateLimit, kRateLimit);
    if (!mvy) return QStringLiteral("mvy");
    const auto color = readIntParam(fields, input, 0, state.highestColor);
    if (!color) return QStringLiteral("color");
    const int s = moleculeInfo::sideOfMass(int(*mass));
    if (!state.reservePixels(int64_t(s) * s)) return QStringLiteral("mass");

    AnimeInfo& c = state.createCharacter(name, int(*lft), int(*top), 1, 1, s, s);
    state.setSameNameIndex(c, state.sameNameCount(c));
    c.disp = 1;
    c.frameCount = 1;
    c.declaredMvx = int(*mvx);
    c.declaredMvy = int(*mvy);
    c.setVelocity(double(*mvx), double(*mvy), 0);
    c.colorNumber = int(*color);
    c.allocatePixels(1, s, s);
    const int32_t dot = int32_t(state.paletteColor(int(*color)));
    const int h = s / 2;
    for (int i = 0; i < s; ++i)
        for (int j = 0; j < s; ++j)
            if (int64_t(std::sqrt(double((j - h) * (j - h) + (i - h) * (i - h))) * 100) < int64_t(h) * 100)
                c.pixels[size_t(i) * size_t(s) + size_t(j)] = dot;
    c.kind = std::make_unique<moleculeInfo>(c, int(*mass));
    return std::nullopt;
}
