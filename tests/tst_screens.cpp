#include "app/mainwindow.h"
#include "app/program.h"
#include "core/clock.h"
#include "orders/accesspassword.h"
#include "orders/serviceorder.h"
#include "registers/clients.h"
#include "registers/documentfield.h"
#include "reportscreens/cashclosing.h"
#include "reportscreens/courierreports.h"
#include "settings/company.h"
#include "settings/passwords.h"
#include "testsupport.h"
#include "widgets/fieldedit.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"
#include "widgets/passwordprompt.h"
#include "widgets/screen.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <memory>

using namespace quelvarino;
using namespace operatorDoes;

namespace {

double luminance(const QColor& c) {
    auto channel = [](double v) {
        v /= 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(c.red()) + 0.7152 * channel(c.green()) + 0.0722 * channel(c.blue());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (qMax(la, lb) + 0.05) / (qMin(la, lb) + 0.05);
}

}  // namespace

// Every screen as an operator reads it: browse state legible, titles and
// Qt's own texts in Portuguese, messages that an office worker can act on.
class TestScreens : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> home;

private slots:
    void init() { QVERIFY(startProgramTest(home, QDateTime(QDate(2026, 12, 8), QTime(10, 0)))); }
    void cleanup() { endProgramTest(home); }

    // A paste longer than a field keeps what fits and says so, on every
    // field of every screen that has a limit: small letters too, which the
    // capital fields rewrite as they arrive.
    void pasteKeepsWhatFits() {
        int fields = 0;
        for (QWidget* screen : Screens::all()) {
            for (QLineEdit* e : screen->findChildren<QLineEdit*>()) {
                const int limit = typingLimit(e);
                if (limit <= 0 || e->isReadOnly() || qobject_cast<QComboBox*>(e->parentWidget()))
                    continue;  // a list's own field takes what its list has
                ++fields;
                const bool money = e->alignment() & Qt::AlignRight;
                const QString unit =
                    money ? QStringLiteral("1234567890") : QStringLiteral("referente a entregas ");
                QString pasted;
                while (pasted.size() < limit + 600)
                    pasted += unit;
                e->setEnabled(true);
                e->clear();
                QGuiApplication::clipboard()->setText(pasted);
                MessageBox::clearShownMessages();
                e->setFocus();
                QTest::keySequence(e, QKeySequence::Paste);
                QCoreApplication::processEvents();
                const QString where = screen->objectName() + "." + e->objectName();
                QVERIFY2(
                    e->text().size() <= limit,
                    qPrintable(where + QString(": %1 of %2").arg(e->text().size()).arg(limit)));
                QVERIFY2(!e->text().isEmpty(), qPrintable(where));
                QVERIFY2(lastMessage().contains("não cabe no campo"), qPrintable(where));
            }
        }
        QVERIFY2(fields > 40, qPrintable(QString::number(fields)));
    }

    // Browse state is disabled and bold, and still readable: at least 4.5:1
    // between the text and the field, on every screen.
    void browseStateIsReadable() {
        int checked = 0;
        for (QWidget* screen : Screens::all()) {
            screen->ensurePolished();  // as when it is shown
            for (QLineEdit* e : screen->findChildren<QLineEdit*>()) {
                if (e->isEnabled())
                    continue;
                const QPalette p = e->palette();
                const double ratio = contrast(p.color(QPalette::Disabled, QPalette::Text),
                                              p.color(QPalette::Disabled, QPalette::Base));
                QVERIFY2(ratio >= 4.5, qPrintable(screen->objectName() + "." + e->objectName() +
                                                  ": " + QString::number(ratio)));
                ++checked;
            }
        }
        QVERIFY(checked > 50);

        // And as drawn: the order number of the cleared order screen.
        Quelvarino000_0->menuAction("OrdemdeServio1")->trigger();
        auto* os = Screens::get<TQuelvarino0021_0>("Quelvarino0021_0");
        QVERIFY(!os->Edcomanda->isEnabled());
        const QImage image = os->Edcomanda->grab().toImage();
        QColor darkest = Qt::white;
        for (int y = 0; y < image.height(); ++y)
            for (int x = image.width() / 4; x < image.width() * 3 / 4; ++x)
                if (luminance(image.pixelColor(x, y)) < luminance(darkest))
                    darkest = image.pixelColor(x, y);
        const QColor field = image.pixelColor(image.width() - 4, image.height() / 2);
        QVERIFY2(contrast(darkest, field) >= 4.5,
                 qPrintable(darkest.name() + " on " + field.name()));
    }

    // Window titles are the captions exactly; the information and error
    // boxes carry the program's title, never its file name.
    void titlesAreExact() {
        QCOMPARE(qApp->applicationDisplayName(), qApp->applicationName());
        QCOMPARE(Quelvarino000_0->windowTitle(),
                 QString("Quelvarino Basic - Sistema para Controle de Empresa de MotoBoy"));
        MessageBox::information("Dia incorreto!");
        MessageBox::error("Falha");
        for (const auto& m : MessageBox::shownMessages())
            QCOMPARE(m.title,
                     QString("Quelvarino Basic - Sistema para Controle de Empresa de Motoboy"));
    }

    // Each screen class finds its own one screen, also where several share a
    // base (the closings, the password prompts, record and search screens),
    // and none once the screens are released.
    void screensAreFoundByTheirClass() {
        const QList<QPair<QWidget*, QString>> found = {
            {TQuelvarino0041_0::instance(), "Quelvarino0041_0"},
            {TQuelvarino0042_0::instance(), "Quelvarino0042_0"},
            {TQuelvarino0014_0::instance(), "Quelvarino0014_0"},
            {TQuelvarino0014_1::instance(), "Quelvarino0014_1"},
            {TQuelvarino0021_3::instance(), "Quelvarino0021_3"},
            {TQuelvarino0011_0::instance(), "Quelvarino0011_0"},
            {TQuelvarino0011_1::instance(), "Quelvarino0011_1"},
            {TQuelvarino0046_0::instance(), "Quelvarino0046_0"},
            {TQuelvarino00Emp_0::instance(), "Quelvarino00Emp_0"}};
        for (const auto& [screen, name] : found) {
            QVERIFY2(screen, qPrintable(name));
            QCOMPARE(screen->objectName(), name);
        }
        stopProgram();
        QVERIFY(!TQuelvarino0041_0::instance());
        QVERIFY(!TQuelvarino0014_1::instance());
        QVERIFY(startProgram(*qApp));  // for cleanup
    }

    // On a report screen Enter walks the criteria from top to bottom (a
    // lookup's code, then its "C&onsultar"; one stop per radio group) and
    // only then reaches the buttons.
    void enterWalksTheReportCriteria_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QStringList>("criteria");  // after the two dates
        const QStringList courier = {"Edcodmot"};   // past its lookup button
        QTest::newRow("0041_0") << "Quelvarino0041_0" << QStringList{"Rbavista", "Ed_Ord"};
        QTest::newRow("0042_0") << "Quelvarino0042_0"
                                << QStringList{"Edcodcli", "Rbavista", "Ed_Ord"};
        QTest::newRow("0043_0") << "Quelvarino0043_0" << courier;
        QTest::newRow("0044_0") << "Quelvarino0044_0" << courier;
        QTest::newRow("0045_0") << "Quelvarino0045_0" << courier + QStringList{"Ed_Ord"};
        QTest::newRow("0046_0") << "Quelvarino0046_0" << QStringList{};
        QTest::newRow("0047_0") << "Quelvarino0047_0" << courier + QStringList{"Ed_Ord"};
        QTest::newRow("0048_0") << "Quelvarino0048_0"
                                << QStringList{"Rbcli", "Edforma_0", "Ed_Ord"};
    }
    void enterWalksTheReportCriteria() {
        QFETCH(QString, screen);
        QFETCH(QStringList, criteria);
        auto* s = qobject_cast<Screen*>(Screens::find(screen));
        QVERIFY(s);
        s->showScreen("Eddata1");
        activate(s);
        QStringList walk;
        for (int i = 0; i < 12; ++i) {
            QWidget* f = QApplication::focusWidget();
            QVERIFY(f);
            walk << f->objectName();
            if (f->objectName() == "Btn_Imprimir")
                break;
            QTest::keyClick(f, Qt::Key_Return);
        }
        const QStringList expected =
            QStringList{"Eddata1", "Eddata2"} + criteria + QStringList{"Btn_Imprimir"};
        QCOMPARE(walk, expected);
        // Enter on Imprimir prints: with blank dates the screen refuses.
        MessageBox::clearShownMessages();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QVERIFY(!MessageBox::shownMessages().isEmpty());
    }

    void qtDialogsSpeakPortuguese() {
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QString("&Sim"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&No"), QString("&Não"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Cancelar"));
    }

    void datesStayOnOneLine_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("pattern") << "Formato exigido da data \"dd/mm/aaaa\"."
                                 << QString("Formato exigido da data \"dd/\u2060mm/\u2060aaaa\".");
        QTest::newRow("a date") << "em 08/12/2026"
                                << QString(
                                       "em 08/\u2060"
                                       "12/\u2060"
                                       "2026");
        QTest::newRow("a path keeps its breaks") << "/home/ana/Quelvarino/Relatorios"
                                                 << "/home/ana/Quelvarino/Relatorios";
    }
    void datesStayOnOneLine() {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(MessageBox::displayText(text), shown);
    }

    // The title bar's X (or the system) closing a screen in the middle of
    // an insert or edit asks first; No keeps the screen, its typing and its
    // state; Yes abandons the edit as Cancelar does. Leaving the program
    // asks the same.
    void closingDuringAnEditAsks_data() {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<QString>("screen");
        QTest::newRow("clients") << "Clientes1"
                                 << "Quelvarino0011_0";
        QTest::newRow("couriers") << "Motociclista1"
                                  << "Quelvarino0012_0";
        QTest::newRow("expense types") << "Despesas1"
                                       << "Quelvarino0013_0";
        QTest::newRow("service order") << "OrdemdeServio1"
                                       << "Quelvarino0021_0";
        QTest::newRow("receipt") << "Recibodocliente1"
                                 << "Quelvarino0022_0";
        QTest::newRow("expense entries") << "DespesasdoMotoboy1"
                                         << "Quelvarino0031_0";
        QTest::newRow("company") << "DadosdaEmpres1"
                                 << "Quelvarino00Emp_0";
    }
    void closingDuringAnEditAsks() {
        QFETCH(QString, menu);
        QFETCH(QString, screen);
        Quelvarino000_0->menuAction(menu)->trigger();
        auto* w = Screens::get<Screen>(screen);
        QVERIFY(w);
        QVERIFY2(w->isVisible(), qPrintable(screen));
        auto* begin = w->findChild<QPushButton*>("Btn_Novo");
        if (!begin || !begin->isEnabled())
            begin = w->findChild<QPushButton*>("Btn_Alterar");
        QVERIFY(begin && begin->isEnabled());
        click(begin);
        MessageBox::clearShownMessages();
        QVERIFY2(w->hasPendingEdit(), qPrintable(screen));
        QLineEdit* typed = nullptr;
        for (QLineEdit* e : w->findChildren<QLineEdit*>())
            if (e->isEnabled() && !e->isReadOnly() && e->isVisible() &&
                !qobject_cast<MaskEdit*>(e)) {
                typed = e;
                break;
            }
        QVERIFY(typed);
        typed->setText("DIGITADO");
        MessageBox::setNextAnswer(QMessageBox::No);
        w->close();
        QVERIFY(w->isVisible());
        QVERIFY(w->hasPendingEdit());
        QCOMPARE(typed->text(), QString("DIGITADO"));
        QCOMPARE(MessageBox::shownMessages().size(), 1);
        QVERIFY(MessageBox::shownMessages()[0].text.contains("ainda não foi gravada"));
        // Leaving the program asks too, naming the screen.
        MessageBox::setNextAnswer(QMessageBox::No);
        Quelvarino000_0->close();
        QVERIFY(Quelvarino000_0->isVisible());
        QVERIFY(MessageBox::shownMessages().last().text.contains(w->windowTitle().trimmed()));
        MessageBox::setNextAnswer(QMessageBox::Yes);
        w->close();
        QVERIFY(!w->isVisible());
        QVERIFY(!w->hasPendingEdit());
    }

    // Small fixed screens are wide enough for their whole title beside the
    // title bar's buttons.
    void titlesFitTheirScreens() {
        for (QWidget* w : Screens::all()) {
            auto* prompt = qobject_cast<PasswordPrompt*>(w);
            if (!prompt)
                continue;
            const int title =
                QFontMetrics(QApplication::font()).horizontalAdvance(w->windowTitle());
            QVERIFY2(w->width() >= title + PasswordPrompt::kTitleBarButtons,
                     qPrintable(w->objectName() + ": " + QString::number(w->width())));
            QVERIFY(w->width() >= 249);
        }
    }

    // The company's document too is never left without its kind and check.
    void companyDocumentTakesItsKind() {
        Quelvarino000_0->menuAction("DadosdaEmpres1")->trigger();
        auto* emp = Screens::get<TQuelvarino00Emp_0>("Quelvarino00Emp_0");
        QApplication::setActiveWindow(emp);
        QVERIFY(QTest::qWaitForWindowActive(emp));
        emp->resize(emp->sizeHint());
        QApplication::processEvents();
        const int width = emp->width();
        click(emp->Btn_Novo);
        type(emp->Ed_Razsoc, "MOTOBOY EXPRESS LTDA");
        QVERIFY(emp->Rb_Cnpj->focusPolicy() & Qt::TabFocus);
        type(emp->Ed_Cnpj, "11222333000181");
        QVERIFY(emp->Rb_Cnpj->isChecked());
        QCOMPARE(emp->Ed_Cnpj->text(), QString("11.222.333/0001-81"));
        QVERIFY(MessageBox::shownMessages().isEmpty());
        click(emp->Btn_Gravar);
        QApplication::processEvents();
        QCOMPARE(emp->width(), width);  // a save never widens the window
        Table t("tbempresa");
        t.open();
        t.first();
        QCOMPARE(t.fieldByName("CNPJ").asString(), QString("11.222.333/0001-81"));
    }

    // The company's PIX key: checked when it is left, kept as the bank
    // keeps it, refused at Gravar when printing is asked without a good
    // key; the screen shows the name and city as the code will carry them.
    void companyPixData_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");  // empty: refused
        QTest::newRow("cnpj") << "CNPJ"
                              << "11.222.333/0001-81"
                              << "11222333000181";
        QTest::newRow("mobile") << "Celular"
                                << "(11) 98765-4321"
                                << "+5511987654321";
        QTest::newRow("e-mail") << "E-mail"
                                << "Contato@Motoboy.com.br"
                                << "contato@motoboy.com.br";
        QTest::newRow("bad cpf") << "CPF"
                                 << "111.444.777-00"
                                 << "";
        QTest::newRow("landline") << "Celular"
                                  << "(11) 3333-4444"
                                  << "";
    }
    void companyPixData() {
        QFETCH(QString, kind);
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        Quelvarino000_0->menuAction("DadosdaEmpres1")->trigger();
        auto* emp = Screens::get<TQuelvarino00Emp_0>("Quelvarino00Emp_0");
        activate(emp);
        click(emp->Btn_Novo);
        QVERIFY(!emp->Cbpixtipo->isEditable());  // a choice of the list, never typed text
        type(emp->Ed_Razsoc, "MOTOBOY EXPRESS LTDA");
        emp->Cbpixtipo->setCurrentText(kind);
        type(emp->Edpixchave, typed);
        if (stored.isEmpty()) {
            QVERIFY2(lastMessage().contains("não é um"), qPrintable(lastMessage()));
            QCOMPARE(QApplication::focusWidget(), emp->Edpixchave);
        } else {
            QVERIFY2(MessageBox::shownMessages().isEmpty(), qPrintable(lastMessage()));
            QCOMPARE(emp->Edpixchave->text(), stored);
        }
        // Accented letters come as the keyboard's composed characters.
        emp->Edpixnome->setText("MOTOBOY EXPRESS SÃO JOÃO LTDA ME");
        emp->Edpixcidade->setText("SÃO JOSÉ DOS CAMPOS");
        QCOMPARE(emp->Lbpixcodigo->text(),
                 QString("No código: MOTOBOY EXPRESS SAO JOAO - SAO JOSE DOS CA"));
        emp->Ckpiximprime->setChecked(true);
        MessageBox::clearShownMessages();
        click(emp->Btn_Gravar);
        Table t("tbempresa");
        t.open();
        t.first();
        if (stored.isEmpty()) {
            QVERIFY2(lastMessage().contains("não é um"), qPrintable(lastMessage()));
            QVERIFY(t.isEmpty() || t.fieldByName("RAZAOSOCIAL").asString().isEmpty());
            click(emp->Btn_Cancel);
            return;
        }
        QVERIFY2(MessageBox::shownMessages().isEmpty(), qPrintable(lastMessage()));
        QCOMPARE(t.fieldByName("PIXTIPO").asString(), kind);
        QCOMPARE(t.fieldByName("PIXCHAVE").asString(), stored);
        QCOMPARE(t.fieldByName("PIXNOME").asString(), QString("MOTOBOY EXPRESS SÃO JOÃO LTDA ME"));
        QCOMPARE(t.fieldByName("PIXIMPRIME").asString(), QString("S"));
        // Shown again as stored.
        QCOMPARE(emp->Edpixchave->text(), stored);
        QVERIFY(emp->Ckpiximprime->isChecked());
        QVERIFY(!emp->Ckpiximprime->isEnabled());
    }

    // A wrong key is said when the field is left for another field, never
    // when it is left for Cancelar: the first click abandons the edit.
    void aWrongPixKeyNeverHoldsCancel() {
        Quelvarino000_0->menuAction("DadosdaEmpres1")->trigger();
        auto* emp = Screens::get<TQuelvarino00Emp_0>("Quelvarino00Emp_0");
        activate(emp);
        click(emp->Btn_Novo);
        emp->Cbpixtipo->setCurrentText("CPF");
        emp->Edpixchave->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(emp->Edpixchave, "111.444.777-00");
        MessageBox::clearShownMessages();
        click(emp->Btn_Cancel);
        QVERIFY2(MessageBox::shownMessages().isEmpty(), qPrintable(lastMessage()));
        QVERIFY(emp->Btn_Novo->isEnabled());  // browse state again
        QVERIFY(!emp->Btn_Cancel->isEnabled());
    }

    // The print dialog opens over the screen that asked for it.
    void printDialogOverItsScreen() {
        Quelvarino000_0->menuAction("Clientes1")->trigger();
        auto* clients = Screens::find("Quelvarino0011_0");
        clients->move(260, 180);
        activate(clients);
        click(clients->findChild<QPushButton*>("Btn_Imprimir"));
        QWidget* dialog = Screens::find("Quelvarino0011_2");
        QVERIFY(dialog && dialog->isVisible());
        // Over the screen (centred as far as the desktop lets it), never
        // off the desktop.
        const QRect over = clients->frameGeometry(), at = dialog->frameGeometry();
        const QRect room = clients->screen()->availableGeometry();
        QVERIFY2(over.contains(at.center()) && room.contains(at.topLeft()),
                 qPrintable(QString("%1,%2 %3x%4 over %5,%6 %7x%8")
                                .arg(at.x())
                                .arg(at.y())
                                .arg(at.width())
                                .arg(at.height())
                                .arg(over.x())
                                .arg(over.y())
                                .arg(over.width())
                                .arg(over.height())));
        QVERIFY(qAbs(at.center().y() - over.center().y()) < 40);
    }
};

QUELVARINO_GUI_TEST_MAIN(TestScreens)
#include "tst_screens.moc"
