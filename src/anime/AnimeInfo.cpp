#include "AnimeInfo.h"

#include "AnimeHost.h"
#include "AnimeMath.h"
#include "AnimeState.h"
#include "common/Numbers.h"
#include "script/KestoCodes.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kDegree = 0.017453292519943295;

bool within(double v, double lo, double hi) { return v >= lo && v <= hi; }
// Restitution and resistance: small values are factors, larger ones percentages.
double factorOrPercent(double v) { return v <= 2 ? v : v / 100; }
bool validZoom(int64_t n) { return (n >= 1 && n <= 100) || (n >= -99 && n <= -2); }

} // namespace

AnimeInfo::~AnimeInfo() = default;

void AnimeInfo::allocatePixels(int frames, int heightDots, int widthDots) {
    pixelFrames = std::max(frames, 0);
    pixelHeight = std::max(heightDots, 0);
    pixelWidth = std::max(widthDots, 0);
    pixels.assign(size_t(pixelFrames) * size_t(pixelHeight) * size_t(pixelWidth), -1);
}

void AnimeInfo::recomputeSpeed() {
    speed = std::sqrt(vX * vX + vY * vY + vZ * vZ);
    gotoX = gotoY = gotoZ = kNoTarget;
}

void AnimeInfo::setVelocity(double x, double y, double z) {
    vX = x, vY = y, vZ = z;
    recomputeSpeed();
}

void AnimeInfo::moveBy(double dx, double dy, double dz, bool setsVelocity) {
    if (setsVelocity) vX = dx, vY = dy, vZ = dz;
    X += dx, Y += dy, Z += dz;
    auto shift = [](int64_t& lo, int64_t& hi, double tenths) {
        const int64_t now = truncToInt64(tenths / 10);
        hi = satAdd(hi, now - lo);
        lo = now;
    };
    // Huge or NaN positions are clamped for the box so that the pair arithmetic stays finite.
    auto clampTenths = [](double v) { return std::isnan(v) ? 0.0 : std::clamp(v, -1e15, 1e15); };
    shift(box.left, box.right, clampTenths(X));
    shift(box.low, box.high, clampTenths(Y));
    shift(box.nearZ, box.farZ, clampTenths(Z));
}

void AnimeInfo::flipPixels(int bits) {
    if (pixels.empty()) return;
    const size_t w = size_t(pixelWidth), h = size_t(pixelHeight);
    for (int f = 0; f < pixelFrames; ++f) {
        int32_t* frame = pixels.data() + size_t(f) * w * h;
        if (bits & 1)
            for (size_t y = 0; y < h; ++y) std::reverse(frame + y * w, frame + (y + 1) * w);
        if (bits & 2)
            for (size_t y = 0; y < h / 2; ++y) std::swap_ranges(frame + y * w, frame + (y + 1) * w, frame + (h - 1 - y) * w);
    }
    if (bits & 1) dirState ^= 1;
    if (bits & 2) dirState ^= 2;
}

void AnimeInfo::setChased(AnimeInfo* target) {
    chased = target;
    if (target) {
        chaseMode = 1;
        dirState |= 4;
    }
}

bool AnimeInfo::setUserValue(int index, double v) {
    if (index < 0 || index >= int(userValues.size())) return false;
    userValues[size_t(index)] = v;
    return true;
}

void AnimeInfo::copyToValueSlots(std::span<double, kValueSlots> values) const {
    const std::array<double, kValueSlots> v{X / 10, Y / 10, Z / 10, vX, vY, vZ, aX, aY, aZ,
                                            angleX / kDegree, angleY / kDegree, angleZ / kDegree,
                                            rotaX / kDegree, rotaY / kDegree, rotaZ / kDegree,
                                            hasTarget() ? 1.0 : 0.0, double(chaseMode)};
    std::copy(v.begin(), v.end(), values.begin());
}

void AnimeInfo::linkGame(GameLink link, int kindCode, int n) {
    AnimeInfo*& slot = games[size_t(link)];
    if (n == 0) {
        if (slot && slot->kind) slot->kind->linkPlayer(*this, 0);
        slot = nullptr;
        return;
    }
    const int k = n / 10, digit = n % 10;
    AnimeInfo* found = nullptr;
    AnimeInfo* last = nullptr;
    if (state)
        for (const auto& c : state->characters) {
            if (!c->kind || c->kind->kindCode() != kindCode) continue;
            last = c.get();
            if (c->sameNameIndex() == k && !found) found = c.get();
        }
    const bool fallBackToLast = link != GameLink::Nikaku && link != GameLink::Pitman;
    if (!found && fallBackToLast) found = last;
    slot = found;
    if (!found) return;
    chaseMode = digit;
    if (link == GameLink::Sudoku) gameStep = -1;
    // Mode 2 waits for the game pad; a maze runner in mode 2 explores by itself instead.
    if (digit == 2 && link != GameLink::Maze && state && state->host) state->host->showGamePad();
    found->kind->linkPlayer(*this, digit);
}

void AnimeInfo::setAttribute(int index, double v) {
    namespace A = Attr;
    const int64_t n = truncToInt64(v);
    const int ni = truncToInt(v);
    switch (index) {
    case A::X: this->X = v * 10; break;
    case A::Y: this->Y = v * 10; break;
    case A::Z: this->Z = v * 10; break;
    case A::vX: if (within(v, -kRateLimit, kRateLimit)) setVelocity(v, this->vY, this->vZ); break;
    case A::vY: if (within(v, -kRateLimit, kRateLimit)) setVelocity(this->vX, v, this->vZ); break;
    case A::vZ: if (within(v, -kRateLimit, kRateLimit)) setVelocity(this->vX, this->vY, v); break;
    case A::aX: if (within(v, -kRateLimit, kRateLimit)) this->aX = v; break;
    case A::aY: if (within(v, -kRateLimit, kRateLimit)) this->aY = v; break;
    case A::aZ: if (within(v, -kRateLimit, kRateLimit)) this->aZ = v; break;
    case A::angleX: this->angleX = v * kDegree; break;
    case A::angleY: this->angleY = v * kDegree; break;
    case A::angleZ: case A::angle: this->angleZ = v * kDegree; break;
    case A::rotaX: this->rotaX = v * kDegree; break;
    case A::rotaY: this->rotaY = v * kDegree; break;
    case A::rotaZ: case A::rota: this->rotaZ = v * kDegree; break;
    case A::zoomX: if (validZoom(n)) this->zoomX = ni; break;
    case A::zoomY: if (validZoom(n)) this->zoomY = ni; break;
    case A::zoomZ: if (validZoom(n)) this->zoomZ = ni; break;
    case A::multX: if (n >= 1 && n <= 100) this->multX = ni; break;
    case A::multY: if (n >= 1 && n <= 100) this->multY = ni; break;
    case A::multZ: if (n >= 1 && n <= 100) this->multZ = ni; break;
    case A::minX: this->minX = ni; break;
    case A::minY: this->minY = ni; break;
    case A::minZ: this->minZ = ni; break;
    case A::maxX: this->maxX = ni; break;
    case A::maxY: this->maxY = ni; break;
    case A::maxZ: this->maxZ = ni; break;
    case A::eX: if (within(v, 0, kRateLimit)) this->eX = factorOrPercent(v); break;
    case A::eY: if (within(v, 0, kRateLimit)) this->eY = factorOrPercent(v); break;
    case A::eZ: if (within(v, 0, kRateLimit)) this->eZ = factorOrPercent(v); break;
    case A::ghostX: if (n >= 1 && n <= kSpacingLimit) this->ghostX = ni; break;
    case A::ghostY: if (n >= 1 && n <= kSpacingLimit) this->ghostY = ni; break;
    case A::ghostZ: if (n >= 1 && n <= kSpacingLimit) this->ghostZ = ni; break;
    case A::ghost: if (n >= 1 && n <= kSpacingLimit) this->ghostX = this->ghostY = this->ghostZ = ni; break;
    case A::balloonX: if (n >= 1 && n <= kSpacingLimit) this->balloonX = ni; break;
    case A::balloonY: if (n >= 1 && n <= kSpacingLimit) this->balloonY = ni; break;
    case A::balloonZ: if (n >= 1 && n <= kSpacingLimit) this->balloonZ = ni; break;
    case A::balloon: if (n >= 1 && n <= kSpacingLimit) this->balloonX = this->balloonY = this->balloonZ = ni; break;
    case A::dir:
        if (n >= 0 && n <= 255) {
            flipPixels((ni ^ dirState) & 3);
            dirState = (dirState & ~4) | (ni & 4);
        }
        break;
    case A::disp: if (n >= 0 && n <= 255) this->disp = ni; break;
    case A::reverse: if (n >= 1 && n <= 3) flipPixels(ni); break;
    case A::mode:
        if (n >= 0 && n <= 256) this->mode = ni;
        if (kind && (kind->kindCode() == Kind::nebu || kind->kindCode() == Kind::startrek))
            kind->modeGiven(ni);
        break;
    case A::gotoX: if (n >= -kPlaceLimit && n <= kPlaceLimit) this->gotoX = double(n * 10); break;
    case A::gotoY: if (n >= -kPlaceLimit && n <= kPlaceLimit) this->gotoY = double(n * 10); break;
    case A::gotoZ: if (n >= -kPlaceLimit && n <= kPlaceLimit) this->gotoZ = double(n * 10); break;
    case A::rX: if (within(v, 0, kRateLimit)) this->rX = factorOrPercent(v); break;
    case A::rY: if (within(v, 0, kRateLimit)) this->rY = factorOrPercent(v); break;
    case A::rZ: if (within(v, 0, kRateLimit)) this->rZ = factorOrPercent(v); break;
    case A::rsftX: if (within(v, -kPlaceLimit, kPlaceLimit)) this->rsftX = v * 10; break;
    case A::rsftY: if (within(v, -kPlaceLimit, kPlaceLimit)) this->rsftY = v * 10; break;
    case A::rsftZ: if (within(v, -kPlaceLimit, kPlaceLimit)) this->rsftZ = v * 10; break;
    case A::Maze: linkGame(GameLink::Maze, Kind::Maze, ni); break;
    case A::Chaser: if (n == 0) chased = nullptr; break;
    case A::Sudoku: linkGame(GameLink::Sudoku, Kind::Sudoku, ni); break;
    case A::Nikaku: linkGame(GameLink::Nikaku, Kind::Nikaku, ni); break;
    case A::Soukoban: linkGame(GameLink::Soukoban, Kind::Soukoban, ni); break;
    case A::NumLink: linkGame(GameLink::NumLink, Kind::NumLink, ni); break;
    case A::pitman: linkGame(GameLink::Pitman, Kind::pitman, ni); break;
    case A::SetVal: if (n >= 1 && state) copyToValueSlots(state->valueSlots); break;
    case A::LifeTime: lifeTime = ni; break;
    case A::Charge:
        if (v != 0) {
            charge = v;
            chargesWhenSet = state && !state->charges.empty();
        } else {
            charge = 0;
        }
        break;
    case A::Color:
        // -1 names the animation's background colour, as in a Message declaration; numbers
        // beyond the palette are ignored.
        if (state && n >= -1 && n < int64_t(state->palette.size())) {
            colorNumber = ni;
            textColor = n < 0 ? state->bgColor : state->paletteColor(ni);
        }
        break;
    case A::bgColor:
        if (state && n >= -2 && n < int64_t(state->palette.size())) {
            backColorNumber = ni;
            backColor = n == -2 ? -2 : (n == -1 ? int64_t(state->bgColor) : int64_t(state->paletteColor(ni)));
        }
        break;
    case A::Font: height = ni; break;
    case A::colorSft: this->colorSft = v; break;
    default: break; // text, Center, max, dim: no effect through a plain value
    }
}

double AnimeInfo::attribute(int index) const {
    namespace A = Attr;
    switch (index) {
    case A::X: return this->X / 10;
    case A::Y: return this->Y / 10;
    case A::Z: return this->Z / 10;
    case A::vX: return this->vX;
    case A::vY: return this->vY;
    case A::vZ: return this->vZ;
    case A::aX: return this->aX;
    case A::aY: return this->aY;
    case A::aZ: return this->aZ;
    case A::angleX: return this->angleX / kDegree;
    case A::angleY: return this->angleY / kDegree;
    case A::angleZ: case A::angle: return this->angleZ / kDegree;
    case A::rotaX: return this->rotaX / kDegree;
    case A::rotaY: return this->rotaY / kDegree;
    case A::rotaZ: case A::rota: return this->rotaZ / kDegree;
    case A::zoomX: return this->zoomX;
    case A::zoomY: return this->zoomY;
    case A::zoomZ: return this->zoomZ;
    case A::multX: return this->multX;
    case A::multY: return this->multY;
    case A::multZ: return this->multZ;
    case A::minX: return this->minX;
    case A::minY: return this->minY;
    case A::minZ: return this->minZ;
    case A::maxX: return this->maxX;
    case A::maxY: return this->maxY;
    case A::maxZ: return this->maxZ;
    case A::eX: return this->eX;
    case A::eY: return this->eY;
    case A::eZ: return this->eZ;
    case A::ghostX: case A::ghost: return this->ghostX;
    case A::ghostY: return this->ghostY;
    case A::ghostZ: return this->ghostZ;
    case A::balloonX: case A::balloon: return this->balloonX;
    case A::balloonY: return this->balloonY;
    case A::balloonZ: return this->balloonZ;
    case A::dir: return dirState;
    case A::disp: return this->disp;
    case A::mode: return this->mode;
    case A::gotoX: return this->gotoX == kNoTarget ? kNoTarget : this->gotoX / 10;
    case A::gotoY: return this->gotoY == kNoTarget ? kNoTarget : this->gotoY / 10;
    case A::gotoZ: return this->gotoZ == kNoTarget ? kNoTarget : this->gotoZ / 10;
    case A::rX: return this->rX;
    case A::rY: return this->rY;
    case A::rZ: return this->rZ;
    case A::rsftX: return this->rsftX / 10;
    case A::rsftY: return this->rsftY / 10;
    case A::rsftZ: return this->rsftZ / 10;
    case A::Chaser: return chased ? 1 : 0;
    case A::LifeTime: return lifeTime;
    case A::Charge: return charge;
    case A::Color: return colorNumber;
    case A::bgColor: return backColorNumber;
    case A::Font: return height;
    case A::colorSft: return this->colorSft;
    default: return 0;
    }
}
