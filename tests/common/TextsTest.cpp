#include "common/Settings.h"
#include "common/ShowCheck.h"
#include "common/TextCodec.h"
#include "common/Texts.h"

#include <gtest/gtest.h>

TEST(SizeText, FiveCharacterForms) {
    const struct {
        uint64_t bytes;
        const char* text;
    } cases[] = {
        {0, "    0"},           {1023, " 1023"},         {1536, "1.50k"},
        {1048576, "1.00m"},     {1024000, "1000k"},      {2ULL << 40, "2.00t"},
        {512ULL << 20, " 512m"}, {15872, "15.5k"},       {5ULL << 50, "5120t"},
    };
    for (const auto& c : cases) EXPECT_EQ(sizeText(c.bytes), QString::fromLatin1(c.text)) << c.bytes;
}

TEST(CommaText, GroupsAndCuts) {
    EXPECT_EQ(commaText("1234567", 10), " 1,234,567");
    EXPECT_EQ(commaText("1234567", 5), "4,567");
    EXPECT_EQ(commaText("123", 5), "  123");
    EXPECT_EQ(commaText("1234", 5), "1,234");
}

TEST(PackedTime, ReadAndShow) {
    EXPECT_EQ(dateNumber("2010/05/03 12:30:00"), 20100503123000ULL);
    EXPECT_EQ(dateNumber("2010/5/3"), 20100503ULL);
    EXPECT_EQ(dateText(20100503123000ULL), "2010/05/03 12:30:00");
}

TEST(CutField, SplitsAtFirstSeparator) {
    QString text = "a , b";
    auto rest = cutField(text);
    ASSERT_TRUE(rest);
    EXPECT_EQ(text, "a");
    EXPECT_EQ(*rest, " b");
    QString plain = "abc";
    EXPECT_FALSE(cutField(plain));
    EXPECT_EQ(plain, "abc");
    QString blank = " ;x";
    ASSERT_TRUE(cutField(blank));
    EXPECT_EQ(blank, " "); // the field's first character is never cleared
}

TEST(Cp932, BackslashStaysAndInvalidBytesAreReplaced) {
    EXPECT_EQ(decodeCp932("a\\b"), "a\\b");
    EXPECT_EQ(decodeCp932("\x82\xA0"), QString::fromUtf8("あ"));
    EXPECT_EQ(decodeCp932("x\x82"), QString::fromUtf8("x\xEF\xBF\xBD"));
    EXPECT_TRUE(cp932RoundTrips(QString::fromUtf8("ヴィモラ～")));
    EXPECT_FALSE(cp932RoundTrips(QString::fromUtf8("한국")));
}

TEST(ShowCheck, NestedRequestAnswersMinusOne) {
    struct Nesting : CheckSink {
        int inner = 99;
        int show(const QString&, const QString&, int) override {
            inner = showCheck("inner", "c", 1);
            return 1;
        }
    } sink;
    ScopedCheckSink scoped(&sink);
    EXPECT_EQ(showCheck("outer", "c", 1), 1);
    EXPECT_EQ(sink.inner, -1);
    EXPECT_EQ(checkNesting(), 0);
}
