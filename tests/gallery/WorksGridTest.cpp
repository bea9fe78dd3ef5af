#include "CatalogFixture.h"
#include "gallery/BgrColor.h"
#include "gallery/WorksGrid.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <gtest/gtest.h>

namespace {

class Grid : public ::testing::Test {
protected:
    void SetUp() override {
        catalog.readSources();
        grid.resize(320, 10);
        grid.setRowHeights(list.rowHeights(0, {}));
        connect();
    }
    void connect() {
        QObject::connect(&grid, &WorksGrid::rowReleased, [this](int row) { released.push_back(row); });
        QObject::connect(&grid, &WorksGrid::runRequested, [this] { ++runs; });
    }
    uint32_t colourAt(const QImage& shot, int row) const {
        return rgbToBgr(shot.pixel(200, grid.rowRect(row).center().y()));
    }

    TempFolder folder;
    Catalog catalog{writeTwoSourceHome(folder)};
    WorksList list{catalog};
    WorksGrid grid{list};
    std::vector<int> released;
    int runs = 0;
};

} // namespace

TEST_F(Grid, DrawsEveryRowInItsColours) {
    EXPECT_EQ(grid.height(), 18 * 24);
    grid.setCurrentRow(2);
    grid.setRunning(true);
    const QImage shot = grid.grab().toImage();
    const struct {
        int row;
        uint32_t background;
    } rows[] = {{0, 0xFFD080}, {1, 0x90FF50}, {2, 0x40}, {3, 0xF0FFE8}, {5, 0xD0E090}, {9, 0xFFD080}};
    for (const auto& r : rows) EXPECT_EQ(colourAt(shot, r.row), r.background) << r.row;
    EXPECT_EQ(rgbToBgr(shot.pixel(1, grid.rowRect(2).top() + 1)), 0xFFFF00u); // the current row's frame
    EXPECT_EQ(grid.runButtonPlace(), QPoint(10, 2 * 24 + 4));
    grid.setCurrentRow(1);
    EXPECT_EQ(grid.runButtonPlace().y(), -20); // no run button on a group row
}

TEST_F(Grid, FoldedRowsTakeNoSpace) {
    acmdURLinfo* first = catalog.sources()[0].get();
    grid.setRowHeights(list.rowHeights(WorksList::FoldGroup, {first, first->groups[1].get(), nullptr}));
    EXPECT_EQ(grid.height(), 9 * 24);
    EXPECT_TRUE(grid.rowRect(2).isEmpty());
    EXPECT_EQ(grid.rowRect(6).top(), 3 * 24);
    EXPECT_EQ(grid.rowAt(3 * 24 + 5), 6);
    EXPECT_EQ(grid.rowAt(9 * 24), -1);
}

TEST_F(Grid, ClicksAndKeysReachTheGallery) {
    const QPointF at(100, 3 * 24 + 10);
    QMouseEvent release(QEvent::MouseButtonRelease, at, grid.mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(&grid, &release);
    EXPECT_EQ(released, std::vector<int>{3});
    EXPECT_EQ(grid.currentRow(), 3);
    QMouseEvent below(QEvent::MouseButtonRelease, QPointF(100, 1000), grid.mapToGlobal(QPointF(100, 1000)),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&grid, &below);
    EXPECT_EQ(released.size(), 1u);

    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, u" "_qs);
    QCoreApplication::sendEvent(&grid, &space);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(&grid, &enter);
    EXPECT_EQ(released, (std::vector<int>{3, 3}));
    EXPECT_EQ(runs, 1);

    const QPointF over(100, 10);
    QMouseEvent move(QEvent::MouseMove, over, grid.mapToGlobal(over), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&grid, &move);
    EXPECT_EQ(grid.toolTip(), catalog.sources()[0]->location);
}
