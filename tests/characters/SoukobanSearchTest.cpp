// The warehouse demonstration's own search: direct plans (straight, with room made behind the
// box, none), and a room where the depth-first search backtracks, greying the board, gives up and
// leaves the room to the solver.
#include "GameFixture.h"
#include "anime/AnimeCanvas.h"
#include "characters/SoukobanBoard.h"
#include "characters/SoukobanSearch.h"
#include "characters/soukobanInfo.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

using Push = SoukobanSearch::Push;
constexpr int R = BoardGrid::Right, L = BoardGrid::Left;

TEST(SoukobanSearch, DirectPlans) {
    struct Case {
        const char* name;
        int width;
        std::vector<const char*> rows;
        std::vector<std::pair<int, int>> pushes; // (box column, direction) along row 1 or 2
        int row;
    };
    const Case cases[] = {
        {"straight on", 7, {"4444444", "4000004", "4023014", "4000004", "4444444"}, {{3, R}, {4, R}}, 2},
        // The player stands between the box and the goal: the box goes back into the room, the
        // player round it, and the box comes forward again.
        {"room made behind the box",
         9,
         {"444444444", "400044444", "400032014", "400044444", "444444444"},
         {{4, L}, {3, L}, {2, R}, {3, R}, {4, R}, {5, R}, {6, R}},
         2},
        {"no way behind the box in a corridor", 8, {"44444444", "40032014", "44444444"}, {}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SoukobanBoard board(c.width, int(c.rows.size()), cellsOf(c.rows), 1, 0);
        std::vector<Push> plan;
        EXPECT_EQ(SoukobanSearch::directPlan(board, plan), !c.pushes.empty());
        std::vector<std::pair<int, int>> made;
        for (const Push& p : plan) {
            EXPECT_EQ(board.grid().row(p.box), c.row);
            made.emplace_back(board.grid().column(p.box), p.direction);
        }
        EXPECT_EQ(made, c.pushes);
    }
}

TEST(SoukobanSearch, BoxesOnGoalsStayWhereTheyAre) {
    // The box pushed onto the nearer goal is not taken on to the farther one.
    SoukobanBoard board(7, 3, cellsOf({"4444444", "4231104", "4444444"}), 1, 0);
    ASSERT_TRUE(board.step(R, true));
    std::vector<Push> plan;
    EXPECT_FALSE(SoukobanSearch::directPlan(board, plan));
    EXPECT_TRUE(plan.empty());
}

// A room with no direct plan at first: the search walks, pushes and takes moves back, then gives
// up, and the solver finishes the room from its start.
struct SearchRoom : GameFixture {
    soukobanInfo* game = nullptr;
    AnimeInfo* board = nullptr;
    SearchRoom() {
        run({kindCode(Kind::Soukoban) + QStringLiteral(":w,8,7,0,0,20,20"), "44444444", "40000004",
             "40201404", "40300004", "43040004", "41000004", "44444444"});
        board = state.characters.at(0).get();
        game = static_cast<soukobanInfo*>(board->kind.get());
    }
    int greyPixels() {
        QImage picture(180, 160, QImage::Format_RGB32);
        picture.fill(Qt::black);
        AnimeCanvas canvas(picture, 160, {});
        game->draw(canvas, *board, {10, 20, 8, 7, 1, 0x102030});
        int grey = 0;
        for (int y = 0; y < picture.height(); ++y)
            for (int x = 0; x < picture.width(); ++x) grey += (picture.pixel(x, y) & 0xFFFFFF) == 0x808080 ? 1 : 0;
        return grey;
    }
};

TEST(SoukobanSearch, BacktrackingGreysTheBoardAndTheSolverFinishesTheRoom) {
    SearchRoom room;
    AnimeInfo& player = room.linkPlayer(1);
    const std::vector<int8_t> start = room.game->board().board();
    int backtracks = 0, solving = 0, depthShown = 0;
    bool searchMoved = false;
    for (int frame = 0; frame < 1000 && player.chaseMode == 1; ++frame) {
        room.game->stepPlayer(player);
        arrive(player);
        const SoukobanBoard& b = room.game->board();
        if (room.game->demonstration() == soukobanInfo::Demo::Search && b.moveCount() > 0) searchMoved = true;
        if (room.game->backtracking()) {
            ++backtracks;
            // Every floor cell turns grey: 24 of them at 20 x 20 pixels, glyphs aside.
            EXPECT_GT(room.greyPixels(), 20 * 400);
        } else if (backtracks == 1) {
            EXPECT_EQ(room.greyPixels(), 0); // the next step draws the board as it is again
        }
        if (room.game->demonstration() == soukobanInfo::Demo::Solve) {
            ++solving;
            EXPECT_EQ(b.board(), start); // the solver starts from the stage's beginning
        }
        if (b.moveCount() == 0 && !b.allDone()) {
            // The plan's walk counts no moves: the status line shows the search's depth.
            depthShown = std::max(depthShown, room.game->statusLine().section(u'面', 1).trimmed().toInt());
        }
    }
    EXPECT_TRUE(searchMoved);
    EXPECT_GT(backtracks, 0);
    EXPECT_GT(solving, 0);
    EXPECT_GT(depthShown, 0);
    EXPECT_TRUE(room.game->board().allDone());
    EXPECT_EQ(player.chaseMode, 0);
    EXPECT_TRUE(room.sink.records.empty());
}

TEST(SoukobanSearch, GlyphsStandTenPixelsInAtHalfTheCellWidthInPoints) {
    SearchRoom room;
    QImage picture(180, 160, QImage::Format_RGB32);
    picture.fill(Qt::black);
    AnimeCanvas canvas(picture, 160, {});
    room.game->draw(canvas, *room.board, {10, 20, 8, 7, 1, 0x102030});
    // The box at column 2, row 3 fills the cell from (50, 80); its glyph starts 10 pixels in.
    auto yellow = [&](int left, int right) {
        int n = 0;
        for (int y = 80; y < 100; ++y)
            for (int x = left; x < right; ++x) n += (picture.pixel(x, y) & 0xFFFFFF) == 0xFFFF00 ? 1 : 0;
        return n;
    };
    EXPECT_EQ(yellow(50, 60), 0);
    EXPECT_GT(yellow(60, 70), 20);
}

} // namespace
