// Lines and polygons of the figure kinds on an animation picture. Corners may lie anywhere a
// program's values put them, so every line and polygon is first clipped in real coordinates to
// the picture grown by the pen's width; the raster engine then only sees small numbers.
#pragma once

#include <QPainter>
#include <QPointF>
#include <QRectF>
#include <cstdint>
#include <vector>

class AnimeCanvas;

class FigurePainter {
public:
    // Paints on the canvas's picture (nothing when it is empty); the canvas must outlive this.
    explicit FigurePainter(AnimeCanvas& canvas);

    // Pen of the following lines and outlines: colour 0x00BBGGRR, width in pixels (below 1
    // draws one pixel wide). Cost: constant.
    void setPen(uint32_t color, int width);
    // Outlines of the following polygons are not drawn.
    void noPen();
    // A straight line from a to b with the pen, the part on the picture only. Cost: the line's
    // visible pixels.
    void line(QPointF a, QPointF b);
    // Lines through the points in turn (back to the first when `closed`), with the pen: one
    // stroke when every point lies near the picture, else line by line. Cost: as many lines.
    void polyline(const std::vector<QPointF>& points, bool closed);
    // Fills the polygon through the points with a colour (even-odd rule) and outlines it with
    // the pen. Cost: linear in the points plus the filled pixels.
    void polygon(const std::vector<QPointF>& points, uint32_t fill);

    // Cuts the segment a-b to the rectangle; false when nothing of it lies inside. Cost: constant.
    static bool clipLine(const QRectF& area, QPointF& a, QPointF& b);
    // The part of a polygon inside the rectangle (empty when none). Cost: linear in the points.
    static std::vector<QPointF> clipPolygon(const QRectF& area, const std::vector<QPointF>& points);

private:
    QPainter painter_;
    QRectF area_;     // the picture grown by the pen's reach
    bool active_ = false;
    int penWidth_ = 1;
};
