#include "script/QStringPrinter.h"
#include "TestSupport.h"
#include "atelier/TFormHelp.h"
#include "common/TextCodec.h"
#include "gallery/BgrColor.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

#include <gtest/gtest.h>

#include <memory>

namespace {

// A stand-in gallery: an exhibition area and a second panel (the file universe's tree area).
class HelpViewerTest : public testing::Test {
protected:
    void SetUp() override {
        gallery.resize(1264, 715);
        area->setGeometry(0, 40, 1264, 675);
        tree->setGeometry(100, 100, 800, 500);
        gallery.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&gallery));
        write(u"help_hot.txt"_qs, u"短いヘルプ\r\n二行目\r\n\r\n本文\r\n"_qs);
        write(u"help.txt"_qs, u"詳しいヘルプ\r\n\r\n詳しい本文\r\n"_qs);
        viewer = std::make_unique<TFormHelp>(folder.path(), area, HelpBrief, area);
    }
    void TearDown() override { viewer.reset(); }
    void write(const QString& name, const QString& text) { folder.write(u"atelier/"_qs + name, encodeCp932(text)); }
    // Colour and point size of the character at `position` of the viewer's text.
    std::pair<uint32_t, int> look(int position) {
        QTextCursor cursor(viewer->text().document());
        cursor.setPosition(position + 1);
        const QTextCharFormat f = cursor.charFormat();
        return {rgbToBgr(f.foreground().color().rgb()), int(f.fontPointSize())};
    }
    void releaseKey(Qt::Key key) {
        QKeyEvent release(QEvent::KeyRelease, key, Qt::ControlModifier);
        QCoreApplication::sendEvent(&viewer->text(), &release);
    }

    TempFolder folder;
    QWidget gallery;
    QWidget* area = new QWidget(&gallery);
    QWidget* tree = new QWidget(&gallery);
    std::unique_ptr<TFormHelp> viewer;
};

TEST_F(HelpViewerTest, ShowsHeaderInGreenAndBodyInWhiteAndSwitchesFiles) {
    EXPECT_FALSE(viewer->isVisible());
    EXPECT_EQ(viewer->windowTitle(), u"ヴィモラ  アート の ヘルプ"_qs);
    viewer->showHelp();
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->parentWidget(), area);
    EXPECT_EQ(viewer->geometry(), QRect((1264 - 992) / 2, 20, 992, 635));
    EXPECT_EQ(viewer->text().toPlainText(), u"短いヘルプ\n二行目\n本文\n"_qs);
    EXPECT_EQ(look(0), std::make_pair(0xC0FFC0u, 10));
    EXPECT_EQ(look(6), std::make_pair(0xC0FFC0u, 10));
    EXPECT_EQ(look(10), std::make_pair(0xFFFFFFu, 10));
    EXPECT_EQ(viewer->text().textCursor().position(), 0);
    EXPECT_EQ(viewer->button(u"詳細"_qs)->text(), u"詳細"_qs);

    viewer->button(u"詳細"_qs)->click();
    EXPECT_EQ(viewer->helpMode(), HelpFull);
    EXPECT_EQ(viewer->text().toPlainText(), u"詳しいヘルプ\n詳しい本文\n"_qs);
    ASSERT_NE(viewer->button(u"簡易"_qs), nullptr);

    // The file universe's help is missing here: its message in pink, never an empty window.
    QTest::mouseClick(&viewer->nebuPanel(), Qt::LeftButton);
    EXPECT_EQ(viewer->helpMode(), HelpUniverse);
    EXPECT_TRUE(viewer->text().toPlainText().startsWith(u"ヘルプファイルが見つかりません!!!\n"_qs));
    EXPECT_TRUE(viewer->text().toPlainText().endsWith(u"atelier/nebuhelp.txt"_qs));
    EXPECT_EQ(look(0), std::make_pair(0x8000FFu, 14));
    EXPECT_EQ(viewer->button(u"簡易"_qs)->text(), u"簡易"_qs) << "the universe's help leaves the caption";

    // "詳細" from the universe's help goes to the full help, not the brief one.
    viewer->button(u"簡易"_qs)->click();
    EXPECT_EQ(viewer->helpMode(), HelpFull);

    // A file changed while hidden is read again at the next show.
    releaseKey(Qt::Key_Q);
    EXPECT_FALSE(viewer->isVisible());
    write(u"help.txt"_qs, u"新しい\r\n\r\n版\r\n"_qs);
    viewer->showHelp();
    EXPECT_EQ(viewer->text().toPlainText(), u"新しい\n版\n"_qs);
}

TEST_F(HelpViewerTest, FloatsAndDocksBackOnTheExhibitionArea) {
    // Opened by the file universe in its tree area.
    viewer->setPlace(HelpUniverse, tree);
    viewer->showHelp();
    EXPECT_EQ(viewer->parentWidget(), tree);
    EXPECT_EQ(viewer->height(), 500 - 40);
    EXPECT_EQ(viewer->x(), (800 - viewer->width()) / 2);

    releaseKey(Qt::Key_W);
    EXPECT_TRUE(viewer->isFloating());
    EXPECT_TRUE(viewer->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_EQ(viewer->button(u"戻"_qs)->toolTip(), u"大宇宙に戻る"_qs);

    // Floating survives a hide and a caller's new use.
    viewer->closeHelp();
    viewer->setPlace(HelpBrief, area);
    viewer->showHelp();
    EXPECT_TRUE(viewer->isFloating());
    EXPECT_TRUE(viewer->isVisible());

    viewer->button(u"戻"_qs)->click();
    EXPECT_FALSE(viewer->isFloating());
    EXPECT_EQ(viewer->parentWidget(), area) << "docks on the exhibition area whoever opened it";
    EXPECT_EQ(viewer->geometry(), QRect((1264 - 992) / 2, 0, 992, 675 - 100));
    EXPECT_EQ(viewer->button(u"宙"_qs)->toolTip(), u"大宇宙から宙に飛び出す"_qs);
    EXPECT_TRUE(viewer->isVisible());
}

TEST_F(HelpViewerTest, Screenshot) {
    const QString shots = qEnvironmentVariable("VIMORA_SHOTS");
    const QString home = qEnvironmentVariable("VIMORA_HOME");
    if (shots.isEmpty() || home.isEmpty()) GTEST_SKIP() << "VIMORA_SHOTS or VIMORA_HOME not set";
    QDir().mkpath(shots);
    QPalette dark = area->palette();
    dark.setColor(QPalette::Window, QColor(0x00, 0x20, 0x30));
    area->setPalette(dark);
    area->setAutoFillBackground(true);
    TFormHelp bundled(home, area, HelpBrief, area);
    bundled.showHelp();
    QCoreApplication::processEvents();
    EXPECT_TRUE(gallery.grab().save(shots + u"/help-brief.png"_qs));
    bundled.button(u"詳細"_qs)->click();
    QCoreApplication::processEvents();
    EXPECT_TRUE(bundled.grab().save(shots + u"/help-full.png"_qs));
    QTest::mouseClick(&bundled.nebuPanel(), Qt::LeftButton);
    QCoreApplication::processEvents();
    EXPECT_TRUE(bundled.grab().save(shots + u"/help-nebu.png"_qs));
    viewer->setPlace(HelpUniverse, area);
    viewer->showHelp();
    QCoreApplication::processEvents();
    EXPECT_TRUE(viewer->grab().save(shots + u"/help-missing.png"_qs));
}

} // namespace
