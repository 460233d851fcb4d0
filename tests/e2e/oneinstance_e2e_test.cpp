#include "tests/e2e/copies.h"
#include "tests/support/fixtures.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

namespace {

class Tarvo : public ::testing::Test {
protected:
    Copy Start() { return Start(TARVO_EXE); }
    Copy Start(const QString &program) { return Copy(program, isolatedEnvironment(home)); }
    IsolatedHome home;
};

} // namespace

TEST_F(Tarvo, SecondCopyEndsAtOnceWithoutWindowAndBringsTheFirstForward) {
    // Every start brings the per-user entry in line with AutoRun, which is off at this point.
    const QString entry = home.configHome() + "/autostart/tarvo.desktop";
    QDir().mkpath(home.configHome() + "/autostart");
    QFile(entry).open(QIODevice::WriteOnly);

    Copy first = Start();
    ASSERT_TRUE(first.WaitForTrace(windowShown, 10000)) << first.Trace().toStdString();
    EXPECT_FALSE(QFile::exists(entry));

    QElapsedTimer timer;
    timer.start();
    Copy second = Start();
    ASSERT_TRUE(second.WaitForEnd(1000));
    EXPECT_LT(timer.elapsed(), 1000);
    EXPECT_TRUE(second.EndedCleanly());
    EXPECT_FALSE(second.Trace().contains(windowShown)) << second.Trace().toStdString();
    EXPECT_TRUE(first.WaitForTrace(cameForward, 1000)) << first.Trace().toStdString();
    EXPECT_TRUE(first.Running());
}

// A second start with --verzug has the running copy open its default-interest window.
TEST_F(Tarvo, ASecondStartWithVerzugOpensTheWindowInTheFirst) {
    Copy first = Start();
    ASSERT_TRUE(first.WaitForTrace(windowShown, 10000)) << first.Trace().toStdString();
    Copy second(TARVO_EXE, isolatedEnvironment(home), {}, {"--verzug"});
    ASSERT_TRUE(second.WaitForEnd(2000));
    EXPECT_TRUE(second.EndedCleanly());
    EXPECT_FALSE(second.Trace().contains(windowShown)) << second.Trace().toStdString();
    EXPECT_TRUE(first.WaitForTrace(QStringLiteral("%1 TVerzugForm").arg(windowShown), 2000))
        << first.Trace().toStdString();
}

TEST_F(Tarvo, NextStartTakesOverFromAKilledCopy) {
    Copy first = Start();
    ASSERT_TRUE(first.WaitForTrace(windowShown, 10000));
    first.KillHard();
    Copy next = Start();
    EXPECT_TRUE(next.WaitForTrace(windowShown, 10000)) << next.Trace().toStdString();
    // It holds the lock now: a further copy ends.
    Copy further = Start();
    EXPECT_TRUE(further.WaitForEnd(1000));
    EXPECT_FALSE(further.Trace().contains(windowShown));
    EXPECT_TRUE(next.Running());
}

TEST_F(Tarvo, OfTwoSimultaneousStartsExactlyOneSurvives) {
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE(round);
        Copy a = Start(), b = Start();
        // The one that ends does so at once; wait for it, then see the other one running.
        QElapsedTimer timer;
        timer.start();
        while (a.Running() && b.Running() && timer.elapsed() < 5000)
            a.WaitForEnd(5);
        ASSERT_NE(a.Running(), b.Running()) << "both ended or both still run";
        Copy &ended = a.Running() ? b : a;
        Copy &survivor = a.Running() ? a : b;
        EXPECT_TRUE(ended.EndedCleanly());
        EXPECT_FALSE(ended.Trace().contains(windowShown));
        EXPECT_TRUE(survivor.WaitForTrace(windowShown, 10000));
        EXPECT_TRUE(survivor.Running());
        survivor.KillHard();
    }
}

TEST_F(Tarvo, CopiesNamedByTheirPathRunSideBySideFromTwoFolders) {
    for (const char *folder : {"/a", "/b"}) {
        QDir().mkpath(home.path() + folder);
        ASSERT_TRUE(QFile::copy(INSTANCE_PROBE_EXE, home.path() + folder + "/probe"));
    }
    Copy a = Start(home.path() + "/a/probe");
    ASSERT_TRUE(a.WaitForTrace(windowShown, 10000)) << a.Trace().toStdString();
    Copy b = Start(home.path() + "/b/probe");
    ASSERT_TRUE(b.WaitForTrace(windowShown, 10000)) << b.Trace().toStdString();
    EXPECT_TRUE(a.Running());
    // From the same folder, it is the same program again.
    Copy again = Start(home.path() + "/a/probe");
    EXPECT_TRUE(again.WaitForEnd(1000));
    EXPECT_FALSE(again.Trace().contains(windowShown));
    EXPECT_TRUE(a.WaitForTrace(cameForward, 1000));
    EXPECT_FALSE(b.Trace().contains(cameForward));
}
