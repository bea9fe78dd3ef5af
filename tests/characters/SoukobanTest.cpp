// The warehouse game: moves by key on a small stage, dead pushes, undo, stage changes and
// clearing with their messages, the drawing of a tiny board, the solver and the demonstration.
#include "GameFixture.h"
#include "anime/AnimeCanvas.h"
#include "characters/SoukobanBoard.h"
#include "characters/SoukobanSolver.h"
#include "characters/soukobanInfo.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// Two stages of 7 x 5: one box two pushes right of its goal, then one push.
const std::vector<const char*> kStages = {
    "4444444", "4000004", "4023014", "4000004", "4444444",
    "4444444", "4000004", "4002314", "4000004", "4444444",
};

int cell(int column, int row) { return row * 7 + column; }

SoukobanBoard twoStages(int start = 0) { return SoukobanBoard(7, 5, cellsOf(kStages), 2, start); }

constexpr GameKey L = GameKey::Left, U = GameKey::Up, R = GameKey::Right, D = GameKey::Down, Z = GameKey::Undo;
constexpr MoveOutcome Moved = MoveOutcome::Moved, Refused = MoveOutcome::Refused;

TEST(SoukobanBoard, MovesOnASmallStage) {
    using K = std::vector<GameKey>;
    struct Case {
        const char* name;
        K keys;
        MoveOutcome lastResult;
        int player, box, moves;
    };
    const Case cases[] = {
        {"push", {R}, Moved, cell(3, 2), cell(4, 2), 1},
        {"walk then wall", {L, L}, Refused, cell(1, 2), cell(3, 2), 1},
        {"push against the wall", {D, R, U, U}, Refused, cell(3, 2), cell(3, 1), 3},
        {"push into a corner that is no goal", {D, R, U, L, U, R, R}, Refused, cell(3, 1), cell(4, 1), 6},
        {"undo back to the start", {D, R, U, Z, Z, Z}, Moved, cell(2, 2), cell(3, 2), 0},
        {"undo with no move", {Z}, Refused, cell(2, 2), cell(3, 2), 0},
        {"other keys do nothing", {GameKey('A'), GameKey::Enter}, Refused, cell(2, 2), cell(3, 2), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingCheckSink sink;
        ScopedCheckSink installed(&sink);
        SoukobanBoard b = twoStages();
        const std::vector<int8_t> start = b.board();
        MoveOutcome result = Moved;
        for (GameKey key : c.keys) result = b.move(key);
        EXPECT_EQ(result, c.lastResult);
        EXPECT_EQ(b.playerCell(), c.player);
        EXPECT_EQ(b.at(c.player), SoukobanBoard::Player);
        EXPECT_EQ(b.at(c.box), SoukobanBoard::Box);
        EXPECT_EQ(b.moveCount(), c.moves);
        if (c.moves == 0) {
            EXPECT_EQ(b.board(), start);
        }
        EXPECT_TRUE(sink.records.empty());
    }
}

TEST(SoukobanBoard, UndoRestoresTheGoalUnderThePlayer) {
    // The player walks over the goal and pushes the box on; undo gives each back.
    SoukobanBoard b(7, 3, cellsOf({"4444444", "4213004", "4444444"}), 1, 0);
    EXPECT_EQ(b.move(R), Moved); // onto the goal
    EXPECT_EQ(b.move(R), Moved); // pushes the box on along the wall: the goal is empty again
    EXPECT_EQ(b.at(2, 1), SoukobanBoard::Goal);
    EXPECT_EQ(b.at(4, 1), SoukobanBoard::Box);
    EXPECT_EQ(b.move(Z), Moved);
    EXPECT_EQ(b.at(2, 1), SoukobanBoard::Player);
    EXPECT_EQ(b.at(3, 1), SoukobanBoard::Box);
    EXPECT_EQ(b.at(4, 1), SoukobanBoard::Floor);
    EXPECT_EQ(b.move(Z), Moved);
    EXPECT_EQ(b.at(1, 1), SoukobanBoard::Player);
    EXPECT_EQ(b.at(2, 1), SoukobanBoard::Goal);
    EXPECT_EQ(b.playerCell(), 7 + 1);
}

TEST(SoukobanBoard, TwoBoxesAlongAWallNeverMakeABlock) {
    SoukobanBoard b(7, 5, cellsOf({"4444444", "4003004", "4030014", "4020104", "4444444"}), 1, 0);
    const std::vector<int8_t> before = b.board();
    EXPECT_EQ(b.move(U), Refused);
    EXPECT_EQ(b.board(), before);
    EXPECT_EQ(b.moveCount(), 0);
}

// The two stages as a game character with a player in user play: keys go through the frame.
TEST(SoukobanBoard, BoxesThePlayerCannotReachAreNeverDead) {
    // The box walled in at the top left stands in a block, but no push can change it: pushing the
    // other box onto the goal beside it clears the stage.
    SoukobanBoard b(6, 4, cellsOf({"444444", "434444", "441324", "444444"}), 1, 0);
    EXPECT_FALSE(b.reachable(1 * 6 + 1));
    EXPECT_TRUE(b.reachable(2 * 6 + 3));
    EXPECT_EQ(b.move(L), MoveOutcome::AllCleared);
}

struct TwoStageGame : GameFixture {
    soukobanInfo* game = nullptr;
    AnimeInfo* player = nullptr;
    TwoStageGame() {
        QStringList lines{kindCode(Kind::Soukoban) + QStringLiteral(":w,7,5,0,0,10,10,2")};
        for (const char* row : kStages) lines.append(QString::fromLatin1(row));
        run(lines);
        game = static_cast<soukobanInfo*>(state.characters.at(0)->kind.get());
        player = &linkPlayer(3);
    }
    void press(GameKey key) {
        game->key(key);
        game->stepPlayer(*player);
    }
};

TEST(SoukobanBoard, ClearingStagesShowsTheMessagesAndMovesOn) {
    // The rules report the clearing; the game character shows the message.
    SoukobanBoard rules = twoStages();
    rules.move(R);
    EXPECT_EQ(rules.move(R), MoveOutcome::StageCleared);
    EXPECT_EQ(rules.move(R), MoveOutcome::AllCleared);

    TwoStageGame g;
    const SoukobanBoard& b = g.game->board();
    g.press(R);
    g.press(R);
    ASSERT_EQ(g.sink.records.size(), 1u);
    EXPECT_EQ(g.sink.records[0].caption, QStringLiteral("第1倉庫は片付きました！"));
    EXPECT_EQ(g.sink.records[0].text, QStringLiteral("次の倉庫に移動します。"));
    EXPECT_EQ(g.sink.records[0].style, 0);
    EXPECT_EQ(b.currentStage(), 1);
    EXPECT_EQ(b.moveCount(), 0);
    EXPECT_EQ(b.playerCell(), cell(3, 2));

    const std::vector<int8_t> before = b.board();
    g.press(R);
    ASSERT_EQ(g.sink.records.size(), 2u);
    EXPECT_EQ(g.sink.records[1].caption, QStringLiteral("第2倉庫は片付きました！"));
    EXPECT_EQ(g.sink.records[1].text, QStringLiteral("全ての倉庫が片付きました。"));
    EXPECT_TRUE(b.allDone());
    // The finished board stays as it was left: the box on its goal, no more moves or undo.
    EXPECT_EQ(b.at(5, 2), SoukobanBoard::Box);
    EXPECT_EQ(g.game->board().move(L), Refused);
    EXPECT_EQ(g.game->board().move(Z), Refused);
    EXPECT_NE(b.board(), before);
}

TEST(SoukobanBoard, StageKeysStopAtTheEnds) {
    SoukobanBoard b = twoStages();
    b.move(R);
    b.move(GameKey::PreviousStage); // the first stage has no previous one
    EXPECT_EQ(b.currentStage(), 0);
    EXPECT_EQ(b.moveCount(), 1);
    b.move(GameKey::NextStage);
    EXPECT_EQ(b.currentStage(), 1);
    EXPECT_EQ(b.moveCount(), 0);
    b.move(GameKey::NextStage);
    EXPECT_EQ(b.currentStage(), 1);
    b.move(GameKey::PreviousStage);
    EXPECT_EQ(b.currentStage(), 0);
    EXPECT_EQ(b.playerCell(), cell(2, 2)); // the stage starts afresh
}

TEST(SoukobanBoard, MapsWithoutGoalsWallsOrPlayer) {
    RecordingCheckSink sink;
    ScopedCheckSink installed(&sink);
    // No goal: the first move clears the stage.
    SoukobanBoard noGoal(3, 1, cellsOf({"203"}), 1, 0);
    EXPECT_EQ(noGoal.move(R), MoveOutcome::AllCleared);
    EXPECT_TRUE(noGoal.allDone());
    // No walls: the board's edge holds the player and the box.
    SoukobanBoard open(3, 1, cellsOf({"231"}), 1, 0);
    EXPECT_EQ(open.move(L), Refused);
    EXPECT_EQ(open.move(R), MoveOutcome::AllCleared);
    // No player: nothing moves.
    SoukobanBoard nobody(3, 1, cellsOf({"031"}), 1, 0);
    EXPECT_EQ(nobody.move(R), Refused);
    // Floor the player cannot reach takes no box.
    SoukobanBoard closed(5, 1, cellsOf({"23040"}), 1, 0);
    EXPECT_EQ(closed.at(4, 0), SoukobanBoard::Unreachable);
}

TEST(SoukobanSolver, SolvesASmallStageAndTheWalkPlaysIt) {
    RecordingCheckSink sink;
    ScopedCheckSink installed(&sink);
    SoukobanBoard b(7, 6, cellsOf({"4444444", "4100014", "4030304", "4002004", "4000004", "4444444"}), 1, 0);
    SoukobanSolver solver(b);
    while (solver.run() == SoukobanSolver::Result::Running) {
    }
    ASSERT_EQ(solver.result(), SoukobanSolver::Result::Solved);
    EXPECT_GE(solver.plan().size(), 4u); // each box needs two pushes at least
    std::vector<int> walk;
    for (const auto& push : solver.plan()) {
        ASSERT_TRUE(SoukobanSolver::walk(b, b.neighbour(push.box, BoardGrid::reverse(push.direction)), walk));
        for (int d : walk) ASSERT_TRUE(b.step(d, true));
        ASSERT_TRUE(b.step(push.direction, true));
    }
    EXPECT_EQ(b.emptyGoals(), 0);
}

TEST(SoukobanSolver, GivesUpOnAStageWithNoSolution) {
    // The goal lies behind a wall that no box can pass.
    SoukobanBoard b(7, 3, cellsOf({"4444444", "4230414", "4444444"}), 1, 0);
    SoukobanSolver solver(b);
    int slices = 0;
    while (solver.run() == SoukobanSolver::Result::Running) ++slices;
    EXPECT_EQ(solver.result(), SoukobanSolver::Result::Failed);
    EXPECT_LE(slices, 1);
}

TEST(Soukoban, DemonstrationClearsEveryStageThenRests) {
    GameFixture f;
    QStringList lines{kindCode(Kind::Soukoban) + QStringLiteral(":w,7,5,0,0,10,10,2")};
    for (const char* row : kStages) lines.append(QString::fromLatin1(row));
    ASSERT_EQ(f.run(lines), 0);
    auto* game = static_cast<soukobanInfo*>(f.state.characters[0]->kind.get());
    AnimeInfo& player = f.linkPlayer(1);
    int frames = 0;
    while (player.chaseMode == 1 && frames < 200) {
        game->stepPlayer(player);
        arrive(player);
        ++frames;
    }
    EXPECT_EQ(player.chaseMode, 0);
    EXPECT_TRUE(game->board().allDone());
    EXPECT_TRUE(f.sink.records.empty()); // the demonstration shows no messages
    EXPECT_EQ(game->statusLine(), QStringLiteral("  2 ／2 面 "));
    EXPECT_EQ(player.gotoX, game->spriteX(3)); // at rest in the board's centre cell
    EXPECT_EQ(player.gotoY, game->spriteY(2));

    // The user takes over on the game pad: play starts again with the first stage.
    player.setAttribute(Attr::Soukoban, 2);
    f.host.padVisible = true;
    game->key(GameKey::Right);
    game->stepPlayer(player);
    EXPECT_EQ(player.chaseMode, 3);
    EXPECT_EQ(game->board().currentStage(), 0);
    EXPECT_EQ(game->board().playerCell(), 2 * 7 + 3);
    EXPECT_EQ(game->statusLine(), QStringLiteral("  1 ／2 面     1 "));
}

TEST(Soukoban, PlayStartsOnTheFirstStage) {
    // A player waiting on the second stage plays from the first once the game pad shows.
    TwoStageGame g;
    g.game->board().goToStage(1);
    g.player->setAttribute(Attr::Soukoban, 2);
    EXPECT_EQ(g.game->board().currentStage(), 1);
    g.host.padVisible = true;
    g.press(GameKey::Down);
    EXPECT_EQ(g.player->chaseMode, 3);
    EXPECT_EQ(g.game->board().currentStage(), 0);
    EXPECT_EQ(g.game->board().playerCell(), cell(2, 3));
    EXPECT_EQ(g.game->statusLine(), QStringLiteral("  1 ／2 面     1 "));
}

QRgb at(const QImage& image, int x, int y) { return image.pixel(x, y) & 0xFFFFFF; }

// Whether a rectangle holds a pixel close to a colour (glyphs are antialiased).
bool holds(const QImage& image, QRect area, uint32_t color, int tolerance = 40) {
    const QRgb want = rgbOfColor(color);
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (std::abs(qRed(p) - qRed(want)) < tolerance && std::abs(qGreen(p) - qGreen(want)) < tolerance &&
                std::abs(qBlue(p) - qBlue(want)) < tolerance)
                return true;
        }
    return false;
}

TEST(Soukoban, DrawsATinyBoard) {
    GameFixture f;
    ASSERT_EQ(f.run({kindCode(Kind::Soukoban) + QStringLiteral(":w,4,3,0,0,20,20"), "4444", "4231", "4444"}), 0);
    AnimeInfo& board = *f.state.characters[0];
    auto* game = static_cast<soukobanInfo*>(board.kind.get());
    QImage picture(140, 120, QImage::Format_RGB32);
    picture.fill(Qt::magenta);
    AnimeCanvas canvas(picture, 120, {});
    ASSERT_TRUE(game->draw(canvas, board, {20, 40, 4, 3, 1, 0x102030}));
    EXPECT_EQ(at(picture, 21, 41), rgbOfColor(0x404048) & 0xFFFFFF); // wall at the top left
    EXPECT_EQ(at(picture, 99, 99), rgbOfColor(0x404048) & 0xFFFFFF); // last cell's last pixel
    EXPECT_EQ(at(picture, 100, 100), QColor(Qt::magenta).rgb() & 0xFFFFFF); // past the board
    EXPECT_EQ(at(picture, 41, 61), rgbOfColor(0x102030) & 0xFFFFFF); // player cell, background
    EXPECT_TRUE(holds(picture, {40, 60, 20, 20}, 0xFF0000, 120)); // "◎" (thin) before the first move
    EXPECT_TRUE(holds(picture, {60, 60, 20, 20}, 0x00FFFF)); // box
    EXPECT_TRUE(holds(picture, {80, 60, 20, 20}, 0x00C0C0)); // goal
    EXPECT_TRUE(holds(picture, {10, 20, 100, 20}, 0xFFFFFF)); // status line above the board
    EXPECT_EQ(game->statusLine(), QStringLiteral("  1 ／1 面     0 "));
}

} // namespace
