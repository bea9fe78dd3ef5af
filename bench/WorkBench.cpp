// The run loop's cost: the million-pass loop of the script benchmark run as a work through the
// headless runner (load, one program tick for the whole loop, the end of the run), and a bundled
// sample work run to its end on the virtual clock (its frames drawn). The same loop through the
// bare step executor comes first as the reference: the runner's figure is read as a ratio to it.
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
