// The commands of the tree window that its keys, its main menu and its buttons share: the key
// table's commands (NebuKeyTable) carried out on the window, the tree sort with its chooser, the
// searches for the deepest level and the longest names, and the rescans that start a new
// universe (from a galaxy, from the folder above, from a drive, from the home folder, from a
// chosen folder). The window's key handler and its key-command playback both end here.
#pragma once

#include "NebuKeyTable.h"

#include <QObject>
#include <functional>

class QAction;
class QMenu;
class QMenuBar;
class QWidget;
class TFormNebu;
class TFormSort;
struct fileInfo;

// The program's one help viewer as a tree window reaches it: `show` puts it in its file-universe
// mode into the given area and shows it; `release` takes it out of the tree window again (the
// window is about to dock or to go). Both empty: the program has no help viewer to offer.
struct NebuHelpEntry {
    std::function<void(QWidget* area)> show;
    std::function<void()> release;
};

class NebuCommands : public QObject {
    Q_OBJECT
public:
    // `window` owns this object (a child object) and the sort chooser made here.
    explicit NebuCommands(TFormNebu& window);

    // A released key with its modifiers: its command from the key table, carried out; then the
    // focus goes back to the grid (the drive list keeps it). True when the key has a command.
    bool runKey(int key, Qt::KeyboardModifiers modifiers);
    // One command of the key table. Cost: that of the command.
    void run(const NebuKeyAction& action);

    // The grid's popup `PopupMenuSG` for the present state (chart mode or not, the current node):
    // the view items, the chart edits, the file operations, the clone items. O(items).
    void fillPopup(QMenu& popup);

    // "並べ替え(&S)", key S: the chooser opens; its choice sorts around the current node. O(1).
    void openSortChooser();
    TFormSort* sortChooser() const { return sort_; }
    // Sorts around the current node (its galaxy's content, or a star's siblings), lays the tree
    // out and puts the cursor back on the node. O(n log n) below the galaxy plus the layout.
    void sortCurrent(int mode);

    // "最深層へ移動 (&G)", "最長星名へ移動 (&P)" and "最長パス名へ移動 (&F)": the cursor to the node
    // found (the last two then say how long its name is). Nothing when nothing is shown. O(chain).
    void gotoDeepest();
    void gotoLongestName();
    void gotoLongestPath();

    // Key "\" and "U" on the root: a new scan of the folder above the current path. O(1).
    void rescanParent();
    // Key X: a new scan from the current galaxy; on a star the user is asked for a galaxy. A
    // galaxy reached through a link now, or on another mount, is refused with a message.
    void searchFromCurrent();
    // "現銀河を検索トップへ (&X)": the same on a galaxy; on a star its path is opened (a ".nebu"
    // star is read as constellation data).
    void searchTopFromCurrent();
    // A double click on a galaxy: a new scan from it, refused as searchFromCurrent refuses.
    void rescanFrom(fileInfo* galaxy);
    // "ホームパスのツリー検索  (&H)": a new scan of the home folder (setHomeFolder; the work's
    // folder until one is given). O(1).
    void searchHome();
    void setHomeFolder(const QString& folder) { homeFolder_ = folder; }
    // "探査銀河": the own chooser ("検索銀河を選択してください") picks the folder to scan.
    void chooseGalaxy();
    // Ctrl + letter: a new scan of that drive; "指定したドライブは無効です！" without one.
    void scanDrive(int letter);
    // Ctrl + digit: the search depth, shown in the depth list, then a new scan. O(1).
    void setSearchDepth(int depth);
    // "開く〔メモ帳〕    (&E)": the current star in the desktop's text editor.
    void openInTextEditor();

    // Load (O) and save (Shift + O) of constellation data, as the buttons "L" and "S" do.
    void loadConstellation();
    void saveConstellation();

    // The main menu MainMenuNebu ([星], 表示, 検索, NDB, メタ宇宙の旅, おまかせ星座チャート作成,
    // Help), made once into `parent`. Entries without a feature in this program are disabled
    // with a hint. O(items).
    QMenuBar* buildMainMenu(QWidget* parent);
    // "Help(&H)": the help viewer in its file-universe mode inside the tree area. Enabled once an
    // entry is given. O(1).
    void setHelpEntry(NebuHelpEntry entry);
    void showHelp();
    // Takes an open help viewer out of the window (docking, closing). O(1).
    void releaseHelp();
    // The journey entry of the window was given or taken: the menu follows. O(1).
    void refreshEntries();

protected:
    // "星" and "探査銀河" sit 2 pixels lower and to the right while the mouse button is held.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openScan(const QString& path);
    void moveTo(fileInfo* node);
    void stepSpin(int which, int direction);

    TFormNebu& window_;
    TFormSort* sort_;
    QString homeFolder_;
    NebuHelpEntry help_;
    bool helpShown_ = false;
    QAction* journey_ = nullptr;
    QAction* helpAction_ = nullptr;
};
