#pragma once

#include <QByteArray>
#include <QString>

namespace quelvarino {

// "LPT1" on Linux: a raw CUPS queue of that name, which passes the printer
// control codes through unchanged (a network dot-matrix printer on port
// 9100, or a local one). Throws Error with a message for the operator when
// the queue is missing or the job fails; nothing is sent half-way.
class RawPrinter {
public:
    static QString queueName() { return QStringLiteral("LPT1"); }
    static void send(const QByteArray& bytes, const QString& title);
};

}  // namespace quelvarino
