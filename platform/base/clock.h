#pragma once
// The local clock, as the services in use give it.

#include <QDate>
#include <QDateTime>

QDateTime Now();
QDate Today();

// The system's clock, for the system's services.
QDateTime SystemNow();
QDate SystemToday();
