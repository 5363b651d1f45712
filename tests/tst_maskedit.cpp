#include "testsupport.h"
#include "widgets/maskedit.h"

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
