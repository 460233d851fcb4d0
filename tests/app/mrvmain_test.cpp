#include "app/mrvmain.h"
#include "platform/registry.h"
#include "tests/support/fixtures.h"

#include <gtest/gtest.h>

namespace {

const QString Key = QStringLiteral("SOFTWARE\\Morvane Software\\Tarvo");

class MainWindowSettings : public ::testing::Test {
protected:
    IsolatedHome home;
    GermanLocale de;
    RecordingDesktop desktop;
};

} // namespace

TEST_F(MainWindowSettings, AStoredValueOfTheWrongTypeIsReportedOnceAndRepairedAtTheEnd) {
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(Key, true));
        reg.WriteInteger("left", 300);
        reg.WriteString("top", "200");
        reg.WriteInteger("formel", 2);
    }
    {
        TForm1 form;
        EXPECT_EQ(form.regval->Values("top").AsInteger(), 20);
        EXPECT_EQ(form.regval->Values("left").AsString(), "20");
        EXPECT_EQ(form.regval->Values("formel").AsInteger(), 2) << "the good values still load";
        EXPECT_EQ(desktop.errors, QStringList({"Tarvo Test|Ungültiger Datentyp für 'top'"}));
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(Key, false));
    EXPECT_EQ(reg.ReadInteger("top"), 20);
    EXPECT_EQ(reg.ReadString("left"), "20");
    EXPECT_EQ(reg.ReadInteger("formel"), 2);
    EXPECT_EQ(desktop.errors.size(), 1);
}
