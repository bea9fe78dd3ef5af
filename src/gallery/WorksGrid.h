// The gallery's works list grid (sgWorks): one owner-drawn row per catalog row, drawn as
// WorksList describes it. Clicks, Space and Enter are handed to the gallery as signals; the
// arrow keys, Home/End and Page Up/Down move the selected row over the shown rows.
#pragma once

#include "WorksList.h"

#include <QWidget>
#include <vector>

class WorksGrid : public QWidget {
    Q_OBJECT
public:
    // Draws the rows of `list` (not owned; it must outlive the grid).
    WorksGrid(const WorksList& list, QWidget* parent = nullptr);

    // Takes the row heights (0 hides a row) and resizes to their sum. Cost: linear in the rows.
    void setRowHeights(std::vector<int> heights);
    // The selected row and whether the current work window runs (its row turns dark red).
    void setCurrentRow(int row);
    int currentRow() const { return currentRow_; }
    void setRunning(bool running);

    // The row under a y coordinate, -1 below the last row. Cost: linear in the rows.
    int rowAt(int y) const;
    // The rectangle of a row (empty for a folded row or a row outside the list).
    QRect rowRect(int row) const;
    // Where the run button goes: on the current work row at (left + 10, top + 4), else out of sight.
    QPoint runButtonPlace() const;

signals:
    void rowReleased(int row); // mouse button released over a row, or Space: select with toggle
    void runRequested();       // Enter: run or stop the current work
    void rowMoved(int row);    // a key moved the selected row (nothing is shown yet)

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The shown row `steps` shown rows after (before, when negative) `row`, or the last one
    // reached. Cost: linear in the rows.
    int shownRowFrom(int row, int steps) const;
    // The shown rows that fit the visible height from the selected row on in `direction` (+1
    // down, -1 up), less one and at least one, signed as `direction`. Cost: linear in the rows.
    int rowsPerPage(int direction) const;

    const WorksList& list_; // non-owning
    std::vector<int> heights_;
    int currentRow_ = 0;
    bool running_ = false;
};
