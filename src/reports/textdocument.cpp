#include "reports/textdocument.h"

#include <cstring>

#include "core/money.h"

namespace quelvarino {

QString padRight(const QString& text, int width) {
    return text.size() >= width ? text : text + QString(width - text.size(), QLatin1Char(' '));
}

QString padLeft(const QString& text, int width) {
    return text.size() >= width ? text : QString(width - text.size(), QLatin1Char(' ')) + text;
}

QString printedMoney(const QString& text) {
    return text.trimmed().isEmpty() ? QStringLiteral("0,00") : formatMoney(parseMoney(text));
}

void TextDocument::append(const char* data, qsizetype n) {
    std::memcpy(bytes_.data() + size_, data, size_t(n));
    size_ += n;
}

void TextDocument::line(const QByteArray& codes, const QString& text) {
    // A long report grows its buffer by doubling, not line by line.
    const qsizetype needed = size_ + codes.size() + text.size() + 2;
    if (needed > bytes_.size())
        bytes_.resize(qMax(needed, qMax<qsizetype>(4096, 2 * bytes_.size())));
    append(codes.constData(), codes.size());
    // Single-byte text: accented letters of the data in Latin-1, anything
    // Latin-1 cannot hold as "?".
    char* out = bytes_.data() + size_;
    for (const QChar c : text)
        *out++ = c.unicode() < 256 ? char(c.unicode()) : '?';
    size_ += text.size();
    append("\r\n", 2);
    ++lines_;
}

void TextDocument::emphasised(const QString& text) {
    line(esc::condensed + esc::boldOn + esc::wideOn,
         text + QString::fromLatin1(esc::wideOff + esc::boldOff));
}

void TextDocument::header(const CompanyHeader& c, const QString& title) {
    line(esc::pitch12);
    emphasised(c.nomeFan);
    condensed("Endereco: " + padRight(c.endereco1, 50) + " - Bairro: " + padRight(c.bairro1, 30) +
              " - Cidade: " + padRight(c.cidade1, 30) + " - Estado: " + c.uf1);
    condensed("CEP: " + padRight(c.cep1, 9) + " - Telefone: (" + padRight(c.ddd1, 2) + ") " +
              padRight(c.telefone1, 10) + " / " + c.telefone2);
    condensed("Site: " + padRight(c.site, 40) + " - e-mail: " + c.email);
    condensed(QString());
    emphasised(title);
}

void RowPageRule::afterRow(TextDocument& doc, bool& headingsWritten) {
    if (firstPageRows_ < f_) {
        ++firstPageRows_;
        return;
    }
    if (pageRows_ == p_) {
        headingsWritten = false;
        pageRows_ = 1;
        doc.pageFeed();
    } else if (pageRows_ == 1) {
        doc.pageFeed();
    }
    ++pageRows_;
}

void RowPageRule::beforeTotal(TextDocument& doc) {
    if (pageRows_ == p_) {
        doc.pageFeed();
        pageRows_ = 1;
    } else {
        ++pageRows_;
    }
}

}  // namespace quelvarino
