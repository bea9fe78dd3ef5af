// The database table as a Qt item model: the grid asks for the cells it draws, so a table of a
// million stars shows as fast as one of ten. It owns nothing; sorts and narrowing happen on the
// table and end with changed().
#pragma once

#include <QAbstractTableModel>

class DatabaseTable;

class FdbModel : public QAbstractTableModel {
public:
    explicit FdbModel(QObject* parent) : QAbstractTableModel(parent) {}

    // Shows `table` (not owned, may be null for none); it must outlive its use here. O(1).
    void setTable(DatabaseTable* table);
    DatabaseTable* table() const { return table_; }
    // Tells the views that the rows changed (a sort, narrowing, counts or marks). O(1).
    void changed();

    // Cells: display texts (the grid's delegate draws the colours). O(name + depth).
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    DatabaseTable* table_ = nullptr;
};
