// The window side of a work run without a window (vimora-run, its tests, the benchmark): the
// canvas setting's place and size are kept as numbers, the frame colour is noted, and the
// window's panels and plate are not there to be shown; the game pad is a flag; a chart's form is counted; a universe window is a
// model.
#pragma once

#include "HeadlessUniverse.h"
#include "WorkChart.h"
#include "WorkWindowSide.h"

class HeadlessWindowSide : public WorkWindowSide {
public:
    // Notes the colour. Cost: constant, as every call here.
    void paintWindowFrame(uint32_t color) override { frameColor = color; }
    void hideCornerPanels() override {}
    void reposition() override {}
    void placeTitlePlate() override {}
    // Without a user to press "プレイ", the pad opens with the panel when `opensPad` is set.
    void hideGamePad() override { padShown = false; }
    void hideGamePanel() override { padShown = false; }
    void showGamePanel() override { padShown = padShown || opensPad; }
    bool gamePadVisible() const override { return padShown; }
    void showMusicPanel() override {}
    // The form is imagined: it stands whenever a window's form would (nothing is started).
    bool openChartForm(WorkChart& chart, const QString& folder) override {
        ++chartForms;
        return !planChart(chart.definition, folder, QString()).minimised;
    }
    // The place, size and maximised state the canvas setting gave last.
    AnimeWindowGeometry windowGeometry() const override { return geometry; }
    void moveWindow(int left, int top) override {
        geometry.left = left;
        geometry.top = top;
    }
    void resizeWindow(int width, int height) override {
        geometry.width = width;
        geometry.height = height;
    }
    void maximise() override { geometry.maximised = true; }
    void restoreNormal() override { geometry.maximised = false; }
    void setFrameStrips(int, int) override {}
    // A universe model in place of the window, opened at once and its key commands played.
    std::unique_ptr<AnimeKind> openUniverseWindow(AnimeInfo& owner, const QString& folder, const QString& keyCommands,
                                                  int mode) override {
        return std::make_unique<HeadlessUniverse>(folder, mode, keyCommands, &owner);
    }

    AnimeWindowGeometry geometry;
    uint32_t frameColor = 0;
    bool opensPad = false;
    bool padShown = false;
    int chartForms = 0; // forms opened for the chart
};
