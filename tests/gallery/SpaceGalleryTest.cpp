// The space gallery over the bundled home, offscreen: every toured work floats in the space, the
// tour flies from work to work and logs each viewing, and closing gives the gallery back. With
// VIMORA_LIST_SHOTS set to a folder, the space gallery is saved there as pictures.
#include "GalleryWindowFixture.h"
#include "gallery/TFormDisplay.h"
#include "gallery/TFormMUG.h"
#include "gallery/WorkWindowLink.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>

#include <algorithm>

namespace {

class SpaceGallery : public GalleryWindow {
protected:
    void SetUp() override {
        GalleryWindow::SetUp();
        ASSERT_TRUE(waitFor([&] { return loaded(); }));
    }
    QPushButton* button(QWidget* in, const QString& text) {
        for (QPushButton* b : in->findChildren<QPushButton*>())
            if (b->text() == text) return b;
        return nullptr;
    }
    // The events a double click delivers: press, release, double click, release.
    static void doubleClick(QWidget* w) {
        const QPointF at(w->width() / 2, w->height() / 2);
        const QPointF global = w->mapToGlobal(at);
        for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                                        QEvent::MouseButtonRelease}) {
            const bool up = type == QEvent::MouseButtonRelease;
            QMouseEvent event(type, at, global, Qt::LeftButton, up ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(w, &event);
        }
    }
    void shot(const QString& name) {
        const QString folder = qEnvironmentVariable("VIMORA_LIST_SHOTS");
        if (!folder.isEmpty()) gallery.grab().save(folder + u"/"_qs + name + u".png"_qs);
    }
};

TEST_F(SpaceGallery, TheToursWorksFloatInSpaceATourFliesToEachAndClosingGivesTheGalleryBack) {
    button(&gallery, u"宇宙Ｇ"_qs)->click();
    TFormMUG* space = gallery.spaceGallery();
    ASSERT_TRUE(space);
    EXPECT_TRUE(space->isVisible());
    EXPECT_FALSE(gallery.palette().timerCtrl().isActive()) << "the palette rests while the space gallery is shown";
    ASSERT_TRUE(waitFor([&] { return space->arranged(); }, 60000));
    // The practice book is left out of the tour, and so out of the space.
    int toured = 0;
    for (const auto& group : gallery.state().catalog().firstSource()->groups)
        if (group->tourFlag != 0)
            toured += int(std::count_if(group->works.begin(), group->works.end(), [](const auto& w) { return w->showFlag != 0; }));
    EXPECT_EQ(space->flight().placedCount(), toured);
    ASSERT_TRUE(waitFor([&] { return !gallery.displayForm().isVisible(); }, 3000));
    shot(u"space-gallery"_qs);

    // A double click on "＋" draws every work and one on "－" ten again; neither also counts as a click.
    const int placed = space->flight().placedCount();
    doubleClick(button(space, u"＋"_qs));
    EXPECT_EQ(space->flight().visibleCount(), placed);
    button(space, u"－"_qs)->click();
    doubleClick(button(space, u"－"_qs));
    EXPECT_EQ(space->flight().visibleCount(), MugSpace::kStartVisible);

    const int before = gallery.palette().logLineCount();
    button(space, u"巡回"_qs)->click();
    EXPECT_TRUE(button(space, u"巡■"_qs));
    // Each toured work ends shortly after it started, as a short program would.
    QElapsedTimer running;
    const auto quick = [&] {
        PaletteWindow* touring = space->flight().tourWindow();
        if (!touring || !touring->running()) {
            running.invalidate();
        } else if (!running.isValid()) {
            running.start();
        } else if (running.elapsed() > 300) {
            static_cast<WorkWindowLink*>(touring)->runner().breakProgram();
        }
        return space->flight().currentIndex() >= 2 && touring && touring->running();
    };
    ASSERT_TRUE(waitFor(quick, 120000));
    shot(u"space-gallery-tour"_qs);
    const QStringList lines = gallery.palette().logLines().mid(before);
    const std::vector<acmdFileInfo*> first = [&] {
        std::vector<acmdFileInfo*> works;
        for (const auto& w : gallery.state().catalog().firstSource()->groups.front()->works) works.push_back(w.get());
        return works;
    }();
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(lines.filter(u"「"_qs + first[size_t(i)]->title + u"」の鑑賞開始."_qs).size(), 1) << i;
        EXPECT_EQ(lines.filter(u"「"_qs + first[size_t(i)]->title + u"」の鑑賞終了."_qs).size(), 1) << i;
    }
    EXPECT_EQ(lines.filter(u"「"_qs + first[2]->title + u"」の鑑賞開始."_qs).size(), 1);

    button(space, u"巡■"_qs)->click();
    EXPECT_EQ(space->flight().tourWindow(), nullptr);
    button(space, u"閉"_qs)->click();
    EXPECT_FALSE(space->isVisible());
    EXPECT_TRUE(button(&gallery, u"宇宙Ｇ"_qs)->isVisible()) << "the top bar is back";
    EXPECT_TRUE(gallery.palette().timerCtrl().isActive());
    EXPECT_TRUE(gallery.workWindow().isVisible());
    EXPECT_TRUE(messages.records.empty()) << messages.records.front().text.toStdString();
}

} // namespace
