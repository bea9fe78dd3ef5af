// The tree window's left-band up-downs, its bands on narrow and wide windows, and its float
// panel in a window opened for the star journey.
#include "TestSupport.h"
#include "UniverseFixture.h"

#include "universe/NebuBandLayout.h"
#include "universe/NebuStepper.h"
#include "universe/TFormNebu.h"

#include "common/ShowCheck.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QSpinBox>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class NebuControlsTest : public testing::Test {
protected:
    RecordingCheckSink sink;
    ScopedCheckSink installed{&sink};
    TempFolder folder;
    QWidget dock;

    void SetUp() override {
        folder.write(QStringLiteral("星座/銀河一/写真.jpg"), "12345");
        folder.write(QStringLiteral("星座/銀河一/深い.txt"), "1");
        folder.write(QStringLiteral("星座/メモ.txt"), "123");
        folder.write(QStringLiteral("星座/銀河二/a.txt"), "12");
        dock.resize(900, 500);
        dock.show();
    }

    // A docked window on the fixture, scanned: rows 星座, メモ.txt, 銀河一, 写真.jpg, 深い.txt,
    // 銀河二, a.txt.
    TFormNebu* openWindow() {
        auto* w = new TFormNebu(folder.file(QStringLiteral("星座")), folder.path() + u'/', {}, &dock);
        w->show();
        EXPECT_TRUE(pumpUntil([w] { w->timerTick(); return !w->opening(); }));
        return w;
    }

    template <class T> static T* byTip(QWidget* w, const QString& tip) {
        for (T* child : w->findChildren<T*>())
            if (child->toolTip() == tip) return child;
        ADD_FAILURE() << tip.toStdString();
        return nullptr;
    }
};

TEST_F(NebuControlsTest, TheUpDownsStepRowsAndGalaxiesTheWayTheirArrowsPoint) {
    QPointer<TFormNebu> w = openWindow();
    NebuStepper* rows = byTip<NebuStepper>(w, QStringLiteral("　指定行ずつの行移動　"));
    NebuStepper* galaxies = byTip<NebuStepper>(w, QStringLiteral("　同階層の次の銀河へ移動　"));
    QSpinBox* moveAdd = byTip<QSpinBox>(w, QStringLiteral("　指定行ずつの行移動　"));
    ASSERT_TRUE(rows && galaxies && moveAdd);
    struct Step {
        NebuStepper* control;
        QToolButton* arrow;
        int moveAdd;
        int gridRow;
    };
    const std::vector<Step> steps = {
        {rows, rows->downArrow(), 10, 6},         // kept inside the grid
        {rows, rows->upArrow(), 2, 4},
        {rows, rows->upArrow(), 0, 0},            // 0 counts as 5, kept inside
        {galaxies, galaxies->downArrow(), 0, 2},  // from the top galaxy: its first sub-galaxy
        {galaxies, galaxies->downArrow(), 0, 5},
        {galaxies, galaxies->downArrow(), 0, 5},  // no further galaxy of the depth
        {galaxies, galaxies->upArrow(), 0, 2},
        {galaxies, galaxies->upArrow(), 0, 2},    // not past the top galaxy
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(testing::Message() << "to row " << s.gridRow);
        moveAdd->setValue(s.moveAdd);
        s.arrow->click();
        EXPECT_EQ(w->cursor().gridRow(), s.gridRow);
        EXPECT_EQ(w->positionText(), QStringLiteral("%1／     7").arg(s.gridRow + 1, 6));
    }
    delete w;
}

TEST_F(NebuControlsTest, TheLineHeightUpDownResizesTheRowsWithinItsRange) {
    QPointer<TFormNebu> w = openWindow();
    NebuStepper* lineHeight = byTip<NebuStepper>(w, QStringLiteral("行間を拡縮します"));
    ASSERT_TRUE(lineHeight);
    const auto shown = [&] {
        for (QLabel* l : w->findChildren<QLabel*>())
            if (l->text().startsWith(QStringLiteral("星間"))) return l->text();
        return QString();
    };
    EXPECT_EQ(shown(), "星間\n18");
    EXPECT_EQ(w->grid()->rowHeight(), 18);
    lineHeight->upArrow()->click();
    EXPECT_EQ(w->grid()->look.lineHeight, 19);
    EXPECT_EQ(w->grid()->rowHeight(), 19);
    EXPECT_EQ(shown(), "星間\n19");
    for (int i = 0; i < 20; ++i) lineHeight->downArrow()->click();
    EXPECT_EQ(w->grid()->look.lineHeight, 4); // the lower end holds
    delete w;
}

// Every shown control of the top band and the menu band lies inside its band and clear of the
// others at any width; a wide window keeps each band to its one row.
TEST_F(NebuControlsTest, NarrowBandsWrapRatherThanCoverOrCutTheirControls) {
    QPointer<TFormNebu> w = openWindow();
    std::vector<QWidget*> bands;
    for (QWidget* child : w->findChildren<QWidget*>())
        if (dynamic_cast<NebuBandLayout*>(child->layout())) bands.push_back(child);
    ASSERT_EQ(bands.size(), 2u);
    struct Case {
        int width;
        bool oneRow;
    };
    for (const Case c : {Case{560, false}, Case{900, false}, Case{1400, true}}) {
        SCOPED_TRACE(c.width);
        dock.resize(c.width, 560);
        QApplication::processEvents();
        static_cast<QWidget*>(w.data())->layout()->activate(); // the window's own layout, not the tree's
        ASSERT_EQ(w->width(), c.width);
        for (QWidget* band : bands) {
            std::vector<QRect> placed;
            QLayout* layout = band->layout();
            for (int i = 0; i < layout->count(); ++i) {
                QWidget* control = layout->itemAt(i)->widget();
                if (!control || control->isHidden()) continue;
                const QRect r = control->geometry();
                EXPECT_TRUE(band->rect().contains(r)) << control->toolTip().toStdString();
                for (const QRect& other : placed) EXPECT_FALSE(r.intersects(other)) << control->toolTip().toStdString();
                placed.push_back(r);
            }
            if (c.oneRow) {
                EXPECT_TRUE(band->height() == 52 || band->height() == 36) << band->height();
            }
        }
        EXPECT_GT(w->grid()->height(), 200); // the bands leave the tree its room
    }
    delete w;
}

TEST_F(NebuControlsTest, TheFloatPanelStaysSmallInAJourneysWindow) {
    QPointer<TFormNebu> w = openWindow();
    QLabel* panel = nullptr;
    for (QLabel* l : w->findChildren<QLabel*>())
        if (l->text() == "宙") panel = l;
    ASSERT_TRUE(panel);
    EXPECT_EQ(panel->size(), QSize(32, 32));
    w->setJourneyLook();
    EXPECT_EQ(panel->size(), QSize(18, 18));
    w->toggleFloat();
    EXPECT_EQ(panel->text(), "戻");
    EXPECT_EQ(panel->size(), QSize(18, 18));
    delete w;
}

} // namespace
