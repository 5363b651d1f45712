#include "reports/pagewriter.h"

#include "core/clock.h"
#include "core/dates.h"
#include "core/pix.h"
#include "reports/documentlayouts.h"
#include "widgets/qrcode.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPrinter>

namespace quelvarino {
namespace {

// Drawing is done in tenths of a millimetre from the top left corner of
// the printable area.
constexpr double kUnit = 10.0;  // units per mm

// Every text of a page report is at least this size, headings and
// columns alike: a column too narrow for its words is widened from the
// others, and wraps inside a word only when the page has no room left.
constexpr double kReadablePoints = 7.0;
constexpr double kColumnPoints = 7.5;

double& lastColumnsWidth() {
    static double width = 0;
    return width;
}
double& lastPageWidth() {
    static double width = 0;
    return width;
}

double& smallestPoints() {
    static double smallest = 1e9;
    return smallest;
}

double pointsOf(const QFont& f) {
    return f.pixelSize() / (25.4 / 72.0 * kUnit);
}

QFont font(double points, bool bold = false) {
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(qRound(points * 25.4 / 72.0 * kUnit));  // points in tenths of a mm
    f.setBold(bold);
    return f;
}

class Canvas {
public:
    explicit Canvas(QPrinter* printer) : printer_(printer), painter_(printer) {
        const double scale = printer->resolution() / (25.4 * kUnit);
        painter_.scale(scale, scale);
        const QRectF area = printer->pageLayout().paintRectPixels(printer->resolution());
        width_ = area.width() / scale;
        height_ = area.height() / scale;
    }
    QPainter& p() { return painter_; }
    double width() const { return width_; }
    double height() const { return height_; }
    void newPage() { printer_->newPage(); }

    // The height `text` needs in `width`, wrapped at words.
    double heightOf(const QString& text, const QFont& f, double width, bool anywhere = false) {
        painter_.setFont(f);
        const QRectF r = painter_.boundingRect(
            QRectF(0, 0, width, 1e6),
            (anywhere ? Qt::TextWrapAnywhere : Qt::TextWordWrap) | Qt::AlignLeft, text);
        return qMax(r.height(), painter_.fontMetrics().height() * 1.0);
    }
    void text(const QRectF& r,
              const QString& text,
              const QFont& f,
              Align align = Align::Left,
              bool anywhere = false) {
        painter_.setFont(f);
        if (!text.trimmed().isEmpty())
            smallestPoints() = qMin(smallestPoints(), pointsOf(f));
        int flags = (anywhere ? Qt::TextWrapAnywhere : Qt::TextWordWrap) | Qt::AlignTop;
        flags |= align == Align::Right    ? Qt::AlignRight
                 : align == Align::Center ? Qt::AlignHCenter
                                          : Qt::AlignLeft;
        painter_.drawText(r, flags, text);
    }
    void rule(double y, double thickness = 2) {
        painter_.save();
        painter_.setPen(QPen(Qt::black, thickness));
        painter_.drawLine(QPointF(0, y), QPointF(width_, y));
        painter_.restore();
    }

private:
    QPrinter* printer_;
    QPainter painter_;
    double width_ = 0;
    double height_ = 0;
};

const double kLine = 42;  // one line of 8 pt text with its leading

// Logo, company lines and title; returns the height used.
double titleBand(Canvas& c, const ReportData& data, const QString& title, double top) {
    double x = 0;
    if (!data.logoFile.isEmpty()) {
        QImage logo(data.logoFile);
        if (!logo.isNull()) {
            c.p().drawImage(QRectF(0, top, 400, 200), logo);
            x = 430;
        }
    }
    double y = top;
    const QStringList lines = PageWriter::companyLines(data.company);
    for (int i = 0; i < lines.size(); ++i) {
        c.text(QRectF(x, y, c.width() - x, kLine), lines[i], font(i == 0 ? 10 : 8, i == 0));
        y += i == 0 ? 50 : kLine;
    }
    y = qMax(y, top + (x > 0 ? 210.0 : 0.0)) + 20;
    const QFont titleFont = font(14, true);
    const double h = c.heightOf(title, titleFont, c.width());
    c.text(QRectF(0, y, c.width(), h), title, titleFont, Align::Center);
    return y + h + 10 - top;
}

// On a page an untouched mask ("  /  /    ") is no value.
QString shown(const QString& text) {
    return isBlankMaskText(text) ? QString() : text;
}

QString printedValue(const ReportData& data,
                     const ReportRow& row,
                     const QString& source,
                     Format format) {
    return shown(formatValue(format, valueOf(data, row, source)));
}

class ReportPainter {
public:
    ReportPainter(const ReportData& data, const PageLayout& layout, QPrinter* printer)
        : data_(data), layout_(layout), c_(printer) {}

    void run() {
        y_ = titleBand(c_, data_, layout_.title, 0);
        if (!data_.periodFrom.isEmpty() || !data_.periodTo.isEmpty())
            line(QStringLiteral("Período de : %1 até %2").arg(data_.periodFrom, data_.periodTo),
                 font(9, true), Align::Center);
        if (data_.totals.contains(QStringLiteral("SUBJECT")))
            line(data_.totals.value(QStringLiteral("SUBJECT")), font(9, true), Align::Left);
        c_.rule(y_ + 5);
        y_ += 20;
        if (!layout_.columns.isEmpty())
            fitColumns();
        if (!data_.groups.isEmpty()) {
            for (const ReportGroup& g : data_.groups)
                group(g);
        } else {
            if (!layout_.columns.isEmpty())
                headings();
            data_.forEachRow([this](const ReportRow& row) {
                layout_.columns.isEmpty() ? record(row) : tableRow(row);
            });
        }
        summary(layout_.summary, ReportRow());
        footer();
    }

private:
    double footerTop() const { return c_.height() - 60; }

    void ensure(double h, bool withHeadings) {
        if (y_ + h <= footerTop())
            return;
        footer();
        c_.newPage();
        ++page_;
        y_ = 0;
        if (withHeadings && !layout_.columns.isEmpty())
            headings();
    }

    void line(const QString& text, const QFont& f, Align align) {
        const double h = c_.heightOf(text, f, c_.width());
        ensure(h, false);
        c_.text(QRectF(0, y_, c_.width(), h), text, f, align);
        y_ += h + 6;
    }

    double columnsWidth() const {
        double w = 0;
        for (double width : widths_)
            w += width;
        return w;
    }

    bool wordsFit(const QString& text, const QFont& f, double width) {
        c_.p().setFont(f);
        const QFontMetrics metrics = c_.p().fontMetrics();
        for (const QString& w : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            if (metrics.horizontalAdvance(w) > width)
                return false;
        return true;
    }
    // Words wider than the column may break anywhere (a zero-width space
    // between their letters); the others still wrap whole.
    QString breakableWords(const QString& text, const QFont& f, double width) {
        c_.p().setFont(f);
        const QFontMetrics metrics = c_.p().fontMetrics();
        QStringList out;
        for (const QString& w : text.split(QLatin1Char(' '))) {
            if (metrics.horizontalAdvance(w) <= width) {
                out.append(w);
                continue;
            }
            QString broken;
            for (const QChar c : w) {
                if (!broken.isEmpty())
                    broken += QChar(0x200B);
                broken += c;
            }
            out.append(broken);
        }
        return out.join(QLatin1Char(' '));
    }
    double widestWord(const QString& text, const QFont& f) {
        c_.p().setFont(f);
        const QFontMetrics metrics = c_.p().fontMetrics();
        double widest = 0;
        for (const QString& w : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            widest = qMax(widest, double(metrics.horizontalAdvance(w)));
        return widest;
    }

    // The widest word and the widest value of each column, found in one
    // reading of the rows at the columns' size; `words` marks the columns
    // whose values have several words (names, wrapped at words).
    void widestOfRows(QStringList& widestWordOf, QStringList& widestValueOf, QList<bool>& words) {
        const int n = layout_.columns.size();
        const QFont value = font(kColumnPoints);
        c_.p().setFont(value);
        const QFontMetrics metrics = c_.p().fontMetrics();
        QList<double> word(n, 0.0), value1(n, 0.0);
        auto measure = [&](const ReportRow& row) {
            for (int i = 0; i < n; ++i) {
                const PageCell& col = layout_.columns[i];
                const QString text = printedValue(data_, row, col.source, col.format);
                words[i] = words[i] || text.trimmed().contains(QLatin1Char(' '));
                for (const QString& w : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
                    const double width = metrics.horizontalAdvance(w);
                    if (width > word[i]) {
                        word[i] = width;
                        widestWordOf[i] = w;
                    }
                }
                const double width = metrics.horizontalAdvance(text);
                if (width > value1[i]) {
                    value1[i] = width;
                    widestValueOf[i] = text;
                }
            }
        };
        if (!data_.groups.isEmpty()) {
            for (const ReportGroup& g : data_.groups)
                for (const ReportRow& row : g.rows)
                    measure(row);
        } else {
            data_.forEachRow(measure);
        }
    }

    // The columns' widths for this report: each at least as wide as its
    // widest word (heading or value) in the columns' one size, what it
    // needs taken from the columns that have room to spare; when the page
    // is too narrow for all of them, in proportion to what they need.
    void fitColumns() {
        const int n = layout_.columns.size();
        QList<double> need, whole, head;  // widest word, value on one line, heading
        QList<bool> words(n, false);      // values of several words: names, wrapped at words
        double total = 0, needed = 0;
        for (const PageCell& col : layout_.columns)
            total += col.width * kUnit;
        const double page = qMin(total, c_.width());
        QStringList widestWordOf(n), widestValueOf(n);
        widestOfRows(widestWordOf, widestValueOf, words);
        // What each column needs at a size: its widest word, heading or
        // value (and a little, for the rounding of the measures).
        auto measureAt = [&](double points) {
            need = QList<double>(n, 0.0);
            whole = QList<double>(n, 0.0);
            head = QList<double>(n, 0.0);
            const QFont heading = font(points, true), value = font(points);
            needed = 0;
            for (int i = 0; i < n; ++i) {
                head[i] = widestWord(layout_.columns[i].label, heading) + 12;
                need[i] = qMax(head[i], widestWord(widestWordOf[i], value) + 12);
                c_.p().setFont(value);
                whole[i] = c_.p().fontMetrics().horizontalAdvance(widestValueOf[i]) + 12;
                needed += need[i];
            }
        };
        // Too many columns for the page at their size: all of them one size
        // smaller, never below the readable least.
        columnPoints_ = kColumnPoints;
        measureAt(columnPoints_);
        if (needed > page) {
            columnPoints_ = kReadablePoints;
            measureAt(columnPoints_);
        }
        widths_.clear();
        double deficit = 0, slack = 0, slackWhole = 0;
        for (int i = 0; i < n; ++i) {
            const double given = layout_.columns[i].width * kUnit;
            deficit += qMax(0.0, need[i] - given);
            slack += qMax(0.0, given - need[i]);
            slackWhole += qMax(0.0, given - qMax(need[i], whole[i]));
        }
        // Still too many: numbers, dates and headings keep their width; the
        // columns of names share what is left (a long word wraps there).
        double hard = 0, soft = 0, softGiven = 0, softWhole = 0;
        for (int i = 0; i < n; ++i) {
            (words[i] ? soft : hard) += need[i];
            if (words[i]) {
                softGiven += layout_.columns[i].width * kUnit;
                softWhole += qMax(need[i], whole[i]);
            }
        }
        const bool namesShare = needed > page && soft > 0 && hard < page;
        const double left = page - hard;
        for (int i = 0; i < n; ++i) {
            const double given = layout_.columns[i].width * kUnit;
            double w = given;
            if (namesShare && !words[i])
                w = need[i];
            else if (namesShare && softWhole <= left)  // names on one line, the rest shared
                w = qMax(need[i], whole[i]) + (left - softWhole) * given / softGiven;
            else if (namesShare)  // in the layout's proportions; long words break
                w = qMax(head[i], given * left / softGiven);
            else if (needed > page)
                w = need[i] * page / needed;
            else if (need[i] > given)
                w = need[i];
            else if (deficit <= slackWhole && slackWhole > 0)  // values still on one line
                w = given - qMax(0.0, given - qMax(need[i], whole[i])) * deficit / slackWhole;
            else if (slack > 0)
                w = given - (given - need[i]) * qMin(1.0, deficit / slack);
            widths_.append(w);
        }
        // A name column kept as wide as its heading: the others give it back.
        double excess = columnsWidth() - page;
        if (namesShare && excess > 0) {
            double spare = 0;
            for (int i = 0; i < n; ++i)
                if (words[i])
                    spare += qMax(0.0, widths_[i] - head[i]);
            for (int i = 0; i < n && spare > 0; ++i)
                if (words[i])
                    widths_[i] -= qMax(0.0, widths_[i] - head[i]) * qMin(1.0, excess / spare);
        }
        lastColumnsWidth() = columnsWidth();
        lastPageWidth() = c_.width();
    }

    // One size for every heading and value of the columns.
    QFont fitted(const QString&, double, bool bold) { return font(columnPoints_, bold); }

    void headings() {
        const int n = layout_.columns.size();
        QList<QFont> fonts;
        QList<bool> anywhere;
        double h = 0;
        for (int i = 0; i < n; ++i) {
            const PageCell& col = layout_.columns[i];
            fonts.append(fitted(col.label, widths_[i] - 10, true));
            anywhere.append(!wordsFit(col.label, fonts.last(), widths_[i] - 10));
            h = qMax(h, c_.heightOf(col.label, fonts.last(), widths_[i] - 10, anywhere.last()));
        }
        if (y_ + h + 30 > footerTop()) {  // never alone at the bottom of a page
            footer();
            c_.newPage();
            ++page_;
            y_ = 0;
        }
        double x = 0;
        for (int i = 0; i < n; ++i) {
            const PageCell& col = layout_.columns[i];
            c_.text(QRectF(x, y_, widths_[i] - 10, h), col.label, fonts[i], col.align, anywhere[i]);
            x += widths_[i];
        }
        y_ += h + 4;
        c_.p().drawLine(QPointF(0, y_), QPointF(columnsWidth(), y_));
        y_ += 6;
    }

    void tableRow(const ReportRow& row) {
        QStringList values;
        QList<QFont> fonts;
        QList<bool> anywhere;
        double h = 0;
        for (int i = 0; i < layout_.columns.size(); ++i) {
            const PageCell& col = layout_.columns[i];
            values.append(printedValue(data_, row, col.source, col.format));
            fonts.append(fitted(values.last(), widths_[i] - 10, false));
            if (!wordsFit(values.last(), fonts.last(), widths_[i] - 10))
                values.last() = breakableWords(values.last(), fonts.last(), widths_[i] - 10);
            anywhere.append(false);
            h = qMax(h, c_.heightOf(values.last(), fonts.last(), widths_[i] - 10, anywhere.last()));
        }
        ensure(h, true);
        double x = 0;
        for (int i = 0; i < layout_.columns.size(); ++i) {
            const PageCell& col = layout_.columns[i];
            c_.text(QRectF(x, y_, widths_[i] - 10, h), values[i], fonts[i], col.align, anywhere[i]);
            x += widths_[i];
        }
        y_ += h + 6;
    }

    // A card of captioned values, line by line; nothing is cut: a long
    // value wraps inside its place.
    void record(const ReportRow& row) {
        const QFont caption = font(7.5, true);
        const QFont value = font(7.5);
        if (labelWidths_.isEmpty()) {  // the captions are the same on every card
            for (const QList<PageCell>& cells : layout_.record) {
                QList<double> widths;
                for (const PageCell& cell : cells)
                    widths.append(labelWidthOf(cell, caption));
                labelWidths_.append(widths);
            }
        }
        QList<QStringList> values;
        QList<double> heights;
        double total = 0;
        for (int i = 0; i < layout_.record.size(); ++i) {
            const QList<PageCell>& cells = layout_.record[i];
            QStringList lineValues;
            double h = lineHeight(value);
            for (int j = 0; j < cells.size(); ++j) {
                const PageCell& cell = cells[j];
                lineValues.append(printedValue(data_, row, cell.source, cell.format));
                if (!lineValues.last().isEmpty())
                    h = qMax(h, c_.heightOf(lineValues.last(), value,
                                            cell.width * kUnit - labelWidths_[i][j] - 10));
            }
            values.append(lineValues);
            heights.append(h);
            total += h + 4;
        }
        ensure(total + 16, false);
        for (int i = 0; i < layout_.record.size(); ++i) {
            double x = 0;
            for (int j = 0; j < layout_.record[i].size(); ++j) {
                const PageCell& cell = layout_.record[i][j];
                const double labelWidth = labelWidths_[i][j];
                c_.text(QRectF(x, y_, labelWidth, heights[i]), cell.label, caption);
                if (!values[i][j].isEmpty())
                    c_.text(QRectF(x + labelWidth, y_, cell.width * kUnit - labelWidth - 10,
                                   heights[i]),
                            values[i][j], value, cell.align);
                x += cell.width * kUnit;
            }
            y_ += heights[i] + 4;
        }
        y_ += 4;
        c_.p().save();
        c_.p().setPen(QPen(Qt::gray, 1));
        c_.p().drawLine(QPointF(0, y_), QPointF(c_.width(), y_));
        c_.p().restore();
        y_ += 8;
    }

    // The height of one line of text in `f` (an empty value still takes it).
    double lineHeight(const QFont& f) {
        c_.p().setFont(f);
        return c_.p().fontMetrics().height();
    }

    double labelWidthOf(const PageCell& cell, const QFont& caption) {
        if (cell.label.isEmpty())
            return 0;
        c_.p().setFont(caption);
        return c_.p().fontMetrics().horizontalAdvance(cell.label + QLatin1Char(' '));
    }

    void group(const ReportGroup& g) {
        const QString heading = layout_.groupLabel + QLatin1Char(' ') +
                                g.head.text(QStringLiteral("CODIGO")) + QStringLiteral(" - ") +
                                g.head.text(QStringLiteral("CLIENTE"));
        ensure(3 * kLine, false);
        line(heading, font(9, true), Align::Left);
        headings();
        for (const ReportRow& row : g.rows)
            tableRow(row);
        ReportRow totals;
        for (auto it = g.totals.begin(); it != g.totals.end(); ++it)
            totals.set(it.key(), it.value());
        summary(layout_.groupSummary, totals);
    }

    void summary(const QList<PageSummary>& lines, const ReportRow& row) {
        if (lines.isEmpty())
            return;
        y_ += 6;
        ensure(lines.size() * kLine, false);
        c_.rule(y_, 1);
        y_ += 8;
        const QFont f = font(9, true);
        for (const PageSummary& s : lines) {
            const QString value = formatValue(s.format, valueOf(data_, row, s.source));
            line(s.label + QLatin1Char(' ') + value, f, Align::Left);
        }
    }

    void footer() {
        const QFont f = font(7);
        const double y = c_.height() - 40;
        c_.p().save();
        c_.p().setPen(QPen(Qt::black, 1));
        c_.p().drawLine(QPointF(0, y - 6), QPointF(c_.width(), y - 6));
        c_.p().restore();
        const QDateTime now = Clock::now();
        c_.text(QRectF(0, y, c_.width() / 2, 40),
                QStringLiteral("Impresso em %1 às %2")
                    .arg(formatDate(now.date()), now.time().toString(QStringLiteral("hh:mm:ss"))),
                f);
        c_.text(QRectF(c_.width() / 2, y, c_.width() / 2, 40),
                QStringLiteral("Página nº: %1").arg(page_), f, Align::Right);
    }

    const ReportData& data_;
    const PageLayout& layout_;
    Canvas c_;
    double y_ = 0;
    int page_ = 1;
    QList<QList<double>> labelWidths_;  // per card line and cell, measured once
    QList<double> widths_;              // the columns', fitted to this report
    double columnPoints_ = kColumnPoints;
};

// ---- the service order ------------------------------------------------------

struct Caption {
    QString label;
    QString value;
    double share;  // of the block's width
};

void captionRow(Canvas& c, double& y, const QList<Caption>& row) {
    const QFont caption = font(8, true);
    const QFont value = font(8);
    double h = 0;
    for (const Caption& cap : row) {
        c.p().setFont(caption);
        const double lw = c.p().fontMetrics().horizontalAdvance(cap.label + QLatin1Char(' '));
        h = qMax(h, c.heightOf(shown(cap.value), value, c.width() * cap.share - lw - 10));
    }
    double x = 0;
    for (const Caption& cap : row) {
        c.p().setFont(caption);
        const double lw = c.p().fontMetrics().horizontalAdvance(cap.label + QLatin1Char(' '));
        c.text(QRectF(x, y, lw, h), cap.label, caption);
        c.text(QRectF(x + lw, y, c.width() * cap.share - lw - 10, h), shown(cap.value), value);
        x += c.width() * cap.share;
    }
    y += h + 10;
}

// "Pague com PIX – R$ 146,25" over the code, in `area`.
void pixCode(Canvas& c, const QRectF& area, const QString& payload) {
    const QrCode code = encodeQr(payload);
    if (code.isNull())
        return;
    // The caption on one line, as wide as it needs round the code's centre,
    // kept on the page.
    const QString caption = pix::caption(payload);
    c.p().setFont(font(8, true));
    const double needed = c.p().fontMetrics().horizontalAdvance(caption) + 8;
    const double width = qMax(area.width(), needed);
    const double left = qBound(0.0, area.center().x() - width / 2, qMax(0.0, c.width() - width));
    c.text(QRectF(left, area.top(), width, kLine), caption, font(8, true), Align::Center);
    paintQr(c.p(), QRectF(area.left(), area.top() + kLine, area.width(), area.height() - kLine),
            code);
}

// The document's title band, its number at the right and its rows of
// captions; returns where the rows end.
double documentHead(Canvas& c, const ReportData& data, const DocumentLayout& l, double top) {
    double y = top + titleBand(c, data, l.title, top);
    c.text(QRectF(0, top, c.width(), kLine),
           l.number.caption + QLatin1Char(' ') + l.number.pageText(), font(10, true), Align::Right);
    c.rule(y);
    y += 14;
    for (const DocumentRow& row : l.rows) {
        QList<Caption> captions;
        for (const DocumentField& f : row)
            captions.append({f.caption, f.pageText(), f.share});
        captionRow(c, y, captions);
    }
    return y;
}

void orderCopy(Canvas& c, const ReportData& data, double top, double height, const QString& mark) {
    const DocumentLayout l = serviceOrderLayout(data.record);
    double y = documentHead(c, data, l, top);
    c.text(QRectF(0, y, c.width(), kLine), l.notes.caption, font(8, true));
    y += kLine;
    const double bottom = top + height;
    const double notesHeight = qMax(120.0, bottom - y - 190);
    // The PIX code at the right of the notes, as large as they are high.
    const double qrSide = l.pixPayload.isEmpty() ? 0 : qMin(notesHeight, 360.0);
    const double notesWidth = qrSide > 0 ? c.width() - qrSide - 20 : c.width();
    c.p().drawRect(QRectF(0, y, notesWidth, notesHeight));
    c.text(QRectF(12, y + 8, notesWidth - 24, notesHeight - 16), l.notes.pageText(), font(8));
    if (qrSide > 0)
        pixCode(c, QRectF(c.width() - qrSide, y, qrSide, notesHeight), l.pixPayload);
    y += notesHeight + 40;
    c.text(QRectF(0, y, c.width() / 2, kLine),
           QStringLiteral("NÃO TRANSPORTAMOS VALORES EM ESPÉCIE"), font(9, true));
    c.p().drawLine(QPointF(c.width() * 0.55, y), QPointF(c.width(), y));
    c.text(QRectF(c.width() * 0.55, y + 6, c.width() * 0.45, kLine),
           QStringLiteral("ASSINATURA E CARIMBO"), font(8), Align::Center);
    c.text(QRectF(0, bottom - kLine, c.width(), kLine), mark, font(8, true), Align::Right);
}

void receiptCopy(Canvas& c, const ReportData& data, double top, double height) {
    const DocumentLayout l = receiptLayout(data.record);
    const double y = documentHead(c, data, l, top);
    const double line = qMax(y + 60, top + height - 2 * kLine);
    // The PIX code on the left, beside the signature.
    if (!l.pixPayload.isEmpty()) {
        const double side = qMin(360.0, top + height - y);
        pixCode(c, QRectF(0, y, qMin(side, c.width() * 0.4), side), l.pixPayload);
    }
    c.p().drawLine(QPointF(c.width() * 0.5, line), QPointF(c.width(), line));
    c.text(QRectF(c.width() * 0.5, line + 6, c.width() * 0.5, kLine),
           QStringLiteral("ASSINATURA DO RESPONSÁVEL"), font(8), Align::Center);
}

}  // namespace

void PageWriter::setUpReceipt(QPrinter* printer, bool twoCopies) {
    if (twoCopies) {
        printer->setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                           QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
        return;
    }
    const QPageSize sheet(QSizeF(215.9, 140), QPageSize::Millimeter, QStringLiteral("Recibo"));
    printer->setPageLayout(QPageLayout(sheet, QPageLayout::Portrait, QMarginsF(10, 10, 8, 10),
                                       QPageLayout::Millimeter));
}

void PageWriter::renderReceipt(const ReportData& data, QPrinter* printer) {
    Canvas c(printer);
    if (!data.twoCopies) {
        receiptCopy(c, data, 0, c.height());
        return;
    }
    const double half = c.height() / 2;
    receiptCopy(c, data, 0, half - 40);
    c.p().save();
    c.p().setPen(QPen(Qt::gray, 2, Qt::DashLine));
    c.p().drawLine(QPointF(0, half), QPointF(c.width(), half));
    c.p().restore();
    receiptCopy(c, data, half + 40, half - 40);
}

QStringList PageWriter::companyLines(const CompanyHeader& c) {
    if (c.razaoSocial.trimmed().isEmpty())
        return {QString(), QString(), QString(), QString(), QString()};
    return {c.nomeFan, c.endereco1, c.bairro1 + " - " + c.cidade1 + " - " + c.uf1,
            c.cep1 + " - Telefone : (" + c.ddd1 + ") - " + c.telefone1 + " / " + c.telefone2,
            "Site : " + c.site + " - e-mail : " + c.email};
}

double PageWriter::smallestTextPoints() {
    return smallestPoints();
}

void PageWriter::resetSmallestTextPoints() {
    smallestPoints() = 1e9;
}

double PageWriter::widestRowOfColumns() {
    return lastColumnsWidth();
}

double PageWriter::printableWidth() {
    return lastPageWidth();
}

void PageWriter::setUp(QPrinter* printer, const PageLayout& layout) {
    const QPageSize size = layout.customMm.isEmpty()
                               ? QPageSize(layout.paper)
                               : QPageSize(layout.customMm, QPageSize::Millimeter);
    printer->setPageLayout(
        QPageLayout(size, layout.orientation, layout.marginsMm, QPageLayout::Millimeter));
}

void PageWriter::render(const ReportData& data, const PageLayout& layout, QPrinter* printer) {
    ReportPainter(data, layout, printer).run();
}

void PageWriter::setUpServiceOrder(QPrinter* printer, bool twoCopies) {
    printer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                       QMarginsF(twoCopies ? 8 : 5, 10, 8, 10),
                                       QPageLayout::Millimeter));
}

void PageWriter::renderServiceOrder(const ReportData& data, QPrinter* printer) {
    Canvas c(printer);
    if (!data.twoCopies) {
        orderCopy(c, data, 0, c.height(), QStringLiteral("1º via cliente / 2º via fornecedor"));
        return;
    }
    // Two copies on one sheet, a cutting line between them.
    const double half = c.height() / 2;
    orderCopy(c, data, 0, half - 40, QStringLiteral("1ª via cliente"));
    c.p().save();
    c.p().setPen(QPen(Qt::gray, 2, Qt::DashLine));
    c.p().drawLine(QPointF(0, half), QPointF(c.width(), half));
    c.p().restore();
    orderCopy(c, data, half + 40, half - 40, QStringLiteral("2ª via fornecedor"));
}

}  // namespace quelvarino
