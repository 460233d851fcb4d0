#include "cli/storedformula.h"

#include "engine/interest.h"
#include "platform/base/exceptions.h"
#include "platform/core/registry.h"
#include "settings/storedsettings.h"

#include <QFile>

namespace {

// Opening the store repairs what is not a database by moving it aside and starting afresh,
// and gives an empty file our tables: a file without the database header is left alone.
bool LooksLikeDatabase(const QString &path) {
    QFile file(path);
    static const QByteArray header("SQLite format 3", 16);
    return file.open(QIODevice::ReadOnly) && file.read(header.size()) == header;
}

} // namespace

int StoredFormulaCode() {
    // Asked first, so that a missing file is not made by opening a key.
    if (!LooksLikeDatabase(RegistryStoreFile())) return fcEuro;
    try {
        TRegistry registry;
        if (!registry.OpenKey(u'\\' + SettingsKey, false)) return fcEuro;
        const QString name = Setting::Formel;
        if (registry.GetDataType(name) != TRegDataType::rdInteger) return fcEuro;
        const qint32 stored = registry.ReadInteger(name);
        const int code = stored + 1;
        return code >= fcEuro && code <= fcEnglische ? code : fcEuro;
    } catch (const Exception &) {
        return fcEuro;
    }
}
