#include "core/password.h"

#include <cstdint>

namespace quelvarino {
namespace {

constexpr std::uint16_t kStart = 0x0009;
constexpr std::uint16_t kMultiplier = 0x3B7D;
constexpr std::uint16_t kAddend = 0x8E61;

QByteArray run(const QByteArray& in, bool scrambling) {
    QByteArray out(in.size(), '\0');
    std::uint16_t key = kStart;
    for (int i = 0; i < in.size(); ++i) {
        const auto input = static_cast<std::uint8_t>(in[i]);
        const auto output = static_cast<std::uint8_t>(input ^ (key >> 8));
        out[i] = static_cast<char>(output);
        const std::uint8_t plain = scrambling ? input : output;
        key = static_cast<std::uint16_t>((static_cast<std::uint32_t>(key + plain) * kMultiplier +
                                          kAddend) &
                                         0xFFFF);
    }
    return out;
}

}  // namespace

QByteArray scramble(const QByteArray& plain) {
    return run(plain, true);
}

QByteArray unscramble(const QByteArray& scrambled) {
    return run(scrambled, false);
}

QString scrambleText(const QString& plain) {
    return QString::fromLatin1(scramble(plain.toLatin1()));
}

QString unscrambleText(const QString& scrambled) {
    return QString::fromLatin1(unscramble(scrambled.toLatin1()));
}

}  // namespace quelvarino
