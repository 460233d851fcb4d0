#include "app/claims/verzugsettings.h"

#include "platform/core/registry.h"
#include "settings/storedsettings.h"

namespace {

struct TDeclared {
    TVerzugSetting Setting;
    const char *Name;
    bool Integer; // REG_DWORD, else REG_SZ
    const char *Default;
};

// In the order of TVerzugSetting. Rule 0 is "Verbraucher beteiligt", day count 1 "taggenau".
constexpr TDeclared Declared[] = {
    {TVerzugSetting::Amount, "VerzugForderung", false, ""},
    {TVerzugSetting::FirstDay, "VerzugErsterTag", false, ""},
    {TVerzugSetting::RateRule, "VerzugZinsregel", true, "0"},
    {TVerzugSetting::Before29072014, "VerzugVor29072014", true, "0"},
    {TVerzugSetting::TypedRate, "VerzugZinssatz", false, ""},
    {TVerzugSetting::FlatFee, "VerzugPauschale", true, "0"},
    {TVerzugSetting::DayCount, "VerzugTageszaehlung", true, "1"},
    {TVerzugSetting::PaymentDay, "VerzugZahlungstag", true, "1"},
    {TVerzugSetting::ExportFolder, "VerzugOrdner", false, ""},
    {TVerzugSetting::Left, "VerzugLinks", true, "0"},
    {TVerzugSetting::Top, "VerzugOben", true, "0"},
    {TVerzugSetting::Width, "VerzugBreite", true, "0"},
    {TVerzugSetting::Height, "VerzugHoehe", true, "0"},
};
static_assert(std::size(Declared) == size_t(TVerzugSetting::Count));

const TDeclared &Of(TVerzugSetting setting) {
    return Declared[int(setting)];
}

} // namespace

TVerzugSettings::TVerzugSettings() {
    for (const TDeclared &declared : Declared)
        FValues[int(declared.Setting)] = QString::fromLatin1(declared.Default);
}

QString TVerzugSettings::Name(TVerzugSetting setting) {
    return QString::fromLatin1(Of(setting).Name);
}

// A store that cannot be used at all is reported by the bar, once; a report at every
// opening and closing of the window would only repeat it.
bool TVerzugSettings::Open(TRegistry &registry, bool create) {
    try {
        return registry.OpenKey(SettingsKey, create);
    } catch (const ERegistryUnavailable &) {
        FUnavailable = true;
        return false;
    }
}

void TVerzugSettings::Load() {
    TRegistry registry;
    if (!Open(registry, false)) return;
    for (const TDeclared &declared : Declared) {
        const QString name = QString::fromLatin1(declared.Name);
        try {
            if (!registry.ValueExists(name)) continue;
            const QString value = declared.Integer ? QString::number(registry.ReadInteger(name))
                                                   : registry.ReadString(name);
            FValues[int(declared.Setting)] = FStored[int(declared.Setting)] =
                value.isNull() ? QStringLiteral("") : value;
        } catch (const ERegistryException &) {
            // Of the wrong type: the default stands and the right type is written back.
        }
    }
}

void TVerzugSettings::Save() {
    if (FUnavailable) return;
    TRegistry registry;
    if (!Open(registry, true)) return;
    // A save cut short must not leave some values new and the others old.
    registry.WriteTogether([&] {
        for (const TDeclared &declared : Declared) {
            const int index = int(declared.Setting);
            if (!FStored[index].isNull() && FStored[index] == FValues[index]) continue;
            const QString name = QString::fromLatin1(declared.Name);
            if (declared.Integer)
                registry.WriteInteger(name, FValues[index].toInt());
            else
                registry.WriteString(name, FValues[index]);
        }
    });
    FStored = FValues;
}

bool TVerzugSettings::Stored(TVerzugSetting setting) const {
    return !FStored[int(setting)].isNull();
}

QString TVerzugSettings::Text(TVerzugSetting setting) const {
    return FValues[int(setting)];
}

int TVerzugSettings::Integer(TVerzugSetting setting) const {
    return FValues[int(setting)].toInt();
}

void TVerzugSettings::SetText(TVerzugSetting setting, const QString &value) {
    // Never null, so that an empty value still counts as one to write.
    FValues[int(setting)] = value.isNull() ? QStringLiteral("") : value;
}

void TVerzugSettings::SetInteger(TVerzugSetting setting, int value) {
    FValues[int(setting)] = QString::number(value);
}
