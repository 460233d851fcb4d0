#pragma once
// A copy of a program started for a test, with isolated storage and the traces that show from
// outside which windows it shows and whether it was asked to come forward.

#include "tests/support/fixtures.h"

#include <QElapsedTimer>
#include <QProcess>
#include <functional>

constexpr const char *windowShown = "window shown:";
constexpr const char *cameForward = "come forward:";

// The environment of a program started on the test's folders, the settings folder given or
// the home's own.
inline QProcessEnvironment isolatedEnvironment(const IsolatedHome &home,
                                               const QString &configHome = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("XDG_CONFIG_HOME", configHome.isEmpty() ? home.configHome() : configHome);
    env.insert("XDG_CONFIG_DIRS", home.machineConfig());
    env.insert("XDG_DATA_HOME", home.dataHome());
    env.insert("XDG_RUNTIME_DIR", home.runtimeDir());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("QT_LOGGING_RULES", "platform.window.debug=true;tarvo.oneinstance.debug=true");
    return env;
}

// Starts at once; a copy still running at the end of the test is killed.
class Copy {
public:
    // childSetup runs in the new process just before the program starts.
    Copy(const QString &program, const QProcessEnvironment &env,
         const std::function<void()> &childSetup = {}, const QStringList &arguments = {}) {
        FProcess.setProgram(program);
        FProcess.setArguments(arguments);
        FProcess.setProcessEnvironment(env);
        if (childSetup) FProcess.setChildProcessModifier(childSetup);
        FProcess.setReadChannel(QProcess::StandardError);
        FProcess.start();
        FProcess.waitForStarted(5000);
    }
    ~Copy() {
        FProcess.kill();
        FProcess.waitForFinished(5000);
    }

    // Looks at the process itself: the state QProcess keeps is only updated by its waits.
    bool Running() {
        return FProcess.state() != QProcess::NotRunning && !FProcess.waitForFinished(0);
    }
    // What the copy wrote to its error output so far.
    const QString &Trace() {
        FTrace += QString::fromUtf8(FProcess.readAllStandardError());
        return FTrace;
    }
    bool WaitForTrace(const QString &text, int timeoutMs) {
        QElapsedTimer timer;
        timer.start();
        while (!Trace().contains(text)) {
            const int left = timeoutMs - int(timer.elapsed());
            if (left <= 0) return false;
            if (!FProcess.waitForReadyRead(left) && !Running()) return Trace().contains(text);
        }
        return true;
    }
    bool WaitForEnd(int timeoutMs) { return !Running() || FProcess.waitForFinished(timeoutMs); }
    // Ended by itself, successfully.
    bool EndedCleanly() {
        return !Running() && FProcess.exitStatus() == QProcess::NormalExit &&
               FProcess.exitCode() == 0;
    }
    void KillHard() {
        FProcess.kill(); // SIGKILL: no chance to release anything
        FProcess.waitForFinished(5000);
    }
    // SIGTERM, as a session ending or a plain kill sends it.
    void Terminate() { FProcess.terminate(); }
    qint64 Pid() const { return FProcess.processId(); }

private:
    QProcess FProcess;
    QString FTrace;
};
