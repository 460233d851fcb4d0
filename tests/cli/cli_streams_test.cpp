// The built tarvo-zins with its standard streams as a shell gives them to a script: a full
// device, a full disk, closed streams, a reader that goes away, and input that never ends or
// has no end of line. Each run has a time-out that fails the test instead of hanging it, and
// the oversized cases a bound on the program's peak memory.

#include "tests/e2e/copies.h"
#include "tests/support/smalldisk.h"

#include <QFile>
#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <functional>
#include <iostream>
#include <spawn.h>
#include <sys/ptrace.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr qint64 MiB = 1024 * 1024;
// What the program may hold at its peak whatever the input: its own few MiB of blocks and
// buffers, Qt and the threads' stacks, with room to spare.
constexpr qint64 PeakBoundKiB = 64 * 1024;

struct TChildStreams {
    int In = -1;  // standard input; -1: /dev/null, -2: closed
    int Out = -1; // standard output; -1: a file read back, -2: closed
    bool IgnorePipeSignal = false;
    int StopAfterMs = 0; // for input without end: how long to let it run before it is killed
};

struct TChild {
    int Status = -1; // the exit status; -1 after a signal
    bool TimedOut = false;
    bool Stopped = false; // still running when StopAfterMs was over
    qint64 PeakKiB = 0;
    QByteArray Out, Err;
};

// The high-water mark of the resident memory as /proc shows it while the process runs.
qint64 VmHWM(pid_t pid) {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

QByteArray ReadBack(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs tarvo-zins on the home's folders with the streams given, for at most `seconds`.
TChild RunChild(const IsolatedHome &home, const QStringList &arguments,
                const TChildStreams &streams, int seconds = 60) {
    QList<QByteArray> argv{TARVO_ZINS_EXE};
    if (streams.IgnorePipeSignal)
        argv = {"/bin/sh", "-c", "trap '' PIPE; exec \"$0\" \"$@\"", TARVO_ZINS_EXE};
    for (const QString &argument : arguments)
        argv << argument.toUtf8();
    QProcessEnvironment env = isolatedEnvironment(home);
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    QList<QByteArray> envp;
    for (const QString &entry : env.toStringList())
        envp << entry.toUtf8();
    std::vector<char *> argvp, envpp;
    for (QByteArray &a : argv)
        argvp.push_back(a.data());
    argvp.push_back(nullptr);
    for (QByteArray &e : envp)
        envpp.push_back(e.data());
    envpp.push_back(nullptr);

    const QString outPath = home.path() + "/child.out", errPath = home.path() + "/child.err";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (streams.In == -2)
        posix_spawn_file_actions_addclose(&actions, 0);
    else if (streams.In == -1)
        posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    else
        posix_spawn_file_actions_adddup2(&actions, streams.In, 0);
    const QByteArray outName = QFile::encodeName(outPath), errName = QFile::encodeName(errPath);
    if (streams.Out == -2)
        posix_spawn_file_actions_addclose(&actions, 1);
    else if (streams.Out == -1)
        posix_spawn_file_actions_addopen(&actions, 1, outName.constData(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
    else
        posix_spawn_file_actions_adddup2(&actions, streams.Out, 1);
    posix_spawn_file_actions_addopen(&actions, 2, errName.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, pipeSignal;
    sigemptyset(&none);
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &pipeSignal);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    pid_t pid = 0;
    const int spawned =
        posix_spawn(&pid, argvp[0], &actions, &attributes, argvp.data(), envpp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    TChild child;
    if (spawned != 0) {
        ADD_FAILURE() << "posix_spawn: " << spawned;
        return child;
    }

    // The peak is VmHWM in /proc, read while the program runs and, exactly, in the stop a
    // tracer gets when the program ends, before its memory is gone. (The kernel's ru_maxrss
    // would not do: it keeps the spawning test's own mark across the exec.)
    const bool traced = ptrace(PTRACE_SEIZE, pid, nullptr, PTRACE_O_TRACEEXIT) == 0;
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    for (;;) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG | __WALL) == pid) {
            if (WIFSTOPPED(status)) {
                const bool exiting = status >> 8 == (SIGTRAP | (PTRACE_EVENT_EXIT << 8));
                if (exiting) child.PeakKiB = std::max(child.PeakKiB, VmHWM(pid));
                ptrace(PTRACE_CONT, pid, nullptr, exiting ? 0 : WSTOPSIG(status));
                continue;
            }
            child.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            break;
        }
        child.PeakKiB = std::max(child.PeakKiB, VmHWM(pid));
        const auto elapsed = Clock::now() - start;
        child.Stopped =
            streams.StopAfterMs > 0 && elapsed > std::chrono::milliseconds(streams.StopAfterMs);
        child.TimedOut = elapsed > std::chrono::seconds(seconds);
        if (child.Stopped || child.TimedOut) {
            kill(pid, SIGKILL);
            // A killed tracee still stops on its way out.
            while (waitpid(pid, &status, __WALL) == pid && WIFSTOPPED(status))
                ptrace(PTRACE_CONT, pid, nullptr, 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(traced ? 5 : 1));
    }
    if (streams.Out == -1) child.Out = ReadBack(outPath);
    child.Err = ReadBack(errPath);
    return child;
}

// Writes what `next` gives into a pipe from a thread of its own until it gives nothing or the
// reader goes away, then closes the pipe; the read end is for the child.
class TFeeder {
public:
    explicit TFeeder(std::function<QByteArray()> next) {
        int ends[2];
        EXPECT_EQ(::pipe2(ends, O_CLOEXEC), 0);
        ReadEnd = ends[0];
        FThread = std::thread([write = ends[1], next = std::move(next)] {
            // A reader that went away fails the write instead of signalling the test.
            sigset_t pipeSignal;
            sigemptyset(&pipeSignal);
            sigaddset(&pipeSignal, SIGPIPE);
            pthread_sigmask(SIG_BLOCK, &pipeSignal, nullptr);
            for (QByteArray chunk = next(); !chunk.isEmpty(); chunk = next())
                if (::write(write, chunk.constData(), size_t(chunk.size())) != chunk.size()) break;
            ::close(write);
        });
    }
    ~TFeeder() {
        ::close(ReadEnd);
        FThread.join();
    }
    TFeeder(const TFeeder &) = delete;
    TFeeder &operator=(const TFeeder &) = delete;

    int ReadEnd = -1;

private:
    std::thread FThread;
};

// The pieces one after the other, `repeat` given as count × piece (count < 0: for ever).
std::function<QByteArray()> Pieces(QList<std::pair<qint64, QByteArray>> pieces) {
    return [pieces = std::move(pieces), at = qsizetype(0), done = qint64(0)]() mutable {
        while (at < pieces.size() && pieces[at].first >= 0 && done >= pieces[at].first) {
            ++at;
            done = 0;
        }
        if (at >= pieces.size()) return QByteArray();
        ++done;
        return pieces[at].second;
    };
}

QByteArray ZinsenRows(int count) {
    QByteArray rows = "betrag;von;bis;satz\n";
    for (int i = 0; i < count; ++i)
        rows += "1000;15.01.2005;15.03.2005;10\n";
    return rows;
}

QString WriteFile(const IsolatedHome &home, const QString &name, const QByteArray &content) {
    QFile file(home.path() + u'/' + name);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return file.fileName();
}

int OpenRead(const QString &path) {
    return ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
}

// Every failed write ends the run with exit status 1 and one German line saying why; a batch
// stops at the first one, and an input that cannot be read is named.
TEST(CliStreams, AFailedWriteOrReadIsReportedNeverSuccess) {
    IsolatedHome home;
    const QString batch = WriteFile(home, "batch.csv", ZinsenRows(200000));
    const QStringList single{"zinsen", "1000", "15.01.2005", "15.03.2005", "10"};
    const QStringList many{"zinsen", "--csv", batch};
    int noReader[2];
    ASSERT_EQ(::pipe2(noReader, O_CLOEXEC), 0);
    ::close(noReader[0]);
    const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(full, 0);
    const QString written = "tarvo-zins: Standardausgabe: Schreiben nicht möglich: ";
    const struct {
        const char *what;
        QStringList arguments;
        TChildStreams streams;
        QString err;
    } cases[] = {
        {"/dev/full", single, {-1, full}, written + "kein Platz mehr auf dem Datenträger\n"},
        {"a batch to /dev/full",
         many,
         {-1, full},
         written + "kein Platz mehr auf dem Datenträger\n"},
        {"closed", single, {-1, -2}, written + "die Ausgabe ist geschlossen\n"},
        {"help, closed", {"--help"}, {-1, -2}, written + "die Ausgabe ist geschlossen\n"},
        {"no reader, SIGPIPE ignored",
         many,
         {-1, noReader[1], true},
         written + "der Empfänger hat die Verbindung beendet\n"},
        {"closed input",
         {"zinsen", "--csv", "-"},
         {-2, -1},
         "tarvo-zins: --csv: Die Standardeingabe lässt sich nicht zu Ende lesen: die Eingabe ist "
         "geschlossen\n"},
    };
    for (const auto &c : cases) {
        const TChild child = RunChild(home, c.arguments, c.streams);
        EXPECT_FALSE(child.TimedOut) << c.what;
        EXPECT_EQ(child.Status, 1) << c.what;
        EXPECT_EQ(QString::fromUtf8(child.Err), c.err) << c.what;
    }
    ::close(noReader[1]);
    ::close(full);
}

// 200,000 rows onto a disk of 1 MiB: the output ends where the disk is full, and so does the
// run, with the reason.
TEST(CliStreams, AFullDiskEndsTheBatchWithTheReason) {
    IsolatedHome home;
    TSmallDisk disk(MiB);
    if (!disk.Mounted()) GTEST_SKIP() << disk.Reason.toStdString();
    const int in = OpenRead(WriteFile(home, "batch.csv", ZinsenRows(200000)));
    const int out = ::open(QFile::encodeName(disk.File("out.txt")).constData(),
                           O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    const TChild child = RunChild(home, {"zinsen", "--csv", "-"}, {in, out});
    ::close(in);
    ::close(out);
    EXPECT_EQ(child.Status, 1);
    EXPECT_EQ(QString::fromUtf8(child.Err), "tarvo-zins: Standardausgabe: Schreiben nicht "
                                            "möglich: kein Platz mehr auf dem Datenträger\n");
    EXPECT_LE(QFileInfo(disk.File("out.txt")).size(), MiB);
}

// Input without end, without a line break, or with a quote left open: an error row for the
// record at the limit and the batch goes on, the header's faults stop it; memory stays
// bounded throughout.
TEST(CliStreams, HostileInputKeepsMemoryBoundedAndTheBatchGoing) {
    IsolatedHome home;
    const QByteArray header = "betrag;von;bis;satz\n", row = "1000;15.01.2005;15.03.2005;10\n";
    const QByteArray zeros(MiB, '\0'), letters(MiB, 'a');
    QByteArray quoted = header + "\"" + row;
    const int rows = 200000;
    for (int i = 1; i < rows; ++i)
        quoted += row;
    const struct {
        const char *what;
        std::function<QByteArray()> input; // nothing: /dev/zero
        int stopAfterMs;
        int status;
        QByteArray firstErr; // the first line of the error output
        int outLines;        // rows and header
    } cases[] = {
        {"/dev/zero", {}, 0, 2, "tarvo-zins: Zeile 1: die Kopfzeile ist länger als 1 MiB", 0},
        {"a header of 100 MB", Pieces({{1, "betrag;von;"}, {100, letters}, {1, "\n" + row}}), 0, 2,
         "tarvo-zins: Zeile 1: die Kopfzeile ist länger als 1 MiB", 0},
        {"a header of a million columns", Pieces({{1, QByteArray(MiB, ';') + "\n"}}), 0, 2,
         "tarvo-zins: Zeile 1: die Kopfzeile hat mehr als 16384 Spalten", 0},
        {"a row of 100 MB of NUL bytes", Pieces({{1, header}, {100, zeros}, {1, "\n" + row}}), 0, 1,
         "tarvo-zins: Zeile 2: die Zeile ist länger als 1 MiB", 3},
        {"a quote left open in row 2 of 200,000", Pieces({{1, quoted}}), 0, 1,
         "tarvo-zins: Zeile 2: der Eintrag ist länger als 1 MiB, wohl weil ein Anführungszeichen "
         "nicht geschlossen wird (weiter mit der nächsten Zeile)",
         rows + 1},
        {"NUL bytes for ever", Pieces({{1, header}, {-1, zeros}}), 2000, -1, "", 0},
    };
    for (const auto &c : cases) {
        std::optional<TFeeder> feeder;
        if (c.input) feeder.emplace(c.input);
        const int in = c.input ? feeder->ReadEnd : ::open("/dev/zero", O_RDONLY | O_CLOEXEC);
        const TChild child = RunChild(home, {"zinsen", "--csv", "-", "--format", "csv"},
                                      {in, -1, false, c.stopAfterMs});
        if (!c.input) ::close(in);
        feeder.reset();
        std::cout << "[   peak   ] " << c.what << ": " << child.PeakKiB << " KiB\n";
        EXPECT_FALSE(child.TimedOut) << c.what;
        EXPECT_EQ(child.Stopped, c.stopAfterMs > 0) << c.what << ": ended early";
        EXPECT_EQ(child.Status, c.status) << c.what;
        EXPECT_EQ(child.Err.split('\n').value(0), c.firstErr) << c.what;
        EXPECT_EQ(child.Out.count('\n'), c.outLines) << c.what;
        if (!ResidentMemoryUnchecked()) {
            EXPECT_LE(child.PeakKiB, PeakBoundKiB) << c.what;
        }
    }
}

} // namespace
