#include "import/paradoxfile.h"

#include "core/errors.h"

extern "C" {  // the library's header declares no C linkage
#include <paradox.h>
}
#include <QFileInfo>
#include <cstring>

namespace quelvarino {

namespace {

// Days of Paradox dates count from 1 January of the year 1; pxlib's
// calendar functions count serial day numbers from 4714 BC.
constexpr long kSdnOfDayZero = 1721425;

// pxlib reports through this handler instead of printing; the last
// message is kept for the operator's report.
void keepError(pxdoc_t*, int, const char* message, void* data) {
    auto* last = static_cast<QString*>(data);
    if (last && message)
        *last = QString::fromLocal8Bit(message).trimmed();
}

bool allZero(const char* p, int n) {
    for (int i = 0; i < n; ++i)
        if (p[i] != 0)
            return false;
    return true;
}

}  // namespace

struct ParadoxFile::Doc {
    pxdoc_t* px = nullptr;
    QString lastError;
    bool opened = false;
    ~Doc() {
        if (px) {
            if (opened)
                PX_close(px);
            PX_delete(px);
        }
    }
};

ParadoxFile::ParadoxFile(const QString& file, const QString& memoFile)
    : doc_(std::make_unique<Doc>()), file_(file) {
    const QFileInfo info(file);
    if (!info.isFile() || !info.isReadable())
        throw Error(QStringLiteral("O arquivo %1 não existe ou não pode ser lido.").arg(file));
    doc_->px = PX_new3(keepError, nullptr, nullptr, nullptr, &doc_->lastError);
    if (!doc_->px)
        throw Error(QStringLiteral("Sem memória para ler o arquivo %1.").arg(file));
    if (PX_open_file(doc_->px, QFile::encodeName(file).constData()) < 0)
        throw Error(QStringLiteral("O arquivo %1 não é uma tabela Paradox legível (%2).")
                        .arg(file, doc_->lastError.isEmpty() ? QStringLiteral("cabeçalho inválido")
                                                             : doc_->lastError));
    doc_->opened = true;
    const pxhead_t* head = doc_->px->px_head;
    if (!head || head->px_numfields <= 0 || head->px_recordsize <= 0 || head->px_maxtablesize <= 0)
        throw Error(QStringLiteral("O cabeçalho do arquivo %1 está danificado.").arg(file));
    // pxlib reads a file cut inside its data blocks without any error (the
    // records past the cut come back blank): the file must hold every block
    // its header counts.
    const qint64 blockSize = qint64(head->px_maxtablesize) * 0x400;
    const qint64 needed = qint64(head->px_headersize) + qint64(head->px_fileblocks) * blockSize;
    if (info.size() < needed)
        throw Error(QStringLiteral("O arquivo %1 está incompleto: tem %2 bytes e o seu cabeçalho "
                                   "indica %3 (arquivo cortado ou danificado).")
                        .arg(file)
                        .arg(info.size())
                        .arg(needed));
    const qint64 capacity = qint64(head->px_fileblocks) * blockSize / head->px_recordsize;
    if (head->px_numrecords < 0 || head->px_numrecords > capacity)
        throw Error(QStringLiteral("O cabeçalho do arquivo %1 indica %2 registros, mais do que "
                                   "os seus blocos podem conter.")
                        .arg(file)
                        .arg(head->px_numrecords));
    records_ = head->px_numrecords;
    recordSize_ = head->px_recordsize;
    int offset = 0;
    for (int i = 0; i < head->px_numfields; ++i) {
        const pxfield_t* f = PX_get_field(doc_->px, i);
        if (!f)
            throw Error(QStringLiteral("O cabeçalho do arquivo %1 está danificado.").arg(file));
        ParadoxField field;
        field.name = QString::fromLatin1(f->px_fname ? f->px_fname : "");
        field.type = static_cast<unsigned char>(f->px_ftype);
        field.length = f->px_flen;
        fields_.append(field);
        offsets_.append(offset);
        offset += f->px_flen;
    }
    if (offset > recordSize_)
        throw Error(QStringLiteral("O cabeçalho do arquivo %1 está danificado.").arg(file));
    if (!memoFile.isEmpty() && QFileInfo(memoFile).isFile()) {
        memoFile_.setFileName(memoFile);
        if (!memoFile_.open(QIODevice::ReadOnly))
            throw Error(QStringLiteral("O arquivo %1 não pode ser lido.").arg(memoFile));
        memoSize_ = memoFile_.size();
        if (memoSize_ > 0) {
            memo_ = memoFile_.map(0, memoSize_);
            if (!memo_)
                throw Error(QStringLiteral("O arquivo %1 não pode ser lido.").arg(memoFile));
        }
    }
    buffer_.resize(recordSize_);
}

ParadoxFile::~ParadoxFile() = default;

QList<ParadoxValue> ParadoxFile::record(int n) {
    pxdoc_t* px = doc_->px;
    doc_->lastError.clear();
    char* data = buffer_.data();
    std::memset(data, 0, recordSize_);
    if (!PX_get_record(px, n, data))
        throw Error(QStringLiteral("O registro %1 não pôde ser lido (%2).")
                        .arg(n + 1)
                        .arg(doc_->lastError.isEmpty() ? QStringLiteral("bloco danificado")
                                                       : doc_->lastError));
    QList<ParadoxValue> values;
    values.reserve(fields_.size());
    for (int i = 0; i < fields_.size(); ++i) {
        const ParadoxField& f = fields_[i];
        char* p = data + offsets_[i];
        ParadoxValue v;
        // An empty field is all zero bytes; pxlib would read an empty date
        // or long as a filled-in -2147483648.
        const bool empty = allZero(p, f.length);
        switch (f.type) {
            case pxfAlpha: {
                int len = 0;
                while (len < f.length && p[len] != 0)
                    ++len;
                if (len > 0) {
                    v.kind = ParadoxValue::Kind::Bytes;
                    // up to the last byte that is not padding: a scrambled
                    // text may hold a zero byte inside
                    int end = f.length;
                    while (end > 0 && p[end - 1] == 0)
                        --end;
                    v.bytes = QByteArray(p, end);
                }
                break;
            }
            case pxfDate:
            case pxfLong:
            case pxfAutoInc:
            case pxfTime: {
                if (empty)
                    break;
                long value = 0;
                if (PX_get_data_long(px, p, f.length, &value) < 0)
                    break;
                if (f.type == pxfDate) {
                    int y = 0, m = 0, d = 0;
                    PX_SdnToGregorian(value + kSdnOfDayZero, &y, &m, &d);
                    v.date = QDate(y, m, d);
                    v.kind = v.date.isValid() ? ParadoxValue::Kind::Date : ParadoxValue::Kind::Null;
                } else if (f.type == pxfTime) {
                    v.time = QTime::fromMSecsSinceStartOfDay(int(value % 86400000));
                    v.kind = ParadoxValue::Kind::Time;
                } else {
                    v.integer = value;
                    v.kind = ParadoxValue::Kind::Integer;
                }
                break;
            }
            case pxfShort: {
                if (empty)
                    break;
                short value = 0;
                if (PX_get_data_short(px, p, f.length, &value) < 0)
                    break;
                v.integer = value;
                v.kind = ParadoxValue::Kind::Integer;
                break;
            }
            case pxfCurrency:
            case pxfNumber:
            case pxfTimestamp: {
                if (empty)
                    break;
                double value = 0;
                if (PX_get_data_double(px, p, f.length, &value) < 0)
                    break;
                if (f.type == pxfTimestamp) {
                    const qint64 ms = qint64(value);
                    int y = 0, m = 0, d = 0;
                    PX_SdnToGregorian(long(ms / 86400000) + kSdnOfDayZero, &y, &m, &d);
                    v.date = QDate(y, m, d);
                    v.time = QTime::fromMSecsSinceStartOfDay(int(ms % 86400000));
                    v.kind =
                        v.date.isValid() ? ParadoxValue::Kind::DateTime : ParadoxValue::Kind::Null;
                } else {
                    v.number = value;
                    v.kind = ParadoxValue::Kind::Double;
                }
                break;
            }
            case pxfLogical: {
                if (empty)
                    break;
                char value = 0;
                if (PX_get_data_byte(px, p, f.length, &value) < 0)
                    break;
                v.logical = value != 0;
                v.kind = ParadoxValue::Kind::Logical;
                break;
            }
            case pxfMemoBLOb:
            case pxfFmtMemoBLOb:
            case pxfBLOb: {
                if (empty || f.length <= 10)
                    break;
                v.bytes = memo(p, f.length, n, f.name);
                int end = v.bytes.size();
                while (end > 0 && v.bytes[end - 1] == 0)
                    --end;
                v.bytes.truncate(end);
                if (!v.bytes.isEmpty())
                    v.kind = ParadoxValue::Kind::Bytes;
                break;
            }
            case pxfBCD: {
                if (empty)
                    break;
                char* digits = nullptr;
                if (PX_get_data_bcd(px, reinterpret_cast<unsigned char*>(p), f.length, &digits) >
                        0 &&
                    digits) {
                    v.bytes = QByteArray(digits);
                    v.kind = ParadoxValue::Kind::Bytes;
                    px->free(px, digits);
                }
                break;
            }
            case pxfBytes: {
                int end = f.length;
                while (end > 0 && p[end - 1] == 0)
                    --end;
                if (end > 0) {
                    v.bytes = QByteArray(p, end);
                    v.kind = ParadoxValue::Kind::Bytes;
                }
                break;
            }
            default:  // pictures and OLE objects: the program keeps none
                break;
        }
        values.append(v);
    }
    return values;
}

namespace {

quint32 littleEndian32(const uchar* p) {
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

}  // namespace

// A memo field in the record: the first `length` - 10 bytes of the text,
// then where the whole text lies in the memo file (block offset, with the
// index in its low byte), its size and a modification number. A text that
// fits in the record is not in the memo file at all. In the memo file a
// text has a block of its own (index 255: type 2, size, modification,
// then the text) or a place in a block shared by small texts (type 3, a
// table of 64 entries of five bytes at byte 12: offset and size in
// 16-byte units, modification number, bytes used of the last unit).
QByteArray ParadoxFile::memo(const char* field, int length, int record, const QString& name) {
    const auto* tail = reinterpret_cast<const uchar*>(field + length - 10);
    const quint32 place = littleEndian32(tail);
    const quint32 size = littleEndian32(tail + 4);
    const int leader = length - 10;
    if (size == 0)
        return QByteArray();
    if (size <= quint32(leader))
        return QByteArray(field, int(size));
    auto damaged = [&](const QString& what) {
        return Error(QStringLiteral("O memorando do campo %1 no registro %2 não pôde ser lido: "
                                    "%3.")
                         .arg(name)
                         .arg(record + 1)
                         .arg(what));
    };
    if (!memo_)
        throw damaged(QStringLiteral("o arquivo .mb da tabela não existe ou está vazio"));
    const qint64 block = place & 0xFFFFFF00u;
    const int index = int(place & 0xFF);
    if (size > 64 * 1024 * 1024 || block + 9 > memoSize_)
        throw damaged(QStringLiteral("o arquivo .mb está danificado ou incompleto"));
    const uchar* b = memo_ + block;
    qint64 start = 0;
    if (index == 0xFF) {
        if (b[0] != 2 || littleEndian32(b + 3) != size)
            throw damaged(QStringLiteral("o arquivo .mb está danificado"));
        start = block + 9;
    } else {
        if (b[0] != 3 || index >= 64 || block + 12 + 64 * 5 > memoSize_)
            throw damaged(QStringLiteral("o arquivo .mb está danificado"));
        const uchar* entry = b + 12 + index * 5;
        const quint32 units = entry[1], last = entry[4];
        if (units == 0 || last == 0 || last > 16 || (units - 1) * 16 + last != size ||
            qint64(entry[0]) * 16 + size > 4096)
            throw damaged(QStringLiteral("o arquivo .mb está danificado"));
        start = block + qint64(entry[0]) * 16;
    }
    if (start + size > memoSize_)
        throw damaged(QStringLiteral("o arquivo .mb está incompleto"));
    return QByteArray(reinterpret_cast<const char*>(memo_ + start), int(size));
}

QString ParadoxFile::typeName(int type) {
    switch (type) {
        case pxfAlpha:
            return QStringLiteral("alfanumérico");
        case pxfDate:
            return QStringLiteral("data");
        case pxfShort:
            return QStringLiteral("inteiro curto");
        case pxfLong:
            return QStringLiteral("inteiro longo");
        case pxfCurrency:
            return QStringLiteral("moeda");
        case pxfNumber:
            return QStringLiteral("número");
        case pxfLogical:
            return QStringLiteral("lógico");
        case pxfMemoBLOb:
            return QStringLiteral("memorando");
        case pxfFmtMemoBLOb:
            return QStringLiteral("memorando formatado");
        case pxfBLOb:
            return QStringLiteral("binário");
        case pxfOLE:
            return QStringLiteral("OLE");
        case pxfGraphic:
            return QStringLiteral("imagem");
        case pxfTime:
            return QStringLiteral("hora");
        case pxfTimestamp:
            return QStringLiteral("data e hora");
        case pxfAutoInc:
            return QStringLiteral("autoincremento");
        case pxfBCD:
            return QStringLiteral("BCD");
        case pxfBytes:
            return QStringLiteral("bytes");
    }
    return QStringLiteral("tipo %1").arg(type);
}

QString fromWindows1252(const QByteArray& bytes) {
    // 0x80..0x9F, where Windows-1252 differs from Latin-1 (0 = undefined,
    // kept as the Latin-1 control character)
    static const char16_t high[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    QString out(bytes.size(), Qt::Uninitialized);
    for (int i = 0; i < bytes.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        const char16_t u = c >= 0x80 && c <= 0x9F && high[c - 0x80] ? high[c - 0x80] : c;
        out[i] = QChar(u);
    }
    return out;
}

}  // namespace quelvarino
