// The tree window of the file universe: the universe tree below a top galaxy as an indented grid
// of galaxy and star names, with its settings in a top band, navigation buttons in a left band
// and the counters at the bottom. It is made inside a work's animation panel (docked) and floats
// out as a window of its own ("宙" / "戻"). Scans and reads run on a worker (NebuOpenJob) while
// the window keeps drawing; the layout and the cursor are NebuLayout and NebuCursor.
#pragma once

#include "NebuCloneCommands.h"
#include "NebuCursor.h"
#include "NebuGrid.h"
#include "NebuLayout.h"
#include "NebuOpenJob.h"
#include "UniverseModel.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class TFormLoad;
class NebuStarCommands;
class NebuStepper;
class NebuMenuCommands;
class ChartCommands;
class NebuCommands;
class NebuMetaBand;

class TFormNebu : public QWidget {
    Q_OBJECT
public:
    // `path` as the character names it (joined to `workFolder` unless rooted; a ".nebu" file is
    // read); `keyCommands` are played as keys once shown; `dock` (not owned, may be null) is the
    // panel the window fills while docked; without one the window floats from the start.
    TFormNebu(const QString& path, const QString& workFolder, const QString& keyCommands, QWidget* dock);
    ~TFormNebu() override;

    UniverseModel& model() { return *model_; }
    NebuLayout& layout() { return *layout_; }
    NebuCursor& cursor() { return *cursor_; }
    NebuGrid* grid() const { return sgNebu; }
    NebuCloneCommands& cloneCommands() { return *clones_; }
    TFormLoad* progressWindow() const { return formLoad_; }
    NebuStarCommands& starCommands() { return *starCommands_; }

    // Opens a folder or a ".nebu" file on a worker; the old tree stays shown until it is done,
    // then the tree is laid out from its root. A second request while one runs is ignored. O(1).
    void openPath(const QString& path);
    // "星座の読込": a constellation file chosen from the last chooser folder is read at once and
    // shown with the display depth at the search depth. O(file).
    void loadFromChooser();
    // True while a scan or read runs; waitForOpen() blocks until it has ended and taken over
    // (for tests and the first paint of the tool). Cost: the rest of the job.
    bool opening() const { return job_ != nullptr; }
    // True once the path the window was made with has been opened (its scan or read is over). O(1).
    bool treeReady() const { return firstShown_ && !job_; }
    void waitForOpen();

    // The display filter and rows afresh, keeping the current node; with `full` also the
    // starfield, the path, the buttons and a repaint. O(nodes below the top galaxy).
    void layoutTree(bool full);

    // The float request of the animation (its NEBU character's mode): 1 switches between docked
    // and floating, 3 counts up on the timer and switches back at 41. O(1).
    void setFloatState(int state) { floatState_ = state; }
    int floatState() const { return floatState_; }
    // "宙" / "戻". O(1) plus the relayout of the window.
    void toggleFloat();
    bool isFloating() const { return parentWidget() == nullptr; }

    // One key of the keyboard or the key commands (Qt key code and modifiers). True when used.
    bool handleKey(int key, Qt::KeyboardModifiers modifiers, const QString& text);
    // One tick of TimerNebu (also called by tests instead of waiting for the timer).
    void timerTick();
    QTimer& timer() { return TimerNebu; }

    // The main menu's "メタ宇宙の旅(&M)" opens the star journey through `open`; until one is given
    // the entry stays disabled. O(1).
    void setJourneyEntry(std::function<void()> open);

    // The animation's busy mark: set while the window lives, cleared when the float count
    // reaches its end (the work may go on). O(1).
    bool animationBusy() const { return animationBusy_; }
    // A window opened for the star journey keeps its float panel small. O(1).
    void setJourneyLook();
    // The hint box over the tree (shown from tick 20 to tick 100 while docked in a work) and the
    // box that shows the key commands as they are played. O(1).
    QLabel* hintBox() const { return TFormMesg; }
    QLabel* keyCommandBox() const { return keyBox_; }
    // Drops the key commands not yet played and hides their box (a press on the box). O(1).
    void stopKeyCommands();
    // The busy mark of the bottom band, shown while a scan or read runs. O(1).
    QLabel* busyMark() const { return labelBusy; }
    // Closes the window for good (終了, key Q); a close from a floating window's title bar docks
    // it instead while it has a panel to go back to. Asks about changed metadata as it closes.
    void quit();

    // Puts `text` into the galaxy (or star) wildcard field and lays the tree out. O(layout).
    void setWildcard(bool galaxy, const QString& text);
    NebuMenuCommands& menuCommands() { return *menus_; }
    ChartCommands& chartCommands() { return *charts_; }
    // The commands that keys, the main menu and the buttons share (sort, searches, rescans). O(1).
    NebuCommands& commands() { return *commands_; }

    // The texts of the bottom band. O(1).
    QString countersText() const;
    QString positionText() const;

    // The metadata band with the open page and the meta tour. toggleMetaHover ("メタ表示〔マウスオン〕",
    // PanelMus), toggleMetaTour ("メタデータのツアー (&T)", PanelTour) and editMetadata ("メタデータの
    // 編集 (&M)") are its commands. O(1); editing runs the editor modally.
    NebuMetaBand& metaBand() { return *metaBand_; }
    void toggleMetaHover();
    void toggleMetaTour();
    void editMetadata();

signals:
    // After every layout and every new tree: views over the tree's nodes rebuild.
    void treeLaidOut();
    // The float count has ended and docked the window: the work that waits for it may go on.
    void animationReleased();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class NebuCommands; // carries out the key table's commands on the window's controls
    void buildControls();
    void installModel(std::unique_ptr<UniverseModel> model);
    void finishOpen();
    void afterMove();
    void applyOutcome(NebuOutcome outcome);
    void settingChanged();
    void flipViewBits(int bits);
    void fillDepthList();
    void fillDock();
    void dressFloatPanel();
    void playKeyCommand();
    void placeKeyBox();
    void setBusy(bool busy);

    QString workFolder_;
    QPointer<QWidget> dock_;
    std::unique_ptr<UniverseModel> model_;
    std::unique_ptr<NebuLayout> layout_;
    std::unique_ptr<NebuCursor> cursor_;
    std::unique_ptr<NebuOpenJob> job_;
    TreeView view_;
    bool upsideDown_ = false;
    QTimer TimerNebu;
    int ticks_ = 0;
    int floatState_ = 0;
    bool firstShown_ = false;
    QString keyCommands_;
    QString startPath_;

    NebuGrid* sgNebu = nullptr;
    TFormLoad* formLoad_ = nullptr;
    QComboBox* CbDrive = nullptr;
    QComboBox* CbDeepMax = nullptr;
    QSpinBox* editDeepDisp = nullptr;
    QSpinBox* editFileWide = nullptr;
    QSpinBox* editDeepIndent = nullptr;
    QSpinBox* editFileLen = nullptr;
    QSpinBox* editZoom = nullptr;
    NebuStepper* UpdownLineHeight = nullptr;
    QLabel* labelLineHeight = nullptr;
    NebuStepper* UpdownMove = nullptr;   // beside editMoveAdd
    NebuStepper* UpdownGalaxy = nullptr; // "銀河"
    QSpinBox* editMoveAdd = nullptr;
    QLineEdit* editDirWild = nullptr;
    QLineEdit* editFileWild = nullptr;
    QLineEdit* editPath = nullptr;
    QPushButton* btnStars = nullptr;
    QPushButton* btnFullDepth = nullptr;
    QCheckBox* cbAttributes = nullptr;
    QCheckBox* cbTime = nullptr;
    QCheckBox* cbSize = nullptr;
    QLabel* PanelFree = nullptr;
    QPushButton* btnUp = nullptr;
    QPushButton* btnTop = nullptr;
    QPushButton* btnScrollUp = nullptr;
    QPushButton* btnScrollStop = nullptr;
    QPushButton* btnScrollDown = nullptr;
    QPushButton* btnBottom = nullptr;
    QLabel* labelPosition = nullptr;
    QLabel* labelCounters = nullptr;
    QLabel* labelSeconds = nullptr;
    QLabel* labelBusy = nullptr;
    QLabel* TFormMesg = nullptr;
    QLabel* keyBox_ = nullptr;
    bool animationBusy_ = true;
    bool journeyLook_ = false;
    bool quitting_ = false;
    std::function<void()> openJourney_;
    bool settingControls_ = false;
    std::unique_ptr<NebuCloneCommands> clones_;
    NebuStarCommands* starCommands_ = nullptr; // a child object of the window
    NebuMenuCommands* menus_ = nullptr;        // a child object of the window
    ChartCommands* charts_ = nullptr;          // a child object of the window
    NebuCommands* commands_ = nullptr;         // a child object of the window
    NebuMetaBand* metaBand_ = nullptr;         // a child of the menu band
};
