// The settings dialog in the running program, clicked with a real pointer on a private X
// display: a formula chosen there survives the end with Ende and a new start.

#include "platform/core/registry.h"
#include "settings/storedsettings.h"
#include "tests/e2e/copies.h"
#include "tests/e2e/xdisplay.h"
#include "tests/support/fixtures.h"

#include <gtest/gtest.h>

namespace {

class SettingsDialogInTheProgram : public OnXDisplay {
protected:
    // Einstellungen on the bar; the dialog once it is there.
    QString OpenSettings(Copy &tarvo, const QString &bar) {
        x.Click(bar, 467 + 30, 2 + 7);
        EXPECT_TRUE(tarvo.WaitForTrace(QStringLiteral("%1 TForm3").arg(windowShown), 10000));
        return x.Window(QStringLiteral("Tarvo Einstellungen"));
    }
    void EndWithEnde(Copy &tarvo, const QString &bar) {
        x.Click(bar, 587 + 20, 19 + 7);
        ASSERT_TRUE(tarvo.WaitForEnd(10000));
        EXPECT_TRUE(tarvo.EndedCleanly()) << tarvo.Trace().toStdString();
    }
    int StoredFormula() {
        TRegistry reg;
        EXPECT_TRUE(reg.OpenKey(SettingsKey, false));
        return reg.ReadInteger(Setting::Formel);
    }
};

TEST_F(SettingsDialogInTheProgram, EnglischeChosenThereIsStillChosenAfterARestart) {
    {
        std::unique_ptr<Copy> tarvo = Start();
        const QString bar = x.Window(QStringLiteral("Tarvo 2.3 Freeware"));
        ASSERT_FALSE(bar.isEmpty());
        const QString dialog = OpenSettings(*tarvo, bar);
        ASSERT_FALSE(dialog.isEmpty());
        x.Click(dialog, 208 + 30, 200 + 8); // englische
        x.Click(dialog, 112 + 47, 240 + 7); // Speichern
        EndWithEnde(*tarvo, bar);
    }
    EXPECT_EQ(StoredFormula(), 2);
    // The dialog opens on what was stored: saving it unchanged keeps englische.
    std::unique_ptr<Copy> tarvo = Start();
    const QString bar = x.Window(QStringLiteral("Tarvo 2.3 Freeware"));
    const QString dialog = OpenSettings(*tarvo, bar);
    ASSERT_FALSE(dialog.isEmpty());
    x.Click(dialog, 112 + 47, 240 + 7);
    EndWithEnde(*tarvo, bar);
    EXPECT_EQ(StoredFormula(), 2);
}

} // namespace
