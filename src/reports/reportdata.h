#pragma once

#include "data/companypix.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

namespace quelvarino {

class Query;

// The company lines printed at the top of every report: report data, read
// once per print from the first record of tbempresa.
struct CompanyHeader {
    QString razaoSocial, nomeFan, endereco1, bairro1, cidade1, uf1, cep1, ddd1, telefone1,
        telefone2, site, email;
    static CompanyHeader fromStore();
};

// One row of a report: field texts as the store gives them (money as
// "12,5", dates "dd/mm/yyyy"), by field name in any case.
class ReportRow {
public:
    // The positions of the fields of rows that all have the same fields.
    using Shape = QHash<QString, int>;
    static std::shared_ptr<const Shape> shapeOf(const QStringList& fields);

    ReportRow() = default;
    // A row of a long report: its known fields are kept by position, with
    // no table of its own.
    explicit ReportRow(std::shared_ptr<const Shape> shape)
        : shape_(std::move(shape)), values_(shape_->size()) {}

    void set(const QString& field, const QString& text) {
        const QString k = key(field);
        if (shape_) {
            const auto it = shape_->constFind(k);
            if (it != shape_->constEnd()) {
                values_[it.value()] = text;
                return;
            }
        }
        fields_.insert(k, text);
    }
    void setAt(int position, const QString& text) { values_[position] = text; }  // of the shape
    const Shape* shape() const { return shape_.get(); }
    const QString& at(int position) const { return values_[position]; }
    QString text(const QString& field) const {
        const QString k = key(field);
        if (shape_) {
            const auto it = shape_->constFind(k);
            if (it != shape_->constEnd())
                return values_[it.value()];
        }
        return fields_.value(k);
    }
    bool isEmpty() const { return !shape_ && fields_.isEmpty(); }  // a row of no fields
    // The field's text, or null when the row has no such field: one lookup.
    const QString* find(const QString& field) const {
        const QString k = key(field);
        if (shape_) {
            const auto it = shape_->constFind(k);
            if (it != shape_->constEnd())
                return &values_[it.value()];
        }
        const auto it = fields_.constFind(k);
        return it == fields_.constEnd() ? nullptr : &it.value();
    }
    bool has(const QString& field) const {
        const QString k = key(field);
        return (shape_ && shape_->contains(k)) || fields_.contains(k);
    }
    // Every field and its text.
    QMap<QString, QString> values() const {
        QMap<QString, QString> all;
        if (shape_) {
            for (auto it = shape_->constBegin(); it != shape_->constEnd(); ++it)
                all.insert(it.key(), values_[it.value()]);
        }
        for (auto it = fields_.constBegin(); it != fields_.constEnd(); ++it)
            all.insert(it.key(), it.value());
        return all;
    }
    // Every row of a query, copied: the query may be closed afterwards.
    // With `fields`, only those are copied.
    static QList<ReportRow> fromQuery(Query& query, const QStringList& fields = {});

private:
    // Field names in upper case; names already so (the usual case) are
    // used as they are, without a copy.
    static QString key(const QString& field) {
        for (const QChar c : field) {
            if (c.isLower())
                return field.toUpper();
        }
        return field;
    }
    std::shared_ptr<const Shape> shape_;
    QList<QString> values_;
    QHash<QString, QString> fields_;
};

// A group of rows under a heading row (a client or courier of the
// totalizer): master and detail.
struct ReportGroup {
    ReportRow head;
    QList<ReportRow> rows;
    QMap<QString, QString> totals;  // the group's own totals, formatted
};

// Throws NoticeError saying that `path` could not be written and why,
// with what the operator can check; nothing was written under that name.
[[noreturn]] void refuseFileWrite(const QString& path, const QString& reason);

// Rows read one at a time from where the report's screen prepared them, so
// a year of orders is never held in memory. The sums of the rows are known
// once they have all been read.
class RowSource {
public:
    virtual ~RowSource() = default;
    virtual void each(const std::function<void(const ReportRow&)>& visit) = 0;
    // The totals of the rows of the last walk, formatted.
    virtual QMap<QString, QString> totals() const = 0;
};

// Everything one print needs, collected once: the three outputs and a
// preview that repaints all print the same figures, whatever other
// workstations post meanwhile.
struct ReportData {
    QString id;  // the report's id
    CompanyHeader company;
    QString logoFile;                   // <data folder>/logo.bmp when it exists
    QString periodFrom, periodTo;       // "dd/mm/yyyy" of reports with a period
    QString subjectCode, subjectName;   // the one client or courier of a report
    QList<ReportRow> rows;              // detail rows
    QList<ReportGroup> groups;          // master/detail reports
    QMap<QString, QString> totals;      // computed totals, already formatted
    std::shared_ptr<RowSource> source;  // streamed detail rows, instead of `rows`
    ReportRow record;                   // the documents: the record printed, by field name
    bool twoCopies = false;             // "2 Vias ou Formulario Comum"

    // Every detail row, from the source or from `rows`; the writers call it
    // once per output.
    void forEachRow(const std::function<void(const ReportRow&)>& visit) const;
    // A total, also one the source computed while its rows were read;
    // throws NoticeError for a name the report does not provide.
    QString total(const QString& name) const;
    // Reads a streamed source into `rows` and its totals into `totals`: a
    // preview paints its pages more than once and must show the same
    // figures every time.
    void readSource();
};

}  // namespace quelvarino
