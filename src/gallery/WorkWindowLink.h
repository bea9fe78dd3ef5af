// A work window in the palette's window list: it owns the window, notes the catalog entry of the
// work it shows and answers the palette's questions about it.
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

    // The work the window shows (none while it is empty); the works list selects its row when the
    // window is activated.
    CatalogEntry entry;

private:
    std::unique_ptr<TFormKesto> window_;
};
