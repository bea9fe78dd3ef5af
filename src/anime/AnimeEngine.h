// The animation engine of one work window as the interpreter sees it: it owns the animation
// state and the view, reads the interpreter's blocks into them and moves and draws the frames.
#pragma once

#include "AnimeState.h"
#include "AnimeView.h"
#include "script/AnimationHook.h"

class kestoBasInfo;

class AnimeEngine : public AnimationHook {
public:
    AnimeEngine() = default;

    // AnimationHook: reset, block reading and user values, for the interpreter.
    void resetAnimation(kestoBasInfo& interpreter) override;
    void clearPendingCamera() override;
    int runAnimeSet(kestoBasInfo& interpreter, progInfo* first) override;
    void rebuildNameIndex(kestoBasInfo& interpreter) override;
    bool setUserValue(QStringView name, int sameNameIndex, int index, double value) override;
    bool userValue(QStringView name, int sameNameIndex, int index, double* value) const override;

    // One frame: motion and drawing into view.picture, stopped by the interpreter's status.
    // Cost: see advanceFrame.
    void advanceFrame(const kestoBasInfo& interpreter);

    // A parameter text's value through the interpreter, for the run-time view settings.
    static AnimeEvaluate evaluatorOf(kestoBasInfo& interpreter);

    AnimeState state;
    AnimeView view;
};
