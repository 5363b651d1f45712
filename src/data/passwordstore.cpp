#include "data/passwordstore.h"

#include "core/password.h"
#include "data/table.h"

namespace quelvarino {
namespace {

void openFirst(Table& table) {
    table.close();
    table.setIndexName(QStringLiteral("REF"));
    table.open();
    table.first();
}

}  // namespace

QString PasswordStore::stored(Table& table) {
    openFirst(table);
    if (table.isEmpty())
        return QString();
    return unscrambleText(table.fieldByName("SENHA").asString());
}

void PasswordStore::store(Table& table, const QString& plain) {
    openFirst(table);
    if (table.isEmpty())
        table.insert();
    else
        table.edit();
    table.fieldByName("SENHA").setAsString(scrambleText(plain));
    table.post();
    table.saveChanges();
    table.flushBuffers();
    table.close();
    table.open();
}

}  // namespace quelvarino
