// The bundled warehouse work (練習帳 / 倉庫番) run as the gallery runs it, headless: its
// demonstration plans boxes onto goals, searches where it finds no plan with its backtracking
// drawn grey, hands the last room to the solver, and clears every stage before the program asks
// the player to play.
#include "characters/soukobanInfo.h"
#include "work/HeadlessRun.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

int greyPixels(const QImage& picture) {
    int grey = 0;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) grey += (picture.pixel(x, y) & 0xFFFFFF) == 0x808080 ? 1 : 0;
    return grey;
}

TEST(SoukobanWork, TheBundledDemonstrationSearchesBacktracksGreyAndClearsEveryStage) {
    if (qEnvironmentVariableIsEmpty("VIMORA_HOME")) GTEST_SKIP() << "VIMORA_HOME names no home folder";
    RunOptions options;
    options.program = qEnvironmentVariable("VIMORA_HOME") + QStringLiteral("/renshu/souko.acmd");
    options.seed = 7;
    HeadlessRun run(options);
    ASSERT_TRUE(run.load());
    soukobanInfo* game = nullptr;
    int greyFrames = 0, plainFrames = 0, stagesSeen = 0, framesToClear = -1;
    bool solverUsed = false;
    run.runner().onFrameDrawn = [&] {
        const auto& characters = run.runner().animation().characters;
        if (!game && !characters.empty()) game = dynamic_cast<soukobanInfo*>(characters[0]->kind.get());
        if (!game) return;
        const int grey = greyPixels(run.runner().view().picture);
        if (game->backtracking()) {
            ++greyFrames;
            EXPECT_GT(grey, 20 * 30 * 30); // the floor of the room, 30 x 30 pixels a cell
        } else {
            ++plainFrames;
            EXPECT_LT(grey, 30); // a few pixels of antialiased glyphs at most
        }
        solverUsed = solverUsed || game->demonstration() == soukobanInfo::Demo::Solve;
        stagesSeen = std::max(stagesSeen, game->board().currentStage() + 1);
        if (framesToClear < 0 && game->board().allDone()) framesToClear = run.runner().framesDrawn();
    };
    run.run();
    ASSERT_NE(game, nullptr);
    EXPECT_EQ(run.exitStatus(), 0);
    EXPECT_TRUE(run.dialogs().records.empty()); // the demonstration shows no stage messages
    EXPECT_EQ(game->board().stageCount(), 3);
    EXPECT_GE(stagesSeen, 3);
    EXPECT_GT(greyFrames, 0);
    EXPECT_GT(plainFrames, greyFrames);
    EXPECT_TRUE(solverUsed);
    // Cleared within the program's 35 seconds of demonstration, at 10 frames a second.
    EXPECT_GT(framesToClear, 0);
    EXPECT_LT(framesToClear, 350);
}

} // namespace
