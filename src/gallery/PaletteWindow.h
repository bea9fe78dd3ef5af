// What the palette needs of one work window, so that its window list and timer step work without
// widgets: the gallery wraps each work window in one; tests use plain objects.
#pragma once

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
};
