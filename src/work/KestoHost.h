// What a work window's widgets need from the gallery and the palette beyond what its runner asks
// of them (WorkPaletteSide, WorkGallerySide): the exhibition area it sits on, the gallery's top bar and works panel, the palette's
// memory of the corner panel shown last, and the palette's side of activating, closing, hovering
// and run toggling. Every call is cheap and returns at once; the defaults stand for a window with
// no gallery and no palette (a free window that is its own current window), so a host overrides
// only what it has.
#pragma once

#include "WorkGallerySide.h"
#include "WorkHost.h"
#include "WorkPaletteSide.h"

#include <QPoint>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include <optional>

class TFormKesto;

class KestoHost {
public:
    virtual ~KestoHost() = default;

    // ---- the runner's neighbours ----
    // The palette and the gallery the window's runner talks to; they outlive every window of
    // this host. By default one stand-in that shows nothing answers both. Cost: constant.
    virtual WorkPaletteSide& workPalette() { return standIn_; }
    virtual WorkGallerySide& workGallery() { return standIn_; }

    // ---- gallery ----
    // The gallery's home folder, where the programs of exec: charts are found; empty: the
    // work's own folder.
    virtual QString homeFolder() const { return {}; }
    // The program's help viewer for a tree window of a work: shown in its file-universe mode
    // inside `area` (the tree area), and taken out of the tree window again before that window
    // docks or goes. Without a gallery there is none to offer. Cost: showing the help file.
    virtual bool offersUniverseHelp() const { return false; }
    virtual void showUniverseHelp(QWidget*) {}
    virtual void releaseUniverseHelp() {}
    // The gallery's exhibition area (`PanelBase`): the parent of a docked window, of its title
    // plate and of its game pad. nullptr: there is no gallery and the window is free.
    virtual QWidget* exhibitionArea() const { return nullptr; }
    // The gallery window, whose size a floating window is centred against. nullptr: the screen.
    virtual QWidget* galleryWindow() const { return nullptr; }
    // Height of the gallery's top bar (`PanelTop`); a floating window stays below it.
    virtual int topBarHeight() const { return 40; }
    // The works panel on the exhibition area, in its coordinates; empty while it is hidden.
    virtual QRect worksPanelRect() const { return {}; }
    // Where the run image moves the mouse pointer to, in screen coordinates: left of the top
    // bar's `pTopRight` panel, 10 pixels below the gallery's top. None: the pointer stays.
    virtual std::optional<QPoint> topBarPointerSpot() const { return std::nullopt; }
    // True while the space gallery is shown; it then takes activation requests itself.
    virtual bool isSpaceGalleryShown() const { return false; }
    // The space gallery's handling of an activation request (only called while it is shown).
    virtual void spaceGalleryActivate(TFormKesto&) {}

    // ---- palette ----
    // The palette's current work window; nullptr when there is no palette (a lone window acts as
    // its own current window).
    virtual TFormKesto* currentWindow() const { return nullptr; }
    // The palette's side of `activateWindow`: the previous current window (when another one) is
    // greyed to RGB(48, 80, 80) and repainted, this window becomes current, the palette's
    // displays follow it (title, frame period, zoom, run button), the works list selects its row
    // and the works panel comes to the front. The window has already taken its frame colour,
    // switched its frame timer on and shown itself.
    virtual void windowActivated(TFormKesto&) {}
    // "×": the palette closes the window at its next step (`windowToClose`); the window must
    // not be destroyed inside this call.
    virtual void requestClose(TFormKesto&) {}
    // The run button of a window that ran before: the host announces "作品鑑賞を中断します"
    // (running) or "鑑賞の準備中です" (idle) at size 28 on the window, switches the gallery
    // timer on and sets `runToggleRequest`, so the toggle happens outside the click handler.
    virtual void requestRunToggle(TFormKesto&) {}
    // "♪": stops the palette's music player when it plays, else plays it.
    virtual void toggleMusic() {}
    // The window's zoom changed from the window ("≫", "≪"): the palette's `PanelCanvasZoom`
    // shows it when the window is its current one.
    virtual void zoomChanged(TFormKesto&) {}
    // The mouse moved over a window at its list size: the palette marks this work.
    virtual void windowHovered(TFormKesto&) {}
    // The window was resized: the gallery's display form sitting on it is fitted to it.
    virtual void windowResized(TFormKesto&) {}
    // The palette's music player window, placed 8 pixels right of the title plate at its top;
    // nullptr when there is none.
    virtual QWidget* musicPlayerWindow() const { return nullptr; }

    // The corner panel shown last in any work window (the palette keeps one for all windows).
    QPointer<QWidget> lastCornerPanel;

private:
    WorkHost standIn_;
};
