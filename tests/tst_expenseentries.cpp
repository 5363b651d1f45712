#include "app/mainwindow.h"
#include "app/program.h"
#include "core/clock.h"
#include "data/table.h"
#include "registers/couriers.h"
#include "registers/expenseentries.h"
#include "registers/expensetypes.h"
#include "testsupport.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <memory>

using namespace quelvarino;
using namespace operatorDoes;

// A courier's expenses entered item by item through the real screen.
class TestExpenseEntries : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> home;
    TQuelvarino0031_0* screen = nullptr;

    // Rows of tbentrdesp as "NUMDESP|CODDESP|VALOR|DATA", in CONT order.
    static QStringList stored() {
        Table t("tbentrdesp");
        t.setIndexFieldNames("CONT");
        t.open();
        QStringList out;
        for (t.first(); !t.eof(); t.next())
            out << QStringList{t.fieldByName("NUMDESP").asString(),
                               t.fieldByName("CODDESP").asString(),
                               t.fieldByName("VALOR").asString(), t.fieldByName("DATA").asString()}
                       .join('|');
        return out;
    }
    void addItem(const QString& type, const QString& value) {
        screen->Edcoddesp->clear();
        screen->Edcoddesp->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(screen->Edcoddesp, type);
        QTest::keyClick(screen->Edcoddesp, Qt::Key_Tab);
        operatorDoes::type(screen->Edvalor, value);
        click(screen->Btn_IncDesp);
    }
    void chooseRow(int row) {
        const QModelIndex index = screen->DBGrid1->model()->index(row, 0);
        QTest::mouseClick(screen->DBGrid1->viewport(), Qt::LeftButton, {},
                          screen->DBGrid1->visualRect(index).center());
    }
    void newEntryFor(const QString& courier) {
        activate(screen);
        click(screen->Btn_Novo);
        type(screen->Edcodmot, courier);
    }

private slots:
    void init() {
        QVERIFY(startProgramTest(home, QDateTime(QDate(2026, 12, 8), QTime(10, 0))));
        store("tbmotociclista",
              {{"COD", "000007"}, {"NOME", "JOAO DA MOTO"}, {"SITUACAO", "ATIVO"}});
        store("tbmotociclista",
              {{"COD", "000008"}, {"NOME", "PEDRO PARADO"}, {"SITUACAO", "BLOQUEADO"}});
        store("tbdespesa", {{"COD", "000001"}, {"DESPESA", "GASOLINA"}});
        store("tbdespesa", {{"COD", "000002"}, {"DESPESA", "REFEICAO"}});
        Quelvarino000_0->menuAction("DespesasdoMotoboy1")->trigger();
        screen = TQuelvarino0031_0::instance();
        QVERIFY(screen && screen->isVisible());
        activate(screen);
    }
    void cleanup() { endProgramTest(home); }

    void browseState() {
        QCOMPARE(screen->Lbdata->text(), QString("08/12/2026"));
        QVERIFY(screen->Btn_Novo->isEnabled());
        QVERIFY(!screen->Btn_Imprimir->isEnabled());
        QVERIFY(!screen->Btn_IncDesp->isEnabled());
        QVERIFY(!screen->Edcodmot->isEnabled());
        QCOMPARE(screen->Edtotentr->text(), QString("0,00"));
        click(screen->Btn_Novo);
        QCOMPARE(screen->Edentrada->text(), QString("0000000001"));
        QVERIFY(screen->Btn_IncDesp->isEnabled());
        QVERIFY(!screen->Btn_Imprimir->isEnabled());
        QVERIFY(!screen->Edentrada->isEnabled());
        QVERIFY(screen->Edcodmot->hasFocus());
    }

    // 10,00 + 2,50; 2,50 changed to 3,00; 10,00 removed.
    void itemsAndTheirRunningTotal() {
        newEntryFor("7");
        QCOMPARE(screen->Edcodmot->text(), QString("000007"));
        QCOMPARE(screen->Edmotoboy->text(), QString("JOAO DA MOTO"));
        addItem("1", "10");
        QCOMPARE(screen->Edtotentr->text(), QString("10,00"));
        QCOMPARE(screen->Edcoddesp->text(), QString());
        QCOMPARE(screen->Edvalor->text(), QString("0,00"));
        addItem("2", "2,5");
        QCOMPARE(screen->Edtotentr->text(), QString("12,50"));
        QCOMPARE(screen->itemCount(), 2);
        QCOMPARE(stored(), QStringList({"0000000001|000001|10|08/12/2026",
                                        "0000000001|000002|2,5|08/12/2026"}));
        // The item changed is dated today, whatever the date field says.
        chooseRow(1);
        QCOMPARE(screen->Edvalor->text(), QString("2,50"));
        screen->Eddata->setText("01/01/2026");
        screen->Edvalor->selectAll();
        type(screen->Edvalor, "3");
        Clock::setNow(QDateTime(QDate(2026, 12, 9), QTime(9, 0)));
        click(screen->Btn_AltDesp);
        QCOMPARE(screen->Edtotentr->text(), QString("13,00"));
        QCOMPARE(stored().last(), QString("0000000001|000002|3|09/12/2026"));
        chooseRow(0);
        MessageBox::setNextAnswer(QMessageBox::Yes);
        click(screen->Btn_ExcDesp);
        QCOMPARE(lastMessage(), QString("Confirma exclusão?"));
        QCOMPARE(screen->Edtotentr->text(), QString("3,00"));
        QCOMPARE(stored(), QStringList({"0000000001|000002|3|09/12/2026"}));
        click(screen->Btn_Gravar);
        QCOMPARE(screen->Edentrada->text(), QString());
        QCOMPARE(stored().size(), 1);
    }

    void itemChecksInTheirOrder_data() {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::newRow("no expense") << ""
                                    << "5"
                                    << "Existem campos do pedido em branco!";
        QTest::newRow("zero") << "1"
                              << "0"
                              << "Valor digitado igual a zero.";
        QTest::newRow("zero with cents") << "1"
                                         << "0,00"
                                         << "Valor digitado igual a zero.";
    }
    void itemChecksInTheirOrder() {
        QFETCH(QString, type);
        QFETCH(QString, value);
        QFETCH(QString, message);
        newEntryFor("7");
        addItem(type, value);
        QCOMPARE(lastMessage(), message);
        QCOMPARE(stored(), QStringList());
    }

    // Without a chosen row nothing is changed or removed in its place.
    void itemButtonsWithoutAChosenRow() {
        newEntryFor("7");
        addItem("1", "10");
        screen->Edcoddesp->setText("000002");
        screen->Eddespesa->setText("REFEICAO");
        screen->Edvalor->setText("4,00");
        click(screen->Btn_AltDesp);
        QVERIFY(lastMessage().startsWith("Selecione"));
        click(screen->Btn_ExcDesp);
        QCOMPARE(lastMessage(), QString("Selecione o item para a exclusão."));
        QCOMPARE(stored(), QStringList({"0000000001|000001|10|08/12/2026"}));
    }

    void cancelAsksBeforeRemovingTheItems_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("yes") << int(QMessageBox::Yes);
        QTest::newRow("no") << int(QMessageBox::No);
    }
    void cancelAsksBeforeRemovingTheItems() {
        QFETCH(int, answer);
        store("tbentrdesp", {{"NUMDESP", "0000000050"},
                             {"CODDESP", "000001"},
                             {"VALOR", "7"},
                             {"CODMOT", "000007"},
                             {"DATA", "01/12/2026"}});  // another entry
        newEntryFor("7");
        QCOMPARE(screen->Edentrada->text(), QString("0000000051"));
        addItem("1", "10");
        addItem("2", "5");
        MessageBox::setNextAnswer(QMessageBox::StandardButton(answer));
        click(screen->Btn_Cancel);
        QCOMPARE(lastMessage(), QString("Deseja cancelar todos os itens."));
        QCOMPARE(MessageBox::shownMessages().last().icon, QMessageBox::Warning);
        QCOMPARE(MessageBox::shownMessages().last().buttons, QMessageBox::Yes | QMessageBox::No);
        QVERIFY(!screen->inEditState());
        QStringList left = stored();
        QVERIFY(left.contains("0000000050|000001|7|01/12/2026"));  // never another entry's
        QCOMPARE(left.size(), answer == QMessageBox::Yes ? 1 : 3);
        if (answer == QMessageBox::No) {
            // The entry is found again by the search.
            click(screen->Btn_Consultar);
            auto* search = TQuelvarino0031_1::instance();
            QCOMPARE(search->Label1->text(), QString("Digite o número da entrada ou sequência :"));
            QVERIFY(search->findChild<QRadioButton*>("Rbentrada")->isChecked());
            QTest::keyClicks(search->Ed_Desc, "0000000051");
            click(search->Btn_Retornar);
            QCOMPARE(screen->Edentrada->text(), QString("0000000051"));
            QCOMPARE(screen->Edmotoboy->text(), QString("JOAO DA MOTO"));
            QCOMPARE(screen->Edtotentr->text(), QString("15,00"));
            QCOMPARE(screen->itemCount(), 2);
            // And the whole entry can be deleted.
            MessageBox::setNextAnswer(QMessageBox::Yes);
            click(screen->Btn_Excluir);
            QCOMPARE(stored(), QStringList({"0000000050|000001|7|01/12/2026"}));
            QCOMPARE(screen->Edentrada->text(), QString());
        }
    }

    void blockedCourierRefused() {
        newEntryFor("8");
        QCOMPARE(lastMessage(), QString("Situação do Motoboy BLOQUEADO."));
        QCOMPARE(screen->Edcodmot->text(), QString());
        type(screen->Edcodmot, "99");
        QCOMPARE(lastMessage(), QString("Código do motociclista inexistente."));
        click(screen->Btn_ConsMot);
        auto* search = TQuelvarino0012_1::instance();
        QCOMPARE(search->callerName(), QString("entrada_despesa"));
        QTest::keyClicks(search->Ed_Desc, "PEDRO");
        click(search->Btn_Retornar);
        QCOMPARE(lastMessage(), QString("Situação do Motoboy BLOQUEADO."));
        search->Ed_Desc->clear();
        QTest::keyClicks(search->Ed_Desc, "JOAO");
        click(search->Btn_Retornar);
        QCOMPARE(screen->Edcodmot->text(), QString("000007"));
        // The expense-type search fills the item.
        click(screen->Btn_ConsDesp);
        auto* types = TQuelvarino0013_1::instance();
        QTest::keyClicks(types->Ed_Desc, "REF");
        click(types->Btn_Retornar);
        QCOMPARE(screen->Edcoddesp->text(), QString("000002"));
        QCOMPARE(screen->Eddespesa->text(), QString("REFEICAO"));
        type(screen->Edcoddesp, "9");
        QCOMPARE(lastMessage(), QString("Código da despesa inexistente."));
    }

    void valueTakesSixCharacters() {
        newEntryFor("7");
        screen->Edvalor->clear();
        screen->Edvalor->setFocus();
        QTest::keyClicks(screen->Edvalor, "9999,99");
        QCOMPARE(screen->Edvalor->text(), QString("9999,9"));
        QTest::keyClicks(screen->Edvalor, "x");
        QCOMPARE(screen->Edvalor->text(), QString("9999,9"));
    }

    // Two workstations press Novo together: the second to store an item
    // moves to the next number, so their items never mix.
    void concurrentNewEntriesNeverMix() {
        newEntryFor("7");
        QCOMPARE(screen->Edentrada->text(), QString("0000000001"));
        QProcess other;
        other.start(qEnvironmentVariable("STORE_HELPER"),
                    {home->dataFolder(), "insert",
                     "NUMDESP=0000000001,CODMOT=000003,CODDESP=000001,VALOR=8,DATA=08/12/2026",
                     "tbentrdesp"});
        QVERIFY(other.waitForFinished(20000));
        QVERIFY(other.readAll().contains("INSERTED"));
        addItem("1", "10");
        QVERIFY(lastMessage().contains("0000000002"));
        QCOMPARE(screen->Edentrada->text(), QString("0000000002"));
        addItem("2", "5");  // the number stays once an item is stored
        QCOMPARE(stored(),
                 QStringList({"0000000001|000001|8|08/12/2026", "0000000002|000001|10|08/12/2026",
                              "0000000002|000002|5|08/12/2026"}));
        QCOMPARE(screen->Edtotentr->text(), QString("15,00"));
    }

    void changeOfAWholeEntry() {
        store("tbentrdesp", {{"NUMDESP", "0000000001"},
                             {"CODDESP", "000001"},
                             {"DESPESA", "GASOLINA"},
                             {"VALOR", "7"},
                             {"CODMOT", "000007"},
                             {"MOTOBOY", "JOAO DA MOTO"},
                             {"DATA", "01/12/2026"}});
        click(screen->Btn_Consultar);
        auto* search = TQuelvarino0031_1::instance();
        QTest::keyClicks(search->Ed_Desc, "0000000001");
        click(search->Btn_Retornar);
        click(screen->Btn_Alterar);
        QVERIFY(lastMessage().startsWith("Selecione no quadro"));
        QVERIFY(!screen->inEditState());
        chooseRow(0);
        click(screen->Btn_Alterar);
        QVERIFY(screen->inEditState());
        QVERIFY(!screen->Edcodmot->isEnabled());  // the courier of the entry stays
        addItem("2", "3");
        QCOMPARE(screen->Edtotentr->text(), QString("10,00"));
        QCOMPARE(stored().last(), QString("0000000001|000002|3|08/12/2026"));
    }
};

QUELVARINO_GUI_TEST_MAIN(TestExpenseEntries)
#include "tst_expenseentries.moc"
