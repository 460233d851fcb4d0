#pragma once
// What tarvo-zins prints, in its three formats: text (German numbers, aligned columns), CSV
// (semicolons, decimal comma, a header row) and JSON (amounts and rates as decimal strings
// with a point, ISO dates, one object a line). Each piece is one small function, so that a
// single case and a batch print alike.

#include "cli/arguments.h"
#include "engine/baserates.h"
#include "engine/defaultinterest.h"
#include "engine/interest.h"
#include "engine/userrates.h"

#include <QByteArray>
#include <QString>

class QIODevice;

// Collects the text and hands it to the device as UTF-8 in large pieces.
class TOutputStream {
public:
    explicit TOutputStream(QIODevice &device) : FDevice(device) {}
    ~TOutputStream() { Flush(); }
    TOutputStream(const TOutputStream &) = delete;
    TOutputStream &operator=(const TOutputStream &) = delete;

    void Write(const QString &text);
    // Text already in UTF-8: a batch's rows are encoded where they are calculated.
    void Write(const QByteArray &utf8);
    // False when the device took less than everything.
    bool Flush();

private:
    QIODevice &FDevice;
    QByteArray FBuffer;
};

struct TZinsenResult {
    TInterestText Text; // the bar's texts and figures
    int Code = fcEuro;
};

struct TVerzugResult {
    TDefaultInterestInput Input;
    TDefaultInterest Result;
};

// A batch's rows carry the line of their case (from 2, after the header); a single case has
// line 0 and no such column.
QString ZinsenHeader(TOutputFormat format, bool batch);
QString ZinsenRow(TOutputFormat format, const TZinsenResult &result, int line);
QString VerzugHeader(TOutputFormat format);
QString VerzugRow(TOutputFormat format, const TVerzugResult &result, int line);
// The whole statement of one case: every period, the sums, the rules.
QString VerzugStatement(TOutputFormat format, const TVerzugResult &result,
                        const TBaseRateTable &table);
QString ErrorRow(TOutputFormat format, TCommand command, int line, const QString &reason);

QString BaseRateAnswer(TOutputFormat format, TDateTime day, const TBaseRate &rate,
                       const TBaseRateTable &table);
QString ImportAnswer(TOutputFormat format, const QString &path, int changed,
                     const TBaseRateTable &table);
QString UpdateAnswer(TOutputFormat format, const QString &url,
                     const std::vector<TRateChange> &changes, const TBaseRateTable &table);

// The pieces: a CSV field quoted where it must be, a JSON string, an ISO date.
QString CsvField(const QString &text);
QString JsonString(const QString &text);
QString IsoDate(TDateTime day);
