// Feeds arbitrary bytes through the program loader and compiler as a program file, then runs the
// program for a bounded number of ticks with a silent engine and host.
#include "common/ShowCheck.h"
#include "common/TextCodec.h"
#include "script/AnimationHook.h"
#include "script/KeywordTables.h"
#include "script/StepExecutor.h"
#include "script/StepHost.h"
#include "script/kestoBasInfo.h"

#include <cstddef>
#include <cstdint>

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
