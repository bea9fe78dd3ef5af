#include "Evaluator.h"

#include "KeywordTables.h"
#include "ScriptFault.h"
#include "common/Numbers.h"
#include "common/Random.h"
#include "common/ShowCheck.h"
#include "kestoBasInfo.h"

#include <cmath>
#include <cstring>
#include <numbers>

namespace {

bool isQuote(char16_t c) { return c == u'"' || c == u'\''; }

// Index of the last '(' outside quotes in [begin, end), or -1.
qsizetype lastOpen(const QString& t, qsizetype begin, qsizetype end) {
    qsizetype found = -1;
    for (qsizetype i = begin; i < end; ++i) {
        const char16_t c = t[i].unicode();
        if (isQuote(c)) {
            const qsizetype close = t.indexOf(QChar(c), i + 1);
            if (close < 0 || close >= end) break;
            i = close;
        } else if (c == u'(') {
            found = i;
        }
    }
    return found;
}

// Index of the first ')' outside quotes after `open`, or -1.
qsizetype firstClose(const QString& t, qsizetype open) {
    for (qsizetype i = open + 1; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (isQuote(c)) {
            const qsizetype close = t.indexOf(QChar(c), i + 1);
            if (close < 0) return -1;
            i = close;
        } else if (c == u')') {
            return i;
        }
    }
    return -1;
}

// Index of the ')' that matches the '(' at `open`, counting parentheses; -1 when unmatched.
qsizetype matchingClose(const QString& t, qsizetype open) {
    int depth = 0;
    for (qsizetype i = open; i < t.size(); ++i) {
        if (t[i] == u'(') ++depth;
        else if (t[i] == u')' && --depth == 0) return i;
    }
    return -1;
}

double compute(char16_t op, double x, double y) {
    switch (op) {
    case u'^': return std::pow(x, y);
    case u'%': {
        const int a = truncToInt(x);
        const int b = truncToInt(y);
        if (b == 0) throw ScriptFault("remainder by zero");
        return b == -1 ? 0.0 : double(a % b);
    }
    case u'*': return x * y;
    case u'/': return x / y;
    case u'+': return x + y;
    default: return x - y;
    }
}

// Applies the three operator levels to t[begin, end); returns the new end. Within a level the
// leftmost operator goes first; applying one never makes an operator left of it applicable, so one
// pass per level does: the reduced text is written behind the read position, linear in the text.
qsizetype applyOperators(kestoBasInfo& k, QString& t, qsizetype begin, qsizetype end) {
    static constexpr char16_t levels[3][2] = {{u'^', u'%'}, {u'*', u'/'}, {u'+', u'-'}};
    if (end - begin < 5) return end;
    char16_t* d = reinterpret_cast<char16_t*>(t.data());
    unsigned present = 0; // levels that have an operator at all
    for (qsizetype p = begin + 2; p + 2 < end; ++p) {
        switch (d[p]) {
        case u'^': case u'%': present |= 1; break;
        case u'*': case u'/': present |= 2; break;
        case u'+': case u'-': present |= 4; break;
        default: break;
        }
    }
    for (int n = 0; n < 3; ++n) {
        if (!(present & (1u << n))) continue;
        const auto& level = levels[n];
        // d[begin, w) is the reduced text so far, d[r, end) what is still to read; the operator at
        // r stands, in the current text, at w.
        qsizetype w = begin + 2;
        qsizetype r = begin + 2;
        while (r < end) {
            const char16_t c = d[r];
            if (r + 2 < end && (c == level[0] || c == level[1]) && d[w - 2] == u'#' && d[r + 1] == u'#' &&
                d[w - 1] != u'=') {
                d[w - 1] = k.items.addTemporary(compute(c, k.items.value(d[w - 1]), k.items.value(d[r + 2])));
                r += 3;
                continue;
            }
            d[w++] = d[r++];
        }
        if (w < end) {
            const qsizetype size = t.size();
            std::memmove(d + w, d + end, size_t(size - end) * sizeof(char16_t));
            t.truncate(size - (end - w));
            end = w;
        }
    }
    return end;
}

// Reduces the group whose '(' stands at `open`: the content loses its parentheses and its operators.
void reduceGroupAt(kestoBasInfo& k, QString& t, qsizetype open) {
    const qsizetype close = firstClose(t, open);
    t.remove(open, 1);
    if (close < 0) return;
    t.remove(close - 1, 1);
    applyOperators(k, t, open, close - 1);
}

bool containsFunction(const QString& t, qsizetype begin, qsizetype end) {
    const QChar* d = t.constData();
    for (qsizetype i = begin; i < end; ++i)
        if (isFunctionCode(d[i].unicode())) return true;
    return false;
}

double functionResult(kestoBasInfo& k, char16_t f, double v, bool* failed) {
    constexpr double degree = std::numbers::pi / 180.0;
    switch (f) {
    case code::Abs: return std::fabs(double(truncToInt(v)));
    case code::Sin: return std::sin(v * degree);
    case code::Cos: return std::cos(v * degree);
    case code::Tan: return std::tan(v * degree);
    case code::Sqr: return std::sqrt(v);
    case code::Int: return double(truncToInt64(v));
    case code::Rand: return vimoraRand() * v / 32767.0;
    case code::GetVal: {
        const int64_t slot = truncToInt64(v);
        return slot >= 0 && slot < kValueSlots ? k.valueSlots[slot] : 0.0;
    }
    case code::Read: {
        const int64_t index = truncToInt64(v);
        const int64_t count = static_cast<int64_t>(k.dataValues.size());
        if (index >= 0 && index < count) return k.dataValues[index];
        const QString text = QStringLiteral("%1 行［read］の配列番号が範囲外です！(%2／%3) ")
                                 .arg(k.currentLineNumber())
                                 .arg(index)
                                 .arg(count);
        k.addMessage(text);
        k.status = RunStatus::ReadRange;
        showCheck(text, QStringLiteral("［read］範囲エラー！"), 0);
        *failed = true;
        return 0.0;
    }
    }
    return 0.0; // no other code reaches here: the callers pass the nine function codes
}

// Function calls nested deeper than this stop the run with a message naming the line (a hostile
// text must not exhaust the stack); real programs nest a handful.
constexpr int kMaxCallDepth = 64;

void reportDeepNesting(kestoBasInfo& k) {
    const QString text = QStringLiteral(" %1 行 : 関数の入れ子は %2 段までです").arg(k.currentLineNumber()).arg(kMaxCallDepth);
    k.addMessage(text);
    k.status = RunStatus::Fault;
    showCheck(text, QStringLiteral("「acmd」の関数の入れ子が深すぎます！"), 0);
}

// Evaluates the function calls of t from `from` on, function by function in table order.
void evalFunctions(kestoBasInfo& k, QString& t, qsizetype from, int depth = 0) {
    for (char16_t f = code::FunctionFirst; f <= code::FunctionLast; ++f) {
        for (;;) {
            if (k.status != RunStatus::Well) return;
            const qsizetype pos = t.indexOf(QChar(f), from);
            if (pos < 0 || pos + 1 >= t.size() || t[pos + 1] != u'(') break;
            qsizetype close = matchingClose(t, pos + 1);
            if (close >= 0 && depth >= kMaxCallDepth && containsFunction(t, pos + 2, close)) {
                reportDeepNesting(k);
                return;
            }
            while (close >= 0 && containsFunction(t, pos + 2, close)) {
                const qsizetype before = t.size();
                evalFunctions(k, t, pos + 2, depth + 1);
                if (k.status != RunStatus::Well) return;
                close = matchingClose(t, pos + 1);
                if (t.size() == before) break; // nothing reducible inside: take the group as it is
            }
            if (close < 0) break;
            t.remove(pos, 1);
            const qsizetype open = pos;
            close -= 1;
            for (qsizetype inner = lastOpen(t, open + 1, close); inner >= 0; inner = lastOpen(t, open + 1, close)) {
                reduceGroupAt(k, t, inner);
                close = matchingClose(t, open);
                if (close < 0) return;
            }
            const qsizetype end = applyOperators(k, t, open + 1, close);
            const double v = end - (open + 1) >= 2 ? k.items.value(t[open + 2].unicode()) : 0.0;
            bool failed = false;
            const double r = functionResult(k, f, v, &failed);
            if (failed) return;
            const char16_t handle = k.items.addTemporary(r);
            const QChar token[2] = {QChar(u'#'), QChar(handle)};
            t.replace(open, end + 1 - open, token, 2);
        }
    }
}

} // namespace

int assign(kestoBasInfo& k, QString& t) {
    int made = 0;
    while (t.contains(u'=')) {
        const QChar* d = t.constData();
        const qsizetype size = t.size();
        qsizetype consumed = 0;
        for (qsizetype i = 0; i + 4 < size && consumed == 0; ++i) {
            if (d[i] != u'#' || d[i + 2] != u'=') continue;
            if (d[i + 3] == u'#') {
                k.items.setValue(d[i + 1].unicode(), k.items.value(d[i + 4].unicode()));
                consumed = i + 5;
            } else if (d[i + 3] == u'-' && i + 5 < size && d[i + 4] == u'#') {
                k.items.setValue(d[i + 1].unicode(), -k.items.value(d[i + 5].unicode()));
                consumed = i + 6;
            }
        }
        if (consumed == 0) break; // "$a==1" and the like are no assignment; they go on as a command
        t.remove(0, consumed);
        ++made;
    }
    return made;
}

void evaluate(kestoBasInfo& k, QString& t) {
    if ((t.size() == 5 || t.size() == 6) && assign(k, t) > 0) return;
    k.items.resetTemporaries();
    bool functions = false;
    bool groups = false;
    for (const QChar c : std::as_const(t)) {
        functions |= isFunctionCode(c.unicode());
        groups |= c == u'(';
    }
    if (functions && k.status == RunStatus::Well) {
        evalFunctions(k, t, 0);
        if (k.status != RunStatus::Well) return; // a failed `read`: the statement does nothing more
    }
    if (groups) {
        for (qsizetype open = lastOpen(t, 0, t.size()); open >= 0; open = lastOpen(t, 0, t.size()))
            reduceGroupAt(k, t, open);
    }
    applyOperators(k, t, 0, t.size());
    if (t.size() == 5 || t.size() == 6) assign(k, t);
}

double evalValue(kestoBasInfo& k, QString* text) {
    if (!text) {
        k.status = RunStatus::NoValue;
        return 0.0;
    }
    if (text->size() > 2) evaluate(k, *text);
    return text->size() >= 2 ? k.items.value(text->at(1).unicode()) : 0.0;
}
