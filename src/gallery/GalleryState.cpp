#include "GalleryState.h"

#include "common/ShowCheck.h"

#include <algorithm>

GalleryState::GalleryState(Catalog& catalog, GalleryStage& stage)
    : catalog_(catalog), stage_(stage), list_(catalog) {}

void GalleryState::showRow(int row) {
    stopFlag_ = 0;
    announce(QStringLiteral("展示の準備中です"), kAnnounceTextSize, true);
    if (row < 0) row = 0;
    if (row != currentRow_) {
        if (row >= rowCount()) {
            stage_.stopWorkTimers();
            showCheck(QStringLiteral("行範囲を超えています！"), QStringLiteral("りすと一覧の表示(0)"), 0);
            row = 0;
        }
        currentRow_ = row;
        stage_.rowsChanged();
    }
    // The load blocks; leaving it to the next tick lets the announcement be drawn first.
    pendingRow_ = row;
    timer_.set(true);
}

void GalleryState::tick() {
    ++tickCount_;
    guardedStep(timerBusy_, [this] { tickSteps(); }, [this] {
        stage_.hideDisplay();
        timer_.set(false);
        stopFlag_ = StopGallery;
        showTrouble();
        stage_.endProgram();
    });
}

void GalleryState::showTrouble() {
    showCheck(QStringLiteral("再度の入館をお願いします。"), QStringLiteral("ギャラリーでのトラブル発生 (1)"), 0);
}

void GalleryState::tickSteps() {
    if (scrollTarget_ >= 0) {
        currentRow_ += scrollTarget_ > currentRow_ ? 1 : scrollTarget_ < currentRow_ ? -1 : 0;
        stage_.rowsChanged();
        if (currentRow_ == scrollTarget_) {
            scrollTarget_ = -1;
            timer_.set(false);
            selectRow(currentRow_, false);
        }
        return;
    }
    bool keep = false;
    if (pendingAction_ == ToggleListDisplay || pendingAction_ == OpenAtelier) {
        const int action = pendingAction_;
        pendingAction_ = NoAction;
        action == ToggleListDisplay ? stage_.toggleListDisplay() : stage_.openAtelier();
        keep = true;
    }
    if (worksSlide_ != 0) {
        worksPanel_ = slideStep(worksSlide_, worksPanel_);
        stage_.placeWorksPanel(worksPanel_);
        keep = true;
    }
    keep = stage_.slideDisplay() || keep;
    if (autoModeLevel_ > 0 && tickCount_ == 2) {
        stage_.setDisplayText(QStringLiteral("「ヴィモラ・アート」全展示の準備中です"));
        stage_.toggleListDisplay();
        autoModeStage_ = 1;
        keep = true;
    } else if ((autoModeStage_ & 1) && autoModeLevel_ > 1) {
        stage_.togglePresentAll();
        autoModeStage_ = 2;
        keep = true;
    } else if ((autoModeStage_ & 2) && autoModeLevel_ > 2) {
        stage_.toggleRunAll();
        autoModeLevel_ = 0;
        keep = true;
    }
    if (pendingRow_ >= 0) {
        const int row = pendingRow_;
        pendingRow_ = -1;
        loadRow(row);
        keep = true; // "展示を始めます" is still to slide away
    }
    keep = stage_.stepListWindows(tickCount_ % 2 == 0) || keep;
    if (tourRequest_ == 1 || tourRequest_ == 3) {
        const bool here = tourRequest_ == 3;
        tourRequest_ = 2;
        moveToGroup(here ? CatalogEntry{catalog_.current.source, catalog_.current.group, nullptr} : CatalogEntry{});
        stage_.continueTour();
        keep = true;
    }
    timer_.set(keep);
}

void GalleryState::loadRow(int row) {
    int found = row;
    for (; found < rowCount(); ++found) {
        const CatalogEntry e = catalog_.rowToEntry(found);
        if (e.work) break;
        if (e.source && !e.group && e.source->groupCount >= 0 && e.source->groups.empty()) {
            catalog_.fetchSourceGroups(e.source);
            stage_.rowsChanged();
        }
    }
    if (found >= rowCount()) {
        stage_.stopWorkTimers();
        showCheck(QStringLiteral("行範囲を超えています！"), QStringLiteral("りすと一覧の表示(2)"), 0);
        found = 0;
    }
    currentRow_ = found;
    const CatalogEntry entry = catalog_.rowToEntry(found);
    catalog_.current = entry;
    stage_.rowsChanged();
    if (entry.group) stage_.markGroup(*entry.group);
    if (entry.work) stage_.loadWork(entry);
    stage_.setDisplayText(QStringLiteral("展示を始めます"));
    timer_.set(true);
}

void GalleryState::selectRow(int row, bool toggle) {
    stopFlag_ = 0;
    const CatalogEntry entry = catalog_.rowToEntry(row);
    if (!entry.source) return;
    // A remote source whose group list could not be fetched is tried again each time the visitor
    // chooses it (one message per attempt); a struck local source stays as it is.
    if (!entry.group && entry.source->groupCount < 0 && !entry.source->remote) return;
    currentRow_ = row;
    if (!entry.group && entry.source->groups.empty()) {
        catalog_.fetchSourceGroups(entry.source);
        if (entry.source->groups.empty()) currentRow_ = 0;
    }
    if (stage_.listDisplayOn()) {
        // Another group's row shows that group in list display; a row of the group selects its window.
        const CatalogEntry at = catalog_.rowToEntry(currentRow_);
        if (at.source != catalog_.current.source || (at.group && at.group != catalog_.current.group)) {
            acmdGroupInfo* group = at.group ? at.group : at.source->groups.empty() ? nullptr : at.source->groups.front().get();
            if (group) moveToGroup({at.source, group, nullptr});
        } else {
            stage_.rowsChanged();
            stage_.selectInList(at, row != lastRow_);
        }
        lastRow_ = row;
        timer_.set(true);
        return;
    }
    listFold_ = list_.foldAfterSelect(listFold_, row, toggle, true, catalog_.current.group);
    stage_.rowsChanged();
    showRow(currentRow_);
    lastRow_ = row;
    timer_.set(true);
}

void GalleryState::moveToGroup(const CatalogEntry& to) {
    listFold_ = 0;
    if (to.source)
        catalog_.current = {to.source, to.group, nullptr};
    else
        catalog_.moveToNextGroup();
    showGroup(true);
}

void GalleryState::moveToPreviousGroup() {
    listFold_ = 0;
    catalog_.moveToPreviousGroup();
    showGroup(false);
}

void GalleryState::showGroup(bool atOnce) {
    if (catalog_.current.group) stage_.markGroup(*catalog_.current.group);
    const int row = catalog_.entryToRow(catalog_.current.source, catalog_.current.group);
    if (!stage_.listDisplayOnGroupChange(atOnce)) {
        showRow(row);
    } else {
        currentRow_ = std::max(row, 0);
        stage_.rowsChanged();
        if (!atOnce) requestAction(ToggleListDisplay);
    }
    lastRow_ = 0;
}

void GalleryState::nextSource() {
    acmdURLinfo* source = catalog_.nextSource(catalog_.current.source);
    if (!source) return;
    catalog_.current = {source, nullptr, nullptr};
    selectRow(catalog_.entryToRow(source), false);
}

void GalleryState::nextGroup() {
    const CatalogEntry next = catalog_.nextGroupEntry(catalog_.current);
    if (!next.source) return;
    catalog_.current = next;
    selectRow(catalog_.entryToRow(next.source, next.group), false);
}

void GalleryState::scrollTo(int row) {
    if (row < 0 || row >= rowCount()) return;
    scrollTarget_ = row;
    timer_.set(true);
}

bool GalleryState::slideWorksList() {
    worksSlide_ = worksPanel_.visible ? -worksPanel_.height : worksPanel_.height;
    timer_.set(true);
    return !worksPanel_.visible;
}

WorksPanelPlace GalleryState::slideStep(int& slide, WorksPanelPlace place) {
    constexpr int kStep = 20;
    if (slide > 0) {
        if (!place.visible) {
            place.top = -place.height;
            place.visible = true;
        } else if (place.top < -kStep) {
            place.top += kStep;
        } else {
            place.top = 1;
            slide = 0;
        }
    } else if (slide < 0) {
        if (place.top > kStep - place.height) {
            place.top -= kStep;
        } else {
            place.visible = false;
            slide = 0;
        }
    }
    return place;
}
