#pragma once
// Many cases at once: a CSV whose header row names the columns (the fields' names, as the
// options have them), one case a row. Each row gives one result row, in order; a row that
// cannot be calculated gives an error row with its line number and the reason, and the
// others still run.

#include "cli/arguments.h"

#include <QByteArray>
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

    // The next record and the line it starts on (from 1); false at the end of the input.
    // `open` is set when the input ended inside quotes.
    bool Next(QList<QString> &fields, int &line, bool &open);

private:
    bool Fill(); // more bytes from the device; false at its end
    int Peek();  // the next byte, -1 at the end
    // Each reads one field and gives whether the record goes on after it.
    bool ReadField(QString &field, bool &open);
    bool ReadQuoted(QByteArray &field, bool &open);
    bool ReadPlain(QByteArray &field);
    bool EndOfField();

    QIODevice &FDevice;
    QByteArray FBuffer;
    qsizetype FPos = 0;
    bool FStarted = false;
    char FSeparator = ';';
    int FLine = 1;
};

// Runs the command's batch from line.Batch ("-": `in`); the exit status.
int RunBatch(const TCommandLine &line, QIODevice &in, TRunContext &run);
