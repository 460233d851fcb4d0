#include "platform/clock.h"

namespace {
const QDateTime *pinnedMoment = nullptr;
}

QDateTime Now() { return pinnedMoment ? *pinnedMoment : QDateTime::currentDateTime(); }

QDate Today() { return Now().date(); }

ScopedClockPin::ScopedClockPin(const QDateTime &moment)
    : FPrevious(pinnedMoment), FMoment(moment) {
    pinnedMoment = &FMoment;
}

ScopedClockPin::~ScopedClockPin() { pinnedMoment = FPrevious; }
