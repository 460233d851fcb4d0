// The print module: only this unit links the print support.

#include "app/print/printmodule.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>

extern "C" Q_DECL_EXPORT bool TarvoPrint(QWidget *parent, const QString &title,
                                         const QString &document, const TPaintPages &paint,
                                         const TSaveFile &save, const TChoosePrinter &choose) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageMargins(QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    printer.setDocName(document);
    if (choose) {
        if (!choose(printer)) return false;
    } else {
        QPrintDialog dialog(&printer, parent);
        dialog.setWindowTitle(title);
        if (dialog.exec() != QDialog::Accepted) return false;
    }
    // The printer would write the file itself, and on a full disk leave it empty without a
    // word: the pages go to memory, and the caller replaces the file with them.
    if (printer.outputFormat() == QPrinter::PdfFormat && !printer.outputFileName().isEmpty()) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        {
            QPdfWriter writer(&buffer);
            writer.setResolution(printer.resolution());
            writer.setPageLayout(printer.pageLayout());
            writer.setTitle(document);
            writer.setCreator(QStringLiteral("Tarvo"));
            paint(writer);
        }
        save(printer.outputFileName(), buffer.data());
        return true;
    }
    paint(printer);
    return true;
}
