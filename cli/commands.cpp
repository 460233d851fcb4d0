#include "cli/commands.h"

#include "cli/batch.h"
#include "cli/console.h"
#include "cli/numbers.h"
#include "cli/storedformula.h"
#include "engine/baserateupdate.h"
#include "report/csv.h"
#include "report/echo.h"
#include "report/errortext.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QIODevice>

#include <clocale>

namespace {

// Exactly one rule: a consumer, a business, a fixed rate or a margin over the base rate.
void ReadRule(TCaseReader &reader, const TFields &fields, TDateTime firstDay, TRateRule &rule) {
    for (TField field : RuleFields()) {
        const TFieldValue value = reader.Read(field);
        if (!reader.Given(field) || (IsSwitch(field) && !value.On)) continue;
        rule.Kind = RuleOf(field);
        if (!IsSwitch(field)) rule.Value = value.Rate;
    }
    if (reader.Error()) return;
    const TRuleFault fault = CheckRuleChoice(fields);
    if (fault == TRuleFault::Missing || fault == TRuleFault::SeveralRules)
        return reader.Fail(FieldCount, RuleFaultText(fault, false));
    const bool before2014 = reader.Read(fdVor2014).On;
    if (fault == TRuleFault::Before2014WithoutBusiness)
        return reader.Fail(fdVor2014, RuleFaultText(fault, false));
    // As the window presets it: a claim with interest from 29.07.2014 on or earlier is older.
    rule.ClaimBefore29072014 =
        rule.Kind == rkNoConsumer && (before2014 || ClaimBefore29072014Preset(firstDay));
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
    TCaseReader reader(TCommand::Zinsen, fields);
    c.Principal = reader.Read(fdBetrag).Number;
    c.Start = reader.Read(fdVon).Day;
    c.End = reader.Read(fdBis).Day;
    c.Rate = reader.Read(fdSatz).Number;
    c.Code = reader.Given(fdFormel) ? reader.Read(fdFormel).Code : defaultCode;
    return reader.Error();
}

TZinsenResult CalculateZinsen(const TZinsenCase &c) {
    // The bar's own calculation, with its day label and its rounding.
    return {CalculateInterestFigures(c.Code, c.Start, c.End, c.Principal, c.Rate), c.Code};
}

std::optional<TCaseError> ReadVerzugCase(const TFields &fields, TDefaultInterestInput &input) {
    TCaseReader reader(TCommand::Verzug, fields);
    input.Claim = reader.Read(fdBetrag).Cents;
    input.FirstDay = reader.Read(fdVon).Day;
    input.LastDay = reader.Read(fdBis).Day;
    ReadRule(reader, fields, input.FirstDay, input.Rule);
    input.DayCount = reader.Given(fdTage) ? reader.Read(fdTage).Count : dcActual365;
    input.LastDayCounts = !reader.Read(fdOhneZahlungstag).On;
    input.FlatFee = reader.Read(fdPauschale).On;
    return reader.Error();
}

std::optional<TCaseError> CalculateVerzug(const TDefaultInterestInput &input,
                                          const TBaseRateTable &table,
                                          TDefaultInterestStatement &result) {
    result.Input = input;
    result.Result = CalculateDefaultInterest(input, table);
    result.Reach = table.Reach();
    if (!result.Result.Error) return std::nullopt;
    return TCaseError{FieldOfEngineError(result.Result.Error, input.Rule),
                      ErrorText(result.Result.Error)};
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
