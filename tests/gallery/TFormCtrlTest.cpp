#include "GalleryWindowFixture.h"
#include "gallery/PaletteLayout.h"
#include "gallery/TFormDisplay.h"
#include "gallery/UpDownControl.h"
#include "work/KestoTitlePlate.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <algorithm>
#include <functional>
#include <utility>

namespace {

// The gallery with its first work loaded.
class Palette : public GalleryWindow {
protected:
    void SetUp() override {
        GalleryWindow::SetUp();
        ASSERT_TRUE(waitFor([&] { return loaded(); }));
    }
    TFormCtrl& palette() { return gallery.palette(); }
    WorkRunner& runner() { return gallery.workWindow().runner(); }
    QString stamp() const { return PaletteLog::stamp(wall); }
    // Adds a second window behind the gallery's own, as list display will.
    TFormKesto& addSecondWindow() {
        auto window = std::make_unique<TFormKesto>(spareHost, 1, palette().parentWidget());
        TFormKesto& added = *window;
        palette().model().addWindow(std::make_unique<WorkWindowLink>(std::move(window)));
        return added;
    }
};

} // namespace

TEST_F(Palette, LogsTheOpeningTheGroupAndTheShownWork) {
    const CatalogEntry first = gallery.state().catalog().rowToEntry(gallery.state().currentRow());
    const QStringList lines = palette().logLines();
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines[0], u"ギャラリーの記録"_qs);
    EXPECT_TRUE(lines[1].startsWith(u"ギャラリーの広さ（ "_qs)) << lines[1].toStdString();
    EXPECT_EQ(lines[2], stamp() + u": 開館."_qs);
    EXPECT_TRUE(lines.contains(stamp() + u": 作品グループを「"_qs + first.group->title + u"」に設定."_qs));
    EXPECT_EQ(lines.last(), stamp() + u":「"_qs + first.work->title + u"」の展示."_qs);
    EXPECT_EQ(palette().theme(), first.work->title);
    EXPECT_EQ(palette().commandLine(), u" Kesto Basic"_qs);
    EXPECT_EQ(palette().windowTitle(), u"ヴィモラ パレット"_qs);
    KestoTitlePlate* plate = gallery.workWindow().titlePlate();
    ASSERT_TRUE(plate);
    EXPECT_TRUE(plate->isVisible()) << "the shown work's title plate stands under its window";
}

TEST_F(Palette, AViewingIsLoggedWithItsOwnSeconds) {
    const QString title = gallery.workWindow().windowTitle();
    gallery.runOrStop();
    ASSERT_TRUE(runner().running());
    EXPECT_EQ(palette().logLines().last(), stamp() + u":「"_qs + title + u"」の鑑賞開始."_qs);
    monotonic += 75'000;
    gallery.runOrStop();
    ASSERT_TRUE(waitFor([&] { return !runner().running(); }, 2000));
    ASSERT_TRUE(waitFor([&] { return palette().logLines().last().contains(u"鑑賞終了"_qs); }, 2000));
    EXPECT_EQ(palette().logLines().last(), stamp() + u":「"_qs + title + u"」の鑑賞終了.(  75 秒)"_qs);
}

TEST_F(Palette, FrameIntervalAndCanvasActOnTheCurrentWindow) {
    palette().setWaitPosition(1);
    EXPECT_EQ(palette().framePeriodText(), u"  1"_qs);
    EXPECT_EQ(runner().framePeriod(), 1);
    palette().setWaitPosition(0); // below the range: nothing changes
    EXPECT_EQ(runner().framePeriod(), 1);
    palette().setWaitPosition(250);
    EXPECT_EQ(palette().framePeriodText(), u"250"_qs);
    EXPECT_EQ(runner().framePeriod(), 250);

    const QSize full = gallery.workWindow().size();
    palette().setCanvasPosition(10);
    EXPECT_EQ(palette().canvasText(), u"10"_qs);
    EXPECT_EQ(runner().zoomPercent(), 10);
    EXPECT_EQ(gallery.workWindow().size(), QSize(full.width() / 10, full.height() / 10)) << "a tenth of its full size";
    palette().setCanvasPosition(100);
    EXPECT_EQ(gallery.workWindow().size(), full);
}

TEST_F(Palette, RenewBreaksTheRunAndStartsTheWorkAfresh) {
    gallery.runOrStop();
    ASSERT_TRUE(runner().running());
    palette().PanelInitClick();
    EXPECT_FALSE(runner().running());
    EXPECT_EQ(gallery.displayForm().board().text(), u"作品の更新中です"_qs);
    EXPECT_EQ(gallery.displayForm().host(), &gallery.workWindow());
    EXPECT_TRUE(gallery.timerUpDown().isActive()) << "the gallery timer slides the announcement away";
    ASSERT_TRUE(waitFor([&] { return runner().runCount() == 0; }, 2000)) << "the next frame renews the work";
    EXPECT_EQ(runner().frameState(), WorkRunner::FrameState::Draw);
}

TEST_F(Palette, RemovingRefusesTheSingleWindowAndClosesOneOfTwo) {
    TFormKesto& first = gallery.workWindow();
    palette().PanelDeleteClick();
    ASSERT_EQ(messages.records.size(), 1u);
    EXPECT_EQ(messages.records[0].text, u"最後の一作品なので撤去できません！"_qs);
    EXPECT_EQ(messages.records[0].caption, u"キャンバスの撤去"_qs);
    EXPECT_EQ(&gallery.workWindow(), &first);

    TFormKesto& second = addSecondWindow();
    second.setWindowTitle(u"二"_qs);
    gallery.runOrStop(); // the announcement sits on the window about to go
    palette().PanelDeleteClick();
    EXPECT_EQ(messages.records.size(), 1u);
    EXPECT_EQ(palette().model().countWindows(), 1);
    EXPECT_EQ(&gallery.workWindow(), &second);
    EXPECT_EQ(palette().theme(), u"二"_qs);
    EXPECT_NE(gallery.displayForm().host(), static_cast<QWidget*>(&second)) << "not left on a destroyed window";
    // One display tours the works list through its one window; "全発表" needs list display.
    for (QPushButton* b : gallery.findChildren<QPushButton*>()) {
        if (b->text() == u"巡回"_qs) {
            EXPECT_TRUE(b->isVisible()) << "one display tours through one window";
        }
        if (b->text() == u"全発表"_qs) {
            EXPECT_FALSE(b->isVisible());
        }
    }
}

TEST_F(Palette, ATypedCommandChangesACharacter) {
    ASSERT_FALSE(runner().animation().characters.empty());
    const AnimeInfo& character = *runner().animation().characters.front();
    auto* edit = palette().findChild<QLineEdit*>(QStringLiteral("CtrlEditCmd"));
    ASSERT_TRUE(edit);
    edit->setText(character.name + u"[0]: X=55, Y=44"_qs);
    emit edit->returnPressed();
    EXPECT_EQ(character.X, 550);
    EXPECT_EQ(character.Y, 440);
    EXPECT_TRUE(messages.records.empty());
}

TEST_F(Palette, TheLogOpensAndClosesBackTo82) {
    EXPECT_EQ(palette().logFlag(), 0);
    EXPECT_EQ(palette().height(), PaletteLayout::kNormalHeight);
    const int lines = palette().logLines().size();
    palette().PanelLogClick();
    EXPECT_EQ(palette().logFlag(), 1);
    EXPECT_GE(palette().height(), PaletteLayout::kNormalHeight + PaletteLayout::kLogOpenStep);
    EXPECT_LE(palette().height(), PaletteLayout::kGrowLimit + PaletteLayout::kGrowStep);
    EXPECT_EQ(palette().logLines().size(), lines + 1);
    EXPECT_EQ(palette().logLines().last(), QString());
    const int opened = palette().height();
    for (int i = 0; i < 40; ++i) palette().addMessage(u"行"_qs + QString::number(i));
    EXPECT_GT(palette().height(), opened) << "an open log grows with its lines";
    EXPECT_LE(palette().height(), PaletteLayout::kGrowLimit + PaletteLayout::kGrowStep);
    palette().PanelLogClick();
    EXPECT_EQ(palette().logFlag(), 2);
    EXPECT_EQ(palette().height(), PaletteLayout::kNormalHeight);
    palette().addMessage(u"閉じたまま"_qs);
    EXPECT_EQ(palette().height(), PaletteLayout::kNormalHeight) << "a closed log does not grow";
}

TEST_F(Palette, SitsAtTheTopRightAndNarrowsAroundItsRightEdge) {
    QWidget* area = palette().parentWidget();
    const auto right = [&] { return palette().x() + palette().width(); };
    EXPECT_EQ(palette().y(), 0);
    EXPECT_EQ(right(), area->width() - PaletteLayout::kRightGap);
    palette().PanelCtrlSizeClick();
    EXPECT_TRUE(palette().narrow());
    EXPECT_EQ(palette().width(), PaletteLayout::kNarrowWidth);
    EXPECT_EQ(right(), area->width() - PaletteLayout::kRightGap);
    palette().PanelCtrlSizeClick();
    EXPECT_EQ(palette().width(), PaletteLayout::kFullWidth);
    EXPECT_EQ(right(), area->width() - PaletteLayout::kRightGap);
    gallery.resize(1500, 800);
    EXPECT_EQ(right(), area->width() - PaletteLayout::kRightGap) << "a resize keeps the palette 10 pixels from the edge";
}

TEST_F(Palette, DraggingTheTitleMovesItAndItsCornerSizesIt) {
    const auto send = [&](QWidget* to, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
        QMouseEvent event(type, QPointF(at), to->mapToGlobal(QPointF(at)), Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(to, &event);
    };
    TFormCtrl& p = palette();
    const QRect start = p.geometry();
    const QPoint corner(p.width() - 3, p.height() - 3);
    send(&p, QEvent::MouseButtonPress, corner, Qt::LeftButton);
    send(&p, QEvent::MouseMove, corner + QPoint(30, 40), Qt::LeftButton);
    send(&p, QEvent::MouseButtonRelease, corner + QPoint(30, 40), Qt::NoButton);
    EXPECT_EQ(p.geometry(), QRect(start.topLeft(), start.size() + QSize(30, 40)));
    send(&p, QEvent::MouseMove, corner + QPoint(60, 60), Qt::NoButton); // no button held
    EXPECT_EQ(p.size(), start.size() + QSize(30, 40));

    QLabel* title = nullptr;
    for (QLabel* l : p.findChildren<QLabel*>())
        if (l->text() == u"アート 案内"_qs) title = l;
    ASSERT_TRUE(title);
    const QRect sized = p.geometry();
    send(title, QEvent::MouseButtonPress, {300, 10}, Qt::LeftButton);
    send(title, QEvent::MouseMove, {280, 25}, Qt::LeftButton);
    send(title, QEvent::MouseButtonRelease, {280, 25}, Qt::NoButton);
    EXPECT_EQ(p.geometry(), sized.translated(-20, 15));
}

TEST_F(Palette, TwoWindowsOfOneWorkCountTheirViewingsApart) {
    TFormKesto& first = gallery.workWindow();
    const QString title = first.windowTitle();
    TFormKesto& second = palette().createWindow(&first);
    EXPECT_EQ(second.runner().workNumber(), first.runner().workNumber() + 1);
    const QString program = first.runner().interpreter().programPath;
    const qsizetype slash = program.lastIndexOf(u'/') + 1;
    ASSERT_TRUE(second.openWork(program.left(slash), program.mid(slash)));
    second.setWindowTitle(title);
    const auto endLines = [&] { return palette().logLines().filter(u"鑑賞終了"_qs); };

    first.runner().toggleRun();
    monotonic += 10'000;
    second.runner().toggleRun(); // the same work, started while the first still runs
    ASSERT_TRUE(first.runner().running() && second.runner().running());
    monotonic += 20'000;
    first.runner().breakProgram();
    ASSERT_TRUE(waitFor([&] { return endLines().size() == 1; }, 3000));
    EXPECT_EQ(endLines()[0], stamp() + u":「"_qs + title + u"」の鑑賞終了.(  30 秒)"_qs);
    monotonic += 5'000;
    second.runner().breakProgram();
    ASSERT_TRUE(waitFor([&] { return endLines().size() == 2; }, 3000));
    EXPECT_EQ(endLines()[1], stamp() + u":「"_qs + title + u"」の鑑賞終了.(  25 秒)"_qs);
}

TEST_F(Palette, AnActivatedWindowSelectsTheRowOfItsWorkAndBringsTheWorksPanelAndPaletteForward) {
    TFormKesto& first = gallery.workWindow();
    const int firstRow = gallery.state().currentRow();
    TFormKesto& second = palette().createWindow(&first);
    const int row = lastWorkRow();
    ASSERT_NE(row, firstRow);
    palette().linkOf(second)->entry = gallery.state().catalog().rowToEntry(row);
    auto* works = gallery.findChild<QWidget*>(QStringLiteral("PanelWorks"));
    ASSERT_TRUE(works);

    second.activateWindow();
    EXPECT_EQ(&gallery.workWindow(), &second);
    EXPECT_EQ(gallery.state().currentRow(), row);
    EXPECT_EQ(gallery.worksGrid().currentRow(), row);
    EXPECT_EQ(gallery.state().pendingRow(), -1) << "selecting the row loads nothing";
    // In front of every work window, behind only the palette, which stays on top.
    const auto stacking = [&](const QObject* o) { return works->parentWidget()->children().indexOf(o); };
    EXPECT_GT(stacking(works), std::max(stacking(&first), stacking(&second)));
    EXPECT_EQ(works->parentWidget()->children().last(), &palette());

    palette().raise();
    first.activateWindow();
    EXPECT_EQ(gallery.state().currentRow(), firstRow);
    EXPECT_EQ(gallery.worksGrid().currentRow(), firstRow);
    EXPECT_GT(stacking(works), std::max(stacking(&first), stacking(&second)));
    EXPECT_EQ(works->parentWidget()->children().last(), &palette());
}

TEST_F(Palette, CanvasSizeFollowsAWindowGoingToFullSizeAndBack) {
    TFormKesto& second = palette().createWindow(&gallery.workWindow());
    second.activateWindow();
    palette().setCanvasPosition(50);
    second.runner().listPlace().smallInList = true;
    second.goFullSize();
    EXPECT_EQ(second.runner().zoomPercent(), 100);
    EXPECT_EQ(palette().canvasText(), u"100"_qs);
    second.goListSize();
    EXPECT_EQ(second.runner().zoomPercent(), 50);
    EXPECT_EQ(palette().canvasText(), u"50"_qs);
}

TEST_F(Palette, AllWindowsHideWithTheirPlatesAndOnlyOnePlateCanStand) {
    TFormKesto& first = gallery.workWindow();
    TFormKesto& second = palette().createWindow(&first);
    const QString program = first.runner().interpreter().programPath;
    const qsizetype slash = program.lastIndexOf(u'/') + 1;
    ASSERT_TRUE(second.openWork(program.left(slash), program.mid(slash)));
    KestoTitlePlate* plates[] = {first.titlePlate(), second.titlePlate()};
    ASSERT_TRUE(plates[0]->isVisible() && plates[1]->isVisible());

    palette().showAllWindows(false);
    for (TFormKesto* w : {&first, &second}) EXPECT_FALSE(w->isVisible());
    for (KestoTitlePlate* p : plates) EXPECT_FALSE(p->isVisible());
    palette().showAllWindows(true);
    for (TFormKesto* w : {&first, &second}) EXPECT_TRUE(w->isVisible());
    for (KestoTitlePlate* p : plates) EXPECT_TRUE(p->isVisible());

    palette().showOnlyPlate(second);
    EXPECT_FALSE(plates[0]->isVisible());
    EXPECT_TRUE(plates[1]->isVisible());
    palette().showOnlyPlate(first);
    EXPECT_TRUE(plates[0]->isVisible());
    EXPECT_FALSE(plates[1]->isVisible());
}

TEST_F(Palette, CameraChangesGiveTheKeyFieldTheFocusWhileThePictureIsStretched) {
    QApplication::setActiveWindow(&gallery);
    auto* command = palette().findChild<QLineEdit*>(QStringLiteral("CtrlEditCmd"));
    auto* key = palette().findChild<QLineEdit*>(QStringLiteral("EditKey"));
    ASSERT_TRUE(command && key);
    QList<UpDownControl*> updowns = palette().findChildren<UpDownControl*>();
    UpDownControl* height = nullptr;
    UpDownControl* zoom = nullptr;
    for (UpDownControl* u : updowns) {
        if (u->toolTip().contains(u"上下移動"_qs)) height = u;
        if (u->toolTip().contains(u"ズームのアップダウン"_qs)) zoom = u;
    }
    ASSERT_TRUE(height && zoom);
    const std::pair<const char*, std::function<void()>> changes[] = {
        {"←", [&] { palette().cameraTurn(1); }},
        {"→", [&] { palette().cameraTurn(-1); }},
        {"height", [&] { height->setPosition(height->position() + 5); }},
        {"zoom", [&] { zoom->setPosition(zoom->position() + 5); }},
        {"カメラ", [&] { palette().resetCamera(false); }},
        {"pCameraInfo", [&] { palette().resetCamera(true); }},
    };
    const auto focusOnCommand = [&] {
        command->setFocus();
        ASSERT_TRUE(command->hasFocus());
    };

    if (runner().view().stretched) palette().PanelStretchClick(); // the work may start stretched
    ASSERT_FALSE(runner().view().stretched);
    for (const auto& [name, change] : changes) {
        focusOnCommand();
        change();
        EXPECT_TRUE(command->hasFocus()) << name << ": an unstretched picture leaves the focus where it is";
    }
    focusOnCommand();
    palette().PanelStretchClick();
    ASSERT_TRUE(runner().view().stretched);
    EXPECT_TRUE(key->hasFocus()) << "turning the stretch on";
    for (const auto& [name, change] : changes) {
        focusOnCommand();
        change();
        EXPECT_TRUE(key->hasFocus()) << name;
    }
    focusOnCommand();
    palette().PanelStretchClick(); // off again: the focus stays
    EXPECT_TRUE(command->hasFocus());
}
