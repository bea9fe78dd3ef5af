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
#include <string>
#include <vector>

namespace {

bool isQuote(char16_t c) { return c == u'"' || c == u'\''; }

// Index of the ')' that matches the '(' at `open`, counting parentheses; -1 when unmatched.
qsizetype matchingClose(const QString& t, qsizetype open) {
    int depth = 0;
    for (qsizetype i = open; i < t.size(); ++i) {
        if (t[i] == u'(') ++depth;
        else if (t[i] == u')' && --depth == 0) return i;
    }
    return -1;
}

// Applies the three operator levels to d[begin, end); returns the new end. Within a level the
// leftmost operator goes first; applying one never makes an operator left of it applicable, so one
// pass per level does: the reduced text is written behind the read position, linear in the range.
// What stood behind `end` is not moved.
qsizetype reduceOperators(kestoBasInfo& k, char16_t* d, qsizetype begin, qsizetype end) {
    static constexpr char16_t levels[3][2] = {{u'^', u'%'}, {u'*', u'/'}, {u'+', u'-'}};
    if (end - begin < 5) return end;
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
                d[w - 1] = k.items.addTemporary(operatorResult(c, k.items.value(d[w - 1]), k.items.value(d[r + 2])));
                r += 3;
                continue;
            }
            d[w++] = d[r++];
        }
        end = w;
    }
    return end;
}

// Closes the gap between `w` and `end` of t by moving the tail; returns w, the range's new end.
qsizetype closeGap(QString& t, qsizetype w, qsizetype end) {
    if (w < end) {
        const qsizetype size = t.size();
        char16_t* d = reinterpret_cast<char16_t*>(t.data());
        std::memmove(d + w, d + end, size_t(size - end) * sizeof(char16_t));
        t.truncate(size - (end - w));
    }
    return w;
}

// Applies the operators to t[begin, end) and closes the text up; returns the range's new end.
qsizetype applyOperators(kestoBasInfo& k, QString& t, qsizetype begin, qsizetype end) {
    if (end - begin < 5) return end;
    return closeGap(t, reduceOperators(k, reinterpret_cast<char16_t*>(t.data()), begin, end), end);
}

// Reduces the parenthesised groups of t[begin, end), each after the groups inside it, in one pass:
// a group loses its parentheses and its operators. A '(' never closed loses only itself, a ')'
// without its '(' stays, and quoted text is copied as it stands; nothing after a quote that does
// not close within the range is grouped. Returns the range's new end. Cost: linear in the range,
// plus the operator passes over each group's remaining content.
qsizetype reduceGroups(kestoBasInfo& k, QString& t, qsizetype begin, qsizetype end) {
    std::vector<qsizetype>& opens = k.groupStack();
    opens.clear();
    char16_t* d = reinterpret_cast<char16_t*>(t.data());
    qsizetype w = begin;
    qsizetype r = begin;
    while (r < end) {
        const char16_t c = d[r];
        if (isQuote(c)) {
            const char16_t* found = std::char_traits<char16_t>::find(d + r + 1, size_t(end - r - 1), c);
            const qsizetype stop = found ? found - d + 1 : end;
            std::memmove(d + w, d + r, size_t(stop - r) * sizeof(char16_t));
            w += stop - r;
            r = stop;
            if (!found) break;
        } else if (c == u'(') {
            opens.push_back(w);
            ++r;
        } else if (c == u')' && !opens.empty()) {
            w = reduceOperators(k, d, opens.back(), w);
            opens.pop_back();
            ++r;
        } else {
            d[w++] = d[r++];
        }
    }
    return closeGap(t, w, end);
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
        // Nothing before the last call reduced holds this function any more: the search goes on
        // from there, not from `from`, so a line of many calls costs one pass per function.
        qsizetype next = from;
        for (;;) {
            if (k.status != RunStatus::Well) return;
            const qsizetype pos = t.indexOf(QChar(f), next);
            next = pos;
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
            close = reduceGroups(k, t, open + 1, close);
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

bool isOperator(char16_t c) {
    return c == u'^' || c == u'%' || c == u'*' || c == u'/' || c == u'+' || c == u'-';
}

bool isItem(const char16_t* d) { return d[0] == u'#' && d[1] >= code::HandleFirst; }

} // namespace

double storedTemporaryZero(kestoBasInfo& k, double zero) { return k.items.value(k.items.addTemporary(zero)); }

bool evaluateShortAssignment(kestoBasInfo& k, const QString& code) {
    const qsizetype n = code.size();
    if (n != 8 && n != 11) return false;
    const char16_t* d = reinterpret_cast<const char16_t*>(code.constData());
    if (!isItem(d) || d[2] != u'=') return false;
    // Two temporaries at most, kept clear of the table's end so that, as on the general path, no
    // temporary can fail for room.
    if (k.items.count() + 2 >= k.items.capacity()) return false;
    const char16_t target = d[1];
    if (n == 8 && isItem(d + 3) && isOperator(d[5]) && isItem(d + 6)) { // #a=#b+#c
        k.items.resetTemporaries();
        const double v = operatorResult(d[5], k.items.value(d[4]), k.items.value(d[7]));
        k.items.setValue(target, temporaryValue(k, v));
        return true;
    }
    if (!isFunctionCode(d[3]) || d[4] != u'(' || d[n - 1] != u')' || !isItem(d + 5)) return false;
    k.items.resetTemporaries();
    double argument;
    if (n == 8) { // #a=f(#b)
        argument = k.items.value(d[6]);
    } else if (isOperator(d[7]) && isItem(d + 8)) { // #a=f(#b+#c)
        argument = temporaryValue(k, operatorResult(d[7], k.items.value(d[6]), k.items.value(d[9])));
    } else {
        return false;
    }
    bool failed = false;
    const double r = functionResult(k, d[3], argument, &failed);
    if (!failed) k.items.setValue(target, temporaryValue(k, r));
    return true;
}

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
    if (groups) reduceGroups(k, t, 0, t.size());
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
