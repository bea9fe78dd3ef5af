#include "TreeSort.h"

#include "sortFile.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// The text from the last "." of a name; empty when it has none.
QByteArrayView extensionOf(QByteArrayView name) {
    const qsizetype dot = name.lastIndexOf('.');
    return dot < 0 ? QByteArrayView() : name.sliced(dot);
}

// <0, 0, >0 for the mode's key without the reverse bit.
int compareKey(const fileInfo& a, const fileInfo& b, int key) {
    switch (key) {
    case TreeSortSerial: return a.serial == b.serial ? 0 : (a.serial < b.serial ? -1 : 1);
    case TreeSortName: return compareCaseless(a.nameUtf8(), b.nameUtf8());
    case TreeSortExtension: {
        const int byExtension = compareCaseless(extensionOf(a.nameUtf8()), extensionOf(b.nameUtf8()));
        return byExtension != 0 ? byExtension : compareCaseless(a.nameUtf8(), b.nameUtf8());
    }
    case TreeSortSize: return a.size == b.size ? 0 : (a.size < b.size ? -1 : 1);
    case TreeSortStamp: return a.stamp == b.stamp ? 0 : (a.stamp < b.stamp ? -1 : 1);
    default: return 0;
    }
}

bool validMode(int mode) {
    const int key = mode & ~TreeSortReverse;
    return key >= TreeSortSerial && key <= TreeSortStamp;
}

} // namespace

bool sortsBefore(const fileInfo& a, const fileInfo& b, int mode) {
    const int order = compareKey(a, b, mode & ~TreeSortReverse);
    return (mode & TreeSortReverse) ? order > 0 : order < 0;
}

void sortTree(treeInfo& tree, fileInfo* node, int mode) {
    if (!node || !validMode(mode) || node == tree.bottom()) return;
    const bool wholeContent = node->isGalaxy();
    fileInfo* galaxy = wholeContent ? node : (node->parent ? node->parent : tree.root());
    const int top = galaxy->depth;

    // The subtree in list order; index 0 stands for the galaxy. Each node's owner is the nearest
    // open node one level up (by depth, which is what the list order means).
    std::vector<fileInfo*> nodes{galaxy};
    std::vector<int32_t> owner{-1};
    std::vector<int32_t> open{0}; // open[r]: the last node met at relative depth r
    fileInfo* after = galaxy->next;
    for (; after != tree.bottom() && after->depth > top; after = after->next) {
        const auto index = static_cast<int32_t>(nodes.size());
        const std::size_t level = static_cast<std::size_t>(after->depth - top);
        // A depth that jumps more than one level hangs under the deepest open node.
        const std::size_t parentLevel = std::min(level - 1, open.size() - 1);
        owner.push_back(open[parentLevel]);
        open.resize(parentLevel + 1);
        open.push_back(index);
        nodes.push_back(after);
    }
    const std::size_t count = nodes.size();
    if (count < 2) return;

    // Children grouped by owner, each group in list order (a counting sort keeps it).
    std::vector<int32_t> start(count + 1, 0);
    for (std::size_t i = 1; i < count; ++i) ++start[static_cast<std::size_t>(owner[i]) + 1];
    for (std::size_t i = 1; i <= count; ++i) start[i] += start[i - 1];
    std::vector<int32_t> kids(count - 1);
    {
        std::vector<int32_t> fill(start.begin(), start.end() - 1);
        for (std::size_t i = 1; i < count; ++i) kids[static_cast<std::size_t>(fill[static_cast<std::size_t>(owner[i])]++)] = static_cast<int32_t>(i);
    }

    const auto starsFirst = [&](int32_t x) { return !nodes[static_cast<std::size_t>(x)]->isGalaxy(); };
    const auto before = [&](int32_t x, int32_t y) {
        return sortsBefore(*nodes[static_cast<std::size_t>(x)], *nodes[static_cast<std::size_t>(y)], mode);
    };
    for (std::size_t o = 0; o < count; ++o) {
        if (o > 0 && !wholeContent) break; // a star's sort touches its own galaxy's group only
        auto first = kids.begin() + start[o];
        auto last = kids.begin() + start[o + 1];
        if (last - first < 2) continue;
        if (o > 0 && !nodes[o]->isGalaxy()) continue; // a star's stray children keep their order
        const auto galaxies = std::stable_partition(first, last, starsFirst);
        std::stable_sort(first, galaxies, before);
        if (wholeContent) std::stable_sort(galaxies, last, before);
    }

    // The new order: depth first, each owner followed by its group; every group's siblings marked.
    fileInfo* previous = galaxy;
    std::vector<std::pair<int32_t, int32_t>> stack{{0, start[0]}};
    while (!stack.empty()) {
        auto& [o, next] = stack.back();
        if (next == start[static_cast<std::size_t>(o) + 1]) {
            stack.pop_back();
            continue;
        }
        const int32_t k = kids[static_cast<std::size_t>(next++)];
        fileInfo* n = nodes[static_cast<std::size_t>(k)];
        if (next < start[static_cast<std::size_t>(o) + 1]) n->marks |= MarkSiblingFollows;
        else n->marks &= uint8_t(~MarkSiblingFollows);
        previous->next = n;
        n->prev = previous;
        previous = n;
        if (start[static_cast<std::size_t>(k)] < start[static_cast<std::size_t>(k) + 1]) stack.emplace_back(k, start[static_cast<std::size_t>(k)]);
    }
    previous->next = after;
    after->prev = previous;
}
