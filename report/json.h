#pragma once
// The pieces of the JSON Tarvo writes: strings escaped so that nothing a terminal or a line
// reader would act on passes raw, keys, and amounts and rates as decimal strings with a point
// ("3089.00"), made from the integers.

#include "engine/periods.h"

#include "platform/base/bytetext.h"

#include <QLatin1StringView>
#include <QString>
#include <QStringView>

void AppendJsonString(QString &out, QStringView text);
QString JsonString(QStringView text);
// `"key": `, after ", " unless it is the object's first.
void AppendJsonKey(QString &out, QLatin1StringView key, bool first = false);
// "3089.00" and "2.27", quoted.
void AppendJsonCents(QString &out, TCents value);
// The same as bytes, for rows built straight in UTF-8.
void AppendJsonKey(TByteText &out, QLatin1StringView key, bool first = false);
void AppendJsonCents(TByteText &out, TCents value);
void AppendJsonRate(QString &out, TBasisPoints value);
