#pragma once

#include "data/backend.h"
#include "data/schema.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <functional>
#include <memory>

namespace quelvarino {

class Database;
class Table;

// One field of a table's current record, addressed by name in any case.
class Field {
public:
    Field(Table* table, int index) : table_(table), index_(index) {}
    QString name() const;
    QString asString() const;               // empty text for an empty field
    void setAsString(const QString& text);  // converts; throws ConversionError
    double asFloat() const;                 // 0 for an empty field
    bool isNull() const;
    void clear();

private:
    Table* table_;
    int index_;
};

// A table object: a cursor over one table of a database in the order of an
// index. Positioning walks the index with keyset queries and keeps only a
// small window of rows; no statement stays open between two calls.
class Table : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Insert, Edit };

    struct Bookmark {
        qint64 rowId = 0;
        bool valid = false;
    };

    // A table of the data folder's main database.
    explicit Table(const QString& tableName, QObject* parent = nullptr);
    // A table kept in a database file of its own (the report work tables).
    Table(const QString& tableName,
          const QString& databaseFile,
          const TableDef& def,
          QObject* parent = nullptr);
    ~Table() override;

    QString tableName() const { return tableName_; }

    // Order: by an index name ("RAZAOSOCIAL") or a field list ("Pagamento;Data").
    // An empty text orders by the primary key.
    void setIndexName(const QString& name);
    void setIndexFieldNames(const QString& fields);
    QStringList orderFields() const { return order_; }

    void open();   // positions on the first record
    void close();  // abandons an unposted insert or edit and its lock
    bool isOpen() const { return state_ != State::Inactive; }
    State state() const { return state_; }

    void first();
    void last();
    void next();
    void prior();
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    bool isEmpty() const { return pos_ < 0; }
    int recordCount() const;
    // Row number (0-based) of the current record in the current order.
    // Given the table's record count, a record near the end (the newest
    // orders) is numbered from the end, reading only the few rows after it.
    int recordIndex(int knownCount = -1) const;
    // Moves to the row with that number in the current order (clamped).
    void moveToIndex(int index);

    bool findKey(const QStringList& values);
    bool findKey(const QString& value) { return findKey(QStringList{value}); }
    void findNearest(const QStringList& values);
    // Opens the table in the order of `fields` and positions on the record
    // whose key is exactly `value`: false when there is none (a nearest
    // record with another key is never taken for it).
    bool findExact(const QString& fields, const QString& value);
    void findNearest(const QString& value) { findNearest(QStringList{value}); }

    // Texts of `fields` for the rows [offset, offset + count) of the current
    // order, for grids; the cursor does not move. Given the table's record
    // count, rows in the second half are read from the end.
    QVector<QStringList> rowTexts(int offset,
                                  int count,
                                  const QStringList& fields,
                                  int knownCount = -1) const;

    Bookmark bookmark() const;
    void gotoBookmark(const Bookmark& bookmark);

    void insert();
    void append() { insert(); }
    void edit();  // locks the record; throws RecordLockedError when held elsewhere
    void post();  // durable when it returns; emits afterPost
    // Test seam: called at the start of every post with the table's name
    // (another workstation's post at the worst moment).
    static std::function<void(const QString& table)>& beforePostHook();
    // Test seam: called once the store took a post's statement; true makes
    // the post go on as if the connection had broken before the answer came.
    static std::function<bool(const QString& table)>& lostAnswerHook();
    void cancel();
    void remove();  // deletes the current record
    void refresh();
    bool saveChanges();   // posted changes are already on disk: verifies nothing is pending
    void flushBuffers();  // posts a pending insert or edit

    Field fieldByName(const QString& name);
    int fieldCount() const;
    QString fieldName(int index) const;

signals:
    void afterPost();
    void afterDelete();

private:
    friend class Field;
    struct Row {
        qint64 rowId = 0;
        QVector<QVariant> values;
    };

    void requireOpen() const;
    void checkBrowseMode();
    void applyOrder();
    QString selectList() const;
    QStringList orderColumns() const;
    QString orderBy(bool descending) const;
    QVector<Row> fetch(const QString& where,
                       const QVariantList& binds,
                       bool descending,
                       int limit,
                       int offset = 0) const;
    QVector<Row> fetchOnce(const QString& where,
                           const QVariantList& binds,
                           bool descending,
                           int limit,
                           int offset) const;
    int countOnce() const;
    int indexOnce(int knownCount) const;
    QString afterCondition(const Row& row, QVariantList* binds) const;
    QString beforeCondition(const Row& row, QVariantList* binds) const;
    QVariantList keyValues(const Row& row) const;
    bool readRow(qint64 rowId, Row* row) const;
    void setWindow(QVector<Row> rows);
    QVariant keyArgument(const QString& field, const QString& text) const;
    const Row* currentRow() const;
    QVariant value(int index) const;
    void setValue(int index, const QVariant& value);
    [[noreturn]] void storeFailure(const QString& what, const QString& detail) const;
    bool findPosted(Row* found) const;  // the pending insert or edit, as stored
    void finishPost(Row stored);
    void postOnce();
    // A post whose answer was lost, found stored and finished: true.
    bool confirmUnconfirmed();
    // The INSERT or UPDATE of the pending post (empty: nothing to write),
    // its values appended to `binds`.
    QString postStatement(QVariantList& binds) const;
    enum class PostOutcome {
        Returned,  // the row as stored came back with the statement (`stored`)
        ReadBack,  // written: read row `rowId` back
        Confirmed  // the answer was lost and the post is settled already
    };
    PostOutcome runPost(const QString& sql, const QVariantList& binds, Row* stored, qint64* rowId);
    void takeCounters();
    void answerLost(const QString& engineText);

    QString tableName_;
    QString databaseFile_;  // empty: the main database
    const TableDef* def_ = nullptr;
    std::unique_ptr<TableDef> ownDef_;
    std::shared_ptr<Database> db_;
    QString indexName_;
    QString indexFields_;
    QStringList order_;

    State state_ = State::Inactive;
    QVector<Row> window_;
    int pos_ = -1;
    bool eof_ = true;
    bool bof_ = true;
    Row buffer_;
    QVector<bool> modified_;
    std::unique_ptr<RecordLock> lock_;
    bool postSent_ = false;     // the post under way reached the server
    bool unconfirmed_ = false;  // the last post's answer was lost: look before writing
};

}  // namespace quelvarino
