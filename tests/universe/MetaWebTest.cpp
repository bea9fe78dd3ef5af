// Metadata pages drawn by the web engine on an X server: a text page shows its text in yellow
// on dark blue, a table page its escaped cells, and a page in a tour that cannot join says so;
// then the tree window with marks and an open page. Pictures land in $VIMORA_SHOT_DIR.
#include "TestSupport.h"

#include "universe/FdbMetaBand.h"
#include "universe/NebuMetaBand.h"
#include "universe/TFormFdb.h"
#include "universe/TFormNebu.h"
#include "universe/TFormWebX.h"

#include "common/ShowCheck.h"

#include <QImage>
#include <QTableView>
#include <QTest>
#include <gtest/gtest.h>

namespace {

void saveShot(const QImage& image, const QString& name) {
    if (const QByteArray to = qgetenv("VIMORA_SHOT_DIR"); !to.isEmpty()) image.save(QString::fromLocal8Bit(to) + u'/' + name);
}

// The page's body text once it has loaded.
QString bodyText(TFormWebX& page) {
    bool loaded = false;
    page.browser()->onLoaded = [&](bool ok) { loaded = ok; };
    EXPECT_TRUE(pumpUntil([&] { return loaded; }, 60000)) << "the page never finished loading";
    QString text;
    bool answered = false;
    page.browser()->runScript(u"document.body.innerText"_qs, [&](const QVariant& v) {
        text = v.toString();
        answered = true;
    });
    EXPECT_TRUE(pumpUntil([&] { return answered; }, 20000));
    return text;
}

// The page's picture once the engine has drawn the dark blue background at `probe`.
QImage drawnPage(TFormWebX& page, QPoint probe) {
    QImage shot;
    EXPECT_TRUE(pumpUntil(
        [&] {
            shot = page.grab().toImage();
            return shot.pixelColor(probe) == QColor(0, 0, 0x40);
        },
        20000))
        << shot.pixelColor(probe).name().toStdString();
    return shot;
}

class MetaWebTest : public testing::Test {
protected:
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
};

TEST_F(MetaWebTest, TextTableAndNotInTourPagesAreDrawn) {
    const MetaPageContext context{u"/tmp/"_qs, u"/tmp"_qs, false, false};
    TFormWebX text(metaInfo(u"400,200,1,text:hello <world>"_qs), context, nullptr, u"star"_qs);
    ASSERT_TRUE(text.isWindow());
    ASSERT_TRUE(text.browser()) << (sink.records.empty() ? std::string() : sink.records[0].text.toStdString());
    text.show();
    EXPECT_EQ(text.size(), QSize(400, 200));
    EXPECT_EQ(bodyText(text), u"　hello <world>"_qs);
    saveShot(drawnPage(text, {200, 150}), u"meta_text_page.png"_qs);

    TFormWebX table(metaInfo(u"400,200,1,tbl0:2,2,ff0000,名前,</table>,00ff00,a&b,c"_qs), context, nullptr, u"table"_qs);
    table.show();
    const QString cells = bodyText(table);
    EXPECT_TRUE(cells.contains(u"</table>"_qs)) << cells.toStdString();
    EXPECT_TRUE(cells.contains(u"a&b"_qs)) << cells.toStdString();
    EXPECT_TRUE(cells.contains(u"名前"_qs));
    saveShot(drawnPage(table, {200, 180}), u"meta_table_page.png"_qs);

    MetaPageContext touring = context;
    touring.tour = true;
    TFormWebX refused(metaInfo(u"640,480,1,exec:/bin/true"_qs), touring, nullptr, u"program"_qs);
    refused.show();
    EXPECT_EQ(refused.size(), QSize(300, 150));
    EXPECT_EQ(refused.process(), 0);
    const QString says = bodyText(refused);
    EXPECT_TRUE(says.contains(u"団体行動ができないので"_qs) && says.contains(u"ツアーに参加できません！"_qs)) << says.toStdString();
    saveShot(drawnPage(refused, {10, 140}), u"meta_not_in_tour_page.png"_qs);
}

TEST_F(MetaWebTest, TreeWindowWithMarksAndAnOpenPage) {
    TempFolder folder;
    QStringList lines{u"0\t1\tmc\t0\t0"_qs};
    const char* rows[][2] = {
        {"web", "300,200,0,http://localhost:9/"}, {"file", "300,200,0,file:a.htm"},
        {"hello", "320,120,0,text:こんにちは、メタデータ"}, {"markup", "300,200,0,html:<b>x</b>"},
        {"picture", "300,200,0,imag:a.png"}, {"table", "300,200,0,tbl0:2,1,ffff00,a,b"},
        {"program", "300,200,0,exec:/bin/true"}, {"plain", ""}, {"broken", "9,9,0,text:x"},
    };
    for (auto& r : rows)
        lines.append(u"1\t2\t%1.txt\t1\t20100101000000"_qs.arg(QLatin1String(r[0])) + (*r[1] ? u"\t"_qs + QString::fromUtf8(r[1]) : QString()));
    // A byte-order mark: the names and texts are read as UTF-8.
    folder.write(u"chart.nebu"_qs, "\xEF\xBB\xBF" + lines.join(u"\r\n"_qs).toUtf8());
    TFormNebu* nebu = new TFormNebu(folder.file(u"chart.nebu"_qs), folder.path() + u'/', {}, nullptr);
    nebu->resize(1100, 560);
    nebu->show();
    ASSERT_TRUE(pumpUntil([&] { return nebu->treeReady(); }));
    nebu->timer().stop();
    NebuGrid* grid = nebu->grid();
    grid->viewport()->repaint();
    fileInfo* hello = nullptr;
    treeInfo& tree = nebu->model().tree();
    for (fileInfo* n = tree.root(); n != tree.bottom(); n = n->next)
        if (n->name() == u"hello.txt"_qs) hello = n;
    ASSERT_TRUE(hello);
    const int row = nebu->layout().gridRow(hello->row) - nebu->cursor().topRow();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, QPoint(hello->drawRight - 4, row * grid->rowHeight() + 4));
    TFormWebX* page = nebu->metaBand().page();
    ASSERT_TRUE(page);
    EXPECT_EQ(bodyText(*page), u"　こんにちは、メタデータ"_qs);
    drawnPage(*page, {160, 100});
    saveShot(nebu->grab().toImage(), u"meta_tree_window.png"_qs);

    // The database view with its metadata panel and the same page at the star's row.
    TFormFdb view(nullptr);
    view.refreshDatabase(tree, DatabaseLook{});
    view.resize(1000, 420);
    view.show();
    int helloRow = -1;
    for (std::size_t r = 0; r < view.table()->shownCount(); ++r)
        if (view.table()->star(r) == hello) helloRow = int(r);
    ASSERT_GE(helloRow, 0);
    const QRect cell = view.grid()->visualRect(view.grid()->model()->index(helloRow, 1));
    view.metaBand().openMetaPage(std::size_t(helloRow), QPoint(cell.right() - 40, cell.top()));
    ASSERT_TRUE(view.metaBand().page());
    EXPECT_EQ(bodyText(*view.metaBand().page()), u"　こんにちは、メタデータ"_qs);
    drawnPage(*view.metaBand().page(), {160, 100});
    saveShot(view.grab().toImage(), u"meta_database_view.png"_qs);
    nebu->quit();
}

} // namespace
