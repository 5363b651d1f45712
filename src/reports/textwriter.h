#pragma once

#include <QByteArray>
#include <QString>

namespace quelvarino {

class PrintDialog;

// Quelvarino_ImpMatricial: every report as dot-matrix text, to the raw
// printer queue "LPT1" or into a ".txt" file. Each report id is a layout
// registered with the writer; the skeleton (header, rows, page rule,
// totals, output) is shared.
class TextWriter {
public:
    // Writes report `reportId` for the print dialog that asked, to the
    // output its Edtip item selects. An unknown id writes nothing.
    static void write(const QString& reportId, PrintDialog& dialog);
    // The bytes of a report, without delivering them.
    static QByteArray render(const QString& reportId, PrintDialog& dialog);
    static bool knows(const QString& reportId);
};

}  // namespace quelvarino
