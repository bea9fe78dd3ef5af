#include "script/QStringPrinter.h"
#include "atelier/TFormMemo.h"

#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(MemoTest, ShowsItsLinesTellsChangesAndAnswersTheStoreRequest) {
    TFormMemo empty(std::nullopt, nullptr, QString());
    EXPECT_EQ(empty.text(), u"設定なし"_qs);
    EXPECT_FALSE(empty.isModified());
    EXPECT_EQ(empty.lampColour(), 0xFFFF80u);

    TFormMemo memo(QStringList{u"600,400,0,text:こんにちは"_qs, u"二行目"_qs}, nullptr, u"/data/"_qs);
    memo.setWindowTitle(u"星のメタデータ"_qs);
    memo.setTopText(u"メタ形式"_qs);
    EXPECT_EQ(memo.text(), u"600,400,0,text:こんにちは\n二行目"_qs);
    EXPECT_EQ(memo.lampColour(), 0xFFFF80u);

    // Run modally: the user types and presses "更新終了".
    QTimer::singleShot(0, [&memo] {
        QTest::keyClicks(&memo.editor(), u"!"_qs);
        memo.button(u"更新終了"_qs)->click();
    });
    EXPECT_EQ(memo.exec(), QDialog::Accepted);
    EXPECT_TRUE(memo.saveRequested());
    EXPECT_TRUE(memo.isModified());
    EXPECT_EQ(memo.lampColour(), 0x40FFFFu);
    EXPECT_TRUE(memo.text().startsWith(u"!600"_qs)) << "typed where the caret stood";

    // "終了" leaves the store request as it was.
    TFormMemo other(QStringList{u"x"_qs}, nullptr, QString());
    QTimer::singleShot(0, [&other] { other.button(u"終了"_qs)->click(); });
    other.exec();
    EXPECT_FALSE(other.saveRequested());
    EXPECT_FALSE(other.isModified());
}

TEST(MemoTest, PreviewIsOnePageThatKeepsItsPanelHeight) {
    TFormMemo memo(QStringList{u"200,100,0,text:見本の文"_qs}, nullptr, QString());
    memo.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&memo));
    EXPECT_EQ(memo.previewHeight(), 10);
    memo.previewClick();
    QWidget* first = memo.preview();
    ASSERT_TRUE(first);
    EXPECT_EQ(memo.previewPanel().height(), memo.editorPanel().height() / 2) << "below 30 the panel takes half";
    EXPECT_EQ(first->size(), QSize(200, 100));
    EXPECT_EQ(first->pos(), QPoint((memo.previewPanel().width() - 200) / 2, (memo.previewPanel().height() - 100) / 2));
    EXPECT_EQ(memo.previewText().trimmed(), u"見本の文"_qs) << "the chart view's text page";

    // Twice in a row: one page.
    memo.previewClick();
    EXPECT_EQ(memo.previewPanel().findChildren<QWidget*>(u"preview"_qs, Qt::FindDirectChildrenOnly).size(), 1);

    // The splitter dragged: the height is remembered, hiding keeps it for the next preview.
    auto* splitter = memo.findChild<QSplitter*>();
    const int total = splitter->sizes()[0] + splitter->sizes()[1];
    splitter->setSizes({total - 120, 120});
    emit splitter->splitterMoved(total - 120, 1);
    EXPECT_EQ(memo.previewHeight(), 120);
    memo.hidePreviewClick();
    EXPECT_EQ(memo.preview(), nullptr);
    EXPECT_EQ(memo.previewPanel().height(), 16);
    EXPECT_EQ(memo.previewHeight(), 120);
    memo.previewClick();
    EXPECT_EQ(memo.previewPanel().height(), 120);

    // Dragged too far, the preview panel stays 40 pixels lower than the editor panel.
    splitter->setSizes({5, total - 5});
    emit splitter->splitterMoved(5, 1);
    EXPECT_LE(memo.previewPanel().height(), memo.editorPanel().height() - 40);

    // A kind the preview does not open is named with its data.
    memo.editor().setPlainText(u"300,100,0,file:a.html"_qs);
    memo.previewClick();
    EXPECT_TRUE(memo.previewText().startsWith(u"file:　300 × 100　（表示窓識別 0）\na.html"_qs)) << memo.previewText().toStdString();

    // Invalid metadata still opens a page that says so.
    memo.editor().setPlainText(u"nonsense"_qs);
    memo.previewClick();
    ASSERT_TRUE(memo.preview());
    EXPECT_TRUE(memo.previewText().startsWith(u"メタデータの形式が正しくありません"_qs));
    EXPECT_TRUE(memo.previewText().contains(u"nonsense"_qs));
}

TEST(MemoTest, Screenshot) {
    const QString shots = qEnvironmentVariable("VIMORA_SHOTS");
    if (shots.isEmpty()) GTEST_SKIP() << "VIMORA_SHOTS not set";
    QDir().mkpath(shots);
    TFormMemo memo(QStringList{u"360,90,0,text:ここに星の案内が表示されます"_qs}, nullptr, u"/home/user/"_qs);
    memo.setWindowTitle(u"photo.jpgのメタデータ"_qs);
    memo.setTopText(u"メタ形式〔 窓横サイズ , 窓縦サイズ , 表示窓識別 , データ識別4文字: データ文字列 〕"_qs);
    memo.setMiddleText(u"データ識別〔 text:　html:　file: http:　imag:　exec: tbl0:列数 , 行数 , 行文字色 , セルデータ... 〕"_qs);
    memo.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&memo));
    memo.previewClick();
    QCoreApplication::processEvents();
    EXPECT_TRUE(memo.grab().save(shots + u"/memo.png"_qs));
}

} // namespace
