#pragma once
// The default-interest statement as text cells: what the window's table shows, what every
// export (clipboard, CSV, PDF, print) renders and what the command line prints, so that all of
// them say the same.

#include "engine/defaultinterest.h"

#include <QList>
#include <QString>
#include <QStringList>

// A label and its value, as "Zinsen" and "170,84 €".
struct TStatementLine {
    QString Label;
    QString Value;

    bool operator==(const TStatementLine &) const = default;
};

struct TStatement {
    QList<TStatementLine> Inputs; // the claim, the period, the rate rule, the day count
    QList<QStringList> Rows;      // one cell a column of StatementHeader()
    QList<TStatementLine> Sums;   // claim, interest, flat fee where chosen, total, per day
    QString Rules;                // the day count, the days that count and the rounding
    QString UserRateNote;         // empty unless a row uses a base rate of the user's
    QString Reach;                // "Basiszinssätze bis 31.12.2026"

    bool IsEmpty() const { return Rows.isEmpty(); }
};

enum TStatementColumn { colFrom, colTo, colDays, colBaseRate, colMargin, colRate, colInterest };

// Von, Bis, Tage, Basiszinssatz, Aufschlag, Zinssatz, Zinsen.
const QStringList &StatementHeader();
// Days, rates and amounts stand right-aligned.
bool IsNumberColumn(int column);
// "8.766": whole numbers with thousands dots.
QString FormatCount(qint64 value);
// " *" after a base rate the user added or corrected, in every rendering alike.
const QString &UserRateMark();

// The statement of a calculation that succeeded.
TStatement MakeStatement(const TDefaultInterestInput &input, const TDefaultInterest &result,
                         const TBaseRateTable &table);
