#include "JourneyPainter.h"

#include "common/ProgramFont.h"
#include "universe/NebuLayout.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <array>
#include <numeric>
#include <optional>

namespace {

constexpr int kLargestText = 64;
const QColor kText(0, 0, 128);
const QColor kThinOutline(128, 128, 128);

// One font and its ascent per pixel size, made on first use.
struct SizedFont {
    QFont font;
    int ascent = 0;
    int height = 0;
};
const SizedFont& fontOfSize(int size) {
    static std::array<std::optional<SizedFont>, kLargestText + 1> fonts;
    size = std::clamp(size, 1, kLargestText);
    auto& slot = fonts[static_cast<std::size_t>(size)];
    if (!slot) {
        QFont f = programFont(QString(), size);
        const QFontMetrics m(f);
        slot = SizedFont{f, m.ascent(), m.height()};
    }
    return *slot;
}

QRect boundsOf(const JourneyObject& o) {
    int left = o.corners[0].sx, right = left, top = o.corners[0].sy, bottom = top;
    for (const ProjectedPoint& p : o.corners) {
        left = std::min(left, p.sx), right = std::max(right, p.sx);
        top = std::min(top, p.sy), bottom = std::max(bottom, p.sy);
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

void drawEarth(QPainter& p, const QRect& r, bool returning) {
    p.setPen(Qt::NoPen);
    if (returning) { // home in sight: the Earth with its glow
        p.setBrush(QColor(120, 200, 255, 90));
        p.drawEllipse(r.adjusted(-r.width() / 8, -r.height() / 8, r.width() / 8, r.height() / 8));
    }
    p.setBrush(QColor(30, 90, 230));
    p.drawEllipse(r);
    p.setBrush(QColor(40, 170, 70));
    p.drawEllipse(QRect(r.x() + r.width() / 5, r.y() + r.height() / 4, r.width() / 3, r.height() / 3));
    p.drawEllipse(QRect(r.x() + r.width() / 2, r.y() + r.height() / 2, r.width() / 4, r.height() / 5));
}

void drawGate(QPainter& p, const QRect& r) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 255, 255), std::max(1, r.width() / 12)));
    p.drawEllipse(r);
    p.setPen(QPen(QColor(255, 255, 255), std::max(1, r.width() / 30)));
    p.drawEllipse(r.adjusted(r.width() / 5, r.height() / 5, -r.width() / 5, -r.height() / 5));
}

void drawDestination(QPainter& p, const QRect& r, bool reached, int64_t tick) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 150, 40));
    p.drawEllipse(r);
    p.setBrush(QColor(255, 220, 120));
    p.drawEllipse(QRect(r.x() + r.width() / 6, r.y() + r.height() / 6, r.width() / 3, r.height() / 4));
    if (reached) return;
    // Three sprays of stars around the planet, turning with the ticks.
    const int size = std::clamp(r.height() / 5, 4, kLargestText);
    const SizedFont& f = fontOfSize(size);
    p.setFont(f.font);
    p.setPen(QColor(255, 255, 160));
    const QPoint c = r.center();
    for (int spray = 0; spray < 3; ++spray)
        for (int k = 1; k <= 3; ++k) {
            const int angle = int((spray * 120 + tick * 3) % 360);
            const double reach = r.width() / 2.0 + k * size;
            const double rad = angle * 3.14159265358979 / 180;
            p.drawText(QPoint(int(c.x() + reach * std::cos(rad)), int(c.y() + reach * std::sin(rad))), QStringLiteral("★"));
        }
}

} // namespace

int drawJourneyFrame(QImage& picture, std::vector<JourneyObject>& objects, const JourneyCamera& camera,
                     const FrameLook& look) {
    picture.fill(QColor(0, 0, 48));
    const QRect area = picture.rect();
    std::vector<int> order;
    order.reserve(objects.size());
    for (std::size_t i = 0; i < objects.size(); ++i) {
        JourneyObject& o = objects[i];
        o.corners[0] = projectPoint(camera, o.x0, o.y0, o.z0);
        o.corners[1] = projectPoint(camera, o.x1, o.y0, o.z0);
        o.corners[2] = projectPoint(camera, o.x1, o.y1, o.z1);
        o.corners[3] = projectPoint(camera, o.x0, o.y1, o.z1);
        o.depthKey = (double(o.corners[0].distance) + double(o.corners[2].distance)) / 2;
        bool behind = false;
        for (const ProjectedPoint& p : o.corners) behind = behind || p.distance < 0;
        if (behind) continue;
        const QRect b = boundsOf(o);
        // Row marks are drawn at the left edge whatever their x.
        const bool seen = o.role == ObjectRole::RowMark ? b.top() < area.bottom() + 16 && b.bottom() > -16 : b.intersects(area);
        if (seen) order.push_back(static_cast<int>(i));
    }
    std::stable_sort(order.begin(), order.end(), [&objects](int a, int b) {
        return objects[static_cast<std::size_t>(a)].depthKey > objects[static_cast<std::size_t>(b)].depthKey;
    });
    QPainter p(&picture);
    for (int index : order) {
        const JourneyObject& o = objects[static_cast<std::size_t>(index)];
        const QRect b = boundsOf(o);
        switch (o.role) {
        case ObjectRole::Label:
        case ObjectRole::Branch: {
            const QPoint points[4] = {{o.corners[0].sx, o.corners[0].sy}, {o.corners[1].sx, o.corners[1].sy},
                                      {o.corners[2].sx, o.corners[2].sy}, {o.corners[3].sx, o.corners[3].sy}};
            p.setBrush(QColor(o.colour));
            p.setPen(b.height() <= 1 ? kThinOutline : QColor(o.colour));
            p.drawPolygon(points, 4);
            if (o.role != ObjectRole::Label || !o.node || b.width() < 3 || b.height() < 3) break;
            const QString text = plateText(*o.node);
            const int columns = std::max(1, halfWidthColumns(text));
            const int size = std::min({kLargestText, b.height(), (b.width() - 3) * 2 / columns});
            if (size < 3) break;
            const SizedFont& f = fontOfSize(size);
            p.setFont(f.font);
            p.setPen(kText);
            p.drawText(QPoint(b.left() + 3, b.top() + (b.height() - f.height) / 2 + f.ascent), text);
            break;
        }
        case ObjectRole::RowMark:
        case ObjectRole::GateMark: {
            const int size = b.height() + 1;
            if (size <= 1) break;
            const SizedFont& f = fontOfSize(size);
            p.setFont(f.font);
            p.setPen(QColor(o.colour));
            const bool row = o.role == ObjectRole::RowMark;
            p.drawText(QPoint(row ? -1 : o.corners[0].sx, o.corners[0].sy + 8), row ? QStringLiteral("★") : QStringLiteral("+"));
            break;
        }
        case ObjectRole::GatePicture: drawGate(p, b); break;
        case ObjectRole::Earth: drawEarth(p, b, look.returning); break;
        case ObjectRole::Destination: drawDestination(p, b, look.returning, look.tick); break;
        }
    }
    return static_cast<int>(order.size());
}

void drawJourneyMap(QImage& picture, int size, const NebuLayout& layout, const JourneyLook& look,
                    const std::vector<const fileInfo*>& gates, const fileInfo* destination, double shipX, double shipY) {
    if (size <= 0) return;
    const QRect square(210 - size / 2, 210 - size / 2, size, size);
    QPainter p(&picture);
    p.setPen(QColor(96, 160, 255));
    p.setBrush(QColor(0, 0, 24, 220));
    p.drawRect(square);
    if (size < 40) return;
    const treeInfo& tree = layout.tree();
    const int top = tree.topGalaxy ? tree.topGalaxy->depth : 0;
    const int rows = std::max(1, layout.rowCount());
    const double width = labelX(look, std::max(1, tree.deepestLevel - top) + 1, 0);
    auto place = [&](double x, double row) {
        return QPoint(square.left() + int(std::clamp(x / width, 0.0, 1.0) * (size - 4)) + 2,
                      square.bottom() - 2 - int(std::clamp(row / rows, 0.0, 1.0) * (size - 4)));
    };
    const int stride = std::max(1, rows / 1500);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(208, 208, 96));
    for (int r = 0; r < rows; r += stride) {
        const fileInfo* n = layout.firstOfRow(r);
        if (n && n->isGalaxy()) p.drawRect(QRect(place(labelX(look, n->depth - top, 0), r), QSize(2, 2)));
    }
    p.setBrush(QColor(255, 0, 0));
    for (const fileInfo* g : gates)
        if (g->row >= 0) p.drawRect(QRect(place(labelX(look, g->depth - top, g->column), g->row) - QPoint(2, 2), QSize(4, 4)));
    if (destination && destination->row >= 0) {
        p.setBrush(QColor(255, 160, 0));
        p.drawEllipse(QRect(place(labelX(look, destination->depth - top, destination->column), destination->row) - QPoint(3, 3), QSize(7, 7)));
    }
    p.setBrush(QColor(0, 255, 255));
    p.drawEllipse(QRect(place(shipX, -shipY / 16) - QPoint(3, 3), QSize(7, 7)));
}
