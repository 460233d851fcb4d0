#pragma once
// An error of the engine as a value: a code the program routes on, the sentence it stands for
// and that sentence's typed arguments (days, amounts, rates, counts, names, a nested cause).
// The engine writes no sentence and formats no number: report/errortext.h makes the German
// text from the value, so that the window and tarvo-zins say the same.

#include "engine/periods.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <variant>
#include <vector>

enum TEngineErrorCode : int {
    ecNone = 0,
    ecClaim,           // the claim is 0, negative or too large
    ecDates,           // a day is no date, or the last day lies before the first
    ecRate,            // a typed rate is no rate or out of range
    ecNoBaseRate,      // a day before the first base rate, under a rule that needs one
    ecMissingHalfYear, // a half-year without a known base rate
    ecFlatFee,         // the flat fee asked for where it is not due
    ecFile,            // a file that cannot be read or written
    ecFileContent,     // a file whose content is broken at a line
    ecRule,            // a rate rule the law of the case does not offer for the claim
    ecDayCount,        // a day count the law of the case does not offer
    ecAllocation,      // an order of allocation the law of the case does not offer
};

// Which sentence (or, nested in another, which phrase) an error stands for. The comment names
// the arguments in their order (a cause always last); report/errortext.cpp holds the one German
// text of each.
enum class TErrorText : int {
    None,

    // Files
    FileMissing,         // file
    FileUnreadable,      // file, reason
    FileNotSaved,        // file, reason
    FileNotWritten,      // file, reason
    FileNotWrittenStays, // file, reason; the file stays as it was
    FolderNotMade,       // folder: a reason
    FileLocked,          // file, reason
    NothingChanged,      // cause
    UpdateFailed,        // address, reason

    // One claim's default interest
    ClaimTooLarge,
    ClaimNotPositive,
    ClaimNotPositiveFrancs,
    FirstDayInvalid,
    LastDayInvalid,
    LastDayBeforeFirst,   // last day, first day
    NoInterestDayLeft,    // day of payment
    RateOutOfRange,       // rate, lowest, highest
    RateUnreadable,       // input
    MissingHalfYear,      // half-year
    MissingHalfYearReach, // half-year, reach of the base rates

    // What the law of the case offers
    DayCountsOfSwitzerland,
    DayCountOnlySwiss,
    DayCountUnknown,
    RuleSwitzerland,
    RuleAustrianConsumer,
    RuleAustrianCommercial,
    RuleUnknown,
    RuleAustrianOlderContract, // first day
    FlatFeeGermany,            // flat fee
    FlatFeeGermanyOfClaim,     // claim
    FlatFeeAustria,            // flat fee
    FlatFeeAustriaOfClaim,     // claim
    FlatFeeSwitzerland,
    NoAustrianBusinessRate, // the first day's input (a phrase)
    NoAustrianBaseRate,     // the first day's input (a phrase)
    NoGermanBaseRate,       // the first day's input (a phrase)
    FirstInterestDayPhrase,
    InterestStartPhrase,
    AllocationGermany,
    AllocationAustria,
    AllocationSwitzerland,

    // The claims statement
    NoClaims,
    StatementDayInvalid,
    EntryFirstDayInvalid,            // entry
    EntryDateInvalid,                // entry
    EntryAmountNotPositive,          // entry
    EntryAmountTooLarge,             // entry
    StatementDayBeforeFirst,         // statement day, earliest first day
    CostAfterStatementDay,           // cost, its date, statement day
    CostStartBeforeDate,             // cost, its first day, its date
    PaymentBeforeInterest,           // payment, its date, earliest first day
    PaymentAfterStatementDay,        // payment, its date, statement day
    PaymentNamesNoClaim,             // payment, the claim's number
    MissingHalfYearByStatement,      // half-year
    MissingHalfYearByStatementReach, // half-year, reach

    // Base rates
    BaseRateDay,        // the day
    BaseRateOutOfRange, // rate, lowest, highest
    AtChangeDayInvalid,
    AtBaseRateDay, // the day
    NoBaseRateBefore,
    HalfYearBeyondReach, // half-year, reach

    // The user's rates file: a line's fault, then the file's
    LineNotUtf8,
    LineShape,
    NotADate,          // input
    NotARate,          // input
    NotAnOrigin,       // input, the mark of an imported rate
    HalfYearTwice,     // half-year
    UserRatesBroken,   // file, line, cause
    UserRatesSetAside, // file, line, the name it was moved to, cause

    // The Bundesbank's download. Of the whole, going on from "Die Datei „…“ ":
    SeriesOther,       // series found, series wanted
    SeriesOtherAtLine, // series found, its line, series wanted
    SeriesNone,        // what is expected (a phrase)
    NotADownload,      // what is expected (a phrase)
    ExpectedDownload,  // series wanted
    NoMonthlyValues,
    // Of a line:
    DownloadLineShape,      // line, separator
    DownloadLineIncomplete, // line, separator
    SdmxColumnMissing,      // column
    SdmxRowShort,           // columns found, columns wanted
    SdmxNoMonth,            // input
    MonthBeforeSeries,      // month ("1998-12"), first month of the series
    MonthTooLate,           // month
    MonthTwice,             // month, first line, second line
    RateChangesInHalfYear,  // month, rate before, its line, rate
    OpenQuote,
    NoLineEnd,
    // Where it came from:
    DownloadFileAtLine,     // file, line, cause
    DownloadFile,           // file, cause
    DownloadAnswerAtLine,   // address, line, cause
    DownloadAnswer,         // address, cause
    DownloadFileUnreadable, // file, reason

    // The case file
    CaseFileBroken, // file, cause
    CaseFileSyntax, // line, reason (one of the Json phrases)
    JsonUnterminatedObject,
    JsonMissingNameSeparator,
    JsonUnterminatedArray,
    JsonMissingValueSeparator,
    JsonIllegalValue,
    JsonTerminationByNumber,
    JsonIllegalNumber,
    JsonIllegalEscapeSequence,
    JsonIllegalUtf8String,
    JsonUnterminatedString,
    JsonMissingObject,
    JsonDeepNesting,
    JsonDocumentTooLarge,
    JsonGarbageAtEnd,
    JsonOther,
    CaseFileNoObject,
    CaseFileFormat, // the format's name
    CaseFileVersion,
    CaseFileNewer,      // the file's version, the version read
    AtEntry,            // entry, cause
    AtKey,              // key, cause
    KeyMissing,         // key
    KeyNotText,         // key
    KeyNotFlag,         // key
    KeyNotObject,       // key
    KeyNotList,         // key
    KeyNotDate,         // key, input
    KeyNotNumber,       // key, input, example
    KeyNotChoice,       // key, input, the values offered
    KeyNoClaimObject,   // key, place in the list
    KeyNoCostObject,    // key, place in the list
    KeyNoPaymentObject, // key, place in the list
    KeyNoClaimNumber,   // key

    Count
};

// An entry of a claims statement or of its case file.
enum class TEntryKind : int { Claim, Cost, Payment };

struct TEngineError;

// The arguments, each a type of its own, so that the text knows how to write it.
struct TErrorFile {
    QString Path; // as the program opened it; written with the system's separators
};
struct TErrorDay {
    TDateTime Day;
};
struct TErrorMonth {
    int Year;
    int Month; // 1 to 12
};
struct TErrorAmount {
    TCents Cents;
};
struct TErrorRate {
    TBasisPoints Rate;
};
struct TErrorCount {
    qint64 Value;
};
struct TErrorEntry {
    TEntryKind Kind;
    int Number; // from 1
};
struct TErrorChoices {
    QStringList Names; // each quoted
};
// A cause, or a phrase, written where the sentence names it.
struct TErrorPart {
    std::shared_ptr<const TEngineError> Error;
};
// QString: text as it is (an input, a reason given by the platform, an address).
using TErrorArgument =
    std::variant<QString, TErrorFile, TErrorDay, TErrorMonth, TErrorAmount, TErrorRate, TErrorCount,
                 TErrorEntry, TErrorChoices, TErrorPart>;

struct TEngineError {
    TEngineError() = default;
    TEngineError(TEngineErrorCode code, TErrorText text, std::vector<TErrorArgument> arguments = {},
                 QString file = QString(), int line = 0)
        : Code(code), Text(text), Arguments(std::move(arguments)), File(std::move(file)),
          Line(line) {}

    TEngineErrorCode Code = ecNone;
    TErrorText Text = TErrorText::None;
    std::vector<TErrorArgument> Arguments;
    // ecMissingHalfYear: the first day of the half-year without a base rate.
    TDateTime HalfYear = EmptyDate;
    // ecFile, ecFileContent: the file and, for content, the line (from 1).
    QString File;
    int Line = 0;

    explicit operator bool() const { return Code != ecNone; }
};

// The error (or a phrase: a value of only a text) as the argument of another.
inline TErrorPart Nested(TEngineError error) {
    return {std::make_shared<const TEngineError>(std::move(error))};
}
inline TErrorPart Phrase(TErrorText text) {
    return Nested(TEngineError(ecNone, text));
}
// `cause` told again by a sentence around it: its code, half-year, file and line stay.
inline TEngineError Around(TErrorText text, std::vector<TErrorArgument> arguments,
                           const TEngineError &cause) {
    TEngineError error = cause;
    error.Text = text;
    arguments.push_back(Nested(cause));
    error.Arguments = std::move(arguments);
    return error;
}
