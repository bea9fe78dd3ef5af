// The database view "HD宇宙データベース": every star of the universe tree as one row of a flat
// table (DatabaseTable shown through FdbModel in a QTableView). A header click sorts by its
// column and the next click reverses; the popup narrows to rows that share a cell's value,
// counts clones and marks; "保存" exports the shown rows. It opens from the tree window as a
// window of its own and is rebuilt at every layout of the tree window.
#pragma once

#include "DatabaseTable.h"

#include <QWidget>
#include <memory>

class FdbMetaBand;
class FdbModel;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QTableView;
class TFormNebu;

class TFormFdb : public QWidget {
    Q_OBJECT
public:
    // An empty view; `parent` (may be null) owns it, the view stays a window of its own.
    explicit TFormFdb(QWidget* parent);
    ~TFormFdb() override;

    // Rebuilds the table from `tree` (which must outlive the view or the next rebuild) with the
    // tree window's look; a failed rebuild closes the view. O(stars).
    void refreshDatabase(treeInfo& tree, const DatabaseLook& look);

    DatabaseTable* table() const { return table_.get(); }
    QTableView* grid() const { return sgFileDB; }
    // Sorts by a column (the header click), then repaints. Cost: the sort.
    void sortColumn(int column);
    // "保存": chooses a file and exports the shown rows.
    void exportDatabase();
    // The position band text. O(1).
    QString positionText() const;
    // Frees the table (closing, or a new tree while the view is hidden). O(1).
    void releaseDatabase();
    // The metadata panel with the view's own page, tour and mouse-over.
    FdbMetaBand& metaBand() { return *metaBand_; }

protected:
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void fillPopup(QMenu& popup, int row, int column);
    void changed();
    std::size_t currentRow() const;

    treeInfo* tree_ = nullptr;
    std::unique_ptr<DatabaseTable> table_;
    FdbModel* model_ = nullptr;
    QTableView* sgFileDB = nullptr;
    QLineEdit* editFileWild = nullptr;
    QLineEdit* editPath = nullptr;
    QLabel* labelPosition = nullptr;
    QPushButton* btnExt = nullptr;
    QPushButton* btnShortSize = nullptr;
    int lastPressRow_ = 0;
    int lastPressColumn_ = 0;
    FdbMetaBand* metaBand_ = nullptr; // a child of the view
};

// Adds "NDB (&D)" to a menu of the tree window: it opens the view once (a child of the window)
// and keeps it rebuilt at every layout and new tree of the window. O(1); opening costs a refresh.
void addDatabaseEntry(TFormNebu& nebu, QMenu* menu);
