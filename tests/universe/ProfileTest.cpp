// The profile viewer's arithmetic and the time range's stamps, without windows.
#include "UniverseFixture.h"

#include "universe/DateRange.h"
#include "universe/ProfileLayout.h"

#include "common/ShowCheck.h"

#include <gtest/gtest.h>

namespace {

TEST(Profile, ThumbnailsShrinkByTheZoomAndWrapAtTheBoxWidth) {
    int lowest = 0;
    const std::vector<QRect> one = thumbnailPlaces({QSize(640, 480)}, 10, 500, lowest);
    EXPECT_EQ(one, std::vector<QRect>{QRect(10, 10, 64, 48)});
    EXPECT_EQ(lowest, 58);
    // 100-wide thumbnails in a 350 box: 10 + 110 + 110 = 230, the third would pass 350 - 100.
    const std::vector<QRect> rows =
        thumbnailPlaces({QSize(1000, 500), QSize(1000, 800), QSize(1000, 500), QSize(1000, 500)}, 10, 350, lowest);
    EXPECT_EQ(rows, (std::vector<QRect>{QRect(10, 10, 100, 50), QRect(120, 10, 100, 80), QRect(10, 100, 100, 50),
                                        QRect(120, 100, 100, 50)}));
    EXPECT_EQ(lowest, 150);
    thumbnailPlaces({}, 10, 350, lowest);
    EXPECT_EQ(lowest, -1);
    EXPECT_EQ(fittedWidth(QSize(640, 480), 300, 77), 400);
    EXPECT_EQ(fittedWidth(QSize(640, 8), 300, 77), 77);
    EXPECT_EQ(fittedHeight(QSize(640, 480), 320, 5), 240);
}

TEST(Profile, PicturesOfAGalaxyAreItsOwnImageStars) {
    treeInfo tree(QStringLiteral("/"), QStringLiteral("/"));
    ASSERT_TRUE(readChart(tree, {"0|1|/p|0|0", "1|2|a.JPG|1|0", "1|2|note.txt|1|0", "1|1|sub|0|0", "2|2|deep.png|1|0",
                                 "1|2|b.bmp|1|0"}));
    const QStringList pictures = pictureStars(tree.root(), QStringLiteral("/p"), u'/');
    EXPECT_EQ(pictures, QStringList({"/p/a.JPG", "/p/b.bmp"})) << "deep.png belongs to sub";
    EXPECT_EQ(pictureStars(tree.root()->next, QStringLiteral("/p/a.JPG"), u'/'), QStringList({"/p/a.JPG"}));
    EXPECT_TRUE(pictureStars(tree.root()->next->next, QStringLiteral("/p/note.txt"), u'/').isEmpty());
}

TEST(Profile, ManyPicturesAskFirstAndNoneSaySo) {
    RecordingCheckSink sink;
    ScopedCheckSink installed(&sink);
    sink.defaultAnswer = 0;
    EXPECT_TRUE(mayShowPictures(50, true));
    EXPECT_TRUE(sink.records.empty());
    EXPECT_FALSE(mayShowPictures(51, true));
    EXPECT_EQ(sink.records.back().text, "51 個のイメージを表示しますか？");
    EXPECT_EQ(sink.records.back().style, 1);
    EXPECT_FALSE(mayShowPictures(0, true));
    EXPECT_EQ(sink.records.back().text, "この銀河には、イメージ[星]がありません！ ");
    EXPECT_FALSE(mayShowPictures(0, false));
    EXPECT_EQ(sink.records.back().text, "この[星]は、イメージ[星]ではありません！ ");
    EXPECT_EQ(sink.records.back().caption, "イメージ[星]の表示");
}

TEST(DateRange, MissingGroupsOpenTheRangeToTheWholePeriod) {
    struct Case {
        const char* text;
        uint64_t start, end;
    } cases[] = {
        {"2010/05/03", 20100503000000ULL, 20100503235959ULL},
        {"2010/5", 20100501000000ULL, 20100531235959ULL}, // the 31st stands for any month end
        {"2010", 20100101000000ULL, 20101231235959ULL},
        {"2010/05/03 12:30:15", 20100503123015ULL, 20100503123015ULL},
        {"2010/05/03 12", 20100503120000ULL, 20100503125959ULL},
        {"none", 0, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(rangeStamp(QString::fromUtf8(c.text), false), c.start) << c.text;
        EXPECT_EQ(rangeStamp(QString::fromUtf8(c.text), true), c.end) << c.text;
    }
}

} // namespace
