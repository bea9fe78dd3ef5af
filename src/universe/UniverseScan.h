// Fills the universe tree from the file system: one galaxy per folder, one star per other entry,
// never following a symbolic link and never crossing into another mounted file system. Folders
// are opened by descriptor relative to their parent, so depth is not bounded by a path length
// and a folder replaced by a link during the scan is not entered.
#pragma once

#include "FolderPrefetch.h"
#include "treeInfo.h"

#include "common/Platform.h"

#include <algorithm>
#include <cstdint>
#include <thread>
#include <vector>

class BreakPoll;
class ScanProgress;

class UniverseScan {
public:
    // `breakPoll` and `progress` may be null (no break, no progress); none is owned.
    UniverseScan(treeInfo& tree, BreakPoll* breakPoll, ScanProgress* progress);

    // Scans `startPath` down to the tree's search depth. 1 when complete, 0 when the user broke
    // it, -1 when the start folder is missing or unlistable (tree unchanged, reported) or memory
    // ran short (partial tree kept, reported). Cost: one listing per folder, O(n log n) overall,
    // the listings shared with the helper threads.
    int scanUniverse(const QString& startPath);

    // Threads that list folders ahead of the scan (0: the scan lists every folder itself); the
    // tree is the same whatever the number. One less than the cores, at least one, at most three.
    int helpers = std::clamp(static_cast<int>(std::thread::hardware_concurrency()) - 1, 1, 3);

private:
    // Puts a listed folder into the tree below `galaxy` and descends.
    void scanGalaxy(int level, fileInfo* galaxy, uint64_t device, const FolderPrefetch::Listing& listing);
    void showProgressLine(const fileInfo* galaxy, int level);
    // After a whole scan: a message when folders could not be listed or lay past `depthLimit`.
    void reportLeftOut(const QString& top, int depthLimit) const;
    void checkBreak(int level);

    treeInfo& tree_;
    BreakPoll* breakPoll_;
    ScanProgress* progress_;
    FolderPrefetch* prefetch_ = nullptr; // while a scan runs
};

// Sets a node's size, stamp and kind from a folder entry. O(1).
void fillNode(fileInfo& node, const FolderEntry& entry);
