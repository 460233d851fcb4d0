#pragma once
// Many cases at once: a CSV whose header row names the columns (the fields' names, as the
// options have them), one case a row. Each row gives one result row, in order; a row that
// cannot be calculated gives an error row with its line number and the reason, and the
// others still run.

#include "cli/arguments.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

class QIODevice;
class TRunContext;

// Reads records from a device as spreadsheets write them: fields in double quotes may hold the
// separator, line breaks and doubled quotes; CR LF and LF both end a record; a byte-order mark
// at the start is skipped. UTF-8.
class TCsvReader {
public:
    explicit TCsvReader(QIODevice &device) : FDevice(device) {}

    // The separator the header line uses most plainly: a semicolon if it has one, else a tab,
    // else a comma. Reads ahead without taking anything.
    char GuessSeparator();
    void SetSeparator(char separator) { FSeparator = separator; }
    char Separator() const { return FSeparator; }

    // Appends the next record's bytes, without its line break, to `record`; gives the line it
    // starts on (from 1). False at the end of the input. `open` is set when the input ended
    // inside quotes.
    bool NextRecord(QByteArray &record, int &line, bool &open);
    // The same, split into its fields.
    bool Next(QList<QString> &fields, int &line, bool &open);

private:
    bool Fill(); // more bytes from the device; false at its end
    void SkipByteOrderMark();

    QIODevice &FDevice;
    QByteArray FBuffer;
    qsizetype FPos = 0;
    bool FStarted = false;
    char FSeparator = ';';
    int FLine = 1;
};

// The fields of one record, as TCsvReader::NextRecord gives it.
void SplitRecord(QByteArrayView record, char separator, QList<QString> &fields);

// Runs the command's batch from line.Batch ("-": `in`); the exit status.
int RunBatch(const TCommandLine &line, QIODevice &in, TRunContext &run);
