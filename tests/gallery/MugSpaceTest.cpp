#include "gallery/MugSpace.h"

#include <gtest/gtest.h>

namespace {

using MugSpace::Point3;

const QSize kView(1264, 675);
const QSize kWork(400, 300);

std::vector<MugSpace::Work> oneGroup(int works, int group = 0) { return std::vector<MugSpace::Work>(works, {group, kWork}); }

TEST(MugSpaceTest, WorksFloatInRowsOfThreeEachRowFurtherAwayAndTurning) {
    struct Case {
        const char* name;
        std::vector<MugSpace::Work> works;
        std::vector<Point3> positions;
        Point3 earth;
    };
    const double top = 675 - 300 + 190;
    std::vector<MugSpace::Work> twoGroups = oneGroup(2);
    twoGroups.push_back({1, QSize(200, 100)});
    const Case cases[] = {
        // Right from −W / 4, back from the largest x 400 further, right again from 0.
        {"seven works of a group", oneGroup(7),
         {{-316, top, -500}, {284, top, -500}, {884, top, -500}, {884, top, -900}, {284, top, -900}, {-316, top, -900},
          {0, top, -1300}},
         {0, 1075, -2500}},
        {"the next group starts 400 further from the largest x and goes left", twoGroups,
         {{-316, top, -500}, {284, top, -500}, {284, 765, -900}},
         {0, 1075, -2100}},
    };
    for (const Case& c : cases) {
        const MugSpace::Placement p = MugSpace::place(c.works, kView);
        EXPECT_EQ(p.positions, c.positions) << c.name;
        EXPECT_EQ(p.earth, c.earth) << c.name;
    }
    EXPECT_EQ(MugSpace::place(oneGroup(130), kView).positions.size(), size_t(MugSpace::kMaxPlaced));
}

TEST(MugSpaceTest, TheCameraDrawsTheNearestWorksInFrontAndHidesTheRest) {
    const std::vector<Point3> at = {{0, 565, 200}, {0, 565, -100}, {0, 565, -600}, {600, 565, -600}};
    const std::vector<QSize> sizes(at.size(), kWork);
    const Point3 camera{0, 0, 400};
    struct Case {
        int visible;
        std::vector<bool> shown;
    };
    for (const Case& c : {Case{10, {false, true, true, true}}, Case{1, {false, true, false, false}}}) {
        const std::vector<MugSpace::Projected> p = MugSpace::project(at, sizes, camera, kView, c.visible, {});
        for (size_t i = 0; i < p.size(); ++i) EXPECT_EQ(p[i].shown, c.shown[i]) << c.visible << " #" << i;
    }
    const std::vector<MugSpace::Projected> p = MugSpace::project(at, sizes, camera, kView, 10, {});
    const struct { size_t index; bool behind; QRect rect; int zoom; } expected[] = {
        {0, true, {}, 100},                       // 200 in front: behind the viewer
        {1, false, {432, 665, 400, 300}, 100},    // 500 away: full size, centred
        {2, false, {532, 332, 200, 150}, 50},     // 1000 away: half size; 332.5 truncated
        {3, false, {832, 332, 200, 150}, 50},
    };
    for (const auto& e : expected) {
        EXPECT_EQ(p[e.index].behind, e.behind) << e.index;
        if (!e.behind) {
            EXPECT_EQ(p[e.index].rect, e.rect) << e.index;
            EXPECT_EQ(p[e.index].zoom, e.zoom) << e.index;
        }
    }
}

TEST(MugSpaceTest, TheEarthIsDrawnAtTheFarEndAndNotOncePassed) {
    const Point3 earth{0, 1075, -2500};
    const struct { double cameraZ; QRect rect; } cases[] = {
        {400, {632, 202, 68, 68}},  // 2900 away
        {-2000, {632, 1175, 400, 400}},
        {-2250, {}},                // 250 in front: passed
        {-2500, {}},                // at it: the scale would be 5000
        {-3000, {}},
    };
    for (const auto& c : cases) {
        QRect drawn(1, 1, 1, 1);
        MugSpace::project({}, {}, {0, 0, c.cameraZ}, kView, 10, earth, &drawn);
        EXPECT_EQ(drawn, c.rect) << c.cameraZ;
    }
}

TEST(MugSpaceTest, TheAutopilotClosesInAndThenSettlesTheWorkAtFullSize) {
    // First steps: a third across (at most 100), half the depth (at most 60); with a side target a
    // twentieth of the depth and at least 20 across.
    const struct { Point3 camera; int side; Point3 after; } first[] = {
        {{400, 0, 400}, 0, {300, 0, 340}},
        {{-310, 0, 5}, 0, {-312, 0, 0}},     // 6 across: a third; 5 deep: half would be below 3, so all of it
        {{-316, 0, 0}, 0, {-316, 0, 0}},      // arrived in phase 0
        {{400, 0, 400}, 1000, {500, 0, 380}},
        {{990, 0, 400}, 1000, {1000, 0, 380}},
    };
    const MugSpace::Target target{{-316, 565, -500}, 100, {}};
    for (const auto& f : first) {
        Point3 camera = f.camera;
        MugSpace::Flight flight{0, f.side};
        MugSpace::autopilotStep(camera, flight, target, 675);
        EXPECT_EQ(camera.x, f.after.x) << f.camera.x << "," << f.camera.z;
        EXPECT_DOUBLE_EQ(camera.z, f.after.z) << f.camera.x << "," << f.camera.z;
    }
}

TEST(MugSpaceTest, AFlightEndsWithTheWorkAtFullSizeItsBottomAboveTheViewsEdge) {
    const std::vector<Point3> at = MugSpace::place(oneGroup(5), kView).positions;
    const std::vector<QSize> sizes(at.size(), kWork);
    for (size_t index : {size_t(0), size_t(2), size_t(4)}) {
        Point3 camera{400, 0, 400};
        MugSpace::Flight flight;
        if (index == 4) flight.sideTarget = MugSpace::sideTarget(int(at[3].x), kWork.width(), false);
        int steps = 0;
        for (;; ++steps) {
            ASSERT_LT(steps, 300) << "the flight to " << index << " does not end";
            const MugSpace::Projected p = MugSpace::project(at, sizes, camera, kView, 10, {})[index];
            if (!MugSpace::autopilotStep(camera, flight, {at[index], p.zoom, p.rect}, kView.height())) break;
        }
        const MugSpace::Projected p = MugSpace::project(at, sizes, camera, kView, 10, {})[index];
        EXPECT_EQ(camera.x, at[index].x) << index;
        EXPECT_EQ(p.zoom, 100) << index;
        EXPECT_EQ(p.rect.y() + p.rect.height(), kView.height() - 32) << index;
        EXPECT_TRUE(p.shown) << index;
    }
}

} // namespace
