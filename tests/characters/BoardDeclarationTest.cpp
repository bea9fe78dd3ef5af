// The board games' declaration: its parameters with their faults and the dot budget, and the
// map rows that each stage consumes.
#include "anime/AnimeState.h"
#include "anime/PlainBlockInput.h"
#include "characters/BoardGame.h"

#include <gtest/gtest.h>

namespace {

TEST(BoardDeclaration, ParametersAndTheirFaults) {
    struct Case {
        const char* params;
        const char* faulty; // nullptr: read
        int stages, start;
    };
    const Case cases[] = {
        {"b,5,3,0,0,10,10", nullptr, 1, 1},
        {"b,5,3,-16384,16384,1,100,2,2", nullptr, 2, 2},
        {"b,5,3,0,0,10,10,0,0", nullptr, 1, 1},     // out of range: one stage, the first
        {"b,5,3,0,0,10,10,101,101", nullptr, 1, 1},
        {"b,5,3,0,0,10,10,x,2", nullptr, 1, 2},     // not a number: also one stage, no error
        {"b,0,3,0,0,10,10", "wid", 0, 0},
        {"b,1025,3,0,0,10,10", "wid", 0, 0},
        {"b,5,0,0,0,10,10", "hei", 0, 0},
        {"b,5,3,-16385,0,10,10", "lft", 0, 0},
        {"b,5,3,0,16385,10,10", "top", 0, 0},
        {"b,5,3,0,0,0,10", "xzoom", 0, 0},
        {"b,5,3,0,0,10,101", "yzoom", 0, 0},
        {"b,5,3,0,0,10", "yzoom", 0, 0},
        {"b,5", "hei", 0, 0},
        // 1024 x 1024 cells in 100 stages are past the animation's dot budget.
        {"b,1024,1024,0,0,1,1,100", "stages", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.params);
        AnimeState state;
        PlainBlockInput input({});
        BoardDeclaration d;
        const auto faulty = readBoardDeclaration(state, input, QString::fromLatin1(c.params), d);
        if (c.faulty) {
            ASSERT_TRUE(faulty.has_value());
            EXPECT_EQ(*faulty, QString::fromLatin1(c.faulty));
            continue;
        }
        ASSERT_FALSE(faulty.has_value()) << faulty->toStdString();
        EXPECT_EQ(d.stages, c.stages);
        EXPECT_EQ(d.start, c.start);
        EXPECT_EQ(input.status(), 0);
    }
}

TEST(BoardDeclaration, RowsAreConsumedPerStageAndShortOnesAreFloor) {
    AnimeState state;
    PlainBlockInput input({"4444", "42", "4444", "next", "after"});
    BoardDeclaration d;
    ASSERT_FALSE(readBoardDeclaration(state, input, "b,4,2,0,0,10,10,2", d).has_value());
    ASSERT_EQ(d.rows.size(), 4u);
    EXPECT_EQ(d.cell(0, 1, 1), QChar(u'2'));
    EXPECT_EQ(d.cell(0, 1, 3), QChar(u'0')); // beyond a short row
    EXPECT_EQ(d.cell(1, 1, 0), QChar(u'n'));
    EXPECT_EQ(input.nextDataLine(), QStringLiteral("after"));
    // Rows missing at the block's end read as floor.
    PlainBlockInput shortInput({"44"});
    ASSERT_FALSE(readBoardDeclaration(state, shortInput, "b,2,3,0,0,10,10", d).has_value());
    EXPECT_EQ(d.cell(0, 2, 1), QChar(u'0'));
}

} // namespace
