// Autostart entries as the desktop sees them: written into real autostart folders, checked
// by desktop-file-validate and started by gio launch.

#include "platform/core/runlist_xdg.h"
#include "settings/autorun.h"
#include "tests/support/fixtures.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <functional>

#include <sys/inotify.h>
#include <unistd.h>

namespace {

class Autostart : public ::testing::Test {
protected:
    Autostart() {
        QDir().mkpath(folder);
        // Stands in for the program: notes the path it was started as.
        QFile script(program);
        script.open(QIODevice::WriteOnly);
        // Written aside and renamed, so the file is complete once it is there.
        script.write("#!/bin/sh\ncd \"$(dirname \"$0\")/..\" && printf '%s' \"$0\" > started.part "
                     "&& mv started.part started\n");
        script.close();
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // Polls for at most five seconds; true when the condition came about.
    static bool waitUntil(const std::function<bool()> &condition) {
        QElapsedTimer timer;
        timer.start();
        while (!condition()) {
            if (timer.elapsed() > 5000) return false;
            QThread::msleep(10);
        }
        return true;
    }

    QString userEntry() const { return home.configHome() + "/autostart/tarvo.desktop"; }
    QString machineEntry() const { return home.machineConfig() + "/autostart/tarvo.desktop"; }

    // Starts the entry as a desktop session would and returns the path the program saw.
    QString launch(const QString &entry) {
        QFile::remove(started);
        QProcess gio;
        gio.start("gio", {"launch", entry});
        EXPECT_TRUE(gio.waitForFinished(10000));
        EXPECT_EQ(gio.exitCode(), 0) << gio.readAllStandardError().toStdString();
        waitUntil([this] { return QFile::exists(started); });
        QFile file(started);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    IsolatedHome home;
    const QString folder = home.path() + "/Meine Programme 100% $HOME";
    const QString program = folder + "/tarvo";
    const QString started = home.path() + "/started";
};

} // namespace

TEST_F(Autostart, OnOffOnWritesRemovesAndRewritesAValidEntryThatStartsTheProgram) {
    TAutoRun run(nullptr);
    run.SetKind(aekUserRun);
    run.SetFileName(program);
    run.SetAutoRun(true);
    ASSERT_TRUE(QFile::exists(userEntry()));

    QProcess validate;
    validate.start("desktop-file-validate", {userEntry()});
    ASSERT_TRUE(validate.waitForFinished(10000));
    EXPECT_EQ(validate.exitCode(), 0);
    EXPECT_EQ(validate.readAll(), QByteArray());
    EXPECT_EQ(launch(userEntry()), program);

    run.SetAutoRun(false);
    EXPECT_FALSE(QFile::exists(userEntry()));
    run.SetAutoRun(true);
    EXPECT_TRUE(QFile::exists(userEntry()));
}

TEST_F(Autostart, KindChangeMovesTheEntry) {
    TAutoRun run(nullptr);
    run.SetFileName(program);
    run.SetAutoRun(true);
    EXPECT_TRUE(QFile::exists(machineEntry()));
    run.SetKind(aekUserRun);
    EXPECT_FALSE(QFile::exists(machineEntry()));
    EXPECT_TRUE(QFile::exists(userEntry()));
    run.SetKind(aekUserRunOnce);
    EXPECT_FALSE(QFile::exists(userEntry()));
    const QString once = TXdgRunList::EntryPath(aekUserRunOnce, program);
    ASSERT_TRUE(QFile::exists(once));
    EXPECT_EQ(launch(once), program);
    // A run-once entry is gone once it has run; it deletes itself beside the started program.
    EXPECT_TRUE(waitUntil([&] { return !QFile::exists(once); }));
}

TEST_F(Autostart, SettingTheSameValueTouchesNoFile) {
    TAutoRun run(nullptr);
    run.SetKind(aekUserRun);
    run.SetFileName(program);
    run.SetAutoRun(true);
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    ASSERT_GE(::inotify_add_watch(watch, QFile::encodeName(home.configHome() + "/autostart"),
                                  IN_ALL_EVENTS),
              0);
    char events[4096];
    run.SetAutoRun(true);
    run.SetKind(aekUserRun);
    run.SetFileName(program);
    EXPECT_LT(::read(watch, events, sizeof events), 0);
    run.SetAutoRun(false); // the watch does see a real change
    EXPECT_GT(::read(watch, events, sizeof events), 0);
    ::close(watch);
}
