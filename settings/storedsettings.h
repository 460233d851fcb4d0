#pragma once
// The program's stored settings, declared once: the key they live under, each value's name,
// type and default in the store's order, and typed access to them through the store.

#include "settings/regvalues.h"

#include <QPoint>
#include <QString>
#include <array>

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
