#pragma once
// Printing through the desktop's print dialog, by the print module loaded when first used.

#include "app/print/printmodule.h"

// Prints the pages; false when nothing was printed. Printed to a PDF file, the pages are handed
// to `save` whole. A print module that cannot be loaded is reported (German message naming the
// module) and nothing is printed.
bool PrintPages(QWidget *parent, const QString &title, const QString &document,
                const TPaintPages &paint, const TSaveFile &save, const TChoosePrinter &choose = {});
