#include "FakeStepHost.h"
#include "ScriptFixture.h"
#include "script/StepExecutor.h"

#include <gtest/gtest.h>

namespace {

class ControlFlowTest : public ScriptFixture {
protected:
    ControlFlowTest() { k.setStepHost(&host); }

    // Runs the program to its end; the number of ticks that ran a line.
    int run(const QStringList& lines) {
        prepare(lines);
        StepExecutor executor(k, host);
        executor.start();
        int ticks = 0;
        while (executor.tick() == StepExecutor::Tick::Ran && ticks < 10000) ++ticks;
        return ticks;
    }

    FakeStepHost host;
};

TEST_F(ControlFlowTest, LoopForms) {
    struct Case {
        QStringList program;
        double s;
        double i;
    };
    const std::vector<Case> cases = {
        {{"for $i=1 to 3;$s=$s+$i;next"}, 6, 4},
        {{"for $i=3 to 1 step -1;$s=$s*10+$i;next"}, 321, 0},
        {{"for $i=1 to 3 step 0;$s=$s+1;next"}, 3, 4},
        {{"for $i=5 to 1;$s=1;next"}, 0, 5},
        {{"for $i=1 to 2 step 0.5;$s=$s+$i;next"}, 4.5, 2.5},
        {{"for $i=1 to 3", "$s=$s+$i", "next", "$s=$s*2"}, 12, 4},
        // the inner start and limit are evaluated at every pass of the outer loop
        {{"for $i=1 to 3;for $j=$i to 3;$s=$s+1;next;next"}, 6, 4},
        {{"$n=2;for $i=1 to $n*2;$n=1;$s=$s+1;next"}, 4, 5},
        {{"for $i=1 to 2", "for $j=1 to 2", "$s=$s+10*$i+$j", "next", "next"}, 66, 3},
    };
    for (const Case& c : cases) {
        run(c.program);
        EXPECT_EQ(variable("s"), c.s) << c.program.join('|').toStdString();
        EXPECT_EQ(variable("i"), c.i) << c.program.join('|').toStdString();
        EXPECT_TRUE(messages.isEmpty());
    }
}

TEST_F(ControlFlowTest, ConditionsWithNesting) {
    struct Case {
        double a;
        double b;
        double r;
    };
    const QStringList program = {
        "if $a<>1 then",
        "  if $b>=2 then",
        "    $r=1",
        "  else",
        "    $r=2",
        "  endif",
        "else",
        "  if $b<2 then;$r=3;endif",
        "  $r=$r+10",
        "endif",
        "$r=$r*100",
    };
    const Case cases[] = {{2, 2, 100}, {2, 1, 200}, {1, 1, 1300}, {1, 5, 1000}};
    for (const Case& c : cases) {
        QStringList lines = {QStringLiteral("$a=%1;$b=%2").arg(c.a).arg(c.b)};
        lines += program;
        run(lines);
        EXPECT_EQ(variable("r"), c.r) << c.a << "," << c.b;
    }
    struct Comparison {
        const char* op;
        bool less, equal, greater;
    };
    const Comparison comparisons[] = {{"<", true, false, false}, {"<=", true, true, false}, {"<>", true, false, true},
                                      {">", false, false, true}, {">=", false, true, true},  {"=", false, true, false}};
    for (const Comparison& c : comparisons) {
        const bool expected[] = {c.less, c.equal, c.greater};
        for (int left = 0; left < 3; ++left) {
            run({QStringLiteral("$t=0;$l=%1").arg(left), QStringLiteral("if $l%1 1 then;$t=1;endif").arg(c.op)});
            EXPECT_EQ(variable("t"), expected[left] ? 1 : 0) << c.op << left;
        }
    }
}

TEST_F(ControlFlowTest, MatchingErrorsAreReportedWithTheLine) {
    struct Case {
        QStringList program;
        QString message;
    };
    const std::vector<Case> cases = {
        {{"$a=1", "for $i=1 to 3", "$s=1"}, "対応する「next」がありません！(2 ) "},
        {{"for $i=1;next"}, "対応する「to」がありません！(1 ) "},
        {{"$a=1", "if $a=1", "$s=1", "endif"}, "対応する「then」がありません！(2 ) "},
        {{"if $a=0 then", "$s=1"}, "対応する「endif」がありません！(1 ) "},
        {{"for 1 to 3;next"}, {}},
        {{"if $a then;$s=1;endif"}, {}},
        {{"next"}, {}},
    };
    for (const Case& c : cases) {
        messages.clear();
        run(c.program);
        EXPECT_EQ(messages, c.message.isEmpty() ? QStringList() : QStringList({c.message}))
            << c.program.join('|').toStdString();
    }
    // The faulty statement is passed over and the program goes on.
    run({"for $i=1 to 3", "$s=$s+1"});
    EXPECT_EQ(variable("s"), 1);
}

TEST_F(ControlFlowTest, DeepNestingNeverExhaustsTheStack) {
    QStringList lines;
    for (int i = 0; i < 50000; ++i) lines << "for $i=1 to 2" << "if $i=1 then";
    prepare(lines);
    StepExecutor executor(k, host);
    executor.start();
    executor.tick(); // the first `for` looks for its `next` past 100000 statements
    executor.tick(); // the first `if` looks for its `endif`
    EXPECT_EQ(messages, QStringList({"対応する「next」がありません！(1 ) ", "対応する「endif」がありません！(2 ) "}));

    QString nested = "$x=";
    for (int i = 0; i < 30; ++i) nested += "abs(";
    nested += "-7" + QString(")").repeated(30);
    run({nested});
    EXPECT_EQ(variable("x"), 7);
    // Past the nesting limit the line is named and the run stops instead of reading 0.
    messages.clear();
    nested = "$x=" + QString("abs(").repeated(3000) + "-7" + QString(")").repeated(3000) + ";$y=1";
    run({nested});
    EXPECT_EQ(k.status, RunStatus::Fault);
    ASSERT_FALSE(messages.isEmpty());
    EXPECT_EQ(messages.front(), " 1 行 : 関数の入れ子は 64 段までです");
    EXPECT_EQ(variable("y"), 0);
}

TEST_F(ControlFlowTest, ReadStatementRunsControlAndReturnsCommands) {
    prepare({"$a=1;Canvas:1,2;if $a=2 then;Frame:1;else;for $i=1 to 2;Wait:$i;next;endif;'note;Color:$a,0,0,0"});
    progInfo* current = k.statements.first();
    QString command;
    QStringList read;
    while (k.readStatement(command, current) == 0) read.append(command);
    // A quoted statement after a ';' is text for the caller, not a comment.
    ASSERT_EQ(read.size(), 5);
    EXPECT_EQ(read[0].front(), QChar(code::setting(Setting::Canvas)));
    EXPECT_EQ(read[1].front(), QChar(code::setting(Setting::Wait)));
    EXPECT_EQ(read[2].front(), QChar(code::setting(Setting::Wait)));
    EXPECT_EQ(read[3], "note");
    EXPECT_EQ(read[4].front(), QChar(code::setting(Setting::Color)));
    EXPECT_EQ(variable("i"), 3);
    EXPECT_EQ(current, nullptr);
}

} // namespace
