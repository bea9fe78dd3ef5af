// The space gallery's geometry without windows: where the works float in the 3D space (rows of
// three per group, each row 400 further away, alternating direction), how the camera projects
// them onto the exhibition area (only the nearest `visibleCount` in front of the camera), the
// earth at the far end, and the autopilot's steps towards a work. Placement and projection are
// linear in the works; an autopilot step is constant time.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

#include <vector>

namespace MugSpace {

constexpr double kStartZ = -500;       // depth of the first row
constexpr double kRowDepth = 400;      // each further row and group
constexpr int kRowLength = 3;          // works per row
constexpr int kColumnGap = 200;        // between two works of a row
constexpr int kTopBelowView = 190;     // a work's top: view height − its height + 190
constexpr double kNearest = 300;       // a work nearer than this to the camera is behind it
constexpr double kFocal = 500;         // scale = 500 / distance
constexpr int kTopOffset = 100;        // added to y before scaling
constexpr int kEarthSize = 400;
constexpr int kEarthBelow = 400;       // the earth's y: view height + 400
constexpr double kEarthBehind = 1200;  // the earth's z: the last work's z − 1200
constexpr int kMaxPlaced = 100;        // `placedWindows`
constexpr int kStartVisible = 10;      // `visibleCount` at first

struct Point3 {
    double x = 0, y = 0, z = 0;
    bool operator==(const Point3&) const = default;
};

// One work to place, in catalog order.
struct Work {
    int group = 0;  // works of one group follow each other
    QSize fullSize; // window size at 100 %
};

struct Placement {
    std::vector<Point3> positions; // `worldPosition` of each placed work
    Point3 earth;
};
// Places the works of a `view` sized exhibition area (at most kMaxPlaced): per group a row
// starting at −W / 4 or at the largest x so far, alternating direction; every fourth work of a
// group starts a new row 400 further away; 400 more after each group.
Placement place(const std::vector<Work>& works, QSize view);

// Where a work is drawn.
struct Projected {
    bool shown = false; // a candidate among the nearest visibleCount
    bool behind = false; // not in front of the camera by more than 300
    QRect rect;
    int zoom = 100;      // `zoomPercent`
};
// Projects every placed work (of `fullSizes`) and the earth for a camera; `earth` receives the
// earth's rectangle, empty when the camera is at or beyond it (its scale would explode).
std::vector<Projected> project(const std::vector<Point3>& positions, const std::vector<QSize>& fullSizes,
                               const Point3& camera, QSize view, int visibleCount, const Point3& earthAt,
                               QRect* earth = nullptr);

// The autopilot's flight towards a work.
struct Flight {
    int phase = 0;       // 0 closing in sideways and in depth, 1 adjusting size and height
    int sideTarget = 0;  // x to pass by first (0 = none)
};
// What the autopilot needs of its target: its world position, its zoom and its drawn rectangle.
struct Target {
    Point3 at;
    int zoom = 100;
    QRect drawn;
};
// One autopilot step: the camera moves towards the target (see the class comment); false when
// nothing moved, which ends the flight.
bool autopilotStep(Point3& camera, Flight& flight, const Target& target, int viewHeight);

// The side target when the flight goes on from `previous` (x, width) to a work of another row
// whose row went right (`wentRight`): past the previous work's right edge by 2/3 of its width,
// else left of it by 2/3.
int sideTarget(int previousX, int previousWidth, bool wentRight);

} // namespace MugSpace
