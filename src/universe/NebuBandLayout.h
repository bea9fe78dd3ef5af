// The layout of a band of the tree window's controls (its top band and menu band): one row of
// the band's height while the controls fit, shrinking the wide ones first, and more rows when
// the band is too narrow for them (flowBand), so that the band grows down instead of covering
// or cutting controls. Hidden controls take no room.
#pragma once

#include "BandFlow.h"

#include <QLayout>
#include <vector>

class NebuBandLayout : public QLayout {
public:
    // `rowHeight` is the band's height while it keeps one row; wrapped rows are as high as their
    // tallest control.
    NebuBandLayout(QWidget* band, int rowHeight);
    ~NebuBandLayout() override;

    // Appends a control; one with a stretch takes a share of the room a row has left over.
    void addWidget(QWidget* widget, int stretch = 0);
    // Inserts a control before the item at `index` (at the end when out of range).
    void insertWidget(int index, QWidget* widget, int stretch = 0);

    void addItem(QLayoutItem* item) override;
    int count() const override { return int(items_.size()); }
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    Qt::Orientations expandingDirections() const override { return Qt::Horizontal; }
    bool hasHeightForWidth() const override { return true; }
    // The band's height at a width: its row height, or the wrapped rows'. O(controls).
    int heightForWidth(int width) const override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    struct Entry {
        QLayoutItem* item;
        int stretch;
    };
    // The shown entries' indices and their widths for flowBand.
    void collect(std::vector<int>& shown, std::vector<BandItem>& widths) const;
    // Places for `width` (content width) and each row's height.
    std::vector<BandPlace> flow(int width, std::vector<int>& shown, std::vector<int>& rowHeights) const;

    std::vector<Entry> items_;
    int rowHeight_;
};
