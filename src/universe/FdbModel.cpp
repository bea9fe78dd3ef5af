#include "FdbModel.h"

#include "DatabaseTable.h"

#include <QColor>

void FdbModel::setTable(DatabaseTable* table) {
    beginResetModel();
    table_ = table;
    endResetModel();
}

void FdbModel::changed() {
    beginResetModel();
    endResetModel();
}

int FdbModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !table_ ? 0 : static_cast<int>(table_->shownCount());
}

int FdbModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : DatabaseTable::kColumns; }

QVariant FdbModel::data(const QModelIndex& index, int role) const {
    if (!table_ || !index.isValid() || static_cast<std::size_t>(index.row()) >= table_->shownCount()) return {};
    const auto row = static_cast<std::size_t>(index.row());
    const bool markedName = index.column() == DbName && (table_->star(row)->marks & MarkMarked);
    switch (role) {
    case Qt::DisplayRole: return table_->cellText(row, index.column());
    case Qt::BackgroundRole: return markedName ? QVariant(QColor(224, 248, 240)) : QVariant();
    case Qt::ForegroundRole:
        if (markedName) return QColor(0, 0, 128);
        return index.column() == DbNumber ? QColor(192, 208, 224) : QColor(Qt::white);
    default: return {};
    }
}

QVariant FdbModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::DisplayRole) return DatabaseTable::headerText(section);
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}
