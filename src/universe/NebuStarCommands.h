// The star and galaxy commands of the tree window: the grid's popup (copy, move, delete, rename,
// new galaxy, the pictures, the time range), the key C, the one rename window TFormRen at the last
// mouse-press point (also for a chart node's name and depth) and the progress box with its cancel
// panel. The work itself is StarOperations' and ChartEdits'; this class only opens windows and
// lays the tree out afterwards.
#pragma once

#include "StarOperations.h"
#include "TFormProf.h"
#include "TFormRen.h"

#include <QObject>
#include <QPoint>
#include <QPointer>

class QMenu;
class TFormNebu;

class NebuStarCommands : public QObject {
    Q_OBJECT
public:
    // Watches the window's grid for presses. `window` owns this object.
    explicit NebuStarCommands(TFormNebu& window);
    // Frees the profile viewer when it floats as a window of its own.
    ~NebuStarCommands() override;

    // The commands on the window's current node or its marked nodes. Nothing while a scan or a
    // read runs. Each lays the tree out again when it changed anything and focuses the grid.
    void copyStars();
    void moveStars();
    void deleteStars();
    // Open the rename window (closing one that is open): mode 0, or 2 in chart mode; mode 1;
    // mode 3 (chart mode only).
    void renameStar();
    void makeGalaxy();
    void changeDepth();
    // "イメージを開く (&I)": the profile viewer on the current node (kept for later uses).
    void showImages();
    // "星日時表示範囲設定": the date range window on the star time filter, then a relayout.
    void timeRange();
    TFormProf* profileViewer() const { return prof_; }

    // The rename window while one is open.
    TFormRen* renameWindow() const { return ren_; }
    // Where the grid was last pressed (grid coordinates).
    QPoint lastPress() const { return lastPress_; }
    // Adds the popup's actions for the current state (chart mode or not) to the grid's menu.
    void fillMenu(QMenu& menu);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    template <typename Run> void runBatch(Run run);
    void openRen(RenMode mode, const QString& text);
    bool executeRen(RenMode mode, const QString& text);
    void relayout();

    TFormNebu& window_;
    QPointer<QWidget> grid_;
    QPointer<QWidget> viewport_;
    QPoint lastPress_{10, 10};
    QPointer<TFormRen> ren_;
    QString renSource_; // the path of the node the rename window was opened on
    QPointer<TFormProf> prof_;
    bool busy_ = false; // a command runs: a nested one (through its questions' events) is refused
};
