#include "FakeStepHost.h"
#include "ScriptFixture.h"
#include "common/Random.h"
#include "common/ShowCheck.h"
#include "script/ItemTable.h"
#include "script/ScriptFault.h"
#include "script/StepExecutor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

class ExpressionTest : public ScriptFixture {
protected:
    ExpressionTest() : installed(&sink) { k.setStepHost(&host); }

    // Runs the program to its end (every line one tick); the result of the last tick.
    StepExecutor::Tick run(const QStringList& lines) {
        prepare(lines);
        StepExecutor executor(k, host);
        executor.start();
        StepExecutor::Tick result = StepExecutor::Tick::Ended;
        for (int i = 0; i < 1000; ++i) {
            result = executor.tick();
            if (result != StepExecutor::Tick::Ran) break;
        }
        return result;
    }

    RecordingCheckSink sink;
    ScopedCheckSink installed;
    FakeStepHost host;
};

TEST_F(ExpressionTest, ArithmeticPrecedenceAndFunctions) {
    k.valueSlots[2] = 5;
    struct Case {
        QString program;
        double x;
    };
    const Case cases[] = {
        {"$x=1+2*3", 7},
        {"$x=(1+2)*3", 9},
        {"$x=10-4-3", 3},
        {"$x=8/2/2", 2},
        {"$x=2^3^2", 64},   // '^' associates to the left
        {"$x=2+3^2", 11},
        {"$x=100%7*2", 4},
        {"$x=7%3", 1},
        {"$x=-7%3", -1},
        {"$x=7.9%3.9", 1},
        {"$y=2;$x=-$y+1", -3},  // the minus after '=' negates the whole right side
        {"$x=-1.5", -1.5},
        {"$x=1.5.2*2", 3},
        {"$x=((2))", 2},
        {"$x=(1+(2*(3+1)))*2", 18},
        {"$x=(1+2)*(3+4)", 21},
        {"$x=((1)+(2))*((3)+(4))", 21},
        {"$x=2*(3+(4*(5+6)))-abs(-(7))", 94},
        {"$x=(1+2", 3},        // a '(' never closed only goes away
        {"$x=((1+2)*3", 9},
        {"$x=abs((1+2)*(0-3))", 9},
        {"$x=abs(-2.7)", 2},
        {"$x=int(-2.7)", -2},
        {"$x=abs(int(-3.5)*2)", 6},
        {"$x=sqr(16)+cos(60)", 4.5},
        {"$x=sqr(abs(-16)+abs(-9))", 5},
        {"$x=getval(2)+getval(17)+getval(-1)", 5},
        {"$x=abs()", 0},
        {"$X=3;$x=$x+1", 4},
        {"$x_1=2;$x1=3;$x=$x_1*$x1", 6},
        {"5=3;$x=5", 3},      // assigning to a constant changes it everywhere
        {"$x=2;$x=$x*$x*$x", 8},
    };
    for (const Case& c : cases) {
        run({c.program});
        EXPECT_DOUBLE_EQ(variable("x"), c.x) << c.program.toStdString();
        EXPECT_EQ(k.status, 0);
    }
    // Long lines of groups, deep and wide, reduce whole.
    run({"$x=" + QString(3000, u'(') + "2" + QString(3000, u')') + "*" + QStringLiteral("(1)+").repeated(4999) + "(1)"});
    EXPECT_DOUBLE_EQ(variable("x"), 2 * 1 + 4999);
    run({"$x=sin(30)", "$y=tan(45)"});
    EXPECT_NEAR(variable("x"), 0.5, 1e-12);
    EXPECT_NEAR(variable("y"), 1.0, 1e-12);
    EXPECT_TRUE(host.commands.isEmpty()) << host.commands.join('|').toStdString();
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(ExpressionTest, LiteralsAreSharedConstantsAndVariablesIgnoreCase) {
    prepare({"$a=5;$B=5", "$b=$A+5"});
    EXPECT_EQ(k.items.count(), 3); // a, 5, b
    EXPECT_EQ(k.items.item(1).useCount, 3);
    EXPECT_EQ(k.items.item(2).name, "b");
}

TEST_F(ExpressionTest, IeeeResultsAndSaturatingConversions) {
    struct Case {
        QString program;
        double x;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {"$x=1/0", inf},
        {"$x=-1/0", -inf},
        {"$x=abs(1/0)", 2147483647.0},
        {"$x=abs(-1/0)", 2147483648.0},
        {"$x=int(1/0)", 9223372036854775807.0},
        {"$x=abs(sqr(-1))", 0},
        {"$x=int(sqr(-1))", 0},
        {"$x=getval(1/0)+getval(sqr(-1))", 0},
        {"$x=10%(1/0)", 10},  // the divisor saturates, it never becomes zero
        {"$x=(0-2147483647-1)%(0-1)", 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run({c.program}), StepExecutor::Tick::Ended) << c.program.toStdString();
        EXPECT_DOUBLE_EQ(variable("x"), c.x) << c.program.toStdString();
    }
    run({"$x=sqr(-1)"});
    EXPECT_TRUE(std::isnan(variable("x")));
}

TEST_F(ExpressionTest, RemainderByZeroEndsTheRunWithTheFaultMessage) {
    EXPECT_EQ(run({"$a=1", "$b=5%0", "$c=1"}), StepExecutor::Tick::Faulted);
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, QStringLiteral("ヴィモラの実行を中断します。( 2 行 )"));
    EXPECT_EQ(sink.records[0].caption, QStringLiteral("ヴィモラアートの実行エラー！"));
    EXPECT_EQ(k.status, 1);
    EXPECT_EQ(variable("c"), 0);
    k.status = 0; // as a renewal of the work does
    EXPECT_EQ(run({"$b=5%0.5"}), StepExecutor::Tick::Faulted);
}

TEST_F(ExpressionTest, RandomRunsFromZeroToItsArgument) {
    vimoraSeed(7);
    prepare({"$x=rand(10)"});
    double low = 10, high = 0;
    for (int i = 0; i < 300; ++i) {
        StepExecutor executor(k, host);
        executor.start();
        executor.tick();
        low = std::min(low, variable("x"));
        high = std::max(high, variable("x"));
    }
    EXPECT_GE(low, 0);
    EXPECT_LE(high, 10);
    EXPECT_LT(low, 1);
    EXPECT_GT(high, 9);
}

TEST_F(ExpressionTest, ReadTakesDataValuesAndStopsTheStatementOutOfRange) {
    struct Case {
        QString program;
        double a;
        QString message;
    };
    const Case cases[] = {
        {"$a=abs(read(1))", 20, {}},
        {"$a=read(0)+read(2)", 40, {}},
        {"$a=9;$a=read(3)", 9, "1 行［read］の配列番号が範囲外です！(3／3) "},
        {"$a=9;$a=1+read(-1)", 9, "1 行［read］の配列番号が範囲外です！(-1／3) "},
    };
    for (const Case& c : cases) {
        sink.records.clear();
        messages.clear();
        host.commands.clear();
        k.status = 0;
        prepare({c.program});
        k.dataValues = {10, 20, 30};
        StepExecutor executor(k, host);
        executor.start();
        executor.tick();
        EXPECT_EQ(variable("a"), c.a) << c.program.toStdString();
        EXPECT_TRUE(host.commands.isEmpty());
        if (c.message.isEmpty()) {
            EXPECT_EQ(k.status, 0);
            continue;
        }
        EXPECT_EQ(k.status, 3);
        EXPECT_EQ(messages, QStringList({c.message}));
        ASSERT_EQ(sink.records.size(), 1u);
        EXPECT_EQ(sink.records[0].text, c.message);
        EXPECT_EQ(sink.records[0].caption, QStringLiteral("［read］範囲エラー！"));
        EXPECT_EQ(executor.tick(), StepExecutor::Tick::StatusStopped);
        EXPECT_EQ(messages.back(), "err2");
    }
}

// The step executor runs the short assignments straight from the compiled text; each statement
// evaluated on a copy is the reference, bit for bit (zero signs and NaN included).
TEST_F(ExpressionTest, ShortAssignmentsMatchTheGeneralEvaluation) {
    struct Outcome {
        std::vector<uint64_t> bits;
        int status = 0;
        bool faulted = false;
        QStringList reads; // the read range messages
    };
    const auto outcome = [this](bool faulted) {
        Outcome o;
        for (int i = 0; i < k.items.count(); ++i) {
            const double v = k.items.item(i).value;
            uint64_t b;
            std::memcpy(&b, &v, sizeof b);
            o.bits.push_back(b);
        }
        o.status = k.status;
        o.faulted = faulted;
        for (const QString& m : std::as_const(messages))
            if (m.contains(QStringLiteral("read"))) o.reads << m;
        return o;
    };
    const auto reset = [this](const QString& program) {
        messages.clear();
        k.status = 0;
        prepare({program});
        k.dataValues = {10, -0.0, 30};
        k.valueSlots[4] = 44;
        vimoraSeed(7);
    };
    const QString programs[] = {
        "$b=7;$c=3;$a=$b%$c;$d=$b^$c;$e=$b/$c;$f=$b-$c;$g=$b*$c;$h=$b+$c",
        "$b=-7.5;$c=2;$a=$b%$c;$d=$c^$b;$e=$c/$b;$f=$c-$b",
        "$z=0;$n=-$z;$a=$n*1;$b=$n+$n",  // -0 turns into the literal 0's +0
        "$n=-$m;$a=$n*1;$b=$n-$m",        // no zero literal: -0 stays
        "$z=0;$n=$z/$z;$a=$n+1;$b=abs($n);$c=1/$z;$d=$c-$c",
        "$b=2;5=$b+1;$a=5;$c=$b+3",      // a constant as the target, found by its new value after
        "$b=30;$a=sin($b);$c=abs($b-100);$d=int($b/7);$e=sqr($b*$b);$f=cos($b+$b);$g=tan($b)",
        "$i=5;$a=read($i%3);$n=read($i-4);$b=read($i)",  // the last is out of range
        "$i=2;$a=getval($i+2);$b=getval($i);$c=rand($i+9);$d=rand($i)",
        "$b=4;$c=0;$a=$b%$c",                            // remainder by zero
        "$b=1;$a=abs($b^$c)+1;$d=sin($b)*2;$e=abs(-$b)", // longer texts take the general path
    };
    for (const QString& program : programs) {
        reset(program);
        const Outcome fast = outcome(run({program}) == StepExecutor::Tick::Faulted);

        reset(program);
        bool faulted = false;
        for (progInfo* s : statementList()) {
            if (k.status != 0) break;
            k.currentLine = s;
            QString copy = s->code;
            try {
                k.evaluate(copy);
            } catch (const ScriptFault&) {
                faulted = true;
                k.status = RunStatus::Fault; // as the executor's tick marks a fault
                break;
            }
        }
        const Outcome reference = outcome(faulted);
        EXPECT_EQ(fast.bits, reference.bits) << program.toStdString();
        EXPECT_EQ(fast.status, reference.status) << program.toStdString();
        EXPECT_EQ(fast.faulted, reference.faulted) << program.toStdString();
        EXPECT_EQ(fast.reads, reference.reads) << program.toStdString();
    }
}

TEST_F(ExpressionTest, MalformedAssignmentsEndAsCommands) {
    for (const QString& program : {QStringLiteral("$a==1"), QStringLiteral("$a=<1"), QStringLiteral("2*-3=$a")}) {
        host.commands.clear();
        EXPECT_EQ(run({program}), StepExecutor::Tick::CommandFailed) << program.toStdString();
        EXPECT_EQ(host.commands.size(), 1);
    }
    QString text = QStringLiteral("#") + QChar(0x100) + "=#" + QChar(0x101) + "=-#" + QChar(0x102);
    prepare({"$a=1;$b=2;$c=3"});
    EXPECT_EQ(k.assign(text), 1); // "#a=#b=-#c" makes one assignment, then the rest has no target
}

TEST_F(ExpressionTest, EvalValueOfParametersAndMissingText) {
    run({"$a=4"});
    QString text = QStringLiteral("#") + QChar(k.items.findOrAdd(u"a", 0)) + "*#" + QChar(k.items.findOrAdd({}, 4));
    EXPECT_EQ(k.evalValue(&text), 16);
    EXPECT_EQ(text.size(), 2);
    EXPECT_EQ(k.evalValue(nullptr), 0);
    EXPECT_EQ(k.status, -1);
}

TEST(ItemTable, HandlesOutsideTheTableReadZeroAndTheTableEndsBeforeTheLastCode) {
    ItemTable table;
    const char16_t a = table.findOrAdd(u"a", 0);
    EXPECT_EQ(a, 0x100);
    table.setValue(a, 2);
    table.setValue(0x41, 9);    // below the handles
    table.setValue(0x2000, 9);  // past the table
    EXPECT_EQ(table.value(a), 2);
    EXPECT_EQ(table.value(0x41), 0);
    EXPECT_EQ(table.value(0x2000), 0);
    char16_t last = 0;
    for (int i = 1; i < ItemTable::kMaxItems; ++i) last = table.addTemporary(i + 0.5);
    EXPECT_EQ(last, 0xFFFF);
    EXPECT_THROW(table.addTemporary(-1), ScriptFault);
    table.resetTemporaries();
    EXPECT_EQ(table.value(0x101), 0); // temporaries are gone with their evaluation
    EXPECT_EQ(table.addTemporary(2.5), 0x101);
}

// The table finds names and constants by lookup; each case states what a scan from the first
// item finds, which the lookup must keep.
TEST(ItemTable, LookupsFindWhatAScanFromTheFirstItemFinds) {
    ItemTable table;
    const char16_t zero = table.findOrAdd({}, 0.0);
    const char16_t five = table.findOrAdd({}, 5);
    const char16_t three = table.findOrAdd({}, 3);
    const char16_t nan = table.findOrAdd({}, std::nan(""));
    const char16_t name = table.findOrAdd(u"Count", 0);
    struct Case {
        const char* what;
        char16_t found, expected;
    };
    const std::vector<Case> before{
        {"-0 is the constant 0", table.findOrAdd({}, -0.0), zero},
        {"a temporary -0 is the constant 0", table.addTemporary(-0.0), zero},
        {"names fold ASCII case", table.findOrAdd(u"cOUNT", 1), name},
        {"a name is never a constant", table.findOrAdd({}, 0.0), zero},
        {"the constant 5", table.addTemporary(5), five},
    };
    for (const Case& c : before) EXPECT_EQ(c.found, c.expected) << c.what;
    EXPECT_NE(table.findOrAdd({}, std::nan("")), nan) << "NaN equals nothing, not even NaN";
    table.resetTemporaries();

    table.setValue(five, 3); // as `5=3` does
    EXPECT_EQ(table.addTemporary(3), five) << "the earlier of two equal constants, found by its new value";
    EXPECT_GE(table.addTemporary(5), ItemTable::handleOf(table.count())) << "no constant holds 5 any more";
    table.setValue(five, 8);
    EXPECT_EQ(table.findOrAdd({}, 3), three) << "the later one is found once the earlier changes";
    table.setValue(nan, 7);
    EXPECT_EQ(table.addTemporary(7), nan) << "a NaN constant given a number is found by it";
    table.setValue(name, 9);
    EXPECT_GE(table.addTemporary(9), ItemTable::handleOf(table.count())) << "variables never stand for constants";
    table.clear();
    EXPECT_EQ(table.findOrAdd(u"count", 0), 0x100) << "clear forgets the lookups";
}

TEST_F(ExpressionTest, UserValuesGoThroughTheEngineOnlyInsideTheirRange) {
    animation.knownNames = {"ball"};
    EXPECT_TRUE(k.writeUserValue(u"ball", 0, 31, 7));
    EXPECT_FALSE(k.writeUserValue(u"ball", 0, 32, 7));
    EXPECT_FALSE(k.writeUserValue(u"ball", 0, -1, 7));
    EXPECT_FALSE(k.writeUserValue(u"none", 0, 3, 7));
    EXPECT_EQ(animation.userValues.size(), 1u);
    double v = 0;
    EXPECT_TRUE(animation.userValue(u"ball", 0, 31, &v));
    EXPECT_EQ(v, 7);
}

} // namespace
