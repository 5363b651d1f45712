#include "reports/xlsxwriter.h"

#include "core/dates.h"
#include "core/errors.h"
#include "core/money.h"
#include "core/reporttotals.h"
#include "data/durablefiles.h"
#include "reports/documentlayouts.h"
#include "reports/pagewriter.h"

#include <locale.h>
#include <sys/stat.h>
#include <xlsxwriter.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryFile>
#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace quelvarino {
namespace {

// What a cell holds.
enum class Kind { Text, Money, Date, Duration, Number };

Kind kindOf(Format f) {
    switch (f) {
        case Format::Money:
        case Format::MoneyThousands:
        case Format::Currency:
            return Kind::Money;
        case Format::Integer:
            return Kind::Number;
        case Format::Hours:
            return Kind::Duration;
        case Format::Date:
            return Kind::Date;
        case Format::Text:
            break;
    }
    return Kind::Text;
}

// "A" for column 0, "AA" for column 26.
QString columnName(int col) {
    QString name;
    for (int n = col + 1; n > 0; n = (n - 1) / 26)
        name.prepend(QChar(QLatin1Char('A').unicode() + (n - 1) % 26));
    return name;
}

QString rangeOf(int col, int firstRow, int lastRow) {
    return QStringLiteral("%1%2:%1%3").arg(columnName(col)).arg(firstRow + 1).arg(lastRow + 1);
}

// Money as the store and the screens give it ("1234,5"); a screen may also
// show thousands ("1.234,50") or the currency.
bool moneyOf(const QString& text, double* value) {
    QString t = text.trimmed();
    if (t.isEmpty()) {
        *value = 0;
        return true;
    }
    if (t.startsWith(QLatin1String("R$")))
        t = t.mid(2).trimmed();
    if (!isNumberText(t) && t.contains(QLatin1Char(',')))
        t.remove(QLatin1Char('.'));
    if (!isNumberText(t))
        return false;
    *value = parseMoney(t);
    return std::isfinite(*value);
}

QByteArray utf8(const QString& s) {
    return s.toUtf8();
}

// "dd/mm/yyyy" as the store gives it, read without the general parser.
QDate quickDate(const QString& t) {
    if (t.size() != 10 || t[2] != QLatin1Char('/') || t[5] != QLatin1Char('/'))
        return QDate();
    auto n = [&t](int from, int count) {
        int v = 0;
        for (int i = from; i < from + count; ++i) {
            if (!t[i].isDigit())
                return -1;
            v = v * 10 + t[i].digitValue();
        }
        return v;
    };
    const int d = n(0, 2), m = n(3, 2), y = n(6, 4);
    return d < 0 || m < 0 || y < 0 ? QDate() : QDate(y, m, d);
}

// Rounded to the cent as it is printed.
double cents(double v) {
    return std::fabs(v) <= kLargestMoney ? parseMoney(formatMoney(v)) : v;
}

// The characters a money cell shows: "1.234,50".
int moneyWidth(double v) {
    int digits = 4;  // "0,00"
    for (double a = std::fabs(v); a >= 10 && digits < 20; a /= 10)
        ++digits;
    return digits + (digits - 4) / 3 + (v < 0 ? 1 : 0);
}

// The library writes numbers with the C library's printf, which follows
// the workstation's locale: under pt_BR "0,25" would make the workbook
// unreadable. While a workbook is written, this thread's numbers are C's.
class CNumbers {
public:
    CNumbers() {
        c_ = newlocale(LC_NUMERIC_MASK, "C", duplocale(uselocale(locale_t(nullptr))));
        if (c_)
            previous_ = uselocale(c_);
    }
    CNumbers(const CNumbers&) = delete;
    CNumbers& operator=(const CNumbers&) = delete;
    ~CNumbers() {
        if (c_) {
            uselocale(previous_);
            freelocale(c_);
        }
    }

private:
    locale_t c_ = locale_t(nullptr);
    locale_t previous_ = locale_t(nullptr);
};

// The workbook of one render, written under a temporary name beside its
// path; the name is taken only when the library has closed it whole.
class Book {
public:
    explicit Book(const QString& path) : path_(path) {
        const QFileInfo target(path);
        QTemporaryFile reserve(target.absolutePath() + QStringLiteral("/.") + target.fileName() +
                               QStringLiteral(".XXXXXX"));
        reserve.setAutoRemove(false);
        if (!reserve.open())
            refuseFileWrite(path, reserve.errorString());
        temp_ = reserve.fileName();
        reserve.close();
        // A temporary file is made for its owner alone; the workbook is
        // shared like every other output (what the umask leaves).
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::chmod(QFile::encodeName(temp_).constData(), 0666 & ~mask);
        lxw_workbook_options options = {};
        options.constant_memory = LXW_TRUE;  // each row goes to disk once written
        options.use_zip64 = LXW_TRUE;        // a year of orders may pass 4 GB unpacked
        book_ = workbook_new_opt(utf8(temp_).constData(), &options);
        if (!book_) {
            QFile::remove(temp_);
            refuseFileWrite(path, QStringLiteral("a planilha não pôde ser criada"));
        }
        money = numberFormat("#,##0.00");
        date = numberFormat("dd/mm/yyyy");
        duration = numberFormat("[h]:mm");
        number = numberFormat("0");
        bold = workbook_add_format(book_);
        format_set_bold(bold);
        title = workbook_add_format(book_);
        format_set_bold(title);
        format_set_font_size(title, 14);
        heading = workbook_add_format(book_);
        format_set_bold(heading);
        format_set_bottom(heading, LXW_BORDER_THIN);
        format_set_text_wrap(heading);
        totalMoney = numberFormat("#,##0.00");
        format_set_bold(totalMoney);
        totalDuration = numberFormat("[h]:mm");
        format_set_bold(totalDuration);
        totalNumber = numberFormat("0");
        format_set_bold(totalNumber);
    }
    Book(const Book&) = delete;
    Book& operator=(const Book&) = delete;
    ~Book() {
        if (book_) {
            workbook_close(book_);  // the temporary file is then removed below
            QFile::remove(temp_);
        }
    }

    lxw_worksheet* sheet(const QString& name) {
        lxw_worksheet* s = workbook_add_worksheet(book_, utf8(XlsxWriter::sheetName(name)));
        if (!s)
            fail(QStringLiteral("nome de planilha inválido"));
        return s;
    }

    void commit() {
        const lxw_error error = workbook_close(book_);
        book_ = nullptr;
        if (error != LXW_NO_ERROR) {
            QFile::remove(temp_);
            refuseFileWrite(path_, QString::fromUtf8(lxw_strerror(error)));
        }
        // Synced, then renamed over an older report of the same name in one
        // step: the report announced is on the disk.
        if (!durablyReplace(temp_, path_)) {
            const QString reason = QString::fromLocal8Bit(std::strerror(errno));
            QFile::remove(temp_);
            refuseFileWrite(path_, reason);
        }
    }

    [[noreturn]] void fail(const QString& reason) {
        workbook_close(book_);
        book_ = nullptr;
        QFile::remove(temp_);
        refuseFileWrite(path_, reason);
    }

    lxw_format *money, *date, *duration, *number, *bold, *title, *heading;
    lxw_format *totalMoney, *totalDuration, *totalNumber;

private:
    lxw_format* numberFormat(const char* code) {
        lxw_format* f = workbook_add_format(book_);
        format_set_num_format(f, code);
        return f;
    }

    CNumbers numbers_;  // first in, last out: for every write and the close
    QString path_, temp_;
    lxw_workbook* book_ = nullptr;
};

// One sheet written top to bottom (the constant-memory mode takes rows in
// order only), its column widths fitted to what was written.
class Sheet {
public:
    Sheet(Book& book, const QString& name) : book_(book), sheet_(book.sheet(name)) {}

    int row() const { return row_; }
    void next(int rows = 1) { row_ += rows; }

    void text(int col, const QString& value, lxw_format* format = nullptr, bool fits = true) {
        if (value.isEmpty())
            return;
        check(worksheet_write_string(sheet_, lxw_row_t(row_), lxw_col_t(col),
                                     utf8(value).constData(), format));
        if (fits)
            widen(col, int(value.size()));
    }

    // A stored value as its kind of cell; a value that is not what its
    // column says is written as the text it is, never dropped.
    void value(int col, Kind kind, const QString& stored, bool roundCents = false) {
        switch (kind) {
            case Kind::Text:
                if (!isBlankMaskText(stored))
                    text(col, stored);
                return;
            case Kind::Money:
            case Kind::Number: {
                double v = 0;
                if (!moneyOf(stored, &v))
                    return text(col, stored);
                if (kind == Kind::Number)
                    v = std::round(v);
                else if (roundCents)
                    v = cents(v);
                number(col, v, kind == Kind::Money ? book_.money : book_.number);
                widen(col, moneyWidth(v));
                return;
            }
            case Kind::Date: {
                if (isBlankDateText(stored))
                    return;
                QDate d = quickDate(stored);
                if (!d.isValid()) {
                    try {
                        d = parseDate(stored);
                    } catch (const ConversionError&) {
                    }
                }
                if (!d.isValid())
                    return text(col, stored);
                lxw_datetime when = {d.year(), d.month(), d.day(), 0, 0, 0};
                check(worksheet_write_datetime(sheet_, lxw_row_t(row_), lxw_col_t(col), &when,
                                               book_.date));
                widen(col, 10);
                return;
            }
            case Kind::Duration: {
                double days = 0;
                // Hours stored as the number 0 read back as "0": no time.
                if (stored.trimmed() == QLatin1String("0")) {
                    number(col, 0, book_.duration);
                    widen(col, 4);
                } else if (XlsxWriter::durationOf(stored, &days)) {
                    number(col, days, book_.duration);
                    widen(col, int(stored.trimmed().size()));
                } else if (!isBlankMaskText(stored)) {
                    text(col, stored);
                }
                return;
            }
        }
    }

    // A total: the formula over its columns, with the printed total as the
    // value a reader shows before it recalculates.
    void formula(int col, const QString& formula, Kind kind, const QString& printed) {
        double cached = 0;
        if (kind == Kind::Duration)
            XlsxWriter::durationOf(printed, &cached);
        else
            moneyOf(printed, &cached);
        check(worksheet_write_formula_num(sheet_, lxw_row_t(row_), lxw_col_t(col),
                                          utf8(formula).constData(), totalFormat(kind), cached));
        widen(col, int(printed.size()));
    }

    // A total written as its value (one the program computes by its own
    // rules, not a plain sum of a column).
    void total(int col, Kind kind, const QString& printed) {
        double v = 0;
        if (kind == Kind::Duration && XlsxWriter::durationOf(printed, &v))
            number(col, v, book_.totalDuration);
        else if (kind == Kind::Money && moneyOf(printed, &v))
            number(col, v, book_.totalMoney);
        else
            text(col, printed, book_.bold);
        widen(col, int(printed.size()));
    }

    // The company lines, the title, the period and the subject.
    void header(const ReportData& data, const QString& title) {
        for (const QString& line : PageWriter::companyLines(data.company)) {
            if (!line.trimmed().isEmpty()) {
                text(0, line, row_ == 0 ? book_.bold : nullptr, false);
                next();
            }
        }
        text(0, title, book_.title, false);
        next();
        if (!data.periodFrom.isEmpty() || !data.periodTo.isEmpty()) {
            text(0, QStringLiteral("Período de : %1 até %2").arg(data.periodFrom, data.periodTo),
                 nullptr, false);
            next();
        }
        const QString subject = data.totals.value(QStringLiteral("SUBJECT"));
        if (!subject.isEmpty()) {
            text(0, subject, nullptr, false);
            next();
        }
        next();
    }

    // The column headings, kept in view when the rows scroll.
    void headings(const QStringList& headings) {
        for (int i = 0; i < headings.size(); ++i)
            text(i, headings[i], book_.heading);
        worksheet_freeze_panes(sheet_, lxw_row_t(row_ + 1), 0);
        next();
    }

    void bold(int col, const QString& value) { text(col, value, book_.bold, false); }
    // A caption beside its values: its column as wide as the caption.
    void caption(int col, const QString& value) { text(col, value, book_.bold, true); }

    // Printed as wide as the paper, on as many pages down as it takes.
    void fitToPaperWidth(bool onePage = false) {
        worksheet_fit_to_pages(sheet_, 1, onePage ? 1 : 0);
    }

    void fitWidths() {
        for (int i = 0; i < widths_.size(); ++i) {
            if (widths_[i] > 0)
                worksheet_set_column(sheet_, lxw_col_t(i), lxw_col_t(i), qMin(widths_[i], 60) + 2.0,
                                     nullptr);
        }
    }

private:
    void number(int col, double v, lxw_format* format) {
        check(worksheet_write_number(sheet_, lxw_row_t(row_), lxw_col_t(col), v, format));
    }
    lxw_format* totalFormat(Kind kind) const {
        if (kind == Kind::Number)
            return book_.totalNumber;
        return kind == Kind::Duration ? book_.totalDuration : book_.totalMoney;
    }
    void widen(int col, int chars) {
        if (col >= widths_.size())
            widths_.resize(col + 1);
        widths_[col] = qMax(widths_[col], chars);
    }
    void check(lxw_error error) {
        if (error != LXW_NO_ERROR && error != LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED)
            book_.fail(QString::fromUtf8(lxw_strerror(error)));
        if (error == LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED)
            book_.fail(QStringLiteral("um texto passa do tamanho que uma célula aceita"));
    }

    Book& book_;
    lxw_worksheet* sheet_;
    int row_ = 0;
    QList<int> widths_;
};

// ---- the columns and totals of a layout --------------------------------------------

struct Column {
    QString heading, source;
    Kind kind;
};

QString headingOf(const QString& label) {
    QString h = label.trimmed();
    while (h.endsWith(QLatin1Char(':')))
        h.chop(1);
    return h.trimmed();
}

// A table's columns, or the captioned values of a card one after another.
QList<Column> columnsOf(const PageLayout& layout) {
    QList<Column> columns;
    for (const PageCell& c : layout.columns)
        columns.append({headingOf(c.label), c.source, kindOf(c.format)});
    for (const QList<PageCell>& line : layout.record) {
        for (const PageCell& c : line)
            columns.append({headingOf(c.label), c.source, kindOf(c.format)});
    }
    return columns;
}

int columnOf(const QList<Column>& columns, const QString& source) {
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].source == source)
            return i;
    }
    return -1;
}

// The totals a summary prints: "=TOTVAL" is one, "{=HN} - {=VN}" two.
QStringList partsOf(const QString& source) {
    if (!source.contains(QLatin1Char('{')))
        return {source};
    QStringList parts;
    static const QRegularExpression part(QStringLiteral("\\{([^}]*)\\}"));
    for (auto it = part.globalMatch(source); it.hasNext();)
        parts.append(it.next().captured(1));
    return parts;
}

// A total printed as hours is a duration; any other figure is money.
Kind kindOfTotal(const PageSummary& s, const QString& printed) {
    if (s.format != Format::Text)
        return kindOf(s.format);
    double v = 0;
    if (printed.contains(QLatin1Char(':')) && XlsxWriter::durationOf(printed, &v))
        return Kind::Duration;
    return moneyOf(printed, &v) && !printed.trimmed().isEmpty() ? Kind::Money : Kind::Text;
}

// SUM(first column's range)+SUM(the next's)...
QString sumFormula(const QList<Column>& columns,
                   const QStringList& sums,
                   int firstRow,
                   int lastRow) {
    QStringList terms;
    for (const QString& s : sums) {
        const int col = columnOf(columns, s);
        if (col >= 0)
            terms.append(QStringLiteral("SUM(%1)").arg(rangeOf(col, firstRow, lastRow)));
    }
    return terms.isEmpty() ? QString() : QLatin1Char('=') + terms.join(QLatin1Char('+'));
}

void writeRow(Sheet& sheet,
              const QList<Column>& columns,
              const ReportData& data,
              const ReportRow& row,
              bool roundCents) {
    for (int i = 0; i < columns.size(); ++i)
        sheet.value(i, columns[i].kind, valueOf(data, row, columns[i].source), roundCents);
    sheet.next();
}

// The summary lines under the rows: a plain sum of columns as its formula
// under the first of them, any other total as its value after its label.
void writeSummary(Sheet& sheet,
                  const QList<Column>& columns,
                  const ReportData& data,
                  const QList<PageSummary>& summary,
                  int firstRow,
                  int lastRow,
                  int subtotalColumn = -1,
                  const QStringList& subtotalSources = {}) {
    const ReportRow none;
    for (const PageSummary& s : summary) {
        const QStringList parts = partsOf(s.source);
        const QString first = valueOf(data, none, parts.value(0));
        const bool ofSubtotals =
            subtotalColumn >= 0 && !s.sums.isEmpty() && subtotalSources.contains(s.sums.first());
        QString formula;
        int col = -1;
        if (ofSubtotals && lastRow >= firstRow) {
            col = subtotalColumn;
            formula = QStringLiteral("=SUM(%1)").arg(rangeOf(col, firstRow, lastRow));
        } else if (!s.sums.isEmpty() && lastRow >= firstRow) {
            col = columnOf(columns, s.sums.first());
            formula = sumFormula(columns, s.sums, firstRow, lastRow);
        }
        if (col > 0 && !formula.isEmpty()) {
            sheet.bold(0, s.label.trimmed());
            sheet.formula(col, formula, kindOfTotal(s, first), first);
        } else {
            sheet.bold(0, s.label.trimmed());
            for (int i = 0; i < parts.size(); ++i) {
                const QString printed = valueOf(data, none, parts[i]);
                sheet.total(1 + i, kindOfTotal(s, printed), printed);
            }
        }
        sheet.next();
    }
}

// Master/detail: a heading row per group, its rows, its subtotal in a
// column of its own, and the grand total as the sum of that column.
void writeGroups(Sheet& sheet,
                 const QList<Column>& columns,
                 const ReportData& data,
                 const PageLayout& layout) {
    const int subtotalColumn = int(columns.size());
    const int first = sheet.row();
    QStringList subtotalSources;
    for (const PageSummary& s : layout.groupSummary)
        subtotalSources.append(s.source);
    for (const ReportGroup& g : data.groups) {
        sheet.bold(0, layout.groupLabel + QLatin1Char(' ') + g.head.text(QStringLiteral("CODIGO")) +
                          QStringLiteral(" - ") + g.head.text(QStringLiteral("CLIENTE")));
        sheet.next();
        const int groupFirst = sheet.row();
        for (const ReportRow& r : g.rows)
            writeRow(sheet, columns, data, r, true);  // added as printed, each rounded
        const int groupLast = sheet.row() - 1;
        for (const PageSummary& s : layout.groupSummary) {
            const QString printed = g.totals.value(s.source);
            sheet.bold(0, s.label.trimmed());
            const QString formula = sumFormula(columns, s.sums, groupFirst, groupLast);
            if (groupLast >= groupFirst && !formula.isEmpty())
                sheet.formula(subtotalColumn, formula, Kind::Money, printed);
            else
                sheet.total(subtotalColumn, Kind::Money, printed);
            sheet.next();
        }
        sheet.next();
    }
    writeSummary(sheet, columns, data, layout.summary, first, sheet.row() - 1, subtotalColumn,
                 subtotalSources);
}

// A document: a caption and its values per row.
void writeTable(Book& book, const ReportData& data, const QString& title, const SheetTable& t) {
    Sheet sheet(book, t.name);
    sheet.header(data, title + QStringLiteral(" - ") + t.name);
    sheet.headings(t.headings);
    const int first = sheet.row();
    for (const QStringList& row : t.rows) {
        for (int i = 0; i < row.size() && i < t.formats.size(); ++i)
            sheet.value(i, kindOf(t.formats[i]), row[i]);
        sheet.next();
    }
    const int last = sheet.row() - 1;
    if (t.totals && last >= first) {
        sheet.bold(0, QStringLiteral("Total"));
        for (int i = 1; i < t.formats.size(); ++i) {
            const Kind kind = kindOf(t.formats[i]);
            if (kind != Kind::Money && kind != Kind::Duration && kind != Kind::Number)
                continue;
            // The printed total of the column, by the column's own kind.
            double sum = 0;
            long long minutes = 0;
            for (const QStringList& row : t.rows) {
                double v = 0;
                if (kind == Kind::Duration && XlsxWriter::durationOf(row.value(i), &v))
                    minutes += std::llround(v * 1440);
                else if (kind != Kind::Duration && moneyOf(row.value(i), &v))
                    sum += v;
            }
            const QString printed = kind == Kind::Duration ? hoursText(minutes) : formatMoney(sum);
            sheet.formula(i, QStringLiteral("=SUM(%1)").arg(rangeOf(i, first, last)), kind,
                          printed);
        }
        sheet.next();
    }
    sheet.fitWidths();
    sheet.fitToPaperWidth();
}

void writeField(Sheet& sheet, const DocumentField& f) {
    if (f.caption.isEmpty())
        return;
    sheet.caption(0, f.caption);
    for (int i = 0; i < f.values.size(); ++i)
        sheet.value(1 + i, kindOf(f.values[i].format), f.values[i].text);
    sheet.next();
}

void writeDocument(const ReportData& data, const DocumentLayout& l, const QString& path) {
    Book book(path);
    Sheet sheet(book, l.sheetName);
    sheet.header(data, l.title);
    writeField(sheet, l.number);
    for (const DocumentRow& row : l.rows)
        for (const DocumentField& f : row)
            writeField(sheet, f);
    writeField(sheet, l.notes);
    if (!l.pixPayload.isEmpty())
        writeField(sheet, {l.pixCaption, {{Format::Text, l.pixPayload}}});
    sheet.fitWidths();
    sheet.fitToPaperWidth(true);
    book.commit();
}

}  // namespace

void XlsxWriter::renderTables(const ReportData& data,
                              const QString& title,
                              const QList<SheetTable>& tables,
                              const QString& path) {
    Book book(path);
    for (const SheetTable& t : tables)
        writeTable(book, data, title, t);
    book.commit();
}

QString XlsxWriter::sheetName(const QString& title) {
    QString name = title.trimmed();
    static const QRegularExpression forbidden(QStringLiteral("[\\[\\]:*?/\\\\]"));
    name.replace(forbidden, QStringLiteral(" "));
    name = name.simplified();
    if (name.startsWith(QLatin1Char('\'')))
        name.remove(0, 1);
    if (name.size() > 31) {
        // Cut between words where there is one to cut at.
        const qsizetype space = name.lastIndexOf(QLatin1Char(' '), 31);
        name = name.left(space > 10 ? space : 31).trimmed();
    }
    while (name.endsWith(QLatin1Char('\'')))
        name.chop(1);
    return name.isEmpty() ? QStringLiteral("Relatório") : name;
}

bool XlsxWriter::durationOf(const QString& text, double* days) {
    // "hh:mm", "hhh:mm", blanks around or in place of digits; read by hand:
    // a year's closing has a million of them.
    long long hours = 0, minutes = 0;
    int digits = 0, minuteDigits = 0;
    bool colon = false;
    for (const QChar c : text) {
        if (c == QLatin1Char(':')) {
            if (colon)
                return false;
            colon = true;
        } else if (c.isDigit()) {
            if (!colon) {
                if (++digits > 9)
                    return false;
                hours = hours * 10 + c.digitValue();
            } else {
                if (++minuteDigits > 2)
                    return false;
                minutes = minutes * 10 + c.digitValue();
            }
        } else if (c != QLatin1Char(' ')) {
            return false;
        }
    }
    if (!colon || digits + minuteDigits == 0)
        return false;
    *days = double(hours * 60 + minutes) / 1440.0;
    return true;
}

void XlsxWriter::render(const ReportData& data, const PageLayout& layout, const QString& path) {
    const QList<Column> columns = columnsOf(layout);
    Book book(path);
    Sheet sheet(book, layout.title);
    sheet.header(data, layout.title);
    const bool grouped = !layout.groupLabel.isEmpty();
    if (!columns.isEmpty()) {
        QStringList headings;
        for (const Column& c : columns)
            headings.append(c.heading);
        if (grouped)
            headings.append(QStringLiteral("Subtotal"));
        sheet.headings(headings);
    }
    if (grouped) {
        writeGroups(sheet, columns, data, layout);
    } else {
        const int first = sheet.row();
        data.forEachRow([&](const ReportRow& r) { writeRow(sheet, columns, data, r, false); });
        const int last = sheet.row() - 1;
        if (!layout.summary.isEmpty())
            sheet.next();
        writeSummary(sheet, columns, data, layout.summary, first, last);
    }
    sheet.fitWidths();
    sheet.fitToPaperWidth();
    book.commit();
}

void XlsxWriter::renderServiceOrder(const ReportData& data, const QString& path) {
    writeDocument(data, serviceOrderLayout(data.record), path);
}

void XlsxWriter::renderReceipt(const ReportData& data, const QString& path) {
    writeDocument(data, receiptLayout(data.record), path);
}

}  // namespace quelvarino
