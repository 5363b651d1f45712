#pragma once

#include <QString>
#include <QStringList>

namespace quelvarino {

// Prepares the report folders and work tables at every start: creates
// Relatorios, and either restores the working copies of the report work
// tables from their pristine copies in Backup/Relatorio/Tbv, or (first
// start) creates the Backup folders and copies the templates into both.
// Returns the copy failures, one message each, in order.
QStringList prepareWorkFolders(const QString& dataFolder);

}  // namespace quelvarino
