// The real program on a hostile machine: a hive locked by another process, write-protected or
// on a full disk, stop signals while the program waits, and a flood on its come-forward socket.

#include "platform/core/comeforward.h"
#include "platform/core/registry.h"
#include "settings/storedsettings.h"
#include "tests/e2e/copies.h"
#include "tests/support/fixtures.h"
#include "tests/support/hive.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QThread>
#include <sqlite3.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <linux/capability.h>
#include <sys/mount.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

namespace {

// How long the store waits for another process's write lock.
constexpr int BusyWaitMs = 10000;
constexpr const char *unusable = "kann nicht benutzt werden";

QByteArray readFile(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// What the trace says from `from` on.
QString traceSince(Copy &copy, qsizetype from) {
    return copy.Trace().mid(from);
}

// As root, the copy gives up what lets root write where the owner may not, so that file
// modes count as they do for any user. Nothing to give up otherwise.
void asPlainOwner() {
    for (int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
        ::prctl(PR_CAPBSET_DROP, capability, 0, 0, 0);
}

// Another process inside BEGIN IMMEDIATE on the hive: the sqlite3 shell, as a user would
// leave it open. Held once a second writer finds the hive busy.
class HiveLock {
public:
    explicit HiveLock(const QString &file) {
        FShell.start(QStringLiteral("sqlite3"), {file});
        if (!FShell.waitForStarted(5000)) return;
        FShell.write("BEGIN IMMEDIATE;\n");
        FShell.waitForBytesWritten(5000);
        for (int i = 0; i < 250 && !FHeld; ++i) {
            sqlite3 *db = nullptr;
            sqlite3_open_v2(QFile::encodeName(file).constData(), &db, SQLITE_OPEN_READWRITE,
                            nullptr);
            FHeld = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_BUSY;
            sqlite3_close(db);
            if (!FHeld) QThread::msleep(20);
        }
    }
    ~HiveLock() {
        FShell.closeWriteChannel(); // the shell ends and the lock goes with it
        if (!FShell.waitForFinished(5000)) FShell.kill();
    }
    bool Held() const { return FHeld; }

private:
    QProcess FShell;
    bool FHeld = false;
};

// A small file system of the test's own (mounting it needs root, as CI has).
class SmallDisk {
public:
    explicit SmallDisk(int kib) {
        if (::geteuid() != 0) return;
        const QByteArray options = "size=" + QByteArray::number(kib) + "k,mode=0700";
        FMounted = ::mount("tmpfs", QFile::encodeName(FDir.path()).constData(), "tmpfs", 0,
                           options.constData()) == 0;
    }
    ~SmallDisk() {
        if (FMounted) ::umount2(QFile::encodeName(FDir.path()).constData(), MNT_DETACH);
    }
    bool Mounted() const { return FMounted; }
    QString path() const { return FDir.path(); }

    // Writes a filler file until the disk is full, then gives back all but `leave` bytes.
    void Fill(qint64 leave) {
        const int fd = ::open(QFile::encodeName(filler()).constData(),
                              O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        ASSERT_GE(fd, 0);
        const QByteArray chunk(65536, 'f');
        qint64 size = 0;
        for (ssize_t n; (n = ::write(fd, chunk.constData(), chunk.size())) > 0;)
            size += n;
        ASSERT_EQ(::ftruncate(fd, std::max<qint64>(0, size - leave)), 0);
        ::close(fd);
    }
    void Free() { QFile::remove(filler()); }
    bool MakeReadOnly() {
        return ::mount(nullptr, QFile::encodeName(FDir.path()).constData(), nullptr,
                       MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }

private:
    QString filler() const { return FDir.path() + QStringLiteral("/filler"); }

    QTemporaryDir FDir;
    bool FMounted = false;
};

#define REQUIRE_SMALL_DISK(disk)                                                                   \
    if (!(disk).Mounted())                                                                         \
    GTEST_SKIP() << "mounting a small tmpfs needs root (CI runs as root); skipped"

qint64 residentKib(qint64 pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').front().toLongLong();
    return -1;
}

// The highest resident size of a process, sampled from another thread until Stop().
class ResidentPeak {
public:
    ResidentPeak(qint64 pid, qint64 start) : FPeak(start) {
        FWatch = std::thread([this, pid] {
            while (!FStop) {
                FPeak = std::max<qint64>(FPeak, residentKib(pid));
                QThread::msleep(20);
            }
        });
    }
    ~ResidentPeak() { Stop(); }
    qint64 Stop() {
        FStop = true;
        if (FWatch.joinable()) FWatch.join();
        return FPeak;
    }

private:
    std::atomic<bool> FStop{false};
    std::atomic<qint64> FPeak;
    std::thread FWatch;
};

class Faults : public ::testing::Test {
protected:
    // The program with its settings under configHome (the isolated one unless given).
    Copy Start(const QString &configHome = {}, const std::function<void()> &childSetup = {}) {
        return Copy(TARVO_EXE, isolatedEnvironment(home, configHome), childSetup);
    }
    // A hive that holds the program's key with only "version" in it, so that the end has
    // seven values to write.
    void MakeHive(const QString &configHome) {
        TTestFolders folders = TestServices().Folders;
        folders.ConfigHome = configHome;
        const ScopedPart<TTestFolders> elsewhere(TestServices().Folders, folders);
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(SettingsKey, true));
        reg.WriteString(Setting::Version, "2.3");
    }
    // Stops the copy with SIGTERM; how long it took to end, -1 when it did not end within
    // `limitMs`. The copy must end cleanly and show no window meanwhile.
    qint64 StopAndTime(Copy &copy, int limitMs) {
        const qsizetype before = copy.Trace().size();
        QElapsedTimer timer;
        timer.start();
        copy.Terminate();
        if (!copy.WaitForEnd(limitMs)) return -1;
        const qint64 took = timer.elapsed();
        EXPECT_TRUE(copy.EndedCleanly()) << copy.Trace().toStdString();
        EXPECT_FALSE(traceSince(copy, before).contains(windowShown))
            << "a window after the stop request:\n"
            << traceSince(copy, before).toStdString();
        return took;
    }
    // The copy's resident memory once its bar is shown and the start has settled; 0 when the
    // bar never came.
    static qint64 SettledResidentKib(Copy &copy) {
        if (!copy.WaitForTrace(QStringLiteral("%1 TForm1").arg(windowShown), 10000)) {
            ADD_FAILURE() << "no bar:\n" << copy.Trace().toStdString();
            return 0;
        }
        QThread::msleep(300);
        return residentKib(copy.Pid());
    }
    IsolatedHome home;
};

} // namespace

TEST_F(Faults, SigtermWithTheHiveLockedEndsWithinTheBusyWaitAndReportsOnStderr) {
    MakeHive(home.configHome());
    Copy tarvo = Start();
    ASSERT_TRUE(tarvo.WaitForTrace(QStringLiteral("%1 TForm1").arg(windowShown), 10000))
        << tarvo.Trace().toStdString();
    HiveLock lock(home.configHome() + "/tarvo/registry.db");
    ASSERT_TRUE(lock.Held());
    const qint64 took = StopAndTime(tarvo, BusyWaitMs + 1000);
    std::printf("[ measured ] end with a locked hive: %lld ms\n", static_cast<long long>(took));
    ASSERT_GE(took, 0) << "still running after the busy wait and one second";
    // The signal that asked for the end does not cut its wait short: a lock held only briefly
    // must not cost the settings.
    EXPECT_GE(took, BusyWaitMs - 500);
    EXPECT_TRUE(tarvo.Trace().contains(QString::fromUtf8("Konnte Daten für 'pfad' nicht setzen")))
        << tarvo.Trace().toStdString();
}

TEST_F(Faults, SigtermWithAFullDiskEndsAtOnceAndLeavesTheHiveWhole) {
    SmallDisk disk(1024);
    REQUIRE_SMALL_DISK(disk);
    const QString config = disk.path() + "/config";
    MakeHive(config);
    Copy tarvo = Start(config);
    ASSERT_TRUE(tarvo.WaitForTrace(QStringLiteral("%1 TForm1").arg(windowShown), 10000))
        << tarvo.Trace().toStdString();
    disk.Fill(0);
    const qint64 took = StopAndTime(tarvo, 1000);
    std::printf("[ measured ] end on a full disk: %lld ms\n", static_cast<long long>(took));
    ASSERT_GE(took, 0);
    EXPECT_TRUE(tarvo.Trace().contains(QString::fromUtf8("nicht setzen")))
        << tarvo.Trace().toStdString();
    disk.Free();
    EXPECT_EQ(HiveSql(config + "/tarvo/registry.db", "PRAGMA integrity_check"),
              QStringList({"ok"}));
}

TEST_F(Faults, AWriteProtectedHiveIsReportedOnceLeftAsItWasAndTheStopOpensNoWindow) {
    MakeHive(home.configHome());
    const QString hive = home.configHome() + "/tarvo/registry.db";
    ASSERT_EQ(::chmod(QFile::encodeName(hive).constData(), 0400), 0);
    const QByteArray before = readFile(hive);
    Copy tarvo = Start({}, asPlainOwner);
    // The start tells it in a message box; the stop request ends that box too.
    ASSERT_TRUE(tarvo.WaitForTrace(QStringLiteral("%1 QMessageBox").arg(windowShown), 10000))
        << tarvo.Trace().toStdString();
    const qint64 took = StopAndTime(tarvo, 1000);
    ASSERT_GE(took, 0);
    const QString expected =
        QStringLiteral("Die Einstellungsdatei „%1“ kann nicht benutzt werden: keine "
                       "Schreibberechtigung für die Datei oder ihren Ordner.")
            .arg(hive);
    EXPECT_EQ(tarvo.Trace().count(expected), 1) << tarvo.Trace().toStdString();
    EXPECT_EQ(readFile(hive), before);
    // No journal files that would keep the hive read-only once its mode is mended.
    EXPECT_EQ(QDir(home.configHome() + "/tarvo").entryList(QDir::Files),
              QStringList({"registry.db"}));
}

TEST_F(Faults, AReadOnlyFolderIsReportedOnceNamingTheFileAndReason) {
    struct Case {
        const char *name;
        const char *reason;
    };
    // The folder's mode, then a read-only mount (which root is bound by as well).
    const Case cases[] = {{"chmod 500", "ihr Ordner ist schreibgeschützt"},
                          {"read-only mount", "das Dateisystem ist schreibgeschützt"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SmallDisk disk(1024);
        const bool mount = QByteArray(c.name) == "read-only mount";
        if (mount && !disk.Mounted()) {
            std::printf("[ skipped  ] %s: mounting needs root\n", c.name);
            continue;
        }
        const QString config = mount ? disk.path() + "/config" : home.configHome();
        MakeHive(config);
        HiveSql(config + "/tarvo/registry.db", "UPDATE reg_value SET data = CAST('9.9' || char(0) "
                                               "AS BLOB) WHERE folded = 'VERSION'");
        const QString folder = config + "/tarvo";
        const QByteArray before = readFile(folder + "/registry.db");
        ASSERT_TRUE(mount ? disk.MakeReadOnly()
                          : ::chmod(QFile::encodeName(folder).constData(), 0500) == 0);
        Copy tarvo = Start(config, asPlainOwner);
        ASSERT_TRUE(tarvo.WaitForTrace(QStringLiteral("%1 QMessageBox").arg(windowShown), 10000))
            << tarvo.Trace().toStdString();
        ASSERT_GE(StopAndTime(tarvo, 1000), 0);
        const QString expected = QStringLiteral("Die Einstellungsdatei „%1/registry.db“ kann "
                                                "nicht benutzt werden: %2.")
                                     .arg(folder, QString::fromUtf8(c.reason));
        EXPECT_EQ(tarvo.Trace().count(expected), 1) << tarvo.Trace().toStdString();
        EXPECT_EQ(tarvo.Trace().count(unusable), 1) << "said once";
        EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList({"registry.db"}));
        EXPECT_EQ(readFile(folder + "/registry.db"), before);
        if (!mount) ::chmod(QFile::encodeName(folder).constData(), 0700);
    }
}

TEST_F(Faults, AFirstStartOnAFullDiskLeavesNoHiveAndNoBuildBehind) {
    SmallDisk disk(512);
    REQUIRE_SMALL_DISK(disk);
    const QString folder = disk.path() + "/config/tarvo";
    int reported = 0;
    // From no room at all to just too little for the hive's log to be folded back.
    for (int freeKib : {0, 8, 16, 24, 32, 40, 48, 64, 96}) {
        SCOPED_TRACE(freeKib);
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        // Left behind by a first start that was killed: its process is gone.
        for (const char *suffix : {"", "-wal", "-shm"})
            QFile(folder + "/registry.db.new-999999999-1" + suffix).open(QIODevice::WriteOnly);
        disk.Fill(freeKib * 1024);
        Copy tarvo = Start(disk.path() + "/config");
        ASSERT_TRUE(tarvo.WaitForTrace(windowShown, 10000)) << tarvo.Trace().toStdString();
        ASSERT_GE(StopAndTime(tarvo, 1000), 0);
        disk.Free();
        const QStringList files = QDir(folder).entryList(QDir::Files);
        EXPECT_TRUE(files.filter("registry.db.new-").isEmpty()) << files.join(' ').toStdString();
        // A hive in place is a whole one (the key may still have found no room).
        if (files.contains("registry.db")) {
            EXPECT_EQ(HiveSql(folder + "/registry.db", "PRAGMA integrity_check"),
                      QStringList({"ok"}));
            EXPECT_EQ(HiveSql(folder + "/registry.db", "SELECT count(*) FROM sqlite_schema WHERE "
                                                       "name IN ('reg_key', 'reg_value')"),
                      QStringList({"2"}));
        }
        if (tarvo.Trace().contains(unusable)) {
            ++reported;
            EXPECT_EQ(tarvo.Trace().count(QString::fromUtf8("der Datenträger ist voll")), 1)
                << tarvo.Trace().toStdString();
        }
    }
    EXPECT_GE(reported, 3) << "the disk was never too full to build a hive";
}

TEST_F(Faults, ALockedHiveWithoutTheKeyHoldsTheStartForOneBusyWaitAtMost) {
    const QString hive = home.configHome() + "/tarvo/registry.db";
    { TRegistry().OpenKey("\\Other", true); } // a hive without the program's key
    HiveLock lock(hive);
    ASSERT_TRUE(lock.Held());
    QElapsedTimer timer;
    timer.start();
    Copy tarvo = Start();
    ASSERT_TRUE(
        tarvo.WaitForTrace(QStringLiteral("%1 QMessageBox").arg(windowShown), BusyWaitMs + 3000))
        << tarvo.Trace().toStdString();
    const qint64 took = timer.elapsed();
    std::printf("[ measured ] start with a locked hive lacking the key: %lld ms to the report\n",
                static_cast<long long>(took));
    EXPECT_LT(took, BusyWaitMs + 1500) << "one busy wait, plus the program's own start";
    EXPECT_EQ(tarvo.Trace().count(QString::fromUtf8("ein anderes Programm hält sie gesperrt")), 1)
        << tarvo.Trace().toStdString();
    ASSERT_GE(StopAndTime(tarvo, 1000), 0);
    EXPECT_EQ(HiveSql(hive, "SELECT count(*) FROM reg_value"), QStringList({"0"}))
        << "nothing written over a hive that could not be read";
}

TEST_F(Faults, AStopRequestWhileTheStartWaitsEndsTheProgramWithinASecond) {
    const QString hive = home.configHome() + "/tarvo/registry.db";
    { TRegistry().OpenKey("\\Other", true); }
    HiveLock lock(hive);
    ASSERT_TRUE(lock.Held());
    Copy tarvo = Start();
    QThread::msleep(1000); // well into the wait for the lock
    ASSERT_FALSE(tarvo.Trace().contains(windowShown)) << tarvo.Trace().toStdString();
    const qint64 took = StopAndTime(tarvo, 1000);
    std::printf("[ measured ] stop request during the start's wait: %lld ms\n",
                static_cast<long long>(took));
    ASSERT_GE(took, 0);
}

namespace {

// Sends an endless line to the socket at `path` over `connections` connections at once until
// `ms` have passed, connecting again whenever the other side hangs up.
void flood(const QString &path, int connections, int ms) {
    const QByteArray address = QFile::encodeName(path);
    std::atomic<bool> stop{false};
    std::vector<std::thread> senders;
    for (int i = 0; i < connections; ++i)
        senders.emplace_back([&] {
            const std::string chunk(65536, 'x');
            while (!stop) {
                const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
                sockaddr_un to = {};
                to.sun_family = AF_UNIX;
                std::memcpy(to.sun_path, address.constData(),
                            std::min<size_t>(address.size(), sizeof to.sun_path - 1));
                const timeval wait = {0, 100000};
                ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &wait, sizeof wait);
                if (::connect(fd, reinterpret_cast<sockaddr *>(&to), sizeof to) == 0)
                    while (!stop && ::send(fd, chunk.data(), chunk.size(), MSG_NOSIGNAL) != -1) {
                    }
                ::close(fd);
            }
        });
    QThread::msleep(ms);
    stop = true;
    for (std::thread &sender : senders)
        sender.join();
}

} // namespace

TEST_F(Faults, AFloodOnTheComeForwardSocketLeavesTheMemoryAsItWas) {
    Copy tarvo = Start();
    const qint64 before = SettledResidentKib(tarvo);
    ASSERT_GT(before, 0);
    ResidentPeak peak(tarvo.Pid(), before);
    flood(ComeForwardSocketPath(QStringLiteral("Tarvo 2.0.OneInstance.")), 4, 2500);
    QThread::msleep(300);
    const qint64 after = residentKib(tarvo.Pid());
    const qint64 highest = peak.Stop();
    std::printf("[ measured ] resident memory around a flood: %lld KiB before, %lld KiB at most, "
                "%lld KiB after\n",
                static_cast<long long>(before), static_cast<long long>(highest),
                static_cast<long long>(after));
    // And it still answers a second copy.
    EXPECT_TRUE(RequestComeForward(QStringLiteral("Tarvo 2.0.OneInstance.")));
    EXPECT_TRUE(tarvo.WaitForTrace(cameForward, 2000)) << tarvo.Trace().toStdString();
    ASSERT_GE(StopAndTime(tarvo, 2000), 0);
    if (const char *reason = ResidentMemoryUnchecked()) GTEST_SKIP() << reason;
    EXPECT_LT(highest - before, 8 * 1024);
    EXPECT_LT(after - before, 4 * 1024);
}

TEST_F(Faults, ASecondStartComesThroughThreeThousandIdleConnections) {
    Copy tarvo = Start();
    const qint64 before = SettledResidentKib(tarvo);
    ASSERT_GT(before, 0);
    ResidentPeak peak(tarvo.Pid(), before);

    QProcess holder;
    holder.start(IDLE_CALLERS_EXE,
                 {ComeForwardSocketPath(QStringLiteral("Tarvo 2.0.OneInstance.")), "3000"});
    ASSERT_TRUE(holder.waitForReadyRead(30000)) << holder.readAllStandardError().toStdString();
    ASSERT_EQ(holder.readAllStandardOutput(), "holding 3000\n");

    QElapsedTimer timer;
    timer.start();
    Copy second = Start();
    const bool ended = second.WaitForEnd(2000);
    const qint64 took = timer.elapsed();
    const bool cameThrough = tarvo.WaitForTrace(cameForward, 500);
    const qint64 after = residentKib(tarvo.Pid());
    const qint64 highest = peak.Stop();
    std::printf("[ measured ] second start under 3000 idle connections: %lld ms; resident memory "
                "%lld KiB before, %lld KiB at most, %lld KiB after\n",
                static_cast<long long>(took), static_cast<long long>(before),
                static_cast<long long>(highest), static_cast<long long>(after));
    ASSERT_TRUE(ended) << "the second start still runs after 2 s";
    EXPECT_LT(took, 2000);
    EXPECT_TRUE(second.EndedCleanly()) << second.Trace().toStdString();
    EXPECT_FALSE(second.Trace().contains(windowShown)) << second.Trace().toStdString();
    EXPECT_TRUE(cameThrough) << tarvo.Trace().toStdString();
    holder.kill();
    holder.waitForFinished(5000);
    ASSERT_GE(StopAndTime(tarvo, 2000), 0);
    if (const char *reason = ResidentMemoryUnchecked()) GTEST_SKIP() << reason;
    EXPECT_LT(highest - before, 1024);
    EXPECT_LT(after - before, 1024);
}
