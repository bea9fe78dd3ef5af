// A work window host for the window tests: a plain widget stands for the gallery's exhibition
// area, and the palette's side of the window's actions is recorded.
#pragma once

#include "work/KestoHost.h"
#include "work/TFormKesto.h"

#include <QWidget>

#include <memory>
#include <vector>

class TestKestoHost : public KestoHost, public WorkHost {
public:
    // With `withGallery` a 1200 x 700 gallery window holds a 1200 x 660 exhibition area below a
    // 40-pixel top bar; without it the window is free.
    explicit TestKestoHost(bool withGallery = true) {
        if (!withGallery) return;
        gallery = std::make_unique<QWidget>();
        gallery->resize(1200, 700);
        area = new QWidget(gallery.get());
        area->setGeometry(0, 40, 1200, 660);
    }

    WorkPaletteSide& workPalette() override { return *this; }
    WorkGallerySide& workGallery() override { return *this; }
    QWidget* exhibitionArea() const override { return area; }
    QWidget* galleryWindow() const override { return gallery.get(); }
    QRect worksPanelRect() const override { return worksPanel; }
    std::optional<QPoint> topBarPointerSpot() const override { return pointerSpot; }
    bool isSpaceGalleryShown() const override { return spaceGallery; }
    void spaceGalleryActivate(TFormKesto& window) override { spaceActivations.push_back(&window); }
    bool isCurrentWindow(const WorkRunner& runner) const override {
        return !current || &current->runner() == &runner;
    }
    bool hasNeighbours(const WorkRunner&) const override { return neighbours; }
    int stopFlag() const override { return stop; }
    void setStopFlag(int flag) override { stop = flag; }
    bool isClosing(const WorkRunner& runner) const override {
        return closing && &closing->runner() == &runner;
    }

    TFormKesto* currentWindow() const override { return current; }
    void windowActivated(TFormKesto& window) override {
        current = &window;
        activations.push_back(&window);
    }
    void requestClose(TFormKesto& window) override { closing = &window; }
    void requestRunToggle(TFormKesto& window) override { toggleRequests.push_back(&window); }
    void toggleMusic() override { ++musicToggles; }
    void windowHovered(TFormKesto& window) override { ++hovers; }
    void windowResized(TFormKesto& window) override { ++resizes; }
    QWidget* musicPlayerWindow() const override { return musicPlayer; }

    std::unique_ptr<QWidget> gallery;
    QWidget* area = nullptr; // child of the gallery
    QRect worksPanel;
    std::optional<QPoint> pointerSpot;
    bool spaceGallery = false;
    std::vector<TFormKesto*> spaceActivations;
    bool neighbours = false;
    int stop = 0;
    TFormKesto* current = nullptr;
    TFormKesto* closing = nullptr;
    std::vector<TFormKesto*> activations;
    std::vector<TFormKesto*> toggleRequests;
    int musicToggles = 0;
    int hovers = 0;
    int resizes = 0;
    QWidget* musicPlayer = nullptr; // a child of the area when a test gives one
};
