#include "gallery/CatalogLine.h"

#include <gtest/gtest.h>

TEST(CatalogLine, FieldsFollowTheSeparatorAndSpaceRules) {
    const struct {
        const char16_t* record;
        QStringList fields;
    } cases[] = {
        {u"作品,a.acmd\n", {u"作品"_qs, u"a.acmd"_qs}},
        {u"title\tfile;1\n", {u"title"_qs, u"file"_qs, u"1"_qs}},
        // spaces before a separator go, spaces after it stay with the next field
        {u"title  , a.acmd ,0\n", {u"title"_qs, u" a.acmd"_qs, u"0"_qs}},
        // text after the last separator is no field
        {u"title,a.acmd", {u"title"_qs}},
        {u"title,a.acmd,", {u"title"_qs, u"a.acmd"_qs}},
        {u"no separator", {}},
        // an empty field between separators stays empty; the first character of a field is never cut
        {u"t,,x\n", {u"t"_qs, u""_qs, u"x"_qs}},
        {u" ,x\n", {u" "_qs, u"x"_qs}},
    };
    for (const auto& c : cases) EXPECT_EQ(CatalogLine::fields(QString::fromUtf16(c.record)), c.fields)
            << QString::fromUtf16(c.record).toStdString();
}

TEST(CatalogLine, LocalRecordsDropShortLinesAndComments) {
    const QString longLine = QString(300, u'x') + QStringLiteral(",long.acmd");
    const QStringList lines = {u"ab"_qs,        u"abc"_qs,  u":comment,x"_qs, u"'comment,x"_qs,
                               u""_qs,          longLine,   u" :not a comment,x"_qs};
    const QStringList expected = {u"abc\n"_qs, longLine + u'\n', u" :not a comment,x\n"_qs};
    EXPECT_EQ(CatalogLine::localRecords(lines), expected);
}

TEST(CatalogLine, FlagValuesReadLikeWtoi) {
    const struct {
        QStringList fields;
        int fallback;
        int value;
    } cases[] = {
        {{u"t"_qs, u"f"_qs}, 1, 1},           // missing third field
        {{u"t"_qs, u"f"_qs, u""_qs}, 1, 1},   // empty third field
        {{u"t"_qs, u"f"_qs, u"0"_qs}, 1, 0},
        {{u"t"_qs, u"f"_qs, u"abc"_qs}, 1, 0}, // no digits
        {{u"t"_qs, u"f"_qs, u" 12x"_qs}, 1, 12},
        {{u"t"_qs, u"f"_qs, u"-3"_qs}, 1, -3},
        {{u"t"_qs, u"f"_qs, u"1e3"_qs}, 1, 1}, // an integer reader, not a real reader
        {{u"t"_qs, u"f"_qs, u"99999999999"_qs}, 1, 2147483647},
        {{u"t"_qs, u"f"_qs}, 0, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CatalogLine::flagValue(c.fields, 2, c.fallback), c.value) << c.fields.join(u'|').toStdString();
}
