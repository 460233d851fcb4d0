// The print module: only this unit links the print support.

#include "app/print/printmodule.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>

extern "C" Q_DECL_EXPORT bool TarvoPrint(QWidget *parent, const QString &title,
                                         const QString &document, const TPaintPages &paint,
                                         const TChoosePrinter &choose) {
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
    paint(printer);
    return true;
}
