#include "platform/base/clock.h"

#include "platform/base/services.h"

#include <algorithm>
#include <ctime>

namespace {

// QDateTime::currentDateTime() re-reads the time zone on every call when TZ is unset, which
// costs microseconds; localtime_r keeps the zone it has read once.
tm localNow(long *milliseconds = nullptr) {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    if (milliseconds) *milliseconds = now.tv_nsec / 1000000;
    return local;
}

QDate dateOf(const tm &local) {
    return QDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

} // namespace

QDateTime SystemNow() {
    long ms = 0;
    const tm local = localNow(&ms);
    return QDateTime(dateOf(local),
                     QTime(local.tm_hour, local.tm_min, std::min(local.tm_sec, 59), int(ms)));
}

QDateTime Now() {
    return Services().Now();
}

QDate Today() {
    return Services().Today();
}

// Building a local QDateTime asks the time zone again; the date alone does not need it.
QDate SystemToday() {
    return dateOf(localNow());
}
