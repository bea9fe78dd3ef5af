// Sudoku: solving (a known puzzle, the empty board, contradictions that end at once, the node
// budget), a re-link that clears wrong marks, the user's entries with their marks, highlight and
// the completion message, the demonstration that fills the nearest empty cell first and ends on
// the known solution, boards of another size, clicks, the drawing and the declaration's faults.
#include "GameFixture.h"
#include "anime/AnimeCanvas.h"
#include "characters/SudokuBoard.h"
#include "characters/sudokuInfo.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

const QStringList kPuzzle = {"53..7....", "6..195...", ".98....6.", "8...6...3", "4..8.3..1",
                             "7...2...6", ".6....28.", "...419..5", "....8..79"};
const QStringList kSolution = {"534678912", "672195348", "198342567", "859761423", "426853791",
                               "713924856", "961537284", "287419635", "345286179"};

// Rows of digits ('.' and anything else empty) as cells.
std::vector<int8_t> cellsOf(const QStringList& rows) {
    std::vector<int8_t> cells;
    for (const QString& row : rows)
        for (QChar c : row) cells.push_back(int8_t(c >= u'1' && c <= u'9' ? c.unicode() - u'0' : 0));
    return cells;
}

std::vector<int8_t> solutionOf(const SudokuBoard& b) {
    std::vector<int8_t> cells;
    for (int i = 0; i < SudokuBoard::kCells; ++i) cells.push_back(int8_t(b.solution(i)));
    return cells;
}

// A puzzle with one row changed.
QStringList withRow(int row, const char* text) {
    QStringList rows(9, QStringLiteral("........."));
    rows[row] = QString::fromLatin1(text);
    return rows;
}

TEST(SudokuBoard, SolvesOrEndsAtOnce) {
    QStringList firstGrid; // the empty board's first grid in digit order
    for (const char* row : {"123456789", "456789123", "789123456", "214365897", "365897214", "897214365",
                            "531642978", "642978531", "978531642"})
        firstGrid << QString::fromLatin1(row);
    QStringList twoFives = kPuzzle;
    twoFives[0] = QStringLiteral("53..7...5");
    QStringList noDigitLeft = withRow(0, "12345678.");
    noDigitLeft[4] = QStringLiteral("........9");
    // Row 0 leaves 8 and 9 for its last two cells, but both columns hold an 8 further down.
    QStringList twoCellsOneDigit = withRow(0, "1234567..");
    twoCellsOneDigit[5] = QStringLiteral(".......8.");
    twoCellsOneDigit[7] = QStringLiteral("........8");
    const struct {
        const char* why;
        QStringList givens;
        SudokuBoard::Solved solved;
        QStringList solution; // empty: the givens alone
        int64_t maxNodes;
    } cases[] = {
        {"the known puzzle", kPuzzle, SudokuBoard::Solved::Found, kSolution, 10000},
        {"the empty board", QStringList(9, "........."), SudokuBoard::Solved::Found, firstGrid, 100000},
        {"two givens 5 in a row", twoFives, SudokuBoard::Solved::NoSolution, {}, 0},
        {"an empty cell without a digit", noDigitLeft, SudokuBoard::Solved::NoSolution, {}, 0},
        {"two cells that need one digit", twoCellsOneDigit, SudokuBoard::Solved::NoSolution, {}, 10},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.why);
        SudokuBoard b(9, 9, cellsOf(k.givens));
        EXPECT_EQ(b.solve(), k.solved);
        EXPECT_EQ(solutionOf(b), cellsOf(k.solution.isEmpty() ? k.givens : k.solution));
        EXPECT_LE(b.nodes(), k.maxNodes);
        EXPECT_EQ(b.at(2), cellsOf(k.givens)[2]); // the board shows the givens only
    }
}

TEST(SudokuBoard, ASearchOverItsBudgetLeavesTheEmptyCellsEmpty) {
    SudokuBoard b(9, 9, cellsOf(kPuzzle));
    EXPECT_EQ(b.solve(5), SudokuBoard::Solved::OverBudget);
    EXPECT_EQ(solutionOf(b), cellsOf(kPuzzle));
    EXPECT_EQ(b.solve(), SudokuBoard::Solved::Found);
}

QString sudoku(const QString& params) { return kindCode(Kind::Sudoku) + u':' + params; }

// The known puzzle as a character of 10-pixel cells at (100, 50) and a linked player.
struct SudokuGame : GameFixture {
    AnimeInfo* field = nullptr;
    sudokuInfo* game = nullptr;
    AnimeInfo* player = nullptr;
    explicit SudokuGame(int mode, const QStringList& rows = kPuzzle) {
        EXPECT_EQ(run(QStringList{sudoku("s,3,3,100,50,10,10")} + rows), 0);
        field = state.characters.at(0).get();
        game = static_cast<sudokuInfo*>(field->kind.get());
        player = &linkPlayer(mode, Attr::Sudoku);
    }
    void frame() {
        game->stepPlayer(*player);
        arrive(*player);
        player->gotoX = player->gotoY = kNoTarget; // arrived: the motion step clears the target
    }
    void press(GameKey key) {
        game->key(key);
        frame();
    }
    void moveTo(int cell) {
        while (game->cursor() % 9 < cell % 9) press(GameKey::Right);
        while (game->cursor() % 9 > cell % 9) press(GameKey::Left);
        while (game->cursor() / 9 < cell / 9) press(GameKey::Down);
        while (game->cursor() / 9 > cell / 9) press(GameKey::Up);
    }
    const SudokuBoard& board() const { return game->board(); }
};

TEST(Sudoku, EntriesOfTheUserWithMarksAndHighlight) {
    SudokuGame g(3);
    EXPECT_EQ(g.player->chaseMode, 3);
    const GameKey plus = GameKey::NextStage, minus = GameKey::PreviousStage, enter = GameKey::Enter;
    const struct {
        int cell;
        GameKey key;
        int digit; // on the cell afterwards
        std::vector<int> wrong; // every marked cell afterwards
        int highlighted;
        const char* why;
    } steps[] = {
        {2, plus, 1, {}, -1, "+ on an empty cell gives 1"},
        {2, minus, 1, {}, -1, "－ on a 1 does nothing"},
        {3, GameKey('+'), 1, {2, 3}, -1, "a 1 twice in the row: both entries are marked"},
        {3, GameKey('-'), 1, {2, 3}, -1, "－ on a 1 again"},
        {0, plus, 5, {2, 3}, -1, "a given does not change"},
        {3, plus, 2, {}, -1, "the marks go with the repeat"},
        {2, plus, 2, {2, 3}, -1, ""},
        {2, plus, 3, {2}, -1, "a 3 next to the given 3: only the entry is marked"},
        {2, GameKey::Space, 0, {}, -1, "a press takes the entry away"},
        {2, enter, 0, {}, -1, "an empty cell without highlight stays empty"},
        {0, enter, 5, {}, 5, "a press on a given highlights its digit"},
        {2, enter, 5, {0, 2}, 5, "and an empty cell takes it"},
        {1, enter, 3, {0, 2}, 3, "another given's digit"},
        {1, enter, 3, {0, 2}, -1, "the same given again: no highlight"},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.why);
        g.moveTo(s.cell);
        g.press(s.key);
        EXPECT_EQ(g.board().at(s.cell), s.digit);
        std::vector<int> wrong;
        for (int i = 0; i < SudokuBoard::kCells; ++i)
            if (g.board().markedWrong(i)) wrong.push_back(i);
        // A given is never marked; the entry that repeats it is.
        std::erase(wrong, 0);
        std::vector<int> expected = s.wrong;
        std::erase(expected, 0);
        EXPECT_EQ(wrong, expected);
        EXPECT_EQ(g.board().highlighted(), s.highlighted);
        // The player stands on the cursor's cell.
        EXPECT_EQ(g.player->X, g.game->cellX(s.cell));
        EXPECT_EQ(g.player->Y, g.game->cellY(s.cell));
    }
    EXPECT_TRUE(g.sink.records.empty());
}

TEST(Sudoku, AFullBoardSaysSoOnEveryChangeEvenWithWrongMarks) {
    QStringList lastMissing = kSolution;
    lastMissing[8] = QStringLiteral("34528617.");
    SudokuGame g(3, lastMissing);
    g.moveTo(80);
    g.press(GameKey::NextStage); // a 1 where the 9 belongs
    ASSERT_EQ(g.sink.records.size(), 1u);
    EXPECT_EQ(g.sink.records[0].text, QStringLiteral("完成しました。"));
    EXPECT_EQ(g.sink.records[0].caption, QStringLiteral("数独"));
    EXPECT_EQ(g.sink.records[0].style, 0);
    EXPECT_TRUE(g.board().markedWrong(80));
    g.press(GameKey::NextStage);
    EXPECT_EQ(g.sink.records.size(), 2u);
    g.moveTo(79);
    g.press(GameKey::Enter); // a highlight is no change of digits, but the board is checked
    EXPECT_EQ(g.sink.records.size(), 3u);
    g.press(GameKey::Left); // moving the cursor is not checked
    EXPECT_EQ(g.sink.records.size(), 3u);
}

TEST(Sudoku, ARelinkStartsOverFromTheGivensWithoutMarks) {
    SudokuGame g(3);
    g.moveTo(2);
    g.press(GameKey('+'));
    g.press(GameKey('+'));
    g.press(GameKey('+')); // a 3 beside the given 3: marked
    ASSERT_TRUE(g.board().markedWrong(2));
    g.player->setAttribute(Attr::Sudoku, 3);
    EXPECT_FALSE(g.board().markedWrong(2));
    EXPECT_EQ(g.board().at(2), 0);
    EXPECT_EQ(solutionOf(g.board()), cellsOf(kSolution));
}

TEST(Sudoku, TheDemonstrationFillsTheNearestEmptyCellFirstAndEndsOnTheSolution) {
    SudokuGame g(0);
    // The player starts on the last cell: the nearest empty cell is the one up and to its left.
    g.player->X = g.game->cellX(80);
    g.player->Y = g.game->cellY(80);
    g.player->setAttribute(Attr::Sudoku, 1);
    g.game->stepPlayer(*g.player);
    EXPECT_EQ(g.game->filling(), 70);
    EXPECT_EQ(g.player->gotoX, g.game->cellX(70));
    int frames = 0;
    while (g.player->chaseMode == 1 && frames++ < 200) g.frame();
    EXPECT_EQ(g.player->chaseMode, 0);
    std::vector<int8_t> board;
    for (int i = 0; i < SudokuBoard::kCells; ++i) board.push_back(int8_t(g.board().at(i)));
    EXPECT_EQ(board, cellsOf(kSolution));
    EXPECT_EQ(frames, 81 - 30 + 1); // one cell a frame, then the way to the middle
    EXPECT_EQ(g.player->X, g.field->X + 9 * 10 * 5);
    EXPECT_TRUE(g.sink.records.empty());
}

TEST(Sudoku, APuzzleWithoutSolutionEndsTheDemonstrationAtOnce) {
    QStringList twoFives = kPuzzle;
    twoFives[0] = QStringLiteral("53..7...5");
    SudokuGame g(1, twoFives);
    g.frame();
    EXPECT_EQ(g.player->chaseMode, 0);
    EXPECT_EQ(g.board().at(2), 0);
}

TEST(Sudoku, AClickPressesTheClickedCell) {
    SudokuGame g(3);
    QImage picture(200, 200, QImage::Format_RGB32);
    AnimeCanvas canvas(picture, 200, {});
    g.game->draw(canvas, *g.field, {20, 30, 9, 9, 1, 0, 1});
    g.game->click(20 + 10 * 0 + 3, 30 + 10 * 0 + 3); // the given 5
    g.frame();
    EXPECT_EQ(g.board().highlighted(), 5);
    g.game->click(20 + 10 * 2 + 9, 30 + 10 * 1 + 1); // row 1, column 2: empty
    g.frame();
    EXPECT_EQ(g.game->cursor(), 11);
    EXPECT_EQ(g.board().at(11), 5);
    g.game->click(5, 5); // off the board: nothing
    g.frame();
    EXPECT_EQ(g.game->cursor(), 11);
    EXPECT_EQ(g.board().at(11), 5);
}

TEST(Sudoku, OtherSizesAreDrawnButNotPlayed) {
    GameFixture f;
    ASSERT_EQ(f.run({sudoku("s,2,2,0,0,20,20"), "12..", "..3.", "4...", "...1"}), 0);
    AnimeInfo& field = *f.state.characters.at(0);
    EXPECT_EQ(field.width, 4);
    EXPECT_EQ(field.height, 4);
    auto* game = static_cast<sudokuInfo*>(field.kind.get());
    AnimeInfo& player = f.linkPlayer(1, Attr::Sudoku);
    for (int i = 0; i < 5; ++i) {
        game->stepPlayer(player);
        arrive(player);
    }
    EXPECT_EQ(game->board().at(2), 0);
    EXPECT_EQ(player.chaseMode, 1);
    QImage picture(60, 60, QImage::Format_RGB32);
    picture.fill(Qt::black);
    AnimeCanvas canvas(picture, 60, {});
    ASSERT_TRUE(game->draw(canvas, field, {0, 0, 4, 4, 1, 0, 1}));
    EXPECT_EQ(picture.pixel(21, 1), rgbOfColor(0xC0E0E0));
    EXPECT_EQ(picture.pixel(38, 1), 0xFF000000u); // the gap after a box of two columns
}

TEST(Sudoku, DrawsGivensEntriesAndMarks) {
    SudokuGame g(3);
    g.moveTo(2);
    g.press(GameKey('+'));
    g.press(GameKey('+'));
    g.press(GameKey('+')); // 3: wrong
    g.moveTo(3);
    g.press(GameKey('+'));
    g.press(GameKey('+')); // 2: fine
    QImage picture(400, 400, QImage::Format_RGB32);
    picture.fill(Qt::black);
    AnimeCanvas canvas(picture, 400, {});
    ASSERT_TRUE(g.game->draw(canvas, *g.field, {10, 10, 9, 9, 3, 0, 3})); // cells of 30 pixels
    auto count = [&](int cell, uint32_t color) {
        int n = 0;
        for (int y = 0; y < 28; ++y)
            for (int x = 0; x < 28; ++x) n += picture.pixel(10 + cell % 9 * 30 + x, 10 + cell / 9 * 30 + y) == rgbOfColor(color);
        return n;
    };
    const struct {
        int cell;
        uint32_t background, text;
    } cells[] = {{0, 0xC0E0E0, 0x0000FF}, {2, 0x00FFFF, 0xFF0000}, {3, 0xC0E0E0, 0xFF0000}, {4, 0xC0E0E0, 0x0000FF}};
    for (const auto& c : cells) {
        SCOPED_TRACE(c.cell);
        EXPECT_GT(count(c.cell, c.background), 400);
        EXPECT_GT(count(c.cell, c.text), 5);
    }
    EXPECT_EQ(count(5, 0xFF0000) + count(5, 0x0000FF), 0); // empty
    EXPECT_EQ(picture.pixel(10 + 3 * 30 - 2, 20), 0xFF000000u); // the gap between the boxes
    EXPECT_EQ(picture.pixel(10 + 2 * 30 - 2, 20), rgbOfColor(0xC0E0E0));
}

TEST(SudokuDeclaration, Faults) {
    const struct {
        const char* params;
        const char* faulty;
    } cases[] = {{"s,3,3,0,0,10", "yzoom"}, {"s,1001,3,0,0,10,10", "wid"}, {"s,3,3,0,0,10,101", "yzoom"},
                 {"s,1000,1000,0,0,10,10", "hei"}};
    for (const auto& k : cases) {
        SCOPED_TRACE(k.params);
        GameFixture f;
        EXPECT_EQ(f.run({sudoku(k.params)}), -1);
        ASSERT_EQ(f.sink.records.size(), 1u);
        EXPECT_TRUE(f.sink.records[0].text.endsWith(QStringLiteral("(%1)").arg(k.faulty)));
        EXPECT_TRUE(f.state.characters.empty());
    }
}

} // namespace
