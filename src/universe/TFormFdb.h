// The database view "HD宇宙データベース": every star of the universe tree as one row of a flat
// table (DatabaseTable shown through FdbModel in a QTableView). A header click sorts by its
// column and the next click reverses; the popup narrows to rows that share a cell's value,
// counts clones, marks and deletes files; "保存" exports the shown rows. Opened from the tree
// window, it covers the window's tree until it floats out ("宙") or closes ("閉じる"), and it is
// rebuilt at every layout of the tree window.
#pragma once

#include "DatabaseTable.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <memory>

class FdbCellDelegate;
class FdbMetaBand;
class FdbModel;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSpinBox;
class QTableView;
class TFormDoing;
class TFormNebu;

class TFormFdb : public QWidget {
    Q_OBJECT
public:
    // An empty view; `parent` (may be null) owns it. Until attach() it is a window of its own.
    explicit TFormFdb(QWidget* parent);
    ~TFormFdb() override;

    // "NDB (&D)" of the tree window: makes the view once (a child of the window, docked over its
    // tree), rebuilds and shows it. Cost: a refresh.
    static TFormFdb* openDatabase(TFormNebu& nebu);

    // Rebuilds the table from `tree` (which must outlive the view or the next rebuild) with the
    // tree window's look; a failed rebuild closes the view. O(stars).
    void refreshDatabase(treeInfo& tree, const DatabaseLook& look);

    DatabaseTable* table() const { return table_.get(); }
    QTableView* grid() const { return sgFileDB; }
    // Sorts by a column (the header click), then repaints. Cost: the sort.
    void sortColumn(int column);
    // "保存": chooses a file and exports the shown rows.
    void exportDatabase();
    // "ファイルの削除 (&D)": the marked stars or the current row's star, through the star
    // operations; the tree window is laid out again while the view keeps its rows, less the
    // deleted ones. Cost: the deletions and a layout of the tree window.
    void deleteDbStars();
    // The position band text. O(1).
    QString positionText() const;
    // Frees the table (closing, or a new tree while the view is closed). O(1).
    void releaseDatabase();
    // The metadata panel with the view's own page, tour and mouse-over.
    FdbMetaBand& metaBand() { return *metaBand_; }

    // "宙" / "戻": a window of its own (width the screen's − 160 up to 1280, proportional
    // height, centred) or back over the tree window's tree. O(1) plus a relayout.
    void toggleFloat();
    bool isFloating() const { return isWindow(); }
    bool isOpen() const { return open_; }

    // The position field follows the current row on a timer (every 100 ms while open), as the
    // grid's own moves do not say. O(1) a tick.
    QTimer& positionTimer() { return TimerPosition; }

    // The progress box of long fills, sorts, exports and deletions, with its 中断 panel.
    TFormDoing* progressBox() const { return doing_; }
    // The line height up-down "星間" (22 at first, at least 4).
    QSpinBox* lineHeightBox() const { return UpdownLineHeight; }

protected:
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void attach(TFormNebu& nebu);
    void buildControls();
    QWidget* buildLeftBand();
    void fillPopup(QMenu& popup, int row, int column);
    void changed();
    void goToRow(std::size_t row);
    void moveBy(int sign);
    void placeDocked();
    void dressFloatButton();
    void showProgressText(const QString& text);
    DatabaseLook nebuLook() const;
    std::size_t currentRow() const;

    QPointer<TFormNebu> nebu_; // the owner while attached
    QPointer<QWidget> dockHost_; // the same window, and its tree grid, which the docked view covers
    QPointer<QWidget> dockTree_;
    treeInfo* tree_ = nullptr;
    std::unique_ptr<DatabaseTable> table_;
    bool open_ = false;
    bool keepRows_ = false; // a layout of the tree window that this view asked for itself
    QTimer TimerPosition;
    FdbModel* model_ = nullptr;
    FdbCellDelegate* delegate_ = nullptr;
    TFormDoing* doing_ = nullptr;
    QTableView* sgFileDB = nullptr;
    QLineEdit* editFileWild = nullptr;
    QLineEdit* editPath = nullptr;
    QLineEdit* editMoveAdd = nullptr;
    QSpinBox* UpdownLineHeight = nullptr;
    QLabel* labelPosition = nullptr;
    QPushButton* btnExt = nullptr;
    QPushButton* btnShortSize = nullptr;
    QPushButton* btnFloat = nullptr;
    QWidget* metaRoom_ = nullptr; // the band's room for the metadata panel
    int lastPressRow_ = 0;
    int lastPressColumn_ = 0;
    FdbMetaBand* metaBand_ = nullptr; // a child of the view
};

// Adds "NDB (&D)" to a menu of the tree window (openDatabase). O(1).
void addDatabaseEntry(TFormNebu& nebu, QMenu* menu);
