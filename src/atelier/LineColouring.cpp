#include "LineColouring.h"

#include "AtelierColours.h"
#include "script/KeywordForms.h"

namespace {

bool endsVariable(QChar c) {
    static constexpr QStringView ends = u" =+-*/()[]<>:,;^.%\r";
    return ends.contains(c);
}

} // namespace

std::vector<ColourSpan> lineSpans(QStringView line) {
    std::vector<ColourSpan> spans;
    const qsizetype n = line.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = line[i];
        if (c == u'"' || c == u'\'') {
            const qsizetype close = line.indexOf(c, i + 1);
            const qsizetype end = close < 0 ? n : close + 1;
            spans.push_back({i, end - i, PairString, false});
            i = end;
        } else if (c == u':' && i == 0) {
            spans.push_back({0, n, PairString, false});
            i = n;
        } else if (c == u'$') {
            qsizetype end = i + 1;
            while (end < n && !endsVariable(line[end])) ++end;
            spans.push_back({i, end - i, PairVariable, true});
            i = end;
        } else if (c == u':') {
            spans.push_back({i, 1, PairColon, true});
            ++i;
        } else {
            int table = 0;
            const qsizetype length = keywordAt(line, i, &table);
            if (length > 0) {
                spans.push_back({i, length, PairKeyword + table, true});
                i += length;
            } else {
                ++i;
            }
        }
    }
    return spans;
}
