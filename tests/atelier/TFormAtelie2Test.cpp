#include "script/QStringPrinter.h"
#include "TestSupport.h"
#include "atelier/TFormAtelie2.h"
#include "common/Choosers.h"
#include "common/Platform.h"
#include "common/ShowCheck.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

class WorkshopWindowTest : public testing::Test {
protected:
    // A 40 x 20 picture: white with a black 6 x 6 square and a red stripe.
    static QImage picture() {
        QImage image(40, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        for (int y = 2; y < 8; ++y)
            for (int x = 2; x < 8; ++x) image.setPixel(x, y, qRgb(0, 0, 0));
        for (int x = 0; x < 40; ++x) image.setPixel(x, 15, qRgb(255, 0, 0));
        return image;
    }
    void click(const char* caption) {
        QPushButton* b = form.button(QString::fromUtf8(caption));
        ASSERT_NE(b, nullptr) << caption;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    static int blackCount(const QImage& image) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0xFFFFFF) == 0;
        return n;
    }

    TempFolder folder;
    RecordingCheckSink checks;
    ScriptedChooserSink chooser;
    ScopedCheckSink scopedChecks{&checks};
    ScopedChooserSink scopedChooser{&chooser};
    TFormAtelie2 form{folder.path() + u'/'};
};

TEST_F(WorkshopWindowTest, ButtonsForwardToTheWorkshopAndShowItsResults) {
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_EQ(form.memo().toPlainText(), u"ドットマップデータ"_qs);
    EXPECT_EQ(form.columnsField().text(), u"4"_qs);
    EXPECT_EQ(form.rowsField().text(), u"2"_qs);
    EXPECT_TRUE(form.button(u"ＢＭＰ保存"_qs)->isEnabled());

    const QString path = folder.write(u"art.bmp"_qs, bmpBytes(picture()));
    chooser.paths = {path};
    click("ＢＭＰ読込み");
    ASSERT_EQ(form.shownPicture().size(), QSize(40, 20));
    EXPECT_EQ(blackCount(form.shownPicture()), 36);
    click("輪郭化");
    EXPECT_EQ(blackCount(form.shownPicture()), 20);
    click("データ化");
    EXPECT_TRUE(form.memo().toPlainText().startsWith(u"data:20\n  0,  0,   1,  0"_qs));

    click("全選択");
    click("コピー");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), form.memo().toPlainText());

    click("ＢＭＰ分割保存");
    for (int n = 0; n < 8; ++n) EXPECT_TRUE(fileExists(folder.file(QString::asprintf("art%02d.bmp", n)))) << n;
    EXPECT_EQ(form.shownTile().size(), QSize(10, 10));

    // The user's own edits stay in the memo while a refused command changes nothing.
    form.memo().setPlainText(u"my notes"_qs);
    form.columnsField().setText(u"0"_qs);
    click("ドットデータ化");
    ASSERT_EQ(checks.records.size(), 1u);
    EXPECT_TRUE(checks.records[0].text.startsWith(u"分割数は 1 から 64 までの整数で指定してください！"_qs));
    EXPECT_EQ(form.memo().toPlainText(), u"my notes"_qs);

    form.columnsField().setText(u"1"_qs);
    form.rowsField().setText(u"1"_qs);
    // Inverted, the outline is the only white: it becomes colour 1 on black colour 0.
    click("反転");
    click("ドットデータ化");
    const QStringList lines = form.memo().toPlainText().split(u'\n');
    ASSERT_EQ(lines.size(), 20 + 1 + 2);
    EXPECT_EQ(lines[0], QString(40, u'.'));
    EXPECT_EQ(lines[2], u"..111111"_qs + QString(32, u'.'));
    EXPECT_EQ(lines[3], u"..1....1"_qs + QString(32, u'.'));
    EXPECT_EQ(lines[15], QString(40, u'.')) << "the red stripe inverted to black like the rest";
    EXPECT_EQ(lines.mid(21), (QStringList{u"color: 0,  0,  0,  0"_qs, u"color: 1,255,255,255"_qs}));

    click("閉じる");
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST_F(WorkshopWindowTest, Screenshot) {
    const QString shots = qEnvironmentVariable("VIMORA_SHOTS");
    if (shots.isEmpty()) GTEST_SKIP() << "VIMORA_SHOTS not set";
    QDir().mkpath(shots);
    QImage big(200, 120, QImage::Format_RGB32);
    big.fill(Qt::white);
    for (int y = 0; y < 120; ++y)
        for (int x = 0; x < 200; ++x) {
            if ((x - 60) * (x - 60) + (y - 60) * (y - 60) < 40 * 40) big.setPixel(x, y, qRgb(0, 0, 0));
            if (x > 120 && x < 180 && y > 30 && y < 90) big.setPixel(x, y, qRgb(30, 90, 200));
        }
    chooser.paths = {folder.write(u"shot.bmp"_qs, bmpBytes(big))};
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    click("ＢＭＰ読込み");
    click("ＢＭＰ分割保存");
    click("輪郭化");
    form.columnsField().setText(u"4"_qs);
    form.rowsField().setText(u"4"_qs);
    click("ドットデータ化");
    QCoreApplication::processEvents();
    EXPECT_TRUE(form.grab().save(shots + u"/workshop.png"_qs));
}

} // namespace
