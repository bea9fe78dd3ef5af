#include "gallery/ListLayout.h"
#include "gallery/MugFlight.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

// A work window floating in the space, as the flight sees it.
class SpaceWindow : public PaletteWindow {
public:
    QString caption() const override { return {}; }
    bool running() const override { return run; }
    void toggleRun() override { run = !run, starts += run; }
    void close() override {}
    ListPlace& listPlace() override { return place; }
    void activate() override { ++activations; }
    void startRun() override { run = true, ++starts; }
    void breakRun() override { run = false; }
    void restart() override { ++restarts; }
    void setPlateShown(bool on) override { plate = on; }
    void endRun() {
        run = false;
        tourCount = ListLayout::kTourEnded;
    }
    bool run = false, plate = false;
    int starts = 0, restarts = 0, activations = 0;
    ListPlace place;
};

class RecordingSpace : public MugStage {
public:
    void showProjection(const std::vector<MugSpace::Projected>& works, const QRect& at) override {
        projected = works;
        earth = at;
    }
    void light(Button button) override { lit = button; }
    void showRunning(bool on) override { running = on; }
    void showTourButton(bool on) override { touring = on; }
    void makeCurrent(PaletteWindow& window) override { current = &window; }
    void announceRun(PaletteWindow&) override { ++announced; }
    std::vector<MugSpace::Projected> projected;
    QRect earth;
    Button lit = Button::None;
    bool running = false, touring = false;
    PaletteWindow* current = nullptr;
    int announced = 0;
};

// Seven works of one group: rows of three, three and one.
class Flight : public ::testing::Test {
protected:
    void SetUp() override {
        std::vector<PaletteWindow*> placed;
        for (int i = 0; i < 7; ++i) {
            windows.push_back(std::make_unique<SpaceWindow>());
            placed.push_back(windows.back().get());
        }
        flight.arrange(placed, std::vector<MugSpace::Work>(7, {0, QSize(400, 300)}), QSize(1264, 675));
    }
    // Ticks until `done` holds; the ticks taken, or -1 after `limit`.
    template <typename Done>
    int tickUntil(Done done, int limit = 5000) {
        for (int ticks = 1; ticks <= limit; ++ticks) {
            flight.tick();
            if (done()) return ticks;
        }
        return -1;
    }
    bool arrived() { return !flight.target(); }
    // The camera stands 500 in front of work `i`, level with its x.
    bool inFrontOf(int i) {
        const MugSpace::Point3& at = flight.placement().positions[size_t(i)];
        return flight.camera().x == at.x && flight.camera().z == at.z + 500;
    }

    RecordingSpace stage;
    MugFlight flight{stage};
    std::vector<std::unique_ptr<SpaceWindow>> windows;
};

TEST_F(Flight, TheWalkFliesFromWorkToWorkAndEndsAtTheLast) {
    EXPECT_EQ(flight.currentIndex(), -1);
    EXPECT_EQ(stage.projected.size(), 7u);
    flight.toggleWalk();
    EXPECT_EQ(stage.lit, MugStage::Button::Walk);
    std::vector<int> visited;
    while (flight.walking()) {
        ASSERT_GT(tickUntil([&] { return flight.target() != nullptr || !flight.walking(); }), 0);
        if (!flight.walking()) break;
        ASSERT_GT(tickUntil([&] { return arrived(); }), 0) << flight.currentIndex();
        EXPECT_TRUE(inFrontOf(flight.currentIndex())) << flight.currentIndex();
        EXPECT_EQ(stage.projected[size_t(flight.currentIndex())].zoom, 100);
        visited.push_back(flight.currentIndex());
    }
    EXPECT_EQ(visited, (std::vector<int>{0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(stage.lit, MugStage::Button::None);

    // "前" goes back one work; at the first it only ends a walk. "始" and the earth fly to the ends.
    flight.previous();
    EXPECT_EQ(flight.currentIndex(), 5);
    flight.first();
    ASSERT_GT(tickUntil([&] { return arrived(); }), 0);
    EXPECT_TRUE(inFrontOf(0));
    flight.toggleWalk();
    flight.previous();
    EXPECT_EQ(flight.currentIndex(), 0);
    EXPECT_FALSE(flight.walking());
    flight.last();
    ASSERT_GT(tickUntil([&] { return arrived(); }), 0);
    EXPECT_TRUE(inFrontOf(6));
}

TEST_F(Flight, AVelocityMovesTheCameraAndHidesTheWorksItPasses) {
    flight.accelerate(0, 0, -1);
    flight.accelerate(0, 0, -1);
    ASSERT_GT(tickUntil([&] { return flight.camera().z <= -600; }), 0);
    EXPECT_TRUE(stage.projected[0].behind) << "300 or less in front is behind the viewer";
    EXPECT_FALSE(stage.projected[0].shown);
    EXPECT_TRUE(stage.projected[3].shown);
    // At rest again, the autopilot takes over: the camera flies back to the first work.
    flight.accelerate(0, 0, 2);
    flight.first();
    ASSERT_GT(tickUntil([&] { return arrived(); }), 0);
    EXPECT_TRUE(inFrontOf(0));
    EXPECT_TRUE(stage.projected[0].shown);

    flight.changeVisible(-100);
    EXPECT_EQ(flight.visibleCount(), 1);
    EXPECT_EQ(std::count_if(stage.projected.begin(), stage.projected.end(), [](const auto& p) { return p.shown; }), 1);
    flight.changeVisible(100);
    EXPECT_EQ(flight.visibleCount(), 7);
}

TEST_F(Flight, TheTourRunsEachWorkOnArrivalAndFliesOnAfterItsEnd) {
    flight.toggleTour();
    EXPECT_TRUE(stage.touring);
    EXPECT_EQ(flight.tourWindow(), windows[0].get());
    ASSERT_GT(tickUntil([&] { return windows[0]->running(); }), 0);
    EXPECT_TRUE(inFrontOf(0)) << "the first work runs on arrival";
    for (int i = 0; i < 6; ++i) {
        windows[size_t(i)]->endRun();
        ASSERT_GT(tickUntil([&] { return flight.tourPhase() == 2; }), 0) << i;
        EXPECT_FALSE(windows[size_t(i)]->plate);
        ASSERT_GT(tickUntil([&] { return flight.tourWindow() == windows[size_t(i) + 1].get(); }), 0) << i;
        // One more flight settles in front of it; later works start three steps after that arrival.
        EXPECT_EQ(flight.target(), windows[size_t(i) + 1].get()) << i;
        ASSERT_GT(tickUntil([&] { return arrived(); }), 0) << i;
        EXPECT_TRUE(inFrontOf(i + 1)) << i;
        EXPECT_EQ(tickUntil([&] { return windows[size_t(i) + 1]->running(); }), 3 * MugFlight::kStepTicks) << i;
        EXPECT_EQ(stage.current, windows[size_t(i) + 1].get());
    }
    windows[6]->endRun();
    ASSERT_GT(tickUntil([&] { return !flight.tourWindow(); }), 0);
    EXPECT_FALSE(stage.touring);
    for (const auto& w : windows) EXPECT_EQ(w->starts, 1);
}

TEST_F(Flight, RunFliesToTheWorkAndStartsItButStopsARunningOneWhereItIs) {
    flight.next();
    ASSERT_GT(tickUntil([&] { return arrived(); }), 0);
    flight.run();
    ASSERT_GT(tickUntil([&] { return windows[0]->running(); }), 0);
    EXPECT_EQ(windows[0]->restarts, 1);
    EXPECT_EQ(stage.announced, 1);
    EXPECT_TRUE(stage.running);
    flight.accelerate(0, 0, 1);
    flight.tick();
    flight.accelerate(0, 0, -1);
    const MugSpace::Point3 away = flight.camera();
    flight.run();
    EXPECT_FALSE(windows[0]->running());
    EXPECT_FALSE(stage.running);
    EXPECT_EQ(flight.target(), nullptr) << "no flight back";
    EXPECT_EQ(flight.camera(), away);
}

} // namespace
