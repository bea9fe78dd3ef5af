// The database view's metadata panel `PanelMetaMsg` (signal panel, "マウスON/OFF", "メタツアー",
// "▲ 5 ▼", "■") with the view's own page, tour and mouse-over, stepped by TimerNDB. Pages open at
// the end of a star's name in the name column; the tour walks the rows down to the last one.
// The panel can be dragged by its signal panel.
#pragma once

#include "MetaBandControls.h"
#include "MetaTour.h"
#include "TFormWebX.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

class DatabaseTable;
class QLabel;
class QPushButton;
class QTableView;
class treeInfo;

class FdbMetaBand : public QWidget, private MetaTourView {
    Q_OBJECT
public:
    static constexpr int kTickMs = 100;

    // The panel over `view`'s top band; `grid` shows the rows of the table that `table` gives, of
    // the tree that `tree` gives (either may give nullptr while the view holds none). Cost: a few
    // widgets.
    FdbMetaBand(QWidget& view, QTableView& grid, std::function<DatabaseTable*()> table, std::function<treeInfo*()> tree);
    ~FdbMetaBand() override;

    MetaTour& tour() { return tour_; }
    // "メタ表示〔マウスオン〕", PanelMus; "メタデータのツアー (&T)", "メタツアー". O(1).
    void toggleHover();
    void toggleTour() { tour_.toggle(*this); }
    // One TimerNDB tick (also called by tests instead of waiting). O(1) plus a step's work.
    void timerTick();
    // The star of a shown row gets its page, placed by `at` (viewport pixels of the grid).
    void openMetaPage(std::size_t row, QPoint at);
    void closeMetaPage();
    // The table is rebuilt or released, or the view closes: the tour stops, the page goes. O(1).
    void tableChanging();

    TFormWebX* page() const { return page_; }
    QTimer& timer() { return TimerNDB; }
    QWidget* tourBox() const { return ui_.tourBox; }
    QLabel* mousePanel() const { return ui_.PanelMus; }
    QLabel* signalPanel() const { return ui_.PanelSignal; }
    QString tourName() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void syncTimer();
    int currentRow() const;
    bool rowHasMeta(int row) const;
    // The x where the name of a row ends in the name column, in viewport pixels.
    int nameEnd(int row) const;

    void beginTour() override;
    bool atLast() const override;
    void moveOn(bool next) override;
    const metaInfo* currentMeta() const override;
    QString currentName() const override;
    void openCurrentPage() override;
    void closePage() override { closeMetaPage(); }
    void showTourBox(bool shown) override;
    void tourProgress(const QString& message, const QString& name) override;
    void tourEnded(bool) override { syncTimer(); }

    QWidget& view_;
    QTableView& grid_;
    std::function<DatabaseTable*()> table_;
    std::function<treeInfo*()> tree_;
    MetaTour tour_{false};
    QTimer TimerNDB;
    QPointer<TFormWebX> page_;
    QPointer<QWidget> viewport_; // the grid's, watched for presses and moves
    bool opening_ = false;
    QPoint dragFrom_{-1, -1};
    bool dragged_ = false;
    MetaBandControls ui_; // the tour box a child of the view
};
