// The tree sort of the tree window: the content of a galaxy (every level) or the stars of one
// galaxy, by scan order, name, extension, size or time stamp, in either direction. A galaxy's
// stars always end up together right under it and before its sub-galaxies, which move as blocks
// with their whole subtrees. Nodes with equal keys keep their order.
#pragma once

#include "treeInfo.h"

// Sort modes; TreeSortReverse is added to one of the others.
enum TreeSortMode : int {
    TreeSortSerial = 1,    // scan (or file) order
    TreeSortName = 2,      // name without regard to case
    TreeSortExtension = 3, // text from the last "." (none first), then the name
    TreeSortSize = 4,
    TreeSortStamp = 5,
    TreeSortReverse = 8,
};

// True when `a` goes before `b` in `mode` (a strict weak order; reversed with TreeSortReverse).
// Names compare byte by byte with ASCII letters folded, so no text is built. O(name length).
bool sortsBefore(const fileInfo& a, const fileInfo& b, int mode);

// Sorts around `node`: a galaxy's whole content at every level, or, for a star, only the stars of
// its galaxy (its sub-galaxies keep their order, after the stars). Relinks the list in place and
// sets the sibling marks of the nodes it moved; parents, serials and sizes do not change. The
// display chain is stale until the next layout. An unknown mode or a null node does nothing.
// Cost: O(n log n) for the n nodes below the galaxy, one linear pass to find the groups.
void sortTree(treeInfo& tree, fileInfo* node, int mode);
