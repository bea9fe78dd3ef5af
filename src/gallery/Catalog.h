// The gallery's catalog: source locations (url.txt), their groups (group.txt) and works
// (anime.txt), numbered in preorder as the rows of the works list.
#pragma once

#include "acmdURLinfo.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

// One catalog row: a source (no group, no work), a group (no work) or a work.
struct CatalogEntry {
    acmdURLinfo* source = nullptr;
    acmdGroupInfo* group = nullptr;
    acmdFileInfo* work = nullptr;
    bool operator==(const CatalogEntry&) const = default;
};

// Where a work's program is: the interpreter's folder and the file name inside it.
struct WorkLocation {
    QString folder;   // location + group folder, ends with "/"
    QString fileName; // relative to folder
    bool remote = false;
    QString path() const { return folder + fileName; }
};

class kestoBasInfo;

class Catalog {
public:
    // A server answers at most this many groups per source and works per group; lines beyond are
    // reported once and left out, so a hostile group.txt cannot start a million fetches.
    static constexpr int kMaxRemoteGroups = 500;
    static constexpr int kMaxRemoteWorks = 10000;

    // A record or text of the catalog that cannot be allocated ends the program through
    // memoryError with its site: sources 108 (name 101, location 102), local groups 110 (folder
    // 103, title 104), local works 112 (title 105, file name 106), the fetched line lists 115
    // (group.txt) and 117 (anime.txt), fetched groups 116 and fetched works 119.
    // Test seam: the probe is called with the site before each of those allocations; a probe
    // that throws std::bad_alloc stands for that allocation failing. Returns the previous probe.
    using AllocationProbe = std::function<void(int site)>;
    static AllocationProbe setAllocationProbe(AllocationProbe probe);

    // The catalog of the home folder ("/" is appended when missing).
    explicit Catalog(QString homeFolder);

    // Reads url.txt and every local source's group.txt and anime.txt. A missing local catalog file
    // is reported and ends the program through memoryError (sites 109, 111, 113). Remote sources
    // get their row only. Call once. Cost: one file read per local catalog file.
    void readSources();

    // Fetches group.txt and every group's anime.txt of a remote source that has no groups yet and
    // appends them after its row. A failed group.txt leaves groupCount -1 (the row is struck
    // through); a failed anime.txt is reported and its group stays without works. Returns the
    // number of rows added (0 for a local source or a source that already has groups). Blocks on
    // HTTP, about a second per stalled request at most.
    int fetchSourceGroups(acmdURLinfo* source);

    // Called with true before a remote fetch starts and false after it ended (the gallery shows
    // its search panel "URLの検索中" meanwhile).
    void setSearchPanel(std::function<void(bool shown)> panel) { searchPanel_ = std::move(panel); }

    // The entry of a row; a row outside the catalog yields an empty entry. Cost: constant.
    CatalogEntry rowToEntry(int row) const;

    // The row of an entry (group none: the source row; work none: the group row), or -1 when the
    // triple is not in the catalog. Cost: linear in the rows.
    int entryToRow(const acmdURLinfo* source, const acmdGroupInfo* group = nullptr,
                   const acmdFileInfo* work = nullptr) const;

    // Number of rows loaded so far: one per source, group and work read.
    int rowCount() const { return static_cast<int>(rows_.size()); }

    const std::vector<std::unique_ptr<acmdURLinfo>>& sources() const { return sources_; }
    acmdURLinfo* firstSource() const { return sources_.empty() ? nullptr : sources_.front().get(); }
    const QString& homeFolder() const { return homeFolder_; }

    // The present position; after readSources the source is the first one.
    CatalogEntry current;

    // The source after `source`, the first one after the last ("次URL"). Cost: constant.
    acmdURLinfo* nextSource(const acmdURLinfo* source) const;

    // The group after the one of `at`, else the next source (wrapping) with its first group, or
    // no group when that source has none yet ("次集"); nothing is fetched. Cost: constant.
    CatalogEntry nextGroupEntry(const CatalogEntry& at) const;

    // Makes the next group current: the current source's next group, else the next source's
    // first group, fetching a remote source's groups first; a source that still has none gives
    // way to the first source. The current work becomes none. Returns the new position.
    CatalogEntry moveToNextGroup();

    // Makes the previous group current: the current source's previous group, else the previous
    // source (the first stays the first) with its first group. Returns the new position.
    CatalogEntry moveToPreviousGroup();

    // The usable form of a url.txt location field: http(s) stays, "local" is the home folder, a
    // relative path is put under it, a drive or absolute path stays; then "\" becomes "/" and the
    // text ends with "/". Cost: linear in the text.
    static QString sourceLocation(const QString& field, const QString& homeFolder);

    // location + folder + fileName: the path or URL of a work's program.
    static QString workPath(const acmdURLinfo& source, const acmdGroupInfo& group, const acmdFileInfo& work);

    // Where the interpreter loads the work from.
    static WorkLocation locateWork(const acmdURLinfo& source, const acmdGroupInfo& group, const acmdFileInfo& work);

    // Loads a work's program into the interpreter and prepares it: read from its local folder
    // (`workFolder` then becomes that folder) or fetched (the work keeps the announced byte count
    // in fetchedBytes). False when nothing was loaded (already reported). Cost: the program's
    // size; a fetch blocks up to about a second per stalled phase.
    static bool loadWork(const CatalogEntry& entry, kestoBasInfo& interpreter, QString& workFolder);

    // The text of the viewing-log line about a remote load: "location folder file ( N byte)".
    static QString fetchedText(const acmdURLinfo& source, const acmdGroupInfo& group, const acmdFileInfo& work);

private:
    void readLocalGroups(acmdURLinfo& source);
    void readLocalWorks(acmdURLinfo& source, acmdGroupInfo& group);
    void fetchRemoteWorks(acmdURLinfo& source, acmdGroupInfo& group);
    void rebuildRows();

    QString homeFolder_;
    std::vector<std::unique_ptr<acmdURLinfo>> sources_;
    std::vector<CatalogEntry> rows_;
    std::function<void(bool)> searchPanel_;
    bool fetching_ = false;
};
