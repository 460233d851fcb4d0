#include "settings/regvalues.h"

#include "platform/base/exceptions.h"
#include "settings/storedsettings.h"
#include "tests/support/fixtures.h"
#include "tests/support/hive.h"

#include <gtest/gtest.h>

#include <QFile>

namespace {

// A window-like owner whose layout creates the store as the program's main window does.
class Owner : public TComponent {
public:
    Owner() : TComponent(nullptr) {}
    std::unique_ptr<TRegValues> regval;

    void Layout(const std::vector<TStoredSetting> &values = {StoredSettings.begin(),
                                                             StoredSettings.end()},
                bool canCreate = true) {
        ReadLayout(*this, [&] {
            regval = std::make_unique<TRegValues>(this);
            regval->SetRootKey(rkHKEY_CURRENT_USER);
            regval->SetKey(SettingsKey);
            regval->SetCanCreate(canCreate);
            regval->SetAutoLoad(true);
            regval->SetAutoSave(true);
            for (const TStoredSetting &entry : values) {
                TRegValue &value = regval->Items().Add();
                value.SetValueType(entry.Type);
                if (entry.Default) value.SetDefValue(entry.Default);
                value.SetValueName(entry);
                value.SetAutoStore(true);
            }
        });
    }
};

// The stored values as "name|type|hex of data", by name.
QStringList stored(const IsolatedHome &home) {
    return HiveSql(HiveFile(home),
                   "SELECT v.name, v.type, hex(v.data) FROM reg_value v JOIN reg_key k ON k.id = "
                   "v.key WHERE k.path = 'SOFTWARE\\Morvane Software\\Tarvo' ORDER BY v.name");
}

template <typename E> QString messageOf(const std::function<void()> &action) {
    try {
        action();
    } catch (const E &e) {
        return e.Message();
    }
    return QStringLiteral("(no error)");
}

const QStringList Defaults = {
    "auto|4|00000000", "formel|4|00000000", "left|1|323000",  "ontop|4|00000000",
    "pfad|1|00",       "pos|4|00000000",    "top|4|14000000", "version|1|322E3300",
};

class RegValues : public ::testing::Test {
protected:
    IsolatedHome home;
    GermanLocale de;
    RecordingDesktop desktop;
};

} // namespace

TEST_F(RegValues, FirstStartCreatesTheKeyAndWritesEveryDefaultAtTheEnd) {
    {
        Owner form;
        form.Layout();
        EXPECT_TRUE(stored(home).isEmpty()) << "the key exists, still empty";
        TRegistry reg;
        EXPECT_TRUE(reg.OpenKey(SettingsKey, false));
        EXPECT_TRUE(form.regval->Values("pfad").IsEmpty());
        EXPECT_EQ(form.regval->Values("left").AsInteger(), 20);
        EXPECT_EQ(form.regval->Values("version").AsString(), "2.3");
    }
    EXPECT_EQ(stored(home), Defaults);
    EXPECT_TRUE(desktop.errors.isEmpty());
}

TEST_F(RegValues, WritesConvertToTheDeclaredTypeWhenSavedAndAReloadDiscardsUnsavedOnes) {
    Owner form;
    form.Layout();
    form.regval->SetValues("left", qint32(300));
    form.regval->SetValues("ontop", qint32(1));
    form.regval->SetValues("top", QString("200"));
    EXPECT_EQ(form.regval->Values("left").VarType(), varInteger) << "kept as given";
    form.regval->SaveValues();
    const QStringList rows = stored(home);
    EXPECT_TRUE(rows.contains("left|1|33303000"));
    EXPECT_TRUE(rows.contains("ontop|4|01000000"));
    EXPECT_TRUE(rows.contains("top|4|C8000000"));

    // Unsaved writes are discarded by a reload, which brings the declared types.
    form.regval->SetValues("left", qint32(1));
    form.regval->SetValues("formel", qint32(2));
    form.regval->LoadValues();
    EXPECT_TRUE(form.regval->Values("left") == TVariant("300"));
    EXPECT_TRUE(form.regval->Values("ontop") == TVariant(true));
    EXPECT_EQ(form.regval->Values("formel").AsInteger(), 0);
}

TEST_F(RegValues, ValuesFindsNamesInAnyLetterCaseAndRejectsUnknownOnes) {
    Owner form;
    form.Layout();
    form.regval->SetValues("ONTOP", true);
    EXPECT_TRUE(form.regval->Items().Items(5).CurrentValue() == TVariant(true));
    EXPECT_EQ(messageOf<ENameInvalid>([&] { form.regval->Values("xyz"); }),
              "Invalid Value Name!xyz");
    EXPECT_EQ(messageOf<ENameInvalid>([&] { form.regval->SetValues("", 1); }),
              "Invalid Value Name!");
}

TEST_F(RegValues, DuplicateNamesReachTheFirstAndBothAreLoadedAndSaved) {
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(SettingsKey, true));
        reg.WriteInteger("top", 7);
    }
    Owner form;
    form.Layout({{"top", vtInteger, "20"}, {"TOP", vtInteger, "30"}});
    EXPECT_EQ(form.regval->Items().Items(1).AsInteger(), 7);
    form.regval->SetValues("Top", qint32(5));
    EXPECT_EQ(form.regval->Items().Items(0).AsInteger(), 5);
    EXPECT_EQ(form.regval->Items().Items(1).AsInteger(), 7);
    form.regval->Items().Items(1).SetAsInteger(9);
    form.regval->SaveValues();
    EXPECT_EQ(stored(home), QStringList({"top|4|09000000"})) << "the second is written last";
}

TEST_F(RegValues, AWrongStoredTypeFailsNamingTheValueAndEndsTheLoop) {
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(SettingsKey, true));
        reg.WriteInteger("left", 300);
        reg.WriteInteger("top", 200);
        reg.WriteInteger("ontop", 1);
    }
    Owner form;
    EXPECT_EQ(messageOf<ERegistryException>([&] { form.Layout(); }),
              "Ungültiger Datentyp für 'left'");

    TRegValues store(nullptr);
    store.SetKey(SettingsKey);
    store.SetAutoLoad(false);
    for (const TStoredSetting &entry : {Setting::Top, Setting::Left, Setting::OnTop}) {
        TRegValue &value = store.Items().Add();
        value.SetValueType(entry.Type);
        value.SetValueName(entry);
        value.SetAutoStore(false);
    }
    EXPECT_EQ(messageOf<ERegistryException>([&] { store.LoadValues(); }),
              "Ungültiger Datentyp für 'left'");
    EXPECT_EQ(store.Values("top").AsInteger(), 200) << "before the failing value";
    EXPECT_TRUE(store.Values("ontop").IsEmpty()) << "after it: not loaded";
}

TEST_F(RegValues, AValueWithoutAutoStoreIsLoadedButNeverWritten) {
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(SettingsKey, true));
        reg.WriteInteger("formel", 1);
    }
    {
        Owner form;
        form.Layout();
        TRegValue &formel = form.regval->Items().FindValue("formel");
        formel.SetAutoStore(false);
        EXPECT_EQ(formel.AsInteger(), 1);
        formel.SetAsInteger(2);
    }
    EXPECT_TRUE(stored(home).contains("formel|4|01000000"));
    EXPECT_EQ(stored(home).size(), 8);
}

TEST_F(RegValues, DefaultTextIsParsedByTheTypeAtThatMoment) {
    TRegValues store(nullptr);
    TRegValue &value = store.Items().Add();
    const struct {
        TValueType type;
        const char *text;
        TVariant expected;
        TVarType varType;
        const char *readBack;
    } cases[] = {
        {vtBoolean, "true", true, varBoolean, "TRUE"},
        {vtBoolean, "True", true, varBoolean, "TRUE"},
        {vtBoolean, "1", false, varBoolean, "FALSE"},
        {vtBoolean, "yes", false, varBoolean, "FALSE"},
        {vtFloat, "2,5", 2.5, varDouble, "2,5"},
        {vtInteger, " -7", qint32(-7), varInteger, "-7"},
        {vtString, "Größe", "Größe", varString, "Größe"},
        {vtDateTime, "02.05.2005", 38474.0, varDate, "02.05.2005"},
    };
    for (const auto &c : cases) {
        value.SetValueType(c.type);
        value.SetDefValue(c.text);
        EXPECT_TRUE(value.Default() == c.expected) << c.text;
        EXPECT_EQ(value.Default().VarType(), c.varType) << c.text;
        EXPECT_EQ(value.DefValue(), QString::fromUtf8(c.readBack)) << c.text;
    }
    value.SetValueType(vtInteger);
    value.SetDefValue("20");
    value.SetValueType(vtString);
    EXPECT_EQ(value.Default().VarType(), varInteger) << "not re-parsed";

    const struct {
        TValueType type;
        const char *text;
        const char *message;
    } failures[] = {
        {vtFloat, "2.5", "'2.5' ist kein gültiger Gleitkommawert"},
        {vtInteger, "TRUE", "'TRUE' ist kein gültiger Integerwert"},
        {vtDateTime, "31.02.2005", "'31.02.2005' ist keine gültige Datums- und Uhrzeitangabe"},
    };
    for (const auto &f : failures) {
        value.SetValueType(f.type);
        EXPECT_EQ(messageOf<EConvertError>([&] { value.SetDefValue(f.text); }),
                  QString::fromUtf8(f.message));
    }
}

TEST_F(RegValues, FloatsAndDatesRoundTripAsEightByteBinaries) {
    {
        Owner form;
        form.Layout({{"rate", vtFloat, "2,5"}, {"since", vtDateTime, "02.05.2005 12:00"}});
        form.regval->Items().Items(0).SetAsFloat(1.0 / 3);
    }
    EXPECT_EQ(stored(home), QStringList({"rate|3|4F5555555555D53F", "since|3|0000000050C9E240"}));
    Owner form;
    form.Layout({{"rate", vtFloat, "0"}, {"since", vtDateTime, "01.01.2000"}});
    EXPECT_NEAR(form.regval->Items().Items(0).AsFloat(), 1.0 / 3, 1e-14)
        << "through the 15-digit text";
    EXPECT_EQ(form.regval->Items().Items(1).AsDateTime(), 38474.5);
    EXPECT_EQ(form.regval->Items().Items(1).CurrentValue().VarType(), varDate);
}

TEST_F(RegValues, TypedWritesGoThroughTextAndTheDeclaredType) {
    TRegValues store(nullptr);
    TRegValue &value = store.Items().Add();
    value.SetValueType(vtString);
    value.SetAsInteger(20);
    EXPECT_EQ(value.CurrentValue().VarType(), varString);
    EXPECT_EQ(value.AsInteger(), 20);
    value.SetAsBoolean(true);
    EXPECT_EQ(value.AsString(), "TRUE");
    EXPECT_EQ(messageOf<EVariantError>([&] { value.AsBoolean(); }),
              "Ungültige Variant-Typumwandlung")
        << "text compares with 0 as a number";
    value.SetValueType(vtInteger);
    EXPECT_EQ(messageOf<EConvertError>([&] { value.SetAsBoolean(true); }),
              "'TRUE' ist kein gültiger Integerwert");
    value.SetValueType(vtBoolean);
    value.SetAsInteger(1);
    EXPECT_FALSE(value.AsBoolean()) << "\"1\" is not the word TRUE";
    value.SetCurrentValue(TVariant());
    EXPECT_FALSE(value.AsBoolean());
    EXPECT_EQ(value.AsString(), "");
}

TEST_F(RegValues, AValueThatDoesNotConvertStopsTheSaveAtItAndAtDestructionIsReported) {
    Owner form;
    form.Layout();
    form.regval->SetValues("top", QString("links"));
    form.regval->SetValues("left", qint32(99));
    EXPECT_EQ(messageOf<EVariantError>([&] { form.regval->SaveValues(); }),
              "Ungültige Variant-Typumwandlung");
    EXPECT_EQ(stored(home), QStringList({"pfad|1|00", "version|1|322E3300"}));
    form.regval.reset();
    EXPECT_EQ(desktop.errors, QStringList({"Tarvo Test|Ungültige Variant-Typumwandlung"}))
        << "from the destructor, which must not throw";
}

TEST_F(RegValues, AKeyThatCannotBeOpenedCallsTheHandlerAndLeavesTheValue) {
    Owner form;
    form.Layout({}, false);
    TRegValue &value = form.regval->Items().Add();
    int calls = 0;
    value.OnErrorOpenKey = [&](TObject *sender) {
        EXPECT_EQ(sender, &value);
        ++calls;
    };
    value.SetValueType(vtInteger);
    value.SetDefValue("20");
    value.SetValueName("top");
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(value.CurrentValue().IsEmpty()) << "not the default";
    value.SetCurrentValue(qint32(5));
    form.regval->SaveValues();
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(value.AsInteger(), 5);
    TRegistry reg;
    EXPECT_FALSE(reg.OpenKey(SettingsKey, false));
}

TEST_F(RegValues, AMissingValueTakesTheDefaultProvidersValue) {
    Owner form;
    form.Layout({});
    TRegValue &value = form.regval->Items().Add();
    value.SetValueType(vtString);
    value.SetDefValue("ignored");
    value.OnGetDefValueEvent = [&](TObject *sender, TVariant &current) {
        EXPECT_EQ(sender, &value);
        current = QString("/home/user/");
    };
    value.SetValueName("pfad");
    EXPECT_EQ(value.AsString(), "/home/user/");
}

TEST_F(RegValues, DesignModeNeitherLoadsNorKeepsRunTimeValues) {
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(SettingsKey, true));
        reg.WriteInteger("top", 200);
    }
    {
        Owner form;
        form.SetDesigning(true);
        form.Layout({{"top", vtInteger, "20"}});
        TRegValue &top = form.regval->Items().Items(0);
        EXPECT_TRUE(top.CurrentValue().IsEmpty()) << "no load while designing";
        top.SetAsInteger(300);
        form.regval->SaveValues();
        EXPECT_EQ(top.AsInteger(), 300) << "kept through the save";
        EXPECT_EQ(stored(home), QStringList({"top|4|14000000"})) << "the default is saved";
        top.SetAsInteger(400);
    }
    EXPECT_EQ(stored(home), QStringList({"top|4|14000000"})) << "no save when destroyed";
}

TEST_F(RegValues, RootKeyMapsTheAccessorsRootBack) {
    TRegValues store(nullptr);
    EXPECT_EQ(store.RootKey(), rkHKEY_CURRENT_USER);
    EXPECT_EQ(store.Registry().RootKey(), HKEY_CURRENT_USER);
    const std::pair<TRootKey, HKEY> table[] = {
        {rkHKEY_CLASSES_ROOT, HKEY_CLASSES_ROOT},
        {rkHKEY_LOCAL_MACHINE, HKEY_LOCAL_MACHINE},
        {rkHKEY_DYN_DATA, HKEY_DYN_DATA},
        {rkHKEY_CURRENT_USER, HKEY_CURRENT_USER},
    };
    for (const auto &[root, handle] : table) {
        store.SetRootKey(root);
        EXPECT_EQ(store.Registry().RootKey(), handle);
        EXPECT_EQ(store.RootKey(), root);
    }
    store.Registry().SetRootKey(0x1234);
    EXPECT_EQ(store.RootKey(), rkHKEY_CURRENT_USER);

    // Saving and loading put the accessor back on the root that RootKey reads.
    store.SetKey(SettingsKey);
    store.SetAutoLoad(false);
    TRegValue &value = store.Items().Add();
    value.SetValueType(vtInteger);
    value.SetValueName("top");
    value.OnErrorOpenKey = [](TObject *) { ADD_FAILURE() << "key not opened"; };
    value.SetAsInteger(7);
    store.SaveValues();
    EXPECT_EQ(store.Registry().RootKey(), HKEY_CURRENT_USER);
    EXPECT_EQ(stored(home), QStringList({"top|4|07000000"}));
    store.Registry().SetRootKey(0x1234);
    value.SetAsInteger(8);
    store.LoadValues();
    EXPECT_EQ(value.AsInteger(), 7);
}

TEST_F(RegValues, ValuesTheProgramDidNotChangeAreKeptByteForByte) {
    { Owner().Layout(); }
    // Edited by hand: a NUL inside a text, bytes that are no UTF-8, a text without its closing
    // NUL, a Boolean stored as 7.
    EXPECT_EQ(HiveSql(HiveFile(home),
                      "UPDATE reg_value SET data = X'322E33006265746100' WHERE folded = 'VERSION';"
                      "UPDATE reg_value SET data = X'2F6F70742FFFFE2F00' WHERE folded = 'PFAD';"
                      "UPDATE reg_value SET data = X'333030' WHERE folded = 'LEFT';"
                      "UPDATE reg_value SET data = X'07000000' WHERE folded = 'AUTO'"),
              QStringList());
    const QStringList before = stored(home);
    {
        Owner form;
        form.Layout();
        form.regval->LoadValues();
        EXPECT_EQ(form.regval->Values("version").AsString(), "2.3");
        form.regval->SetValues("ontop", true);
    }
    QStringList expected = before;
    expected.replaceInStrings("ontop|4|00000000", "ontop|4|01000000");
    EXPECT_EQ(stored(home), expected) << "only the changed value is written";
}

TEST_F(RegValues, WithoutAUsableRegistryTheValuesRunOnDefaultsSaidOnceAndNothingIsWritten) {
    // A file where the hive's folder should be: no hive can be made.
    const QString blocker = home.configHome() + "/tarvo";
    QFile(blocker).open(QIODevice::WriteOnly);
    TRegValues store(nullptr);
    store.SetKey(SettingsKey);
    QStringList errors;
    for (const TStoredSetting &entry : StoredSettings) {
        TRegValue &value = store.Items().Add();
        value.SetValueType(entry.Type);
        if (entry.Default) value.SetDefValue(entry.Default);
        errors << messageOf<ERegistryUnavailable>([&] { value.SetValueName(entry); });
    }
    EXPECT_EQ(
        errors.front(),
        QStringLiteral("Die Einstellungsdatei „%1/registry.db“ kann nicht benutzt werden: ein "
                       "Teil des Pfades ist kein Ordner. Es gelten die Standardeinstellungen; "
                       "Änderungen werden nicht gespeichert.")
            .arg(blocker));
    EXPECT_EQ(errors.count("(no error)"), 7) << "said once";
    EXPECT_TRUE(store.Unavailable());
    EXPECT_NO_THROW(store.LoadValues());
    EXPECT_EQ(store.Values("top").AsInteger(), 20);
    EXPECT_EQ(store.Values("version").AsString(), "2.3");
    // Even where the registry could be used again by the end, nothing is written over what
    // it holds.
    QFile::remove(blocker);
    store.SetValues("formel", qint32(2));
    store.SaveValues();
    EXPECT_FALSE(QFile::exists(HiveFile(home)));
}

TEST_F(RegValues, TheLayoutsLoadsShareOneReadingOfTheKeyLaterLoadsReadItAnew) {
    { Owner().Layout(); }
    Owner form;
    // Another process changes "top" while the layout loads, after the first value was read.
    bool changed = false;
    ReadLayout(form, [&] {
        form.regval = std::make_unique<TRegValues>(&form);
        form.regval->SetKey(SettingsKey);
        for (const TStoredSetting &entry : {Setting::Pfad, Setting::Top}) {
            TRegValue &value = form.regval->Items().Add();
            value.SetValueType(entry.Type);
            if (entry.Default) value.SetDefValue(entry.Default);
            value.SetValueName(entry);
            if (!changed)
                changed = HiveSql(HiveFile(home), "UPDATE reg_value SET data = X'21000000' "
                                                  "WHERE folded = 'TOP'")
                              .isEmpty();
        }
    });
    ASSERT_TRUE(changed);
    EXPECT_EQ(form.regval->Values("top").AsInteger(), 20) << "one reading of the key";
    form.regval->LoadValues();
    EXPECT_EQ(form.regval->Values("top").AsInteger(), 33);
}
