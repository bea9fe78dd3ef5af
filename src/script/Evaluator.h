// The evaluator: reduces a compiled statement in place. Function calls, parenthesised groups and
// operators are replaced step by step by the token of a temporary item holding their value, until
// one token (or an assignment) is left. Nothing here allocates once the text's buffer is its own.
#pragma once

#include "ScriptFault.h"
#include "common/Numbers.h"

#include <QString>

#include <cmath>

class kestoBasInfo;

// Reduces `text` as far as it goes: functions in table order (arguments first), groups innermost
// first, then '^' '%', '*' '/', '+' '-' leftmost first; a text of the shape "#a=#b" or "#a=-#b"
// is assigned (and then empty). Throws ScriptFault for a remainder by zero or a full item table.
// A `read` out of range sets RunStatus::ReadRange and stops the statement. Cost: linear in the
// length for groups and operators; each function call adds a move of the text behind it (a line
// of 8 k calls, near the line limit, takes about 15 ms).
void evaluate(kestoBasInfo& interpreter, QString& text);

// The most frequent statements, "#a=#b+#c" (any of the six operators), "#a=f(#b)" and
// "#a=f(#b+#c)", run straight from the compiled text with the effects evaluate() has on a copy of
// it; false (and nothing done) for any other text, which then takes the general path. May throw
// ScriptFault as evaluate() does. Cost: constant, no copy of the text.
bool evaluateShortAssignment(kestoBasInfo& interpreter, const QString& code);

// x op y for the six operators '^' '%' '*' '/' '+' '-' as the evaluator computes them ('%' on
// the truncated integers, "x%-1" 0). Throws ScriptFault for a remainder by zero. Cost: constant.
inline double operatorResult(char16_t op, double x, double y) {
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

// The value of a zero once stored as a temporary (see temporaryValue). May throw ScriptFault for
// a full table. Cost: constant.
double storedTemporaryZero(kestoBasInfo& interpreter, double zero);

// The value a temporary of `v` holds once stored: addTemporary hands out a constant of an equal
// key instead when there is one, which differs from v only in the sign of a zero (so a zero is
// stored, the others need not be). Cost: constant.
inline double temporaryValue(kestoBasInfo& interpreter, double v) {
    return v != 0 ? v : storedTemporaryZero(interpreter, v);
}

// The value of the item named second in `text` after reducing it (when longer than two); nullptr
// sets RunStatus::NoValue and gives 0.
double evalValue(kestoBasInfo& interpreter, QString* text);

// Makes the assignments at the start of `text` while it holds '=' and the shape fits; the rest of
// the text moves to the start. Returns the number made. Cost: linear per assignment.
int assign(kestoBasInfo& interpreter, QString& text);
