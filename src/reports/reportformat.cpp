#include "core/errors.h"
#include "core/money.h"
#include "reports/reportdata.h"
#include "reports/reportlayout.h"

#include <QRegularExpression>
#include <cmath>

namespace quelvarino {
namespace {

// "1234,50" → "1.234,50"
QString withThousands(const QString& money) {
    const bool negative = money.startsWith(QLatin1Char('-'));
    QString integer = money.section(QLatin1Char(','), 0, 0);
    if (negative)
        integer.remove(0, 1);
    const QString decimals = money.section(QLatin1Char(','), 1);
    for (int i = integer.size() - 3; i > 0; i -= 3)
        integer.insert(i, QLatin1Char('.'));
    return (negative ? QStringLiteral("-") : QString()) + integer + QLatin1Char(',') + decimals;
}

}  // namespace

QString formatValue(Format format, const QString& text) {
    switch (format) {
        case Format::Text:
        case Format::Hours:
        case Format::Date:
            return text;
        case Format::Money:
            return text.trimmed().isEmpty() ? QStringLiteral("0,00")
                                            : formatMoney(parseMoney(text));
        case Format::MoneyThousands:
            return withThousands(formatValue(Format::Money, text));
        case Format::Currency:
            return QStringLiteral("R$ ") + formatValue(Format::MoneyThousands, text);
        case Format::Integer: {
            if (text.trimmed().isEmpty())
                return QStringLiteral("0");
            const double v = parseMoney(text);
            return QString::number(static_cast<long long>(std::llround(v)));
        }
    }
    return text;
}

bool isBlankMaskText(const QString& text) {
    for (const QChar c : text) {
        if (c != QLatin1Char(' ') && c != QLatin1Char('-') && c != QLatin1Char('/') &&
            c != QLatin1Char('.') && c != QLatin1Char(':'))
            return false;
    }
    return true;
}

QString valueOf(const ReportData& data, const ReportRow& row, const QString& source) {
    if (source.contains(QLatin1Char('{'))) {
        // "{DDD1}-{TELEFONE1_1}": without its last value (the number) the
        // whole is blank, not a lone area code.
        const int lastOpen = source.lastIndexOf(QLatin1Char('{'));
        const int lastClose = source.indexOf(QLatin1Char('}'), lastOpen);
        if (lastClose > lastOpen &&
            isBlankMaskText(valueOf(data, row, source.mid(lastOpen + 1, lastClose - lastOpen - 1))))
            return QString();
        QString out;
        int i = 0;
        while (i < source.size()) {
            const int open = source.indexOf(QLatin1Char('{'), i);
            if (open < 0) {
                out += source.mid(i);
                break;
            }
            const int close = source.indexOf(QLatin1Char('}'), open);
            if (close < 0) {
                out += source.mid(i);
                break;
            }
            out += source.mid(i, open - i);
            out += valueOf(data, row, source.mid(open + 1, close - open - 1));
            i = close + 1;
        }
        return out;
    }
    if (source.startsWith(QLatin1Char('=')))
        return data.total(source.mid(1).toUpper());
    if (const QString* text = row.find(source))
        return *text;
    if (row.isEmpty())
        return QString();  // the empty row of an empty selection
    throw NoticeError(QStringLiteral("O relatório %1 pede o campo %2, que os seus dados não "
                                     "têm; nada foi impresso.")
                          .arg(data.id, source));
}

namespace {

// The names in a source: "{DDD1}-{TELEFONE1}" names two, "=TOTVAL" one.
void addNames(QStringList& names, const QString& source) {
    if (source.isEmpty())
        return;
    if (!source.contains(QLatin1Char('{'))) {
        const QString name = source.startsWith(QLatin1Char('='))
                                 ? QLatin1Char('=') + source.mid(1).toUpper()
                                 : source.toUpper();
        if (!names.contains(name))
            names.append(name);
        return;
    }
    static const QRegularExpression part(QStringLiteral("\\{([^}]*)\\}"));
    for (auto it = part.globalMatch(source); it.hasNext();)
        addNames(names, it.next().captured(1));
}

void addNames(QStringList& names, const QList<TextLine>& lines) {
    for (const TextLine& l : lines)
        for (const TextPiece& p : l.pieces)
            addNames(names, p.source);
}

void addNames(QStringList& names, const QList<PageSummary>& lines) {
    for (const PageSummary& s : lines) {
        addNames(names, s.source);
        for (const QString& summed : s.sums)
            addNames(names, summed);
    }
}

}  // namespace

QStringList namesUsed(const TextLayout& layout) {
    QStringList names;
    addNames(names, layout.row);
    addNames(names, layout.totals);
    return names;
}

QStringList namesUsed(const PageLayout& layout) {
    QStringList names;
    for (const PageCell& c : layout.columns)
        addNames(names, c.source);
    for (const QList<PageCell>& line : layout.record)
        for (const PageCell& c : line)
            addNames(names, c.source);
    addNames(names, layout.summary);
    addNames(names, layout.groupSummary);
    return names;
}

QStringList namesUsed(const HtmlLayout& layout) {
    QStringList names;
    for (const QString& line : layout.before + layout.after)
        addNames(names, line.contains(QLatin1Char('{')) ? line : QString());
    for (const HtmlColumn& c : layout.columns)
        addNames(names, c.source);
    return names;
}

}  // namespace quelvarino
