// The benchmarks' universe: galaxies of 24 stars (every third with a Japanese name, every fourth
// a ".txt") and up to 4 sub-galaxies, five levels deep, listed depth-first as a scan lists them,
// with its links, totals and counters made. Cost: linear in `nodes`.
#pragma once

#include "universe/treeInfo.h"

#include <cstdint>
#include <memory>

namespace bench {

// A fast reproducible generator (xorshift) for the benchmarks' random names, sizes and times;
// `s` must not be 0. Cost: constant.
inline uint64_t nextRandom(uint64_t& s) {
    s ^= s << 13;
    s ^= s >> 7;
    s ^= s << 17;
    return s;
}

// A galaxy's stars, then its sub-galaxies, each followed by its subtree.
inline void fillGalaxy(treeInfo& tree, fileInfo* galaxy, int depth, long& left) {
    fileInfo* last = tree.lastNode();
    for (int i = 0; i < 24 && left > 0; ++i, --left) {
        last = tree.appendNode(last, depth, QStringLiteral("%1_%2.%3").arg(i % 3 ? "star" : "星").arg(left).arg(i % 4 ? "dat" : "txt"));
        last->parent = galaxy;
        last->stamp = 20100101000000ULL;
        last->size = 100;
    }
    for (int g = 0; g < 4 && left > 0; ++g) {
        if (depth >= 5) break;
        --left;
        fileInfo* sub = tree.appendNode(tree.lastNode(), depth, QStringLiteral("銀河%1").arg(left));
        sub->kind = KindGalaxy;
        sub->parent = galaxy;
        ++tree.galaxyCount;
        fillGalaxy(tree, sub, depth + 1, left);
    }
}

inline std::unique_ptr<treeInfo> makeUniverse(long nodes) {
    auto tree = std::make_unique<treeInfo>(QStringLiteral("/bench"), QStringLiteral("/"));
    tree->root()->kind = KindGalaxy;
    long left = nodes;
    while (left > 0) fillGalaxy(*tree, tree->root(), 1, left);
    tree->rebuildLinks();
    tree->sumSizes();
    tree->starCount = static_cast<int64_t>(tree->nodeCount()) - tree->galaxyCount;
    tree->topGalaxy = tree->root();
    tree->current = tree->root();
    tree->searchDepth = tree->displayDepth = 64;
    return tree;
}

} // namespace bench
