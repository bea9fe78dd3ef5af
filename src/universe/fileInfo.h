// One node of the universe tree: a star (file) or a galaxy (folder).
#pragma once

#include "NameArena.h"
#include "metaInfo.h"

#include "common/FileNameCodec.h"

#include <QString>
#include <cstdint>
#include <memory>

// Bits of fileInfo::kind. KindLink marks a symbolic link: always a star, never followed.
enum NodeKind : uint8_t {
    KindGalaxy = 1,
    KindArchive = 2,
    KindHidden = 4,
    KindReadOnly = 8,
    KindSystem = 16,
    KindLink = 32,
};

// Bits of fileInfo::marks.
enum NodeMark : uint8_t {
    MarkSiblingFollows = 1, // a later node of the same depth follows inside the parent's subtree
    MarkMarked = 2,         // marked by the user or by clone marking
    MarkChainSibling = 4,   // (display) a later node of the same depth holds a row in the parent's shown subtree
    MarkUnreadable = 8,     // a galaxy whose folder could not be listed: the totals above it are low
};

// All nodes share one doubly linked list in depth-first order, owned by treeInfo; the links
// are non-owning. The display fields are kept by the tree layout. Fields are packed (a node is
// 104 bytes) because a scan of a large disk holds millions of them; the name lives in the tree's
// NameArena.
struct fileInfo {
    fileInfo* parent = nullptr;
    fileInfo* prev = nullptr;
    fileInfo* prevShown = nullptr;
    fileInfo* next = nullptr;
    fileInfo* nextShown = nullptr;
    const char* nameData = nullptr; // in the tree's NameArena, set through treeInfo; none is ""
    std::unique_ptr<metaInfo> meta;
    uint64_t size = 0;
    uint64_t stamp = 0; // packed YYYYMMDDhhmmss, local time
    int32_t serial = 0;
    int32_t drawLeft = 0;
    int32_t drawRight = 0;
    int32_t shownIndex = 0;
    int32_t row = -1;
    int32_t cloneCount = -1;
    int16_t depth = 0;  // at most 999
    int16_t column = 0; // within a display row of a few nodes
    uint8_t nameBytes = 0; // code page 932 length of the name, at most 255
    uint8_t kind = 0;      // NodeKind bits
    uint8_t marks = 0;     // NodeMark bits
    uint8_t shown = 0;

    // True for a folder (kind bit 1). O(1).
    bool isGalaxy() const { return (kind & KindGalaxy) != 0; }
    // The name. O(length); allocates unless the name is empty.
    QString name() const { return decodeFileName(NameArena::bytesOf(nameData)); }
    // The name's bytes as stored (its own bytes where it is not UTF-8). O(1).
    QByteArrayView nameUtf8() const { return NameArena::bytesOf(nameData); }
};
