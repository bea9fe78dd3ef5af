// The board frame as a game uses it: a faulty declaration line, the pending key, click walking,
// the player sprite's place, the waiting mode that starts on the game pad and the link rule.
#include "GameFixture.h"
#include "anime/AnimeCanvas.h"
#include "characters/BoardGame.h"
#include "characters/soukobanInfo.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

QString game(const QString& params) { return kindCode(Kind::Soukoban) + u':' + params; }

TEST(BoardDeclaration, AFaultyLineIsReportedAndNoCharacterMade) {
    GameFixture f;
    EXPECT_EQ(f.run({game("b,5,3,0,0,0,10"), "44444"}), -1);
    EXPECT_TRUE(f.state.characters.empty());
    ASSERT_EQ(f.sink.records.size(), 1u);
    EXPECT_TRUE(f.sink.records[0].text.endsWith(QStringLiteral("(xzoom)")));
}

// A board with open floor, the player at the top left and a goal (no box: the stage stays).
struct OpenBoard : GameFixture {
    soukobanInfo* game = nullptr;
    AnimeInfo* board = nullptr;
    OpenBoard() {
        run({::game("b,6,5,100,50,10,10"), "444444", "420004", "400004", "400014", "444444"});
        board = state.characters.at(0).get();
        game = static_cast<soukobanInfo*>(board->kind.get());
    }
    void frame(AnimeInfo& player) {
        game->stepPlayer(player);
        arrive(player);
    }
};

TEST(BoardGame, SpriteHeadsForThePlayersCell) {
    OpenBoard b;
    AnimeInfo& player = b.linkPlayer(3);
    EXPECT_EQ(player.chaseMode, 3);
    b.frame(player);
    // column 1, row 1 of 5 rows: x = 1*10*10 + 1000 + 20, y = (5-1-1)*10*10 + 500 + 20
    EXPECT_EQ(player.X, 1120);
    EXPECT_EQ(player.Y, 820);
    EXPECT_EQ(player.speed, 400);
}

TEST(BoardGame, OnlyTheLastPendingKeyIsPlayed) {
    OpenBoard b;
    AnimeInfo& player = b.linkPlayer(3);
    b.game->key(GameKey::Left); // into the wall: would be refused
    b.game->key(GameKey::Right);
    b.frame(player);
    EXPECT_EQ(b.game->board().playerCell(), 6 + 2);
    EXPECT_EQ(b.game->pendingKey(), GameKey::None);
    b.frame(player); // no key: no move
    EXPECT_EQ(b.game->board().moveCount(), 1);
}

TEST(BoardGame, ClickWalksAcrossFirstThenDownOneCellPerFrame) {
    OpenBoard b;
    AnimeInfo& player = b.linkPlayer(3);
    QImage picture(200, 200, QImage::Format_RGB32);
    AnimeCanvas canvas(picture, 200, {});
    b.game->draw(canvas, *b.board, {100, 50, 6, 5, 1, 0}); // the board's place on the picture
    b.game->click(100 + 35, 50 + 25);                      // cell (3, 2)
    const int expected[] = {6 + 2, 6 + 3, 6 + 3, 12 + 3, 12 + 3};
    for (int cell : expected) {
        b.frame(player);
        EXPECT_EQ(b.game->board().playerCell(), cell);
    }
    EXPECT_EQ(b.game->board().moveCount(), 3);
    // A click off the board aims at its edge; against a wall the walk ends after 30 frames.
    b.game->click(5, 5000);
    for (int i = 0; i < 30; ++i) b.frame(player);
    EXPECT_EQ(b.game->board().playerCell(), 12 + 1);
    b.game->key(GameKey::Down); // the walk is over: a key of the pad plays again
    b.frame(player);
    EXPECT_EQ(b.game->board().playerCell(), 18 + 1);
}

TEST(BoardGame, WaitingStartsOnceTheGamePadIsVisible) {
    OpenBoard b;
    AnimeInfo& player = b.linkPlayer(2);
    EXPECT_EQ(b.host.padRequests, 1);
    b.game->key(GameKey::Right);
    b.frame(player);
    EXPECT_EQ(player.chaseMode, 2);
    EXPECT_EQ(b.game->board().moveCount(), 0);
    b.host.padVisible = true;
    b.frame(player);
    EXPECT_EQ(player.chaseMode, 3);
    EXPECT_EQ(b.game->board().moveCount(), 1); // the key waited for the play to start
    // Unlinking keeps the game as it is.
    player.setAttribute(Attr::Soukoban, 0);
    EXPECT_EQ(player.games[size_t(GameLink::Soukoban)], nullptr);
}

TEST(BoardGame, LinkFindsTheGameBySameNameIndexElseTheLast) {
    GameFixture f;
    f.run({game("b,3,1,0,0,10,10"), "421", game("b,3,1,0,0,10,10"), "124"});
    AnimeInfo& first = f.linkPlayer(3);
    EXPECT_EQ(first.games[size_t(GameLink::Soukoban)], f.state.characters[0].get());
    AnimeInfo& second = f.linkPlayer(13);
    EXPECT_EQ(second.games[size_t(GameLink::Soukoban)], f.state.characters[1].get());
    AnimeInfo& fallback = f.linkPlayer(73);
    EXPECT_EQ(fallback.games[size_t(GameLink::Soukoban)], f.state.characters[1].get());
}

} // namespace
