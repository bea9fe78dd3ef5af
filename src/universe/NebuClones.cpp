#include "NebuClones.h"

#include "NodeText.h"
#include "ScanProgress.h"
#include "sortFile.h"

#include "common/BreakPoll.h"
#include "common/FileErase.h"
#include "common/ShowCheck.h"

#include <QHash>
#include <algorithm>
#include <new>
#include <unordered_map>

namespace {

constexpr uint64_t kHour = 10000; // stamp digits below the hour
constexpr int kNotice = 0;
constexpr int kQuestion = 1;
constexpr int kPollNodes = 1000;
constexpr int kProgressNodes = 10000;
const QString kDeleteCaption = QStringLiteral("クローン星の削除");
const QString kCountCaption = QStringLiteral("クローン星検出");

// Below 0, 0 or above 0 in the order of the count's sort: folded name, size, stamp.
int cloneOrder(const fileInfo& a, const fileInfo& b) {
    if (const int c = compareCaseless(a.nameUtf8(), b.nameUtf8())) return c;
    if (a.size != b.size) return a.size < b.size ? -1 : 1;
    if (a.stamp / kHour != b.stamp / kHour) return a.stamp < b.stamp ? -1 : 1;
    return 0;
}

// The strict key of deletion; the name is a view into the tree's arena.
struct IdenticalKey {
    QByteArrayView name;
    uint64_t size;
    uint64_t stamp;
    bool operator==(const IdenticalKey& o) const { return size == o.size && stamp == o.stamp && name == o.name; }
};
struct IdenticalHash {
    std::size_t operator()(const IdenticalKey& k) const { return qHash(k.name, static_cast<size_t>(k.size * 31 + k.stamp)); }
};
IdenticalKey keyOf(const fileInfo& n) { return {n.nameUtf8(), n.size, n.stamp}; }

} // namespace

bool cloneEqual(const fileInfo& a, const fileInfo& b) { return cloneOrder(a, b) == 0; }

bool cloneIdentical(const fileInfo& a, const fileInfo& b) { return keyOf(a) == keyOf(b); }

bool countCloneRuns(treeInfo& tree, fileInfo* top, BreakPoll* poll, ScanProgress* progress, bool* outOfMemory) {
    if (outOfMemory) *outOfMemory = false;
    top->cloneCount = 0;
    std::vector<sortRecord> records;
    std::vector<uint32_t> index;
    try {
        for (fileInfo* n = top->next; n != tree.bottom() && n->depth > top->depth; n = n->next) {
            n->cloneCount = 0;
            sortRecord r;
            r.node = n;
            r.text = n->nameUtf8();
            records.push_back(r);
        }
        index.resize(records.size());
    } catch (const std::bad_alloc&) {
        if (outOfMemory) *outOfMemory = true;
        return false;
    }
    if (records.size() < 2) return true;
    for (uint32_t k = 0; k < index.size(); ++k) index[k] = k;
    sortFile sorter(records.data(), records.size(), nullptr, poll);
    // Stamps sorted in full keep each hour's stamps together, so every clone kind is one run.
    if (sorter.sortRecords(0, index.size() - 1, index, {SortText, SortSize, SortStamp})) return false;

    const std::size_t total = index.size();
    std::size_t start = 0;
    for (std::size_t j = 1; j <= total; ++j) {
        if (j % kPollNodes == 0 && poll && poll->breakRequested()) return false;
        if (j % kProgressNodes == 0 && progress)
            progress->setPathText(QStringLiteral("    等価星〔クローン＝複製〕の抽出中 !!!  %1/%2").arg(j).arg(total));
        if (j < total) {
            // Equal group starts are equal folded names: only size and hour are left to compare.
            const sortRecord& a = records[index[j]];
            const sortRecord& b = records[index[start]];
            if (a.groupStart == b.groupStart && a.node->size == b.node->size && a.node->stamp / kHour == b.node->stamp / kHour)
                continue;
        }
        const auto others = static_cast<int32_t>(std::min<std::size_t>(j - start - 1, INT32_MAX));
        for (std::size_t k = start; k < j && others > 0; ++k) records[index[k]].node->cloneCount = others;
        start = j;
    }
    return true;
}

std::vector<std::vector<fileInfo*>> cloneGroups(treeInfo& tree, fileInfo* top) {
    std::vector<fileInfo*> nodes;
    for (fileInfo* n = top->next; n != tree.bottom() && n->depth > top->depth; n = n->next)
        if (n->cloneCount > 0) nodes.push_back(n);
    std::stable_sort(nodes.begin(), nodes.end(), [](const fileInfo* a, const fileInfo* b) { return cloneOrder(*a, *b) < 0; });
    std::vector<std::vector<fileInfo*>> groups;
    for (std::size_t i = 0; i < nodes.size();) {
        std::size_t j = i + 1;
        while (j < nodes.size() && cloneEqual(*nodes[j], *nodes[i])) ++j;
        groups.emplace_back(nodes.begin() + static_cast<std::ptrdiff_t>(i), nodes.begin() + static_cast<std::ptrdiff_t>(j));
        i = j;
    }
    // Serials grow along the list, so the first node's serial orders the groups as the list does.
    std::sort(groups.begin(), groups.end(), [](const auto& a, const auto& b) { return a.front()->serial < b.front()->serial; });
    return groups;
}

int NebuClones::toggleCloneView(int viewFlags) {
    if (viewFlags & ViewClones) return viewFlags & ~ViewClones;
    return countClones() ? viewFlags | ViewClones : viewFlags & ~ViewClones;
}

bool NebuClones::countClones() {
    if (tree_.clonesComputed) return true;
    tree_.clonesComputed = 1;
    fileInfo* top = tree_.topGalaxy;
    int64_t count = 0;
    for (fileInfo* n = top->next; n != tree_.bottom() && n->depth > top->depth; n = n->next) ++count;
    auto turnOff = [this] {
        tree_.clonesComputed = 0;
        return false;
    };
    if (count < 2) return turnOff();
    if (count > kAskAbove &&
        showCheck(QStringLiteral("〔 %1 〕個の処理に時間がかかります。続けますか？(Y/N)").arg(count),
                  QStringLiteral("クローンの検出"), kQuestion) != 1)
        return turnOff();
    const bool shown = count > kProgressAbove && progress_;
    if (shown) {
        progress_->showProgress(true);
        progress_->setCounterText(QString());
        progress_->setPathText(QStringLiteral("    クローン検索のための正規化中 !!!"));
    }
    bool outOfMemory = false;
    const bool done = countCloneRuns(tree_, top, poll_, shown ? progress_ : nullptr, &outOfMemory);
    if (shown) progress_->hideProgress();
    if (outOfMemory) {
        showCheck(QStringLiteral("作業域が確保できません！ "), QStringLiteral("中止"), kNotice);
        return turnOff();
    }
    if (!done) {
        showCheck(QStringLiteral("検索が中断されました！"), QStringLiteral("[中断] パネルにタッチすると検索が中断されます。"), kNotice);
        return turnOff();
    }
    int64_t kinds = 0;
    const fileInfo* largest = nullptr;
    for (fileInfo* n = top->next; n != tree_.bottom() && n->depth > top->depth; n = n->next) {
        if (n->cloneCount <= 0) continue;
        ++kinds;
        if (!largest || n->cloneCount > largest->cloneCount) largest = n;
    }
    if (kinds == 0) {
        showCheck(QStringLiteral("クローン星はありません。"), kCountCaption, kNotice);
        return turnOff();
    }
    showCheck(QStringLiteral("クローン（複製）数 %1 種類（最大 %2 個 [星]名 %3）").arg(kinds).arg(largest->cloneCount).arg(largest->name()),
              kCountCaption, kNotice);
    return true;
}

int64_t NebuClones::markClones(const fileInfo& node) {
    int64_t marked = 0;
    for (fileInfo* n = tree_.root(); n != tree_.bottom(); n = n->next) {
        const bool equal = n == &node || cloneEqual(*n, node);
        n->marks = equal ? uint8_t(n->marks | MarkMarked) : uint8_t(n->marks & ~MarkMarked);
        marked += equal;
    }
    return marked;
}

bool NebuClones::askStop() {
    return poll_ && poll_->breakRequested() &&
           showCheck(QStringLiteral("クローン星の削除を中止しますか？(Y/N)"), kDeleteCaption, kQuestion) == 1;
}

NebuClones::Deletion NebuClones::deleteClones(fileInfo* node) {
    Deletion result;
    if (!node || node == tree_.bottom() || tree_.chartMode) return result; // a chart names no files
    const bool galaxyMode = node->isGalaxy();
    const QString question = galaxyMode
                                 ? QStringLiteral("銀河(（%1）内のクローン星を\n\n削除しますか？（前３個を残す）").arg(node->name())
                                 : QStringLiteral("[星](（%1）のクローン星を削除しますか？（前３個を残す）").arg(node->name());
    if (showCheck(question, kDeleteCaption, kQuestion) != 1) return result;
    result.asked = true;
    if (progress_) {
        progress_->showProgress(true);
        progress_->setCounterText(QStringLiteral("クローン星"));
        progress_->setPathText(QStringLiteral("    クローン星の削除中!!!"));
    }

    // The reference stars, then every star of the whole tree that is identical to one of them,
    // gathered per kind in list order: one walk instead of one per reference star. A galaxy is
    // never a reference and never erased: its "clone" would be a whole folder.
    std::vector<fileInfo*> references;
    std::unordered_map<IdenticalKey, std::vector<fileInfo*>, IdenticalHash> kinds;
    try {
        if (galaxyMode) {
            for (fileInfo* n = node->next; n != tree_.bottom() && n->depth > node->depth; n = n->next)
                if (!n->isGalaxy()) references.push_back(n);
        } else {
            references.push_back(node);
        }
        for (fileInfo* r : references) kinds.try_emplace(keyOf(*r));
        int64_t walked = 0;
        for (fileInfo* n = tree_.root()->next; n != tree_.bottom(); n = n->next) {
            if (++walked % kPollNodes == 0 && askStop()) {
                result.stopped = true;
                break;
            }
            if (n->isGalaxy()) continue;
            if (auto it = kinds.find(keyOf(*n)); it != kinds.end()) it->second.push_back(n);
        }
    } catch (const std::bad_alloc&) {
        if (progress_) progress_->hideProgress();
        showCheck(QStringLiteral("作業域が確保できません！ "), QStringLiteral("中止"), kNotice);
        return result;
    }

    const auto total = static_cast<int64_t>(references.size());
    for (int64_t i = 0; i < total && !result.stopped; ++i) {
        auto it = kinds.find(keyOf(*references[static_cast<std::size_t>(i)]));
        std::vector<fileInfo*>& same = it->second;
        if (galaxyMode && progress_)
            progress_->setPathText(QStringLiteral("    クローン星( %1 )  %2コ の削除中!!! %3/%4 ")
                                       .arg(references[static_cast<std::size_t>(i)]->name())
                                       .arg(same.size())
                                       .arg(i)
                                       .arg(total));
        for (std::size_t k = kKept; k < same.size(); ++k) {
            if (askStop()) {
                result.stopped = true;
                break;
            }
            fileInfo* clone = same[k];
            const QString path = tree_.treePath(clone);
            // Only a path of this system's file tree is erased ("C:\..." of a read file is not).
            const bool local = path.startsWith(u'/');
            if (!local || eraseUnchangedFile(path, clone->size, clone->stamp) != 0) {
                if (showCheck(QStringLiteral("〔%1〕の削除に失敗しました！ 続けますか(y/n)").arg(path), kDeleteCaption, kQuestion) != 1)
                    result.stopped = true;
                break;
            }
            tree_.removeSubtree(clone);
            ++result.erased;
        }
        same.clear(); // this kind is done; its later reference stars find nothing to do
    }

    if (progress_) progress_->hideProgress();
    tree_.sumSizes();
    if (tree_.clonesComputed && result.erased > 0) countCloneRuns(tree_, tree_.topGalaxy, nullptr, nullptr);
    return result;
}
