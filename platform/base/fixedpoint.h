#pragma once
// Whole hundredths (cents, basis points) and whole numbers as decimal text, written once for
// every place that shows or stores them. The separators are the caller's: "3.089,00" for
// German readers, "3089.00" for JSON and files. The digits come straight from the integer,
// never through floating point.

#include "platform/base/bytetext.h"

#include <QString>

// Two decimals after `decimal`; the whole part grouped by threes with `group` unless it is null.
void AppendHundredths(QString &out, qint64 value, QChar decimal, QChar group = QChar());
// The same as bytes, for output built straight in UTF-8 (0: no grouping).
void AppendHundredths(TByteText &out, qint64 value, char decimal, char group = 0);
QString HundredthsText(qint64 value, QChar decimal, QChar group = QChar());
// A whole number grouped by threes with `group` unless it is null: "8.766".
void AppendInteger(QString &out, qint64 value, QChar group = QChar());
void AppendInteger(TByteText &out, qint64 value, char group = 0);
QString IntegerText(qint64 value, QChar group = QChar());
