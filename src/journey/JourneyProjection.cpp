#include "JourneyProjection.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

struct Tables {
    std::array<double, 360> sine{};
    std::array<double, 360> cosine{};
    Tables() {
        for (int i = 0; i < 360; ++i) {
            sine[static_cast<std::size_t>(i)] = std::sin(2 * std::numbers::pi * i / 360);
            cosine[static_cast<std::size_t>(i)] = std::cos(2 * std::numbers::pi * i / 360);
        }
    }
};

const Tables& tables() {
    static const Tables t;
    return t;
}

int screenInt(double v) {
    constexpr double kLimit = 1 << 30;
    return static_cast<int>(std::clamp(v, -kLimit, kLimit));
}

} // namespace

int wrapDegrees(int degrees) { return ((degrees % 360) + 360) % 360; }

double tableSin(int degrees) { return tables().sine[static_cast<std::size_t>(wrapDegrees(degrees))]; }
double tableCos(int degrees) { return tables().cosine[static_cast<std::size_t>(wrapDegrees(degrees))]; }

ProjectedPoint projectPoint(const JourneyCamera& c, double X, double Y, double Z) {
    const double dx = X - c.x, dy = Y - c.y, dz = Z - c.z;
    const double sa = tableSin(c.yaw), ca = tableCos(c.yaw);
    const double sb = tableSin(c.pitch), cb = tableCos(c.pitch);
    const double sc = tableSin(c.roll), cc = tableCos(c.roll);
    const double g = dx * sa + dy * ca;
    const double e = dx * ca - dy * sa;
    const double o = dz * cc - e * sc;
    const double h = dz * sc + e * cc;
    double t = g * sb + o * cb;
    const double w = g * cb - o * sb;
    ProjectedPoint p;
    if (t >= c.eye) {
        t = c.eye - 0.1;
        p.distance = -1;
    } else {
        const double depth = c.eye - t;
        p.distance = static_cast<int64_t>(std::min(h * h + w * w + depth * depth, 9.0e18));
    }
    const double scale = 180 / (c.eye - t);
    p.sx = screenInt(std::trunc(c.cx + h * scale));
    p.sy = screenInt(std::trunc(c.cy + w * scale));
    return p;
}
