// The gallery's start: the palette and its first work window follow the first paint, and whatever
// needs them before then finds them started as if they had been built with the gallery.
#include "GalleryWindowFixture.h"
#include "gallery/TFormCtrl.h"
#include "gallery/TFormDisplay.h"

#include <QApplication>
#include <QFrame>
#include <QPushButton>

#include <functional>
#include <ostream>

namespace {

class GalleryStart : public GalleryWindow {
protected:
    // The palette as the gallery's start leaves it: one palette, its opening lines once at the top
    // of its log, its work window beneath the works panel and the palette above both.
    void expectStarted() {
        EXPECT_EQ(gallery.findChildren<TFormCtrl*>().size(), 1u);
        TFormCtrl& palette = gallery.palette();
        const QStringList log = palette.logLines();
        ASSERT_GE(log.size(), 3);
        EXPECT_EQ(log[0], u"ギャラリーの記録"_qs);
        EXPECT_TRUE(log[1].startsWith(u"ギャラリーの広さ"_qs)) << log[1].toStdString();
        EXPECT_EQ(log[2], PaletteLog::stamp(wall) + u": 開館."_qs);
        EXPECT_EQ(log.filter(u"開館"_qs).size(), 1);
        EXPECT_TRUE(palette.isVisible());
        EXPECT_TRUE(gallery.workWindow().isVisible());
        const QObjectList& stack = palette.parentWidget()->children(); // bottom first
        const auto* works = gallery.findChild<QFrame*>(QStringLiteral("PanelWorks"));
        EXPECT_LT(stack.indexOf(&gallery.workWindow()), stack.indexOf(works));
        EXPECT_LT(stack.indexOf(works), stack.indexOf(&palette));
    }
    QPushButton* topBarButton(const QString& text) {
        for (QPushButton* b : gallery.findChildren<QPushButton*>())
            if (b->text() == text) return b;
        return nullptr;
    }
    // The work of the catalog's `row`.
    const acmdFileInfo* workOfRow(int row) { return gallery.state().catalog().rowToEntry(row).work; }
};

} // namespace

TEST_F(GalleryStart, TheFirstPictureIsDrawnBeforeThePaletteIsBuilt) {
    EXPECT_EQ(gallery.findChild<TFormCtrl*>(), nullptr) << "built before the gallery was drawn";
    ASSERT_TRUE(waitFor([&] { return gallery.findChild<TFormCtrl*>() != nullptr; }));
    expectStarted();
    ASSERT_TRUE(waitFor([&] { return loaded(); }));
    EXPECT_EQ(gallery.workWindow().windowTitle(), workOfRow(gallery.state().currentRow())->title);
}

// Actions taken before the palette's deferred build ran, and what each must have done once the
// gallery has settled.
class GalleryEarlyAction;
struct EarlyAction {
    const char* name;
    std::function<void(GalleryEarlyAction&)> act;
    std::function<void(GalleryEarlyAction&)> expect;
};

void PrintTo(const EarlyAction& action, std::ostream* out) { *out << action.name; }

class GalleryEarlyAction : public GalleryStart, public ::testing::WithParamInterface<EarlyAction> {
public:
    TfVimora& g() { return gallery; }
    int lastRow() { return lastWorkRow(); }
    void releaseRow(int row) { release(row); }
    QPushButton* button(const QString& text) { return topBarButton(text); }
    bool settle(std::function<bool()> done) { return waitFor(std::move(done)); }
    // The work loaded once the gallery timer rests is `work`.
    void expectShown(const acmdFileInfo* work) {
        ASSERT_TRUE(waitFor([&] { return loaded(); }));
        ASSERT_TRUE(work);
        EXPECT_EQ(gallery.workWindow().windowTitle(), work->title);
    }
    const acmdFileInfo* lastWork() { return workOfRow(lastWorkRow()); }
};

TEST_P(GalleryEarlyAction, FindsThePaletteStartedAsWhenBuiltWithTheGallery) {
    ASSERT_EQ(gallery.findChild<TFormCtrl*>(), nullptr);
    GetParam().act(*this);
    expectStarted();
    GetParam().expect(*this);
}

namespace {

const EarlyAction kEarlyActions[] = {
    // Before the first load no group is current yet: the next group is the first.
    {"NextGroupButton", [](GalleryEarlyAction& t) { t.button(u"↓"_qs)->click(); },
     [](GalleryEarlyAction& t) {
         const acmdGroupInfo& first = *t.g().state().catalog().firstSource()->groups.front();
         t.expectShown(first.works.front().get());
         EXPECT_EQ(t.g().groupTitle(), first.title);
     }},
    {"WorksListRow", [](GalleryEarlyAction& t) { t.releaseRow(t.lastRow()); },
     [](GalleryEarlyAction& t) { t.expectShown(t.lastWork()); }},
    {"WorkByItsProgramPath",
     [](GalleryEarlyAction& t) {
         const CatalogEntry e = t.g().state().catalog().rowToEntry(t.lastRow());
         ASSERT_TRUE(t.g().showWorkAt(Catalog::workPath(*e.source, *e.group, *e.work)));
     },
     [](GalleryEarlyAction& t) { t.expectShown(t.lastWork()); }},
    {"PalettesLogButton", [](GalleryEarlyAction& t) { t.g().palette().PanelLogClick(); },
     [](GalleryEarlyAction& t) {
         EXPECT_EQ(t.g().palette().logFlag(), 1);
         const CatalogEntry first = t.g().state().catalog().rowToEntry(0);
         t.expectShown(first.source->groups.front()->works.front().get());
     }},
    // The space gallery's own announcement is the last word, not the first row's.
    {"SpaceGallery", [](GalleryEarlyAction& t) { t.g().PanelMUGClick(); },
     [](GalleryEarlyAction& t) {
         EXPECT_EQ(t.g().displayForm().board().text(), u"「ヴィモラ 宇宙ギャラリー」の設営中..."_qs);
         EXPECT_TRUE(t.settle([&] { return t.g().spaceGallery() && t.g().spaceGallery()->isVisible(); }));
     }},
};

} // namespace

INSTANTIATE_TEST_SUITE_P(Start, GalleryEarlyAction, ::testing::ValuesIn(kEarlyActions),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(GalleryStart, ClosingBeforeThePaletteIsBuiltLeavesNothingRunningAndLosesNothing) {
    gallery.close();
    waitFor([] { return false; }, 200);
    EXPECT_EQ(gallery.findChild<TFormCtrl*>(), nullptr) << "a closed gallery built its palette";
    EXPECT_FALSE(gallery.timerUpDown().isActive());
    for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_FALSE(w->isVisible()) << w->metaObject()->className();
    // Asked for later, the palette starts as it would have: its opening lines head the log.
    const QStringList log = gallery.palette().logLines();
    ASSERT_GE(log.size(), 3);
    EXPECT_EQ(log[2], PaletteLog::stamp(wall) + u": 開館."_qs);
    EXPECT_FALSE(gallery.palette().isVisible());

    // A gallery that goes without ever having built its palette.
    TfVimora other(bundledHome());
    other.show();
    other.close();
}
