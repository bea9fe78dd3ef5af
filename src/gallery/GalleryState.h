// The gallery's catalog position and one-display state without any window: the works list's
// current row, the deferred load of the gallery timer `TimerUpDown`, the fold, the stop flag, the
// last row, the alldisp= start sequence and the tour's requests to continue at another group. The gallery window calls tick() every 30 ms while timerOn() says so.
#pragma once

#include "Catalog.h"
#include "GalleryStage.h"
#include "WorksList.h"
#include "common/CoreTimer.h"

class GalleryState {
public:
    // Bits of `stopFlag`: which timer step failed.
    enum StopBits { StopGallery = 1, StopPalette = 2, StopProgram = 4, StopFrame = 8 };

    static constexpr int kTimerInterval = 30; // ms
    static constexpr int kAnnounceTextSize = 28;

    // `catalog` and `stage` must outlive the state. The catalog is read already.
    GalleryState(Catalog& catalog, GalleryStage& stage);

    // `announce`: the display form shows `text` on the work window or the gallery.
    void announce(const QString& text, int textSize, bool onWork) { stage_.announce(text, textSize, onWork); }

    // One display of the first work at or after `row`: announces "展示の準備中です" on the work
    // window and defers the load to the next tick. A row past the list is reported ("りすと一覧の
    // 表示(0)") and row 0 is used. Cost: constant.
    void showRow(int row);

    // The gallery timer's tick: the slide towards the scroll target, the deferred actions, the
    // display form's slide, the alldisp= sequence, the deferred load, a step of a growing or
    // shrinking list window and the tour's continuation at another group. A tick inside a tick
    // returns at once. A failure inside is reported ("ギャラリーでのトラブル発生 (1)") and ends the
    // program. Cost: a program load when one is pending, a group's loads when list display opens.
    void tick();
    // A gallery or palette step failed beyond repair: "再度の入館をお願いします。" ("ギャラリーでの
    // トラブル発生 (1)"); the caller stops its timer and ends the program. Cost: a message window.
    static void showTrouble();

    // A click or Space on the works list (toggle) or a selection by the program: folds the rows
    // around `row` and shows its work. A struck-through local source row is ignored; a remote
    // source without groups is fetched again. Cost: as showRow, plus a blocking fetch of a remote
    // source's groups while it has none.
    void selectRow(int row, bool toggle);

    // Makes `to` (source and group) current, or the next group when `to` has no source, and shows
    // its first work, or, in list display, the group's windows. The fold is cleared first. Cost: as showRow, plus a fetch of a new remote source.
    void moveToGroup(const CatalogEntry& to = {});
    // "↑": the previous group (the first source's first group stays), shown like moveToGroup.
    void moveToPreviousGroup();

    // The actions a tick does after an announcement was drawn (`pendingAction`).
    enum PendingAction { NoAction = 0, ToggleListDisplay = 1, Announced = 2, OpenAtelier = 3 };
    // Asks the next tick for `action`; the timer runs. Cost: constant.
    void requestAction(PendingAction action) {
        pendingAction_ = action;
        timer_.set(true);
    }
    int pendingAction() const { return pendingAction_; }

    // "次URL": the next source's row (wrapping) is selected without toggle.
    void nextSource();
    // "次集": the next group (wrapping over the sources) is selected without toggle.
    void nextGroup();
    // "頂" / "底": the list steps one row per tick to `row` and then selects it.
    void scrollTo(int row);

    // "▲" / "▼": the works panel starts sliding out when it is visible, in otherwise (20 pixels a
    // tick). Returns true when the panel is on its way in. Cost: constant.
    bool slideWorksList();
    // The window laid out or dragged the works panel to `top` with `height`: the slides start
    // from there. Whether it is in sight is the state's own (in sight at first). Cost: constant.
    void setWorksPanel(int top, int height) {
        worksPanel_.top = top;
        worksPanel_.height = height;
    }
    const WorksPanelPlace& worksPanel() const { return worksPanel_; }
    // One tick of a works panel slide of `slide` (positive in, negative out; 0 when it ends).
    // Cost: constant.
    static WorksPanelPlace slideStep(int& slide, WorksPanelPlace place);

    int currentRow() const { return currentRow_; }
    // The works list selects `row` without showing its work (a window showing that work was
    // activated); a row outside the list is ignored. Cost: constant.
    void selectShownRow(int row) {
        if (row >= 0 && row < rowCount()) currentRow_ = row;
    }
    int pendingRow() const { return pendingRow_; }
    int lastRow() const { return lastRow_; }
    int scrollTarget() const { return scrollTarget_; }
    int listFold() const { return listFold_; }
    int worksSlide() const { return worksSlide_; }
    int tickCount() const { return tickCount_; }
    bool timerOn() const { return timer_.on(); }
    // The gallery window's timer follows this switch (see TimerSwitch::listen).
    TimerSwitch& timer() { return timer_; }
    // The timer is needed again (something moves or waits).
    void startTimer() { timer_.set(true); }
    // The row of the current window's last run end (the work window's runEnded).
    void noteLastRow() { lastRow_ = currentRow_; }

    // `tourRequest`: 1 continues the tour at the next group, 3 at the catalog's current group,
    // on the next tick (which sets it to 2); the timer runs. Cost: constant.
    void requestTour(int request) {
        tourRequest_ = request;
        timer_.set(true);
    }
    int tourRequest() const { return tourRequest_; }
    // `alldisp=`: from the second tick on the ticks switch list display on (level 1), then all
    // works animating (2), then all programs running (3 and more). Cost: constant.
    void setAutoMode(int level) { autoModeLevel_ = level; }
    int autoModeLevel() const { return autoModeLevel_; }
    // A walk fetched a remote source's groups: the works list follows the new rows.
    void catalogRowsChanged() { stage_.rowsChanged(); }

    int stopFlag() const { return stopFlag_; }
    void setStopFlag(int flag) { stopFlag_ = flag; }

    Catalog& catalog() { return catalog_; }
    const WorksList& worksList() const { return list_; }

private:
    void tickSteps();
    void loadRow(int row);
    // The group that became current is marked and shown: its first work in one display, or its
    // windows in list display (at once, or on the next tick when not `atOnce`).
    void showGroup(bool atOnce);
    int rowCount() const { return catalog_.rowCount(); }

    Catalog& catalog_;
    GalleryStage& stage_;
    WorksList list_;
    int currentRow_ = 0;
    int pendingRow_ = -1;
    int pendingAction_ = NoAction;
    int lastRow_ = 0;
    int scrollTarget_ = -1;
    int listFold_ = 0;
    int worksSlide_ = 0;
    WorksPanelPlace worksPanel_;
    int tickCount_ = 0;
    int stopFlag_ = 0;
    int tourRequest_ = 0;
    int autoModeLevel_ = 0;
    int autoModeStage_ = 0; // bits of the automatic sequence done: 1 list display, 2 all animating
    bool timerBusy_ = false;
    TimerSwitch timer_;
};
