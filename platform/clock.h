#pragma once
// The local clock, with a pin for tests.

#include <QDate>
#include <QDateTime>

QDateTime Now();
QDate Today();

class ScopedClockPin {
public:
    explicit ScopedClockPin(const QDateTime &moment);
    ~ScopedClockPin();
    ScopedClockPin(const ScopedClockPin &) = delete;
    ScopedClockPin &operator=(const ScopedClockPin &) = delete;

private:
    const QDateTime *FPrevious;
    QDateTime FMoment;
};
