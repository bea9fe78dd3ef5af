// The key-code sorter of the file universe: an index sort over records that stand for nodes, so
// that neither the nodes nor the records move. The clone count and the database view sort with
// it. Texts are compared as stored bytes with ASCII letters folded, the same rule as the tree
// window's masks (other letters compare exactly).
#pragma once

#include "fileInfo.h"

#include <QByteArrayView>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

class BreakPoll;

// One record of a sort. The texts are views into storage that outlives the sort (node names in
// the tree's arena, or the caller's own).
struct sortRecord {
    int32_t number = 0;                              // key 0
    fileInfo* node = nullptr;                        // keys 1 to 4 and 7
    QByteArrayView text;                             // key 6
    const std::vector<QByteArrayView>* texts = nullptr; // key 8 (none: an empty list)
    int32_t groupStart = 0;                          // key 5; set by a sort whose first key is 1, 6 or 8
};

// Key codes: the low four bits choose the key, SortReverse added compares the other way round.
enum SortKey : int {
    SortNumber = 0,
    SortName = 1,      // node name without regard to case
    SortSize = 2,
    SortStamp = 3,
    SortDepth = 4,
    SortGroup = 5,
    SortText = 6,      // record text without regard to case
    SortExtension = 7, // from the last "."; names without one are equal and come first
    SortTexts = 8,     // element by element without regard to case, at most 99 elements
    SortReverse = 16,
};

// Compares two byte strings with ASCII letters folded: below 0, 0 or above 0. O(length).
int compareCaseless(QByteArrayView a, QByteArrayView b);

class sortFile {
public:
    static constexpr int kMaxKeys = 16;
    static constexpr int kMaxTexts = 99;
    static constexpr int kPollSteps = 1000;

    // `records` (not owned, `count` of them) must outlive the sorter. `poll` (may be null) is
    // asked every kPollSteps steps; when it reports a press, "並べ替えを中止しますか？(Y/N)" is
    // asked and only the answer 1 stops. `progress` (may be empty) receives "steps/1000:depth"
    // every kPollSteps steps and the largest depth at the end.
    sortFile(sortRecord* records, std::size_t count, std::function<void(const QString&)> progress, BreakPoll* poll);

    // Sorts index[first..last] (positions into the records) by the key codes, up to kMaxKeys of
    // them, ended by a negative code or the list's end. Afterwards, when the first key is 1 or 6
    // (8: by the first element), every sorted record gets the sorted position of the first record
    // of its run of equal texts as group start. Returns true when the user stopped the sort (the
    // index then holds a permutation, not sorted). Cost: O(n log n) comparisons, each O(keys ×
    // text length); a three-way quicksort that turns to heapsort on a part that splits badly,
    // run on copies that carry the first key (a text's first 16 bytes, or a number) when memory allows.
    bool sortRecords(std::size_t first, std::size_t last, std::vector<uint32_t>& index, const std::vector<int>& keys);

    // The group start of the records of the last sorted range whose text equals `text` without
    // regard to case, or -1. The last sort's first key must be 1 or 6. O(log n) comparisons.
    int findText(QByteArrayView text) const;

    // The last sort's cancelled flag, its steps (records placed or sifted) and the deepest
    // partition it reached. O(1).
    bool cancelled() const { return cancelled_; }
    std::size_t steps() const { return steps_; }
    int largestDepth() const { return largestDepth_; }

    // Compares two records by the current key list: below 0, 0 or above 0.
    int compare(const sortRecord& a, const sortRecord& b) const;

private:
    int compareFrom(const sortRecord& a, const sortRecord& b, int firstKey) const;
    // One step; every kPollSteps steps the progress and the break poll. True once cancelled.
    bool step() { return ++steps_ % kPollSteps != 0 ? cancelled_ : poll(); }
    bool poll();
    // Sorts the range; true when it also set the group starts.
    bool sortRange(std::vector<uint32_t>& index, std::size_t first, std::size_t last);
    template <typename Item, typename Compare>
    void quickSort(Item* a, std::size_t lo, std::size_t hi, int depth, const Compare& compare);
    template <typename Item, typename Compare>
    void heapSort(Item* a, std::size_t lo, std::size_t hi, const Compare& compare);
    QByteArrayView groupText(const sortRecord& r) const;

    sortRecord* records_;
    std::size_t count_;
    std::function<void(const QString&)> progress_;
    BreakPoll* poll_;
    std::vector<uint32_t>* index_ = nullptr; // of the last sort, for findText
    std::size_t first_ = 0;
    std::size_t last_ = 0;
    int keys_[kMaxKeys + 1] = {-1};
    bool cancelled_ = false;
    std::size_t steps_ = 0;
    int largestDepth_ = 0;
    int depthLimit_ = 0;
};
