// What the palette needs of one work window, so that its window list, its timer step, list
// display and the tour work without widgets: the gallery wraps each work window in one; tests use
// plain objects.
#pragma once

#include "work/ListPlace.h"

#include <QPoint>
#include <QString>

class PaletteWindow {
public:
    virtual ~PaletteWindow() = default;

    // The window's caption (the work's title, else its program file name).
    virtual QString caption() const = 0;
    // Its program runs.
    virtual bool running() const = 0;
    // Stops a running program, else starts it.
    virtual void toggleRun() = 0;
    // Stops its timers and hides it; the palette destroys it right after.
    virtual void close() = 0;

    // The title plate countdown of a window shown at its list size (list display); a window at
    // full size has no countdown and these are never asked.
    virtual bool atListSize() const { return false; }
    virtual bool plateVisible() const { return false; }
    virtual int plateCountdown() const { return 0; }
    virtual void setPlateCountdown(int) {}
    virtual void hidePlate() {}

    // ---- list display and the tour (each constant time plus a repaint) ----
    // `tourCount`: tour steps (100 ms each) since the window became the tour window;
    // ListLayout::kTourEnded once its program ended or could not start.
    int tourCount = 0;
    // Its work's `showFlag` is nonzero (an empty window counts as shown: it cannot start and is
    // passed over as ended).
    virtual bool showFlag() const { return true; }
    // The window is in sight (a window of a hidden work is not).
    virtual bool visible() const { return true; }
    virtual QPoint position() const { return {}; }
    virtual void moveTo(QPoint) {}
    // `zoomPercent`, and applyZoom at a new one.
    virtual int zoom() const { return 100; }
    virtual void setZoom(int) {}
    virtual ListPlace& listPlace() = 0;
    // Centred for growth (its bottom inside the exhibition area), and, with `clearOfWorks`, moved
    // right of a shown works panel as a shrinking window is.
    virtual void placeCentred(bool clearOfWorks) {}
    // `activateWindow`: it becomes the palette's current window.
    virtual void activate() {}
    // `runProgram` with two per-run counters cleared, as "全Run" starts it; `breakProgram`;
    // `restartProgram` (its program prepared again from the start).
    virtual void startRun() {}
    virtual void breakRun() {}
    virtual void restart() {}
    // Its title plate comes or goes; `widenPlate` gives it 16 pixels per character.
    virtual void setPlateShown(bool) {}
    virtual void widenPlate() {}
};
