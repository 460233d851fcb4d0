#include "platform/base/download.h"

#include "platform/base/modules.h"

std::unique_ptr<TDownload> StartDownload(const TDownloadRequest &request, TDownloadDone done,
                                         QString &error) {
    static QString tried;
    static const auto entry = reinterpret_cast<TDownloadEntry>(
        LoadModuleEntry(QStringLiteral("tarvo-download"), DownloadEntryName, tried));
    if (!entry) {
        error = QStringLiteral("das Modul „%1.so“ für Netzverbindungen fehlt").arg(tried);
        return nullptr;
    }
    return std::unique_ptr<TDownload>(entry(request, std::move(done)));
}
