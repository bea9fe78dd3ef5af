// Common services: code page 932 decoding, fetched line splitting over loopback HTTP, folder
// listing.
#include "LoopbackHttpServer.h"
#include "common/Fetch.h"
#include "common/Platform.h"
#include "common/TextCodec.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

QByteArray japaneseText(qsizetype bytes) {
    const QByteArray line = encodeCp932(QStringLiteral("ヴィモラアートの作品 行目, 12345, abc\r\n"));
    QByteArray out;
    while (out.size() < bytes)
        out += line;
    return out;
}

void BM_DecodeCp932(benchmark::State& state) {
    const QByteArray text = japaneseText(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(splitLines(decodeText(text)));
    state.SetBytesProcessed(state.iterations() * text.size());
}
BENCHMARK(BM_DecodeCp932)->Arg(1 << 20);

void BM_FetchLines(benchmark::State& state) {
    LoopbackHttpServer server;
    server.serve("/big.txt", japaneseText(state.range(0)));
    QStringList lines;
    for (auto _ : state) {
        if (fetchLines(server.url("/big.txt"), lines) == 0) state.SkipWithError("fetch failed");
        benchmark::DoNotOptimize(lines);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FetchLines)->Arg(1 << 20)->Arg(16 << 20)->Unit(benchmark::kMillisecond);

void BM_ListFolder(benchmark::State& state) {
    QTemporaryDir dir;
    for (int i = 0; i < state.range(0); ++i) {
        QFile f(dir.path() + QStringLiteral("/file%1.txt").arg(i));
        f.open(QIODevice::WriteOnly);
    }
    std::vector<FolderEntry> entries;
    for (auto _ : state)
        benchmark::DoNotOptimize(listFolder(dir.path(), entries));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ListFolder)->Arg(10000);

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
