#pragma once

#include <QString>

namespace quelvarino {

class Table;

// The access password: the SENHA field of the first record of tbsenha in
// REF order, kept scrambled. `table` is a screen's own TBSenha; it is
// opened as needed and left open.
class PasswordStore {
public:
    // The password in plain text; empty when none has been set.
    static QString stored(Table& table);
    // Stores `plain` scrambled: the first record changed, or one inserted.
    static void store(Table& table, const QString& plain);
};

}  // namespace quelvarino
