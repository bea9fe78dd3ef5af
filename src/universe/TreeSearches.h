// The tree window's searches over what it shows (the deepest level, the longest name, the longest
// path) and the paths of its rescans (the folder above the current path, a galaxy of the tree),
// without widgets. The window moves the cursor and shows the messages.
#pragma once

#include "treeInfo.h"

#include <QString>

struct SearchHit {
    fileInfo* node = nullptr; // nullptr: nothing shown qualifies
    int bytes = 0;            // code page 932 length of the name or path found
};

// The first node of the display chain (from the top galaxy) whose depth is the tree's deepest
// level. O(chain).
fileInfo* findDeepestShown(const treeInfo& tree);
// The first node of the display chain with the most name bytes; the root, whose name is the
// path it was scanned from, does not count. O(chain).
SearchHit findLongestName(const treeInfo& tree);
// The first node of the display chain with the longest path (as treePath joins it), measured in
// code page 932 bytes from the names' byte counts. O(chain + depth) amortised, no text is built.
SearchHit findLongestPath(const treeInfo& tree);

// The folder above `path` for a rescan: one trailing separator dropped, the text cut after its
// last separator ("\" or "/"), and that separator dropped too unless what is left is a root ("/",
// "C:\"). Empty when the path has no separator left. "C:\a\b" gives "C:\a", "C:\a" gives "C:\".
// O(length).
QString parentRescanPath(const QString& path);

// Why a new scan from `galaxy` must not run: its folder is reached through a symbolic link now,
// or lies on another mounted file system than the tree's root (which the scan that made the tree
// did not enter either). Empty when it may run, also when the folders cannot be opened (the scan
// then reports that itself) and for a chart, which names no folder. Cost: one open and one stat
// per level below the root.
QString rescanRefusal(const treeInfo& tree, const fileInfo* galaxy);
