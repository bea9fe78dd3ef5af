// The 71 attributes: each range rule, and the attributes that act on pixels, targets and links.
#include "anime/AnimeHost.h"
#include "anime/AnimeInfo.h"
#include "anime/AnimeState.h"
#include "script/KestoCodes.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace A = Attr;

namespace {

AnimeInfo& freshCharacter(AnimeState& state) {
    AnimeInfo& c = state.createCharacter("c", 0, 0, 1, 1, 3, 2);
    c.allocatePixels(1, 2, 3);
    for (size_t i = 0; i < c.pixels.size(); ++i) c.pixels[i] = int32_t(i);
    return c;
}

} // namespace

TEST(AnimeAttribute, RangeRules) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        int index;
        double value;
        double expected; // what the attribute reads back afterwards
    } cases[] = {
        {A::X, 12.5, 12.5},      {A::Z, -3, -3},
        {A::vX, 5, 5},           {A::vY, -1000, -1000},   {A::vZ, 1000.5, 0},
        {A::aX, -1000, -1000},   {A::aY, 1001, 0},
        {A::angleX, 90, 90},     {A::angle, 45, 45},      {A::rota, -2, -2},
        {A::zoomX, 3, 3},        {A::zoomX, 2.9, 2},      {A::zoomX, -2, -2},      {A::zoomX, -1, 1},
        {A::zoomX, 0, 1},        {A::zoomY, 101, 1},      {A::zoomY, 100, 100},    {A::zoomZ, -99, -99},
        {A::zoomZ, -100, 1},     {A::zoomX, nan, 1},
        {A::multX, 0, 1},        {A::multY, 100, 100},    {A::multZ, 101, 1},
        {A::minX, 3.7, 3},       {A::maxY, -3.7, -3},
        {A::eX, 0.8, 0.8},       {A::eX, 80, 0.8},        {A::eY, 2, 2},           {A::eY, 2.5, 0.025},
        {A::eZ, -1, 1},          {A::eZ, 1001, 1},
        {A::ghostX, 200, 200},   {A::ghostY, 0, 100},     {A::ghostZ, 10001, 100}, {A::ghost, 50, 50},
        {A::balloon, 6, 6},      {A::balloonY, 10000, 10000}, {A::balloonX, 0, 1},
        {A::disp, 17, 17},       {A::disp, 256, 0},       {A::disp, -1, 0},
        {A::mode, 256, 256},     {A::mode, 257, 0},
        {A::gotoX, 100, 100},    {A::gotoY, -16384, -16384}, {A::gotoZ, 16385, kNoTarget},
        {A::rX, 10, 0.1},        {A::rZ, 0.1, 0.1},       {A::rY, -0.5, 0},
        {A::rsftX, 5, 5},        {A::rsftY, 16384.5, 0},
        {A::LifeTime, -30, -30}, {A::Font, 20, 20},       {A::colorSft, 0.5, 0.5},
        {A::Color, 5, 5},        {A::Color, 16, 0},       {A::Color, -1, -1},
        {A::bgColor, -2, -2},    {A::bgColor, -3, 0},
        {A::Charge, 2.5, 2.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "attribute " << c.index << " = " << c.value);
        AnimeState state;
        AnimeInfo& ch = freshCharacter(state);
        ch.setAttribute(c.index, c.value);
        EXPECT_NEAR(ch.attribute(c.index), c.expected, 1e-9);
    }
    // The "any" attributes take NaN as it is; nothing else may crash on it.
    AnimeState state;
    AnimeInfo& ch = freshCharacter(state);
    for (int i = 0; i < A::Count; ++i) ch.setAttribute(i, nan);
    EXPECT_TRUE(std::isnan(ch.X));
    EXPECT_EQ(ch.zoomX, 1);
}

TEST(AnimeAttribute, VelocityCancelsTheGotoTargetAndSetsTheSpeed) {
    AnimeState state;
    AnimeInfo& c = freshCharacter(state);
    c.setAttribute(A::gotoX, 100);
    EXPECT_EQ(c.gotoX, 1000);
    EXPECT_TRUE(c.hasTarget());
    c.setAttribute(A::vX, 3);
    c.setAttribute(A::vY, 4);
    EXPECT_FALSE(c.hasTarget());
    EXPECT_EQ(c.speed, 5);
}

TEST(AnimeAttribute, ReverseAndDirFlipThePixels) {
    AnimeState state;
    AnimeInfo& c = freshCharacter(state);
    const std::vector<int32_t> original = c.pixels;
    c.setAttribute(A::reverse, 1);
    EXPECT_EQ(c.pixels, (std::vector<int32_t>{2, 1, 0, 5, 4, 3}));
    EXPECT_EQ(c.dirState, 1);
    c.setAttribute(A::reverse, 2);
    EXPECT_EQ(c.pixels, (std::vector<int32_t>{5, 4, 3, 2, 1, 0}));
    EXPECT_EQ(c.dirState, 3);
    c.setAttribute(A::reverse, 3);
    EXPECT_EQ(c.pixels, original);
    EXPECT_EQ(c.dirState, 0);
    // dir flips only the bits that differ and stores bit 2 without flipping.
    c.setAttribute(A::dir, 5);
    EXPECT_EQ(c.pixels, (std::vector<int32_t>{2, 1, 0, 5, 4, 3}));
    EXPECT_EQ(c.dirState, 5);
    c.setAttribute(A::dir, 1);
    EXPECT_EQ(c.dirState, 1);
    EXPECT_EQ(c.pixels, (std::vector<int32_t>{2, 1, 0, 5, 4, 3}));
    // Without pixel data nothing flips.
    AnimeInfo& empty = state.createCharacter("e", 0, 0, 1, 1, 1, 1);
    empty.setAttribute(A::reverse, 1);
    EXPECT_EQ(empty.dirState, 0);
}

TEST(AnimeAttribute, ValueSlotsChargeAndUserValues) {
    AnimeState state;
    AnimeInfo& c = freshCharacter(state);
    c.setAttribute(A::X, 12.5);
    c.setAttribute(A::vY, -2);
    c.setAttribute(A::angleZ, 90);
    c.setAttribute(A::gotoX, 3);
    c.setAttribute(A::SetVal, 0);
    EXPECT_EQ(state.valueSlots[0], 0);
    c.setAttribute(A::SetVal, 1);
    EXPECT_EQ(state.valueSlots[0], 12.5);
    EXPECT_EQ(state.valueSlots[4], -2);
    EXPECT_NEAR(state.valueSlots[11], 90, 1e-9);
    EXPECT_EQ(state.valueSlots[15], 1);

    c.setAttribute(A::Charge, 2);
    EXPECT_FALSE(c.chargesWhenSet);
    state.charges.push_back(std::make_unique<AnimeCharge>(AnimeCharge{&c, 1}));
    c.setAttribute(A::Charge, 3);
    EXPECT_TRUE(c.chargesWhenSet);
    c.setAttribute(A::Charge, 0);
    EXPECT_EQ(c.charge, 0);

    EXPECT_TRUE(c.setUserValue(31, 7));
    EXPECT_FALSE(c.setUserValue(32, 7));
    EXPECT_FALSE(c.setUserValue(-1, 7));
    EXPECT_EQ(c.userValues[31], 7);
}

namespace {

struct FakeGame : AnimeKind {
    explicit FakeGame(int code) : code(code) {}
    int kindCode() const override { return code; }
    void linkPlayer(AnimeInfo& player, int digit) override { lastDigit = digit; }
    int code;
    int lastDigit = -1;
};

} // namespace

TEST(AnimeAttribute, GameLinksFindTheGameByIndexOrTheLastOne) {
    AnimeState state;
    AnimeInfo& maze0 = state.createCharacter("m", 0, 0, 1, 1, 1, 1);
    maze0.kind = std::make_unique<FakeGame>(Kind::Maze);
    AnimeInfo& maze1 = state.createCharacter("m", 0, 0, 1, 1, 1, 1);
    state.setSameNameIndex(maze1, 1);
    maze1.kind = std::make_unique<FakeGame>(Kind::Maze);
    AnimeInfo& player = state.createCharacter("p", 0, 0, 1, 1, 1, 1);

    struct PadHost : AnimeHost {
        void logMessage(const QString&) override {}
        void showGamePad() override { ++pads; }
        int pads = 0;
    } host;
    state.host = &host;
    player.setAttribute(A::Maze, 2); // index 0, mode digit 2: a maze runner explores, no game pad
    EXPECT_EQ(host.pads, 0);
    EXPECT_EQ(player.games[size_t(GameLink::Maze)], &maze0);
    EXPECT_EQ(player.chaseMode, 2);
    EXPECT_EQ(static_cast<FakeGame&>(*maze0.kind).lastDigit, 2);
    player.setAttribute(A::Maze, 51); // no index 5: the last maze
    EXPECT_EQ(player.games[size_t(GameLink::Maze)], &maze1);
    player.setAttribute(A::Maze, 0);
    EXPECT_EQ(player.games[size_t(GameLink::Maze)], nullptr);
    player.setAttribute(A::Nikaku, 11); // no Nikaku board: the link stays clear
    EXPECT_EQ(player.games[size_t(GameLink::Nikaku)], nullptr);
    AnimeInfo& sudoku = state.createCharacter("s", 0, 0, 1, 1, 1, 1);
    sudoku.kind = std::make_unique<FakeGame>(Kind::Sudoku);
    player.setAttribute(A::Sudoku, 2); // the other games wait for the game pad in mode 2
    EXPECT_EQ(host.pads, 1);

    player.setChased(&maze0);
    EXPECT_EQ(player.chaseMode, 1);
    EXPECT_EQ(player.dirState & 4, 4);
    player.setAttribute(A::Chaser, 0);
    EXPECT_EQ(player.chased, nullptr);
}
