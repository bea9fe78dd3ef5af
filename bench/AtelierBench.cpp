// The workshop's picture tools on a 1024 x 768 picture of black shapes and a few colours, each as
// a ratio to the reference: one pass that reads every pixel and writes it to a copy.
#include "RatioReporter.h"
#include "atelier/WorkshopImage.h"

#include <QGuiApplication>
#include <QPainter>

#include <cstdio>

namespace {

const QImage& picture() {
    static const QImage image = [] {
        QImage p(1024, 768, QImage::Format_RGB32);
        p.fill(Qt::white);
        QPainter painter(&p);
        painter.setPen(Qt::NoPen);
        for (int i = 0; i < 40; ++i) {
            painter.setBrush(i % 4 == 0 ? QColor(200, 40, 40) : i % 7 == 0 ? QColor(20, 90, 200) : Qt::black);
            painter.drawEllipse((i * 97) % 900, (i * 61) % 650, 60 + i % 5 * 20, 50 + i % 3 * 30);
        }
        return p;
    }();
    return image;
}

void BM_CopyPass(benchmark::State& state) {
    const QImage& in = picture();
    for (auto _ : state) {
        QImage out(in.size(), QImage::Format_RGB32);
        for (int y = 0; y < in.height(); ++y) {
            const auto* from = reinterpret_cast<const QRgb*>(in.constScanLine(y));
            auto* to = reinterpret_cast<QRgb*>(out.scanLine(y));
            for (int x = 0; x < in.width(); ++x) to[x] = from[x] ^ 1u;
        }
        benchmark::DoNotOptimize(out.constBits());
    }
}
BENCHMARK(BM_CopyPass)->Unit(benchmark::kMillisecond);

void BM_Invert(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(invertBlack(picture()).constBits());
}
BENCHMARK(BM_Invert)->Unit(benchmark::kMillisecond);

void BM_Outline(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(outlineBlack(picture()).constBits());
}
BENCHMARK(BM_Outline)->Unit(benchmark::kMillisecond);

void BM_DotData(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(dotData(picture()));
}
BENCHMARK(BM_DotData)->Unit(benchmark::kMillisecond);

void BM_DotPattern(benchmark::State& state) {
    for (auto _ : state) {
        DotPattern pattern;
        benchmark::DoNotOptimize(dotPattern(picture(), 4, 4, pattern));
    }
}
BENCHMARK(BM_DotPattern)->Unit(benchmark::kMillisecond);

void BM_CutTiles(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<QImage> tiles;
        benchmark::DoNotOptimize(cutTiles(picture(), 8, 8, tiles));
    }
}
BENCHMARK(BM_CutTiles)->Unit(benchmark::kMillisecond);

void BM_TilesAsBmp(benchmark::State& state) {
    std::vector<QImage> tiles;
    cutTiles(picture(), 8, 8, tiles);
    for (auto _ : state)
        for (const QImage& tile : tiles) benchmark::DoNotOptimize(bmpBytes(tile));
}
BENCHMARK(BM_TilesAsBmp)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    picture();
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double reference = reporter.time("BM_CopyPass");
    if (reference > 0) {
        std::printf("\nCPU time on a 1024 x 768 picture as a ratio to one copying pass (%.3f ms):\n", reference);
        for (const auto& [name, time] : reporter.times)
            std::printf("  %-16s %7.2f  (%.3f ms)\n", name.c_str(), time / reference, time);
    }
    benchmark::Shutdown();
    return 0;
}
