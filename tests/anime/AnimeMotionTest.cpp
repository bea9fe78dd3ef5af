// Motion per frame with exact positions: bounces, goto targets, chasers, life time, charges.
#include "anime/AnimeHost.h"
#include "anime/AnimeMotion.h"
#include "anime/AnimeState.h"
#include "anime/AnimeView.h"
#include "script/KestoCodes.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace A = Attr;

namespace {

// A visible one-row picture of `width` dots at (lft, top) in an animation with a 100 x 50 view.
struct Scene {
    AnimeState state;
    AnimeView view{100, 50};
    int status = 0;
    AnimeInfo& add(int width, int lft = 0, int top = 0, int frames = 1) {
        AnimeInfo& c = state.createCharacter("c", lft, top, 1, 1, width, 1);
        c.allocatePixels(frames, 1, width);
        std::fill(c.pixels.begin(), c.pixels.end(), 0xFF);
        c.frameCount = frames;
        c.disp = 1;
        return c;
    }
    void frame() { advanceFrame(state, view, status); }
};

} // namespace

TEST(AnimeMotion, BounceAtTheRightBoundPushesBackTwoPixelsAndMirrors) {
    Scene s;
    AnimeInfo& c = s.add(10);
    c.setAttribute(A::vX, 30);
    c.setAttribute(A::maxX, 100);
    for (int i = 0; i < 30; ++i) s.frame();
    EXPECT_EQ(c.X, 900); // right edge 100: still inside
    EXPECT_EQ(c.dirState, 0);
    s.frame(); // right edge 103: back by the overshoot 3 + 2 pixels, reversed and mirrored
    EXPECT_EQ(c.X, 880);
    EXPECT_EQ(c.vX, -30);
    EXPECT_EQ(c.dirState, 1);
    for (int i = 0; i < 29; ++i) s.frame();
    EXPECT_EQ(c.X, 10);
    s.frame(); // left edge -2: in by the overshoot 2 + 1 pixel, reversed, mirrored back
    EXPECT_EQ(c.X, 10);
    EXPECT_EQ(c.vX, 30);
    EXPECT_EQ(c.dirState, 0);
}

TEST(AnimeMotion, ZoomAndRepetitionWidenTheBoxThatBounces) {
    struct Case {
        int attribute;
        double value;
        double bounceX; // X (tenths) right after the first bounce
    } cases[] = {
        {A::zoomX, 1, 880},  // right edge left + 10: over at X 930 (edge 103), back 3 + 2 pixels
        {A::zoomX, 2, 780},  // left + 20: over at X 810 (edge 101)
        {A::multX, 3, 680},  // left + 30: over at X 720 (edge 102)
        {A::zoomX, -2, 930}, // every second dot, left + 5: over at X 960 (edge 101)
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.attribute << "=" << c.value);
        Scene s;
        AnimeInfo& ch = s.add(10);
        ch.setAttribute(c.attribute, c.value);
        ch.setAttribute(A::vX, 30);
        ch.setAttribute(A::maxX, 100);
        for (int i = 0; i < 40 && ch.vX > 0; ++i) s.frame();
        EXPECT_EQ(ch.X, c.bounceX);
    }
}

TEST(AnimeMotion, RestitutionAndCanvasBounds) {
    Scene s;
    AnimeInfo& c = s.add(10);
    c.setAttribute(A::eX, 50);
    c.setAttribute(A::vX, -40);
    // minX = maxX: the canvas bounds, 200 pixels beyond the picture's left edge.
    for (int i = 0; i < 50; ++i) s.frame();
    EXPECT_EQ(c.X, -2000);
    s.frame();
    EXPECT_EQ(c.vX, 20);
    EXPECT_EQ(c.X, -2040 + 50);
    // The bottom bound pushes back by 1 pixel, and a facing character does not mirror.
    AnimeInfo& d = s.add(1, 0, 0);
    d.setAttribute(A::dir, 4);
    d.setAttribute(A::minY, 0);
    d.setAttribute(A::maxY, 40);
    d.setAttribute(A::vY, -15);
    s.frame();
    EXPECT_EQ(d.Y, 5); // low edge -1: back in by 1 + 1 pixels
    EXPECT_EQ(d.vY, 15);
    EXPECT_EQ(d.dirState, 4);
}

TEST(AnimeMotion, GotoLandsExactlyOnTheTarget) {
    Scene s;
    AnimeInfo& c = s.add(1);
    c.setAttribute(A::vX, 7);
    c.setAttribute(A::gotoX, 2);
    const double expected[] = {7, 14, 20, 20};
    for (double x : expected) {
        s.frame();
        EXPECT_EQ(c.X, x);
    }
    EXPECT_FALSE(c.hasTarget());
    EXPECT_EQ(c.vX, 0);

    // Speed 0 never arrives; a diagonal target one tenth away still takes a step.
    AnimeInfo& still = s.add(1);
    still.setAttribute(A::gotoX, 5);
    for (int i = 0; i < 3; ++i) s.frame();
    EXPECT_EQ(still.X, 0);
    EXPECT_TRUE(still.hasTarget());
    AnimeInfo& diagonal = s.add(1);
    diagonal.setVelocity(3, 4, 0);
    diagonal.gotoX = 0.5, diagonal.gotoY = 0.5;
    EXPECT_EQ(stepToTarget(diagonal), 1);
    EXPECT_EQ(diagonal.X, 0.5);
    EXPECT_EQ(diagonal.Y, 0.5);
}

TEST(AnimeMotion, ChaserFollowsAndFacesItsMotion) {
    Scene s;
    AnimeInfo& target = s.add(1, 10, 0);
    AnimeInfo& chaser = s.add(1, 0, 0);
    chaser.setAttribute(A::vX, 30);
    chaser.setChased(&target);
    s.frame();
    EXPECT_EQ(chaser.X, 30);
    EXPECT_EQ(chaser.angleZ, 0);
    for (int i = 0; i < 5; ++i) s.frame();
    EXPECT_EQ(chaser.X, 100); // on the target's corner, and the chase goes on
    EXPECT_EQ(chaser.speed, 30);
    target.X = 0;
    s.frame();
    EXPECT_EQ(chaser.X, 70);
    EXPECT_DOUBLE_EQ(std::abs(chaser.angleZ), std::numbers::pi);
}

TEST(AnimeMotion, LifeTimeHidesAndShows) {
    Scene s;
    AnimeInfo& late = s.add(1);
    late.setAttribute(A::vX, 10);
    late.setAttribute(A::LifeTime, -30);
    AnimeInfo& brief = s.add(1);
    brief.setAttribute(A::vX, 10);
    brief.setAttribute(A::LifeTime, 30);
    for (int i = 0; i < 29; ++i) s.frame();
    EXPECT_EQ(late.disp & 1, 0);
    EXPECT_EQ(late.X, 0);
    s.frame();
    EXPECT_EQ(late.disp & 1, 1);
    EXPECT_EQ(late.X, 10);
    EXPECT_EQ(brief.X, 300);
    EXPECT_EQ(brief.disp & 1, 0);
    s.frame();
    EXPECT_EQ(brief.X, 300); // hidden characters stand still
}

TEST(AnimeMotion, ResistanceColourShiftAndFrames) {
    Scene s;
    AnimeInfo& c = s.add(1, 0, 0, 3);
    c.setAttribute(A::vX, 10);
    c.setAttribute(A::rX, 0.1);
    c.setAttribute(A::colorSft, 0.5);
    c.colorNumber = 15;
    s.frame();
    EXPECT_DOUBLE_EQ(c.vX, 9);
    EXPECT_EQ(c.colorNumber, 15);
    EXPECT_EQ(c.currentFrame, 0);
    s.frame();
    EXPECT_DOUBLE_EQ(c.vX, 8.1);
    EXPECT_EQ(c.colorNumber, 0); // wraps after the highest colour number
    EXPECT_EQ(c.currentFrame, 1);
    s.frame();
    EXPECT_EQ(c.currentFrame, 2);
    c.setAttribute(A::disp, 3); // frozen picture, still travelling
    const double x = c.X;
    s.frame();
    EXPECT_EQ(c.currentFrame, 2);
    EXPECT_GT(c.X, x);
}

TEST(AnimeMotion, ChargesRepelAndSkipDistanceZero) {
    Scene s;
    AnimeInfo& source = s.add(1, 0, 0);
    s.state.charges.push_back(std::make_unique<AnimeCharge>(AnimeCharge{&source, 1}));
    AnimeInfo& c = s.add(1, 10, 0);
    c.setAttribute(A::Charge, 1);
    applyCharges(c);
    EXPECT_DOUBLE_EQ(c.vX, 0.1);
    EXPECT_EQ(c.vY, 0);
    AnimeInfo& on = s.add(1, 0, 0);
    on.setAttribute(A::Charge, 5);
    applyCharges(on);
    EXPECT_EQ(on.vX, 0);
    EXPECT_EQ(on.vY, 0);
    // A charge set before the list had one does not act.
    AnimeState fresh;
    AnimeInfo& early = fresh.createCharacter("e", 1, 0, 1, 1, 1, 1);
    early.setAttribute(A::Charge, 1);
    EXPECT_FALSE(early.chargesWhenSet);
}

TEST(AnimeMotion, StatusStopsTheStepsAndCameraStatusIsShown) {
    struct Host : AnimeHost {
        void logMessage(const QString&) override {}
        bool isCurrentWindow() const override { return true; }
        void showCameraStatus(const QString& text) override { shown = text; }
        QString shown;
    } host;
    Scene s;
    s.state.host = &host;
    AnimeInfo& c = s.add(1);
    c.setAttribute(A::vX, 10);
    s.view.driftX = -2;
    s.view.driftY = 3;
    s.frame();
    EXPECT_EQ(host.shown, QStringLiteral("カメラ P(   2,   3,   0) ｖ(  2,  3,  0)"));
    s.status = 1;
    s.frame();
    EXPECT_EQ(c.X, 10);
}
