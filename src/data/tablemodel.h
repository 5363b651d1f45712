#pragma once

#include <QAbstractTableModel>
#include <QMap>
#include <QStringList>

namespace quelvarino {

class Table;

// A grid model over an open table in its current order. It fetches the rows
// it is asked for a page at a time and keeps a few pages; the table's cursor
// is not moved by painting.
class TableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TableModel(QObject* parent = nullptr);

    void setTable(Table* table,
                  const QStringList& fields,
                  const QStringList& titles,
                  const QList<bool>& money = {});
    void reload();  // after the table was reopened, reordered or changed

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const QStringList* row(int r) const;

    Table* table_ = nullptr;
    QStringList fields_;
    QStringList titles_;
    QList<bool> money_;
    int rows_ = 0;
    mutable QMap<int, QVector<QStringList>> pages_;
    mutable QList<int> recent_;
};

}  // namespace quelvarino
