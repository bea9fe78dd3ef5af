#include "CatalogFixture.h"
#include "gallery/PaletteLayout.h"
#include "gallery/PaletteModel.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// A work window as the palette sees it: it counts its toggles and notes its closing.
class FakeWindow : public PaletteWindow {
public:
    FakeWindow(QString name, QStringList& closed) : name_(std::move(name)), closed_(closed) {}
    QString caption() const override { return name_; }
    bool running() const override { return running_; }
    void toggleRun() override {
        if (failToggle) throw std::runtime_error("broken window");
        running_ = !running_;
    }
    void close() override { closed_ << name_; }
    bool atListSize() const override { return listSize; }
    bool plateVisible() const override { return plate; }
    int plateCountdown() const override { return countdown; }
    void setPlateCountdown(int value) override { countdown = value; }
    void hidePlate() override { plate = false; }
    ListPlace& listPlace() override { return place; }
    ListPlace place;

    bool failToggle = false, listSize = false, plate = false;
    int countdown = 0;

private:
    QString name_;
    bool running_ = false;
    QStringList& closed_;
};

class NoGallery : public GalleryStage {
public:
    void announce(const QString&, int, bool) override {}
    void setDisplayText(const QString&) override {}
    void hideDisplay() override {}
    bool slideDisplay() override { return false; }
    bool loadWork(const CatalogEntry&) override { return true; }
    void stopWorkTimers() override {}
    void markGroup(const acmdGroupInfo&) override {}
    void rowsChanged() override {}
    void placeWorksPanel(const WorksPanelPlace&) override {}
    void endProgram() override {}
};

class RecordingPalette : public PaletteStage {
public:
    void appendLogLine(const QString& line) override { lines << line; }
    void windowClosed(PaletteWindow* current, int count) override {
        closedCurrent = current ? current->caption() : u"-"_qs;
        counts.push_back(count);
    }
    void startMusicPlayer() override { ++musicStarts; }
    void repeatMusic(int step) override { musicSteps.push_back(step); }
    void tourStep() override { ++tourSteps; }
    void endProgram() override { ++ends; }

    QStringList lines;
    QString closedCurrent;
    std::vector<int> counts, musicSteps;
    int musicStarts = 0, tourSteps = 0, ends = 0;
};

class Palette : public ::testing::Test {
protected:
    void SetUp() override { installed.emplace(&messages); }
    FakeWindow& add(const QString& name, PaletteWindow* after = nullptr) {
        return static_cast<FakeWindow&>(palette.addWindow(std::make_unique<FakeWindow>(name, closed), after));
    }
    QStringList order() {
        QStringList names;
        for (PaletteWindow* w = palette.firstWindow(); w; w = palette.nextWindow(w)) names << w->caption();
        return names;
    }
    // Ticks until one step (five ticks) has been done.
    void step() {
        for (int i = 0; i < PaletteModel::kTicksPerStep; ++i) palette.tick();
    }

    TempFolder home;
    RecordingCheckSink messages;
    std::optional<ScopedCheckSink> installed;
    QStringList closed;
    NoGallery gallery;
    Catalog catalog{writeTwoSourceHome(home)};
    GalleryState state{catalog, gallery};
    RecordingPalette stage;
    QDateTime wall{QDate(2026, 3, 7), QTime(9, 5, 4)};
    PaletteModel palette{state, stage, QSize(1600, 1000),
                         PaletteLog::Clock{[this] { return wall; }, [] { return qint64(0); }}};
};

} // namespace

TEST_F(Palette, OpensWithTheSizeAndOpeningLinesAndHoldsTheCatalog) {
    EXPECT_EQ(stage.lines, (QStringList{u"ギャラリーの広さ（ 1600 , 1000 )"_qs, u"2026/03/07/09:05:04: 開館."_qs}));
    catalog.readSources(); // the gallery owns and reads the catalog after the palette opened
    EXPECT_EQ(catalog.rowCount(), 18);
    EXPECT_EQ(&palette.gallery().catalog(), &catalog);
}

TEST_F(Palette, WindowsLinkInOrderAndTheFirstBecomesCurrent) {
    FakeWindow& a = add(u"a"_qs);
    FakeWindow& c = add(u"c"_qs);
    add(u"b"_qs, &a);
    EXPECT_EQ(order(), (QStringList{u"a"_qs, u"b"_qs, u"c"_qs}));
    EXPECT_EQ(palette.currentWindow(), &a);
    EXPECT_EQ(palette.previousWindow(&c)->caption(), u"b"_qs);
    EXPECT_FALSE(palette.previousWindow(&a));
    EXPECT_FALSE(palette.nextWindow(&c));
    EXPECT_EQ(palette.countWindows(), 3);
    palette.setCurrentWindow(&c);
    EXPECT_EQ(palette.currentWindow(), &c);
    FakeWindow stranger(u"x"_qs, closed);
    palette.setCurrentWindow(&stranger);
    EXPECT_EQ(palette.currentWindow(), &c) << "a window outside the list never becomes current";
}

TEST_F(Palette, ClosingAWindowUnlinksItAndMovesTheCurrentWindow) {
    const struct {
        const char* name;
        int closing;          // index in a, b, c
        const char* current;  // after the close
        QStringList left;
    } cases[] = {
        {"first: the head moves on", 0, "b", {u"b"_qs, u"c"_qs}},
        {"middle: its next takes its place", 1, "c", {u"a"_qs, u"c"_qs}},
        {"last: its previous becomes current", 2, "b", {u"a"_qs, u"b"_qs}},
    };
    for (const auto& c : cases) {
        while (palette.firstWindow()) palette.closeWindow(palette.firstWindow());
        closed.clear();
        PaletteWindow* w[] = {&add(u"a"_qs), &add(u"b"_qs), &add(u"c"_qs)};
        palette.setCurrentWindow(w[c.closing]);
        palette.displayFlags = 3;
        palette.closeWindow(w[c.closing]);
        EXPECT_EQ(order(), c.left) << c.name;
        EXPECT_EQ(palette.currentWindow()->caption(), QString::fromLatin1(c.current)) << c.name;
        EXPECT_EQ(stage.closedCurrent, QString::fromLatin1(c.current)) << c.name;
        EXPECT_EQ(stage.counts.back(), 2) << c.name;
        EXPECT_EQ(closed, QStringList{QString(QChar(u'a' + c.closing))}) << c.name;
        EXPECT_EQ(palette.displayFlags, 1) << c.name << ": the group's windows are no longer all there";
    }
}

TEST_F(Palette, TheSingleWindowIsNotRemoved) {
    FakeWindow& only = add(u"only"_qs);
    EXPECT_FALSE(palette.removeCurrentWindow());
    ASSERT_EQ(messages.records.size(), 1u);
    EXPECT_EQ(messages.records[0].text, u"最後の一作品なので撤去できません！"_qs);
    EXPECT_EQ(messages.records[0].caption, u"キャンバスの撤去"_qs);
    EXPECT_EQ(palette.currentWindow(), &only);
    EXPECT_TRUE(closed.isEmpty());
    EXPECT_FALSE(palette.requestClose(&only)) << "the window's own close is refused alike";
    EXPECT_FALSE(palette.windowToClose());
    EXPECT_EQ(messages.records.size(), 2u);
    add(u"two"_qs);
    EXPECT_TRUE(palette.removeCurrentWindow());
    EXPECT_EQ(closed, QStringList{u"only"_qs});
    EXPECT_EQ(palette.currentWindow()->caption(), u"two"_qs);
}

TEST_F(Palette, TheStepActsEveryFifthTickOnTheFirstRequestThatApplies) {
    FakeWindow& a = add(u"a"_qs);
    FakeWindow& b = add(u"b"_qs);
    palette.startTimer();
    palette.requestClose(&b);
    palette.requestRunToggle();
    palette.musicRequest = 1;
    for (int i = 0; i < PaletteModel::kTicksPerStep - 1; ++i) palette.tick();
    EXPECT_EQ(palette.countWindows(), 2) << "nothing before the fifth tick";
    palette.tick();
    EXPECT_EQ(closed, QStringList{u"b"_qs});
    EXPECT_FALSE(palette.windowToClose());
    EXPECT_FALSE(a.running()) << "one request per step";
    step();
    EXPECT_TRUE(a.running());
    EXPECT_FALSE(palette.runToggleRequest());
    EXPECT_EQ(stage.musicStarts, 0);
    step();
    EXPECT_EQ(stage.musicStarts, 1);
    EXPECT_EQ(palette.musicRequest, -1);
    palette.musicStep = 4;
    step();
    EXPECT_EQ(stage.musicSteps, std::vector<int>{4});
    EXPECT_EQ(palette.musicStep, -1);
    step();
    EXPECT_EQ(stage.tourSteps, 0) << "no tour, nothing to do";
    EXPECT_TRUE(palette.timerOn());
}

TEST_F(Palette, TourStepsCountDownTheTitlePlatesOfListSizeWindows) {
    FakeWindow& small = add(u"small"_qs);
    FakeWindow& full = add(u"full"_qs);
    small.listSize = small.plate = full.plate = true;
    small.countdown = full.countdown = 1;
    palette.tourWindow = &small;
    step();
    EXPECT_EQ(stage.tourSteps, 1);
    EXPECT_EQ(small.countdown, 0);
    EXPECT_TRUE(small.plate) << "still 1 before this step";
    step();
    EXPECT_FALSE(small.plate) << "hidden once the value before was 0";
    EXPECT_EQ(full.countdown, 1) << "a window at full size keeps its plate";
    palette.closeWindow(&small);
    EXPECT_FALSE(palette.tourWindow) << "the tour does not keep a closed window";
}

TEST_F(Palette, TheStopFlagStopsTheTimerAndTheMusicCounterRunsEveryTick) {
    add(u"a"_qs);
    palette.startTimer();
    palette.music.playCounter = 1;
    palette.tick();
    palette.tick();
    EXPECT_EQ(palette.music.playCounter, 3);
    palette.gallery().setStopFlag(GalleryState::StopProgram);
    palette.requestRunToggle();
    palette.tick();
    EXPECT_FALSE(palette.timerOn());
    EXPECT_TRUE(palette.runToggleRequest()) << "kept for when the flag is cleared";
}

TEST_F(Palette, AFailingStepEndsTheProgramWithTheTroubleMessage) {
    FakeWindow& a = add(u"a"_qs);
    a.failToggle = true;
    palette.startTimer();
    palette.requestRunToggle();
    step();
    EXPECT_FALSE(palette.timerOn());
    EXPECT_EQ(palette.gallery().stopFlag() & GalleryState::StopPalette, GalleryState::StopPalette);
    ASSERT_EQ(messages.records.size(), 1u);
    EXPECT_EQ(messages.records[0].text, u"再度の入館をお願いします。"_qs);
    EXPECT_EQ(messages.records[0].caption, u"ギャラリーでのトラブル発生 (1)"_qs);
    EXPECT_EQ(stage.ends, 1);
}

TEST(PaletteLayoutTest, NarrowAndFullKeepTheRightEdge) {
    const QRect full(900, 0, PaletteLayout::kFullWidth, 82);
    const QRect narrow = PaletteLayout::sizeToggled(full, true);
    EXPECT_EQ(narrow, QRect(900 + 692 - 312, 0, 312, 82));
    EXPECT_EQ(PaletteLayout::sizeToggled(narrow, false), full);
    EXPECT_EQ(PaletteLayout::sizeToggled(QRect(100, 5, 312, 82), false), QRect(20, 5, 692, 82))
        << "a full palette does not go left of 20";
}

TEST(PaletteLayoutTest, TheLogGrowsInStepsOfFourUpTo500) {
    EXPECT_EQ(PaletteLayout::grownHeight(110, 100), 110) << "the lines fit";
    EXPECT_EQ(PaletteLayout::grownHeight(110, 121), 122);
    EXPECT_EQ(PaletteLayout::grownHeight(110, 2000), 502) << "the step that passes 500 is the last";
}
