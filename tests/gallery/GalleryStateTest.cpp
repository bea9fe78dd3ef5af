#include "CatalogFixture.h"
#include "gallery/GalleryState.h"

#include <gtest/gtest.h>
#include <functional>
#include <stdexcept>

namespace {

// Records what the state asks of the windows; the display form stays in sight for `slideTicks`.
class RecordingStage : public GalleryStage {
public:
    void announce(const QString& text, int textSize, bool onWork) override {
        announcements.push_back(text);
        lastTextSize = textSize;
        onWorkWindow = onWork;
        slideTicks = 3;
    }
    void setDisplayText(const QString& text) override { displayText = text; }
    void hideDisplay() override { slideTicks = 0; }
    bool slideDisplay() override { return slideTicks > 0 && --slideTicks > 0; }
    bool loadWork(const CatalogEntry& entry) override {
        if (failLoad) throw std::runtime_error("broken work");
        loaded.push_back(entry.work);
        if (duringLoad) duringLoad();
        return true;
    }
    void stopWorkTimers() override { ++timerStops; }
    void markGroup(const acmdGroupInfo& group) override { groups.push_back(group.title); }
    void rowsChanged() override { ++redraws; }
    void placeWorksPanel(const WorksPanelPlace& place) override { panel = place; }
    void endProgram() override { ++ends; }
    void toggleListDisplay() override { actions << u"list"_qs; }
    void openAtelier() override { actions << u"atelier"_qs; }

    QStringList announcements, groups, actions;
    QString displayText;
    int lastTextSize = 0;
    bool onWorkWindow = false;
    int slideTicks = 0;
    bool failLoad = false;
    std::function<void()> duringLoad; // e.g. a message window pumping the gallery timer
    WorksPanelPlace panel{6, 100, true};
    std::vector<const acmdFileInfo*> loaded;
    int timerStops = 0, redraws = 0, ends = 0;
};

// Rows of the two-source home: 0 館, 1 第一集, 2-4 its works, 5 第二集, 6-8, 9 別館, 10 Ａ,
// 11-13, 14 Ｂ, 15-17.
class Gallery : public ::testing::Test {
protected:
    void SetUp() override {
        catalog.readSources();
        installed.emplace(&messages);
        state.setWorksPanel(stage.panel.top, stage.panel.height);
    }
    // Ticks until the timer goes off (at most `limit` ticks); returns the ticks taken.
    int runTimer(int limit = 50) {
        int ticks = 0;
        while (state.timerOn() && ticks < limit) {
            state.tick();
            ++ticks;
        }
        return ticks;
    }
    QString loadedTitle() const { return stage.loaded.empty() ? QString() : stage.loaded.back()->title; }

    TempFolder folder;
    Catalog catalog{writeTwoSourceHome(folder)};
    RecordingStage stage;
    GalleryState state{catalog, stage};
    RecordingCheckSink messages;
    std::optional<ScopedCheckSink> installed;
};

} // namespace

TEST_F(Gallery, ShowRowAnnouncesAndLoadsTheFirstWorkAtOrAfterTheRowOnTheNextTick) {
    const struct {
        int row, shownRow;
        const char16_t* title;
    } cases[] = {
        {0, 2, u"set1の一"}, {1, 2, u"set1の一"}, {3, 3, u"set1の二"}, {5, 6, u"set2の一"},
        {8, 8, u"set2の三"}, {9, 11, u"aの一"},   {14, 15, u"bの一"},
    };
    for (const auto& c : cases) {
        const size_t before = stage.loaded.size();
        state.showRow(c.row);
        EXPECT_EQ(stage.announcements.back(), u"展示の準備中です"_qs);
        EXPECT_EQ(stage.lastTextSize, 28);
        EXPECT_TRUE(stage.onWorkWindow);
        EXPECT_EQ(stage.loaded.size(), before) << "loaded before the announcement was drawn, row " << c.row;
        EXPECT_EQ(state.pendingRow(), c.row);
        EXPECT_TRUE(state.timerOn());
        state.tick();
        EXPECT_EQ(state.pendingRow(), -1);
        ASSERT_EQ(stage.loaded.size(), before + 1) << c.row;
        EXPECT_EQ(loadedTitle(), QString::fromUtf16(c.title)) << c.row;
        EXPECT_EQ(state.currentRow(), c.shownRow);
        EXPECT_EQ(catalog.current.work, stage.loaded.back());
        EXPECT_EQ(catalog.current.group, stage.loaded.back()->group);
        EXPECT_EQ(stage.displayText, u"展示を始めます"_qs);
        EXPECT_EQ(stage.groups.back(), stage.loaded.back()->group->title);
    }
    EXPECT_TRUE(messages.records.empty());
}

TEST_F(Gallery, APendingActionWaitsForTheNextTickAndIsDoneOnce) {
    for (const auto& [action, name] : {std::pair{GalleryState::OpenAtelier, u"atelier"_qs},
                                       std::pair{GalleryState::ToggleListDisplay, u"list"_qs}}) {
        stage.actions.clear();
        state.requestAction(action);
        EXPECT_TRUE(stage.actions.isEmpty()) << "the announcement is drawn first";
        EXPECT_TRUE(state.timerOn());
        runTimer();
        EXPECT_EQ(stage.actions, QStringList{name});
        EXPECT_EQ(state.pendingAction(), GalleryState::NoAction);
    }
}

TEST_F(Gallery, TimerStopsOnceTheBoardIsOutOfSightAndNothingWaits) {
    state.showRow(0);
    const int ticks = runTimer();
    EXPECT_LT(ticks, 50);
    EXPECT_GE(ticks, 2); // the board keeps the timer after the load
    EXPECT_FALSE(state.timerOn());
    EXPECT_EQ(stage.loaded.size(), 1u);
    EXPECT_EQ(state.tickCount(), ticks);
}

TEST_F(Gallery, RowsPastTheListAreReportedAndRowZeroIsShown) {
    state.showRow(40);
    ASSERT_EQ(messages.records.size(), 1u);
    EXPECT_EQ(messages.records[0].text, u"行範囲を超えています！"_qs);
    EXPECT_EQ(messages.records[0].caption, u"りすと一覧の表示(0)"_qs);
    EXPECT_EQ(stage.timerStops, 1);
    EXPECT_EQ(state.pendingRow(), 0);
    state.tick();
    EXPECT_EQ(loadedTitle(), u"set1の一"_qs);
    EXPECT_EQ(state.currentRow(), 2);
}

TEST_F(Gallery, ClickingAGroupRowTwiceWidensTheFoldToItsSource) {
    const struct {
        int row;
        bool toggle;
        int fold;
    } clicks[] = {
        {5, true, WorksList::FoldSource | WorksList::FoldGroup}, // only 第二集's works
        {5, true, WorksList::FoldSource},                        // the whole source again
        {0, true, 0},                                            // source flips its fold off
        {0, true, WorksList::FoldSource},
        {7, true, WorksList::FoldSource},                        // a work row keeps the fold
        {1, false, 0},                                           // selected by the program
    };
    for (const auto& c : clicks) {
        state.selectRow(c.row, c.toggle);
        EXPECT_EQ(state.listFold(), c.fold) << c.row;
        EXPECT_EQ(state.lastRow(), c.row);
        state.tick();
    }
    EXPECT_EQ(loadedTitle(), u"set1の一"_qs);
}

TEST_F(Gallery, SelectingClearsTheStopFlagAndIgnoresStruckSources) {
    state.setStopFlag(GalleryState::StopProgram | GalleryState::StopFrame);
    state.selectRow(3, true);
    EXPECT_EQ(state.stopFlag(), 0);
    state.tick();
    EXPECT_EQ(loadedTitle(), u"set1の二"_qs);

    catalog.sources()[1]->groupCount = -1; // its group.txt could not be fetched
    const size_t announced = stage.announcements.size();
    state.selectRow(9, true);
    EXPECT_EQ(stage.announcements.size(), announced);
    EXPECT_EQ(state.pendingRow(), -1);
    EXPECT_EQ(state.currentRow(), 3);
}

TEST_F(Gallery, GroupNavigationWrapsOverTheSources) {
    state.showRow(0);
    state.tick();
    enum class Step { Next, Previous, NextUrl, NextSet };
    using enum Step;
    const struct {
        Step how;
        const char16_t* group;
        const char16_t* work;
    } steps[] = {
        {Next, u"第二集", u"set2の一"}, {Next, u"Ａ", u"aの一"},     {Next, u"Ｂ", u"bの一"},
        {Next, u"第一集", u"set1の一"}, {Previous, u"第一集", u"set1の一"}, // the first stays the first
        {NextUrl, u"Ａ", u"aの一"},     {NextUrl, u"第一集", u"set1の一"},
        {NextSet, u"第二集", u"set2の一"}, {NextSet, u"Ａ", u"aの一"},  {NextSet, u"Ｂ", u"bの一"},
        {NextSet, u"第一集", u"set1の一"}, {Previous, u"第一集", u"set1の一"},
    };
    for (const auto& s : steps) {
        switch (s.how) {
        case Next: state.moveToGroup(); break;
        case Previous: state.moveToPreviousGroup(); break;
        case NextUrl: state.nextSource(); break;
        case NextSet: state.nextGroup(); break;
        }
        state.tick();
        ASSERT_TRUE(catalog.current.group);
        EXPECT_EQ(catalog.current.group->title, QString::fromUtf16(s.group)) << int(&s - steps);
        EXPECT_EQ(loadedTitle(), QString::fromUtf16(s.work)) << int(&s - steps);
    }
    state.moveToGroup({catalog.sources()[0].get(), catalog.sources()[0]->groups[1].get(), nullptr});
    EXPECT_EQ(state.lastRow(), 0);
    state.tick();
    EXPECT_EQ(loadedTitle(), u"set2の一"_qs);
}

TEST_F(Gallery, PreviousGroupGoesBackWithinTheSource) {
    state.showRow(14); // Ｂ
    state.tick();
    state.moveToPreviousGroup();
    state.tick();
    EXPECT_EQ(catalog.current.group->title, u"Ａ"_qs);
    state.moveToPreviousGroup(); // before the source's first group: the previous source's first
    state.tick();
    EXPECT_EQ(catalog.current.group->title, u"第一集"_qs);
}

TEST_F(Gallery, ScrollingStepsOneRowPerTickThenSelects) {
    state.scrollTo(6);
    for (int row = 1; row < 6; ++row) {
        state.tick();
        EXPECT_EQ(state.currentRow(), row);
        EXPECT_TRUE(stage.loaded.empty());
    }
    state.tick(); // reaches 6 and selects it
    EXPECT_EQ(state.scrollTarget(), -1);
    EXPECT_EQ(state.pendingRow(), 6);
    state.tick();
    EXPECT_EQ(loadedTitle(), u"set2の一"_qs);
    state.scrollTo(99);
    EXPECT_EQ(state.scrollTarget(), -1);
}

TEST_F(Gallery, AFailedTickStopsTheGalleryAndEndsTheProgram) {
    stage.failLoad = true;
    state.showRow(2);
    state.tick();
    EXPECT_EQ(state.stopFlag(), GalleryState::StopGallery);
    EXPECT_FALSE(state.timerOn());
    EXPECT_EQ(stage.slideTicks, 0);
    ASSERT_EQ(messages.records.size(), 1u);
    EXPECT_EQ(messages.records[0].text, u"再度の入館をお願いします。"_qs);
    EXPECT_EQ(messages.records[0].caption, u"ギャラリーでのトラブル発生 (1)"_qs);
    EXPECT_EQ(stage.ends, 1);
}

TEST_F(Gallery, RunEndNotesTheCurrentRowAsTheLastRow) {
    state.showRow(7);
    state.tick();
    state.moveToGroup();
    EXPECT_EQ(state.lastRow(), 0);
    state.tick();
    state.noteLastRow();
    EXPECT_EQ(state.lastRow(), 11);
}

TEST(WorksPanelSlide, StepsTwentyPixelsAndSettles) {
    const struct {
        int slide;
        WorksPanelPlace before, after;
        int slideAfter;
    } cases[] = {
        {100, {6, 100, false}, {-100, 100, true}, 100}, // a hidden panel starts a height above
        {100, {-100, 100, true}, {-80, 100, true}, 100},
        {100, {-21, 100, true}, {-1, 100, true}, 100},
        {100, {-20, 100, true}, {1, 100, true}, 0},     // in: settles at the top
        {-100, {1, 100, true}, {-19, 100, true}, -100},
        {-100, {-79, 100, true}, {-99, 100, true}, -100},
        {-100, {-80, 100, true}, {-80, 100, false}, 0}, // out: hidden once 20 pixels remain
        {0, {6, 100, true}, {6, 100, true}, 0},
    };
    for (const auto& c : cases) {
        int slide = c.slide;
        EXPECT_EQ(GalleryState::slideStep(slide, c.before), c.after) << c.slide << " " << c.before.top;
        EXPECT_EQ(slide, c.slideAfter) << c.slide << " " << c.before.top;
    }
}

TEST_F(Gallery, WorksPanelSlidesOutAndBackInOnTheTimer) {
    EXPECT_FALSE(state.slideWorksList()); // visible: out
    EXPECT_EQ(state.worksSlide(), -100);
    EXPECT_TRUE(state.timerOn());
    const int outTicks = runTimer();
    EXPECT_FALSE(stage.panel.visible);
    EXPECT_EQ(outTicks, 7); // 6 -> -94 in five steps, hidden on the sixth, the timer off on the seventh
    EXPECT_TRUE(state.slideWorksList());
    runTimer();
    EXPECT_EQ(stage.panel, (WorksPanelPlace{1, 100, true}));
    EXPECT_EQ(state.worksSlide(), 0);
    EXPECT_FALSE(state.timerOn());
}

TEST_F(Gallery, ATickInsideATickReturnsAtOnce) {
    state.showRow(2);
    int inner = 0;
    stage.duringLoad = [&] {
        state.showRow(6); // a selection made while the load's message window is open
        state.tick();
        ++inner;
    };
    state.tick();
    EXPECT_EQ(inner, 1);
    EXPECT_EQ(stage.loaded.size(), 1u) << "the inner tick loaded too";
    EXPECT_EQ(state.tickCount(), 2);
    EXPECT_EQ(state.pendingRow(), 6) << "the inner selection waits for the next tick";
    stage.duringLoad = nullptr;
    state.tick();
    EXPECT_EQ(loadedTitle(), u"set2の一"_qs);
}
