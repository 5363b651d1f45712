#include "app/mainwindow.h"
#include "app/program.h"
#include "core/clock.h"
#include "data/datamodule.h"
#include "data/table.h"
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

// The expense-type register driven through its real screens, as an
// operator would: menu, buttons, typing, the search.
class TestExpenseTypes : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> home;
    TQuelvarino0013_0* screen = nullptr;
    TQuelvarino0013_1* search = nullptr;

    void click(QPushButton* b) {
        QVERIFY2(b->isEnabled(), qPrintable(b->objectName()));
        QTest::mouseClick(b, Qt::LeftButton);
    }
    QStringList storedRows() {
        Table t("tbdespesa");
        t.open();
        QStringList rows;
        for (t.first(); !t.eof(); t.next())
            rows.append(t.fieldByName("COD").asString() + "|" +
                        t.fieldByName("DESPESA").asString() + "|" +
                        t.fieldByName("DATA").asString());
        return rows;
    }
    QStringList shownTexts() {
        QStringList out;
        for (const auto& m : MessageBox::shownMessages())
            out.append(m.text);
        return out;
    }
    void addNew(const QString& typed) {
        click(screen->Btn_Novo);
        screen->Ed_Desp->setFocus();
        QTest::keyClicks(screen->Ed_Desp, typed);
        click(screen->Btn_Gravar);
    }
    void pickInSearch(const QString& typed) {
        click(screen->Btn_Consultar);
        QVERIFY(search->isVisible());
        QCOMPARE(search->callerName(), QString("despesa"));
        QTest::keyClicks(search->Ed_Desc, typed);
        click(search->Btn_Retornar);
        QVERIFY(!search->isVisible());
    }

private slots:
    void init() {
        QVERIFY(startProgramTest(home, QDateTime(QDate(2026, 12, 8), QTime(10, 0))));
        Quelvarino000_0->menuAction("Despesas1")->trigger();
        screen = Screens::get<TQuelvarino0013_0>("Quelvarino0013_0");
        search = Screens::get<TQuelvarino0013_1>("Quelvarino0013_1");
        QVERIFY(screen && search);
        QVERIFY(screen->isVisible());
    }
    void cleanup() { endProgramTest(home); }

    void browseStateAtStart() {
        QVERIFY(!screen->Ed_Desp->isEnabled());
        QVERIFY(screen->Ed_Desp->font().bold());
        QVERIFY(!screen->Btn_Gravar->isEnabled());
        QVERIFY(!screen->Btn_Cancel->isEnabled());
        QVERIFY(screen->Btn_Novo->isEnabled());
        QCOMPARE(screen->Ed_Data->text(), QString("08/12/2026"));
        QCOMPARE(screen->Btn_Novo->toolTip(), QString("Incluir novos dados"));
    }

    void fullCycle() {
        click(screen->Btn_Novo);
        QCOMPARE(screen->Ed_Cod->text(), QString("000001"));
        QVERIFY(!screen->Ed_Cod->isEnabled());
        QVERIFY(screen->Ed_Desp->isEnabled());
        QVERIFY(!screen->Ed_Desp->font().bold());
        QVERIFY(!screen->Btn_Retornar->isEnabled());
        screen->Ed_Desp->setFocus();
        QTest::keyClicks(screen->Ed_Desp, "gasolina");
        QCOMPARE(screen->Ed_Desp->text(), QString("GASOLINA"));
        click(screen->Btn_Gravar);
        QCOMPARE(storedRows(), QStringList{"000001|GASOLINA|08/12/2026"});
        QCOMPARE(screen->Ed_Cod->text(), QString());  // cleared, browse state
        QVERIFY(!screen->Btn_Gravar->isEnabled());
        QVERIFY(!DataModule1->TBDespesa->isOpen());

        addNew("refeicao");
        QCOMPARE(storedRows(),
                 QStringList({"000001|GASOLINA|08/12/2026", "000002|REFEICAO|08/12/2026"}));

        // Found by description, then by code.
        Clock::setNow(QDateTime(QDate(2026, 12, 9), QTime(8, 0)));
        pickInSearch("REF");
        QCOMPARE(screen->Ed_Cod->text(), QString("000002"));
        QCOMPARE(screen->Ed_Desp->text(), QString("REFEICAO"));
        QCOMPARE(screen->Ed_Data->text(), QString("09/12/2026"));  // today, not the stored date
        QVERIFY(!screen->Btn_Gravar->isEnabled());

        click(screen->Btn_Alterar);
        QVERIFY(screen->Ed_Desp->isEnabled());
        // Alterar shows the date the change will store, not the stored one.
        QCOMPARE(screen->Ed_Data->text(), QString("09/12/2026"));
        QCOMPARE(screen->Ed_Desp->text(), QString("REFEICAO"));
        screen->Ed_Desp->selectAll();
        QTest::keyClicks(screen->Ed_Desp, "refeicoes");
        click(screen->Btn_Gravar);
        QCOMPARE(storedRows(),
                 QStringList({"000001|GASOLINA|08/12/2026", "000002|REFEICOES|09/12/2026"}));

        click(screen->Btn_Consultar);
        auto* byCode = search->findChild<QRadioButton*>("Rbcod");
        QTest::mouseClick(byCode, Qt::LeftButton, {}, QPoint(6, byCode->height() / 2));
        QCOMPARE(search->Label1->text(), QString("Digite o código da despesa ou sequência :"));
        QTest::keyClicks(search->Ed_Desc, "000001");
        click(search->Btn_Retornar);
        QCOMPARE(screen->Ed_Desp->text(), QString("GASOLINA"));

        MessageBox::setNextAnswer(QMessageBox::No);
        click(screen->Btn_Excluir);
        QCOMPARE(storedRows().size(), 2);
        const auto asked = MessageBox::shownMessages().last();
        QCOMPARE(asked.text, QString("Deseja excluir esta despesa?"));
        QCOMPARE(asked.buttons, QMessageBox::Yes | QMessageBox::No);
        QCOMPARE(asked.icon, QMessageBox::Question);
        MessageBox::setNextAnswer(QMessageBox::Yes);
        click(screen->Btn_Excluir);
        QCOMPARE(storedRows(), QStringList{"000002|REFEICOES|09/12/2026"});
        QCOMPARE(screen->Ed_Cod->text(), QString());
    }

    void searchGridFollowsTyping() {
        for (const char* name : {"OLEO", "GASOLINA", "MANUTENCAO", "ADIANTAMENTO", "VALES"})
            addNew(name);
        click(screen->Btn_Consultar);
        QCOMPARE(search->DBGrid1->model()->rowCount(), 5);
        QCOMPARE(search->DBGrid1->model()->headerData(0, Qt::Horizontal).toString(),
                 QString("Código"));
        QCOMPARE(search->Label1->text(), QString("Digite descrição da despesa ou sequência :"));
        QTest::keyClicks(search->Ed_Desc, "m");
        QCOMPARE(search->Ed_Desc->text(), QString("M"));
        QCOMPARE(search->DBGrid1->currentIndex().row(), 2);  // ADIANTAMENTO, GASOLINA, MANUTENCAO
        QTest::keyClicks(search->Ed_Desc, "N");              // "MN": the first at or after it
        QCOMPARE(search->DBGrid1->currentIndex().row(), 3);
        search->Ed_Desc->clear();
        QTest::keyClicks(search->Ed_Desc, "ZZ");  // past the last: the last row
        QCOMPARE(search->DBGrid1->currentIndex().row(), 4);
        // Picking a row with the mouse makes it the one returned.
        search->DBGrid1->selectRow(1);
        click(search->Btn_Retornar);
        QCOMPARE(screen->Ed_Desp->text(), QString("GASOLINA"));
        click(screen->Btn_Consultar);
        click(search->Btn_Cancel);
        QVERIFY(!search->isVisible());
        QCOMPARE(screen->Ed_Cod->text(), QString());
        QVERIFY(!search->table()->isOpen());
    }

    void messagesWithoutASelectedRecord() {
        click(screen->Btn_Alterar);
        click(screen->Btn_Excluir);
        QCOMPARE(shownTexts(), QStringList({"Selecione o registro que será alterado.",
                                            "Selecione o registro que será excluído"}));
        for (const auto& m : MessageBox::shownMessages()) {
            QCOMPARE(m.title, QString(" A T E N Ç Ã O ! ! !"));
            QCOMPARE(m.icon, QMessageBox::Warning);
        }
    }

    void cancelAbandonsTheEditAndItsLock() {
        addNew("PEDAGIO");
        pickInSearch("PED");
        click(screen->Btn_Alterar);
        screen->Ed_Desp->setText("OUTRA COISA");
        click(screen->Btn_Cancel);
        QCOMPARE(storedRows(), QStringList{"000001|PEDAGIO|08/12/2026"});
        Table other("tbdespesa");
        other.open();
        other.edit();  // the lock is gone
        other.cancel();
    }

    void lockHeldByAnotherWorkstationRefusesAlterar() {
        addNew("ESTACIONAMENTO");
        QProcess holder;
        holder.start(qEnvironmentVariable("STORE_HELPER"),
                     {home->dataFolder(), "lock", "000001", "tbdespesa"});
        QVERIFY(holder.waitForReadyRead(20000));
        QVERIFY(holder.readAll().contains("LOCKED"));
        pickInSearch("EST");
        click(screen->Btn_Alterar);
        QCOMPARE(shownTexts().last(),
                 QString("Este registro está sendo alterado por outro usuário."));
        QVERIFY(!screen->Ed_Desp->isEnabled());
        QVERIFY(!screen->Btn_Gravar->isEnabled());
        MessageBox::setNextAnswer(QMessageBox::Yes);
        click(screen->Btn_Excluir);  // nor can it be deleted under him
        QCOMPARE(shownTexts().last(),
                 QString("Este registro está sendo alterado por outro usuário."));
        QCOMPARE(storedRows().size(), 1);
        holder.write("quit\n");
        QVERIFY(holder.waitForFinished(20000));
        click(screen->Btn_Alterar);
        QVERIFY(screen->Ed_Desp->isEnabled());
    }

    void twoWorkstationsPressingNovoTogether() {
        addNew("GASOLINA");
        click(screen->Btn_Novo);
        QCOMPARE(screen->Ed_Cod->text(), QString("000002"));
        // Meanwhile another workstation records its own 000002.
        {
            Table other("tbdespesa");
            other.open();
            other.insert();
            other.fieldByName("COD").setAsString("000002");
            other.fieldByName("DESPESA").setAsString("DO OUTRO");
            other.post();
        }
        screen->Ed_Desp->setFocus();
        QTest::keyClicks(screen->Ed_Desp, "MINHA");
        click(screen->Btn_Gravar);
        QCOMPARE(storedRows(), QStringList({"000001|GASOLINA|08/12/2026", "000002|DO OUTRO|",
                                            "000003|MINHA|08/12/2026"}));
        QVERIFY(shownTexts().last().contains("000003"));
    }

    // The code taken between the look-up and the post: the same Gravar
    // goes on with the next free code, and no engine text is shown.
    void codeTakenAtTheMomentOfThePost() {
        addNew("GASOLINA");
        click(screen->Btn_Novo);
        Table::beforePostHook() = [](const QString& table) {
            if (table != "tbdespesa")
                return;
            Table::beforePostHook() = nullptr;
            Table other("tbdespesa");
            other.open();
            other.insert();
            other.fieldByName("COD").setAsString("000002");
            other.fieldByName("DESPESA").setAsString("DO OUTRO");
            other.post();
        };
        screen->Ed_Desp->setFocus();
        QTest::keyClicks(screen->Ed_Desp, "MINHA");
        click(screen->Btn_Gravar);
        Table::beforePostHook() = nullptr;
        QCOMPARE(storedRows(), QStringList({"000001|GASOLINA|08/12/2026", "000002|DO OUTRO|",
                                            "000003|MINHA|08/12/2026"}));
        QCOMPARE(shownTexts().last(), QString("O código 000002 foi usado por outro usuário; este "
                                              "registro foi gravado com o código 000003."));
    }

    void excluirNeverDeletesAnotherRecord() {
        addNew("A");
        addNew("B");
        pickInSearch("A");
        QCOMPARE(screen->Ed_Cod->text(), QString("000001"));
        {  // another workstation deletes it meanwhile
            Table other("tbdespesa");
            other.open();
            QVERIFY(other.findKey("000001"));
            other.remove();
        }
        MessageBox::setNextAnswer(QMessageBox::Yes);
        click(screen->Btn_Excluir);
        QCOMPARE(shownTexts().last(),
                 QString("Este registro não foi encontrado; nada foi excluído."));
        QCOMPARE(storedRows(), QStringList{"000002|B|08/12/2026"});
        // The same for Alterar: nothing is locked or changed.
        click(screen->Btn_Alterar);
        QCOMPARE(shownTexts().last(),
                 QString("Este registro não foi encontrado; nada foi alterado."));
        QVERIFY(!screen->Btn_Gravar->isEnabled());
    }

    void enterMovesToTheNextField() {
        click(screen->Btn_Novo);
        screen->activateWindow();
        screen->Ed_Desp->setFocus();
        QTest::keyClicks(screen->Ed_Desp, "TAXI");
        QTest::keyClick(screen->Ed_Desp, Qt::Key_Return);
        QVERIFY(!screen->Ed_Desp->hasFocus());
        click(screen->Btn_Cancel);
        QVERIFY(storedRows().isEmpty());
    }
};

QUELVARINO_GUI_TEST_MAIN(TestExpenseTypes)
#include "tst_expensetypes.moc"
