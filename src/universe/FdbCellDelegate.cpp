#include "FdbCellDelegate.h"

#include "DatabaseTable.h"
#include "NodeText.h"

#include <QPainter>
#include <QTableView>

FdbCellDelegate::FdbCellDelegate(QTableView* view) : QStyledItemDelegate(view), view_(view) {}

void FdbCellDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    if (!table_ || static_cast<std::size_t>(index.row()) >= table_->shownCount()) return;
    const auto row = static_cast<std::size_t>(index.row());
    const int column = index.column();
    const bool current = index == view_->currentIndex();
    const bool marked = column == DbName && (table_->star(row)->marks & MarkMarked);
    QColor ground = kGround;
    QColor text = column == DbNumber ? kNumberText : QColor(Qt::white);
    if (marked) {
        ground = current ? kMarkedCurrent : kMarked;
        text = kDarkText;
    } else if (current) {
        ground = kCurrent;
        text = kDarkText;
    }
    const QRect r = option.rect;
    painter->save();
    painter->fillRect(r, ground);
    QRect textRect = r.adjusted(3, 0, -2, -1);
    if (column == DbSize && (table_->look().formatOptions & FormatShortSize)) textRect.adjust(20, 0, 0, 0);
    painter->setPen(text);
    painter->setFont(option.font);
    const QString cell = option.fontMetrics.elidedText(table_->cellText(row, column), Qt::ElideRight, textRect.width());
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, cell);
    painter->setPen(kGridLine);
    painter->drawLine(r.topRight(), r.bottomRight());
    painter->setPen(table_->sameAsNext(row, column) ? kRunLine : kGridLine);
    painter->drawLine(r.bottomLeft(), r.bottomRight());
    painter->restore();
}
