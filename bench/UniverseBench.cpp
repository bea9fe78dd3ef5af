// File universe benchmarks on a synthetic tree: the scan, the constellation data write and read,
// and the heap bytes per node. The tree is made by this program (--build-tree DIR [--files N])
// so that bench/universe_bench.sh can time du and find over the very same folders.
//   universe_bench --build-tree DIR [--files N]
//   UNIVERSE_BENCH_TREE=DIR universe_bench [benchmark flags]
#include "universe/Constellation.h"
#include "universe/UniverseModel.h"

#include "common/ShowCheck.h"

#include <QFile>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <malloc.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString treeFolder() { return QString::fromLocal8Bit(qgetenv("UNIVERSE_BENCH_TREE")); }

// Deterministic pseudo-random numbers (xorshift), so every run builds the same tree.
uint64_t nextRandom(uint64_t& s) {
    s ^= s << 13;
    s ^= s >> 7;
    s ^= s << 17;
    return s;
}

bool makeFile(const QByteArray& path, uint64_t size, std::time_t stamp) {
    const int fd = ::open(path.constData(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
    if (fd < 0) return false;
    const bool ok = ::ftruncate(fd, static_cast<off_t>(size)) == 0; // sparse: apparent size only
    ::close(fd);
    const struct timespec times[2] = {{stamp, 0}, {stamp, 0}};
    return ok && ::utimensat(AT_FDCWD, path.constData(), times, 0) == 0;
}

// Folders of 25 files and up to 6 sub-folders, filled breadth first until `files` files exist.
int buildTree(const QString& root, long files) {
    if (::mkdir(QFile::encodeName(root).constData(), 0755) != 0 && errno != EEXIST) return 1;
    std::vector<QString> queue{root};
    uint64_t seed = 0x9E3779B97F4A7C15ULL;
    long made = 0;
    for (std::size_t q = 0; q < queue.size() && made < files; ++q) {
        const QString folder = queue[q];
        for (int i = 0; i < 25 && made < files; ++i, ++made) {
            const uint64_t r = nextRandom(seed);
            QString name;
            switch (r % 4) {
            case 0: name = QStringLiteral("写真_%1.jpg").arg(made); break;
            case 1: name = QStringLiteral("データ%1.bin").arg(made); break;
            case 2: name = QStringLiteral("File_%1.TXT").arg(made); break;
            default: name = QStringLiteral("notes-%1.md").arg(made); break;
            }
            const uint64_t size = (r >> 8) % (r % 7 == 0 ? 50'000'000 : 200'000);
            const std::time_t stamp = 1'000'000'000 + static_cast<std::time_t>((r >> 20) % 700'000'000);
            if (!makeFile(QFile::encodeName(folder + u'/' + name), size, stamp)) return 1;
        }
        for (int i = 0; i < 6 && queue.size() * 25 < static_cast<std::size_t>(files) + 25; ++i) {
            const QString sub = folder + (i % 2 ? QStringLiteral("/銀河%1").arg(queue.size()) : QStringLiteral("/dir%1").arg(queue.size()));
            if (::mkdir(QFile::encodeName(sub).constData(), 0755) != 0 && errno != EEXIST) return 1;
            queue.push_back(sub);
        }
    }
    std::printf("%ld files in %zu folders under %s\n", made, queue.size(), root.toLocal8Bit().constData());
    return 0;
}

void scanInto(UniverseModel& model) {
    model.tree().searchDepth = 999;
    model.tree().pathBuffer = treeFolder();
    if (model.openPath() != 1) std::abort();
}

void BM_Scan(benchmark::State& state) {
    int64_t nodes = 0;
    for (auto _ : state) {
        UniverseModel model(QStringLiteral("/"), QStringLiteral("/"));
        scanInto(model);
        nodes = static_cast<int64_t>(model.tree().nodeCount());
    }
    state.counters["nodes"] = static_cast<double>(nodes);
    state.counters["nodes_per_s"] = benchmark::Counter(static_cast<double>(nodes), benchmark::Counter::kIsIterationInvariantRate);
}

QString nebuFile() { return QString::fromLocal8Bit(qgetenv("TMPDIR").isEmpty() ? "/tmp" : qgetenv("TMPDIR")) + "/universe_bench.nebu"; }

void BM_WriteNebu(benchmark::State& state) {
    UniverseModel model(QStringLiteral("/"), QStringLiteral("/"));
    scanInto(model);
    for (auto _ : state)
        if (!writeConstellation(model.tree(), nebuFile())) std::abort();
    state.counters["nodes"] = static_cast<double>(model.tree().nodeCount());
}

void BM_ReadNebu(benchmark::State& state) {
    {
        UniverseModel model(QStringLiteral("/"), QStringLiteral("/"));
        scanInto(model);
        if (!writeConstellation(model.tree(), nebuFile())) std::abort();
    }
    int64_t nodes = 0;
    for (auto _ : state) {
        treeInfo tree(QStringLiteral("/"), QStringLiteral("/"));
        if (!readConstellation(tree, nebuFile(), nullptr)) std::abort();
        nodes = static_cast<int64_t>(tree.nodeCount());
    }
    state.counters["nodes"] = static_cast<double>(nodes);
}

// Heap bytes that the scanned tree keeps, per node (names included).
void BM_MemoryPerNode(benchmark::State& state) {
    double perNode = 0;
    for (auto _ : state) {
        const struct mallinfo2 before = mallinfo2();
        auto model = std::make_unique<UniverseModel>(QStringLiteral("/"), QStringLiteral("/"));
        scanInto(*model);
        const struct mallinfo2 after = mallinfo2();
        const double used = static_cast<double>(after.uordblks + after.hblkhd) - static_cast<double>(before.uordblks + before.hblkhd);
        perNode = used / static_cast<double>(model->tree().nodeCount());
    }
    state.counters["bytes_per_node"] = perNode;
}

BENCHMARK(BM_Scan)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_WriteNebu)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_ReadNebu)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_MemoryPerNode)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv) {
    if (argc >= 3 && std::strcmp(argv[1], "--build-tree") == 0) {
        const long files = argc >= 5 && std::strcmp(argv[3], "--files") == 0 ? std::atol(argv[4]) : 100'000;
        return buildTree(QString::fromLocal8Bit(argv[2]), files);
    }
    if (treeFolder().isEmpty()) {
        std::fprintf(stderr, "set UNIVERSE_BENCH_TREE to a tree made with --build-tree\n");
        return 2;
    }
    RecordingCheckSink sink; // a benchmark never waits for a message
    ScopedCheckSink installed(&sink);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
