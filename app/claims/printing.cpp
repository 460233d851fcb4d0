#include "app/claims/printing.h"

#include "platform/base/exceptions.h"
#include "platform/base/modules.h"

bool PrintPages(QWidget *parent, const QString &title, const QString &document,
                const TPaintPages &paint, const TSaveFile &save, const TChoosePrinter &choose) {
    static QString tried;
    static const auto entry = reinterpret_cast<TPrintEntry>(
        LoadModuleEntry(QStringLiteral("tarvo-print"), PrintEntryName, tried));
    if (!entry) {
        ReportException(Exception(
            QStringLiteral("Drucken ist nicht möglich: Das Druckmodul „%1.so“ fehlt.").arg(tried)));
        return false;
    }
    return entry(parent, title, document, paint, save, choose);
}
