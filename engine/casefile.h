#pragma once
// The case file of a claims statement ("*.tarvo"): JSON in UTF-8 with "format":
// "tarvo-forderung" and "version": 1, amounts and rates as strings with a decimal point
// ("4250.00"), dates as ISO 8601. Keys the program does not know are kept and written back, so
// that a file from a newer program or edited by hand loses nothing when saved again. A file that
// cannot be read whole is refused with the key or line at fault; nothing is half-read.
// The law of the case is "recht": "de", "at" or "ch" (written only when not "de"); under "at"
// a business rule's flag is "vor_2013" (contract before 16.03.2013) instead of "vor_2014".
// A claim sued or in enforcement has "eingeklagt": true. Day counts: "taggenau", "actact",
// "act360", "30360" (German) and "30360ch" (Swiss usance); orders of allocation: "367", "497",
// "1416" (§§ 1415, 1416 ABGB), "85" (Art. 85 to 87 OR). Without them the law's defaults hold.

#include "engine/claims.h"
#include "engine/engineerror.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <vector>

inline constexpr char CaseFileFormat[] = "tarvo-forderung";
inline constexpr int CaseFileVersion = 1;
inline constexpr char CaseFileSuffix[] = "tarvo";

struct TCaseFile {
    QString Name;      // bezeichnung: "Müller ./. Schmidt"
    QString Reference; // aktenzeichen, optional
    QString Creditor;  // glaeubiger, optional
    QString Debtor;    // schuldner, optional
    // The file names no statement day: the statement is made for today, and stays so when
    // saved again.
    bool StatementDayIsToday = true;
    TClaimsCase Case;

    // What the program does not know, kept for the next save: the whole objects as read.
    QJsonObject Unknown;
    std::vector<QJsonObject> UnknownOfClaims, UnknownOfCosts, UnknownOfPayments;
};

// Reads a case file's text; `today` stands for a missing statement day. The error names the line
// of a syntax error, or the key at fault ("Forderung 2: „betrag“ …").
TEngineError ReadCaseFile(const QByteArray &data, TDateTime today, TCaseFile &file);
// The file's text: the documented keys in their order, then those the program does not know.
QByteArray WriteCaseFile(const TCaseFile &file);

// The same for a file on disk; errors name the file. A save replaces the file only once the new
// text is wholly on the disk.
TEngineError LoadCaseFile(const QString &path, TDateTime today, TCaseFile &file);
TEngineError SaveCaseFile(const QString &path, const TCaseFile &file);
