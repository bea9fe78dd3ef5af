#include "StatementCompiler.h"

#include "KeywordForms.h"
#include "KeywordTables.h"
#include "common/Numbers.h"
#include "common/Settings.h"
#include "kestoBasInfo.h"

namespace {

bool isIdentifierEnd(char16_t c) {
    switch (c) {
    case u' ': case u'=': case u'+': case u'-': case u'*': case u'/': case u'(': case u')': case u'[':
    case u']': case u'<': case u'>': case u':': case u',': case u';': case u'^': case u'.': case u'%':
        return true;
    default:
        return false;
    }
}

bool isSkipped(char16_t c) { return isIdentifierEnd(c) || (c >= u'0' && c <= u'9'); }
bool isQuote(char16_t c) { return c == u'"' || c == u'\''; }
bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool isAsciiLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }
bool isLowerLetter(char16_t c) { return c >= u'a' && c <= u'z'; }

// Every pass leaves quoted text as written. When a quote starts at `pos`, moves `pos` past its
// closing quote (to the end when there is none, with *closed false) and returns true.
bool skipQuoted(const QString& t, qsizetype& pos, bool* closed = nullptr) {
    if (!isQuote(t[pos].unicode())) return false;
    const qsizetype close = t.indexOf(t[pos], pos + 1);
    if (closed) *closed = close >= 0;
    pos = close < 0 ? t.size() : close + 1;
    return true;
}

bool declaresName(QStringView t, qsizetype* keywordLength) {
    static constexpr QStringView forms[] = {u"dotptn", u"bitmap", u"ドットパタン", u"ビットマップ"};
    for (QStringView form : forms) {
        if (!startsWithCaseless(t, form) || t.size() <= form.size()) continue;
        if (t[form.size()] == u':' || t[form.size()] == u',') {
            *keywordLength = form.size();
            return true;
        }
    }
    return false;
}

bool takesDataRows(char16_t c) {
    switch (kindOfCode(c)) {
    case Kind::DotPtn: case Kind::BitMap: case Kind::Maze: case Kind::Sudoku: case Kind::Soukoban: case Kind::NumLink:
    case Kind::pitman:
        return true;
    default:
        return c == code::setting(Setting::FramePtn);
    }
}

// Every word outside quotes that is a keyword of tables 0 to 3 or a declared name becomes its
// code; the first word of a statement is no attribute, so there the search starts at the kinds.
// False after an undeclared identifier, which is then left in `identifier` (the words before it
// coded).
// The coded text is built beside the statement, so a long line costs linear time.
bool codeKeywords(kestoBasInfo& k, QString& t, QString& identifier) {
    QString out;
    out.reserve(t.size() + 1);
    qsizetype pos = 0;
    qsizetype copied = 0; // t[copied, pos) still has to go to `out`
    const auto finish = [&] {
        out.append(QStringView(t).mid(copied));
        t = std::move(out);
    };
    while (pos < t.size()) {
        const char16_t c = t[pos].unicode();
        bool closed = true;
        if (skipQuoted(t, pos, &closed)) {
            if (closed) continue;
            finish();
            t.append(QChar(c));
            return true;
        }
        if (c == u'$') {
            ++pos;
            if (pos < t.size() && isSkipped(t[pos].unicode())) continue;
            while (pos < t.size() && !isIdentifierEnd(t[pos].unicode())) ++pos;
            continue;
        }
        if (isSkipped(c)) {
            ++pos;
            continue;
        }
        qsizetype end = pos;
        while (end < t.size() && !isIdentifierEnd(t[end].unicode())) ++end;
        const QStringView word = QStringView(t).mid(pos, end - pos);
        int hitTable = -1;
        char16_t hitCode = 0;
        for (int table = pos == 0 ? TableKinds : TableAttributes; table < KeywordTableCount && hitTable < 0; ++table) {
            const auto entries = keywordTable(table);
            for (size_t i = 0; i < entries.size(); ++i) {
                const KeywordEntry& entry = entries[i];
                if ((entry.standard.size() == word.size() && equalsCaseless(word, entry.standard)) ||
                    (entry.japanese.size() == word.size() && equalsCaseless(word, entry.japanese))) {
                    hitTable = table;
                    hitCode = keywordCode(table, static_cast<int>(i));
                    break;
                }
            }
        }
        if (hitTable >= TableFunctions) {
            pos = end;
            continue;
        }
        if (hitTable < 0) {
            const int name = k.findName(word);
            if (name < 0) {
                identifier = word.toString();
                finish(); // the words before it stay coded
                return false;
            }
            hitCode = static_cast<char16_t>(code::NameFirst + name);
        } else {
            k.lastKeywordCode = hitCode;
        }
        out.append(QStringView(t).mid(copied, pos - copied));
        out.append(QChar(hitCode));
        pos = copied = end;
    }
    finish();
    return true;
}

// Outside quotes, control characters become spaces and ASCII letters lower case.
void normalise(QString& t) {
    for (qsizetype i = 0; i < t.size();) {
        if (skipQuoted(t, i)) continue;
        const char16_t c = t[i].unicode();
        if (c < 33) t[i] = u' ';
        else if (c >= u'A' && c <= u'Z') t[i] = QChar(char16_t(c - u'A' + u'a'));
        ++i;
    }
}

bool isBeforeFunction(char16_t c) {
    return c == u' ' || c == u'=' || c == u'+' || c == u'-' || c == u'*' || c == u'/' || c == u'(';
}

// A control word standing alone and a function name before '(' become their codes (outside
// quotes, control words first); then the spaces outside quotes go.
void codeWords(QString& t) {
    for (int table : {int(TableControls), int(TableFunctions)}) {
        const auto entries = keywordTable(table);
        for (size_t n = 0; n < entries.size(); ++n) {
            const QStringView word = entries[n].standard;
            const QChar wordCode(keywordCode(table, static_cast<int>(n)));
            const char16_t first = word.front().unicode();
            if (!t.contains(QChar(first))) continue;
            // One pass per word writes the text anew, so many hits cost linear time. A code stands
            // where the word stood: what comes before it is judged on the text written so far.
            QString out;
            out.reserve(t.size());
            for (qsizetype i = 0; i < t.size();) {
                const qsizetype from = i;
                if (skipQuoted(t, i)) {
                    out.append(QStringView(t).mid(from, i - from));
                    continue;
                }
                const qsizetype at = i++;
                const qsizetype end = at + word.size();
                bool fits = t.constData()[at].unicode() == first && QStringView(t).mid(at).startsWith(word);
                if (fits && table == TableControls) {
                    fits = (out.isEmpty() || out.back() == u' ') && (end == t.size() || t[end] == u' ' || t[end] == u'(');
                } else if (fits) {
                    fits = (out.isEmpty() || isBeforeFunction(out.back().unicode())) && end < t.size() && t[end] == u'(';
                }
                if (fits) {
                    out.append(wordCode);
                    i = end;
                } else {
                    out.append(t[at]);
                }
            }
            t = std::move(out);
        }
    }
    qsizetype out = 0;
    for (qsizetype i = 0; i < t.size();) {
        const qsizetype from = i;
        if (skipQuoted(t, i)) {
            for (qsizetype j = from; j < i; ++j) t[out++] = t[j];
            continue;
        }
        if (t[i] != u' ') t[out++] = t[i];
        ++i;
    }
    t.truncate(out);
}

// "$name" becomes '#' and the variable's handle; a '$' before anything else a space. The coded
// text is written anew, linear in the line.
void codeVariables(kestoBasInfo& k, QString& t) {
    if (!t.contains(u'$')) return;
    QString out;
    out.reserve(t.size());
    for (qsizetype i = 0; i < t.size();) {
        const qsizetype from = i;
        if (skipQuoted(t, i)) {
            out.append(QStringView(t).mid(from, i - from));
            continue;
        }
        if (t[i] != u'$') {
            out.append(t[i++]);
            continue;
        }
        if (i + 1 >= t.size() || !isLowerLetter(t[i + 1].unicode())) {
            out.append(u' ');
            ++i;
            continue;
        }
        qsizetype end = i + 2;
        while (end < t.size()) {
            const char16_t n = t[end].unicode();
            if (!isLowerLetter(n) && !isDigit(n) && n != u'_') break;
            ++end;
        }
        const char16_t handle = k.items.findOrAdd(QStringView(t).mid(i + 1, end - i - 1), 0.0);
        out.append(u'#');
        out.append(QChar(handle));
        i = end;
    }
    t = std::move(out);
}

bool mayPrecedeNegative(char16_t c) {
    return c == u'=' || c == u'(' || c == u',' || c == u':' || c == u'<' || c == u'>' || c == code::To ||
           c == code::Step;
}

// A number literal (with its minus where a value starts) becomes '#' and the constant's handle.
// What stands before a literal is judged on the text written so far (a token's handle is no
// letter); the coded text is written anew, linear in the line.
void codeNumbers(kestoBasInfo& k, QString& t) {
    QString out;
    out.reserve(t.size());
    qsizetype i = 0;
    while (i < t.size()) {
        const qsizetype from = i;
        if (skipQuoted(t, i)) {
            out.append(QStringView(t).mid(from, i - from));
            continue;
        }
        const char16_t c = t[i].unicode();
        if (c == u'#') {
            out.append(QStringView(t).mid(i, 2));
            i += 2;
            continue;
        }
        const char16_t before = out.isEmpty() ? 0 : out.back().unicode();
        const bool digit = isDigit(c) && (out.isEmpty() || !isAsciiLetter(before));
        const bool negative = c == u'-' && i + 1 < t.size() && isDigit(t[i + 1].unicode()) &&
                              (out.isEmpty() || mayPrecedeNegative(before));
        if (!digit && !negative) {
            out.append(t[i++]);
            continue;
        }
        qsizetype end = negative ? i + 1 : i;
        while (end < t.size() && (isDigit(t[end].unicode()) || t[end] == u'.')) ++end;
        const double value = parseLeadingNumber(QStringView(t).mid(i, end - i));
        out.append(u'#');
        out.append(QChar(k.items.findOrAdd({}, value)));
        i = end;
    }
    t = std::move(out);
}

} // namespace

bool isDataRow(QStringView text) {
    for (QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == u':' || c == u'$' || c == u'=' || c == u';') return false;
        if ((c >= u'G' && c <= u'Z') || (c >= u'g' && c <= u'z')) return false;
    }
    return true;
}

void compileStatement(kestoBasInfo& k, progInfo& s, QStringView text) {
    qsizetype start = 0;
    while (start < text.size() && text[start] == u' ') ++start;
    QString t = text.mid(start).toString();
    // Characters that share their value with the control and function codes would be read as them.
    for (QChar& ch : t)
        if (ch.unicode() >= 0x80 && ch.unicode() <= code::FunctionLast) ch = QChar(0xFFFD);

    const qsizetype theme = keywordLengthAt(t, 0, u"Theme", TableSettings, true);
    if (theme > 0) {
        s.code = QChar(code::setting(Setting::Theme));
        s.code += QStringView(t).mid(std::min(theme + 1, t.size()));
        return;
    }
    qsizetype declaration = 0;
    if (declaresName(t, &declaration)) k.declareName(QStringView(t).mid(declaration));

    if (!t.isEmpty() && isQuote(t[0].unicode())) {
        const qsizetype close = t.indexOf(t[0], 1);
        s.code = t.mid(1, close < 0 ? -1 : close - 1);
        return;
    }
    if (takesDataRows(k.lastKeywordCode) && isDataRow(t)) {
        s.code = t;
        return;
    }
    qsizetype end = t.size();
    while (end > 1 && t[end - 1].unicode() <= 0x20) --end;
    t.truncate(end);

    QString identifier;
    if (!codeKeywords(k, t, identifier)) {
        k.addMessage(QStringLiteral("該当する「acmd」が見当たりません！\r\n %1: %2 ")
                         .arg(s.lineNumber, 3, 10, QChar(u'0'))
                         .arg(identifier));
        s.code = t;
        return;
    }
    normalise(t);
    codeWords(t);
    codeVariables(k, t);
    codeNumbers(k, t);
    s.code = t;
}
