// The script interpreter's speed: a one-line loop of a million passes through the real step
// executor (bench/script_vs_lua.sh sets it beside the same loop in Lua 5.4), compiling, and
// evaluating expressions with functions and groups. Also counts heap allocations per statement.
#include "common/ShowCheck.h"
#include "script/Evaluator.h"
#include "script/StepExecutor.h"
#include "script/StepHost.h"
#include "script/kestoBasInfo.h"

#include <benchmark/benchmark.h>


#include "MallocCount.h"

namespace {

class NoHost : public StepHost {
public:
    int runTimingCommand(kestoBasInfo&, const QString&, bool) override { return 0; }
    int runCommand(kestoBasInfo&, const QString&) override { return 0; }
    void showLine(const QString&) override {}
    void paintFrame() override {}
};

// Runs a program to its end through the step executor, calling `beforeRun` (when given) before
// each run; counts statements per second and allocations per statement.
void runProgram(benchmark::State& state, const QStringList& program, double statementsPerRun,
                void (*beforeRun)() = nullptr) {
    kestoBasInfo k;
    NoHost host;
    k.prepareProgram(program, QString());
    StepExecutor executor(k, host);
    long allocations = 0;
    for (auto _ : state) {
        if (beforeRun) beforeRun();
        executor.start();
        const long before = mallocCount.load();
        while (executor.tick() == StepExecutor::Tick::Ran) {
        }
        allocations += mallocCount.load() - before;
    }
    state.counters["statements_per_second"] =
        benchmark::Counter(statementsPerRun * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["allocations_per_statement"] = double(allocations) / (statementsPerRun * double(state.iterations()));
}

void MillionLoop(benchmark::State& state) {
    // for + a million passes of the body and of `next`
    runProgram(state, {"for $i=1 to 1000000;$s=$s+$i;next"}, 2'000'001.0);
}
BENCHMARK(MillionLoop)->Unit(benchmark::kMillisecond);

// The same loop after 1000 variables and 1000 constants were declared: the item table's size
// must not show in the loop (goal: within 1.1 of MillionLoop).
void MillionLoopInALargeProgram(benchmark::State& state) {
    QStringList program;
    for (int i = 0; i < 1000; ++i) program << QStringLiteral("$v%1=%1.25").arg(i);
    program << QStringLiteral("for $i=1 to 1000000;$s=$s+$i;next");
    runProgram(state, program, 2'000'001.0 + 1000);
}
BENCHMARK(MillionLoopInALargeProgram)->Unit(benchmark::kMillisecond);

#if defined(__x86_64__) && defined(__GNUC__)
// Leaves the upper halves of the vector registers in use, as library code (Qt's drawing) may
// between two ticks of a work window. Naked, so that the compiler adds no clearing of its own.
__attribute__((naked, noinline)) void dirtyUpperHalves() {
    asm("vpcmpeqd %ymm15, %ymm15, %ymm15\n\tret");
}

// The million-pass loop entered with the upper halves in use: should run as fast as MillionLoop.
void MillionLoopAfterWideVectors(benchmark::State& state) {
    if (!__builtin_cpu_supports("avx")) {
        state.SkipWithError("no AVX on this processor");
        return;
    }
    runProgram(state, {"for $i=1 to 1000000;$s=$s+$i;next"}, 2'000'001.0, dirtyUpperHalves);
}
BENCHMARK(MillionLoopAfterWideVectors)->Unit(benchmark::kMillisecond);
#endif

void ExpressionLoop(benchmark::State& state) {
    runProgram(state, {"for $i=1 to 100000;$x=(($i+2)*3-sin($i)/2)%7+abs(-$i)^2;next"}, 200'001.0);
}
BENCHMARK(ExpressionLoop)->Unit(benchmark::kMillisecond);

void ConditionLoop(benchmark::State& state) {
    runProgram(state, {"for $i=1 to 100000;if $i%2=0 then;$e=$e+1;else;$o=$o+1;endif;next"}, 100'000.0 * 4 + 1);
}
BENCHMARK(ConditionLoop)->Unit(benchmark::kMillisecond);

void CompileProgram(benchmark::State& state) {
    QStringList program;
    for (int i = 0; i < 1000; ++i)
        program << QStringLiteral("for $i%1=1 to 10 step 2;$s=$s+abs($i%1*%1)-(3.5/2);next").arg(i)
                << QStringLiteral("if $s>%1 then;$t=sin($s)+cos(%1);else;$t=0;endif").arg(i);
    kestoBasInfo k;
    for (auto _ : state) {
        k.prepareProgram(program, QString());
        benchmark::DoNotOptimize(k.statements.first());
    }
    state.counters["lines_per_second"] =
        benchmark::Counter(double(program.size()) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(CompileProgram)->Unit(benchmark::kMillisecond);

// Compiling grows with the program's lines and nothing else: lines_per_second stays level from
// 2 k to 32 k lines, each line with its own variable and constant.
void CompileLines(benchmark::State& state) {
    QStringList program;
    for (int64_t i = 0; i < state.range(0); ++i) program << QStringLiteral("$v%1=$v%1+%1.5").arg(i);
    kestoBasInfo k;
    for (auto _ : state) {
        k.prepareProgram(program, QString());
        benchmark::DoNotOptimize(k.statements.first());
    }
    state.counters["lines_per_second"] =
        benchmark::Counter(double(program.size()) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(CompileLines)->Arg(2000)->Arg(8000)->Arg(32000)->Unit(benchmark::kMillisecond);

// One long line of N terms: terms_per_second stays level from 1 k to 8 k terms for plain sums,
// groups and nested groups (measured 63/47, 39/36 and 126/146 M terms/s; 8 k groups took 18 s
// in the debug build before groups were reduced in one pass). Calls still move the text behind
// each call: 3.8 M terms/s at 1 k, 0.57 M at 8 k (14 ms for the line).
enum class Shape { Sum, Groups, Nested, Calls };
void LongLine(benchmark::State& state) {
    const int n = int(state.range(1));
    QString line = QStringLiteral("$x=");
    switch (Shape(state.range(0))) {
    case Shape::Sum: line += QStringLiteral("1+").repeated(n - 1) + u'1'; break;
    case Shape::Groups: line += QStringLiteral("(1)+").repeated(n - 1) + QStringLiteral("(1)"); break;
    case Shape::Nested: line += QString(n, u'(') + u'1' + QString(n, u')'); break;
    case Shape::Calls: line += QStringLiteral("abs(1)+").repeated(n - 1) + QStringLiteral("abs(1)"); break;
    }
    runProgram(state, {line}, 1.0);
    state.counters["terms_per_second"] = benchmark::Counter(double(n) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(LongLine)->ArgsProduct({{0, 1, 2, 3}, {1000, 8000}})->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
