#include "data/tablemodel.h"

#include "core/money.h"
#include "data/table.h"

namespace quelvarino {
namespace {
constexpr int kPage = 100;
constexpr int kPagesKept = 8;
}  // namespace

TableModel::TableModel(QObject* parent) : QAbstractTableModel(parent) {}

void TableModel::setTable(Table* table,
                          const QStringList& fields,
                          const QStringList& titles,
                          const QList<bool>& money) {
    table_ = table;
    fields_ = fields;
    titles_ = titles;
    money_ = money;
    reload();
}

void TableModel::reload() {
    beginResetModel();
    pages_.clear();
    recent_.clear();
    rows_ = table_ && table_->isOpen() ? table_->recordCount() : 0;
    endResetModel();
}

int TableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int TableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : fields_.size();
}

const QStringList* TableModel::row(int r) const {
    if (!table_ || !table_->isOpen())
        return nullptr;
    const int page = r / kPage;
    auto it = pages_.find(page);
    if (it == pages_.end()) {
        it = pages_.insert(page, table_->rowTexts(page * kPage, kPage, fields_, rows_));
        recent_.append(page);
        if (recent_.size() > kPagesKept)
            pages_.remove(recent_.takeFirst());
    }
    const int i = r % kPage;
    return i < it->size() ? &(*it)[i] : nullptr;
}

QVariant TableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return {};
    const bool money = money_.value(index.column(), false);
    if (role == Qt::TextAlignmentRole && money)
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    const QStringList* r = row(index.row());
    if (!r)
        return {};
    const QString text = r->value(index.column());
    if (money)
        return text.isEmpty() ? QStringLiteral("0,00") : formatMoney(parseMoney(text));
    return text;
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::DisplayRole && orientation == Qt::Horizontal)
        return titles_.value(section, fields_.value(section));
    return QAbstractTableModel::headerData(section, orientation, role);
}

}  // namespace quelvarino
