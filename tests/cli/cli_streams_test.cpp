// The built tarvo-zins with its standard streams as a shell gives them to a script: a full
// device, a full disk, closed streams, a reader that goes away, and input that never ends or
// has no end of line. Each run has a time-out that fails the test instead of hanging it, and
// the oversized cases a bound on the program's peak memory.

#include "tests/e2e/copies.h"
#include "tests/support/smalldisk.h"

#include <QFile>
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <iostream>
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

// Puts `fd` on the standard stream `target`: -1 is /dev/null, -2 a closed stream. Safe to call
// between fork and exec.
void Redirect(int fd, int target, int flags) {
    if (fd == -2) {
        ::close(target);
        return;
    }
    if (fd == -1) fd = ::open("/dev/null", flags);
    ::dup2(fd, target);
}

// Runs tarvo-zins on the home's folders with the streams given, for at most `seconds`.
TChild RunChild(const IsolatedHome &home, const QStringList &arguments,
                const TChildStreams &streams, int seconds = 60) {
    QList<QByteArray> argv{TARVO_ZINS_EXE}, envp;
    for (const QString &argument : arguments)
        argv << argument.toUtf8();
    QProcessEnvironment env = isolatedEnvironment(home);
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    for (const QString &entry : env.toStringList())
        envp << entry.toUtf8();
    std::vector<char *> argvp, envpp;
    for (QByteArray &a : argv)
        argvp.push_back(a.data());
    for (QByteArray &e : envp)
        envpp.push_back(e.data());
    argvp.push_back(nullptr);
    envpp.push_back(nullptr);
    const QString outPath = home.path() + "/child.out", errPath = home.path() + "/child.err";
    const int out = streams.Out != -1 ? streams.Out
                                      : ::open(QFile::encodeName(outPath).constData(),
                                               O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const int err = ::open(QFile::encodeName(errPath).constData(),
                           O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    TChild child;
    // Closed by the exec: from then on the process's memory is the program's, not the test's.
    int exec[2];
    EXPECT_EQ(::pipe2(exec, O_CLOEXEC), 0);
    const pid_t pid = fork();
    if (pid == 0) {
        Redirect(streams.In, 0, O_RDONLY);
        Redirect(out, 1, O_WRONLY);
        Redirect(err, 2, O_WRONLY);
        ::signal(SIGPIPE, streams.IgnorePipeSignal ? SIG_IGN : SIG_DFL);
        ::execve(argvp[0], argvp.data(), envpp.data());
        ::_exit(127);
    }
    if (streams.Out == -1) ::close(out);
    ::close(err);
    ::close(exec[1]);
    char none;
    while (::read(exec[0], &none, 1) < 0 && errno == EINTR) {
    }
    ::close(exec[0]);

    // The peak is VmHWM in /proc, read while the program runs and, exactly, in the stop a
    // tracer gets when the program ends, before its memory is gone. (The kernel's ru_maxrss
    // would not do: it keeps the forking test's own mark across the exec.)
    // (The leak checker of a sanitized build traces the program itself at its end.)
    const bool traced =
        !ResidentMemoryUnchecked() && ptrace(PTRACE_SEIZE, pid, nullptr, PTRACE_O_TRACEEXIT) == 0;
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

QByteArray ZinsenRows(int count) {
    QByteArray rows = "betrag;von;bis;satz\n";
    for (int i = 0; i < count; ++i)
        rows += "1000;15.01.2005;15.03.2005;10\n";
    return rows;
}

// A file of the pieces, each after a hole of so many bytes, which reads as NUL bytes and takes
// no room on the disk.
QString WriteFile(const IsolatedHome &home, const QString &name,
                  const QList<std::pair<qint64, QByteArray>> &holesAndPieces) {
    QFile file(home.path() + u'/' + name);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    for (const auto &[hole, piece] : holesAndPieces) {
        file.seek(file.pos() + hole);
        file.write(piece);
    }
    return file.fileName();
}

int OpenRead(const QString &path) {
    return ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
}

// Every failed write ends the run with exit status 1 and one German line saying why; a batch
// stops at the first one, and an input that cannot be read is named.
TEST(CliStreams, AFailedWriteOrReadIsReportedNeverSuccess) {
    IsolatedHome home;
    const QString batch = WriteFile(home, "batch.csv", {{0, ZinsenRows(200000)}});
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
    const int in = OpenRead(WriteFile(home, "batch.csv", {{0, ZinsenRows(200000)}}));
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
    const int rows = 200000;
    const QByteArray quoted = header + "\"" + ZinsenRows(rows).mid(header.size());
    const struct {
        const char *what;
        QList<std::pair<qint64, QByteArray>> input; // nothing: /dev/zero
        int stopAfterMs;
        int status;
        QByteArray firstErr; // the first line of the error output
        int outLines;        // rows and header
    } cases[] = {
        {"/dev/zero", {}, 0, 2, "tarvo-zins: Zeile 1: die Kopfzeile ist länger als 1 MiB", 0},
        {"a header of 100 MB",
         {{0, "betrag;von;"}, {100 * MiB, "\n" + row}},
         0,
         2,
         "tarvo-zins: Zeile 1: die Kopfzeile ist länger als 1 MiB",
         0},
        {"a header of a million columns",
         {{0, QByteArray(MiB, ';') + "\n"}},
         0,
         2,
         "tarvo-zins: Zeile 1: die Kopfzeile hat mehr als 16384 Spalten",
         0},
        {"a row of 100 MB of NUL bytes",
         {{0, header}, {100 * MiB, "\n" + row}},
         0,
         1,
         "tarvo-zins: Zeile 2: die Zeile ist länger als 1 MiB",
         3},
        {"a quote left open in row 2 of 200,000",
         {{0, quoted}},
         0,
         1,
         "tarvo-zins: Zeile 2: der Eintrag ist länger als 1 MiB, wohl weil ein Anführungszeichen "
         "nicht geschlossen wird (weiter mit der nächsten Zeile)",
         rows + 1},
        {"64 GiB of NUL bytes, stopped after 2 s",
         {{0, header}, {64 * 1024 * MiB, "\n"}},
         2000,
         -1,
         "",
         0},
    };
    for (const auto &c : cases) {
        const QString path = c.input.isEmpty() ? "/dev/zero" : WriteFile(home, "in.csv", c.input);
        const int in = OpenRead(path);
        const TChild child = RunChild(home, {"zinsen", "--csv", "-", "--format", "csv"},
                                      {in, -1, false, c.stopAfterMs});
        ::close(in);
        QFile::remove(home.path() + "/in.csv");
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
