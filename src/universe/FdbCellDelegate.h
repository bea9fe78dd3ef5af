// How a cell of the database grid is drawn: dark blue ground, the current cell and a marked
// star's name in their own colours, and the line under a cell painted grey when the next row
// holds the same value, so that runs of equal values read as one block.
#pragma once

#include <QColor>
#include <QStyledItemDelegate>

class DatabaseTable;
class QTableView;

class FdbCellDelegate : public QStyledItemDelegate {
public:
    // The colours of the grid, one copy for the delegate, the header and the tests.
    static inline const QColor kGround{0, 0, 64};
    static inline const QColor kCurrent{0, 255, 208};
    static inline const QColor kMarked{224, 248, 240};
    static inline const QColor kMarkedCurrent{144, 255, 128};
    static inline const QColor kDarkText{0, 0, 128};
    static inline const QColor kNumberText{192, 208, 224};
    static inline const QColor kRunLine{56, 56, 56};
    static inline const QColor kGridLine{72, 88, 136};
    static inline const QColor kHeaderGround{0, 128, 160};

    // `view` (its current cell) and the table it shows are read at each paint; neither is owned.
    explicit FdbCellDelegate(QTableView* view);
    void setTable(const DatabaseTable* table) { table_ = table; }

    // One cell: ground, text (the short size form 20 pixels further right), its right and bottom
    // lines. O(cell text), plus a comparison with the next row for the bottom line.
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    QTableView* view_;
    const DatabaseTable* table_ = nullptr;
};
