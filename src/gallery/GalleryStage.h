// What the gallery's headless state asks of its windows: the announcement board, the current
// work window and the works list. The gallery window implements it; tests record the calls.
#pragma once

#include "Catalog.h"

#include <QString>

// Where the floating works panel is on the exhibition area.
struct WorksPanelPlace {
    int top = 0;
    int height = 0;
    bool visible = true;
    bool operator==(const WorksPanelPlace&) const = default;
};

class GalleryStage {
public:
    virtual ~GalleryStage() = default;

    // Puts `text` on the display form over the current work window (onWork) or the gallery and
    // shows it; textSize 0 keeps the present size. Cost: one repaint.
    virtual void announce(const QString& text, int textSize, bool onWork) = 0;
    // Changes the display form's text without moving or showing it.
    virtual void setDisplayText(const QString& text) = 0;
    // Hides the display form at once (a failed tick).
    virtual void hideDisplay() = 0;
    // One 16-pixel slide of the display form; true while it is still in sight.
    virtual bool slideDisplay() = 0;
    // Loads the work of `entry` into the current work window and shows it; false when nothing was
    // loaded (the loader reported why). Blocks for the program's reading or fetch.
    virtual bool loadWork(const CatalogEntry& entry) = 0;
    // Switches off the current work window's frame and program timers.
    virtual void stopWorkTimers() = 0;
    // The group became current: its title goes to the group panel and the viewing log.
    virtual void markGroup(const acmdGroupInfo& group) = 0;
    // The current row, the fold or the row count changed: the works list is laid out and redrawn.
    virtual void rowsChanged() = 0;
    // The works panel's new place during a slide.
    virtual void placeWorksPanel(const WorksPanelPlace& place) = 0;
    // A tick failed beyond repair: the program ends (exit status 0).
    virtual void endProgram() = 0;
    // The deferred actions of `pendingAction`: switch between one display and list display, and
    // open the Atelier. A gallery without them does nothing.
    virtual void toggleListDisplay() {}
    virtual void openAtelier() {}
    // The group changed while list display is on: its windows are closed and list display starts
    // again for the new group (at once with `atOnce`, else the state asks for it on the next
    // tick). False in one display, where the state shows the group's first work itself.
    virtual bool listDisplayOnGroupChange(bool atOnce) { return false; }
    // The automatic start-up sequence: all works animate, all programs run.
    virtual void togglePresentAll() {}
    virtual void toggleRunAll() {}
    // One step of a list window growing or shrinking, made on even ticks only; true while one
    // grows or shrinks (the timer stays on).
    virtual bool stepListWindows(bool evenTick) { return false; }
    // The tour continues at the group the state just moved to (a start by the timer).
    virtual void continueTour() {}
    // List display is on: a click on the works list selects a window of the group.
    virtual bool listDisplayOn() const { return false; }
    // In list display, `entry` of the current group was selected: its window becomes current and
    // grows, the previous one shrinks when the row changed.
    virtual void selectInList(const CatalogEntry& entry, bool rowChanged) {}
};
