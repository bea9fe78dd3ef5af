// The tree window's layout on a universe of a million nodes (galaxies of 24 stars and up to 4
// sub-galaxies, five levels): the filter, the rows, the row table and the connector flags of one
// relayout, printed as a ratio to a bare walk of the node list measured in the same run (the
// least any pass over the tree can cost). The goal is well under 100 ms per relayout.
// Last figures (Release, 2 busy cores, 1 000 000 nodes; list walk 11 ms): all levels 4.5x (50 ms),
// three per row 4.3x (48 ms), stars hidden 2.7x (30 ms), empty galaxies hidden 6.0x (67 ms),
// star wildcard "*.TXT" 7.1x (79 ms).
#include "BenchUniverse.h"
#include "RatioReporter.h"
#include "universe/NebuCursor.h"
#include "universe/NebuLayout.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr long kNodes = 1'000'000;

treeInfo& universe() {
    static const std::unique_ptr<treeInfo> tree = bench::makeUniverse(kNodes);
    return *tree;
}

void BM_ListWalk(benchmark::State& state) {
    treeInfo& tree = universe();
    for (auto _ : state) {
        uint64_t sum = 0;
        for (const fileInfo* n = tree.root(); n != tree.bottom(); n = n->next) sum += n->size + n->kind;
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_ListWalk)->Unit(benchmark::kMillisecond);

void relayout(benchmark::State& state, void (*set)(NebuLayout&)) {
    treeInfo& tree = universe();
    NebuLayout layout(tree);
    NebuCursor cursor(layout);
    set(layout);
    for (auto _ : state) {
        cursor.relayoutKeeping(tree.current); // as a setting change does
        benchmark::DoNotOptimize(layout.rowCount());
    }
    state.counters["rows"] = layout.rowCount();
}

void BM_RelayoutAllLevels(benchmark::State& s) { relayout(s, [](NebuLayout&) {}); }
void BM_RelayoutThreePerRow(benchmark::State& s) { relayout(s, [](NebuLayout& l) { l.view.starsPerRow = 3; }); }
void BM_RelayoutStarsHidden(benchmark::State& s) { relayout(s, [](NebuLayout& l) { l.view.starsShown = false; }); }
void BM_RelayoutHideStarless(benchmark::State& s) { relayout(s, [](NebuLayout& l) { l.view.hideStarlessGalaxies = true; }); }
void BM_RelayoutStarWildcard(benchmark::State& s) { relayout(s, [](NebuLayout& l) { l.view.starWild = QStringLiteral("*.TXT"); }); }
BENCHMARK(BM_RelayoutAllLevels)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RelayoutThreePerRow)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RelayoutStarsHidden)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RelayoutHideStarless)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RelayoutStarWildcard)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto walk = reporter.times.find("BM_ListWalk");
    if (walk != reporter.times.end() && walk->second > 0) {
        // Every case runs in milliseconds (its time unit).
        std::printf("\nCPU time per relayout of %zu nodes as a ratio to a bare list walk (%.2f ms):\n",
                    universe().nodeCount(), walk->second);
        for (const auto& [name, time] : reporter.times)
            std::printf("  %-26s %7.2f  (%.1f ms)\n", name.c_str(), time / walk->second, time);
    }
    benchmark::Shutdown();
    return 0;
}
