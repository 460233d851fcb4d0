#pragma once
// The statement laid out on pages for PDF and the printer, and the writing of an export file.
// The texts come from the renderer (report/statement.h), as those of every other output do.

#include "engine/defaultinterest.h"

#include <QByteArray>
#include <QString>

class QPagedPaintDevice;

// The title, the inputs, the table, the sums, the rules and the base rates' reach, on as many
// pages of the device as it needs (one for any ordinary claim).
void PaintStatement(const TDefaultInterestStatement &statement, QPagedPaintDevice &device);
// The same as an A4 PDF.
QByteArray StatementPdf(const TDefaultInterestStatement &statement);

// Writes through a temporary file beside `path` that only replaces it once complete and on the
// disk; on any failure the old file stays as it was. Empty when done, else a German message
// naming the file and the reason.
QString WriteExportFile(const QString &path, const QByteArray &data);
