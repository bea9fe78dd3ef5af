#include "CatalogFixture.h"
#include "gallery/WorksList.h"

#include <QFont>
#include <gtest/gtest.h>

namespace {

class WorksListRows : public ::testing::Test {
protected:
    void SetUp() override { catalog.readSources(); }
    TempFolder folder;
    Catalog catalog{writeTwoSourceHome(folder)};
    WorksList list{catalog};
};

} // namespace

TEST_F(WorksListRows, RowLooksFollowKindStateAndFlags) {
    const QSize row(300, 24);
    const struct {
        int row, current;
        bool running;
        uint32_t background, textColour;
        int textLeft;
        const char16_t* text;
    } cases[] = {
        {0, 0, false, 0x3000, 0xB0C0A0, 10, u"館"},          // source, current
        {9, 0, false, 0xFFD080, 0x3000, 10, u"別館"},        // source, other
        {1, 1, false, 0x6000, 0xC0D0B0, 36, u"第一集"},      // group, current
        {1, 0, false, 0x90FF50, 0x6000, 36, u"第一集"},      // group in the tour
        {5, 0, false, 0xD0E090, 0x8000, 36, u"第二集"},      // group out of the tour
        {2, 2, true, 0x40, 0x80FFFF, 56, u"set1の一"},       // work, current, running
        {2, 2, false, 0x303030, 0x80FFFF, 56, u"set1の一"},  // work, current, still
        {2, 0, false, 0xF0FFE8, 0x804020, 56, u"set1の一"},  // shown work of a toured group
        {3, 0, false, 0xF0FFE8, 0x606080, 56, u"set1の二"},  // hidden work
        {6, 0, false, 0xF0FFE8, 0x606080, 56, u"set2の一"},  // work of a group out of the tour
    };
    for (const auto& c : cases) {
        const WorksList::RowLook l = list.look(c.row, row, c.current, c.running);
        EXPECT_TRUE(l.drawn) << c.row;
        EXPECT_EQ(l.background, c.background) << c.row;
        EXPECT_EQ(l.textColour, c.textColour) << c.row;
        EXPECT_EQ(l.textLeft, c.textLeft) << c.row;
        EXPECT_EQ(l.text, QString::fromUtf16(c.text)) << c.row;
        EXPECT_EQ(l.framed, c.row == c.current) << c.row;
        EXPECT_EQ(l.runButton, c.row == c.current && c.textLeft == 56) << c.row;
    }
    EXPECT_FALSE(list.look(18, row, 0, false).drawn);
    EXPECT_FALSE(list.look(2, QSize(300, 2), 0, false).drawn); // a folded row
}

TEST_F(WorksListRows, TreeLinesEndAtTheLastGroupAndWork) {
    const QSize row(300, 24);
    // first group: the source line goes on below it
    EXPECT_EQ(list.look(1, row, 0, false).treeLines, (std::vector<QLine>{QLine(10, 0, 10, 24), QLine(10, 12, 30, 12)}));
    // last group: the source line stops in the middle
    EXPECT_EQ(list.look(5, row, 0, false).treeLines, (std::vector<QLine>{QLine(10, 0, 10, 12), QLine(10, 12, 30, 12)}));
    // a work of a group with a next group carries the source line; the last work's line stops
    EXPECT_EQ(list.look(2, row, 0, false).treeLines,
              (std::vector<QLine>{QLine(10, 0, 10, 24), QLine(40, 0, 40, 24), QLine(40, 12, 56, 12)}));
    EXPECT_EQ(list.look(8, row, 0, false).treeLines, (std::vector<QLine>{QLine(40, 0, 40, 12), QLine(40, 12, 56, 12)}));
    EXPECT_TRUE(list.look(8, row, 8, false).currentWorkLine);
}

TEST_F(WorksListRows, FoldsKeepTheChosenWorks) {
    acmdURLinfo* first = catalog.sources()[0].get();
    const CatalogEntry at{first, first->groups[1].get(), nullptr};
    const auto visible = [](const std::vector<int>& h) {
        std::vector<int> rows;
        for (size_t i = 0; i < h.size(); ++i)
            if (h[i] > 0) rows.push_back(static_cast<int>(i));
        return rows;
    };
    EXPECT_EQ(visible(list.rowHeights(0, at)).size(), 18u);
    EXPECT_EQ(visible(list.rowHeights(WorksList::FoldSource, at)), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 14}));
    EXPECT_EQ(visible(list.rowHeights(WorksList::FoldSource | WorksList::FoldGroup, at)),
              (std::vector<int>{0, 1, 5, 6, 7, 8, 9, 10, 14}));
    const std::vector<int> group = list.rowHeights(3, at);
    EXPECT_EQ(WorksList::panelHeight(group, 900, true), 9 * 25 + 34);
    EXPECT_EQ(WorksList::panelHeight(group, 300, true), 200 + 34);
    EXPECT_EQ(WorksList::panelHeight(list.rowHeights(0, at), 900, false), 25 * 19 + 12);
    EXPECT_EQ(WorksList::panelHeight(list.rowHeights(0, at), 600, false), 400);
}

TEST_F(WorksListRows, ClicksChangeTheFold) {
    const acmdGroupInfo* current = catalog.sources()[0]->groups[0].get();
    const struct {
        int fold, row;
        bool toggle, oneDisplay;
        int after;
    } cases[] = {
        {0, 1, true, true, 3},  // first click on the current group: only its works
        {3, 1, true, true, 1},  // second click: all works of the source
        {3, 1, true, false, 3}, // in list display the group stays folded
        {3, 5, true, true, 3},  // another group
        {3, 1, false, true, 0}, // selected without a click
        {0, 0, true, true, 1},  // source row flips the source fold
        {1, 0, true, true, 0},
        {3, 0, true, true, 0},  // and drops the group fold
        {2, 0, false, true, 0},
        {3, 2, true, true, 3},  // a work row keeps the fold
        {3, 99, true, true, 3},
    };
    for (const auto& c : cases)
        EXPECT_EQ(list.foldAfterSelect(c.fold, c.row, c.toggle, c.oneDisplay, current), c.after)
            << c.fold << " row " << c.row;
}

TEST_F(WorksListRows, HintsAndWidth) {
    EXPECT_EQ(list.hint(0), catalog.sources()[0]->location);
    EXPECT_EQ(list.hint(3), u"two.acmd"_qs);
    EXPECT_EQ(list.hint(1), u" 展示作品の選択　"_qs);
    EXPECT_EQ(list.hint(99), u" 展示作品の選択　"_qs);
    const QFontMetrics metrics(QFont(u"Noto Sans CJK JP"_qs));
    EXPECT_EQ(list.neededWidth(metrics), metrics.horizontalAdvance(u"set1の三"_qs) + 100);
}

TEST_F(WorksListRows, GroupNavigationWraps) {
    const auto& s = catalog.sources();
    acmdGroupInfo* g00 = s[0]->groups[0].get();
    acmdGroupInfo* g01 = s[0]->groups[1].get();
    acmdGroupInfo* g10 = s[1]->groups[0].get();
    acmdGroupInfo* g11 = s[1]->groups[1].get();
    EXPECT_EQ(catalog.nextSource(s[0].get()), s[1].get());
    EXPECT_EQ(catalog.nextSource(s[1].get()), s[0].get()); // "次URL" after the last source
    EXPECT_EQ(catalog.nextGroupEntry({s[1].get(), g11, nullptr}), (CatalogEntry{s[0].get(), g00, nullptr}));

    catalog.current = {s[0].get(), nullptr, nullptr};
    const std::vector<acmdGroupInfo*> forward = {g00, g01, g10, g11, g00};
    for (acmdGroupInfo* expected : forward) EXPECT_EQ(catalog.moveToNextGroup().group, expected);
    catalog.current = {s[1].get(), g11, g11->works[0].get()};
    const std::vector<acmdGroupInfo*> backward = {g10, g00, g00};
    for (acmdGroupInfo* expected : backward) EXPECT_EQ(catalog.moveToPreviousGroup().group, expected);
    EXPECT_EQ(catalog.current.work, nullptr);
}
