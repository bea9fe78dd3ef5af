// The stand-in of the tree window in a work run without windows: a `nebu` or `startrek`
// character keeps a universe model that is opened (scanned or read) at once and laid out as the
// window would lay it out, so that a headless run reports the counters the window would show.
#pragma once

#include "anime/AnimeKind.h"
#include "universe/NebuCursor.h"
#include "universe/NebuLayout.h"
#include "universe/UniverseModel.h"

class HeadlessUniverse : public AnimeKind {
public:
    // Opens `path` (a folder or a ".nebu" file) with the window's starting settings; messages go
    // through showCheck. `mode` 0 for `nebu`, 1 for `startrek`. Then plays `keyCommands` at once
    // through the window's key table, as far as they move the cursor or change the layout (the
    // others need the window). `owner` (not owned, may be null) is the character whose game mode
    // is the window's busy mark. Cost: the scan or the read, and a layout per layout key.
    HeadlessUniverse(const QString& path, int mode, const QString& keyCommands = {}, AnimeInfo* owner = nullptr);

    int kindCode() const override;
    // The float request is kept as the window would take it; with no window to float and dock
    // back, a count to docking (3 and above) ends at once and clears the owner's busy mark. O(1).
    void modeGiven(int mode) override;
    // "counters | path of the current node". O(1).
    QString reportText() const override;

    int floatState() const { return floatState_; }
    const NebuLayout& layout() const { return layout_; }

private:
    UniverseModel model_;
    NebuLayout layout_;
    NebuCursor cursor_;
    int mode_;
    AnimeInfo* owner_;
    int floatState_ = 0;
};
