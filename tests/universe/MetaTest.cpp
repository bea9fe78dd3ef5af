// Star metadata without widgets: its parse and error bits, the generated pages, what a page does
// for each kind, where it goes, the mark band, the meta tour along the display chain, mouse-over
// and editing.
#include "UniverseFixture.h"

#include "universe/MetaPages.h"
#include "universe/NebuMeta.h"

#include "common/ShowCheck.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

TEST(MetaParse, FieldsAndErrorBits) {
    struct Case {
        const char* text;
        uint32_t errors;
        int kind, width, height;
        uint32_t windowId;
        int dwell;
        const char* kindField; // from `data` on; "" with errors
    } cases[] = {
        {"640,480,1,text:hello", 0, 3, 640, 480, 1, 1, "text:hello"},
        {"640,480,0,3,html:hello", 0, 4, 640, 480, 0, 3, "html:hello"},
        // The fourth comma follows the colon: no dwell field, the comma is data.
        {"640,480,0,text:a,b", 0, 3, 640, 480, 0, 1, "text:a,b"},
        {"640,480,0,-2,text:x", 0, 3, 640, 480, 0, 1, "text:x"},
        {"640,480,0,0,text:x", 0, 3, 640, 480, 0, 1, "text:x"},
        {" 40 , 30 ,12,TBL0:1,1,ff,x", 0, 6, 40, 30, 12, 1, "TBL0:1,1,ff,x"},
        {"10,10,0,Exec:/bin/true", 0, 7, 10, 10, 0, 1, "Exec:/bin/true"},
        {"10,10,0,http://x/", 0, 1, 10, 10, 0, 1, "http://x/"},
        {"10,10,0,file:a.htm", 0, 2, 10, 10, 0, 1, "file:a.htm"},
        {"10,10,0,imag:a.png", 0, 5, 10, 10, 0, 1, "imag:a.png"},
        {"640", 15, 0, 0, 0, 0, 1, ""},
        {"640,480", 14, 0, 0, 0, 0, 1, ""},
        {"640,480,0", 12, 0, 0, 0, 0, 1, ""},
        {"640,480,0,text", 8, 0, 0, 0, 0, 1, ""},
        {"9,480,0,text:x", 16, 0, 9, 480, 0, 1, ""},
        {"640,9,0,text:x", 32, 0, 640, 9, 0, 1, ""},
        {"x,y,0,text:x", 48, 0, 0, 0, 0, 1, ""},
        {"640,480,0,note:x", 64, 0, 640, 480, 0, 1, ""},
        // A kind prefix needs all five characters.
        {"640,480,0,tex:x", 64, 0, 640, 480, 0, 1, ""},
        // The colon is looked for after the third comma only.
        {"640:,480,0,text", 8, 0, 0, 0, 0, 1, ""},
    };
    for (const Case& c : cases) {
        const metaInfo m(QString::fromUtf8(c.text));
        SCOPED_TRACE(c.text);
        EXPECT_EQ(m.errors, c.errors);
        EXPECT_EQ(m.dataKind, c.kind);
        EXPECT_EQ(m.width, c.width);
        EXPECT_EQ(m.height, c.height);
        EXPECT_EQ(m.windowId, c.windowId);
        EXPECT_EQ(m.dwell, c.dwell);
        if (c.errors == 0) {
            EXPECT_EQ(m.text.mid(m.data), QString::fromUtf8(c.kindField));
        }
        EXPECT_EQ(m.mark().isEmpty(), c.errors != 0);
    }
}

TEST(MetaParse, LineBreaksAtTheEndGoAndInsideBecomeSpaces) {
    EXPECT_EQ(metaInfo(u"400,300,0,text:a\r\nb\n\r\n"_qs).text, u"400,300,0,text:a  b"_qs);
    EXPECT_EQ(metaInfo(u"400,300,0,text:a\rb"_qs).text, u"400,300,0,text:a b"_qs);
    // Invalid metadata keeps its text to be written back unchanged.
    EXPECT_EQ(metaInfo(u"note to self"_qs).text, u"note to self"_qs);
}

const QString kBodyStart = u"<body bgcolor='#000040' scroll='no'><center>"_qs;
const QString kTableStart = u"<table border=0 cellspacing=0 cellpadding=0 style='font-size:12pt;color:#ffff8;line-height:150%'>"_qs;
const QString kEnd = u"</center></body>"_qs;
QString rowStart(const char* colour) { return u"<tr style='color:#%1' align='center'><td nowrap>"_qs.arg(QLatin1String(colour)); }
QString cell(const QString& text) { return u"<td nowrap>&nbsp;"_qs + text + u"&nbsp;</td>"_qs; }

TEST(MetaPages, TableDocumentsExactly) {
    struct Case {
        const char* data;
        QString page;
    } cases[] = {
        {"2,1,FF0000,a,b", kBodyStart + kTableStart + rowStart("FF0000") + cell("a") + cell("b") + "</tr></table>" + kEnd},
        {"no commas", QString()},
        // Two rows, the second short of cells, then a second table.
        {"2,2,ff,a,b,8000,c,d,1,1,0,z",
         kBodyStart + kTableStart + rowStart("0000FF") + cell("a") + cell("b") + "</tr>" + rowStart("008000") + cell("c") +
             cell("d") + "</tr></table><br/>" + kTableStart + rowStart("000000") + cell("z") + "</tr></table>" + kEnd},
        // More rows announced than given: the fields run out after the colour.
        {"1,3,12", kBodyStart + kTableStart + rowStart("000012") + "</td></tr></table>" + kEnd},
        // A row count below 1 or a column count that is the last field ends the document.
        {"1,0,ff,a", kBodyStart + kEnd},
        {"0,1,ff,a", kBodyStart + kEnd},
        {"1,2", kBodyStart + kEnd},
        {"1,1,ff,a,3", kBodyStart + kTableStart + rowStart("0000FF") + cell("a") + "</tr></table><br/>" + kEnd},
        // A colour wider than six digits keeps all of them, as the format writes it.
        {"1,1,1ABCDEF0,x", kBodyStart + kTableStart + rowStart("1ABCDEF0") + cell("x") + "</tr></table>" + kEnd},
        // Cells that would break the page are escaped; references stay.
        {"1,2,ff,</table><b>,ff,a&b &amp; &#9733;",
         kBodyStart + kTableStart + rowStart("0000FF") + cell("&lt;/table&gt;&lt;b&gt;") + "</tr>" + rowStart("0000FF") +
             cell("a&amp;b &amp; &#9733;") + "</tr></table>" + kEnd},
    };
    for (const Case& c : cases) EXPECT_EQ(metaTablePage(QString::fromUtf8(c.data)), c.page) << c.data;
}

TEST(MetaPages, TextAndNotInTourDocumentsExactly) {
    EXPECT_EQ(metaTextPage(u"hello"_qs), u"<body bgcolor='#000040' scroll='no'><font color='#ffff40'>　hello</font></body>"_qs);
    EXPECT_EQ(metaTextPage(u"a<b>&c"_qs),
              u"<body bgcolor='#000040' scroll='no'><font color='#ffff40'>　a&lt;b&gt;&amp;c</font></body>"_qs);
    EXPECT_EQ(metaNotInTourPage(),
              u"<body bgcolor='#000040' scroll='no'><center><br/><font color='#00ff00'>団体行動ができないので</font><br/><br/>"
              "<font color='#ffff00'>ツアーに参加できません！</font></center></body>"_qs);
}

TEST(MetaPages, PlansPerKindAndWindowBits) {
    using A = MetaPagePlan::Action;
    MetaPageContext local{u"/charts/"_qs, u"/home/me"_qs, false, false};
    MetaPageContext touring = local;
    touring.tour = true;
    MetaPageContext fetched = local;
    fetched.fetched = true;
    struct Case {
        const char* text;
        const MetaPageContext* context;
        A action;
        const char* target;
        QStringList arguments;
        bool minimised;
        bool joinsTour;
    } cases[] = {
        {"640,480,1,http://example.org/a", &local, A::Navigate, "http://example.org/a", {}, false, true},
        {"640,480,12,http://example.org/a", &local, A::StartProcess, "iexplore.exe", {"http://example.org/a"}, false, true},
        {"640,480,4,http://example.org/a", &local, A::OpenWithSystem, "http://example.org/a", {}, true, true},
        {"640,480,0,file:C:/pages/a.htm", &local, A::Navigate, "file:C:/pages/a.htm", {}, false, true},
        {"640,480,0,file:a.htm", &local, A::Navigate, "file:///charts/a.htm", {}, false, true},
        {"640,480,0,file:/abs/a.htm", &local, A::Navigate, "file:///abs/a.htm", {}, false, true},
        {"640,480,0,html:<b>x</b>", &local, A::WritePage, "<b>x</b>", {}, false, true},
        {"640,480,0,imag:pic.png", &local, A::Picture, "/charts/pic.png", {}, false, true},
        {"640,480,0,imag:/p/pic.png", &local, A::Picture, "/p/pic.png", {}, false, true},
        {"640,480,0,exec:C:/tools/a.exe,-x", &local, A::StartDetached, "C:/tools/a.exe", {"-x"}, true, true},
        {"640,480,0,exec:tool -v \"a b\"", &local, A::StartProcess, "/home/me/tool", {"-v", "a b"}, true, true},
        {"640,480,0,exec:/bin/tool;rm x", &local, A::StartProcess, "/bin/tool;rm", {"x"}, true, true},
        // In a tour a program page without bit 8 shows that it cannot join; with bit 8 it does.
        {"640,480,0,exec:/bin/true", &touring, A::WritePage, "", {}, false, false},
        {"640,480,4,http://example.org/", &touring, A::WritePage, "", {}, false, false},
        {"640,480,8,exec:/bin/true", &touring, A::StartProcess, "/bin/true", {}, true, true},
        {"640,480,0,text:x", &touring, A::WritePage, "", {}, false, true},
        // Constellation data fetched over http starts no program.
        {"640,480,0,exec:/bin/true", &fetched, A::Refuse, "", {}, true, true},
        {"640,480,12,http://example.org/", &fetched, A::Refuse, "", {}, true, true},
        {"640,480,4,http://example.org/", &fetched, A::Refuse, "", {}, true, true},
        {"640,480,0,http://example.org/", &fetched, A::Navigate, "http://example.org/", {}, false, true},
    };
    for (const Case& c : cases) {
        const metaInfo meta(QString::fromUtf8(c.text));
        ASSERT_EQ(meta.errors, 0u) << c.text;
        const MetaPagePlan plan = planMetaPage(meta, *c.context);
        SCOPED_TRACE(c.text);
        EXPECT_EQ(plan.action, c.action);
        if (*c.target) {
            EXPECT_EQ(plan.target, QString::fromUtf8(c.target));
        }
        EXPECT_EQ(plan.arguments, c.arguments);
        EXPECT_EQ(plan.minimised, c.minimised);
        EXPECT_EQ(plan.joinsTour, c.joinsTour);
        EXPECT_EQ(plan.size, c.joinsTour ? QSize(640, 480) : QSize(300, 150));
        if (!c.joinsTour) {
            EXPECT_EQ(plan.target, metaNotInTourPage());
        }
        if (c.action == A::Refuse) {
            EXPECT_EQ(plan.target, metaRefusedText());
        }
    }
    EXPECT_EQ(planMetaPage(metaInfo(u"50,50,0,text:hello"_qs), local).target, metaTextPage(u"hello"_qs));
    EXPECT_EQ(planMetaPage(metaInfo(u"50,50,0,tbl0:1,1,ff,a"_qs), local).target, metaTablePage(u"1,1,ff,a"_qs));
}

TEST(MetaPages, PlacementKeepsThePageInsideItsLimits) {
    const MetaPlacement tree{96, 20, 480};
    const MetaPlacement database{32, 10, 40};
    const QSize grid(800, 500);
    const QSize page(200, 100);
    struct Case {
        QPoint at;
        uint32_t windowId;
        const MetaPlacement* rule;
        QPoint place;
    } cases[] = {
        {{100, 50}, 0, &tree, {196, 66}},
        {{700, 450}, 0, &tree, {580, 380}},      // kept 20 pixels inside the right and bottom edges
        {{100, 50}, 1, &tree, {196, 50 + 30 + 88 + 16}},
        {{100, 900}, 2, &tree, {196, 1080 - 100 - 480}}, // against the screen's height
        {{-500, -500}, 0, &tree, {0, 0}},
        {{100, 50}, 0, &database, {132, 66}},
        {{790, 490}, 0, &database, {590, 390}},
        {{100, 2000}, 1, &database, {132, 1080 - 100 - 40}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(metaPagePlace(c.at, page, grid, c.windowId, 30, 88, 1080, *c.rule), c.place) << c.at.x() << "," << c.at.y();
    // A page wider than the grid stays at its left edge.
    EXPECT_EQ(metaPagePlace({300, 0}, QSize(900, 100), grid, 0, 0, 0, 1080, tree).x(), 0);
}

TEST(MetaPages, MarkBandIsOpenAtBothEnds) {
    const int right = 200;
    for (int x : {184, 208, 100, 300}) EXPECT_FALSE(inMarkBand(x, right)) << x;
    for (int x : {185, 200, 207}) EXPECT_TRUE(inMarkBand(x, right)) << x;
}

// A view of a few rows of metadata for the tour alone.
class RowsView : public MetaTourView {
public:
    explicit RowsView(std::vector<metaInfo> rows) : rows_(std::move(rows)) {}
    void beginTour() override {}
    bool atLast() const override { return row == int(rows_.size()) - 1; }
    void moveOn(bool next) override { row += next ? 1 : 0; }
    const metaInfo* currentMeta() const override { return &rows_[size_t(row)]; }
    QString currentName() const override { return QString::number(row); }
    void openCurrentPage() override { ++opened; }
    void closePage() override {}
    void showTourBox(bool) override {}
    void tourProgress(const QString&, const QString&) override {}
    void tourEnded(bool last) override { endedAtLast = last; }
    int row = 0;
    int opened = 0;
    bool endedAtLast = false;

private:
    std::vector<metaInfo> rows_;
};

TEST(MetaTourTest, DwellCountsOnlyWhereAskedAndAHugeFactorSaturates) {
    const std::vector<metaInfo> rows{metaInfo(u"50,50,0,3,text:a"_qs), metaInfo(u"50,50,0,99999999999,text:b"_qs)};
    for (bool dwell : {true, false}) {
        RowsView view(rows);
        MetaTour tour(dwell);
        tour.toggle(view);
        for (int t = 0; t < 5; ++t) tour.tick(view);
        EXPECT_EQ(view.opened, 1);
        EXPECT_EQ(tour.countdown(), dwell ? 150 : 50);
        for (int t = 0; t < (dwell ? 150 : 50); ++t) tour.tick(view);
        EXPECT_EQ(view.row, 1);
        EXPECT_EQ(tour.countdown(), dwell ? INT_MAX : 50) << "no overflow";
        // The database view on its last row: the next step ends the tour.
        if (!dwell) {
            for (int t = 0; t < 50; ++t) tour.tick(view);
            EXPECT_FALSE(tour.running());
            EXPECT_TRUE(view.endedAtLast);
        }
    }
}

// A chart of five nodes laid out one per row, with a cursor and a NebuMeta whose effects are
// written down.
class NebuMetaTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(readChart(tree, {"0|1|mc|0|0", "1|2|plain|1|20100101000000", "1|2|text|1|20100101000000|640,480,0,text:hello",
                                     "1|2|slow|1|20100101000000|640,480,0,3,html:x", "1|2|broken|1|20100101000000|9,480,0,text:x",
                                     "1|2|last|1|20100101000000|640,480,0,text:end"}));
        tree.displayDepth = 2;
        tree.topGalaxy = tree.current = tree.root();
        layout.relayout();
        cursor.setCurrent(tree.root());
        NebuMeta::Effects e;
        e.openPage = [this](fileInfo* n, QPoint at) {
            opened.push_back(n->name());
            openedAt.push_back(at);
            pageOpen = true;
        };
        e.closePage = [this] {
            ++closes;
            pageOpen = false;
        };
        e.pageOpen = [this] { return pageOpen; };
        e.tourPoint = [](fileInfo* n) { return QPoint(n->drawRight, n->row * 18); };
        e.showTourBox = [this](bool shown) { boxShown = shown; };
        e.tourProgress = [this](const QString& message, const QString& name) {
            lastMessage = message;
            lastName = name;
        };
        e.changed = [] {};
        e.tourReachedEnd = [this] { ++ends; };
        meta = std::make_unique<NebuMeta>([this]() -> NebuCursor& { return cursor; }, std::move(e));
    }
    fileInfo* node(const QString& name) {
        for (fileInfo* n = tree.root(); n != tree.bottom(); n = n->next)
            if (n->name() == name) return n;
        ADD_FAILURE() << name.toStdString();
        return tree.root();
    }
    // Ticks until the page list grows or the tour ends; the ticks it took.
    int ticksToNextEvent() {
        const size_t before = opened.size();
        const QString was = cursor.current()->name();
        for (int t = 1; t < 10000; ++t) {
            meta->tick();
            if (opened.size() != before || !meta->tour().running() || cursor.current()->name() != was) return t;
        }
        return -1;
    }

    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
    treeInfo tree{u"mc"_qs, u"/work/"_qs};
    NebuLayout layout{tree};
    NebuCursor cursor{layout};
    std::unique_ptr<NebuMeta> meta;
    std::vector<QString> opened;
    std::vector<QPoint> openedAt;
    bool pageOpen = false;
    bool boxShown = false;
    int closes = 0;
    int ends = 0;
    QString lastMessage, lastName;
};

TEST_F(NebuMetaTest, TourShowsTheStartFirstAndDwellsByTheFactor) {
    cursor.setCurrent(node("text"));
    meta->toggleTour();
    EXPECT_EQ(meta->tour().state(), 2);
    EXPECT_TRUE(boxShown);
    // Five ticks to the first step, which shows the node where the tour began.
    EXPECT_EQ(ticksToNextEvent(), 5);
    ASSERT_EQ(opened, std::vector<QString>{u"text"_qs}) << cursor.current()->name().toStdString() << meta->tour().state();
    EXPECT_EQ(openedAt.back(), QPoint(node("text")->drawRight, node("text")->row * 18));
    EXPECT_EQ(meta->tour().state(), 1);
    EXPECT_EQ(lastMessage, u"　　メタデータのツアー... 5..."_qs);
    EXPECT_EQ(lastName, u"text"_qs);
    // 50 ticks at the default speed, then "slow" with dwell 3 stays 150.
    EXPECT_EQ(ticksToNextEvent(), 50);
    EXPECT_EQ(cursor.current()->name(), u"slow"_qs);
    EXPECT_EQ(ticksToNextEvent(), 150);
    // Invalid metadata is passed in 5 ticks without a page.
    EXPECT_EQ(cursor.current()->name(), u"broken"_qs);
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_EQ(ticksToNextEvent(), 5);
    EXPECT_EQ(opened.back(), u"last"_qs);
    // Past the last node the tour ends and asks the window to dock again.
    EXPECT_EQ(ticksToNextEvent(), 50);
    EXPECT_FALSE(meta->tour().running());
    EXPECT_FALSE(boxShown);
    EXPECT_FALSE(pageOpen);
    EXPECT_EQ(ends, 1);
}

TEST_F(NebuMetaTest, TourStartedOnTheLastNodeBeginsAtTheTopAndStopsOnToggle) {
    cursor.setCurrent(node("last"));
    meta->toggleTour();
    EXPECT_EQ(cursor.current(), tree.root());
    for (int t = 0; t < 5; ++t) meta->tick();
    EXPECT_EQ(meta->tour().state(), 1);
    EXPECT_EQ(cursor.current(), tree.root()) << "the first step stays on the start";
    EXPECT_TRUE(opened.empty());
    meta->toggleTour();
    EXPECT_EQ(meta->tour().state(), 0);
    EXPECT_FALSE(boxShown);
    EXPECT_EQ(ends, 0) << "a stop by hand does not dock the window";
    // The speed buttons: slower adds 10, faster never goes below 10.
    MetaTour& tour = meta->tour();
    tour.slower();
    EXPECT_EQ(tour.speedText(), u"6"_qs);
    for (int i = 0; i < 10; ++i) tour.faster();
    EXPECT_EQ(tour.speed(), 10);
    EXPECT_EQ(tour.speedText(), u"1"_qs);
}

TEST_F(NebuMetaTest, HoverOpensOnTheMarkBandThenPausesTwentyTicks) {
    fileInfo* text = node("text");
    text->drawRight = 300;
    // Off: nothing opens.
    EXPECT_FALSE(meta->mouseMoved(text, {295, 40}));
    meta->toggleHover();
    EXPECT_FALSE(meta->mouseMoved(text, {284, 40}));
    EXPECT_FALSE(meta->mouseMoved(text, {308, 40}));
    EXPECT_FALSE(meta->mouseMoved(node("plain"), {node("plain")->drawRight, 40}));
    EXPECT_FALSE(meta->mouseMoved(node("broken"), {node("broken")->drawRight, 40}));
    EXPECT_TRUE(meta->mouseMoved(text, {295, 40}));
    EXPECT_EQ(openedAt.back(), QPoint(300, 40));
    EXPECT_EQ(meta->tour().hover(), 20);
    for (int t = 0; t < 18; ++t) meta->tick();
    EXPECT_FALSE(meta->mouseMoved(text, {295, 40})) << "still paused";
    meta->tick();
    EXPECT_TRUE(meta->mouseMoved(text, {295, 40}));
    meta->toggleHover();
    EXPECT_EQ(meta->tour().hover(), 0) << "a paused state switches off";
    // A plain press opens in the same band whatever the hover state.
    EXPECT_TRUE(meta->pressed(text, {290, 10}));
    EXPECT_FALSE(meta->pressed(text, {200, 10}));
}

TEST_F(NebuMetaTest, CurrentNodeWithoutMetadataClosesThePage) {
    pageOpen = true;
    cursor.setCurrent(node("text"));
    meta->currentChanged();
    EXPECT_TRUE(pageOpen);
    cursor.setCurrent(node("plain"));
    meta->currentChanged();
    EXPECT_FALSE(pageOpen);
}

TEST_F(NebuMetaTest, EditingAsksCreatesAndStamps) {
    MetaEditRequest asked;
    MetaEditResult answer;
    int calls = 0;
    const MetaEditor editor = [&](const MetaEditRequest& r) {
        asked = r;
        ++calls;
        return answer;
    };
    // New metadata: declined, nothing happens.
    cursor.setCurrent(node("plain"));
    sink.answers = {0};
    EXPECT_FALSE(editNodeMetadata(tree, u"mc\\plain"_qs, editor));
    EXPECT_EQ(calls, 0);
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, u"メタデータを新規作成しますか？(Y/N)"_qs);
    EXPECT_EQ(sink.records[0].caption, u"[星]のメタデータ作成"_qs);
    // Accepted, "更新終了" with a text holding a TAB and a line break.
    sink.answers = {1};
    answer = {true, true, u"300,200,0,text:a\tb\nc"_qs};
    EXPECT_TRUE(editNodeMetadata(tree, u"mc\\plain"_qs, editor));
    EXPECT_FALSE(asked.text.has_value());
    EXPECT_EQ(asked.caption, u"plainのメタデータ"_qs);
    EXPECT_EQ(asked.basePath, u"mc\\plain"_qs);
    fileInfo* plain = node("plain");
    ASSERT_TRUE(plain->meta);
    EXPECT_EQ(plain->meta->text, u"300,200,0,text:a b c"_qs);
    EXPECT_EQ(plain->meta->dataKind, 3);
    EXPECT_EQ(plain->size, uint64_t(plain->meta->text.size()));
    EXPECT_GT(plain->stamp, 20200101000000u);
    EXPECT_TRUE(tree.metaChanged);
    // Existing metadata: no question first; closed changed without "更新終了" asks, "no" keeps it.
    tree.metaChanged = false;
    sink.records.clear();
    sink.answers = {0};
    answer = {false, true, u"1,1,0,text:z"_qs};
    EXPECT_FALSE(editNodeMetadata(tree, {}, editor));
    EXPECT_EQ(asked.text, std::optional<QString>(u"300,200,0,text:a b c"_qs));
    ASSERT_EQ(sink.records.size(), 1u);
    EXPECT_EQ(sink.records[0].text, u"メタデータを更新しますか？(Y/N)"_qs);
    EXPECT_EQ(sink.records[0].caption, u"[星]のメタデータ更新"_qs);
    EXPECT_EQ(plain->meta->text, u"300,200,0,text:a b c"_qs);
    EXPECT_FALSE(tree.metaChanged);
    // Closed unchanged: nothing asked, nothing replaced.
    sink.records.clear();
    answer = {false, false, u"ignored"_qs};
    EXPECT_FALSE(editNodeMetadata(tree, {}, editor));
    EXPECT_TRUE(sink.records.empty());
    // A faulty text is kept as typed: it has no mark and is written back.
    sink.answers = {1};
    answer = {false, true, u"1,1,0,text:z"_qs};
    EXPECT_TRUE(editNodeMetadata(tree, {}, editor));
    EXPECT_EQ(plain->meta->errors, 48u);
    EXPECT_EQ(chartLines(tree)[1], u"1|2|plain|12|"_qs + QString::number(plain->stamp) + u"|1,1,0,text:z"_qs);
}

} // namespace
