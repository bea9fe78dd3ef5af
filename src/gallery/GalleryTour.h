// The tour ("巡回") without windows: it brings each work forward, runs its program to the end,
// shrinks it back and moves on to the next work, group and source, in one display (showing the
// next row of the works list in the one window) or in list display (the next visible window of
// the group). The palette's timer calls step() every 100 ms while the palette's `tourWindow` is
// set; the gallery timer continues a tour at another group (`tourRequest`). The catalog walks
// are static functions so that they can be checked on a catalog alone.
#pragma once

#include "Catalog.h"
#include "GalleryState.h"
#include "ListLayout.h"
#include "PaletteModel.h"

#include <QString>

#include <functional>

// What the tour asks of the gallery window. Every call returns at once.
class TourStage {
public:
    virtual ~TourStage() = default;
    // The display form shows `text` over the gallery and the gallery timer runs.
    virtual void announceTour(const QString& text) = 0;
    // "巡■" in 0xA0 on 0xE0E0E0 while touring, "巡回" in 0xF000 on 0x302000 otherwise.
    virtual void showTourButton(bool touring) = 0;
    // List display is on (`displayFlags` bit 0).
    virtual bool listDisplay() const = 0;
};

class GalleryTour {
public:
    // Where a tour goes once a group has no further work: `request` 1 continues at the group
    // after `current`, 3 at `current` itself, 0 ends the tour.
    struct Continuation {
        CatalogEntry current;
        int request = 0;
    };

    // `palette`, `gallery` and `stage` must outlive the tour. Cost: constant.
    GalleryTour(PaletteModel& palette, GalleryState& gallery, TourStage& stage);

    // "巡回": ends a running tour; otherwise starts one at the current window (passed over at
    // once when its work is hidden). `byUser` announces the start and logs "%s:巡回開始."; the
    // gallery timer's continuation at another group does neither. Cost: constant.
    void toggle(bool byUser);
    // Ends the tour: announced, the tour window's program broken, "%s:巡回終了." logged.
    void end();
    // One 100-ms step (see the class comment). Cost: constant, or a walk over the catalog's rows
    // (fetching a remote source reached on the way) when a work ended.
    void step();
    // The window's program ended or could not start: the tour moves on from it.
    static void ended(PaletteWindow& window) { window.tourCount = ListLayout::kTourEnded; }

    bool active() const { return active_; }
    int phase() const { return phase_; }
    int startAt() const { return startAt_; }

    // One display: the next row after `row` whose work the tour shows — a work with a nonzero
    // `showFlag` in a group with a nonzero `tourFlag`; a remote source without groups on the way
    // is fetched (`fetched` hears it) and the walk goes on. -1 when there is none. Cost: linear
    // in the rows, plus the fetches.
    static int nextRow(Catalog& catalog, int row, const std::function<void()>& fetched = {});
    // Where the tour goes after the group of `at` ran out of works: the group moves on over
    // following groups the tour passes over; in list display, after a source's last group, the
    // next source (fetched if needed, no wrap to the first) and its first group become current,
    // to be toured at once (3) when that group is toured. Otherwise the first toured group after
    // it in its source asks to continue there (1). Cost: linear in the groups, plus a fetch.
    static Continuation continuation(Catalog& catalog, CatalogEntry at, bool listDisplay,
                                     const std::function<void()>& fetched = {});

private:
    // Takes `window` as the tour window; its phase starts from the beginning.
    void take(PaletteWindow* window, int count);
    void stepEnded(PaletteWindow& window);
    void moveOn(PaletteWindow& window);

    PaletteModel& palette_;
    GalleryState& gallery_;
    TourStage& stage_;
    bool active_ = false; // `tourActive`
    int phase_ = 0;       // `tourPhase`: 0 ended, 1 shrinking, 2 shrunk
    int startAt_ = 10;    // `tourStartAt`: the step at which the program starts
};
