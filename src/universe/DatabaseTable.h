// The database view's table without widgets: one record per star of the whole tree, in list
// order, and the list of rows shown. Rows point into the tree (no copies of names or sizes);
// sorts and narrowing permute or rebuild only the index list, so a million stars cost about
// 50 bytes each. The view's clone counts are its own: counting here never touches the tree's
// `cloneCount`, which the tree window's clone view owns. Every question and notice goes
// through showCheck, and only the answer 1 proceeds.
#pragma once

#include "StarOperations.h"
#include "sortFile.h"
#include "treeInfo.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class AtomicFileWriter;
class BreakPoll;

// Columns of the table.
enum DbColumn : int {
    DbNumber = 0,
    DbName = 1,
    DbNameBytes = 2,
    DbSize = 3,
    DbTime = 4,
    DbKind = 5,
    DbClones = 6,
    DbGalaxy = 7,
};

// One narrowing criterion; a star passes when every set field holds. Names and extensions are
// compared as stored bytes with ASCII letters folded, as the sorter compares them.
struct fileSel {
    std::optional<QByteArray> name; // the name equal; with baseLength: the part before the last "." equal
    int baseLength = -1;            // bytes of the base name (unset: -1)
    int nameBytes = 0;              // unset: 0
    std::optional<uint64_t> size;
    std::optional<uint64_t> stamp;
    int kind = -1;
    int cloneCount = -1;                   // the view's own count
    const fileInfo* parent = nullptr;      // the star's galaxy
    const fileInfo* ancestor = nullptr;    // a galaxy somewhere above the star
    std::optional<QByteArray> extension;   // from the last "." ("" for none)
};

// What the table copies from the tree window at every refresh.
struct DatabaseLook {
    int viewFlags = 0;
    int formatOptions = 0; // FormatOption bits, and DbFormatNoGalaxy
    int nameLength = 24;   // half-width columns of the name cell
};

// Format option of the table only: the galaxy column stays empty.
constexpr int DbFormatNoGalaxy = 4;

class DatabaseTable {
public:
    static constexpr int kColumns = 8;
    // Sorts of more shown rows than this ask first.
    static constexpr std::size_t kAskAbove = 500000;
    // Progress texts appear above this many rows.
    static constexpr std::size_t kProgressAbove = 10000;

    // `tree` and `poll` (may be null: no break) must outlive the table. The table is empty until
    // refresh().
    DatabaseTable(treeInfo& tree, BreakPoll* poll);
    ~DatabaseTable();
    DatabaseTable(const DatabaseTable&) = delete;
    DatabaseTable& operator=(const DatabaseTable&) = delete;

    // Receives the progress box texts; an empty text hides the box. May be empty.
    std::function<void(const QString&)> onProgress;

    // Rebuilds records, index and sorter from the tree (stars only, root to bottom), shows every
    // row, resets toggles, criteria, wildcard, clone counts and the clone-only display. False,
    // after "作業域が確保できません！" (caption "ＮＤＢの終了"), when memory runs out; the table is
    // then empty. O(n).
    bool refresh(const DatabaseLook& look);

    const DatabaseLook& look() const { return look_; }
    // Changes the copied format options (the view's own buttons). O(1).
    void setFormatOptions(int options) { look_.formatOptions = options; }

    std::size_t totalCount() const { return records_.size(); }
    std::size_t shownCount() const { return index_.size(); }
    // The star of a shown row (row < shownCount()). O(1).
    fileInfo* star(std::size_t row) const { return records_[index_[row]].node; }
    // The record position (list order among stars) of a shown row. O(1).
    uint32_t recordOf(std::size_t row) const { return index_[row]; }
    // The view's clone count of a shown row: -1 until counted. O(1).
    int32_t cloneCount(std::size_t row) const { return clones_[index_[row]]; }
    bool clonesComputed() const { return clonesComputed_; }

    // The cell text of a shown row as the grid draws it. O(name + depth).
    QString cellText(std::size_t row, int column) const;
    // The header text of a column. O(1).
    static QString headerText(int column);
    // The sort label of a column ("初期並び", "[星]名", ...). O(1).
    static QString sortLabel(int column);
    // True when the next shown row holds the same value in this column (names folded, the same
    // galaxy for column 7), so that the two cells read as one block. O(name).
    bool sameAsNext(std::size_t row, int column) const;
    // "星〔current／shown／total:criteria〕". O(1).
    QString positionText(std::size_t currentRow) const;

    // Sorts the shown rows by a column; a column's toggle (flipped by each completed sort) makes
    // the next sort of that column run in reverse. Ties keep the record order (or its reverse).
    // Asks above kAskAbove rows; sorting by clone count counts clones first. False when nothing
    // was sorted (declined, cancelled by the break panel, memory). O(n log n) comparisons.
    bool sortColumn(int column);
    // 1 when the next sort of the column runs in reverse.
    int sortToggle(int column) const { return toggles_[static_cast<std::size_t>(column)]; }

    // Narrowing from the cell of a shown row: "同一値" (column 0 adds an empty criterion),
    // "同一ファイル名部", "同一拡張子", "同フォルダ層". Each adds one criterion and renarrows. O(n).
    void addSameValue(std::size_t row, int column);
    void addSameBase(std::size_t row);
    void addSameExtension(std::size_t row);
    void addSameFolder(std::size_t row);
    // Adds a criterion of the caller's own and renarrows. O(n).
    void addCriterion(const fileSel& criterion);
    // "解除１" and "解除＊"; false (nothing changes) when there are no criteria. O(n).
    bool removeLastCriterion();
    bool removeAllCriteria();
    std::size_t criterionCount() const { return criteria_.size(); }
    // The star wildcard ("*", "?", ASCII letters folded; empty passes every name); renarrows. O(n·name).
    void setWildcard(const QString& wildcard);
    // Rebuilds the shown rows from all records in record order: those that satisfy every criterion,
    // the wildcard and (when on) the clone-only display. Undoes any sort. O(n).
    void applyNarrowing();
    // True when the star passes every criterion and the wildcard. O(criteria + name).
    bool passes(uint32_t record) const;

    // Counts, for every shown star, the other shown stars equal by the clone test (name folded,
    // size, stamp to the hour), then renarrows. False when the break panel stopped the sort.
    // O(n log n).
    bool countClones();
    // The clone-only display on or off. On needs a star with clones: otherwise "クローンはありません！"
    // (caption "クローンのみ表示") and it stays off. Returns the new state. O(n).
    bool setCloneOnly(bool on);
    bool cloneOnly() const { return cloneOnly_; }

    // Marks are the nodes' own (shared with the tree window). O(1) each, O(n) for the ranges.
    void toggleMark(std::size_t row);
    void toggleMarks(std::size_t from, std::size_t to); // inclusive, either order
    void setShownMarks(bool marked);
    // Marked stars among all records, shown or not. O(n).
    std::size_t markedCount() const;

    // "ファイルの削除": the marked stars among all records (shown or not), walked from the last
    // record to the first, or without marks the star of `currentRow`, deleted through `ops` (its
    // question, naming the first marked star; its checks of each file against the disk; its
    // messages). Each deleted star leaves the records and the shown rows, which keep their order;
    // counted clones are counted again. Cost: the deletions, then O(n) (and a count when counted).
    StarResult deleteStars(StarOperations& ops, std::size_t currentRow);

    // The up-down "星": the first row of the next run of equal names, the last row of the
    // previous run (the row itself at either end). O(run).
    std::size_t nextNameRun(std::size_t row) const;
    std::size_t previousNameRun(std::size_t row) const;

    // The names of the star's galaxies from depth 1 to its parent, joined with "\". O(depth).
    static QString galaxyPath(const fileInfo& star);

    // Writes the shown rows, in display order, as tab-separated text (a heading line, CR LF, code
    // page 932, or UTF-8 with a byte-order mark when a name does not survive it). An existing file
    // is replaced only after "上書きしますか？(Y/N)" is answered 1; the write is atomic, so a failed
    // or stopped export leaves the old file as it was; a failure is reported. Above kProgressAbove
    // rows the break panel is polled every 1000 rows ("書き出しを中止しますか？(Y/N)").
    // True when the file was written. O(n · (name + depth)).
    bool exportTo(const QString& path);

private:
    void clear();
    void dropRecords(const std::vector<char>& gone);
    void progress(const QString& text) const;
    bool writeRows(AtomicFileWriter& file, bool& stopped);

    treeInfo& tree_;
    BreakPoll* poll_;
    DatabaseLook look_;
    std::vector<sortRecord> records_;
    std::vector<uint32_t> index_;
    std::vector<int32_t> clones_;
    std::unique_ptr<sortFile> sorter_;
    std::array<int, kColumns> toggles_{};
    std::vector<fileSel> criteria_;
    QString wildcard_;
    bool clonesComputed_ = false;
    bool cloneOnly_ = false;
};
