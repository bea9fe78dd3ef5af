// List display ("全展示") on the gallery window: one work window per work of the current group,
// loaded at once and laid out in rows at reduced size (ListLayout), a selected window growing to
// full size and shrinking back on the gallery timer, "≪" / "≫", and the switches "全発表" (all
// works animate) and "全Run" (all programs run). The display state lives in the palette's model
// (`displayFlags`, `listZoomWidth`, `presentAll`, `runAll`); this class acts on the gallery's
// windows and buttons.
#pragma once

#include "Catalog.h"

class PaletteModel;
class TFormKesto;
class TfVimora;
class WorkWindowLink;

class ListDisplay {
public:
    // `gallery` must outlive the list display. Cost: constant.
    explicit ListDisplay(TfVimora& gallery);

    // `displayFlags` bit 0.
    bool on() const;
    // `toggleListDisplay`: back to one display (all windows but the current one close), or list
    // display of the current group. Cost: loading every work of the group when it opens.
    void toggle();
    // `layoutListDisplay`: the shown windows in rows within `available` pixels. Cost: linear in
    // the windows.
    void layout(int available, int minZoom);
    // "≪" / "≫": the list is laid out again 10 pixels narrower or wider per work.
    void narrow();
    void widen();
    // The group changed: its windows close; in list display the new group's windows open (at
    // once with `atOnce`). False in one display. Cost: as toggle.
    bool groupChanged(bool atOnce);
    // A click on the works list in list display: the window of `entry` becomes current and grows
    // (the previous one shrinks when the row changed). Cost: constant.
    void select(const CatalogEntry& entry, bool rowChanged);
    // One growing or shrinking step (even ticks only); true while one grows or shrinks.
    bool step(bool evenTick);
    // The run of `window` was toggled from its window or the palette: in list display it grows
    // before a start and shrinks after a stop.
    void runToggled(TFormKesto& window, bool starting);
    // The window goes: it neither grows nor shrinks any more.
    void windowClosing(TFormKesto& window);
    // "全発表" / "１発表" and "全Run" / "全 ■".
    void togglePresentAll();
    void toggleRunAll();

    TFormKesto* growing() const { return zoomIn_; }
    TFormKesto* shrinking() const { return zoomOut_; }

private:
    void open();
    void close();
    void createGroupWindows();
    void loadInto(WorkWindowLink& link, const CatalogEntry& entry);
    // Closes every window but `keep` (a fresh empty one when none). Cost: linear in the windows.
    void closeAllBut(WorkWindowLink* keep);
    PaletteModel& model() const;
    void growOneStep(TFormKesto& window);
    void shrinkOneStep(TFormKesto& window);

    TfVimora& g_;
    TFormKesto* zoomIn_ = nullptr;  // `zoomInWindow`
    TFormKesto* zoomOut_ = nullptr; // `zoomOutWindow`
};
