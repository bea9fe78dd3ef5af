// The gold-collecting game: ladders up and down with refused moves, a falling rock frame by frame
// with keys ignored meanwhile, collecting the last gold with its message, undo of taken gold,
// the kept snapshots, pushes at the row's end, maps without gold, and the field's drawing.
#include "GameFixture.h"
#include "anime/AnimeCanvas.h"
#include "characters/PitmanBoard.h"
#include "characters/pitmanInfo.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

// Map rows of the digits '0' to '9' into field cells.
std::vector<int8_t> fieldOf(const std::vector<const char*>& rows) {
    std::vector<int8_t> cells;
    for (const char* row : rows)
        for (const char* c = row; *c; ++c) cells.push_back(int8_t(*c - '0'));
    return cells;
}

constexpr GameKey L = GameKey::Left, U = GameKey::Up, R = GameKey::Right, D = GameKey::Down, Z = GameKey::Undo;
constexpr MoveOutcome Moved = MoveOutcome::Moved, Refused = MoveOutcome::Refused;

TEST(PitmanBoard, LaddersUpAndDownWithRefusedMoves) {
    PitmanBoard b(5, 4, fieldOf({"86008", "88108", "80108", "88888"}), 1, 0);
    auto cellAt = [&](int column, int row) { return b.grid().cellAt(column, row); };
    const struct {
        GameKey key;
        MoveOutcome outcome;
        int column, row;
        const char* why;
    } steps[] = {
        {D, Refused, 1, 0, "down into a wall"},
        {U, Refused, 1, 0, "up off the field"},
        {R, Moved, 2, 0, "sideways onto the ladder's top"},
        {D, Moved, 2, 1, "down onto a ladder from anywhere"},
        {D, Moved, 2, 2, "down the ladder"},
        {D, Refused, 2, 2, "down into a wall"},
        {L, Moved, 1, 2, "off the ladder"},
        {U, Refused, 1, 2, "up only from a ladder"},
        {R, Moved, 2, 2, "back onto the ladder"},
        {U, Moved, 2, 1, "up the ladder"},
        {U, Moved, 2, 0, "up from the ladder into the empty cell above"},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.why);
        EXPECT_EQ(b.move(s.key), s.outcome);
        EXPECT_EQ(b.playerCell(), cellAt(s.column, s.row));
        EXPECT_FALSE(b.fall());
    }
    EXPECT_EQ(b.at(2, 1), PitmanBoard::Ladder); // the ladder is back where the player stood
    EXPECT_EQ(b.move(Z), Moved);
    EXPECT_EQ(b.playerCell(), cellAt(2, 1));
    EXPECT_EQ(b.snapshotCount(), 6);
}

TEST(PitmanBoard, GoldIsTakenFromTheSideAndUndoGivesItBack) {
    PitmanBoard b(6, 3, fieldOf({"862708", "800008", "888888"}), 1, 0);
    EXPECT_EQ(b.move(D), Refused); // no climbing down without a ladder
    EXPECT_EQ(b.move(R), Moved);
    EXPECT_EQ(b.goldLeft(), 1); // the fixed gold still counts
    EXPECT_EQ(b.move(R), Refused); // and cannot be taken
    EXPECT_EQ(b.complete(), Refused);
    EXPECT_EQ(b.move(Z), Moved);
    EXPECT_EQ(b.at(2, 0), PitmanBoard::Gold);
    EXPECT_EQ(b.goldLeft(), 2);
}

TEST(PitmanBoard, KeepsTheLatestSnapshots) {
    PitmanBoard b(4, 2, fieldOf({"8608", "8888"}), 1, 0);
    for (int i = 0; i < 251; ++i) EXPECT_EQ(b.move(i % 2 == 0 ? R : L), Moved);
    EXPECT_EQ(b.snapshotCount(), int(PitmanBoard::kMaxSnapshots));
    for (size_t i = 0; i < PitmanBoard::kMaxSnapshots; ++i) EXPECT_EQ(b.move(Z), Moved);
    EXPECT_EQ(b.move(Z), Refused);
}

TEST(PitmanBoard, ARockPushAtTheRowsEndStaysInItsRow) {
    PitmanBoard b(4, 3, fieldOf({"8064", "0888", "8888"}), 1, 0);
    const std::vector<int8_t> before = b.map();
    EXPECT_EQ(b.move(R), Refused);
    EXPECT_EQ(b.map(), before);
    EXPECT_EQ(b.snapshotCount(), 0);
}

TEST(PitmanBoard, AMapWithoutGoldNeverCompletes) {
    PitmanBoard b(3, 2, fieldOf({"860", "888"}), 2, 0);
    EXPECT_EQ(b.complete(), Refused);
    EXPECT_EQ(b.currentStage(), 0);
}

// A field as a game character with a player in play; a frame is one step of the game.
struct PitmanGame : GameFixture {
    pitmanInfo* game = nullptr;
    AnimeInfo* field = nullptr;
    AnimeInfo* player = nullptr;
    explicit PitmanGame(const QStringList& declaration) {
        EXPECT_EQ(run(declaration), 0);
        field = state.characters.at(0).get();
        game = static_cast<pitmanInfo*>(field->kind.get());
        player = &linkPlayer(3, Attr::pitman);
    }
    void frame(GameKey key = GameKey::None) {
        if (key != GameKey::None) game->key(key);
        game->stepPlayer(*player);
    }
    int cell(int column, int row) const { return game->board().grid().cellAt(column, row); }
};

QString pitman(const QString& params) { return kindCode(Kind::pitman) + u':' + params; }

TEST(Pitman, ARockFallsARowAFrameAndThePlayerWaits) {
    PitmanGame g({pitman("p,7,4,0,0,10,10"), "8640008", "8880888", "8880888", "8888888"});
    g.frame(R); // the push
    EXPECT_EQ(g.game->board().at(3, 0), PitmanBoard::Rock);
    EXPECT_EQ(g.game->board().playerCell(), g.cell(2, 0));
    for (int row = 1; row <= 2; ++row) {
        g.frame(L); // ignored while the rock falls
        EXPECT_EQ(g.game->board().at(3, row), PitmanBoard::Rock);
        EXPECT_EQ(g.game->board().at(3, row - 1), PitmanBoard::Empty);
        EXPECT_EQ(g.game->board().playerCell(), g.cell(2, 0));
        EXPECT_EQ(g.game->pendingKey(), GameKey::None);
    }
    g.frame(L); // the rock lies still: the player walks again
    EXPECT_EQ(g.game->board().playerCell(), g.cell(1, 0));
}

TEST(Pitman, CollectingTheLastGoldShowsTheMessageAndStartsOver) {
    PitmanGame g({pitman("p,4,2,0,0,10,10,2"), "8620", "8888", "8602", "8888"});
    EXPECT_EQ(g.field->frameCount, 2);
    g.frame(R);
    g.frame(); // the first map is done: on to the second without a message
    EXPECT_EQ(g.game->board().currentStage(), 1);
    EXPECT_TRUE(g.sink.records.empty());
    g.frame(R);
    g.frame(R);
    EXPECT_EQ(g.game->board().goldLeft(), 0);
    g.frame();
    ASSERT_EQ(g.sink.records.size(), 1u);
    EXPECT_EQ(g.sink.records[0].caption, QStringLiteral("第2マップの金塊は回収しました！"));
    EXPECT_EQ(g.sink.records[0].text, QStringLiteral("全てのマップが片付きました。"));
    EXPECT_EQ(g.sink.records[0].style, 0);
    EXPECT_EQ(g.game->board().currentStage(), 0);
    EXPECT_EQ(g.game->board().at(2, 0), PitmanBoard::Gold);
    EXPECT_EQ(g.game->statusLine(), QStringLiteral("  1 ／2 面     0 "));
}

TEST(Pitman, WaitingPlaysOnceTheGamePadShows) {
    PitmanGame g({pitman("p,4,2,0,0,10,10"), "8602", "8888"});
    g.player->setAttribute(Attr::pitman, 2);
    EXPECT_EQ(g.host.padRequests, 1);
    g.frame(R);
    EXPECT_EQ(g.game->board().playerCell(), g.cell(1, 0)); // no play yet, the key is dropped
    g.host.padVisible = true;
    g.frame(R); // the frame that starts play does nothing else
    EXPECT_EQ(g.player->chaseMode, 3);
    EXPECT_EQ(g.game->board().playerCell(), g.cell(1, 0));
    g.frame(R);
    EXPECT_EQ(g.game->board().playerCell(), g.cell(2, 0));
}

TEST(Pitman, DrawsTheFieldWithItsGlyphsAndStatusLine) {
    PitmanGame g({pitman("p,3,2,0,0,20,20"), "862", "888"});
    QImage picture(120, 120, QImage::Format_RGB32);
    picture.fill(Qt::magenta);
    AnimeCanvas canvas(picture, 120, {});
    // s = 10: cells of 30 pixels; the field's top is 2 rows x 10 above the given top.
    ASSERT_TRUE(g.game->draw(canvas, *g.field, {10, 60, 3, 2, 1, 0}));
    auto count = [&](QRect area, QRgb rgb) {
        int n = 0;
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x) n += (picture.pixel(x, y) & 0xFFFFFF) == (rgb & 0xFFFFFF);
        return n;
    };
    EXPECT_EQ(picture.pixel(12, 60) & 0xFFFFFF, 0u);                // the field is black
    EXPECT_GT(count({40, 40, 30, 30}, rgbOfColor(0xC0C0FF)), 10);   // the player in column 1
    EXPECT_GT(count({70, 40, 30, 30}, rgbOfColor(0x00FFFF)), 10);   // the gold in column 2
    EXPECT_GT(count({10, 0, 100, 30}, rgbOfColor(0xE0E0E0)), 100);  // the status line above
    EXPECT_EQ(picture.pixel(118, 118) & 0xFFFFFF, QColor(Qt::magenta).rgb() & 0xFFFFFF);
}

} // namespace
