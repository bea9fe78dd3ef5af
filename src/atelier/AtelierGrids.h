// The owner-drawn grids of the Atelier: the menu (`sgCtrl`), the reference categories (`sgMode`)
// and the command reference (`sgKestoBasic`). They draw from the Atelier's model and the keyword
// tables and report clicks; they keep no state of their own beyond the pressed row.
#pragma once

#include <QWidget>

class AtelierModel;

// One column of a row per menu command, 22 pixels high. A row pressed with the mouse is drawn pressed until the
// button is released over it, which emits `commandChosen`.
class MenuGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 22;
    // `model` must outlive the grid; `running` tells whether the edited work runs now.
    MenuGrid(const AtelierModel& model, std::function<bool()> running, QWidget* parent);
    int pressedRow() const { return pressed_; }

signals:
    void commandChosen(int row);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int rowAt(int y) const;

    const AtelierModel& model_;
    std::function<bool()> running_;
    int pressed_ = -1;
};

// The six reference categories; the selected one on its keyword colour.
class CategoryGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRowHeight = 22;
    CategoryGrid(const AtelierModel& model, QWidget* parent);

signals:
    void categoryChosen(int row);

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const AtelierModel& model_;
};

// The keywords of the current category: a header row, then one row per keyword with its standard
// and Japanese forms and its description (collapsed: the first line and the line count;
// expanded: every line). Sits in a scroll area, which it sizes itself for.
class ReferenceGrid : public QWidget {
    Q_OBJECT
public:
    static constexpr int kHeaderHeight = 24;
    ReferenceGrid(const AtelierModel& model, QWidget* parent);
    // Rows and column widths for the model's category at `visibleWidth`; `visibleHeight` decides
    // whether room for the scroll bar is kept. Cost: linear in the category's keywords.
    void relayout(int visibleWidth, int visibleHeight);
    int selectedRow() const { return selected_; }
    // Column widths now (the third is 0 for two-column categories).
    std::array<int, 3> columnWidths() const { return widths_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    int rowTop(int row) const;

    const AtelierModel& model_;
    std::array<int, 3> widths_{112, 112, 300};
    std::vector<int> heights_; // keyword rows
    int selected_ = 1;
};
