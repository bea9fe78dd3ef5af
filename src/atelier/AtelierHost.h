// What the Atelier needs of the gallery and its palette: the current work window, the exhibition
// area it sits on, the palette's chooser load and refresh, and the gallery's side of closing.
// The gallery implements it; tests use a lone work window.
#pragma once

#include <QString>

class QWidget;
class TFormKesto;

class AtelierHost {
public:
    virtual ~AtelierHost() = default;

    // The palette's current work window, the one the Atelier edits; nullptr when there is none.
    virtual TFormKesto* currentWindow() const = 0;
    // The gallery's exhibition area; nullptr: the Atelier always floats.
    virtual QWidget* exhibitionArea() const { return nullptr; }
    // Bottom edge of the palette on the exhibition area (the Atelier stands 20 pixels below it).
    virtual int paletteBottom() const { return 0; }
    // The home folder ending with "/", where the `atelier/` data files are.
    virtual QString homeFolder() const = 0;
    // The folder the program choosers start in; follows every choice.
    virtual QString& chooserFolder() = 0;
    // The palette's `loadByChooser`: drops the window's title text and chart, lets the user choose
    // an acmd file and loads it, and shows its title. True when a program was loaded. Blocks
    // while the chooser is open.
    virtual bool loadByChooser(TFormKesto& window) = 0;
    // The palette refreshes the work (a program was saved while the Atelier was open).
    virtual void refreshWork(TFormKesto&) {}
    // The palette shows (or hides) every work window.
    virtual void showAllWindows(bool) {}
    // The Atelier closed: the gallery announces it and shows its top bar and works list again.
    virtual void atelierClosed() {}
};
