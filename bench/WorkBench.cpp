// The run loop's cost: the million-pass loop of the script benchmark run as a work through the
// headless runner (load, one program tick for the whole loop, the end of the run), and a bundled
// sample work run to its end on the virtual clock (its frames drawn). The same loop through the
// bare step executor comes first as the reference: the runner's figure is read as a ratio to it.
#include "MallocCount.h"
#include "common/Platform.h"
#include "script/StepExecutor.h"
#include "script/StepHost.h"
#include "script/kestoBasInfo.h"
#include "work/HeadlessRun.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

const char kMillionLoop[] = "for $i=1 to 1000000;$s=$s+$i;next";

class NoHost : public StepHost {
public:
    int runTimingCommand(kestoBasInfo&, const QString&, bool) override { return 0; }
    int runCommand(kestoBasInfo&, const QString&) override { return 0; }
    void showLine(const QString&) override {}
    void paintFrame() override {}
};

// Registered first, so that it runs before anything of the runner has touched the process.
void MillionLoopBareExecutor(benchmark::State& state) {
    kestoBasInfo k;
    NoHost host;
    k.prepareProgram({QString::fromLatin1(kMillionLoop)}, QString());
    StepExecutor executor(k, host);
    for (auto _ : state) {
        executor.start();
        while (executor.tick() == StepExecutor::Tick::Ran) {
        }
    }
    state.counters["statements_per_second"] = benchmark::Counter(2'000'001.0 * double(state.iterations()),
                                                                 benchmark::Counter::kIsRate);
}
BENCHMARK(MillionLoopBareExecutor)->Unit(benchmark::kMillisecond);

// Runs the program file to its end through the headless runner; false when it did not end well.
bool runWork(const QString& path, int* frames = nullptr) {
    RunOptions options;
    options.program = path;
    HeadlessRun run(options);
    if (!run.load()) return false;
    run.run();
    if (frames) *frames = run.runner().framesDrawn();
    return run.exitStatus() == 0;
}

void MillionLoopThroughTheRunner(benchmark::State& state) {
    QTemporaryDir folder;
    const QString path = folder.path() + QStringLiteral("/loop.acmd");
    writeFileAtomic(path, "ANIME_SET:\r\nDotPtn:dot,1,1,0,0,0,0,0,1,1\r\n1\r\nSET_END:\r\n"
                          + QByteArray(kMillionLoop) + "\r\n");
    for (auto _ : state)
        if (!runWork(path)) state.SkipWithError("the loop did not run to its end");
    // for + a million passes of the body and of `next`, as in the script benchmark
    state.counters["statements_per_second"] = benchmark::Counter(2'000'001.0 * double(state.iterations()),
                                                                 benchmark::Counter::kIsRate);
}
BENCHMARK(MillionLoopThroughTheRunner)->Unit(benchmark::kMillisecond);

// A statement of the loop body run as a work: the character command and the data read, each
// against the loop with a plain assignment in its place. bench/script_vs_lua.sh sets them beside
// a Lua table write and read.
void LoopBodyThroughTheRunner(benchmark::State& state, const char* body) {
    QTemporaryDir folder;
    const QString path = folder.path() + QStringLiteral("/body.acmd");
    writeFileAtomic(path, "ANIME_SET:\r\nDotPtn:dot,1,1,0,0,0,0,0,1,1\r\n1\r\nData:32\r\n"
                          "1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19,20,21,22,23,24,25,26,27,28,29,30,31,32\r\n"
                          "SET_END:\r\nfor $i=1 to 1000000;" + QByteArray(body) + ";next\r\n");
    long allocations = 0;
    for (auto _ : state) {
        const long before = mallocCount.load();
        if (!runWork(path)) state.SkipWithError("the loop did not run to its end");
        allocations += mallocCount.load() - before;
    }
    state.counters["allocations_per_pass"] = double(allocations) / (1e6 * double(state.iterations()));
}
void AssignmentLoop(benchmark::State& state) { LoopBodyThroughTheRunner(state, "$v=$i%32"); }
void CharacterCommandLoop(benchmark::State& state) { LoopBodyThroughTheRunner(state, "dot:dim[$i%32]=$i"); }
void DataReadLoop(benchmark::State& state) { LoopBodyThroughTheRunner(state, "$v=read($i%32)"); }
BENCHMARK(AssignmentLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(CharacterCommandLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(DataReadLoop)->Unit(benchmark::kMillisecond);

void SampleWork(benchmark::State& state) {
    const QString path = QStringLiteral(VIMORA_HOME_DIR "/hajime/hazumu.acmd");
    int frames = 0;
    for (auto _ : state)
        if (!runWork(path, &frames)) state.SkipWithError("the sample did not run to its end");
    state.counters["frames_per_second"] =
        benchmark::Counter(double(frames) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(SampleWork)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
