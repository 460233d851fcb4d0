#include "settings/regvalues.h"

#include "dates/datetimetext.h"
#include "platform/base/exceptions.h"
#include "platform/base/numtext.h"

#include <array>
#include <cstring>

namespace {

// Indexed by TRootKey.
constexpr std::array<HKEY, 7> RootKeys = {
    HKEY_CURRENT_USER,     HKEY_CLASSES_ROOT,   HKEY_LOCAL_MACHINE, HKEY_USERS,
    HKEY_PERFORMANCE_DATA, HKEY_CURRENT_CONFIG, HKEY_DYN_DATA,
};

// Unicode's own case mapping: for names and "TRUE" the same as the locale's, without loading
// the locale's case rules at start.
QString upper(const QString &text) {
    return text.toUpper();
}

// The same type and the same content, without the conversions that == makes.
bool identical(const TVariant &a, const TVariant &b) {
    if (a.VarType() != b.VarType()) return false;
    switch (a.VarType()) {
    case varEmpty:
        return true;
    case varBoolean:
        return a.AsBoolean() == b.AsBoolean();
    case varInteger:
        return a.AsInteger() == b.AsInteger();
    case varDouble:
    case varDate: {
        const double x = a.AsFloat(), y = b.AsFloat();
        return std::memcmp(&x, &y, sizeof x) == 0;
    }
    case varString:
        return a.AsString() == b.AsString();
    }
    return false;
}

} // namespace

void TRegValue::SetValueName(const QString &value) {
    FValueName = value;
    if (!FOwner->IsDesigning() && FOwner->AutoLoad()) Load();
}

QString TRegValue::DefValue() const {
    if (FValueType == vtBoolean)
        return FDefault.AsBoolean() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    return FDefault.AsString();
}

QString TRegValue::DisplayName() const {
    return FValueName.isEmpty() ? QStringLiteral("TRegValue") : FValueName;
}

TVariant TRegValue::Parse(const QString &text) const {
    switch (FValueType) {
    case vtFloat:
        return double(StrToFloat(text));
    case vtBoolean:
        return upper(text) == QLatin1String("TRUE");
    case vtString:
        return text;
    case vtInteger:
        return StrToInt(text);
    case vtDateTime:
        return TVariant::FromDateTime(StrToDateTime(text));
    }
    return {};
}

bool TRegValue::OpenKey() {
    TRegistry &reg = FOwner->Registry();
    reg.CloseKey();
    const QString path = FSubKey.isEmpty() ? FOwner->Key() : FOwner->Key() + u'\\' + FSubKey;
    if (reg.OpenKey(path, FOwner->CanCreate() && !path.isEmpty())) return true;
    if (OnErrorOpenKey) OnErrorOpenKey(this);
    return false;
}

void TRegValue::LoadDefault() {
    if (OnGetDefValueEvent)
        OnGetDefValueEvent(this, FCurrentValue);
    else
        FCurrentValue = FDefault;
}

void TRegValue::Load() {
    FStored.reset();
    if (FOwner->Unavailable()) {
        LoadDefault();
        return;
    }
    if (FOwner->IsLoading() && !FOwner->FLayoutReads)
        FOwner->FLayoutReads.emplace(*FOwner->FRegistry);
    bool opened = false;
    try {
        opened = OpenKey();
    } catch (const ERegistryUnavailable &error) {
        // Said once; the other values follow quietly, and whatever the registry holds is
        // not overwritten with defaults at the end.
        FOwner->FUnavailable = true;
        LoadDefault();
        throw ERegistryUnavailable(error.Message() +
                                   QStringLiteral(" Es gelten die Standardeinstellungen; "
                                                  "Änderungen werden nicht gespeichert."));
    }
    if (!opened) return;
    TRegistry &reg = FOwner->Registry();
    if (!reg.ValueExists(FValueName)) {
        LoadDefault();
        return;
    }
    switch (FValueType) {
    case vtFloat:
        FCurrentValue = reg.ReadFloat(FValueName);
        break;
    case vtBoolean:
        FCurrentValue = reg.ReadInteger(FValueName) != 0;
        break;
    case vtString:
        FCurrentValue = reg.ReadString(FValueName);
        break;
    case vtInteger:
        FCurrentValue = reg.ReadInteger(FValueName);
        break;
    case vtDateTime:
        FCurrentValue = TVariant::FromDateTime(reg.ReadFloat(FValueName));
        break;
    }
    FStored = FCurrentValue;
}

void TRegValue::Save() {
    if (FOwner->Unavailable()) return;
    const TVariant kept = FCurrentValue;
    const bool designing = FOwner->IsDesigning();
    if (designing) FCurrentValue = FDefault;
    // The kept value comes back however the save ends.
    struct Restore {
        bool active;
        TVariant &target;
        const TVariant &kept;
        ~Restore() {
            if (active) target = kept;
        }
    } restore{designing, FCurrentValue, kept};

    // Compared with what was read, not with its text: a value edited by hand (a NUL inside,
    // bytes that are no UTF-8) would not survive the way there and back.
    if (FStored && identical(*FStored, FCurrentValue)) return;
    if (!OpenKey()) return;
    TRegistry &reg = FOwner->Registry();
    switch (FValueType) {
    case vtFloat:
        reg.WriteFloat(FValueName, FCurrentValue.AsFloat());
        break;
    case vtDateTime:
        reg.WriteFloat(FValueName, FCurrentValue.AsDateTime());
        break;
    case vtBoolean:
        reg.WriteInteger(FValueName, FCurrentValue.AsBoolean() ? 1 : 0);
        break;
    case vtString:
        reg.WriteString(FValueName, FCurrentValue.AsString());
        break;
    case vtInteger:
        reg.WriteInteger(FValueName, FCurrentValue.AsInteger());
        break;
    }
    FStored = FCurrentValue;
}

bool TRegValue::AsBoolean() const {
    return !(FCurrentValue == TVariant(qint32(0)));
}

void TRegValue::SetAsBoolean(bool value) {
    FCurrentValue = Parse(value ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
}

double TRegValue::AsFloat() const {
    return FCurrentValue.AsFloat();
}

void TRegValue::SetAsFloat(double value) {
    FCurrentValue = Parse(FloatToStr(value));
}

double TRegValue::AsDateTime() const {
    return FCurrentValue.AsDateTime();
}

void TRegValue::SetAsDateTime(double value) {
    FCurrentValue = Parse(DateTimeToStr(value));
}

qint32 TRegValue::AsInteger() const {
    return FCurrentValue.AsInteger();
}

void TRegValue::SetAsInteger(qint32 value) {
    FCurrentValue = Parse(QString::number(value));
}

QString TRegValue::AsString() const {
    return FCurrentValue.AsString();
}

void TRegValue::SetAsString(const QString &value) {
    FCurrentValue = Parse(value);
}

TRegValue &TRegCollection::Add() {
    FItems.push_back(std::make_unique<TRegValue>(FOwner));
    return *FItems.back();
}

TRegValue &TRegCollection::FindValue(const QString &name) const {
    const QString wanted = upper(name);
    for (const auto &item : FItems)
        if (upper(item->ValueName()) == wanted) return *item;
    throw ENameInvalid(QStringLiteral("Invalid Value Name!") + name);
}

TRegValues::TRegValues(TComponent *owner)
    : TComponent(owner), FRegistry(std::make_unique<TRegistry>()), FItems(this) {}

TRegValues::~TRegValues() {
    if (IsDesigning()) return;
    try {
        SaveValues();
    } catch (const std::exception &error) {
        ReportException(error);
    }
}

TRootKey TRegValues::RootKey() const {
    for (std::size_t i = 0; i < RootKeys.size(); ++i)
        if (RootKeys[i] == FRegistry->RootKey()) return TRootKey(i);
    return rkHKEY_CURRENT_USER;
}

void TRegValues::SetRootKey(TRootKey value) {
    FRegistry->SetRootKey(RootKeys.at(value));
}

TVariant TRegValues::Values(const QString &name) const {
    return FItems.FindValue(name).CurrentValue();
}

void TRegValues::SetValues(const QString &name, const TVariant &value) {
    FItems.FindValue(name).SetCurrentValue(value);
}

void TRegValues::Loaded() {
    FLayoutReads.reset();
    TComponent::Loaded();
}

void TRegValues::LoadValues() {
    const TRegistry::TReadTogether together(*FRegistry);
    for (int i = 0; i < FItems.Count(); ++i) {
        SetRootKey(RootKey());
        FItems.Items(i).Load();
    }
}

void TRegValues::SaveValues() {
    for (int i = 0; i < FItems.Count(); ++i) {
        TRegValue &value = FItems.Items(i);
        if (!value.AutoStore()) continue;
        SetRootKey(RootKey());
        value.Save();
    }
}
