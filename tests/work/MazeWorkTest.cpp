// A maze work run on the window's frames: a left-hand and a right-hand runner, set going by the
// program with a speed and their links, find the way out of a small maze and walk it, while a
// chaser set on one of them follows it; and the user walked out of a maze through vimora-run
// with the game pad open and its keys, asked about the next maze and answering either way.
#include "VimoraRunProcess.h"
#include "WorkFixture.h"
#include "anime/AnimeInfo.h"
#include "characters/mazeInfo.h"

namespace {

class MazeWorkTest : public WorkFixture {};

TEST_F(MazeWorkTest, RunnersSetGoingByTheProgramFindTheWayAndWalkIt) {
    load({"ANIME_SET:", "Maze:\"m\",9,7,100,50,10,10,0", "111111101", "100000101", "101010101",
          "101010101", "101011101", "101000001", "101111111", "DotPtn:hidari,2,2,110,30,0,0,0,1,1", "11", "11",
          "DotPtn:migi,2,2,110,30,0,0,0,1,1", "11", "11", "DotPtn:oni,2,2,10,10,0,0,0,1,1", "11", "11", "SET_END:",
          "AnimeTime:20", "hidari: vY=20", "migi: vY=20", "hidari: Maze=1", "migi: Maze=2", "oni: vX=10", "oni: Chaser=1, migi",
          "Wait:1500"});
    run->start();
    runToEnd();
    const auto& characters = runner().animation().characters;
    auto* maze = dynamic_cast<mazeInfo*>(characters.at(0)->kind.get());
    ASSERT_NE(maze, nullptr);
    for (int i : {1, 2}) {
        SCOPED_TRACE(i);
        const mazeUinfo* record = maze->runner(*characters.at(size_t(i)));
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->mode, i);
        EXPECT_EQ(record->run, mazeUinfo::Run::WalkingTrail);
    }
    EXPECT_EQ(characters.at(3)->chased, characters.at(2).get());
    EXPECT_TRUE(dialogs().empty());
    EXPECT_TRUE(host().messages.isEmpty());
}

TEST(MazeRunTest, VimoraRunWalksTheUserOutOfAMazeWithThePadOpenAndItsKeys) {
    TempFolder folder;
    const QString program = folder.write(
        "maze.acmd", "ANIME_SET:\r\nMaze:\"m\",7,5,100,50,20,20,0\r\n1111101\r\n1000001\r\n1011111\r\n1000001\r\n1011111\r\n"
                     "DotPtn:hito,1,1,0,0,0,0,0,1,1\r\n.\r\nSET_END:\r\nhito[0]: Maze=3\r\nWait:100\r\n");
    // Up into the entrance, a bump into the wall on the left (taken back), up the corridor,
    // right along the top corridor and up through the exit: one key every 200 milliseconds.
    const int keys[] = {38, 37, 38, 38, 38, 39, 39, 39, 39, 38, 38};
    const QStringList maze{"1111101", "1000001", "1011111", "1000001", "1011111"};
    const struct {
        int keysGiven;
        const char* answer;
        int dialogs;
        bool newMaze;
    } cases[] = {
        {10, "0", 0, false}, // at the exit, still inside
        {11, "0", 1, false}, // out: asked, and no next maze
        {11, "1", 1, true},  // out: asked, and the next maze is made
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.keysGiven << " keys, answer " << c.answer);
        QStringList arguments{program, "--pad", "--ms", "4000", "--seed", "3", "--answer", c.answer, "--state", folder.file("s.json")};
        for (int i = 0; i < c.keysGiven; ++i) arguments << "--key" << QStringLiteral("%1:%2").arg(500 + 200 * i).arg(keys[i]);
        const VimoraRunOutcome o = vimoraRun(arguments);
        ASSERT_EQ(o.exitCode, 0) << o.out.toStdString();
        const QJsonObject state = readRunState(folder.file("s.json"));
        QStringList board;
        for (const QJsonValue& row : firstGame(state)["board"].toArray()) board << row.toString();
        EXPECT_EQ(board != maze, c.newMaze) << board.join('/').toStdString();
        const QJsonArray dialogs = state["dialogs"].toArray();
        ASSERT_EQ(dialogs.size(), c.dialogs);
        if (c.dialogs > 0) {
            EXPECT_EQ(dialogs[0].toObject()["caption"].toString(), "迷路から出ました。");
            EXPECT_EQ(dialogs[0].toObject()["text"].toString(), "次の迷路に挑戦しますか?(Y/N");
            EXPECT_EQ(dialogs[0].toObject()["style"].toInt(), 1);
        }
    }
}

} // namespace
