// The headless core of the tree window: opening a path (scan or constellation data), the load
// and save commands after the user has chosen a path, the tree image export, the drive choice
// and the all-drives log. Every question goes through showCheck; only the answer 1 proceeds.
#pragma once

#include "TreeImage.h"
#include "treeInfo.h"

#include <QString>
#include <QStringList>
#include <optional>

class BreakPoll;
class ScanProgress;

class UniverseModel {
public:
    // `path` as the window was created with it: a rooted path as is, anything else under
    // `workFolder` (which ends with a separator).
    UniverseModel(const QString& path, const QString& workFolder);

    treeInfo& tree() { return tree_; }

    // Installs the break poll and the progress receiver of the running window (not owned; null
    // for none).
    void setBreakPoll(BreakPoll* poll) { breakPoll_ = poll; }
    void setProgress(ScanProgress* progress) { progress_ = progress; }

    // Scans or reads what the path buffer names and sums the sizes. Returns the scan's or the
    // read's result (1 done, 0 broken, -1 failed). O(n).
    int openPath();

    // Scans a folder down to the search depth (UniverseScan::scanUniverse).
    int scanUniverse(const QString& startPath);

    // The load command: the file is chosen through choosePath ("*.nebu", opened on the last
    // chooser folder), then loaded as below. False when cancelled or refused.
    bool loadConstellation(bool afterLoad);
    // The save command: the file name is chosen through choosePath, then saved as below.
    bool saveConstellation();
    // The tree image command: the file name is chosen through choosePath ("*.nimg").
    bool saveTreeImage(const TreeView& view, const TreeImageStyle& style);
    // The all-drives log command: the drives that exist are offered through chooseDrives.
    bool logAllDrives();

    // The load command on a chosen file: checks its extension and existence (reported), reads it;
    // with `afterLoad` the display depth becomes the search depth. True when the tree was replaced.
    bool loadConstellation(const QString& chosenPath, bool afterLoad);

    // The save command on a chosen file name: fixes the extension (notice or question), asks
    // before overwriting, writes. True when written.
    bool saveConstellation(const QString& chosenPath);

    // The tree image command: extension fixed as in saving, an existing file overwritten.
    bool saveTreeImage(const QString& chosenPath, const TreeView& view, const TreeImageStyle& style);

    // The drive box list: " /mount" for every mounted file system, then one empty item.
    static QStringList driveList();
    // A drive box text chosen: the path buffer becomes that drive's root and it is opened.
    int selectDrive(const QString& driveText);

    // Scans every chosen drive root to its last level and writes one constellation file per drive
    // into the last chooser folder; reports the outcome. True when every drive was finished.
    bool logAllDrives(const QStringList& driveRoots);

    // The file name of a drive's log: folder + drive label + deepest level (two digits) + yymmddhh.
    QString driveLogName(const QString& driveRoot, int deepest, const QString& yymmddhh) const;

private:
    void rememberChooserFolder(const QString& chosenPath);
    // The path with the wanted extension, after the notice or the question; nothing when declined.
    std::optional<QString> fixExtension(const QString& path, const QString& extension) const;

    treeInfo tree_;
    BreakPoll* breakPoll_ = nullptr;
    ScanProgress* progress_ = nullptr;
};

// The extension of the last path component ("" when it has no "."); "…/my.dir/tree" has none.
QString lastExtension(const QString& path);
