#pragma once
// The rows generated from engine/basiszinssatz.csv at build time (shippedrates.cmake).

#include <QtGlobal>

struct TShippedRate {
    quint16 Year;
    quint8 Month;
    qint16 Rate; // hundredths of a percent
};

extern const TShippedRate ShippedRateRows[];
extern const int ShippedRateCount;
