// Frame strips: the rim and checkerboard, and the pattern tiled on each side.
#include "anime/AnimeCanvas.h"
#include "anime/AnimeFrame.h"
#include "anime/AnimeState.h"

#include <gtest/gtest.h>

namespace {

// The strip as rows of characters: 'c' the colour, 'd' the dark checker, '.' anything else.
QStringList rowsOf(const QImage& strip, uint32_t color, uint32_t dark = 0x080800) {
    QStringList rows;
    for (int y = 0; y < strip.height(); ++y) {
        QString row;
        for (int x = 0; x < strip.width(); ++x) {
            const uint32_t v = colorOfRgb(strip.pixel(x, y));
            row += v == color ? u'c' : (v == dark ? u'd' : u'.');
        }
        rows.append(row);
    }
    return rows;
}

} // namespace

TEST(AnimeFrame, RimAndCheckerboard) {
    QImage top(10, 6, QImage::Format_RGB32);
    paintFrameStrip(top, FrameSide::Top, 0x0000FF, 100);
    EXPECT_EQ(rowsOf(top, 0x0000FF), (QStringList{"cccccccccc", "cccccccccc", "cccccccccc", "cccccccccc",
                                                  "ccccccdccc", "ccccccdccc"}));
    QImage left(8, 6, QImage::Format_RGB32);
    paintFrameStrip(left, FrameSide::Left, 0x0000FF, 100);
    EXPECT_EQ(rowsOf(left, 0x0000FF),
              (QStringList{"ccccccdd", "ccccccdd", "ccccddcc", "ccccddcc", "ccccccdd", "ccccccdd"}));
    paintFrameStrip(left, FrameSide::Left, 0x00FF00, 40); // small zoom: plain colour
    EXPECT_EQ(rowsOf(left, 0x00FF00).join(QString()), QString(48, u'c'));
}

TEST(AnimeFrame, PatternTiles) {
    FramePattern pattern{3, 2, {1, -1, 2, -1, 1, -1}};
    std::vector<uint32_t> palette(16, 0);
    palette[1] = 0x0000FF;
    palette[2] = 0x00FF00;
    auto paint = [&](FrameSide side, int w, int h) {
        QImage strip(w, h, QImage::Format_RGB32);
        strip.fill(Qt::white);
        paintFramePatternStrip(strip, side, pattern, palette);
        QStringList rows;
        for (int y = 0; y < h; ++y) {
            QString row;
            for (int x = 0; x < w; ++x) {
                const uint32_t v = colorOfRgb(strip.pixel(x, y));
                row += v == 0x0000FF ? u'1' : (v == 0x00FF00 ? u'2' : u'.');
            }
            rows.append(row);
        }
        return rows;
    };
    EXPECT_EQ(paint(FrameSide::Top, 7, 2), (QStringList{"1.21.21", ".1..1.."}));
    EXPECT_EQ(paint(FrameSide::Bottom, 4, 2), (QStringList{".1..", "1.21"}));
    EXPECT_EQ(paint(FrameSide::Left, 2, 3), (QStringList{"1.", ".1", "2."}));
    EXPECT_EQ(paint(FrameSide::Right, 2, 3), (QStringList{".1", "1.", ".2"}));
}
