// The ring figure: a ring, polygon, spokes or Lissajous figure computed from the character's
// user values (corners, radius, width, radius speed and acceleration, x and y radius factors,
// x and y angle factors), so a program reshapes it with dim statements while it runs. The
// radius grows by its speed once per drawn frame.
#pragma once

#include "anime/AnimeKind.h"

#include <QPointF>
#include <QString>
#include <optional>
#include <vector>

class AnimeBlockInput;
class AnimeState;

class metaRingInfo : public AnimeKind {
public:
    // Indexes of the shape values among the character's user values.
    enum Value { Corners, Radius, Width, RadiusSpeed, RadiusAcceleration, RadiusX, RadiusY, AngleX, AngleY };
    // Corners drawn at most, whatever the values ask for (a ring of radius 10000 has 30000).
    static constexpr int kMaxCorners = 65536;
    // Line width bounds, of the declaration and of a width given later through dim.
    static constexpr int kMaxWidth = 400;
    // Copies one declaration may make.
    static constexpr int kMaxCount = 10000;
    // The radius moves only while it stays inside this bound, and then keeps its value.
    static constexpr double kRadiusLimit = 10000;

    // The ring of character `self`; the declaration sets the user values.
    explicit metaRingInfo(AnimeInfo& self) : self_(self) {}

    int kindCode() const override;
    // Draws the figure at the screen place and then moves the radius. Cost: linear in the
    // corners (at most kMaxCorners) plus the drawn pixels.
    bool draw(AnimeCanvas& canvas, const AnimeInfo& self, const AnimeKindDraw& at) override;

    // The corner count a drawing at this dot zoom uses (the clamp included). Cost: constant.
    int cornerCount(int dotZoom) const;
    // The corner points of a drawing at this place on this canvas (its window rotation
    // included). Cost: linear in the corners.
    std::vector<QPointF> corners(const AnimeCanvas& canvas, const AnimeKindDraw& at) const;

private:
    AnimeInfo& self_;
};

// Reader of a metaRing declaration: name, lft, top, angle, radius, wid, color, bgcolor [, count].
std::optional<QString> readMetaRing(AnimeState& state, AnimeBlockInput& input, const QString& params);
