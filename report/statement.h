#pragma once
// The default-interest statement as text, made in one place from the engine's typed result: the
// table's cells, the inputs, the sums and the rules, and every rendering of the whole (tab text
// and HTML for the clipboard, CSV for spreadsheets, the page that PDF and print lay out).

#include "engine/defaultinterest.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

enum TStatementColumn { colFrom, colTo, colDays, colBaseRate, colMargin, colRate, colInterest };
inline constexpr int StatementColumns = colInterest + 1;

// Von, Bis, Tage, Basiszinssatz, Aufschlag, Zinssatz, Zinsen.
const QStringList &StatementHeader();
// Days, rates and amounts stand right-aligned.
bool IsNumberColumn(int column);
// A period's cell as the window shows it; a base rate the user added or corrected carries
// UserRateMark.
QString PeriodCell(const TInterestRow &row, int column);
inline constexpr char16_t UserRateMark[] = u" *";
// "* vom Benutzer eingetragener Basiszinssatz" where a period uses such a rate, else empty.
QString UserRateNote(const TDefaultInterest &result);
bool HasUserRate(const TDefaultInterest &result);

// A label and its value, as "Zinsen" and "170,84 €".
struct TTextLine {
    QString Label;
    QString Value;
};
// Forderung, Zinszeitraum, Zinssatz, Tageszählung; under Austrian or Swiss law the law first.
// Amounts in the law's money (MoneyText).
QList<TTextLine> InputLines(const TDefaultInterestInput &input, const TDefaultInterest &result);
QString SumLabel(TSumKind kind, TLaw law = lwGermany);
QList<TTextLine> SumLines(const TDefaultInterest &result);

// The lines of the plain renderings: the inputs, the header, the rows, the sums (label first,
// value under Zinsen), the rules. Blank lines are empty lists. A base rate of the user's is
// marked in a last column of its own, so that the rate stays a number.
QList<QStringList> StatementGrid(const TDefaultInterestStatement &statement);
// Tab-separated, so that a spreadsheet takes the cells as columns.
QString StatementText(const TDefaultInterestStatement &statement);
// The inputs, then a table with the sums and the rules below it, for word processors.
QString StatementHtml(const TDefaultInterestStatement &statement);
// Semicolons and decimal commas, UTF-8 with a byte-order mark, as German spreadsheets read it.
QByteArray StatementCsv(const TDefaultInterestStatement &statement);
// The title, the HTML above, the base rates' reach and the day it was made: what PDF and print
// lay out on their pages.
QString StatementPageHtml(const TDefaultInterestStatement &statement, TDateTime madeOn);
