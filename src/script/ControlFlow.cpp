#include "ControlFlow.h"

#include "Evaluator.h"
#include "KeywordTables.h"
#include "kestoBasInfo.h"

namespace {

bool holds(const progInfo* s, char16_t c) { return s->code.contains(QChar(c)); }

QString lineMessage(const char16_t* word, int line) {
    return QStringLiteral("対応する「%1」がありません！(%2 ) ").arg(QString::fromUtf16(word)).arg(line);
}

bool passes(double v, double limit, double step) { return (step > 0 && v > limit) || (step < 0 && v < limit); }

// Value of code[begin, end) after evaluation, in the interpreter's scratch text.
double valueOf(kestoBasInfo& k, const QString& code, qsizetype begin, qsizetype end, QString& scratch) {
    scratch.resize(0);
    if (begin < end) scratch.append(code.constData() + begin, end - begin);
    return evalValue(k, &scratch);
}

// The matching closer of `opener` after `from`: nested openers are counted, so that hostile
// programs with deep nesting never deepen the stack.
progInfo* findCloser(const progInfo* from, char16_t opener, char16_t closer) {
    int depth = 0;
    for (progInfo* s = from ? from->next : nullptr; s; s = s->next) {
        if (holds(s, opener)) ++depth;
        else if (holds(s, closer) && depth-- == 0) return s;
    }
    return nullptr;
}

} // namespace

progInfo* findNext(const progInfo* from) { return findCloser(from, code::For, code::Next); }

progInfo* findEndif(progInfo* from) {
    if (!from->matchEndif) from->matchEndif = findCloser(from, code::If, code::Endif);
    return from->matchEndif;
}

progInfo* findElse(progInfo* from) {
    if (from->elseSearched) return from->matchElse;
    for (progInfo* s = from->next; s; s = s->next) {
        if (holds(s, code::If)) {
            s = findEndif(s);
            if (!s) return nullptr;
            continue;
        }
        if (holds(s, code::Endif)) break;
        if (holds(s, code::Else)) {
            from->matchElse = s;
            break;
        }
    }
    // A search that met an `endif` (or an `else`) saw all it needs; only a cut list's end is unsure.
    if (from->matchElse || findEndif(from)) from->elseSearched = true;
    return from->matchElse;
}

int runFor(kestoBasInfo& k, progInfo*& current) {
    progInfo* s = current;
    const QString& c = s->code;
    if (!s->loop) {
        if (c.size() < 2 || c[1] != u'#') return -1;
        progInfo* next = findNext(s);
        if (!next) {
            k.addMessage(lineMessage(u"next", s->lineNumber));
            return -1;
        }
        const qsizetype to = c.indexOf(QChar(code::To));
        if (to < 0) {
            k.addMessage(lineMessage(u"to", s->lineNumber));
            return -1;
        }
        loopInfo* loop = k.statements.newLoop();
        loop->variable = c.size() > 2 ? c[2].unicode() : char16_t(0);
        loop->forStatement = s;
        loop->nextStatement = next;
        loop->toPosition = static_cast<int>(to);
        s->loop = loop;
        s->ownsLoop = true;
        next->loop = loop;
        next->ownsLoop = false;
    }
    loopInfo* loop = s->loop;
    const qsizetype to = loop->toPosition;
    QString& scratch = k.scratchText();
    const double start = valueOf(k, c, 4, to, scratch);
    k.items.setValue(loop->variable, start);
    const qsizetype step = c.indexOf(QChar(code::Step), to);
    loop->limit = valueOf(k, c, to + 1, c.size(), scratch);
    loop->step = 1;
    if (step >= 0) {
        const double v = valueOf(k, c, step + 1, c.size(), scratch);
        loop->step = v == 0 ? 1 : v;
    }
    current = passes(start, loop->limit, loop->step) ? loop->nextStatement->next : s->next;
    return 0;
}

int runNext(kestoBasInfo& k, progInfo*& current) {
    loopInfo* loop = current->loop;
    if (!loop) return -1;
    const double v = k.items.value(loop->variable) + loop->step;
    k.items.setValue(loop->variable, v);
    current = passes(v, loop->limit, loop->step) ? current->next : loop->forStatement->next;
    return 0;
}

int runIf(kestoBasInfo& k, progInfo*& current) {
    progInfo* s = current;
    const QString& c = s->code;
    const qsizetype then = c.indexOf(QChar(code::Then));
    if (then < 0) {
        k.addMessage(lineMessage(u"then", s->lineNumber));
        return -1;
    }
    progInfo* endif = findEndif(s);
    if (!endif) {
        k.addMessage(lineMessage(u"endif", s->lineNumber));
        return -1;
    }
    qsizetype op = 1;
    while (op < then && c[op] != u'<' && c[op] != u'>' && c[op] != u'=') ++op;
    if (op >= then) return -1;
    const QChar first = c[op];
    const QChar second = op + 1 < then ? c[op + 1] : QChar();
    int relation; // 0 <, 1 <=, 2 <>, 3 >, 4 >=, 5 =
    qsizetype width = 1;
    if (first == u'<') {
        relation = second == u'=' ? 1 : second == u'>' ? 2 : 0;
        if (relation != 0) width = 2;
    } else if (first == u'>') {
        relation = second == u'=' ? 4 : 3;
        if (relation == 4) width = 2;
    } else {
        relation = 5;
    }
    QString& scratch = k.scratchText();
    const double left = valueOf(k, c, 1, op, scratch);
    const double right = valueOf(k, c, op + width, then, scratch);
    bool truth;
    switch (relation) {
    case 0: truth = left < right; break;
    case 1: truth = left <= right; break;
    case 2: truth = left != right; break;
    case 3: truth = left > right; break;
    case 4: truth = left >= right; break;
    default: truth = left == right; break;
    }
    if (truth) {
        current = s->next;
    } else {
        progInfo* alternative = findElse(s);
        current = alternative ? alternative->next : endif->next;
    }
    return 0;
}
