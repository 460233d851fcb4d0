#include "cli/commands.h"

#include "cli/batch.h"
#include "cli/console.h"
#include "cli/numbers.h"
#include "cli/storedformula.h"
#include "engine/baserateupdate.h"
#include "engine/fixedtext.h"
#include "report/csv.h"
#include "report/echo.h"
#include "report/errortext.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QIODevice>

#include <clocale>

namespace {

const QString Missing = QStringLiteral("fehlt");

TCaseError FieldError(TField field, const QString &reason) {
    return TCaseError{field, reason};
}

std::optional<TCaseError> ReadDay(const TFields &fields, TField field, TDateTime &day) {
    QString error;
    if (fields[field].isEmpty()) return FieldError(field, Missing);
    if (!ReadDate(fields[field], day, error)) return FieldError(field, error);
    return std::nullopt;
}

std::optional<TCaseError> ReadSwitch(const TFields &fields, TField field, bool &on) {
    if (fields[field].isEmpty()) {
        on = false;
        return std::nullopt;
    }
    const std::optional<bool> value = SwitchValue(fields[field]);
    if (!value)
        return FieldError(field, Quoted(fields[field]) + QStringLiteral(" ist weder ja noch nein"));
    on = *value;
    return std::nullopt;
}

// Exactly one rule: a consumer, a business, a fixed rate or a margin over the base rate.
std::optional<TCaseError> ReadRule(const TFields &fields, TDateTime firstDay, TRateRule &rule) {
    const struct {
        TField Field;
        TRateKind Kind;
    } rules[] = {{fdVerbraucher, rkConsumer},
                 {fdUnternehmer, rkNoConsumer},
                 {fdSatz, rkFixed},
                 {fdAufschlag, rkMargin}};
    int chosen = 0;
    for (const auto &candidate : rules) {
        bool on = !fields[candidate.Field].isEmpty();
        if (IsSwitch(candidate.Field))
            if (auto error = ReadSwitch(fields, candidate.Field, on)) return error;
        if (!on) continue;
        ++chosen;
        rule.Kind = candidate.Kind;
        if (!IsSwitch(candidate.Field))
            if (const TEngineError error = ReadTypedRate(fields[candidate.Field], rule.Value))
                return FieldError(candidate.Field, ErrorText(error));
    }
    if (chosen != 1)
        return FieldError(FieldCount, chosen == 0
                                          ? QStringLiteral("die Zinsregel fehlt: verbraucher, "
                                                           "unternehmer, satz oder aufschlag")
                                          : QStringLiteral("nur eine Zinsregel: verbraucher, "
                                                           "unternehmer, satz oder aufschlag"));
    bool before2014 = false;
    if (auto error = ReadSwitch(fields, fdVor2014, before2014)) return error;
    if (before2014 && rule.Kind != rkNoConsumer)
        return FieldError(fdVor2014, QStringLiteral("gilt nur mit unternehmer"));
    // As the window presets it: a claim with interest from 29.07.2014 on or earlier is older.
    rule.ClaimBefore29072014 =
        rule.Kind == rkNoConsumer && (before2014 || ClaimBefore29072014Preset(firstDay));
    return std::nullopt;
}

TField FieldOfEngineError(const TEngineError &error, const TRateRule &rule) {
    switch (error.Code) {
    case ecClaim:
        return fdBetrag;
    case ecDates:
    case ecMissingHalfYear:
        return fdBis;
    case ecNoBaseRate:
        return fdVon;
    case ecRate:
        return rule.Kind == rkMargin ? fdAufschlag : fdSatz;
    case ecFlatFee:
        return fdPauschale;
    default:
        return FieldCount;
    }
}

// Whatever a field's reader quotes in its message is short. (The command's own fields are
// the only ones filled.)
std::optional<TCaseError> CheckLengths(const TFields &fields) {
    for (int field = 0; field < FieldCount; ++field)
        if (fields[field].size() > MaxFieldLength)
            return FieldError(
                TField(field),
                Quoted(fields[field]) +
                    QStringLiteral(" ist zu lang (höchstens %1 Zeichen)").arg(MaxFieldLength));
    return std::nullopt;
}

QString Subject(TCommand command, TField field) {
    if (field != FieldCount) return ArgumentName(command, field);
    return command == TCommand::Zinsen ? QStringLiteral("zinsen") : QStringLiteral("verzug");
}

int RunZinsen(const TCommandLine &line, TRunContext &run) {
    TZinsenCase c;
    const int defaultCode = line.Fields[fdFormel].isEmpty() ? run.DefaultFormulaCode() : fcEuro;
    if (const auto error = ReadZinsenCase(line.Fields, defaultCode, c)) {
        run.Report(Subject(TCommand::Zinsen, error->Field), error->Reason);
        return esBadInput;
    }
    run.Out().Write(ZinsenHeader(line.Format, false) +
                    ZinsenRow(line.Format, CalculateZinsen(c), 0));
    return esDone;
}

int RunVerzug(const TCommandLine &line, TRunContext &run) {
    TDefaultInterestInput input;
    TDefaultInterestStatement result;
    std::optional<TCaseError> error = ReadVerzugCase(line.Fields, input);
    if (!error) error = CalculateVerzug(input, run.BaseRates().Table(), result);
    if (error) {
        run.Report(Subject(TCommand::Verzug, error->Field), error->Reason);
        return esBadInput;
    }
    run.Out().Write(VerzugStatement(line.Format, result));
    return esDone;
}

// basiszins --aktualisieren: waits for the Bundesbank's answer, at most the update's time-out.
int RunUpdate(const TCommandLine &line, TRunContext &run) {
    // The answer comes through an event loop, which needs the application object: made only
    // here, so that no other command pays for it. It would set the C library's locale from the
    // environment; the program's numbers do not depend on the user's locale.
    std::unique_ptr<QCoreApplication> application;
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "tarvo-zins";
        static char *argv[] = {name, nullptr};
        const QByteArray locale = setlocale(LC_ALL, nullptr);
        application = std::make_unique<QCoreApplication>(argc, argv);
        setlocale(LC_ALL, locale.constData());
    }
    TBaseRateStore &store = run.BaseRates();
    QString url;
    TEngineError error;
    std::vector<TRateChange> changes;
    {
        TBaseRateUpdate update(store);
        url = update.Url();
        QEventLoop loop;
        update.OnDone = [&](const TEngineError &failure, const std::vector<TRateChange> &changed) {
            error = failure;
            changes = changed;
            loop.quit();
        };
        update.Start();
        loop.exec();
    }
    // What the network left to be deleted later goes before the application object does.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (error) {
        run.Report(QStringLiteral("--aktualisieren"), ErrorText(error));
        return esBadInput;
    }
    run.Out().Write(UpdateAnswer(line.Format, url, changes, store.Table()));
    return esDone;
}

int RunBasiszins(const TCommandLine &line, TRunContext &run) {
    if (line.Update) return RunUpdate(line, run);
    TBaseRateStore &store = run.BaseRates();
    if (!line.Import.isEmpty()) {
        int changed = 0;
        if (const TEngineError error = store.Import(line.Import, changed)) {
            run.Report(QStringLiteral("--import"), ErrorText(error));
            return esBadInput;
        }
        run.Out().Write(ImportAnswer(line.Format, line.Import, changed, store.Table()));
        return esDone;
    }
    TDateTime day = CurrentDateSerial();
    QString error;
    if (!line.Date.isEmpty() && !ReadDate(line.Date, day, error)) {
        run.Report(QStringLiteral("DATUM"), error);
        return esBadInput;
    }
    const TBaseRate *rate = store.Table().Find(day);
    if (!rate) {
        run.Report(QStringLiteral("DATUM"), ErrorText(BaseRateLookupError(day, store.Table())));
        return esBadInput;
    }
    run.Out().Write(BaseRateAnswer(line.Format, day, *rate, store.Table()));
    return esDone;
}

} // namespace

std::optional<TCaseError> ReadZinsenCase(const TFields &fields, int defaultCode, TZinsenCase &c) {
    if (auto tooLong = CheckLengths(fields)) return tooLong;
    QString error;
    if (fields[fdBetrag].isEmpty()) return FieldError(fdBetrag, Missing);
    if (!ReadAmount(fields[fdBetrag], c.Principal, error)) return FieldError(fdBetrag, error);
    if (auto dayError = ReadDay(fields, fdVon, c.Start)) return dayError;
    if (auto dayError = ReadDay(fields, fdBis, c.End)) return dayError;
    if (fields[fdSatz].isEmpty()) return FieldError(fdSatz, Missing);
    if (!ReadRate(fields[fdSatz], c.Rate, error)) return FieldError(fdSatz, error);
    c.Code = defaultCode;
    if (!fields[fdFormel].isEmpty()) {
        const std::optional<int> code = FormulaCodeNamed(fields[fdFormel].trimmed());
        if (!code)
            return FieldError(fdFormel, Quoted(fields[fdFormel]) +
                                            QStringLiteral(" ist keine Zinsformel (euro, deutsche "
                                                           "oder englische)"));
        c.Code = *code;
    }
    return std::nullopt;
}

TZinsenResult CalculateZinsen(const TZinsenCase &c) {
    // The bar's own calculation, with its day label and its rounding.
    return {CalculateInterestText(c.Code, c.Start, c.End, c.Principal, c.Rate), c.Code};
}

std::optional<TCaseError> ReadVerzugCase(const TFields &fields, TDefaultInterestInput &input) {
    if (auto tooLong = CheckLengths(fields)) return tooLong;
    QString error;
    long double amount = 0;
    if (fields[fdBetrag].isEmpty()) return FieldError(fdBetrag, Missing);
    if (!ReadAmount(fields[fdBetrag], amount, error)) return FieldError(fdBetrag, error);
    // The window's claim: its currency field's value in cents.
    const std::optional<TCents> claim = CentsFromAmount(amount);
    if (!claim)
        return FieldError(fdBetrag, ErrorText(TEngineError(ecClaim, TErrorText::ClaimTooLarge)));
    input.Claim = *claim;
    if (auto dayError = ReadDay(fields, fdVon, input.FirstDay)) return dayError;
    if (auto dayError = ReadDay(fields, fdBis, input.LastDay)) return dayError;
    if (auto ruleError = ReadRule(fields, input.FirstDay, input.Rule)) return ruleError;
    input.DayCount = dcActual365;
    if (!fields[fdTage].isEmpty()) {
        const std::optional<TDayCount> count = DayCountNamed(fields[fdTage].trimmed());
        if (!count)
            return FieldError(fdTage, Quoted(fields[fdTage]) +
                                          QStringLiteral(" ist keine Tageszählung (taggenau, "
                                                         "actact, act360 oder 30360)"));
        input.DayCount = *count;
    }
    bool withoutPaymentDay = false;
    if (auto switchError = ReadSwitch(fields, fdOhneZahlungstag, withoutPaymentDay))
        return switchError;
    input.LastDayCounts = !withoutPaymentDay;
    return ReadSwitch(fields, fdPauschale, input.FlatFee);
}

std::optional<TCaseError> CalculateVerzug(const TDefaultInterestInput &input,
                                          const TBaseRateTable &table,
                                          TDefaultInterestStatement &result) {
    result.Input = input;
    result.Result = CalculateDefaultInterest(input, table);
    result.Reach = table.Reach();
    if (!result.Result.Error) return std::nullopt;
    return FieldError(FieldOfEngineError(result.Result.Error, input.Rule),
                      ErrorText(result.Result.Error));
}

void TRunContext::Report(const QString &subject, const QString &reason) {
    // Whatever was printed before the message stays before it.
    FOut.Flush();
    FErr.write(ReportText(subject, reason).toUtf8());
}

int TRunContext::Finish(int status) {
    if (FOut.Flush()) return status;
    Report(QStringLiteral("Standardausgabe"),
           QStringLiteral("Schreiben nicht möglich: ") + FOut.FailReason());
    return status == esDone ? esFailed : status;
}

int TRunContext::DefaultFormulaCode() {
    if (!FFormulaCode) FFormulaCode = StoredFormulaCode();
    return *FFormulaCode;
}

TBaseRateStore &TRunContext::BaseRates() {
    if (!FRates) {
        FRates.emplace();
        if (const TEngineError error = FRates->Load())
            Report(QStringLiteral("Basiszinssätze"), ErrorText(error));
    }
    return *FRates;
}

namespace {

int RunCommand(const TCommandLine &line, QIODevice &in, TRunContext &run) {
    if (line.Help || line.Version) {
        run.Out().Write(line.Help ? HelpText() : VersionText());
        return esDone;
    }
    if (line.Error) {
        run.Report(Excerpt(line.Error->Argument),
                   line.Error->Reason + QStringLiteral(" („tarvo-zins --help“ zeigt die Aufrufe)"));
        return esUsage;
    }
    if (line.Bom) run.Out().Write(QByteArray(Utf8ByteOrderMark));
    if (!line.Batch.isEmpty()) return RunBatch(line, in, run);
    switch (line.Command) {
    case TCommand::Zinsen:
        return RunZinsen(line, run);
    case TCommand::Verzug:
        return RunVerzug(line, run);
    case TCommand::Basiszins:
        return RunBasiszins(line, run);
    case TCommand::None:
        break;
    }
    return esUsage;
}

} // namespace

int RunCommandLine(const TCommandLine &line, QIODevice &in, QIODevice &out, QIODevice &err) {
    TRunContext run(out, err);
    return run.Finish(RunCommand(line, in, run));
}
