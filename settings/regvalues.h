#pragma once
// Settings kept under one registry key: a list of named, typed values (TRegValue), each
// read from the registry as soon as its name is assigned, handed out and taken in by name
// as a variant while the program runs, and written back when the store is destroyed.
//
// Only what the program changed is written back: a value that is still what was read stays
// in the registry byte for byte. A registry that cannot be used at all is reported once
// (ERegistryUnavailable from the load that found it so); from then on the store does without
// it: every value loads its default and nothing is written back.

#include "platform/core/component.h"
#include "platform/core/registry.h"
#include "platform/core/variant.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// Note the order: the current user's hive comes first, not the classes root.
enum TRootKey {
    rkHKEY_CURRENT_USER,
    rkHKEY_CLASSES_ROOT,
    rkHKEY_LOCAL_MACHINE,
    rkHKEY_USERS,
    rkHKEY_PERFORMANCE_DATA,
    rkHKEY_CURRENT_CONFIG,
    rkHKEY_DYN_DATA
};

// Registry forms: vtFloat and vtDateTime 8-byte REG_BINARY doubles, vtBoolean and vtInteger
// REG_DWORD, vtString REG_SZ.
enum TValueType { vtFloat, vtBoolean, vtString, vtInteger, vtDateTime };

class TRegValues;

using TOnGetDefValueEvent = std::function<void(TObject *Sender, TVariant &Value)>;

class TRegValue : public TObject {
public:
    explicit TRegValue(TRegValues *owner) : FOwner(owner) {}

    TNotifyEvent OnErrorOpenKey;
    TOnGetDefValueEvent OnGetDefValueEvent;

    TRegValues *Owner() const { return FOwner; }
    const QString &SubKey() const { return FSubKey; }
    void SetSubKey(const QString &value) { FSubKey = value; }
    const QString &ValueName() const { return FValueName; }
    // Loads the value at once unless the owner is designing or does not AutoLoad.
    void SetValueName(const QString &value);
    TValueType ValueType() const { return FValueType; }
    // Converts neither the current value nor the default.
    void SetValueType(TValueType value) { FValueType = value; }
    // The default as text: "TRUE"/"FALSE" for vtBoolean, the variant's text otherwise.
    QString DefValue() const;
    // Parses the text by the current ValueType; raises the locale parse errors.
    void SetDefValue(const QString &value) { FDefault = Parse(value); }
    const TVariant &Default() const { return FDefault; }
    bool AutoStore() const { return FAutoStore; }
    void SetAutoStore(bool value) { FAutoStore = value; }
    // The value name, or the class name while there is none.
    QString DisplayName() const;

    const TVariant &CurrentValue() const { return FCurrentValue; }
    void SetCurrentValue(const TVariant &value) { FCurrentValue = value; }

    // Load raises ERegistryUnavailable (once per store) when the registry cannot be used.
    virtual void Load();
    // Writes nothing when the value is still what Load read.
    virtual void Save();

    // Reading converts the current value; writing goes through text parsed by ValueType,
    // as a default text is.
    virtual bool AsBoolean() const;
    virtual void SetAsBoolean(bool value);
    virtual double AsFloat() const;
    virtual void SetAsFloat(double value);
    virtual double AsDateTime() const;
    virtual void SetAsDateTime(double value);
    virtual qint32 AsInteger() const;
    virtual void SetAsInteger(qint32 value);
    virtual QString AsString() const;
    virtual void SetAsString(const QString &value);

private:
    // Opens the value's key; on failure raises OnErrorOpenKey and gives false.
    bool OpenKey();
    // What a value that the registry does not hold becomes.
    void LoadDefault();
    TVariant Parse(const QString &text) const;

    TRegValues *FOwner;
    QString FSubKey;
    QString FValueName;
    TValueType FValueType = vtString;
    TVariant FCurrentValue;
    TVariant FDefault;
    bool FAutoStore = true;
    // What the registry held at the last load or save; none when it held nothing readable.
    std::optional<TVariant> FStored;
};

// The values of a store, in collection order; the store owns them.
class TRegCollection : public TObject {
public:
    explicit TRegCollection(TRegValues *owner) : FOwner(owner) {}

    TRegValue &Add();
    int Count() const { return int(FItems.size()); }
    TRegValue &Items(int index) const { return *FItems.at(std::size_t(index)); }
    TRegValues *Owner() const { return FOwner; }

    // The first value whose name matches, letter case aside; raises ENameInvalid
    // "Invalid Value Name!" + name when none does.
    virtual TRegValue &FindValue(const QString &name) const;

private:
    TRegValues *FOwner;
    std::vector<std::unique_ptr<TRegValue>> FItems;
};

class TRegValues : public TComponent {
public:
    explicit TRegValues(TComponent *owner);
    // Writes all values back (unless designing). An error there cannot propagate from a
    // destructor, so it goes to the application's error report.
    ~TRegValues() override;

    // The enumerator of the accessor's root; a root outside the table reads as the
    // current user's.
    virtual TRootKey RootKey() const;
    void SetRootKey(TRootKey value);
    const QString &Key() const { return FKey; }
    void SetKey(const QString &value) { FKey = value; }
    bool CanCreate() const { return FCanCreate; }
    void SetCanCreate(bool value) { FCanCreate = value; }
    bool AutoLoad() const { return FAutoLoad; }
    void SetAutoLoad(bool value) { FAutoLoad = value; }
    // Carried with the layout; the write-back at destruction does not depend on it.
    bool AutoSave() const { return FAutoSave; }
    void SetAutoSave(bool value) { FAutoSave = value; }
    TRegCollection &Items() { return FItems; }
    const TRegCollection &Items() const { return FItems; }

    // Memory only: the registry is read by LoadValues and written by SaveValues.
    TVariant Values(const QString &name) const;
    void SetValues(const QString &name, const TVariant &value);

    // In collection order, the root re-applied before each; the first error ends the loop.
    virtual void LoadValues();
    // As LoadValues, for the values with AutoStore.
    virtual void SaveValues();

    TRegistry &Registry() { return *FRegistry; }
    // The registry could not be used at all: the values run on their defaults.
    bool Unavailable() const { return FUnavailable; }

    // Ends the reading together of the values loaded while the layout was read.
    void Loaded() override;

private:
    friend class TRegValue;

    std::unique_ptr<TRegistry> FRegistry;
    // The values that load as the layout assigns their names are read together, in one
    // reading of the key, until the layout is complete.
    std::optional<TRegistry::TReadTogether> FLayoutReads;
    QString FKey = QStringLiteral("SOFTWARE\\Your Company\\Your Program");
    bool FCanCreate = true;
    bool FAutoLoad = true;
    bool FAutoSave = true;
    TRegCollection FItems;
    bool FUnavailable = false;
};
