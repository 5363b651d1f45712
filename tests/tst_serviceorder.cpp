#include "app/mainwindow.h"
#include "app/program.h"
#include "core/clock.h"
#include "core/money.h"
#include "data/table.h"
#include "orders/serviceorder.h"
#include "registers/clients.h"
#include "registers/couriers.h"
#include "testsupport.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <memory>

using namespace quelvarino;
using namespace operatorDoes;

// Orders typed through the real screen, as the operator does them.
class TestServiceOrder : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> home;
    TQuelvarino0021_0* os = nullptr;

    static QMap<QString, QString> order(const QString& number) {
        return storedRecord("tbordem", number);
    }
    static int orderCount() {
        Table t("tbordem");
        t.open();
        return t.recordCount();
    }
    // Client 7 and courier 3 on a new order.
    void startOrder() {
        click(os->Btn_Novo);
        type(os->Edcodcli, "7");
        type(os->Edcodmot, "3");
    }

private slots:
    void init() {
        QVERIFY(startProgramTest(home, QDateTime(QDate(2026, 12, 8), QTime(10, 0))));
        store("tbclientes", {{"CODCLI", "000007"},
                             {"RAZAOSOCIAL", "FARMACIA CENTRAL"},
                             {"ENDERECO1", "RUA A, 1"},
                             {"BAIRRO1", "CENTRO"},
                             {"CIDADE1", "SANTOS"},
                             {"UF1", "SP"},
                             {"CEP1", "11010-000"},
                             {"DDD1", "013"},
                             {"TELEFONE1_1", "3222-0000"},
                             {"TIPOTEL1_1", "Linha"},
                             {"VALOR", "30"},
                             {"SITUACAO", "ATIVO"}});
        store("tbclientes",
              {{"CODCLI", "000008"}, {"RAZAOSOCIAL", "DEVEDORA LTDA"}, {"SITUACAO", "BLOQUEADO"}});
        store("tbmotociclista", {{"COD", "000003"},
                                 {"NOME", "JOAO DA MOTO"},
                                 {"VALOR", "12"},
                                 {"MARCA", "HONDA"},
                                 {"MODELO", "CG 150"},
                                 {"ANO", "2019/2020"},
                                 {"PLACA", "ABC-1234"},
                                 {"SITUACAO", "ATIVO"}});
        store("tbmotociclista",
              {{"COD", "000004"}, {"NOME", "PEDRO PARADO"}, {"SITUACAO", "BLOQUEADO"}});
        Quelvarino000_0->menuAction("OrdemdeServio1")->trigger();
        os = Screens::get<TQuelvarino0021_0>("Quelvarino0021_0");
        QVERIFY(os && os->isVisible());
        QApplication::setActiveWindow(os);
        QVERIFY(QTest::qWaitForWindowActive(os));
    }
    void cleanup() { endProgramTest(home); }

    void browseStateAndProposedNumber() {
        QCOMPARE(os->Edcomanda->text(), QString("0000000001"));
        QCOMPARE(os->Lbdata->text(), QString("08/12/2026"));
        QVERIFY(!os->Btn_Gravar->isEnabled());
        QVERIFY(!os->Btn_Imprimir->isEnabled());
        QVERIFY(!os->Edcodcli->isEnabled());
        QVERIFY(!os->Rbhora1->isEnabled());
        QCOMPARE(os->Edvalor->text(), QString("0,00"));
        QCOMPARE(os->Eddata->text(), QString("08/12/2026"));
    }

    void aTypicalOrderEndToEnd() {
        click(os->Btn_Novo);
        QCOMPARE(os->Edcomanda->text(), QString("0000000001"));
        QVERIFY(os->Edcodcli->hasFocus());
        QVERIFY(!os->Cbpag->isEditable());  // pick-only for a new order
        type(os->Edcodcli, "7");
        QCOMPARE(os->Edcodcli->text(), QString("000007"));
        QCOMPARE(os->Edcliente->text(), QString("FARMACIA CENTRAL"));
        QCOMPARE(os->Edend->text(), QString("RUA A, 1"));
        QCOMPARE(os->Eduf->currentText(), QString("SP"));
        QCOMPARE(os->Edfone1->text(), QString("3222-0000"));
        QCOMPARE(os->Edvalor->text(), QString("30,00"));
        type(os->Edhora1, "1630");
        type(os->Edhora2, "1700");
        type(os->Edhora3, "2330");
        click(os->Rbhora2);
        QCOMPARE(os->Edhora4->text(), QString("06:30"));
        QCOMPARE(os->Edtotval->text(), QString("300,00"));
        type(os->Edseguro, "10");
        QCOMPARE(os->Edtotval->text(), QString("310,00"));
        type(os->Edtaxap, "5");
        QCOMPARE(os->Edtotval->text(), QString("315,00"));
        type(os->Edsolicit, "maria recepcao");
        type(os->Edcodmot, "3");
        QCOMPARE(os->Edmotoboy->text(), QString("JOAO DA MOTO"));
        QCOMPARE(os->Edvalmot->text(), QString("12,00"));
        QCOMPARE(os->Edplac->text(), QString("ABC-1234"));
        type(os->Edveiculo, "fiat uno");
        os->Cbpag->setCurrentText("À VISTA");
        QVERIFY(!os->Edpag->isEnabled());
        os->Cbpag->setCurrentText("OUTROS");
        QVERIFY(os->Edpag->isEnabled());
        type(os->Edpag, "cheque");
        os->Edobs->setFocus();
        QTest::keyClicks(os->Edobs, "ENTREGAR NA PORTARIA");
        QTest::keyClick(os->Edobs, Qt::Key_Return);
        QTest::keyClicks(os->Edobs, "LIGAR ANTES");
        click(os->Btn_Gravar);
        QVERIFY(MessageBox::shownMessages().isEmpty());

        const auto r = order("0000000001");
        const QMap<QString, QString> expected = {
            {"COMANDA", "0000000001"},
            {"CODCLI", "000007"},
            {"CLIENTE", "FARMACIA CENTRAL"},
            {"SOLICITANTE", "MARIA RECEPCAO"},
            {"HORA1", "16:30"},
            {"HORA2", "17:00"},
            {"HORA3", "23:30"},
            {"HORA4", "06:30"},
            {"VALOR", "30"},
            {"TAXAPERIM", "5"},
            {"SEGURO", "10"},
            {"TOTVAL", "315"},
            {"CODMOT", "000003"},
            {"MOTOBOY", "JOAO DA MOTO"},
            {"VALMOT", "0"},
            {"TOTVALMOT", "120"},
            {"MARCA", "HONDA"},
            {"MODELO", "CG 150"},
            {"ANO", "2019/2020"},
            {"PLACAM", "ABC-1234"},
            {"VEICULO", "FIAT UNO"},
            {"PLACA", ""},
            {"PAGAMENTO", "OUTROS"},
            {"DESCPAG", "CHEQUE"},
            {"OBSERVACAO", "ENTREGAR NA PORTARIA\nLIGAR ANTES"},
            {"DATA", "08/12/2026"},
            {"TOTHORN", "001:00"},
            {"TOTHOR50", "004:00"},
            {"TOTHOR100", "001:30"},
            {"VALORN", "30"},
            {"VALOR50", "180"},
            {"VALOR100", "90"},
            {"PORCTAXA", ""},
            {"TOTTAXA", ""},
            {"TOTTAXAM", ""}};
        for (auto it = expected.begin(); it != expected.end(); ++it)
            QVERIFY2(r.value(it.key()) == it.value(),
                     qPrintable(it.key() + ": " + r.value(it.key()) + " != " + it.value()));

        // The order stays on screen, ready to print; the next thing done
        // is a new order.
        QVERIFY(os->Btn_Novo->hasFocus());
        QCOMPARE(os->Edcomanda->text(), QString("0000000001"));
        QCOMPARE(os->Edcliente->text(), QString("FARMACIA CENTRAL"));
        QVERIFY(os->Btn_Imprimir->isEnabled());
        QVERIFY(!os->Btn_Gravar->isEnabled());
        click(os->Btn_Limpar);
        QCOMPARE(os->Edcomanda->text(), QString("0000000002"));
        QCOMPARE(os->Edcliente->text(), QString());
    }

    void substitutionsAtRecording() {
        startOrder();
        os->Eddata->setText("");  // the operator blanked the date
        click(os->Rbvalmot);
        QVERIFY(os->Edvalmot->isEnabled());
        type(os->Edvalmot, "50");
        QCOMPARE(os->Edvalmot->text(), QString("50,00"));
        click(os->Btn_Gravar);
        const auto r = order("0000000001");
        QCOMPARE(r["HORA1"], QString());  // blank times are stored empty
        QCOMPARE(r["HORA3"], QString());
        QCOMPARE(r["PAGAMENTO"], QString("FATURADO"));
        QCOMPARE(r["DATA"], QString("08/12/2026"));
        QCOMPARE(os->Eddata->text(), QString("08/12/2026"));
        QCOMPARE(r["VALMOT"], QString("50"));
        QCOMPARE(r["TOTVALMOT"], QString("0"));
        QCOMPARE(r["TOTHORN"], QString("000:00"));
        QCOMPARE(r["VALORN"], QString("0"));
    }

    void fixedValueOrderKeepsItsValueAndTotal() {
        click(os->Btn_Novo);
        click(os->Rbvalor);
        QVERIFY(os->Edvalor->isEnabled());
        type(os->Edvalor, "200");
        QCOMPARE(os->Edtotval->text(), QString("200,00"));
        type(os->Edcodcli, "7");
        QCOMPARE(os->Edvalor->text(), QString("200,00"));  // not the client's hour price
        type(os->Edseguro, "10");
        QCOMPARE(os->Edtotval->text(), QString("210,00"));
        type(os->Edhora2, "0800");
        type(os->Edhora3, "0900");
        type(os->Edcodmot, "3");
        click(os->Btn_Gravar);
        const auto r = order("0000000001");
        QCOMPARE(r["VALOR"], QString("200"));
        QCOMPARE(r["TOTVAL"], QString("210"));  // what the operator saw
        QCOMPARE(r["HORA4"], QString("02:00"));
        QCOMPARE(r["VALORN"], QString("0"));
        QCOMPARE(r["TOTVALMOT"], QString("0"));

        // The client search keeps the fixed value too.
        click(os->Btn_Limpar);
        click(os->Btn_Novo);
        click(os->Rbvalor);
        type(os->Edvalor, "99");
        click(os->Btn_ConsCli);
        auto* search = Screens::get<TQuelvarino0011_1>("Quelvarino0011_1");
        QTest::keyClicks(search->Ed_Desc, "FARM");
        click(search->Btn_Retornar);
        QCOMPARE(os->Edcliente->text(), QString("FARMACIA CENTRAL"));
        QCOMPARE(os->Edvalor->text(), QString("99,00"));
    }

    void lookupRefusals_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("message");
        QTest::newRow("client missing") << "Edcodcli"
                                        << "99"
                                        << "Código do cliente inexistente.";
        QTest::newRow("client blocked") << "Edcodcli"
                                        << "8"
                                        << "Situação do Cliente BLOQUEADO.";
        QTest::newRow("courier missing") << "Edcodmot"
                                         << "99"
                                         << "Código do motorista inexistente.";
        QTest::newRow("courier blocked") << "Edcodmot"
                                         << "000004"
                                         << "Situação do Motorista BLOQUEADO.";
    }
    void lookupRefusals() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QString, message);
        click(os->Btn_Novo);
        auto* edit = os->findChild<QLineEdit*>(field);
        type(edit, typed);
        QCOMPARE(lastMessage(), message);
        QCOMPARE(MessageBox::shownMessages().last().icon, QMessageBox::Question);
        QCOMPARE(edit->text(), QString());
        QVERIFY(edit->hasFocus());
    }

    void searchesRefuseBlockedRecords() {
        click(os->Btn_Novo);
        click(os->Btn_ConsCli);
        auto* clients = Screens::get<TQuelvarino0011_1>("Quelvarino0011_1");
        QCOMPARE(clients->callerName(), QString("ordem_servico"));
        QTest::keyClicks(clients->Ed_Desc, "DEV");
        click(clients->Btn_Retornar);
        QCOMPARE(lastMessage(), QString("Situação do Cliente BLOQUEADO."));
        click(clients->Btn_Cancel);
        click(os->Btn_ConsMot);
        auto* couriers = Screens::get<TQuelvarino0012_1>("Quelvarino0012_1");
        QTest::keyClicks(couriers->Ed_Desc, "PEDRO");
        click(couriers->Btn_Retornar);
        QCOMPARE(lastMessage(), QString("Situação do Motoboy BLOQUEADO."));
        couriers->Ed_Desc->clear();
        QTest::keyClicks(couriers->Ed_Desc, "JOAO");
        click(couriers->Btn_Retornar);
        QCOMPARE(os->Edcodmot->text(), QString("000003"));
        QCOMPARE(os->Edmar->text(), QString("HONDA"));
        QCOMPARE(os->Edvalmot->text(), QString("0,00"));  // the search does not copy the rate
    }

    void timeChecks_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("hour 25") << "Edhora1"
                                 << "2500" << QStringList{"Hora invádlida!!!"};
        QTest::newRow("minute 60") << "Edhora2"
                                   << "1060" << QStringList{"Hora inválida!!!"};
        QTest::newRow("both wrong")
            << "Edhora1"
            << "2575" << QStringList{"Hora invádlida!!!", "Hora inválida!!!"};
        QTest::newRow("first digit blank") << "Edhora3"
                                           << " 830" << QStringList{"Hora invádlida!!!"};
        QTest::newRow("24:00 accepted") << "Edhora3"
                                        << "2400" << QStringList{};
        QTest::newRow("24:30 passes the hour test") << "Edhora1"
                                                    << "2430" << QStringList{};
        QTest::newRow("blank skipped") << "Edhora2"
                                       << "" << QStringList{};
    }
    void timeChecks() {
        QFETCH(QString, field);
        QFETCH(QString, typed);
        QFETCH(QStringList, messages);
        click(os->Btn_Novo);
        auto* edit = os->findChild<MaskEdit*>(field);
        edit->setFocus(Qt::TabFocusReason);
        for (const QChar c : typed) {
            if (c == ' ')
                QTest::keyClick(edit, Qt::Key_Right);  // leave the position blank
            else
                QTest::keyClicks(edit, QString(c));
        }
        QTest::keyClick(edit, Qt::Key_Tab);
        QStringList shown;
        for (const auto& m : MessageBox::shownMessages()) {
            shown.append(m.text);
            QVERIFY2(m.icon == QMessageBox::Information, qPrintable(m.text));
        }
        QCOMPARE(shown, messages);
        if (!messages.isEmpty())
            QVERIFY(edit->hasFocus());
    }

    void endBeforeDepartureOpensAnotherOrder() {
        click(os->Btn_Novo);
        type(os->Edhora1, "0800");
        type(os->Edhora2, "0830");
        type(os->Edhora3, "0745");
        QCOMPARE(lastMessage(), QString("Deve ser aberto outra ordem de serviço."));
        QCOMPARE(os->Edhora3->text(), QString("24:00"));
    }

    void recordingNeedsNumberClientAndCourier() {
        click(os->Btn_Novo);
        type(os->Edcodcli, "7");
        click(os->Btn_Gravar);
        QCOMPARE(lastMessage(),
                 QString("O número da comanda, cliente e motoboy devem ser preenchidos."));
        QCOMPARE(MessageBox::shownMessages().last().icon, QMessageBox::Warning);
        QCOMPARE(orderCount(), 0);
        QVERIFY(os->Btn_Gravar->isEnabled());  // still in edit state
        QVERIFY(os->Edcodcli->hasFocus());
    }

    void notesHoldEightLines() {
        click(os->Btn_Novo);
        os->Edobs->setFocus();
        for (int i = 1; i <= 8; ++i) {
            QTest::keyClicks(os->Edobs, QString("LINHA %1").arg(i));
            if (i < 8)
                QTest::keyClick(os->Edobs, Qt::Key_Return);
        }
        QVERIFY(MessageBox::shownMessages().isEmpty());
        QTest::keyClick(os->Edobs, Qt::Key_Return);
        QCOMPARE(lastMessage(), QString("Excedido a quantidade maxima de linhas permitido."));
        QCOMPARE(os->Edobs->blockCount(), 8);
        QTest::keyClick(os->Edobs, Qt::Key_Backspace);  // and the notes can still be edited
        QVERIFY(os->Edobs->toPlainText().endsWith("LINHA "));
    }

    void twoWorkstationsWithTheSameProposedNumber() {
        startOrder();
        QCOMPARE(os->Edcomanda->text(), QString("0000000001"));
        store("tbordem",
              {{"COMANDA", "0000000001"}, {"CODCLI", "000099"}, {"CLIENTE", "DO OUTRO"}});
        type(os->Edsolicit, "MEU PEDIDO");
        click(os->Btn_Gravar);
        QCOMPARE(orderCount(), 2);
        QCOMPARE(order("0000000001")["CLIENTE"], QString("DO OUTRO"));  // untouched
        QCOMPARE(order("0000000002")["SOLICITANTE"], QString("MEU PEDIDO"));
        QCOMPARE(os->Edcomanda->text(), QString("0000000002"));
        QVERIFY(lastMessage().contains("0000000002"));
    }

    // The other workstation records its orders at the worst moment: after
    // this Gravar looked for a free number and before it posts, twice.
    void numberTakenAtTheMomentOfThePost() {
        startOrder();
        int taken = 0;
        Table::beforePostHook() = [&taken](const QString& table) {
            if (table != "tbordem" || taken >= 2)
                return;
            ++taken;
            Table::beforePostHook() = nullptr;  // the other's own post
            store("tbordem", {{"COMANDA", QString::number(taken).rightJustified(10, '0')},
                              {"CODCLI", "000099"},
                              {"CLIENTE", "DO OUTRO"}});
            Table::beforePostHook() = [&taken](const QString& t) {
                if (t == "tbordem" && taken < 2) {
                    ++taken;
                    Table::beforePostHook() = nullptr;
                    store("tbordem", {{"COMANDA", "0000000002"}, {"CLIENTE", "DO OUTRO 2"}});
                }
            };
        };
        type(os->Edsolicit, "MEU PEDIDO");
        click(os->Btn_Gravar);
        Table::beforePostHook() = nullptr;
        QCOMPARE(taken, 2);
        QCOMPARE(orderCount(), 3);
        QCOMPARE(order("0000000001")["CLIENTE"], QString("DO OUTRO"));
        QCOMPARE(order("0000000002")["CLIENTE"], QString("DO OUTRO 2"));
        QCOMPARE(order("0000000003")["SOLICITANTE"], QString("MEU PEDIDO"));
        QCOMPARE(os->Edcomanda->text(), QString("0000000003"));
        QCOMPARE(lastMessage(), QString("A ordem de serviço nº 0000000001 foi gravada por outro "
                                        "usuário; esta ordem foi gravada com o nº 0000000003."));
    }

    void aChangedOrderUpdatesItsOwnRow() {
        startOrder();
        type(os->Edsolicit, "PRIMEIRO");
        click(os->Btn_Gravar);
        startOrder();
        click(os->Btn_Gravar);
        QCOMPARE(orderCount(), 2);
        // The order on screen is 0000000002; bring back the first as the
        // order search does, then change it as Alterar allows after the
        // access password.
        click(os->Btn_Limpar);
        os->Edcomanda->setText("0000000001");
        os->Edcodcli->setText("000007");
        os->Edcodmot->setText("000003");
        os->setEditState();
        os->Edsolicit->setText("ALTERADO");
        type(os->Edhora2, "0900");
        type(os->Edhora3, "1200");
        click(os->Btn_Gravar);
        QCOMPARE(orderCount(), 2);
        QCOMPARE(order("0000000001")["SOLICITANTE"], QString("ALTERADO"));
        QCOMPARE(order("0000000001")["HORA4"], QString("03:00"));  // recomputed from the start time
        QCOMPARE(order("0000000002")["SOLICITANTE"], QString());
        QCOMPARE(os->Edcomanda->text(), QString("0000000001"));  // its number does not change
    }

    // Orders of any size are shown and stored to the cent: what the program
    // computes or loads is never cut to the fields' input limits.
    void largeAmountsAreShownAndStoredWhole_data() {
        QTest::addColumn<QString>("rate");   // the client's hour price; empty: fixed value
        QTest::addColumn<QString>("fixed");  // typed fixed value
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        QTest::addColumn<QString>("insurance");
        QTest::addColumn<QString>("fee");
        QTest::addColumn<QString>("valor");  // Edvalor as shown
        QTest::addColumn<QString>("total");  // Edtotval as shown and TOTVAL stored
        QTest::newRow("fixed value 1250") << ""
                                          << "1250"
                                          << "0800"
                                          << "0900"
                                          << ""
                                          << ""
                                          << "1250,00"
                                          << "1250,00";
        QTest::newRow("fixed value with insurance, 1016,33") << ""
                                                             << "999,99"
                                                             << "0800"
                                                             << "0900"
                                                             << "16,34"
                                                             << ""
                                                             << "999,99"
                                                             << "1016,33";
        QTest::newRow("rate of 1000,50, 3372,35") << "1000,5"
                                                  << ""
                                                  << "0800"
                                                  << "1000"
                                                  << "999,99"
                                                  << "371,36"
                                                  << "1000,50"
                                                  << "3372,35";
        QTest::newRow("rate of 1234,56 into the night") << "1234,56"
                                                        << ""
                                                        << "1700"
                                                        << "2330"
                                                        << ""
                                                        << ""
                                                        << "1234,56"
                                                        << "12345,60";
    }
    void largeAmountsAreShownAndStoredWhole() {
        QFETCH(QString, rate);
        QFETCH(QString, fixed);
        QFETCH(QString, start);
        QFETCH(QString, end);
        QFETCH(QString, insurance);
        QFETCH(QString, fee);
        QFETCH(QString, valor);
        QFETCH(QString, total);
        store("tbclientes", {{"CODCLI", "000020"},
                             {"RAZAOSOCIAL", "GRANDE CLIENTE SA"},
                             {"VALOR", rate.isEmpty() ? QString("30") : rate},
                             {"SITUACAO", "ATIVO"}});
        click(os->Btn_Novo);
        if (!fixed.isEmpty()) {
            click(os->Rbvalor);
            type(os->Edvalor, fixed);
        }
        type(os->Edcodcli, "20");
        QCOMPARE(os->Edvalor->text(), rate.isEmpty() ? reformatMoney(fixed) : valor);
        type(os->Edhora2, start);
        type(os->Edhora3, end);
        if (fixed.isEmpty())
            click(os->Rbhora2);
        if (!insurance.isEmpty())
            type(os->Edseguro, insurance);
        if (!fee.isEmpty())
            type(os->Edtaxap, fee);
        QCOMPARE(os->Edvalor->text(), valor);
        QCOMPARE(os->Edtotval->text(), total);
        type(os->Edcodmot, "3");
        click(os->Btn_Gravar);
        QVERIFY2(MessageBox::shownMessages().isEmpty(), qPrintable(lastMessage()));
        QCOMPARE(os->Edtotval->text(), total);
        QCOMPARE(os->Edvalor->text(), valor);
        const auto r = order("0000000001");
        QCOMPARE(reformatMoney(r["TOTVAL"]), total);
        QCOMPARE(reformatMoney(r["VALOR"]), valor);
    }

    // A time changed after the start basis was chosen: the total hours,
    // the bands, their values and the total all come from the new times.
    void storedOrderAgreesWithItself() {
        startOrder();
        type(os->Edhora2, "0800");
        type(os->Edhora3, "1000");
        click(os->Rbhora2);
        QCOMPARE(os->Edhora4->text(), QString("02:00"));
        QCOMPARE(os->Edtotval->text(), QString("60,00"));
        type(os->Edhora3, "1200");  // no new click
        click(os->Btn_Gravar);
        const auto r = order("0000000001");
        QCOMPARE(r["TOTHORN"], QString("004:00"));
        QCOMPARE(r["VALORN"], QString("120"));
        QCOMPARE(r["HORA4"], QString("04:00"));
        QCOMPARE(r["TOTVAL"], QString("120"));
        QCOMPARE(os->Edhora4->text(), QString("04:00"));  // the screen shows what was stored
        QCOMPARE(os->Edtotval->text(), QString("120,00"));
    }

    void fixedValueWithoutAnEndHasNoTotalTime_data() {
        QTest::addColumn<QString>("start");
        QTest::newRow("start 08:30") << "0830";
        QTest::newRow("start 23:00") << "2300";
    }
    void fixedValueWithoutAnEndHasNoTotalTime() {
        QFETCH(QString, start);
        startOrder();
        click(os->Rbvalor);
        type(os->Edvalor, "80");
        type(os->Edhora2, start);
        click(os->Btn_Gravar);
        const auto r = order("0000000001");
        QCOMPARE(r["HORA4"], QString());  // never "-8:-30" turned into " 8: 3"
        QCOMPARE(r["TOTHORN"], QString("000:00"));
        QCOMPARE(r["TOTHOR100"], QString("000:00"));
        QCOMPARE(r["TOTVAL"], QString("80"));
        QCOMPARE(os->Edhora4->text(), QString("  :  "));
    }

    void endBeforeAStartIsNeverRecorded() {
        startOrder();
        type(os->Edhora2, "1400");
        type(os->Edhora3, "1600");
        click(os->Rbhora2);
        type(os->Edhora2, "1700");  // changed after the end was checked
        click(os->Btn_Gravar);
        QVERIFY(lastMessage().startsWith("A hora final é anterior"));
        QCOMPARE(MessageBox::shownMessages().last().icon, QMessageBox::Warning);
        QCOMPARE(orderCount(), 0);
        QVERIFY(os->Btn_Gravar->isEnabled());
        QVERIFY(os->Edhora3->hasFocus());
        // With the departure alone filled, the end is checked against it too.
        MessageBox::clearShownMessages();
        click(os->Btn_Cancel);
        click(os->Btn_Novo);
        type(os->Edhora1, "1000");
        type(os->Edhora3, "0900");
        QCOMPARE(lastMessage(), QString("Deve ser aberto outra ordem de serviço."));
        QCOMPARE(os->Edhora3->text(), QString("24:00"));
    }

    // Each start-basis radio belongs visibly to its own time: it sits in one
    // frame with that time's caption and field, and nothing of the next time.
    void choicesSitWithTheirOwnFields_data() {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("caption");
        QTest::newRow("departure") << "Rbhora1"
                                   << "Edhora1"
                                   << "Hora de saída :";
        QTest::newRow("start") << "Rbhora2"
                               << "Edhora2"
                               << "Hora inicial :";
        QTest::newRow("fixed value") << "Rbvalor"
                                     << "Edvalor"
                                     << "Valor :";
    }
    void choicesSitWithTheirOwnFields() {
        QFETCH(QString, choice);
        QFETCH(QString, field);
        QFETCH(QString, caption);
        auto* button = os->findChild<QAbstractButton*>(choice);
        auto* edit = os->findChild<QLineEdit*>(field);
        QWidget* frame = button->parentWidget();
        QCOMPARE(edit->parentWidget(), frame);
        QStringList captions;
        for (auto* l : frame->findChildren<QLabel*>())
            captions.append(l->text());
        QCOMPARE(captions, QStringList{caption});
        for (auto* other : frame->findChildren<QLineEdit*>())
            QVERIFY(other == edit || edit->isAncestorOf(other));
        const QRect b = button->geometry();
        const QRect e = edit->geometry();
        QVERIFY(b.left() >= e.right());  // right of its own field
        QVERIFY(frame->rect().contains(b));
    }

    void timesAndValuesDoNotMoveBetweenStates() {
        const QList<QWidget*> watched = {os->Edhora1,  os->Rbhora1, os->Edhora2,  os->Rbhora2,
                                         os->Edhora3,  os->Edhora4, os->Edvalor,  os->Rbvalor,
                                         os->Edseguro, os->Edtaxap, os->Edtotval, os->Edcodmot,
                                         os->Edvalmot, os->Edplac,  os->Cbpag};
        auto places = [&] {
            os->layout()->activate();
            QApplication::processEvents();
            QList<QRect> out;
            for (QWidget* w : watched)
                out.append(QRect(w->mapTo(os, QPoint(0, 0)), w->size()));
            return out;
        };
        const QList<QRect> browse = places();
        click(os->Btn_Novo);
        const QList<QRect> edit = places();
        for (int i = 0; i < watched.size(); ++i)
            QVERIFY2(browse[i] == edit[i], qPrintable(watched[i]->objectName()));
    }

    // Enter moves on exactly as Tab does, through buttons and radios too.
    void enterFollowsTheTabOrder() {
        click(os->Btn_Novo);
        auto walk = [&](Qt::Key key, int steps) {
            QStringList chain;
            os->Edcodcli->setFocus(Qt::TabFocusReason);
            for (int i = 0; i < steps; ++i) {
                QWidget* at = QApplication::focusWidget();
                if (at == os->Edobs)
                    break;  // Enter starts a new line in the notes
                chain.append(at->objectName());
                QTest::keyClick(at, key);
            }
            return chain;
        };
        const QStringList byTab = walk(Qt::Key_Tab, 60);
        const QStringList byEnter = walk(Qt::Key_Return, 60);
        // Enter goes from field to field as Tab does, past the lookup
        // buttons beside the codes (Tab and the mouse reach them).
        QStringList fields = byTab;
        fields.removeAll("Btn_ConsCli");
        fields.removeAll("Btn_ConsMot");
        QVERIFY(byTab.contains("Btn_ConsCli") && byTab.contains("Btn_ConsMot"));
        QCOMPARE(byEnter, fields);
        for (const char* name :
             {"Edhora1", "Rbhora1", "Edhora2", "Rbhora2", "Edhora3", "Rbvalor", "Edcodmot"})
            QVERIFY2(byEnter.contains(name), name);
        QVERIFY(byEnter.indexOf("Rbhora1") == byEnter.indexOf("Edhora1") + 1);
        QVERIFY(byEnter.indexOf("Rbhora2") == byEnter.indexOf("Edhora2") + 1);
        QVERIFY(MessageBox::shownMessages().isEmpty());
        // On a button Enter presses it: Gravar refuses the empty order.
        os->Btn_Gravar->setFocus(Qt::TabFocusReason);
        QTest::keyClick(os->Btn_Gravar, Qt::Key_Return);
        QVERIFY(!MessageBox::shownMessages().isEmpty());
        QCOMPARE(orderCount(), 0);
        // And on a lookup button it opens the search.
        os->Btn_ConsCli->setFocus(Qt::TabFocusReason);
        QTest::keyClick(os->Btn_ConsCli, Qt::Key_Return);
        QVERIFY(Screens::find("Quelvarino0011_1")->isVisible());
    }

    void cancelAbandonsTheNewOrder() {
        startOrder();
        click(os->Btn_Cancel);
        QCOMPARE(orderCount(), 0);
        QCOMPARE(os->Edcodcli->text(), QString());
        QCOMPARE(os->Edcomanda->text(), QString("0000000001"));
        QVERIFY(!os->Btn_Gravar->isEnabled());
    }
};

QUELVARINO_GUI_TEST_MAIN(TestServiceOrder)
#include "tst_serviceorder.moc"
