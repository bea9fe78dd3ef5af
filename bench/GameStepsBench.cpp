// One step of the board games on a 10 x 10 board: the number-linking demonstration's search step
// with 9 pairs (its four tests on every try), a frame of number-linking play (a key with the pen
// down and the connection check), and a frame of the gold-collecting game (gravity and a move);
// and a tile-matching deal of 136 tiles.
// Each is printed as a ratio to one plain flood over the same 100 cells, measured in the same run.
// Last figures (Release, 2 cores shared with other builds, five runs): a demonstration step
// 1400x to 2250x a flood (0.9 to 1.3 ms; test (b)'s floods dominate, well inside the 200 ms
// between two paced steps), a frame of number-linking play 0.9x to 1.2x (0.5 to 0.7 us), a frame
// of the gold-collecting game 0.3x to 0.6x (0.2 us), a deal of 136 tiles 920x to 1170x (about
// 0.5 ms); one flood took 0.40 to 0.77 us.
#include "RatioReporter.h"
#include "anime/AnimeBlock.h"
#include "anime/AnimeInfo.h"
#include "anime/AnimeState.h"
#include "anime/PlainBlockInput.h"
#include "characters/CharacterKinds.h"
#include "characters/NumLinkSearch.h"
#include "characters/QtriBoard.h"
#include "characters/numlinkInfo.h"
#include "characters/pitmanInfo.h"
#include "script/KestoCodes.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// Nine pairs whose paths must bend around each other, so the search backs up as well.
const QStringList kLinkMap{"1.......2.", "........3.", ".4.....2..", ".....5....", "..6.......",
                           "....1.6...", ".......7..", "..8....5..", ".4.9....3.", "..8...9.7."};

std::vector<int8_t> linkCells() {
    std::vector<int8_t> cells;
    for (const QString& row : kLinkMap)
        for (QChar c : row) cells.push_back(int8_t(c.isDigit() ? c.digitValue() : 0));
    return cells;
}

// The reference: 100 floods from the top left over the empty cells of the same board (many, so
// that the figure stands above the noise of a busy machine).
void BM_Flood100(benchmark::State& bench) {
    const std::vector<int8_t> cells = linkCells();
    std::vector<int> stack;
    std::vector<uint8_t> seen(cells.size());
    for (auto _ : bench)
        for (int k = 0; k < 100; ++k) {
            std::fill(seen.begin(), seen.end(), uint8_t(0));
            stack.assign(1, 1);
            int reached = 0;
            while (!stack.empty()) {
                const int c = stack.back();
                stack.pop_back();
                ++reached;
                const int x = c % 10, y = c / 10;
                const int next[4] = {x < 9 ? c + 1 : -1, y < 9 ? c + 10 : -1, x > 0 ? c - 1 : -1, y > 0 ? c - 10 : -1};
                for (int n : next)
                    if (n >= 0 && !seen[size_t(n)] && cells[size_t(n)] == 0) {
                        seen[size_t(n)] = 1;
                        stack.push_back(n);
                    }
            }
            benchmark::DoNotOptimize(reached);
        }
}
BENCHMARK(BM_Flood100);

// The first 100 steps of the search from the map's start, so that every run measures the same
// steps (a step's cost depends on how far the search has come); a step is a hundredth of it.
void BM_NumLinkDemonstration100Steps(benchmark::State& bench) {
    NumLinkBoard board(10, 10, linkCells(), 1, 0);
    for (auto _ : bench) {
        board.loadStage(0);
        NumLinkSearch search(board);
        for (int i = 0; i < 100; ++i) benchmark::DoNotOptimize(search.step());
    }
}
BENCHMARK(BM_NumLinkDemonstration100Steps);

// A game character read from its declaration, with a player in play.
struct Game {
    AnimeState state;
    AnimeKind* kind = nullptr;
    AnimeInfo* player = nullptr;
    Game(int kindNumber, int link, const QStringList& map) {
        registerCharacterKinds(state);
        PlainBlockInput input(QStringList{kindCode(kindNumber) + QStringLiteral(":g,10,10,0,0,30,30")} + map);
        runAnimeSet(state, input);
        kind = state.characters.at(0)->kind.get();
        player = &state.createCharacter(QStringLiteral("p"), 0, 0, 1, 1, 1, 1);
        player->setAttribute(link, 3);
    }
};

void BM_NumLinkPlayFrame(benchmark::State& bench) {
    Game g(Kind::NumLink, Attr::NumLink, kLinkMap);
    auto* game = static_cast<numlinkInfo*>(g.kind);
    game->board().setCursor(0);
    game->key(GameKey::Enter); // the pen down on 1
    game->stepPlayer(*g.player);
    bool out = true;
    for (auto _ : bench) {
        // The pen steps right onto its path and back onto its number: the board stays as it is.
        game->key(out ? GameKey::Right : GameKey::Left);
        game->stepPlayer(*g.player);
        out = !out;
    }
}
BENCHMARK(BM_NumLinkPlayFrame);

void BM_PitmanFrame(benchmark::State& bench) {
    Game g(Kind::pitman, Attr::pitman,
           {"8888888888", "8600000028", "8333313338", "8200010048", "8333313338", "8000010208", "8333313338",
            "8200010008", "8000010008", "8888888888"});
    bool out = true;
    for (auto _ : bench) {
        g.kind->key(out ? GameKey::Right : GameKey::Left);
        g.kind->stepPlayer(*g.player);
        out = !out;
    }
}
BENCHMARK(BM_PitmanFrame);

// A deal of a full set of 136 tiles: shuffles, sorting by the focus and connection tests until
// the board is empty. Each deal draws on a fresh seed, so the runs go over many layouts.
void BM_NikakuDeal136(benchmark::State& bench) {
    QtriBoard board(17, 8);
    for (auto _ : bench) {
        board.deal();
        benchmark::DoNotOptimize(board.removalAt(0));
    }
}
BENCHMARK(BM_NikakuDeal136);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto flood = reporter.times.find("BM_Flood100");
    if (flood != reporter.times.end() && flood->second > 0) {
        const double one = flood->second / 100;
        std::printf("\nCPU time per step as a ratio to one flood over the 10 x 10 board (%.3f us):\n", one / 1000);
        for (const auto& [name, time] : reporter.times) {
            const double perStep = name.find("100") != std::string::npos ? time / 100 : time;
            std::printf("  %-34s %8.1f  (%.3f us a step)\n", name.c_str(), perStep / one, perStep / 1000);
        }
    }
    benchmark::Shutdown();
    return 0;
}
