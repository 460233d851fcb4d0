#pragma once
// The command line of tarvo-zins: the command, the output format, where a batch comes from and
// the case's inputs as named fields. A field is a positional argument, an option of its name
// ("--formel deutsche", "--verbraucher") or, in a batch, a column of its name; so the options
// and the columns are the same. Wrong usage comes back as one German line.

#include "engine/defaultinterest.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

enum class TCommand { None, Zinsen, Verzug, Basiszins };
enum class TOutputFormat { Text, Csv, Json };

enum TField : int {
    fdBetrag,
    fdVon,
    fdBis,
    fdSatz,
    fdFormel,
    fdVerbraucher,
    fdUnternehmer,
    fdVor2014,
    fdAufschlag,
    fdTage,
    fdPauschale,
    fdOhneZahlungstag,
    FieldCount,
};

// A field's value is never longer: no amount, date, rate or name needs more, and a message
// that quotes it stays short.
inline constexpr qsizetype MaxFieldLength = 64;

// One case's inputs as text; empty when not given.
using TFields = std::array<QString, FieldCount>;

// "betrag", "vor-2014": the column and the option of the field.
QString FieldName(TField field);
// "BETRAG" for a positional field, "--formel" for any other: how a message on a single case
// names it.
QString ArgumentName(TCommand command, TField field);
// Whether the command takes the field; whether it is a switch without a value.
bool TakesField(TCommand command, TField field);
bool IsSwitch(TField field);
// A column name as a CSV header writes it ("Vor_2014" reads as "vor-2014"); nothing when no
// field has that name.
std::optional<TField> FieldOfColumn(const QString &name);
// The field of the command whose name the column's comes close to, as a slip of the keyboard
// would: "Betarg" for betrag. Nothing when no name is that close.
std::optional<TField> NearField(TCommand command, const QString &name);

// "euro", "deutsche", "englische" and the formula codes; "taggenau", "actact", "act360",
// "30360" and the day counts. Nothing for other names.
std::optional<int> FormulaCodeNamed(const QString &name);
QString FormulaName(int code);
std::optional<TDayCount> DayCountNamed(const QString &name);
QString DayCountName(TDayCount count);
// A switch's cell: "ja", "j", "x", "1", "wahr", "true", "yes" or "nein", "n", "0", "falsch",
// "false", "no" or empty, in any case. Nothing for other text.
std::optional<bool> SwitchValue(const QString &text);

struct TUsageError {
    QString Argument; // the argument at fault, or the command
    QString Reason;
};

struct TCommandLine {
    TCommand Command = TCommand::None;
    TOutputFormat Format = TOutputFormat::Text;
    bool Help = false;
    bool Version = false;
    bool Bom = false;    // --bom: a UTF-8 byte-order mark before CSV output
    QString Batch;       // --csv: a file, or "-" for standard input
    QString Import;      // basiszins --import
    bool Update = false; // basiszins --aktualisieren
    QString Date;        // basiszins [DATUM]
    TFields Fields;      // from the positional arguments and the fields' options
    std::optional<TUsageError> Error;
};

TCommandLine ParseCommandLine(const QStringList &arguments); // without the program's name

QString HelpText();
QString VersionText();
