#include "platform/core/registry.h"
#include "settings/storedsettings.h"
#include "tests/e2e/copies.h"
#include "tests/support/fixtures.h"

#include <gtest/gtest.h>

namespace {

class TarvoSettings : public ::testing::Test {
protected:
    Copy Start() { return Copy(TARVO_EXE, isolatedEnvironment(home)); }
    // Starts the program, waits for its window and ends it as the session would.
    void RunAndTerminate() {
        Copy tarvo = Start();
        ASSERT_TRUE(tarvo.WaitForTrace(QStringLiteral("%1 TForm1").arg(windowShown), 10000))
            << tarvo.Trace().toStdString();
        tarvo.Terminate();
        ASSERT_TRUE(tarvo.WaitForEnd(10000));
        EXPECT_TRUE(tarvo.EndedCleanly()) << tarvo.Trace().toStdString();
    }
    IsolatedHome home;
};

} // namespace

TEST_F(TarvoSettings, FirstStartEndedBySigtermLeavesTheEightDefaults) {
    RunAndTerminate();
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(SettingsKey, false));
    EXPECT_EQ(reg.ReadString(Setting::Pfad), "");
    EXPECT_EQ(reg.ReadString(Setting::Version), "2.3");
    EXPECT_EQ(reg.ReadInteger(Setting::Top), 20);
    EXPECT_EQ(reg.ReadString(Setting::Left), "20");
    for (const TStoredSetting &setting :
         {Setting::Auto, Setting::OnTop, Setting::Pos, Setting::Formel}) {
        EXPECT_EQ(reg.GetDataType(setting), TRegDataType::rdInteger) << setting.Name;
        EXPECT_EQ(reg.ReadInteger(setting), 0) << setting.Name;
    }
}

TEST_F(TarvoSettings, StoredValuesSurviveARunAndAWrongTypeIsRepaired) {
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(SettingsKey, true));
        reg.WriteString(Setting::Version, "9.9");
        reg.WriteInteger(Setting::Formel, 2);
        reg.WriteInteger(Setting::Left, 300); // the wrong type: "left" is text
    }
    Copy tarvo = Start();
    // The start reports the bad value in a message box and waits there; a stop request
    // still ends the program in order.
    ASSERT_TRUE(tarvo.WaitForTrace(QStringLiteral("%1 QMessageBox").arg(windowShown), 10000))
        << tarvo.Trace().toStdString();
    tarvo.Terminate();
    ASSERT_TRUE(tarvo.WaitForEnd(10000));
    EXPECT_TRUE(tarvo.EndedCleanly()) << tarvo.Trace().toStdString();

    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(SettingsKey, false));
    EXPECT_EQ(reg.ReadString(Setting::Version), "9.9");
    EXPECT_EQ(reg.ReadInteger(Setting::Formel), 2);
    EXPECT_EQ(reg.ReadString(Setting::Left), "20");
}

// A start with --verzug shows the bar, then the default-interest window; the window's values are
// written at the end beside the bar's, also when a stop signal ends the program.
TEST_F(TarvoSettings, VerzugOpensTheWindowAndItsValuesAreStoredAtTheEnd) {
    Copy tarvo(TARVO_EXE, isolatedEnvironment(home), {}, {"--verzug"});
    ASSERT_TRUE(tarvo.WaitForTrace(QStringLiteral("%1 TVerzugForm").arg(windowShown), 10000))
        << tarvo.Trace().toStdString();
    EXPECT_LT(tarvo.Trace().indexOf("TForm1"), tarvo.Trace().indexOf("TVerzugForm"));
    tarvo.Terminate();
    ASSERT_TRUE(tarvo.WaitForEnd(10000));
    EXPECT_TRUE(tarvo.EndedCleanly()) << tarvo.Trace().toStdString();
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(SettingsKey, false));
    EXPECT_EQ(reg.ReadInteger(Setting::VerzugZinsregel), 0);
    EXPECT_EQ(reg.ReadInteger(Setting::VerzugTageszaehlung), 1);
    EXPECT_EQ(reg.ReadString(Setting::Version), "2.3");
}
