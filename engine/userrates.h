#pragma once
// The user's own base rates: a small text file in the user's data folder, one rate a line
// ("01.01.2027;1,52" typed by the user, "01.07.2027;1,77;Bundesbank" taken from the
// Bundesbank's download; ISO dates and decimal points are read too). "#" starts a comment line.
// Lines may end in CR, LF or CRLF. Only the rate lines are judged: comment lines are the
// user's and stay as they are, byte for byte, through every change. A file with a broken rate
// line is moved aside whole, never half-used.

#include "engine/baserates.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

// The file's name inside the user's data folder.
inline constexpr char UserRatesFileName[] = "basiszinssaetze.txt";
// The third field of the line of a rate taken from the Bundesbank's download.
inline constexpr char ImportedRateMark[] = "Bundesbank";

// The file as its lines, so that a change keeps what the user wrote around the rates.
class TUserRatesFile {
public:
    struct TLine {
        QByteArray Text;               // as in the file, without its line end
        std::optional<TBaseRate> Rate; // nothing for a comment or a blank line
    };

    // In file order, flagged as the user's (and as imported where the line says so).
    std::vector<TBaseRate> Rates() const;
    const TBaseRate *Find(TDateTime from) const;
    // Rewrites the line of the rate's half-year, or adds one after the lines of earlier
    // half-years (a file without rates gets a heading first).
    void Set(TBaseRate rate);
    // False when the file has no line for that half-year.
    bool Remove(TDateTime from);
    // Every line ended by LF.
    QByteArray Bytes() const;

    const std::vector<TLine> &Lines() const { return FLines; }
    void Append(TLine line) { FLines.push_back(std::move(line)); }

private:
    std::vector<TLine> FLines;
};

struct TUserRates {
    TUserRatesFile File;
    std::vector<TBaseRate> Rates; // File.Rates(); empty when Error is set
    TEngineError Error;
};

// The line a rate is written as: "01.01.2027;1,52", or with ";Bundesbank" when imported.
QByteArray UserRateLine(const TBaseRate &rate);

// Error.Line names the first broken line; Error.File stays empty.
TUserRates ParseUserRates(const QByteArray &bytes);

// A missing file gives no rates and no error; one that cannot be read (not a regular file,
// too large, no permission) gives ecFile naming the file and the reason, and stays. A broken
// one is renamed to "<name>.broken-<yyyyMMdd-HHmmss>" when `setAside` (the error names the
// file, the line and the new name) and left where it is otherwise, for a read while the user
// may be editing it. `bytes` receives what was read.
TUserRates LoadUserRates(const QString &path, bool setAside = true, QByteArray *bytes = nullptr);
// Replaces the file by a complete new one, creating the folder if needed; on any failure the
// old file stays as it was and the error names the file and the reason.
TEngineError SaveUserRates(const QString &path, const TUserRatesFile &file);
// The reason a file cannot be written when its folder cannot be made.
inline TErrorPart FolderError(const QString &folder) {
    return Nested(TEngineError(ecFile, TErrorText::FolderNotMade, {TErrorFile{folder}}));
}
// The files set aside as broken beside `path`, the newest first.
QStringList SetAsideUserRates(const QString &path);

// Adds the rate as typed by the user, or corrects the rate of its half-year; an error (ecRate)
// for a date or value CheckBaseRate refuses, and then the file stays as it was.
TEngineError SetUserRate(TUserRatesFile &file, TBaseRate rate);
// A half-year whose rate in force changed.
struct TRateChange {
    TDateTime From = EmptyDate;
    TBasisPoints Rate = 0;
    std::optional<TBasisPoints> Before; // nothing: the half-year had no rate

    bool operator==(const TRateChange &) const = default;
};

// Takes over rates from the Bundesbank's download: a rate equal to the shipped one drops the
// user's line of its half-year, any other is written marked as imported. The number of
// half-years whose rate in force changed; `changes` gets them, in date order.
int AdoptRates(TUserRatesFile &file, const std::vector<TBaseRate> &rates,
               const TBaseRateTable &shipped, std::vector<TRateChange> *changes = nullptr);
