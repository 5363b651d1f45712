#include "data/aliasregistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>
#include <QTextStream>

namespace quelvarino {
namespace {

struct Section {
    QString name;
    QStringList lines;  // "KEY=value" lines as they stand in the file
};

// The registry is read and written as plain text rather than through
// QSettings: QSettings would rewrite the parameter text's quotes and
// semicolons into its own escaped form, and the file must stay readable.
QList<Section> readSections(bool* readable) {
    QList<Section> sections;
    QFile file(AliasRegistry::filePath());
    *readable = true;
    if (!file.exists())
        return sections;
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        *readable = false;
        return sections;
    }
    QTextStream in(&file);
    in.setEncoding(QStringConverter::Utf8);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith('[') && trimmed.endsWith(']')) {
            sections.append({trimmed.mid(1, trimmed.size() - 2).trimmed(), {}});
        } else if (!trimmed.isEmpty() && !sections.isEmpty()) {
            sections.last().lines.append(line);
        }
    }
    return sections;
}

bool writeSections(const QList<Section>& sections) {
    const QString path = AliasRegistry::filePath();
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder))
        return false;
    // The file may hold a server's password: its owner's alone.
    QFile::setPermissions(folder,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text) ||
        !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return false;
    QTextStream out(&file);
    out.setEncoding(QStringConverter::Utf8);
    bool first = true;
    for (const Section& s : sections) {
        if (!first)
            out << '\n';
        first = false;
        out << '[' << s.name << "]\n";
        for (const QString& line : s.lines)
            out << line << '\n';
    }
    out.flush();
    return file.commit();
}

int sectionIndex(const QList<Section>& sections, const QString& alias) {
    for (int i = 0; i < sections.size(); ++i) {
        if (sections[i].name.compare(alias, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QString keyValue(const Section& s, const QString& key) {
    for (const QString& line : s.lines) {
        const int eq = line.indexOf('=');
        if (eq > 0 && line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return line.mid(eq + 1).trimmed();
    }
    return QString();
}

}  // namespace

QString AliasEntry::param(const QString& name) const {
    const QMap<QString, QString> items = AliasRegistry::parseParams(params);
    for (auto it = items.begin(); it != items.end(); ++it) {
        if (it.key().compare(name, Qt::CaseInsensitive) == 0)
            return it.value();
    }
    return QString();
}

QString AliasRegistry::filePath() {
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    return base + QStringLiteral("/Quelvarino/aliases.ini");
}

std::optional<AliasEntry> AliasRegistry::find(const QString& alias) {
    bool readable = false;
    const QList<Section> sections = readSections(&readable);
    const int i = sectionIndex(sections, alias);
    if (i < 0)
        return std::nullopt;
    return AliasEntry{keyValue(sections[i], "TYPE"), keyValue(sections[i], "PARAMS")};
}

bool AliasRegistry::add(const QString& alias, const AliasEntry& entry) {
    bool readable = false;
    QList<Section> sections = readSections(&readable);
    if (!readable || sectionIndex(sections, alias) >= 0)
        return false;
    sections.append({alias, {"TYPE=" + entry.type, "PARAMS=" + entry.params}});
    return writeSections(sections);
}

bool AliasRegistry::remove(const QString& alias) {
    bool readable = false;
    QList<Section> sections = readSections(&readable);
    const int i = sectionIndex(sections, alias);
    if (!readable || i < 0)
        return false;
    sections.removeAt(i);
    return writeSections(sections);
}

QMap<QString, QString> AliasRegistry::parseParams(const QString& params) {
    // Items are NAME:"value" separated by semicolons; a value may itself hold
    // semicolons or colons, so read quoted values as a whole.
    QMap<QString, QString> items;
    int i = 0;
    const int n = params.size();
    while (i < n) {
        const int colon = params.indexOf(':', i);
        if (colon < 0)
            break;
        const QString name = params.mid(i, colon - i).trimmed();
        int j = colon + 1;
        QString value;
        if (j < n && params[j] == '"') {
            const int close = params.indexOf('"', j + 1);
            const int end = close < 0 ? n : close;
            value = params.mid(j + 1, end - j - 1);
            j = close < 0 ? n : close + 1;
            const int semi = params.indexOf(';', j);
            j = semi < 0 ? n : semi + 1;
        } else {
            const int semi = params.indexOf(';', j);
            const int end = semi < 0 ? n : semi;
            value = params.mid(j, end - j);
            j = semi < 0 ? n : semi + 1;
        }
        if (!name.isEmpty())
            items.insert(name, value);
        i = j;
    }
    return items;
}

}  // namespace quelvarino
