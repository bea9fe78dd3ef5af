#include "Catalog.h"

#include "CatalogLine.h"
#include "common/Fetch.h"
#include "common/Settings.h"
#include "common/ShowCheck.h"
#include "common/TextFile.h"
#include "script/kestoBasInfo.h"

#include <algorithm>
#include <limits>
#include <new>

namespace {

QString notFoundText(const QString& where) { return QStringLiteral("「 %1 」が見つかりません！").arg(where); }

QString tooManyText(const QString& where, int kept) {
    return QStringLiteral("「 %1 」の行が多すぎます！（先頭の %2 行を使います）").arg(where, QString::number(kept));
}

const QString kUrlCaption = QStringLiteral("ＵＲＬ情報ファイルの確認");
const QString kGroupCaption = QStringLiteral("グループ情報ファイルの確認");
const QString kWorksCaption = QStringLiteral("作品一覧情報ファイルの確認");

// Reads a local catalog file or ends the program: without its catalog the gallery has nothing to show.
QStringList readLocalOrEnd(const QString& path, const QString& caption, int site) {
    QStringList lines;
    if (FileFault fault = FileFault::None; !readTextLines(path, lines, nullptr, &fault)) {
        showCheck(fileFaultText(fault, notFoundText(path)), caption, 0);
        memoryError(site);
    }
    return CatalogLine::localRecords(lines);
}

QString withSlash(QString folder) {
    if (!folder.endsWith(u'/')) folder += u'/';
    return folder;
}

Catalog::AllocationProbe& allocationProbe() {
    static Catalog::AllocationProbe probe;
    return probe;
}

// Runs `make`; when it cannot allocate, the program ends through memoryError(site): a catalog
// with a record half made has no state the gallery could go on from.
template <class Make>
decltype(auto) allocateOrEnd(int site, Make&& make) {
    try {
        if (allocationProbe()) allocationProbe()(site);
        return make();
    } catch (const std::bad_alloc&) {
        memoryError(site);
    }
}

// The allocation sites of a work record and of its two texts.
struct WorkSites {
    int record, title, fileName;
};
constexpr WorkSites kLocalWorkSites{112, 105, 106};
constexpr WorkSites kRemoteWorkSites{119, 119, 119};

void appendWork(acmdGroupInfo& group, const QStringList& fields, WorkSites sites) {
    acmdFileInfo& work =
        *allocateOrEnd(sites.record, [&] { return group.works.emplace_back(std::make_unique<acmdFileInfo>()).get(); });
    work.index = static_cast<int>(group.works.size()) - 1;
    work.title = allocateOrEnd(sites.title, [&] { return fields[0]; });
    work.fileName = allocateOrEnd(sites.fileName, [&] { return fields[1]; });
    work.showFlag = CatalogLine::flagValue(fields, 2, 1);
    work.group = &group;
}

} // namespace

Catalog::AllocationProbe Catalog::setAllocationProbe(AllocationProbe probe) {
    AllocationProbe old = std::move(allocationProbe());
    allocationProbe() = std::move(probe);
    return old;
}

Catalog::Catalog(QString homeFolder) : homeFolder_(withSlash(std::move(homeFolder))) {}

QString Catalog::sourceLocation(const QString& field, const QString& homeFolder) {
    QString location;
    if (isHttpLocation(field)) {
        location = field;
    } else if (equalsCaseless(field, u"local")) {
        location = homeFolder;
    } else if (!field.contains(u':') && !field.startsWith(u'/') && !field.startsWith(u'\\')) {
        location = homeFolder + field;
    } else {
        location = field; // a drive path or an absolute path
    }
    location.replace(u'\\', u'/');
    return withSlash(location);
}

void Catalog::readSources() {
    const QStringList records = readLocalOrEnd(homeFolder_ + QStringLiteral("url.txt"), kUrlCaption, 109);
    for (const QString& record : records) {
        const QStringList fields = allocateOrEnd(108, [&] { return CatalogLine::fields(record); });
        if (fields.size() < 2) continue;
        acmdURLinfo& source =
            *allocateOrEnd(108, [&] { return sources_.emplace_back(std::make_unique<acmdURLinfo>()).get(); });
        source.index = static_cast<int>(sources_.size()) - 1;
        source.name = allocateOrEnd(101, [&] { return fields[0]; });
        source.location = allocateOrEnd(102, [&] { return sourceLocation(fields[1], homeFolder_); });
        source.remote = isHttpLocation(source.location);
        if (!source.remote) readLocalGroups(source);
    }
    current = {firstSource(), nullptr, nullptr};
    rebuildRows();
}

void Catalog::readLocalGroups(acmdURLinfo& source) {
    const QStringList records = readLocalOrEnd(source.location + QStringLiteral("group.txt"), kGroupCaption, 111);
    for (const QString& record : records) {
        const QStringList fields = allocateOrEnd(110, [&] { return CatalogLine::fields(record); });
        if (fields.size() < 2) continue;
        acmdGroupInfo& group =
            *allocateOrEnd(110, [&] { return source.groups.emplace_back(std::make_unique<acmdGroupInfo>()).get(); });
        group.index = static_cast<int>(source.groups.size()) - 1;
        // Backslashes first, so "set1\" does not end up as "set1//".
        group.folder = allocateOrEnd(103, [&] { return withSlash(QString(fields[0]).replace(u'\\', u'/')); });
        group.title = allocateOrEnd(104, [&] { return fields[1]; });
        group.tourFlag = CatalogLine::flagValue(fields, 2, 1);
        group.source = &source;
        readLocalWorks(source, group);
        ++source.groupCount;
    }
}

void Catalog::readLocalWorks(acmdURLinfo& source, acmdGroupInfo& group) {
    const QStringList records =
        readLocalOrEnd(source.location + group.folder + QStringLiteral("anime.txt"), kWorksCaption, 113);
    for (const QString& record : records) {
        const QStringList fields = allocateOrEnd(112, [&] { return CatalogLine::fields(record); });
        if (fields.size() < 2) continue;
        appendWork(group, fields, kLocalWorkSites);
    }
}

int Catalog::fetchSourceGroups(acmdURLinfo* source) {
    // A message box inside a fetch pumps events; a tick reaching here again must not fetch twice.
    if (!source || !source->remote || !source->groups.empty() || fetching_) return 0;
    fetching_ = true;
    // Also when the fetch is left by an exception (a test's memoryError), so the next one runs.
    const struct FetchEnd {
        bool& fetching;
        ~FetchEnd() { fetching = false; }
    } fetchEnd{fetching_};
    if (searchPanel_) searchPanel_(true);
    const int rowsBefore = rowCount();
    const QString url = source->location + QStringLiteral("group.txt");
    QStringList lines;
    if (allocateOrEnd(115, [&] { return fetchLines(url, lines); }) == 0) {
        source->groupCount = -1;
        showCheck(notFoundText(url), kGroupCaption, 0);
    } else {
        int read = 0;
        for (const QString& line : lines) {
            const QStringList fields =
                allocateOrEnd(116, [&] { return CatalogLine::fields(CatalogLine::remoteRecord(line)); });
            if (fields.size() < 3) continue;
            if (read == kMaxRemoteGroups) {
                showCheck(tooManyText(url, kMaxRemoteGroups), kGroupCaption, 0);
                break;
            }
            acmdGroupInfo& group = *allocateOrEnd(116, [&] {
                acmdGroupInfo* made = source->groups.emplace_back(std::make_unique<acmdGroupInfo>()).get();
                made->folder = withSlash(fields[0]);
                made->title = fields[1];
                return made;
            });
            group.index = static_cast<int>(source->groups.size()) - 1;
            group.tourFlag = CatalogLine::flagValue(fields, 2, 0);
            group.source = source;
            fetchRemoteWorks(*source, group);
            ++read;
        }
        // Only a fetch that read groups lifts the strike-through of an earlier failure.
        if (read > 0) source->groupCount = read;
        rebuildRows();
    }
    if (searchPanel_) searchPanel_(false);
    return rowCount() - rowsBefore;
}

void Catalog::fetchRemoteWorks(acmdURLinfo& source, acmdGroupInfo& group) {
    const QString url = source.location + group.folder + QStringLiteral("anime.txt");
    QStringList lines;
    if (allocateOrEnd(117, [&] { return fetchLines(url, lines); }) == 0 || lines.isEmpty()) {
        // The group stays without works and the gallery goes on: ending the program here would
        // lose whatever is unsaved in the Atelier.
        showCheck(notFoundText(url), kWorksCaption, 0);
        return;
    }
    for (const QString& line : lines) {
        const QStringList fields =
            allocateOrEnd(119, [&] { return CatalogLine::fields(CatalogLine::remoteRecord(line)); });
        if (fields.size() < 2) break;
        if (group.works.size() == static_cast<size_t>(kMaxRemoteWorks)) {
            showCheck(tooManyText(url, kMaxRemoteWorks), kWorksCaption, 0);
            break;
        }
        appendWork(group, fields, kRemoteWorkSites);
    }
}

void Catalog::rebuildRows() {
    rows_.clear();
    for (const auto& source : sources_) {
        rows_.push_back({source.get(), nullptr, nullptr});
        for (const auto& group : source->groups) {
            rows_.push_back({source.get(), group.get(), nullptr});
            for (const auto& work : group->works) rows_.push_back({source.get(), group.get(), work.get()});
        }
    }
}

CatalogEntry Catalog::rowToEntry(int row) const {
    if (row < 0 || row >= rowCount()) return {};
    return rows_[static_cast<size_t>(row)];
}

int Catalog::entryToRow(const acmdURLinfo* source, const acmdGroupInfo* group, const acmdFileInfo* work) const {
    if (!source) return -1;
    for (size_t row = 0; row < rows_.size(); ++row) {
        const CatalogEntry& e = rows_[row];
        if (e.source == source && e.group == group && e.work == work) return static_cast<int>(row);
    }
    return -1;
}

acmdURLinfo* Catalog::nextSource(const acmdURLinfo* source) const {
    if (sources_.empty()) return nullptr;
    const size_t next = source ? static_cast<size_t>(source->index) + 1 : 0;
    return sources_[next < sources_.size() ? next : 0].get();
}

namespace {

acmdGroupInfo* firstGroupOf(const acmdURLinfo* source) {
    return source && !source->groups.empty() ? source->groups.front().get() : nullptr;
}

} // namespace

CatalogEntry Catalog::nextGroupEntry(const CatalogEntry& at) const {
    if (at.source && at.group && at.group->hasNext())
        return {at.source, at.source->groups[static_cast<size_t>(at.group->index) + 1].get(), nullptr};
    if (at.source && !at.group && !at.source->groups.empty()) return {at.source, firstGroupOf(at.source), nullptr};
    acmdURLinfo* source = nextSource(at.source);
    return {source, firstGroupOf(source), nullptr};
}

CatalogEntry Catalog::moveToNextGroup() {
    CatalogEntry at = nextGroupEntry(current);
    if (at.source && !at.group) {
        fetchSourceGroups(at.source);
        if (at.source->groups.empty()) at.source = firstSource();
        at.group = firstGroupOf(at.source);
    }
    current = at;
    return current;
}

CatalogEntry Catalog::moveToPreviousGroup() {
    acmdURLinfo* source = current.source ? current.source : firstSource();
    if (source && current.group && current.group->index > 0) {
        current = {source, source->groups[static_cast<size_t>(current.group->index) - 1].get(), nullptr};
    } else {
        acmdURLinfo* previous = source && source->index > 0 ? sources_[static_cast<size_t>(source->index) - 1].get() : source;
        current = {previous, firstGroupOf(previous), nullptr};
    }
    return current;
}

QString Catalog::workPath(const acmdURLinfo& source, const acmdGroupInfo& group, const acmdFileInfo& work) {
    return source.location + group.folder + work.fileName;
}

WorkLocation Catalog::locateWork(const acmdURLinfo& source, const acmdGroupInfo& group, const acmdFileInfo& work) {
    return {source.location + group.folder, work.fileName, source.remote};
}

bool Catalog::loadWork(const CatalogEntry& entry, kestoBasInfo& interpreter, QString& workFolder) {
    if (!entry.source || !entry.group || !entry.work) return false;
    const WorkLocation at = locateWork(*entry.source, *entry.group, *entry.work);
    interpreter.programFolder = at.folder;
    if (at.remote) {
        const uint32_t bytes = interpreter.loadProgramUrl(at.folder, at.fileName);
        if (bytes == 0) return false;
        entry.work->fetchedBytes = static_cast<int>(std::min<uint32_t>(bytes, std::numeric_limits<int>::max()));
        return true;
    }
    if (interpreter.loadProgramFile(at.folder, at.fileName) != 0) return false;
    workFolder = at.folder;
    return true;
}

QString Catalog::fetchedText(const acmdURLinfo& source, const acmdGroupInfo& group, const acmdFileInfo& work) {
    // One multi-argument arg(): a URL's own "%3A" must not be taken for a place holder.
    return QStringLiteral("%1%2%3 ( %4 byte)")
        .arg(source.location, group.folder, work.fileName, QString::number(work.fetchedBytes));
}
