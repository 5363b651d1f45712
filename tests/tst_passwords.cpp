#include "app/mainwindow.h"
#include "app/program.h"
#include "core/clock.h"
#include "core/password.h"
#include "data/datamodule.h"
#include "data/passwordstore.h"
#include "data/table.h"
#include "orders/accesspassword.h"
#include "orders/ordersearch.h"
#include "orders/serviceorder.h"
#include "reportscreens/printdialog.h"
#include "settings/passwords.h"
#include "testsupport.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTableView>
#include <memory>

using namespace quelvarino;
using namespace operatorDoes;

// The access password and what it guards: the order search, change,
// delete and reprint of recorded orders.
class TestPasswords : public QObject {
    Q_OBJECT

    std::unique_ptr<TempHome> home;
    TQuelvarino0021_0* os = nullptr;

    static QMap<QString, QString> order(const QString& number) {
        return storedRecord("tbordem", number);
    }
    static void setPassword(const QString& plain) {
        Table t("tbsenha");
        PasswordStore::store(t, plain);
    }
    QString storedBytes() {
        Table t("tbsenha");
        t.open();
        t.first();
        return t.isEmpty() ? QString() : t.fieldByName("SENHA").asString();
    }
    void recordOrder(const QString& number, const QString& client, const QString& requester) {
        store("tbordem", {{"COMANDA", number},
                          {"CODCLI", "000007"},
                          {"CLIENTE", client},
                          {"SOLICITANTE", requester},
                          {"HORA2", "08:00"},
                          {"HORA3", "10:00"},
                          {"HORA4", "02:00"},
                          {"VALOR", "30"},
                          {"TOTVAL", "60"},
                          {"CODMOT", "000003"},
                          {"MOTOBOY", "JOAO DA MOTO"},
                          {"PAGAMENTO", "FATURADO"},
                          {"DATA", "01/12/2026"}});
    }
    // The order search, as the operator uses it, on a given kind and text.
    void findOrder(const QString& radio, const QString& typed) {
        activate(os);
        click(os->Btn_Consultar);
        auto* search = Screens::get<TQuelvarino0021_1>("Quelvarino0021_1");
        QVERIFY(search->isVisible());
        if (!radio.isEmpty())
            click(search->findChild<QRadioButton*>(radio));
        QTest::keyClicks(search->Ed_Desc, typed);
        click(search->Btn_Retornar);
    }
    TQuelvarino0021_3* passwordScreen() {
        return Screens::get<TQuelvarino0021_3>("Quelvarino0021_3");
    }
    void typePassword(PasswordPrompt* screen, const QString& text) {
        screen->Edsenha->setFocus();
        QTest::keyClicks(screen->Edsenha, text);
        click(screen->Btn_Confirmar);
    }

private slots:
    void init() {
        QVERIFY(startProgramTest(home, QDateTime(QDate(2026, 12, 8), QTime(10, 0))));
        store("tbclientes", {{"CODCLI", "000007"},
                             {"RAZAOSOCIAL", "FARMACIA CENTRAL"},
                             {"ENDERECO1", "RUA NOVA, 500"},
                             {"CIDADE1", "SANTOS"},
                             {"VALOR", "30"},
                             {"SITUACAO", "ATIVO"}});
        store(
            "tbmotociclista",
            {{"COD", "000003"}, {"NOME", "JOAO DA MOTO"}, {"VALOR", "12"}, {"SITUACAO", "ATIVO"}});
        os = Screens::get<TQuelvarino0021_0>("Quelvarino0021_0");
        Quelvarino000_0->menuAction("OrdemdeServio1")->trigger();
        activate(os);
    }
    void cleanup() { endProgramTest(home); }

    // ---- the scrambling ----------------------------------------------------------

    void scramblingRoundTrips_data() {
        QTest::addColumn<QByteArray>("plain");
        for (int n = 0; n <= 10; ++n)
            QTest::newRow(qPrintable(QString("length %1").arg(n)))
                << QByteArray("SENHAS1234XY").left(n);
        QTest::newRow("accented capitals") << QString("ÇÃOÉÍ").toLatin1();
        QByteArray every;
        for (int b = 0; b < 256; ++b)
            every.append(char(b));
        QTest::newRow("every byte value") << every;
    }
    void scramblingRoundTrips() {
        QFETCH(QByteArray, plain);
        const QByteArray scrambled = scramble(plain);
        QCOMPARE(scrambled.size(), plain.size());
        QCOMPARE(unscramble(scrambled), plain);
        if (plain.size() >= 2)
            QVERIFY(scrambled != plain);
        // Stored and read back byte for byte, NUL and all.
        setPassword(QString::fromLatin1(plain));
        QCOMPARE(storedBytes().toLatin1(), scrambled);
        Table t("tbsenha");
        QCOMPARE(PasswordStore::stored(t).toLatin1(), plain);
    }

    void scramblingByHand() {
        // K = 0x0009: "A" (0x41) XOR 0x00 = 0x41; K = (0x09 + 0x41) * 0x3B7D + 0x8E61
        // = 0x10C083 + ... mod 65536 = 0xC083; "B" (0x42) XOR 0xC0 = 0x82.
        QCOMPARE(scramble("AB"), QByteArray("\x41\x82"));
        QCOMPARE(unscramble(QByteArray("\x41\x82")), QByteArray("AB"));
        QCOMPARE(scramble(""), QByteArray());
    }

    // ---- Parametros Iniciais ------------------------------------------------------

    void firstTextBecomesThePassword() {
        QCOMPARE(storedBytes(), QString());
        Quelvarino000_0->menuAction("ParametrosIniciais1")->trigger();
        auto* prompt = Screens::get<TQuelvarino0014_0>("Quelvarino0014_0");
        auto* change = Screens::get<TQuelvarino0014_1>("Quelvarino0014_1");
        QVERIFY(prompt->isVisible());
        QCOMPARE(prompt->focusWidget(), prompt->Edsenha);
        activate(prompt);
        QCOMPARE(prompt->windowTitle(), QString("Parametros Iniciais"));
        QVERIFY(!(prompt->windowFlags() & Qt::WindowCloseButtonHint));
        QVERIFY(prompt->width() >= 249 && prompt->height() >= 131);
        QCOMPARE(prompt->Edsenha->echoMode(), QLineEdit::Password);
        prompt->Edsenha->setFocus();
        QTest::keyClicks(prompt->Edsenha, "abc12");
        QCOMPARE(prompt->Edsenha->text(), QString("ABC12"));  // capitals, so every password is
        QTest::keyClick(prompt->Edsenha, Qt::Key_Return);     // leaving the field checks it
        QVERIFY(MessageBox::shownMessages().isEmpty());
        QVERIFY(!storedBytes().isEmpty());
        QVERIFY(storedBytes() != "ABC12");  // stored scrambled
        QCOMPARE(unscrambleText(storedBytes()), QString("ABC12"));
        QVERIFY(change->isVisible());
        QCOMPARE(prompt->Edsenha->text(), QString());
        click(prompt->Btn_Confirmar);  // the field was emptied: nothing is checked twice
        QVERIFY(MessageBox::shownMessages().isEmpty());

        // An empty new password leaves the stored one and closes both.
        click(change->Btn_Confirmar);
        QVERIFY(!change->isVisible() && !prompt->isVisible());
        QCOMPARE(unscrambleText(storedBytes()), QString("ABC12"));

        // The current password, typed in small letters, opens the change.
        Quelvarino000_0->menuAction("ParametrosIniciais1")->trigger();
        typePassword(prompt, "abc12");
        QVERIFY(change->isVisible());
        change->Edsenha->setFocus();
        QTest::keyClicks(change->Edsenha, "nova");
        click(change->Btn_Confirmar);
        QCOMPARE(unscrambleText(storedBytes()), QString("NOVA"));
        QVERIFY(!prompt->isVisible());
    }

    // "&Limpar" empties the field for another try and keeps the screen;
    // "&Retornar" empties it, releases the password table and closes.
    void clearAndReturnOfTheFirstPrompt_data() {
        QTest::addColumn<bool>("leave");
        QTest::newRow("Limpar") << false;
        QTest::newRow("Retornar") << true;
    }
    void clearAndReturnOfTheFirstPrompt() {
        QFETCH(bool, leave);
        setPassword("CERTA");
        Quelvarino000_0->menuAction("ParametrosIniciais1")->trigger();
        auto* prompt = TQuelvarino0014_0::instance();
        activate(prompt);
        prompt->TBSenha()->open();  // as a check in progress leaves it
        prompt->Edsenha->setFocus();
        QTest::keyClicks(prompt->Edsenha, "ERR");
        // The handlers themselves (a click first leaves the field, which
        // checks what was typed).
        if (leave)
            prompt->Btn_RetornarClick();
        else
            prompt->Btn_LimparClick();
        QCOMPARE(prompt->Edsenha->text(), QString());
        QCOMPARE(prompt->isVisible(), !leave);
        if (leave)
            QVERIFY(!prompt->TBSenha()->isOpen());
        else
            QCOMPARE(QApplication::focusWidget(), prompt->Edsenha);
        QCOMPARE(prompt->wrongPasswords(), 0);
        QVERIFY(MessageBox::shownMessages().isEmpty());
        QVERIFY(!TQuelvarino0014_1::instance()->isVisible());
        QCOMPARE(unscrambleText(storedBytes()), QString("CERTA"));
    }

    // Three wrong passwords in one run end the program, a right one in
    // between does not reset the count; a new run counts from zero.
    void threeWrongPasswordsEndTheRun() {
        setPassword("CERTA");
        auto* prompt = Screens::get<TQuelvarino0014_0>("Quelvarino0014_0");
        QSignalSpy ended(Quelvarino000_0, &TQuelvarino000_0::closed);
        for (const char* typed : {"ERRADA", "CERTA", "OUTRA"}) {
            Quelvarino000_0->menuAction("ParametrosIniciais1")->trigger();
            typePassword(prompt, typed);
            Screens::get<TQuelvarino0014_1>("Quelvarino0014_1")->Btn_RetornarClick();
        }
        QCOMPARE(ended.count(), 0);
        QCOMPARE(prompt->wrongPasswords(), 2);
        Quelvarino000_0->menuAction("ParametrosIniciais1")->trigger();
        typePassword(prompt, "ERRADA");
        QCOMPARE(lastMessage(), QString("Senha digitada está incorreta."));
        QCOMPARE(MessageBox::shownMessages().last().icon, QMessageBox::Warning);
        QCOMPARE(ended.count(), 1);  // the main window closed: the program ends

        stopProgram();
        QVERIFY(startProgram(*qApp));
        auto* again = Screens::get<TQuelvarino0014_0>("Quelvarino0014_0");
        QCOMPARE(again->wrongPasswords(), 0);
        QSignalSpy endedAgain(Quelvarino000_0, &TQuelvarino000_0::closed);
        Quelvarino000_0->menuAction("ParametrosIniciais1")->trigger();
        typePassword(again, "ERRADA");
        QCOMPARE(endedAgain.count(), 0);
    }

    // ---- the order search ---------------------------------------------------------

    void searchShowsTheNewestAndFindsByEveryKind_data() {
        QTest::addColumn<QString>("radio");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("loaded");
        QTest::newRow("number") << ""
                                << "0000000002"
                                << "0000000002";
        QTest::newRow("nearest number") << ""
                                        << "00000000015"
                                        << "0000000002";
        QTest::newRow("client") << "Rbcliente"
                                << "BAZ"
                                << "0000000001";
        QTest::newRow("requester") << "Rbsolicitante"
                                   << "PED"
                                   << "0000000003";
    }
    void searchShowsTheNewestAndFindsByEveryKind() {
        QFETCH(QString, radio);
        QFETCH(QString, typed);
        QFETCH(QString, loaded);
        recordOrder("0000000001", "BAZAR", "ANA");
        recordOrder("0000000002", "FARMACIA CENTRAL", "JOSE");
        recordOrder("0000000003", "FARMACIA CENTRAL", "PEDRO");
        activate(os);
        click(os->Btn_Consultar);
        auto* search = Screens::get<TQuelvarino0021_1>("Quelvarino0021_1");
        QCOMPARE(search->callerName(), QString("ordem_servico"));
        QCOMPARE(search->Label1->text(),
                 QString("Digite o número da ordem de serviço ou sequência :"));
        QCOMPARE(search->table()->fieldByName("COMANDA").asString(), QString("0000000003"));
        QCOMPARE(search->DBGrid1->currentIndex().row(), 2);  // the newest is current
        if (!radio.isEmpty()) {
            click(search->findChild<QRadioButton*>(radio));
            QCOMPARE(search->table()->recordIndex(), search->table()->recordCount() - 1);
        }
        QTest::keyClicks(search->Ed_Desc, typed);
        click(search->Btn_Retornar);
        QVERIFY(!search->isVisible());
        QCOMPARE(os->Edcomanda->text(), loaded);
        QVERIFY(os->Btn_Imprimir->isEnabled());
        QVERIFY(!os->inEditState());
    }

    void loadedOrderShowsTheClientsAddressOfToday() {
        recordOrder("0000000001", "FARMACIA CENTRAL", "ANA");
        findOrder("", "0000000001");
        QCOMPARE(os->Edend->text(), QString("RUA NOVA, 500"));  // the client has moved
        QCOMPARE(os->Edvalor->text(), QString("30,00"));
        QCOMPARE(os->Edtotval->text(), QString("60,00"));
        QCOMPARE(os->Edseguro->text(), QString("0,00"));
        QCOMPARE(os->Edhora4->text(), QString("02:00"));
        QCOMPARE(os->Cbpag->currentText(), QString("FATURADO"));
        QVERIFY(!os->Rbhora2->isChecked());  // choices are not restored
        // Reprint: the dialog with the order's own file name.
        click(os->Btn_Imprimir);
        auto* d = Screens::get<PrintDialog>("Quelvarino0021_5");
        QVERIFY(d->isVisible());
        QCOMPARE(d->Edcam->text(), home->dataFolder() + "/Relatorios/OS0000000001");
    }

    // ---- change and delete under the password -----------------------------------

    void changingAnOrderNeedsThePassword() {
        setPassword("CHAVE");
        recordOrder("0000000001", "FARMACIA CENTRAL", "ANA");
        findOrder("", "0000000001");
        click(os->Btn_Alterar);
        auto* password = passwordScreen();
        QVERIFY(password->isVisible());
        QVERIFY(!os->inEditState());
        typePassword(password, "errada");
        QCOMPARE(lastMessage(), QString("Senha digitada está incorreta."));
        QCOMPARE(password->wrongPasswords(), 1);
        QVERIFY(!os->inEditState());
        typePassword(password, "chave");
        QVERIFY(!password->isVisible());
        QVERIFY(os->inEditState());
        QVERIFY(os->Cbpag->isEditable());          // free text for a changed order
        QVERIFY(!DataModule1->TBOrdem->isOpen());  // the lock ended with the password
        activate(os);
        type(os->Edsolicit, "ALTERADO");
        type(os->Edhora3, "1200");
        click(os->Btn_Gravar);
        const auto r = order("0000000001");
        QCOMPARE(r["SOLICITANTE"], QString("ALTERADO"));
        QCOMPARE(r["HORA4"], QString("04:00"));  // recomputed from the times
        QCOMPARE(r["TOTHORN"], QString("004:00"));
        QCOMPARE(r["TOTVAL"], QString("120"));
        QCOMPARE(os->Edcomanda->text(), QString("0000000001"));
        Table t("tbordem");
        t.open();
        QCOMPARE(t.recordCount(), 1);
    }

    void deletingAnOrderNeedsThePasswordAndAYes() {
        setPassword("CHAVE");
        recordOrder("0000000001", "FARMACIA CENTRAL", "ANA");
        recordOrder("0000000002", "FARMACIA CENTRAL", "JOSE");
        findOrder("", "0000000001");
        click(os->Btn_Excluir);
        auto* password = passwordScreen();
        MessageBox::setNextAnswer(QMessageBox::No);
        password->Edsenha->setFocus();
        QTest::keyClicks(password->Edsenha, "CHAVE");
        password->Btn_ConfirmarClick();
        QCOMPARE(lastMessage(), QString("Deseja excluir esta ordem de serviço?"));
        QCOMPARE(MessageBox::shownMessages().last().buttons, QMessageBox::Yes | QMessageBox::No);
        QVERIFY(password->isVisible());  // No: nothing deleted, the password still typed
        QCOMPARE(password->Edsenha->text(), QString("CHAVE"));
        QCOMPARE(order("0000000001")["SOLICITANTE"], QString("ANA"));
        MessageBox::setNextAnswer(QMessageBox::Yes);
        password->Btn_ConfirmarClick();
        QVERIFY(!password->isVisible());
        QVERIFY(order("0000000001").isEmpty());
        QCOMPARE(order("0000000002")["SOLICITANTE"], QString("JOSE"));
        QCOMPARE(os->Edcomanda->text(), QString("0000000003"));  // cleared, next number
        QCOMPARE(os->Edsolicit->text(), QString());
        QCOMPARE(os->Edtaxap->text(), QString("0,00"));
    }

    // Deleted meanwhile by another workstation: nothing else is deleted.
    void anOrderDeletedMeanwhileIsNotReplacedByTheNearest() {
        setPassword("CHAVE");
        recordOrder("0000000001", "FARMACIA CENTRAL", "ANA");
        recordOrder("0000000002", "FARMACIA CENTRAL", "JOSE");
        findOrder("", "0000000001");
        click(os->Btn_Excluir);
        {
            Table t("tbordem");
            t.open();
            QVERIFY(t.findKey("0000000001"));
            t.remove();
        }
        MessageBox::setNextAnswer(QMessageBox::Yes);
        typePassword(passwordScreen(), "CHAVE");
        QVERIFY(lastMessage().contains("não está mais gravada"));
        QCOMPARE(order("0000000002")["SOLICITANTE"], QString("JOSE"));
        // And Alterar on it says so, without asking the password.
        findOrder("", "0000000002");
        os->Edcomanda->setText("0000000001");
        const int before = MessageBox::shownMessages().size();
        click(os->Btn_Alterar);
        QCOMPARE(MessageBox::shownMessages().size(), before + 1);
        QVERIFY(lastMessage().contains("não está gravada"));
        QVERIFY(!passwordScreen()->isVisible());
    }

    void orderLockedElsewhereAsksNoPassword() {
        setPassword("CHAVE");
        recordOrder("0000000001", "FARMACIA CENTRAL", "ANA");
        findOrder("", "0000000001");
        QProcess holder;
        holder.start(qEnvironmentVariable("STORE_HELPER"),
                     {home->dataFolder(), "lock", "0000000001", "tbordem"});
        QVERIFY(holder.waitForReadyRead(20000));
        QCOMPARE(holder.readLine().trimmed(), QByteArray("LOCKED"));
        click(os->Btn_Alterar);
        QCOMPARE(lastMessage(), QString("Este registro está sendo alterado por outro usuário."));
        QVERIFY(!passwordScreen()->isVisible());
        holder.write("quit\n");
        QVERIFY(holder.waitForFinished(20000));
        click(os->Btn_Alterar);
        QVERIFY(passwordScreen()->isVisible());
        click(passwordScreen()->Btn_Retornar);  // leaving releases the lock
        QVERIFY(!DataModule1->TBOrdem->isOpen());
    }

    void withoutAPasswordTheOfficeIsToldWhatToDo() {
        recordOrder("0000000001", "FARMACIA CENTRAL", "ANA");
        findOrder("", "0000000001");
        click(os->Btn_Alterar);
        typePassword(passwordScreen(), "QUALQUER");
        QVERIFY(lastMessage().contains("Parametros Iniciais"));
        QCOMPARE(passwordScreen()->wrongPasswords(), 0);
    }

    void threeWrongPasswordsOnTheOrderEndTheRun() {
        setPassword("CHAVE");
        recordOrder("0000000001", "FARMACIA CENTRAL", "ANA");
        QSignalSpy ended(Quelvarino000_0, &TQuelvarino000_0::closed);
        findOrder("", "0000000001");
        for (const char* typed : {"UM", "CHAVE", "DOIS"}) {
            click(os->Btn_Excluir);
            MessageBox::setNextAnswer(QMessageBox::No);
            typePassword(passwordScreen(), typed);
            click(passwordScreen()->Btn_Retornar);
        }
        QCOMPARE(ended.count(), 0);
        click(os->Btn_Excluir);
        typePassword(passwordScreen(), "TRES");
        QCOMPARE(ended.count(), 1);
        QCOMPARE(order("0000000001")["SOLICITANTE"], QString("ANA"));
    }

    void printWithoutAnOrder() {
        recordOrder("0000000001", "FARMACIA CENTRAL", "ANA");
        findOrder("", "0000000001");
        os->Edcomanda->clear();
        click(os->Btn_Imprimir);
        QCOMPARE(lastMessage(), QString("Ordem de serviço inexistente."));
        QVERIFY(!Screens::get<PrintDialog>("Quelvarino0021_5")->isVisible());
    }
};

QUELVARINO_GUI_TEST_MAIN(TestPasswords)
#include "tst_passwords.moc"
