// The display filter and row layout of the tree window, without the window: which nodes below
// the top galaxy are shown, their display chain (prevShown/nextShown) and their rows.
#pragma once

#include "treeInfo.h"

#include <QString>
#include <cstdint>

struct TreeView {
    int displayDepth = 2;
    int starsPerRow = 1;
    int viewFlags = 0; // ViewFlag bits; ViewClones / ViewClonesInverted filter the stars
    bool starsShown = true;
    bool hideStarlessGalaxies = false;
    uint64_t timeFrom = 19800101000000ULL;
    uint64_t timeTo = 30001231235959ULL;
    QString galaxyWild;
    QString starWild;
};

struct LayoutCounts {
    int64_t chain = 0;
    int64_t shownGalaxies = 0;
    int64_t shownStars = 0;
    int64_t rows = 0;
};

// Runs the display filter from the tree's top galaxy and assigns rows and columns.
// Cost: O(nodes in the top galaxy's subtree); wildcards add O(name) per node.
LayoutCounts layoutTree(treeInfo& tree, const TreeView& view);

// The counters text of the window's bottom band.
QString countersText(const treeInfo& tree, const LayoutCounts& counts);

// Mask match: "*" any run, "?" one character, ASCII letters without regard to case. O(n·m) worst.
bool maskMatches(QStringView pattern, QStringView name);
