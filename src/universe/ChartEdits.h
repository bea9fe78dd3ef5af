// Edits of a chart: constellation data whose root names no place, built node by node in the tree
// window's chart mode. Every edit acts on the tree's current node and leaves a tree that the
// constellation reader takes back unchanged (a node sits at most one level below the node before
// it, and only below a galaxy), so that a saved chart reads back byte for byte. Every edit that
// changes the tree sets metaChanged, so that closing the window offers to save the chart.
// Refusals are explained through showCheck. Outside chart mode nothing happens.
#pragma once

#include "treeInfo.h"

#include <QString>
#include <cstdint>

enum class ChartLevel { Same = 0, Below = 1 };

// The name of a star added by the user.
inline constexpr char16_t kNewChartStar[] = u"new";

// Adds a star named "new" (kind 0, size 0, `stamp`): at the current node's level as its next
// sibling (after a galaxy's whole subtree, so that the galaxy keeps its content), or one level
// below it as its first child (a star that receives a node becomes a galaxy, as only galaxies hold
// nodes). The root has no level of its own to share (refused). A depth beyond the search depth
// raises the search depth, the deepest level and the display depth. The current node stays.
// Returns the new node, null when refused or out of memory. O(n) for the totals.
fileInfo* addChartStar(treeInfo& tree, ChartLevel level, uint64_t stamp);

// Deletes the current node with its subtree, without a question; the node that followed (or the
// one before at the end) becomes current. Deleting changes the chart as much as adding does, so
// it sets metaChanged too. The root is refused. Returns the new current node, null when refused.
// O(subtree + depth).
fileInfo* deleteChartNode(treeInfo& tree);

// The current node takes `text` as its name: trailing line ends dropped, other control
// characters (which no data line can hold) turned into spaces. True when renamed. O(length).
bool renameChartNode(treeInfo& tree, const QString& text);

// Turns the current node from a star into a galaxy or back. A galaxy that holds nodes stays one
// (its nodes would have no galaxy), and so does the root (refused with a message). A node that
// becomes a star takes back the size of its metadata. True when changed. O(n) for the totals.
bool toggleChartGalaxy(treeInfo& tree);

// The text the depth window starts with: the current node's depth. O(1).
QString chartDepthText(const treeInfo& tree);

// Sets the current node's depth to the number in `text` (its ASCII digits; 0 when there are
// none), moving its subtree by the same amount. A deeper node stays below the node before it: at
// most one level below a galaxy, at most at the level of a star. A shallower node leaves the
// galaxies it was in: it moves with its subtree to follow the subtree of its ancestor at the new
// depth, so that no node after it loses its galaxy. Depth 0 is the root's alone. A depth outside
// what the place allows is brought into it and said so. A depth beyond the search depth raises
// the search depth, the deepest level and the display depth. True when the depth changed.
// O(n) for the links and totals.
bool setChartDepth(treeInfo& tree, const QString& text);

// The current local time as a packed time stamp, for the stamp of an added star. O(1).
uint64_t chartStampNow();
