// The clone commands of the tree window: the clone view (key Y and the search menu), its
// inversion, and the popup's clone marking and clone deletion, with the small "C" panel beside
// the star button. The work is NebuClones; this class only ties it to the window's controls.
#pragma once

#include <QObject>

class QAction;
class QLabel;
class QMenu;
class QWidget;
class TFormNebu;

class NebuCloneCommands : public QObject {
    Q_OBJECT
public:
    // `window` must outlive this object; `panelParent` holds the "C" panel.
    NebuCloneCommands(TFormNebu& window, QWidget* panelParent);

    // The "C" panel (owned by its parent widget).
    QLabel* panel() const { return panel_; }
    // Adds the search menu's items ("(自)等価星の検索表示 (&W)", "等価ファイル表示の反転  (&N)") or
    // the popup's ("単一〔無等価〕ファイル (&U)", "自クローンのマーキング (&M)", "クローンの削除 (&D)").
    void addSearchActions(QMenu* menu) const;
    void addPopupActions(QMenu* menu) const;

    // Clone view on or off (counting when turned on), then a full layout. Cost: NebuClones.
    void toggleView();
    // View flag 32 on or off, then a layout. O(layout).
    void toggleInverted();
    // Marks every clone of the current node; repaints and focuses the grid. O(n).
    void markCurrent();
    // Deletes the surplus clones of the current node (after its question); lays the tree out with
    // the cursor on the top galaxy's row. Cost: NebuClones::deleteClones.
    void deleteCurrent();
    // A new tree came in (scan or load): its counts are gone, so the clone view goes off. O(1).
    void treeReplaced();

private:
    int viewFlags() const;
    void setViewFlags(int flags);
    void refreshState();

    TFormNebu& window_;
    QLabel* panel_;
    QAction* view_;
    QAction* inverted_;
    QAction* single_;
    QAction* mark_;
    QAction* delete_;
};
