#include "settings/storedsettings.h"

#include "platform/base/exceptions.h"

#include <cstring>

// A stored value counts as set only when it equals true, as the store compares it.
bool TStoredSettings::IsTrue(const TStoredSetting &setting) const {
    return FStore.Values(setting) == TVariant(true);
}

bool TStoredSettings::OnTop() const {
    return IsTrue(Setting::OnTop);
}

void TStoredSettings::SetOnTop(bool value) {
    FStore.SetValues(Setting::OnTop, value);
}

bool TStoredSettings::KeepPosition() const {
    return IsTrue(Setting::Pos);
}

void TStoredSettings::SetKeepPosition(bool value) {
    FStore.SetValues(Setting::Pos, value);
}

bool TStoredSettings::AutoStart() const {
    return IsTrue(Setting::Auto);
}

void TStoredSettings::SetAutoStart(bool value) {
    FStore.SetValues(Setting::Auto, value);
}

qint32 TStoredSettings::Formula() const {
    return FStore.Values(Setting::Formel).AsInteger();
}

void TStoredSettings::SetFormula(qint32 value) {
    FStore.SetValues(Setting::Formel, value);
}

QPoint TStoredSettings::Position() const {
    return {FStore.Values(Setting::Left).AsInteger(), FStore.Values(Setting::Top).AsInteger()};
}

void TStoredSettings::SetPosition(QPoint value) {
    FStore.SetValues(Setting::Top, qint32(value.y()));
    FStore.SetValues(Setting::Left, QString::number(value.x()));
}

void TStoredSettings::SetProgramFolder(const QString &value) {
    FStore.SetValues(Setting::Pfad, value);
}

TStoredValues::TStoredValues(std::span<const TStoredSetting> declared)
    : FDeclared(declared.begin(), declared.end()), FStored(declared.size()) {
    for (const TStoredSetting &setting : FDeclared) {
        const QByteArray text(setting.Default ? setting.Default : "");
        if (setting.Type == vtString)
            FValues.emplace_back(QString::fromUtf8(text));
        else if (setting.Type == vtBoolean)
            FValues.emplace_back(qint32(text == "TRUE"));
        else
            FValues.emplace_back(qint32(text.toInt()));
    }
}

std::size_t TStoredValues::Index(const TStoredSetting &setting) const {
    for (std::size_t i = 0; i < FDeclared.size(); ++i)
        if (std::strcmp(FDeclared[i].Name, setting.Name) == 0) return i;
    throw ENameInvalid(QStringLiteral("Invalid Value Name!") + QString(setting));
}

// A store that cannot be used at all is reported by the bar, once; a report at every opening
// and closing of a window would only repeat it.
bool TStoredValues::Open(TRegistry &registry, bool create) {
    try {
        return registry.OpenKey(SettingsKey, create);
    } catch (const ERegistryUnavailable &) {
        FUnavailable = true;
        return false;
    }
}

void TStoredValues::Load() {
    TRegistry registry;
    if (!Open(registry, false)) return;
    for (std::size_t i = 0; i < FDeclared.size(); ++i) {
        const QString name = FDeclared[i];
        try {
            if (!registry.ValueExists(name)) continue;
            FValues[i] = FStored[i] = FDeclared[i].Type == vtString
                                          ? QVariant(registry.ReadString(name))
                                          : QVariant(registry.ReadInteger(name));
        } catch (const ERegistryException &) {
            // Of the wrong type: the default stands and the right type is written back.
        }
    }
}

void TStoredValues::Save() {
    if (FUnavailable) return;
    TRegistry registry;
    if (!Open(registry, true)) return;
    // A save cut short must not leave some values new and the others old.
    registry.WriteTogether([&] {
        for (std::size_t i = 0; i < FDeclared.size(); ++i) {
            if (FStored[i].isValid() && FStored[i] == FValues[i]) continue;
            if (FDeclared[i].Type == vtString)
                registry.WriteString(FDeclared[i], FValues[i].toString());
            else
                registry.WriteInteger(FDeclared[i], FValues[i].toInt());
        }
    });
    FStored = FValues;
}

bool TStoredValues::Stored(const TStoredSetting &setting) const {
    return FStored[Index(setting)].isValid();
}
