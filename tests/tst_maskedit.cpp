#include "testsupport.h"
#include "widgets/fields.h"
#include "widgets/maskedit.h"
#include "widgets/messagebox.h"

#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>

using namespace quelvarino;

// The one mask edit every masked field uses.
class TestMaskEdit : public QObject {
    Q_OBJECT
private slots:
    void typing_data() {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("typed");  // "\b" is Backspace
        QTest::addColumn<QString>("text");
        QTest::newRow("empty date") << "!99/99/9999;1;_"
                                    << ""
                                    << "  /  /    ";
        QTest::newRow("date") << "!99/99/9999;1;_"
                              << "31012005"
                              << "31/01/2005";
        QTest::newRow("date with its slashes typed") << "!99/99/9999;1;_"
                                                     << "31/01/2005"
                                                     << "31/01/2005";
        QTest::newRow("letters refused in a date") << "!99/99/9999;1;_"
                                                   << "3a1"
                                                   << "31/  /    ";
        QTest::newRow("backspace clears a position") << "!99/99/9999;1;_"
                                                     << "3101\b\b"
                                                     << "31/  /    ";
        QTest::newRow("time") << "!99:99;1;_"
                              << "0830"
                              << "08:30";
        QTest::newRow("empty time") << "!99:99;1;_"
                                    << ""
                                    << "  :  ";
        QTest::newRow("plate in capitals") << ">LLL-9999;1;_"
                                           << "abc1234"
                                           << "ABC-1234";
        QTest::newRow("plate refuses a digit first") << ">LLL-9999;1;_"
                                                     << "1abc"
                                                     << "ABC-    ";
        QTest::newRow("too long stops at the end") << "9999-9999;1;_"
                                                   << "123456789"
                                                   << "1234-5678";
        QTest::newRow("cep") << "99999-999;1;_"
                             << "01310100"
                             << "01310-100";
        QTest::newRow("year pair") << "!9999/9999;1;_"
                                   << "20192020"
                                   << "2019/2020";
        QTest::newRow("no mask is a plain edit") << ""
                                                 << "abc 1"
                                                 << "abc 1";
    }
    void typing() {
        QFETCH(QString, mask);
        QFETCH(QString, typed);
        QFETCH(QString, text);
        MaskEdit edit(mask);
        edit.show();
        for (const QChar c : typed) {
            if (c == QLatin1Char('\b'))
                QTest::keyClick(&edit, Qt::Key_Backspace);
            else
                QTest::keyClicks(&edit, QString(c));
        }
        QCOMPARE(edit.text(), text);
    }

    void settingTextTakesTheMaskShape_data() {
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("set");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "!99/99/9999;1;_"
                               << ""
                               << "  /  /    ";
        QTest::newRow("formatted") << "!99/99/9999;1;_"
                                   << "08/12/2026"
                                   << "08/12/2026";
        QTest::newRow("bare digits") << "99999-999;1;_"
                                     << "01001000"
                                     << "01001-000";
        QTest::newRow("stored plate") << ">LLL-9999;1;_"
                                      << "abc1234"
                                      << "ABC-1234";
        QTest::newRow("blank form") << "9999-9999;1;_"
                                    << "    -    "
                                    << "    -    ";
    }
    void settingTextTakesTheMaskShape() {
        QFETCH(QString, mask);
        QFETCH(QString, set);
        QFETCH(QString, text);
        MaskEdit edit(mask);
        edit.setText(set);
        QCOMPARE(edit.text(), text);
        QCOMPARE(edit.isBlank(), text == edit.blankText());
    }

    // Phones of eight or nine digits and plates of both forms: the typed
    // number is never cut to fit the shorter mask.
    void fieldsWithTwoMasks_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("typed");  // "\b" Backspace, "\t" leaves the field
        QTest::addColumn<QString>("text");
        QTest::newRow("landline") << "phone"
                                  << "32220000"
                                  << "3222-0000";
        QTest::newRow("mobile") << "phone"
                                << "987654321"
                                << "98765-4321";
        QTest::newRow("mobile typed with its hyphen") << "phone"
                                                      << "98765-4321"
                                                      << "98765-4321";
        QTest::newRow("tenth digit refused") << "phone"
                                             << "9876543210"
                                             << "98765-4321";
        QTest::newRow("partial") << "phone"
                                 << "98765"
                                 << "9876-5   ";
        QTest::newRow("mobile loses a digit while typing") << "phone"
                                                           << "987654321\b"
                                                           << "98765-432 ";
        QTest::newRow("and reads as a landline when left") << "phone"
                                                           << "987654321\b\t"
                                                           << "9876-5432";
        QTest::newRow("empty") << "phone"
                               << ""
                               << "    -    ";
        QTest::newRow("old plate") << "plate"
                                   << "abc1234"
                                   << "ABC-1234";
        QTest::newRow("mercosul plate") << "plate"
                                        << "abc1d23"
                                        << "ABC1D23";
        QTest::newRow("letters only where they fit") << "plate"
                                                     << "abc1dd23"
                                                     << "ABC1D23";
        QTest::newRow("empty plate") << "plate"
                                     << ""
                                     << "   -    ";
    }
    void fieldsWithTwoMasks() {
        QFETCH(QString, kind);
        QFETCH(QString, typed);
        QFETCH(QString, text);
        QWidget window;
        MaskEdit* edit =
            kind == "phone" ? makePhoneEdit(&window, "Ed_Tel1") : makePlateEdit(&window, "Ed_Plac");
        auto* next = new QLineEdit(&window);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        edit->setFocus();
        for (const QChar c : typed) {
            if (c == QLatin1Char('\b'))
                QTest::keyClick(edit, Qt::Key_Backspace);
            else if (c == QLatin1Char('\t'))
                next->setFocus();
            else
                QTest::keyClicks(edit, QString(c));
        }
        QCOMPARE(edit->text(), text);
    }

    void storedPhonesAndPlatesLoadWhole_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("text");
        QTest::newRow("landline") << "phone"
                                  << "3222-0000"
                                  << "3222-0000";
        QTest::newRow("mobile") << "phone"
                                << "98765-4321"
                                << "98765-4321";
        QTest::newRow("mobile without hyphen") << "phone"
                                               << "987654321"
                                               << "98765-4321";
        QTest::newRow("blank") << "phone"
                               << "    -    "
                               << "    -    ";
        QTest::newRow("old plate") << "plate"
                                   << "ABC-1234"
                                   << "ABC-1234";
        QTest::newRow("mercosul plate") << "plate"
                                        << "ABC1D23"
                                        << "ABC1D23";
        QTest::newRow("mercosul after an old one") << "plate"
                                                   << "BRA2E19"
                                                   << "BRA2E19";
    }
    void storedPhonesAndPlatesLoadWhole() {
        QFETCH(QString, kind);
        QFETCH(QString, stored);
        QFETCH(QString, text);
        QWidget window;
        MaskEdit* edit =
            kind == "phone" ? makePhoneEdit(&window, "Ed_Tel1") : makePlateEdit(&window, "Ed_Plac");
        edit->setText(kind == "phone" ? "3222-0000" : "ABC-1234");  // the field held another
        edit->setText(stored);
        QCOMPARE(edit->text(), text);
        edit->clear();
        QCOMPARE(edit->text(), edit->blankText());
    }

    // A paste longer than the field takes what fits, from its start, and
    // says how much was left out; one that fits is taken whole, silently.
    void pasteLongerThanTheField_data() {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("pasted");
        QTest::addColumn<QString>("after");
        QTest::addColumn<int>("leftOut");
        const QString x80 = QString(80, 'x');
        QTest::newRow("100 into an empty field") << "" << 100 << x80 << 20;
        QTest::newRow("500 into an empty field") << "" << 500 << x80 << 420;
        QTest::newRow("100 after 30 typed")
            << QString(30, 'a') << 100 << QString(30, 'a') + QString(50, 'x') << 50;
        QTest::newRow("one that fits") << "" << 80 << x80 << 0;
        QTest::newRow("into a full field") << QString(80, 'a') << 10 << QString(80, 'a') << 10;
    }
    void pasteLongerThanTheField() {
        QFETCH(QString, before);
        QFETCH(int, pasted);
        QFETCH(QString, after);
        QFETCH(int, leftOut);
        MessageBox::setTestMode(true);
        MessageBox::clearShownMessages();
        QWidget window;
        QLineEdit* edit = makeEdit(&window, "Ed_Razao", 80, false);
        window.show();
        edit->setFocus();
        QTest::keyClicks(edit, before);
        QGuiApplication::clipboard()->setText(QString(pasted, 'x'));
        edit->paste();
        QCoreApplication::processEvents();
        QCOMPARE(edit->text(), after);
        const auto shown = MessageBox::shownMessages();
        if (leftOut <= 0) {
            QVERIFY(shown.isEmpty());
        } else {
            QCOMPARE(shown.size(), 1);
            QVERIFY2(shown[0].text.contains(QString("%1 caracteres do fim").arg(leftOut)),
                     qPrintable(shown[0].text));
        }
    }

    // Input limits bound typing only: what the program writes is never cut.
    void typingLimitNeverCutsWhatTheProgramWrites() {
        QWidget window;
        QLineEdit* edit = makeEdit(&window, "Edvalor", 6, false);
        window.show();
        edit->setFocus();
        QTest::keyClicks(edit, "12345678");
        QCOMPARE(edit->text(), QString("123456"));
        edit->setText("1016,33");
        QCOMPARE(edit->text(), QString("1016,33"));
        edit->setText("123456789,50");
        QCOMPARE(edit->text(), QString("123456789,50"));
        // The longer text can still be corrected, but not lengthened.
        edit->setCursorPosition(edit->text().size());
        QTest::keyClick(edit, Qt::Key_Backspace);
        QCOMPARE(edit->text(), QString("123456789,5"));
        QTest::keyClicks(edit, "77");
        QCOMPARE(edit->text(), QString("123456789,57"));
        // Emptied by the operator, the field takes its limit again.
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Backspace);
        QTest::keyClicks(edit, "12345678");
        QCOMPARE(edit->text(), QString("123456"));
        QComboBox* combo = makeCombo("Cb_Est", ufList(), 2, &window);
        setComboText(combo, "SPX");
        QCOMPARE(combo->currentText(), QString("SPX"));  // an old stored value, whole
        setPickOnly(combo, true);
        setPickOnly(combo, false);
        setComboText(combo, "ABCDEFGHIJKL");
        QCOMPARE(combo->currentText(), QString("ABCDEFGHIJKL"));
    }

    void changingTheMask() {
        MaskEdit edit{QString()};
        edit.setText("12.345.678/0001-95");
        QCOMPARE(edit.text(), QString("12.345.678/0001-95"));  // no mask: as stored
        edit.clear();
        edit.setMask("!999.999.999-99;1;");
        QCOMPARE(edit.text(), QString("   .   .   -  "));
        QVERIFY(!edit.isComplete());
        QTest::keyClicks(&edit, "11144477735");
        QCOMPARE(edit.text(), QString("111.444.777-35"));
        QVERIFY(edit.isComplete());
    }
};

QUELVARINO_GUI_TEST_MAIN(TestMaskEdit)
#include "tst_maskedit.moc"
