// Frames (motion, collisions, summing and drawing) of the figure and physics kinds on an
// 800 x 600 picture: 300 moving molecules, 10 large overlapping metaballs shaded and as blobs,
// 50 rings of 600 corners and a solid of 1024 filled faces. Every case is printed as a ratio
// to the fill of the same picture, measured in the same run. Last figures (Release, 2 cores):
// molecules 63x (2.0 ms), metaballs blob 109x (3.5 ms), shaded 177x (5.7 ms), solid 14x (0.44 ms),
// rings 1277x (41 ms; Qt's stroking of wide pens dominates, over the 10 ms frame tick).
#include "RatioReporter.h"
#include "anime/AnimeBlock.h"
#include "anime/AnimeCanvas.h"
#include "anime/AnimeMotion.h"
#include "anime/AnimeState.h"
#include "anime/AnimeView.h"
#include "anime/PlainBlockInput.h"
#include "characters/CharacterKinds.h"
#include "common/Random.h"
#include "script/KestoCodes.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <map>
#include <string>

namespace {

constexpr int kWidth = 800, kHeight = 600;

QString line(int kind, const QString& params) { return kindCode(kind) + u':' + params; }

// Reads the block into the animation; the benchmark stops when it is faulty.
void declare(benchmark::State& bench, AnimeState& state, const QStringList& lines) {
    registerCharacterKinds(state);
    PlainBlockInput input(lines);
    if (runAnimeSet(state, input) != 0) bench.SkipWithError("the block was not read");
}

void frames(benchmark::State& bench, AnimeState& state, AnimeView& view) {
    const int status = 0;
    for (auto _ : bench) {
        advanceFrame(state, view, status);
        benchmark::DoNotOptimize(view.picture.constBits());
    }
}

void BM_Fill(benchmark::State& bench) {
    QImage picture(kWidth, kHeight, QImage::Format_RGB32);
    AnimeCanvas canvas(picture, kHeight, WindowRotation());
    for (auto _ : bench) {
        canvas.fill(0x381818);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_Fill);

void BM_Molecules300(benchmark::State& bench) {
    vimoraSeed(3);
    QStringList lines{settingCode(Setting::Color) + ":1,255,120,120"};
    for (int i = 0; i < 300; ++i)
        lines << line(Kind::Molecule, QStringLiteral("m,%1,%2,%3,%4,%5,1")
                                                   .arg(1 + vimoraRand() % 64)
                                                   .arg(vimoraRand() % (kWidth - 40))
                                                   .arg(vimoraRand() % (kHeight - 40))
                                                   .arg(int(vimoraRand() % 41) - 20)
                                                   .arg(int(vimoraRand() % 41) - 20));
    AnimeState state;
    declare(bench, state, lines);
    for (const auto& c : state.characters) c->maxX = kWidth, c->maxY = kHeight;
    AnimeView view(kWidth, kHeight);
    frames(bench, state, view);
}
BENCHMARK(BM_Molecules300);

void metaBalls(benchmark::State& bench, int mode) {
    vimoraSeed(5);
    QStringList lines;
    for (int i = 0; i < 10; ++i)
        lines << line(Kind::MetaBall, QStringLiteral("b,300,%1,%2,%3,%4,1")
                                                   .arg(vimoraRand() % (kWidth - 300))
                                                   .arg(vimoraRand() % (kHeight - 300))
                                                   .arg(int(vimoraRand() % 21) - 10)
                                                   .arg(int(vimoraRand() % 21) - 10));
    AnimeState state;
    declare(bench, state, lines);
    for (const auto& c : state.characters) c->mode = mode, c->maxX = kWidth, c->maxY = kHeight;
    AnimeView view(kWidth, kHeight);
    frames(bench, state, view);
}
void BM_MetaBalls10Shaded(benchmark::State& bench) { metaBalls(bench, 0); }
void BM_MetaBalls10Blob(benchmark::State& bench) { metaBalls(bench, 1); }
BENCHMARK(BM_MetaBalls10Shaded);
BENCHMARK(BM_MetaBalls10Blob);

void BM_Rings50(benchmark::State& bench) {
    QStringList lines{settingCode(Setting::Color) + ":1,120,220,255"};
    for (int i = 0; i < 50; ++i)
        lines << line(Kind::metaRing, QStringLiteral("r,%1,%2,0,200,2,1,-2").arg(100 + i * 12).arg(300));
    AnimeState state;
    declare(bench, state, lines);
    AnimeView view(kWidth, kHeight);
    frames(bench, state, view);
}
BENCHMARK(BM_Rings50);

void BM_Solid1024Faces(benchmark::State& bench) {
    vimoraSeed(7);
    QStringList lines{settingCode(Setting::Color) + ":1,255,200,60",
                      line(Kind::MetaCube, "s,4,1024,400,300,0,0,1,0,100,100,100")};
    for (int i = 0; i < 4096; ++i)
        lines << QStringLiteral("%1,%2,%3").arg(int(vimoraRand() % 401) - 200).arg(int(vimoraRand() % 401) - 200)
                     .arg(int(vimoraRand() % 401) - 200);
    AnimeState state;
    declare(bench, state, lines);
    AnimeInfo& solid = *state.characters.back();
    solid.mode = 3;
    solid.userValues[4] = 2;
    AnimeView view(kWidth, kHeight);
    frames(bench, state, view);
}
BENCHMARK(BM_Solid1024Faces);

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv); // the painter of rings and solids
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto fill = reporter.times.find("BM_Fill");
    if (fill != reporter.times.end() && fill->second > 0) {
        std::printf("\nCPU time per frame as a ratio to the %d x %d picture fill (%.3f us):\n", kWidth, kHeight,
                    fill->second / 1000);
        for (const auto& [name, time] : reporter.times)
            std::printf("  %-24s %8.2f  (%.3f ms)\n", name.c_str(), time / fill->second, time / 1e6);
    }
    benchmark::Shutdown();
    return 0;
}
