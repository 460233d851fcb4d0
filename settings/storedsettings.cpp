#include "settings/storedsettings.h"

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
