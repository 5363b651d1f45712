#pragma once

#include <QList>
#include <QString>
#include <functional>

class QLineEdit;

namespace quelvarino {

class SearchScreen;
class Table;

// A code typed into a field and looked up in its register when the field is
// left. The code is taken with its leading zeros ("7" is "000007"). A code no
// record has, or one whose SITUACAO is BLOQUEADO, is refused: the message is
// shown, the code and the fields in `cleared` are emptied and the code takes
// the focus again. A record found fills the screen through `fill`.
struct CodeLookup {
    QString table;     // "tbclientes"
    QString keyField;  // "CODCLI"
    QString missing;   // "Código do cliente inexistente."
    QString blocked;   // "Situação do Cliente BLOQUEADO."; empty: a register without it
    QList<QLineEdit*> cleared;
    // A further reason to refuse the record found (empty: none).
    std::function<QString(Table& row)> refusal;
    std::function<void(Table& row)> fill;
};

// False when the field is empty or its code was refused.
bool lookUpCode(QLineEdit* code, const CodeLookup& lookup);

// Client codes, with the messages every screen gives for them.
CodeLookup clientLookup(std::function<void(Table& row)> fill, QList<QLineEdit*> cleared = {});
// Courier codes; the screens name the courier in their own words.
CodeLookup courierLookup(const QString& missing,
                         const QString& blocked,
                         std::function<void(Table& row)> fill,
                         QList<QLineEdit*> cleared = {});

// Six-digit register codes with their leading zeros.
QString padCode(const QString& text);

// A Consultar beside a code: the search opens on a fresh reading of its
// table and hands the chosen row to the screen named `caller`.
void openSearchFor(SearchScreen* search, const QString& caller);

}  // namespace quelvarino
