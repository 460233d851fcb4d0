#include "cli/fields.h"

#include "cli/numbers.h"
#include "engine/fixedtext.h"
#include "engine/interest.h"
#include "report/echo.h"
#include "report/errortext.h"

#include <algorithm>
#include <vector>

namespace {

// How a command reads a field's text.
enum class TReader {
    None,      // the command does not take the field
    Amount,    // the bar's currency field: ReadAmount
    Claim,     // an amount as a claim in cents
    Date,      // ReadDate
    Percent,   // the bar's rate: ReadRate
    TypedRate, // a rate rule's rate or margin, as the window reads it
    Formula,   // a formula's name
    DayCount,  // a day count's name
    Law,       // a law's name
    Switch,    // yes or no
};

struct TUse {
    TReader Reader = TReader::None;
    int Position = -1; // of a single case's positional arguments, from 0; -1: an option
};

struct TFieldSpec {
    const char *Name; // the option's and the column's
    TUse Zinsen, Verzug;
    std::optional<TRateKind> Rule; // the rate rule the field chooses
};

constexpr TFieldSpec Fields[FieldCount] = {
    {"betrag", {TReader::Amount, 0}, {TReader::Claim, 0}, {}},
    {"von", {TReader::Date, 1}, {TReader::Date, 1}, {}},
    {"bis", {TReader::Date, 2}, {TReader::Date, 2}, {}},
    {"satz", {TReader::Percent, 3}, {TReader::TypedRate}, rkFixed},
    {"formel", {TReader::Formula}, {}, {}},
    {"verbraucher", {}, {TReader::Switch}, rkConsumer},
    {"unternehmer", {}, {TReader::Switch}, rkNoConsumer},
    {"vor-2014", {}, {TReader::Switch}, {}},
    {"aufschlag", {}, {TReader::TypedRate}, rkMargin},
    {"tage", {}, {TReader::DayCount}, {}},
    {"pauschale", {}, {TReader::Switch}, {}},
    {"ohne-zahlungstag", {}, {TReader::Switch}, {}},
    {"recht", {}, {TReader::Law}, {}},
    {"vor-2013", {}, {TReader::Switch}, {}},
};

constexpr const char *FormulaNames[] = {"euro", "deutsche", "englische"};
// In the order of TDayCount, from dcActual365.
constexpr const char *DayCountNames[] = {"taggenau", "actact", "act360", "30360", "30360ch"};
// In the order of TLaw.
constexpr const char *LawNames[] = {"de", "at", "ch"};

TUse use(TCommand command, TField field) {
    switch (command) {
    case TCommand::Zinsen:
        return Fields[field].Zinsen;
    case TCommand::Verzug:
        return Fields[field].Verzug;
    default:
        return {};
    }
}

QString text(const char *name) {
    return QString::fromLatin1(name);
}
QString text(const QString &name) {
    return name;
}

// "a, b oder c"
template <typename Names> QString listed(const Names &names, const char *last) {
    QString list;
    const qsizetype count = qsizetype(std::size(names));
    for (qsizetype i = 0; i < count; ++i) {
        if (i > 0) list += i + 1 < count ? QStringLiteral(", ") : u' ' + QLatin1String(last) + u' ';
        list += text(names[i]);
    }
    return list;
}

// The place of the name among `names` (in any case), counted from `first`.
template <std::size_t N>
bool named(const char *const (&names)[N], const QString &name, int first, int &value) {
    for (std::size_t i = 0; i < N; ++i)
        if (name.compare(QLatin1String(names[i]), Qt::CaseInsensitive) == 0) {
            value = first + int(i);
            return true;
        }
    return false;
}

// "„x“ ist keine Zinsformel (euro, deutsche oder englische)"
template <std::size_t N>
QString notOneOf(const QString &text, const char *what, const char *const (&names)[N]) {
    return Quoted(text) + QStringLiteral(" ist keine ") + QString::fromUtf8(what) +
           QStringLiteral(" (") + listed(names, "oder") + u')';
}

// The text read as the reader reads it into `value`; the German reason when it is no value.
std::optional<QString> read(TReader reader, const QString &text, TFieldValue &value) {
    QString error;
    switch (reader) {
    case TReader::None:
        break;
    case TReader::Amount:
    case TReader::Claim:
        if (!ReadAmount(text, value.Number, error)) return error;
        if (reader == TReader::Amount) break;
        // The window's claim: its currency field's value in cents.
        if (const std::optional<TCents> cents = CentsFromAmount(value.Number))
            value.Cents = *cents;
        else
            return ErrorText(TEngineError(ecClaim, TErrorText::ClaimTooLarge));
        break;
    case TReader::Date:
        if (!ReadDate(text, value.Day, error)) return error;
        break;
    case TReader::Percent:
        if (!ReadRate(text, value.Number, error)) return error;
        break;
    case TReader::TypedRate:
        if (const TEngineError rateError = ReadTypedRate(text, value.Rate))
            return ErrorText(rateError);
        break;
    case TReader::Formula:
        if (!named(FormulaNames, text.trimmed(), fcEuro, value.Code))
            return notOneOf(text, "Zinsformel", FormulaNames);
        break;
    case TReader::DayCount: {
        int count = 0;
        if (!named(DayCountNames, text.trimmed(), dcActual365, count))
            return notOneOf(text, "Tageszählung", DayCountNames);
        value.Count = TDayCount(count);
        break;
    }
    case TReader::Law: {
        int law = 0;
        if (!named(LawNames, text.trimmed(), lwGermany, law))
            return Quoted(text) + QStringLiteral(" ist kein Recht (de, at oder ch)");
        value.Law = TLaw(law);
        break;
    }
    case TReader::Switch:
        if (const std::optional<bool> on = SwitchValue(text)) {
            value.On = *on;
            break;
        }
        return Quoted(text) + QStringLiteral(" ist weder ja noch nein");
    }
    return std::nullopt;
}

// The least number of characters to insert, delete, replace or swap with the next one that
// turns one text into the other.
int EditDistance(QStringView a, QStringView b) {
    std::vector<std::vector<int>> d(a.size() + 1, std::vector<int>(b.size() + 1));
    for (qsizetype i = 0; i <= a.size(); ++i)
        for (qsizetype j = 0; j <= b.size(); ++j) {
            if (i == 0 || j == 0) {
                d[i][j] = int(i + j);
                continue;
            }
            d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1,
                                d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
        }
    return d[a.size()][b.size()];
}

} // namespace

QString FieldName(TField field) {
    return QString::fromLatin1(Fields[field].Name);
}

QString ArgumentName(TCommand command, TField field) {
    if (use(command, field).Position >= 0) return FieldName(field).toUpper();
    return QStringLiteral("--") + FieldName(field);
}

QList<TField> PositionalFields(TCommand command) {
    QList<TField> fields;
    for (int field = 0; field < FieldCount; ++field)
        if (const int at = use(command, TField(field)).Position; at >= 0) {
            if (fields.size() <= at) fields.resize(at + 1);
            fields[at] = TField(field);
        }
    return fields;
}

bool TakesField(TCommand command, TField field) {
    return use(command, field).Reader != TReader::None;
}

bool IsSwitch(TField field) {
    return Fields[field].Verzug.Reader == TReader::Switch;
}

bool IsChoice(TCommand command, TField field) {
    const TReader reader = use(command, field).Reader;
    return reader == TReader::Formula || reader == TReader::DayCount || reader == TReader::Law;
}

const QList<TField> &RuleFields() {
    static const QList<TField> fields{fdVerbraucher, fdUnternehmer, fdSatz, fdAufschlag};
    return fields;
}

TRateKind RuleOf(TField field) {
    return Fields[field].Rule.value_or(rkConsumer);
}

std::optional<TField> FieldOfColumn(const QString &name) {
    const QString normal = name.trimmed().toLower().replace(u'_', u'-');
    for (int field = 0; field < FieldCount; ++field)
        if (normal == QLatin1String(Fields[field].Name)) return TField(field);
    return std::nullopt;
}

std::optional<TField> NearField(TCommand command, const QString &name) {
    QString normal = name.trimmed().toLower();
    normal.replace(u'_', u'-').replace(u' ', u'-');
    for (int field = 0; field < FieldCount; ++field) {
        const QLatin1String known(Fields[field].Name);
        // One slip in a short name, two in a long one; "Tage" and "Name" are not alike.
        const int allowed = known.size() <= 5 ? 1 : 2;
        if (TakesField(command, TField(field)) && qAbs(normal.size() - known.size()) <= allowed &&
            EditDistance(normal, QString(known)) <= allowed)
            return TField(field);
    }
    return std::nullopt;
}

std::optional<int> FormulaCodeNamed(const QString &name) {
    int code = 0;
    return named(FormulaNames, name, fcEuro, code) ? std::optional(code) : std::nullopt;
}

QString FormulaName(int code) {
    // Literals: copies made side by side in many threads share no counter.
    switch (code) {
    case fcEuro:
        return QStringLiteral("euro");
    case fcDeutsche:
        return QStringLiteral("deutsche");
    case fcEnglische:
        return QStringLiteral("englische");
    default:
        return QString();
    }
}

std::optional<TDayCount> DayCountNamed(const QString &name) {
    int count = 0;
    return named(DayCountNames, name, dcActual365, count) ? std::optional(TDayCount(count))
                                                          : std::nullopt;
}

std::optional<TLaw> LawNamed(const QString &name) {
    int law = 0;
    return named(LawNames, name, lwGermany, law) ? std::optional(TLaw(law)) : std::nullopt;
}

std::optional<TLaw> LawOfFields(const TFields &fields) {
    if (fields[fdRecht].trimmed().isEmpty()) return lwGermany;
    return LawNamed(fields[fdRecht].trimmed());
}

std::optional<bool> SwitchValue(const QString &text) {
    static const QStringList yes{"ja", "j", "x", "1", "wahr", "true", "yes"};
    static const QStringList no{"", "nein", "n", "0", "falsch", "false", "no"};
    const QString word = text.trimmed().toLower();
    if (yes.contains(word)) return true;
    if (no.contains(word)) return false;
    return std::nullopt;
}

std::optional<QString> FieldValueError(TCommand command, TField field, const QString &text) {
    TFieldValue value;
    return read(use(command, field).Reader, text, value);
}

TRuleFault CheckRuleChoice(const TFields &fields) {
    int chosen = 0;
    for (TField field : RuleFields())
        chosen +=
            IsSwitch(field) ? SwitchValue(fields[field]).value_or(false) : !fields[field].isEmpty();
    if (chosen == 0 && LawOfFields(fields).value_or(lwGermany) != lwGermany)
        return TRuleFault::None;
    if (chosen != 1) return chosen == 0 ? TRuleFault::Missing : TRuleFault::SeveralRules;
    if (SwitchValue(fields[fdVor2014]).value_or(false) &&
        !SwitchValue(fields[fdUnternehmer]).value_or(false))
        return TRuleFault::Before2014WithoutBusiness;
    return TRuleFault::None;
}

QString RuleFaultText(TRuleFault fault, bool options) {
    QStringList names;
    for (TField field : RuleFields())
        names << (options ? ArgumentName(TCommand::Verzug, field) : FieldName(field));
    switch (fault) {
    case TRuleFault::None:
        break;
    case TRuleFault::Missing:
        return options ? QStringLiteral("es fehlt eine von ") + listed(names, "und")
                       : QStringLiteral("die Zinsregel fehlt: ") + listed(names, "oder");
    case TRuleFault::SeveralRules:
        return options ? QStringLiteral("nur eine von ") + listed(names, "und")
                       : QStringLiteral("nur eine Zinsregel: ") + listed(names, "oder");
    case TRuleFault::Before2014WithoutBusiness:
        return QStringLiteral("gilt nur mit ") +
               (options ? ArgumentName(TCommand::Verzug, fdUnternehmer) : FieldName(fdUnternehmer));
    }
    return QString();
}

std::optional<TLawFault> CheckLawRules(const TFields &fields, bool options) {
    const std::optional<TLaw> law = LawOfFields(fields);
    if (!law) return std::nullopt; // the law's own reader names that fault
    const auto on = [&](TField field) {
        return IsSwitch(field) ? SwitchValue(fields[field]).value_or(false)
                               : !fields[field].trimmed().isEmpty();
    };
    const auto name = [&](TField field) {
        return options ? ArgumentName(TCommand::Verzug, field) : FieldName(field);
    };
    const auto fault = [&](TField field, const QString &reason) {
        return std::optional<TLawFault>(TLawFault{field, reason});
    };
    switch (*law) {
    case lwGermany:
        if (on(fdVor2013))
            return fault(fdVor2013, QStringLiteral("gilt nur nach österreichischem Recht (") +
                                        name(fdRecht) + QStringLiteral(" at)"));
        break;
    case lwAustria:
        if (on(fdVerbraucher))
            return fault(fdVerbraucher,
                         QStringLiteral("gibt es nach österreichischem Recht nicht; ohne Zinsregel "
                                        "gelten 4 % (§ 1000 Abs. 1 ABGB)"));
        if (on(fdVor2014))
            return fault(fdVor2014, QStringLiteral("gilt nur nach deutschem Recht; nach "
                                                   "österreichischem: ") +
                                        name(fdVor2013));
        if (on(fdVor2013) && !on(fdUnternehmer))
            return fault(fdVor2013, QStringLiteral("gilt nur mit ") + name(fdUnternehmer));
        break;
    case lwSwitzerland:
        for (TField field : {fdVerbraucher, fdUnternehmer, fdAufschlag})
            if (on(field))
                return fault(field, QStringLiteral("gibt es nach Schweizer Recht nicht; ohne "
                                                   "Zinsregel gelten 5 % (Art. 104 Abs. 1 OR), "
                                                   "ein höherer vertraglicher Satz mit ") +
                                        name(fdSatz));
        if (on(fdVor2014)) return fault(fdVor2014, QStringLiteral("gilt nur nach deutschem Recht"));
        if (on(fdVor2013))
            return fault(fdVor2013, QStringLiteral("gilt nur nach österreichischem Recht"));
        if (on(fdPauschale))
            return fault(fdPauschale, QStringLiteral("gibt es nach Schweizer Recht nicht"));
        break;
    }
    return std::nullopt;
}

TCaseReader::TCaseReader(TCommand command, const TFields &fields)
    : FCommand(command), FFields(fields) {
    // Whatever a field's reader quotes in its message is short. (The command's own fields are
    // the only ones filled.)
    for (int field = 0; field < FieldCount; ++field)
        if (fields[field].size() > MaxFieldLength)
            Fail(TField(field),
                 Quoted(fields[field]) +
                     QStringLiteral(" ist zu lang (höchstens %1 Zeichen)").arg(MaxFieldLength));
}

TFieldValue TCaseReader::Read(TField field) {
    TFieldValue value;
    if (FError) return value;
    const TUse how = use(FCommand, field);
    if (FFields[field].isEmpty()) {
        if (how.Position >= 0) Fail(field, QStringLiteral("fehlt"));
        return value;
    }
    if (const std::optional<QString> reason = read(how.Reader, FFields[field], value)) {
        Fail(field, *reason);
        return TFieldValue();
    }
    return value;
}

void TCaseReader::Fail(TField field, const QString &reason) {
    if (!FError) FError = TCaseError{field, reason};
}
