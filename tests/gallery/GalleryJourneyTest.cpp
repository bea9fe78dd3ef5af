// A visitor's walk through the gallery, the palette and the work window together, with real mouse
// and key events wherever a widget takes them: running a work from its window, steering it from
// the palette, floating and docking it, removing it, choosing another group's work and the top
// bar. With VIMORA_JOURNEY_SHOTS set to a folder, each stop saves what the visitor sees there.
#include "GalleryWindowFixture.h"
#include "atelier/TFormAtelier.h"
#include "atelier/TFormHelp.h"
#include "gallery/PaletteLayout.h"
#include "gallery/TFormDisplay.h"
#include "gallery/UpDownControl.h"
#include "work/KestoTitlePlate.h"
#include "work/TFormWeb.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QPointer>
#include <QScrollArea>
#include <QTest>
#include <QToolButton>

#include <algorithm>

namespace {

class Journey : public GalleryWindow {
protected:
    void SetUp() override {
        GalleryWindow::SetUp();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&gallery));
        ASSERT_TRUE(waitFor([&] { return loaded(); }));
        ASSERT_TRUE(waitFor([&] { return !gallery.displayForm().isVisible(); }, 3000)) << "the announcement stays";
    }

    TFormCtrl& palette() { return gallery.palette(); }
    TFormKesto& window() { return gallery.workWindow(); }
    WorkRunner& runner() { return window().runner(); }
    const TFormKesto::Panels& panels() { return window().panels(); }
    QWidget* area() { return palette().parentWidget(); }
    QString stamp() const { return PaletteLog::stamp(wall); }

    template <typename W>
    W* named(QWidget* in, const QString& name) {
        W* found = in->findChild<W*>(name);
        EXPECT_TRUE(found) << name.toStdString();
        return found;
    }
    template <typename W>
    W* withText(QWidget* in, const QString& text) {
        for (W* w : in->findChildren<W*>())
            if (w->text() == text) return w;
        ADD_FAILURE() << "no " << text.toStdString();
        return nullptr;
    }
    // The palette's n-th up-down control (0 frame interval, 1 canvas size) and one of its arrows.
    QToolButton* arrow(int control, bool up) {
        int n = 0;
        for (QWidget* w : palette().findChildren<QWidget*>())
            if (auto* c = dynamic_cast<UpDownControl*>(w); c && n++ == control)
                return withText<QToolButton>(c, up ? u"▲"_qs : u"▼"_qs);
        return nullptr;
    }

    void click(QWidget* w, QPoint at = {-1, -1}) {
        ASSERT_TRUE(w);
        ASSERT_TRUE(w->isVisible()) << w->objectName().toStdString();
        QTest::mouseClick(w, Qt::LeftButton, {}, at.x() < 0 ? w->rect().center() : at);
    }
    // The pointer comes over the picture at (x, y) of its visible part (`PanelAnime`), through
    // the window system of the window it belongs to (the offscreen screen would give a move over
    // a floating window to the gallery beneath it), from a pixel beside it: a pointer already
    // there would not move.
    void hover(TFormKesto& w, QPoint at) {
        QWidget* top = w.window();
        const QPoint to = w.panels().PanelAnime->mapTo(top, at);
        QTest::mouseMove(top->windowHandle(), to - QPoint(1, 1));
        QTest::mouseMove(top->windowHandle(), to);
    }
    void hoverCentre(TFormKesto& w) { hover(w, w.panels().PanelAnime->rect().center()); }
    void hoverFloatZone(TFormKesto& w) { hover(w, QPoint(w.panels().PanelAnime->width() / 2, 8)); }
    // The works list row's place on the screen is reached by scrolling the list to it.
    void clickRow(int row) {
        WorksGrid& grid = gallery.worksGrid();
        const QRect rect = grid.rowRect(row);
        auto* scroll = qobject_cast<QScrollArea*>(grid.parentWidget()->parentWidget());
        ASSERT_TRUE(scroll);
        scroll->ensureVisible(rect.center().x(), rect.center().y(), 0, rect.height());
        QTest::mouseClick(&grid, Qt::LeftButton, {}, QPoint(120, rect.center().y()));
    }
    int rowOf(const acmdGroupInfo& group, int work) {
        Catalog& catalog = gallery.state().catalog();
        return catalog.entryToRow(catalog.firstSource(), &group, group.works.at(work).get());
    }
    // What the visitor sees, saved when asked for: the gallery, and a floating work window apart.
    void shot(const char* name) {
        const QString folder = qEnvironmentVariable("VIMORA_JOURNEY_SHOTS");
        if (folder.isEmpty()) return;
        QTest::qWait(150);
        const QString file = folder + u"/journey-"_qs + QString::fromUtf8(name);
        gallery.grab().save(file + u".png"_qs);
        if (window().isFloating()) window().grab().save(file + u"-window.png"_qs);
    }
    QStringList newLines(int from) { return palette().logLines().mid(from); }
};

} // namespace

// Hover the picture, run it from its own run panel, steer it from the palette, float it out and
// dock it back, type a command, stop it and try to take the only window away.
TEST_F(Journey, RunsAWorkFromItsWindowAndSteersItFromThePalette) {
    shot("1-start");
    const QString title = window().windowTitle();
    EXPECT_EQ(palette().theme(), title);
    EXPECT_EQ(window().parentWidget(), area());
    EXPECT_FALSE(palette().geometry().intersects(window().geometry())) << "the palette covers the work window";
    auto* ctrlRun = named<QPushButton>(&palette(), u"PanelCtrlRun"_qs);
    auto* ctrlImage = named<QLabel>(&palette(), u"ImageCtrlRun"_qs);
    EXPECT_TRUE(ctrlImage->isVisible());

    // The run panel appears in the centre; a click on it starts the work.
    hoverCentre(window());
    ASSERT_TRUE(panels().PanelRun->isVisible());
    EXPECT_TRUE(panels().ImageRun->isVisible()) << "the triangle while idle";
    EXPECT_FALSE(panels().PanelClose->isVisible()) << "one display has no close panel";
    shot("2-hover-run");
    click(panels().ImageRun);
    ASSERT_TRUE(runner().running());
    EXPECT_EQ(ctrlRun->text(), u"■"_qs);
    EXPECT_FALSE(ctrlImage->isVisible());
    EXPECT_EQ(named<QLabel>(&gallery.worksGrid(), u"PanelRun"_qs)->text(), u"■"_qs);
    EXPECT_EQ(palette().logLines().last(), stamp() + u":「"_qs + title + u"」の鑑賞開始."_qs);
    hoverCentre(window());
    EXPECT_EQ(panels().PanelRun->text(), u"■"_qs);
    EXPECT_FALSE(panels().ImageRun->isVisible());

    // Frame interval and canvas size from the palette's arrows.
    click(arrow(0, true));
    EXPECT_EQ(palette().framePeriodText(), u"110"_qs);
    EXPECT_EQ(runner().framePeriod(), 110);
    const QSize full = window().size();
    click(arrow(1, false));
    click(arrow(1, false));
    EXPECT_EQ(palette().canvasText(), u"96"_qs);
    EXPECT_EQ(runner().zoomPercent(), 96);
    EXPECT_LT(window().width(), full.width());
    EXPECT_EQ(window().parentWidget(), area());
    EXPECT_TRUE(window().isVisible());
    shot("3-running-96");

    // "宙" floats the window out; it keeps running; "戻" docks it back clear of the works panel.
    hoverFloatZone(window());
    ASSERT_TRUE(panels().PanelFree->isVisible());
    EXPECT_EQ(panels().PanelFree->text(), u"宙"_qs);
    click(panels().PanelFree);
    ASSERT_TRUE(window().isFloating());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(panels().PanelFree->text(), u"戻"_qs);
    EXPECT_EQ(&gallery.workWindow(), &window());
    QTest::qWait(300);
    EXPECT_TRUE(runner().running()) << "floating leaves the run alone";
    EXPECT_EQ(ctrlRun->text(), u"■"_qs);
    shot("4-floating");
    hoverFloatZone(window());
    ASSERT_TRUE(panels().PanelFree->isVisible());
    click(panels().PanelFree);
    ASSERT_FALSE(window().isFloating());
    EXPECT_EQ(window().parentWidget(), area());
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(panels().PanelFree->text(), u"宙"_qs);
    EXPECT_TRUE(area()->rect().contains(window().geometry())) << "docked off the exhibition area";
    const QRect works = gallery.findChild<QFrame*>(u"PanelWorks"_qs)->geometry();
    EXPECT_GE(window().x(), works.right() + 1) << "docked under the works panel";
    const QObjectList& stacking = area()->children();
    EXPECT_GT(stacking.indexOf(&palette()), stacking.indexOf(&window())) << "the docked window covers the palette";
    EXPECT_TRUE(runner().running());
    KestoTitlePlate* plate = window().titlePlate();
    ASSERT_TRUE(plate);
    EXPECT_EQ(plate->parentWidget(), area());
    EXPECT_TRUE(plate->isVisible()) << "the plate comes back with the window";
    EXPECT_EQ(plate->y(), window().geometry().bottom() + 2);
    shot("5-docked");

    // A typed command moves the first character.
    ASSERT_FALSE(runner().animation().characters.empty());
    const AnimeInfo& character = *runner().animation().characters.front();
    auto* edit = named<QLineEdit>(&palette(), u"CtrlEditCmd"_qs);
    click(edit);
    edit->selectAll();
    QTest::keyClicks(edit, character.name + u"[0]: X=55, Y=44"_qs);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(character.X, 550);
    EXPECT_EQ(character.Y, 440);
    edit->selectAll();
    QTest::keyClicks(edit, u"no such thing 1/0"_qs); // not a command: nothing happens, nothing breaks
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_TRUE(runner().running());
    EXPECT_EQ(character.X, 550);
    EXPECT_TRUE(messages.records.empty()) << messages.records.front().text.toStdString();

    // The palette's run button stops it: announced first, stopped at the palette's next step.
    monotonic += 12'000;
    click(ctrlRun);
    EXPECT_EQ(gallery.displayForm().board().text(), u"作品鑑賞を中断します"_qs);
    EXPECT_EQ(gallery.displayForm().host(), &window());
    ASSERT_TRUE(waitFor([&] { return palette().logLines().last().contains(u"鑑賞終了"_qs); }, 2000));
    EXPECT_EQ(palette().logLines().last(), stamp() + u":「"_qs + title + u"」の鑑賞終了.(  12 秒)"_qs)
        << palette().logLines().join(u'\n').toStdString();
    EXPECT_FALSE(runner().running());
    EXPECT_TRUE(ctrlImage->isVisible());
    EXPECT_EQ(ctrlRun->text(), QString());

    // "×" on the only window is refused; the window stays.
    click(withText<QPushButton>(&palette(), u"×"_qs));
    ASSERT_EQ(messages.records.size(), 1u);
    EXPECT_EQ(messages.records[0].text, u"最後の一作品なので撤去できません！"_qs);
    EXPECT_EQ(messages.records[0].caption, u"キャンバスの撤去"_qs);
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(palette().theme(), title);
    EXPECT_EQ(palette().model().countWindows(), 1);
}

// Choose another group's work in the works list, run it to its end, walk the groups with "↓" and
// "↑", open and close the log.
TEST_F(Journey, ChoosesAnotherGroupsWorkAndRunsItToItsEnd) {
    Catalog& catalog = gallery.state().catalog();
    const auto& groups = catalog.firstSource()->groups;
    ASSERT_GE(groups.size(), 3u);
    const acmdGroupInfo& second = *groups[1];
    const int row = rowOf(second, 0);
    clickRow(row);
    ASSERT_TRUE(waitFor([&] { return gallery.state().pendingRow() < 0 && window().windowTitle() == second.works[0]->title; }));
    EXPECT_EQ(gallery.groupTitle(), second.title);
    EXPECT_EQ(palette().theme(), second.works[0]->title);
    EXPECT_EQ(gallery.worksGrid().currentRow(), row);
    EXPECT_TRUE(palette().logLines().contains(stamp() + u": 作品グループを「"_qs + second.title + u"」に設定."_qs));
    EXPECT_EQ(palette().logLines().last(), stamp() + u":「"_qs + second.works[0]->title + u"」の展示."_qs);
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(window().parentWidget(), area());

    // Enter on the works list runs it; it ends by itself.
    gallery.worksGrid().setFocus();
    QTest::keyClick(&gallery.worksGrid(), Qt::Key_Return);
    ASSERT_TRUE(runner().running());
    auto* ctrlRun = named<QPushButton>(&palette(), u"PanelCtrlRun"_qs);
    EXPECT_EQ(ctrlRun->text(), u"■"_qs);
    shot("6-second-group-running");
    monotonic += 7'000;
    ASSERT_TRUE(waitFor([&] { return !runner().running(); }, 90000)) << "the work never ends";
    EXPECT_EQ(runner().lastRunEnd(), WorkRunner::RunEnd::Ended);
    EXPECT_EQ(palette().logLines().last(), stamp() + u":「"_qs + second.works[0]->title + u"」の鑑賞終了.(   7 秒)"_qs);
    EXPECT_EQ(ctrlRun->text(), QString());
    EXPECT_TRUE(named<QLabel>(&palette(), u"ImageCtrlRun"_qs)->isVisible());
    EXPECT_EQ(gallery.state().lastRow(), row);

    // "↓" and "↑" walk the groups, each showing its first work.
    click(withText<QPushButton>(&gallery, u"↓"_qs));
    ASSERT_TRUE(waitFor([&] { return gallery.state().pendingRow() < 0 && window().windowTitle() == groups[2]->works[0]->title; }));
    EXPECT_EQ(gallery.groupTitle(), groups[2]->title);
    EXPECT_EQ(palette().theme(), groups[2]->works[0]->title);
    EXPECT_EQ(palette().logLines().filter(u"「"_qs + groups[2]->title + u"」に設定"_qs).size(), 1)
        << "one group change, one line";
    click(withText<QPushButton>(&gallery, u"↑"_qs));
    ASSERT_TRUE(waitFor([&] { return gallery.state().pendingRow() < 0 && window().windowTitle() == second.works[0]->title; }));
    EXPECT_EQ(gallery.groupTitle(), second.title);
    EXPECT_EQ(gallery.worksGrid().currentRow(), row);
    EXPECT_EQ(palette().canvasText(), QString::number(runner().zoomPercent()));
    EXPECT_EQ(palette().framePeriodText(), QString::asprintf("%3d", runner().framePeriod()));

    // The log opens with "▼" and closes with "▲".
    QPushButton* log = withText<QPushButton>(&palette(), u"▼"_qs);
    auto* memo = named<QPlainTextEdit>(&palette(), u"MemoLog"_qs);
    const int lines = palette().logLines().size();
    click(log);
    EXPECT_EQ(log->text(), u"▲"_qs);
    EXPECT_GT(palette().height(), PaletteLayout::kNormalHeight);
    EXPECT_TRUE(memo->isVisible());
    EXPECT_EQ(palette().logLines().size(), lines + 1);
    EXPECT_TRUE(memo->visibleRegion().boundingRect().height() > 20) << "the open log shows no line";
    shot("7-log-open");
    click(log);
    EXPECT_EQ(log->text(), u"▼"_qs);
    EXPECT_EQ(palette().height(), PaletteLayout::kNormalHeight);
    EXPECT_TRUE(messages.records.empty()) << messages.records.front().text.toStdString();
}

// The top bar's buttons that open nothing yet leave the gallery as it was; "閉館" closes it and
// every window with it, a floating one included.
TEST_F(Journey, TopBarButtonsLeaveTheGalleryWholeAndClosingTakesEveryWindow) {
    const QString title = window().windowTitle();
    click(withText<QPushButton>(&gallery, u"アトリエ"_qs));
    EXPECT_EQ(gallery.displayForm().board().text(), u"「アトリエ」に入室します。"_qs);
    shot("8-atelier-announced");
    ASSERT_TRUE(waitFor([&] { return gallery.state().pendingAction() == GalleryState::NoAction; }, 1000));
    ASSERT_TRUE(gallery.atelier() && gallery.atelier()->isVisible());
    EXPECT_FALSE(gallery.findChild<QFrame*>(u"PanelWorks"_qs)->isVisible()) << "the Atelier takes the works list's place";
    shot("8-atelier-open");
    click(withText<QPushButton>(gallery.atelier(), u"閉じる"_qs));
    EXPECT_FALSE(gallery.atelier()->isVisible());
    click(withText<QPushButton>(&gallery, u"ヘルプ"_qs));
    ASSERT_TRUE(gallery.helpViewer() && gallery.helpViewer()->isVisible());
    shot("8-help");
    click(gallery.helpViewer()->button(u"閉じる"_qs));
    EXPECT_FALSE(gallery.helpViewer()->isVisible());
    // The classroom opens over the work window; closed, it leaves the gallery as it was.
    click(withText<QPushButton>(&gallery, u"vra教室"_qs));
    QPointer<TFormWeb> room = window().findChild<TFormWeb*>();
    ASSERT_TRUE(room && room->isVisible());
    room->close();
    QTest::qWait(50);
    EXPECT_TRUE(!room || !room->isVisible());
    QTest::qWait(200);
    EXPECT_TRUE(messages.records.empty()) << messages.records.front().text.toStdString();
    EXPECT_TRUE(window().isVisible());
    EXPECT_EQ(window().windowTitle(), title);
    EXPECT_EQ(palette().theme(), title);
    EXPECT_TRUE(palette().isVisible());
    EXPECT_TRUE(palette().timerCtrl().isActive());
    EXPECT_TRUE(gallery.findChild<QFrame*>(u"PanelWorks"_qs)->isVisible());

    // A window floated out is closed with the gallery, running or not.
    hoverCentre(window());
    click(panels().ImageRun);
    ASSERT_TRUE(runner().running());
    hoverFloatZone(window());
    click(panels().PanelFree);
    ASSERT_TRUE(window().isFloating());
    TFormKesto* floating = &window();
    click(withText<QPushButton>(&gallery, u"閉館"_qs));
    EXPECT_FALSE(gallery.isVisible());
    EXPECT_FALSE(floating->isVisible()) << "a floating window outlives the gallery";
    EXPECT_FALSE(runner().running());
    EXPECT_FALSE(floating->timerKesto().isActive());
    EXPECT_FALSE(palette().timerCtrl().isActive());
    EXPECT_FALSE(gallery.timerUpDown().isActive());
    const QWidgetList tops = QApplication::topLevelWidgets();
    EXPECT_TRUE(std::none_of(tops.begin(), tops.end(), [](QWidget* w) { return w->isVisible(); }))
        << "a window stays on the screen after the gallery closed";
}

// A floating window stays the palette's: the canvas size reaches it, a work chosen in the works
// list opens in it, its own run panel starts and (announced) stops it, and it docks back.
TEST_F(Journey, AFloatingWindowKeepsFollowingThePaletteAndTheWorksList) {
    auto* ctrlRun = named<QPushButton>(&palette(), u"PanelCtrlRun"_qs);
    click(ctrlRun);
    ASSERT_TRUE(runner().running()) << "a work that never ran starts at once";
    hoverFloatZone(window());
    click(panels().PanelFree);
    ASSERT_TRUE(window().isFloating());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window()));
    TFormKesto* floating = &window();

    const QSize before = window().size();
    click(arrow(1, true));
    EXPECT_EQ(palette().canvasText(), u"102"_qs);
    EXPECT_GT(window().width(), before.width());

    // Another work of the same group opens in the floating window; the run it had stops.
    const acmdGroupInfo& group = *gallery.state().catalog().firstSource()->groups.front();
    clickRow(rowOf(group, 1));
    ASSERT_TRUE(waitFor([&] { return gallery.state().pendingRow() < 0 && window().windowTitle() == group.works[1]->title; }));
    EXPECT_EQ(&window(), floating);
    EXPECT_TRUE(window().isFloating());
    EXPECT_TRUE(window().isVisible());
    EXPECT_FALSE(runner().running());
    EXPECT_EQ(palette().theme(), group.works[1]->title);
    EXPECT_EQ(ctrlRun->text(), QString()) << "the palette still shows the old run";
    EXPECT_TRUE(named<QLabel>(&palette(), u"ImageCtrlRun"_qs)->isVisible());
    EXPECT_EQ(named<QLabel>(&gallery.worksGrid(), u"PanelRun"_qs)->text(), QString());
    EXPECT_EQ(palette().canvasText(), QString::number(runner().zoomPercent()));

    // The window's own run panel starts it (the window ran before: announced, then started by the
    // palette's next step); the next click stops it, announced on the window.
    ASSERT_TRUE(waitFor([&] { return !gallery.displayForm().isVisible(); }, 3000));
    hoverCentre(window());
    click(panels().PanelRun);
    EXPECT_EQ(gallery.displayForm().board().text(), u"鑑賞の準備中です"_qs);
    ASSERT_TRUE(waitFor([&] { return runner().running(); }, 2000));
    EXPECT_EQ(ctrlRun->text(), u"■"_qs);
    EXPECT_TRUE(palette().logLines().last().endsWith(u"「"_qs + group.works[1]->title + u"」の鑑賞開始."_qs));
    ASSERT_TRUE(waitFor([&] { return gallery.state().pendingRow() < 0 && !gallery.displayForm().isVisible(); }, 3000));
    monotonic += 3'000;
    hoverCentre(window());
    ASSERT_TRUE(panels().PanelRun->isVisible());
    EXPECT_EQ(panels().PanelRun->text(), u"■"_qs);
    click(panels().PanelRun);
    ASSERT_TRUE(runner().runCount() == 1);
    EXPECT_EQ(gallery.displayForm().board().text(), u"作品鑑賞を中断します"_qs);
    EXPECT_EQ(gallery.displayForm().host(), floating);
    ASSERT_TRUE(waitFor([&] { return palette().logLines().last().contains(u"鑑賞終了"_qs); }, 2000));
    EXPECT_EQ(palette().logLines().last(), stamp() + u":「"_qs + group.works[1]->title + u"」の鑑賞終了.(   3 秒)"_qs);
    EXPECT_FALSE(runner().running());
    EXPECT_EQ(panels().PanelRun->text(), QString()) << "the run panel in sight still shows the stop mark";
    EXPECT_TRUE(panels().ImageRun->isVisibleTo(panels().PanelRun));
    shot("9-floating-stopped");

    // Docked again, with nothing of the gallery left on it.
    ASSERT_TRUE(waitFor([&] { return !gallery.displayForm().isVisible(); }, 3000));
    hoverFloatZone(window());
    click(panels().PanelFree);
    ASSERT_FALSE(window().isFloating());
    EXPECT_EQ(window().parentWidget(), area());
    EXPECT_TRUE(window().isVisible());
    EXPECT_TRUE(area()->rect().intersects(window().geometry()));
    EXPECT_NE(gallery.displayForm().host(), floating);
    EXPECT_TRUE(messages.records.empty()) << messages.records.front().text.toStdString();
}
