// The universe tree and the state that holds it: one doubly linked list of fileInfo nodes in
// depth-first order, from the root to the bottom sentinel. The tree owns every node and every
// name; nodes live in blocks of 4096 and names in a NameArena, so that a million of them cost a
// few hundred allocations.
#pragma once

#include "fileInfo.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// Default ceiling on the number of nodes; reaching it is treated like running out of memory.
constexpr std::size_t kDefaultNodeLimit = 16'000'000;

class treeInfo {
public:
    // Creates the root (named by `path`, joined to `workFolder` unless rooted) and the sentinel.
    treeInfo(const QString& path, const QString& workFolder);
    treeInfo(const treeInfo&) = delete;
    treeInfo& operator=(const treeInfo&) = delete;

    // The two fixed nodes; they live as long as the tree. O(1).
    fileInfo* root() { return &root_; }
    const fileInfo* root() const { return &root_; }
    fileInfo* bottom() { return &bottom_; }
    const fileInfo* bottom() const { return &bottom_; }
    // The node before the sentinel (the root when the tree is empty). O(1).
    fileInfo* lastNode() { return bottom_.prev; }

    // A new node with `depth` and a copy of `name`, linked right after `predecessor` (its serial is
    // the predecessor's plus 1). nullptr when memory or the node limit runs out. O(name length).
    fileInfo* appendNode(fileInfo* predecessor, int depth, QStringView name);
    // The same with the name given as its stored bytes (FileNameCodec.h), as a listing has them.
    fileInfo* appendNodeBytes(fileInfo* predecessor, int depth, QByteArrayView name);

    // Gives a node a new name (the old one stays in the arena until clearTree). O(length).
    void setName(fileInfo* node, QStringView name);

    // Deletes every node between the root and the sentinel and links the two. O(n).
    void clearTree();

    // Number of nodes between the root and the sentinel. O(1).
    std::size_t nodeCount() const { return count_ - removed_; }

    // Takes `node` and its whole subtree out of the list after the files are gone (never the root
    // or the sentinel): the previous sibling's MarkSiblingFollows, the galaxy and star counters,
    // the ancestors' sizes, and the top galaxy and current node (which go to the node's parent
    // when they were inside it) follow. Slots and names stay until clearTree, so pointers to the
    // removed nodes stay valid until then; metadata is freed. The display chain is stale until the
    // next layout. Answers the node that followed the subtree. Cost: O(subtree + depth + the
    // previous sibling's subtree).
    fileInfo* removeSubtree(fileInfo* node);

    // Unlinks the run of nodes from `first` to `last` (linked in that order, neither the root nor
    // the sentinel) to be linked again elsewhere by linkRun; nothing else changes. O(1).
    void unlinkRun(fileInfo* first, fileInfo* last);
    // Links an unlinked run after `predecessor`. O(1).
    void linkRun(fileInfo* first, fileInfo* last, fileInfo* predecessor);

    // Sets every galaxy's size to the total of its content (saturating) and every nameBytes:
    // one forward and one backward pass over the list, using the parent links. O(n).
    void sumSizes();

    // Rebuilds parents and sibling marks from the depths alone (after reading). O(n).
    void rebuildLinks();

    // The node's path from its ancestors' names, joined with the root's separator ("\" for a
    // root with a drive letter, "/" otherwise). O(depth) through the parent links.
    QString treePath(const fileInfo* node) const;

    // The separator of paths under this root.
    QChar separator() const;

    std::size_t nodeLimit = kDefaultNodeLimit;

    // Window state kept with the tree.
    fileInfo* topGalaxy = nullptr;
    fileInfo* current = nullptr;
    QString pathBuffer;
    QString workFolder;
    QString lastChooserFolder;
    int searchDepth = 2;
    int displayDepth = 2;
    int deepestLevel = 0;
    int64_t galaxyCount = 0;
    int64_t starCount = 0;
    int64_t unreadableCount = 0;   // galaxies of the last scan whose folder could not be listed
    int64_t depthLimitedCount = 0; // galaxies of the last scan not entered at the depth limit
    int scanState = 0; // 1 running, 0 stopped or finished, -1 out of memory
    int64_t thousandsMark = -1;
    bool chartMode = false;
    int clonesComputed = 0;
    bool metaChanged = false;
    bool fetched = false; // the constellation data came over http: its metadata pages start no program
    QString driveText; // what the drive box shows (" C:", " /home", "mc")

private:
    fileInfo root_;
    fileInfo bottom_;
    std::vector<std::unique_ptr<fileInfo[]>> blocks_;
    std::size_t count_ = 0;   // slots handed out, removed ones included
    std::size_t removed_ = 0; // slots of removed nodes
    NameArena names_;
};

// True for "X:..." (a path written on a system with drive letters).
bool hasDriveLetter(const QString& path);
// True for a path that names a place in a file system: "/..." or "X:...".
bool isRootedPath(const QString& path);
// Code page 932 length of a name given as its stored bytes, at most 255. O(length).
int nameByteCount(QByteArrayView name);
// The drive box text of a root path: " C:" for a drive letter, " /mount" for the mount point
// that holds a rooted path, "mc" for a chart. Reads the mount table for rooted paths.
QString driveBoxText(const QString& rootPath);
