#include "import/paradoxfile.h"

#include "core/errors.h"

extern "C" {  // the library's header declares no C linkage
#include <paradox.h>
}
#include <QFileInfo>
#include <QStringDecoder>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

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

namespace {

quint16 word(const uchar* p) {
    return quint16(p[0] | p[1] << 8);
}

quint32 longWord(const uchar* p) {
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

// Whether a field of this type can have this length in a Paradox table.
bool lengthFits(int type, int length) {
    switch (type) {
        case pxfAlpha:
        case pxfBytes:
            return length >= 1 && length <= 255;
        case pxfDate:
        case pxfLong:
        case pxfAutoInc:
        case pxfTime:
            return length == 4;
        case pxfShort:
            return length == 2;
        case pxfCurrency:
        case pxfNumber:
        case pxfTimestamp:
            return length == 8;
        case pxfLogical:
            return length == 1;
        case pxfBCD:
            return length == 17;
        case pxfMemoBLOb:
        case pxfFmtMemoBLOb:
        case pxfBLOb:
        case pxfOLE:
        case pxfGraphic:
            return length >= 11 && length <= 250;
    }
    return false;  // no such type
}

}  // namespace

// The header is checked here, byte by byte, before pxlib reads it: pxlib
// copies a field into a value of its type's size whatever length the
// header gives it, and loops without end decrypting a block whose
// encryption bytes are damaged. The records are then read here from the
// data blocks, following their chain, so that a damaged chain or a header
// that counts more or fewer records than the blocks hold is told, never
// read past or cut short.
void ParadoxFile::checkHeader(const QString& file) {
    auto damaged = [&file](const QString& what) {
        return Error(QStringLiteral("O cabeçalho do arquivo %1 está danificado (%2); a tabela "
                                    "não foi lida.")
                         .arg(file, what));
    };
    if (size_ < 0x58)
        throw Error(QStringLiteral("O arquivo %1 não é uma tabela Paradox legível (arquivo curto "
                                   "demais).")
                        .arg(file));
    const uchar* h = data_;
    const int recordSize = word(h + 0x00);
    const int headerSize = word(h + 0x02);
    const int fileType = h[0x04];
    const int maxTableSize = h[0x05];
    const quint32 numRecords = longWord(h + 0x06);
    const int numFields = word(h + 0x21);
    const int version = h[0x39];
    if (fileType != pxfFileTypIndexDB && fileType != pxfFileTypNonIndexDB)
        throw Error(QStringLiteral("O arquivo %1 não é uma tabela Paradox legível (é um índice "
                                   "ou outro tipo de arquivo).")
                        .arg(file));
    if (version < 3 || version > 12)
        throw damaged(QStringLiteral("versão %1 desconhecida").arg(version));
    const int fieldInfo = version >= 5 ? 0x78 : 0x58;
    if (numFields < 1 || numFields > 255)
        throw damaged(QStringLiteral("%1 campos").arg(numFields));
    if (headerSize < fieldInfo + 2 * numFields || headerSize > size_)
        throw damaged(QStringLiteral("tamanho do cabeçalho %1").arg(headerSize));
    if (!(maxTableSize >= 1 && maxTableSize <= 4) && maxTableSize != 8 && maxTableSize != 16 &&
        maxTableSize != 32)
        throw damaged(QStringLiteral("tamanho de bloco %1").arg(maxTableSize));
    // Tables of version 4 and later say "no password" with 0xFF00FF00 in
    // the first place and keep the key in the second.
    const quint32 encryption1 = longWord(h + 0x25);
    const bool encrypted = (encryption1 != 0 && encryption1 != 0xFF00FF00u) ||
                           (version >= 5 && longWord(h + 0x5C) != 0);
    if (encrypted)
        throw Error(QStringLiteral("A tabela %1 está protegida por senha (criptografada) ou com "
                                   "o cabeçalho danificado; ela não pode ser lida. Retire a senha "
                                   "no programa antigo, ou use uma cópia de segurança da tabela.")
                        .arg(file));
    int sum = 0;
    for (int i = 0; i < numFields; ++i) {
        const int type = h[fieldInfo + 2 * i];
        const int length = h[fieldInfo + 2 * i + 1];
        if (!lengthFits(type, length))
            throw damaged(QStringLiteral("o campo %1 é do tipo %2 com %3 bytes")
                              .arg(i + 1)
                              .arg(typeName(type))
                              .arg(length));
        sum += length;
    }
    if (recordSize != sum)
        throw damaged(QStringLiteral("registros de %1 bytes com campos que somam %2")
                          .arg(recordSize)
                          .arg(sum));
    // The header holds, after the field types, the pointers to the names,
    // the table's name (79 bytes, 261 from Paradox 7 on) and the fields'
    // names: a size that cannot hold them is damaged, and the data blocks
    // would be read from the wrong place.
    qint64 at = fieldInfo + 6 * qint64(numFields) + 4 + (version >= 12 ? 261 : 79);
    for (int i = 0; i < numFields; ++i) {
        while (at < headerSize && h[at] != 0)
            ++at;
        if (at >= headerSize)
            throw damaged(QStringLiteral("tamanho do cabeçalho %1, menor que os nomes dos campos")
                              .arg(headerSize));
        ++at;
    }
    // After the header the file is whole data blocks (a file cut inside
    // them is told by the walk of the blocks).
    const qint64 blockSize = qint64(maxTableSize) * 0x400;
    const qint64 counted = headerSize + qint64(word(h + 0x0C)) * blockSize;
    if (size_ >= counted && (size_ - headerSize) % blockSize != 0)
        throw damaged(QStringLiteral("tamanho do cabeçalho %1 com blocos de %2 bytes")
                          .arg(headerSize)
                          .arg(blockSize));
    if (numRecords > quint32(std::numeric_limits<int>::max()))
        throw damaged(QStringLiteral("%1 registros").arg(numRecords));
}

void ParadoxFile::walkBlocks(const QString& file) {
    const uchar* h = data_;
    const qint64 blockSize = qint64(h[0x05]) * 0x400;
    const qint64 headerSize = word(h + 0x02);
    const qint64 fileBlocks = word(h + 0x0C);
    const qint64 firstBlock = word(h + 0x0E);
    const qint64 lastBlock = word(h + 0x10);
    const qint64 numRecords = longWord(h + 0x06);
    recordSize_ = word(h + 0x00);
    // pxlib reads a file cut inside its data blocks without any error (the
    // records past the cut come back blank): the file must hold every block
    // its header counts.
    const qint64 needed = headerSize + fileBlocks * blockSize;
    if (size_ < needed)
        throw Error(QStringLiteral("O arquivo %1 está incompleto: tem %2 bytes e o seu cabeçalho "
                                   "indica %3 (arquivo cortado ou danificado).")
                        .arg(file)
                        .arg(size_)
                        .arg(needed));
    auto damaged = [&file](const QString& what) {
        return Error(QStringLiteral("Os blocos de dados do arquivo %1 estão danificados (%2); a "
                                    "tabela não foi lida.")
                         .arg(file, what));
    };
    const qint64 perBlock = (blockSize - 6) / recordSize_;
    QVector<bool> seen(int(fileBlocks) + 1, false);
    qint64 total = 0;
    qint64 previous = 0;
    qint64 block = fileBlocks == 0 ? 0 : firstBlock;
    if (fileBlocks > 0 && block == 0)
        throw damaged(QStringLiteral("o primeiro bloco é 0"));
    while (block != 0) {
        if (block > fileBlocks)
            throw damaged(QStringLiteral("o bloco %1 não existe").arg(block));
        if (seen[int(block)])
            throw damaged(QStringLiteral("o bloco %1 aparece duas vezes na sequência").arg(block));
        seen[int(block)] = true;
        const qint64 at = headerSize + (block - 1) * blockSize;
        const uchar* b = data_ + at;
        if (word(b + 2) != previous)
            throw damaged(QStringLiteral("o bloco %1 não aponta para o anterior").arg(block));
        const int lastOffset = qint16(word(b + 4));
        qint64 count = 0;
        if (lastOffset >= 0) {
            if (lastOffset % recordSize_ != 0 || lastOffset / recordSize_ + 1 > perBlock)
                throw damaged(QStringLiteral("contagem de registros do bloco %1").arg(block));
            count = lastOffset / recordSize_ + 1;
        } else if (lastOffset != -recordSize_) {  // an emptied block
            throw damaged(QStringLiteral("contagem de registros do bloco %1").arg(block));
        }
        if (count > 0)
            blocks_.append({at + 6, total});
        total += count;
        if (total > std::numeric_limits<int>::max())
            throw damaged(QStringLiteral("registros demais"));
        previous = block;
        block = word(b);
    }
    if (fileBlocks > 0 && previous != lastBlock)
        throw damaged(QStringLiteral("o último bloco não é o %1").arg(lastBlock));
    records_ = int(total);
    if (total != numRecords)
        throw Error(QStringLiteral("O cabeçalho do arquivo %1 indica %2 registros e os seus "
                                   "blocos de dados têm %3: o arquivo está danificado e a tabela "
                                   "não foi lida.")
                        .arg(file)
                        .arg(numRecords)
                        .arg(total));
}

ParadoxFile::ParadoxFile(const QString& file, const QString& memoFile)
    : doc_(std::make_unique<Doc>()), file_(file) {
    const QFileInfo info(file);
    if (!info.isFile() || !info.isReadable())
        throw Error(QStringLiteral("O arquivo %1 não existe ou não pode ser lido.").arg(file));
    dbFile_.setFileName(file);
    if (!dbFile_.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("O arquivo %1 não pode ser lido.").arg(file));
    size_ = dbFile_.size();
    if (size_ > 0)
        data_ = dbFile_.map(0, size_);
    if (size_ > 0 && !data_)
        throw Error(QStringLiteral("O arquivo %1 não pode ser lido.").arg(file));
    checkHeader(file);
    // before pxlib, which follows the chain of blocks without end when it
    // loops
    walkBlocks(file);
    doc_->px = PX_new3(keepError, nullptr, nullptr, nullptr, &doc_->lastError);
    if (!doc_->px)
        throw Error(QStringLiteral("Sem memória para ler o arquivo %1.").arg(file));
    if (PX_open_file(doc_->px, QFile::encodeName(file).constData()) < 0)
        throw Error(QStringLiteral("O arquivo %1 não é uma tabela Paradox legível (%2).")
                        .arg(file, doc_->lastError.isEmpty() ? QStringLiteral("cabeçalho inválido")
                                                             : doc_->lastError));
    doc_->opened = true;
    const pxhead_t* head = doc_->px->px_head;
    if (!head || head->px_numfields != word(data_ + 0x21) || head->px_recordsize != word(data_) ||
        head->px_encryption != 0 || head->px_numrecords != records_)
        throw Error(QStringLiteral("O cabeçalho do arquivo %1 está danificado.").arg(file));
    const int fieldInfo = data_[0x39] >= 5 ? 0x78 : 0x58;
    int offset = 0;
    for (int i = 0; i < head->px_numfields; ++i) {
        const pxfield_t* f = PX_get_field(doc_->px, i);
        // pxlib's reading of the fields must agree with the bytes checked
        if (!f || static_cast<unsigned char>(f->px_ftype) != data_[fieldInfo + 2 * i] ||
            f->px_flen != data_[fieldInfo + 2 * i + 1])
            throw Error(QStringLiteral("O cabeçalho do arquivo %1 está danificado.").arg(file));
        ParadoxField field;
        field.name = QString::fromLatin1(f->px_fname ? f->px_fname : "");
        field.type = static_cast<unsigned char>(f->px_ftype);
        field.length = f->px_flen;
        fields_.append(field);
        offsets_.append(offset);
        offset += f->px_flen;
    }
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

Error ParadoxFile::damaged(int n, const QString& field, const QString& what) const {
    return Error(QStringLiteral("O registro %1 do arquivo %2 está danificado: o campo %3 %4; "
                                "a tabela não foi lida.")
                     .arg(n + 1)
                     .arg(file_, field, what));
}

QList<ParadoxValue> ParadoxFile::record(int n) {
    if (n < 0 || n >= records_)
        throw Error(
            QStringLiteral("O registro %1 não existe no arquivo %2.").arg(n + 1).arg(file_));
    // the block holding record n: the last one starting at or before it
    auto it = std::upper_bound(blocks_.cbegin(), blocks_.cend(), qint64(n),
                               [](qint64 record, const Block& b) { return record < b.first; });
    --it;
    char* data = buffer_.data();
    std::memcpy(data, data_ + it->at + (n - it->first) * recordSize_, recordSize_);
    QList<ParadoxValue> values;
    values.reserve(fields_.size());
    for (int i = 0; i < fields_.size(); ++i)
        values.append(fieldValue(n, fields_[i], data + offsets_[i]));
    return values;
}

namespace {

// Bytes up to the last one that is not padding: a scrambled text may hold
// a zero byte inside.
void keepUnpadded(ParadoxValue& v, const char* p, int length) {
    int end = length;
    while (end > 0 && p[end - 1] == 0)
        --end;
    if (end > 0) {
        v.kind = ParadoxValue::Kind::Bytes;
        v.bytes = QByteArray(p, end);
    }
}

}  // namespace

// Dates, times and integers of four bytes.
ParadoxValue ParadoxFile::longValue(int n, const ParadoxField& f, char* p) const {
    ParadoxValue v;
    long value = 0;
    if (PX_get_data_long(doc_->px, p, f.length, &value) < 0)
        return v;
    if (f.type == pxfDate) {
        // days from 1 January of the year 1 to 31 December 9999
        if (value < 1 || value > 3652059)
            throw damaged(n, f.name, QStringLiteral("não tem uma data válida"));
        int y = 0, m = 0, d = 0;
        PX_SdnToGregorian(value + kSdnOfDayZero, &y, &m, &d);
        v.date = QDate(y, m, d);
        if (!v.date.isValid())
            throw damaged(n, f.name, QStringLiteral("não tem uma data válida"));
        v.kind = ParadoxValue::Kind::Date;
    } else if (f.type == pxfTime) {
        if (value < 0 || value >= 86400000)
            throw damaged(n, f.name, QStringLiteral("não tem uma hora válida"));
        v.time = QTime::fromMSecsSinceStartOfDay(int(value));
        v.kind = ParadoxValue::Kind::Time;
    } else {
        v.integer = value;
        v.kind = ParadoxValue::Kind::Integer;
    }
    return v;
}

// Money, numbers and timestamps: eight-byte doubles.
ParadoxValue ParadoxFile::doubleValue(int n, const ParadoxField& f, char* p) const {
    ParadoxValue v;
    double value = 0;
    if (PX_get_data_double(doc_->px, p, f.length, &value) < 0)
        return v;
    if (!std::isfinite(value))
        throw damaged(n, f.name, QStringLiteral("não tem um número válido"));
    if (f.type != pxfTimestamp) {
        v.number = value;
        v.kind = ParadoxValue::Kind::Double;
        return v;
    }
    // milliseconds from 1 January of the year 1
    if (value < 86400000.0 || value >= 3652060.0 * 86400000.0)
        throw damaged(n, f.name, QStringLiteral("não tem uma data e hora válidas"));
    const qint64 ms = qint64(value);
    int y = 0, m = 0, d = 0;
    PX_SdnToGregorian(long(ms / 86400000) + kSdnOfDayZero, &y, &m, &d);
    v.date = QDate(y, m, d);
    v.time = QTime::fromMSecsSinceStartOfDay(int(ms % 86400000));
    if (!v.date.isValid())
        throw damaged(n, f.name, QStringLiteral("não tem uma data e hora válidas"));
    v.kind = ParadoxValue::Kind::DateTime;
    return v;
}

ParadoxValue ParadoxFile::fieldValue(int n, const ParadoxField& f, char* p) {
    pxdoc_t* px = doc_->px;
    ParadoxValue v;
    // An empty field is all zero bytes; pxlib would read an empty date or
    // long as a filled-in -2147483648.
    const bool empty = allZero(p, f.length);
    switch (f.type) {
        case pxfAlpha:
        case pxfBytes:
            keepUnpadded(v, p, f.length);
            break;
        case pxfDate:
        case pxfLong:
        case pxfAutoInc:
        case pxfTime:
            if (!empty)
                v = longValue(n, f, p);
            break;
        case pxfShort: {
            short value = 0;
            if (!empty && PX_get_data_short(px, p, f.length, &value) >= 0) {
                v.integer = value;
                v.kind = ParadoxValue::Kind::Integer;
            }
            break;
        }
        case pxfCurrency:
        case pxfNumber:
        case pxfTimestamp:
            if (!empty)
                v = doubleValue(n, f, p);
            break;
        case pxfLogical: {
            if (empty)
                break;
            // stored as 0x80 (false) or 0x81 (true)
            const auto byte = static_cast<unsigned char>(p[0]);
            if (byte != 0x80 && byte != 0x81)
                throw damaged(n, f.name, QStringLiteral("não tem um valor lógico válido"));
            v.logical = byte == 0x81;
            v.kind = ParadoxValue::Kind::Logical;
            break;
        }
        case pxfMemoBLOb:
        case pxfFmtMemoBLOb:
        case pxfBLOb: {
            if (empty || f.length <= 10)
                break;
            const QByteArray bytes = memo(p, f.length, n, f.name);
            keepUnpadded(v, bytes.constData(), int(bytes.size()));
            break;
        }
        case pxfBCD: {
            char* digits = nullptr;
            if (!empty &&
                PX_get_data_bcd(px, reinterpret_cast<unsigned char*>(p), f.length, &digits) > 0 &&
                digits) {
                v.bytes = QByteArray(digits);
                v.kind = ParadoxValue::Kind::Bytes;
                px->free(px, digits);
            }
            break;
        }
        default:  // pictures and OLE objects: the program keeps none
            break;
    }
    return v;
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
    auto damaged = [&](const QString& what) {
        return Error(QStringLiteral("O memorando do campo %1 no registro %2 não pôde ser lido: "
                                    "%3.")
                         .arg(name)
                         .arg(record + 1)
                         .arg(what));
    };
    // The record holds the first bytes of the text, and nothing past its
    // end: anything else is not a memo (a damaged header retyped a text
    // field) or a damaged one.
    if (size <= quint32(leader)) {
        if (!allZero(field + size, leader - int(size)))
            throw damaged(QStringLiteral("o campo do registro está danificado"));
        return QByteArray(field, int(size));
    }
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
    const QByteArray text(reinterpret_cast<const char*>(memo_ + start), int(size));
    if (std::memcmp(text.constData(), field, leader) != 0)
        throw damaged(QStringLiteral("o texto no arquivo .mb não é o do registro"));
    return text;
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
    // ICU's table, as Qt links it here: the five bytes Windows-1252 leaves
    // undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) come out as the Latin-1
    // control characters, so no byte of an old record is lost. The
    // converter keeps no state between calls for a single-byte code page.
    thread_local QStringDecoder decoder("windows-1252");
    if (!decoder.isValid())
        throw Error(QStringLiteral(
            "Esta instalação do Qt não converte textos Windows-1252 (falta o ICU)."));
    return decoder.decode(bytes);
}

}  // namespace quelvarino
