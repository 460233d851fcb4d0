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
#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QStringView>

class QIODevice;

// Collects the text and hands it to the device as UTF-8 in large pieces. After the first
// failed write it writes nothing more and keeps the device's reason.
class TOutputStream {
public:
    explicit TOutputStream(QIODevice &device) : FDevice(device) {}
    ~TOutputStream() { Flush(); }
    TOutputStream(const TOutputStream &) = delete;
    TOutputStream &operator=(const TOutputStream &) = delete;

    void Write(const QString &text);
    // Text already in UTF-8: a batch's rows are encoded where they are calculated. A large
    // piece goes to the device as it is, without a copy.
    void Write(QByteArrayView utf8);
    void Write(const QByteArray &utf8) { Write(QByteArrayView(utf8)); }
    // False when the device took less than everything, now or before.
    bool Flush();
    bool Failed() const { return FFailed; }
    // Why the write failed, in German ("kein Platz mehr auf dem Datenträger").
    QString FailReason() const;

private:
    QIODevice &FDevice;
    QByteArray FBuffer;
    bool FFailed = false;
};

struct TZinsenResult {
    TInterestFigures Figures; // the bar's figures, written as the bar writes them
    int Code = fcEuro;
};

// The columns of a batch that Tarvo does not know, carried through to the front of each result
// row unchanged and in their order, so that results can be matched to the sheet's own rows.
struct TCarriedColumns {
    QStringList Names;       // as the header writes them
    QStringList Keys;        // in JSON: the name, or "spalte_3" for an empty or doubled one
    QList<qsizetype> Widths; // in text: each cell is padded to its name

    bool IsEmpty() const { return Names.isEmpty(); }
};

// `numbers`: each column's place in the input, from 1.
TCarriedColumns CarriedColumns(const QStringList &names, const QList<int> &numbers);
// The carried part of the header row, and of a result row: its cells (missing ones empty)
// as "R-17;Meier;" in CSV, each padded to its name in text, and "\"eingabe\": {…}, " in JSON,
// to go before the rest of the row.
QString CarriedHeader(TOutputFormat format, const TCarriedColumns &columns);
QString CarriedCells(TOutputFormat format, const TCarriedColumns &columns,
                     const QList<QString> &cells);

// A batch's rows carry the line of their case (from 2, after the header) after the carried
// cells; a single case has line 0 and neither.
QString ZinsenHeader(TOutputFormat format, bool batch, const QString &carried = {});
QString ZinsenRow(TOutputFormat format, const TZinsenResult &result, qint64 line,
                  QStringView carried = {});
// The same row appended in UTF-8, after the carried cells already in UTF-8: a batch's rows.
void AppendZinsenRow(TByteText &out, TOutputFormat format, const TZinsenResult &result, qint64 line,
                     QByteArrayView carried = {});
QString VerzugHeader(TOutputFormat format, const QString &carried = {});
QString VerzugRow(TOutputFormat format, const TDefaultInterestStatement &result, qint64 line,
                  QStringView carried = {});
void AppendVerzugRow(TByteText &out, TOutputFormat format, const TDefaultInterestStatement &result,
                     qint64 line, QByteArrayView carried = {});
// The whole statement of one case: every period, the sums, the rules.
QString VerzugStatement(TOutputFormat format, const TDefaultInterestStatement &result);
QString ErrorRow(TOutputFormat format, TCommand command, qint64 line, const QString &reason,
                 QStringView carried = {});

QString BaseRateAnswer(TOutputFormat format, TDateTime day, const TBaseRate &rate,
                       const TBaseRateTable &table);
QString ImportAnswer(TOutputFormat format, const QString &path, int changed,
                     const TBaseRateTable &table);
QString UpdateAnswer(TOutputFormat format, const QString &url,
                     const std::vector<TRateChange> &changes, const TBaseRateTable &table);
