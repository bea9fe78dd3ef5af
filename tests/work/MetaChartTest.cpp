// Chart definitions as a work gives them, the pages they make and what showing them does.
#include "work/metaChartInfo.h"

#include <gtest/gtest.h>

namespace {

TEST(MetaChartTest, DefinitionsParseIntoSizeOptionsCountKindAndSource) {
    const struct {
        const char16_t* definition;
        int width, height, options, count, kind;
        uint32_t errors;
        const char16_t* source;
    } cases[] = {
        {u"400,300,2,text:Hello", 400, 300, 2, 1, 3, 0, u"text:Hello"},
        {u"400,300,0,5,html:<b>x</b>", 400, 300, 0, 5, 4, 0, u"html:<b>x</b>"},
        {u"400,300,0,html:<a,b>", 400, 300, 0, 1, 4, 0, u"html:<a,b>"}, // the comma after the colon is data
        {u"400,300,0,-3,TBL0:1,1,0", 400, 300, 0, 1, 6, 0, u"TBL0:1,1,0"}, // a count up to 0 becomes 1
        {u"400,300,1,Exec:a.sh\r\n", 400, 300, 1, 1, 7, 0, u"Exec:a.sh"},
        {u"9,300,0,text:x", 0, 0, 0, 1, 0, 0x10, u""},
        {u"400,9,0,text:x", 0, 0, 0, 1, 0, 0x20, u""},
        {u"400,300,0,ftp:x", 0, 0, 0, 1, 0, 0x40, u""},
        {u"chart.txt", 0, 0, 0, 1, 0, 1 | 2 | 4 | 8, u""},
        {u"400,300", 0, 0, 0, 1, 0, 2 | 4 | 8, u""},
        {u"400,300,0", 0, 0, 0, 1, 0, 4 | 8, u""},
        {u"400,300,0,text", 0, 0, 0, 1, 0, 8, u""},
    };
    for (const auto& c : cases) {
        const metaChartInfo chart(QString::fromUtf16(c.definition));
        const std::string name = QString::fromUtf16(c.definition).toStdString();
        EXPECT_EQ(chart.errors, c.errors) << name;
        EXPECT_EQ(chart.valid(), c.errors == 0) << name;
        EXPECT_EQ(chart.kind, c.kind) << name;
        EXPECT_EQ(chart.source, QString::fromUtf16(c.source)) << name;
        if (c.errors) continue;
        EXPECT_EQ(chart.width, c.width) << name;
        EXPECT_EQ(chart.height, c.height) << name;
        EXPECT_EQ(chart.options, c.options) << name;
        EXPECT_EQ(chart.count, c.count) << name;
    }
}

TEST(MetaChartTest, TextAndTablePagesAreTheTemplatesFilledIn) {
    EXPECT_EQ(chartTextPage(u"Hello"_qs),
              u"<body bgcolor='#000040' scroll='no'><font color='#ffff40'>　Hello</font></body>"_qs);

    const QString head = u"<body bgcolor='#000040' scroll='no'><center>"_qs;
    const QString table = u"<table border=0 cellspacing=0 cellpadding=0 style='color:#ffff8;line-height:150%'>"_qs;
    const QString tail = u"</center></body>"_qs;
    auto row = [](const char* colour) { return QStringLiteral("<tr style='color:#%1' align='center'><td nowrap>").arg(colour); };
    auto cell = [](const char* text) { return QStringLiteral("<td nowrap>&nbsp;%1&nbsp;</td>").arg(text); };
    const struct {
        const char* data;
        QString page;
    } cases[] = {
        {"no comma", QString()},
        // One row in red: the empty cell every row opens with, then a and b.
        {"2,1,ff0000,a,b", head + table + row("FF0000") + cell("a") + cell("b") + "</tr></table>" + tail},
        // Cells beyond the column count start the next row; a row cut short by the data's end.
        {"1,3,ff,x,c0c0c0,y,12", head + table + row("0000FF") + cell("x") + "</tr>" + row("C0C0C0") + cell("y") +
                                     "</tr>" + row("000012") + "</td></tr></table>" + tail},
        // A second table follows after a break; a column count below 1 ends the tables.
        {"1,1,0,p,2,1,ffffff,q,r,0,1", head + table + row("000000") + cell("p") + "</tr></table><br/>" + table +
                                          row("FFFFFF") + cell("q") + cell("r") + "</tr></table><br/>" + tail},
        {"0,5", head + tail},
        {"2,0,ff", head + tail},
    };
    for (const auto& c : cases) EXPECT_EQ(chartTablePage(QString::fromUtf8(c.data)), c.page) << c.data;

    // No page buffer to overflow: a table of 3000 cells keeps every one.
    QString many = u"1,3000"_qs;
    for (int i = 0; i < 3000; ++i) many += QStringLiteral(",ff,cell%1").arg(i);
    const QString page = chartTablePage(many);
    EXPECT_EQ(page.count(u"<td nowrap>&nbsp;cell"_qs), 3000);
    EXPECT_TRUE(page.endsWith(cell("cell2999") + "</tr></table>" + tail));
}

TEST(MetaChartTest, OnlyTheFirstPlainSourceNameTakesTheWorksFolder) {
    const QString folder = u"/works/a/"_qs;
    const struct {
        const char* page;
        const char* shown;
    } cases[] = {
        {"<img src='pic.bmp'><img src='b.bmp'>", "<img src='/works/a/pic.bmp'><img src='b.bmp'>"},
        {"<IMG SRC ==='pic.bmp'>", "<IMG SRC ==='/works/a/pic.bmp'>"},
        {"<img src = 'x.bmp'><img src='y.bmp'>", "<img src = 'x.bmp'><img src='/works/a/y.bmp'>"},
        {"<img src='http://x/p.png'><img src='b.bmp'>", "<img src='http://x/p.png'><img src='b.bmp'>"},
        {"<img src=\"q.bmp\"> <img src='b.bmp'>", "<img src=\"q.bmp\"> <img src='/works/a/b.bmp'>"},
        {"<img src='open", "<img src='open"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(withAbsoluteSource(QString::fromUtf8(c.page), folder), QString::fromUtf8(c.shown)) << c.page;
}

TEST(MetaChartTest, EachKindPlansItsShowing) {
    using A = ChartPlan::Action;
    const QString local = u"/home/u/art/g/"_qs, web = u"http://example.org/art/g/"_qs, home = u"/home/u/art/"_qs;
    const struct {
        const char* definition;
        bool fromWeb;
        A action;
        QString target;
        QStringList arguments;
        bool minimised;
    } cases[] = {
        {"400,300,0,http://example.org/", false, A::Navigate, "http://example.org/", {}, false},
        {"400,300,4,http://example.org/", false, A::StartProgram, "iexplore.exe", {"http://example.org/"}, true},
        {"400,300,12,http://example.org/", false, A::StartProgram, "iexplore.exe", {"http://example.org/"}, true},
        {"400,300,0,file:page.html", false, A::Navigate, "file:///home/u/art/g/page.html", {}, false},
        {"400,300,0,file:page.html", true, A::Navigate, "http://example.org/art/g/page.html", {}, false},
        {"400,300,0,file:/tmp/p.html", false, A::Navigate, "file:///tmp/p.html", {}, false},
        {"400,300,0,file:http://o.org/p.html", false, A::Navigate, "file:http://o.org/p.html", {}, false},
        {"300,200,0,imag:pic.bmp", false, A::Picture, "/home/u/art/g/pic.bmp", {}, false},
        {"300,200,0,imag:/data/pic.bmp", false, A::Picture, "/data/pic.bmp", {}, false},
        {"300,200,0,imag:C:/pic.bmp", false, A::Picture, "C:/pic.bmp", {}, false},
        {"300,200,0,imag:pic.bmp", true, A::Picture, "http://example.org/art/g/pic.bmp", {}, false},
        {"400,300,0,exec:tools/show.sh \"a b\" c", false, A::StartProgram, "/home/u/art/tools/show.sh", {"a b", "c"}, true},
        {"400,300,0,exec:/usr/bin/xclock,-digital -update 1", false, A::StartProgram, "/usr/bin/xclock",
         {"-digital", "-update", "1"}, true},
        // The shell never sees the text: its signs are plain arguments.
        {"400,300,0,exec:tools/show.sh;rm -rf x|y", false, A::StartProgram, "/home/u/art/tools/show.sh;rm",
         {"-rf", "x|y"}, true},
        // A work from the web never starts a program.
        {"400,300,0,exec:tools/show.sh", true, A::Refuse, chartRefusedText(), {}, true},
        {"400,300,4,http://example.org/", true, A::Refuse, chartRefusedText(), {}, true},
        {"400,300,0,exec:", false, A::Refuse, u"起動するプログラムが指定されていません！"_qs, {}, true},
    };
    for (const auto& c : cases) {
        const ChartPlan plan = planChart(metaChartInfo(QString::fromUtf8(c.definition)), c.fromWeb ? web : local, home);
        const std::string name = std::string(c.definition) + (c.fromWeb ? " (web)" : "");
        EXPECT_EQ(plan.action, c.action) << name;
        EXPECT_EQ(plan.target, c.target) << name;
        EXPECT_EQ(plan.arguments, c.arguments) << name;
        EXPECT_EQ(plan.minimised, c.minimised) << name;
    }

    // Written pages resolve against the work's folder; their first plain picture name is made whole.
    const ChartPlan page = planChart(metaChartInfo(u"400,300,0,html:<img src='p.bmp'>"_qs), local, home);
    EXPECT_EQ(page.action, A::WritePage);
    EXPECT_EQ(page.target, u"<img src='/home/u/art/g/p.bmp'>"_qs);
    EXPECT_EQ(page.baseUrl, u"file:///home/u/art/g/"_qs);
    const ChartPlan fetched = planChart(metaChartInfo(u"300,200,0,tbl0:1,1,ff,x"_qs), web, home);
    EXPECT_EQ(fetched.target, chartTablePage(u"1,1,ff,x"_qs));
    EXPECT_EQ(fetched.baseUrl, web);
}

} // namespace
