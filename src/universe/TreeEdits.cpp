#include "TreeEdits.h"

#include "UniverseScan.h"

#include <QStringList>

namespace {

bool isGalaxyEntry(const FolderEntry& e) { return (e.attributes & AttrDirectory) && !(e.attributes & AttrLink); }

uint64_t addSaturating(uint64_t a, uint64_t b) {
    uint64_t sum = 0;
    return __builtin_add_overflow(a, b, &sum) ? UINT64_MAX : sum;
}

// A total that saturated cannot be taken apart again; it stays at the ceiling.
uint64_t subtractTotal(uint64_t total, uint64_t part) {
    if (total == UINT64_MAX) return total;
    return part > total ? 0 : total - part;
}

void addToAncestors(fileInfo* galaxy, uint64_t size) {
    for (fileInfo* g = galaxy; g; g = g->parent) g->size = addSaturating(g->size, size);
}

void takeFromAncestors(fileInfo* galaxy, uint64_t size) {
    for (fileInfo* g = galaxy; g; g = g->parent) g->size = subtractTotal(g->size, size);
}

bool isInside(const fileInfo* n, const fileInfo* top) {
    for (; n; n = n->parent)
        if (n == top) return true;
    return false;
}

// The node's previous sibling, or null when it is the first child. O(previous sibling's subtree).
fileInfo* previousSibling(fileInfo* node) {
    for (fileInfo* n = node->prev; n && n != node->parent; n = n->prev)
        if (n->depth == node->depth) return n;
    return nullptr;
}

// The sibling marks around a node about to leave its place.
void detachMarks(fileInfo* node) {
    if (node->marks & MarkSiblingFollows) return;
    if (fileInfo* before = previousSibling(node)) before->marks &= uint8_t(~MarkSiblingFollows);
}

// The sibling mark of a node about to become the galaxy's first child.
void attachMark(fileInfo* node, const fileInfo* galaxy) {
    const fileInfo* following = galaxy->next;
    if (following && following->depth > galaxy->depth) node->marks |= MarkSiblingFollows;
    else node->marks &= uint8_t(~MarkSiblingFollows);
}

struct Inserter {
    treeInfo& tree;
    uint64_t device = 0;
    int depthLimit = 0;
    bool full = false;

    // Appends the folder's entries below `galaxy` (stars first, then galaxies, as a scan does)
    // and returns the last node appended.
    fileInfo* fill(const FolderHandle& folder, fileInfo* galaxy) {
        std::vector<FolderEntry> entries;
        fileInfo* tail = galaxy;
        if (!folder.ok() || !folder.list(entries)) {
            galaxy->marks |= MarkUnreadable;
            ++tree.unreadableCount;
            return tail;
        }
        const int level = galaxy->depth + 1;
        if (level > tree.deepestLevel) tree.deepestLevel = level;
        fileInfo* previous = nullptr;
        for (int pass = 0; pass < 2 && !full; ++pass) {
            for (const FolderEntry& e : entries) {
                if (isGalaxyEntry(e) != (pass == 1)) continue;
                fileInfo* node = tree.appendNode(tail, level, e.name);
                if (!node) {
                    full = true;
                    return tail;
                }
                fillNode(*node, e);
                node->parent = galaxy;
                node->marks = 0;
                if (previous) previous->marks |= MarkSiblingFollows;
                previous = node;
                tail = node;
                if (!node->isGalaxy()) {
                    ++tree.starCount;
                    galaxy->size = addSaturating(galaxy->size, node->size);
                    continue;
                }
                ++tree.galaxyCount;
                node->size = 0;
                if (level < depthLimit && e.device == device) {
                    tail = fill(folder.openChild(e.name), node);
                } else if (e.device == device) {
                    ++tree.depthLimitedCount;
                }
                galaxy->size = addSaturating(galaxy->size, node->size);
            }
        }
        return tail;
    }
};

} // namespace

fileInfo* subtreeEnd(fileInfo* node) {
    fileInfo* end = node;
    while (end->next && end->next->next && end->next->depth > node->depth) end = end->next;
    return end;
}

QString nodePath(const treeInfo& tree, const fileInfo* node) { return tree.treePath(node); }

fileInfo* findGalaxy(treeInfo& tree, const QString& path) {
    fileInfo* root = tree.root();
    QString rootPath = root->name();
    const QChar sep = tree.separator();
    while (rootPath.size() > 1 && rootPath.endsWith(sep)) rootPath.chop(1);
    QString rest;
    if (path == rootPath || path == rootPath + sep) return root;
    if (rootPath.endsWith(sep)) { // "/" or "C:\"
        if (!path.startsWith(rootPath)) return nullptr;
        rest = path.mid(rootPath.size());
    } else {
        if (!path.startsWith(rootPath + sep)) return nullptr;
        rest = path.mid(rootPath.size() + 1);
    }
    fileInfo* galaxy = root;
    for (const QString& part : rest.split(sep, Qt::SkipEmptyParts)) {
        if (part == u'.') continue;
        if (part == QStringLiteral("..")) return nullptr; // never resolved by text
        const QByteArray bytes = encodeFileName(part);
        fileInfo* found = nullptr;
        for (fileInfo* n = galaxy->next; n != tree.bottom() && n->depth > galaxy->depth; n = n->next) {
            if (n->depth == galaxy->depth + 1 && n->isGalaxy() && n->nameUtf8() == QByteArrayView(bytes)) {
                found = n;
                break;
            }
        }
        if (!found) return nullptr;
        galaxy = found;
    }
    return galaxy;
}

fileInfo* removeNode(treeInfo& tree, fileInfo* node) {
    if (!node || node == tree.root() || node == tree.bottom()) return nullptr;
    fileInfo* before = node->prev;
    fileInfo* after = tree.removeSubtree(node);
    return after == tree.bottom() ? before : after;
}

bool relinkUnder(treeInfo& tree, fileInfo* node, fileInfo* galaxy) {
    if (!node || !galaxy || node == tree.root() || node == tree.bottom() || !galaxy->isGalaxy()) return false;
    if (isInside(galaxy, node)) return false;
    fileInfo* end = subtreeEnd(node);
    detachMarks(node);
    takeFromAncestors(node->parent, node->size);
    tree.unlinkRun(node, end);
    attachMark(node, galaxy);
    const int shift = galaxy->depth + 1 - node->depth;
    for (fileInfo* n = node; n; n = n->next) {
        n->depth = static_cast<int16_t>(n->depth + shift);
        if (n->depth > tree.deepestLevel) tree.deepestLevel = n->depth;
    }
    tree.linkRun(node, end, galaxy);
    node->parent = galaxy;
    addToAncestors(galaxy, node->size);
    return true;
}

fileInfo* insertFromDisk(treeInfo& tree, const QString& path, fileInfo* galaxy, int depthLimit) {
    FolderEntry entry;
    if (!galaxy || !galaxy->isGalaxy() || !statPath(path, entry)) return nullptr;
    FolderEntry rootEntry;
    const uint64_t device = statPath(tree.root()->name(), rootEntry) ? rootEntry.device : entry.device;
    const int depth = galaxy->depth + 1;
    fileInfo* node = tree.appendNode(galaxy, depth, entry.name);
    if (!node) return nullptr;
    fillNode(*node, entry);
    node->parent = galaxy;
    node->marks = 0;
    // The sibling mark: whatever followed the galaxy before is now after the new node.
    if (node->next != tree.bottom() && node->next->depth == depth) node->marks |= MarkSiblingFollows;
    if (depth > tree.deepestLevel) tree.deepestLevel = depth;
    if (node->isGalaxy()) {
        ++tree.galaxyCount;
        node->size = 0;
        if (depth < depthLimit && entry.device == device) {
            Inserter inserter{tree, device, depthLimit};
            inserter.fill(FolderHandle(path), node);
        } else if (entry.device == device) {
            ++tree.depthLimitedCount;
        }
    } else {
        ++tree.starCount;
    }
    addToAncestors(galaxy, node->size);
    tree.current = node;
    return node;
}

void resizeStar(fileInfo* star, uint64_t size) {
    if (star->isGalaxy() || star->size == size) return;
    takeFromAncestors(star->parent, star->size);
    star->size = size;
    addToAncestors(star->parent, size);
}

int insertDepthLimit(const treeInfo& tree) { return tree.depthLimitedCount == 0 ? 999 : tree.searchDepth; }

bool entryMatchesNode(const FolderEntry& entry, const fileInfo& node) {
    const bool link = (entry.attributes & AttrLink) != 0;
    return isGalaxyEntry(entry) == node.isGalaxy() && link == ((node.kind & KindLink) != 0);
}
