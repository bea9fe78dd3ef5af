#include "FakeStepHost.h"
#include "ScriptFixture.h"
#include "common/ShowCheck.h"
#include "script/StepExecutor.h"

#include <gtest/gtest.h>

namespace {

class StepExecutorTest : public ScriptFixture {
protected:
    StepExecutorTest() : installed(&sink), executor(k, host) { k.setStepHost(&host); }

    // Values of a, b, c, d as "a b c d".
    QString values() {
        return QStringLiteral("%1 %2 %3 %4").arg(variable("a")).arg(variable("b")).arg(variable("c")).arg(variable("d"));
    }

    RecordingCheckSink sink;
    ScopedCheckSink installed;
    FakeStepHost host;
    StepExecutor executor;
};

TEST_F(StepExecutorTest, OneSourceLinePerTick) {
    struct Case {
        QStringList program;
        QStringList afterTicks; // values after the first, second, third tick
    };
    const std::vector<Case> cases = {
        {{"$a=1", "$b=2", "$c=3"}, {"1 0 0 0", "1 2 0 0", "1 2 3 0"}},
        {{"$a=1;$b=2;$c=3", "$d=4"}, {"1 2 3 0", "1 2 3 4", "1 2 3 4"}},
        // Control statements cost no time, and a line is checked against the step of the statement
        // the tick began with: from the `next` on, body and `next` share a tick, and the line
        // after a finished loop rides along.
        {{"for $i=1 to 2", "$a=$a+1", "next", "$b=1"}, {"1 0 0 0", "2 1 0 0", "2 1 0 0"}},
        {{"for $i=1 to 3", "$a=$a+1", "next", "$b=1", "$c=1"}, {"1 0 0 0", "3 1 0 0", "3 1 1 0"}},
        {{"if $a=0 then", "endif", "'comment", ":label", "$a=5", "$b=1"}, {"5 0 0 0", "5 1 0 0", "5 1 0 0"}},
        {{"for $i=1 to 100;$a=$a+$i;next", "$b=1", "$c=1"}, {"5050 1 0 0", "5050 1 1 0", "5050 1 1 0"}},
        // a non-stop block runs whole in one tick; without its end it does not start
        {{"NONSTOP_SET:", "$a=1", "$b=2", "NONSTOP_END:", "$c=3"}, {"1 2 0 0", "1 2 3 0", "1 2 3 0"}},
        {{"NONSTOP_SET:", "$a=1", "$b=2"}, {"1 0 0 0", "1 2 0 0", "1 2 0 0"}},
    };
    for (const Case& c : cases) {
        prepare(c.program);
        executor.start();
        for (int tick = 0; tick < 3; ++tick) {
            executor.tick();
            EXPECT_EQ(values(), c.afterTicks[tick]) << c.program.join('|').toStdString() << " tick " << tick + 1;
        }
        EXPECT_EQ(executor.tick(), StepExecutor::Tick::Ended);
    }
}

TEST_F(StepExecutorTest, WaitHoldsTheNextLineForItsFrames) {
    prepare({"$a=1;Wait:2", "$b=1", "Wait:0", "Wait:20000", "$c=1"});
    executor.start();
    EXPECT_EQ(executor.tick(), StepExecutor::Tick::Ran);
    EXPECT_EQ(executor.wait(), 2);
    EXPECT_EQ(executor.tick(), StepExecutor::Tick::Waiting);
    executor.frameElapsed();
    EXPECT_EQ(executor.tick(), StepExecutor::Tick::Waiting);
    executor.frameElapsed();
    EXPECT_EQ(executor.tick(), StepExecutor::Tick::Ran);
    EXPECT_EQ(values(), "1 1 0 0");
    EXPECT_EQ(executor.tick(), StepExecutor::Tick::Ran); // Wait:0 and Wait:20000 are no waits
    EXPECT_EQ(executor.tick(), StepExecutor::Tick::Ran);
    EXPECT_EQ(executor.wait(), 0);
    EXPECT_TRUE(host.timing.isEmpty());
}

TEST_F(StepExecutorTest, CommandsGoToTheHostAndAFailureStopsTheRun) {
    k.declareName(u":ball");
    prepare({"Canvas:100,200", "ball:X=$a+1", "AcmdTime:10", "nobody:X=1", "$d=1"});
    executor.start();
    EXPECT_EQ(executor.tick(), StepExecutor::Tick::Ran);
    EXPECT_EQ(executor.displayText(), "0001/0005: Canvas:100,200");
    EXPECT_EQ(host.lines, QStringList({"Canvas:100,200"}));
    EXPECT_EQ(executor.tick(), StepExecutor::Tick::Ran);
    EXPECT_EQ(executor.tick(), StepExecutor::Tick::Ran);
    EXPECT_EQ(host.commands.size(), 3);
    EXPECT_EQ(host.timing.size(), 3);
    EXPECT_TRUE(host.lastDisplay);
    EXPECT_EQ(executor.tick(), StepExecutor::Tick::CommandFailed);
    EXPECT_FALSE(executor.running());
    const QString failure = QStringLiteral(" 4 行 1( nobody:X=1 )");
    EXPECT_EQ(messages.back(), failure);
    ASSERT_FALSE(sink.records.empty());
    EXPECT_EQ(sink.records.back().text, failure);
    EXPECT_EQ(sink.records.back().caption, QStringLiteral("「acmd」エラーです!"));
    EXPECT_EQ(executor.tick(), StepExecutor::Tick::Ended);
    EXPECT_EQ(variable("d"), 0);

    executor.start();
    executor.setLineDisplay(false);
    host.lines.clear();
    executor.tick();
    EXPECT_EQ(host.lines, QStringList({" ---"}));
}

TEST_F(StepExecutorTest, OnlyCommandsShorterThanFourCodeUnitsArePassedOver) {
    struct Case {
        const char* line;
        qsizetype codeSize;
        bool handedOver;
    };
    const std::vector<Case> cases = {
        {"Wzoom:2", 4, true},
        {"Wzoom:1,2", 7, true},
        {"Wzoom:,", 3, false},
        {"Wzoom:", 2, false},
        {"Wzoom", 1, false},
    };
    for (const Case& c : cases) {
        prepare({c.line});
        ASSERT_EQ(statementList()[0]->code.size(), c.codeSize) << c.line;
        host.commands.clear();
        executor.start();
        EXPECT_EQ(executor.tick(), StepExecutor::Tick::Ran) << c.line;
        EXPECT_EQ(host.commands.size(), c.handedOver ? 1 : 0) << c.line;
    }
}

TEST_F(StepExecutorTest, AnimationBlocksMetWhileRunning) {
    prepare({"ANIME_SET:", "Canvas:1,1", "SET_END:", "$a=1", "ANIME_ADD:", "Frame:2", "ADD_END:", "$b=1",
             "ANIME_SET:", "Frame:3", "SET_END:", "$c=1"});
    ASSERT_EQ(animation.runs, 1);
    executor.start();
    executor.tick(); // the first block was built at load time: passed over
    EXPECT_EQ(animation.runs, 1);
    executor.tick();
    EXPECT_EQ(values(), "1 0 0 0");
    executor.tick(); // Anime_Add: its characters are added
    EXPECT_EQ(animation.runs, 2);
    EXPECT_EQ(animation.resets, 1);
    EXPECT_EQ(host.frames, 1);
    executor.tick();
    executor.tick();
    EXPECT_EQ(animation.runs, 2);
    executor.tick();
    EXPECT_EQ(values(), "1 1 1 0");
    EXPECT_EQ(animation.commands.size(), 2);
}

TEST_F(StepExecutorTest, AcmdRunBlockInsideAnAnimationBlockRunsWhileTheBlockIsRead) {
    k.declareName(u":ball");
    prepare({"ANIME_SET:", "Canvas:1,1", "ACMD_RUN:", ":skipped", "$a=2;for $i=1 to 3", "$b=$b+$i", "next",
             "ball:X=$b", "ACMD_END:", "Frame:1", "SET_END:"});
    EXPECT_EQ(values(), "2 6 0 0");
    EXPECT_EQ(animation.indexRebuilds, 1);
    ASSERT_EQ(host.commands.size(), 1); // the block's command ran at once, without display
    EXPECT_FALSE(host.lastDisplay);
    EXPECT_EQ(animation.commands.size(), 2); // Canvas and Frame went to the block reader
    EXPECT_TRUE(host.lines.isEmpty());
}

TEST_F(StepExecutorTest, CurrentLineOutlivesTheCopyOfAnAcmdRunBlock) {
    prepare({"ANIME_SET:", "ACMD_RUN:", "$a=1;$a=read(5)", "ACMD_END:", "Canvas:1,1", "SET_END:"});
    EXPECT_EQ(k.status, 3);
    ASSERT_NE(k.currentLine, nullptr);
    EXPECT_EQ(k.currentLine, statementList()[3]); // the original statement, not the freed copy
    EXPECT_EQ(k.currentLineNumber(), 3);
}

TEST_F(StepExecutorTest, EndlessLoopsYieldTheTickOrFaultInsideABlock) {
    k.statementBudget = 1000;
    prepare({"for $i=1 to 2;$i=1;$a=$a+1;next", "$b=1"});
    executor.start();
    EXPECT_EQ(executor.tick(), StepExecutor::Tick::Ran);
    EXPECT_TRUE(executor.budgetExhausted());
    const double after = variable("a");
    EXPECT_GT(after, 100);
    EXPECT_EQ(executor.tick(), StepExecutor::Tick::Ran);
    EXPECT_GT(variable("a"), after); // the same line goes on
    EXPECT_EQ(variable("b"), 0);

    prepare({"ANIME_SET:", "ACMD_RUN:", "for $i=1 to 2;$i=1;next", "ACMD_END:", "Canvas:1,1", "SET_END:", "$b=1"});
    EXPECT_EQ(k.status, 1);
    ASSERT_FALSE(sink.records.empty());
    EXPECT_EQ(sink.records.back().text, QStringLiteral("ヴィモラの実行を中断します。( 3 行 )"));
    EXPECT_EQ(statementList().back()->lineNumber, 5); // the rest stays cut off
    executor.start();
    EXPECT_EQ(executor.tick(), StepExecutor::Tick::StatusStopped);
    EXPECT_EQ(messages.back(), "err2");

    // The same loop read directly by the block reader.
    k.status = 0;
    prepare({"ANIME_SET:", "for $i=1 to 2;$i=1;next", "Canvas:1,1", "SET_END:", "$b=1"});
    EXPECT_EQ(k.status, 1);
    EXPECT_EQ(sink.records.back().text, QStringLiteral("ヴィモラの実行を中断します。( 2 行 )"));
    EXPECT_EQ(statementList().back()->lineNumber, 3);

    // A loop that hands a command to the block reader on every pass: one budget for the whole block.
    k.status = 0;
    prepare({"ANIME_SET:", "for $i=1 to 2", "Canvas:1,1", "$i=1", "next", "SET_END:", "$b=1"});
    EXPECT_EQ(k.status, 1);
    EXPECT_LT(animation.commands.size(), 1000);
}

} // namespace
