// The program's modules are found by their entries where the build puts them; a module or an
// entry that is not there gives none, and the first file looked for is named.

#include "platform/base/download.h"
#include "platform/base/modules.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

TEST(Modules, AreFoundByTheirEntryOrTheFileLookedForIsNamed) {
    QCoreApplication::addLibraryPath(MODULE_DIR);
    const struct {
        QString module;
        const char *entry;
        bool found;
    } cases[] = {
        {"tarvo-download", DownloadEntryName, true},
        {"tarvo-download", "KeinEinstieg", false},
        {"tarvo-fehlt", DownloadEntryName, false},
    };
    for (const auto &c : cases) {
        QString tried;
        const QFunctionPointer entry = LoadModuleEntry(c.module, c.entry, tried);
        EXPECT_EQ(entry != nullptr, c.found) << c.module.toStdString() << " " << c.entry;
        if (!c.found) {
            EXPECT_TRUE(tried.startsWith(QCoreApplication::applicationDirPath() + "/../") &&
                        tried.endsWith(u'/' + c.module))
                << tried.toStdString();
        }
    }
}
