// A work that plays the gold-collecting game: keys of the window play a whole small map in the
// drawn frames, with the message once its gold is collected.
#include "VimoraRunProcess.h"
#include "WorkFixture.h"
#include "characters/pitmanInfo.h"

namespace {

class PitmanWorkTest : public WorkFixture {};

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

TEST(PitmanRunTest, VimoraRunPlaysAWholeMapWithThePadOpenAndItsKeys) {
    TempFolder folder;
    const QString program = folder.write(
        "pit.acmd", "ANIME_SET:\r\npitman:\"pit\",6,4,100,50,20,20\r\n888888\r\n800612\r\n823313\r\n888888\r\n"
                    "DotPtn:hito,1,1,0,0,0,0,0,1,1\r\n.\r\nSET_END:\r\nhito[0]: pitman=2\r\nWait:100\r\n");
    // Down the ladder, left through the earth to the gold, back and up, and right for the last
    // gold: one key every 200 virtual milliseconds, two frames apart.
    const int keys[] = {39, 40, 37, 37, 37, 39, 39, 39, 38, 39};
    const struct {
        int keysGiven;
        QStringList board;
        int moves;
        int dialogs;
    } cases[] = {
        {9, {"888888", "800062", "800013", "888888"}, 9, 0},
        {10, {"888888", "800612", "823313", "888888"}, 0, 1}, // collected: the map starts over
    };
    for (const auto& c : cases) {
        QStringList arguments{program, "--pad", "--ms", "3000", "--state", folder.file("s.json")};
        for (int i = 0; i < c.keysGiven; ++i) arguments << "--key" << QStringLiteral("%1:%2").arg(500 + 200 * i).arg(keys[i]);
        const VimoraRunOutcome o = vimoraRun(arguments);
        ASSERT_EQ(o.exitCode, 0) << o.out.toStdString();
        const QJsonObject state = readRunState(folder.file("s.json"));
        const QJsonObject game = firstGame(state);
        EXPECT_EQ(game["mode"].toInt(), 3) << "the open pad started user play";
        EXPECT_EQ(game["stage"].toInt(), 1);
        EXPECT_EQ(game["stages"].toInt(), 1);
        EXPECT_EQ(game["moves"].toInt(), c.moves);
        QStringList board;
        for (const QJsonValue& row : game["board"].toArray()) board << row.toString();
        EXPECT_EQ(board, c.board) << board.join('/').toStdString();
        const QJsonArray dialogs = state["dialogs"].toArray();
        ASSERT_EQ(dialogs.size(), c.dialogs);
        if (c.dialogs > 0) {
            EXPECT_EQ(dialogs[0].toObject()["caption"].toString(), "第1マップの金塊は回収しました！");
            EXPECT_EQ(dialogs[0].toObject()["text"].toString(), "全てのマップが片付きました。");
        }
    }
}

} // namespace
