#pragma once
// The claims statement (Forderungsaufstellung) as text, made from the engine's typed result: the
// chronological table's cells, each payment's allocation, the open balances at the statement
// day, the rules in force, the wording for an application to the court (Antragstext), and every
// rendering of the whole (tab text and HTML for the clipboard, CSV, the pages of PDF and print).

#include "engine/casefile.h"
#include "engine/claims.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A case with its statement, and how far the base rates reached: what every output renders.
struct TClaimsReport {
    TCaseFile File; // the case and its head (name, file reference, parties)
    TClaimsStatement Statement;
    TDateTime Reach = EmptyDate;
};

enum TClaimsColumn {
    ccDate,
    ccEvent,
    ccFrom,
    ccTo,
    ccDays,
    ccRate,
    ccAmount,
    ccAllocation,
    ccPrincipal,
    ccInterest,
    ccCosts,
};
inline constexpr int ClaimsColumns = ccCosts + 1;

// Datum, Vorgang, Von, Bis, Tage, Zinssatz, Betrag, Verrechnung, Hauptforderung, Zinsen, Kosten.
const QStringList &ClaimsHeader();
// Days, rates and amounts stand right-aligned.
bool IsClaimsNumberColumn(int column);
// A booking's cell as the window shows it.
QString BookingCell(const TClaimsReport &report, const TBooking &booking, int column);
// The claim's, cost's or flat fee's name: as entered, else "Forderung 2", "Kosten 1".
QString ItemName(const TClaimsCase &input, TItemRef item);
// "auf Kosten 36,00 · auf Zinsen 412,18 · auf Rechnung 4711 551,82", and what was paid over.
QString AllocationText(const TClaimsCase &input, const TBooking &payment);

// A label and its value.
struct TClaimsLine {
    QString Label;
    QString Value;
    bool Total = false; // the line the user came for
};
// The head: the case's name, file reference, parties and statement day, where given.
QList<TClaimsLine> ClaimsHeadLines(const TClaimsReport &report);
// Per claim its open principal and interest, then the open balances, the total, the interest
// per further day and any overpayment.
QList<TClaimsLine> ClaimsSumLines(const TClaimsReport &report);
// The rules in force: the order of allocation, the day count and the days counted, the
// rounding, the decisions where the law leaves room, the base rates' reach.
QStringList ClaimsRulesLines(const TClaimsReport &report);
// The wording a lawyer pastes into a dunning or court application, from the open balances.
QString ApplicationText(const TClaimsReport &report);

// The lines of the plain renderings: the head, the table, the sums, the rules and the
// Antragstext; blank lines are empty lists.
QList<QStringList> ClaimsGrid(const TClaimsReport &report);
// Tab-separated, so that a spreadsheet takes the cells as columns.
QString ClaimsText(const TClaimsReport &report);
// For word processors: the head, the table, the sums, the rules and the Antragstext.
QString ClaimsHtml(const TClaimsReport &report);
// Semicolons and decimal commas, UTF-8 with a byte-order mark.
QByteArray ClaimsCsv(const TClaimsReport &report);
// The title, the HTML above and the day it was made, for PDF and print; the table's header
// repeats on every page.
QString ClaimsPageHtml(const TClaimsReport &report, TDateTime madeOn);
// For a terminal: the head, the table with aligned columns, the sums, the rules and the
// Antragstext.
QString ClaimsAlignedText(const TClaimsReport &report);
// One JSON object: the open balances, each claim, every booking and the Antragstext; amounts as
// strings with a decimal point, dates in ISO 8601.
QString ClaimsJson(const TClaimsReport &report);
