// Point charges declared in a block: a charged dot pulled or pushed over two frames, a dot on
// the charge itself, a charge set before any Coulomb, and the declaration's faulty parameters.
#include "FigureFixture.h"
#include "anime/AnimeMotion.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

TEST(Coulomb, ChargedDotVelocityAfterOneAndTwoFrames) {
    struct Case {
        const char* name;
        double q;
        int dotX;          // the dot's left; the charge stands at x = 100
        double v1, v2;     // vX after one and two frames
    };
    // A dot 10 pixels right of Q = -500 with Charge 1: b = -500 / 10^2 = -5, vX += 100 x b / 10 = -50;
    // it moves 5 pixels, so then b = -500 / 5^2 = -20 and vX += 50 x b / 5 = -200.
    const Case cases[] = {
        {"pulled", -500, 110, -50, -250},
        {"pushed", 500, 110, 50, 50 + 150 * (500.0 / (15 * 15)) / 15},
        {"on the charge", -500, 100, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FigureFixture f;
        ASSERT_EQ(f.run({kindLine(Kind::Coulomb, QStringLiteral("plus,%1,100,50").arg(c.q))}), 0);
        ASSERT_EQ(f.state.charges.size(), 1u);
        AnimeInfo& charge = *f.state.characters[0];
        EXPECT_EQ(charge.disp, 0);
        EXPECT_EQ(f.state.charges[0]->owner, &charge);
        AnimeInfo& dot = f.state.createCharacter("dot", c.dotX, 50, 1, 1, 1, 1);
        dot.disp = 1;
        dot.setAttribute(Attr::Charge, 1);
        const CanvasBounds bounds{-10000, -10000, 10000, 10000};
        stepCharacter(dot, bounds);
        EXPECT_DOUBLE_EQ(dot.vX, c.v1);
        EXPECT_EQ(dot.vY, 0);
        stepCharacter(dot, bounds);
        EXPECT_NEAR(dot.vX, c.v2, 1e-9);
        EXPECT_TRUE(std::isfinite(dot.X));
    }
}

TEST(Coulomb, ChargeGivenBeforeAnyCoulombActsOnlyWhenGivenAgain) {
    FigureFixture f;
    AnimeInfo& dot = f.state.createCharacter("dot", 110, 50, 1, 1, 1, 1);
    dot.disp = 1;
    dot.setAttribute(Attr::Charge, 1);
    ASSERT_EQ(f.run({kindLine(Kind::Coulomb, "minus,-500,100,50")}), 0);
    const CanvasBounds bounds{-10000, -10000, 10000, 10000};
    stepCharacter(dot, bounds);
    EXPECT_EQ(dot.vX, 0);
    dot.setAttribute(Attr::Charge, 1);
    stepCharacter(dot, bounds);
    EXPECT_EQ(dot.vX, -50);
    // Moving the Coulomb character moves its charge.
    f.state.characters[1]->setAttribute(Attr::X, 120);
    dot.setVelocity(0, 0, 0);
    dot.X = 1100;
    applyCharges(dot);
    EXPECT_EQ(dot.vX, 50);
}

TEST(Coulomb, FaultyParametersAreReported) {
    struct Case {
        const char* params;
        const char* faulty;
    };
    const Case cases[] = {{"q,1000.5,0,0", "Q"}, {"q,,0,0", "Q"}, {"q,x,0,0", "Q"}, {"q,-1000.01,0,0", "Q"},
                          {"q,1,16385,0", "lft"}, {"q,1,0", "top"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.params);
        FigureFixture f;
        EXPECT_EQ(f.run({kindLine(Kind::Coulomb, c.params)}), -1);
        EXPECT_TRUE(f.state.charges.empty());
        ASSERT_EQ(f.host.log.size(), 1);
        EXPECT_TRUE(f.host.log[0].endsWith(QStringLiteral("(%1)").arg(c.faulty))) << f.host.log[0].toStdString();
    }
    FigureFixture f;
    ASSERT_EQ(f.run({kindLine(Kind::Coulomb, "q,-999.75,0,0")}), 0);
    EXPECT_EQ(f.state.charges[0]->charge, -999.75); // not rounded
}

} // namespace
