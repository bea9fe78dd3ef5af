// The tree window's first paint after opening a constellation data file of a million nodes: the
// read, the sums, the layout and the paint of the rows in view of the grid sgNebu (1200 x 600),
// printed as a ratio to reading the same file's bytes in the same run (the least any opening can
// cost). A paint alone (the rows in view, scrolled) is measured too, to show that it does not grow
// with the tree. Last figures (Release, 2 busy cores, a 31 MB file): opening and first paint 22x the
// byte read (790 ms against 35 ms; the read of the lines dominates), a paint of the rows in view
// 2 ms wherever the grid is scrolled.
#include "RatioReporter.h"
#include "universe/Constellation.h"
#include "universe/NebuCursor.h"
#include "universe/NebuGrid.h"
#include "universe/NebuLayout.h"

#include "common/Platform.h"
#include "common/ShowCheck.h"

#include <QApplication>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

namespace {

constexpr long kNodes = 1'000'000;

const QString& chartFile() {
    static QTemporaryDir folder;
    static QString path;
    if (path.isEmpty()) {
        treeInfo tree(QStringLiteral("/bench"), QStringLiteral("/"));
        fileInfo* last = tree.root();
        tree.root()->kind = KindGalaxy;
        for (long i = 0; i < kNodes;) {
            // Galaxies of 40 stars, each with a sub-galaxy of 40 more.
            last = tree.appendNode(last, 1, QStringLiteral("銀河%1").arg(i++));
            last->kind = KindGalaxy;
            for (int s = 0; s < 40 && i < kNodes; ++s, ++i) {
                last = tree.appendNode(last, 2, QStringLiteral("写真_%1.jpg").arg(i));
                last->stamp = 20100101000000ULL;
            }
        }
        tree.rebuildLinks();
        tree.sumSizes();
        path = folder.path() + QStringLiteral("/million.nebu");
        if (!writeConstellation(tree, path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    }
    return path;
}

void BM_ReadBytes(benchmark::State& state) {
    for (auto _ : state) {
        QByteArray bytes;
        readFileBytes(chartFile(), bytes);
        benchmark::DoNotOptimize(bytes.size());
    }
}
BENCHMARK(BM_ReadBytes)->Unit(benchmark::kMillisecond);

void BM_OpenAndFirstPaint(benchmark::State& state) {
    QImage picture(1200, 600, QImage::Format_RGB32);
    for (auto _ : state) {
        treeInfo tree(chartFile(), QStringLiteral("/"));
        readConstellation(tree, chartFile(), nullptr);
        tree.sumSizes();
        tree.topGalaxy = tree.root();
        tree.displayDepth = tree.searchDepth;
        NebuLayout layout(tree);
        NebuCursor cursor(layout);
        cursor.relayoutToTop();
        NebuGrid grid(nullptr);
        grid.resize(picture.size());
        grid.setModel(&layout, &cursor);
        grid.render(&picture);
        state.counters["rows"] = layout.rowCount();
    }
}
BENCHMARK(BM_OpenAndFirstPaint)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PaintScrolled(benchmark::State& state) {
    treeInfo tree(chartFile(), QStringLiteral("/"));
    readConstellation(tree, chartFile(), nullptr);
    tree.topGalaxy = tree.root();
    tree.displayDepth = tree.searchDepth;
    NebuLayout layout(tree);
    NebuCursor cursor(layout);
    cursor.relayoutToTop();
    NebuGrid grid(nullptr);
    QImage picture(1200, 600, QImage::Format_RGB32);
    grid.resize(picture.size());
    grid.setModel(&layout, &cursor);
    int row = 0;
    for (auto _ : state) {
        row = (row + 7919) % layout.rowCount();
        cursor.setCell(row, 0);
        grid.refresh();
        grid.render(&picture);
    }
}
BENCHMARK(BM_PaintScrolled)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RecordingCheckSink quiet;
    ScopedCheckSink installed(&quiet);
    benchmark::Initialize(&argc, argv);
    chartFile(); // made before any timing
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto read = reporter.times.find("BM_ReadBytes");
    if (read != reporter.times.end() && read->second > 0) {
        std::printf("\nCPU time as a ratio to reading the file's bytes (%.1f ms):\n", read->second);
        for (const auto& [name, time] : reporter.times)
            std::printf("  %-26s %8.2f  (%.1f ms)\n", name.c_str(), time / read->second, time);
    }
    benchmark::Shutdown();
    return 0;
}
