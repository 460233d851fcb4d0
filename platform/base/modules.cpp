#include "platform/base/modules.h"

#include <QCoreApplication>
#include <QLibrary>

QFunctionPointer LoadModuleEntry(const QString &module, const char *entry, QString &tried) {
    QStringList folders{QCoreApplication::applicationDirPath() +
                        QStringLiteral("/../" TARVO_MODULE_DIR)};
    folders += QCoreApplication::libraryPaths();
    for (const QString &folder : folders) {
        // Its destruction leaves the module loaded.
        QLibrary library(folder + u'/' + module);
        if (library.load())
            if (const QFunctionPointer found = library.resolve(entry)) return found;
        if (tried.isEmpty()) tried = library.fileName();
    }
    return nullptr;
}
