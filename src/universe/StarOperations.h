// The star and galaxy commands of the tree window without the window: copy, move and delete of
// the current node or of every marked node, rename and new galaxy, each with its questions and
// messages (showCheck; only the answer 1 goes on), the file work through the platform layer and
// the tree edited in place afterwards (TreeEdits.h).
//
// Safety rules that hold for every command: a batch works on the marked set as it was before the
// first operation, and a marked node inside a marked galaxy goes with its galaxy, not again on
// its own; before each node is touched its entry is read from disk (never following a link) and
// must still be what the tree says, else the command stops with a message and touches nothing
// more; an existing name is never replaced; nothing is copied or moved into itself; the root is
// never removed.
#pragma once

#include "treeInfo.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

// The progress box of a batch: a window with a cancel panel, or nothing headless.
class StarProgress {
public:
    virtual ~StarProgress() = default;
    // Shows the box with its text ("[星]のコピー中.......").
    virtual void begin(const QString& text) = 0;
    // The name of the node being worked on.
    virtual void item(const QString& name) = 0;
    // Keeps the windows responsive; true when the user pressed the box's panel since the last call.
    virtual bool pressed() = 0;
    virtual void end() = 0;
};

enum class StarOutcome {
    Cancelled, // the user said no or chose nothing: nothing done
    Refused,   // a message said why nothing was done
    Failed,    // a node failed with its message; the nodes before it stay done
    Stopped,   // the user stopped the batch; the nodes before stay done
    Done,
};

struct StarResult {
    StarOutcome outcome = StarOutcome::Cancelled;
    int done = 0; // nodes copied, moved or deleted
    // True when the tree changed and the window must lay it out again.
    bool changed() const { return done > 0; }
};

class StarOperations {
public:
    // `tree` must outlive the operations. Nothing is owned.
    explicit StarOperations(treeInfo& tree) : tree_(tree) {}

    // The progress box of batches (not owned; null for none).
    void setProgress(StarProgress* progress) { progress_ = progress; }

    // The commands on the tree's current node or its marked nodes. The destination of copy and
    // move is chosen through choosePath on the last chooser folder. Cost: one pass over the top
    // galaxy's subtree for the marks, then per node its file work, O(depth) tree edits and the
    // insertion of what a copy made.
    StarResult copyStars();
    StarResult moveStars();
    StarResult deleteStars();
    // The deletion of deleteStars on a set of the caller's own (`marked`, in the order given; when
    // empty, `named` alone), asked about naming `named`, with the same checks per node. `leaving`
    // (may be empty) is told of each node just before it leaves the tree, while it is still valid.
    // Cost: per node its file work and O(depth) tree edits.
    StarResult deleteNodes(const std::vector<fileInfo*>& marked, fileInfo* named,
                           const std::function<void(fileInfo*)>& leaving);

    // The text the rename window starts with: the current node's path (mode 0) or its name
    // (mode 2, chart mode); for a new galaxy the current path and "/" (mode 1). O(depth).
    QString renameText() const;
    QString newGalaxyText() const;

    // Executes the rename window's text. True when the window closes (done); false when it stays
    // open after its message. Cost: a rename, and a findGalaxy when the folder changed.
    bool renameStar(const QString& text);
    // Mode 1: creates the galaxy named after the current galaxy's path. True when created.
    bool makeGalaxy(const QString& text);

    // The marked nodes inside the top galaxy's subtree in list order, the top galaxy itself only
    // with `withTop`, without marks inside a marked galaxy. `rawCount` receives every mark seen.
    // O(subtree of the top galaxy).
    std::vector<fileInfo*> markedNodes(bool withTop, int64_t* rawCount = nullptr) const;

    // 1 + the nodes inside the galaxy (a star counts 1). O(subtree).
    static int64_t galaxyCount(const fileInfo* node);

private:
    enum class Step { Done, Skipped, Stop };
    enum class Transfer { Copy, Move };

    StarResult transferStars(Transfer how);
    Step transferOne(Transfer how, fileInfo* node, const QString& dest, fileInfo* destGalaxy, bool batch,
                     const QString& what, bool markCopy);
    // Reads the node's entry from disk: false (after the message) when it is gone or changed kind.
    // A star's size is taken from the disk when it changed.
    bool stillOnDisk(fileInfo* node, const QString& path, const QString& caption);
    // The destination galaxy when its folder is in the tree and on the root's file system.
    fileInfo* destinationInTree(const QString& dest);

    treeInfo& tree_;
    StarProgress* progress_ = nullptr;
};
