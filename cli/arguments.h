#pragma once
// The command line of tarvo-zins: the command, the output format, where a batch comes from and
// the case's inputs as named fields. A field is a positional argument, an option of its name
// ("--formel deutsche", "--verbraucher") or, in a batch, a column of its name; so the options
// and the columns are the same. Wrong usage comes back as one German line.

#include "cli/fields.h"

#include <QString>
#include <QStringList>
#include <optional>

enum class TOutputFormat { Text, Csv, Json };

struct TUsageError {
    QString Argument; // the argument at fault, or the command
    QString Reason;
};

struct TCommandLine {
    TCommand Command = TCommand::None;
    TOutputFormat Format = TOutputFormat::Text;
    bool Help = false;
    bool Version = false;
    bool Bom = false;     // --bom: a UTF-8 byte-order mark before CSV output
    QString Batch;        // --csv: a file, or "-" for standard input
    QString Import;       // basiszins --import
    bool Update = false;  // basiszins --aktualisieren
    QString Date;         // basiszins [DATUM]
    QString CaseFile;     // forderung DATEI, or "-" for standard input
    QString StatementDay; // forderung --stichtag
    TFields Fields;       // from the positional arguments and the fields' options
    std::optional<TUsageError> Error;
};

TCommandLine ParseCommandLine(const QStringList &arguments); // without the program's name

QString HelpText();
QString VersionText();
