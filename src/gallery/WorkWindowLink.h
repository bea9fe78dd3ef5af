// A work window in the palette's window list: it owns the window and answers the palette's
// questions about it.
#pragma once

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

private:
    std::unique_ptr<TFormKesto> window_;
};
