// One walk through every window of the running program with a real pointer and keyboard on a
// private X display: the settings dialog saves a formula and the position switch, the bar
// calculates onto the clipboard, the info dialog opens once however often Info is clicked and
// Schließen hides it, and Ende leaves all eight settings in the store.

#include "platform/core/registry.h"
#include "settings/storedsettings.h"
#include "tests/e2e/copies.h"
#include "tests/e2e/xdisplay.h"
#include "tests/support/fixtures.h"

#include <QThread>
#include <gtest/gtest.h>

namespace {

class EveryWindow : public OnXDisplay {};

TEST_F(EveryWindow, OpenUseAndCloseEachOnceAndEndWithTheSettingsStored) {
    Copy tarvo(TARVO_EXE, x.Environment(home));
    const auto shown = [&](const char *form) {
        return tarvo.WaitForTrace(QStringLiteral("%1 %2").arg(windowShown, form), 10000);
    };
    ASSERT_TRUE(shown("TForm1")) << tarvo.Trace().toStdString();
    const QString bar = x.Window(QStringLiteral("Tarvo 2.3 Freeware"));
    ASSERT_FALSE(bar.isEmpty());

    x.Click(bar, 467 + 30, 2 + 7); // Einstellungen
    ASSERT_TRUE(shown("TForm3"));
    const QString settings = x.Window(QStringLiteral("Tarvo Einstellungen"));
    x.Click(settings, 48 + 8, 80 + 8);    // Position abspeichern
    x.Click(settings, 128 + 30, 200 + 8); // deutsche
    x.Click(settings, 112 + 47, 240 + 7); // Speichern
    EXPECT_TRUE(
        Eventually([&] { return x.Windows(QStringLiteral("Tarvo Einstellungen")).isEmpty(); }));

    x.Click(bar, 8 + 40, 22 + 8); // the amount; Enter moves on, leaving the rate calculates
    for (const char *text : {"1000", "15012005", "15032005", ""}) {
        x.Xdotool({"type", "--delay", "20", text}); // takes every argument as text
        x.Xdotool({"key", "Return"});
    }
    QString clipboard;
    EXPECT_TRUE(Eventually([&] { return (clipboard = x.Run(DISPLAY_PROBE_EXE, {})) == "16,67"; }))
        << clipboard.toStdString();

    x.Click(bar, 587 + 20, 2 + 7); // Info, twice
    ASSERT_TRUE(shown("TForm2"));
    x.Click(bar, 587 + 20, 2 + 7);
    const QStringList infos = x.Windows(QStringLiteral("Info"));
    ASSERT_EQ(infos.size(), 1);
    x.Click(infos.first(), 104 + 47, 176 + 7); // Schließen
    EXPECT_TRUE(Eventually([&] { return x.Windows(QStringLiteral("Info")).isEmpty(); }));

    x.Click(bar, 587 + 20, 19 + 7); // Ende
    ASSERT_TRUE(tarvo.WaitForEnd(10000));
    EXPECT_TRUE(tarvo.EndedCleanly()) << tarvo.Trace().toStdString();
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(SettingsKey, false));
    for (const TStoredSetting &setting : StoredSettings)
        EXPECT_TRUE(reg.ValueExists(setting)) << setting.Name;
    EXPECT_EQ(reg.ReadInteger(Setting::Pos), 1);
    EXPECT_EQ(reg.ReadInteger(Setting::Formel), 1);
    EXPECT_EQ(reg.ReadInteger(Setting::Top), 20);
    EXPECT_EQ(reg.ReadString(Setting::Left), "20");
}

} // namespace
