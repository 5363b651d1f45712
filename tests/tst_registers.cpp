#include "app/mainwindow.h"
#include "app/program.h"
#include "core/clock.h"
#include "data/table.h"
#include "registers/clients.h"
#include "registers/couriers.h"
#include "testsupport.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <memory>

using namespace quelvarino;
using operatorDoes::activate;
using operatorDoes::store;
using operatorDoes::storedRecord;

// Clients and couriers through their real screens.
class TestRegisters : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> home;
    TQuelvarino0011_0* clients = nullptr;
    TQuelvarino0011_1* clientSearch = nullptr;
    TQuelvarino0012_0* couriers = nullptr;
    TQuelvarino0012_1* courierSearch = nullptr;

    void click(QAbstractButton* b) {
        QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(6, b->height() / 2));
    }
    // Types into a field and leaves it with Tab, as the operator does.
    void type(QWidget* field, const QString& text) {
        field->setFocus(Qt::TabFocusReason);  // arriving by Tab selects the text
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Tab);
    }
    QString lastMessage() const {
        const auto shown = MessageBox::shownMessages();
        return shown.isEmpty() ? QString() : shown.last().text;
    }
    static QMap<QString, QString> row(const QString& table, const QString& code) {
        return storedRecord(table, code);
    }
    static int count(const QString& table) {
        Table t(table);
        t.open();
        return t.recordCount();
    }
    void newClient(const QString& docRadio,
                   const QString& doc,
                   const QString& name,
                   const QString& situation = "ATIVO") {
        activate(clients);
        click(clients->Btn_Novo);
        click(clients->findChild<QRadioButton*>(docRadio));
        type(clients->Ed_Cnpj, doc);
        type(clients->Ed_Razsoc, name);
        clients->Cb_Situacli->setCurrentText(situation);
        click(clients->Btn_Gravar);
    }

private slots:
    void init() {
        QVERIFY(startProgramTest(home, QDateTime(QDate(2026, 12, 8), QTime(10, 0))));
        Quelvarino000_0->menuAction("Clientes1")->trigger();
        clients = Screens::get<TQuelvarino0011_0>("Quelvarino0011_0");
        clientSearch = Screens::get<TQuelvarino0011_1>("Quelvarino0011_1");
        couriers = Screens::get<TQuelvarino0012_0>("Quelvarino0012_0");
        courierSearch = Screens::get<TQuelvarino0012_1>("Quelvarino0012_1");
        QVERIFY(clients && clientSearch && couriers && courierSearch);
        activate(clients);
    }
    void cleanup() { endProgramTest(home); }

    void clientWithCnpjAndEveryField() {
        click(clients->Btn_Novo);
        QCOMPARE(clients->Ed_Codcli->text(), QString("000001"));
        QCOMPARE(clients->Cb_Situacli->currentText(), QString("ATIVO"));
        QVERIFY(clients->Ed_Cnpj->hasFocus());
        QVERIFY(!clients->Cb_Est[0]->isEditable());  // pick-only after Novo
        click(clients->Rb_Cnpj);
        type(clients->Ed_Cnpj, "11222333000181");
        QCOMPARE(clients->Ed_Cnpj->text(), QString("11.222.333/0001-81"));
        QVERIFY(MessageBox::shownMessages().isEmpty());
        type(clients->Ed_Inscest, "isento");
        type(clients->Ed_Razsoc, "transportes rapidos ltda");
        type(clients->Ed_Nomefan, "rapidinho");
        type(clients->Ed_Valor, "45");
        QCOMPARE(clients->Ed_Valor->text(), QString("45,00"));
        type(clients->Ed_End[0], "rua das flores, 10");
        type(clients->Ed_Bairro[0], "centro");
        type(clients->Ed_Cid[0], "sao paulo");
        clients->Cb_Est[0]->setCurrentText("SP");
        type(clients->Ed_Cep[0], "01001000");
        type(clients->Ed_Ddd[0], "011");
        type(clients->Ed_Tel_1[0], "32221111");
        clients->Cb_Tipofone_1[0]->setCurrentText("Linha");
        type(clients->Ed_Banco, "banco do brasil");
        click(clients->Btn_Gravar);

        const auto r = row("tbclientes", "000001");
        QCOMPARE(r["CNPJ"], QString("11.222.333/0001-81"));
        QCOMPARE(r["INSCREST"], QString("ISENTO"));
        QCOMPARE(r["RAZAOSOCIAL"], QString("TRANSPORTES RAPIDOS LTDA"));
        QCOMPARE(r["NOMEFAN"], QString("RAPIDINHO"));
        QCOMPARE(r["VALOR"], QString("45"));
        QCOMPARE(r["ENDERECO1"], QString("RUA DAS FLORES, 10"));
        QCOMPARE(r["UF1"], QString("SP"));
        QCOMPARE(r["CEP1"], QString("01001-000"));
        QCOMPARE(r["TELEFONE1_1"], QString("3222-1111"));
        QCOMPARE(r["TIPOTEL1_1"], QString("Linha"));
        QCOMPARE(r["TELEFONE1_2"], QString("    -    "));  // untouched mask: its blank form
        QCOMPARE(r["BANCO"], QString("BANCO DO BRASIL"));
        QCOMPARE(r["SITUACAO"], QString("ATIVO"));
        QCOMPARE(r["DATA"], QString("08/12/2026"));
        QVERIFY(!clients->Btn_Gravar->isEnabled());
        QCOMPARE(clients->Ed_Codcli->text(), QString());

        // The register's own search loads it back, money formatted.
        click(clients->Btn_Consultar);
        QCOMPARE(clientSearch->callerName(), QString("clientes"));
        QTest::keyClicks(clientSearch->Ed_Desc, "TRANS");
        click(clientSearch->Btn_Retornar);
        QCOMPARE(clients->Ed_Codcli->text(), QString("000001"));
        QCOMPARE(clients->Ed_Valor->text(), QString("45,00"));
        QCOMPARE(clients->Ed_Cnpj->text(), QString("11.222.333/0001-81"));
        QCOMPARE(clients->Cb_Est[0]->currentText(), QString("SP"));
        // Browsing, the number shows its kind.
        QVERIFY(clients->Rb_Cnpj->isChecked());
        QVERIFY(!clients->Rb_Cpf->isChecked());
    }

    void clientWithCpf() {
        newClient("Rb_Cpf", "11144477735", "MARIA DA SILVA");
        QCOMPARE(row("tbclientes", "000001")["CNPJ"], QString("111.444.777-35"));
        QVERIFY(MessageBox::shownMessages().isEmpty());
        click(clients->Btn_Consultar);
        QTest::keyClicks(clientSearch->Ed_Desc, "MARIA");
        click(clientSearch->Btn_Retornar);
        QCOMPARE(clients->Ed_Cnpj->text(), QString("111.444.777-35"));
        QVERIFY(clients->Rb_Cpf->isChecked());
        QVERIFY(!clients->Rb_Cnpj->isChecked());
    }

    void invalidDocumentsAreRefusedAndEmptied_data() {
        QTest::addColumn<QString>("radio");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("blank");
        QTest::newRow("cnpj") << "Rb_Cnpj"
                              << "11222333000182"
                              << "Número do CNPJ invalido."
                              << "  .   .   /    -  ";
        QTest::newRow("partial cnpj") << "Rb_Cnpj"
                                      << "1122233"
                                      << "Número do CNPJ invalido."
                                      << "  .   .   /    -  ";
        QTest::newRow("cpf") << "Rb_Cpf"
                             << "11144477736"
                             << "Número do CPF invalido."
                             << "   .   .   -  ";
    }
    void invalidDocumentsAreRefusedAndEmptied() {
        QFETCH(QString, radio);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        QFETCH(QString, blank);
        click(clients->Btn_Novo);
        click(clients->findChild<QRadioButton*>(radio));
        type(clients->Ed_Cnpj, typed);
        QCOMPARE(lastMessage(), message);
        QCOMPARE(MessageBox::shownMessages().last().icon, QMessageBox::Question);
        QCOMPARE(clients->Ed_Cnpj->text(), blank);
        QVERIFY(clients->Ed_Cnpj->hasFocus());
    }

    void choosingCpfEmptiesTheDocument() {
        click(clients->Btn_Novo);
        click(clients->Rb_Cnpj);
        clients->Ed_Cnpj->setFocus();
        QTest::keyClicks(clients->Ed_Cnpj, "11222333000181");
        click(clients->Rb_Cpf);
        QCOMPARE(clients->Ed_Cnpj->text(), QString("   .   .   -  "));
    }

    void duplicateDocumentLoadsTheExistingClient() {
        newClient("Rb_Cnpj", "11222333000181", "PRIMEIRA LTDA");
        newClient("Rb_Cnpj", "11444777000161", "SEGUNDA LTDA");
        click(clients->Btn_Novo);
        QCOMPARE(clients->Ed_Codcli->text(), QString("000003"));
        click(clients->Rb_Cnpj);
        type(clients->Ed_Cnpj, "11222333000181");
        QCOMPARE(lastMessage(), QString("Número do CNPJ ou CPF já cadastrado."));
        QCOMPARE(clients->Ed_Codcli->text(), QString("000001"));
        QCOMPARE(clients->Ed_Razsoc->text(), QString("PRIMEIRA LTDA"));
        QVERIFY(clients->Ed_Inscest->hasFocus());
        type(clients->Ed_Nomefan, "PRIMA");
        click(clients->Btn_Gravar);
        QCOMPARE(count("tbclientes"), 2);
        QCOMPARE(row("tbclientes", "000001")["NOMEFAN"], QString("PRIMA"));

        // Two new clients without a document are not each other's duplicate.
        click(clients->Btn_Novo);
        click(clients->Rb_Cnpj);
        type(clients->Ed_Cnpj, "");
        type(clients->Ed_Razsoc, "SEM DOCUMENTO A");
        click(clients->Btn_Gravar);
        click(clients->Btn_Novo);
        click(clients->Rb_Cnpj);
        type(clients->Ed_Cnpj, "");
        QCOMPARE(clients->Ed_Codcli->text(), QString("000004"));
        type(clients->Ed_Razsoc, "SEM DOCUMENTO B");
        click(clients->Btn_Gravar);
        QCOMPARE(count("tbclientes"), 4);
    }

    void administrativeAddressCopiedToBilling() {
        click(clients->Btn_Novo);
        type(clients->Ed_End[0], "AV PAULISTA 1000");
        type(clients->Ed_Bairro[0], "BELA VISTA");
        type(clients->Ed_Cid[0], "SAO PAULO");
        clients->Cb_Est[0]->setCurrentText("SP");
        type(clients->Ed_Cep[0], "01310100");
        type(clients->Ed_Ddd[0], "011");
        type(clients->Ed_Tel_1[0], "30001000");
        clients->Cb_Tipofone_1[0]->setCurrentText("Celular");
        type(clients->Ed_Tel_2[0], "30002000");
        clients->Cb_Tipofone_2[0]->setCurrentText("Fax");
        type(clients->Ed_End[1], "OUTRO ENDERECO");
        type(clients->Ed_Cid[1], "CAMPINAS");
        clients->Cb_Est[1]->setCurrentText("RJ");
        clients->Ed_Contato[0]->setFocus();
        QTest::keyClicks(clients->Ed_Contato[0], "joao");
        QTest::keyClick(clients->Ed_Contato[0], Qt::Key_Return);
        QCOMPARE(clients->Ed_End[1]->text(), QString("AV PAULISTA 1000"));
        QCOMPARE(clients->Ed_Bairro[1]->text(), QString("BELA VISTA"));
        QCOMPARE(clients->Ed_Cid[1]->text(), QString("SAO PAULO"));
        QCOMPARE(clients->Cb_Est[1]->currentText(), QString("SP"));
        QCOMPARE(clients->Ed_Cep[1]->text(), QString("01310-100"));
        QCOMPARE(clients->Ed_Ddd[1]->text(), QString("011"));
        QCOMPARE(clients->Ed_Tel_1[1]->text(), QString("3000-1000"));
        QCOMPARE(clients->Cb_Tipofone_1[1]->currentText(), QString("Celular"));
        QCOMPARE(clients->Ed_Tel_2[1]->text(), QString("3000-2000"));
        QCOMPARE(clients->Cb_Tipofone_2[1]->currentText(), QString("Fax"));
        QCOMPARE(clients->Ed_Contato[1]->text(), QString("JOAO"));
        QVERIFY(!clients->Ed_Contato[0]->hasFocus());  // and Enter moved on
    }

    void blockedClientOnlyForTheRegister_data() {
        QTest::addColumn<QString>("caller");
        QTest::addColumn<bool>("refused");
        QTest::newRow("register") << "clientes" << false;
        QTest::newRow("service order") << "ordem_servico" << true;
        QTest::newRow("receipt") << "recibo" << true;
        QTest::newRow("closing by client") << "fechamento_cliente" << true;
    }
    void blockedClientOnlyForTheRegister() {
        QFETCH(QString, caller);
        QFETCH(bool, refused);
        newClient("Rb_Cnpj", "11222333000181", "BLOQUEADA SA", "BLOQUEADO");
        QCOMPARE(row("tbclientes", "000001")["SITUACAO"], QString("BLOQUEADO"));
        MessageBox::clearShownMessages();
        clientSearch->openSearch(caller);
        click(clientSearch->Btn_Retornar);
        if (refused) {
            QCOMPARE(lastMessage(), QString("Situação do Cliente BLOQUEADO."));
            QCOMPARE(MessageBox::shownMessages().last().icon, QMessageBox::Question);
            QVERIFY(clientSearch->isVisible());
        } else {
            QVERIFY(MessageBox::shownMessages().isEmpty());
            QVERIFY(!clientSearch->isVisible());
            QCOMPARE(clients->Ed_Razsoc->text(), QString("BLOQUEADA SA"));
            click(clients->Btn_Alterar);  // and it can be edited there
            QVERIFY(clients->Ed_Razsoc->isEnabled());
        }
    }

    void moneyFieldsTakeDigitsAndOneNumber() {
        click(clients->Btn_Novo);
        type(clients->Ed_Valor, "1a2,5x");
        QCOMPARE(clients->Ed_Valor->text(), QString("12,50"));
        clients->Ed_Valor->clear();
        type(clients->Ed_Valor, "");
        QCOMPARE(clients->Ed_Valor->text(), QString("0,00"));
        clients->Ed_Valor->clear();
        type(clients->Ed_Valor, "1,2,3");
        QCOMPARE(clients->Ed_Valor->text(), QString("1,2,3"));  // kept as typed
        QVERIFY(lastMessage().contains("'1,2,3'"));
        QCOMPARE(MessageBox::shownMessages().last().icon, QMessageBox::Critical);
    }

    void courierWithPlateRemarksAndSalary() {
        Quelvarino000_0->menuAction("Motociclista1")->trigger();
        activate(couriers);
        click(couriers->Btn_Novo);
        QCOMPARE(couriers->Ed_Cod->text(), QString("000001"));
        QVERIFY(couriers->Ed_Nome->hasFocus());
        type(couriers->Ed_Nome, "jose motoca");
        type(couriers->Ed_Cpf, "11144477735");
        type(couriers->Ed_Ano, "20192020");
        type(couriers->Ed_Plac, "abc1234");
        QCOMPARE(couriers->Ed_Plac->text(), QString("ABC-1234"));
        type(couriers->Ed_Valor, "12");
        type(couriers->Ed_Salario, "1500");
        couriers->Ed_Obs->setFocus();
        QTest::keyClicks(couriers->Ed_Obs, "LINHA UM");
        QTest::keyClick(couriers->Ed_Obs, Qt::Key_Return);
        QVERIFY(couriers->Ed_Obs->hasFocus());  // Enter starts a new line
        QTest::keyClicks(couriers->Ed_Obs, "LINHA DOIS");
        click(couriers->Btn_Gravar);
        auto r = row("tbmotociclista", "000001");
        QCOMPARE(r["NOME"], QString("JOSE MOTOCA"));
        QCOMPARE(r["CPF"], QString("111.444.777-35"));
        QCOMPARE(r["ANO"], QString("2019/2020"));
        QCOMPARE(r["PLACA"], QString("ABC-1234"));
        QCOMPARE(r["VALOR"], QString("12"));
        QCOMPARE(r["SALARIO"], QString("1500"));
        QCOMPARE(r["OBSERVACAO"], QString("LINHA UM\nLINHA DOIS"));
        QCOMPARE(r["SITUACAO"], QString("ATIVO"));

        // Remarks stop at 650 typed characters.
        click(couriers->Btn_Novo);
        couriers->Ed_Obs->setFocus();
        QTest::keyClicks(couriers->Ed_Obs, QString(649, 'X'));
        QTest::keyClicks(couriers->Ed_Obs, "YYY");
        QCOMPARE(couriers->Ed_Obs->toPlainText(), QString(649, 'X') + "Y");
        type(couriers->Ed_Nome, "SEM SALARIO");
        click(couriers->Btn_Gravar);
        QCOMPARE(row("tbmotociclista", "000002")["OBSERVACAO"].size(), 650);
        QCOMPARE(row("tbmotociclista", "000002")["SALARIO"], QString("0"));

        // The fixed-salary lookup takes the first and refuses the second.
        courierSearch->openSearch("mot_fixo");
        QTest::keyClicks(courierSearch->Ed_Desc, "SEM");
        click(courierSearch->Btn_Retornar);
        QCOMPARE(lastMessage(), QString("Este motociclista não tem salário fixo."));
        QVERIFY(courierSearch->isVisible());
        courierSearch->Ed_Desc->clear();
        QTest::keyClicks(courierSearch->Ed_Desc, "JOSE");
        const int before = MessageBox::shownMessages().size();
        click(courierSearch->Btn_Retornar);
        QCOMPARE(MessageBox::shownMessages().size(), before);
        QVERIFY(!courierSearch->isVisible());
    }

    // What the store holds is loaded and written back whole, however long:
    // the input limits bound typing only.
    void loadedValuesAreNeverCut() {
        const QString longName = QString(90, 'N');
        const QString longRemark = QString(700, 'R');
        QMap<QString, QString> client = {{"CODCLI", "000005"},           {"RAZAOSOCIAL", longName},
                                         {"VALOR", "123456,78"},         {"UF1", "SPX"},
                                         {"INSCREST", QString(20, '9')}, {"SITUACAO", "ATIVO"}};
        store("tbclientes", client);
        click(clients->Btn_Consultar);
        QTest::keyClicks(clientSearch->Ed_Desc, "NNN");
        click(clientSearch->Btn_Retornar);
        QCOMPARE(clients->Ed_Razsoc->text(), longName);
        QCOMPARE(clients->Ed_Valor->text(), QString("123456,78"));
        QCOMPARE(clients->Cb_Est[0]->currentText(), QString("SPX"));
        QCOMPARE(clients->Ed_Inscest->text(), QString(20, '9'));
        click(clients->Btn_Alterar);
        click(clients->Btn_Gravar);
        const auto r = row("tbclientes", "000005");
        QCOMPARE(r["RAZAOSOCIAL"], longName);
        QCOMPARE(r["VALOR"], QString("123456,78"));
        QCOMPARE(r["UF1"], QString("SPX"));
        QCOMPARE(r["INSCREST"], QString(20, '9'));

        store("tbmotociclista", {{"COD", "000005"},
                                 {"NOME", "ANTIGO"},
                                 {"VALOR", "1234,5"},
                                 {"SALARIO", "123456,78"},
                                 {"OBSERVACAO", longRemark},
                                 {"SITUACAO", "ATIVO"}});
        Quelvarino000_0->menuAction("Motociclista1")->trigger();
        activate(couriers);
        click(couriers->Btn_Consultar);
        QTest::keyClicks(courierSearch->Ed_Desc, "ANTIGO");
        click(courierSearch->Btn_Retornar);
        QCOMPARE(couriers->Ed_Valor->text(), QString("1234,50"));
        QCOMPARE(couriers->Ed_Salario->text(), QString("123456,78"));
        QCOMPARE(couriers->Ed_Obs->toPlainText(), longRemark);
        click(couriers->Btn_Alterar);
        click(couriers->Btn_Gravar);
        QCOMPARE(row("tbmotociclista", "000005")["OBSERVACAO"], longRemark);
        QCOMPARE(row("tbmotociclista", "000005")["SALARIO"], QString("123456,78"));
    }

    // The code after 999999 has seven digits and is stored whole, not as
    // the existing 100000.
    void codeAfter999999() {
        store("tbclientes", {{"CODCLI", "100000"}, {"RAZAOSOCIAL", "CEM MIL"}});
        store("tbclientes", {{"CODCLI", "999999"}, {"RAZAOSOCIAL", "ULTIMO"}});
        click(clients->Btn_Novo);
        QCOMPARE(clients->Ed_Codcli->text(), QString("1000000"));
        type(clients->Ed_Razsoc, "NOVO");
        click(clients->Btn_Gravar);
        QCOMPARE(row("tbclientes", "1000000")["RAZAOSOCIAL"], QString("NOVO"));
        QCOMPARE(row("tbclientes", "100000")["RAZAOSOCIAL"], QString("CEM MIL"));
    }

    void mobilePhonesAndMercosulPlates() {
        click(clients->Btn_Novo);
        type(clients->Ed_Razsoc, "CELULAR LTDA");
        type(clients->Ed_Tel_1[0], "987654321");
        type(clients->Ed_Tel_2[0], "32221111");
        click(clients->Btn_Gravar);
        auto r = row("tbclientes", "000001");
        QCOMPARE(r["TELEFONE1_1"], QString("98765-4321"));  // never "9876-5432"
        QCOMPARE(r["TELEFONE1_2"], QString("3222-1111"));
        Quelvarino000_0->menuAction("Motociclista1")->trigger();
        activate(couriers);
        click(couriers->Btn_Novo);
        type(couriers->Ed_Nome, "NOVA PLACA");
        type(couriers->Ed_Plac, "bra2e19");
        type(couriers->Ed_Tel1, "912345678");
        click(couriers->Btn_Gravar);
        r = row("tbmotociclista", "000001");
        QCOMPARE(r["PLACA"], QString("BRA2E19"));
        QCOMPARE(r["TELEFONE1"], QString("91234-5678"));
    }

    // The document radios are reached and chosen from the keyboard, and a
    // document is never left without its mask and check.
    void documentChosenFromTheKeyboard() {
        click(clients->Btn_Novo);
        QVERIFY(clients->Ed_Cnpj->hasFocus());
        QTest::keyClick(clients->Ed_Cnpj, Qt::Key_Backtab);
        QVERIFY(clients->Rb_Cnpj->hasFocus() || clients->Rb_Cpf->hasFocus());
        clients->Rb_Cnpj->setFocus(Qt::BacktabFocusReason);
        QTest::keyClick(clients->Rb_Cnpj, Qt::Key_Space);
        QVERIFY(clients->Rb_Cnpj->isChecked());
        QVERIFY(clients->Ed_Cnpj->hasFocus());
        QCOMPARE(clients->Ed_Cnpj->text(), QString("  .   .   /    -  "));
        QTest::keyClick(clients->Ed_Cnpj, Qt::Key_Backtab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QVERIFY(clients->Rb_Cpf->isChecked());
        QCOMPARE(clients->Ed_Cnpj->text(), QString("   .   .   -  "));
        QVERIFY(MessageBox::shownMessages().isEmpty());
    }

    void documentTypedWithoutChoosingItsKind_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message");
        QTest::newRow("cnpj digits") << "11222333000181"
                                     << "11.222.333/0001-81"
                                     << "Rb_Cnpj"
                                     << "";
        QTest::newRow("cpf digits") << "111.444.777-35"
                                    << "111.444.777-35"
                                    << "Rb_Cpf"
                                    << "";
        QTest::newRow("wrong cpf is checked") << "11144477736"
                                              << ""
                                              << "Rb_Cpf"
                                              << "Número do CPF invalido.";
        QTest::newRow("neither") << "12345"
                                 << ""
                                 << ""
                                 << "Escolha C.N.P.J. ou C.P.F. e digite o número do documento.";
    }
    void documentTypedWithoutChoosingItsKind() {
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QFETCH(QString, kind);
        QFETCH(QString, message);
        click(clients->Btn_Novo);
        type(clients->Ed_Cnpj, typed);
        QCOMPARE(clients->Ed_Cnpj->isBlank() ? QString() : clients->Ed_Cnpj->text(), text);
        QCOMPARE(clients->Rb_Cnpj->isChecked(), kind == "Rb_Cnpj");
        QCOMPARE(clients->Rb_Cpf->isChecked(), kind == "Rb_Cpf");
        QCOMPARE(lastMessage(), message);
    }

    void documentFieldDoesNotMoveItsNeighbours() {
        auto place = [](QWidget* w) { return QRect(w->mapTo(w->window(), QPoint()), w->size()); };
        const QRect browse = place(clients->Ed_Cnpj);
        click(clients->Btn_Novo);
        QApplication::processEvents();
        const QRect document = place(clients->Ed_Cnpj);
        QCOMPARE(document, browse);  // nor does the change of state
        const QRect next = clients->Ed_Inscest->geometry();
        for (QRadioButton* rb : {clients->Rb_Cpf, clients->Rb_Cnpj, clients->Rb_Cpf}) {
            click(rb);
            QApplication::processEvents();
            QCOMPARE(place(clients->Ed_Cnpj), document);
            QCOMPARE(clients->Ed_Inscest->geometry(), next);
        }
    }

    void windowKeepsItsWidthAfterASave() {
        clients->resize(clients->sizeHint());
        QApplication::processEvents();
        const int width = clients->width();
        newClient("Rb_Cnpj", "11222333000181", QString(80, 'W'));
        QApplication::processEvents();
        QCOMPARE(clients->width(), width);
        click(clients->Btn_Consultar);
        QTest::keyClicks(clientSearch->Ed_Desc, "WWW");
        click(clientSearch->Btn_Retornar);
        QApplication::processEvents();
        QCOMPARE(clients->width(), width);
    }

    void todaysDateInTheCorner_data() {
        QTest::addColumn<QString>("entry");
        QTest::newRow("clients") << "Clientes1";
        QTest::newRow("couriers") << "Motociclista1";
    }
    void todaysDateInTheCorner() {
        QFETCH(QString, entry);
        Quelvarino000_0->menuAction(entry)->trigger();
        RecordScreen* screen = entry == "Clientes1" ? static_cast<RecordScreen*>(clients)
                                                    : static_cast<RecordScreen*>(couriers);
        activate(screen);
        QLabel* date = screen->findChild<QLabel*>("Lbdata");
        QVERIFY(date);
        QCOMPARE(date->text(), QString("08/12/2026"));
        QVERIFY(date->font().bold());
        QVERIFY(date->alignment() & Qt::AlignRight);
        screen->layout()->activate();
        QVERIFY(date->mapTo(screen, QPoint(0, 0)).y() < 30);
        QVERIFY(date->mapTo(screen, QPoint(date->width(), 0)).x() > screen->width() - 30);
        // Refreshed when the screen is activated again on another day.
        Clock::setNow(QDateTime(QDate(2026, 12, 9), QTime(0, 1)));
        activate(Quelvarino000_0);
        activate(screen);
        QCOMPARE(date->text(), QString("09/12/2026"));
    }

    void blockedCourierRefusedOutsideTheRegister() {
        Quelvarino000_0->menuAction("Motociclista1")->trigger();
        activate(couriers);
        click(couriers->Btn_Novo);
        type(couriers->Ed_Nome, "BLOQUEADO DA SILVA");
        couriers->Cb_Sit->setCurrentText("BLOQUEADO");
        click(couriers->Btn_Gravar);
        for (const char* caller : {"ordem_servico", "entrada_despesa", "fechamento_motoboy",
                                   "despesa_motoboy", "listagem_horas", "mot_fixo"}) {
            MessageBox::clearShownMessages();
            courierSearch->openSearch(caller);
            click(courierSearch->Btn_Retornar);
            QCOMPARE(lastMessage(), QString("Situação do Motoboy BLOQUEADO."));
            QVERIFY(courierSearch->isVisible());
        }
        courierSearch->openSearch("motociclista");
        click(courierSearch->Btn_Retornar);
        QCOMPARE(couriers->Ed_Nome->text(), QString("BLOQUEADO DA SILVA"));
        QCOMPARE(couriers->Ed_Salario->text(), QString("0,00"));
    }

    void courierSearchColumnsAndOptions() {
        QCOMPARE(courierSearch->findChildren<QRadioButton*>().size(), 9);
        QCOMPARE(clientSearch->findChildren<QRadioButton*>().size(), 10);
        QCOMPARE(clientSearch->DBGrid1->model()->columnCount(), 24);
        QCOMPARE(courierSearch->DBGrid1->model()->columnCount(), 22);
        QCOMPARE(clientSearch->DBGrid1->model()->headerData(1, Qt::Horizontal).toString(),
                 QString("Razão social"));
    }
};

QUELVARINO_GUI_TEST_MAIN(TestRegisters)
#include "tst_registers.moc"
