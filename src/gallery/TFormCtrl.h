// The palette "ヴィモラ パレット": a borderless panel at the top right of the gallery's exhibition
// area that controls the current work window (run, renew, remove, frame interval, canvas size,
// camera, typed anime commands) and shows the viewing log. Its logic is PaletteModel's, which it
// owns together with the work windows. It is the palette side of every work window's runner
// (WorkPaletteSide).
#pragma once

#include "PaletteModel.h"
#include "WorkWindowLink.h"
#include "work/WorkPaletteSide.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <functional>

class KestoHost;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TFormMPlayer;
class UpDownControl;

// What the palette asks of the gallery window.
class PaletteGallery {
public:
    virtual ~PaletteGallery() = default;
    // The gallery's runOrStop on the current window.
    virtual void runOrStop() = 0;
    // The display form shows `text` at `textSize` over `window`; the gallery timer runs.
    virtual void announceOn(TFormKesto& window, const QString& text, int textSize) = 0;
    // The gallery's run button shows running or runnable.
    virtual void showRunButton(bool running) = 0;
    // `count` work windows are left ("全発表" and "巡回" need two).
    virtual void windowCountChanged(int count) = 0;
    // The window is about to go: nothing of the gallery may stay on it.
    virtual void windowClosing(TFormKesto& window) = 0;
    // The palette timer's first tick: the mouse pointer goes to the gallery's top bar.
    virtual void pointerToTopBar() = 0;
    // A palette step failed: the program ends (exit status 0).
    virtual void endProgram() = 0;
    // One 100-ms step of the tour.
    virtual void tourStep() = 0;
};

class TFormCtrl : public QWidget, public WorkPaletteSide, private PaletteStage {
    Q_OBJECT
public:
    // Puts the palette onto `area` at its top right and writes the first log lines; the gallery
    // then creates the first, empty work window on `area` (createWindow), whose runner already
    // finds the palette there. `gallery`, `state` (the gallery's, for its stop flag) and `host`
    // must outlive the palette. Cost: constant.
    TFormCtrl(PaletteGallery& gallery, GalleryState& state, KestoHost& host, QWidget* area,
              PaletteLog::Clock clock = PaletteLog::systemClock());
    ~TFormCtrl() override;

    PaletteModel& model() { return model_; }
    QTimer& timerCtrl() { return TimerCtrl; }
    // A request waits for the next step: the timer runs (again, after a stop flag was cleared).
    void wakeTimer() { model_.startTimer(); }

    // The gallery closes: the palette timer stops and every work window stops and hides, a
    // floating one too, which would otherwise outlive the gallery on the screen and keep the
    // program running. The windows themselves go with the palette. Cost: linear in the windows.
    void closeAllWindows();
    // The current work window (there is always one while the palette lives).
    TFormKesto& currentKesto() const;
    // Creates an empty work window on the exhibition area, linked after `after` (at the end when
    // none), with the work number of the window before it + 1. Cost: one window.
    TFormKesto& createWindow(TFormKesto* after = nullptr);
    // `showAllWindows`: on shows every work window (with its plate), off hides every one and its
    // title plate. Cost: linear in the windows.
    void showAllWindows(bool on);
    // `loadByChooser` (the Atelier's load): lets the user choose an acmd file, starting in
    // `chooserFolder` (which follows the choice); once one is chosen the window's program stops
    // and its title and chart go, and the program is read into the window. A program title goes
    // to `CtrlPanelTheme` and `CtrlEditCmd`. True when a program was loaded; a cancelled choice
    // leaves the window as it was. Cost: the chooser, then reading and compiling the program.
    bool loadByChooser(TFormKesto& window, QString& chooserFolder);
    // `showOnlyPlate`: the title plate of `window` is shown, those of all others hidden.
    // Cost: linear in the windows.
    void showOnlyPlate(TFormKesto& window);
    // The list entry of a window, or none when it is not one of the palette's.
    WorkWindowLink* linkOf(const WorkRunner& runner) const;
    WorkWindowLink* linkOf(const TFormKesto& window) const;

    // ---- the palette side of the work windows' runners ----
    // The window list: a window not (yet) in it, such as one being built, is its own current one.
    bool isCurrentWindow(const WorkRunner& runner) const override;
    bool isClosing(const WorkRunner& runner) const override;
    bool hasNeighbours(const WorkRunner& runner) const override;
    int paletteFramePeriod() const override { return framePeriod(); }
    void framePeriodChanged(int milliseconds) override { showFramePeriod(milliseconds); }
    // The line names the work by its window's caption (the work's title); a window the palette
    // does not hold names it by the runner's own caption.
    void logViewing(ViewingEvent event, const WorkRunner& window, const QString& caption) override;
    bool isTourWindow(const WorkRunner& runner) const override;
    bool presentAll() const override { return model_.presentAll; }
    // ---- music: the palette's record and its player window ----
    bool hasMusic() const override { return !model_.music.fileName.isEmpty(); }
    void setMusic(int count, const QString& fileName, const QString& folder) override;
    void setMusicCount(int count) override { model_.music.setCount(count); }
    // The request waits for the palette's next step, which starts the player.
    void startMusic() override;
    // What waits for the timer is dropped and the player stops.
    void stopMusic() override;
    // "♪": a playing file stops, else the last one plays.
    void toggleMusic() { model_.music.toggle(); }
    // All work windows were closed or replaced: no request and no play is left, the player stops.
    void resetMusic();
    // The player window (the gallery places it beside the current work's title plate).
    TFormMPlayer* musicPlayer() const;

    // ---- what the palette shows of the current window ----
    // `CtrlPanelTheme`: the current work's title.
    void showTheme(const QString& title);
    QString theme() const;
    // `CtrlEditCmd`: a program line, a wait, " Kesto Basic" and the like.
    void showCommandLine(const QString& text) override;
    QString commandLine() const;
    // `PanelAcmdTime`: the program interval.
    void showProgramInterval(const QString& text) override;
    // `labelCamera`: the camera status.
    void showCameraStatus(const QString& text) override;
    // Run state of the palette's run button: white "■" while running, the triangle otherwise;
    // the gallery's run button follows.
    void updateRunButton(bool running) override;
    // `UpDownWait`'s position (the frame period a shown window takes) and its display.
    int framePeriod() const;
    void showFramePeriod(int milliseconds);
    QString framePeriodText() const;
    QString canvasText() const;
    // The displays follow `window`, which became current: title, run state, frame period, zoom.
    void followWindow(TFormKesto& window);
    // A line in `MemoLog` (message list and viewing log); an open log grows to show it. The
    // listener (the gallery's Atelier, which marks the line a script error names) hears it too.
    void addMessage(const QString& line) override {
        appendLogLine(line);
        if (messageListener) messageListener(line);
    }
    std::function<void(const QString&)> messageListener;
    QStringList logLines() const;
    // The number of lines in `MemoLog`. Cost: constant.
    int logLineCount() const;

    // ---- controls, as their clicks do ----
    void runClick();               // run button: the gallery's runOrStop
    void PanelInitClick();         // "▲": renew the current work
    void PanelDeleteClick();       // "×": remove the current window, the single one is refused
    void PanelCtrlSizeClick();     // "≫" / "≪": narrow or full palette
    void PanelLogClick();          // "▼" / "▲": open or close the log
    void setWaitPosition(int ms);  // `UpDownWait`
    void setCanvasPosition(int percent); // `UpDownCanvas`
    void runTypedCommand(const QString& text); // `CtrlEditCmd`, Enter
    // Camera changes move the keyboard focus to `EditKey` while the picture is stretched.
    void cameraTurn(int step);     // "←" +1, "→" -1
    void PanelStretchClick();      // "Z"
    void resetCamera(bool clearMotion); // "カメラ" / `pCameraInfo`
    int logFlag() const { return logFlag_; }
    bool narrow() const;
    // `PanelGoOut` (list display only): "≫" shows the current window at full size in the lower
    // right corner, "≪" takes it back to its list place.
    void showGoOut(bool shown);
    void PanelGoOutClick();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // PaletteStage
    void appendLogLine(const QString& line) override;
    void firstTick() override;
    void windowClosing(PaletteWindow& window) override;
    void windowClosed(PaletteWindow* current, int count) override;
    void endProgram() override;
    void tourStep() override { gallery_.tourStep(); }
    void startMusicPlayer() override;
    void repeatMusic(int) override { model_.music.repeat(); }

    void build();
    void layoutPalette();
    void growLog();
    int logNeededHeight() const;
    void TimerCtrlTimer();
    WorkRunner* currentRunner() const;
    void focusKeyWhenStretched();

    PaletteGallery& gallery_;
    KestoHost& host_;

    // Children of the palette (Qt frees them); kept as non-owning links.
    QLabel* PanelTop = nullptr;
    QWidget* PanelTopLeft = nullptr;
    QPushButton* PanelCtrlSize = nullptr;
    QWidget* pCameraInfo = nullptr;
    QLabel* labelCamera = nullptr;
    QWidget* PanelMidLeft = nullptr;
    QLabel* pTimeWait = nullptr;
    UpDownControl* UpDownWait = nullptr;
    QLabel* PanelCanvasZoom = nullptr;
    UpDownControl* UpDownCanvas = nullptr;
    QPushButton* PanelDelete = nullptr;
    QWidget* PanelMidMid = nullptr;
    QLabel* CtrlPanelTheme = nullptr;
    QPushButton* PanelCtrlRun = nullptr;
    QLabel* ImageCtrlRun = nullptr;
    QPushButton* PanelInit = nullptr;
    QPushButton* PanelGoOut = nullptr;
    QWidget* PanelCamera = nullptr;
    QPushButton* PanelStretch = nullptr;
    UpDownControl* updownZoom = nullptr;
    QPushButton* bbtnCameraLeft = nullptr;
    UpDownControl* UpDownCamera = nullptr;
    QPushButton* bbtnCameraRight = nullptr;
    QWidget* PanelBtm = nullptr;
    QWidget* PanelBtmLeft = nullptr;
    QLabel* PanelAcmdTime = nullptr;
    QLineEdit* CtrlEditCmd = nullptr;
    QLineEdit* EditKey = nullptr;
    QPushButton* PanelLog = nullptr;
    QPlainTextEdit* MemoLog = nullptr;

    int logFlag_ = 0; // 0 closed at start, 1 opened, 2 closed again
    int dragX_ = -1;  // the drag point, -1 while no button is held
    int dragY_ = -1;
    bool dragMoves_ = false; // the drag started on the title bar: it only moves
    // Builds the widgets when constructed, before model_, whose construction writes the first log
    // lines into MemoLog.
    struct BuildWidgets {
        explicit BuildWidgets(TFormCtrl& form) { form.build(); }
    } widgetsBuilt_;
    PaletteModel model_;
    QTimer TimerCtrl;
    // On the exhibition area beside the work windows; freed with the palette.
    QPointer<TFormMPlayer> player_;
};
