#include "FdbModel.h"

#include "DatabaseTable.h"

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
    return role == Qt::DisplayRole ? QVariant(table_->cellText(static_cast<std::size_t>(index.row()), index.column()))
                                   : QVariant();
}

QVariant FdbModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal) return {};
    if (role == Qt::DisplayRole) return DatabaseTable::headerText(section);
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}
