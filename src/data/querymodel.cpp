#include "data/querymodel.h"

#include "data/fieldconv.h"
#include "data/query.h"
#include "data/schema.h"

namespace quelvarino {
namespace {
constexpr int kPage = 100;
constexpr int kPagesKept = 8;
}  // namespace

QueryModel::QueryModel(QObject* parent) : QAbstractTableModel(parent) {}

void QueryModel::setQuery(Query* query, const QStringList& fields, const QStringList& titles) {
    query_ = query;
    fields_ = fields;
    titles_ = titles;
    reload();
}

void QueryModel::reload() {
    beginResetModel();
    pages_.clear();
    recent_.clear();
    columns_.clear();
    rows_ = 0;
    if (query_ && query_->isOpen()) {
        rows_ = query_->recordCount();
        const QStringList names = query_->fieldNames();
        for (const QString& f : fields_) {
            int c = -1;
            for (int i = 0; i < names.size(); ++i) {
                if (names[i].compare(f, Qt::CaseInsensitive) == 0)
                    c = i;
            }
            columns_.append(c);
        }
    }
    endResetModel();
}

int QueryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int QueryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : fields_.size();
}

const QVector<QVariant>* QueryModel::row(int r) const {
    const int page = r / kPage;
    auto it = pages_.find(page);
    if (it == pages_.end()) {
        it = pages_.insert(page, query_->fetchRows(page * kPage, kPage));
        recent_.append(page);
        if (recent_.size() > kPagesKept)
            pages_.remove(recent_.takeFirst());
    }
    const int i = r % kPage;
    return i < it->size() ? &(*it)[i] : nullptr;
}

QVariant QueryModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || !query_)
        return {};
    const int c = columns_.value(index.column(), -1);
    if (c < 0)
        return {};
    const QVector<QVariant>* r = row(index.row());
    if (!r)
        return {};
    return storedToText(schema::typeOfField(fields_[index.column()]), r->value(c));
}

QVariant QueryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::DisplayRole && orientation == Qt::Horizontal)
        return titles_.value(section, fields_.value(section));
    return QAbstractTableModel::headerData(section, orientation, role);
}

}  // namespace quelvarino
