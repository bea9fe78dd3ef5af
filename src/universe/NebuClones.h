// Clones of the file universe without widgets: stars (and galaxies) that exist more than once
// with the same name, size and time. Counting sorts the nodes once and takes the runs of equal
// keys; marking and deleting work on the whole tree. Every question and notice goes through
// showCheck, and only the answer 1 proceeds.
#pragma once

#include "treeInfo.h"

#include <QString>
#include <cstdint>
#include <vector>

class BreakPoll;
class ScanProgress;

// The clone test of counting, marking and the clone view: names equal with ASCII letters folded,
// equal size, and stamps equal down to the hour (minutes and seconds ignored). O(name).
bool cloneEqual(const fileInfo& a, const fileInfo& b);
// The strict test of deletion: names byte for byte, equal size, all 14 digits of the stamp. O(name).
bool cloneIdentical(const fileInfo& a, const fileInfo& b);

// Sets every node's cloneCount below `top` to the number of other nodes below `top` that are
// cloneEqual to it (`top` itself gets 0; nodes outside keep theirs). One sort of the subtree's
// nodes by (folded name, size, stamp) and one pass over its runs; `poll` (may be null) is asked
// between sort steps and every 1000 nodes of the pass, `progress` (may be null) gets the pass's
// path text every 10000 nodes. Returns false when broken (the counts are then incomplete) or
// when memory ran out (`*outOfMemory` set). Cost: O(n log n) comparisons, 52 bytes per node.
bool countCloneRuns(treeInfo& tree, fileInfo* top, BreakPoll* poll, ScanProgress* progress, bool* outOfMemory = nullptr);

// The groups of clones below `top` after a count: each group's nodes in list order, the groups
// ordered by their first node. Cost: O(k log k) for the k nodes with clones.
std::vector<std::vector<fileInfo*>> cloneGroups(treeInfo& tree, fileInfo* top);

class NebuClones {
public:
    // Stars above this count are asked about before counting.
    static constexpr int64_t kAskAbove = 200000;
    // The progress window appears above this count.
    static constexpr int64_t kProgressAbove = 10000;
    // Clones of one kind that deletion keeps, the first ones in list order.
    static constexpr int kKept = 3;

    // `tree` must outlive this object; `poll` and `progress` (not owned, may be null) are the
    // progress window's 中断 panel and bands.
    NebuClones(treeInfo& tree, BreakPoll* poll, ScanProgress* progress)
        : tree_(tree), poll_(poll), progress_(progress) {}

    // The clone view on or off, given the view flags: off clears ViewClones; on sets it and
    // counts (countClones), clearing it again when the count fails or finds nothing. Returns the
    // new flags; the caller lays the tree out. Cost: that of countClones.
    int toggleCloneView(int viewFlags);

    // The counting pass below the top galaxy with its questions and messages. Nothing is
    // recounted while a count is current (tree.clonesComputed). Returns true when the clone view
    // may stay on; on false "clones computed" is reset. Cost: countCloneRuns.
    bool countClones();

    // Clears every node's mark and marks every node of the whole tree that is cloneEqual to
    // `node`, itself included. Returns the number marked. O(n).
    int64_t markClones(const fileInfo& node);

    struct Deletion {
        int64_t erased = 0;    // files erased for good and taken out of the tree
        bool asked = false;    // the question was answered yes
        bool stopped = false;  // the user stopped, or declined to go on after a failure
    };
    // Deletes for good the surplus clones (strict test) of a star, or of every star of a galaxy's
    // subtree, keeping the first kKept of each in list order. Only stars are ever erased, and
    // each only while the file on disk still has the tree's size and time; a file that cannot be
    // erased or has changed asks whether to go on ("いいえ" stops everything, "はい" goes on with
    // the next clone kind). Erased stars leave the tree; afterwards the galaxy sizes are summed
    // again and a current count is redone without messages. Nothing happens in chart mode. The
    // caller lays the tree out.
    // Cost: O(n) for the walk plus one system call per erased file.
    Deletion deleteClones(fileInfo* node);

private:
    bool askStop();

    treeInfo& tree_;
    BreakPoll* poll_;
    ScanProgress* progress_;
};
