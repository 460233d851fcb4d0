#include "settings/oneinstance.h"

#include "platform/gui/application.h"
#include "platform/core/comeforward.h"
#include "platform/gui/screens.h"
#include "tests/support/fixtures.h"
#include "tests/support/lockholder.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QLocale>
#include <QWidget>
#include <atomic>
#include <thread>

namespace {

// The instance names of these tests start with the test main's title "Tarvo Test".
const QString prefix = "Tarvo Test";

class Form : public QWidget, public TComponent {
public:
    Form() : TComponent(nullptr) {}
};

// Restores the application's show-main-window switch a test may have changed.
class ShowMainFormGuard {
public:
    ~ShowMainFormGuard() { TApplication::Instance()->SetShowMainForm(true); }
};

} // namespace

TEST(OneInstance, InstanceNameFollowsTitleOrProgramPath) {
    TOneInstance guard(nullptr);
    EXPECT_EQ(guard.InstanceName(), "Tarvo Test.OneInstance.");
    guard.SetIdentifier("\\Kasse\\1");
    EXPECT_EQ(guard.InstanceName(), "Tarvo Test/Kasse/1.OneInstance.");
    guard.SetExeNameAsIdentifier(true);
    EXPECT_EQ(guard.InstanceName(),
              QLocale().toUpper(TApplication::ExeName()) + "/Kasse/1.OneInstance.");
}

TEST(OneInstance, FirstCopyTakesOwnershipForTheWholeProcess) {
    IsolatedHome home;
    TOneInstance guard(nullptr);
    guard.SetIdentifier(".first");
    EXPECT_FALSE(guard.IsAnotherInstanceRunning());
    // Asked again in the same process: still the owner.
    EXPECT_FALSE(guard.IsAnotherInstanceRunning());
    LockHolder other(prefix + ".first.OneInstance.Default");
    EXPECT_FALSE(other.Held());
    // The guard lock was given back.
    LockHolder tester(prefix + ".first.OneInstance.CriticalSection");
    EXPECT_TRUE(tester.Held());
}

TEST(OneInstance, AnotherHolderOfEitherLockMeansAnotherCopy) {
    for (const char *lock : {"Default", "CriticalSection"}) {
        SCOPED_TRACE(lock);
        IsolatedHome home;
        LockHolder other(prefix + ".OneInstance." + lock);
        ASSERT_TRUE(other.Held());
        TOneInstance guard(nullptr);
        EXPECT_TRUE(guard.IsAnotherInstanceRunning());
        other.Kill();
        EXPECT_FALSE(guard.IsAnotherInstanceRunning());
    }
}

TEST(OneInstance, DesignModeNeverFindsAnotherCopy) {
    IsolatedHome home;
    LockHolder other(prefix + ".OneInstance.Default");
    TComponent root(nullptr);
    root.SetDesigning(true);
    TOneInstance guard(&root);
    EXPECT_FALSE(guard.IsAnotherInstanceRunning());
}

TEST(OneInstance, MessageHandlerCanKeepTheSecondCopyRunning) {
    IsolatedHome home;
    ShowMainFormGuard restore;
    LockHolder other(prefix + ".OneInstance.Default");
    TOneInstance guard(nullptr);
    guard.SetShowMessage(true);
    guard.SetActivatePrevInstance(false);
    bool wasAsked = false;
    guard.OnShowMessage = [&](TObject *sender, bool &terminate) {
        EXPECT_EQ(sender, &guard);
        EXPECT_TRUE(terminate);
        EXPECT_FALSE(TApplication::Instance()->ShowMainForm());
        terminate = false;
        wasAsked = true;
    };
    guard.CheckInstance();
    EXPECT_TRUE(wasAsked);
    EXPECT_TRUE(TApplication::Instance()->ShowMainForm());
    EXPECT_FALSE(TApplication::Instance()->Terminated());
}

TEST(OneInstance, ReportShowsStandardOrOwnMessage) {
    RecordingDesktop desktop;
    struct Probe : TOneInstance {
        using TOneInstance::ReportAlreadyRunning;
        using TOneInstance::TOneInstance;
    } probe(nullptr);
    probe.ReportAlreadyRunning();
    probe.SetMessage("Läuft schon.");
    probe.ReportAlreadyRunning();
    EXPECT_EQ(desktop.messages,
              QStringList({"Tarvo Test|Application \"Tarvo Test\" is already running.",
                           "Tarvo Test|Läuft schon."}));
}

TEST(OneInstance, RunningCopyComesForwardOnRequest) {
    IsolatedHome home;
    Form form;
    std::unique_ptr<TOneInstance> guard;
    ReadLayout(form, [&] {
        guard = std::make_unique<TOneInstance>(&form);
        guard->SetIdentifier(".forward");
        guard->OnComeForward = [&](TObject *, const QString &) { BringWindowForward(form); };
    });
    form.show();
    form.setWindowState(Qt::WindowMinimized);
    ASSERT_TRUE(form.isMinimized());
    EXPECT_TRUE(RequestComeForwardFromOutside(guard->InstanceName()));
    EXPECT_FALSE(form.isMinimized());
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(RequestComeForwardFromOutside(guard->InstanceName())); // not minimized: raised
}
