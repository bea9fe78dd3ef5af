// Molecules: the side from the mass and the disc, collisions in the frame the earlier molecule
// is drawn (velocities and positions), restitution, a coincident pair, invisible partners.
#include "FigureFixture.h"
#include "characters/moleculeInfo.h"

#include <gtest/gtest.h>

namespace {

// Draws one frame of the whole animation (collisions included) on a 200 x 200 picture.
void drawOneFrame(AnimeState& state) {
    AnimeView view(200, 200);
    drawFrame(state, view, 0, 0);
}

TEST(Molecule, SideFollowsTheCubeRootOfTheMass) {
    const std::pair<int, int> sides[] = {{1, 10}, {8, 19}, {27, 29}, {1000, 99}, {40000, 341}, {9, 20}};
    for (const auto& [mass, side] : sides) EXPECT_EQ(moleculeInfo::sideOfMass(mass), side) << mass;

    FigureFixture f;
    ASSERT_EQ(f.run({kindLine(Kind::Molecule, "m,8,10,20,3,-4,1")}), 0);
    const AnimeInfo& m = f.last();
    EXPECT_EQ(m.width, 19);
    EXPECT_EQ(m.height, 19);
    EXPECT_EQ(m.vX, 3);
    EXPECT_EQ(m.declaredMvy, -4);
    EXPECT_EQ(static_cast<const moleculeInfo&>(*m.kind).mass(), 8);
    EXPECT_EQ(m.pixelAt(0, 9, 9), 0x0000FF);  // centre
    EXPECT_EQ(m.pixelAt(0, 9, 1), 0x0000FF);  // 8 from the centre: inside radius 9
    EXPECT_EQ(m.pixelAt(0, 9, 0), -1);        // 9 from the centre: outside
    EXPECT_EQ(m.pixelAt(0, 0, 0), -1);

    struct Case {
        const char* params;
        const char* faulty;
    };
    const Case cases[] = {{"m,0,0,0,0,0,1", "mass"}, {"m,40001,0,0,0,0,1", "mass"}, {"m,1,0,16385,0,0,1", "top"},
                          {"m,1,0,0,-1001,0,1", "mvx"}, {"m,1,0,0,0,0,-1", "color"}, {"m,1,0,0,0,0", "color"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.params);
        FigureFixture bad;
        EXPECT_EQ(bad.run({kindLine(Kind::Molecule, c.params)}), -1);
        EXPECT_TRUE(bad.state.characters.empty());
        ASSERT_EQ(bad.host.log.size(), 1);
        EXPECT_TRUE(bad.host.log[0].endsWith(QStringLiteral("(%1)").arg(c.faulty)));
    }
}

TEST(Molecule, TwoMoleculesCollidingInTheirCollisionFrame) {
    struct Case {
        const char* name;
        int bX, bY;                    // B's left and bottom; A stands at (100, 100)
        double avX, bvX;               // velocities before
        double eA, eB;                 // restitution
        bool bVisible;
        double avX2, avY2, bvX2, bvY2; // velocities after
        double bX2, bY2;               // B's position after, in tenths
    };
    // Mass 1 gives side 10, radius 50 tenths: centres 90 tenths apart overlap. B then moves out
    // by a tenth of the offset per step: 90 -> 99 -> 108.
    const Case cases[] = {
        {"head-on exchange", 109, 100, 20, -20, 1, 1, true, -20, 0, 20, 0, 1108, 1000},
        {"restitution 0 on A gives the mean", 109, 100, 30, -10, 0, 1, true, 10, 0, 10, 0, 1108, 1000},
        {"an invisible B takes part", 109, 100, 20, -20, 1, 1, false, -20, 0, 20, 0, 1108, 1000},
        {"apart: nothing happens", 110, 100, 20, -20, 1, 1, true, 20, 0, -20, 0, 1100, 1000},
        // Exactly on A: B moves 5 tenths right and up, then steps of trunc(0.5) = 0 leave it there.
        {"coincident pair stays overlapping", 100, 100, 20, -20, 1, 1, true, 0, 0, 0, 0, 1005, 1005},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FigureFixture f;
        ASSERT_EQ(f.run({kindLine(Kind::Molecule, "a,1,100,100,0,0,1"),
                         kindLine(Kind::Molecule, QStringLiteral("b,1,%1,%2,0,0,2").arg(c.bX).arg(c.bY))}),
                  0);
        AnimeInfo& a = *f.state.characters[0];
        AnimeInfo& b = *f.state.characters[1];
        a.setVelocity(c.avX, 0, 0);
        b.setVelocity(c.bvX, 0, 0);
        a.eX = c.eA, b.eX = c.eB;
        if (!c.bVisible) b.disp = 0;
        drawOneFrame(f.state);
        EXPECT_EQ(a.vX, c.avX2);
        EXPECT_EQ(a.vY, c.avY2);
        EXPECT_EQ(b.vX, c.bvX2);
        EXPECT_EQ(b.vY, c.bvY2);
        EXPECT_EQ(a.X, 1000); // only B moves
        EXPECT_EQ(a.Y, 1000);
        EXPECT_EQ(b.X, c.bX2);
        EXPECT_EQ(b.Y, c.bY2);
    }
}

TEST(Molecule, PairIsHandledOnlyWhenTheEarlierOneIsDrawn) {
    FigureFixture f;
    ASSERT_EQ(f.run({kindLine(Kind::Molecule, "a,1,100,100,20,0,1"),
                     kindLine(Kind::Molecule, "b,1,109,100,-20,0,2")}), 0);
    AnimeInfo& a = *f.state.characters[0];
    AnimeInfo& b = *f.state.characters[1];
    a.disp = 0;
    drawOneFrame(f.state);
    EXPECT_EQ(a.vX, 20);
    EXPECT_EQ(b.vX, -20);
    // A glancing blow along a diagonal turns both and keeps the sum of the velocities.
    a.disp = 1;
    b.X = 1080, b.Y = 1060; // offset (80, 60), 100 tenths apart: touching is not overlapping
    drawOneFrame(f.state);
    EXPECT_EQ(a.vX, 20);
    b.X = 1040, b.Y = 1030; // offset (40, 30): overlapping, normal (0.8, 0.6)
    drawOneFrame(f.state);
    // uA = 16, uB = -16, exchanged; tangential parts stay: A (20,0) -> t 12, u -16.
    EXPECT_EQ(a.vX, std::trunc(12 * 0.6 - 16 * 0.8));
    EXPECT_EQ(a.vY, std::trunc(-12 * 0.8 - 16 * 0.6));
    EXPECT_EQ(b.vX, std::trunc(-12 * 0.6 + 16 * 0.8));
    EXPECT_EQ(b.vY, std::trunc(12 * 0.8 + 16 * 0.6));
    EXPECT_EQ(a.vX + b.vX, 0);
}

} // namespace
