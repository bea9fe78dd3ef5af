// The number-linking puzzle: drawing with the pen and erasing by walking back, refused moves,
// Enter without a selected number, completion (without a full board, with lone numbers, without
// pairs) and its messages, clicks and drags, the fade-in and drawing, the demonstration's four
// tests and a whole 5 x 5 board linked by the demonstration.
#include "GameFixture.h"
#include "anime/AnimeCanvas.h"
#include "characters/NumLinkBoard.h"
#include "characters/NumLinkSearch.h"
#include "characters/numlinkInfo.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

constexpr GameKey L = GameKey::Left, U = GameKey::Up, R = GameKey::Right, D = GameKey::Down, E = GameKey::Enter;
constexpr MoveOutcome Moved = MoveOutcome::Moved, Refused = MoveOutcome::Refused;

// A board from rows: digits are numbers, 'a' to 'i' path cells of colours 1 to 9 (faded in),
// anything else empty. Every row is one stage's row; `stages` maps follow each other.
NumLinkBoard boardOf(const std::vector<const char*>& rows, int width, int stages = 1) {
    std::vector<int8_t> cells;
    for (const char* row : rows)
        for (const char* c = row; *c; ++c) cells.push_back(int8_t(*c >= '1' && *c <= '9' ? *c - '0' : 0));
    NumLinkBoard b(width, int(rows.size()) / stages, cells, stages, 0);
    int i = 0;
    for (const char* row : rows)
        for (const char* c = row; *c; ++c, ++i)
            if (*c >= 'a' && *c <= 'i' && i < b.grid().cells()) b.set(i, NumLinkBoard::kLine + (*c - 'a' + 1));
    return b;
}

// The board as rows: '.' empty, digits, path cells as the letter of their colour.
QString textOf(const NumLinkBoard& b) {
    QString t;
    for (int r = 0; r < b.grid().height(); ++r) {
        if (r > 0) t += u'/';
        for (int c = 0; c < b.grid().width(); ++c) {
            const int v = b.at(c, r);
            t += v == 0 ? QChar(u'.') : NumLinkBoard::isNumber(v) ? QChar(u'0' + v) : QChar(u'a' + v % 10 - 1);
        }
    }
    return t;
}

TEST(NumLinkBoard, ThePenDrawsOverEmptyCellsAndWalkingBackTakesThePathUp) {
    NumLinkBoard b = boardOf({"1..1", "2..2", "...."}, 4);
    b.setCursor(0);
    const struct {
        GameKey key;
        MoveOutcome outcome;
        int cursor;
        const char* board;
    } steps[] = {
        {E, Moved, 0, "1..1/2..2/...."}, // pen down on 1
        {R, Moved, 1, "1a.1/2..2/...."},
        {R, Moved, 2, "1aa1/2..2/...."},
        {L, Moved, 1, "1a.1/2..2/...."},   // back along the path: the cell left is taken up
        {D, Moved, 5, "1a.1/2a.2/...."},   // beside the path: drawn
        {U, Moved, 1, "1a.1/2..2/...."},   // and taken up again
        {L, Moved, 0, "1a.1/2..2/...."},   // onto its own number: nothing is taken up
        {D, Refused, 0, "1a.1/2..2/...."}, // another colour's number
        {R, Moved, 1, "1a.1/2..2/...."},
        {D, Moved, 5, "1a.1/2a.2/...."},
        {L, Refused, 5, "1a.1/2a.2/...."}, // another colour's number beside
        {U, Moved, 1, "1a.1/2..2/...."},
        {R, Moved, 2, "1aa1/2..2/...."},
        {R, Moved, 3, "1aa1/2..2/...."}, // the pair's other number: the pen stays down on it
        {E, Moved, 3, "1aa1/2..2/...."}, // Enter there lifts it
        {L, Moved, 2, "1aa1/2..2/...."}, // with the pen up the cursor only moves
    };
    for (size_t i = 0; i < std::size(steps); ++i) {
        EXPECT_EQ(b.key(steps[i].key), steps[i].outcome) << i;
        EXPECT_EQ(b.cursor(), steps[i].cursor) << i;
        EXPECT_EQ(textOf(b), steps[i].board) << i;
    }
    EXPECT_FALSE(b.drawing());
    EXPECT_FALSE(b.allLinked()) << "pair 2 is still open";
}

TEST(NumLinkBoard, EnterSelectsTogglesDrawsAndErases) {
    NumLinkBoard b = boardOf({"1.2.", "..2.", "1..."}, 4);
    // No number selected yet: Enter on an empty cell draws nothing, not even beside empty cells.
    b.setCursor(1);
    EXPECT_EQ(b.key(E), Refused);
    EXPECT_EQ(textOf(b), "1.2./..2./1...");
    b.setCursor(0);
    EXPECT_EQ(b.key(E), Moved);
    EXPECT_TRUE(b.drawing());
    // Enter on another number selects it and toggles the pen off.
    b.setCursor(2);
    EXPECT_EQ(b.key(E), Moved);
    EXPECT_EQ(b.selected(), 2);
    EXPECT_FALSE(b.drawing());
    // Enter draws on an empty cell beside the selected colour, and erases a path cell.
    b.setCursor(3);
    EXPECT_EQ(b.key(E), Moved);
    EXPECT_EQ(textOf(b), "1.2b/..2./1...");
    EXPECT_EQ(b.key(E), Moved);
    EXPECT_EQ(textOf(b), "1.2./..2./1...");
    // An arrow with the pen up only moves the cursor.
    EXPECT_EQ(b.key(R), Refused); // the board's edge
    EXPECT_EQ(b.key(D), Moved);
    EXPECT_EQ(textOf(b), "1.2./..2./1...");
}

TEST(NumLinkBoard, CompletionNeedsEveryPairJoinedButNotAFullBoard) {
    const struct {
        const char* name;
        std::vector<const char*> rows;
        MoveOutcome outcome;
    } cases[] = {
        {"joined, cells left empty", {"1a1", "...", "1a1", "..."}, MoveOutcome::StageCleared},
        {"one pair open", {"1a1", "2.2", "1a1", "..."}, Refused},
        {"a lone number is no pair", {"1a1", "3..", "1a1", "..."}, MoveOutcome::StageCleared},
        {"a missing number is no pair", {"1a1", "..3", "1a1", "..3"}, MoveOutcome::StageCleared},
        {"no pairs at all", {"...", "...", "1a1", "..."}, Refused},
        {"a lone number only", {"..4", "...", "1a1", "..."}, Refused},
    };
    for (const auto& c : cases) {
        NumLinkBoard b = boardOf(c.rows, 3, 2);
        EXPECT_EQ(b.complete(), c.outcome) << c.name;
        EXPECT_EQ(b.currentStage(), c.outcome == Refused ? 0 : 1) << c.name;
    }
    // The last map's completion wraps to the first.
    NumLinkBoard b = boardOf({"1.1", "...", "1a1", "..."}, 3, 2);
    EXPECT_EQ(b.key(GameKey::NextStage), Moved);
    b.set(1, NumLinkBoard::kLine + 1);
    EXPECT_EQ(b.complete(), MoveOutcome::AllCleared);
    EXPECT_EQ(b.currentStage(), 0);
    EXPECT_EQ(b.key(GameKey::PreviousStage), Refused);
}

// Each of the demonstration's tests on a board where it fails and on one where it passes.
TEST(NumLinkSearch, TestsRefuseHopelessPlacements) {
    enum Test { Reach, Bottleneck, Square, Enclosure };
    const struct {
        const char* name;
        Test test;
        std::vector<const char*> rows;
        int width, number, head, placed;
        bool passes;
    } cases[] = {
        {"pair 2 walled in", Reach, {"1a2", "aaa", "1.2"}, 3, 1, 3, -1, false},
        {"pair 2 free", Reach, {"1a2", "aa.", "1.2"}, 3, 1, 3, -1, true},
        {"two pairs through one cell", Bottleneck, {"12cc", "..cc", "21cc"}, 4, 1, 0, -1, false},
        {"two pairs, two ways", Bottleneck, {"1.2.", "....", "1.2."}, 4, 1, 0, -1, true},
        {"a square of one colour", Square, {"1a.", "aa.", "..1"}, 3, 1, 4, 4, false},
        {"a bend", Square, {"1a.", ".a.", "..1"}, 3, 1, 4, 4, true},
        {"a corner shut off", Enclosure, {".a.", "aa.", "..."}, 3, 1, 4, -1, false},
        {"an edge cell beside a bend", Enclosure, {"....", ".aa.", ".a..", "...."}, 4, 1, 5, -1, true},
        {"an edge pocket", Enclosure, {".a..", ".aa.", "....", "...."}, 4, 1, 5, -1, false},
        {"three sides of two colours", Enclosure, {"....", ".a..", "b.a.", "...."}, 4, 1, 5, -1, true},
        {"three sides of one colour", Enclosure, {"....", ".a..", "a.a.", "...."}, 4, 1, 5, -1, false},
    };
    for (const auto& c : cases) {
        NumLinkBoard b = boardOf(c.rows, c.width);
        NumLinkSearch s(b);
        bool passes = false;
        switch (c.test) {
        case Reach: passes = s.reachTest(c.number, c.head); break;
        case Bottleneck: passes = s.bottleneckTest(c.number, c.head); break;
        case Square: passes = s.squareTest(c.placed, c.number); break;
        case Enclosure: passes = s.enclosureTest(); break;
        }
        EXPECT_EQ(passes, c.passes) << c.name;
    }
}

// A NumLink character with a player; a frame is one step of the game.
struct NumLinkGame : GameFixture {
    numlinkInfo* game = nullptr;
    AnimeInfo* board = nullptr;
    AnimeInfo* player = nullptr;
    NumLinkGame(const QStringList& declaration, int mode) {
        EXPECT_EQ(run(declaration), 0);
        board = state.characters.at(0).get();
        game = static_cast<numlinkInfo*>(board->kind.get());
        player = &linkPlayer(mode, Attr::NumLink);
    }
    void frame(GameKey key = GameKey::None) {
        if (key != GameKey::None) game->key(key);
        game->stepPlayer(*player);
        arrive(*player);
    }
    QString rows() const { return game->gameState()->rows.join(u'/'); }
};

QString numLink(const QString& params) { return kindCode(Kind::NumLink) + u':' + params; }

TEST(NumLink, LinkingEveryMapShowsItsMessageAndPlayWrapsToTheFirst) {
    NumLinkGame g({numLink("n,3,2,0,0,30,30,2"), "1.1", "...", "2.2", "..."}, 3);
    EXPECT_EQ(g.board->frameCount, 2);
    for (GameKey k : {E, R}) g.frame(k);
    EXPECT_EQ(g.rows(), "1a1/...");
    EXPECT_TRUE(g.sink.records.empty());
    g.frame();
    ASSERT_EQ(g.sink.records.size(), 1u);
    EXPECT_EQ(g.sink.records[0].caption, QStringLiteral("第1マップの数字はリンクされました！"));
    EXPECT_EQ(g.sink.records[0].text, QStringLiteral("次のマップに移動します。"));
    EXPECT_EQ(g.sink.records[0].style, 0);
    EXPECT_EQ(g.game->board().currentStage(), 1);
    EXPECT_FALSE(g.game->board().drawing());
    g.game->board().setCursor(0);
    for (GameKey k : {E, R}) g.frame(k);
    g.frame();
    ASSERT_EQ(g.sink.records.size(), 2u);
    EXPECT_EQ(g.sink.records[1].caption, QStringLiteral("第2マップの数字はリンクされました！"));
    EXPECT_EQ(g.sink.records[1].text, QStringLiteral("全てのマップがリンクされました。"));
    EXPECT_EQ(g.game->board().currentStage(), 0);
    EXPECT_EQ(g.rows(), "1.1/...");
}

TEST(NumLink, AClickActsAsEnterAndADragWithThePenDownDraws) {
    NumLinkGame g({numLink("n,5,2,0,0,30,30"), "1...1", "....."}, 3);
    QImage picture(200, 120, QImage::Format_RGB32);
    AnimeCanvas canvas(picture, 120, {});
    ASSERT_TRUE(g.game->draw(canvas, *g.board, {20, 40, 4, 2, 1, 0}));
    auto at = [](int column, int row) { return QPoint(20 + column * 30 + 15, 40 + row * 30 + 15); };
    // A drag with the pen up draws nothing.
    g.game->drag(at(1, 0).x(), at(1, 0).y());
    g.frame();
    EXPECT_EQ(g.rows(), "1...1/.....");
    g.game->click(at(0, 0).x(), at(0, 0).y());
    g.frame();
    EXPECT_TRUE(g.game->board().drawing());
    for (int column = 1; column <= 3; ++column) {
        g.game->drag(at(column, 0).x(), at(column, 0).y());
        g.frame();
        EXPECT_EQ(g.game->board().cursor(), column);
    }
    EXPECT_EQ(g.rows(), "1aaa1/.....");
    EXPECT_TRUE(g.sink.records.empty());
    // A click off the board moves no cursor; the linked map completes in that frame.
    g.game->click(5, 5);
    g.frame();
    EXPECT_EQ(g.game->board().cursor(), 3);
    EXPECT_EQ(g.sink.records.size(), 1u);
}

TEST(NumLink, DrawsNumbersAndAPathThatFadesIntoALine) {
    NumLinkGame g({numLink("n,3,1,0,0,30,30"), "9.9"}, 3);
    g.frame(); // play starts
    g.frame(E);
    g.frame(R);
    QImage picture(200, 120, QImage::Format_RGB32);
    AnimeCanvas canvas(picture, 120, {});
    const QPoint centre(20 + 30 + 15, 40 + 15);
    auto rgb = [&](QPoint p) { return picture.pixel(p) & 0xFFFFFF; };
    const uint32_t nine = numlinkInfo::colourOfDigit(9);
    const QRgb lineRgb = qRgb(nine & 0xFF, (nine >> 8) & 0xFF, nine >> 16) & 0xFFFFFF;
    for (int drawing = 1; drawing <= 6; ++drawing) {
        picture.fill(Qt::black);
        ASSERT_TRUE(g.game->draw(canvas, *g.board, {20, 40, 3, 1, 1, 0}));
        // Values 11, 21, ..., 51 stay unseen; from 61 on the cell is a line.
        EXPECT_EQ(rgb(centre) == lineRgb, drawing == 6) << drawing;
    }
    EXPECT_NE(nine, numlinkInfo::colourOfDigit(0));
    EXPECT_EQ(rgb(QPoint(20 + 2, 40 + 28)), 0x383838u) << "a number's cell";
    EXPECT_EQ(rgb(QPoint(20 - 5, 40 - 5)), 0x202020u) << "the board's margin";
    EXPECT_EQ(g.game->statusLine(), QStringLiteral("  1 ／1 面     1 "));
}

TEST(NumLink, TheDemonstrationLinksA5x5BoardWithinBoundedSteps) {
    NumLinkGame g({numLink("n,5,5,0,0,30,30"), "1.2.3", "..4.5", ".....", ".2.3.", "14.5."}, 1);
    int frames = 0;
    while (g.player->chaseMode == 1 && frames < 2000) {
        g.frame();
        ++frames;
    }
    EXPECT_EQ(g.player->chaseMode, 0) << "the demonstration ended";
    EXPECT_LT(frames, 2000);
    EXPECT_TRUE(g.game->board().allLinked()) << g.rows().toStdString();
    EXPECT_EQ(g.game->statusLine(), QStringLiteral("  1 ／1 面 "));
    EXPECT_TRUE(g.sink.records.empty()) << "the demonstration shows no messages";
}

TEST(NumLink, TheDemonstrationDoesNotRunOnBoardsBeyondTenByTen) {
    QStringList lines{numLink("n,11,2,0,0,10,10"), "1.........1", "2.........2"};
    NumLinkGame g(lines, 1);
    for (int i = 0; i < 20; ++i) g.frame();
    EXPECT_EQ(g.game->demonstration(), numlinkInfo::Demo::Stopped);
    EXPECT_EQ(g.rows(), "1.........1/2.........2");
}

} // namespace
