// A work window in the palette's window list: it owns the window, notes the catalog entry of the
// work it shows and answers the palette's and the tour's questions about it.
#pragma once

#include "Catalog.h"
#include "PaletteWindow.h"
#include "work/TFormKesto.h"

#include <memory>

class WorkWindowLink : public PaletteWindow {
public:
    explicit WorkWindowLink(std::unique_ptr<TFormKesto> window) : window_(std::move(window)) {}

    TFormKesto& kesto() const { return *window_; }
    WorkRunner& runner() const { return window_->runner(); }

    QString caption() const override { return window_->windowTitle(); }
    bool running() const override { return window_->runner().running(); }
    void toggleRun() override { window_->runner().toggleRun(); }
    void close() override {
        window_->runner().close();
        window_->hide();
    }

    bool atListSize() const override { return runner().listPlace().smallInList; }
    bool plateVisible() const override;
    int plateCountdown() const override { return window_->titlePlateCountdown(); }
    void setPlateCountdown(int value) override { window_->titlePlateCountdown() = value; }
    void hidePlate() override;

    bool showFlag() const override { return !entry.work || entry.work->showFlag != 0; }
    // Hidden by hand, not by a hidden parent: an offscreen gallery still tours its windows.
    bool visible() const override { return !window_->isHidden(); }
    QPoint position() const override { return window_->pos(); }
    void moveTo(QPoint at) override { window_->move(at); }
    int zoom() const override { return runner().zoomPercent(); }
    // The palette's canvas size follows the current window.
    void setZoom(int percent) override {
        window_->setZoom(percent);
        window_->host().zoomChanged(*window_);
    }
    ListPlace& listPlace() override { return runner().listPlace(); }
    void placeCentred(bool clearOfWorks) override;
    void activate() override { window_->activateWindow(); }
    void startRun() override { runner().startRun(); }
    void breakRun() override { runner().breakProgram(); }
    void restart() override { runner().restartProgram(); }
    void setPlateShown(bool shown) override { window_->setTitlePlateVisible(shown); }
    void widenPlate() override { window_->setPlateCharacterWidth(TFormKesto::kLonePlateCharacterWidth); }

    // The work the window shows (none while it is empty); the works list selects its row when the
    // window is activated.
    CatalogEntry entry;

private:
    std::unique_ptr<TFormKesto> window_;
};
