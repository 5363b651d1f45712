#include "reports/rawprinter.h"

#include "core/errors.h"

#include <cups/cups.h>

// The streaming job calls below are the ones CUPS itself documents for raw
// jobs of a known size; newer replacements need a destination object that
// gains nothing here.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace quelvarino {

void RawPrinter::send(const QByteArray& bytes, const QString& title) {
    // Each job reads the CUPS settings afresh, so a server configured while
    // the program runs is used without restarting it.
    cupsSetServer(nullptr);
    const QByteArray queue = queueName().toUtf8();
    cups_dest_t* dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.constData(), nullptr);
    if (!dest) {
        throw NoticeError(
            QStringLiteral("Não há impressora matricial \"LPT1\" instalada neste computador, "
                           "por isso nada foi impresso.\n\nPeça ao administrador do sistema que "
                           "instale a impressora \"LPT1\"; enquanto isso, escolha outro tipo "
                           "de impressão."));
    }
    cupsFreeDests(1, dest);

    const QByteArray name = title.toUtf8();
    const int job =
        cupsCreateJob(CUPS_HTTP_DEFAULT, queue.constData(), name.constData(), 0, nullptr);
    if (job <= 0)
        throw Error(QStringLiteral("Erro ao imprimir em LPT1: %1")
                        .arg(QString::fromUtf8(cupsLastErrorString())));
    bool ok = cupsStartDocument(CUPS_HTTP_DEFAULT, queue.constData(), job, name.constData(),
                                CUPS_FORMAT_RAW, 1) == HTTP_STATUS_CONTINUE;
    ok = ok && cupsWriteRequestData(CUPS_HTTP_DEFAULT, bytes.constData(), size_t(bytes.size())) ==
                   HTTP_STATUS_CONTINUE;
    ok = ok && cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.constData()) == IPP_STATUS_OK;
    if (!ok) {
        const QString error = QString::fromUtf8(cupsLastErrorString());
        cupsCancelJob(queue.constData(), job);
        throw Error(QStringLiteral("Erro ao imprimir em LPT1: %1").arg(error));
    }
}

}  // namespace quelvarino
