// A work that plays the warehouse game: the window's pending key and click reach the game in the
// next drawn frame and are used up there.
#include "WorkFixture.h"
#include "characters/soukobanInfo.h"

namespace {

class WorkGameTest : public WorkFixture {
protected:
    void loadGame(int mode) {
        load({"ANIME_SET:", "Soukoban:\"souko\",6,4,100,50,10,10", "444444", "420314", "400004", "444444",
              "DotPtn:hito,1,1,0,0,0,0,0,1,1", "2", "SET_END:", QStringLiteral("hito[0]: Soukoban=%1").arg(mode),
              "Wait:100"});
        run->start();
        runTicks(3);
        ASSERT_EQ(runner().animation().characters.size(), 2u);
        game = static_cast<soukobanInfo*>(runner().animation().characters[0]->kind.get());
        ASSERT_NE(game, nullptr);
    }
    soukobanInfo* game = nullptr;
};

TEST_F(WorkGameTest, KeysAndClicksOfTheWindowMoveThePlayer) {
    loadGame(3);
    ASSERT_EQ(game->board().playerCell(), 7);
    runner().gameInput().key = GameKey::Down;
    nextFrame();
    EXPECT_EQ(runner().gameInput().key, GameKey::None);
    EXPECT_EQ(game->board().playerCell(), 13);
    // A click on cell (4, 2) at zoom 100: right first, one cell per frame.
    runner().gameInput().mouseDown = QPoint(145, 0); // above the board: the walk aims at row 0
    nextFrame();
    EXPECT_EQ(runner().gameInput().mouseDown.x(), -1);
    EXPECT_EQ(game->board().playerCell(), 14);
}

TEST_F(WorkGameTest, ADemonstrationPlaysByItself) {
    loadGame(1);
    for (int i = 0; i < 40 && !game->board().allDone(); ++i) nextFrame();
    EXPECT_TRUE(game->board().allDone());
    EXPECT_TRUE(dialogs().empty());
}

} // namespace
