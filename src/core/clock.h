#pragma once

#include <QDate>
#include <QDateTime>

// The program's idea of "now". Everything that shows or stores today's date or
// the current time asks here, so tests can fix the day.
class Clock {
public:
    static QDateTime now();
    static QDate today() { return now().date(); }
    static void setNow(const QDateTime& fixed);
    static void reset();
};
