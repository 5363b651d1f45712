#include "registers/codelookup.h"

#include "data/table.h"
#include "registers/searchscreen.h"
#include "widgets/messagebox.h"

#include <QLineEdit>

namespace quelvarino {

QString padCode(const QString& text) {
    return text.size() >= 6 ? text : QString(6 - text.size(), QLatin1Char('0')) + text;
}

bool lookUpCode(QLineEdit* code, const CodeLookup& lookup) {
    if (code->text().isEmpty())
        return false;
    // A table object of its own: the register's screen may hold the data
    // module's table in an edit, and its lock must stay.
    Table records(lookup.table);
    auto refuse = [&](const QString& text) {
        MessageBox::question(text);
        code->clear();
        for (QLineEdit* field : lookup.cleared)
            field->clear();
        code->setFocus();
        return false;
    };
    if (!records.findExact(lookup.keyField, padCode(code->text())))
        return refuse(lookup.missing);
    if (!lookup.blocked.isEmpty() &&
        records.fieldByName(QStringLiteral("SITUACAO")).asString() == QLatin1String("BLOQUEADO"))
        return refuse(lookup.blocked);
    if (lookup.refusal) {
        const QString why = lookup.refusal(records);
        if (!why.isEmpty())
            return refuse(why);
    }
    if (lookup.fill)
        lookup.fill(records);
    return true;
}

CodeLookup clientLookup(std::function<void(Table& row)> fill, QList<QLineEdit*> cleared) {
    CodeLookup l;
    l.table = QStringLiteral("tbclientes");
    l.keyField = QStringLiteral("CODCLI");
    l.missing = QStringLiteral("Código do cliente inexistente.");
    l.blocked = QStringLiteral("Situação do Cliente BLOQUEADO.");
    l.cleared = std::move(cleared);
    l.fill = std::move(fill);
    return l;
}

CodeLookup courierLookup(const QString& missing,
                         const QString& blocked,
                         std::function<void(Table& row)> fill,
                         QList<QLineEdit*> cleared) {
    CodeLookup l;
    l.table = QStringLiteral("tbmotociclista");
    l.keyField = QStringLiteral("COD");
    l.missing = missing;
    l.blocked = blocked;
    l.cleared = std::move(cleared);
    l.fill = std::move(fill);
    return l;
}

void openSearchFor(SearchScreen* search, const QString& caller) {
    if (!search)
        return;
    search->table()->close();
    search->openSearch(caller);
}

}  // namespace quelvarino
