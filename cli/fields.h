#pragma once
// The fields of a case, declared once in a table: each field's name (its option and its batch
// column), whether a command takes it as a positional argument or as an option, and how its
// text is read and checked. The command line, the batch's columns and the case readers all go
// by the table, so that each check and its message exist once.

#include "engine/defaultinterest.h"

#include <QString>
#include <QStringList>
#include <array>
#include <optional>

enum class TCommand { None, Zinsen, Verzug, Basiszins, Forderung };

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
    fdRecht,   // de, at or ch; de when not given
    fdVor2013, // under at: the contract was made before 16.03.2013
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
// The positional arguments of a single case, in their order.
QList<TField> PositionalFields(TCommand command);
// Whether the command takes the field; whether it is a switch without a value.
bool TakesField(TCommand command, TField field);
bool IsSwitch(TField field);
// Whether the field names one of the names the command line checks as it reads them.
bool IsChoice(TCommand command, TField field);
// The fields that choose the rate rule of verzug, in the order they are read, and the rule
// each chooses.
const QList<TField> &RuleFields();
TRateKind RuleOf(TField field);
// A column name as a CSV header writes it ("Vor_2014" reads as "vor-2014"); nothing when no
// field has that name.
std::optional<TField> FieldOfColumn(const QString &name);
// The field of the command whose name the column's comes close to, as a slip of the keyboard
// would: "Betarg" for betrag. Nothing when no name is that close.
std::optional<TField> NearField(TCommand command, const QString &name);

// "euro", "deutsche", "englische" and the formula codes; "taggenau", "actact", "act360",
// "30360", "30360ch" and the day counts; "de", "at", "ch" and the laws. Nothing for other
// names.
std::optional<int> FormulaCodeNamed(const QString &name);
QString FormulaName(int code);
std::optional<TDayCount> DayCountNamed(const QString &name);
std::optional<TLaw> LawNamed(const QString &name);
// The law the fields name (fdRecht), Germany where none; nothing for a name that is no law.
std::optional<TLaw> LawOfFields(const TFields &fields);
// A switch's cell: "ja", "j", "x", "1", "wahr", "true", "yes" or "nein", "n", "0", "falsch",
// "false", "no" or empty, in any case. Nothing for other text.
std::optional<bool> SwitchValue(const QString &text);

// Why the text is no value of the field as the command reads it; nothing when it is one.
std::optional<QString> FieldValueError(TCommand command, TField field, const QString &text);

// What is wrong with the choice of a rate rule, and its German reason where the fields are
// named as options ("--unternehmer") or as columns ("unternehmer").
// Under Austrian and Swiss law no rule means the law's own rate (§ 1000 Abs. 1 ABGB, Art. 104
// Abs. 1 OR), so only German law misses one.
enum class TRuleFault { None, Missing, SeveralRules, Before2014WithoutBusiness };
TRuleFault CheckRuleChoice(const TFields &fields);
QString RuleFaultText(TRuleFault fault, bool options);
// A rule field the law of the fields does not have ("--verbraucher" under at, "--vor-2014"
// under ch …), with the German reason that names what the law has instead; nothing when every
// field given fits the law. `options`: the fields are named as options, else as columns.
struct TLawFault {
    TField Field = FieldCount;
    QString Reason;
};
std::optional<TLawFault> CheckLawRules(const TFields &fields, bool options);

// A case's fault: the field that can mend it (FieldCount for the case as a whole) and why.
struct TCaseError {
    TField Field = FieldCount;
    QString Reason;
};

// A field's value as its reader gives it: the member its reader fills.
struct TFieldValue {
    long double Number = 0; // an amount, or the bar's rate in percent
    TCents Cents = 0;       // a claim
    TDateTime Day = EmptyDate;
    TBasisPoints Rate = 0; // a rate rule's rate or margin
    int Code = 0;          // a formula
    TDayCount Count = dcActual365;
    TLaw Law = lwGermany;
    bool On = false; // a switch
};

// Reads a case's fields, each by the reader its field has under the command; the first fault
// is kept and the reads after it give empty values. A field a single case gives as a
// positional argument is required; any other may be empty, and then gives an empty value.
class TCaseReader {
public:
    // Refuses any field longer than MaxFieldLength first.
    TCaseReader(TCommand command, const TFields &fields);

    bool Given(TField field) const { return !FFields[field].isEmpty(); }
    TFieldValue Read(TField field);
    void Fail(TField field, const QString &reason);
    const std::optional<TCaseError> &Error() const { return FError; }

private:
    TCommand FCommand;
    const TFields &FFields;
    std::optional<TCaseError> FError;
};
