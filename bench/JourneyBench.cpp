// One frame of the star journey on a universe of a million nodes: the scene near the ship (the
// rows within the radar, found from the ship's place rather than by walking the tree) and its
// picture at 1024 x 580, printed as a ratio to the 30 ms frame tick of TimerX3D, which a frame
// must stay well inside. The ship is put near the Earth, in the middle and near the end of the
// universe; a radar of 1000 rows (ten thousand objects at most) shows what the budget buys. The
// setup (one walk over the tree, once per journey) and the clearing of the picture are measured
// too, for scale.
#include "RatioReporter.h"
#include "journey/JourneyPainter.h"
#include "journey/StarJourney.h"
#include "universe/NebuLayout.h"

#include "common/ShowCheck.h"

#include <QGuiApplication>
#include <QImage>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

namespace {

constexpr long kNodes = 1'000'000;
// Every case reports in milliseconds, as the tick is given.
constexpr double kTickMs = StarJourney::kTickStart;

struct Universe {
    treeInfo tree{QStringLiteral("/bench"), QStringLiteral("/")};
    std::unique_ptr<NebuLayout> layout;
    Universe() {
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
            last = tree.appendNode(last, 2, QStringLiteral("子銀河%1").arg(i++));
            last->kind = KindGalaxy;
            for (int s = 0; s < 40 && i < kNodes; ++s, ++i) {
                last = tree.appendNode(last, 3, QStringLiteral("star_%1.txt").arg(i));
                last->stamp = 20100101000000ULL;
            }
        }
        tree.rebuildLinks();
        tree.sumSizes();
        tree.topGalaxy = tree.current = tree.root();
        tree.searchDepth = tree.displayDepth = tree.deepestLevel = 3;
        layout = std::make_unique<NebuLayout>(tree);
        layout->relayout();
    }
};

Universe& universe() {
    static Universe u;
    return u;
}

void BM_ClearPicture(benchmark::State& state) {
    QImage picture(1024, 580, QImage::Format_RGB32);
    for (auto _ : state) picture.fill(QColor(0, 0, 48));
}
BENCHMARK(BM_ClearPicture)->Unit(benchmark::kMillisecond);

void BM_SetupJourney(benchmark::State& state) {
    Universe& u = universe();
    StarJourney j(*u.layout);
    for (auto _ : state) j.setupJourney(*u.layout, JourneyLook{}, 480, 1024, 1);
    state.counters["stars"] = j.starCount();
}
BENCHMARK(BM_SetupJourney)->Unit(benchmark::kMillisecond);

// One frame with the ship at a fraction (per mille) of the universe's rows, a radar and a number
// of stars to a row (the tree window's 横並数; eight fill the object budget of the largest radar).
void BM_Frame(benchmark::State& state) {
    Universe& u = universe();
    u.layout->view.starsPerRow = int(state.range(2));
    u.layout->relayout();
    const double row = double(u.layout->rowCount()) * double(state.range(0)) / 1000;
    const int radar = int(state.range(1));
    JourneyLook look;
    QImage picture(1024, 580, QImage::Format_RGB32);
    std::vector<JourneyObject> objects;
    objects.reserve(std::size_t(radar) * 10 + 16);
    const JourneyCamera camera{686, -16 * row + 260, 213, 0, 20, 0, 160, 512, 520};
    int drawn = 0;
    for (auto _ : state) {
        buildScene(*u.layout, look, camera.y, radar, std::size_t(radar) * 10, nullptr, nullptr, 0, objects);
        drawn = drawJourneyFrame(picture, objects, camera, FrameLook{});
    }
    state.counters["objects"] = double(objects.size());
    state.counters["drawn"] = drawn;
    u.layout->view.starsPerRow = 1;
    u.layout->relayout();
}
BENCHMARK(BM_Frame)
    ->Args({0, 160, 1})
    ->Args({500, 160, 1})
    ->Args({999, 160, 1})
    ->Args({500, StarJourney::kRadarMost, 1})
    ->Args({500, StarJourney::kRadarMost, 8})
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    RecordingCheckSink quiet;
    ScopedCheckSink installed(&quiet);
    benchmark::Initialize(&argc, argv);
    universe(); // made before any timing
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nCPU time as a ratio to the frame tick of %d ms (a frame must stay below 1):\n", StarJourney::kTickStart);
    for (const auto& [name, time] : reporter.times)
        std::printf("  %-26s %8.3f  (%.2f ms)\n", name.c_str(), time / kTickMs, time);
    benchmark::Shutdown();
    return 0;
}
