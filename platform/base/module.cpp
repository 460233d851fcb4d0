#include "platform/base/module.h"

#include <QCoreApplication>
#include <QLibrary>

QFunctionPointer LoadModuleEntry(const QString &name, const char *symbol, QString &tried) {
    QStringList folders{QCoreApplication::applicationDirPath() +
                        QStringLiteral("/../" TARVO_MODULE_DIR)};
    folders += QCoreApplication::libraryPaths();
    for (const QString &folder : folders) {
        // A library loaded stays loaded when its QLibrary goes: only unload() would unload it.
        QLibrary library(folder + u'/' + name);
        if (library.load())
            if (const QFunctionPointer entry = library.resolve(symbol)) return entry;
        if (tried.isEmpty()) tried = library.fileName();
    }
    return nullptr;
}
