#pragma once

#include <QByteArray>
#include <QString>

namespace quelvarino {

// The reversible scrambling of the access password, byte by byte, exactly
// as the data folders of the old program hold it: key 0x0009, each byte
// XOR the key's high byte, then key = (key + plain byte) * 0x3B7D + 0x8E61
// modulo 65536. The key is fed with the plain byte: the input when
// scrambling, the output when unscrambling.
QByteArray scramble(const QByteArray& plain);
QByteArray unscramble(const QByteArray& scrambled);

// The same over texts of the single-byte code page (Latin-1): every byte
// value is one character, NUL included.
QString scrambleText(const QString& plain);
QString unscrambleText(const QString& scrambled);

}  // namespace quelvarino
