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

    // The character a command names: a name (name code, keyword code or text) optionally followed
    // by "[index]" with the index an expression (without one, the first character of the name).
    // A '[' without ']' names none; a missing character is logged by findCharacter. Both give
    // nullptr. Cost: O(log n) plus the index.
    AnimeInfo* findNamed(kestoBasInfo& interpreter, QStringView field);

    // A setting given as a statement while the work runs (the text after the keyword and its
    // separator): colours, canvas, frame, frame pattern (its rows from the statements at
    // `current` on), wall colour, camera, window rotation, dot zoom and view point. Returns the
    // rest of the text after the values read, nothing when a parameter was faulty; the settings
    // that belong to the run loop (timing, data, chart, music) come back unchanged.
    // Cost: the setting's.
    std::optional<QString> applySetting(kestoBasInfo& interpreter, int setting, const QString& params,
                                        progInfo*& current);

    // A parameter text's value through the interpreter, for the run-time view settings.
    static AnimeEvaluate evaluatorOf(kestoBasInfo& interpreter);

    AnimeState state;
    AnimeView view;
};
