// A compiled field must give what the evaluator gives the same field, down to the bits: the
// operator levels, left to right within a level, parentheses, zeros of either sign as the
// temporaries store them, NaN and infinities, and the fault of a remainder by zero.
#include "ScriptFixture.h"

#include "script/CompiledExpression.h"
#include "script/ScriptFault.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <optional>
#include <random>

namespace {

class CompiledExpressionTest : public ScriptFixture {
protected:
    CompiledExpressionTest() {
        prepare({"$x=1", "$y=0"}); // a program's items: variables and the constants 1 and 0
        for (const char16_t* name : {u"a", u"b", u"c", u"d", u"e", u"f"})
            handles.push_back(k.items.findOrAdd(QStringView(name), 0.0));
    }

    // The field written with letters a..f for the items, e.g. "(a+b)*c".
    QString field(QStringView letters) const {
        QString out;
        for (QChar c : letters) {
            if (c >= u'a' && c <= u'f') {
                out += u'#';
                out += QChar(handles[size_t(c.unicode() - u'a')]);
            } else {
                out += c;
            }
        }
        return out;
    }
    void set(const std::vector<double>& values) {
        for (size_t i = 0; i < values.size(); ++i) k.items.setValue(handles[i], values[i]);
    }

    // The value, or nothing when it faulted.
    std::optional<double> evaluated(const QString& text) {
        try {
            return k.evalCopy(text);
        } catch (const ScriptFault&) {
            return std::nullopt;
        }
    }
    std::optional<double> compiled(const CompiledExpression& e) {
        k.items.resetTemporaries();
        try {
            return e.value(k);
        } catch (const ScriptFault&) {
            return std::nullopt;
        }
    }
    static QString bits(std::optional<double> v) {
        if (!v) return QStringLiteral("fault");
        if (std::isnan(*v)) return QStringLiteral("nan");
        uint64_t b;
        std::memcpy(&b, &*v, sizeof b);
        return QString::number(b, 16);
    }
    void expectSame(const QString& letters) {
        const QString text = field(letters);
        CompiledExpression e;
        ASSERT_TRUE(e.compile(text)) << letters.toStdString();
        EXPECT_EQ(bits(compiled(e)), bits(evaluated(text))) << letters.toStdString();
    }

    std::vector<char16_t> handles;
};

TEST_F(CompiledExpressionTest, FieldsGiveTheEvaluatorsValue) {
    set({7, 6, -1, 0, 2.5, 3});
    for (const char* letters : {"a", "a+b*c", "a-b-c", "a/b/e", "a^e^c", "a%b*f", "f*a%b", "a*b%e+c", "(a+b)*c",
                                "a-(b-c)", "((a))", "(a)-(((b)))*(c+(d))", "a/d", "d/d", "c*d", "d*c+d", "d-d",
                                "c%f", "a^c", "b%d", "a+b%(d*c)", "e^a^b^c^e^f", "a/(c*d)", "a/(d*c-d)"})
        expectSame(QString::fromLatin1(letters));
}

// Random fields over values chosen to meet the edge cases: zeros of both signs, fractions that
// '%' truncates to 0, huge values that overflow.
TEST_F(CompiledExpressionTest, RandomFieldsGiveTheEvaluatorsValue) {
    std::mt19937 random(20261211);
    const double picks[] = {0.0, -0.0, 1, -1, 2, 0.5, -7.25, 3, 1e308, -1e308, 46341};
    const char ops[] = "^%*/+-";
    std::function<QString(int)> expression = [&](int depth) {
        QString out;
        const int terms = 1 + int(random() % 4);
        for (int t = 0; t < terms; ++t) {
            if (t > 0) out += QChar::fromLatin1(ops[random() % 6]);
            if (depth > 0 && random() % 3 == 0)
                out += u'(' + expression(depth - 1) + u')';
            else
                out += QChar::fromLatin1(char('a' + random() % 6));
        }
        return out;
    };
    for (int n = 0; n < 3000; ++n) {
        std::vector<double> values;
        for (int i = 0; i < 6; ++i) values.push_back(picks[random() % std::size(picks)]);
        set(values);
        expectSame(expression(3));
        if (HasFailure()) break; // one counter-example is enough to read
    }
}

TEST_F(CompiledExpressionTest, OtherFieldsAreLeftToTheEvaluator) {
    const QString abs = QChar(0xA0) + field(u"(a)"); // abs(a)
    for (const QString& text : {QString(), field(u"-a"), field(u"a+"), field(u"ab"), field(u"a+*b"), field(u"(a"),
                                field(u"a)"), field(u"()"), field(u"a+()"), abs, QStringLiteral("#1"),
                                QStringLiteral("#A"), field(u"\"a\""), field(u"a,b"), field(u"a b")}) {
        CompiledExpression e;
        EXPECT_FALSE(e.compile(text)) << text.toStdString();
    }
    // Nesting deeper than the bound is declined rather than overflowing the value stack.
    const qsizetype tooDeep = CompiledExpression::kMaxDepth + 1;
    CompiledExpression deep;
    EXPECT_FALSE(deep.compile(QString(tooDeep, u'(') + field(u"a") + QString(tooDeep, u')')));
    QString chain = field(u"a");
    for (int i = 0; i < CompiledExpression::kMaxDepth; ++i) chain = field(u"a^(") + chain + u')';
    EXPECT_FALSE(deep.compile(chain));
    QString long_ = field(u"a");
    for (int i = 0; i < 200; ++i) long_ += field(u"+a");
    EXPECT_TRUE(deep.compile(long_)); // a long flat field needs no depth
}

} // namespace
