#include "PaletteModel.h"

#include "common/ShowCheck.h"

#include <algorithm>

PaletteModel::PaletteModel(GalleryState& gallery, PaletteStage& stage, QSize screen, PaletteLog::Clock clock)
    : stage_(stage), gallery_(gallery), log_(std::move(clock)) {
    addPlainLine(PaletteLog::sizeLine(screen.width(), screen.height()));
    addLogLine(PaletteLog::Opened);
}

void PaletteModel::addLogLine(int kind, const QString& text, const void* window) {
    const QString line = log_.line(kind, text, window);
    if (!line.isEmpty()) stage_.appendLogLine(line);
}

PaletteWindow& PaletteModel::addWindow(std::unique_ptr<PaletteWindow> window, PaletteWindow* after) {
    auto at = windows_.end();
    if (after) {
        at = std::find_if(windows_.begin(), windows_.end(), [after](const auto& w) { return w.get() == after; });
        if (at != windows_.end()) ++at;
    }
    PaletteWindow& added = **windows_.insert(at, std::move(window));
    if (!current_) current_ = &added;
    return added;
}

void PaletteModel::setCurrentWindow(PaletteWindow* window) {
    if (findWindow([window](const PaletteWindow& w) { return &w == window; })) current_ = window;
}

PaletteWindow* PaletteModel::previousWindow(const PaletteWindow* window) const {
    PaletteWindow* previous = nullptr;
    for (const auto& w : windows_) {
        if (w.get() == window) return previous;
        previous = w.get();
    }
    return nullptr;
}

PaletteWindow* PaletteModel::nextWindow(const PaletteWindow* window) const {
    for (auto w = windows_.begin(); w != windows_.end(); ++w)
        if (w->get() == window) return std::next(w) == windows_.end() ? nullptr : std::next(w)->get();
    return nullptr;
}

bool PaletteModel::hasNeighbours(const PaletteWindow* window) const {
    return window && (previousWindow(window) || nextWindow(window));
}

void PaletteModel::closeWindow(PaletteWindow* window) {
    const auto at = std::find_if(windows_.begin(), windows_.end(), [window](const auto& w) { return w.get() == window; });
    if (at == windows_.end()) return;
    PaletteWindow* next = std::next(at) == windows_.end() ? nullptr : std::next(at)->get();
    current_ = next ? next : previousWindow(window);
    if (windowToClose_ == window) windowToClose_ = nullptr;
    // A tour that still pointed at the window would step a destroyed one.
    if (tourWindow == window) tourWindow = nullptr;
    std::unique_ptr<PaletteWindow> closing = std::move(*at);
    windows_.erase(at);
    stage_.windowClosing(*closing);
    closing->close();
    closing.reset();
    stage_.windowClosed(current_, countWindows());
    displayFlags &= ~2;
}

namespace {

void refuseLastWindow() {
    showCheck(QStringLiteral("最後の一作品なので撤去できません！"), QStringLiteral("キャンバスの撤去"), 0);
}

} // namespace

bool PaletteModel::removeCurrentWindow() {
    if (!current_) return false;
    if (!hasNeighbours(current_)) {
        refuseLastWindow();
        return false;
    }
    closeWindow(current_);
    return true;
}

bool PaletteModel::requestClose(PaletteWindow* window) {
    if (!findWindow([window](const PaletteWindow& w) { return &w == window; })) return false;
    if (!hasNeighbours(window)) {
        refuseLastWindow();
        return false;
    }
    windowToClose_ = window;
    timer_.set(true);
    return true;
}

void PaletteModel::tick() {
    if (!ticked_) {
        ticked_ = true;
        stage_.firstTick();
    }
    if (gallery_.stopFlag() != 0) {
        timer_.set(false);
        return;
    }
    music.tick();
    if (++tickCount_ % kTicksPerStep != 0) return;
    guardedStep(busy_, [this] { step(); }, [this] {
        gallery_.setStopFlag(gallery_.stopFlag() | GalleryState::StopPalette);
        timer_.set(false);
        GalleryState::showTrouble();
        stage_.endProgram();
    });
}

void PaletteModel::step() {
    if (windowToClose_) {
        closeWindow(windowToClose_);
        windowToClose_ = nullptr;
    } else if (runToggleRequest_) {
        runToggleRequest_ = false;
        if (current_) current_->toggleRun();
    } else if (musicRequest == 1) {
        musicRequest = -1;
        stage_.startMusicPlayer();
    } else if (musicStep > 0) {
        const int pending = musicStep;
        musicStep = -1;
        stage_.repeatMusic(pending);
    } else if (tourWindow) {
        stage_.tourStep();
        countDownPlates();
    }
}

void PaletteModel::countDownPlates() {
    for (const auto& w : windows_) {
        if (!w->atListSize() || !w->plateVisible()) continue;
        const int before = w->plateCountdown();
        w->setPlateCountdown(before - 1);
        if (before <= 0) w->hidePlate();
    }
}
