#include "JourneyScene.h"

#include "universe/NebuLayout.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kRowUnits = 16;     // a row's band in y
constexpr double kLevelHeight = 20;  // z per level
constexpr int kUnitsPerColumn = 6;   // a half-width column of a plate's text
constexpr int kNearRows = 30;        // rows near the ship get short branch pieces
constexpr int kFarPieceRows = 20;    // 320 units beyond them
constexpr int kPiecesPerLevel = 50;
constexpr double kBranchWidth = 6;

QRgb starColour(int nameBytes) {
    return qRgb(std::max(0, 192 - nameBytes), std::max(0, 208 - 2 * nameBytes), std::max(0, 208 - 3 * nameBytes));
}

// Builds objects while there is room for them.
class SceneBuilder {
public:
    SceneBuilder(std::vector<JourneyObject>& objects, std::size_t capacity) : objects_(objects), capacity_(capacity) {}
    bool full() const { return objects_.size() >= capacity_; }
    int add(double x0, double y0, double z0, double x1, double y1, double z1, QRgb colour, ObjectRole role,
            const fileInfo* node = nullptr, bool always = false) {
        if (!always && full()) return -1;
        JourneyObject o;
        o.x0 = x0, o.y0 = y0, o.z0 = z0, o.x1 = x1, o.y1 = y1, o.z1 = z1;
        o.colour = colour;
        o.role = role;
        o.node = node;
        objects_.push_back(o);
        return static_cast<int>(objects_.size()) - 1;
    }

private:
    std::vector<JourneyObject>& objects_;
    std::size_t capacity_;
};

double rowTop(int row) { return -kRowUnits * row; }
// The x where the vertical branch line of a relative level runs: just left of its plates.
double connectorX(const JourneyLook& look, int level) { return 16.0 * look.levelWidth * level - 8; }

} // namespace

int rowAtY(double y) { return static_cast<int>(std::ceil(-y / kRowUnits)); }

int firstRowNear(double shipY) {
    const double limit = -(shipY + kNearRows * kRowUnits) / kRowUnits;
    const double row = std::floor(limit) + 1;
    return row < 0 ? 0 : static_cast<int>(std::min(row, 2.0e9));
}

int halfWidthColumns(const QString& text) {
    int columns = 0;
    for (QChar c : text) {
        const char16_t u = c.unicode();
        columns += (u < 0x80 || (u >= 0xFF61 && u <= 0xFF9F)) ? 1 : 2;
    }
    return columns;
}

QString plateText(const fileInfo& node) {
    const QString name = node.name();
    if (node.isGalaxy()) return QStringLiteral("< %1 >").arg(name);
    if (name.size() > 12 && name.size() != node.nameBytes) return QString(16, u'*');
    return name.left(16);
}

double labelX(const JourneyLook& look, int relativeDepth, int column) {
    return 16.0 * look.levelWidth * relativeDepth + 10 + column * (look.columnWidth * 10.0 + 60);
}

JourneyObject earthObject(const JourneyLook& look) {
    JourneyObject o;
    o.x0 = 32.0 * look.levelWidth, o.y0 = 100, o.z0 = 200;
    o.x1 = o.x0 + 160, o.y1 = o.y0 + 160, o.z1 = 200;
    o.colour = qRgb(0, 96, 255);
    o.role = ObjectRole::Earth;
    return o;
}

SceneMarkers buildScene(const NebuLayout& layout, const JourneyLook& look, double shipY, int radar,
                        std::size_t capacity, const fileInfo* nextGate, const fileInfo* destination, int64_t tick,
                        std::vector<JourneyObject>& objects) {
    objects.clear();
    SceneMarkers markers;
    SceneBuilder b(objects, capacity);
    const treeInfo& tree = layout.tree();
    const int top = tree.topGalaxy ? tree.topGalaxy->depth : 0;
    const int rows = layout.rowCount();
    const int first = firstRowNear(shipY);
    const int deepest = std::max(1, tree.deepestLevel - top);
    const bool galaxiesOnly = !layout.view.starsShown;
    auto grey = [deepest](int level) {
        const int g = std::min(255, 112 + std::max(0, level - 1) * (96 / (deepest + 2)));
        return qRgb(g, g, g);
    };
    auto vertical = [&](int level, double yFront, double yBack) {
        const double x = connectorX(look, level);
        return b.add(x - kBranchWidth / 2, yFront, kLevelHeight * level, x + kBranchWidth / 2, yBack,
                     kLevelHeight * level, grey(level), ObjectRole::Branch) >= 0;
    };
    const bool blinkOn = (tick / 10) % 8 > 2;
    const bool marksOn = ((tick / 10) + 2) % 8 > 2;

    if (first < rows) {
        markers.firstRow = first;
        const int end = static_cast<int>(std::min<int64_t>(rows, int64_t(first) + std::max(1, radar)));
        const int nearLimit = rowAtY(shipY) + kNearRows;
        // Open runs of the vertical lines per level (branch mode 1): the row where each began.
        std::vector<int> runStart;
        std::vector<int> pieces;
        auto closeRun = [&](int level, int lastRow) {
            int& start = runStart[static_cast<std::size_t>(level)];
            for (int r = start; r <= lastRow && pieces[static_cast<std::size_t>(level)] < kPiecesPerLevel;) {
                const int span = r <= nearLimit ? 1 : kFarPieceRows;
                const int until = std::min(lastRow, r + span - 1);
                if (!vertical(level, rowTop(until), rowTop(r) + kRowUnits)) break;
                ++pieces[static_cast<std::size_t>(level)];
                r = until + 1;
            }
            start = -1;
        };
        for (int r = first; r < end && !b.full(); ++r) {
            const fileInfo* n = layout.firstOfRow(r);
            if (!n) continue;
            const int d = n->depth - top;
            const double y0 = rowTop(r);
            if (r % 2 == 0) b.add(-1, y0, -100, 3, y0 + kRowUnits, -100, qRgb(160, 160, 0), ObjectRole::RowMark, n);
            // Plates of the row's nodes.
            double lastEnd = 0;
            for (const fileInfo* m = n; m && !b.full(); m = layout.nextInRow(m)) {
                const double x = labelX(look, d, m->column);
                const QString text = plateText(*m);
                QRgb colour = galaxiesOnly ? qRgb(208, 208, 0)
                              : m->isGalaxy() ? qRgb(208, 208, 96)
                              : m == nextGate ? (blinkOn ? qRgb(0, 255, 255) : qRgb(255, 0, 128))
                                              : starColour(m->nameBytes);
                lastEnd = x + halfWidthColumns(text) * kUnitsPerColumn;
                const int at = b.add(x, y0 + 3, kLevelHeight * d, lastEnd, y0 + 13, kLevelHeight * d, colour,
                                     ObjectRole::Label, m);
                if (m == nextGate && at >= 0) markers.gateLabel = at;
            }
            if (d <= 0) continue;
            // Branch lines: the node's own connector and the horizontal piece to its plate.
            const double cx = connectorX(look, d);
            b.add(cx, y0 + 5, kLevelHeight * d, labelX(look, d, 0), y0 + 5 + kBranchWidth, kLevelHeight * d, grey(d),
                  ObjectRole::Branch);
            const fileInfo* after = n->nextShown;
            if (n->isGalaxy() && after && after->depth == n->depth + 1 && after->row >= 0) {
                const double childX = connectorX(look, d + 1);
                if (lastEnd < childX)
                    b.add(lastEnd, y0 + 5, kLevelHeight * d, childX, y0 + 5 + kBranchWidth, kLevelHeight * d, grey(d + 1),
                          ObjectRole::Branch);
                b.add(childX - kBranchWidth / 2, y0, kLevelHeight * d, childX + kBranchWidth / 2, y0 + 8,
                      kLevelHeight * d, grey(d + 1), ObjectRole::Branch);
            }
            if (!look.branchesEverywhere) {
                for (int i = 1; i < d && !b.full(); ++i)
                    if (layout.levelLineThrough(r, top + i)) vertical(i, y0, y0 + kRowUnits);
                vertical(d, layout.ownLineThrough(r) ? y0 : y0 + 8, y0 + kRowUnits);
                continue;
            }
            if (runStart.size() < static_cast<std::size_t>(d + 1)) {
                runStart.resize(static_cast<std::size_t>(d + 1), -1);
                pieces.resize(static_cast<std::size_t>(d + 1), 0);
            }
            for (int i = 1; i < static_cast<int>(runStart.size()); ++i) {
                const bool through = i < d ? layout.levelLineThrough(r, top + i) : i == d;
                int& start = runStart[static_cast<std::size_t>(i)];
                if (through && start < 0) start = r;
                if (!through && start >= 0) closeRun(i, r - 1);
            }
            if (!layout.ownLineThrough(r)) closeRun(d, r);
        }
        for (int i = 1; i < static_cast<int>(runStart.size()); ++i)
            if (runStart[static_cast<std::size_t>(i)] >= 0) closeRun(i, end - 1);
    }

    // Markers always fit: they are what the journey steers by.
    if (markers.gateLabel >= 0) {
        const JourneyObject plate = objects[static_cast<std::size_t>(markers.gateLabel)];
        const double a = plate.x0, bt = plate.y0 - 3, z = plate.z0 + kLevelHeight;
        static constexpr double kPlus[6][4] = {{-90, -10, -50, 30}, {0, -10, 30, 30},  {-90, 50, -50, 90},
                                               {-10, 50, 30, 90},   {-60, 60, -20, 100}, {-70, -80, -50, -120}};
        const QRgb plus = marksOn ? qRgb(255, 255, 0) : qRgb(255, 0, 128);
        for (const auto& p : kPlus)
            b.add(a + p[0], bt + p[1], z, a + p[2], bt + p[3], z, plus, ObjectRole::GateMark, nullptr, true);
        b.add(a - 80, bt, z, a, bt + 80, z, qRgb(255, 255, 255), ObjectRole::GatePicture, nextGate, true);
    }
    objects.push_back(earthObject(look));
    markers.earth = static_cast<int>(objects.size()) - 1;
    if (destination && destination->row >= 0) {
        const int d = destination->depth - top;
        const double centre = labelX(look, d, destination->column) +
                              halfWidthColumns(plateText(*destination)) * kUnitsPerColumn / 2.0;
        const double y0 = rowTop(destination->row);
        markers.destination = b.add(centre - 48, y0 - 56, kLevelHeight * (d + 1), centre + 48, y0 + 72,
                                    kLevelHeight * (d + 1), qRgb(255, 160, 0), ObjectRole::Destination, destination, true);
    }
    return markers;
}
