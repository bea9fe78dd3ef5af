#include "ListDisplay.h"

#include "GalleryWidgets.h"
#include "ListLayout.h"
#include "TfVimora.h"
#include "WorkWindowLink.h"
#include "common/ShowCheck.h"
#include "work/KestoGeometry.h"
#include "work/KestoTitlePlate.h"
#include "work/TFormKesto.h"

#include <QPushButton>

#include <algorithm>
#include <limits>
#include <vector>

namespace {

constexpr int kDisplayed = 1;  // `displayFlags` bit 0: list display is on
constexpr int kAllCreated = 2; // bit 1: the group's windows exist
constexpr int kInteraction = 30;

std::vector<WorkWindowLink*> links(const PaletteModel& model) {
    std::vector<WorkWindowLink*> all;
    for (PaletteWindow* w = model.firstWindow(); w; w = model.nextWindow(w)) all.push_back(static_cast<WorkWindowLink*>(w));
    return all;
}

} // namespace

ListDisplay::ListDisplay(TfVimora& gallery) : g_(gallery) {}

PaletteModel& ListDisplay::model() const { return g_.palette().model(); }

// A palette not built yet has never shown a list.
bool ListDisplay::on() const { return g_.palette_ && (model().displayFlags & kDisplayed); }

void ListDisplay::toggle() {
    if (on()) {
        g_.setDisplayText(QStringLiteral("「ヴィモラ・アート」を１展示に戻します"));
        g_.PanelAllDisplay->setText(QStringLiteral("全展示"));
        for (QPushButton* b : {g_.PanelAllActive, g_.PanelWide, g_.PanelNarrow}) b->hide();
        g_.palette().showGoOut(false);
        close();
    } else {
        g_.setDisplayText(QStringLiteral("fine display of 「Vimora Art」"));
        g_.PanelAllDisplay->setText(QStringLiteral("１展示"));
        g_.PanelWide->show();
        g_.PanelNarrow->show();
        open();
        g_.palette().showGoOut(true);
    }
    g_.state().startTimer();
}

void ListDisplay::open() {
    PaletteModel& m = model();
    if (!(m.displayFlags & kAllCreated)) createGroupWindows();
    m.displayFlags |= kDisplayed;
    g_.windowCountChanged(m.countWindows());
    const int available = ListLayout::availableWidth(g_.PanelBase->width());
    m.listZoomWidth = ListLayout::startZoomWidth(available);
    layout(available, ListLayout::kMinZoom);
    const std::vector<WorkWindowLink*> all = links(m);
    const auto shown = std::find_if(all.begin(), all.end(), [](WorkWindowLink* l) { return l->visible(); });
    if (shown != all.end())
        (*shown)->kesto().activateWindow();
    else
        showCheck(QStringLiteral("１展示に戻すか、他のグループに移動してください。"),
                  QStringLiteral("このグループには一覧表示設定のヴィモラはありません！"), 0);
}

void ListDisplay::createGroupWindows() {
    PaletteModel& m = model();
    Catalog& catalog = *g_.catalog_;
    CatalogEntry at = catalog.current;
    if (!at.group && at.source && !at.source->groups.empty()) at.group = at.source->groups.front().get();
    if (!at.group || at.group->works.empty()) return;
    g_.workWindow().runner().close();
    const std::vector<WorkWindowLink*> old = links(m);
    WorkWindowLink* first = nullptr;
    WorkWindowLink* newest = nullptr;
    for (const auto& work : at.group->works) {
        newest = g_.palette().linkOf(g_.palette().createWindow());
        if (!first) first = newest;
        loadInto(*newest, {at.source, at.group, work.get()});
    }
    for (WorkWindowLink* w : old) m.closeWindow(w);
    m.setCurrentWindow(newest);
    g_.palette().followWindow(newest->kesto());
    first->restart();
    m.displayFlags |= kAllCreated;
}

void ListDisplay::loadInto(WorkWindowLink& link, const CatalogEntry& entry) {
    TFormKesto& window = link.kesto();
    WorkRunner& runner = window.runner();
    link.entry = entry;
    const WorkLocation where = Catalog::locateWork(*entry.source, *entry.group, *entry.work);
    uint32_t fetched = 0;
    const bool loaded = window.openWork(where.folder, where.fileName, &fetched);
    if (where.remote) entry.work->fetchedBytes = int(std::min<uint32_t>(fetched, std::numeric_limits<int>::max()));
    window.setWindowTitle(entry.work->title);
    model().addLogLine(PaletteLog::Shown, entry.work->title);
    if (loaded && !runner.animation().characters.empty()) {
        const std::optional<QString>& theme = runner.animation().theme;
        window.setTitleText(theme ? *theme : QString());
        runner.switchFrameTimer(true);
        // Only the current work keeps animating; the others draw their first frames before their
        // timers stop, so that every window shows its work.
        runner.setInteractionCountdown(kInteraction);
        g_.palette().showCommandLine(QStringLiteral(" Kesto Basic"));
    } else {
        g_.palette().showCommandLine(QStringLiteral(" ヴィモラデータは設定されていません！"));
        runner.close();
    }
    ListPlace& place = runner.listPlace();
    place.smallInList = true;
    place.savedZoom = runner.zoomPercent();
    place.savedLeft = window.x();
    place.savedTop = window.y();
    window.setVisible(link.showFlag());
}

void ListDisplay::layout(int available, int minZoom) {
    PaletteModel& m = model();
    const std::vector<WorkWindowLink*> all = links(m);
    std::vector<ListLayout::Item> items;
    for (WorkWindowLink* l : all)
        items.push_back({l->showFlag(), ListLayout::scaledSize(l->runner().baseSize(), 100)});
    const int top = ListLayout::firstRowTop(g_.palette().isVisible(), !g_.palette().narrow());
    const std::vector<ListLayout::Cell> cells = ListLayout::layout(items, available, minZoom, m.listZoomWidth, top);
    for (size_t i = 0; i < all.size(); ++i) {
        TFormKesto& window = all[i]->kesto();
        if (!cells[i].shown) {
            window.hide();
            continue;
        }
        ListPlace& place = window.runner().listPlace();
        place.smallInList = true;
        place.savedZoom = cells[i].zoom;
        place.savedLeft = cells[i].rect.x();
        place.savedTop = cells[i].rect.y();
        window.move(cells[i].rect.topLeft());
        window.setZoom(cells[i].zoom);
        window.show();
    }
    g_.palette().followWindow(g_.workWindow());
    g_.palette().raise();
}

void ListDisplay::narrow() {
    model().listZoomWidth = ListLayout::narrowed(model().listZoomWidth);
    layout(g_.PanelBase->width(), ListLayout::kMinZoom);
}

void ListDisplay::widen() {
    model().listZoomWidth = ListLayout::widened(model().listZoomWidth);
    layout(g_.PanelBase->width(), ListLayout::kMinZoom);
}

void ListDisplay::close() {
    PaletteModel& m = model();
    if (m.presentAll) togglePresentAll(); // its button goes with list display
    auto* current = static_cast<WorkWindowLink*>(m.currentWindow());
    closeAllBut(current);
    TFormKesto& window = current->kesto();
    if (current->entry.work) {
        g_.state().selectShownRow(g_.catalog_->entryToRow(current->entry.source, current->entry.group, current->entry.work));
        g_.state().noteLastRow();
    }
    current->setZoom(100);
    window.centreInGallery();
    window.runner().listPlace().smallInList = false;
    window.show();
    window.activateWindow();
    m.displayFlags = 0;
    g_.windowCountChanged(m.countWindows());
}

void ListDisplay::closeAllBut(WorkWindowLink* keep) {
    PaletteModel& m = model();
    if (!keep) keep = g_.palette().linkOf(g_.palette().createWindow());
    g_.palette().resetMusic();
    for (WorkWindowLink* w : links(m))
        if (w != keep) m.closeWindow(w);
    m.setCurrentWindow(keep);
    g_.palette().followWindow(keep->kesto());
}

bool ListDisplay::groupChanged(bool atOnce) {
    PaletteModel& m = model();
    if (!on()) {
        if (m.displayFlags & kAllCreated) closeAllBut(nullptr);
        m.displayFlags = 0;
        return false;
    }
    if (m.presentAll) togglePresentAll();
    if (m.runAll) toggleRunAll();
    closeAllBut(nullptr);
    if (atOnce && g_.state().worksPanel().visible) g_.slideWorksList();
    m.displayFlags = 0;
    g_.announce(QStringLiteral("「ヴィモラ・アート」の展示作業中です"), 0, false);
    if (atOnce) toggle();
    return true;
}

void ListDisplay::select(const CatalogEntry& entry, bool rowChanged) {
    PaletteModel& m = model();
    const std::vector<WorkWindowLink*> all = links(m);
    const auto found = std::find_if(all.begin(), all.end(), [&](WorkWindowLink* l) { return entry.work && l->entry.work == entry.work; });
    if (found == all.end()) return;
    WorkWindowLink* link = *found;
    auto* previous = static_cast<WorkWindowLink*>(m.currentWindow());
    TFormKesto& window = link->kesto();
    window.runner().setInteractionCountdown(kInteraction);
    // A window of a hidden work stays hidden: it becomes current without coming into sight.
    if (!link->visible()) {
        m.setCurrentWindow(link);
        g_.palette().followWindow(window);
        return;
    }
    window.activateWindow();
    if (rowChanged && previous && previous != link && !previous->atListSize()) zoomOut_ = &previous->kesto();
    zoomIn_ = &window;
    window.raise();
    g_.state().startTimer();
}

bool ListDisplay::step(bool evenTick) {
    if (!zoomIn_ && !zoomOut_) return false;
    if (!evenTick) return true;
    if (zoomIn_) growOneStep(*zoomIn_);
    if (zoomOut_) shrinkOneStep(*zoomOut_);
    return true;
}

void ListDisplay::growOneStep(TFormKesto& window) {
    WorkRunner& runner = window.runner();
    if (runner.zoomPercent() > 99) {
        // At full size the plate goes below the window, with the work's title in its own size.
        runner.listPlace().smallInList = false;
        window.setTitlePlateVisible(true);
        runner.placeTitlePlate();
        if (KestoTitlePlate* plate = window.titlePlate()) plate->raise();
        zoomIn_ = nullptr;
        return;
    }
    const int zoom = ListLayout::grownZoom(runner.zoomPercent());
    if (zoom == 100) window.setPlateCharacterWidth(TFormKesto::kLonePlateCharacterWidth);
    g_.palette().linkOf(window)->setZoom(zoom);
    g_.palette().linkOf(window)->placeCentred(false);
    window.raise();
}

void ListDisplay::shrinkOneStep(TFormKesto& window) {
    WorkRunner& runner = window.runner();
    ListPlace& place = runner.listPlace();
    // In list display the window stops at its list size, where it returns to its place anyway.
    const int target = on() ? std::max(ListLayout::kShrinkTarget, place.savedZoom) : ListLayout::kShrinkTarget;
    WorkWindowLink* link = g_.palette().linkOf(window);
    if (target < runner.zoomPercent()) {
        link->setZoom(std::max(ListLayout::shrunkZoom(runner.zoomPercent()), target));
        link->placeCentred(true);
        return;
    }
    place.smallInList = true;
    if (on()) {
        link->setZoom(place.savedZoom);
        window.move(place.savedLeft, place.savedTop);
        window.setPlateCharacterWidth(TFormKesto::kPlateCharacterWidth);
    } else {
        window.setTitlePlateVisible(false);
        window.hide();
    }
    zoomOut_ = nullptr;
}

void ListDisplay::runToggled(TFormKesto& window, bool starting) {
    if (!on()) return;
    const bool small = window.runner().listPlace().smallInList;
    if (starting && small) zoomIn_ = &window;
    else if (!starting && !small) zoomOut_ = &window;
    else return;
    g_.state().startTimer();
}

void ListDisplay::windowClosing(TFormKesto& window) {
    if (zoomIn_ == &window) zoomIn_ = nullptr;
    if (zoomOut_ == &window) zoomOut_ = nullptr;
}

void ListDisplay::togglePresentAll() {
    PaletteModel& m = model();
    m.presentAll = !m.presentAll;
    g_.PanelAllActive->setText(m.presentAll ? QStringLiteral("１発表") : QStringLiteral("全発表"));
    g_.PanelAllRun->setVisible(m.presentAll);
    for (WorkWindowLink* l : links(m)) {
        if (m.presentAll || l == m.currentWindow()) l->runner().switchFrameTimer(!l->runner().animation().characters.empty());
        else l->runner().switchFrameTimer(false);
        l->runner().setInteractionCountdown(kInteraction);
    }
}

void ListDisplay::toggleRunAll() {
    PaletteModel& m = model();
    const std::vector<WorkWindowLink*> all = links(m);
    if (!m.runAll) {
        m.runAll = true;
        for (WorkWindowLink* l : all) {
            l->runner().resetCamera(false);
            l->startRun();
        }
        if (!all.empty()) {
            m.setCurrentWindow(all.front());
            g_.palette().followWindow(all.front()->kesto());
        }
        GalleryWidgets::colourButton(g_.PanelAllRun, GalleryWidgets::kButtonColour, 0x4040F0);
        g_.PanelAllRun->setText(QStringLiteral("全 ■"));
    } else {
        for (WorkWindowLink* l : all) l->breakRun();
        m.runAll = false;
        GalleryWidgets::colourButton(g_.PanelAllRun, GalleryWidgets::kButtonColour, 0xFF00);
        g_.PanelAllRun->setText(QStringLiteral("全Run"));
    }
}
