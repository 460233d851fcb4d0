#include "cli/arguments.h"

#include "report/echo.h"
#include "engine/interest.h"

#include <algorithm>
#include <vector>

namespace {

constexpr const char *FieldNames[FieldCount] = {
    "betrag",      "von",      "bis",       "satz", "formel",    "verbraucher",
    "unternehmer", "vor-2014", "aufschlag", "tage", "pauschale", "ohne-zahlungstag",
};

// The positional arguments of a single case, in their order.
QList<TField> PositionalFields(TCommand command) {
    switch (command) {
    case TCommand::Zinsen:
        return {fdBetrag, fdVon, fdBis, fdSatz};
    case TCommand::Verzug:
        return {fdBetrag, fdVon, fdBis};
    default:
        return {};
    }
}

std::optional<TCommand> CommandNamed(const QString &name) {
    if (name == QLatin1String("zinsen")) return TCommand::Zinsen;
    if (name == QLatin1String("verzug")) return TCommand::Verzug;
    if (name == QLatin1String("basiszins")) return TCommand::Basiszins;
    return std::nullopt;
}

std::optional<TOutputFormat> FormatNamed(const QString &name) {
    if (name == QLatin1String("text")) return TOutputFormat::Text;
    if (name == QLatin1String("csv")) return TOutputFormat::Csv;
    if (name == QLatin1String("json")) return TOutputFormat::Json;
    return std::nullopt;
}

constexpr const char *FormulaNames[] = {"euro", "deutsche", "englische"};
constexpr const char *DayCountNames[] = {"taggenau", "actact", "act360", "30360"};

// "-5" and "-1.000,50" are amounts, not options.
bool LooksLikeOption(const QString &argument) {
    return argument.size() > 1 && argument[0] == u'-' && !argument[1].isDigit() &&
           argument[1] != u',' && argument[1] != u'.';
}

class TParser {
public:
    explicit TParser(const QStringList &arguments) : FArguments(arguments) {}
    TCommandLine Parse();

private:
    void Fail(const QString &argument, const QString &reason) {
        if (!FLine.Error) FLine.Error = TUsageError{argument, reason};
    }
    void Option(const QString &argument);
    std::optional<QString> Value(const QString &option, const std::optional<QString> &attached);
    // Takes the option's value once; the same option again must say the same.
    bool Once(const QString &option, QString &given, const QString &value);
    void SetField(TField field, const QString &option, const QString &value);
    void Positional(const QStringList &positional);
    void CheckCombination();

    QStringList FArguments;
    qsizetype FNext = 0;
    TCommandLine FLine;
    std::array<bool, FieldCount> FFromOption{};
    QString FFormat, FBatch, FImport;
};

TCommandLine TParser::Parse() {
    QStringList positional;
    bool optionsEnd = false;
    for (FNext = 0; FNext < FArguments.size();) {
        const QString argument = FArguments[FNext++];
        if (!optionsEnd && argument == QLatin1String("--")) {
            optionsEnd = true;
        } else if (!optionsEnd && LooksLikeOption(argument)) {
            Option(argument);
        } else if (FLine.Command == TCommand::None) {
            const std::optional<TCommand> command = CommandNamed(argument);
            if (!command)
                Fail(argument,
                     QStringLiteral("unbekannter Befehl (zinsen, verzug oder basiszins)"));
            FLine.Command = command.value_or(TCommand::None);
        } else {
            positional << argument;
        }
    }
    if (FLine.Help || FLine.Version) {
        FLine.Error.reset();
        return FLine;
    }
    if (FLine.Command == TCommand::None)
        Fail(QString(), QStringLiteral("der Befehl fehlt (zinsen, verzug oder basiszins)"));
    Positional(positional);
    CheckCombination();
    return FLine;
}

std::optional<QString> TParser::Value(const QString &option,
                                      const std::optional<QString> &attached) {
    if (!attached && FNext >= FArguments.size()) {
        Fail(option, QStringLiteral("der Wert fehlt"));
        return std::nullopt;
    }
    const QString value = attached ? *attached : FArguments[FNext++];
    if (value.isEmpty()) {
        Fail(option, QStringLiteral("der Wert ist leer"));
        return std::nullopt;
    }
    return value;
}

bool TParser::Once(const QString &option, QString &given, const QString &value) {
    if (!given.isEmpty() && given != value) {
        Fail(option, QStringLiteral("ist mehrfach angegeben"));
        return false;
    }
    given = value;
    return true;
}

void TParser::Option(const QString &argument) {
    const qsizetype equals = argument.indexOf(u'=');
    const QString option = equals < 0 ? argument : argument.left(equals);
    const std::optional<QString> attached =
        equals < 0 ? std::nullopt : std::optional<QString>(argument.mid(equals + 1));
    if (option == QLatin1String("-h") || option == QLatin1String("--help")) {
        FLine.Help = true;
    } else if (option == QLatin1String("-v") || option == QLatin1String("--version")) {
        FLine.Version = true;
    } else if (option == QLatin1String("--format")) {
        const std::optional<QString> value = Value(option, attached);
        if (!value || !Once(option, FFormat, *value)) return;
        const std::optional<TOutputFormat> format = FormatNamed(*value);
        if (!format)
            Fail(option, Quoted(*value) + QStringLiteral(" ist kein Format (text, csv oder json)"));
        FLine.Format = format.value_or(TOutputFormat::Text);
    } else if (option == QLatin1String("--bom")) {
        if (attached) return Fail(option, QStringLiteral("nimmt keinen Wert"));
        FLine.Bom = true;
    } else if (option == QLatin1String("--csv") && FLine.Command != TCommand::Basiszins) {
        if (const std::optional<QString> value = Value(option, attached))
            if (Once(option, FBatch, *value)) FLine.Batch = *value;
    } else if (option == QLatin1String("--import") && FLine.Command == TCommand::Basiszins) {
        if (const std::optional<QString> value = Value(option, attached))
            if (Once(option, FImport, *value)) FLine.Import = *value;
    } else if (option == QLatin1String("--aktualisieren") && FLine.Command == TCommand::Basiszins) {
        if (attached) return Fail(option, QStringLiteral("nimmt keinen Wert"));
        FLine.Update = true;
    } else {
        const std::optional<TField> field =
            option.startsWith(QLatin1String("--")) ? FieldOfColumn(option.mid(2)) : std::nullopt;
        if (!field || !TakesField(FLine.Command, *field) || option.contains(u'_'))
            return Fail(option, QStringLiteral("unbekannte Option"));
        if (IsSwitch(*field) && attached) return Fail(option, QStringLiteral("nimmt keinen Wert"));
        FFromOption[*field] = true;
        if (IsSwitch(*field)) return SetField(*field, option, QStringLiteral("ja"));
        const std::optional<QString> value = Value(option, attached);
        if (!value) return;
        // A blank value would read as no value at all.
        if (value->trimmed().isEmpty()) return Fail(option, QStringLiteral("der Wert ist leer"));
        SetField(*field, option, *value);
    }
}

void TParser::SetField(TField field, const QString &option, const QString &value) {
    if (!FLine.Fields[field].isEmpty() && FLine.Fields[field] != value)
        return Fail(option, QStringLiteral("ist mehrfach angegeben"));
    if (field == fdFormel && !FormulaCodeNamed(value))
        Fail(option, Quoted(value) +
                         QStringLiteral(" ist keine Zinsformel (euro, deutsche oder englische)"));
    if (field == fdTage && !DayCountNamed(value))
        Fail(option, Quoted(value) + QStringLiteral(" ist keine Tageszählung (taggenau, actact, "
                                                    "act360 oder 30360)"));
    FLine.Fields[field] = value;
}

void TParser::Positional(const QStringList &positional) {
    if (FLine.Command == TCommand::Basiszins) {
        if (FLine.Update && !FLine.Import.isEmpty())
            return Fail(QStringLiteral("--aktualisieren"),
                        QStringLiteral("nicht zusammen mit --import"));
        if (positional.size() > (FLine.Import.isEmpty() && !FLine.Update ? 1 : 0))
            return Fail(positional.last(), QStringLiteral("unerwartetes Argument"));
        FLine.Date = positional.value(0);
        return;
    }
    const QList<TField> fields = PositionalFields(FLine.Command);
    if (!FLine.Batch.isEmpty()) {
        if (!positional.isEmpty())
            Fail(positional.first(),
                 QStringLiteral("unerwartetes Argument; mit --csv kommen die Fälle aus der Datei"));
        return;
    }
    if (positional.size() > fields.size())
        return Fail(positional[fields.size()], QStringLiteral("unerwartetes Argument"));
    if (positional.size() < fields.size())
        return Fail(ArgumentName(FLine.Command, fields[positional.size()]),
                    QStringLiteral("fehlt"));
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (FFromOption[fields[i]])
            return Fail(QStringLiteral("--") + FieldName(fields[i]),
                        QStringLiteral("steht schon als Argument da"));
        FLine.Fields[fields[i]] = positional[i];
    }
}

// A single case needs exactly one rate rule; a batch may take it from its columns.
void TParser::CheckCombination() {
    // JSON must not begin with one, and text has no use for it.
    if (FLine.Bom && FLine.Format != TOutputFormat::Csv)
        Fail(QStringLiteral("--bom"), QStringLiteral("gilt nur mit --format csv"));
    if (FLine.Command != TCommand::Verzug || FLine.Error) return;
    int rules = 0;
    for (TField field : {fdVerbraucher, fdUnternehmer, fdSatz, fdAufschlag})
        rules += FLine.Fields[field].isEmpty() ? 0 : 1;
    if (rules > 1)
        return Fail(QStringLiteral("verzug"),
                    QStringLiteral("nur eine von --verbraucher, --unternehmer, --satz und "
                                   "--aufschlag"));
    if (rules == 0 && FLine.Batch.isEmpty())
        return Fail(QStringLiteral("verzug"),
                    QStringLiteral("es fehlt eine von --verbraucher, --unternehmer, --satz und "
                                   "--aufschlag"));
    if (!FLine.Fields[fdVor2014].isEmpty() && FLine.Fields[fdUnternehmer].isEmpty() &&
        FLine.Batch.isEmpty())
        Fail(QStringLiteral("--vor-2014"), QStringLiteral("gilt nur mit --unternehmer"));
}

} // namespace

QString FieldName(TField field) {
    return QString::fromLatin1(FieldNames[field]);
}

QString ArgumentName(TCommand command, TField field) {
    if (PositionalFields(command).contains(field)) return FieldName(field).toUpper();
    return QStringLiteral("--") + FieldName(field);
}

bool TakesField(TCommand command, TField field) {
    switch (command) {
    case TCommand::Zinsen:
        return field <= fdFormel;
    case TCommand::Verzug:
        return field != fdFormel;
    default:
        return false;
    }
}

bool IsSwitch(TField field) {
    return field == fdVerbraucher || field == fdUnternehmer || field == fdVor2014 ||
           field == fdPauschale || field == fdOhneZahlungstag;
}

std::optional<TField> FieldOfColumn(const QString &name) {
    const QString normal = name.trimmed().toLower().replace(u'_', u'-');
    for (int field = 0; field < FieldCount; ++field)
        if (normal == QLatin1String(FieldNames[field])) return TField(field);
    return std::nullopt;
}

namespace {

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

std::optional<TField> NearField(TCommand command, const QString &name) {
    QString normal = name.trimmed().toLower();
    normal.replace(u'_', u'-').replace(u' ', u'-');
    for (int field = 0; field < FieldCount; ++field) {
        const QLatin1String known(FieldNames[field]);
        // One slip in a short name, two in a long one; "Tage" and "Name" are not alike.
        const int allowed = known.size() <= 5 ? 1 : 2;
        if (TakesField(command, TField(field)) && qAbs(normal.size() - known.size()) <= allowed &&
            EditDistance(normal, QString(known)) <= allowed)
            return TField(field);
    }
    return std::nullopt;
}

std::optional<int> FormulaCodeNamed(const QString &name) {
    for (int code = fcEuro; code <= fcEnglische; ++code)
        if (name.compare(QLatin1String(FormulaNames[code - fcEuro]), Qt::CaseInsensitive) == 0)
            return code;
    return std::nullopt;
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
    for (int count = dcActual365; count <= dc30360; ++count)
        if (name.compare(QLatin1String(DayCountNames[count - dcActual365]), Qt::CaseInsensitive) ==
            0)
            return TDayCount(count);
    return std::nullopt;
}

QString DayCountName(TDayCount count) {
    if (count < dcActual365 || count > dc30360) return QString();
    return QString::fromLatin1(DayCountNames[count - dcActual365]);
}

std::optional<bool> SwitchValue(const QString &text) {
    static const QStringList yes{"ja", "j", "x", "1", "wahr", "true", "yes"};
    static const QStringList no{"", "nein", "n", "0", "falsch", "false", "no"};
    const QString word = text.trimmed().toLower();
    if (yes.contains(word)) return true;
    if (no.contains(word)) return false;
    return std::nullopt;
}

TCommandLine ParseCommandLine(const QStringList &arguments) {
    return TParser(arguments).Parse();
}
