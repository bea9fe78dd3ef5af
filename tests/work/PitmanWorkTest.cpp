// A work that plays the gold-collecting game: keys of the window play a whole small map in the
// drawn frames, with the message once its gold is collected.
#include "WorkFixture.h"
#include "characters/pitmanInfo.h"

namespace {

class PitmanWorkTest : public WorkFixture {
protected:
    // Frame ticks until one more frame was drawn.
    void nextFrame() {
        const int drawn = runner().framesDrawn();
        for (int i = 0; i < 100 && runner().framesDrawn() == drawn; ++i) runner().frameTick();
    }
    void press(GameKey key) {
        runner().gameInput().key = key;
        nextFrame();
    }
};

TEST_F(PitmanWorkTest, KeysOfTheWindowCollectTheGoldOfAMap) {
    // Down the ladder, left through the earth to the gold, and back for the gold on top.
    load({"ANIME_SET:", "pitman:\"pit\",6,4,100,50,20,20", "888888", "800612", "823313", "888888",
          "DotPtn:hito,1,1,0,0,0,0,0,1,1", ".", "SET_END:", "hito[0]: pitman=3", "Wait:300"});
    run->start();
    runTicks(3);
    auto* game = dynamic_cast<pitmanInfo*>(runner().animation().characters.at(0)->kind.get());
    ASSERT_NE(game, nullptr);
    const BoardGrid& grid = game->board().grid();
    EXPECT_EQ(game->board().playerCell(), grid.cellAt(3, 1));
    const struct {
        GameKey key;
        int column, row;
    } keys[] = {{GameKey::Right, 4, 1}, {GameKey::Down, 4, 2}, {GameKey::Left, 3, 2}, {GameKey::Left, 2, 2},
                {GameKey::Left, 1, 2}, {GameKey::Right, 2, 2}, {GameKey::Right, 3, 2}, {GameKey::Right, 4, 2},
                {GameKey::Up, 4, 1}};
    for (const auto& k : keys) {
        press(k.key);
        EXPECT_EQ(runner().gameInput().key, GameKey::None);
        EXPECT_EQ(game->board().playerCell(), grid.cellAt(k.column, k.row));
    }
    EXPECT_TRUE(dialogs().empty());
    press(GameKey::Right); // the last gold
    nextFrame();           // the map is done
    ASSERT_EQ(dialogs().size(), 1u);
    EXPECT_EQ(dialogs()[0].caption, QStringLiteral("第1マップの金塊は回収しました！"));
    EXPECT_EQ(dialogs()[0].text, QStringLiteral("全てのマップが片付きました。"));
    EXPECT_EQ(game->board().playerCell(), grid.cellAt(3, 1)); // the map starts over
}

} // namespace
