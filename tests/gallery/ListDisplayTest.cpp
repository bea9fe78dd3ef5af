// List display and the tour on the gallery window, offscreen: the group's windows in rows, growing
// and shrinking a selected one, "≪" / "≫", back to one display, groups with hidden works, the
// alldisp= start, and tours that log every viewing. With VIMORA_LIST_SHOTS set to a folder, the
// list display is saved there as pictures.
#include "CatalogFixture.h"
#include "GalleryWindowFixture.h"
#include "gallery/ListDisplay.h"
#include "gallery/ListLayout.h"
#include "gallery/WorkWindowLink.h"

#include <QPushButton>

#include <algorithm>
#include <memory>

namespace {

QPushButton* buttonOf(QWidget* in, const QString& text) {
    for (QPushButton* b : in->findChildren<QPushButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

std::vector<WorkWindowLink*> windowsOf(TfVimora& gallery) {
    std::vector<WorkWindowLink*> all;
    PaletteModel& model = gallery.palette().model();
    for (PaletteWindow* w = model.firstWindow(); w; w = model.nextWindow(w)) all.push_back(static_cast<WorkWindowLink*>(w));
    return all;
}

void saveShot(TfVimora& gallery, const QString& name) {
    const QString folder = qEnvironmentVariable("VIMORA_LIST_SHOTS");
    if (!folder.isEmpty()) gallery.grab().save(folder + u"/"_qs + name + u".png"_qs);
}

// Lets the timers run until `done` holds; `tick` runs between the pumps.
template <typename Done, typename Tick>
bool pumpWhile(Done done, Tick tick, int ms) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        tick();
        QThread::msleep(5);
    }
    return true;
}

// Ends the tour window's program soon after it started, so that a tour over many works takes
// seconds, not minutes; the gallery sees an end as it sees a program that ends by itself.
class QuickViewings {
public:
    explicit QuickViewings(TfVimora& gallery) : gallery_(gallery) {}
    void operator()() {
        PaletteWindow* touring = gallery_.palette().model().tourWindow;
        auto* link = static_cast<WorkWindowLink*>(touring);
        if (!link || !link->running()) {
            since_.invalidate();
            return;
        }
        if (!since_.isValid()) since_.start();
        if (since_.elapsed() > 300) link->runner().breakProgram();
    }

private:
    TfVimora& gallery_;
    QElapsedTimer since_;
};

class ListOnHome : public GalleryWindow {
protected:
    void SetUp() override {
        GalleryWindow::SetUp();
        ASSERT_TRUE(waitFor([&] { return loaded(); }));
    }
    QPushButton* button(const QString& text) { return buttonOf(&gallery, text); }
    void switchDisplay() {
        button(gallery.listDisplay().on() ? u"１展示"_qs : u"全展示"_qs)->click();
        ASSERT_TRUE(waitFor([&] { return gallery.state().pendingAction() == GalleryState::NoAction; }, 3000));
        ASSERT_TRUE(waitFor([&] { return gallery.state().worksSlide() == 0; }, 3000));
    }
    bool settled() { return !gallery.listDisplay().growing() && !gallery.listDisplay().shrinking(); }
    WorkWindowLink* windowOf(const QString& title) {
        for (WorkWindowLink* w : windowsOf(gallery))
            if (w->caption() == title) return w;
        return nullptr;
    }
    int rowOf(const QString& title) {
        Catalog& catalog = gallery.state().catalog();
        for (int row = 0; row < catalog.rowCount(); ++row)
            if (const CatalogEntry e = catalog.rowToEntry(row); e.work && e.work->title == title) return row;
        return -1;
    }
};

TEST_F(ListOnHome, TheGroupsWorksStandInRowsAtReducedSizeAndOneDisplayComesBack) {
    const int before = gallery.palette().logLineCount();
    switchDisplay();
    ASSERT_TRUE(gallery.listDisplay().on());
    const std::vector<WorkWindowLink*> windows = windowsOf(gallery);
    const QStringList titles{u"またたく星"_qs, u"ごあいさつ"_qs, u"はずむボール"_qs, u"絵本の猫"_qs};
    ASSERT_EQ(int(windows.size()), titles.size());
    const int available = ListLayout::availableWidth(gallery.palette().parentWidget()->width());
    for (size_t i = 0; i < windows.size(); ++i) {
        TFormKesto& w = windows[i]->kesto();
        EXPECT_EQ(w.windowTitle(), titles[int(i)]);
        EXPECT_TRUE(w.isVisible()) << i;
        EXPECT_TRUE(windows[i]->atListSize()) << i;
        EXPECT_LT(windows[i]->zoom(), 100) << i;
        EXPECT_EQ(windows[i]->listPlace().savedZoom, windows[i]->zoom()) << i;
        EXPECT_EQ(w.pos(), QPoint(windows[i]->listPlace().savedLeft, windows[i]->listPlace().savedTop)) << i;
        EXPECT_LE(w.geometry().right(), available) << i;
        for (size_t j = 0; j < i; ++j) EXPECT_FALSE(w.geometry().intersects(windows[j]->kesto().geometry())) << i << j;
        EXPECT_EQ(gallery.palette().logLines().mid(before).filter(u"「"_qs + titles[int(i)] + u"」の展示."_qs).size(), 1)
            << i;
    }
    EXPECT_EQ(windows.front()->position(), QPoint(ListLayout::kLeft, 120));
    EXPECT_EQ(&gallery.workWindow(), &windows.front()->kesto()) << "the first visible window is activated";
    for (const QString& text : {u"巡回"_qs, u"全発表"_qs, u"≪"_qs, u"≫"_qs}) EXPECT_TRUE(button(text)->isVisible()) << text.toStdString();
    EXPECT_TRUE(buttonOf(&gallery.palette(), u"≫"_qs)->isVisible()) << "the palette's full-size button";
    saveShot(gallery, u"list-display"_qs);

    // "≫" lays the list out wider, "≪" narrower.
    const int zoomWidth = gallery.palette().model().listZoomWidth;
    const int width = windows.front()->kesto().width();
    button(u"≫"_qs)->click();
    EXPECT_EQ(gallery.palette().model().listZoomWidth, zoomWidth + 10);
    EXPECT_GT(windows.front()->kesto().width(), width);
    for (int i = 0; i < 3; ++i) button(u"≪"_qs)->click();
    EXPECT_EQ(gallery.palette().model().listZoomWidth, zoomWidth - 20);
    EXPECT_LT(windows.front()->kesto().width(), width);
    saveShot(gallery, u"list-display-narrow"_qs);

    switchDisplay();
    EXPECT_FALSE(gallery.listDisplay().on());
    EXPECT_EQ(gallery.palette().model().countWindows(), 1);
    EXPECT_EQ(gallery.workWindow().runner().zoomPercent(), 100);
    EXPECT_FALSE(gallery.workWindow().runner().listPlace().smallInList);
    EXPECT_TRUE(button(u"全展示"_qs));
    EXPECT_FALSE(button(u"≪"_qs)->isVisible());
    EXPECT_TRUE(button(u"巡回"_qs)->isVisible());
    EXPECT_TRUE(messages.records.empty()) << messages.records.front().text.toStdString();
}

TEST_F(ListOnHome, ASelectedWindowGrowsToFullSizeAndTheOneBeforeShrinksBack) {
    switchDisplay();
    WorkWindowLink* second = windowOf(u"ごあいさつ"_qs);
    WorkWindowLink* third = windowOf(u"はずむボール"_qs);
    ASSERT_TRUE(second && third);
    release(rowOf(u"ごあいさつ"_qs));
    EXPECT_EQ(&gallery.workWindow(), &second->kesto());
    ASSERT_TRUE(waitFor([&] { return settled(); }, 5000));
    EXPECT_EQ(second->zoom(), 100);
    EXPECT_FALSE(second->atListSize());
    saveShot(gallery, u"list-display-grown"_qs);

    const ListPlace home = second->listPlace();
    release(rowOf(u"はずむボール"_qs));
    EXPECT_EQ(gallery.listDisplay().shrinking(), &second->kesto());
    ASSERT_TRUE(waitFor([&] { return settled(); }, 5000));
    EXPECT_EQ(third->zoom(), 100);
    EXPECT_EQ(second->zoom(), home.savedZoom);
    EXPECT_EQ(second->position(), QPoint(home.savedLeft, home.savedTop));
    EXPECT_TRUE(second->atListSize());
}

TEST_F(ListOnHome, ATourInOneDisplayLogsEveryViewingAndEndsAfterTheLastToured) {
    button(u"巡回"_qs)->click();
    EXPECT_TRUE(button(u"巡■"_qs));
    QuickViewings quick(gallery);
    ASSERT_TRUE(pumpWhile([&] { return !gallery.palette().model().tourWindow; }, quick, 240000));
    const QStringList lines = gallery.palette().logLines();
    EXPECT_EQ(lines.filter(u":巡回開始."_qs).size(), 1);
    EXPECT_TRUE(lines.last().endsWith(u":巡回終了."_qs)) << lines.last().toStdString();
    // Every work of the toured groups is viewed once; the practice book is left out of the tour.
    Catalog& catalog = gallery.state().catalog();
    int toured = 0;
    for (const auto& group : catalog.firstSource()->groups)
        for (const auto& work : group->works) {
            const int started = lines.filter(u"「"_qs + work->title + u"」の鑑賞開始."_qs).size();
            const int ended = lines.filter(u"「"_qs + work->title + u"」の鑑賞終了."_qs).size();
            EXPECT_EQ(started, group->tourFlag != 0 ? 1 : 0) << work->title.toStdString();
            EXPECT_EQ(ended, started) << work->title.toStdString();
            toured += started;
        }
    int expected = 0;
    for (const auto& group : catalog.firstSource()->groups)
        if (group->tourFlag != 0)
            expected += int(std::count_if(group->works.begin(), group->works.end(), [](const auto& w) { return w->showFlag != 0; }));
    EXPECT_EQ(toured, expected);
    EXPECT_TRUE(button(u"巡回"_qs));
    EXPECT_TRUE(messages.records.empty()) << messages.records.front().text.toStdString();
}

// A small work that ends by itself after a few ticks.
const QStringList kShortWork = {u"ANIME_SET:"_qs,
                                u"canvas:center,400,300"_qs,
                                u"color:1,255,255,0"_qs,
                                u"DotPtn:box,4,4,10,40,0,0,0,1,1,4,4"_qs,
                                u"1111"_qs,
                                u"1111"_qs,
                                u"1111"_qs,
                                u"1111"_qs,
                                u"SET_END:"_qs,
                                u"Wait:3"_qs};
// A program without any character: there is nothing to show or run.
const QStringList kNoCharacters = {u"' 文字だけの作品"_qs, u"$a=1"_qs};

// A gallery on a home the test writes: "四作" has four works, the third hidden; "一作" one work;
// "隠れ" two hidden works; "難所" a work, one whose file is missing, one without characters and
// a last one.
class ListOnWrittenHome : public ::testing::Test {
protected:
    void SetUp() override {
        folder.write("url.txt", catalogBytes({u"館,local"_qs}));
        folder.write("group.txt", catalogBytes({u"four,四作,1"_qs, u"one,一作,1"_qs, u"hidden,隠れ,1"_qs, u"hard,難所,1"_qs}));
        folder.write("four/anime.txt", catalogBytes({u"甲,a.acmd"_qs, u"乙,a.acmd"_qs, u"丙,a.acmd,0"_qs, u"丁,a.acmd"_qs}));
        folder.write("one/anime.txt", catalogBytes({u"独り,a.acmd"_qs}));
        folder.write("hidden/anime.txt", catalogBytes({u"影一,a.acmd,0"_qs, u"影二,a.acmd,0"_qs}));
        folder.write("hard/anime.txt", catalogBytes({u"始め,a.acmd"_qs, u"無い,missing.acmd"_qs, u"空,empty.acmd"_qs,
                                                     u"終い,a.acmd"_qs}));
        for (const char* g : {"four", "one", "hidden", "hard"}) folder.write(QString(g) + "/a.acmd", catalogBytes(kShortWork));
        folder.write("hard/empty.acmd", catalogBytes(kNoCharacters));
    }
    void open(int autoMode = 0) {
        GallerySettings settings;
        settings.homeFolder = folder.path() + u'/';
        settings.autoModeLevel = autoMode;
        gallery = std::make_unique<TfVimora>(settings);
        gallery->show();
        ASSERT_TRUE(pumpUntil([&] { return gallery->state().pendingRow() < 0; }));
    }
    acmdGroupInfo* group(int index) { return gallery->state().catalog().firstSource()->groups[index].get(); }

    TempFolder folder;
    RecordingCheckSink messages;
    ScopedCheckSink installed{&messages};
    std::unique_ptr<TfVimora> gallery;
};

TEST_F(ListOnWrittenHome, HiddenWorksGetAWindowThatStaysOutOfSightAndOneWindowCannotTour) {
    open();
    buttonOf(gallery.get(), u"全展示"_qs)->click();
    ASSERT_TRUE(pumpUntil([&] { return gallery->listDisplay().on(); }, 3000));
    const struct { int group, windows, shown; bool severalButtons; const char16_t* message; } cases[] = {
        {0, 4, 3, true, nullptr},
        {1, 1, 1, false, nullptr},
        {2, 2, 0, true, u"このグループには一覧表示設定のヴィモラはありません！"},
    };
    for (const auto& c : cases) {
        messages.records.clear();
        // Another group in list display: its windows replace the present ones at once.
        if (c.group != 0) gallery->state().moveToGroup({gallery->state().catalog().firstSource(), group(c.group), nullptr});
        ASSERT_TRUE(gallery->listDisplay().on()) << c.group;
        const std::vector<WorkWindowLink*> windows = windowsOf(*gallery);
        EXPECT_EQ(int(windows.size()), c.windows) << c.group;
        EXPECT_EQ(std::count_if(windows.begin(), windows.end(), [](WorkWindowLink* w) { return w->kesto().isVisible(); }),
                  c.shown)
            << c.group;
        for (WorkWindowLink* w : windows) EXPECT_EQ(w->entry.group, group(c.group));
        EXPECT_EQ(buttonOf(gallery.get(), u"巡回"_qs)->isVisible(), c.severalButtons) << c.group;
        EXPECT_EQ(buttonOf(gallery.get(), u"全発表"_qs)->isVisible(), c.severalButtons) << c.group;
        if (c.message) {
            ASSERT_EQ(messages.records.size(), 1u) << c.group;
            EXPECT_EQ(messages.records[0].caption, QString::fromUtf16(c.message));
            EXPECT_EQ(messages.records[0].text, u"１展示に戻すか、他のグループに移動してください。"_qs);
        } else {
            EXPECT_TRUE(messages.records.empty()) << c.group;
        }
        if (c.group == 0) {
            ASSERT_TRUE(pumpUntil([&] { return gallery->state().worksSlide() == 0; }, 3000));
            saveShot(*gallery, u"list-display-hidden-work"_qs);
        }
    }
}

TEST_F(ListOnWrittenHome, ATourPassesOverWorksThatCannotStartAndGoesOnAcrossGroupsInListDisplay) {
    open();
    gallery->state().moveToGroup({gallery->state().catalog().firstSource(), group(3), nullptr});
    ASSERT_TRUE(pumpUntil([&] { return gallery->state().pendingRow() < 0; }));
    messages.records.clear();
    buttonOf(gallery.get(), u"巡回"_qs)->click();
    ASSERT_TRUE(pumpUntil([&] { return !gallery->palette().model().tourWindow; }, 120000));
    const QStringList lines = gallery->palette().logLines();
    for (const QString& title : {u"始め"_qs, u"終い"_qs})
        EXPECT_EQ(lines.filter(u"「"_qs + title + u"」の鑑賞終了."_qs).size(), 1) << title.toStdString();
    EXPECT_TRUE(lines.last().endsWith(u":巡回終了."_qs)) << lines.last().toStdString();
    EXPECT_EQ(messages.records.size(), 1u) << "the missing program is reported once";
    EXPECT_TRUE(lines.filter(u"「無い」の鑑賞"_qs).isEmpty()) << "nothing runs in its place";

    // In list display the tour goes through the visible windows of a group, then on to the
    // following groups; a group whose works are all hidden has nothing to tour.
    gallery->state().moveToGroup({gallery->state().catalog().firstSource(), group(0), nullptr});
    ASSERT_TRUE(pumpUntil([&] { return gallery->state().pendingRow() < 0; }));
    buttonOf(gallery.get(), u"全展示"_qs)->click();
    ASSERT_TRUE(pumpUntil([&] { return gallery->listDisplay().on(); }, 3000));
    const int before = gallery->palette().logLineCount();
    messages.records.clear();
    buttonOf(gallery.get(), u"巡回"_qs)->click();
    const auto continuing = [&] { return gallery->state().tourRequest() == 1 || gallery->state().tourRequest() == 3; };
    ASSERT_TRUE(pumpUntil([&] { return !gallery->palette().model().tourWindow && !continuing(); }, 180000));
    const QStringList listLines = gallery->palette().logLines().mid(before);
    for (const QString& title : {u"甲"_qs, u"乙"_qs, u"丁"_qs, u"独り"_qs, u"始め"_qs, u"終い"_qs})
        EXPECT_EQ(listLines.filter(u"「"_qs + title + u"」の鑑賞開始."_qs).size(), 1) << title.toStdString();
    for (const QString& title : {u"丙"_qs, u"影一"_qs, u"影二"_qs, u"無い"_qs, u"空"_qs})
        EXPECT_TRUE(listLines.filter(u"「"_qs + title + u"」の鑑賞開始."_qs).isEmpty()) << title.toStdString();
    EXPECT_EQ(listLines.filter(u":巡回開始."_qs).size(), 1) << "the groups after the first continue without a new start";
    EXPECT_TRUE(listLines.last().endsWith(u":巡回終了."_qs)) << listLines.last().toStdString();
    EXPECT_EQ(gallery->state().catalog().current.group, group(3));
    QStringList captions;
    for (const RecordingCheckSink::Record& r : messages.records) captions << r.caption;
    EXPECT_TRUE(captions.contains(u"このグループには一覧表示設定のヴィモラはありません！"_qs)) << captions.join(u',').toStdString();
}

TEST_F(ListOnWrittenHome, AllDispThreeOpensListDisplayAnimatesAndRunsEveryWork) {
    open(3);
    ASSERT_TRUE(pumpUntil([&] { return gallery->palette().model().runAll; }, 5000));
    EXPECT_TRUE(gallery->listDisplay().on());
    EXPECT_TRUE(gallery->palette().model().presentAll);
    EXPECT_TRUE(buttonOf(gallery.get(), u"１発表"_qs)->isVisible());
    EXPECT_TRUE(buttonOf(gallery.get(), u"全 ■"_qs)->isVisible());
    const std::vector<WorkWindowLink*> windows = windowsOf(*gallery);
    ASSERT_EQ(windows.size(), 4u);
    for (WorkWindowLink* w : windows) EXPECT_EQ(w->runner().runCount(), 1) << w->caption().toStdString();
    EXPECT_EQ(&gallery->workWindow(), &windows.front()->kesto());
    buttonOf(gallery.get(), u"全 ■"_qs)->click();
    EXPECT_FALSE(gallery->palette().model().runAll);
    for (WorkWindowLink* w : windows) EXPECT_FALSE(w->running());
}

} // namespace
