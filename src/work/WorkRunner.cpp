#include "WorkRunner.h"

#include "KestoGeometry.h"
#include "common/CoreTimer.h"
#include "script/StatementCompiler.h"

#include <algorithm>
#include <exception>
#include <utility>

WorkRunner::WorkRunner(WorkPaletteSide& palette, WorkGallerySide& gallery, WorkWindowSide& window, int workNumber)
    : palette_(palette), gallery_(gallery), window_(window), executor_(k_, *this), commands_(*this),
      workNumber_(workNumber) {
    animation_.state.host = this;
    k_.setAnimationHook(&animation_);
    k_.setStepHost(this);
    k_.setMessageSink([this](const QString& line) { palette_.addMessage(line); });
    animation_.view.resetView(0x300000); // RGB(0, 0, 48) until a work paints its background
}

WorkRunner::~WorkRunner() {
    // The animation's characters go before the interpreter's links to it.
    k_.setAnimationHook(nullptr);
}

int WorkRunner::loadProgramFile(const QString& folder, const QString& fileName) {
    return k_.loadProgramFile(folder, fileName);
}

uint32_t WorkRunner::loadProgramUrl(const QString& folderUrl, const QString& fileName) {
    return k_.loadProgramUrl(folderUrl, fileName);
}

void WorkRunner::loadProgramLines(const QStringList& lines, const QString& folder) {
    k_.prepareProgram(lines, folder);
}

QString WorkRunner::caption() const {
    if (animation_.state.theme && !animation_.state.theme->isEmpty()) return *animation_.state.theme;
    const QString& path = k_.programPath;
    return path.mid(path.lastIndexOf(u'/') + 1);
}

void WorkRunner::setFixedPictureSize(int width, int height) {
    fixedWidth_ = std::max(width, 0);
    fixedHeight_ = std::max(height, 0);
    resetView();
}

// ---- run operations ----

void WorkRunner::show() {
    programTicks_ = frameTicks_ = 0;
    framePeriod_ = std::clamp(palette_.paletteFramePeriod(), 1, 10000);
    setFrameTimer(hasCharacters());
    frameState_ = FrameState::Draw;
}

void WorkRunner::runProgram() {
    hideGamePad();
    if (runCount_ != 0) {
        restartProgram();
        runCount_ = 0;
    }
    runCount_ = 1;
    programTicks_ = 0;
    const bool current = palette_.isCurrentWindow(*this);
    if (current) {
        palette_.updateRunButton(true);
        setFramePeriod(100);
        palette_.framePeriodChanged(100);
    }
    setProgramInterval(kStartInterval);
    if (current) palette_.showProgramInterval(QString::number(kStartInterval));
    executor_.start();
    lineDisplay_ = true;
    programBusy_ = frameBusy_ = false;
    if (!hasCharacters()) {
        // A work without characters never runs; whoever waits for its end must not wait for ever.
        executor_.stop();
        if (current) palette_.updateRunButton(false);
        gallery_.runNotStarted(*this);
        return;
    }
    lastRunEnd_ = RunEnd::None;
    setProgramTimer(true);
    setFrameTimer(true);
    palette_.logViewing(ViewingEvent::Started, *this, caption());
}

void WorkRunner::breakProgram() { executor_.stop(); }

void WorkRunner::toggleRun() {
    if (running()) {
        palette_.updateRunButton(false);
        gallery_.runToggled(*this, false);
        breakProgram();
        return;
    }
    palette_.updateRunButton(true);
    gallery_.runToggled(*this, true);
    startRun();
}

void WorkRunner::startRun() {
    runProgram();
    programTicks_ = frameTicks_ = 0;
}

void WorkRunner::requestRenew() {
    breakProgram();
    frameState_ = FrameState::Renew;
}

void WorkRunner::restartProgram() {
    gallery_.setStopFlag(0);
    k_.status = RunStatus::Well;
    k_.clearItems();
    k_.prepareAnimation();
    if (hasCharacters()) frameState_ = FrameState::Draw;
    paintWindowFrame(animation_.state.frameColor);
}

void WorkRunner::close() {
    breakProgram();
    setProgramTimer(false);
    setFrameTimer(false);
}

void WorkRunner::clearWork() {
    close();
    toggleChart(0);
    hideGamePad();
    palette_.stopMusic();
    animation_.state.theme.reset();
    setChart(nullptr);
}

void WorkRunner::endOfRun(RunEnd how) {
    toggleChart(0);
    palette_.stopMusic();
    setFramePeriod(100);
    executor_.stop();
    const bool current = palette_.isCurrentWindow(*this);
    if (current) {
        palette_.framePeriodChanged(100);
        palette_.updateRunButton(false);
        palette_.showProgramInterval(QStringLiteral("∞ "));
        palette_.showCommandLine(QStringLiteral(" Kbasic End"));
    }
    gallery_.runEnded(*this);
    setProgramTimer(false);
    lastRunEnd_ = how;
    palette_.logViewing(ViewingEvent::Ended, *this, caption());
}

// ---- ticks ----

void WorkRunner::programTick() {
    if (gallery_.stopFlag() != 0) {
        setProgramTimer(false);
        return;
    }
    ++programTicks_;
    StepExecutor::Tick tick = StepExecutor::Tick::Ran;
    lineShown_ = false;
    if (!guardedStep(programBusy_, [&] { tick = executor_.tick(); }, [this] { stepFaulted(); })) return;
    if (lineShown_ && palette_.isCurrentWindow(*this)) palette_.showCommandLine(shownLine_);
    switch (tick) {
    case StepExecutor::Tick::Ran:
        break;
    case StepExecutor::Tick::Waiting: {
        const int wait = executor_.wait();
        if (palette_.isCurrentWindow(*this) && wait % 5 == 0 && lineDisplay_)
            palette_.showCommandLine(QStringLiteral(" wait:%1 > %2 ").arg(wait, 4).arg(executor_.displayText()));
        break;
    }
    case StepExecutor::Tick::StatusStopped:
        // "err2" went to the message list; the run still ends properly.
        setProgramTimer(false);
        endOfRun(RunEnd::StatusError);
        break;
    case StepExecutor::Tick::Ended:
        endOfRun(RunEnd::Ended);
        break;
    case StepExecutor::Tick::CommandFailed:
        if (palette_.isCurrentWindow(*this)) palette_.updateRunButton(false);
        setProgramTimer(false);
        endOfRun(RunEnd::CommandError);
        break;
    case StepExecutor::Tick::Faulted:
        gallery_.setStopFlag(gallery_.stopFlag() | 4);
        endOfRun(RunEnd::Fault);
        setFrameTimer(false);
        break;
    }
}

void WorkRunner::frameTick() {
    if (gallery_.stopFlag() != 0) {
        setFrameTimer(false);
        return;
    }
    // A message window opened inside a frame runs its own loop; its ticks must not draw frames
    // into the one still being built.
    if (frameBusy_) return;
    if (frameTicks_ % 32 == 0 && frameTicks_ > 20) placeTitlePlate();
    if (palette_.isClosing(*this)) return;
    guardedStep(frameBusy_, [this] {
        if (chart()) advanceChart();
        frameStep();
    }, [this] { stepFaulted(); });
    ++frameTicks_;
}

void WorkRunner::stepFaulted() {
    gallery_.setStopFlag(gallery_.stopFlag() | 8);
    if (k_.status == RunStatus::Well) k_.status = RunStatus::Fault;
    setProgramTimer(false);
    setFrameTimer(false);
}

void WorkRunner::frameStep() {
    const bool current = palette_.isCurrentWindow(*this);
    if (interactionCountdown_ > 0 && --interactionCountdown_ == 0 && frameTimerOn_) {
        window_.hideCornerPanels();
        if (!current) {
            paintWindowFrame(animation_.state.frameColor);
            if (!palette_.presentAll()) setFrameTimer(false);
        } else if (palette_.hasNeighbours(*this) && animation_.view.zoomPercent < 90) {
            paintWindowFrame(kNeighbourFrameColor);
        } else {
            paintWindowFrame(animation_.state.frameColor);
        }
    }
    // Only the current work moves unless all works are presented.
    if (!palette_.presentAll() && interactionCountdown_ == 0 && !current && frameTimerOn_) setFrameTimer(false);
    if (repositionRequest_) {
        repositionRequest_ = false;
        window_.reposition();
    }
    if (frameTicks_ % 5 == 0 && animation_.view.stretched) animation_.view.cameraDepthStep();
    if (framePeriod_ >= 20 && frameTicks_ % (framePeriod_ / 10) != 0) return;
    if (!hasCharacters()) return;
    if (frameState_ == FrameState::Renew) {
        frameState_ = FrameState::Idle;
        restartProgram();
        runCount_ = 0;
    } else if (frameState_ == FrameState::Draw) {
        passGameInput();
        animation_.advanceFrame(k_);
        ++framesDrawn_;
        executor_.frameElapsed();
        if (onFrameDrawn) onFrameDrawn();
    }
}

// ---- chart ----

QSize WorkRunner::chartArea() const {
    const AnimeView& view = animation_.view;
    return kesto::visiblePicture(QSize(view.displayWidth, view.displayHeight), view.zoomPercent);
}

void WorkRunner::setChart(std::unique_ptr<WorkChart> chart) {
    if (animation_.chart) window_.closeChartForm();
    animation_.chart = std::move(chart);
}

void WorkRunner::toggleChart(int mode) {
    WorkChart* c = chart();
    if (!c) return;
    const bool wasVisible = c->formVisible;
    const QSize area = chartArea();
    c->toggle(mode, area.width(), area.height(), animation_.view.zoomPercent);
    if (c->formVisible && !wasVisible) {
        // A chart with errors, or one that only starts a program, shows no form.
        if (!c->definition.valid() || !window_.openChartForm(*c, k_.programFolder)) {
            c->formVisible = false;
            c->showState = WorkChart::kHidden;
        }
    }
    window_.chartMoved(*c);
    palette_.chartChanged(*this);
}

void WorkRunner::advanceChart() {
    WorkChart* c = chart();
    if (!c || !c->formVisible) return;
    const QSize area = chartArea();
    c->advance(area.width(), area.height(), animation_.view.zoomPercent);
    window_.chartMoved(*c);
    palette_.chartChanged(*this);
}

// ---- commands ----

int WorkRunner::runTimingCommand(kestoBasInfo&, const QString& command, bool display) {
    return commands_.runTimingCommand(command, display);
}

int WorkRunner::runCommand(kestoBasInfo&, const QString& command) { return commands_.runCommand(command); }

StepHost::Compiled WorkRunner::runCompiledCommand(kestoBasInfo&, progInfo& s) { return commands_.runCompiledCommand(s); }

void WorkRunner::runTypedCommand(const QString& text) {
    progInfo typed;
    typed.source = text;
    try {
        compileStatement(k_, typed, text);
        QString command = typed.code;
        k_.evaluate(command);
        if (k_.status != RunStatus::Well || command.isEmpty()) return;
        if (commands_.runTimingCommand(command, false) == 0) commands_.runCommand(command);
    } catch (const std::exception&) {
        // A typed line that faults (a remainder by zero) is simply not carried out.
    }
}

void WorkRunner::showLine(const QString& text) {
    // A loop shows its lines many times within one tick; the palette sees the last one when the
    // tick is over, so only that one is handed on.
    if (text.constData() != shownLine_.constData() || text.size() != shownLine_.size()) shownLine_ = text;
    lineShown_ = true;
}

void WorkRunner::paintFrame() { paintWindowFrame(animation_.state.frameColor); }

void WorkRunner::programFaulted() {
    gallery_.setStopFlag(gallery_.stopFlag() | 4);
    setProgramTimer(false);
    setFrameTimer(false);
}

void WorkRunner::setFramePeriod(int milliseconds) { framePeriod_ = std::clamp(milliseconds, 1, 10000); }

void WorkRunner::setProgramInterval(int milliseconds) {
    const int interval = std::clamp(milliseconds, 10, 10000);
    if (interval == programInterval_) return;
    programInterval_ = interval;
    notifyTimers();
}

void WorkRunner::setLineDisplay(bool on) {
    lineDisplay_ = on;
    executor_.setLineDisplay(on);
}

// ---- the animation's window ----

void WorkRunner::logMessage(const QString& line) { palette_.addMessage(line); }

void WorkRunner::showCameraStatus(const QString& text) { palette_.showCameraStatus(text); }

bool WorkRunner::isCurrentWindow() const { return palette_.isCurrentWindow(*this); }

AnimeWindowGeometry WorkRunner::geometry() const { return window_.windowGeometry(); }

void WorkRunner::moveWindow(int left, int top) { window_.moveWindow(left, top); }

void WorkRunner::maximise() { window_.maximise(); }

void WorkRunner::restoreNormal() { window_.restoreNormal(); }

void WorkRunner::resizeWindow(int width, int height) { window_.resizeWindow(std::max(width, 1), std::max(height, 1)); }

void WorkRunner::setFrameStrips(int topBottom, int leftRight) { window_.setFrameStrips(topBottom, leftRight); }

void WorkRunner::paintFramePattern() { paintWindowFrame(animation_.state.frameColor); }

void WorkRunner::paintWindowFrame(uint32_t color) { window_.paintWindowFrame(color); }

void WorkRunner::placeTitlePlate() { window_.placeTitlePlate(); }

void WorkRunner::hideGamePad() { window_.hideGamePad(); }

void WorkRunner::showMusicPanel() { window_.showMusicPanel(); }

// ---- camera ----

void WorkRunner::turnCamera(int step) {
    // The camera point goes left: the picture's point of view goes the other way.
    animation_.view.cameraX -= 10 * step;
    animation_.view.refitPicture();
}

void WorkRunner::raiseCamera(int height) {
    animation_.view.cameraY = height;
    animation_.view.refitPicture();
}

void WorkRunner::setCameraDepth(int depth) {
    animation_.view.cameraZ = depth;
    animation_.view.refitPicture();
}

void WorkRunner::toggleStretched() {
    animation_.view.stretched = !animation_.view.stretched;
    resetView();
}

void WorkRunner::resetCamera(bool stopDrift) {
    if (stopDrift) animation_.view.driftX = animation_.view.driftY = animation_.view.driftZ = 0;
    resetView();
}

void WorkRunner::setZoomPercent(int percent) {
    animation_.state.zoomPercent = percent;
    animation_.view.zoomPercent = percent;
}

QSize WorkRunner::baseSize() const { return QSize(animation_.state.canvasWidth, animation_.state.canvasHeight); }

void WorkRunner::fitPictureDisplay(int width, int height) {
    fixedWidth_ = std::max(width, 1);
    fixedHeight_ = std::max(height, 1);
    AnimeView& view = animation_.view;
    if (view.displayWidth == fixedWidth_ && view.displayHeight == fixedHeight_) return;
    view.displayWidth = fixedWidth_;
    view.displayHeight = fixedHeight_;
    // A window resize is no camera zoom: the refit's shift would displace the view.
    const double shiftX = view.shiftX, shiftY = view.shiftY;
    const QSize before = view.picture.size();
    view.refitPicture();
    view.shiftX = shiftX;
    view.shiftY = shiftY;
    // A new bitmap shows the background until the next frame is drawn into it.
    if (view.picture.size() != before) view.picture.fill(rgbOfColor(animation_.state.bgColor));
}

void WorkRunner::paintFrame(uint32_t color, bool visible) {
    if (visible) paintWindowFrame(color);
}

void WorkRunner::resetView() {
    const AnimeState& s = animation_.state;
    animation_.view.zoomPercent = s.zoomPercent;
    if (fixedWidth_ > 0 && fixedHeight_ > 0) {
        animation_.view.displayWidth = fixedWidth_;
        animation_.view.displayHeight = fixedHeight_;
    } else if (s.canvasWidth > 0 && s.canvasHeight > 0) {
        animation_.view.displayWidth = std::min(s.canvasWidth, AnimeView::kMaxPictureSide);
        animation_.view.displayHeight = std::min(s.canvasHeight, AnimeView::kMaxPictureSide);
    }
    animation_.view.resetView(s.bgColor);
}

void WorkRunner::hideGamePanel() { window_.hideGamePanel(); }

void WorkRunner::showGamePad() { window_.showGamePanel(); }

bool WorkRunner::gamePadVisible() const { return window_.gamePadVisible(); }

void WorkRunner::passGameInput() {
    // The pending key and click go to the game kinds, which keep them until a player's turn
    // reads them; the click is turned from the image control's pixels into the picture's.
    const GameKey key = std::exchange(gameInput_.key, GameKey::None);
    const QPoint click = std::exchange(gameInput_.mouseDown, QPoint(-1, -1));
    const QPoint held = std::exchange(gameInput_.mouseHeld, QPoint(-1, -1));
    if (key == GameKey::None && click.x() < 0 && held.x() < 0) return;
    const int zoom = std::max(animation_.view.zoomPercent, 1);
    for (const auto& c : animation_.state.characters) {
        if (!c->kind) continue;
        if (key != GameKey::None) c->kind->key(key);
        if (click.x() >= 0) c->kind->click(click.x() * 100 / zoom, click.y() * 100 / zoom);
        if (held.x() >= 0) c->kind->drag(held.x() * 100 / zoom, held.y() * 100 / zoom);
    }
}


std::unique_ptr<AnimeKind> WorkRunner::openUniverseWindow(AnimeInfo& owner, const QString& folder,
                                                          const QString& options, int mode) {
    return window_.openUniverseWindow(owner, folder, options, mode);
}

// ---- timers ----

void WorkRunner::setProgramTimer(bool on) {
    if (programTimerOn_ == on) return;
    programTimerOn_ = on;
    notifyTimers();
}

void WorkRunner::setFrameTimer(bool on) {
    if (frameTimerOn_ == on) return;
    frameTimerOn_ = on;
    notifyTimers();
}

void WorkRunner::notifyTimers() {
    if (onTimersChanged) onTimersChanged();
}
