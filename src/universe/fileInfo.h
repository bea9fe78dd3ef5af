// One node of the universe tree: a star (file) or a galaxy (folder).
#pragma once

#include "metaInfo.h"

#include <QString>
#include <cstdint>
#include <memory>

// Bits of fileInfo::kind. KindLink marks a symbolic link: always a star, never followed.
enum NodeKind : uint32_t {
    KindGalaxy = 1,
    KindArchive = 2,
    KindHidden = 4,
    KindReadOnly = 8,
    KindSystem = 16,
    KindLink = 32,
};

// Bits of fileInfo::marks.
enum NodeMark : uint32_t {
    MarkSiblingFollows = 1, // a later node of the same depth follows inside the parent's subtree
    MarkMarked = 2,         // marked by the user or by clone marking
};

// All nodes share one doubly linked list in depth-first order, owned by treeInfo; the links
// are non-owning. The display fields are kept by the tree layout.
struct fileInfo {
    fileInfo* parent = nullptr;
    fileInfo* prev = nullptr;
    fileInfo* prevShown = nullptr;
    fileInfo* next = nullptr;
    fileInfo* nextShown = nullptr;
    int32_t serial = 0;
    int32_t nameBytes = 0; // code page 932 length of the name, at most 255
    int32_t drawLeft = 0;
    int32_t drawRight = 0;
    int32_t column = 0;
    int32_t shownIndex = 0;
    int32_t row = -1;
    uint32_t marks = 0;
    uint8_t shown = 0;
    int32_t depth = 0;
    uint32_t kind = 0;
    int32_t cloneCount = -1;
    uint64_t size = 0;
    uint64_t stamp = 0; // packed YYYYMMDDhhmmss, local time
    QString name;
    std::unique_ptr<metaInfo> meta;

    // True for a folder (kind bit 1). O(1).
    bool isGalaxy() const { return (kind & KindGalaxy) != 0; }
};
