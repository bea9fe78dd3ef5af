#include "AtelierWindowFixture.h"
#include "atelier/AcmdEditor.h"
#include "atelier/AtelierGrids.h"
#include "atelier/CommandReference.h"
#include "atelier/TFormAtelie2.h"
#include "script/KeywordTables.h"
#include "gallery/BgrColor.h"
#include "script/QStringPrinter.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTextEdit>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextLayout>

namespace {

// The colour the highlighter gave the character at `column` of line `line` (0-based); invalid
// when it has none.
QColor colourAt(AcmdEditor& editor, int line, int column) {
    const QTextBlock block = editor.document()->findBlockByNumber(line);
    for (const QTextLayout::FormatRange& range : block.layout()->formats())
        if (column >= range.start && column < range.start + range.length) return range.format.foreground().color();
    return {};
}

QColor pairColour(const AtelierModel& m, int pair) { return QColor(bgrToRgb(m.colour(pair))); }

TEST_F(AtelierWindowTest, OpensTheCurrentWorkWithColoursStatusAndReference) {
    EXPECT_EQ(atelier->windowTitle(), u"vra Atelier"_qs);
    EXPECT_EQ(atelier->editedWindow(), window.get());
    EXPECT_EQ(window->pos(), QPoint(20, 20));
    EXPECT_EQ(atelier->editor().blockCount(), 12);
    EXPECT_EQ(atelier->shownPath(), folder.file(u"work.acmd"_qs));
    EXPECT_EQ(atelier->status(), u"00,001／012"_qs);
    EXPECT_FALSE(atelier->model().changedMark());
    EXPECT_FALSE(atelier->model().japaneseForm());
    EXPECT_EQ(atelier->model().category(), kFirstCategory);
    EXPECT_FALSE(atelier->helpPanel()->isVisible());
    EXPECT_EQ(atelier->geometry(), dockedPlace({1264, 675}, window->geometry().right() + 1, 82));

    const AtelierModel& m = atelier->model();
    EXPECT_EQ(colourAt(atelier->editor(), 0, 0), pairColour(m, PairKeyword + TableBlocks));    // ANIME_SET
    EXPECT_EQ(colourAt(atelier->editor(), 1, 7), pairColour(m, PairString));                   // "dot"
    EXPECT_EQ(colourAt(atelier->editor(), 5, 0), pairColour(m, PairKeyword + TableKinds));     // DotPtn
    EXPECT_EQ(colourAt(atelier->editor(), 9, 4), pairColour(m, PairVariable));                 // $i
    EXPECT_EQ(colourAt(atelier->editor(), 10, 3), pairColour(m, PairColon));
    EXPECT_FALSE(colourAt(atelier->editor(), 10, 0).isValid()) << "a name keeps the normal colour";

    // Kinds with their descriptions from the bundled reference.
    EXPECT_EQ(atelier->reference().height(), ReferenceGrid::kHeaderHeight + 16 * 20);
}

TEST_F(AtelierWindowTest, TypingRecoloursItsLineAndMarksTheTextChanged) {
    AcmdEditor& editor = atelier->editor();
    QTextCursor cursor(editor.document()->findBlockByNumber(10));
    cursor.movePosition(QTextCursor::EndOfBlock);
    editor.setTextCursor(cursor);
    editor.setFocus();
    QTest::keyClicks(&editor, u",vY=$speed"_qs);
    const AtelierModel& m = atelier->model();
    EXPECT_EQ(colourAt(editor, 10, 13), pairColour(m, PairKeyword + TableAttributes)); // vY
    EXPECT_EQ(colourAt(editor, 10, 16), pairColour(m, PairVariable));
    EXPECT_TRUE(m.changedMark());
    EXPECT_EQ(m.menuRow(CmdOverwrite, false, false).background, 0x80u);

    // A board change recolours the whole text but the edits stay unsaved.
    atelier->runCommand(CmdBoard);
    EXPECT_EQ(m.board(), WhiteBoard);
    EXPECT_EQ(colourAt(editor, 10, 16), QColor(bgrToRgb(m.colours().colour(PairVariable, WhiteBoard))));
    EXPECT_TRUE(m.changedMark());
    EXPECT_TRUE(editor.document()->isModified());

    // Only reverting clears it.
    atelier->runCommand(CmdRevert);
    EXPECT_FALSE(m.changedMark());
    EXPECT_EQ(editor.document()->findBlockByNumber(10).text(), u"box:X=$i*100"_qs);
}

TEST_F(AtelierWindowTest, FontConvertAndLayoutCommands) {
    for (int i = 0; i < 10; ++i) atelier->runCommand(CmdFontDown);
    EXPECT_EQ(atelier->model().fontSize(), 5);
    EXPECT_EQ(atelier->editor().numberColumn()->width(), 20);
    atelier->runCommand(CmdFontUp);
    EXPECT_EQ(atelier->editor().numberColumn()->width(), 24);
    EXPECT_FALSE(atelier->model().changedMark()) << "the font changes no text";

    atelier->runCommand(CmdConvert);
    EXPECT_EQ(atelier->editor().document()->findBlockByNumber(0).text(), u"アニメ設定:"_qs);
    EXPECT_TRUE(atelier->model().japaneseForm());
    EXPECT_EQ(atelier->model().menuRow(CmdConvert, false, false).label, u"標準形変換"_qs);
    EXPECT_TRUE(atelier->model().changedMark());
    atelier->runCommand(CmdConvert);
    EXPECT_EQ(atelier->editor().document()->findBlockByNumber(0).text(), u"Anime_Set:"_qs);
    EXPECT_FALSE(atelier->model().japaneseForm());

    atelier->runCommand(CmdLayout);
    EXPECT_FALSE(atelier->valuesPanel()->isVisible());
    EXPECT_TRUE(atelier->referencePanel()->isVisible());
    atelier->runCommand(CmdLayout);
    EXPECT_FALSE(atelier->referencePanel()->isVisible());
    atelier->runCommand(CmdLayout);
    EXPECT_TRUE(atelier->valuesPanel()->isVisible());
    EXPECT_TRUE(atelier->referencePanel()->isVisible());
}

TEST_F(AtelierWindowTest, EditApplyRunCycle) {
    AcmdEditor& editor = atelier->editor();
    QTextCursor cursor(editor.document()->findBlockByNumber(9));
    cursor.select(QTextCursor::BlockUnderCursor);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
    editor.insertPlainText(u"\nfor $n=1 to 4"_qs);
    ASSERT_EQ(editor.document()->findBlockByNumber(9).text(), u"for $n=1 to 4"_qs);
    cursor = QTextCursor(editor.document()->findBlockByNumber(10));
    cursor.select(QTextCursor::LineUnderCursor);
    editor.setTextCursor(cursor);
    editor.insertPlainText(u"box:X=$n*50   "_qs);

    atelier->runCommand(CmdApply);
    const kestoBasInfo& k = runner().interpreter();
    EXPECT_EQ(k.programLines.value(9), u"for $n=1 to 4"_qs);
    EXPECT_EQ(k.programLines.value(10), u"box:X=$n*50"_qs) << "trailing spaces go";
    EXPECT_EQ(atelier->model().stopCountdown(), AtelierModel::kStopTicks);
    EXPECT_TRUE(atelier->model().changedMark()) << "applying does not save";

    atelier->runCommand(CmdRun);
    EXPECT_TRUE(runner().running());
    EXPECT_EQ(atelier->model().menuRow(CmdRun, true, false).label, u"acmd中断"_qs);
    ASSERT_TRUE(pumpUntil([&] { return !runner().running(); }, 10000));
    pumpUntil([&] { return atelier->valueRows().size() >= 1; }, 1000);
    const QStringList rows = atelier->valueRows();
    ASSERT_FALSE(rows.isEmpty());
    EXPECT_TRUE(rows[0].contains(u"$n"_qs)) << rows.join(u'\n').toStdString();
    EXPECT_TRUE(rows[0].endsWith(u"    5"_qs)) << rows[0].toStdString();
    EXPECT_EQ(runner().lastRunEnd(), WorkRunner::RunEnd::Ended);
    EXPECT_EQ(atelier->markedLine(), -1);
    EXPECT_TRUE(checks.records.empty()) << checks.records[0].text.toStdString();
}

TEST_F(AtelierWindowTest, AScriptErrorMarksItsLineAndScrollsToIt) {
    QStringList lines;
    for (int i = 0; i < 60; ++i) lines << u": filler"_qs;
    atelier->editor().setPlainText(u"ANIME_SET:\nDotPtn:box,1,1,10,40,0,0,0,1,1\n1\nSET_END:\n"_qs + lines.join(u'\n') +
                                   u"\nbox:X=10\nbal:X=1"_qs);
    atelier->runCommand(CmdApply);
    ASSERT_FALSE(host.messages.isEmpty());
    EXPECT_EQ(atelier->markedLine(), 66);
    const QTextCursor caret = atelier->editor().textCursor();
    EXPECT_EQ(caret.blockNumber(), 65);
    EXPECT_GT(atelier->editor().firstVisibleLine(), 30);
    EXPECT_EQ(atelier->editor().extraSelections().size(), 1);

    // A new apply clears the mark.
    atelier->editor().setPlainText(u"ANIME_SET:\nSET_END:"_qs);
    atelier->runCommand(CmdApply);
    EXPECT_EQ(atelier->markedLine(), -1);
    EXPECT_TRUE(atelier->editor().extraSelections().isEmpty());
}

TEST_F(AtelierWindowTest, NewAndLoadAskToSaveUnsavedEditsFirst) {
    atelier->editor().appendPlainText(u": edited"_qs);
    ASSERT_TRUE(atelier->model().changedMark());

    // Yes, then the chooser is cancelled: the edits stay and nothing new comes.
    checks.answers = {1};
    chooser.paths = {QString()};
    atelier->runCommand(CmdNew);
    ASSERT_EQ(checks.records.size(), 1u);
    EXPECT_EQ(checks.records[0].text, u"ヴィモラ「acmd」ファイルを保存しますか？(Y/N)"_qs);
    EXPECT_TRUE(atelier->editor().toPlainText().endsWith(u": edited"_qs));

    // No: the template replaces them.
    checks.answers = {0};
    atelier->runCommand(CmdNew);
    EXPECT_EQ(atelier->editor().blockCount(), 7);
    EXPECT_EQ(atelier->shownPath(), u"無題"_qs);
    EXPECT_FALSE(atelier->model().changedMark());
    EXPECT_EQ(runner().baseSize(), QSize(750, 500));
    EXPECT_EQ(runner().animation().bgColor, 24u + 24u * 256u + 56u * 65536u);

    // Loading: no question for an unchanged text; the chosen program comes into the editor.
    const QString other = folder.write(u"other.acmd"_qs, "ANIME_SET:\r\ntheme:\"other\"\r\nSET_END:\r\n");
    checks.records.clear();
    chooser.paths = {other};
    atelier->runCommand(CmdLoad);
    EXPECT_TRUE(checks.records.empty());
    EXPECT_EQ(atelier->shownPath(), other);
    EXPECT_EQ(atelier->editor().document()->findBlockByNumber(1).text(), u"theme:\"other\""_qs);
    EXPECT_EQ(window->windowTitle(), u"other"_qs);

    // A cancelled load keeps the work.
    chooser.paths = {QString()};
    atelier->runCommand(CmdLoad);
    EXPECT_EQ(runner().interpreter().programPath, other);
}

TEST_F(AtelierWindowTest, SaveOverwriteAndCloseRefreshTheWork) {
    atelier->editor().appendPlainText(u": saved line 100%"_qs);
    atelier->runCommand(CmdOverwrite);
    EXPECT_FALSE(atelier->model().changedMark());
    EXPECT_TRUE(atelier->model().savedWhileOpen());
    EXPECT_EQ(runner().interpreter().programLines.last(), u": saved line 100%"_qs);
    QByteArray bytes;
    readFileBytes(folder.file(u"work.acmd"_qs), bytes);
    EXPECT_TRUE(bytes.endsWith(": saved line 100%\r\n"));

    atelier->runCommand(CmdOverwrite); // unchanged: nothing
    EXPECT_TRUE(chooser.pathRequests.empty());

    atelier->closeAtelier();
    EXPECT_FALSE(atelier->isVisible());
    EXPECT_EQ(host.refreshes, 1);
    EXPECT_EQ(host.closings, 1);
    EXPECT_EQ(atelier->editedWindow(), nullptr);
    EXPECT_FALSE(atelier->timerAtelier().isActive());
}

TEST_F(AtelierWindowTest, TheEditorPanelIsSizedAndMovedByDraggingItsEdges) {
    QWidget* panel = atelier->editorPanel();
    const auto mouse = [panel](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        QMouseEvent e(type, QPointF(at), panel->mapToGlobal(QPointF(at)), Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(panel, &e);
    };
    const QRect before = panel->geometry();
    const QPoint corner(before.width() - 2, before.height() - 2);
    mouse(QEvent::MouseButtonPress, corner, Qt::LeftButton);
    QPoint at = corner;
    for (int step = 0; step < 10; ++step) mouse(QEvent::MouseMove, at += QPoint(-5, -4), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, at, Qt::NoButton);
    EXPECT_EQ(panel->geometry(), QRect(before.topLeft(), before.size() - QSize(50, 40)));
    EXPECT_EQ(atelier->editor().geometry().bottom(), panel->height() - 5) << "the editor follows its panel";

    // Grabbed by its top strip it moves.
    const QPoint place = panel->pos();
    mouse(QEvent::MouseButtonPress, QPoint(60, 10), Qt::LeftButton);
    mouse(QEvent::MouseMove, QPoint(70, 30), Qt::LeftButton);
    mouse(QEvent::MouseButtonRelease, QPoint(70, 30), Qt::NoButton);
    EXPECT_EQ(panel->pos(), place + QPoint(10, 20));
}

TEST_F(AtelierWindowTest, FloatsAndDocksAgain) {
    atelier->toggleFloat();
    EXPECT_TRUE(atelier->isFloating());
    atelier->toggleFloat();
    EXPECT_FALSE(atelier->isFloating());
    EXPECT_EQ(atelier->parentWidget(), host.area);
}

TEST(AtelierMissingData, AMissingColourFileIsReportedAndTheBuiltInColoursStay) {
    RecordingCheckSink checks;
    ScopedCheckSink scoped(&checks);
    AtelierTestHost host;
    TempFolder empty;
    host.home = empty.path() + u'/';
    TFormAtelier atelier(host);
    ASSERT_EQ(checks.records.size(), 1u);
    EXPECT_EQ(checks.records[0].text, u"カラー設定のファイルが見つかりません！"_qs);
    EXPECT_EQ(checks.records[0].caption, empty.path() + u"/atelier/color.txt"_qs);
    EXPECT_EQ(atelier.model().colour(PairBackground), 0x000000u);
    EXPECT_FALSE(atelier.timerAtelier().isActive());
}

// Pictures of the Atelier in both board colours, for a person to look at: written when
// VIMORA_SHOTS names a folder.
TEST_F(AtelierWindowTest, WorkshopRowOpensTheWorkshopModallyAndHelpRowShowsThePlainHelp) {
    QString seenTitle;
    bool seenModal = false;
    QTimer::singleShot(0, [&] {
        auto* workshop = qobject_cast<TFormAtelie2*>(QApplication::activeModalWidget());
        if (!workshop) return;
        seenTitle = workshop->windowTitle();
        seenModal = workshop->isModal();
        workshop->button(u"閉じる"_qs)->click();
    });
    atelier->runCommand(CmdWorkshop); // returns once the workshop was closed
    EXPECT_EQ(seenTitle, u"アトリエⅡ　工作室"_qs);
    EXPECT_TRUE(seenModal);
    EXPECT_EQ(atelier->findChildren<TFormAtelie2*>().size(), 0) << "freed when closed";

    atelier->runCommand(CmdHelp);
    QWidget* help = atelier->helpPanel();
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->size(), QSize(720, 400));
    EXPECT_EQ(help->geometry().bottom() + 1, atelier->height() - 12);
    auto* text = help->findChild<QTextEdit*>();
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->toPlainText().contains(u"_アトリエでできること"_qs)) << "the plain form keeps the marks";
    EXPECT_EQ(text->textCursor().position(), 0);
    // The plain form draws every line white.
    QTextCursor first(text->document());
    first.movePosition(QTextCursor::NextCharacter, QTextCursor::MoveAnchor, 2);
    EXPECT_EQ(first.charFormat().foreground().color(), QColor(Qt::white));
}

TEST_F(AtelierWindowTest, Screenshots) {
    const QString shots = qEnvironmentVariable("VIMORA_SHOTS");
    if (shots.isEmpty()) GTEST_SKIP() << "VIMORA_SHOTS not set";
    QDir().mkpath(shots);
    QPalette areaColour = host.area->palette();
    areaColour.setColor(QPalette::Window, QColor(0x00, 0x20, 0x30));
    host.area->setPalette(areaColour);
    host.area->setAutoFillBackground(true);
    // A gallery wide enough for the work and the Atelier side by side.
    host.gallery->resize(1880, 980);
    host.area->setGeometry(0, 40, 1880, 940);
    chooser.paths = {host.home + u"ugoki/sakana.acmd"_qs};
    atelier->runCommand(CmdLoad);
    atelier->open();
    atelier->runCommand(CmdRun);
    QCoreApplication::processEvents();
    for (const char* name : {"black", "white"}) {
        pumpUntil([] { return false; }, 1500);
        EXPECT_TRUE(host.gallery->grab().save(shots + QStringLiteral("/atelier-%1.png").arg(QLatin1String(name))));
        atelier->runCommand(CmdBoard);
    }
}

} // namespace
