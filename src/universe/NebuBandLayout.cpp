#include "NebuBandLayout.h"

#include <QWidget>
#include <QWidgetItem>

#include <algorithm>

NebuBandLayout::NebuBandLayout(QWidget* band, int rowHeight) : QLayout(band), rowHeight_(rowHeight) {
    setContentsMargins(4, 2, 4, 2);
    setSpacing(3);
}

NebuBandLayout::~NebuBandLayout() {
    for (Entry& e : items_) delete e.item;
}

void NebuBandLayout::addWidget(QWidget* widget, int stretch) { insertWidget(count(), widget, stretch); }

void NebuBandLayout::insertWidget(int index, QWidget* widget, int stretch) {
    addChildWidget(widget);
    const auto at = index < 0 || index > count() ? items_.end() : items_.begin() + index;
    items_.insert(at, Entry{new QWidgetItem(widget), stretch});
    invalidate();
}

void NebuBandLayout::addItem(QLayoutItem* item) { items_.push_back(Entry{item, 0}); }

QLayoutItem* NebuBandLayout::itemAt(int index) const {
    return index >= 0 && index < count() ? items_[size_t(index)].item : nullptr;
}

QLayoutItem* NebuBandLayout::takeAt(int index) {
    if (index < 0 || index >= count()) return nullptr;
    QLayoutItem* item = items_[size_t(index)].item;
    items_.erase(items_.begin() + index);
    return item;
}

void NebuBandLayout::collect(std::vector<int>& shown, std::vector<BandItem>& widths) const {
    for (int i = 0; i < count(); ++i) {
        const Entry& e = items_[size_t(i)];
        if (e.item->isEmpty()) continue;
        const int minimum = e.item->minimumSize().width();
        const int maximum = std::max(minimum, e.item->maximumSize().width());
        const int preferred = std::clamp(e.item->sizeHint().width(), minimum, maximum);
        shown.push_back(i);
        widths.push_back(BandItem{minimum, preferred, maximum, e.stretch});
    }
}

std::vector<BandPlace> NebuBandLayout::flow(int width, std::vector<int>& shown, std::vector<int>& rowHeights) const {
    std::vector<BandItem> widths;
    collect(shown, widths);
    std::vector<BandPlace> places = flowBand(widths, width, spacing());
    const int rows = places.empty() ? 1 : places.back().row + 1;
    const QMargins m = contentsMargins();
    rowHeights.assign(size_t(rows), rows == 1 ? rowHeight_ - m.top() - m.bottom() : 0);
    for (size_t k = 0; k < places.size(); ++k) {
        int& h = rowHeights[size_t(places[k].row)];
        h = std::max(h, items_[size_t(shown[k])].item->sizeHint().height());
    }
    return places;
}

int NebuBandLayout::heightForWidth(int width) const {
    const QMargins m = contentsMargins();
    std::vector<int> shown, rowHeights;
    flow(width - m.left() - m.right(), shown, rowHeights);
    int height = m.top() + m.bottom() + spacing() * (int(rowHeights.size()) - 1);
    for (int h : rowHeights) height += h;
    return height;
}

QSize NebuBandLayout::sizeHint() const {
    std::vector<int> shown;
    std::vector<BandItem> widths;
    collect(shown, widths);
    const QMargins m = contentsMargins();
    int width = m.left() + m.right() + spacing() * std::max(0, int(widths.size()) - 1);
    for (const BandItem& w : widths) width += w.preferred;
    return {width, rowHeight_};
}

QSize NebuBandLayout::minimumSize() const {
    // The narrowest band is one control a row.
    std::vector<int> shown;
    std::vector<BandItem> widths;
    collect(shown, widths);
    int widest = 0;
    for (const BandItem& w : widths) widest = std::max(widest, w.minimum);
    const QMargins m = contentsMargins();
    return {widest + m.left() + m.right(), rowHeight_};
}

void NebuBandLayout::setGeometry(const QRect& rect) {
    QLayout::setGeometry(rect);
    const QRect area = rect.marginsRemoved(contentsMargins());
    std::vector<int> shown, rowHeights;
    const std::vector<BandPlace> places = flow(area.width(), shown, rowHeights);
    std::vector<int> rowTops(rowHeights.size(), area.top());
    for (size_t r = 1; r < rowTops.size(); ++r) rowTops[r] = rowTops[r - 1] + rowHeights[r - 1] + spacing();
    for (size_t k = 0; k < places.size(); ++k) {
        QLayoutItem* item = items_[size_t(shown[k])].item;
        const BandPlace& p = places[k];
        const int rowHeight = rowHeights[size_t(p.row)];
        const int height = std::min(rowHeight, std::max(item->minimumSize().height(), item->sizeHint().height()));
        item->setGeometry(QRect(area.left() + p.x, rowTops[size_t(p.row)] + (rowHeight - height) / 2, p.width, height));
    }
}
