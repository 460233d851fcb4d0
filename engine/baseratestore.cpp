#include "engine/baseratestore.h"

#include "engine/bundesbank.h"
#include "engine/userrates.h"
#include "platform/services.h"

#include <QDir>

QString TBaseRateStore::DefaultPath() {
    return Services().DataHome() + QStringLiteral("/tarvo/") +
           QString::fromLatin1(UserRatesFileName);
}

TBaseRateStore::TBaseRateStore(QString path) : FPath(std::move(path)), FTable(ShippedBaseRates()) {}

TEngineError TBaseRateStore::Load() {
    const TUserRates read = LoadUserRates(FPath);
    FUser = read.Rates;
    FTable = ShippedBaseRates().MergedWith(FUser);
    return read.Error;
}

TEngineError TBaseRateStore::Set(const TBaseRate &rate) {
    std::vector<TBaseRate> user = FUser;
    if (TEngineError error = SetUserRate(user, rate)) return error;
    return Commit(user);
}

TEngineError TBaseRateStore::Import(const QString &csvPath, int &changed) {
    const TBundesbankImport read = ReadBundesbankCsv(csvPath);
    if (read.Error) return read.Error;
    std::vector<TBaseRate> user = FUser;
    changed = AdoptRates(user, read.Rates, ShippedBaseRates());
    return Commit(user);
}

// Memory follows the file only once the file holds the new list.
TEngineError TBaseRateStore::Commit(const std::vector<TBaseRate> &user) {
    if (TEngineError error = SaveUserRates(FPath, user)) return error;
    FUser = user;
    FTable = ShippedBaseRates().MergedWith(FUser);
    return {};
}

QString ImportReportText(const QString &csvPath, int changed) {
    const QString halfYears = changed == 0   ? QStringLiteral("kein Halbjahr")
                              : changed == 1 ? QStringLiteral("ein Halbjahr")
                                             : QStringLiteral("%1 Halbjahre").arg(changed);
    return QStringLiteral("„%1“ gelesen: %2 mit neuem Basiszinssatz.")
        .arg(QDir::toNativeSeparators(csvPath), halfYears);
}
