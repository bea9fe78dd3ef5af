// What a work runner tells its gallery: the gallery's shared stop flag and the run's start and end,
// which its works list and tour follow. The gallery window implements it; a lone window and the
// headless runner use a stand-in (WorkHost). Every call is cheap and returns at once; the defaults
// do nothing.
#pragma once

#include <cstdint>

class WorkRunner;

class WorkGallerySide {
public:
    virtual ~WorkGallerySide() = default;

    // The gallery's shared `stopFlag` (1 gallery, 2 palette, 4 program fault, 8 frame fault).
    virtual int stopFlag() const { return 0; }
    virtual void setStopFlag(int flag) {}
    // The end of a run: `lastRow` takes the current row, the list is repainted, `tourCount` 9999.
    virtual void runEnded(WorkRunner&) {}
    // A start of a work that has no character: the program never runs, so a tour waiting on it
    // must treat it as ended now.
    virtual void runNotStarted(WorkRunner&) {}
    // The run was toggled from the window or the palette: in list display the gallery grows a
    // window at its list size when it starts (`zoomInWindow`) and shrinks it back when it stops.
    virtual void runToggled(WorkRunner&, bool starting) {}
    // A work's `WallColor`: the gallery's wall (its exhibition area) takes the colour
    // (0x00BBGGRR).
    virtual void setWallColor(uint32_t color) {}
};
