#pragma once
// The one entry of the print module: the desktop's print dialog and the printer, made when the
// user first prints, so that the print support costs the program's start nothing.

#include <QString>

#include <functional>

class QPagedPaintDevice;
class QPrinter;
class QWidget;

// Paints the pages on the printer.
using TPaintPages = std::function<void(QPagedPaintDevice &)>;
// Chooses the printer, as the print dialog does; false for cancelled.
using TChoosePrinter = std::function<bool(QPrinter &)>;

// A4 with 20 mm margins, the document named; `choose` stands in for the dialog when given.
// False when nothing was printed.
using TPrintEntry = bool (*)(QWidget *parent, const QString &title, const QString &document,
                             const TPaintPages &paint, const TChoosePrinter &choose);

inline constexpr const char *PrintEntryName = "TarvoPrint";
