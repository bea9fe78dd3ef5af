#include "TileFaces.h"

#include "qtriInfo.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kW = qtriInfo::kFaceWidth, kH = qtriInfo::kFaceHeight, kRow = qtriInfo::kFacesARow;
constexpr int kKinds = 34, kSuits = 3, kRanks = 9;
const QColor kMarkColours[3] = {QColor(200, 30, 30), QColor(20, 140, 50), QColor(30, 60, 200)};

// Where mark i of a rank of `count` marks stands on a face: rows of up to three.
QPointF markPlace(int i, int count) {
    const int rows = (count + 2) / 3, row = i / 3;
    const int inRow = std::min(3, count - row * 3);
    return {4 + (32.0 / inRow) * (i % 3 + 0.5), 6 + (44.0 / rows) * (row + 0.5)};
}

void drawMark(QPainter& p, int suit, QPointF at, const QColor& colour) {
    p.setPen(QPen(colour, 2));
    switch (suit) {
    case 0: // dots
        p.setBrush(colour);
        p.drawEllipse(at, 4, 4);
        break;
    case 1: // bars
        p.setBrush(colour);
        p.drawRect(QRectF(at.x() - 2, at.y() - 6, 4, 12));
        break;
    default: // rings
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(at, 4.5, 4.5);
        break;
    }
}

void drawShape(QPainter& p, int shape, QPointF c) {
    const QColor colour = kMarkColours[shape % 3];
    p.setPen(QPen(colour.darker(130), 2));
    p.setBrush(colour);
    QPolygonF poly;
    auto regular = [&](int corners, double radius, double turn) {
        for (int i = 0; i < corners; ++i) {
            const double a = turn + 2 * M_PI * i / corners;
            poly << QPointF(c.x() + radius * std::cos(a), c.y() + radius * std::sin(a));
        }
    };
    switch (shape) {
    case 0: regular(3, 14, -M_PI / 2); break;   // triangle
    case 1: regular(4, 14, M_PI / 4); break;    // square
    case 2: regular(4, 14, 0); break;           // diamond
    case 3: regular(6, 13, 0); break;           // hexagon
    case 4:                                     // star
        for (int i = 0; i < 10; ++i) {
            const double a = -M_PI / 2 + M_PI * i / 5, r = i % 2 == 0 ? 15 : 6;
            poly << QPointF(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        }
        break;
    case 5: // cross
        p.drawRect(QRectF(c.x() - 4, c.y() - 14, 8, 28));
        p.drawRect(QRectF(c.x() - 14, c.y() - 4, 28, 8));
        return;
    default: // disc with a hole
        p.drawEllipse(c, 14, 14);
        p.setBrush(Qt::white);
        p.drawEllipse(c, 5, 5);
        return;
    }
    p.drawPolygon(poly);
}

} // namespace

QImage drawTileFaces() {
    const int rows = (kKinds + kRow - 1) / kRow;
    QImage picture(kW * kRow, kH * rows, QImage::Format_RGB888);
    picture.fill(QColor(40, 40, 40));
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing, true);
    for (int kind = 0; kind < kKinds; ++kind) {
        const QPointF origin((kind % kRow) * kW, (kind / kRow) * kH);
        p.save();
        p.translate(origin);
        p.setPen(QPen(QColor(150, 140, 120), 1));
        p.setBrush(QColor(250, 245, 230));
        p.drawRoundedRect(QRectF(1, 1, kW - 3, kH - 3), 4, 4);
        if (kind < kSuits * kRanks) {
            const int suit = kind / kRanks, count = kind % kRanks + 1;
            for (int i = 0; i < count; ++i) drawMark(p, suit, markPlace(i, count), kMarkColours[i % 3]);
        } else {
            drawShape(p, kind - kSuits * kRanks, QPointF(kW / 2.0 - 1, kH / 2.0 - 1));
        }
        p.restore();
    }
    return picture;
}
