#include "UniverseScan.h"

#include "ScanProgress.h"

#include <QStringList>

#include <memory>

#include "common/BreakPoll.h"
#include "common/ShowCheck.h"
#include "common/Texts.h"

namespace {

// Links are stars whatever they point to, so a scan can never loop through them.
bool isGalaxyEntry(const FolderEntry& e) { return (e.attributes & AttrDirectory) && !(e.attributes & AttrLink); }

} // namespace

void fillNode(fileInfo& node, const FolderEntry& entry) {
    node.size = entry.size;
    node.stamp = fileTimeNumber(entry.modified);
    uint32_t kind = 0;
    if (isGalaxyEntry(entry)) kind |= KindGalaxy;
    if (entry.attributes & AttrArchive) kind |= KindArchive;
    if (entry.attributes & AttrHidden) kind |= KindHidden;
    if (entry.attributes & AttrReadOnly) kind |= KindReadOnly;
    if (entry.attributes & AttrSystem) kind |= KindSystem;
    if (entry.attributes & AttrLink) kind |= KindLink;
    node.kind = static_cast<uint8_t>(kind);
}

UniverseScan::UniverseScan(treeInfo& tree, BreakPoll* breakPoll, ScanProgress* progress)
    : tree_(tree), breakPoll_(breakPoll), progress_(progress) {}

int UniverseScan::scanUniverse(const QString& startPath) {
    if (!dirExists(startPath)) {
        showCheck(QStringLiteral("アクセスできません！ 検索を中止します。"), startPath, 0);
        return -1;
    }
    QString buffer = startPath;
    while (buffer.size() > 1 && buffer.endsWith(u'/')) buffer.chop(1);
    auto start = std::make_shared<const FolderHandle>(buffer);
    FolderEntry self;
    FolderPrefetch::Listing rootListing;
    rootListing.folder = start;
    rootListing.ok = start->stat(self) && start->list(rootListing.entries);
    if (!rootListing.ok) {
        showCheck(QStringLiteral("検索に失敗しました！"), buffer, 0);
        return -1;
    }
    tree_.pathBuffer = buffer;
    tree_.driveText = driveBoxText(buffer);
    tree_.clearTree();
    fileInfo* root = tree_.root();
    fillNode(*root, self);
    root->kind = uint8_t((root->kind & ~KindHidden) | KindGalaxy);
    if (buffer.mid(buffer.lastIndexOf(u'/') + 1).startsWith(u'.')) root->kind |= KindHidden;
    root->meta.reset();
    tree_.setName(root, buffer);
    tree_.deepestLevel = -1;

    if (progress_ && tree_.searchDepth > 2) progress_->showProgress(true);
    tree_.scanState = 1;
    tree_.galaxyCount = 1;
    tree_.starCount = 0;
    tree_.unreadableCount = 0;
    tree_.depthLimitedCount = 0;
    const int depthLimit = tree_.searchDepth;
    tree_.thousandsMark = -1;
    {
        FolderPrefetch prefetch(helpers);
        prefetch_ = &prefetch;
        scanGalaxy(1, root, self.device, rootListing);
        prefetch_ = nullptr;
    }
    tree_.pathBuffer = buffer;
    if (progress_) progress_->hideProgress();
    tree_.current = root;
    tree_.topGalaxy = root;

    if (tree_.deepestLevel < 0) {
        showCheck(QStringLiteral("アクセスできませんでした。"), buffer, 0);
        tree_.deepestLevel = 1;
    }
    tree_.searchDepth = tree_.deepestLevel;
    if (tree_.displayDepth > tree_.searchDepth) tree_.displayDepth = tree_.searchDepth;
    tree_.clonesComputed = 0;
    if (tree_.scanState == 1) {
        tree_.scanState = 0;
        reportLeftOut(buffer, depthLimit);
        return 1;
    }
    tree_.sumSizes();
    showCheck(QStringLiteral("検索が中断されました！"),
              tree_.scanState < 0 ? QStringLiteral("メモリー不足で銀河が作成できません！")
                                  : QStringLiteral("[中断] パネルにタッチすると検索が中断されます。"),
              0);
    return tree_.scanState;
}

void UniverseScan::scanGalaxy(int level, fileInfo* galaxy, uint64_t device, const FolderPrefetch::Listing& listing) {
    if (tree_.scanState <= 0) return;
    QString& buffer = tree_.pathBuffer;
    if (!buffer.endsWith(u'/')) buffer += u'/';
    const qsizetype end = buffer.size();
    if (!listing.ok) {
        // Counted and marked, so that the end of the scan says so and the tree shows where.
        ++tree_.unreadableCount;
        galaxy->marks |= MarkUnreadable;
        buffer.truncate(end);
        return;
    }
    const std::vector<FolderEntry>& entries = listing.entries;
    if (level > tree_.deepestLevel) tree_.deepestLevel = level;
    showProgressLine(galaxy, level);

    // The sub-galaxies this one will enter, handed to the helpers to list ahead. A folder on
    // another mounted file system is shown but never entered.
    auto entered = [&](const FolderEntry& e) { return isGalaxyEntry(e) && level < tree_.searchDepth && e.device == device; };
    std::vector<QString> ahead;
    for (const FolderEntry& e : entries)
        if (entered(e)) ahead.push_back(e.name);
    const std::vector<FolderPrefetch::Ticket> tickets = prefetch_->queue(listing.folder, ahead);
    struct DropRest {
        FolderPrefetch& prefetch;
        const std::vector<FolderPrefetch::Ticket>& tickets;
        ~DropRest() { prefetch.drop(tickets); }
    } dropRest{*prefetch_, tickets};
    std::size_t next = 0;

    fileInfo* previous = nullptr;
    for (const FolderEntry& e : entries) {
        if (isGalaxyEntry(e)) continue;
        fileInfo* node = tree_.appendNode(previous ? previous : galaxy, level, e.name);
        if (!node) {
            tree_.scanState = -1;
            buffer.truncate(end);
            return;
        }
        ++tree_.starCount;
        fillNode(*node, e);
        node->parent = galaxy;
        if (previous) previous->marks |= MarkSiblingFollows;
        previous = node;
    }
    for (const FolderEntry& e : entries) {
        if (!isGalaxyEntry(e)) continue;
        fileInfo* node = tree_.appendNode(tree_.lastNode(), level, e.name);
        if (!node) {
            tree_.scanState = -1;
            buffer.truncate(end);
            return;
        }
        ++tree_.galaxyCount;
        fillNode(*node, e);
        node->parent = galaxy;
        if (previous) previous->marks |= MarkSiblingFollows;
        previous = node;
        if (level >= tree_.searchDepth && e.device == device) ++tree_.depthLimitedCount;
        if (entered(e)) {
            const FolderPrefetch::Ticket& ticket = tickets[next++];
            if (tree_.scanState != 1) continue;
            buffer.truncate(end);
            buffer += e.name;
            scanGalaxy(level + 1, node, device, prefetch_->take(ticket));
        }
    }
    buffer.truncate(end);
    checkBreak(level);
}

void UniverseScan::reportLeftOut(const QString& top, int depthLimit) const {
    // Totals that miss folders must not pass for whole ones.
    QStringList parts;
    if (tree_.unreadableCount > 0)
        parts.append(QStringLiteral("読めなかった銀河が %1 個あります（ツリーに印）").arg(tree_.unreadableCount));
    if (tree_.depthLimitedCount > 0)
        parts.append(QStringLiteral("探査の深さ %1 で %2 個の銀河の中は探査していません")
                         .arg(depthLimit)
                         .arg(tree_.depthLimitedCount));
    if (!parts.isEmpty()) showCheck(parts.join(u'\n'), top, 0);
}

void UniverseScan::showProgressLine(const fileInfo* galaxy, int level) {
    if (!progress_) return;
    const int64_t mark = galaxy->serial / 1000;
    if (level >= 4 && mark == tree_.thousandsMark) return;
    tree_.thousandsMark = mark;
    progress_->setCounterText(QStringLiteral("  現在の探査星： 最深層 = ") + QString::number(tree_.deepestLevel) +
                              QStringLiteral(" : 発掘数 = ") + QString::number(galaxy->serial));
    progress_->setPathText(QStringLiteral("  ") + tree_.pathBuffer);
}

void UniverseScan::checkBreak(int level) {
    if (tree_.scanState == -1) {
        if (progress_) progress_->showStopping(QStringLiteral("    メモリー不足のための中断処理をしています!!!"));
        return;
    }
    if (tree_.scanState == 1 && level < 16 && breakPoll_ && breakPoll_->breakRequested()) {
        tree_.scanState = 0;
        if (progress_) progress_->showStopping(QStringLiteral("    中断の処理をしています!!!"));
    }
}
