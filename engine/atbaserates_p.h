#pragma once
// The rows generated from engine/basiszinssatz-at.csv at build time (shippedatrates.cmake).

#include <QtGlobal>

struct TShippedDay {
    quint16 Year;
    quint8 Month;
    quint8 Day;
};

struct TShippedChange {
    quint16 Year;
    quint8 Month;
    quint8 Day;
    qint16 Rate; // hundredths of a percent
};

extern const TShippedChange ShippedAtChangeRows[];
extern const int ShippedAtChangeCount;
extern const TShippedDay ShippedAtKnownThrough;
