#include "core/clock.h"

namespace {
QDateTime fixedNow;
}

QDateTime Clock::now() {
    return fixedNow.isValid() ? fixedNow : QDateTime::currentDateTime();
}

void Clock::setNow(const QDateTime& fixed) {
    fixedNow = fixed;
}

void Clock::reset() {
    fixedNow = QDateTime();
}
