// The chart commands of the tree window: the grid popup's chart edits in chart mode (add a star at
// the same level or one down, delete, rename, star / galaxy, depth) and the chart list
// `CbListChart` of the work's prepared charts. The edits are ChartEdits'; rename and depth go
// through the window's one rename window (NebuStarCommands).
#pragma once

#include "ChartEdits.h"
#include "ChartList.h"

#include <QObject>

class QComboBox;
class QMenu;
class QWidget;
class TFormNebu;

class ChartCommands : public QObject {
    Q_OBJECT
public:
    // Reads the work's chart list once and makes the list inside `band`. `window` owns this
    // object and outlives it. Cost: one small file read.
    ChartCommands(TFormNebu& window, QWidget* band);

    // The chart list (148 pixels wide), a child of the band.
    QComboBox* list() const { return CbListChart; }
    const ChartList& charts() const { return charts_; }

    // Adds the chart edits to the grid's popup when the tree is a chart; nothing otherwise. O(1).
    void addPopupActions(QMenu& menu);

    // The edits on the current node, each followed by the layout (added or deleted) or a repaint,
    // with the grid focused. Nothing while a scan or read runs. O(n).
    void addStar(ChartLevel level);
    void deleteNode();
    void toggleGalaxy();
    // The rename window in mode 2 (name) or mode 3 (depth) at the last press point.
    void rename();
    void changeDepth();

    // Choosing line `index` of the list: the separator and the blank line do nothing; " 銀河の
    // 星座から" lets the user choose a constellation file from the work folder; a chart is read
    // from the work folder. A changed chart is offered for saving before it is replaced.
    void choose(int index);

private:
    bool mayReplaceTree();

    TFormNebu& window_;
    ChartList charts_;
    QComboBox* CbListChart = nullptr;
};
