#pragma once
// The engine's amounts and rates as text, each form written once: German for readers
// ("3.089,00 €", "2,27 %", "8.766"), and plain with a chosen decimal separator for files and
// JSON ("3089.00", "3089,00", "2.27").

#include "engine/defaultinterest.h"
#include "engine/periods.h"

#include "platform/base/bytetext.h"

#include <QString>

// "3.089,00"
QString GermanCents(TCents value);
void AppendGermanCents(QString &out, TCents value);
void AppendGermanCents(TByteText &out, TCents value);
// "3.089,00 €"
QString EuroText(TCents value);
// "3089.00" or "3089,00": no grouping.
QString PlainCents(TCents value, QChar decimal);
void AppendPlainCents(QString &out, TCents value, QChar decimal);
void AppendPlainCents(TByteText &out, TCents value, char decimal);
// "2,27" and "2,27 %"
QString GermanRate(TBasisPoints value);
QString PercentText(TBasisPoints value);
// "2.27" or "2,27"
QString PlainRate(TBasisPoints value, QChar decimal);
// Whole numbers with thousands points: "8.766".
QString CountText(qint64 value);

// As the law of the case names its money: Germany "1.234,50 €", Austria "EUR 1.234,50",
// Switzerland "CHF 1.234,50". The statements are German texts and keep German numbers under
// every law, so that a sheet or a reader takes all of them alike; the currency says the law.
QString MoneyText(TCents value, TLaw law);
// The same without the currency, for a table's cells: "1.234,50".
QString LawCents(TCents value, TLaw law);
// "2,27 %".
QString LawPercent(TBasisPoints value, TLaw law);
