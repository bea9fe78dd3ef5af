#include "KeywordForms.h"

#include "KeywordTables.h"
#include "common/Settings.h"

namespace {

// Characters that end a keyword for form detection and conversion (besides the text's end).
bool isKeywordEnd(QStringView text, qsizetype pos) {
    if (pos >= text.size()) return true;
    switch (text[pos].unicode()) {
    case u' ': case u'=': case u':': case u',': case u'_': case u'[': case u'\r': case u'\n':
        return true;
    default:
        return false;
    }
}

bool isAsciiNonAlnum(char16_t c) {
    return c < 48 || (c >= 58 && c <= 64) || (c >= 91 && c <= 96) || (c >= 123 && c <= 126);
}

bool isQuote(QChar c) { return c == u'"' || c == u'\''; }

} // namespace

qsizetype keywordLengthAt(QStringView text, qsizetype pos, QStringView standard, int table, bool needSeparator) {
    if (pos < 0 || pos > text.size() || standard.isEmpty()) return 0;
    if (pos > 0 && text[pos - 1] == u'$') return 0;
    const QStringView rest = text.mid(pos);
    qsizetype length = 0;
    if (startsWithCaseless(rest, standard)) {
        length = standard.size();
    } else {
        for (const KeywordEntry& entry : keywordTable(table)) {
            if (!equalsCaseless(entry.standard, standard)) continue;
            if (!entry.japanese.isEmpty() && startsWithCaseless(rest, entry.japanese)) length = entry.japanese.size();
            break;
        }
        if (length == 0) return 0;
    }
    if (!needSeparator || length == rest.size()) return length;
    return (rest[length] == u':' || rest[length] == u',') ? length : 0;
}

bool isKeywordAt(QStringView text, qsizetype pos, QStringView standard, int table, bool needSeparator) {
    return keywordLengthAt(text, pos, standard, table, needSeparator) > 0;
}

qsizetype keywordAt(QStringView text, qsizetype pos, int* table) {
    if (pos < 0 || pos >= text.size()) return 0;
    if (pos > 0 && !isAsciiNonAlnum(text[pos - 1].unicode())) return 0;
    const QStringView rest = text.mid(pos);
    auto fits = [&](QStringView name) {
        return !name.isEmpty() && startsWithCaseless(rest, name) &&
               (name.size() == rest.size() || isAsciiNonAlnum(rest[name.size()].unicode()));
    };
    for (int t = 0; t < KeywordTableCount; ++t) {
        for (const KeywordEntry& entry : keywordTable(t)) {
            for (QStringView name : {entry.standard, entry.japanese}) {
                if (!fits(name)) continue;
                if (table) *table = t;
                return name.size();
            }
        }
    }
    return 0;
}

bool isMostlyJapanese(QStringView text) {
    int standardCount = 0;
    int japaneseCount = 0;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const char16_t c = text[pos].unicode();
        const bool latin = c >= 65 && c <= 122;
        qsizetype hit = 0;
        for (int t = TableAttributes; t <= TableBlocks && hit == 0; ++t) {
            for (const KeywordEntry& entry : keywordTable(t)) {
                const QStringView name = latin ? entry.standard : entry.japanese;
                if (startsWithCaseless(text.mid(pos), name) && isKeywordEnd(text, pos + name.size())) {
                    hit = name.size();
                    break;
                }
            }
        }
        if (hit > 0) {
            (latin ? standardCount : japaneseCount) += 1;
            pos += hit;
        } else {
            ++pos;
        }
    }
    return japaneseCount >= standardCount;
}

QString convertForm(QStringView text) {
    const bool toStandard = isMostlyJapanese(text);
    QString out;
    out.reserve(text.size() * 3 + 16);
    qsizetype pos = 0;
    while (pos < text.size()) {
        const QChar c = text[pos];
        if (isQuote(c)) {
            const qsizetype close = text.indexOf(c, pos + 1);
            const qsizetype end = close < 0 ? text.size() : close + 1;
            out += text.mid(pos, end - pos);
            pos = end;
            continue;
        }
        qsizetype hit = 0;
        if (!isKeywordEnd(text, pos) && !(pos > 0 && text[pos - 1] == u'$') &&
            (toStandard || pos == 0 || text[pos - 1].unicode() < u'A')) {
            const QStringView rest = text.mid(pos);
            for (int t = TableAttributes; t <= TableBlocks && hit == 0; ++t) {
                for (const KeywordEntry& entry : keywordTable(t)) {
                    const QStringView from = toStandard ? entry.japanese : entry.standard;
                    if (!from.isEmpty() && startsWithCaseless(rest, from) && isKeywordEnd(text, pos + from.size())) {
                        out += toStandard ? entry.standard : entry.japanese;
                        hit = from.size();
                        break;
                    }
                }
            }
        }
        if (hit > 0) {
            pos += hit;
        } else {
            out += c;
            ++pos;
        }
    }
    return out;
}
