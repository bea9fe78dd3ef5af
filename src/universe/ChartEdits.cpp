#include "ChartEdits.h"

#include "TreeEdits.h"

#include "common/ShowCheck.h"
#include "common/Texts.h"

#include <ctime>

namespace {

constexpr int kMaxDepth = 999; // fileInfo::depth holds at most this
const QString kAddCaption = QStringLiteral("「星」の追加");
const QString kDepthCaption = QStringLiteral("階層の変更");

void notice(const QString& text, const QString& caption) { showCheck(text, caption, 0); }

fileInfo* currentNode(treeInfo& tree) { return tree.current ? tree.current : tree.root(); }

// A node deeper than the tree has been searched is shown: the depth controls follow it.
void raiseDepths(treeInfo& tree, int depth) {
    if (depth <= tree.searchDepth) return;
    tree.searchDepth = depth;
    tree.deepestLevel = depth;
    tree.displayDepth = depth;
}

int deepestIn(const fileInfo* first, const fileInfo* last) {
    int deepest = first->depth;
    for (const fileInfo* n = first;; n = n->next) {
        deepest = qMax<int>(deepest, n->depth);
        if (n == last) return deepest;
    }
}

void shiftDepths(fileInfo* first, fileInfo* last, int delta) {
    for (fileInfo* n = first;; n = n->next) {
        n->depth = static_cast<int16_t>(n->depth + delta);
        if (n == last) return;
    }
}

} // namespace

uint64_t chartStampNow() { return fileTimeNumber(std::time(nullptr)); }

fileInfo* addChartStar(treeInfo& tree, ChartLevel level, uint64_t stamp) {
    if (!tree.chartMode) return nullptr;
    fileInfo* current = currentNode(tree);
    fileInfo* after = current;
    int depth = current->depth + 1;
    if (level == ChartLevel::Same) {
        if (current == tree.root()) {
            notice(QStringLiteral("頂上の銀河と同じ階層には「星」を追加できません！\n下階層に追加してください。"), kAddCaption);
            return nullptr;
        }
        // Directly after a galaxy the star would take the galaxy's content as its own.
        after = subtreeEnd(current);
        depth = current->depth;
    } else if (depth > kMaxDepth) {
        notice(QStringLiteral("これより深い階層には「星」を追加できません！"), kAddCaption);
        return nullptr;
    }
    fileInfo* node = tree.appendNode(after, depth, kNewChartStar);
    if (!node) {
        notice(QStringLiteral("メモリー不足で「星」を追加できません！"), kAddCaption);
        return nullptr;
    }
    node->kind = 0;
    node->size = 0;
    node->stamp = stamp;
    ++tree.starCount;
    if (level == ChartLevel::Below && !current->isGalaxy()) {
        current->kind |= KindGalaxy;
        --tree.starCount;
        ++tree.galaxyCount;
    }
    tree.rebuildLinks();
    raiseDepths(tree, depth);
    tree.metaChanged = true;
    tree.sumSizes();
    return node;
}

fileInfo* deleteChartNode(treeInfo& tree) {
    if (!tree.chartMode) return nullptr;
    fileInfo* node = currentNode(tree);
    if (node == tree.root()) {
        notice(QStringLiteral("頂上の銀河は削除できません！"), QStringLiteral("「星」の削除"));
        return nullptr;
    }
    fileInfo* next = removeNode(tree, node);
    tree.current = next;
    tree.metaChanged = true;
    return next;
}

bool renameChartNode(treeInfo& tree, const QString& text) {
    if (!tree.chartMode) return false;
    fileInfo* node = currentNode(tree);
    QString name = text;
    while (name.endsWith(u'\n') || name.endsWith(u'\r')) name.chop(1);
    for (QChar& c : name)
        if (c.unicode() < 32) c = u' ';
    if (node == tree.root()) {
        // The root's name is the chart's path buffer: a name that names a place would turn the
        // chart into a drive's data when it is read again, which refuses chart-only names.
        if (isRootedPath(name)) {
            notice(QStringLiteral("チャートの名前にはドライブやフォルダーを表す名前は使えません！"), name);
            return false;
        }
        tree.pathBuffer = name;
    }
    tree.setName(node, name);
    node->nameBytes = static_cast<uint8_t>(nameByteCount(node->nameUtf8()));
    tree.metaChanged = true;
    return true;
}

bool toggleChartGalaxy(treeInfo& tree) {
    if (!tree.chartMode) return false;
    fileInfo* node = currentNode(tree);
    const QString caption = QStringLiteral("「星」「銀河」の変換");
    if (node == tree.root()) {
        notice(QStringLiteral("頂上の銀河は「星」にできません！"), caption);
        return false;
    }
    if (node->isGalaxy()) {
        if (node->next != tree.bottom() && node->next->depth > node->depth) {
            notice(QStringLiteral("中に「星」のある銀河は「星」にできません！"), node->name());
            return false;
        }
        node->kind &= uint8_t(~KindGalaxy);
        node->size = node->meta ? static_cast<uint64_t>(node->meta->text.size()) : 0;
        --tree.galaxyCount;
        ++tree.starCount;
    } else {
        node->kind |= KindGalaxy;
        --tree.starCount;
        ++tree.galaxyCount;
    }
    tree.metaChanged = true;
    tree.sumSizes();
    return true;
}

QString chartDepthText(const treeInfo& tree) {
    const fileInfo* node = tree.current ? tree.current : tree.root();
    return QString::number(node->depth);
}

bool setChartDepth(treeInfo& tree, const QString& text) {
    if (!tree.chartMode) return false;
    fileInfo* node = currentNode(tree);
    if (node == tree.root()) {
        notice(QStringLiteral("頂上の銀河の階層は変えられません！"), kDepthCaption);
        return false;
    }
    QString digits;
    for (QChar c : text)
        if (c.unicode() >= '0' && c.unicode() <= '9' && digits.size() < 4) digits += c;
    const int wanted = digits.toInt(); // 0 without digits

    fileInfo* end = subtreeEnd(node);
    const int below = deepestIn(node, end) - node->depth; // levels the subtree reaches below the node
    const fileInfo* before = node->prev;
    const int highest = qMin(before->depth + (before->isGalaxy() ? 1 : 0), kMaxDepth - below);
    const int depth = qBound(1, wanted, highest);
    if (depth != wanted)
        notice(QStringLiteral("この位置の「星」の階層は 1 から %1 までです。\n階層を %2 にしました。").arg(highest).arg(depth),
               kDepthCaption);
    if (depth == node->depth) return false;

    if (depth < node->depth) {
        // The node leaves its galaxies: it follows the whole subtree of its ancestor at the new
        // depth, which keeps every node after it in the galaxy it was in.
        fileInfo* ancestor = node;
        while (ancestor->depth > depth && ancestor->parent) ancestor = ancestor->parent;
        fileInfo* ancestorEnd = subtreeEnd(ancestor);
        if (ancestorEnd != end) {
            tree.unlinkRun(node, end);
            tree.linkRun(node, end, ancestorEnd);
        }
    }
    shiftDepths(node, end, depth - node->depth);
    tree.rebuildLinks();
    tree.sumSizes();
    raiseDepths(tree, depth + below);
    tree.metaChanged = true;
    return true;
}
