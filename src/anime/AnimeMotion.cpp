#include "AnimeMotion.h"

#include "AnimeHost.h"
#include "AnimeInfo.h"
#include "AnimeMath.h"
#include "AnimeRenderer.h"
#include "AnimeState.h"
#include "AnimeView.h"

#include <cmath>
#include <numbers>
#include <utility>

namespace {

constexpr double kPi = std::numbers::pi;

AnimeKind* gameOf(const AnimeInfo& c, GameLink link) {
    const AnimeInfo* game = c.games[size_t(link)];
    return game ? game->kind.get() : nullptr;
}

// The two bounds of one axis: the character's own, or the fallback when they are equal.
std::pair<int64_t, int64_t> axisBounds(int lo, int hi, int64_t fallbackLo, int64_t fallbackHi) {
    if (lo == hi) return {fallbackLo, fallbackHi};
    return {lo, hi};
}

enum class Bounce { None, High, Low };

// One axis of the bounds check: a box past `hi` is put back inside (`highSlack` tenths further)
// and a velocity away from inside turns round, scaled by the restitution `e`; the same below `lo`
// with 10 tenths. `bothSides` checks the low bound also after a high bounce. `boxLow` and `boxHigh`
// are the box's edges on the axis, which each move updates. Returns the last bound met.
Bounce bounceAxis(AnimeInfo& c, double& pos, double& v, double e, const int64_t& boxLow, const int64_t& boxHigh,
                  std::pair<int64_t, int64_t> bounds, int64_t highSlack, bool bothSides) {
    const auto [lo, hi] = bounds;
    Bounce met = Bounce::None;
    if (hi < boxHigh) {
        pos -= double(satAdd(satMul(boxHigh - hi, 10), highSlack));
        if (v > 0) v = -v * e;
        c.moveBy(0, 0, 0, false);
        met = Bounce::High;
        if (!bothSides) return met;
    }
    if (boxLow < lo) {
        pos += double(satAdd(satMul(lo - boxLow, 10), 10));
        if (v < 0) v = -v * e;
        c.moveBy(0, 0, 0, false);
        met = Bounce::Low;
    }
    return met;
}

void checkBounds(AnimeInfo& c, const CanvasBounds& b) {
    if (c.vX != 0) {
        const Bounce met = bounceAxis(c, c.X, c.vX, c.eX, c.box.left, c.box.right,
                                      axisBounds(c.minX, c.maxX, b.minX, b.maxX), 20, false);
        // The picture turns to face its new way unless its direction is held (dir bit 4).
        if (met != Bounce::None && !(c.dirState & 4)) {
            const bool mirrored = c.dirState & 1;
            if (met == Bounce::Low || (mirrored && c.vX > 0) || (!mirrored && c.vX < 0)) c.flipPixels(1);
        }
    }
    if (c.vY != 0)
        bounceAxis(c, c.Y, c.vY, c.eY, c.box.low, c.box.high, axisBounds(c.minY, c.maxY, b.minY, b.maxY), 10,
                   true);
    if (c.vZ != 0) {
        const auto bounds = axisBounds(c.minZ, c.maxZ, -kDepthBound, kDepthBound);
        bounceAxis(c, c.Z, c.vZ, c.eZ, c.box.nearZ, c.box.farZ, bounds, 10, true);
    }
}

void shiftColour(AnimeInfo& c) {
    if (c.colorSft == 0) return;
    const int highest = c.state ? c.state->highestColor : 15;
    c.colorAccumulator += c.colorSft;
    if (c.colorAccumulator >= 1) {
        c.colorNumber += 1;
        c.colorAccumulator -= 1;
        if (c.colorNumber > highest) c.colorNumber = 0;
    } else if (c.colorAccumulator <= -1) {
        c.colorNumber -= 1;
        c.colorAccumulator += 1;
        if (c.colorNumber < 0) c.colorNumber = highest;
    }
}

} // namespace

CanvasBounds canvasBounds(const AnimeView& view) {
    const double W = view.picture.width(), H = view.picture.height();
    return {truncToInt64(-view.cameraX - 200), truncToInt64(-view.cameraY - 200), truncToInt64(W + 200 - view.cameraX),
            truncToInt64(H + 200 - view.cameraY)};
}

void applyCharges(AnimeInfo& c) {
    if (!c.state) return;
    for (const auto& k : c.state->charges) {
        if (!k->owner) continue;
        const double dx = c.X - k->owner->X, dy = c.Y - k->owner->Y;
        const double a = std::sqrt(dx * dx + dy * dy) * 0.1;
        if (!(a > 0) || !std::isfinite(a)) continue; // on the charge itself there is no direction
        const double b = c.charge * k->charge / (a * a);
        c.vX += dx * b / a;
        c.vY += dy * b / a;
    }
}

int stepToTarget(AnimeInfo& c) {
    if (!c.hasTarget()) return 1;
    const bool gx = c.gotoX != kNoTarget, gy = c.gotoY != kNoTarget, gz = c.gotoZ != kNoTarget;
    const double S = c.speed;
    double dir = c.angleZ;
    double dx = 0, dy = 0, dz = 0;
    c.vX = c.vY = c.vZ = 0;
    // Steps of a diagonal: never 0, so a target next to the character is still reached.
    auto steps = [](double a, double b) { return double(std::max<int64_t>(truncToInt64(std::sqrt(a * a + b * b) + 0.999), 1)); };
    if (gx) dx = c.gotoX - c.X;
    if (gy) dy = c.gotoY - c.Y;
    if (gz) dz = c.gotoZ - c.Z;
    if (gx && !gy && !gz) {
        if (dx <= 0) dir = kPi, c.vX = -S;
        else dir = 0, c.vX = S;
    } else if (gy && !gx && !gz) {
        if (dy <= 0) dir = 3 * kPi / 2, c.vY = -S;
        else dir = kPi / 2, c.vY = S;
    } else if (gz && !gx && !gy) {
        c.vZ = dz <= 0 ? -S : S;
    } else if (gx && gy && !gz) {
        if (dx != 0 || dy != 0) {
            const double n = steps(dx, dy);
            dir = dx != 0 ? std::atan2(-dy, dx) : (dy <= 0 ? 3 * kPi / 2 : kPi / 2);
            c.vX = S * dx / n;
            c.vY = S * dy / n;
        }
    } else if (gy && gz && !gx) {
        if (dy != 0 || dz != 0) {
            const double n = steps(dy, dz);
            dir = dy <= 0 ? 3 * kPi / 2 : kPi / 2;
            c.vY = S * dy / n;
            c.vZ = S * dz / n;
        }
    } else if (gx && gz && !gy) {
        const double d = std::sqrt(dx * dx + dz * dz);
        if (dx == 0 && dz == 0) {
            dir = 0;
        } else {
            if (dx < 0) dir = kPi;
            c.vX = S * dx / d;
            c.vZ = S * dz / d;
        }
    } else if (dx != 0 || dy != 0 || dz != 0) {
        if (dx != 0 || dy != 0) dir = dx != 0 ? std::atan2(-dy, dx) : (dy <= 0 ? 3 * kPi / 2 : kPi / 2);
        const double d3 = std::sqrt(dx * dx + dy * dy + dz * dz), d2 = std::sqrt(dx * dx + dy * dy);
        if (d2 == 0) {
            c.vZ = dz <= 0 ? -S : S;
        } else {
            const double h = S * d2 / d3;
            c.vX = h * dx / d2;
            c.vY = h * dy / d2;
            c.vZ = S * dz / d3;
        }
    }
    if (c.dirState & 4) c.angleZ = dir;
    if (dx != 0 || dy != 0 || dz != 0) {
        // The last step is shortened so that it lands exactly on the target.
        auto step = [](double v, double d) {
            if (d == 0) return 0.0;
            return std::llabs(truncToInt64(v)) < std::llabs(truncToInt64(d)) ? v : d;
        };
        c.moveBy(step(c.vX, dx), step(c.vY, dy), step(c.vZ, dz), false);
    }
    const double rx = gx ? c.gotoX - c.X : 0, ry = gy ? c.gotoY - c.Y : 0, rz = gz ? c.gotoZ - c.Z : 0;
    if (rx != 0 || ry != 0 || rz != 0) return 0;
    if (!c.chased) c.vX = c.vY = c.vZ = 0;
    c.gotoX = c.gotoY = c.gotoZ = kNoTarget;
    if (AnimeKind* maze = gameOf(c, GameLink::Maze)) {
        c.vX = 0, c.vY = S, c.vZ = 0;
        maze->playerArrived(c);
    }
    return 1;
}

void stepCharacter(AnimeInfo& c, const CanvasBounds& bounds) {
    static constexpr GameLink turnOrder[] = {GameLink::NumLink, GameLink::Soukoban, GameLink::Nikaku, GameLink::Sudoku,
                                             GameLink::Pitman};
    AnimeKind* game = nullptr;
    for (GameLink link : turnOrder)
        if ((game = gameOf(c, link))) break;
    if (game) {
        game->stepPlayer(c);
    } else if (c.chased) {
        c.gotoX = c.chased->X, c.gotoY = c.chased->Y, c.gotoZ = c.chased->Z;
    }
    AnimeKind* maze = gameOf(c, GameLink::Maze);
    if (maze) maze->stepPlayer(c);
    c.angleX += c.rotaX, c.angleY += c.rotaY, c.angleZ += c.rotaZ;

    if (maze && maze->followPath(c)) {
        // moved along the maze path
    } else if (!c.hasTarget()) {
        if (c.charge != 0 && c.chargesWhenSet) applyCharges(c);
        c.vX += c.aX, c.vY += c.aY, c.vZ += c.aZ;
        c.vX -= c.vX * c.rX, c.vY -= c.vY * c.rY, c.vZ -= c.vZ * c.rZ;
        c.recomputeSpeed();
        shiftColour(c);
        c.moveBy(c.vX, c.vY, c.vZ, false);
        if (c.X * 0.1 != double(c.lastPixelX) || c.Y * 0.1 != double(c.lastPixelY) || c.Z * 0.1 != double(c.lastPixelZ)) {
            c.lastPixelX = truncToInt(c.X * 0.1), c.lastPixelY = truncToInt(c.Y * 0.1), c.lastPixelZ = truncToInt(c.Z * 0.1);
            if (maze) maze->playerEnteredPixel(c);
            checkBounds(c, bounds);
        }
    } else {
        stepToTarget(c);
    }

    if (c.dirState & 4) {
        if (c.vX != 0) c.angleZ = std::atan2(-c.vY, c.vX);
        else if (c.vY > 0) c.angleZ = 3 * kPi / 2;
        else if (c.vY < 0) c.angleZ = kPi / 2;
    }
    if (!(c.disp & 2)) {
        c.currentFrame = (c.lastFrame < 0 || c.currentFrame >= c.frameCount - 1) ? 0 : c.currentFrame + 1;
        c.lastFrame = c.currentFrame;
    }
}

void advanceFrame(AnimeState& state, AnimeView& view, const int& status) {
    if (state.characters.empty()) return;
    view.rotation.angleX += view.rotaX, view.rotation.angleY += view.rotaY, view.rotation.angleZ += view.rotaZ;
    view.cameraX += view.driftX, view.cameraY += view.driftY;
    if (state.host && state.host->isCurrentWindow()) state.host->showCameraStatus(view.cameraStatusText());
    const CanvasBounds bounds = canvasBounds(view);
    for (const auto& owned : state.characters) {
        if (status != RunStatus::Well) break;
        AnimeInfo& c = *owned;
        if (c.lifeTime < 0) {
            c.disp &= ~1;
            if (++c.lifeTime == 0) c.disp |= 1;
        }
        if (c.disp & 1) {
            if (c.lifeTime > 0 && --c.lifeTime == 0) c.disp &= ~1;
            stepCharacter(c, bounds);
        }
    }
    // The refit's shift moves the camera and its reference alike: the shown position stays.
    const double dx = double(truncToInt64(view.shiftX) / 100), dy = double(truncToInt64(view.shiftY) / 100);
    view.cameraX -= dx, view.referenceX -= dx;
    view.cameraY += dy, view.referenceY += dy;
    view.shiftX = view.shiftY = 0;
    drawFrame(state, view, truncToInt64(view.cameraX), truncToInt64(view.cameraY));
}
