#pragma once
// The program's stored settings, declared once: the key they live under, each value's name,
// type and default in the store's order, and typed access to them: the bar's through its store,
// the default-interest window's through TStoredValues.

#include "settings/regvalues.h"

#include <QPoint>
#include <QString>
#include <QVariant>
#include <array>
#include <span>
#include <type_traits>
#include <vector>

struct TStoredSetting {
    const char *Name;
    TValueType Type;
    const char *Default; // none for "pfad"
    operator QString() const { return QString::fromLatin1(Name); }
};

namespace Setting {
inline constexpr TStoredSetting Pfad{"pfad", vtString, nullptr}; // the program's folder
inline constexpr TStoredSetting Version{"version", vtString, "2.3"};
inline constexpr TStoredSetting Top{"top", vtInteger, "20"};
inline constexpr TStoredSetting Left{"left", vtString, "20"}; // a decimal string
inline constexpr TStoredSetting Auto{"auto", vtBoolean, "FALSE"};
inline constexpr TStoredSetting OnTop{"ontop", vtBoolean, "FALSE"};
inline constexpr TStoredSetting Pos{"pos", vtBoolean, "FALSE"};
inline constexpr TStoredSetting Formel{"formel", vtInteger, "0"}; // the formula code minus one
} // namespace Setting

// In the store's order.
inline constexpr std::array<TStoredSetting, 8> StoredSettings{
    Setting::Pfad, Setting::Version, Setting::Top, Setting::Left,
    Setting::Auto, Setting::OnTop,   Setting::Pos, Setting::Formel,
};

// A declared value whose C++ type follows from its registry form: text (REG_SZ), a number or a
// yes/no (both REG_DWORD; yes is written as 1, any other number than 0 reads as yes).
template <TValueType Kind> struct TTypedSetting : TStoredSetting {
    static_assert(Kind == vtString || Kind == vtInteger || Kind == vtBoolean);
    constexpr TTypedSetting(const char *name, const char *defaultValue)
        : TStoredSetting{name, Kind, defaultValue} {}
};

template <TValueType Kind>
using TSettingType = std::conditional_t<Kind == vtString, QString,
                                        std::conditional_t<Kind == vtBoolean, bool, qint32>>;

// The default-interest window's inputs, size and place, beside the bar's values, which it never
// touches. Rule 0 is "Verbraucher beteiligt", day count 1 "taggenau".
namespace Setting {
inline constexpr TTypedSetting<vtString> VerzugForderung{"VerzugForderung", ""};   // "3089.00"
inline constexpr TTypedSetting<vtString> VerzugErsterTag{"VerzugErsterTag", ""};   // ISO 8601
inline constexpr TTypedSetting<vtInteger> VerzugZinsregel{"VerzugZinsregel", "0"}; // TRateKind
inline constexpr TTypedSetting<vtBoolean> VerzugVor29072014{"VerzugVor29072014", "FALSE"};
inline constexpr TTypedSetting<vtString> VerzugZinssatz{"VerzugZinssatz", ""}; // as typed
// The user's choice, also while the rule offers no flat fee.
inline constexpr TTypedSetting<vtBoolean> VerzugPauschale{"VerzugPauschale", "FALSE"};
inline constexpr TTypedSetting<vtInteger> VerzugTageszaehlung{"VerzugTageszaehlung", "1"};
inline constexpr TTypedSetting<vtBoolean> VerzugZahlungstag{"VerzugZahlungstag", "TRUE"};
inline constexpr TTypedSetting<vtString> VerzugOrdner{"VerzugOrdner", ""}; // of the last export
inline constexpr TTypedSetting<vtInteger> VerzugLinks{"VerzugLinks", "0"};
inline constexpr TTypedSetting<vtInteger> VerzugOben{"VerzugOben", "0"};
inline constexpr TTypedSetting<vtInteger> VerzugBreite{"VerzugBreite", "0"};
inline constexpr TTypedSetting<vtInteger> VerzugHoehe{"VerzugHoehe", "0"};
// The law of the case (TLaw); missing, as before there was a choice, means Germany.
inline constexpr TTypedSetting<vtInteger> VerzugRecht{"VerzugRecht", "0"};
} // namespace Setting

inline constexpr std::array<TStoredSetting, 14> VerzugSettings{
    Setting::VerzugForderung,     Setting::VerzugErsterTag,   Setting::VerzugZinsregel,
    Setting::VerzugVor29072014,   Setting::VerzugZinssatz,    Setting::VerzugPauschale,
    Setting::VerzugTageszaehlung, Setting::VerzugZahlungstag, Setting::VerzugOrdner,
    Setting::VerzugLinks,         Setting::VerzugOben,        Setting::VerzugBreite,
    Setting::VerzugHoehe,         Setting::VerzugRecht,
};

// The claims statement's window: the case files opened last, the folder of the last file opened,
// saved or exported, size and place.
namespace Setting {
// The paths one a line, the newest first.
inline constexpr TTypedSetting<vtString> ForderungZuletzt{"ForderungZuletzt", ""};
inline constexpr TTypedSetting<vtString> ForderungOrdner{"ForderungOrdner", ""};
inline constexpr TTypedSetting<vtInteger> ForderungLinks{"ForderungLinks", "0"};
inline constexpr TTypedSetting<vtInteger> ForderungOben{"ForderungOben", "0"};
inline constexpr TTypedSetting<vtInteger> ForderungBreite{"ForderungBreite", "0"};
inline constexpr TTypedSetting<vtInteger> ForderungHoehe{"ForderungHoehe", "0"};
} // namespace Setting

inline constexpr std::array<TStoredSetting, 6> ForderungSettings{
    Setting::ForderungZuletzt, Setting::ForderungOrdner, Setting::ForderungLinks,
    Setting::ForderungOben,    Setting::ForderungBreite, Setting::ForderungHoehe,
};

// The key below the current user's root.
inline const QString SettingsKey = QStringLiteral("SOFTWARE\\Morvane Software\\Tarvo");

// The settings as the windows read and write them, in the store's memory.
class TStoredSettings {
public:
    explicit TStoredSettings(TRegValues &store) : FStore(store) {}

    bool OnTop() const;
    void SetOnTop(bool value);
    // "pos": the position is kept at Ende.
    bool KeepPosition() const;
    void SetKeepPosition(bool value);
    bool AutoStart() const;
    void SetAutoStart(bool value);
    // The formula code minus one.
    qint32 Formula() const;
    void SetFormula(qint32 value);
    // "left" and "top"; raises EVariantError when "left" is no number.
    QPoint Position() const;
    void SetPosition(QPoint value);
    void SetProgramFolder(const QString &value);

private:
    bool IsTrue(const TStoredSetting &setting) const;

    TRegValues &FStore;
};

// The values of a table of declared settings, read from the program's key together and written
// back together, straight through the registry: a window's own values, which no store of the
// bar's holds.
class TStoredValues {
public:
    // Each value at its default until Load.
    explicit TStoredValues(std::span<const TStoredSetting> declared);

    // Reads every value. One that is missing or of the wrong type keeps its default; a store
    // that cannot be used at all (reported by the bar at start) leaves all defaults, and then
    // nothing is written either.
    void Load();
    // Writes the values that differ from what the store holds, all in one transaction; raises
    // ERegistryException, and then none of them is written.
    void Save();

    // Whether the store held the value (of its type) when it was read or written last.
    bool Stored(const TStoredSetting &setting) const;

    template <TValueType Kind> TSettingType<Kind> Value(const TTypedSetting<Kind> &setting) const {
        const QVariant &value = FValues[Index(setting)];
        if constexpr (Kind == vtString)
            return value.toString();
        else if constexpr (Kind == vtBoolean)
            return value.toInt() != 0;
        else
            return value.toInt();
    }
    template <TValueType Kind>
    void SetValue(const TTypedSetting<Kind> &setting, const TSettingType<Kind> &value) {
        if constexpr (Kind == vtString)
            // Never null, so that an empty text still counts as a value to write.
            FValues[Index(setting)] = value.isNull() ? QStringLiteral("") : value;
        else
            FValues[Index(setting)] = qint32(value);
    }

private:
    std::size_t Index(const TStoredSetting &setting) const;
    bool Open(TRegistry &registry, bool create);

    std::vector<TStoredSetting> FDeclared;
    // A REG_SZ value as text, a REG_DWORD one as qint32.
    std::vector<QVariant> FValues;
    // What the store holds; invalid where it holds nothing usable.
    std::vector<QVariant> FStored;
    bool FUnavailable = false;
};
