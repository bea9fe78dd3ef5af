#include "treeInfo.h"

#include "common/Platform.h"
#include "common/FileNameCodec.h"
#include "common/TextCodec.h"

#include <new>

bool hasDriveLetter(const QString& path) {
    return path.size() >= 2 && path[1] == u':' && path[0].unicode() < 128 && path[0].isLetter();
}

bool isRootedPath(const QString& path) { return path.startsWith(u'/') || hasDriveLetter(path); }

QString driveBoxText(const QString& rootPath) {
    if (hasDriveLetter(rootPath)) return u' ' + rootPath.left(2);
    if (!rootPath.startsWith(u'/')) return QStringLiteral("mc");
    QString best = QStringLiteral("/");
    for (const DriveInfo& d : listDrives()) {
        QString root = d.root;
        if (root.size() > 1 && root.endsWith(u'/')) root.chop(1);
        const bool inside = rootPath == root || rootPath.startsWith(root + u'/');
        if (inside && root.size() > best.size()) best = root;
    }
    return u' ' + best;
}

int nameByteCount(QByteArrayView name) {
    bool ascii = true;
    for (char c : name) {
        if (static_cast<unsigned char>(c) >= 128) {
            ascii = false;
            break;
        }
    }
    const int bytes = ascii ? static_cast<int>(qMin<qsizetype>(name.size(), 255)) : cp932Length(decodeFileName(name));
    return qMin(bytes, 255);
}

treeInfo::treeInfo(const QString& path, const QString& workFolder) : workFolder(workFolder) {
    pathBuffer = path.contains(u':') || path.startsWith(u'/') ? path : workFolder + path;
    lastChooserFolder = workFolder;
    setName(&root_, pathBuffer);
    root_.kind = KindGalaxy;
    root_.next = &bottom_;
    bottom_.kind = KindGalaxy;
    bottom_.prev = &root_;
    topGalaxy = &root_;
    current = &root_;
    chartMode = !isRootedPath(pathBuffer);
}

namespace {
constexpr std::size_t kNodeBlock = 4096;
}

fileInfo* treeInfo::appendNodeBytes(fileInfo* predecessor, int depth, QByteArrayView name) {
    if (count_ >= nodeLimit) return nullptr;
    fileInfo* node = nullptr;
    try {
        if (count_ % kNodeBlock == 0 && count_ / kNodeBlock == blocks_.size())
            blocks_.push_back(std::make_unique<fileInfo[]>(kNodeBlock));
        node = &blocks_[count_ / kNodeBlock][count_ % kNodeBlock];
        node->nameData = names_.store(name);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    ++count_;
    node->depth = static_cast<int16_t>(depth);
    node->serial = predecessor->serial + 1;
    node->prev = predecessor;
    node->next = predecessor->next;
    if (predecessor->next) predecessor->next->prev = node;
    predecessor->next = node;
    return node;
}

fileInfo* treeInfo::appendNode(fileInfo* predecessor, int depth, QStringView name) {
    return appendNodeBytes(predecessor, depth, encodeFileName(name));
}

void treeInfo::setName(fileInfo* node, QStringView name) { node->nameData = names_.store(encodeFileName(name)); }

void treeInfo::clearTree() {
    const QByteArray rootName = root_.nameUtf8().toByteArray();
    blocks_.clear();
    count_ = 0;
    removed_ = 0;
    names_.clear();
    root_.nameData = names_.store(rootName);
    root_.next = &bottom_;
    bottom_.prev = &root_;
    root_.nextShown = &bottom_;
    topGalaxy = &root_;
    current = &root_;
}

fileInfo* treeInfo::removeSubtree(fileInfo* node) {
    if (node == &root_ || node == &bottom_) return node->next;
    fileInfo* after = node->next;
    for (; after != &bottom_ && after->depth > node->depth; after = after->next) {}
    if (!(node->marks & MarkSiblingFollows)) {
        // The node was the last of its galaxy: its previous sibling, if any, is the last now.
        fileInfo* p = node->prev;
        while (p != &root_ && p->depth > node->depth) p = p->prev;
        if (p != &root_ && p->depth == node->depth) p->marks &= uint8_t(~MarkSiblingFollows);
    }
    for (fileInfo* a = node->parent; a; a = a->parent) a->size = a->size >= node->size ? a->size - node->size : 0;
    bool topInside = false, currentInside = false;
    for (fileInfo* n = node; n != after; n = n->next) {
        (n->isGalaxy() ? galaxyCount : starCount)--;
        n->meta.reset();
        topInside |= n == topGalaxy;
        currentInside |= n == current;
        ++removed_;
    }
    fileInfo* parent = node->parent ? node->parent : &root_;
    if (topInside) topGalaxy = parent;
    if (currentInside) current = parent;
    node->prev->next = after;
    after->prev = node->prev;
    return after;
}

void treeInfo::sumSizes() {
    for (fileInfo* n = &root_; n != &bottom_; n = n->next) {
        n->nameBytes = static_cast<uint8_t>(nameByteCount(n->nameUtf8()));
        if (n->isGalaxy()) n->size = 0;
    }
    // Every node comes after its parent, so a backward pass sees a galaxy only after its whole
    // subtree has been added into it.
    for (fileInfo* n = bottom_.prev; n != &root_; n = n->prev) {
        fileInfo* p = n->parent;
        if (!p) continue;
        uint64_t sum = 0;
        p->size = __builtin_add_overflow(p->size, n->size, &sum) ? UINT64_MAX : sum;
    }
}

void treeInfo::rebuildLinks() {
    std::vector<fileInfo*> galaxyAt; // last galaxy met at every depth
    std::vector<fileInfo*> openAt;   // last node of every depth still waiting for a later sibling
    for (fileInfo* n = &root_; n != &bottom_; n = n->next) {
        const auto d = static_cast<std::size_t>(n->depth);
        n->parent = d > 0 && d - 1 < galaxyAt.size() ? galaxyAt[d - 1] : nullptr;
        n->marks &= uint8_t(~MarkSiblingFollows);
        if (d < openAt.size() && openAt[d]) openAt[d]->marks |= MarkSiblingFollows;
        openAt.resize(d + 1);
        openAt[d] = n;
        galaxyAt.resize(d + 1);
        galaxyAt[d] = n->isGalaxy() ? n : nullptr;
    }
}

QChar treeInfo::separator() const { return hasDriveLetter(root_.name()) ? QChar(u'\\') : QChar(u'/'); }

QString treeInfo::treePath(const fileInfo* node) const {
    if (node == &root_) return root_.name();
    std::vector<const fileInfo*> chain;
    for (const fileInfo* p = node->parent; p; p = p->parent) chain.push_back(p);
    const QChar sep = separator();
    QString path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (!path.isEmpty() && !path.endsWith(sep)) path += sep;
        path += (*it)->name();
    }
    if (!path.endsWith(sep)) path += sep;
    return path + node->name();
}
