#include "platform/base/download.h"

#include <QCoreApplication>
#include <QLibrary>

namespace {

const QString ModuleName = QStringLiteral("tarvo-download");

// Beside the program's folder, as installed (bin/ and the module folder below lib/), then in
// the library paths.
TDownloadEntry LoadEntry(QString &tried) {
    QStringList folders{QCoreApplication::applicationDirPath() +
                        QStringLiteral("/../" TARVO_MODULE_DIR)};
    folders += QCoreApplication::libraryPaths();
    for (const QString &folder : folders) {
        // Kept loaded: a download's code runs while the program waits for the answer.
        static QLibrary library;
        library.setFileName(folder + u'/' + ModuleName);
        if (library.load())
            if (auto entry = reinterpret_cast<TDownloadEntry>(library.resolve(DownloadEntryName)))
                return entry;
        if (tried.isEmpty()) tried = library.fileName();
    }
    return nullptr;
}

} // namespace

std::unique_ptr<TDownload> StartDownload(const TDownloadRequest &request, TDownloadDone done,
                                         QString &error) {
    static QString tried;
    static const TDownloadEntry entry = LoadEntry(tried);
    if (!entry) {
        error = QStringLiteral("das Modul „%1.so“ für Netzverbindungen fehlt").arg(tried);
        return nullptr;
    }
    return std::unique_ptr<TDownload>(entry(request, std::move(done)));
}
