// The program's own file and folder chooser without its window: the big universe of mounted
// drives, the chain of folders down to the current one (the fixed rows) and the content of the
// current folder, one entry per row; presses on rows, the path field, OK and Home. The window
// TFormPath draws it and turns clicks and keys into these calls.
#pragma once

#include "Platform.h"

#include <QString>
#include <QStringList>
#include <vector>

class PathChooser {
public:
    enum class RowKind { Universe, PathRow, Drive, Folder, File, Placeholder };

    // `filter` ("*.nebu", several joined by ";"; empty to choose a folder), the path shown first
    // (a folder ends with "/", "" is the big universe), the home folder (may be empty) and the
    // drives offered at the top. Fills the rows. Cost: one listing of the first folder.
    PathChooser(const QString& filter, const QString& path, const QString& home, std::vector<DriveInfo> drives);

    // The window's caption: "[星]の選択" with a filter, "銀河の選択" without.
    QString caption() const;

    // Rows: the big universe, the path rows, then the entries. O(1).
    int rowCount() const { return fixedRows_ + static_cast<int>(entries_.size()); }
    // 1 + the number of "/" in the current path. O(1).
    int fixedRows() const { return fixedRows_; }
    RowKind rowKind(int row) const;
    // The text a row shows (" 大宇宙 ", " / ", "<data>", " /mnt/usb/ 脱可", "a.nebu"). O(1) but
    // a drive row tests whether the drive can be entered.
    QString rowText(int row) const;
    // The row is drawn highlighted: the big universe while the drives are shown, the last path
    // row while the folder itself is the choice, a picked file's row (`currentRow`). O(1).
    bool highlighted(int row, int currentRow) const;
    // The depth of a row's connector lines (0 for the big universe). O(1).
    int level(int row) const;

    // A press on a row: the big universe lists the drives, a path row goes back to that folder,
    // a drive or folder entry is entered, a file entry is picked; a placeholder does nothing.
    // Returns true when the rows changed. Cost: one listing when a folder is entered.
    bool press(int row);
    // The path field's text: the current path follows it; a text that ends with "/" and names
    // a folder is listed. Cost: one listing then.
    void editPath(const QString& text);
    // "Home": the home folder is listed (false when there is none).
    bool goHome();
    // "OK": true when the path can be taken; false (after the message "ファイルが指定されて
    // いません！") when a file is wanted and none is picked.
    bool accept();

    const QString& path() const { return path_; }
    const QString& filter() const { return filter_; }
    // The first entry row; where the grid cursor goes after the OK message.
    int firstEntryRow() const { return fixedRows_; }

    // True when `name` matches the filter (ASCII letters without regard to case). O(name).
    bool matchesFilter(const QString& name) const;

private:
    struct Entry {
        QString text; // a drive root or folder name ends with "/"
        RowKind kind;
    };
    void fill();

    QString filter_;
    QStringList patterns_;
    QString path_;
    QString home_;
    std::vector<DriveInfo> drives_;
    std::vector<Entry> entries_;
    int fixedRows_ = 1;
};

// The parts of a path as the chooser shows them: the drive ("/" or "C:/") and each folder with
// its "/"; a final file name has no "/". O(length).
QStringList pathParts(const QString& path);
