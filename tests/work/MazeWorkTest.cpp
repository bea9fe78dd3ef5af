// A maze work run on the window's frames: a left-hand and a right-hand runner, set going by the
// program with a speed and their links, find the way out of a small maze and walk it, while a
// chaser set on one of them follows it.
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

} // namespace
