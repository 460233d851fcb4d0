#pragma once
// The program's three windows as it creates them (the bar with its further windows, then the
// info dialog, then the settings dialog), on isolated storage, with the German settings, a pinned
// clock and a desktop that records instead of showing.

#include "app/bar/einst.h"
#include "app/bar/info.h"
#include "app/bar/mrvmain.h"
#include "app/windows.h"
#include "platform/core/registry.h"
#include "settings/storedsettings.h"
#include "tests/support/fixtures.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

class ProgramWindows : public ::testing::Test {
protected:
    // Writes stored settings before the windows are created.
    static void Store(const std::function<void(TRegistry &)> &write) {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(SettingsKey, true));
        write(reg);
    }

    // Creates the three windows afresh and shows the bar.
    TForm1 &Create() {
        form1.reset();
        form1 = std::make_unique<TForm1>();
        AddFurtherWindows(*form1);
        form2 = std::make_unique<TForm2>();
        form3 = std::make_unique<TForm3>();
        form1->show();
        return *form1;
    }

    IsolatedHome home;
    GermanLocale de;
    PinnedClock clock;
    RecordingDesktop desktop;
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm2> form2;
    std::unique_ptr<TForm3> form3;
};
