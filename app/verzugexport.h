#pragma once
// The statement's exports: tab text and an HTML table for the clipboard, CSV for spreadsheets,
// and the one-page "Zinsaufstellung" for PDF and the printer. Each renders the same cells.

#include "app/verzugmodel.h"

#include <QByteArray>
#include <QString>

class QPagedPaintDevice;

// The lines of the plain exports: the inputs (label and value), the header, the rows, the sums
// (label first, value under Zinsen), the rules. Blank lines are empty lists. A base rate of the
// user's is marked in a last column of its own, so that the rate stays a number.
QList<QStringList> StatementGrid(const TStatement &statement);

// Tab-separated, so that a spreadsheet takes the cells as columns.
QString StatementText(const TStatement &statement);
// The inputs, then a table with the sums and the rules below it, for word processors.
QString StatementHtml(const TStatement &statement);
// Semicolons and decimal commas, UTF-8 with a byte-order mark, as German spreadsheets read it.
QByteArray StatementCsv(const TStatement &statement);

// The title, the inputs, the table, the sums, the rules and the base rates' reach, on as many
// pages of the device as it needs (one for any ordinary claim).
void PaintStatement(const TStatement &statement, QPagedPaintDevice &device);
// The same as an A4 PDF.
QByteArray StatementPdf(const TStatement &statement);

// Writes through a temporary file beside `path` that only replaces it once complete and on the
// disk; on any failure the old file stays as it was. Empty when done, else a German message
// naming the file and the reason.
QString WriteExportFile(const QString &path, const QByteArray &data);
