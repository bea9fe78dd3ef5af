#include "GalleryWindowFixture.h"
#include "atelier/TFormAtelier.h"
#include "atelier/TFormHelp.h"
#include "common/Choosers.h"
#include "gallery/BgrColor.h"
#include "gallery/TFormDisplay.h"
#include "common/TFormDoing.h"
#include "gallery/TfVimora.h"
#include "gallery/WorksGrid.h"
#include "work/TFormKesto.h"
#include "common/ShowCheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScrollArea>
#include <QTextEdit>
#include <QThread>
#include <QProcess>
#include <gtest/gtest.h>

#include <algorithm>


TEST_F(GalleryWindow, ShowsTheFirstWorkThenLoadsASelectedRowOnTheNextTick) {
    const DisplayBoard& board = gallery.displayForm().board();
    EXPECT_EQ(gallery.windowTitle(), u"Vimora Gallery"_qs);
    // The first work's row is shown once the palette and its window follow the first paint.
    ASSERT_TRUE(waitFor([&] { return gallery.displayForm().isVisible(); }));
    EXPECT_EQ(board.text(), u"展示の準備中です"_qs);
    EXPECT_EQ(gallery.displayForm().host(), &gallery.workWindow());
    EXPECT_TRUE(gallery.workWindow().runner().interpreter().statements.empty()) << "loaded before the announcement";
    EXPECT_TRUE(gallery.timerUpDown().isActive());

    ASSERT_TRUE(waitFor([&] { return loaded(); }));
    Catalog& catalog = gallery.state().catalog();
    const CatalogEntry first = catalog.rowToEntry(gallery.state().currentRow());
    ASSERT_TRUE(first.work);
    EXPECT_EQ(first.work, catalog.firstSource()->groups.front()->works.front().get());
    EXPECT_EQ(gallery.workWindow().windowTitle(), first.work->title);
    EXPECT_EQ(gallery.groupTitle(), first.group->title);
    EXPECT_EQ(gallery.worksGrid().currentRow(), gallery.state().currentRow());
    EXPECT_TRUE(gallery.workWindow().isVisible());
    EXPECT_TRUE(gallery.workWindow().timerKesto().isActive());
    ASSERT_TRUE(waitFor([&] { return !gallery.timerUpDown().isActive(); })) << "the gallery timer never rests";
    EXPECT_FALSE(gallery.displayForm().isVisible());

    const int row = lastWorkRow();
    ASSERT_GT(row, gallery.state().currentRow());
    const CatalogEntry other = catalog.rowToEntry(row);
    release(row);
    EXPECT_EQ(board.text(), u"展示の準備中です"_qs);
    EXPECT_EQ(gallery.state().pendingRow(), row);
    EXPECT_EQ(gallery.workWindow().windowTitle(), first.work->title) << "the load waits for a tick";
    ASSERT_TRUE(waitFor([&] { return gallery.state().pendingRow() < 0; }));
    EXPECT_EQ(gallery.workWindow().windowTitle(), other.work->title);
    EXPECT_EQ(gallery.workWindow().runner().interpreter().programPath,
              Catalog::workPath(*other.source, *other.group, *other.work));
    EXPECT_EQ(gallery.groupTitle(), other.group->title);
    EXPECT_EQ(catalog.current, other);
    EXPECT_EQ(board.text(), u"展示を始めます"_qs);
    EXPECT_EQ(gallery.state().lastRow(), row);
    EXPECT_TRUE(messages.records.empty()) << messages.records.front().caption.toStdString();
}

TEST_F(GalleryWindow, RunButtonStartsAndStopsTheShownWork) {
    ASSERT_TRUE(waitFor([&] { return loaded(); }));
    WorkRunner& runner = gallery.workWindow().runner();
    auto* image = gallery.worksGrid().findChild<QLabel*>(QStringLiteral("ImageRun"));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->parentWidget()->pos(), gallery.worksGrid().runButtonPlace())
        << "the run triangle sits on the current work row";
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent click(type, QPointF(8, 8), image->mapToGlobal(QPointF(8, 8)), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(image, &click);
    }
    EXPECT_TRUE(runner.running()) << "a work that never ran starts at once";
    EXPECT_EQ(runner.runCount(), 1);
    EXPECT_TRUE(gallery.workWindow().timerProg().isActive());
    EXPECT_FALSE(image->isVisible()) << "a running work's run panel shows the stop mark";
    EXPECT_EQ(static_cast<QLabel*>(image->parentWidget())->text(), u"■"_qs);
    EXPECT_EQ(gallery.palette().logLines().filter(u"runClick"_qs), QStringList{u"runClick 0 0"_qs});
    gallery.runOrStop(); // a second press announces the break; the palette's next step stops it
    EXPECT_EQ(gallery.displayForm().board().text(), u"作品鑑賞を中断します"_qs);
    EXPECT_TRUE(runner.running());
    EXPECT_TRUE(gallery.palette().model().runToggleRequest());
    ASSERT_TRUE(waitFor([&] { return !runner.running(); }, 1000));
    EXPECT_FALSE(gallery.palette().model().runToggleRequest());
    EXPECT_TRUE(image->isVisible());
}

TEST_F(GalleryWindow, ARunToItsEndFreesTheRunButtonAndNotesTheLastRow) {
    ASSERT_TRUE(waitFor([&] { return loaded(); }));
    WorkRunner& runner = gallery.workWindow().runner();
    WorksGrid& grid = gallery.worksGrid();
    const int row = gallery.state().currentRow();
    const auto rowColour = [&] { return rgbToBgr(grid.grab().toImage().pixel(200, grid.rowRect(row).center().y())); };
    EXPECT_EQ(gallery.state().lastRow(), 0);
    gallery.runOrStop();
    ASSERT_TRUE(runner.running());
    EXPECT_EQ(rowColour(), 0x40u) << "the running work's row turns dark red";
    ASSERT_TRUE(waitFor([&] { return !runner.running(); }, 90000)) << "every bundled work ends by itself";
    EXPECT_EQ(runner.lastRunEnd(), WorkRunner::RunEnd::Ended);
    EXPECT_EQ(gallery.state().lastRow(), row);
    EXPECT_EQ(rowColour(), 0x303030u);
    gallery.runOrStop(); // a work that ran before is announced first and started by the palette
    EXPECT_EQ(gallery.displayForm().board().text(), u"鑑賞の準備中です"_qs);
    ASSERT_TRUE(waitFor([&] { return runner.running(); }, 1000));
    EXPECT_EQ(runner.runCount(), 1);
}

TEST_F(GalleryWindow, GroupButtonsShowTheNextGroupsFirstWork) {
    ASSERT_TRUE(waitFor([&] { return loaded(); }));
    Catalog& catalog = gallery.state().catalog();
    const acmdGroupInfo* second = catalog.firstSource()->groups.at(1).get();
    gallery.state().moveToGroup();
    ASSERT_TRUE(waitFor([&] { return gallery.state().pendingRow() < 0; }));
    EXPECT_EQ(gallery.groupTitle(), second->title);
    EXPECT_EQ(gallery.workWindow().windowTitle(), second->works.front()->title);
}

TEST_F(GalleryWindow, WorksPanelMovesAndResizesByDragging) {
    ASSERT_TRUE(waitFor([&] { return loaded(); }));
    auto* panel = gallery.findChild<QFrame*>(QStringLiteral("PanelWorks"));
    ASSERT_TRUE(panel);
    const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(at), panel->mapToGlobal(QPointF(at)), Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(panel, &event);
    };
    const QRect start = panel->geometry();
    send(QEvent::MouseButtonPress, {100, 2}, Qt::LeftButton); // the top border moves the panel
    send(QEvent::MouseMove, {120, 12}, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {120, 12}, Qt::NoButton);
    EXPECT_EQ(panel->geometry(), start.translated(20, 10));
    send(QEvent::MouseMove, {140, 30}, Qt::NoButton); // no button held: nothing moves
    EXPECT_EQ(panel->geometry(), start.translated(20, 10));

    const int right = panel->width() - 2;
    send(QEvent::MouseButtonPress, {right, 100}, Qt::LeftButton); // the right edge widens it
    send(QEvent::MouseMove, {right + 40, 100}, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {right + 40, 100}, Qt::NoButton);
    EXPECT_EQ(panel->width(), start.width() + 40);
    EXPECT_EQ(panel->x(), start.x() + 20);
    EXPECT_EQ(gallery.worksGrid().parentWidget()->parentWidget()->width(), panel->width() - 8 - 5)
        << "the grid follows the panel's width";
    const int bottom = panel->height() - 2;
    send(QEvent::MouseButtonPress, {100, bottom}, Qt::LeftButton); // the bottom edge heightens it
    send(QEvent::MouseMove, {100, bottom + 50}, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, {100, bottom + 50}, Qt::NoButton);
    EXPECT_EQ(panel->height(), start.height() + 50);
    const QRect resized = panel->geometry();
    release(gallery.state().currentRow() + 1); // another work of the same group, nothing folds
    EXPECT_EQ(panel->geometry(), resized) << "a selection keeps the panel the user resized";
}

TEST_F(GalleryWindow, TopBarButtonsLookPressedAndTheAtelierIsAnnounced) {
    ASSERT_TRUE(waitFor([&] { return loaded(); }));
    const auto button = [&](const QString& text) {
        for (QPushButton* b : gallery.findChildren<QPushButton*>())
            if (b->text() == text) return b;
        return static_cast<QPushButton*>(nullptr);
    };
    for (const QString& text : {u"ヘルプ"_qs, u"巡回"_qs, u"全展示"_qs, u"アトリエ"_qs}) {
        QPushButton* b = button(text);
        ASSERT_TRUE(b) << text.toStdString();
        const QPoint at = b->pos();
        emit b->pressed();
        EXPECT_EQ(b->pos(), at + QPoint(2, -2)) << text.toStdString();
        emit b->released();
        EXPECT_EQ(b->pos(), at) << text.toStdString();
    }
    button(u"アトリエ"_qs)->click();
    EXPECT_EQ(gallery.displayForm().board().text(), u"「アトリエ」に入室します。"_qs);
    EXPECT_NE(gallery.displayForm().host(), &gallery.workWindow());
    EXPECT_EQ(gallery.state().pendingAction(), GalleryState::OpenAtelier);
    ASSERT_TRUE(waitFor([&] { return gallery.state().pendingAction() == GalleryState::NoAction; }, 1000));
    ASSERT_TRUE(gallery.atelier());
    EXPECT_TRUE(gallery.atelier()->isVisible());
    EXPECT_FALSE(button(u"アトリエ"_qs)->isVisible());
    EXPECT_TRUE(messages.records.empty());
}

// The Atelier opened from the top bar edits the current work: a program chosen through the
// palette's chooser comes into the editor and the palette's title, a script error of the run
// marks its line, and closing gives the gallery its top bar and works list back.
TEST_F(GalleryWindow, AtelierEditsTheCurrentWorkAndGivesTheGalleryBackOnClose) {
    ASSERT_TRUE(waitFor([&] { return loaded(); }));
    QPushButton* atelierButton = nullptr;
    for (QPushButton* b : gallery.findChildren<QPushButton*>())
        if (b->text() == u"アトリエ"_qs) atelierButton = b;
    ASSERT_TRUE(atelierButton);
    atelierButton->click();
    ASSERT_TRUE(waitFor([&] { return gallery.atelier() && gallery.atelier()->isVisible(); }, 2000));
    TFormAtelier& atelier = *gallery.atelier();
    EXPECT_EQ(atelier.editedWindow(), &gallery.workWindow());
    EXPECT_FALSE(atelier.isFloating());
    EXPECT_EQ(atelier.shownPath(), gallery.workWindow().runner().interpreter().programPath);

    TempFolder folder;
    const QString program = folder.write(u"mine.acmd"_qs,
                                         "\xEF\xBB\xBF" "ANIME_SET:\r\ntheme:\"わたしの作品\"\r\nDotPtn:box,1,1,10,40,0,0,0,1,1\r\n1\r\n"
                                         "SET_END:\r\nbox:X=10\r\nbax:X=1\r\n");
    ScriptedChooserSink chooser;
    ScopedChooserSink scoped(&chooser);
    chooser.paths = {program};
    atelier.runCommand(CmdLoad);
    EXPECT_EQ(atelier.shownPath(), program);
    EXPECT_EQ(gallery.palette().theme(), u"わたしの作品"_qs);
    EXPECT_EQ(atelier.markedLine(), 7) << "the unknown name of line 7 was reported while compiling";
    EXPECT_EQ(gallery.workWindow().runner().interpreter().programPath, program);

    atelier.closeAtelier();
    EXPECT_FALSE(atelier.isVisible());
    EXPECT_TRUE(atelierButton->isVisible());
    EXPECT_EQ(gallery.displayForm().board().text(), u"「アトリエを退出します。"_qs);
    EXPECT_TRUE(messages.records.empty()) << messages.records[0].text.toStdString();
}

TEST_F(GalleryWindow, ANarrowGalleryMovesItsTitleRightOfTheMiddle) {
    QLabel* title = nullptr;
    for (QLabel* l : gallery.findChildren<QLabel*>())
        if (l->text() == u" Vimora Art"_qs) title = l;
    ASSERT_TRUE(title);
    for (const int width : {1500, 1700}) {
        gallery.resize(width, 800);
        EXPECT_EQ(title->x(), (width - title->width()) / 2 + (width < 1600 ? 100 : 0)) << width;
    }
}

TEST_F(GalleryWindow, HelpButtonShowsTheBriefHelpOnTheExhibitionAreaAndKeepsTheViewer) {
    ASSERT_TRUE(waitFor([&] { return loaded(); }));
    QPushButton* help = nullptr;
    for (QPushButton* b : gallery.findChildren<QPushButton*>())
        if (b->text() == u"ヘルプ"_qs) help = b;
    ASSERT_TRUE(help && help->isEnabled());
    help->click();
    TFormHelp* viewer = gallery.helpViewer();
    ASSERT_TRUE(viewer);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->helpMode(), HelpBrief);
    QWidget* area = viewer->parentWidget();
    ASSERT_TRUE(area);
    EXPECT_EQ(viewer->height(), area->height() - 40);
    EXPECT_EQ(viewer->geometry().center().x(), area->rect().center().x());
    EXPECT_TRUE(viewer->text().toPlainText().startsWith(u"ヴィモラ アート　かんたんヘルプ"_qs));

    // Switched to the full help and closed, the next "ヘルプ" brings back the brief one in the same viewer.
    viewer->button(u"詳細"_qs)->click();
    EXPECT_EQ(viewer->helpMode(), HelpFull);
    viewer->button(u"閉じる"_qs)->click();
    EXPECT_FALSE(viewer->isVisible());
    help->click();
    EXPECT_EQ(gallery.helpViewer(), viewer);
    EXPECT_EQ(viewer->helpMode(), HelpBrief);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_TRUE(messages.records.empty());
}

TEST(VimoraHelp, PromisesOnlyTheStartModesThatExist) {
    QProcess vimora;
    vimora.start(QStringLiteral(VIMORA_PATH), {QStringLiteral("--help")});
    ASSERT_TRUE(vimora.waitForFinished(60000));
    EXPECT_EQ(vimora.exitCode(), 0);
    const QString help = QString::fromUtf8(vimora.readAllStandardOutput());
    for (const QString& mode : {u"0 one work"_qs, u"1 all works of the first group"_qs, u"all works animating"_qs,
                                u"all programs running"_qs})
        EXPECT_TRUE(help.contains(mode)) << help.toStdString();
}

TEST_F(GalleryWindow, TheWorksListIsDrivenFromTheKeyboard) {
    ASSERT_TRUE(waitFor([&] { return loaded(); }));
    WorksGrid& grid = gallery.worksGrid();
    grid.setFocus();
    const auto press = [&](int key) {
        QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
        QCoreApplication::sendEvent(&grid, &down);
    };
    std::vector<int> shown;
    for (int row = 0; row < gallery.state().catalog().rowCount(); ++row)
        if (!grid.rowRect(row).isEmpty()) shown.push_back(row);
    ASSERT_GE(shown.size(), 3u);
    const struct {
        int key;
        int row; // index into the shown rows
    } steps[] = {{Qt::Key_Home, 0},
                 {Qt::Key_Down, 1},
                 {Qt::Key_Down, 2},
                 {Qt::Key_Up, 1},
                 {Qt::Key_End, int(shown.size()) - 1},
                 {Qt::Key_PageUp, -1},
                 {Qt::Key_PageDown, -2},
                 {Qt::Key_Home, 0},
                 {Qt::Key_Up, 0}};
    int paged = -1;
    for (const auto& s : steps) {
        const int before = grid.currentRow();
        press(s.key);
        if (s.row >= 0) {
            EXPECT_EQ(grid.currentRow(), shown[size_t(s.row)]) << s.key;
        } else if (s.row == -1) {
            EXPECT_LT(grid.currentRow(), before) << "a page up leaves the last row";
            paged = grid.currentRow();
        } else {
            EXPECT_GT(grid.currentRow(), paged) << "a page down goes back down";
        }
        EXPECT_TRUE(std::find(shown.begin(), shown.end(), grid.currentRow()) != shown.end()) << "only shown rows";
    }
    EXPECT_EQ(gallery.state().pendingRow(), -1) << "moving shows nothing yet";

    // Down to a work, Space shows it and Enter runs it.
    const auto isWork = [&](int row) { return gallery.state().catalog().rowToEntry(row).work != nullptr; };
    while (!isWork(grid.currentRow()) || grid.currentRow() == gallery.state().currentRow()) {
        const int before = grid.currentRow();
        press(Qt::Key_Down);
        ASSERT_NE(grid.currentRow(), before) << "no other work row to reach";
    }
    const int chosen = grid.currentRow();
    press(Qt::Key_Space);
    ASSERT_TRUE(waitFor([&] { return gallery.state().pendingRow() < 0 && gallery.state().currentRow() == chosen; }));
    const acmdFileInfo* work = gallery.state().catalog().rowToEntry(chosen).work;
    ASSERT_TRUE(waitFor([&] { return gallery.workWindow().windowTitle() == work->title; }));
    press(Qt::Key_Return);
    EXPECT_TRUE(gallery.workWindow().runner().running());
}

TEST_F(GalleryWindow, ALongOperationsBreakPollLetsOnlyItsBreakButtonBeClicked) {
    ASSERT_TRUE(waitFor([&] { return loaded(); }));
    TFormDoing doing(&gallery);
    doing.showProgress(u"コピー中"_qs, 0);
    QPushButton* close = nullptr;
    for (QPushButton* b : gallery.findChildren<QPushButton*>())
        if (b->text() == u"閉館"_qs) close = b;
    ASSERT_TRUE(close);
    const auto postClick = [](QWidget* target) {
        const QPointF at = QRectF(target->rect()).center();
        QCoreApplication::postEvent(target, new QMouseEvent(QEvent::MouseButtonPress, at, target->mapToGlobal(at),
                                                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
        QCoreApplication::postEvent(target, new QMouseEvent(QEvent::MouseButtonRelease, at, target->mapToGlobal(at),
                                                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
    };
    bool closeClicked = false;
    QObject::connect(close, &QPushButton::clicked, [&] { closeClicked = true; });
    postClick(close);
    QThread::msleep(60); // the poll pumps at most every 50 ms
    EXPECT_FALSE(doing.breakRequested());
    EXPECT_FALSE(closeClicked) << "a click elsewhere does not reach the gallery during the operation";
    EXPECT_TRUE(gallery.isVisible());

    postClick(doing.breakButton());
    QThread::msleep(60);
    EXPECT_TRUE(doing.breakRequested()) << "the break button still breaks";
}
