// The work's meta chart as the work window shows it: the definition's size, its show state and
// seconds, and the geometry of its form, which slides in from the picture's bottom-right corner,
// stands for its seconds and slides out again (a free form grows and later vanishes). Headless:
// the chart view reads the geometry and draws the form.
#pragma once

#include "metaChartInfo.h"

class WorkChart {
public:
    // Show states.
    static constexpr int kHidden = 0, kShowing = -1, kClosing = 1, kCloseRequested = 2;
    static constexpr int kCloseMilliseconds = 7000;
    static constexpr int kTickMilliseconds = 10;

    // A chart of a free-window definition stands on its own; any other is placed on the picture.
    explicit WorkChart(metaChartInfo definition)
        : definition(std::move(definition)), onPicture(!(this->definition.options & metaChartInfo::kFreeWindow)) {}

    // Mode 1 or more shows, 0 (or below -1) closes, -1 toggles by the form's visibility.
    // `pictureWidth` x `pictureHeight` is the picture panel the form is placed on. Cost: constant.
    void toggle(int mode, int pictureWidth, int pictureHeight, int zoomPercent);
    // One frame tick (10 ms) of a visible form: snap, one movement step, the countdown. Cost: constant.
    void advance(int pictureWidth, int pictureHeight, int zoomPercent);

    metaChartInfo definition;
    int seconds = 0;
    int showState = kHidden;

    // The form.
    bool hasForm = false;
    bool formVisible = false;
    bool onPicture = true; // placed on the picture rather than a free window
    int left = 0, top = 0, width = 0, height = 0;
    int countdown = 0; // milliseconds
    int targetWidth = 0, targetHeight = 0;
    int stepX = 1, stepY = 1; // pixels per frame tick
};
