#pragma once
// The default-interest window's stored inputs, size and position: values of their own under
// the program's key, declared once in verzugsettings.cpp, read when the window is created and
// written when it closes or the program ends. The bar's values are never touched.

#include <QString>

class TRegistry;
#include <array>

enum class TVerzugSetting {
    Amount,         // the claim in euros, "3089.00"
    FirstDay,       // ISO 8601, "2025-04-17"; empty for none
    RateRule,       // TRateKind
    Before29072014, // 0 or 1
    TypedRate,      // the typed rate or margin, as typed
    FlatFee,        // 0 or 1: the user's choice, also while the rule offers no flat fee
    DayCount,       // TDayCount
    PaymentDay,     // 0 or 1: the day of payment counts
    ExportFolder,   // where the last CSV or PDF went
    Left,
    Top,
    Width,
    Height,
    Count
};

class TVerzugSettings {
public:
    TVerzugSettings();

    // The value's name in the store, as "VerzugForderung".
    static QString Name(TVerzugSetting setting);

    // Reads every value. One that is missing or of the wrong type keeps its default; a store
    // that cannot be used at all (reported by the bar at start) leaves all defaults, and then
    // nothing is written either.
    void Load();
    // Writes the values that differ from what the store holds, all in one transaction; raises
    // ERegistryException, and then none of them is written. A store that cannot be used at all
    // is left alone, as the bar leaves it.
    void Save();

    // Whether the store held the value (of its type) when it was read or written last.
    bool Stored(TVerzugSetting setting) const;
    QString Text(TVerzugSetting setting) const;
    int Integer(TVerzugSetting setting) const;
    void SetText(TVerzugSetting setting, const QString &value);
    void SetInteger(TVerzugSetting setting, int value);

private:
    bool Open(TRegistry &registry, bool create);

    static constexpr int Count = int(TVerzugSetting::Count);
    std::array<QString, Count> FValues;
    // What the store holds; a null text where it holds nothing usable.
    std::array<QString, Count> FStored;
    bool FUnavailable = false;
};
