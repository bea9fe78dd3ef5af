// The animation block: settings with their reports, palette, names, declarations and data files.
#include "PlainBlockInput.h"
#include "TestSupport.h"
#include "anime/AnimeBlock.h"
#include "anime/AnimeCanvas.h"
#include "anime/AnimeFiles.h"
#include "anime/AnimeHost.h"
#include "anime/AnimeReaders.h"
#include "anime/AnimeState.h"
#include "common/ShowCheck.h"

#include <QBuffer>
#include <QImage>
#include <stdexcept>
#include <gtest/gtest.h>

namespace {

const QString kCaption = QStringLiteral("ヴィモラ設定のパラメータに不備があります！");

struct FakeHost : AnimeHost {
    void logMessage(const QString& line) override { log.append(line); }
    AnimeWindowGeometry geometry() const override { return geo; }
    void moveWindow(int left, int top) override { moves.append({left, top}); geo.left = left, geo.top = top; }
    void resizeWindow(int w, int h) override { geo.width = w, geo.height = h; }
    void maximise() override { maximised = true; }
    void resetView() override { ++viewResets; }
    void paintFrame(uint32_t color, bool) override { painted = color; }
    void setWallColor(uint32_t color) override { wall = color; }
    QStringList log;
    AnimeWindowGeometry geo;
    QList<QPair<int, int>> moves;
    bool maximised = false;
    int viewResets = 0;
    uint32_t painted = 0, wall = 0;
};

// An animation with a fake window, its block reader and a message sink of its own.
struct Block {
    FakeHost host;
    AnimeState state;
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
    int result = 0;
    Block() { state.host = &host; }
    int run(const QStringList& lines, const QString& base = QString()) {
        PlainBlockInput input(lines, base);
        result = runAnimeSet(state, input);
        return result;
    }
};

QString dot(const QString& params) { return kindCode(Kind::DotPtn) + u':' + params; }

} // namespace

TEST(AnimeBlock, SettingsReportFaultyParametersWithLineAndText) {
    struct Case {
        QString line;
        QString faulty; // empty: accepted
    } cases[] = {
        {settingCode(Setting::BgColor) + ": 24,24,56", {}},
        {settingCode(Setting::BgColor) + ":256,0,0", "bgcolor"},
        {settingCode(Setting::BgColor) + ":1,2", "bgcolor"},
        {settingCode(Setting::Color) + ":300,1,2,3", {}},
        {settingCode(Setting::Color) + ":65536,1,2,3", "color"},
        {settingCode(Setting::Color) + ":5,1,2,-1", "color"},
        {settingCode(Setting::Canvas) + ":10,20", "canvas"},
        {settingCode(Setting::Window) + ":10", "window"},
        {settingCode(Setting::Canvas) + ":10,20,300,200", {}},
        {settingCode(Setting::FramePtn) + ":0,2", "wid"},
        {settingCode(Setting::FramePtn) + ":2,257", "hei"},
        {settingCode(Setting::Camera) + ":" + attrCode(Attr::X) + "=100", {}},
        {"unknown line", {}},
        {dot("b,0,1,0,0,0,0,0,1,1"), "wid"},
        {dot("b,1,1001,0,0,0,0,0,1,1"), "hei"},
        {dot("b,1,1,16385,0,0,0,0,1,1"), "lft"},
        {dot("b,1,1,0,-16385,0,0,0,1,1"), "top"},
        {dot("b,1,1,0,0,2,0,0,1,1"), "rev"},
        {dot("b,1,1,0,0,0,1001,0,1,1"), "mvx"},
        {dot("b,1,1,0,0,0,0,x,1,1"), "mvy"},
        {dot("b,1,1,0,0,0,0,0,101,1"), "kom"},
        {dot("b,1,1,0,0,0,0,0,1,256"), "disp"},
        {dot("b,1,1,0,0,0,0,0,1"), "disp"},
        {kindCode(Kind::Message) + ":m,0,0,10,12,16,0,hi", "color"},
        {kindCode(Kind::Message) + ":m,0,0,10,12,1,-3,hi", "bgcolor"},
        {kindCode(Kind::Message) + ":m,0,0,401,12,1,0,hi", "width"},
        {kindCode(Kind::Message) + ":m,0,0,10,12,1,0,hi,10001", "count"},
        {kindCode(Kind::Maze) + ":maze,1,2", "kind"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line.toStdString());
        Block b;
        const int result = b.run({"' comment", c.line});
        if (c.faulty.isEmpty()) {
            EXPECT_EQ(result, 0);
            EXPECT_TRUE(b.sink.records.empty());
            continue;
        }
        EXPECT_EQ(result, -1);
        const QString report = QStringLiteral(" 2 行 %1 (%2)").arg(c.line, c.faulty);
        ASSERT_EQ(b.sink.records.size(), 1u);
        EXPECT_EQ(b.sink.records[0].text, report);
        EXPECT_EQ(b.sink.records[0].caption, kCaption);
        EXPECT_EQ(b.sink.records[0].style, 0);
        EXPECT_EQ(b.host.log, QStringList{report});
    }
}

TEST(AnimeBlock, AFaultStopsTheBlockButKeepsEarlierCharacters) {
    Block b;
    b.run({dot("a,1,1,0,0,0,0,0,1,1"), "1", settingCode(Setting::BgColor) + ":1,2", dot("c,1,1,0,0,0,0,0,1,1")});
    EXPECT_EQ(b.result, -1);
    ASSERT_EQ(b.state.characters.size(), 1u);
    EXPECT_EQ(b.state.nameIndex.size(), 1u); // the index is rebuilt after a failure too
}

TEST(AnimeBlock, OutOfRangeIndexAndFaultsInKindReaders) {
    // An array index out of range while a parameter is evaluated: logged, no message window.
    struct RangeInput : PlainBlockInput {
        using PlainBlockInput::PlainBlockInput;
        std::optional<double> evaluate(const QString& field) override {
            if (field == u"R") {
                setStatus(3);
                return 0.0;
            }
            return PlainBlockInput::evaluate(field);
        }
    };
    Block b;
    const QString line = settingCode(Setting::BgColor) + ":R,0,0";
    RangeInput range({dot("a,1,1,0,0,0,0,0,1,1"), "1", line, dot("b,1,1,0,0,0,0,0,1,1")});
    EXPECT_EQ(runAnimeSet(b.state, range), 3);
    EXPECT_TRUE(b.sink.records.empty());
    EXPECT_EQ(b.host.log, (QStringList{QStringLiteral("配列番号が範囲外です。"), QStringLiteral(" 3 行 %1 (Out Of Range)").arg(line)}));
    EXPECT_EQ(b.state.characters.size(), 1u);

    // A kind reader of another part that throws: the block fails, the index stays sound.
    Block c;
    c.state.kindReaders[Kind::Maze] = [](AnimeState& state, AnimeBlockInput&, const QString&) -> Faulty {
        state.createCharacter("maze", 0, 0, 1, 1, 1, 1);
        throw std::runtime_error("board fault");
    };
    PlainBlockInput input({dot("a,1,1,0,0,0,0,0,1,1"), kindCode(Kind::Maze) + ":m,1"});
    EXPECT_EQ(runAnimeSet(c.state, input), -1);
    EXPECT_EQ(input.status(), 1);
    EXPECT_EQ(c.state.nameIndex.size(), c.state.characters.size());
}

TEST(AnimeBlock, SettingEffects) {
    Block b;
    b.run({settingCode(Setting::BgColor) + ": 24,24,56", settingCode(Setting::Theme) + "\"タイトル\"",
           settingCode(Setting::WallColor) + ":1,2,3", settingCode(Setting::Frame) + ":8,255,0,0",
           settingCode(Setting::FramePtn) + ":4,2", "1.0A", "f", settingCode(Setting::Data) + ":3,nums.txt"});
    EXPECT_EQ(b.result, 0);
    EXPECT_EQ(b.state.bgColor, 0x381818u);
    EXPECT_EQ(b.state.theme, QStringLiteral("タイトル"));
    EXPECT_EQ(b.host.wall, 0x030201u);
    EXPECT_EQ(b.host.painted, 0x0000FFu);
    EXPECT_EQ(b.state.frameWidth, 8);
    ASSERT_TRUE(b.state.framePattern);
    EXPECT_EQ(b.state.framePattern->cells, (std::vector<int>{1, -1, -1, 10, 15, -1, -1, -1}));
}

TEST(AnimeBlock, CanvasPlacement) {
    {
        Block b; // Center on a fresh window centres the canvas in the gallery area
        b.host.geo.areaWidth = 1600, b.host.geo.areaHeight = 900, b.host.geo.topPanelHeight = 40;
        b.run({settingCode(Setting::Canvas) + ":" + attrCode(Attr::Center) + ",750,500"});
        EXPECT_EQ(b.result, 0);
        EXPECT_EQ(b.state.canvasWidth, 750);
        EXPECT_EQ(b.state.canvasHeight, 500);
        ASSERT_EQ(b.host.moves.size(), 1);
        EXPECT_EQ(b.host.moves[0], qMakePair((1600 - 750) / 2 + 50, (900 - 500 - 20) / 2));
        EXPECT_EQ(b.host.viewResets, 1);
        // Once a canvas size is set, Center keeps the position and only resizes.
        b.run({settingCode(Setting::Canvas) + ":" + attrCode(Attr::Center) + ",300,200"});
        EXPECT_EQ(b.host.moves.last(), b.host.moves.first());
        EXPECT_EQ(b.state.canvasWidth, 300);
    }
    {
        Block b; // a negative width is taken from the gallery area; one beyond the screen is cut
        b.run({settingCode(Setting::Canvas) + ":0,0,-100,5000"});
        EXPECT_EQ(b.state.canvasWidth, b.host.geo.areaWidth - 100);
        EXPECT_EQ(b.state.canvasHeight, b.host.geo.screenHeight);
    }
    {
        Block b; // left and top only: the window moves, and the line is still reported
        b.run({settingCode(Setting::Canvas) + ":10,20"});
        EXPECT_EQ(b.result, -1);
        EXPECT_EQ(b.host.moves, (QList<QPair<int, int>>{{10, 20}}));
    }
    {
        Block b;
        b.run({settingCode(Setting::Canvas) + ":" + attrCode(Attr::max)});
        EXPECT_EQ(b.result, 0);
        EXPECT_TRUE(b.host.maximised);
    }
}

TEST(AnimeBlock, UniverseWindowsComeFromTheHost) {
    struct Window : AnimeKind {
        int kindCode() const override { return Kind::nebu; }
        void modeGiven(int mode) override { lastMode = mode; }
        int lastMode = -1;
    };
    struct UniverseHost : FakeHost {
        std::unique_ptr<AnimeKind> openUniverseWindow(AnimeInfo&, const QString& folder, const QString& options,
                                                      int mode) override {
            opened.append(QStringLiteral("%1|%2|%3").arg(folder, options).arg(mode));
            return std::make_unique<Window>();
        }
        QStringList opened;
    } host;
    Block b;
    b.state.host = &host;
    PlainBlockInput input({kindCode(Kind::nebu) + ":tree,\"data\",\"opt\"",
                           kindCode(Kind::startrek) + ":trip,c:/far"},
                          "/works");
    EXPECT_EQ(runAnimeSet(b.state, input), 0);
    EXPECT_EQ(host.opened, (QStringList{"/works/data|opt|0", "c:/far||1"}));
    ASSERT_EQ(b.state.characters.size(), 2u);
    AnimeInfo& tree = *b.state.characters[0];
    EXPECT_EQ(tree.width, 640);
    EXPECT_EQ(tree.height, 400);
    EXPECT_EQ(tree.chaseMode, 1);
    tree.setAttribute(Attr::mode, 999); // passed to the window whatever its value
    EXPECT_EQ(static_cast<Window&>(*tree.kind).lastMode, 999);
    EXPECT_EQ(tree.mode, 0);
}

TEST(AnimeBlock, PaletteGrowsAndResets) {
    Block b;
    b.run({settingCode(Setting::Color) + ":3,255,0,0"});
    resetAnimation(b.state);
    EXPECT_EQ(b.state.palette.size(), 16u);
    EXPECT_EQ(b.state.paletteColor(3), 0x0000FFu); // a palette that never grew keeps its colours

    b.run({settingCode(Setting::Color) + ":300,0,255,0"});
    ASSERT_GT(b.state.palette.size(), 300u);
    EXPECT_EQ(b.state.highestColor, 300);
    EXPECT_EQ(b.state.paletteColor(299), 0u);
    EXPECT_EQ(b.state.paletteColor(300), 0x00FF00u);
    resetAnimation(b.state);
    EXPECT_EQ(b.state.palette.size(), 16u);
    EXPECT_EQ(b.state.highestColor, 15);
    EXPECT_EQ(b.state.paletteColor(3), 0u);
    // The bound follows the palette: colour 300 is faulty again after the reset.
    b.run({kindCode(Kind::Message) + ":m,0,0,10,12,300,0,hi"});
    EXPECT_EQ(b.result, -1);
}

TEST(AnimeBlock, NamesAndSameNameIndexes) {
    Block b;
    b.run({dot("Ball,1,1,0,0,0,0,0,1,1"), dot("other,1,1,0,0,0,0,0,1,1"), dot("ball,1,1,0,0,0,0,0,1,1"),
           dot("BALL,1,1,0,0,0,0,0,1,1"), dot(",1,1,0,0,0,0,0,1,1")});
    ASSERT_EQ(b.state.characters.size(), 5u);
    EXPECT_EQ(b.state.characters[0]->sameNameIndex(), 0);
    EXPECT_EQ(b.state.characters[2]->sameNameIndex(), 1);
    EXPECT_EQ(b.state.characters[3]->sameNameIndex(), 2);
    EXPECT_EQ(b.state.characters[4]->name, QStringLiteral("anime_0004"));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(b.state.findCharacter("bAlL", i), b.state.characters[size_t(i == 0 ? 0 : i + 1)].get());
    AnimeInfo* any = b.state.findCharacter("ball", -1);
    ASSERT_NE(any, nullptr);
    EXPECT_EQ(any->name.toLower(), QStringLiteral("ball"));
    EXPECT_TRUE(b.host.log.isEmpty());
    EXPECT_EQ(b.state.findCharacter("ball", 3), nullptr);
    EXPECT_EQ(b.state.findCharacter("nobody", -1), nullptr);
    EXPECT_EQ(b.host.log, (QStringList{QStringLiteral("アニメキャラ（ ball[3] ）は設定されていません！"),
                                       QStringLiteral("アニメキャラ（ nobody[-1] ）は設定されていません！")}));
}

TEST(AnimeBlock, DotPatternRows) {
    Block b;
    b.run({settingCode(Setting::Color) + ":5,10,20,30",
           // plain rows: 2 frames of 4 x 2, a short row passed over
           dot("p,4,2,0,0,0,0,0,2,1"), "05.F", "12", "aaaa", "1111", "2222",
           // wide rows: frame 0, separator, frame 1; the second row ends early
           dot("w,4,2,0,0,1,0,0,2,1"), "1230 4567", "1111 222",
           // kom 3 with rows that run out: the rest stays transparent
           dot("t,2,1,0,0,0,0,0,3,1"), "11"});
    ASSERT_EQ(b.result, 0);
    const uint32_t p5 = 0x1E140A;
    AnimeInfo& p = *b.state.characters[0];
    const std::vector<int32_t> plain{0, int32_t(p5), -1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(p.pixels, plain); // '0' is black, not transparent; colours fixed when created
    AnimeInfo& w = *b.state.characters[1];
    // rev = 1 mirrors every row
    EXPECT_EQ(w.pixelAt(0, 0, 0), 0);
    EXPECT_EQ(w.pixelAt(1, 0, 2), int32_t(p5));
    EXPECT_EQ(w.pixelAt(1, 1, 0), -1); // a dot missing at the end of a wide row is transparent
    EXPECT_EQ(w.pixelAt(1, 1, 1), 0);
    EXPECT_EQ(w.pixelAt(1, 1, 3), 0);
    AnimeInfo& t = *b.state.characters[2];
    EXPECT_EQ(t.pixelAt(0, 0, 0), 0);
    EXPECT_EQ(t.pixelAt(1, 0, 0), -1);
    EXPECT_EQ(t.pixelAt(2, 0, 1), -1);
    // A later Color does not change the pattern.
    b.run({settingCode(Setting::Color) + ":5,1,1,1"});
    EXPECT_EQ(p.pixelAt(0, 0, 1), int32_t(p5));
}

TEST(AnimeBlock, DotPatternBeyondTheBudgetIsRefused) {
    Block b;
    b.state.pixelBudget = 1000;
    b.run({dot("big,100,10,0,0,0,0,0,2,1")});
    EXPECT_EQ(b.result, -1);
    EXPECT_TRUE(b.state.characters.empty());
    b.run({dot("fits,100,10,0,0,0,0,0,1,1")});
    EXPECT_EQ(b.result, 0);
}

TEST(AnimeBlock, MessagesWithCount) {
    Block b;
    b.state.bgColor = 0x123456;
    b.run({settingCode(Setting::Color) + ":2,255,0,0", kindCode(Kind::Message) + ":m,5,6,10,12,2,-1,\"abc\",5",
           kindCode(Kind::Message) + ":n,0,0,10,12,-1,-2,#7.5"});
    ASSERT_EQ(b.result, 0);
    ASSERT_EQ(b.state.characters.size(), 6u);
    for (int i = 0; i < 5; ++i) {
        const AnimeInfo& m = *b.state.characters[size_t(i)];
        EXPECT_EQ(m.sameNameIndex(), i);
        EXPECT_EQ(m.X, 50);
        EXPECT_EQ(m.Y, 60);
        EXPECT_EQ(m.width, 10);
        EXPECT_EQ(m.height, 12);
        EXPECT_EQ(m.textColor, 0xFFu);
        EXPECT_EQ(m.backColor, 0x123456);
        EXPECT_EQ(m.text, QStringLiteral("\"abc\""));
    }
    const AnimeInfo& n = *b.state.characters[5];
    EXPECT_EQ(n.textColor, 0x123456u);
    EXPECT_EQ(n.backColor, -2);
    EXPECT_EQ(n.text, QStringLiteral("7.500000"));
}

namespace {

QByteArray bmpBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return bytes;
}

QImage picture(int w, int h, QRgb fill) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

} // namespace

TEST(AnimeBlock, BitmapFramesWithKeyPixel) {
    TempFolder folder;
    QImage a = picture(4, 2, qRgb(0, 0, 255));
    a.setPixel(0, 0, qRgb(255, 0, 0));
    a.setPixel(2, 0, qRgb(9, 9, 9)); // the key colour
    a.setPixel(3, 1, qRgb(9, 9, 9));
    folder.write("a.bmp", bmpBytes(a));
    QImage second = picture(4, 2, qRgb(0, 255, 0));
    second.setPixel(2, 0, qRgb(7, 7, 7));
    folder.write("b.bmp", bmpBytes(second));
    folder.write("odd.bmp", bmpBytes(picture(5, 2, qRgb(0, 255, 0))));
    folder.write("narrow.bmp", bmpBytes(picture(2, 1, qRgb(9, 9, 9))));
    const QString bmp = kindCode(Kind::BitMap) + u':';
    Block b;
    b.run({bmp + "two,1,2,0,3,0,2,1,a.bmp,b.bmp", bmp + "next,0,0,1,0,0,2,1,a.bmp", "a.bmp,b.bmp",
           bmp + "narrow,0,0,0,0,0,1,1,2,3,narrow.bmp"},
          folder.path());
    ASSERT_EQ(b.result, 0);
    ASSERT_EQ(b.state.characters.size(), 3u);
    const AnimeInfo& two = *b.state.characters[0];
    EXPECT_EQ(two.width, 4);
    EXPECT_EQ(two.height, 2);
    EXPECT_EQ(two.vX, 3);
    EXPECT_EQ(two.pixelAt(0, 0, 0), 0x0000FF);
    EXPECT_EQ(two.pixelAt(0, 0, 1), 0xFF0000);
    EXPECT_EQ(two.pixelAt(0, 0, 2), -1);
    EXPECT_EQ(two.pixelAt(0, 1, 3), -1);
    EXPECT_EQ(two.pixelAt(1, 0, 0), 0x00FF00);
    const AnimeInfo& next = *b.state.characters[1]; // names from the next line, mirrored
    EXPECT_EQ(next.pixelAt(0, 0, 3), 0x0000FF);
    EXPECT_EQ(next.pixelAt(1, 1, 0), 0x00FF00);
    const AnimeInfo& narrow = *b.state.characters[2]; // no key pixel: nothing transparent
    EXPECT_EQ(narrow.zoomX, 2);
    EXPECT_EQ(narrow.zoomY, 3);
    EXPECT_EQ(narrow.pixelAt(0, 0, 1), 0x090909);

    Block mismatch;
    mismatch.run({bmp + "m,0,0,0,0,0,2,1,a.bmp,odd.bmp"}, folder.path());
    EXPECT_EQ(mismatch.result, -1);
    ASSERT_EQ(mismatch.sink.records.size(), 2u);
    EXPECT_EQ(mismatch.sink.records[0].text, QStringLiteral("ＢＭＰファイルのサイズが不揃いです！"));
    EXPECT_EQ(mismatch.sink.records[0].caption, QStringLiteral("ビットマップの設定"));
    EXPECT_TRUE(mismatch.sink.records[1].text.endsWith("(file)"));

    Block missing;
    missing.run({bmp + "m,0,0,0,0,0,1,1,none.bmp"}, folder.path());
    EXPECT_TRUE(missing.host.log.value(0).endsWith("(koma)"));

    Block later; // a later missing frame stops the loading without a message
    later.run({bmp + "m,0,0,0,0,0,2,1,a.bmp,none.bmp"}, folder.path());
    EXPECT_EQ(later.result, 0);
    EXPECT_EQ(later.state.characters[0]->pixelAt(1, 0, 0), -1);
}

TEST(AnimeBlock, BitmapWithAHugeHeaderIsRefusedBeforeDecoding) {
    TempFolder folder;
    QByteArray bytes = bmpBytes(picture(4, 4, qRgb(1, 2, 3)));
    const int32_t huge = 100000;
    memcpy(bytes.data() + 18, &huge, 4);
    memcpy(bytes.data() + 22, &huge, 4);
    folder.write("huge.bmp", bytes);
    Block b;
    b.run({kindCode(Kind::BitMap) + ":h,0,0,0,0,0,1,1,huge.bmp"}, folder.path());
    EXPECT_EQ(b.result, -1);
    EXPECT_TRUE(b.host.log.value(0).endsWith("(file)"));
}

TEST(AnimeFiles, DataPaths) {
    EXPECT_EQ(animeDataPath("http://h/w", "/a.bmp"), QStringLiteral("http://h/w/a.bmp"));
    EXPECT_EQ(animeDataPath("/w/", "a.bmp"), QStringLiteral("/w/a.bmp"));
    EXPECT_EQ(animeDataPath("/w", "a.bmp"), QStringLiteral("/w/a.bmp"));
    EXPECT_EQ(animeDataPath("/w/", "c:/a.bmp"), QStringLiteral("c:/a.bmp"));
}
