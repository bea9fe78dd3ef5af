// The headless core of a work window: it owns the interpreter, the animation, the view with its
// picture and the run state, and offers the two timer ticks and the run operations. The window
// (or the headless runner) owns the timers: it calls programTick() and frameTick() and switches
// its timers as programTimerOn(), programInterval() and frameTimerOn() say, told through
// onTimersChanged. It talks to its window through WorkWindowSide, to its palette through
// WorkPaletteSide and to its gallery through WorkGallerySide, each asked only for its own part.
#pragma once

#include "AnimeCommands.h"
#include "ListPlace.h"
#include "WorkAnimation.h"
#include "WorkChart.h"
#include "WorkGallerySide.h"
#include "WorkPaletteSide.h"
#include "WorkWindowSide.h"
#include "anime/AnimeHost.h"
#include "anime/GameKey.h"
#include "anime/AnimeView.h"
#include "script/StepExecutor.h"
#include "script/StepHost.h"
#include "script/kestoBasInfo.h"

#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class WorkRunner : public StepHost, public AnimeHost {
public:
    enum class FrameState { Idle = 0, Draw = 1, Renew = 2 };
    // How the last run ended, for the headless runner's exit status.
    enum class RunEnd { None, Ended, CommandError, StatusError, Fault };

    static constexpr int kStartInterval = 100;    // program timer at each run start (ms)
    static constexpr int kFrameTimerInterval = 10; // frame timer (ms)
    static constexpr uint32_t kNeighbourFrameColor = 0xA0FF40; // RGB(64, 255, 160)

    // The three sides must outlive the runner; `workNumber` is shown in the title plate.
    WorkRunner(WorkPaletteSide& palette, WorkGallerySide& gallery, WorkWindowSide& window, int workNumber = 0);
    ~WorkRunner() override;
    WorkRunner(const WorkRunner&) = delete;
    WorkRunner& operator=(const WorkRunner&) = delete;

    // ---- loading (the interpreter's loaders; the first animation block is built) ----
    // 0 when loaded, -1 when the file is missing (reported) or empty. Cost: the file plus compiling.
    int loadProgramFile(const QString& folder, const QString& fileName);
    // The announced byte count, 0 when the fetch failed (reported). Blocks for the fetch.
    uint32_t loadProgramUrl(const QString& folderUrl, const QString& fileName);
    // Takes program lines as the Atelier hands them over. Cost: compiling.
    void loadProgramLines(const QStringList& lines, const QString& folder);

    // ---- run operations ----
    // The window is shown: counters reset, the palette's frame period taken, the frame timer on
    // when there is a character, frame state 1. Cost: constant.
    void show();
    // Starts the program at its first statement (renewing the work from the second run on).
    // A work without characters does not start; the host hears runNotStarted. Cost: a renewal.
    void runProgram();
    // runProgram with the tick counters of the run cleared, as a start from the run button makes
    // it; the gallery is not told (the tour and "全Run" start works so). Cost: as runProgram.
    void startRun();
    // Stops the program; the next program tick ends the run. Cost: constant.
    void breakProgram();
    // Stops a running program, else starts it. Cost: as runProgram.
    void toggleRun();
    // Stops the program and renews the work at the next frame. Cost: constant.
    void requestRenew();
    // Recompiles the program and rebuilds the animation with fresh variables. Cost: compiling.
    void restartProgram();
    // Timers off; the window destroys the runner afterwards. Cost: constant.
    void close();
    // Puts the shown work away before another one is loaded into the window: the run and the
    // timers stop, the chart closes and is freed, the game pad hides, the palette's music stops
    // and the work's title is forgotten, so nothing of it is lent to the next work.
    // Cost: constant.
    void clearWork();

    // ---- timer ticks ----
    // One program tick: one source line (control statements cost no time). A tick that arrives
    // while a message window of the running line is open is skipped; one that throws stops the
    // run as a failed frame does. Cost: that line.
    void programTick();
    // One frame timer tick (10 ms): chart step, interaction countdown, frame gate, one frame.
    // A tick that arrives while a message window opened inside a frame is up is skipped.
    // Cost: one frame's motion and drawing when the gate lets it through.
    void frameTick();

    // ---- chart ----
    // 1 or more shows the work's chart, 0 closes it, -1 toggles. Nothing without a chart.
    void toggleChart(int mode);
    // One animation step of a visible chart form. Cost: constant.
    void advanceChart();
    // The visible part of the picture (`PanelImg`) that a chart on the picture stands in: the
    // picture without its overhang. Cost: constant.
    QSize chartArea() const;

    // ---- commands (the step executor's and the palette's command line) ----
    int runTimingCommand(kestoBasInfo& interpreter, const QString& command, bool display) override;
    int runCommand(kestoBasInfo& interpreter, const QString& command) override;
    Compiled runCompiledCommand(kestoBasInfo& interpreter, progInfo& s) override;
    void showLine(const QString& text) override;
    void paintFrame() override;
    // The stop flag's program bit is set and both timers stop before the fault's message opens.
    void programFaulted() override;

    // A command typed into the palette's command line: compiled like a program line first, so that
    // names and keywords mean what they mean in the program, then evaluated and dispatched with
    // the line display off. Failures are reported by the dispatchers and otherwise ignored.
    // Cost: compiling and evaluating the text plus the command.
    void runTypedCommand(const QString& text);

    // ---- what the animation asks of its window ----
    void logMessage(const QString& line) override;
    void showCameraStatus(const QString& text) override;
    bool isCurrentWindow() const override;
    AnimeWindowGeometry geometry() const override;
    void moveWindow(int left, int top) override;
    void resizeWindow(int width, int height) override;
    void maximise() override;
    void restoreNormal() override;
    void setFrameStrips(int topBottom, int leftRight) override;
    void paintFramePattern() override;
    void paintFrame(uint32_t color, bool visible) override;
    void resetView() override;
    void setWindowColor(uint32_t color) override { windowColor_ = color; }
    void setWallColor(uint32_t color) override { gallery_.setWallColor(color); }
    void hideGamePanel() override;
    void showGamePad() override;
    bool gamePadVisible() const override;
    std::unique_ptr<AnimeKind> openUniverseWindow(AnimeInfo& owner, const QString& folder,
                                                  const QString& options, int mode) override;

    // ---- the window ----
    // The frame strips in a colour, the title plate, the game pad and the music button, through
    // the window side. Cost: the window's repaint.
    void paintWindowFrame(uint32_t color);
    void placeTitlePlate();
    void hideGamePad();
    void showMusicPanel();
    // The window's place is its host's (the space gallery's): its first frame does not centre it.
    void keepPlace() { repositionRequest_ = false; }
    // Switches the frame timer on or off (activation, hover, close). Cost: constant.
    void switchFrameTimer(bool on) { setFrameTimer(on); }
    // The window's zoom (`zoomPercent`, 100 at first), kept by the animation for the canvas and
    // frame settings and by the view for the picture's refit. Cost: constant.
    int zoomPercent() const { return animation_.state.zoomPercent; }
    void setZoomPercent(int percent);
    // The window's size at 100 %: the canvas size (empty until a canvas setting), and the frame
    // width at 100 % (16 at first, set by the frame setting).
    QSize baseSize() const;
    int baseFrameWidth() const { return animation_.state.frameWidth; }
    // The window's picture has this display size (the picture keeps it through view resets); the
    // bitmap is refitted without resetting the view. Cost: one allocation when its size changes.
    void fitPictureDisplay(int width, int height);

    // ---- camera (the palette's camera controls; each refits or resets the picture) ----
    // "←" (+1) / "→" (-1): the camera point moves 10 to the left per step. Cost: a refit.
    void turnCamera(int step);
    // The camera's height (y) and depth (z) as the palette's up-down controls give them.
    // Cost: a refit.
    void raiseCamera(int height);
    void setCameraDepth(int depth);
    // "Z": the picture is shown stretched over the display, or at its own pixels; the view is
    // reset. Cost: a view reset.
    void toggleStretched();
    // "カメラ": the camera goes back to its saved place; with `stopDrift` its drift stops as
    // well. Cost: a view reset.
    void resetCamera(bool stopDrift);

    // What the game characters read of the window and set back once used.
    struct GameInput {
        GameKey key = GameKey::None; // pending game key
        QPoint mouseDown{-1, -1};    // the last mouse-down point on the picture
        QPoint mouseHeld{-1, -1};    // the last mouse point while the left button was held
    };
    GameInput& gameInput() { return gameInput_; }
    const GameInput& gameInput() const { return gameInput_; }

    // Where the window stands in list display and where going home returns to.
    using ListPlace = ::ListPlace;
    ListPlace& listPlace() { return listPlace_; }
    const ListPlace& listPlace() const { return listPlace_; }

    // ---- timers, as the window should have them ----
    bool programTimerOn() const { return programTimerOn_; }
    int programInterval() const { return programInterval_; }
    bool frameTimerOn() const { return frameTimerOn_; }
    std::function<void()> onTimersChanged;
    // Called after every frame drawn (the picture is complete).
    std::function<void()> onFrameDrawn;

    // ---- state ----
    kestoBasInfo& interpreter() { return k_; }
    const kestoBasInfo& interpreter() const { return k_; }
    AnimeState& animation() { return animation_.state; }
    const AnimeState& animation() const { return animation_.state; }
    AnimeView& view() { return animation_.view; }
    const AnimeView& view() const { return animation_.view; }
    WorkPaletteSide& palette() { return palette_; }
    const WorkAnimation& animationEngine() const { return animation_; }
    WorkChart* chart() { return animation_.chart.get(); }
    WorkAnimation& engine() { return animation_; }
    const StepExecutor& executor() const { return executor_; }
    // Replaces the work's chart (nullptr frees it); the old chart's form closes. Cost: constant.
    void setChart(std::unique_ptr<WorkChart> chart);

    bool running() const { return executor_.running(); }
    int framePeriod() const { return framePeriod_; }
    // The frame period from the palette's control (1 to 10000 ms). Cost: constant.
    void setFramePeriod(int milliseconds);
    // The program timer's interval (AcmdTime). Cost: constant.
    void setProgramInterval(int milliseconds);
    bool lineDisplay() const { return lineDisplay_; }
    void setLineDisplay(bool on);
    int programTicks() const { return programTicks_; }
    int frameTicks() const { return frameTicks_; }
    int framesDrawn() const { return framesDrawn_; }
    int runCount() const { return runCount_; }
    FrameState frameState() const { return frameState_; }
    int interactionCountdown() const { return interactionCountdown_; }
    // Set to 30, 50 or 100 by the window's interactions and to 30 by the gallery.
    void setInteractionCountdown(int ticks) { interactionCountdown_ = ticks; }
    RunEnd lastRunEnd() const { return lastRunEnd_; }
    int workNumber() const { return workNumber_; }
    uint32_t windowColor() const { return windowColor_; }
    // The picture keeps this size whatever the canvas settings say (0 x 0: it follows them).
    void setFixedPictureSize(int width, int height);
    // The window's caption: the work's theme, else its program file name.
    QString caption() const;

private:
    // Hands the pending game key and click to the character kinds. Cost: linear in the characters.
    void passGameInput();
    void endOfRun(RunEnd how);
    void frameStep();
    // A timer step threw: bit 8 of the stop flag, a non-zero status and both timers off.
    void stepFaulted();
    bool hasCharacters() const { return !animation_.state.characters.empty(); }
    void setProgramTimer(bool on);
    void setFrameTimer(bool on);
    void notifyTimers();

    WorkPaletteSide& palette_;
    WorkGallerySide& gallery_;
    WorkWindowSide& window_;
    GameInput gameInput_;
    ListPlace listPlace_;
    WorkAnimation animation_;
    kestoBasInfo k_;
    StepExecutor executor_;
    AnimeCommands commands_;

    int workNumber_ = 0;
    bool programBusy_ = false;
    bool frameBusy_ = false;
    bool lineShown_ = false; // the step executor showed a line during this tick
    QString shownLine_;      // the last line it showed
    bool lineDisplay_ = true;
    int framePeriod_ = 100;
    int programTicks_ = 0;
    int frameTicks_ = 0;
    int framesDrawn_ = 0;
    int runCount_ = 0;
    FrameState frameState_ = FrameState::Draw;
    int interactionCountdown_ = 0;
    bool repositionRequest_ = true;
    bool programTimerOn_ = false;
    int programInterval_ = kStartInterval;
    bool frameTimerOn_ = false;
    uint32_t windowColor_ = 0x808000; // teal
    int fixedWidth_ = 0, fixedHeight_ = 0;
    RunEnd lastRunEnd_ = RunEnd::None;
};
