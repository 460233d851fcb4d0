#include "cli/arguments.h"

#include "report/echo.h"

namespace {

std::optional<TCommand> CommandNamed(const QString &name) {
    if (name == QLatin1String("zinsen")) return TCommand::Zinsen;
    if (name == QLatin1String("verzug")) return TCommand::Verzug;
    if (name == QLatin1String("basiszins")) return TCommand::Basiszins;
    if (name == QLatin1String("forderung")) return TCommand::Forderung;
    return std::nullopt;
}

std::optional<TOutputFormat> FormatNamed(const QString &name) {
    if (name == QLatin1String("text")) return TOutputFormat::Text;
    if (name == QLatin1String("csv")) return TOutputFormat::Csv;
    if (name == QLatin1String("json")) return TOutputFormat::Json;
    return std::nullopt;
}

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
    QString FFormat, FBatch, FImport, FStatementDay;
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
                     QStringLiteral(
                         "unbekannter Befehl (zinsen, verzug, basiszins oder forderung)"));
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
        Fail(QString(),
             QStringLiteral("der Befehl fehlt (zinsen, verzug, basiszins oder forderung)"));
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
    } else if (option == QLatin1String("--csv") && FLine.Command != TCommand::Basiszins &&
               FLine.Command != TCommand::Forderung) {
        if (const std::optional<QString> value = Value(option, attached))
            if (Once(option, FBatch, *value)) FLine.Batch = *value;
    } else if (option == QLatin1String("--import") && FLine.Command == TCommand::Basiszins) {
        if (const std::optional<QString> value = Value(option, attached))
            if (Once(option, FImport, *value)) FLine.Import = *value;
    } else if (option == QLatin1String("--stichtag") && FLine.Command == TCommand::Forderung) {
        if (const std::optional<QString> value = Value(option, attached))
            if (Once(option, FStatementDay, *value)) FLine.StatementDay = *value;
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
    if (IsChoice(FLine.Command, field))
        if (const std::optional<QString> reason = FieldValueError(FLine.Command, field, value))
            Fail(option, *reason);
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
    if (FLine.Command == TCommand::Forderung) {
        if (positional.isEmpty()) return Fail(QStringLiteral("DATEI"), QStringLiteral("fehlt"));
        if (positional.size() > 1)
            return Fail(positional[1], QStringLiteral("unerwartetes Argument"));
        FLine.CaseFile = positional.first();
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
    // A batch's column may name another law for its row; the options alone are judged there.
    if (const std::optional<TLawFault> fault = CheckLawRules(FLine.Fields, true);
        fault && FLine.Batch.isEmpty())
        return Fail(ArgumentName(TCommand::Verzug, fault->Field), fault->Reason);
    const TRuleFault fault = CheckRuleChoice(FLine.Fields);
    // A batch may take the rule from its columns, but not two from the options.
    if (fault == TRuleFault::None || (fault != TRuleFault::SeveralRules && !FLine.Batch.isEmpty()))
        return;
    Fail(fault == TRuleFault::Before2014WithoutBusiness ? ArgumentName(TCommand::Verzug, fdVor2014)
                                                        : QStringLiteral("verzug"),
         RuleFaultText(fault, true));
}

} // namespace

TCommandLine ParseCommandLine(const QStringList &arguments) {
    return TParser(arguments).Parse();
}
