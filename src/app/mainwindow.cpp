#include "app/mainwindow.h"

#include "app/newsdownload.h"
#include "app/newspanel.h"
#include "app/workfolders.h"
#include "core/clock.h"
#include "core/dateformat.h"
#include "data/datafolder.h"
#include "reports/reportcatalog.h"
#include "widgets/application.h"
#include "widgets/fields.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"
#include "widgets/screen.h"
#include "widgets/testseams.h"

#include <pwd.h>
#include <unistd.h>
#include <QCloseEvent>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMenuBar>
#include <QMouseEvent>
#include <QNetworkInformation>
#include <QNetworkProxyFactory>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QRadioButton>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QStringDecoder>
#include <QSysInfo>
#include <QTextStream>
#include <QTimer>
#include <QToolTip>
#include <QVBoxLayout>

namespace quelvarino {

TQuelvarino000_0* Quelvarino000_0 = nullptr;

namespace {

QString fixedShortDateFormat;

// The background of the main window: drawn, so the program needs no
// picture files to look finished.
class Background : public QWidget {
public:
    explicit Background(QWidget* parent) : QWidget(parent) { setObjectName("Image1"); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        QLinearGradient g(0, 0, 0, height());
        g.setColorAt(0, QColor(0x1f, 0x3b, 0x5c));
        g.setColorAt(1, QColor(0x5b, 0x86, 0xb5));
        p.fillRect(rect(), g);
        p.setPen(QColor(255, 255, 255, 40));
        QFont f = font();
        f.setPointSize(36);
        f.setBold(true);
        p.setFont(f);
        const QRect band(0, height() * 45 / 100, width(), height() * 15 / 100);
        p.drawText(band, Qt::AlignCenter, QStringLiteral("Quelvarino Basic"));
    }
};

// A news picture: shows its image and opens the maker's site on a click.
class Picture : public QLabel {
public:
    Picture(const QString& name, QWidget* parent) : QLabel(parent) {
        setObjectName(name);
        setFixedSize(193, 81);
        setCursor(Qt::PointingHandCursor);
        setFrameShape(QFrame::Panel);
        setFrameShadow(QFrame::Sunken);
        setScaledContents(true);
        setStyleSheet("background: rgba(255,255,255,40);");
    }

protected:
    void mouseReleaseEvent(QMouseEvent* e) override {
        const QString site = TQuelvarino000_0::makerSite();
        if (e->button() == Qt::LeftButton && !site.isEmpty())
            UrlOpener::open(QUrl::fromUserInput(site));
    }
};

class HintDelayStyle : public QProxyStyle {
public:
    int styleHint(StyleHint hint,
                  const QStyleOption* option,
                  const QWidget* widget,
                  QStyleHintReturn* data) const override {
        if (hint == QStyle::SH_ToolTip_WakeUpDelay)
            return 100;
        return QProxyStyle::styleHint(hint, option, widget, data);
    }
};

// The kind of connection the system reports; unknown where it cannot tell.
TransportKind systemTransport() {
    if (!QNetworkInformation::instance())
        QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::TransportMedium);
    const QNetworkInformation* info = QNetworkInformation::instance();
    if (!info)
        return TransportKind::Unknown;
    switch (info->transportMedium()) {
        case QNetworkInformation::TransportMedium::Ethernet:
        case QNetworkInformation::TransportMedium::WiFi:
            return TransportKind::Lan;
        case QNetworkInformation::TransportMedium::Cellular:
            return TransportKind::Cellular;
        default:
            return TransportKind::Unknown;
    }
}

bool systemProxyConfigured(const QString& address) {
    const QList<QNetworkProxy> proxies =
        QNetworkProxyFactory::systemProxyForQuery(QNetworkProxyQuery(QUrl(address)));
    return !proxies.isEmpty() && proxies.first().type() != QNetworkProxy::NoProxy;
}

QString loggedOnUser() {
    if (const passwd* pw = ::getpwuid(::getuid()))
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER");
}

// The maker's text may come in the old single-byte code page.
QString decodeNewsText(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    if (!utf8.hasError())
        return text;
    QStringDecoder cp1252("windows-1252");
    return cp1252.isValid() ? QString(cp1252(bytes)) : QString::fromLatin1(bytes);
}

QString sentenceCase(const QString& caption) {
    return caption.left(1).toUpper() + caption.mid(1).toLower();
}

}  // namespace

void installProgramStyle() {
    if (dynamic_cast<HintDelayStyle*>(QApplication::style()))
        return;
    QApplication::setStyle(new HintDelayStyle);
    // A new style brings its own palettes: the browse state is made readable
    // after it.
    installReadableBrowseState();
}

QString TQuelvarino000_0::makerName() {
    return QStringLiteral("Quelvarino Sistemas");
}

QString TQuelvarino000_0::makerSite() {
    return Quelvarino000_0 ? Quelvarino000_0->site_ : QString();
}

QString TQuelvarino000_0::workstationShortDateFormat() {
    if (!fixedShortDateFormat.isEmpty())
        return fixedShortDateFormat;
    QString name;
    for (const char* var : {"LC_ALL", "LC_TIME", "LANG"}) {
        name = qEnvironmentVariable(var);
        if (!name.isEmpty())
            break;
    }
    name = name.section(QLatin1Char('.'), 0, 0).section(QLatin1Char('@'), 0, 0);
    const QLocale locale =
        (name.isEmpty() || name == QLatin1String("C") || name == QLatin1String("POSIX"))
            ? QLocale::c()
            : QLocale(name);
    return locale.dateFormat(QLocale::ShortFormat);
}

void TQuelvarino000_0::setShortDateFormatForTest(const QString& format) {
    fixedShortDateFormat = format;
}

TQuelvarino000_0::TQuelvarino000_0(QWidget* parent)
    : QMainWindow(parent,
                  Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                      Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint) {
    Quelvarino000_0 = this;
    setObjectName(QStringLiteral("Quelvarino000_0"));
    setWindowTitle(
        QStringLiteral("Quelvarino Basic - Sistema para Controle de Empresa de MotoBoy"));
    resize(801, 601);
    move(0, 0);
    buildMenu();
    buildCentral();
    buildStatusBar();
    timer_ = new QTimer(this);
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(100);
    connect(timer_, &QTimer::timeout, this, &TQuelvarino000_0::Timer1Timer);
    timer_->start();
    Timer1Timer();
    FormCreate();
}

QAction* TQuelvarino000_0::addEntry(QMenu* menu,
                                    const QString& caption,
                                    const QString& component,
                                    const QString& hint,
                                    const QString& screen,
                                    const QString& focus) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(component);
    const QString tip = hint.isEmpty() ? sentenceCase(caption) : hint;
    action->setStatusTip(tip);
    action->setToolTip(tip);
    if (!screen.isEmpty()) {
        connect(action, &QAction::triggered, this, [screen, focus] {
            guarded([&] {
                QWidget* w = Screens::find(screen);
                if (auto* s = qobject_cast<Screen*>(w)) {
                    s->showScreen(focus);
                } else if (w) {
                    w->show();
                    w->raise();
                    w->activateWindow();
                }
            });
        });
    }
    actions_.insert(component, action);
    return action;
}

QAction* TQuelvarino000_0::menuAction(const QString& componentName) const {
    return actions_.value(componentName);
}

void TQuelvarino000_0::buildMenu() {
    QMenuBar* bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    const auto menu = [bar](const QString& caption, const char* name) {
        QMenu* m = bar->addMenu(caption);
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };
    QMenu* cadastro = menu(QStringLiteral("Cadastro"), "Cadastro1");
    addEntry(cadastro, "Clientes", "Clientes1", "Cadastro de clientes", "Quelvarino0011_0", "");
    addEntry(cadastro, "Motociclista", "Motociclista1", "Cadastro de motociclista",
             "Quelvarino0012_0", "");
    addEntry(cadastro, "Despesas", "Despesas1", "Cadastro de despesas", "Quelvarino0013_0", "");
    cadastro->addSeparator();
    addEntry(cadastro, "Parametros Iniciais", "ParametrosIniciais1", "", "Quelvarino0014_0",
             "Edsenha");

    QMenu* emissao = menu(QStringLiteral("Emissão"), "Emisso1");
    addEntry(emissao, "Ordem de Serviço", "OrdemdeServio1", "Emissão de ordem de serviço",
             "Quelvarino0021_0", "");
    addEntry(emissao, "Recibo do Cliente", "Recibodocliente1", "Emissão de recibo do cliente",
             "Quelvarino0022_0", "");

    QMenu* despesas = menu(QStringLiteral("Despesas"), "Despesas2");
    addEntry(despesas, "Despesas do Motoboy", "DespesasdoMotoboy1", "", "Quelvarino0031_0", "");

    QMenu* relatorios = menu(QStringLiteral("Relatórios"), "Relatrios1");
    for (const ReportDefinition& report : ReportCatalog::entries()) {
        if (report.kind == ReportKind::Menu)
            addEntry(relatorios, report.menu.text, report.menu.name, report.menu.hint,
                     report.requester, report.menu.focus);
    }
    relatorios->addSeparator();
    addEntry(relatorios, "Painel Gerencial", "PainelGerencial1",
             "Gráficos do faturamento, dos clientes, das horas e do custo dos motoboys",
             "Quelvarino0049_0", "Eddata1");

    QMenu* sair = menu(QStringLiteral("Sair"), "Sair1");
    QAction* leave = addEntry(sair, "Abandonar o Sistema", "AbandonaroSistema1", "", "", "");
    connect(leave, &QAction::triggered, this, &QWidget::close);
    sair->addSeparator();
    addEntry(sair, "Dados da Empresa", "DadosdaEmpres1", "", "Quelvarino00Emp_0", "");
    sair->addSeparator();
    addEntry(sair, "Descrição dos Módulos do Sistema", "DescriodosMdulosdoSistema1", "",
             "Quelvarino00Sbr_0", "");

    guardedMenus_ = {cadastro, emissao, despesas, relatorios};
    for (QMenu* m : guardedMenus_)
        m->menuAction()->setEnabled(false);

    for (QMenu* m : {cadastro, emissao, despesas, relatorios, sair}) {
        connect(m, &QMenu::hovered, this, [this](QAction* a) {
            if (!panels_.isEmpty())
                panels_[0]->setText(a->statusTip());
        });
    }
}

void TQuelvarino000_0::buildCentral() {
    auto* background = new Background(this);
    setCentralWidget(background);
    auto* outer = new QVBoxLayout(background);
    outer->setContentsMargins(12, 12, 12, 12);

    auto* info = new QGroupBox(QStringLiteral("  Informações Local  "), background);
    info->setObjectName(QStringLiteral("GroupBox1"));
    info->setStyleSheet(
        "QGroupBox { background: rgba(255,255,255,215); border: 1px solid #8aa; "
        "border-radius: 4px; margin-top: 10px; font-weight: bold; }"
        "QGroupBox::title { subcontrol-origin: margin; left: 8px; padding: 0 4px; }");
    auto* grid = new QGridLayout(info);
    auto addField = [&](int row, int col, const QString& label, QWidget* field) {
        auto* l = new QLabel(label, info);
        grid->addWidget(l, row, col);
        grid->addWidget(field, row, col + 1);
    };
    auto readOnly = [info](const QString& name) {
        auto* e = new QLineEdit(info);
        e->setObjectName(name);
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);  // shown, never typed in
        return e;
    };
    addField(0, 0, QStringLiteral(" Número da sua conexão web (IP) : "), readOnly("Ed_IpW"));
    addField(1, 0, QStringLiteral(" Seu IP. (Local) : "), readOnly("Ed_Ip"));
    addField(2, 0, QStringLiteral("Tipo de Conex. : "), readOnly("Ed_Tip"));
    auto* ci = new QWidget(info);
    auto* ciLayout = new QHBoxLayout(ci);
    ciLayout->setContentsMargins(0, 0, 0, 0);
    auto* on = new QRadioButton(QStringLiteral("On"), ci);
    on->setObjectName(QStringLiteral("Ed_1"));
    auto* off = new QRadioButton(QStringLiteral("Off"), ci);
    off->setObjectName(QStringLiteral("Ed_2"));
    on->setEnabled(false);
    off->setEnabled(false);
    ciLayout->addWidget(on);
    ciLayout->addWidget(off);
    ciLayout->addStretch();
    addField(3, 0, QStringLiteral("  CI :  "), ci);
    addField(0, 2, QStringLiteral(" Nome da Máquina : "), readOnly("Ed_Maq"));
    addField(1, 2, QStringLiteral(" Máquina Logada com Úsuario : "), readOnly("Ed_Usu"));
    edDat_ = new MaskEdit(QStringLiteral("99/99/9999;1;_"), info);
    edDat_->setObjectName(QStringLiteral("Ed_Dat"));
    edDat_->setReadOnly(true);
    edDat_->setFocusPolicy(Qt::NoFocus);
    addField(2, 2, QStringLiteral(" Data : "), edDat_);
    edTexto_ = new QPlainTextEdit(info);
    edTexto_->setObjectName(QStringLiteral("Ed_Texto"));
    edTexto_->setReadOnly(true);
    edTexto_->setMaximumHeight(90);
    grid->addWidget(edTexto_, 4, 0, 1, 4);
    outer->addWidget(info);
    outer->addStretch();

    auto* pictures = new QGridLayout;
    pictures->setSpacing(12);
    for (int i = 0; i < 6; ++i) {
        auto* p = new Picture(QStringLiteral("Image%1").arg(i + 2), background);
        pictures->addWidget(p, i / 3, i % 3);
        pictures_.append(p);
    }
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addLayout(pictures);
    row->addStretch();
    outer->addLayout(row);
}

void TQuelvarino000_0::loadPictures() {
    // Pictures and news text kept from the last download; a missing or
    // unreadable file, or one larger than news can be, leaves its place
    // blank, without a word.
    const QString folder = DataFolder::pristineFolder();
    for (int i = 0; i < pictures_.size(); ++i) {
        const QString file = folder + QStringLiteral("/%1.jpg").arg(i + 1);
        const QImage picture = NewsDownload::readPicture(file);
        if (!picture.isNull())
            pictures_[i]->setPixmap(QPixmap::fromImage(picture));
        else
            pictures_[i]->clear();
    }
    QFile text(folder + QLatin1Char('/') + newsTextFile_);
    edTexto_->clear();
    if (text.open(QIODevice::ReadOnly) && text.size() <= NewsDownload::largestFile(newsTextFile_)) {
        const QString all = decodeNewsText(text.readAll());
        QStringList lines = all.split(QLatin1Char('\n'));
        if (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();  // the file's last line ends like the others
        for (QString line : lines) {
            if (line.endsWith(QLatin1Char('\r')))
                line.chop(1);
            edTexto_->appendPlainText(line);
        }
        edTexto_->moveCursor(QTextCursor::Start);
    }
}

void TQuelvarino000_0::startNews() {
    // What the workstation knows of itself is shown at once; the network
    // steps run beside the window and fill in the rest when they end.
    findChild<QLineEdit*>(QStringLiteral("Ed_Maq"))->setText(QSysInfo::machineHostName().left(15));
    findChild<QLineEdit*>(QStringLiteral("Ed_Usu"))->setText(loggedOnUser());
    const std::optional<NewsConfig> config = NewsConfig::load();
    newsTextFile_ = config ? config->textFile : NewsConfig::defaultTextFile();
    site_ = config ? config->site : QString();
    probeAddress_ = config && !config->probes.isEmpty() ? config->probes.first() : QString();
    loadPictures();
    news_ = new NewsPanel(this);
    connect(news_, &NewsPanel::connectionChecked, this, &TQuelvarino000_0::showConnection);
    connect(news_, &NewsPanel::downloaded, this, &TQuelvarino000_0::loadPictures);
    connect(news_, &NewsPanel::failed, this, [](const QString& text) { MessageBox::error(text); });
    news_->start(config, DataFolder::pristineFolder());
}

void TQuelvarino000_0::showConnection(const NewsDownload::Connection& c) {
    findChild<QLineEdit*>(QStringLiteral("Ed_Ip"))->setText(c.localAddress);
    if (!c.probed)
        return;
    auto* tip = findChild<QLineEdit*>(QStringLiteral("Ed_Tip"));
    findChild<QRadioButton*>(c.online ? QStringLiteral("Ed_1") : QStringLiteral("Ed_2"))
        ->setChecked(true);
    findChild<QLineEdit*>(QStringLiteral("Ed_IpW"))
        ->setText(c.online ? c.publicAddress : QString());
    if (!c.online) {
        tip->setText(QStringLiteral("Não existe conexão"));
        return;
    }
    const QString kind =
        connectionKindText(systemTransport(), systemProxyConfigured(probeAddress_));
    if (!kind.isEmpty())
        tip->setText(kind);
}

bool TQuelvarino000_0::newsRunning() const {
    return news_ && news_->running();
}

void TQuelvarino000_0::buildStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    bar->setSizeGripEnabled(false);
    const int widths[5] = {300, 150, 90, 80, 150};
    const Qt::Alignment align[5] = {Qt::AlignRight | Qt::AlignVCenter, Qt::AlignCenter,
                                    Qt::AlignCenter, Qt::AlignCenter,
                                    Qt::AlignLeft | Qt::AlignVCenter};
    for (int i = 0; i < 5; ++i) {
        auto* panel = new QLabel(bar);
        panel->setObjectName(QStringLiteral("StatusBar1_Panel%1").arg(i));
        panel->setAlignment(align[i]);
        panel->setMinimumWidth(widths[i]);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        bar->addWidget(panel, i == 0 ? 1 : 0);
        panels_.append(panel);
    }
    panels_[1]->setText(makerName());
    panels_[4]->setText(QStringLiteral("Versão Basic 1.0 NET"));
}

void TQuelvarino000_0::FormCreate() {
    for (const QString& failure : prepareWorkFolders(DataFolder::path()))
        MessageBox::information(failure);
    startNews();
}

void TQuelvarino000_0::FormActivate() {
    const QDate today = Clock::today();
    const QString date = today.toString(QStringLiteral("dd/MM/yyyy"));
    panels_[2]->setText(date);
    edDat_->setText(date);
    if (!shortDateFormatAccepted(today, workstationShortDateFormat())) {
        guardFailed_ = true;
        MessageBox::show(QStringLiteral("ATENÇÃO !!!"),
                         QStringLiteral("A formatação da data exigida pelo sistema está "
                                        "incompativel com a configurada no seu sistema "
                                        "operacional. Formato exigido da data \"dd/mm/aaaa\"."),
                         QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok);
        close();
        return;
    }
    for (QMenu* m : guardedMenus_)
        m->menuAction()->setEnabled(true);
    // Hints come up quickly, on the colour of the buttons.
    QPalette tips = QToolTip::palette();
    tips.setColor(QPalette::ToolTipBase, palette().color(QPalette::Button));
    QToolTip::setPalette(tips);
    installProgramStyle();
}

void TQuelvarino000_0::Timer1Timer() {
    if (panels_.size() > 3)
        panels_[3]->setText(Clock::now().toString(QStringLiteral("hh:mm:ss")));
}

bool TQuelvarino000_0::event(QEvent* event) {
    if (event->type() == QEvent::StatusTip) {
        if (!panels_.isEmpty())
            panels_[0]->setText(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    if (event->type() == QEvent::WindowActivate && !guardFailed_)
        guarded([this] { FormActivate(); });
    return QMainWindow::event(event);
}

void TQuelvarino000_0::closeEvent(QCloseEvent* event) {
    // Leaving the program with an edit left open on a screen: asked first.
    QStringList pending;
    for (QWidget* w : Screens::all()) {
        auto* screen = qobject_cast<Screen*>(w);
        if (screen && screen->isVisible() && screen->hasPendingEdit())
            pending.append(screen->windowTitle().trimmed());
    }
    if (!pending.isEmpty() &&
        !MessageBox::confirm(QStringLiteral("Há inclusões ou alterações que ainda não foram "
                                            "gravadas: %1.\n\nDeseja sair do sistema e "
                                            "abandoná-las?")
                                 .arg(pending.join(QStringLiteral(", "))))) {
        event->ignore();
        return;
    }
    event->accept();
    emit closed();
}

}  // namespace quelvarino
