#pragma once
// The commands of tarvo-zins: a case's fields read into the engine's inputs, calculated with
// the very functions the bar and the default-interest window call, and the run of a whole
// command line with its exit status.

#include "cli/arguments.h"
#include "cli/output.h"
#include "engine/baseratestore.h"

#include <QString>
#include <optional>

class QIODevice;

enum TExitStatus : int {
    esDone = 0,     // everything calculated
    esBadInput = 1, // an input could not be calculated with (a batch: after all rows)
    esFailed = 1,   // the output could not be written, or the input read to its end
    esUsage = 2,    // the command line itself is wrong
};

struct TZinsenCase {
    int Code = fcEuro;
    TDateTime Start = EmptyDate;
    TDateTime End = EmptyDate;
    long double Principal = 0;
    long double Rate = 0;
};

// An empty formula takes defaultCode.
std::optional<TCaseError> ReadZinsenCase(const TFields &fields, int defaultCode, TZinsenCase &c);
TZinsenResult CalculateZinsen(const TZinsenCase &c);

std::optional<TCaseError> ReadVerzugCase(const TFields &fields, TDefaultInterestInput &input);
// The engine's error, named by the field that can mend it.
// `austrian`: Austria's base rates, read under Austrian law only.
std::optional<TCaseError> CalculateVerzug(const TDefaultInterestInput &input,
                                          const TBaseRateTable &table,
                                          TDefaultInterestStatement &result,
                                          const TAtBaseRates &austrian = ShippedAtBaseRates());

// What a run shares: its output, its error report, the stored formula and the base rates,
// each read once and only when a case needs it.
class TRunContext {
public:
    TRunContext(QIODevice &out, QIODevice &err) : FOut(out), FErr(err) {}

    TOutputStream &Out() { return FOut; }
    // One line on the error output: "tarvo-zins: <subject>: <reason>".
    void Report(const QString &subject, const QString &reason);
    // Writes what is left; a failed write, now or before, is reported once and fails the run.
    int Finish(int status);
    int DefaultFormulaCode();
    // The shipped rates with the user's merged over them; a broken file of the user's is
    // reported and moved aside, and the shipped rates count.
    TBaseRateStore &BaseRates();
    // Austria's base-rate changes with the user's over them; a broken file of the user's is
    // reported, and the shipped changes count.
    const TAtBaseRates &AtRates();

private:
    TOutputStream FOut;
    QIODevice &FErr;
    std::optional<int> FFormulaCode;
    std::optional<TBaseRateStore> FRates;
    std::optional<TAtBaseRates> FAtRates;
};

// Runs the command line; `in` is the standard input a batch may read. The exit status.
int RunCommandLine(const TCommandLine &line, QIODevice &in, QIODevice &out, QIODevice &err);
