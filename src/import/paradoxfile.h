#pragma once

#include <QByteArray>
#include <QDate>
#include <QFile>
#include <QList>
#include <QString>
#include <QTime>
#include <QVector>
#include <memory>

namespace quelvarino {

class Error;

// One value of a record of a Paradox table, as the file holds it; text and
// memos keep their bytes (the old program's single-byte code page).
struct ParadoxValue {
    enum class Kind { Null, Bytes, Integer, Double, Date, Time, DateTime, Logical };
    Kind kind = Kind::Null;
    QByteArray bytes;  // Bytes: text, memo, BCD digits or raw bytes
    qint64 integer = 0;
    double number = 0;
    QDate date;
    QTime time;
    bool logical = false;
    bool isNull() const { return kind == Kind::Null; }
};

struct ParadoxField {
    QString name;  // as the file spells it
    int type = 0;  // pxlib's pxf... type code
    int length = 0;
};

// A Paradox table file (.db), its header read with pxlib, its records from
// its data blocks and its memo file (.mb) when there is one (read here:
// pxlib 0.6.8 overruns its stack opening any memo file). A file whose
// header, block chain or record count does not hold together, an
// encrypted one, or one pxlib cannot open, is refused when opened (Error,
// Portuguese); a record with a value its field cannot hold, when read.
class ParadoxFile {
public:
    explicit ParadoxFile(const QString& file, const QString& memoFile = QString());
    ~ParadoxFile();
    ParadoxFile(const ParadoxFile&) = delete;
    ParadoxFile& operator=(const ParadoxFile&) = delete;

    const QList<ParadoxField>& fields() const { return fields_; }
    int recordCount() const { return records_; }
    // The values of record `n` (0-based), in field order; throws ImportError
    // when the record cannot be read.
    QList<ParadoxValue> record(int n);

    static QString typeName(int type);

private:
    void checkHeader(const QString& file);
    void walkBlocks(const QString& file);
    QByteArray memo(const char* field, int length, int record, const QString& name);
    // The value of field `f` of record `n`, its bytes at `p`.
    ParadoxValue fieldValue(int n, const ParadoxField& f, char* p);
    ParadoxValue longValue(int n, const ParadoxField& f, char* p) const;
    ParadoxValue doubleValue(int n, const ParadoxField& f, char* p) const;
    Error damaged(int n, const QString& field, const QString& what) const;

    struct Doc;
    std::unique_ptr<Doc> doc_;
    QString file_;
    QList<ParadoxField> fields_;
    QList<int> offsets_;
    int records_ = 0;
    int recordSize_ = 0;
    QByteArray buffer_;
    QFile dbFile_;
    const uchar* data_ = nullptr;  // the table file, mapped
    qint64 size_ = 0;
    struct Block {
        qint64 at;     // where its first record starts in the file
        qint64 first;  // the number of its first record
    };
    QVector<Block> blocks_;  // the data blocks holding records, in order
    QFile memoFile_;
    const uchar* memo_ = nullptr;  // the memo file, mapped
    qint64 memoSize_ = 0;
};

// Single-byte text of the old program (Windows-1252, a superset of Latin-1
// for every printable byte) into Unicode.
QString fromWindows1252(const QByteArray& bytes);

}  // namespace quelvarino
