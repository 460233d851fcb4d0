#include "cli/commands.h"

#include "cli/batch.h"
#include "cli/console.h"
#include "cli/numbers.h"
#include "cli/storedformula.h"
#include "engine/baserateupdate.h"
#include "engine/atuserrates.h"
#include "engine/casefile.h"
#include "platform/base/files.h"
#include "report/claims.h"
#include "report/csv.h"
#include "report/echo.h"
#include "report/errortext.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QIODevice>

#include <clocale>

namespace {

// Exactly one rule: a consumer, a business, a fixed rate or a margin over the base rate; under
// Austrian and Swiss law none means the law's own rate.
void ReadRule(TCaseReader &reader, const TFields &fields, TDateTime firstDay, TLaw law,
              TRateRule &rule) {
    rule.Kind = law == lwGermany ? rkConsumer : rkStatutory;
    for (TField field : RuleFields()) {
        const TFieldValue value = reader.Read(field);
        if (!reader.Given(field) || (IsSwitch(field) && !value.On)) continue;
        rule.Kind = RuleOf(field);
        if (!IsSwitch(field)) rule.Value = value.Rate;
    }
    if (reader.Error()) return;
    if (const std::optional<TLawFault> fault = CheckLawRules(fields, false))
        return reader.Fail(fault->Field, fault->Reason);
    const TRuleFault fault = CheckRuleChoice(fields);
    if (fault == TRuleFault::Missing || fault == TRuleFault::SeveralRules)
        return reader.Fail(FieldCount, RuleFaultText(fault, false));
    const bool before2014 = reader.Read(fdVor2014).On;
    const bool before2013 = reader.Read(fdVor2013).On;
    if (fault == TRuleFault::Before2014WithoutBusiness)
        return reader.Fail(fdVor2014, RuleFaultText(fault, false));
    // As the window presets it: a claim with interest from 29.07.2014 (Austria: 16.03.2013) on
    // or earlier is older.
    const bool business = rule.Kind == rkNoConsumer;
    rule.ClaimBefore29072014 =
        business && law == lwGermany && (before2014 || ClaimBefore29072014Preset(firstDay));
    rule.ContractBefore16032013 =
        business && law == lwAustria && (before2013 || ContractBefore16032013Preset(firstDay));
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
    case ecDayCount:
        return fdTage;
    case ecRule:
        return rule.Kind == rkNoConsumer ? fdUnternehmer : fdRecht;
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
    if (!error)
        error = CalculateVerzug(input, run.BaseRates().Table(), result,
                                input.Law == lwAustria ? run.AtRates() : ShippedAtBaseRates());
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

// The whole of standard input, up to the limit a case file on disk has.
bool ReadAllInput(QIODevice &in, QByteArray &data) {
    data.clear();
    char buffer[65536];
    for (;;) {
        const qint64 got = in.read(buffer, sizeof buffer);
        if (got < 0) return false;
        if (got == 0 && (in.atEnd() || !in.waitForReadyRead(-1))) return true;
        data.append(buffer, got);
        if (data.size() > FileReadLimit) return false;
    }
}

// forderung DATEI: the statement of a case file, for its own statement day or --stichtag.
int RunForderung(const TCommandLine &line, QIODevice &in, TRunContext &run) {
    const TDateTime today = CurrentDateSerial();
    TClaimsReport report;
    const bool fromInput = line.CaseFile == QLatin1String("-");
    const QString subject = fromInput ? QStringLiteral("Standardeingabe") : QStringLiteral("DATEI");
    TEngineError error;
    if (fromInput) {
        QByteArray data;
        if (!ReadAllInput(in, data)) {
            run.Report(subject,
                       QStringLiteral("nicht lesbar oder größer als ") + SizeText(FileReadLimit));
            return esBadInput;
        }
        error = ReadCaseFile(data, today, report.File);
    } else {
        error = LoadCaseFile(line.CaseFile, today, report.File);
    }
    if (error) {
        run.Report(subject, ErrorText(error));
        return esBadInput;
    }
    if (!line.StatementDay.isEmpty()) {
        QString reason;
        TDateTime day = EmptyDate;
        if (!ReadDate(line.StatementDay, day, reason)) {
            run.Report(QStringLiteral("--stichtag"), reason);
            return esBadInput;
        }
        report.File.Case.StatementDay = WholeDay(day);
        report.File.StatementDayIsToday = false;
    }
    const TBaseRateTable &rates = run.BaseRates().Table();
    report.Statement =
        CalculateClaims(report.File.Case, rates,
                        report.File.Case.Law == lwAustria ? run.AtRates() : ShippedAtBaseRates());
    if (report.Statement.Error) {
        run.Report(line.StatementDay.isEmpty() ||
                           report.Statement.ErrorField != TCaseField::StatementDay
                       ? subject
                       : QStringLiteral("--stichtag"),
                   ErrorText(report.Statement.Error));
        return esBadInput;
    }
    report.Reach = rates.Reach();
    switch (line.Format) {
    case TOutputFormat::Text:
        run.Out().Write(ClaimsAlignedText(report));
        break;
    case TOutputFormat::Csv:
        // The byte-order mark only with --bom, as every CSV of the program.
        run.Out().Write(ClaimsCsv(report).mid(qsizetype(sizeof Utf8ByteOrderMark) - 1));
        break;
    case TOutputFormat::Json:
        run.Out().Write(ClaimsJson(report));
        break;
    }
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
    input.Law = reader.Given(fdRecht) ? reader.Read(fdRecht).Law : lwGermany;
    ReadRule(reader, fields, input.FirstDay, input.Law, input.Rule);
    input.DayCount = reader.Given(fdTage) ? reader.Read(fdTage).Count : DefaultDayCount(input.Law);
    input.LastDayCounts = !reader.Read(fdOhneZahlungstag).On;
    input.FlatFee = reader.Read(fdPauschale).On;
    return reader.Error();
}

std::optional<TCaseError> CalculateVerzug(const TDefaultInterestInput &input,
                                          const TBaseRateTable &table,
                                          TDefaultInterestStatement &result,
                                          const TAtBaseRates &austrian) {
    result.Input = input;
    result.Result = CalculateDefaultInterest(input, table, austrian);
    result.Reach = HalfYearRates(input.Law, input.Rule, table, austrian).Reach();
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

const TAtBaseRates &TRunContext::AtRates() {
    if (!FAtRates) {
        TEngineError error;
        FAtRates = AtRatesWithUsers(AtUserRatesPath(), error);
        if (error) Report(QStringLiteral("Basiszinssätze"), ErrorText(error));
    }
    return *FAtRates;
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
    case TCommand::Forderung:
        return RunForderung(line, in, run);
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
