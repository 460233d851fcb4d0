#pragma once
// The one entry of the print module: the desktop's print dialog and the printer, made when the
// user first prints, so that the print support costs the program's start nothing.

#include <QString>

#include <functional>

class QByteArray;
class QPagedPaintDevice;
class QPrinter;
class QWidget;

// Paints the pages on the printer.
using TPaintPages = std::function<void(QPagedPaintDevice &)>;
// Chooses the printer, as the print dialog does; false for cancelled.
using TChoosePrinter = std::function<bool(QPrinter &)>;
// Writes a PDF the user printed to a file: the pages are made in memory first, so that the
// caller can keep the old file on any failure and say why.
using TSaveFile = std::function<void(const QString &path, const QByteArray &pdf)>;

// A4 with 20 mm margins, the document named; `choose` stands in for the dialog when given.
// False when nothing was printed.
using TPrintEntry = bool (*)(QWidget *parent, const QString &title, const QString &document,
                             const TPaintPages &paint, const TSaveFile &save,
                             const TChoosePrinter &choose);

inline constexpr const char *PrintEntryName = "TarvoPrint";
