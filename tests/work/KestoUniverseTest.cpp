// A work that opens the file universe: the character's game mode is the busy mark its program
// reads while the tree window holds the work, in a window and in the headless stand-in.
#include "TestKestoHost.h"
#include "TestSupport.h"
#include "anime/AnimeInfo.h"
#include "common/ShowCheck.h"
#include "universe/TFormNebu.h"
#include "work/HeadlessUniverse.h"

#include <QPointer>
#include <gtest/gtest.h>

namespace {

class KestoUniverseTest : public testing::Test {
protected:
    void SetUp() override {
        folder.write("uchuu/a.txt", "1");
        folder.write("work.acmd", "ANIME_SET:\r\ncanvas:center,640,400\r\nnebu:\"tree\",\"uchuu\"\r\nSET_END:\r\nWait:10000\r\n");
        host.gallery->show();
        window = std::make_unique<TFormKesto>(host);
        ASSERT_TRUE(window->openWork(folder.path() + "/", "work.acmd"));
        ASSERT_EQ(window->runner().animation().characters.size(), 1u);
        nebu = window->findChild<TFormNebu*>();
        ASSERT_NE(nebu, nullptr);
        ASSERT_TRUE(pumpUntil([this] { nebu->timerTick(); return !nebu->opening(); }));
    }
    void TearDown() override { window.reset(); }

    AnimeInfo& tree() { return *window->runner().animation().characters[0]; }

    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
    TempFolder folder;
    TestKestoHost host;
    std::unique_ptr<TFormKesto> window;
    TFormNebu* nebu = nullptr;
};

TEST_F(KestoUniverseTest, TheBusyMarkLastsUntilTheFloatCountHasDockedTheWindow) {
    EXPECT_EQ(tree().chaseMode, 1);
    tree().kind->modeGiven(1); // float out
    nebu->timerTick();
    ASSERT_TRUE(nebu->isFloating());
    tree().kind->modeGiven(3); // the count back to the canvas
    for (int tick = 0; tick < 38; ++tick) nebu->timerTick();
    EXPECT_EQ(tree().chaseMode, 1); // still counting
    nebu->timerTick();
    EXPECT_FALSE(nebu->isFloating());
    EXPECT_EQ(tree().chaseMode, 0);
}

TEST_F(KestoUniverseTest, ClosingTheWindowEndsTheBusyMarkAndTheWorkOutlivesIt) {
    QPointer<TFormNebu> open = nebu;
    nebu->quit();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(open.isNull());
    EXPECT_EQ(tree().chaseMode, 0);
    window.reset(); // the character's kind object finds its window gone
}

TEST(HeadlessUniverseTest, TheCountToDockingEndsAtOnceWithoutAWindow) {
    TempFolder folder;
    folder.write("uchuu/a.txt", "1");
    AnimeInfo owner;
    owner.chaseMode = 1;
    HeadlessUniverse universe(folder.file("uchuu"), 0, {}, &owner);
    universe.modeGiven(1);
    EXPECT_EQ(owner.chaseMode, 1); // floating out keeps the work waiting
    universe.modeGiven(3);
    EXPECT_EQ(owner.chaseMode, 0);
    EXPECT_EQ(universe.floatState(), 3);
}

} // namespace
