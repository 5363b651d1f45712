#pragma once

#include <QMap>
#include <QString>
#include <optional>

namespace quelvarino {

// The alias registry written by Ostrima and read by the program:
// $XDG_CONFIG_HOME/Quelvarino/aliases.ini (~/.config/... when unset), one
// section per alias with the keys TYPE and PARAMS.
struct AliasEntry {
    QString type;    // driver type, e.g. PARADOX
    QString params;  // PATH:"/home/ana/Quelvarino";DEFAULT DRIVER:"PARADOX";ENABLE BCD:"FALSE"

    // Value of one parameter of the text (name without regard to case).
    QString param(const QString& name) const;
};

class AliasRegistry {
public:
    static QString filePath();

    // The alias, or none when the registry has no such alias (or there is no
    // registry). Throws StoreError when the registry exists but cannot be
    // read: it is never taken for an empty one.
    static std::optional<AliasEntry> find(const QString& alias);
    // Adds the alias; false (and nothing written) when it exists already, the
    // registry cannot be read or the file cannot be written. The file is replaced atomically.
    static bool add(const QString& alias, const AliasEntry& entry);
    // Removes the alias; false when it was not there or cannot be written.
    static bool remove(const QString& alias);

    // Parameter text "NAME:"value";NAME:"value"" into its items.
    static QMap<QString, QString> parseParams(const QString& params);
};

}  // namespace quelvarino
