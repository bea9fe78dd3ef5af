// The universe laid out in space for the star journey: every frame the nodes of the tree window's
// display chain near the ship become axis-parallel boxes (labels, branch lines, row marks), and
// the markers of the Earth, the next stargate and the destination are added. A row r lies in the
// band y = −16 r to −16 r + 16 (forward is −y), a node of relative depth d at height z = 20 d,
// its level's column at x = 16 × level width × d.
#pragma once

#include "JourneyProjection.h"

#include <QRgb>
#include <QString>
#include <cstdint>
#include <vector>

class NebuLayout;
struct fileInfo;

enum class ObjectRole : uint8_t {
    Label,       // a node's name plate; its text comes from the node
    Branch,      // a piece of a branch line
    RowMark,     // "★" at the left edge of an even row
    GateMark,    // "+" around the next stargate
    GatePicture, // the stargate
    Earth,
    Destination, // "イスカンダル"
};

struct JourneyObject {
    double x0 = 0, y0 = 0, z0 = 0, x1 = 0, y1 = 0, z1 = 0;
    QRgb colour = 0;
    ObjectRole role = ObjectRole::Label;
    const fileInfo* node = nullptr;
    // Filled by projection: the corners (x0,y0,z0) (x1,y0,z0) (x1,y1,z1) (x0,y1,z1).
    ProjectedPoint corners[4];
    double depthKey = 0;
};

// What the tree window offers the journey besides its layout.
struct JourneyLook {
    int levelWidth = 24;  // the tree window's indentation per level (space widths)
    int columnWidth = 24; // its star name length (half-width columns)
    bool branchesEverywhere = true; // branch mode 1 ("画精細"); 0 only near each star ("画高速")
};

// Where the scene's special objects are in the object list (−1 when absent).
struct SceneMarkers {
    int gateLabel = -1;
    int earth = -1;
    int destination = -1;
    int firstRow = -1; // the first row taken, −1 when the ship has left the universe
};

// The row a world y lies in and the first row less than 30 rows behind the ship (which may be
// past the last row). O(1).
int rowAtY(double y);
int firstRowNear(double shipY);

// Half-width columns of a text as the picture's font draws it (1 for ASCII and half-width kana,
// 2 otherwise). O(length).
int halfWidthColumns(const QString& text);

// The plate text of a node: "< name >" for a galaxy; a star's name
// cut to 16 characters, or sixteen "*" when it is longer than 12 characters and holds
// double-byte characters. O(name).
QString plateText(const fileInfo& node);

// Builds the objects of one frame into `objects` (cleared first; at most `capacity` objects for
// the nodes, nearest rows first, then the markers, which always fit). `nextGate` (may be null)
// gets its "+" marks and picture, `destination` (may be null) its marker; `tick` sets the
// blinking colours. Cost: O(rows taken × depth)
// (the first row is found from the ship's y, not by walking the chain).
SceneMarkers buildScene(const NebuLayout& layout, const JourneyLook& look, double shipY, int radar,
                        std::size_t capacity, const fileInfo* nextGate, const fileInfo* destination, int64_t tick,
                        std::vector<JourneyObject>& objects);

// The x of a node's label: its level's column + 10, and for the later nodes of a row 60 units
// after the end of the previous one's column (column width × 10 units). O(1).
double labelX(const JourneyLook& look, int relativeDepth, int column);
// The Earth marker's place: x = 32 × level width, y = 100, z = 200 (160 × 160 units). O(1).
JourneyObject earthObject(const JourneyLook& look);
