// The default-interest window's declared values against the bytes earlier versions stored: they
// load unchanged, are written in the same form, and are saved in one transaction.

#include "settings/storedsettings.h"

#include "platform/base/exceptions.h"
#include "tests/support/fixtures.h"
#include "tests/support/hive.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// One value as the store keeps it: its registry type and data in hex.
struct TRow {
    const TStoredSetting &Setting;
    int Type;
    QString Hex;
    QVariant Value;
    std::function<QVariant(const TStoredValues &)> Read;
    std::function<void(TStoredValues &)> Write;
};

template <TValueType Kind>
TRow Row(const TTypedSetting<Kind> &setting, int type, const char *hex, TSettingType<Kind> value) {
    return {setting,
            type,
            QString::fromLatin1(hex),
            QVariant::fromValue(value),
            [&setting](const TStoredValues &values) {
                return QVariant::fromValue(values.Value(setting));
            },
            [&setting, value](TStoredValues &values) { values.SetValue(setting, value); }};
}

// Every value of the window, as earlier versions wrote them.
const TRow Rows[] = {
    Row(Setting::VerzugForderung, 1, "313233342E353000", QStringLiteral("1234.50")),
    Row(Setting::VerzugErsterTag, 1, "323032342D30322D303100", QStringLiteral("2024-02-01")),
    Row(Setting::VerzugZinsregel, 4, "04000000", 4),
    Row(Setting::VerzugVor29072014, 4, "01000000", true),
    Row(Setting::VerzugZinssatz, 1, "342C3500", QStringLiteral("4,5")),
    Row(Setting::VerzugPauschale, 4, "00000000", false),
    Row(Setting::VerzugTageszaehlung, 4, "02000000", 2),
    Row(Setting::VerzugZahlungstag, 4, "00000000", false),
    Row(Setting::VerzugOrdner, 1, "2F686F6D652F6BC3B66C6E00", QStringLiteral("/home/köln")),
    Row(Setting::VerzugLinks, 4, "9CFFFFFF", -100),
    Row(Setting::VerzugOben, 4, "1E000000", 30),
    Row(Setting::VerzugBreite, 4, "58020000", 600),
    Row(Setting::VerzugHoehe, 4, "90010000", 400),
    Row(Setting::VerzugRecht, 4, "02000000", 2),
};

// The window's values in the hive as "name|type|hex", by name.
QStringList Stored(const IsolatedHome &home) {
    return HiveSql(HiveFile(home), "SELECT name, type, hex(data) FROM reg_value WHERE name LIKE "
                                   "'Verzug%' ORDER BY name");
}

QStringList Expected() {
    QStringList rows;
    for (const TRow &row : Rows)
        rows << QStringLiteral("%1|%2|%3").arg(QString(row.Setting)).arg(row.Type).arg(row.Hex);
    rows.sort();
    return rows;
}

void CreateKey() {
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(SettingsKey, true));
}

} // namespace

TEST(StoredValues, TheOldBytesLoadUnchangedAndStayAsTheyAre) {
    IsolatedHome home;
    CreateKey();
    QString inserts;
    for (const TRow &row : Rows)
        inserts += QStringLiteral("INSERT INTO reg_value(key, name, folded, type, data) SELECT id, "
                                  "'%1', upper('%1'), %2, X'%3' FROM reg_key WHERE folded = "
                                  "upper('%4');")
                       .arg(QString(row.Setting))
                       .arg(row.Type)
                       .arg(row.Hex, SettingsKey);
    ASSERT_EQ(HiveSql(HiveFile(home), inserts.toUtf8().constData()), QStringList());
    TStoredValues values(VerzugSettings);
    values.Load();
    for (const TRow &row : Rows) {
        EXPECT_EQ(row.Read(values), row.Value) << row.Setting.Name;
        EXPECT_TRUE(values.Stored(row.Setting)) << row.Setting.Name;
    }
    // Nothing is written back that did not change.
    HiveSql(HiveFile(home), "CREATE TRIGGER refuse BEFORE UPDATE ON reg_value BEGIN SELECT "
                            "RAISE(ABORT, 'refused'); END");
    EXPECT_EQ(ErrorOf<ERegistryException>([&] { values.Save(); }), "(no error)");
    EXPECT_EQ(Stored(home), Expected());
}

TEST(StoredValues, TheValuesAreWrittenInTheOldForm) {
    IsolatedHome home;
    TStoredValues values(VerzugSettings);
    values.Load();
    for (const TRow &row : Rows)
        EXPECT_FALSE(values.Stored(row.Setting)) << row.Setting.Name;
    EXPECT_TRUE(values.Value(Setting::VerzugZahlungstag)) << "a default";
    for (const TRow &row : Rows)
        row.Write(values);
    values.Save();
    EXPECT_EQ(Stored(home), Expected());
}

// A save that fails half-way leaves every value as it was, and the next one writes them all.
TEST(StoredValues, SavingIsOneTransaction) {
    IsolatedHome home;
    TStoredValues values(VerzugSettings);
    values.Load();
    values.SetValue(Setting::VerzugForderung, QStringLiteral("1000.00"));
    values.Save();
    HiveSql(HiveFile(home), "CREATE TRIGGER refuse BEFORE UPDATE ON reg_value WHEN NEW.name = "
                            "'VerzugTageszaehlung' BEGIN SELECT RAISE(ABORT, 'refused'); END");
    values.SetValue(Setting::VerzugForderung, QStringLiteral("2000.00"));
    values.SetValue(Setting::VerzugTageszaehlung, 2);
    EXPECT_EQ(ErrorOf<ERegistryException>([&] { values.Save(); }),
              "Konnte Daten für 'VerzugTageszaehlung' nicht setzen");
    const char *amount = "SELECT hex(data) FROM reg_value WHERE name = 'VerzugForderung'";
    EXPECT_EQ(HiveSql(HiveFile(home), amount), QStringList("313030302E303000")); // "1000.00"
    HiveSql(HiveFile(home), "DROP TRIGGER refuse");
    values.Save();
    EXPECT_EQ(HiveSql(HiveFile(home), amount), QStringList("323030302E303000"));
}
