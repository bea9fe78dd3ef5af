// The maze: generated mazes of both methods for several sizes and seeds (walled border, two
// openings, every free cell reachable, no loops), tiny mazes, the declaration's faults, a left-
// and a right-hand runner moved by the real motion step until they walk the way found, user play
// with a wall bump, leaving and the question, "+" and "－" with their refusals, and the drawing.
#include "GameFixture.h"
#include "anime/AnimeCanvas.h"
#include "anime/AnimeMotion.h"
#include "characters/MazeBoard.h"
#include "characters/mazeInfo.h"
#include "common/Random.h"

#include <QImage>
#include <gtest/gtest.h>
#include <deque>
#include <map>
#include <set>
#include <tuple>

namespace {

struct Place {
    int column, row;
    bool operator<(const Place& o) const { return std::tie(row, column) < std::tie(o.row, o.column); }
    bool operator==(const Place& o) const = default;
};

constexpr int kSteps[4][2] = {{1, 0}, {0, 1}, {-1, 0}, {0, -1}};

std::vector<Place> borderOpenings(const MazeBoard& m) {
    std::vector<Place> open;
    for (int r = 0; r < m.rows(); ++r)
        for (int c = 0; c < m.columns(); ++c)
            if ((r == 0 || c == 0 || r == m.rows() - 1 || c == m.columns() - 1) && !m.wall(c, r)) open.push_back({c, r});
    return open;
}

// Free cells reached from `from` through free cells of the maze, in breadth-first order, with
// each one's predecessor.
std::map<Place, Place> reach(const MazeBoard& m, Place from) {
    std::map<Place, Place> came{{from, from}};
    std::deque<Place> todo{from};
    while (!todo.empty()) {
        const Place p = todo.front();
        todo.pop_front();
        for (const auto& s : kSteps) {
            const Place n{p.column + s[0], p.row + s[1]};
            if (!m.inside(n.column, n.row) || m.wall(n.column, n.row) || came.count(n)) continue;
            came[n] = p;
            todo.push_back(n);
        }
    }
    return came;
}

TEST(MazeBoard, GeneratedMazesAreWalledTreesWithTwoOpenings) {
    const struct {
        MazeBoard::Type type;
        int columns, rows;
        Place first, second; // the openings
    } cases[] = {
        {MazeBoard::StickDown, 21, 15, {1, 14}, {19, 14}},   {MazeBoard::SpanningTree, 21, 15, {1, 14}, {19, 0}},
        {MazeBoard::StickDown, 5, 5, {1, 4}, {3, 4}},        {MazeBoard::SpanningTree, 5, 5, {1, 4}, {3, 0}},
        {MazeBoard::StickDown, 61, 41, {1, 40}, {59, 40}},   {MazeBoard::SpanningTree, 61, 41, {1, 40}, {59, 0}},
        // An even size keeps an extra wall line inside its border; the openings lead through it.
        {MazeBoard::StickDown, 20, 14, {1, 13}, {17, 13}},   {MazeBoard::SpanningTree, 20, 14, {1, 13}, {17, 0}},
    };
    for (const auto& k : cases)
        for (uint32_t seed : {1u, 7u, 2024u}) {
            SCOPED_TRACE(testing::Message() << "type " << k.type << ", " << k.columns << " x " << k.rows << ", seed " << seed);
            vimoraSeed(seed);
            MazeBoard m(1, 1);
            m.generate(k.columns, k.rows, k.type);
            ASSERT_EQ(m.columns(), k.columns);
            ASSERT_EQ(m.rows(), k.rows);
            EXPECT_EQ(borderOpenings(m), (std::vector<Place>{std::min(k.first, k.second), std::max(k.first, k.second)}));
            int free = 0, joins = 0;
            for (int r = 0; r < m.rows(); ++r)
                for (int c = 0; c < m.columns(); ++c) {
                    if (m.wall(c, r)) continue;
                    ++free;
                    joins += m.inside(c + 1, r) && !m.wall(c + 1, r);
                    joins += m.inside(c, r + 1) && !m.wall(c, r + 1);
                }
            EXPECT_EQ(int(reach(m, k.first).size()), free); // all free cells hang together
            EXPECT_EQ(joins, free - 1);                      // and without a loop
        }
}

TEST(MazeBoard, TinyMazesHaveOnlyTheCellsThatExist) {
    for (int type : {MazeBoard::StickDown, MazeBoard::SpanningTree})
        for (const auto& [columns, rows] : std::vector<std::pair<int, int>>{{1, 1}, {2, 1}, {1, 4}, {3, 3}, {4, 2}}) {
            SCOPED_TRACE(testing::Message() << type << ": " << columns << " x " << rows);
            MazeBoard m(1, 1);
            m.generate(columns, rows, MazeBoard::Type(type));
            EXPECT_EQ(m.cells().size(), size_t(columns * rows));
            EXPECT_LE(borderOpenings(m).size(), 2u);
            EXPECT_FALSE(m.wall(-1, 0)); // around the maze is open ground
            EXPECT_FALSE(m.wall(columns, rows));
        }
}

QString maze(const QString& params) { return kindCode(Kind::Maze) + u':' + params; }

TEST(MazeDeclaration, FaultsAndRows) {
    const struct {
        const char* params;
        const char* faulty; // nullptr: read
    } cases[] = {
        {"m,7,5,0,0,10,10,3", "yzoom"}, // the type is reported under the name before it
        {"m,7,5,0,0,10,10", "yzoom"},
        {"m,1025,5,0,0,10,10,1", "wid"},
        {"m,7,0,0,0,10,10,1", "hei"},
        {"m,7,5,0,0,0,10,1", "xzoom"},
        {"m,7,5,0,0,10,10,1", nullptr},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.params);
        GameFixture f;
        const int result = f.run({maze(k.params)});
        if (k.faulty) {
            EXPECT_EQ(result, -1);
            ASSERT_EQ(f.sink.records.size(), 1u);
            EXPECT_TRUE(f.sink.records[0].text.endsWith(QStringLiteral("(%1)").arg(k.faulty)));
        } else {
            EXPECT_EQ(result, 0);
            ASSERT_EQ(f.state.characters.size(), 1u);
            EXPECT_EQ(f.state.characters[0]->width, 7);
            EXPECT_EQ(f.state.characters[0]->height, 5);
        }
    }
    // Type 0 takes its rows: '1' to '9' are walls, everything else free, short rows free.
    GameFixture f;
    ASSERT_EQ(f.run({maze("m,4,3,0,0,10,10,0"), "1910", "a0.2", "5"}), 0);
    const auto* m = static_cast<mazeInfo*>(f.state.characters.at(0)->kind.get());
    EXPECT_EQ(m->board().cells(), (std::vector<int8_t>{1, 9, 1, 0, 0, 0, 0, 2, 5, 0, 0, 0}));
}

// A maze of 10-pixel cells at (100, 50) with a runner character, moved frame by frame by the
// motion step as an animation would.
struct MazeGame : GameFixture {
    AnimeInfo* field = nullptr;
    mazeInfo* game = nullptr;
    AnimeInfo* runner = nullptr;
    explicit MazeGame(const QStringList& declaration) {
        EXPECT_EQ(run(declaration), 0);
        field = state.characters.at(0).get();
        game = static_cast<mazeInfo*>(field->kind.get());
        runner = &state.createCharacter(QStringLiteral("runner"), 0, 0, 1, 1, 4, 4);
        runner->disp = 1;
    }
    void link(int n, double speed) {
        runner->setVelocity(0, speed, 0);
        runner->setAttribute(Attr::Maze, n);
    }
    void frame() { stepCharacter(*runner, {-1000, -1000, 5000, 5000}); }
    const mazeUinfo& record() const { return *game->runner(*runner); }
    // The maze cell a trail point lies in (nearest anchor), -1 or one past the end outside.
    Place cellOf(mazeUinfo::Point p) const {
        const double column = (p.x * 10.0 - field->X - 20) / 100, fromBottom = (p.y * 10.0 - field->Y - 20) / 100;
        return {int(std::floor(column + 0.5)), game->board().rows() - 1 - int(std::floor(fromBottom + 0.5))};
    }
};

// A loop-free maze of 9 x 7 cells: in at the bottom left, out at the top right, with a dead
// end that a left hand walks into.
const QStringList kTreeMaze = {maze("m,9,7,100,50,10,10,0"),
                               "111111101",
                               "100000101",
                               "101010101",
                               "101010101",
                               "101011101",
                               "101000001",
                               "101111111"};

TEST(MazeRunner, EachHandFindsTheWayAndWalksItForEver) {
    // The only way from the entrance (column 1, last row) to the exit (column 7, first row).
    MazeBoard tree(9, 7);
    {
        MazeGame g(kTreeMaze);
        tree = g.game->board();
    }
    const auto came = reach(tree, {1, 6});
    ASSERT_TRUE(came.count({7, 0}));
    std::set<Place> way;
    for (Place p{7, 0};; p = came.at(p)) {
        way.insert(p);
        if (p == Place{1, 6}) break;
    }
    for (int hand : {1, 2}) {
        SCOPED_TRACE(hand == 1 ? "left hand" : "right hand");
        MazeGame g(kTreeMaze);
        g.link(hand, 10);
        EXPECT_EQ(g.runner->chaseMode, 1);
        EXPECT_EQ(g.host.padRequests, 0); // mode 2 is a runner, not a waiting player
        int frames = 0;
        while (g.record().run != mazeUinfo::Run::WalkingTrail && frames < 20000) {
            g.frame();
            ++frames;
        }
        ASSERT_EQ(g.record().run, mazeUinfo::Run::WalkingTrail) << "after " << frames << " frames";
        EXPECT_EQ(g.runner->chaseMode, 0);
        // The trail went in, along the way without its dead ends, out, and round the outside.
        std::set<Place> inside;
        for (const auto& p : g.record().trail) {
            const Place c = g.cellOf(p);
            EXPECT_FALSE(tree.wall(c.column, c.row)) << c.column << "," << c.row;
            if (tree.inside(c.column, c.row)) inside.insert(c);
        }
        EXPECT_EQ(inside, way);
        // Walking it: one point a frame, and round again after the last.
        const size_t points = g.record().trail.size();
        for (size_t i = 0; i < points; ++i) g.frame();
        EXPECT_EQ(g.record().walkIndex, points);
        g.frame();
        g.frame();
        EXPECT_EQ(g.record().walkIndex, 1u);
        EXPECT_EQ(g.runner->X, g.record().trail[0].x * 10.0);
        EXPECT_EQ(g.runner->Y, g.record().trail[0].y * 10.0);
    }
}

TEST(MazeRunner, GeneratedMazesAreExploredToo) {
    // Cells and speeds (tenths a frame) as works use them: a pixel or up to a third of a cell
    // between new pixels.
    for (const auto& [cell, speed] : std::vector<std::pair<int, int>>{{12, 15}, {14, 40}})
        for (int type : {1, 2})
            for (int hand : {1, 2}) {
                SCOPED_TRACE(testing::Message() << "cell " << cell << ", speed " << speed << ", type " << type << ", hand " << hand);
                vimoraSeed(11);
                MazeGame g({maze(QStringLiteral("m,15,11,100,50,%1,%1,%2").arg(cell).arg(type))});
                g.link(hand, speed);
                for (int i = 0; i < 30000 && g.record().run != mazeUinfo::Run::WalkingTrail; ++i) g.frame();
                EXPECT_EQ(g.record().run, mazeUinfo::Run::WalkingTrail);
            }
}

// The user in a small maze: in at column 1 of the last row, out at column 5 of the first row.
const QStringList kSmallMaze = {maze("m,7,5,100,50,10,10,0"), "1111101", "1000001", "1011111", "1000001", "1011111"};

struct UserPlay : MazeGame {
    UserPlay() : MazeGame(kSmallMaze) {
        link(3, 0);
        host.padVisible = true;
        frame();
    }
    void press(GameKey key) {
        game->key(key);
        frame();
    }
    Place cell() const { return {record().userColumn, record().userRow}; }
};

TEST(MazeUser, WalksTheCellsButNotIntoWallsAndIsAskedOnLeaving) {
    UserPlay u;
    EXPECT_EQ(u.host.padRequests, 1);
    EXPECT_EQ(u.record().mode, mazeUinfo::UserPlay);
    EXPECT_EQ(u.cell(), (Place{2, 6})); // below the entrance
    // The runner heads for the user's cell: column 1 of the maze, one row below it.
    EXPECT_EQ(u.runner->gotoX, 1 * 100 + 1000 + 20);
    EXPECT_EQ(u.runner->gotoY, -100 + 500 + 20);
    EXPECT_EQ(u.runner->speed, 200);
    using K = GameKey;
    const struct {
        GameKey key;
        Place cell;
        const char* why;
    } steps[] = {
        {K::Down, {2, 6}, "the outer ground ends here"},
        {K::Up, {2, 5}, "into the entrance"},
        {K::Left, {2, 5}, "a wall bump keeps the user"},
        {K::Up, {2, 4}, ""},   {K::Up, {2, 3}, ""}, {K::Right, {2, 3}, "a wall"},
        {K::Up, {2, 2}, ""},   {K::Right, {3, 2}, ""}, {K::Right, {4, 2}, ""}, {K::Right, {5, 2}, ""},
        {K::Right, {6, 2}, ""}, {K::Up, {6, 1}, "the exit"},
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.why);
        u.press(s.key);
        EXPECT_EQ(u.cell(), s.cell);
        EXPECT_EQ(u.game->pendingKey(), GameKey::None);
    }
    EXPECT_TRUE(u.sink.records.empty());
    u.sink.answers = {0};
    u.press(K::Up); // out
    ASSERT_EQ(u.sink.records.size(), 1u);
    EXPECT_EQ(u.sink.records[0].text, QStringLiteral("次の迷路に挑戦しますか?(Y/N"));
    EXPECT_EQ(u.sink.records[0].caption, QStringLiteral("迷路から出ました。"));
    EXPECT_EQ(u.sink.records[0].style, 1);
    EXPECT_EQ(u.record().mode, mazeUinfo::UserOut);
    u.press(K::Right); // walking on outside asks no more
    EXPECT_EQ(u.sink.records.size(), 1u);
    EXPECT_EQ(u.game->type(), 0);
}

TEST(MazeUser, TheWayRoundTheOutsideCountsAsLeavingAndYesGivesTheNextMaze) {
    UserPlay u;
    u.sink.answers = {1};
    for (int i = 0; i < 3; ++i) u.press(GameKey::Right); // along the bottom outside
    EXPECT_EQ(u.cell(), (Place{5, 6}));
    ASSERT_EQ(u.sink.records.size(), 1u);
    EXPECT_EQ(u.game->type(), 1); // a generated maze of the same size follows
    EXPECT_EQ(u.game->board().columns(), 7);
    u.frame(); // the user starts again below the new maze's entrance
    EXPECT_EQ(u.record().mode, mazeUinfo::UserPlay);
    EXPECT_EQ(u.cell(), (Place{2, 6}));
}

TEST(MazeUser, PlusAndMinusRemakeTheMazeWithinTheirLimits) {
    const struct {
        const char* declaration;
        GameKey key;
        bool remade;
        int columns, rows, zoom; // after the key
        const char* why;
    } cases[] = {
        {"m,7,5,100,50,10,10,1", GameKey::NextStage, true, 9, 7, 7, "bigger: the width in pixels stays"},
        {"m,9,9,100,50,10,10,1", GameKey::PreviousStage, true, 7, 7, 12, "smaller"},
        {"m,7,9,100,50,10,10,1", GameKey::PreviousStage, false, 7, 9, 10, "fewer than 8 columns"},
        {"m,9,6,100,50,10,10,1", GameKey::PreviousStage, false, 9, 6, 10, "fewer than 5 rows would be left"},
        {"m,9,9,100,50,1,1,1", GameKey::NextStage, false, 9, 9, 1, "a cell below a pixel"},
        {"m,9,9,100,50,90,90,1", GameKey::PreviousStage, false, 9, 9, 90, "a cell above the largest zoom"},
        {"m,1023,9,100,50,2,2,1", GameKey::NextStage, false, 1023, 9, 2, "more than 1024 columns"},
    };
    for (const auto& k : cases) {
        SCOPED_TRACE(k.why);
        MazeGame g({maze(k.declaration)});
        g.link(3, 0);
        g.host.padVisible = true;
        g.frame();
        g.game->key(GameKey::Up); // into the entrance
        g.frame();
        g.game->key(k.key);
        g.frame();
        EXPECT_EQ(g.game->board().columns(), k.columns);
        EXPECT_EQ(g.game->board().rows(), k.rows);
        EXPECT_EQ(g.field->width, k.columns);
        EXPECT_EQ(g.field->height, k.rows);
        EXPECT_EQ(g.field->zoomX, k.zoom);
        EXPECT_EQ(g.field->zoomY, k.zoom);
        EXPECT_EQ(g.game->type(), k.remade ? 2 : 1);
        g.frame(); // a new maze puts the user below its entrance again
        EXPECT_EQ(g.record().userRow, k.remade ? k.rows + 1 : k.rows);
    }
}

TEST(Maze, DrawsItsWallsOnly) {
    MazeGame g({maze("m,3,2,0,0,10,10,0"), "101", "010"});
    QImage picture(60, 40, QImage::Format_RGB32);
    picture.fill(Qt::magenta);
    AnimeCanvas canvas(picture, 40, {});
    ASSERT_TRUE(g.game->draw(canvas, *g.field, {5, 10, 3, 2, 2, 0, 2}));
    const QRgb wall = rgbOfColor(0x303040), magenta = QColor(Qt::magenta).rgb();
    const struct {
        int x, y;
        QRgb expected;
    } pixels[] = {{5, 10, wall},      {23, 28, wall},    {24, 10, magenta}, // a pixel's gap after a cell
                  {25, 10, magenta}, {45, 10, wall},    {25, 30, wall},    {5, 30, magenta}, {59, 39, magenta}};
    for (const auto& p : pixels) EXPECT_EQ(picture.pixel(p.x, p.y), p.expected) << p.x << "," << p.y;
}

TEST(Maze, CellsOfAPixelOrTwoAreDrawnWhole) {
    MazeGame g({maze("m,4,2,0,0,1,1,0"), "1101", "0111"});
    QImage picture(8, 4, QImage::Format_RGB32);
    picture.fill(Qt::magenta);
    AnimeCanvas canvas(picture, 4, {});
    ASSERT_TRUE(g.game->draw(canvas, *g.field, {0, 0, 4, 2, 2, 0, 2}));
    QString drawn;
    for (int y = 0; y < 4; ++y, drawn += u'/')
        for (int x = 0; x < 8; ++x) drawn += picture.pixel(x, y) == rgbOfColor(0x303040) ? u'#' : u'.';
    EXPECT_EQ(drawn, QStringLiteral("####..##/####..##/..######/..######/"));
}

} // namespace
