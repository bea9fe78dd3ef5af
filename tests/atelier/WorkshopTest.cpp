#include "script/QStringPrinter.h"
#include "TestSupport.h"
#include "atelier/WorkshopImage.h"
#include "atelier/WorkshopModel.h"
#include "common/Choosers.h"
#include "common/Platform.h"
#include "common/ShowCheck.h"

#include <QBuffer>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

namespace {

constexpr QRgb W = 0xFFFFFFFF;
constexpr QRgb K = 0xFF000000;
constexpr QRgb R = 0xFFFF0000;
constexpr QRgb G = 0xFF00FF00;

// A picture from rows of pixels.
QImage picture(const std::vector<std::vector<QRgb>>& rows) {
    QImage image(int(rows[0].size()), int(rows.size()), QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) image.setPixel(x, y, rows[size_t(y)][size_t(x)]);
    return image;
}

QImage filled(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

int blackCount(const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) n += isBlackPixel(image.pixel(x, y));
    return n;
}

TEST(WorkshopImageTest, InvertTurnsBlackWhiteAndEverythingElseBlack) {
    const struct { QRgb in, out; } cases[] = {{K, W}, {W, K}, {R, K}, {0xFF010000, K}, {qRgba(0, 0, 0, 0), W}};
    for (const auto& c : cases) {
        const QImage out = invertBlack(picture({{c.in}}));
        EXPECT_EQ(out.pixel(0, 0), c.out) << std::hex << c.in;
    }
    EXPECT_TRUE(invertBlack(QImage()).isNull());
}

TEST(WorkshopImageTest, OutlineKeepsTheEdgesOfBlackShapes) {
    const struct {
        const char* name;
        QSize size;
        QRect square;
        int black;
    } cases[] = {
        {"5x5 square inside", {9, 9}, {2, 2, 5, 5}, 16},
        {"square filling the picture keeps its border", {5, 5}, {0, 0, 5, 5}, 16},
        {"3x3 square loses its centre", {5, 5}, {1, 1, 3, 3}, 8},
        {"2x2 square has no inside", {4, 4}, {1, 1, 2, 2}, 4},
        {"10x2 bar has no inside", {12, 4}, {1, 1, 10, 2}, 20},
    };
    for (const auto& c : cases) {
        QImage image = filled(c.size.width(), c.size.height(), W);
        for (int y = c.square.top(); y <= c.square.bottom(); ++y)
            for (int x = c.square.left(); x <= c.square.right(); ++x) image.setPixel(x, y, K);
        const QImage out = outlineBlack(image);
        EXPECT_EQ(blackCount(out), c.black) << c.name;
        // What remains lies on the square's edge.
        for (int y = 0; y < out.height(); ++y)
            for (int x = 0; x < out.width(); ++x)
                if (isBlackPixel(out.pixel(x, y))) {
                    EXPECT_TRUE(x == c.square.left() || x == c.square.right() || y == c.square.top() || y == c.square.bottom())
                        << c.name << " at " << x << "," << y;
                }
    }
}

TEST(WorkshopImageTest, DotDataListsBlackPixelsTenToALine) {
    QImage three = filled(20, 10, W);
    three.setPixel(10, 5, K);
    three.setPixel(11, 5, K);
    three.setPixel(10, 6, K);
    EXPECT_EQ(dotData(three), (QStringList{u"data:3"_qs, u"  0,  0,   1,  0,   0,  1"_qs}));

    QImage row = filled(12, 3, W);
    for (int x = 0; x < 12; ++x) row.setPixel(x, 2, K);
    const QStringList lines = dotData(row);
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], u"data:12"_qs);
    EXPECT_EQ(lines[1].count(u','), 19) << "ten pixels, each x,y, joined by nine separators";
    EXPECT_TRUE(lines[1].startsWith(u"  0,  0,   1,  0"_qs));
    EXPECT_EQ(lines[2], u" 10,  0,  11,  0"_qs);

    EXPECT_EQ(dotData(filled(4, 4, W)), QStringList{u"data:0"_qs});
}

TEST(WorkshopImageTest, DotPatternNumbersColoursInOrderOfAppearance) {
    DotPattern one;
    ASSERT_EQ(dotPattern(picture({{W, R, R, W}, {G, W, R, G}}), 1, 1, one), CutFault::None);
    EXPECT_EQ(one.lines, (QStringList{u".11."_qs, u"2.12"_qs, QString(), u"color: 0,255,255,255"_qs,
                                      u"color: 1,255,  0,  0"_qs, u"color: 2,  0,255,  0"_qs}));

    // Two cells side by side: the left cell first, whole, then the right one.
    DotPattern two;
    ASSERT_EQ(dotPattern(picture({{W, R, G, W}, {R, R, W, G}}), 2, 1, two), CutFault::None);
    EXPECT_EQ(two.lines.mid(0, 6), (QStringList{u".1"_qs, u"11"_qs, QString(), u"2."_qs, u".2"_qs, QString()}));
    EXPECT_EQ(two.colourCount, 3);

    // The eleventh colour is written "A".
    std::vector<QRgb> row;
    for (int i = 0; i < 11; ++i) row.push_back(qRgb(i * 20, 0, 0));
    DotPattern many;
    ASSERT_EQ(dotPattern(picture({row}), 1, 1, many), CutFault::None);
    EXPECT_EQ(many.lines[0], u".123456789A"_qs);
    EXPECT_EQ(many.lines.last(), u"color:10,200,  0,  0"_qs);
}

TEST(WorkshopImageTest, CutsAndPatternsRefuseWhatTheyCannotDo) {
    const QImage small = filled(4, 2, W);
    QImage wide = filled(600, 1, W);
    QImage colourful(300, 1, QImage::Format_RGB32);
    for (int x = 0; x < 300; ++x) colourful.setPixel(x, 0, qRgb(x % 256, x / 256, 7));
    const struct {
        const char* name;
        QImage image;
        int columns, rows;
        CutFault pattern, tiles;
    } cases[] = {
        {"no picture", QImage(), 1, 1, CutFault::NoPicture, CutFault::NoPicture},
        {"zero columns", small, 0, 1, CutFault::BadCount, CutFault::BadCount},
        {"65 rows", small, 1, 65, CutFault::BadCount, CutFault::BadCount},
        {"cells narrower than a pixel", small, 5, 1, CutFault::EmptyCell, CutFault::EmptyCell},
        {"cells lower than a pixel", small, 1, 3, CutFault::EmptyCell, CutFault::EmptyCell},
        {"a cell row of 600 pixels", wide, 1, 1, CutFault::TooWide, CutFault::None},
        {"300 colours", colourful, 1, 1, CutFault::TooManyColours, CutFault::None},
    };
    for (const auto& c : cases) {
        DotPattern pattern;
        pattern.lines = QStringList{u"kept"_qs};
        EXPECT_EQ(dotPattern(c.image, c.columns, c.rows, pattern), c.pattern) << c.name;
        if (c.pattern != CutFault::None) {
            EXPECT_EQ(pattern.lines, QStringList{u"kept"_qs}) << c.name;
        }
        std::vector<QImage> tiles;
        EXPECT_EQ(cutTiles(c.image, c.columns, c.rows, tiles), c.tiles) << c.name;
        if (c.tiles != CutFault::None) {
            EXPECT_TRUE(tiles.empty()) << c.name;
        }
    }
    const struct { const char* text; int value; } fields[] = {
        {"4", 4}, {" 64 ", 64}, {"1", 1}, {"0", 0}, {"65", 0}, {"-2", 0}, {"abc", 0}, {"", 0}, {"2.5", 0}};
    for (const auto& f : fields) EXPECT_EQ(divisionCount(QString::fromUtf8(f.text)), f.value) << f.text;
}

class WorkshopFixture : public testing::Test {
protected:
    // A 40 x 20 picture whose eight 10 x 10 tiles each have their own colour.
    static QImage tiledPicture() {
        QImage image(40, 20, QImage::Format_RGB32);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 40; ++x) image.setPixel(x, y, qRgb(10 + (y / 10) * 4 + x / 10, 100, 200));
        return image;
    }
    QString writePicture(const QString& name, const QImage& image) { return folder.write(name, bmpBytes(image)); }
    QStringList texts() const {
        QStringList t;
        for (const auto& r : checks.records) t << r.text.section(u'\n', 0, 0);
        return t;
    }

    TempFolder folder;
    RecordingCheckSink checks;
    ScriptedChooserSink chooser;
    ScopedCheckSink scopedChecks{&checks};
    ScopedChooserSink scopedChooser{&chooser};
    WorkshopModel workshop{folder.path() + u'/'};
};

TEST_F(WorkshopFixture, CutsA40By20PictureIntoEightNumberedTiles) {
    chooser.paths = {writePicture(u"pic.BMP"_qs, tiledPicture())};
    ASSERT_TRUE(workshop.chooseBitmap());
    EXPECT_EQ(chooser.pathRequests[0].filter, u"*.bmp"_qs);
    EXPECT_EQ(chooser.pathRequests[0].startFolder, folder.path() + u'/');
    EXPECT_EQ(workshop.basePath(), folder.file(u"pic"_qs));

    ASSERT_TRUE(workshop.saveTiles(u"4"_qs, u"2"_qs));
    for (int n = 0; n < 8; ++n) {
        const QString name = folder.file(QString::asprintf("pic%02d.bmp", n));
        EXPECT_EQ(tileName(workshop.basePath(), n), name);
        QImageReader reader(name);
        const QImage tile = reader.read();
        ASSERT_FALSE(tile.isNull()) << name.toStdString();
        EXPECT_EQ(tile.size(), QSize(10, 10));
        EXPECT_EQ(qRed(tile.pixel(0, 0)), 10 + n) << "row-major order";
        EXPECT_EQ(qRed(tile.pixel(9, 9)), 10 + n);
    }
    EXPECT_FALSE(fileExists(folder.file(u"pic08.bmp"_qs)));
    EXPECT_EQ(workshop.lastTile().size(), QSize(10, 10));
    EXPECT_TRUE(checks.records.empty());

    // A second cut asks once before replacing them; "no" leaves them alone.
    checks.answers = {0};
    EXPECT_FALSE(workshop.saveTiles(u"2"_qs, u"2"_qs));
    EXPECT_EQ(texts(), QStringList{u"同じ名前の分割ファイルがあります。上書きしますか？(Y/N)"_qs});
    EXPECT_EQ(QImageReader(folder.file(u"pic00.bmp"_qs)).read().size(), QSize(10, 10));
}

TEST_F(WorkshopFixture, CommandsWithoutAPictureOrWithBadFieldsSayWhyAndWriteNothing) {
    workshop.invert();
    workshop.makeDotData();
    EXPECT_FALSE(workshop.saveTiles(u"4"_qs, u"2"_qs));
    EXPECT_FALSE(workshop.saveIcon());
    EXPECT_EQ(texts(), QStringList(4, u"ビットマップが読み込まれていません！"_qs));
    EXPECT_EQ(workshop.memo(), QStringList{u"ドットマップデータ"_qs});

    ASSERT_TRUE(workshop.loadBitmap(writePicture(u"p.bmp"_qs, filled(4, 2, W))));
    checks.records.clear();
    const struct { const char* columns; const char* rows; const char* message; } cases[] = {
        {"0", "1", "分割数は 1 から 64 までの整数で指定してください！"},
        {"x", "1", "分割数は 1 から 64 までの整数で指定してください！"},
        {"1", "65", "分割数は 1 から 64 までの整数で指定してください！"},
        {"8", "1", "分割した大きさが 0 ピクセルになります！"},
    };
    for (const auto& c : cases) {
        checks.records.clear();
        EXPECT_FALSE(workshop.saveTiles(QString::fromUtf8(c.columns), QString::fromUtf8(c.rows)));
        EXPECT_FALSE(workshop.makeDotPattern(QString::fromUtf8(c.columns), QString::fromUtf8(c.rows)));
        EXPECT_EQ(texts(), QStringList(2, QString::fromUtf8(c.message))) << c.columns << "x" << c.rows;
    }
    EXPECT_FALSE(fileExists(folder.file(u"p00.bmp"_qs)));
    EXPECT_EQ(workshop.memo(), QStringList{u"ドットマップデータ"_qs});
}

TEST_F(WorkshopFixture, SavingThePictureReplacesItsFileOnlyAfterAYes) {
    const QString path = writePicture(u"p.bmp"_qs, filled(3, 2, W));
    ASSERT_TRUE(workshop.loadBitmap(path));
    workshop.invert();
    checks.answers = {0, 1};
    EXPECT_FALSE(workshop.savePicture());
    EXPECT_EQ(QImageReader(path).read().pixel(0, 0), W);
    EXPECT_TRUE(workshop.savePicture());
    EXPECT_EQ(QImageReader(path).read().pixel(0, 0), K);
    EXPECT_EQ(texts(), QStringList(2, u"上書きしますか？(Y/N)"_qs));
}

TEST_F(WorkshopFixture, LoadRefusesWhatIsNotABitmap) {
    chooser.paths = {folder.write(u"a.png"_qs, "x"), folder.write(u"broken.bmp"_qs, "BM not really")};
    EXPECT_FALSE(workshop.chooseBitmap());
    EXPECT_FALSE(workshop.chooseBitmap());
    EXPECT_EQ(texts(), (QStringList{u"ビットマップファイルではありません！"_qs, u"ビットマップを読み込めませんでした！"_qs}));
    EXPECT_EQ(checks.records[0].caption, folder.file(u"a.png"_qs));
    EXPECT_TRUE(workshop.picture().isNull());
    EXPECT_TRUE(workshop.basePath().isEmpty());
}

TEST_F(WorkshopFixture, IconIsAValid32BitIcoWithTransparentCorners) {
    QImage image = filled(40, 40, qRgb(0x12, 0x34, 0x56));
    image.setPixel(5, 6, qRgb(0xFF, 0, 0));
    ASSERT_TRUE(workshop.loadBitmap(writePicture(u"p.bmp"_qs, image)));
    chooser.paths = {folder.file(u"icon"_qs)};
    ASSERT_TRUE(workshop.saveIcon());
    EXPECT_EQ(texts(), QStringList{u"拡張子「.ico」を付加しました！"_qs});
    QByteArray bytes;
    ASSERT_TRUE(readFileBytes(folder.file(u"icon.ico"_qs), bytes));

    const int imageSize = 40 + 32 * 32 * 4 + 32 * 4;
    ASSERT_EQ(bytes.size(), 22 + imageSize);
    const QByteArray head = QByteArray::fromHex("000001000100"     // reserved, icon, one image
                                                "20200000" "01002000" // 32 x 32, planes 1, 32 bits
                                                "a8100000" "16000000" // 4264 bytes at offset 22
                                                "28000000" "20000000" "40000000" "01002000");
    EXPECT_EQ(bytes.left(head.size()).toHex(), head.toHex());

    QBuffer buffer(&bytes);
    QImageReader reader(&buffer, "ico");
    const QImage back = reader.read();
    ASSERT_FALSE(back.isNull()) << reader.errorString().toStdString();
    EXPECT_EQ(back.size(), QSize(32, 32));
    EXPECT_TRUE(back.hasAlphaChannel());
    EXPECT_EQ(back.pixel(16, 16), qRgba(0x12, 0x34, 0x56, 255));
    EXPECT_EQ(back.pixel(5, 6), qRgba(0xFF, 0, 0, 255)) << "rows are not upside down";
    for (QPoint corner : {QPoint(0, 0), QPoint(31, 0), QPoint(0, 31), QPoint(31, 31), QPoint(3, 0), QPoint(1, 2)})
        EXPECT_EQ(qAlpha(back.pixel(corner)), 0) << corner.x() << "," << corner.y();
    EXPECT_EQ(qAlpha(back.pixel(4, 0)), 255);
    EXPECT_EQ(qAlpha(back.pixel(2, 2)), 255);

    // The desktop's own image loader reads it as a 32 x 32 picture with alpha, where installed.
    const QString pixbuf = QStandardPaths::findExecutable(u"gdk-pixbuf-csource"_qs);
    if (pixbuf.isEmpty()) return;
    QProcess dump;
    dump.start(pixbuf, {u"--raw"_qs, folder.file(u"icon.ico"_qs)});
    ASSERT_TRUE(dump.waitForFinished(20000));
    EXPECT_EQ(dump.exitCode(), 0) << dump.readAllStandardError().toStdString();
    const QByteArray out = dump.readAllStandardOutput();
    EXPECT_TRUE(out.contains("/* width (32) */") && out.contains("/* height (32) */")) << out.left(600).toStdString();
    EXPECT_TRUE(out.contains("pixdata_type (0x1010002)")) << "RGBA";
}

TEST_F(WorkshopFixture, IconOfASmallPictureIsTransparentBeyondItAndFollowsTheNameRules) {
    ASSERT_TRUE(workshop.loadBitmap(writePicture(u"p.bmp"_qs, filled(10, 8, qRgb(1, 2, 3)))));
    // Another extension: "no" writes nothing; then an existing file: "no" keeps it.
    folder.write(u"old.ico"_qs, "old");
    chooser.paths = {folder.file(u"x.png"_qs), folder.file(u"old.ico"_qs), folder.file(u"x.PNG"_qs)};
    checks.answers = {0, 0, 1};
    EXPECT_FALSE(workshop.saveIcon());
    EXPECT_FALSE(workshop.saveIcon());
    EXPECT_FALSE(fileExists(folder.file(u"x.ico"_qs)));
    QByteArray old;
    readFileBytes(folder.file(u"old.ico"_qs), old);
    EXPECT_EQ(old, QByteArray("old"));
    ASSERT_TRUE(workshop.saveIcon());
    EXPECT_EQ(texts(), (QStringList{u"拡張子を「.ico」に変更して保存しますか？(Y/N)"_qs, u"上書きしますか？(Y/N)"_qs,
                                    u"拡張子を「.ico」に変更して保存しますか？(Y/N)"_qs}));

    const QImage back = QImageReader(folder.file(u"x.ico"_qs)).read();
    ASSERT_EQ(back.size(), QSize(32, 32));
    EXPECT_EQ(back.pixel(5, 5), qRgba(1, 2, 3, 255));
    EXPECT_EQ(qAlpha(back.pixel(10, 5)), 0) << "right of the picture";
    EXPECT_EQ(qAlpha(back.pixel(5, 8)), 0) << "below the picture";
}

} // namespace
