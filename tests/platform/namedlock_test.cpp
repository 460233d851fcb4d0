#include "platform/core/comeforward.h"
#include "platform/core/namedlock.h"
#include "tests/support/fixtures.h"
#include "tests/support/lockholder.h"

#include <gtest/gtest.h>

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <atomic>
#include <cstring>
#include <memory>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

// The system's runtime folder rule over an isolated folder: XDG_RUNTIME_DIR its runtime
// folder, TMPDIR and XDG_CACHE_HOME where the fallbacks lie.
class IsolatedFallbacks {
public:
    IsolatedFallbacks()
        : FRuntime("XDG_RUNTIME_DIR", FHome.runtimeDir().toLocal8Bit()),
          FTmp("TMPDIR", (FHome.path() + "/tmp").toLocal8Bit()),
          FCache("XDG_CACHE_HOME", (FHome.path() + "/cache").toLocal8Bit()) {
        QDir(FHome.path()).mkpath("tmp");
        QDir(FHome.path()).mkpath("cache");
    }
    const IsolatedHome &home() const { return FHome; }
    QString sharedFallback() const {
        return FHome.path() + "/tmp/runtime-" + QString::number(::geteuid());
    }

private:
    IsolatedHome FHome;
    ScopedEnv FRuntime, FTmp, FCache;
};

mode_t modeOf(const QString &path) {
    struct stat info;
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 0777 : 0;
}

// A caller that speaks to the come-forward socket byte by byte, on this thread.
class RawCaller {
public:
    explicit RawCaller(const QString &path)
        : FFd(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0)) {
        sockaddr_un to = {};
        to.sun_family = AF_UNIX;
        const QByteArray native = QFile::encodeName(path);
        std::memcpy(to.sun_path, native.constData(), std::size_t(native.size()));
        FConnected = ::connect(FFd, reinterpret_cast<sockaddr *>(&to), sizeof to) == 0;
    }
    ~RawCaller() { ::close(FFd); }
    bool Connected() const { return FConnected; }
    bool Send(const QByteArray &data) {
        return ::send(FFd, data.constData(), std::size_t(data.size()), MSG_NOSIGNAL) ==
               ssize_t(data.size());
    }
    // Runs the message loop until the other side has closed the connection; false when it
    // is still open after `ms`. What came before the end is kept in Received.
    bool WaitForClose(int ms) {
        QDeadlineTimer deadline(ms);
        while (!deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            if (Closed()) return true;
        }
        return false;
    }
    bool Closed() {
        for (;;) {
            char chunk[64];
            const ssize_t got = ::recv(FFd, chunk, sizeof chunk, 0);
            if (got > 0) {
                Received.append(chunk, got);
                continue;
            }
            return got == 0 || (errno != EAGAIN && errno != EWOULDBLOCK);
        }
    }
    QByteArray Received;

private:
    int FFd;
    bool FConnected = false;
};

// For tests of who is dropped rather than when.
constexpr int patientMs = 60000;

void runLoop(int ms) {
    const QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Connects one more caller; `taken` lets the server take it before this returns.
RawCaller &addCaller(std::vector<std::unique_ptr<RawCaller>> &callers, const QString &path,
                     bool taken = true) {
    callers.push_back(std::make_unique<RawCaller>(path));
    EXPECT_TRUE(callers.back()->Connected());
    if (taken) runLoop(10);
    return *callers.back();
}

bool timerRuns(const QObject &server) {
    QObjectList objects = server.children();
    objects << const_cast<QObject *>(&server);
    for (QObject *object : objects)
        if (!QAbstractEventDispatcher::instance()->registeredTimers(object).isEmpty()) return true;
    return false;
}

} // namespace

TEST(UserRuntimeFolder, IsXdgRuntimeDirWhenPrivate) {
    IsolatedFallbacks iso;
    EXPECT_EQ(UserRuntimeFolder(), iso.home().runtimeDir());
}

TEST(UserRuntimeFolder, FallsBackToPrivateFolderWhenXdgRuntimeDirIsMissingOrOpen) {
    IsolatedFallbacks iso;
    for (const bool unset : {true, false}) {
        SCOPED_TRACE(unset ? "unset" : "group-readable");
        if (unset)
            qunsetenv("XDG_RUNTIME_DIR");
        else
            ::chmod(QFile::encodeName(iso.home().runtimeDir()).constData(), 0750);
        EXPECT_EQ(UserRuntimeFolder(), iso.sharedFallback());
        EXPECT_EQ(modeOf(iso.sharedFallback()), 0700u);
        qputenv("XDG_RUNTIME_DIR", iso.home().runtimeDir().toLocal8Bit());
    }
}

TEST(UserRuntimeFolder, AvoidsSharedFallbackTakenBySomebodyElse) {
    IsolatedFallbacks iso;
    qunsetenv("XDG_RUNTIME_DIR");
    const QByteArray squatted = QFile::encodeName(iso.sharedFallback());
    ASSERT_EQ(::mkdir(squatted.constData(), 0777), 0);
    ::chmod(squatted.constData(), 0777);
    if (::geteuid() == 0) { // as root, make it truly another user's
        ASSERT_EQ(::chown(squatted.constData(), 12345, 12345), 0);
    }
    const QString folder = UserRuntimeFolder();
    EXPECT_TRUE(folder.startsWith(iso.home().path() + "/cache/runtime-")) << folder.toStdString();
    EXPECT_EQ(modeOf(folder), 0700u);
}

TEST(UserRuntimePath, EncodesTheNameIntoOneFileName) {
    IsolatedHome home;
    const QString folder = home.runtimeDir() + '/';
    EXPECT_EQ(UserRuntimePath("Tarvo 2.0.OneInstance.Default", ".lock"),
              folder + "Tarvo%202.0.OneInstance.Default.lock");
    EXPECT_EQ(UserRuntimePath("/OPT/TARVO%/TARVO.OneInstance.", ".lock"),
              folder + "%2FOPT%2FTARVO%25%2FTARVO.OneInstance..lock");
}

TEST(UserRuntimePath, UsesDigestWhenTheNameIsTooLong) {
    IsolatedHome home;
    const QString longName = QString(300, u'x');
    const QString lock = UserRuntimePath(longName, ".lock");
    EXPECT_LE(QFileInfo(lock).fileName().toUtf8().size(), 255);
    EXPECT_NE(lock, UserRuntimePath(longName + "y", ".lock"));
    const QString socket = ComeForwardSocketPath(QString(80, u'x'));
    EXPECT_LT(socket.toUtf8().size(), qsizetype(sizeof(sockaddr_un::sun_path)));
    EXPECT_TRUE(socket.startsWith(home.runtimeDir()));
}

TEST(NamedLock, IsHeldByAnotherProcessUntilItDies) {
    IsolatedHome home;
    LockHolder other("lock.test");
    ASSERT_TRUE(other.Held());
    TNamedLock lock("lock.test");
    EXPECT_EQ(lock.TryAcquire(), TNamedLock::TAcquire::Busy);
    EXPECT_FALSE(lock.Held());
    other.Kill();
    EXPECT_EQ(lock.TryAcquire(), TNamedLock::TAcquire::Acquired);
    EXPECT_EQ(lock.TryAcquire(), TNamedLock::TAcquire::Acquired);
}

TEST(NamedLock, ReleaseLetsTheNextTakerIn) {
    IsolatedHome home;
    TNamedLock first("lock.test"), second("lock.test"), other("other.test");
    ASSERT_EQ(first.TryAcquire(), TNamedLock::TAcquire::Acquired);
    EXPECT_EQ(second.TryAcquire(), TNamedLock::TAcquire::Busy);
    EXPECT_EQ(other.TryAcquire(), TNamedLock::TAcquire::Acquired);
    first.Release();
    EXPECT_EQ(second.TryAcquire(), TNamedLock::TAcquire::Acquired);
}

TEST(NamedLock, FailsWithoutPrivateFolder) {
    IsolatedFallbacks iso;
    qunsetenv("XDG_RUNTIME_DIR");
    // Both fallbacks blocked by plain files.
    QFile(iso.sharedFallback()).open(QIODevice::WriteOnly);
    QFile(iso.home().path() + "/cache").remove();
    QDir().rmdir(iso.home().path() + "/cache");
    QFile(iso.home().path() + "/cache").open(QIODevice::WriteOnly);
    TTestFolders folders = TestServices().Folders;
    folders.RuntimeDir = UserRuntimeFolder();
    EXPECT_EQ(folders.RuntimeDir, QString());
    const ScopedPart<TTestFolders> noRuntimeFolder(TestServices().Folders, folders);
    TNamedLock lock("lock.test");
    EXPECT_EQ(lock.TryAcquire(), TNamedLock::TAcquire::Failed);
}

TEST(ComeForward, RequestReachesTheServerAndIsConfirmed) {
    IsolatedHome home;
    int requests = 0;
    QStringList asked;
    TComeForwardServer server("forward.test", [&](const QString &argument) {
        ++requests;
        asked << argument;
    });
    ASSERT_TRUE(server.IsListening());
    EXPECT_EQ(modeOf(ComeForwardSocketPath("forward.test")) & 077, 0u);
    EXPECT_FALSE(timerRuns(server)) << "a timer while nobody is connected";
    const bool confirmed = RequestComeForwardFromOutside("forward.test");
    EXPECT_EQ(requests, 1);
    EXPECT_TRUE(confirmed);
    EXPECT_TRUE(RequestComeForwardFromOutside("forward.test", "verzug"));
    EXPECT_EQ(asked, QStringList({"", "verzug"}));
    requests = 1;
    EXPECT_FALSE(RequestComeForward("nobody.test"));
    // A caller taken before its line came: its deadline runs until it is answered, no longer.
    RawCaller caller(ComeForwardSocketPath("forward.test"));
    runLoop(10);
    EXPECT_TRUE(timerRuns(server));
    ASSERT_TRUE(caller.Send("come-forward\n"));
    EXPECT_TRUE(caller.WaitForClose(2000));
    EXPECT_EQ(caller.Received, "ok\n");
    EXPECT_EQ(requests, 2);
    EXPECT_FALSE(timerRuns(server)) << "a timer left after the caller was answered";
}

TEST(ComeForward, AnythingButTheRequestLineIsCutOffUnanswered) {
    IsolatedHome home;
    int requests = 0;
    TComeForwardServer server("forward.test", [&](const QString &) { ++requests; });
    const struct {
        const char *Case;
        QByteArray Data;
    } cases[] = {
        {"another line", "go-away\n"},
        {"the request run into another word", "come-forwardplease\n"},
        {"the request with an empty argument", "come-forward \n"},
        {"an argument with a control character", "come-forward a\x01b\n"},
        {"an argument that is no UTF-8", "come-forward \xff\n"},
        {"a line longer than 4 KiB", QByteArray(5000, 'x') + "\n"},
        {"4 KiB without a line's end", QByteArray(4096, 'x')},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Case);
        RawCaller caller(ComeForwardSocketPath("forward.test"));
        ASSERT_TRUE(caller.Connected());
        ASSERT_TRUE(caller.Send(c.Data));
        EXPECT_TRUE(caller.WaitForClose(2000));
        EXPECT_EQ(caller.Received, QByteArray());
    }
    EXPECT_EQ(requests, 0);
}

TEST(ComeForward, ANewCallerTakesThePlaceOfTheOneSilentLongest) {
    IsolatedHome home;
    int requests = 0;
    TComeForwardServer server(
        "forward.test", [&](const QString &) { ++requests; }, patientMs);
    const QString path = ComeForwardSocketPath("forward.test");
    std::vector<std::unique_ptr<RawCaller>> callers;
    for (int i = 0; i < 8; ++i)
        addCaller(callers, path);
    // The first has begun its line, so the second is now the one silent longest.
    ASSERT_TRUE(callers[0]->Send("come-"));
    runLoop(10);
    for (int i = 0; i < 3; ++i)
        addCaller(callers, path);
    for (std::size_t i = 0; i < callers.size(); ++i)
        EXPECT_EQ(callers[i]->Closed(), i >= 1 && i <= 3) << "caller " << i;
    ASSERT_TRUE(callers[0]->Send("forward\n"));
    EXPECT_TRUE(callers[0]->WaitForClose(2000));
    EXPECT_EQ(callers[0]->Received, "ok\n");
    EXPECT_EQ(requests, 1);
}

TEST(ComeForward, ACallerWithoutAWholeLineIsDroppedWellWithinASecond) {
    IsolatedHome home;
    int requests = 0;
    TComeForwardServer server("forward.test", [&](const QString &) { ++requests; });
    const QString path = ComeForwardSocketPath("forward.test");
    const QByteArray line = "come-forward\n";
    const struct {
        const char *Case;
        QByteArray AtOnce;
        int ByteEveryMs; // 0: nothing after the first bytes
    } cases[] = {
        {"silent", {}, 0},
        {"half a line", "come-", 0},
        {"a byte every 40 ms", {}, 40},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Case);
        RawCaller caller(path);
        ASSERT_TRUE(caller.Connected());
        QElapsedTimer held;
        held.start();
        ASSERT_TRUE(caller.Send(c.AtOnce));
        qsizetype sent = 0;
        while (!caller.Closed() && held.elapsed() < 2000) {
            if (c.ByteEveryMs && sent < line.size() && held.elapsed() >= sent * c.ByteEveryMs)
                caller.Send(line.mid(sent++, 1));
            runLoop(2);
        }
        EXPECT_TRUE(caller.Closed());
        EXPECT_GE(held.elapsed(), TComeForwardServer::DefaultLineTimeoutMs * 9 / 10);
        EXPECT_LT(held.elapsed(), 1000);
        EXPECT_EQ(caller.Received, QByteArray());
    }
    EXPECT_EQ(requests, 0);
    runLoop(10);
    EXPECT_FALSE(timerRuns(server)) << "a timer after everybody was dropped";
}

// Every slot is held by a silent caller, and more keep coming right after the request.
TEST(ComeForward, ARequestIsAnsweredAmidACrowdOfSilentCallers) {
    IsolatedHome home;
    int requests = 0;
    TComeForwardServer server(
        "forward.test", [&](const QString &) { ++requests; }, patientMs);
    const QString path = ComeForwardSocketPath("forward.test");
    std::vector<std::unique_ptr<RawCaller>> crowd;
    for (int i = 0; i < 8; ++i)
        addCaller(crowd, path);
    RawCaller &asking = addCaller(crowd, path);
    ASSERT_TRUE(asking.Send("come-forward\n"));
    for (int i = 0; i < 100; ++i)
        addCaller(crowd, path, false);
    EXPECT_TRUE(asking.WaitForClose(2000));
    EXPECT_EQ(asking.Received, "ok\n");
    EXPECT_EQ(requests, 1);
}

TEST(ComeForward, TheSocketGoesWithTheServer) {
    IsolatedHome home;
    const QString path = ComeForwardSocketPath("forward.test");
    {
        TComeForwardServer server("forward.test", [](const QString &) {});
        ASSERT_TRUE(QFileInfo::exists(path));
        // A caller still connected when the server goes.
        RawCaller caller(path);
        ASSERT_TRUE(caller.Connected());
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    EXPECT_FALSE(QFileInfo::exists(path));
}
