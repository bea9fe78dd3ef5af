// How the animation engine plugs into the interpreter. The interpreter calls these when it builds
// the animation from an `Anime_Set` block (at load time and at run time), adds characters from an
// `Anime_Add` block, and reaches a character's user values (`dim`). One engine object per work
// window implements it; the interpreter only links to it.
#pragma once

#include <QStringView>

class kestoBasInfo;
struct progInfo;

class AnimationHook {
public:
    virtual ~AnimationHook() = default;

    // Destroys the animation: characters, charges, name index, grown palette, frame pattern, theme,
    // meta chart. (The interpreter clears its data values itself.) Cost: linear in characters.
    virtual void resetAnimation(kestoBasInfo& interpreter) = 0;

    // Clears the work window's pending camera movement before a block replaces the animation.
    virtual void clearPendingCamera() = 0;

    // Reads the block whose first line is `first` (the list ends after the block's last line) with
    // interpreter.readStatement. Returns 0 when read, -1 after an error report, RunStatus::ReadRange when the status
    // became that. May throw ScriptFault (or anything): the interpreter catches it.
    virtual int runAnimeSet(kestoBasInfo& interpreter, progInfo* first) = 0;

    // Refills and sorts the character name index (before an `Acmd_Run` block runs).
    virtual void rebuildNameIndex(kestoBasInfo& interpreter) = 0;

    // User value `index` (0 to 31, checked by the caller) of the character `sameNameIndex` of the
    // name `name`. False when there is no such character. Cost: a name index lookup.
    virtual bool setUserValue(QStringView name, int sameNameIndex, int index, double value) = 0;
    virtual bool userValue(QStringView name, int sameNameIndex, int index, double* value) const = 0;
};
