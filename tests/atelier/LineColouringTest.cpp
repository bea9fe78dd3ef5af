#include "atelier/AtelierColours.h"
#include "atelier/LineColouring.h"

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const ColourSpan& s, std::ostream* os) {
    *os << "{" << s.start << "," << s.length << ",pair " << s.pair << (s.bold ? ",bold}" : "}");
}

namespace {

constexpr int Attr = PairKeyword + 0, Kind = PairKeyword + 1, Setting = PairKeyword + 2, Block = PairKeyword + 3,
              Function = PairKeyword + 4, Control = PairKeyword + 5;

TEST(LineColouring, SpansOfRepresentativeLines) {
    struct Case {
        const char16_t* line;
        std::vector<ColourSpan> spans;
    };
    const Case cases[] = {
        {u"ANIME_SET:", {{0, 9, Block, true}, {9, 1, PairColon, true}}},
        {u"canvas:center,750,500", {{0, 6, Setting, true}, {6, 1, PairColon, true}, {7, 6, Attr, true}}},
        {u"BitMap:ball,neko1.bmp", {{0, 6, Kind, true}, {6, 1, PairColon, true}}},
        {u"ball:X=10", {{4, 1, PairColon, true}, {5, 1, Attr, true}}},
        {u"ボール:位置X=$x+1", {{3, 1, PairColon, true}, {4, 3, Attr, true}, {8, 2, PairVariable, true}}},
        {u"ball:位置X=1", {{4, 1, PairColon, true}, {5, 3, Attr, true}}},
        {u": a comment with for and X", {{0, 26, PairString, false}}},
        {u"theme:\" 無題 \"", {{0, 5, Setting, true}, {5, 1, PairColon, true}, {6, 6, PairString, false}}},
        {u"text='it''s'", {{0, 4, Attr, true}, {5, 4, PairString, false}, {9, 3, PairString, false}}},
        {u"\"open to the end", {{0, 16, PairString, false}}},
        {u"for $i=1 to 10", {{0, 3, Control, true}, {4, 2, PairVariable, true}, {9, 2, Control, true}}},
        {u"$total=abs($x)", {{0, 6, PairVariable, true}, {7, 3, Function, true}, {11, 2, PairVariable, true}}},
        {u"$", {{0, 1, PairVariable, true}}},
        {u"maxX=5 xmax=5 max=1", {{0, 4, Attr, true}, {14, 3, Attr, true}}},
        {u"", {}},
    };
    for (const Case& c : cases) {
        const QString line = QString::fromUtf16(c.line);
        EXPECT_EQ(lineSpans(line), c.spans) << line.toStdString();
    }
}

} // namespace
