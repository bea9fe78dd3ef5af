#include "DatabaseTable.h"

#include "NodeText.h"
#include "TreeLayout.h"

#include "common/BreakPoll.h"
#include "common/Platform.h"
#include "common/ShowCheck.h"
#include "common/TextCodec.h"
#include "common/Texts.h"

#include <algorithm>
#include <new>
#include <unordered_map>

namespace {

constexpr int kStyleNotice = 0;
constexpr int kStyleQuestion = 1;
constexpr uint64_t kHour = 10000; // stamp digits below the hour
constexpr std::size_t kExportPoll = 1000;

const char16_t* const kHeaders[DatabaseTable::kColumns] = {u" No", u" [星]名", u" FB長", u" サイズ",
                                                           u" 更新日時", u" 属性", u" 複製", u" 銀河"};
const char16_t* const kLabels[DatabaseTable::kColumns] = {u"初期並び", u"[星]名", u"[星]名長（半角）", u"サイズ",
                                                          u"更新日時", u"属性", u"クローン数", u"銀河"};

// The text from the last "." of a name, "" without one.
QByteArrayView extensionOf(QByteArrayView name) {
    const qsizetype dot = name.lastIndexOf('.');
    return dot < 0 ? QByteArrayView("") : name.sliced(dot);
}

// The name before its last "." (the whole name without one).
QByteArrayView baseOf(QByteArrayView name) {
    const qsizetype dot = name.lastIndexOf('.');
    return dot < 0 ? name : name.first(dot);
}

bool sameText(QByteArrayView a, QByteArrayView b) { return a.size() == b.size() && compareCaseless(a, b) == 0; }

bool below(const fileInfo& star, const fileInfo* galaxy) {
    for (const fileInfo* p = star.parent; p; p = p->parent)
        if (p == galaxy) return true;
    return false;
}

} // namespace

DatabaseTable::DatabaseTable(treeInfo& tree, BreakPoll* poll) : tree_(tree), poll_(poll) {}

DatabaseTable::~DatabaseTable() = default;

void DatabaseTable::clear() {
    sorter_.reset();
    records_ = {};
    index_ = {};
    clones_ = {};
    criteria_.clear();
    wildcard_.clear();
    toggles_ = {};
    clonesComputed_ = false;
    cloneOnly_ = false;
}

void DatabaseTable::progress(const QString& text) const {
    if (onProgress) onProgress(text);
}

bool DatabaseTable::refresh(const DatabaseLook& look) {
    clear();
    look_ = look;
    try {
        std::size_t stars = 0;
        for (const fileInfo* n = tree_.root(); n != tree_.bottom(); n = n->next)
            if (!n->isGalaxy()) ++stars;
        records_.reserve(stars);
        for (fileInfo* n = tree_.root(); n != tree_.bottom(); n = n->next) {
            if (n->isGalaxy()) continue;
            sortRecord r;
            r.number = static_cast<int32_t>(records_.size());
            r.node = n;
            r.text = n->nameUtf8();
            r.groupStart = n->nameBytes;
            records_.push_back(r);
        }
        index_.resize(records_.size());
        clones_.assign(records_.size(), -1);
        sorter_ = std::make_unique<sortFile>(records_.data(), records_.size(), nullptr, poll_);
    } catch (const std::bad_alloc&) {
        clear();
        showCheck(QStringLiteral("作業域が確保できません！"), QStringLiteral("ＮＤＢの終了"), kStyleNotice);
        return false;
    }
    for (uint32_t k = 0; k < index_.size(); ++k) index_[k] = k;
    return true;
}

QString DatabaseTable::headerText(int column) {
    return column >= 0 && column < kColumns ? QString::fromUtf16(kHeaders[column]) : QString();
}

QString DatabaseTable::sortLabel(int column) {
    return column >= 0 && column < kColumns ? QString::fromUtf16(kLabels[column]) : QString();
}

QString DatabaseTable::galaxyPath(const fileInfo& star) {
    std::vector<const fileInfo*> chain;
    for (const fileInfo* p = star.parent; p && p->depth >= 1; p = p->parent) chain.push_back(p);
    QString path;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        if (!path.isEmpty()) path += u'\\';
        path += (*it)->name();
    }
    return path;
}

QString DatabaseTable::cellText(std::size_t row, int column) const {
    const fileInfo& n = *star(row);
    switch (column) {
    case DbNumber: return QString::number(row + 1).rightJustified(6, u'0') + u' ';
    case DbName: return nameText(n, false, look_.viewFlags != 0, look_.formatOptions, look_.nameLength, false);
    case DbNameBytes: return QString::number(n.nameBytes).rightJustified(4, u' ');
    case DbSize: return detailText(n, ViewSize, look_.formatOptions).chopped(2);
    case DbTime: return dateText(n.stamp);
    case DbKind: return detailText(n, ViewAttributes, 0).chopped(2);
    case DbClones: return cloneCount(row) < 0 ? QString() : QString::number(cloneCount(row)).rightJustified(4, u' ');
    case DbGalaxy: return (look_.formatOptions & DbFormatNoGalaxy) ? QString() : galaxyPath(n);
    default: return {};
    }
}

bool DatabaseTable::sameAsNext(std::size_t row, int column) const {
    if (row + 1 >= index_.size()) return false;
    const fileInfo& a = *star(row);
    const fileInfo& b = *star(row + 1);
    switch (column) {
    case DbName: return sameText(a.nameUtf8(), b.nameUtf8());
    case DbNameBytes: return a.nameBytes == b.nameBytes;
    case DbSize: return a.size == b.size;
    case DbTime: return a.stamp == b.stamp;
    case DbKind: return a.kind == b.kind;
    case DbClones: return cloneCount(row) == cloneCount(row + 1);
    case DbGalaxy: return a.parent == b.parent;
    default: return false;
    }
}

QString DatabaseTable::positionText(std::size_t currentRow) const {
    return QStringLiteral("星〔%1／%2／%3:%4〕")
        .arg(currentRow, 6)
        .arg(index_.size(), 6)
        .arg(records_.size(), 6)
        .arg(criteria_.size());
}

bool DatabaseTable::sortColumn(int column) {
    if (column < 0 || column >= kColumns || !sorter_) return false;
    const QString label = sortLabel(column);
    if (index_.size() > kAskAbove &&
        showCheck(QStringLiteral("時間かかります。続けますか？(Y/N)"), QStringLiteral(" %1 で並べ替え").arg(label),
                  kStyleQuestion) != 1)
        return false;
    if (column == DbClones && !clonesComputed_ && !countClones()) return false;

    const std::size_t c = static_cast<std::size_t>(column);
    const int r = toggles_[c] ? SortReverse : 0;
    std::vector<int> keys;
    std::vector<std::vector<QByteArrayView>> lists; // column 7's galaxy names, per shown row
    switch (column) {
    case DbNumber: keys = {SortNumber}; break;
    case DbName:
        keys = (look_.formatOptions & FormatExtension) ? std::vector<int>{SortExtension, SortName}
                                                       : std::vector<int>{SortName, SortSize, SortStamp};
        break;
    case DbNameBytes:
        for (const uint32_t k : index_) records_[k].groupStart = records_[k].node->nameBytes;
        keys = {SortGroup};
        break;
    case DbSize: keys = {SortSize}; break;
    case DbTime: keys = {SortStamp}; break;
    case DbKind:
        for (const uint32_t k : index_) records_[k].groupStart = records_[k].node->kind;
        keys = {SortGroup};
        break;
    case DbClones:
        for (const uint32_t k : index_) records_[k].groupStart = clones_[k];
        keys = {SortGroup, SortName, SortStamp};
        break;
    case DbGalaxy:
        try {
            lists.resize(index_.size());
            for (std::size_t i = 0; i < index_.size(); ++i) {
                sortRecord& rec = records_[index_[i]];
                std::vector<QByteArrayView>& names = lists[i];
                for (const fileInfo* p = rec.node->parent; p && p->depth >= 1; p = p->parent) names.push_back(p->nameUtf8());
                std::reverse(names.begin(), names.end());
                rec.texts = &names;
            }
        } catch (const std::bad_alloc&) {
            for (const uint32_t k : index_) records_[k].texts = nullptr;
            showCheck(QStringLiteral("作業域が確保できません！"), QStringLiteral("並べ替えの中断"), kStyleNotice);
            return false;
        }
        keys = {SortTexts};
        break;
    default: break;
    }
    keys.push_back(SortNumber); // the record order breaks every tie
    for (int& k : keys) k += r;

    const bool boxed = index_.size() > kProgressAbove;
    if (boxed)
        progress(r ? QStringLiteral(" %1 で並べ替え中（逆順）.......").arg(label)
                   : QStringLiteral(" %1 で並べ替え中.......").arg(label));
    const bool cancelled = index_.size() >= 2 && sorter_->sortRecords(0, index_.size() - 1, index_, keys);
    if (column == DbGalaxy)
        for (const uint32_t k : index_) records_[k].texts = nullptr;
    if (boxed) progress(QString());
    if (cancelled) return false;
    toggles_[c] ^= 1;
    return true;
}

bool DatabaseTable::passes(uint32_t record) const {
    const fileInfo& n = *records_[record].node;
    if (cloneOnly_ && clones_[record] <= 0) return false;
    const QByteArrayView name = n.nameUtf8();
    for (const fileSel& s : criteria_) {
        if (s.name) {
            if (s.baseLength >= 0) {
                const QByteArrayView base = baseOf(name);
                if (base.size() != s.baseLength || s.name->size() < s.baseLength ||
                    !sameText(base, QByteArrayView(*s.name).first(s.baseLength)))
                    return false;
            } else if (!sameText(name, *s.name)) {
                return false;
            }
        }
        if (s.nameBytes != 0 && n.nameBytes != s.nameBytes) return false;
        if (s.size && n.size != *s.size) return false;
        if (s.stamp && n.stamp != *s.stamp) return false;
        if (s.kind >= 0 && n.kind != s.kind) return false;
        if (s.cloneCount >= 0 && clones_[record] != s.cloneCount) return false;
        if (s.parent && n.parent != s.parent) return false;
        if (s.ancestor && !below(n, s.ancestor)) return false;
        if (s.extension && !sameText(extensionOf(name), *s.extension)) return false;
    }
    return wildcard_.isEmpty() || maskMatches(wildcard_, n.name());
}

void DatabaseTable::applyNarrowing() {
    index_.clear();
    for (uint32_t k = 0; k < records_.size(); ++k)
        if (passes(k)) index_.push_back(k);
}

void DatabaseTable::addCriterion(const fileSel& criterion) {
    criteria_.push_back(criterion);
    applyNarrowing();
}

void DatabaseTable::addSameValue(std::size_t row, int column) {
    const fileInfo& n = *star(row);
    fileSel s;
    switch (column) {
    case DbName: s.name = n.nameUtf8().toByteArray(); break;
    case DbNameBytes: s.nameBytes = n.nameBytes; break;
    case DbSize: s.size = n.size; break;
    case DbTime: s.stamp = n.stamp; break;
    case DbKind: s.kind = n.kind; break;
    case DbClones: s.cloneCount = cloneCount(row); break;
    case DbGalaxy: s.parent = n.parent; break;
    default: break; // the number column: an empty criterion
    }
    addCriterion(s);
}

void DatabaseTable::addSameBase(std::size_t row) {
    const fileInfo& n = *star(row);
    fileSel s;
    s.name = n.nameUtf8().toByteArray();
    s.baseLength = static_cast<int>(baseOf(n.nameUtf8()).size());
    addCriterion(s);
}

void DatabaseTable::addSameExtension(std::size_t row) {
    fileSel s;
    s.extension = extensionOf(star(row)->nameUtf8()).toByteArray();
    addCriterion(s);
}

void DatabaseTable::addSameFolder(std::size_t row) {
    fileSel s;
    s.ancestor = star(row)->parent;
    addCriterion(s);
}

bool DatabaseTable::removeLastCriterion() {
    if (criteria_.empty()) return false;
    criteria_.pop_back();
    applyNarrowing();
    return true;
}

bool DatabaseTable::removeAllCriteria() {
    if (criteria_.empty()) return false;
    criteria_.clear();
    applyNarrowing();
    return true;
}

void DatabaseTable::setWildcard(const QString& wildcard) {
    wildcard_ = wildcard.left(259);
    applyNarrowing();
}

bool DatabaseTable::countClones() {
    if (!sorter_) return false;
    const bool boxed = index_.size() > 50000;
    if (boxed) progress(QStringLiteral(" クローン算出のために並び替え中......."));
    if (index_.size() >= 2 && sorter_->sortRecords(0, index_.size() - 1, index_, {SortName, SortSize, SortStamp, SortNumber})) {
        if (boxed) progress(QString());
        applyNarrowing();
        return false;
    }
    // Sorted by folded name (group start), size and full stamp: every clone kind is one run.
    const std::size_t total = index_.size();
    std::size_t start = 0;
    for (std::size_t j = 1; j <= total; ++j) {
        if (boxed && j % 5000 == 0) progress(QStringLiteral(" クローン検索中 %1.......").arg(j));
        if (j < total) {
            const sortRecord& a = records_[index_[j]];
            const sortRecord& b = records_[index_[start]];
            if (a.groupStart == b.groupStart && a.node->size == b.node->size && a.node->stamp / kHour == b.node->stamp / kHour)
                continue;
        }
        const auto others = static_cast<int32_t>(std::min<std::size_t>(j - start - 1, INT32_MAX));
        for (std::size_t k = start; k < j; ++k) clones_[index_[k]] = others;
        start = j;
    }
    if (boxed) progress(QString());
    clonesComputed_ = true;
    applyNarrowing();
    return true;
}

bool DatabaseTable::setCloneOnly(bool on) {
    if (on && std::none_of(clones_.begin(), clones_.end(), [](int32_t c) { return c > 0; })) {
        showCheck(QStringLiteral("クローンはありません！"), QStringLiteral("クローンのみ表示"), kStyleNotice);
        on = false;
    }
    cloneOnly_ = on;
    applyNarrowing();
    return cloneOnly_;
}

void DatabaseTable::toggleMark(std::size_t row) { star(row)->marks ^= MarkMarked; }

void DatabaseTable::toggleMarks(std::size_t from, std::size_t to) {
    if (from > to) std::swap(from, to);
    for (std::size_t row = from; row <= to && row < index_.size(); ++row) toggleMark(row);
}

void DatabaseTable::setShownMarks(bool marked) {
    for (const uint32_t k : index_) {
        fileInfo* n = records_[k].node;
        n->marks = marked ? (n->marks | MarkMarked) : (n->marks & ~MarkMarked);
    }
}

std::size_t DatabaseTable::markedCount() const {
    return static_cast<std::size_t>(
        std::count_if(records_.begin(), records_.end(), [](const sortRecord& r) { return (r.node->marks & MarkMarked) != 0; }));
}

StarResult DatabaseTable::deleteStars(StarOperations& ops, std::size_t currentRow) {
    std::vector<fileInfo*> marked;
    std::unordered_map<const fileInfo*, uint32_t> recordOfNode;
    for (auto k = static_cast<uint32_t>(records_.size()); k-- > 0;) {
        fileInfo* n = records_[k].node;
        if (!(n->marks & MarkMarked)) continue;
        marked.push_back(n);
        recordOfNode[n] = k;
    }
    fileInfo* named = nullptr;
    if (!marked.empty()) {
        named = marked.back(); // the first marked record
    } else if (currentRow < index_.size()) {
        named = star(currentRow);
        recordOfNode[named] = index_[currentRow];
    } else {
        return {};
    }
    std::vector<char> gone(records_.size(), 0);
    const StarResult result = ops.deleteNodes(marked, named, [&](fileInfo* node) {
        const auto it = recordOfNode.find(node);
        if (it != recordOfNode.end()) gone[it->second] = 1;
    });
    if (result.done > 0) dropRecords(gone);
    return result;
}

void DatabaseTable::dropRecords(const std::vector<char>& gone) {
    std::vector<uint32_t> moved(records_.size(), 0);
    uint32_t kept = 0;
    for (uint32_t k = 0; k < records_.size(); ++k) {
        if (gone[k]) continue;
        moved[k] = kept;
        records_[kept] = records_[k];
        records_[kept].number = static_cast<int32_t>(kept);
        clones_[kept] = clones_[k];
        ++kept;
    }
    records_.resize(kept);
    clones_.resize(kept);
    std::size_t shown = 0;
    for (const uint32_t k : index_)
        if (!gone[k]) index_[shown++] = moved[k];
    index_.resize(shown);
    sorter_ = std::make_unique<sortFile>(records_.data(), records_.size(), nullptr, poll_);
    if (!clonesComputed_) return;
    // A deleted clone lowers its group's counts; counting sorts, so the shown order is put back
    // (without the rows a clone-only display no longer holds).
    const std::vector<uint32_t> order = index_;
    if (!countClones()) return;
    std::vector<char> stays(records_.size(), 0);
    for (const uint32_t k : index_) stays[k] = 1;
    index_.clear();
    for (const uint32_t k : order)
        if (stays[k]) index_.push_back(k);
}

std::size_t DatabaseTable::nextNameRun(std::size_t row) const {
    std::size_t r = row;
    while (r + 1 < index_.size() && sameAsNext(r, DbName)) ++r;
    return r + 1 < index_.size() ? r + 1 : row;
}

std::size_t DatabaseTable::previousNameRun(std::size_t row) const {
    std::size_t r = row;
    while (r > 0 && sameAsNext(r - 1, DbName)) --r;
    return r > 0 ? r - 1 : row;
}

bool DatabaseTable::writeRows(AtomicFileWriter& file, bool& stopped) {
    constexpr qsizetype kPiece = qsizetype(1) << 20;
    const bool polled = index_.size() > kProgressAbove;
    QByteArray piece;
    for (const bool cp932 : {true, false}) {
        piece.clear();
        if (!cp932) {
            if (!file.restart()) return false;
            piece.append("\xEF\xBB\xBF");
        }
        bool fits = true;
        const auto add = [&](const QString& line) {
            bool lossless = true;
            piece.append(cp932 ? encodeCp932(line, &lossless) : line.toUtf8());
            fits = fits && lossless;
        };
        add(QStringLiteral("[星]名\tサイズ\t更新日時\t階層\t属性\t銀河\r\n"));
        for (std::size_t row = 0; row < index_.size() && fits; ++row) {
            if (polled && row % kExportPoll == 0 && row > 0) {
                progress(QStringLiteral("ＮＤＢデータ ( %1 ) の保存中.... %2").arg(index_.size()).arg(row));
                if (poll_ && poll_->breakRequested() &&
                    showCheck(QStringLiteral("書き出しを中止しますか？(Y/N)"), QStringLiteral("ＮＤＢデータ保存"),
                              kStyleQuestion) == 1) {
                    stopped = true;
                    return false;
                }
            }
            const fileInfo& n = *star(row);
            add(n.name() + u'\t' + QString::number(n.size) + u'\t' + detailText(n, ViewTime, 0) + u'\t' +
                QString::number(n.depth) + u'\t' + detailText(n, ViewAttributes, 0) + u'\t' + galaxyPath(n) +
                QStringLiteral("\r\n"));
            if (piece.size() >= kPiece) {
                if (!file.append(piece)) return false;
                piece.clear();
            }
        }
        if (fits) return file.append(piece);
    }
    return false;
}

bool DatabaseTable::exportTo(const QString& path) {
    if (fileExists(path) && showCheck(QStringLiteral("上書きしますか？(Y/N)"), path, kStyleQuestion) != 1) return false;
    if (index_.size() > kProgressAbove) progress(QStringLiteral("ＮＤＢデータ ( %1 ) の保存中....").arg(index_.size()));
    bool stopped = false;
    bool written = false;
    {
        AtomicFileWriter file(path);
        written = file.ok() && writeRows(file, stopped) && file.commit();
    }
    progress(QString());
    if (!written && !stopped) showCheck(QStringLiteral("ＮＤＢデータを保存できませんでした！"), path, kStyleNotice);
    return written;
}
