// The tile-matching game: connections (edge rule, straight, L, two turns, around the outside,
// blocked), deals that their own solution clears by legal picks, picks and undo, small boards
// played to the end with the cleared message, refused sizes and the demonstration's order.
#include "GameFixture.h"
#include "characters/QtriBoard.h"
#include "characters/TileFaces.h"
#include "characters/qtriInfo.h"
#include "anime/AnimeCanvas.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

struct Cell {
    int column, row;
};

TEST(QtriBoard, ConnectionsTurnAtMostTwiceThroughEmptyCellsOrAroundTheBoard) {
    const struct {
        const char* name;
        Cell a, b;
        std::vector<Cell> taken;
        bool connected;
    } cases[] = {
        {"same outer column, tiles between", {0, 1}, {0, 4}, {}, true},
        {"same outer row, tiles between", {1, 5}, {4, 5}, {}, true},
        {"next door, both shut in", {2, 2}, {2, 3}, {}, false},
        {"next door, one open side", {2, 2}, {2, 3}, {{1, 2}}, true},
        {"straight, blocked", {1, 2}, {4, 2}, {{2, 2}}, false},
        {"straight, free", {1, 2}, {4, 2}, {{2, 2}, {3, 2}}, true},
        {"one turn", {1, 1}, {3, 3}, {{2, 1}, {3, 1}, {3, 2}}, true},
        {"two turns", {1, 1}, {4, 3}, {{1, 0}, {2, 0}, {3, 0}, {4, 0}, {4, 1}, {4, 2}}, true},
        {"two turns, one cell in the way", {1, 1}, {4, 3}, {{1, 0}, {2, 0}, {3, 0}, {4, 0}, {4, 2}}, false},
        {"around the outside", {0, 2}, {2, 0}, {{0, 0}, {1, 0}}, true},
        {"three turns are too many", {1, 1}, {4, 1}, {{1, 0}, {4, 0}}, false},
    };
    for (const auto& c : cases) {
        QtriBoard b(6, 6);
        const BoardGrid& g = b.grid();
        for (const Cell& t : c.taken) b.take(g.cellAt(t.column, t.row));
        const int a = g.cellAt(c.a.column, c.a.row), z = g.cellAt(c.b.column, c.b.row);
        EXPECT_EQ(b.connect(a, z), c.connected) << c.name;
        EXPECT_EQ(b.connect(z, a), c.connected) << c.name << " (the other way)";
    }
}

TEST(QtriBoard, EveryDealIsClearedByItsSolutionInLegalPicks) {
    const struct {
        int width, height;
    } sizes[] = {{2, 1}, {4, 1}, {2, 2}, {4, 3}, {6, 6}, {17, 8}};
    for (const auto& s : sizes)
        for (int round = 0; round < 3; ++round) {
            QtriBoard b(s.width, s.height);
            ASSERT_EQ(b.solutionLength(), b.cells()) << s.width << "x" << s.height;
            std::vector<int> kinds(size_t(b.cells()), 0);
            for (int i = 0; i < b.cells(); ++i) ++kinds[size_t(b.kind(i))];
            for (int i = 0; i < b.cells(); ++i) EXPECT_LE(kinds[size_t(b.kind(i))], QtriBoard::kSameKind);
            const std::vector<int> solution = [&] {
                std::vector<int> l;
                for (int k = 0; k < b.solutionLength(); ++k) l.push_back(b.removalAt(k));
                return l;
            }();
            for (size_t k = 0; k < solution.size(); k += 2) {
                // The pair's tile with an open side is picked first (a shut-in tile is reached
                // from its partner).
                const bool swap = !b.openSide(solution[k]);
                ASSERT_EQ(b.select(solution[k + (swap ? 1 : 0)]), MoveOutcome::Moved)
                    << s.width << "x" << s.height << " pick " << k;
                const MoveOutcome second = b.select(solution[k + (swap ? 0 : 1)]);
                ASSERT_EQ(second, k + 2 == solution.size() ? MoveOutcome::AllCleared : MoveOutcome::Moved)
                    << s.width << "x" << s.height << " pick " << k + 1;
            }
            EXPECT_FALSE(b.empty()) << "a fresh deal after the last pair";
            EXPECT_EQ(b.userCount(), 0);
        }
}

TEST(QtriBoard, PicksNeedAnOpenSideAndUndoPutsTheLastPairBack) {
    QtriBoard b(6, 6);
    const BoardGrid& g = b.grid();
    EXPECT_EQ(b.undo(), MoveOutcome::Refused) << "nothing to undo";
    EXPECT_EQ(b.select(g.cellAt(2, 2)), MoveOutcome::Refused) << "shut in on every side";
    EXPECT_EQ(b.selected(), -1);
    EXPECT_EQ(b.select(0), MoveOutcome::Moved);
    EXPECT_EQ(b.select(0), MoveOutcome::Moved) << "the selected tile again";
    EXPECT_EQ(b.selected(), -1);
    int other = 1;
    while (b.kind(other) == b.kind(0)) ++other;
    b.select(0);
    EXPECT_EQ(b.select(other), MoveOutcome::Refused) << "another kind";
    EXPECT_EQ(b.selected(), -1);
    // The solution's first pair, taken and put back; the tile with an open side is picked first.
    int first = b.removalAt(0), second = b.removalAt(1);
    if (!b.openSide(first)) std::swap(first, second);
    ASSERT_EQ(b.select(first), MoveOutcome::Moved);
    ASSERT_EQ(b.select(second), MoveOutcome::Moved);
    EXPECT_TRUE(b.removed(first) && b.removed(second));
    EXPECT_EQ(b.undo(), MoveOutcome::Moved);
    EXPECT_FALSE(b.removed(first) || b.removed(second));
    EXPECT_EQ(b.userCount(), 0);
    b.select(first);
    b.select(second);
    b.deal();
    EXPECT_EQ(b.undo(), MoveOutcome::Refused) << "a new deal forgets the user's pairs";
}

QString nikaku(const QString& params) { return kindCode(Kind::Nikaku) + u':' + params; }

// A Nikaku character with a player; a frame is one step, the sprite arriving at once.
struct NikakuGame : GameFixture {
    qtriInfo* game = nullptr;
    AnimeInfo* player = nullptr;
    NikakuGame(const QString& params, int mode) {
        EXPECT_EQ(run({nikaku(params)}), 0);
        game = static_cast<qtriInfo*>(state.characters.at(0)->kind.get());
        player = &linkPlayer(mode, Attr::Nikaku);
    }
    void frame(GameKey key = GameKey::None) {
        if (key != GameKey::None) game->key(key);
        game->stepPlayer(*player);
        // The player's own motion lands on its target and drops it.
        arrive(*player);
        player->gotoX = player->gotoY = kNoTarget;
    }
};

TEST(Nikaku, SmallBoardsArePlayedToTheEndWithTheClearedMessage) {
    const struct {
        const char* params;
        std::vector<GameKey> keys;
    } boards[] = {
        {"n,2,1,0,0,40,56", {GameKey::Enter, GameKey::Right, GameKey::Enter}},
        // Four tiles of one kind in the top row: any two match; one pair is undone and taken again.
        {"n,4,1,0,0,40,56",
         {GameKey::Enter, GameKey::Right, GameKey::Enter, GameKey::Undo, GameKey::Enter, GameKey::Left, GameKey::Enter,
          GameKey::Right, GameKey::Right, GameKey::Enter, GameKey::Right, GameKey::Enter}},
    };
    for (const auto& b : boards) {
        NikakuGame g(b.params, 3);
        for (GameKey k : b.keys) {
            EXPECT_TRUE(g.sink.records.empty()) << b.params;
            g.frame(k);
        }
        ASSERT_EQ(g.sink.records.size(), 1u) << b.params;
        EXPECT_EQ(g.sink.records[0].text, QStringLiteral("全てクリアーしました。"));
        EXPECT_EQ(g.sink.records[0].caption, QStringLiteral("二角取り"));
        EXPECT_FALSE(g.game->board().empty()) << "dealt again at once";
    }
}

TEST(Nikaku, FaultySizesAreRefusedAsWid) {
    for (const char* params : {"n,3,1,0,0,40,56", "n,17,9,0,0,40,56", "n,1,1,0,0,40,56"}) {
        GameFixture f;
        EXPECT_EQ(f.run({nikaku(params)}), -1) << params;
        EXPECT_TRUE(f.state.characters.empty()) << params;
        ASSERT_EQ(f.sink.records.size(), 1u) << params;
        EXPECT_TRUE(f.sink.records[0].text.endsWith(QStringLiteral("(wid)"))) << params;
    }
}

TEST(Nikaku, TheDemonstrationTakesTheTilesInTheOrderOfItsRemovalList) {
    NikakuGame g("n,2,2,0,0,40,56", 1);
    std::vector<int> expected, taken;
    for (int k = 0; k < 4; ++k) expected.push_back(g.game->board().removalAt(k));
    for (int i = 0; i < 20 && g.player->chaseMode == 1; ++i) {
        g.frame();
        for (int c = 0; c < 4; ++c)
            if (g.game->board().removed(c) && std::find(taken.begin(), taken.end(), c) == taken.end()) taken.push_back(c);
    }
    EXPECT_EQ(taken, expected);
    EXPECT_EQ(g.player->chaseMode, 0);
    EXPECT_TRUE(g.game->demonstrationFinished());
    EXPECT_TRUE(g.sink.records.empty()) << "the demonstration shows no message and deals nothing";
}

TEST(Nikaku, ClicksPickInEveryModeAndTheDemonstrationWalksTheUsersPairsFirst) {
    // Four tiles of one kind in a row: every pick of two matches.
    NikakuGame g("n,4,1,0,0,40,56", 0);
    QtriBoard& b = g.game->board();
    const int a = b.removalAt(0), z = b.removalAt(1), c = b.removalAt(2), d = b.removalAt(3);
    // The board was never drawn: clicks are taken from its declared place, cells 40 pixels wide.
    for (int cell : {c, d}) {
        g.game->click(cell * 40 + 20, 30);
        g.frame();
    }
    EXPECT_TRUE(b.removed(c) && b.removed(d)) << "clicks pick in mode 0";
    // The user's pair overwrote the start of the removal list: the demonstration walks it, then
    // the deal's second pair (the same cells); the deal's first pair stays.
    EXPECT_EQ(b.removalAt(0), c);
    g.player->setAttribute(Attr::Nikaku, 1);
    for (int i = 0; i < 20 && g.player->chaseMode == 1; ++i) g.frame();
    EXPECT_EQ(g.player->chaseMode, 0);
    EXPECT_FALSE(b.removed(a) || b.removed(z));
}

TEST(Nikaku, AStepCounterFromAnotherBoardEndsTheDemonstration) {
    NikakuGame g("n,2,1,0,0,40,56", 1);
    g.player->gameStep = 1000; // left by a larger board
    g.frame();
    EXPECT_EQ(g.player->chaseMode, 0);
    EXPECT_TRUE(g.game->demonstrationFinished());
    EXPECT_FALSE(g.game->board().removed(0) || g.game->board().removed(1));
}

TEST(Nikaku, DrawsFacesFromThePictureAndLiftsTheSelectedTile) {
    GameFixture f;
    AnimeInfo& self = f.state.createCharacter(QStringLiteral("n"), 0, 0, 40, 56, 2, 1);
    qtriInfo game(self, drawTileFaces());
    QImage picture(120, 90, QImage::Format_RGB32);
    AnimeCanvas canvas(picture, 90, {});
    auto drawAndRead = [&](QPoint p) {
        picture.fill(Qt::black);
        game.draw(canvas, self, {10, 10, 2, 1, 1, 0});
        return picture.pixel(p) & 0xFFFFFF;
    };
    EXPECT_NE(drawAndRead({30, 40}), 0u) << "a face on cell 0";
    EXPECT_EQ(drawAndRead({30, 8}), 0u) << "nothing above the board";
    game.board().select(0);
    EXPECT_NE(drawAndRead({30, 8}), 0u) << "the selected tile is lifted toward its open side above";
    game.board().take(0);
    game.board().take(1);
    EXPECT_EQ(drawAndRead({30, 40}), 0u) << "an empty cell draws nothing";
}

} // namespace
