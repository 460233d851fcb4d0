#include "app/claims/printing.h"

#include "platform/base/exceptions.h"

#include <QCoreApplication>
#include <QLibrary>

namespace {

const QString ModuleName = QStringLiteral("tarvo-print");

// Beside the program's folder, as installed (bin/ and the module folder below lib/), then in
// the library paths.
TPrintEntry LoadEntry(QString &tried) {
    QStringList folders{QCoreApplication::applicationDirPath() +
                        QStringLiteral("/../" TARVO_MODULE_DIR)};
    folders += QCoreApplication::libraryPaths();
    for (const QString &folder : folders) {
        // Kept loaded: the module's code runs for as long as the program may print.
        static QLibrary library;
        library.setFileName(folder + u'/' + ModuleName);
        if (library.load())
            if (auto entry = reinterpret_cast<TPrintEntry>(library.resolve(PrintEntryName)))
                return entry;
        if (tried.isEmpty()) tried = library.fileName();
    }
    return nullptr;
}

} // namespace

bool PrintPages(QWidget *parent, const QString &title, const QString &document,
                const TPaintPages &paint, const TSaveFile &save, const TChoosePrinter &choose) {
    static QString tried;
    static const TPrintEntry entry = LoadEntry(tried);
    if (!entry) {
        ReportException(Exception(
            QStringLiteral("Drucken ist nicht möglich: Das Druckmodul „%1.so“ fehlt.").arg(tried)));
        return false;
    }
    return entry(parent, title, document, paint, save, choose);
}
