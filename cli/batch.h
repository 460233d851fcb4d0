#pragma once
// Many cases at once: a CSV whose header row names the columns (the fields' names, as the
// options have them), one case a row. Each row gives one result row, in order; a row that
// cannot be calculated gives an error row with its line number and the reason, and the
// others still run. Columns of other names are carried through to the front of each result
// row. Memory stays bounded whatever the input: a record may be at most MaxRecordBytes long.

#include "cli/arguments.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

class QIODevice;
class TRunContext;

// A line of the input, or a record across lines, is never longer.
inline constexpr qsizetype MaxRecordBytes = 1 << 20;
// As many columns as a spreadsheet has.
inline constexpr qsizetype MaxColumns = 16384;

// Why a record was not read whole.
enum class TRecordFault {
    None,
    OpenQuote,  // the input ended inside quotes
    LongRecord, // a record across lines grew past the limit: most likely a quote left open
    LongLine,   // a single line is longer than the limit
};

// The fault as a row's error text.
QString RecordFaultText(TRecordFault fault);

// Reads records from a device as spreadsheets write them: fields in double quotes may hold the
// separator, line breaks and doubled quotes; CR LF and LF both end a record; a byte-order mark
// at the start is skipped. UTF-8. A record that does not end within the limit, or whose quote
// is never closed, is given as a fault, and reading goes on with the line after its first:
// one stray quote costs one row, not all the rows after it.
class TCsvReader {
public:
    explicit TCsvReader(QIODevice &device, qsizetype limit = MaxRecordBytes)
        : FDevice(device), FLimit(limit) {}

    // The separator the header line uses most plainly: a semicolon if it has one, else a tab,
    // else a comma. Reads ahead without taking anything.
    char GuessSeparator();
    void SetSeparator(char separator) { FSeparator = separator; }
    char Separator() const { return FSeparator; }

    // Appends the next record's bytes, without its line break, to `record`; gives the line it
    // starts on (from 1). A faulty record appends nothing. False at the end of the input.
    bool NextRecord(QByteArray &record, qint64 &line, TRecordFault &fault);
    // The same, split into its fields (at most MaxColumns).
    bool Next(QList<QString> &fields, qint64 &line, TRecordFault &fault);
    // Why the input could not be read to its end (German); empty when it could.
    const QString &ReadError() const { return FReadError; }

private:
    bool Fill(); // more bytes from the device; false at its end or on a failure
    void SkipByteOrderMark();
    // Goes on after the faulty record that starts on `line`: after its first line break, or
    // (none read yet) after the next one.
    void Resume(qint64 line, qsizetype firstBreak);
    bool SkipLine();

    QIODevice &FDevice;
    qsizetype FLimit;
    QByteArray FBuffer;
    qsizetype FPos = 0;
    bool FStarted = false;
    bool FSkipping = false; // the rest of an over-long line is still to be dropped
    char FSeparator = ';';
    qint64 FLine = 1;
    QString FReadError;
};

// The fields of one record, as TCsvReader::NextRecord gives it; false (and the first
// maxFields fields) when it has more.
bool SplitRecord(QByteArrayView record, char separator, QList<QString> &fields,
                 qsizetype maxFields = MaxColumns);

// Runs the command's batch from line.Batch ("-": `in`); the exit status.
int RunBatch(const TCommandLine &line, QIODevice &in, TRunContext &run);
