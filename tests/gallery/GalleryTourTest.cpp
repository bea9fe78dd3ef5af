#include "CatalogFixture.h"
#include "gallery/GalleryTour.h"

#include <gtest/gtest.h>

namespace {

// A work window as the tour sees it: where it stands, its zoom, its plate and its run.
class TourWindow : public PaletteWindow {
public:
    explicit TourWindow(QString name, bool shown = true) : shown(shown), name_(std::move(name)) {}
    QString caption() const override { return name_; }
    bool running() const override { return run; }
    void toggleRun() override { run = !run; }
    void close() override {}
    bool showFlag() const override { return shown; }
    bool visible() const override { return shown; }
    QPoint position() const override { return at; }
    void moveTo(QPoint to) override { at = to; }
    int zoom() const override { return zoomPercent; }
    void setZoom(int percent) override { zoomPercent = percent; }
    ListPlace& listPlace() override { return place; }
    void placeCentred(bool clearOfWorks) override { at = clearOfWorks ? QPoint(700, 300) : QPoint(500, 300); }
    void activate() override { ++activations; }
    void startRun() override { run = true, ++starts; }
    void breakRun() override { run = false, ++breaks; }
    void restart() override { ++restarts; }
    void setPlateShown(bool on) override { plate = on; }
    void widenPlate() override { widePlate = true; }

    // The work's program ends by itself.
    void endRun() {
        run = false;
        GalleryTour::ended(*this);
    }

    bool shown = true, run = false, plate = false, widePlate = false;
    int zoomPercent = 100, activations = 0, starts = 0, breaks = 0, restarts = 0;
    QPoint at{300, 200};
    ListPlace place;

private:
    QString name_;
};

class QuietGallery : public GalleryStage {
public:
    void announce(const QString&, int, bool) override {}
    void setDisplayText(const QString&) override {}
    void hideDisplay() override {}
    bool slideDisplay() override { return false; }
    bool loadWork(const CatalogEntry&) override { return true; }
    void stopWorkTimers() override {}
    void markGroup(const acmdGroupInfo&) override {}
    void rowsChanged() override {}
    void placeWorksPanel(const WorksPanelPlace&) override {}
    void endProgram() override {}
};

class LogLines : public PaletteStage {
public:
    void appendLogLine(const QString& line) override { lines << line; }
    void endProgram() override {}
    QStringList lines;
};

class RecordingTourStage : public TourStage {
public:
    void announceTour(const QString& text) override { announced << text; }
    void showTourButton(bool on) override { touring = on; }
    bool listDisplay() const override { return list; }
    QStringList announced;
    bool touring = false, list = false;
};

// The tour over two sources (see writeTwoSourceHome): rows 2, 4 (first source, first group),
// 11 and 13 (second source, first group) are toured; hidden works and the groups left out of
// the tour are passed over.
class Tour : public ::testing::Test {
protected:
    void SetUp() override {
        installed.emplace(&messages);
        catalog.readSources();
    }
    TourWindow& add(const QString& name, bool shown = true) {
        return static_cast<TourWindow&>(palette.addWindow(std::make_unique<TourWindow>(name, shown)));
    }
    // Steps until `done` holds; the number of steps taken, or -1 after `limit`.
    template <typename Done>
    int stepUntil(Done done, int limit = 200) {
        for (int steps = 1; steps <= limit; ++steps) {
            tour.step();
            if (done()) return steps;
        }
        return -1;
    }
    bool logged(const QString& text) const { return log.lines.filter(text).size() == 1; }
    // The gallery's tick loads the row the tour showed: the catalog's position follows it.
    int shownRow() {
        const int row = state.pendingRow();
        state.tick();
        return row;
    }

    TempFolder home;
    RecordingCheckSink messages;
    std::optional<ScopedCheckSink> installed;
    QuietGallery gallery;
    Catalog catalog{writeTwoSourceHome(home)};
    GalleryState state{catalog, gallery};
    LogLines log;
    PaletteModel palette{state, log, QSize(1600, 1000)};
    RecordingTourStage stage;
    GalleryTour tour{palette, state, stage};
};

TEST_F(Tour, TheNextRowPassesHiddenWorksAndGroupsLeftOutOfTheTour) {
    const struct { int from, next; } cases[] = {
        {-1, 2}, {0, 2}, {2, 4}, {4, 11}, {5, 11}, {11, 13}, {13, -1}, {17, -1},
    };
    for (const auto& c : cases) EXPECT_EQ(GalleryTour::nextRow(catalog, c.from), c.next) << c.from;
}

TEST_F(Tour, AGroupThatRanOutContinuesAtTheNextToured) {
    const auto at = [&](int source, int group) {
        acmdURLinfo* s = catalog.sources()[source].get();
        return CatalogEntry{s, s->groups[group].get(), nullptr};
    };
    const struct { const char* name; CatalogEntry from; bool list; CatalogEntry to; int request; } cases[] = {
        // One display walks the rows itself: nothing follows the groups left out.
        {"one display, the rest left out", at(0, 0), false, at(0, 1), 0},
        {"list display goes on at the next source", at(0, 0), true, at(1, 0), 3},
        {"list display after the last source", at(1, 0), true, at(1, 1), 0},
    };
    for (const auto& c : cases) {
        const GalleryTour::Continuation next = GalleryTour::continuation(catalog, c.from, c.list);
        EXPECT_EQ(next.current, c.to) << c.name;
        EXPECT_EQ(next.request, c.request) << c.name;
    }

    // A group left out between two toured ones: the tour continues after it, at the toured one.
    TempFolder three;
    three.write("url.txt", catalogBytes({u"館,local"_qs}));
    three.write("group.txt", catalogBytes({u"g1,一,1"_qs, u"g2,二,0"_qs, u"g3,三,1"_qs}));
    for (const char* g : {"g1", "g2", "g3"}) three.write(QString(g) + "/anime.txt", catalogBytes({u"作,a.acmd"_qs}));
    Catalog groups(three.path() + u'/');
    groups.readSources();
    acmdURLinfo* source = groups.firstSource();
    for (bool list : {false, true}) {
        const GalleryTour::Continuation next =
            GalleryTour::continuation(groups, {source, source->groups[0].get(), nullptr}, list);
        EXPECT_EQ(next.current.group, source->groups[1].get()) << list;
        EXPECT_EQ(next.request, 1) << list;
    }
}

TEST_F(Tour, OneDisplayShowsEveryTouredRowRunsItAndEndsAfterTheLast) {
    TourWindow& window = add(u"一"_qs);
    state.selectShownRow(2);
    tour.toggle(true);
    EXPECT_TRUE(logged(u":巡回開始."_qs));
    EXPECT_EQ(stage.announced, QStringList{u"「ヴィモラ・アート」の巡回を開始します"_qs});
    EXPECT_TRUE(stage.touring);
    EXPECT_EQ(palette.tourWindow, &window);

    // The first program starts after a second, every later one after two.
    EXPECT_EQ(stepUntil([&] { return window.starts == 1; }), 11);
    EXPECT_TRUE(window.widePlate);
    EXPECT_TRUE(window.plate);
    std::vector<int> rows;
    for (int round = 0; round < 4; ++round) {
        const int starts = window.starts;
        window.endRun();
        EXPECT_EQ(stepUntil([&] { return !window.plate; }), 1) << "the plate goes first";
        if (stepUntil([&] { return state.pendingRow() >= 0 || !palette.tourWindow; }) < 0) break;
        if (!palette.tourWindow) break;
        rows.push_back(shownRow());
        EXPECT_EQ(stepUntil([&] { return window.starts == starts + 1; }), 20) << "round " << round;
    }
    EXPECT_EQ(rows, (std::vector<int>{4, 11, 13}));
    EXPECT_EQ(palette.tourWindow, nullptr);
    EXPECT_FALSE(stage.touring);
    EXPECT_TRUE(logged(u":巡回終了."_qs));
    EXPECT_EQ(state.tourRequest(), 0);
}

TEST_F(Tour, ListDisplayGrowsEachVisibleWindowShrinksItBackAndMovesToTheNextSource) {
    TourWindow& first = add(u"一"_qs);
    TourWindow& hidden = add(u"二"_qs, false);
    TourWindow& last = add(u"三"_qs);
    for (TourWindow* w : {&first, &hidden, &last}) {
        w->zoomPercent = 40;
        w->place = {true, 40, 20, 120};
        w->at = {20, 120};
    }
    catalog.current = {catalog.firstSource(), catalog.firstSource()->groups[0].get(), nullptr};
    stage.list = true;
    tour.toggle(true);
    EXPECT_EQ(tour.startAt(), 30);

    // Brought forward at once, growing by 20 from the eleventh step on, started at the 31st.
    EXPECT_EQ(stepUntil([&] { return first.zoomPercent > 40; }), 12);
    EXPECT_EQ(first.zoomPercent, 60);
    EXPECT_EQ(stepUntil([&] { return first.zoomPercent == 100; }), 2);
    EXPECT_FALSE(first.place.smallInList);
    EXPECT_EQ(stepUntil([&] { return first.starts == 1; }), 17);

    first.endRun();
    EXPECT_EQ(stepUntil([&] { return first.zoomPercent == 90; }), 2) << "the plate goes, then it shrinks by 10";
    EXPECT_EQ(stepUntil([&] { return palette.tourWindow != &first; }), 6);
    EXPECT_EQ(first.zoomPercent, 40);
    EXPECT_EQ(first.at, QPoint(20, 120));
    EXPECT_TRUE(first.place.smallInList);
    EXPECT_EQ(palette.tourWindow, &last) << "the hidden window is passed over";
    EXPECT_EQ(hidden.activations, 0);
    EXPECT_EQ(last.restarts, 1);

    // The next window's end starts from the first phase again: its plate goes and it shrinks.
    EXPECT_EQ(stepUntil([&] { return last.starts == 1; }), 20);
    last.endRun();
    tour.step();
    EXPECT_EQ(palette.tourWindow, &last);
    EXPECT_FALSE(last.plate);
    tour.step();
    EXPECT_EQ(last.zoomPercent, 90);
    EXPECT_EQ(stepUntil([&] { return palette.tourWindow == nullptr; }), 6);

    EXPECT_TRUE(logged(u":巡回終了."_qs));
    EXPECT_EQ(state.tourRequest(), 3) << "the next source's first group is toured next";
    EXPECT_EQ(catalog.current.source, catalog.sources()[1].get());
}

TEST_F(Tour, PressingTheTourButtonAgainBreaksTheRunningWork) {
    TourWindow& window = add(u"一"_qs);
    tour.toggle(true);
    ASSERT_GT(stepUntil([&] { return window.running(); }), 0);
    tour.toggle(true);
    EXPECT_FALSE(window.running());
    EXPECT_EQ(window.breaks, 1);
    EXPECT_EQ(palette.tourWindow, nullptr);
    EXPECT_FALSE(tour.active());
    EXPECT_TRUE(logged(u":巡回終了."_qs));
    EXPECT_EQ(stage.announced.last(), u"「ヴィモラ・アート」の巡回を終了します"_qs);
}

TEST_F(Tour, AHiddenWorkOrOneThatCannotStartIsPassedOver) {
    TourWindow& window = add(u"一"_qs, false);
    state.selectShownRow(2);
    tour.toggle(false);
    EXPECT_FALSE(logged(u":巡回開始."_qs)) << "a start by the gallery timer is not logged";
    EXPECT_EQ(stepUntil([&] { return state.pendingRow() >= 0; }), 3);
    EXPECT_EQ(window.starts, 0);
    EXPECT_EQ(shownRow(), 4);

    // A work without characters does not start; its window says so at once and the tour goes on.
    window.shown = true;
    ASSERT_GT(stepUntil([&] { return window.starts == 1; }), 0);
    window.run = false;
    GalleryTour::ended(window);
    EXPECT_EQ(stepUntil([&] { return state.pendingRow() >= 0; }), 3);
    EXPECT_EQ(shownRow(), 11);
}

} // namespace
