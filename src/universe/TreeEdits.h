// Edits of the universe tree in place after a file operation, so that the window keeps showing
// the disk as it now is without a rescan: every edit keeps the parent links, the depths, the
// sibling marks, the galaxy totals above the node and the tree's galaxy and star counters.
#pragma once

#include "treeInfo.h"

#include "common/Platform.h"

#include <QString>
#include <cstdint>

// The last node of a node's subtree (the node itself for a star or an empty galaxy).
// O(subtree).
fileInfo* subtreeEnd(fileInfo* node);

// The node's path from its parent chain (treePath). O(depth).
QString nodePath(const treeInfo& tree, const fileInfo* node);

// The galaxy whose path is `path` (a final "/" is optional; "//" and "/./" count as one "/"),
// compared byte for byte, as the file system compares names; null when the tree has none.
// O(nodes below the galaxies on the way).
fileInfo* findGalaxy(treeInfo& tree, const QString& path);

// Takes the node with its subtree out of the tree for good (treeInfo::removeSubtree: totals,
// counters, sibling marks; a top galaxy or current node inside goes to the node's parent). The
// root is never removed (returns null). Returns the node that followed, or the one before it
// when the sentinel followed. O(subtree + depth + previous sibling's subtree).
fileInfo* removeNode(treeInfo& tree, fileInfo* node);

// Moves the node with its subtree to be the galaxy's first child: parent, depths shifted by the
// same amount, totals taken from the old ancestors and given to the new ones, sibling marks
// kept. False (nothing changed) for the root, a galaxy that is not one, or a galaxy inside the
// node's own subtree. O(subtree + depth).
bool relinkUnder(treeInfo& tree, fileInfo* node, fileInfo* galaxy);

// Lists the entry at `path` (never following a final link) and inserts it as the galaxy's first
// child, with the content of a folder down to `depthLimit` (a folder at depth d is entered
// while d < depthLimit, never across file systems, never through links), filled as a scan fills
// it; totals and counters follow. Null when the entry is missing or memory runs short (what was
// inserted stays, consistent). O(entries inserted · log).
fileInfo* insertFromDisk(treeInfo& tree, const QString& path, fileInfo* galaxy, int depthLimit);

// Gives a star a new size (a file that changed on disk) and corrects the totals above. O(depth).
void resizeStar(fileInfo* star, uint64_t size);

// The depth to which insertFromDisk enters folders so that the tree stays what a scan with the
// tree's own limit would give: everything when the last scan left nothing out for depth.
int insertDepthLimit(const treeInfo& tree);

// True when the entry (statPath) is what the node says: a galaxy is a folder and not a link, a
// link star is a link, any other star neither. O(1).
bool entryMatchesNode(const FolderEntry& entry, const fileInfo& node);
