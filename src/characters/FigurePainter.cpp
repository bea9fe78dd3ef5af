#include "FigurePainter.h"

#include "anime/AnimeCanvas.h"

#include <QPen>
#include <QPolygonF>
#include <cmath>

namespace {

QColor colorOf(uint32_t color) { return QColor::fromRgb(rgbOfColor(color)); }

bool finite(QPointF p) { return std::isfinite(p.x()) && std::isfinite(p.y()); }

} // namespace

FigurePainter::FigurePainter(AnimeCanvas& canvas) {
    QImage& picture = canvas.picture();
    if (picture.isNull()) return;
    active_ = painter_.begin(&picture);
    painter_.setRenderHint(QPainter::Antialiasing, false);
    setPen(0, 1);
    area_ = QRectF(0, 0, picture.width(), picture.height());
}

void FigurePainter::setPen(uint32_t color, int width) {
    penWidth_ = width < 1 ? 1 : width;
    if (!active_) return;
    QPen pen(colorOf(color));
    pen.setWidth(penWidth_ == 1 ? 0 : penWidth_); // 0: one pixel, as a thin line of the platform
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter_.setPen(pen);
}

void FigurePainter::noPen() {
    penWidth_ = 1;
    if (active_) painter_.setPen(Qt::NoPen);
}

void FigurePainter::line(QPointF a, QPointF b) {
    if (!active_) return;
    const double reach = penWidth_ + 2;
    if (!clipLine(area_.adjusted(-reach, -reach, reach, reach), a, b)) return;
    painter_.drawLine(a, b);
}

void FigurePainter::polyline(const std::vector<QPointF>& points, bool closed) {
    if (!active_ || points.size() < 2) return;
    const double reach = penWidth_ + 2;
    const QRectF area = area_.adjusted(-reach, -reach, reach, reach);
    bool near = true;
    for (const QPointF& p : points) near = near && finite(p) && area.contains(p);
    if (near) {
        const QPolygonF line(QList<QPointF>(points.begin(), points.end()));
        painter_.setBrush(Qt::NoBrush);
        if (closed) painter_.drawPolygon(line);
        else painter_.drawPolyline(line);
        return;
    }
    for (size_t i = 1; i < points.size(); ++i) this->line(points[i - 1], points[i]);
    if (closed) this->line(points.back(), points.front());
}

void FigurePainter::polygon(const std::vector<QPointF>& points, uint32_t fill) {
    if (!active_ || points.empty()) return;
    const double reach = penWidth_ + 2;
    // Edges that the clip adds run outside the picture by more than the pen's half width.
    const std::vector<QPointF> inside = clipPolygon(area_.adjusted(-reach, -reach, reach, reach), points);
    if (inside.empty()) return;
    painter_.setBrush(colorOf(fill));
    painter_.drawPolygon(QPolygonF(QList<QPointF>(inside.begin(), inside.end())), Qt::OddEvenFill);
}

bool FigurePainter::clipLine(const QRectF& area, QPointF& a, QPointF& b) {
    if (!finite(a) || !finite(b)) return false;
    // Liang-Barsky: the part of a + t (b - a), 0 <= t <= 1, inside the rectangle.
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    double t0 = 0, t1 = 1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x() - area.left(), area.right() - a.x(), a.y() - area.top(), area.bottom() - a.y()};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            if (t > t1) return false;
            if (t > t0) t0 = t;
        } else {
            if (t < t0) return false;
            if (t < t1) t1 = t;
        }
    }
    const QPointF start = a;
    a = QPointF(start.x() + t0 * dx, start.y() + t0 * dy);
    b = QPointF(start.x() + t1 * dx, start.y() + t1 * dy);
    return true;
}

std::vector<QPointF> FigurePainter::clipPolygon(const QRectF& area, const std::vector<QPointF>& points) {
    for (const QPointF& p : points)
        if (!finite(p)) return {};
    // Sutherland-Hodgman against the four edges in turn.
    std::vector<QPointF> polygon = points, next;
    for (int edge = 0; edge < 4 && !polygon.empty(); ++edge) {
        auto inside = [&](QPointF p) {
            switch (edge) {
            case 0: return p.x() >= area.left();
            case 1: return p.x() <= area.right();
            case 2: return p.y() >= area.top();
            default: return p.y() <= area.bottom();
            }
        };
        auto crossing = [&](QPointF a, QPointF b) {
            const double bound = edge == 0 ? area.left() : edge == 1 ? area.right() : edge == 2 ? area.top() : area.bottom();
            const double t = edge < 2 ? (bound - a.x()) / (b.x() - a.x()) : (bound - a.y()) / (b.y() - a.y());
            return QPointF(a.x() + t * (b.x() - a.x()), a.y() + t * (b.y() - a.y()));
        };
        next.clear();
        for (size_t i = 0; i < polygon.size(); ++i) {
            const QPointF current = polygon[i], previous = polygon[(i + polygon.size() - 1) % polygon.size()];
            const bool in = inside(current), wasIn = inside(previous);
            if (in != wasIn) next.push_back(crossing(previous, current));
            if (in) next.push_back(current);
        }
        polygon.swap(next);
    }
    return polygon;
}
