// The work window's animation engine: the engine itself, plus the work's meta chart (freed with
// the animation) and the kind names the headless runner's state reports.
#pragma once

#include "WorkChart.h"
#include "anime/AnimeEngine.h"

#include <memory>

class WorkAnimation : public AnimeEngine {
public:
    // An engine that reads the built-in game kinds too.
    WorkAnimation();

    void resetAnimation(kestoBasInfo& interpreter) override;

    // The kind keyword's standard name of a character ("DotPtn", "Message", ...), empty when the
    // character was made otherwise. Cost: constant.
    static QString kindName(const AnimeInfo& character);

    std::unique_ptr<WorkChart> chart; // the work's meta chart
};
