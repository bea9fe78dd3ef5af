#include "MugSpace.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace MugSpace {

Placement place(const std::vector<Work>& works, QSize view) {
    Placement p;
    const size_t count = std::min(works.size(), size_t(kMaxPlaced));
    double z = kStartZ;
    double lastZ = z;
    int maxX = -1;
    bool left = true; // the next row starts at −W / 4 or 0 and goes right; else at the largest x and goes left
    int x = 0;
    for (size_t i = 0; i < count;) {
        const int group = works[i].group;
        if (left) x = -view.width() / 4;
        else x = maxX;
        left = !left;
        for (int inGroup = 0; i < count && works[i].group == group; ++i, ++inGroup) {
            if (inGroup > 0 && inGroup % kRowLength == 0) {
                z -= kRowDepth;
                x = left ? 0 : maxX;
                left = !left;
            }
            const QSize size = works[i].fullSize;
            p.positions.push_back({double(x), double(view.height() - size.height() + kTopBelowView), z});
            lastZ = z;
            maxX = std::max(maxX, x);
            x += (size.width() + kColumnGap) * (left ? -1 : 1);
        }
        z -= kRowDepth;
    }
    p.earth = {0, double(view.height() + kEarthBelow), lastZ - kEarthBehind};
    return p;
}

namespace {

// The scale of a point at depth `z`; a point not below the camera counts as 0.1 in front of it.
double scaleAt(double z, double cameraZ) {
    const double d = z < cameraZ ? cameraZ - z : 0.1;
    return kFocal / d;
}

} // namespace

std::vector<Projected> project(const std::vector<Point3>& positions, const std::vector<QSize>& fullSizes,
                               const Point3& camera, QSize view, int visibleCount, const Point3& earthAt, QRect* earth) {
    std::vector<Projected> out(positions.size());
    int candidate = 0;
    for (size_t i = 0; i < positions.size(); ++i) {
        const Point3& at = positions[i];
        Projected& p = out[i];
        p.behind = at.z > camera.z - kNearest;
        if (p.behind) continue;
        p.shown = candidate++ < visibleCount;
        const double scale = scaleAt(at.z, camera.z);
        const int width = int(fullSizes[i].width() * scale);
        const int height = int(fullSizes[i].height() * scale);
        const int left = int((at.x - camera.x) * scale + view.width() / 2 - width / 2);
        const int top = int((at.y - camera.y + kTopOffset) * scale);
        p.rect = QRect(left, top, width, height);
        p.zoom = int(scale * 100);
    }
    if (earth) {
        // Passed by the camera the earth would be scaled up without bound: it is not drawn.
        if (earthAt.z > camera.z - kNearest) {
            *earth = QRect();
        } else {
            const double scale = scaleAt(earthAt.z, camera.z);
            *earth = QRect(int((earthAt.x - camera.x) * scale + view.width() / 2), int((earthAt.y - camera.y + kTopOffset) * scale),
                           int(kEarthSize * scale), int(kEarthSize * scale));
        }
    }
    return out;
}

namespace {

int sign(double v) { return v > 0 ? 1 : v < 0 ? -1 : 0; }

} // namespace

bool autopilotStep(Point3& camera, Flight& flight, const Target& target, int viewHeight) {
    const int b = int(camera.x) - (flight.sideTarget != 0 ? flight.sideTarget : int(target.at.x));
    const int c = int(camera.z - target.at.z - kFocal);
    bool moved = false;
    if (flight.phase == 0) {
        int across = std::abs(b);
        if (across > 2) {
            across = across / 3;
            if (flight.sideTarget != 0) across = std::max(across, 20);
            across = std::min({across, 100, std::abs(b)});
        }
        int deep = std::abs(c) / (flight.sideTarget != 0 ? 20 : 2);
        if (deep < 3) deep = std::abs(c);
        deep = std::min({deep, 60, std::abs(c)});
        camera.x -= sign(b) * across;
        camera.z -= sign(c) * deep;
        moved = across > 0 || deep > 0;
        if (b == 0 && flight.sideTarget != 0) {
            flight.sideTarget = 0;
            moved = true;
        }
    }
    if (moved) return true;
    flight.phase = 1;
    const int h = target.zoom;
    if (h != 100) {
        camera.z += (h > 100 ? 1 : -1) * std::max(1, std::abs(100 - h) / 2);
        return true;
    }
    const int m = target.drawn.y() + target.drawn.height() - viewHeight + 32;
    const int up = std::abs(m) < 3 ? std::abs(m) : std::abs(m) / 3;
    camera.y += sign(m) * up;
    return up > 0;
}

int sideTarget(int previousX, int previousWidth, bool wentRight) {
    return wentRight ? previousX + previousWidth + previousWidth * 2 / 3 : previousX - previousWidth * 2 / 3;
}

} // namespace MugSpace
