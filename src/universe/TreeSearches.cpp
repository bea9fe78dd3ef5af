#include "TreeSearches.h"

#include "common/Platform.h"
#include "common/TextCodec.h"

#include <vector>

namespace {

// Calls `visit` for every node of the display chain from the top galaxy.
template <typename Visit> void walkChain(const treeInfo& tree, Visit visit) {
    for (fileInfo* n = tree.topGalaxy; n && n != tree.bottom(); n = n->nextShown) visit(n);
}

bool isSeparator(QChar c) { return c == u'/' || c == u'\\'; }

bool isRootText(const QString& path) {
    return path == u"/" || path == u"\\" || (path.size() == 3 && hasDriveLetter(path) && isSeparator(path[2]));
}

} // namespace

fileInfo* findDeepestShown(const treeInfo& tree) {
    fileInfo* found = nullptr;
    walkChain(tree, [&](fileInfo* n) {
        if (!found && n->depth == tree.deepestLevel) found = n;
    });
    return found;
}

SearchHit findLongestName(const treeInfo& tree) {
    SearchHit hit;
    walkChain(tree, [&](fileInfo* n) {
        // The root's name is the whole path it was scanned from, not a name.
        if (n != tree.root() && (!hit.node || n->nameBytes > hit.bytes)) hit = {n, n->nameBytes};
    });
    return hit;
}

SearchHit findLongestPath(const treeInfo& tree) {
    // lengthAt[d]: the path length of ancestorAt[d]; consecutive chain nodes share most of their
    // ancestors, so each climb stops at the first one already measured.
    std::vector<const fileInfo*> ancestorAt;
    std::vector<int> lengthAt;
    const fileInfo* root = tree.root();
    const QString rootName = root->name();
    const int rootBytes = cp932Length(rootName);
    const bool rootEndsWithSeparator = !rootName.isEmpty() && isSeparator(rootName.back());
    std::vector<const fileInfo*> climb;
    SearchHit hit;
    walkChain(tree, [&](fileInfo* n) {
        climb.clear();
        const fileInfo* a = n;
        for (; a && a != root; a = a->parent) {
            const auto d = static_cast<std::size_t>(a->depth);
            if (d < ancestorAt.size() && ancestorAt[d] == a) break;
            climb.push_back(a);
        }
        int length = a == root || !a ? rootBytes : lengthAt[static_cast<std::size_t>(a->depth)];
        bool parentIsRoot = a == root || !a;
        for (auto it = climb.rbegin(); it != climb.rend(); ++it) {
            const fileInfo* c = *it;
            length += (parentIsRoot && rootEndsWithSeparator ? 0 : 1) + c->nameBytes;
            parentIsRoot = false;
            const auto d = static_cast<std::size_t>(c->depth);
            if (ancestorAt.size() <= d) {
                ancestorAt.resize(d + 1, nullptr);
                lengthAt.resize(d + 1, 0);
            }
            ancestorAt[d] = c;
            lengthAt[d] = length;
        }
        if (!hit.node || length > hit.bytes) hit = {n, length};
    });
    return hit;
}

QString parentRescanPath(const QString& path) {
    QString p = path;
    if (p.size() > 1 && isSeparator(p.back()) && !isRootText(p)) p.chop(1);
    qsizetype cut = p.size() - 1;
    while (cut >= 0 && !isSeparator(p[cut])) --cut;
    if (cut < 0 || isRootText(p)) return {};
    p.truncate(cut + 1);
    if (!isRootText(p)) p.chop(1);
    return p;
}

QString rescanRefusal(const treeInfo& tree, const fileInfo* galaxy) {
    const QString rootPath = tree.root()->name();
    if (!galaxy || galaxy == tree.root() || tree.chartMode || !rootPath.startsWith(u'/')) return {};
    std::vector<const fileInfo*> chain;
    for (const fileInfo* a = galaxy; a && a != tree.root(); a = a->parent) chain.push_back(a);
    FolderHandle folder(rootPath);
    FolderEntry self;
    if (!folder.stat(self)) return {};
    const uint64_t device = self.device;
    QString path = rootPath;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const QString name = (*it)->name();
        if (!path.endsWith(u'/')) path += u'/';
        path += name;
        FolderHandle child = folder.openChild(name);
        if (!child.ok()) {
            FolderEntry entry;
            if (statPath(path, entry) && (entry.attributes & AttrLink))
                return QStringLiteral("リンクになった銀河からは検索しません！\n") + path;
            return {};
        }
        FolderEntry inside;
        if (child.stat(inside) && inside.device != device)
            return QStringLiteral("別の小宇宙（マウント）の銀河からは検索しません！\nドライブ欄から選んでください。");
        folder = std::move(child);
    }
    return {};
}
