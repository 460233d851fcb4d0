#pragma once
// The claims statement laid out on pages for PDF and the printer, with the table's header on
// every page and the page numbers at the foot; the writing of an export file; printing through
// the print module. The texts come from the renderer (report/claims.h).

#include "app/print/printmodule.h"
#include "report/claims.h"

#include <QByteArray>
#include <QString>

class QPagedPaintDevice;

// The pages of the statement made on `madeOn`, in landscape, as many as it needs.
void PaintClaims(const TClaimsReport &report, TDateTime madeOn, QPagedPaintDevice &device);
// The same as an A4 PDF in landscape.
QByteArray ClaimsPdf(const TClaimsReport &report, TDateTime madeOn);

// Writes through a temporary file beside `path` that only replaces it once complete and on the
// disk; on any failure the old file stays as it was. Empty when done, else a German message
// naming the file and the reason.
QString WriteClaimsExport(const QString &path, const QByteArray &data);

// Prints through the desktop's print dialog; false when nothing was printed. A print module
// that cannot be loaded is reported (German message naming the module).
bool PrintClaimsPages(QWidget *parent, const QString &title, const TPaintPages &paint,
                      const TSaveFile &save, const TChoosePrinter &choose = {});
