// Feeds arbitrary bytes through the program loader and compiler as a program file, then runs the
// program for a bounded number of ticks with a silent engine and host. Every field of a command
// that the compiled expressions take must value as the evaluator values it.
#include "common/ShowCheck.h"
#include "common/TextCodec.h"
#include "script/CompiledExpression.h"
#include "script/ScriptFault.h"
#include "script/AnimationHook.h"
#include "script/KeywordTables.h"
#include "script/StepExecutor.h"
#include "script/StepHost.h"
#include "script/kestoBasInfo.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace {

class QuietSink : public CheckSink {
public:
    int show(const QString&, const QString&, int) override { return 0; }
};

// Reads blocks the way the engine does, handing `Data` lines to the interpreter.
class BlockReader : public AnimationHook {
public:
    void resetAnimation(kestoBasInfo&) override {}
    void clearPendingCamera() override {}
    int runAnimeSet(kestoBasInfo& k, progInfo* first) override {
        QString command;
        while (k.readStatement(command, first) == 0) {
            if (command.size() > 1 && command[0] == code::setting(Setting::Data) && k.readData(command.mid(2), first) != 0) return -1;
        }
        return 0;
    }
    void rebuildNameIndex(kestoBasInfo&) override {}
    bool setUserValue(QStringView, int, int, double) override { return true; }
    bool userValue(QStringView, int, int, double*) const override { return false; }
};

class Host : public StepHost {
public:
    int runTimingCommand(kestoBasInfo&, const QString&, bool) override { return 0; }
    int runCommand(kestoBasInfo&, const QString& command) override { return command.size() > 40 ? 1 : 0; }
    void showLine(const QString&) override {}
    void paintFrame() override {}

    // Values each field between separators both ways and stops the fuzzer at a difference; the
    // statement then takes the general path.
    Compiled runCompiledCommand(kestoBasInfo& k, progInfo& s) override {
        const QStringView code = s.code;
        qsizetype from = 0;
        for (qsizetype i = 0; i <= code.size(); ++i) {
            if (i < code.size() && !isSeparator(code[i].unicode())) continue;
            compare(k, code.mid(from, i - from));
            from = i + 1;
        }
        return Compiled::Declined;
    }

private:
    static bool isSeparator(char16_t c) { return c == u'=' || c == u',' || c == u'[' || c == u']' || c == u':'; }

    static std::optional<double> guarded(const auto& value) {
        try {
            return value();
        } catch (const ScriptFault&) {
            return std::nullopt;
        }
    }
    static bool sameBits(std::optional<double> a, std::optional<double> b) {
        if (!a || !b) return !a && !b;
        if (std::isnan(*a) || std::isnan(*b)) return std::isnan(*a) && std::isnan(*b);
        return std::memcmp(&*a, &*b, sizeof(double)) == 0;
    }
    static void compare(kestoBasInfo& k, QStringView field) {
        CompiledExpression e;
        if (!e.compile(field) || k.items.count() + e.operatorCount() + 2 >= k.items.capacity()) return;
        const auto compiled = guarded([&] {
            k.items.resetTemporaries();
            return e.value(k);
        });
        const auto evaluated = guarded([&] { return k.evalCopy(field); });
        if (!sameBits(compiled, evaluated)) std::abort();
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QuietSink sink;
    setCheckSink(&sink);
    const QStringList lines = splitLines(decodeText(QByteArray(reinterpret_cast<const char*>(data), int(size))));
    BlockReader engine;
    Host host;
    kestoBasInfo k;
    k.statementBudget = 2000; // bounds each tick and each block, so every input ends quickly
    k.setAnimationHook(&engine);
    k.setStepHost(&host);
    k.setMessageSink([](const QString&) {});
    k.prepareProgram(lines, QStringLiteral("/nonexistent-fuzz-folder/"));
    StepExecutor executor(k, host);
    executor.start();
    for (int tick = 0; tick < 100; ++tick) {
        executor.frameElapsed();
        const StepExecutor::Tick result = executor.tick();
        if (result != StepExecutor::Tick::Ran && result != StepExecutor::Tick::Waiting) break;
    }
    k.clearProgram();
    return 0;
}
