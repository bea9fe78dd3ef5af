// The browser form of a work's chart on the offscreen platform: a written page is drawn by the
// web engine, a picture chart stands on the work's picture and slides in and out with the frame
// ticks, and a program chart of a work from the web starts nothing.
#include "TestKestoHost.h"
#include "TestSupport.h"
#include "common/ShowCheck.h"
#include "work/TFormWeb.h"

#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <gtest/gtest.h>

namespace {

const char* const kWork = "ANIME_SET:\r\ncanvas:center,400,300\r\nbgcolor:0,0,64\r\n"
                          "DotPtn:box,1,1,10,40,0,0,0,1,1\r\n1\r\nSET_END:\r\nWait:10000\r\n";

class ChartFormTest : public testing::Test {
protected:
    void SetUp() override {
        // The engine's sandbox cannot start for the superuser that CI runs as.
        if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS")) qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox");
        folder.write("work.acmd", kWork);
        host.gallery->show();
        window = std::make_unique<TFormKesto>(host);
        ASSERT_TRUE(window->openWork(folder.path() + "/", "work.acmd"));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.gallery.get()));
    }
    void TearDown() override { window.reset(); }
    WorkRunner& runner() { return window->runner(); }
    void setChart(const QString& definition) {
        runner().setChart(std::make_unique<WorkChart>(metaChartInfo(definition)));
        runner().chart()->seconds = 5;
    }

    TempFolder folder;
    TestKestoHost host;
    std::unique_ptr<TFormKesto> window;
    RecordingCheckSink messages;
    ScopedCheckSink installed{&messages};
};

TEST_F(ChartFormTest, AWrittenPageIsDrawnByTheWebEngine) {
    TFormWeb form(nullptr);
    bool loaded = false;
    const metaChartInfo chart(u"400,300,2,text:Hello"_qs);
    ASSERT_TRUE(chart.valid());
    EXPECT_TRUE(form.showChart(chart, folder.path() + u'/', {}, nullptr));
    ASSERT_TRUE(form.browser());
    QObject::connect(form.browser(), &QWebEngineView::loadFinished, [&](bool ok) { loaded = ok; });
    form.show();
    EXPECT_EQ(form.size(), QSize(400, 300));
    EXPECT_TRUE(form.isWindow()) << "a free chart is a window of its own";
    ASSERT_TRUE(pumpUntil([&] { return loaded; }, 60000)) << "the page never finished loading";
    QString text;
    bool answered = false;
    form.browser()->page()->runJavaScript(u"document.body.innerText"_qs, [&](const QVariant& v) {
        text = v.toString();
        answered = true;
    });
    ASSERT_TRUE(pumpUntil([&] { return answered; }, 20000));
    EXPECT_EQ(text, u"　Hello"_qs);
    // The engine drew the dark blue page: its middle is that colour.
    QImage shot;
    ASSERT_TRUE(pumpUntil(
        [&] {
            shot = form.grab().toImage();
            return shot.pixelColor(200, 200) == QColor(0, 0, 0x40);
        },
        20000))
        << "middle pixel " << shot.pixelColor(200, 200).name().toStdString();
    if (const QByteArray to = qgetenv("VIMORA_SHOT_DIR"); !to.isEmpty())
        shot.save(QString::fromLocal8Bit(to) + u"/chart_text.png"_qs);
    ASSERT_EQ(form.popupMenu()->actions().size(), 1);
    EXPECT_EQ(form.popupMenu()->actions()[0]->text(), u"最新の情報に更新"_qs);
    loaded = false;
    form.popupMenu()->actions()[0]->trigger();
    EXPECT_TRUE(pumpUntil([&] { return loaded; }, 20000)) << "the page is loaded again";
}

TEST_F(ChartFormTest, APictureChartStandsOnThePictureAndSlidesInAndOut) {
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::red);
    ASSERT_TRUE(picture.save(folder.path() + u"/pic.bmp"_qs));
    setChart(u"300,200,0,imag:pic.bmp"_qs);
    window->titlePlate(); // the plate exists; its button toggles the chart
    runner().toggleChart(-1);
    TFormWeb* form = window->chartForm();
    ASSERT_TRUE(form);
    EXPECT_FALSE(form->browser()) << "a picture needs no web engine";
    EXPECT_EQ(form->parentWidget(), window->panels().PanelImg);
    EXPECT_FALSE(form->picture()->pixmap().isNull()) << "the picture was read from the work's folder";
    const WorkChart& chart = *runner().chart();
    EXPECT_EQ(form->geometry(), QRect(chart.left, chart.top, chart.width, chart.height));
    const int startLeft = form->x();
    for (int i = 0; i < 50; ++i) runner().frameTick();
    EXPECT_LT(form->x(), startLeft) << "it slides in";
    EXPECT_TRUE(form->isVisible());
    for (int i = 0; i < 200; ++i) runner().frameTick();
    // Arrived: wholly inside the visible picture, at its bottom-right corner.
    const QWidget* visible = window->panels().PanelImg;
    EXPECT_LE(form->geometry().right(), visible->width()) << form->x() << " of " << visible->width();
    EXPECT_GE(form->geometry().right(), visible->width() - 10);
    EXPECT_LE(form->geometry().bottom(), visible->height());
    runner().toggleChart(-1); // the chart button again: out
    for (int i = 0; i < 1000 && form->isVisible(); ++i) runner().frameTick();
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(runner().chart()->showState, WorkChart::kHidden);
    runner().setChart(nullptr);
    EXPECT_FALSE(window->chartForm()) << "the form goes with its chart";
    EXPECT_TRUE(messages.records.empty());
}

TEST_F(ChartFormTest, AProgramChartOfAWorkFromTheWebStartsNothing) {
    TFormWeb form(window.get());
    const metaChartInfo chart(u"400,300,0,exec:tools/start.sh"_qs);
    EXPECT_FALSE(form.showChart(chart, u"http://example.org/art/"_qs, folder.path() + u'/', window->panels().PanelImg));
    EXPECT_TRUE(form.minimised());
    EXPECT_FALSE(form.isVisible());
    ASSERT_EQ(messages.records.size(), 1u);
    EXPECT_EQ(messages.records[0].caption, chartRefusedText());
    EXPECT_EQ(messages.records[0].text, u"exec:tools/start.sh"_qs);

    // A local one starts its program with its arguments, never through a shell.
    const QString marker = folder.path() + u"/started;echo shell"_qs;
    folder.write("tools/start.sh", "#!/bin/sh\nprintf '%s' \"$1\" > \"$2\"\n");
    ASSERT_TRUE(QFile::setPermissions(folder.path() + u"/tools/start.sh"_qs, QFile::ReadOwner | QFile::ExeOwner));
    setChart(QStringLiteral("400,300,0,exec:tools/start.sh,\"a;b\" \"%1\"").arg(marker));
    window->titlePlate();
    messages.records.clear();
    TFormWeb local(window.get());
    EXPECT_FALSE(local.showChart(runner().chart()->definition, u"/nowhere/"_qs, folder.path() + u'/', nullptr));
    EXPECT_TRUE(messages.records.empty());
    // The shell's redirection makes the file before printf fills it.
    EXPECT_TRUE(pumpUntil([&] { return QFileInfo(marker).size() == 3; }, 10000));
    QFile written(marker);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_EQ(written.readAll(), QByteArray("a;b"));
}

} // namespace
