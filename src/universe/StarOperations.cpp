#include "StarOperations.h"

#include "TreeEdits.h"
#include "UniverseScan.h"

#include "common/Choosers.h"
#include "common/Platform.h"
#include "common/ShowCheck.h"

#include <QStringList>
#include <cerrno>

namespace {

constexpr int kStyleNotice = 0;
constexpr int kStyleQuestion = 1;

const QString kCopyCaption = QStringLiteral("[星]のコピー");
const QString kMoveCaption = QStringLiteral("[星]の移動");
const QString kDeleteCaption = QStringLiteral("[星]の削除");

bool yes(const QString& text, const QString& caption) { return showCheck(text, caption, kStyleQuestion) == 1; }
void notice(const QString& text, const QString& caption) { showCheck(text, caption, kStyleNotice); }

QString kindWord(const fileInfo* node) { return node->isGalaxy() ? QStringLiteral("銀河") : QStringLiteral("[星]"); }

// The folder part of a path, with its final "/" ("" when there is none).
QString folderOf(const QString& path) { return path.left(path.lastIndexOf(u'/') + 1); }

QString withSlash(QString path) {
    if (!path.endsWith(u'/')) path += u'/';
    return path;
}

QString chomp(QString text) {
    while (text.endsWith(u'\n') || text.endsWith(u'\r')) text.chop(1);
    return text;
}

bool hasParentStep(const QString& path) { return path.split(u'/').contains(QStringLiteral("..")); }

bool isInside(const fileInfo* n, const fileInfo* top) {
    for (; n; n = n->parent)
        if (n == top) return true;
    return false;
}

} // namespace

int64_t StarOperations::galaxyCount(const fileInfo* node) {
    int64_t count = 1;
    if (!node->isGalaxy()) return count;
    for (const fileInfo* n = node->next; n && n->next && n->depth > node->depth; n = n->next) ++count;
    return count;
}

std::vector<fileInfo*> StarOperations::markedNodes(bool withTop, int64_t* rawCount) const {
    std::vector<fileInfo*> marked;
    int64_t raw = 0;
    fileInfo* top = tree_.topGalaxy ? tree_.topGalaxy : tree_.root();
    fileInfo* end = subtreeEnd(top);
    int openDepth = -1; // depth of the marked galaxy whose subtree is being walked
    for (fileInfo* n = top;; n = n->next) {
        if (openDepth >= 0 && n->depth <= openDepth) openDepth = -1;
        if ((n->marks & MarkMarked) && (withTop || n != top)) {
            ++raw;
            if (openDepth < 0) {
                marked.push_back(n);
                if (n->isGalaxy()) openDepth = n->depth;
            }
        }
        if (n == end) break;
    }
    if (rawCount) *rawCount = raw;
    return marked;
}

bool StarOperations::stillOnDisk(fileInfo* node, const QString& path, const QString& caption) {
    FolderEntry entry;
    if (!statPath(path, entry) || !entryMatchesNode(entry, *node)) {
        notice(QStringLiteral("〔 %1 〕は検索の後で変わったか、なくなっています！\n宇宙を検索し直して下さい。").arg(path), caption);
        return false;
    }
    if (!node->isGalaxy()) {
        resizeStar(node, entry.size);
        fillNode(*node, entry);
    }
    return true;
}

fileInfo* StarOperations::destinationInTree(const QString& dest) {
    fileInfo* galaxy = findGalaxy(tree_, dest);
    if (!galaxy) return nullptr;
    // A folder on another file system is shown but never entered by a scan; what goes there
    // leaves the tree as it would after a rescan.
    FolderEntry there, root;
    if (!statPath(dest, there) || !statPath(tree_.root()->name(), root) || there.device != root.device) return nullptr;
    return galaxy;
}

StarResult StarOperations::copyStars() { return transferStars(Transfer::Copy); }
StarResult StarOperations::moveStars() { return transferStars(Transfer::Move); }

StarResult StarOperations::transferStars(Transfer how) {
    const bool copy = how == Transfer::Copy;
    const QString caption = copy ? kCopyCaption : kMoveCaption;
    const QString verb = copy ? QStringLiteral("コピー") : QStringLiteral("移動");
    fileInfo* current = tree_.current ? tree_.current : tree_.root();
    const QString source = nodePath(tree_, current);
    int64_t raw = 0;
    const std::vector<fileInfo*> marked = markedNodes(copy, &raw);
    StarResult result;

    if (marked.empty()) {
        if (!copy && current == tree_.root()) {
            notice(QStringLiteral("宇宙の根元の銀河は移動できません！"), caption);
            result.outcome = StarOutcome::Refused;
            return result;
        }
        if (current->isGalaxy() &&
            !yes(QStringLiteral("銀河( %1 個以上) を%2しますか？").arg(galaxyCount(current)).arg(verb),
                 copy ? caption : QString()))
            return result;
    } else {
        fileInfo* top = tree_.topGalaxy ? tree_.topGalaxy : tree_.root();
        if (copy && raw > 1 && (top->marks & MarkMarked)) {
            notice(QStringLiteral("マークが重複しています！"), caption);
            result.outcome = StarOutcome::Refused;
            return result;
        }
        if (!yes(QStringLiteral("マークした[星]( %1 個) を%2しますか？").arg(qint64(marked.size())).arg(verb),
                 copy ? caption : QString()))
            return result;
    }

    QString dest = tree_.lastChooserFolder;
    if (!choosePath(QString(),
                    copy ? QStringLiteral("  コピー先の銀河を指定して下さい。") : QStringLiteral("  移動先の銀河を指定して下さい。"),
                    dest))
        return result;
    dest = withSlash(dest);
    tree_.lastChooserFolder = dest;
    const QString what = marked.empty() ? kindWord(current) : QStringLiteral("マークした[星]");
    const QString question = copy ? QStringLiteral("〔 %1 〕%2を\n〔 %3 〕へコピーしますか？")
                                  : QStringLiteral("〔 %1 〕%2を\n\n〔%3 〕へ移動しますか？");
    if (!yes(question.arg(source, what, dest), what + (copy ? QStringLiteral("のコピー ") : QStringLiteral("の移動"))))
        return result;
    if (!dirExists(dest) || hasParentStep(dest)) {
        notice(QStringLiteral("〔 %1 〕は銀河ではありません！").arg(dest), caption);
        result.outcome = StarOutcome::Refused;
        return result;
    }
    fileInfo* destGalaxy = destinationInTree(dest);

    if (marked.empty()) {
        const Step step = transferOne(how, current, dest, destGalaxy, false, what, false);
        result.done = step == Step::Done ? 1 : 0;
        result.outcome = step == Step::Done ? StarOutcome::Done : StarOutcome::Failed;
        return result;
    }

    if (progress_) progress_->begin(copy ? QStringLiteral("[星]のコピー中.......") : QStringLiteral("[星]の移動中......."));
    result.outcome = StarOutcome::Done;
    for (fileInfo* node : marked) {
        if (progress_ && progress_->pressed() &&
            yes(copy ? QStringLiteral("コピーを中止しますか？(Y/N)") : QStringLiteral("移動を中止しますか？(Y/N)"), caption)) {
            result.outcome = StarOutcome::Stopped;
            break;
        }
        if (progress_) progress_->item(node->name());
        const Step step = transferOne(how, node, dest, destGalaxy, true, what, copy);
        if (step == Step::Stop) {
            result.outcome = StarOutcome::Failed;
            break;
        }
        if (step == Step::Done) ++result.done;
    }
    if (progress_) progress_->end();
    return result;
}

StarOperations::Step StarOperations::transferOne(Transfer how, fileInfo* node, const QString& dest, fileInfo* destGalaxy,
                                                 bool batch, const QString& what, bool markCopy) {
    const bool copy = how == Transfer::Copy;
    const QString caption = copy ? kCopyCaption : kMoveCaption;
    const QString verb = copy ? QStringLiteral("コピー") : QStringLiteral("移動");
    const QString source = nodePath(tree_, node);
    if (!copy && node == tree_.root()) {
        notice(QStringLiteral("宇宙の根元の銀河は移動できません！"), caption);
        return Step::Stop;
    }
    if (!stillOnDisk(node, source, caption)) return Step::Stop;
    if (node->isGalaxy() && (dest == withSlash(source) || dest.startsWith(withSlash(source)))) {
        notice(QStringLiteral("〔 %1 〕%2を自身の中へ%3することはできません！").arg(source, kindWord(node), verb), caption);
        return Step::Stop;
    }
    if (folderOf(source) == dest) {
        notice(QStringLiteral("〔 %1 〕%2は既に〔 %3 〕にあります！").arg(source, kindWord(node), dest), caption);
        return Step::Stop;
    }
    const QString name = node == tree_.root() ? source.mid(source.lastIndexOf(u'/') + 1) : node->name();
    const QString target = dest + name;
    FolderEntry existing;
    if (statPath(target, existing)) {
        const QString text = QStringLiteral("〔 %1 〕には同じ名前の〔 %2 〕が既にあります！").arg(dest, name);
        if (!batch) {
            notice(text, caption);
            return Step::Stop;
        }
        return yes(text + QStringLiteral("\nこの%1を飛ばして続けますか？(Y/N)").arg(kindWord(node)), caption) ? Step::Skipped
                                                                                                           : Step::Stop;
    }

    const int err = copy ? copyPath(source, target) : movePath(source, target);
    if (err != 0) {
        if (copy) {
            notice(QStringLiteral("〔 %1 〕%2の\n〔%3 〕へのコピーに失敗しました！").arg(source, what, dest), QStringLiteral("コピー"));
        } else {
            const QString text = batch ? QStringLiteral("〔 %1 〕%2を〔%3 〕への移動に失敗しました！")
                                       : QStringLiteral("〔 %1 〕%2を\n\n〔%3 〕への移動に失敗しました！");
            notice(text.arg(source, what, dest), kMoveCaption);
        }
        return Step::Stop;
    }

    if (copy) {
        node->marks &= uint8_t(~MarkMarked);
        if (destGalaxy) {
            fileInfo* made = insertFromDisk(tree_, target, destGalaxy, insertDepthLimit(tree_));
            if (made && markCopy) made->marks |= MarkMarked;
        }
        return Step::Done;
    }
    if (destGalaxy && !isInside(destGalaxy, node)) {
        relinkUnder(tree_, node, destGalaxy);
        tree_.current = node;
    } else {
        tree_.current = removeNode(tree_, node);
    }
    return Step::Done;
}

StarResult StarOperations::deleteStars() {
    fileInfo* current = tree_.current ? tree_.current : tree_.root();
    const std::vector<fileInfo*> marked = markedNodes(false);
    return deleteNodes(marked, marked.empty() ? current : marked.front(), {});
}

StarResult StarOperations::deleteNodes(const std::vector<fileInfo*>& marked, fileInfo* named,
                                       const std::function<void(fileInfo*)>& leaving) {
    StarResult result;
    if (marked.empty() && named == tree_.root()) {
        notice(QStringLiteral("宇宙の根元の銀河は削除できません！"), kDeleteCaption);
        result.outcome = StarOutcome::Refused;
        return result;
    }
    const QString what = marked.empty() ? kindWord(named)
                                        : QStringLiteral("マークした[星]( %1 個)").arg(qint64(marked.size()));
    if (!yes(QStringLiteral("〔 %1 〕%2を削除しますか？").arg(named->name(), what), what + QStringLiteral("の削除")))
        return result;

    auto deleteOne = [&](fileInfo* node) {
        const QString path = nodePath(tree_, node);
        if (node == tree_.root()) {
            notice(QStringLiteral("宇宙の根元の銀河は削除できません！"), kDeleteCaption);
            return false;
        }
        if (!stillOnDisk(node, path, kDeleteCaption)) return false;
        if (recycleFile(path) != 0) {
            notice(QStringLiteral("〔%1〕の削除に失敗しました！").arg(path), kDeleteCaption);
            return false;
        }
        if (leaving) leaving(node);
        tree_.current = removeNode(tree_, node);
        ++result.done;
        return true;
    };

    if (marked.empty()) {
        result.outcome = deleteOne(named) ? StarOutcome::Done : StarOutcome::Failed;
        return result;
    }
    if (progress_) progress_->begin(QStringLiteral("[星]の削除中......."));
    result.outcome = StarOutcome::Done;
    for (fileInfo* node : marked) {
        if (progress_ && progress_->pressed() && yes(QStringLiteral("削除を中止しますか？(Y/N)"), kDeleteCaption)) {
            result.outcome = StarOutcome::Stopped;
            break;
        }
        if (progress_) progress_->item(node->name());
        if (!deleteOne(node)) {
            result.outcome = StarOutcome::Failed;
            break;
        }
    }
    if (progress_) progress_->end();
    return result;
}

QString StarOperations::renameText() const {
    const fileInfo* current = tree_.current ? tree_.current : tree_.root();
    return tree_.chartMode ? current->name() : nodePath(tree_, current);
}

QString StarOperations::newGalaxyText() const {
    const fileInfo* current = tree_.current ? tree_.current : tree_.root();
    return withSlash(nodePath(tree_, current));
}

bool StarOperations::renameStar(const QString& text) {
    fileInfo* node = tree_.current ? tree_.current : tree_.root();
    const QString oldPath = nodePath(tree_, node);
    QString newPath = chomp(text);
    while (newPath.size() > 1 && newPath.endsWith(u'/')) newPath.chop(1);
    const QString failed = QStringLiteral("　　　星名を変更できませんでした。");
    const QString newName = newPath.mid(newPath.lastIndexOf(u'/') + 1);
    if (newName.isEmpty() || newName == u'.' || hasParentStep(newPath) || !newPath.startsWith(u'/')) {
        notice(failed, newPath);
        return false;
    }
    if (!stillOnDisk(node, oldPath, newPath)) return false;
    if (newPath == oldPath) return true;
    if (!renameNoReplace(oldPath, newPath)) {
        notice(failed, newPath);
        return false;
    }
    if (node == tree_.root()) {
        tree_.setName(node, newPath);
        tree_.pathBuffer = newPath;
    } else if (folderOf(newPath) != folderOf(oldPath)) {
        fileInfo* galaxy = destinationInTree(folderOf(newPath));
        if (galaxy && !isInside(galaxy, node)) {
            tree_.setName(node, newName);
            relinkUnder(tree_, node, galaxy);
            tree_.current = node;
        } else {
            tree_.current = removeNode(tree_, node);
        }
    } else {
        tree_.setName(node, newName);
    }
    notice(QStringLiteral("　　　星名を変更しました。"), newPath);
    return true;
}

bool StarOperations::makeGalaxy(const QString& text) {
    fileInfo* galaxy = tree_.current ? tree_.current : tree_.root();
    const QString base = newGalaxyText();
    QString path = chomp(text);
    if (!galaxy->isGalaxy()) {
        notice(QStringLiteral("[星]の中には銀河を作成できません！"), path);
        return false;
    }
    QString name = path.startsWith(base) ? path.mid(base.size()) : QString();
    if (name.endsWith(u'/')) name.chop(1);
    if (!path.startsWith(base) || name.contains(u'/') || name == u'.' || name == QStringLiteral("..")) {
        notice(QStringLiteral("銀河名に「/」や「..」は使えません！"), path);
        return false;
    }
    if (name.isEmpty()) {
        notice(QStringLiteral("銀河名を入力して下さい！"), path);
        return false;
    }
    path = base + name;
    FolderEntry existing;
    if (statPath(path, existing)) {
        notice(QStringLiteral("　　　銀河名は既に存在します！！"), path);
        return false;
    }
    if (!stillOnDisk(galaxy, nodePath(tree_, galaxy), path)) return false;
    if (!makeFolders(path) || !insertFromDisk(tree_, path, galaxy, insertDepthLimit(tree_))) {
        notice(QStringLiteral("銀河を作成できませんでした！"), path);
        return false;
    }
    notice(QStringLiteral("　　　銀河を作成しました。"), path);
    return true;
}
