// A second workstation for the store tests: opens the data folder given as
// the first argument and does what the rest of the command line says,
// answering on standard output.
#include "core/errors.h"
#include "data/backup.h"
#include "data/database.h"
#include "data/datafolder.h"
#include "data/table.h"

#include <QCoreApplication>
#include <QTextStream>
#include <QThread>
#include <cstdio>
#include <iostream>
#include <string>

using namespace quelvarino;

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4)
        return 2;
    // Optional last argument: the table (clients by default).
    const QString tableName = args.size() > 4 ? args[4] : QStringLiteral("tbclientes");
    // A second workstation of a server store: the tests name the server.
    const QString server = qEnvironmentVariable("QUELVARINO_TEST_SERVER");
    if (server.isEmpty())
        DataFolder::setPath(args[1]);
    else
        DataFolder::setServer(args[1], server);
    const QString command = args[2];
    QTextStream out(stdout);
    try {
        Table table(tableName);
        table.open();
        if (command == "lock") {  // lock <code>: edit and hold until told
            if (!table.findKey(args[3])) {
                out << "MISSING" << Qt::endl;
                return 1;
            }
            table.edit();
            out << "LOCKED" << Qt::endl;
            std::string line;
            while (std::getline(std::cin, line)) {
                if (line.rfind("post ", 0) == 0) {
                    table.fieldByName("RAZAOSOCIAL")
                        .setAsString(QString::fromStdString(line.substr(5)));
                    table.post();
                    out << "POSTED" << Qt::endl;
                } else if (line == "quit") {
                    break;
                }
            }
        } else if (command == "edit") {  // edit <code>: try to take the lock once
            table.findKey(args[3]);
            try {
                table.edit();
                out << "EDITING" << Qt::endl;
            } catch (const RecordLockedError&) {
                out << "REFUSED" << Qt::endl;
            }
        } else if (command == "insert") {  // insert FIELD=value,FIELD=value: one record
            table.insert();
            for (const QString& pair : args[3].split(QLatin1Char(','))) {
                const QString field = pair.section(QLatin1Char('='), 0, 0);
                table.fieldByName(field).setAsString(pair.section(QLatin1Char('='), 1));
            }
            table.post();
            out << "INSERTED" << Qt::endl;
        } else if (command == "postloop") {  // postloop <first>: posts until killed
            for (int n = args[3].toInt();; ++n) {
                table.insert();
                table.fieldByName("CODCLI").setAsString(QString::number(n).rightJustified(6, '0'));
                table.fieldByName("RAZAOSOCIAL").setAsString(QStringLiteral("CLIENTE %1").arg(n));
                table.post();
                out << "POSTED " << n << Qt::endl;
            }
        } else if (command == "retryloop") {
            // retryloop <first>:<count>: posts clients one after another as an
            // operator would, pressing Gravar again after a failure, until
            // every one was confirmed. A retry that finds its number taken
            // means a failure was reported for a post that was stored.
            const int first = args[3].section(QLatin1Char(':'), 0, 0).toInt();
            const int count = args[3].section(QLatin1Char(':'), 1, 1).toInt();
            for (int n = first; n < first + count;) {
                if (table.state() == Table::State::Browse) {
                    table.insert();
                    table.fieldByName("CODCLI").setAsString(
                        QString::number(n).rightJustified(6, '0'));
                    table.fieldByName("RAZAOSOCIAL")
                        .setAsString(QStringLiteral("CLIENTE %1").arg(n));
                }
                try {
                    table.post();
                    out << "POSTED " << n << Qt::endl;
                    ++n;
                } catch (const KeyExistsError&) {
                    out << "DUPLICATE " << n << Qt::endl;
                    table.cancel();
                    ++n;
                } catch (const StoreError& e) {
                    out << "FAILED " << n << ' ' << QString(e.text()).replace('\n', ' ')
                        << Qt::endl;
                    QThread::msleep(100);
                }
            }
            out << "DONE" << Qt::endl;
        } else if (command == "backup") {
            // backup <yyyy-mm-dd>: starts the day's copy and stops in its
            // middle, until killed
            Backups::copyStepHook() = [&out] {
                out << "COPYING" << Qt::endl;
                for (;;)
                    QThread::sleep(1);
            };
            Backups::takeDaily(DataFolder::mainDatabaseFile(), args[1] + "/Backup",
                               QDate::fromString(args[3], Qt::ISODate));
        } else if (command == "read") {  // read <code>: print the name
            if (table.findKey(args[3]))
                out << table.fieldByName(table.fieldName(1)).asString() << Qt::endl;
            else
                out << "MISSING" << Qt::endl;
        }
    } catch (const Error& e) {
        out << "ERROR " << e.text() << Qt::endl;
        return 1;
    }
    return 0;
}
