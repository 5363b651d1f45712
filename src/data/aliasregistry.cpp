#include "data/aliasregistry.h"

#include "core/errors.h"
#include "data/durablefiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
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
// Why the registry that exists cannot be read (empty: it can, or there is
// none). A text that is not UTF-8 was not written by Ostrima: reading it
// would change its paths, and rewriting it would change its other aliases.
QList<Section> readSections(QString* problem) {
    QList<Section> sections;
    problem->clear();
    QFile file(AliasRegistry::filePath());
    if (!file.exists())
        return sections;
    if (!file.open(QIODevice::ReadOnly)) {
        *problem = file.errorString();
        return sections;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        *problem = file.errorString();
        return sections;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    if (utf8.hasError()) {
        *problem = QStringLiteral("o texto não está em UTF-8");
        return sections;
    }
    for (const QString& rawLine : text.split(QLatin1Char('\n'))) {
        QString line = rawLine;
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
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
    // commit() syncs the file before the rename; the rename is on the disk
    // once the folder is synced.
    return file.commit() && syncFolder(folder);
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
    QString problem;
    const QList<Section> sections = readSections(&problem);
    // Taking the registry for empty would open the home folder's data in
    // place of the registered ones, without a word.
    if (!problem.isEmpty())
        throw StoreError(QStringLiteral("O registro dos aliases %1 não pôde ser lido (%2). Os "
                                        "dados não foram abertos, para que nenhuma outra pasta "
                                        "tome o lugar da registrada. Corrija as permissões do "
                                        "arquivo, ou apague-o e registre o alias de novo com o "
                                        "Ostrima.")
                             .arg(filePath(), problem));
    const int i = sectionIndex(sections, alias);
    if (i < 0)
        return std::nullopt;
    return AliasEntry{keyValue(sections[i], "TYPE"), keyValue(sections[i], "PARAMS")};
}

bool AliasRegistry::add(const QString& alias, const AliasEntry& entry) {
    QString problem;
    QList<Section> sections = readSections(&problem);
    if (!problem.isEmpty() || sectionIndex(sections, alias) >= 0)
        return false;
    sections.append({alias, {"TYPE=" + entry.type, "PARAMS=" + entry.params}});
    return writeSections(sections);
}

bool AliasRegistry::remove(const QString& alias) {
    QString problem;
    QList<Section> sections = readSections(&problem);
    const int i = sectionIndex(sections, alias);
    if (!problem.isEmpty() || i < 0)
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
