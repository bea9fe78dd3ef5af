#include "gallery/Catalog.h"
#include "gallery/PaletteLog.h"

#include <gtest/gtest.h>

namespace {

// A log on a fixed wall clock and a monotonic clock the test moves.
class FixedClockLog : public ::testing::Test {
protected:
    PaletteLog::Clock clock() {
        return {[this] { return wall; }, [this] { return monotonic; }};
    }
    QDateTime wall{QDate(2026, 3, 7), QTime(9, 5, 4)};
    qint64 monotonic = 1000;
    PaletteLog log{clock()};
};

} // namespace

TEST_F(FixedClockLog, EveryKindHasItsText) {
    acmdURLinfo source;
    source.location = u"http://art.example/%3Ahome/"_qs;
    acmdGroupInfo group;
    group.folder = u"set1/"_qs;
    acmdFileInfo work;
    work.fileName = u"wave.acmd"_qs;
    work.fetchedBytes = 2345;
    const struct {
        int kind;
        QString text;
        QString line;
    } cases[] = {
        {PaletteLog::Opened, {}, u"2026/03/07/09:05:04: 開館."_qs},
        {PaletteLog::GroupSet, u"第一集"_qs, u"2026/03/07/09:05:04: 作品グループを「第一集」に設定."_qs},
        {PaletteLog::Shown, u"波"_qs, u"2026/03/07/09:05:04:「波」の展示."_qs},
        {PaletteLog::ViewingStarted, u"波"_qs, u"2026/03/07/09:05:04:「波」の鑑賞開始."_qs},
        {PaletteLog::TourStarted, {}, u"2026/03/07/09:05:04:巡回開始."_qs},
        {PaletteLog::TourEnded, {}, u"2026/03/07/09:05:04:巡回終了."_qs},
        {PaletteLog::Loaded, Catalog::fetchedText(source, group, work),
         u"2026/03/07/09:05:04: http://art.example/%3Ahome/set1/wave.acmd ( 2345 byte) の読込."_qs},
        {99, u"x"_qs, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(log.line(c.kind, c.text), c.line) << c.kind;
    EXPECT_EQ(PaletteLog::sizeLine(1600, 1000), u"ギャラリーの広さ（ 1600 , 1000 )"_qs);
    EXPECT_EQ(PaletteLog::runClickLine(1, true), u"runClick 1 1"_qs);
    EXPECT_EQ(PaletteLog::runClickLine(0, false), u"runClick 0 0"_qs);
}

TEST_F(FixedClockLog, AViewingEndCountsWholeSecondsRightAligned) {
    const struct {
        qint64 ms;
        const char16_t* seconds;
    } cases[] = {{0, u"   0"}, {999, u"   0"}, {75'000, u"  75"}, {75'999, u"  75"}, {9'999'000, u"9999"},
                 {12'345'000, u"12345"}};
    int window = 0;
    for (const auto& c : cases) {
        log.line(PaletteLog::ViewingStarted, u"波"_qs, &window);
        monotonic += c.ms;
        wall = wall.addSecs(3600); // a wall clock change does not count
        EXPECT_EQ(log.line(PaletteLog::ViewingEnded, u"波"_qs, &window),
                  PaletteLog::stamp(wall) + u":「波」の鑑賞終了.("_qs + QString::fromUtf16(c.seconds) + u" 秒)"_qs);
    }
}

TEST_F(FixedClockLog, EachWindowCountsFromItsOwnStart) {
    int first = 0, second = 0;
    log.line(PaletteLog::ViewingStarted, u"一"_qs, &first);
    monotonic += 10'000;
    const QDateTime secondStart = wall.addSecs(10);
    wall = secondStart;
    log.line(PaletteLog::ViewingStarted, u"二"_qs, &second);
    EXPECT_EQ(log.viewingStart(), secondStart);
    monotonic += 65'000;
    EXPECT_TRUE(log.line(PaletteLog::ViewingEnded, u"一"_qs, &first).endsWith(u"の鑑賞終了.(  75 秒)"_qs))
        << "the second start does not shorten the first viewing";
    monotonic += 5'000;
    EXPECT_TRUE(log.line(PaletteLog::ViewingEnded, u"二"_qs, &second).endsWith(u"(  70 秒)"_qs));
    EXPECT_TRUE(log.line(PaletteLog::ViewingEnded, u"二"_qs, &second).endsWith(u"「二」の鑑賞終了.(   ? 秒)"_qs))
        << "an end without a start of its own shows no made-up number";
}
