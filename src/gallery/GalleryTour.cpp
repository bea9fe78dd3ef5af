#include "GalleryTour.h"

namespace {

constexpr int kOneDisplayStart = 10;  // the first work's program starts after 1 s in one display
constexpr int kListDisplayStart = 30; // ... after 3 s in list display
constexpr int kLaterStart = 20;       // every later work's after 2 s
constexpr int kGrowFrom = 10;         // the window grows from the eleventh step on

} // namespace

GalleryTour::GalleryTour(PaletteModel& palette, GalleryState& gallery, TourStage& stage)
    : palette_(palette), gallery_(gallery), stage_(stage) {}

void GalleryTour::take(PaletteWindow* window, int count) {
    palette_.tourWindow = window;
    if (!window) return;
    window->tourCount = count;
    // A window taken after another one starts its own end from the first phase: left at the
    // shrunk phase, it would be passed over without shrinking back.
    phase_ = 0;
}

void GalleryTour::toggle(bool byUser) {
    if (palette_.tourWindow) {
        end();
        return;
    }
    if (byUser) {
        stage_.announceTour(QStringLiteral("「ヴィモラ・アート」の巡回を開始します"));
        palette_.addLogLine(PaletteLog::TourStarted);
    }
    stage_.showTourButton(true);
    if (PaletteWindow* current = palette_.currentWindow())
        take(current, current->showFlag() ? 0 : ListLayout::kTourEnded);
    else
        take(palette_.firstWindow(), 0);
    active_ = true;
    if (stage_.listDisplay()) {
        startAt_ = kListDisplayStart;
    } else {
        startAt_ = kOneDisplayStart;
        if (PaletteWindow* current = palette_.currentWindow()) {
            ListPlace& place = current->listPlace();
            place.savedLeft = current->position().x();
            place.savedTop = current->position().y();
            place.savedZoom = 100;
            current->setZoom(100);
        }
    }
}

void GalleryTour::end() {
    stage_.announceTour(QStringLiteral("「ヴィモラ・アート」の巡回を終了します"));
    stage_.showTourButton(false);
    active_ = false;
    PaletteWindow* window = palette_.tourWindow;
    palette_.tourWindow = nullptr;
    if (window) window->breakRun();
    palette_.addLogLine(PaletteLog::TourEnded);
}

void GalleryTour::step() {
    PaletteWindow* window = palette_.tourWindow;
    if (!window) return;
    if (!active_ && window->running()) {
        window->breakRun();
        window->tourCount = ListLayout::kTourEnded;
        phase_ = 0;
    }
    if (window->tourCount == ListLayout::kTourEnded) stepEnded(*window);
    window = palette_.tourWindow;
    if (window && window->tourCount == startAt_) {
        window->activate();
        window->setZoom(100);
        window->startRun();
        window->setPlateShown(true);
    }
    if (window && window->tourCount < ListLayout::kTourEnded - 1) {
        if (window->tourCount == 0) {
            window->activate();
            window->widenPlate();
        }
        if (window->zoom() < 100 && window->tourCount > kGrowFrom) {
            // Out of the list first: the plate is placed for a full-size window as it grows.
            window->listPlace().smallInList = false;
            window->setZoom(ListLayout::tourGrownZoom(window->zoom()));
            window->placeCentred(false);
        }
        ++window->tourCount;
    }
    if (!palette_.tourWindow) end();
}

// The program ended: the plate goes, the window shrinks back to its place, then the tour moves on.
void GalleryTour::stepEnded(PaletteWindow& window) {
    ListPlace& place = window.listPlace();
    switch (phase_) {
    case 0:
        phase_ = 1;
        window.setPlateShown(false);
        return;
    case 1:
        if (place.savedZoom < window.zoom()) {
            window.setZoom(ListLayout::tourShrunkZoom(window.zoom()));
            window.placeCentred(true);
        }
        if (window.zoom() <= place.savedZoom) phase_ = 2;
        return;
    default:
        moveOn(window);
    }
}

void GalleryTour::moveOn(PaletteWindow& window) {
    const bool list = stage_.listDisplay();
    ListPlace& place = window.listPlace();
    window.moveTo(QPoint(place.savedLeft, place.savedTop));
    window.setZoom(list || active_ ? place.savedZoom : 100);
    if (list) place.smallInList = true;
    window.tourCount = 0;
    bool found = false;
    if (active_) {
        if (list) {
            PaletteWindow* next = palette_.nextWindow(&window);
            while (next && !next->visible()) next = palette_.nextWindow(next);
            if (next) {
                take(next, 0);
                next->restart();
                found = true;
            }
        } else {
            Catalog& catalog = gallery_.catalog();
            const int row = nextRow(catalog, gallery_.currentRow(), [this] { gallery_.catalogRowsChanged(); });
            if (row >= 0) {
                gallery_.showRow(row);
                take(&window, 0);
                found = true;
            }
        }
    }
    if (!found) {
        window.setZoom(list ? place.savedZoom : 100);
        palette_.tourWindow = nullptr;
        Catalog& catalog = gallery_.catalog();
        const Continuation next = continuation(catalog, catalog.current, list, [this] { gallery_.catalogRowsChanged(); });
        if (next.request != 0) {
            catalog.current = next.current;
            gallery_.requestTour(next.request);
        }
    }
    if (!active_) palette_.tourWindow = nullptr;
    if (palette_.tourWindow) palette_.tourWindow->tourCount = 0;
    startAt_ = kLaterStart;
}

int GalleryTour::nextRow(Catalog& catalog, int row, const std::function<void()>& fetched) {
    for (int r = std::max(row + 1, 0); r < catalog.rowCount(); ++r) {
        const CatalogEntry e = catalog.rowToEntry(r);
        if (e.work) {
            if (e.group->tourFlag != 0 && e.work->showFlag != 0) return r;
        } else if (!e.group && e.source->groups.empty() && catalog.fetchSourceGroups(e.source) > 0 && fetched) {
            fetched();
        }
    }
    return -1;
}

GalleryTour::Continuation GalleryTour::continuation(Catalog& catalog, CatalogEntry at, bool listDisplay,
                                                    const std::function<void()>& fetched) {
    Continuation next{{at.source, at.group, nullptr}, 0};
    if (!at.source || !at.group) return next;
    const auto groupAfter = [](const acmdGroupInfo* g) { return g->source->groups[g->index + 1].get(); };
    // Groups the tour passes over are passed here too: continuing at one would show its works.
    acmdGroupInfo* group = at.group;
    while (group->hasNext() && groupAfter(group)->tourFlag == 0) group = groupAfter(group);
    next.current.group = group;
    if (listDisplay) {
        if (!group->hasNext()) {
            const size_t after = static_cast<size_t>(at.source->index) + 1;
            if (after < catalog.sources().size()) {
                acmdURLinfo* source = catalog.sources()[after].get();
                if (source->groups.empty() && catalog.fetchSourceGroups(source) > 0 && fetched) fetched();
                if (!source->groups.empty()) {
                    next.current = {source, source->groups.front().get(), nullptr};
                    if (next.current.group->tourFlag != 0) next.request = 3;
                }
            }
        }
    }
    if (next.request != 3) {
        for (const acmdGroupInfo* g = next.current.group; g->hasNext(); g = groupAfter(g))
            if (groupAfter(g)->tourFlag != 0) {
                next.request = 1;
                break;
            }
    }
    return next;
}
