#include "MugFlight.h"

#include "ListLayout.h"

#include <algorithm>

void MugFlight::arrange(std::vector<PaletteWindow*> windows, const std::vector<MugSpace::Work>& works, QSize view) {
    const size_t count = std::min({windows.size(), works.size(), size_t(MugSpace::kMaxPlaced)});
    windows_.assign(windows.begin(), windows.begin() + count);
    sizes_.clear();
    for (size_t i = 0; i < count; ++i) sizes_.push_back(works[i].fullSize);
    view_ = view;
    placement_ = MugSpace::place(std::vector<MugSpace::Work>(works.begin(), works.begin() + count), view);
    camera_ = {400, 0, 400};
    velocity_ = {};
    index_ = -1;
    current_ = target_ = nullptr;
    project();
}

void MugFlight::project() {
    QRect earth;
    projected_ = MugSpace::project(placement_.positions, sizes_, camera_, view_, visible_, placement_.earth, &earth);
    stage_.showProjection(projected_, earth);
}

void MugFlight::accelerate(int dx, int dy, int dz) {
    velocity_.x += dx;
    velocity_.y += dy;
    velocity_.z += dz;
    project();
}

void MugFlight::flyToIndex(int index) {
    index_ = index;
    target_ = current_ = windows_[size_t(index)];
    flight_ = {};
    autopilotSteps_ = 0;
}

void MugFlight::stopFlightLight() {
    lit_ = MugStage::Button::None;
    stage_.light(lit_);
}

void MugFlight::next(bool lit) {
    if (lit) stage_.light(lit_ = MugStage::Button::Next);
    const int n = placedCount();
    if (index_ >= n - 1) {
        walk_ = false;
        stopFlightLight();
        return;
    }
    flyToIndex(std::max(index_ + 1, 0));
    const std::vector<MugSpace::Point3>& at = placement_.positions;
    const size_t i = size_t(index_);
    // Into another row the flight passes beside the work before, not through it.
    if (i >= 2 && at[i].z != at[i - 1].z)
        flight_.sideTarget = MugSpace::sideTarget(int(at[i - 1].x), sizes_[i - 1].width(), at[i - 1].x >= at[i - 2].x);
}

void MugFlight::previous() {
    if (index_ <= 0) {
        walk_ = false;
        return;
    }
    stage_.light(lit_ = MugStage::Button::Previous);
    flyToIndex(index_ - 1);
}

void MugFlight::first() {
    if (windows_.empty()) return;
    stage_.light(lit_ = MugStage::Button::First);
    flyToIndex(0);
}

void MugFlight::last() {
    if (windows_.empty()) return;
    stage_.light(lit_ = MugStage::Button::Next);
    flyToIndex(placedCount() - 1);
}

void MugFlight::toggleWalk() {
    walk_ = !walk_;
    stage_.light(lit_ = walk_ ? MugStage::Button::Walk : MugStage::Button::None);
}

void MugFlight::flyTo(PaletteWindow& window) {
    const auto at = std::find(windows_.begin(), windows_.end(), &window);
    if (at == windows_.end()) return;
    flyToIndex(int(at - windows_.begin()));
    stage_.light(lit_ = MugStage::Button::Next);
}

void MugFlight::run() {
    if (windows_.empty()) return;
    if (index_ < 0 || index_ >= placedCount()) index_ = 0;
    PaletteWindow& window = *windows_[size_t(index_)];
    stage_.makeCurrent(window);
    current_ = &window;
    if (window.running()) {
        // Stopped where it stands: no flight back to it.
        stage_.showRunning(false);
        window.breakRun();
        return;
    }
    flyToIndex(index_);
    runRequest_ = true;
}

void MugFlight::toggleTour() {
    if (tourWindow_) {
        endTour();
        return;
    }
    if (windows_.empty()) return;
    if (index_ < 0 || index_ >= placedCount()) index_ = 0;
    stage_.showTourButton(true);
    flyToIndex(index_);
    tourWindow_ = target_;
    stage_.makeCurrent(*tourWindow_);
    tourWindow_->tourCount = 0;
    tourActive_ = true;
    tourPhase_ = 0;
    tourStartAt_ = 0;
}

void MugFlight::endTour() {
    stage_.showTourButton(false);
    tourActive_ = false;
    stopFlightLight();
    if (tourWindow_) tourWindow_->breakRun();
    tourWindow_ = nullptr;
}

void MugFlight::changeVisible(int by) { setVisible(std::clamp(visible_ + by, 1, std::max(placedCount(), 1))); }

void MugFlight::setVisible(int count) {
    visible_ = std::max(count, 1);
    project();
}

void MugFlight::tick() {
    ++ticks_;
    if (velocity_.x != 0 || velocity_.y != 0 || velocity_.z != 0) {
        camera_.x += velocity_.x;
        camera_.y += velocity_.y;
        camera_.z += velocity_.z;
        project();
        return;
    }
    if (ticks_ % kStepTicks != 0) return;
    if (target_) {
        if (++autopilotSteps_ % 2 == 0) autopilot();
        return;
    }
    if (tourPhase_ == 2) tourPhase_ = 3;
    if (walk_) next(false);
    if (runRequest_) {
        runRequest_ = false;
        if (!current_) return;
        stage_.announceRun(*current_);
        current_->restart();
        stage_.showRunning(true);
        runToggle_ = true;
    } else if (tourWindow_) {
        tourStep();
    } else if (runToggle_) {
        runToggle_ = false;
        stage_.showRunning(true);
        if (current_) current_->toggleRun();
    } else if (current_ && !current_->running()) {
        stage_.showRunning(false);
        current_ = nullptr;
    }
}

void MugFlight::autopilot() {
    const size_t i = size_t(index_);
    const MugSpace::Target target{placement_.positions[i], projected_[i].zoom, projected_[i].rect};
    if (MugSpace::autopilotStep(camera_, flight_, target, view_.height())) {
        project();
        return;
    }
    target_ = nullptr;
    if (!walk_) stopFlightLight();
}

void MugFlight::tourStep() {
    PaletteWindow* window = tourWindow_;
    if (!tourActive_ && window->running()) {
        window->breakRun();
        window->tourCount = ListLayout::kTourEnded;
        tourPhase_ = 0;
    }
    if (window->tourCount == ListLayout::kTourEnded) {
        if (tourPhase_ == 0) {
            tourPhase_ = 1;
            window->setPlateShown(false);
        } else if (tourPhase_ == 1 || tourPhase_ == 2) {
            if (index_ >= placedCount() - 1) {
                endTour();
                return;
            }
            next();
            tourPhase_ = 2;
        } else {
            // The walk's flight has ended; one more flight settles the camera in front of it
            // before the three steps to its start are counted.
            flyToIndex(index_);
            tourWindow_ = window = current_;
            window->tourCount = 0;
            stage_.makeCurrent(*window);
            tourPhase_ = 0;
            tourStartAt_ = kLaterTourStart;
        }
    }
    if (window->tourCount == tourStartAt_) {
        window->activate();
        stage_.announceRun(*window);
        window->startRun();
        window->setPlateShown(true);
    }
    if (window->tourCount < ListLayout::kTourEnded - 1) {
        if (window->tourCount == 0) {
            window->activate();
            window->widenPlate();
        }
        ++window->tourCount;
    }
}
