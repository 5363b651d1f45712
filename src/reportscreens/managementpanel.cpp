#include "reportscreens/managementpanel.h"

#include "core/clock.h"
#include "core/dates.h"
#include "core/errors.h"
#include "core/money.h"
#include "core/reporttotals.h"
#include "data/datafolder.h"
#include "reports/pagewriter.h"
#include "reports/reportdata.h"
#include "reports/reportlayout.h"
#include "reports/xlsxwriter.h"
#include "widgets/application.h"
#include "widgets/fields.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"
#include "widgets/testseams.h"
#include "widgets/toolbar.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QCursor>
#include <QFileDialog>
#include <QGraphicsScene>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHorizontalBarSeries>
#include <QHorizontalStackedBarSeries>
#include <QLabel>
#include <QLineSeries>
#include <QPainter>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStackedBarSeries>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>
#include <QValueAxis>
#include <cmath>

namespace quelvarino {
namespace {

// Colours that stay apart for colour-blind readers (Okabe and Ito).
const QColor kBlue(0x00, 0x72, 0xB2);
const QColor kOrange(0xE6, 0x9F, 0x00);
const QColor kGreen(0x00, 0x9E, 0x73);
const QColor kVermillion(0xD5, 0x5E, 0x00);
const QColor kSky(0x56, 0xB4, 0xE9);
const QColor kPurple(0xCC, 0x79, 0xA7);

constexpr int kSlice = 5000;  // orders read between two looks at the window
int slice = kSlice;

QBarSet* barSet(const QString& name, const QColor& colour, const QList<double>& values) {
    auto* set = new QBarSet(name);
    set->setColor(colour);
    set->setBorderColor(colour.darker(130));
    for (double v : values)
        set->append(v);
    return set;
}

QValueAxis* valueAxis(const QString& title) {
    auto* axis = new QValueAxis;
    axis->setTitleText(title);
    axis->setLabelFormat(QStringLiteral("%.0f"));
    axis->setMin(0);
    return axis;
}

// Every text of a chart at a size that reads on paper too (7 points at the
// least once printed).
QFont chartFont(int points, bool bold = false) {
    QFont f(QStringLiteral("DejaVu Sans"), points);
    f.setBold(bold);
    return f;
}

void readableAxis(QAbstractAxis* axis) {
    axis->setLabelsFont(chartFont(8));
    axis->setTitleFont(chartFont(8, true));
}

QChart* newChart(const QString& title) {
    auto* chart = new QChart;
    chart->setTitle(title);
    chart->setTitleFont(chartFont(10, true));
    chart->legend()->setFont(chartFont(8));
    chart->legend()->setVisible(true);
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setLocalizeNumbers(true);
    chart->setLocale(QLocale(QLocale::Portuguese, QLocale::Brazil));
    return chart;
}

// The exact value under the pointer, as the reports print it.
void tipOnHover(QBarSet* set,
                const QStringList& categories,
                const std::function<QString(double)>& text) {
    QObject::connect(set, &QBarSet::hovered, set, [set, categories, text](bool on, int i) {
        if (on && i >= 0 && i < set->count())
            QToolTip::showText(QCursor::pos(),
                               QStringLiteral("%1 — %2: %3")
                                   .arg(set->label(), categories.value(i), text(set->at(i))));
        else
            QToolTip::hideText();
    });
}

void setUpBars(QChart* chart,
               QAbstractBarSeries* series,
               const QStringList& categories,
               const QString& categoryTitle,
               const QString& valueTitle,
               bool horizontal = false,
               bool wholeNumbers = false) {
    chart->addSeries(series);
    QAbstractAxis* categoryAxis = nullptr;
    if (!horizontal && categories.size() > 12) {
        // Two weeks of days would be cut to "..." one label per bar: every
        // few days are named on a scale of the bars' positions instead.
        auto* scale = new QCategoryAxis;
        scale->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
        const int every = int(categories.size() + 7) / 8;
        for (int i = 0; i < categories.size(); i += every)
            scale->append(categories[i], i);
        scale->setRange(-0.5, double(categories.size()) - 0.5);
        categoryAxis = scale;
    } else {
        auto* names = new QBarCategoryAxis;
        names->append(categories);
        categoryAxis = names;
    }
    categoryAxis->setTitleText(categoryTitle);
    readableAxis(categoryAxis);
    QValueAxis* values = valueAxis(valueTitle);
    readableAxis(values);
    chart->addAxis(categoryAxis, horizontal ? Qt::AlignLeft : Qt::AlignBottom);
    chart->addAxis(values, horizontal ? Qt::AlignBottom : Qt::AlignLeft);
    series->attachAxis(categoryAxis);
    series->attachAxis(values);
    values->applyNiceNumbers();
    if (values->max() <= 0)
        values->setMax(1);
    if (wholeNumbers) {
        // Counts of orders: whole ticks only.
        values->setMax(qMax(5.0, std::ceil(values->max())));
        values->setTickType(QValueAxis::TicksDynamic);
        values->setTickAnchor(0);
        values->setTickInterval(std::ceil(values->max() / 5));
    }
}

QChart* billingChart(const PanelFigures& f) {
    QChart* chart = newChart(f.byMonth ? QStringLiteral("Faturamento por mês")
                                       : QStringLiteral("Faturamento por dia"));
    auto* series = new QStackedBarSeries;
    const QList<QPair<QString, QColor>> forms = {{QStringLiteral("À VISTA"), kBlue},
                                                 {QStringLiteral("FATURADO"), kOrange},
                                                 {QStringLiteral("OUTROS"), kGreen}};
    const QList<double>* values[3] = {&f.cash, &f.invoiced, &f.others};
    for (int i = 0; i < 3; ++i) {
        QBarSet* set = barSet(forms[i].first, forms[i].second, *values[i]);
        tipOnHover(set, f.buckets, panelMoney);
        series->append(set);
    }
    setUpBars(chart, series, f.buckets, f.byMonth ? QStringLiteral("Mês") : QStringLiteral("Dia"),
              QStringLiteral("R$"));
    return chart;
}

QChart* clientsChart(const PanelFigures& f) {
    QChart* chart = newChart(QStringLiteral("Os dez clientes de maior faturamento"));
    QStringList names;
    QList<double> values;
    // Highest at the top: a horizontal chart draws its first category lowest.
    // The amount written as money beside each name: a bar's own label
    // would print the bare number ("537,5").
    for (auto it = f.topClients.crbegin(); it != f.topClients.crend(); ++it) {
        names.append(QStringLiteral("%1 %2 %3")  // codes keep it unique
                         .arg(it->code, it->name.left(18).trimmed(), panelMoney(it->billing)));
        values.append(it->billing);
    }
    auto* series = new QHorizontalBarSeries;
    QBarSet* set = barSet(QStringLiteral("Faturamento"), kBlue, values);
    tipOnHover(set, names, panelMoney);
    series->append(set);
    setUpBars(chart, series, names, QStringLiteral("Cliente"), QStringLiteral("Valor das OS (R$)"),
              true);
    return chart;
}

QChart* hoursChart(const PanelFigures& f) {
    QChart* chart = newChart(QStringLiteral("Horas trabalhadas por motoboy"));
    QStringList names;
    QList<double> normal, fifty, hundred;
    // Lying bars, the names whole beside them; the first courier at the top
    // (a horizontal chart draws its first category lowest).
    for (auto c = f.couriers.crbegin(); c != f.couriers.crend(); ++c) {
        names.append(c->code + QStringLiteral(" - ") + c->name.left(24).trimmed());
        normal.append(double(c->normal) / 60.0);
        fifty.append(double(c->fifty) / 60.0);
        hundred.append(double(c->hundred) / 60.0);
    }
    auto* series = new QHorizontalStackedBarSeries;
    const auto hours = [](double h) { return panelHours(h * 60.0); };
    const QList<double>* values[3] = {&normal, &fifty, &hundred};
    const QList<QPair<QString, QColor>> bands = {{QStringLiteral("Normal"), kSky},
                                                 {QStringLiteral("50 %"), kOrange},
                                                 {QStringLiteral("100 %"), kVermillion}};
    for (int i = 0; i < 3; ++i) {
        QBarSet* set = barSet(bands[i].first, bands[i].second, *values[i]);
        tipOnHover(set, names, hours);
        series->append(set);
    }
    setUpBars(chart, series, names, QStringLiteral("Motoboy"), QStringLiteral("Horas"), true);
    return chart;
}

QLineSeries* line(const QString& name,
                  const QColor& colour,
                  const QList<double>& values,
                  const QStringList& months) {
    auto* series = new QLineSeries;
    series->setName(name);
    QPen pen(colour);
    pen.setWidth(3);
    series->setPen(pen);
    series->setPointsVisible(true);
    for (int i = 0; i < values.size(); ++i)
        series->append(i, values[i]);
    QObject::connect(
        series, &QLineSeries::hovered, series, [series, months](const QPointF& p, bool on) {
            const int i = int(std::lround(p.x()));
            if (on && i >= 0 && i < series->count())
                QToolTip::showText(QCursor::pos(), QStringLiteral("%1 — %2: %3")
                                                       .arg(series->name(), months.value(i),
                                                            panelMoney(series->at(i).y())));
            else
                QToolTip::hideText();
        });
    return series;
}

QChart* costChart(const PanelFigures& f) {
    QChart* chart = newChart(QStringLiteral("Custo dos motoboys e faturamento por mês"));
    QList<double> margin;
    for (int i = 0; i < f.months.size(); ++i)
        margin.append(f.monthBilling.value(i) - f.monthCost.value(i));
    QList<QLineSeries*> series = {
        line(QStringLiteral("Faturamento"), kBlue, f.monthBilling, f.months),
        line(QStringLiteral("Custo dos motoboys"), kVermillion, f.monthCost, f.months),
        line(QStringLiteral("Margem"), kGreen, margin, f.months)};
    series[2]->setPen(QPen(kGreen, 2, Qt::DashLine));
    auto* months = new QCategoryAxis;
    months->setLabelsPosition(QCategoryAxis::AxisLabelsPositionOnValue);
    for (int i = 0; i < f.months.size(); ++i)
        months->append(f.months[i], i);
    months->setRange(-0.5, qMax(0.5, double(f.months.size()) - 0.5));
    months->setTitleText(QStringLiteral("Mês"));
    readableAxis(months);
    QValueAxis* values = valueAxis(QStringLiteral("R$"));
    readableAxis(values);
    chart->addAxis(months, Qt::AlignBottom);
    chart->addAxis(values, Qt::AlignLeft);
    double low = 0, high = 1;
    for (QLineSeries* s : series) {
        chart->addSeries(s);
        s->attachAxis(months);
        s->attachAxis(values);
        for (const QPointF& p : s->points()) {
            low = qMin(low, p.y());
            high = qMax(high, p.y());
        }
    }
    values->setRange(low, high);
    values->applyNiceNumbers();
    return chart;
}

QChart* startHoursChart(const PanelFigures& f) {
    QChart* chart = newChart(QStringLiteral("Ordens de serviço pela hora de início"));
    QStringList hours;
    QList<double> counts;
    for (int h = 0; h < 24; ++h) {
        hours.append(QString::number(h));
        counts.append(f.startHours[size_t(h)]);
    }
    auto* series = new QBarSeries;
    QBarSet* set = barSet(QStringLiteral("Ordens de serviço"), kPurple, counts);
    tipOnHover(set, hours, [](double v) { return QString::number(qint64(v)); });
    series->append(set);
    setUpBars(chart, series, hours, QStringLiteral("Hora do dia"),
              QStringLiteral("Ordens de serviço"), false, true);
    return chart;
}

// A period without orders: the chart's title and what it means, never
// axes without a scale.
QChart* emptyChart(const QString& title) {
    QChart* chart = newChart(title + QStringLiteral("\n\nNenhuma ordem de serviço no período."));
    chart->legend()->setVisible(false);
    return chart;
}

// The five charts of the figures, new each time (a view and a page each
// own theirs).
QList<QChart*> makeCharts(const PanelFigures& f) {
    if (f.empty())
        return {emptyChart(f.byMonth ? QStringLiteral("Faturamento por mês")
                                     : QStringLiteral("Faturamento por dia")),
                emptyChart(QStringLiteral("Os dez clientes de maior faturamento")),
                emptyChart(QStringLiteral("Horas trabalhadas por motoboy")),
                emptyChart(QStringLiteral("Custo dos motoboys e faturamento por mês")),
                emptyChart(QStringLiteral("Ordens de serviço pela hora de início"))};
    return {billingChart(f), clientsChart(f), hoursChart(f), costChart(f), startHoursChart(f)};
}

// A chart drawn into `target` of a page at its size on paper: laid out in
// screen pixels of that size, so each font keeps its points when printed.
void paintChart(QPainter& painter, QChart* chart, const QRectF& target, double dpi) {
    const QSizeF pixels(target.width() / dpi * 96.0, target.height() / dpi * 96.0);
    QGraphicsScene scene;
    scene.addItem(chart);  // the scene owns it from here
    chart->setGeometry(QRectF(QPointF(0, 0), pixels));
    scene.setSceneRect(QRectF(QPointF(0, 0), pixels));
    scene.render(&painter, target, scene.sceneRect());
}

// The company lines, the title and the period, from `top`; returns where
// they end.
double panelHead(QPainter& painter,
                 const CompanyHeader& company,
                 const QString& period,
                 double width,
                 double top) {
    QFont bold(QStringLiteral("DejaVu Sans"), 10, QFont::Bold);
    QFont plain(QStringLiteral("DejaVu Sans"), 8);
    painter.setFont(bold);
    const double line = painter.fontMetrics().height() * 1.2;
    double y = top;
    QStringList lines = PageWriter::companyLines(company);
    lines.removeAll(QString());
    for (int i = 0; i < lines.size(); ++i) {
        painter.setFont(i == 0 ? bold : plain);
        painter.drawText(QRectF(0, y, width, line), Qt::AlignLeft, lines[i]);
        y += line;
    }
    painter.setFont(QFont(QStringLiteral("DejaVu Sans"), 14, QFont::Bold));
    painter.drawText(QRectF(0, y, width, line * 1.6), Qt::AlignHCenter,
                     QStringLiteral("PAINEL GERENCIAL"));
    y += line * 1.6;
    painter.setFont(plain);
    painter.drawText(QRectF(0, y, width, line), Qt::AlignHCenter, period);
    return y + line * 1.4;
}

}  // namespace

QString panelMoney(double value) {
    return formatValue(Format::Currency, formatMoney(value));
}

QString panelHours(double minutes) {
    return hoursText(static_cast<long long>(std::llround(minutes)));
}

TQuelvarino0049_0::TQuelvarino0049_0(QWidget* parent)
    : Screen(QStringLiteral("Quelvarino0049_0"), QStringLiteral("Painel Gerencial"), parent),
      timer_(new QTimer(this)) {
    auto* layout = new QVBoxLayout(this);
    Lbdata = makeDateLabel(this);
    auto* top = new QHBoxLayout;
    auto* box = new QGroupBox(this);
    auto* criteria = new QHBoxLayout(box);
    Eddata1 = makeMaskEdit(box, QStringLiteral("Eddata1"), QStringLiteral("!99/99/9999;1;_"));
    Eddata2 = makeMaskEdit(box, QStringLiteral("Eddata2"), QStringLiteral("!99/99/9999;1;_"));
    for (MaskEdit* e : {Eddata1, Eddata2}) {
        e->setFixedWidth(e->minimumWidth());
        dateField(e);
    }
    criteria->addWidget(new QLabel(QStringLiteral("De :"), box));
    criteria->addWidget(Eddata1);
    criteria->addWidget(new QLabel(QStringLiteral("Até :"), box));
    criteria->addWidget(Eddata2);
    auto button = [this](const char* name, const char* text, const char* hint) {
        return namedButton(this, name, text, hint);
    };
    Btn_Atualizar = button("Btn_Atualizar", "&Atualizar", "Ler os números do período");
    criteria->addWidget(Btn_Atualizar);
    Ed_Bar = new QProgressBar(box);
    Ed_Bar->setObjectName(QStringLiteral("Ed_Bar"));
    Ed_Bar->setFormat(QStringLiteral("Lendo as ordens: %p%"));
    Ed_Bar->setVisible(false);
    Ed_Bar->setMinimumWidth(240);
    criteria->addWidget(Ed_Bar);
    criteria->addStretch(1);
    top->addWidget(box, 1);
    top->addWidget(Lbdata, 0, Qt::AlignTop);
    layout->addLayout(top);

    chartsArea_ = new QWidget;
    chartsArea_->setObjectName(QStringLiteral("Graficos"));
    auto* grid = new QGridLayout(chartsArea_);
    for (int i = 0; i < 5; ++i) {
        views_[i] = new QChartView(newChart(QString()), chartsArea_);
        views_[i]->setObjectName(QStringLiteral("Chart%1").arg(i + 1));
        views_[i]->setRenderHint(QPainter::Antialiasing);
        views_[i]->setMinimumSize(420, 300);
        grid->addWidget(views_[i], i / 2, i % 2, 1, i == 4 ? 2 : 1);
    }
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setWidget(chartsArea_);
    layout->addWidget(scroll, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    Btn_Salvar = button("Btn_Salvar", "&Salvar imagem", "Salvar o painel em um arquivo PNG");
    Btn_Planilha =
        button("Btn_Planilha", "&Planilha (.xlsx)", "Os números de cada gráfico em uma planilha");
    Btn_Imprimir = button("Btn_Imprimir", "&Imprimir", "Imprimir o painel (A4 paisagem)");
    Btn_Retornar = button("Btn_Retornar", "&Retornar", "Retornar ao menu");
    for (QPushButton* b : {Btn_Salvar, Btn_Planilha, Btn_Imprimir, Btn_Retornar})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    resize(1040, 760);

    connect(Btn_Atualizar, &QPushButton::clicked, this,
            [this] { guarded([this] { Btn_AtualizarClick(); }); });
    connect(Btn_Salvar, &QPushButton::clicked, this,
            [this] { guarded([this] { Btn_SalvarClick(); }); });
    connect(Btn_Planilha, &QPushButton::clicked, this,
            [this] { guarded([this] { Btn_PlanilhaClick(); }); });
    connect(Btn_Imprimir, &QPushButton::clicked, this,
            [this] { guarded([this] { Btn_ImprimirClick(); }); });
    connect(Btn_Retornar, &QPushButton::clicked, this,
            [this] { guarded([this] { Btn_RetornarClick(); }); });
    connect(timer_, &QTimer::timeout, this, [this] { guarded([this] { readSlice(); }); });
    enterMovesOn(Eddata1);
    enterMovesOn(Eddata2);
}

TQuelvarino0049_0::~TQuelvarino0049_0() = default;

void TQuelvarino0049_0::setSliceForTests(int orders) {
    slice = orders > 0 ? orders : kSlice;
}

QChart* TQuelvarino0049_0::chart(int n) const {
    return n >= 1 && n <= 5 ? views_[n - 1]->chart() : nullptr;
}

void TQuelvarino0049_0::FormActivate() {
    Lbdata->setText(formatDate(Clock::today()));
    if (Eddata1->isBlank() && Eddata2->isBlank() && !reader_) {
        // Today's month by default, read as the panel opens.
        const QDate today = Clock::today();
        Eddata1->setText(formatDate(QDate(today.year(), today.month(), 1)));
        Eddata2->setText(formatDate(today));
        Btn_AtualizarClick();
        openingRead_ = true;  // an empty month is shown on the charts, not said
    }
}

void TQuelvarino0049_0::Btn_AtualizarClick() {
    QDate from, to;
    try {
        if (!Eddata1->isBlank() && !Eddata2->isBlank()) {
            from = parseDate(Eddata1->text());
            to = parseDate(Eddata2->text());
        }
    } catch (const ConversionError&) {
    }
    if (!from.isValid() || !to.isValid() || from > to) {
        MessageBox::warning(QStringLiteral("Intervalos inexistentes."));
        Eddata1->setFocus();
        return;
    }
    // A new period replaces the reading under way.
    openingRead_ = false;
    reader_ = std::make_unique<PanelReader>(from, to);
    Ed_Bar->setRange(0, qMax(1, reader_->total()));
    Ed_Bar->setValue(0);
    Ed_Bar->setVisible(true);
    timer_->start(0);
}

void TQuelvarino0049_0::readSlice() {
    if (!reader_) {
        timer_->stop();
        return;
    }
    bool done = false;
    try {
        done = reader_->step(slice);
    } catch (...) {
        timer_->stop();
        reader_.reset();
        Ed_Bar->setVisible(false);
        throw;
    }
    Ed_Bar->setValue(reader_->read());
    if (!done)
        return;
    timer_->stop();
    figures_ = reader_->figures();
    reader_.reset();
    Ed_Bar->setVisible(false);
    showFigures();
    if (figures_.empty() && !openingRead_)
        MessageBox::warning(QStringLiteral("Intervalos inexistentes."));
    openingRead_ = false;
}

QString TQuelvarino0049_0::periodText() const {
    return figures_.from.isValid() ? QStringLiteral("Período de : %1 até %2")
                                         .arg(formatDate(figures_.from), formatDate(figures_.to))
                                   : QString();
}

void TQuelvarino0049_0::showFigures() {
    const QList<QChart*> charts = makeCharts(figures_);
    for (int i = 0; i < 5; ++i) {
        QChart* old = views_[i]->chart();
        views_[i]->setChart(charts[i]);
        delete old;
    }
}

// The picture as the page has it: company, title and period over the
// charts, so a picture sent on is still understood.
bool TQuelvarino0049_0::saveImage(const QString& path) {
    const QPixmap charts = chartsArea_->grab();
    QImage image(charts.width(), charts.height() + 140, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setPen(Qt::black);
    const double top =
        panelHead(painter, CompanyHeader::fromStore(), periodText(), image.width(), 8);
    const QImage whole = charts.toImage();
    painter.drawImage(0, int(top), whole);
    painter.end();
    return image.copy(0, 0, image.width(), int(top) + whole.height()).save(path, "PNG");
}

void TQuelvarino0049_0::Btn_SalvarClick() {
    const QString suggestion = DataFolder::reportsFolder() + QStringLiteral("/PainelGerencial.png");
    const QString path =
        MessageBox::testMode()
            ? suggestion
            : QFileDialog::getSaveFileName(this, QStringLiteral("Salvar imagem"), suggestion,
                                           QStringLiteral("Imagem PNG (*.png)"));
    if (path.isEmpty())
        return;
    if (!saveImage(path)) {
        MessageBox::warning(QStringLiteral("Não foi possível gravar o arquivo %1. Verifique se a "
                                           "pasta existe e se há permissão de gravação e espaço "
                                           "em disco.")
                                .arg(path));
        return;
    }
    MessageBox::show(QStringLiteral("A T E N Ç Ã O"), QStringLiteral("Arquivo gerado com sucesso."),
                     QMessageBox::Question, QMessageBox::Ok, QMessageBox::Ok);
}

// The page report on A4 in portrait: the company lines, the title and
// the period, then the charts at a size their texts read at (two on the
// first page, three on the second).
void TQuelvarino0049_0::Btn_ImprimirClick() {
    const CompanyHeader company = CompanyHeader::fromStore();
    const QString period = periodText();
    const PanelFigures figures = figures_;
    PrintPreview::show(
        this, QStringLiteral("Visualização - Painel Gerencial"),
        [](QPrinter* p) {
            p->setPageSize(QPageSize(QPageSize::A4));
            p->setPageOrientation(QPageLayout::Portrait);
            p->setPageMargins(QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter);
        },
        [company, period, figures](QPrinter* p) {
            QPainter painter(p);
            const QRectF page = p->pageLayout().paintRectPixels(p->resolution());
            const double w = page.width(), h = page.height(), dpi = p->resolution();
            const QList<QChart*> charts = makeCharts(figures);
            const double top = panelHead(painter, company, period, w, 0);
            const double gap = dpi * 4 / 25.4;  // 4 mm
            const double first = (h - top - gap) / 2;
            paintChart(painter, charts[0], QRectF(0, top, w, first), dpi);
            paintChart(painter, charts[1], QRectF(0, top + first + gap, w, first), dpi);
            p->newPage();
            const double third = (h - 2 * gap) / 3;
            for (int i = 0; i < 3; ++i)
                paintChart(painter, charts[2 + i], QRectF(0, i * (third + gap), w, third), dpi);
        },
        DataFolder::reportsFolder() + QStringLiteral("/PainelGerencial.pdf"));
}

void TQuelvarino0049_0::saveSheets(const QString& path) const {
    const PanelFigures& f = figures_;
    ReportData header;
    header.company = CompanyHeader::fromStore();
    if (f.from.isValid()) {
        header.periodFrom = formatDate(f.from);
        header.periodTo = formatDate(f.to);
    }
    const auto money = [](double v) { return formatMoney(v); };
    const Format t = Format::Text, m = Format::Money, h = Format::Hours;
    SheetTable billing{
        QStringLiteral("Faturamento"),
        {f.byMonth ? QStringLiteral("Mês") : QStringLiteral("Dia"), QStringLiteral("À VISTA"),
         QStringLiteral("FATURADO"), QStringLiteral("OUTROS"), QStringLiteral("Total")},
        {t, m, m, m, m},
        {}};
    for (int i = 0; i < f.buckets.size(); ++i)
        billing.rows.append({f.buckets[i], money(f.cash[i]), money(f.invoiced[i]),
                             money(f.others[i]), money(f.cash[i] + f.invoiced[i] + f.others[i])});
    SheetTable clients{
        QStringLiteral("Clientes"),
        {QStringLiteral("Código"), QStringLiteral("Cliente"), QStringLiteral("Faturamento")},
        {t, t, m},
        {}};
    for (const PanelFigures::Client& c : f.topClients)
        clients.rows.append({c.code, c.name, money(c.billing)});
    SheetTable hours{
        QStringLiteral("Horas dos motoboys"),
        {QStringLiteral("Código"), QStringLiteral("Motoboy"), QStringLiteral("Horas normais"),
         QStringLiteral("Horas 50 %"), QStringLiteral("Horas 100 %"),
         QStringLiteral("Salário mensal"), QStringLiteral("Custo")},
        {t, t, h, h, h, m, m},
        {}};
    for (const PanelFigures::Courier& c : f.couriers)
        hours.rows.append({c.code, c.name, hoursText(c.normal), hoursText(c.fifty),
                           hoursText(c.hundred), money(c.salary), money(c.pay)});
    SheetTable cost{
        QStringLiteral("Custo e faturamento"),
        {QStringLiteral("Mês"), QStringLiteral("Faturamento"), QStringLiteral("Custo dos motoboys"),
         QStringLiteral("Salários fixos"), QStringLiteral("Margem")},
        {t, m, m, m, m},
        {}};
    for (int i = 0; i < f.months.size(); ++i)
        cost.rows.append({f.months[i], money(f.monthBilling.value(i)), money(f.monthCost.value(i)),
                          money(f.monthSalaries.value(i)),
                          money(f.monthBilling.value(i) - f.monthCost.value(i))});
    SheetTable starts{QStringLiteral("Hora de início"),
                      {QStringLiteral("Hora"), QStringLiteral("Ordens de serviço")},
                      {t, Format::Integer},
                      {}};
    for (int i = 0; i < 24; ++i)
        starts.rows.append({QStringLiteral("%1:00").arg(i, 2, 10, QLatin1Char('0')),
                            QString::number(f.startHours[size_t(i)])});
    XlsxWriter::renderTables(header, QStringLiteral("PAINEL GERENCIAL"),
                             {billing, clients, hours, cost, starts}, path);
}

void TQuelvarino0049_0::Btn_PlanilhaClick() {
    const QString suggestion =
        DataFolder::reportsFolder() + QStringLiteral("/PainelGerencial.xlsx");
    const QString path =
        MessageBox::testMode()
            ? suggestion
            : QFileDialog::getSaveFileName(this, QStringLiteral("Planilha (.xlsx)"), suggestion,
                                           QStringLiteral("Planilha (*.xlsx)"));
    if (path.isEmpty())
        return;
    saveSheets(path);  // throws with what the operator can check
    MessageBox::show(QStringLiteral("A T E N Ç Ã O"), QStringLiteral("Arquivo gerado com sucesso."),
                     QMessageBox::Question, QMessageBox::Ok, QMessageBox::Ok);
}

void TQuelvarino0049_0::Btn_RetornarClick() {
    timer_->stop();
    reader_.reset();
    Ed_Bar->setVisible(false);
    close();
}

}  // namespace quelvarino
