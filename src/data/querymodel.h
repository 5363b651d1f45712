#pragma once

#include <QAbstractTableModel>
#include <QMap>
#include <QStringList>
#include <QVector>

namespace quelvarino {

class Query;

// A grid model over an open query. It knows the row count and fetches the
// rows it is asked for a page at a time, keeping a few pages; no statement
// stays open between two paints.
class QueryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit QueryModel(QObject* parent = nullptr);

    // Shows `fields` (names of the query's result) under `titles`.
    void setQuery(Query* query, const QStringList& fields, const QStringList& titles);
    void reload();  // after the query was reopened

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    const QVector<QVariant>* row(int r) const;

    Query* query_ = nullptr;
    QStringList fields_;
    QStringList titles_;
    QVector<int> columns_;  // result column of each shown field
    int rows_ = 0;
    mutable QMap<int, QVector<QVector<QVariant>>> pages_;
    mutable QList<int> recent_;
};

}  // namespace quelvarino
