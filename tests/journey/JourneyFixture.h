// Small universes for the journey tests: trees made in memory and laid out as the tree window
// lays them out.
#pragma once

#include "universe/NebuLayout.h"
#include "universe/treeInfo.h"

#include <QString>
#include <memory>
#include <utility>
#include <vector>

class Universe {
public:
    // (depth, name, galaxy) in depth-first order below the root "/宇宙".
    struct Node {
        int depth;
        QString name;
        bool galaxy;
    };
    explicit Universe(const std::vector<Node>& nodes, int starsPerRow = 1) {
        tree.root()->kind = KindGalaxy;
        fileInfo* last = tree.root();
        int deepest = 1;
        for (const Node& n : nodes) {
            last = tree.appendNode(last, n.depth, n.name);
            last->kind = n.galaxy ? KindGalaxy : 0;
            last->stamp = 20100101000000ULL;
            deepest = std::max(deepest, n.depth);
        }
        tree.rebuildLinks();
        tree.sumSizes();
        tree.topGalaxy = tree.root();
        tree.current = tree.root();
        tree.searchDepth = tree.displayDepth = tree.deepestLevel = deepest;
        layout.view.starsPerRow = starsPerRow;
        layout.relayout();
    }

    // `stars` stars in galaxies of `perGalaxy` at depth 1.
    static std::vector<Node> galaxiesOfStars(int stars, int perGalaxy) {
        std::vector<Node> nodes;
        for (int i = 0; i < stars; ++i) {
            if (i % perGalaxy == 0) nodes.push_back({1, QStringLiteral("銀河%1").arg(i / perGalaxy), true});
            nodes.push_back({2, QStringLiteral("star%1.txt").arg(i), false});
        }
        return nodes;
    }

    treeInfo tree{QStringLiteral("/宇宙"), QStringLiteral("/")};
    NebuLayout layout{tree};
};
