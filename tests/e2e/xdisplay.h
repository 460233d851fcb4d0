#pragma once
// A private X display (Xvfb, no window manager) for tests of the whole program, the program
// started on it with private settings folders, and xdotool on it for a real pointer and
// keyboard.

#include "tests/e2e/copies.h"
#include "tests/support/fixtures.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QRect>
#include <QRegularExpression>
#include <QSize>
#include <QStandardPaths>
#include <QThread>
#include <functional>
#include <memory>

class XServer {
public:
    // The tools a test on the display needs, or the first one missing.
    static QString MissingTool() {
        for (const char *tool : {"Xvfb", "xdotool", "xprop"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                return QString::fromLatin1(tool);
        return {};
    }

    explicit XServer(QSize screen = QSize(1280, 800)) {
        FProcess.setProgram(QStringLiteral("Xvfb"));
        // The server names its display on the given descriptor once it accepts clients.
        FProcess.setArguments({"-displayfd", "1", "-screen", "0",
                               QStringLiteral("%1x%2x24").arg(screen.width()).arg(screen.height()),
                               "-nolisten", "tcp"});
        FProcess.start();
        if (FProcess.waitForStarted(5000) && FProcess.waitForReadyRead(10000))
            FDisplay = u':' + QString::fromLatin1(FProcess.readLine()).trimmed();
    }
    ~XServer() { Stop(); }
    void Stop() {
        FProcess.terminate();
        FProcess.waitForFinished(5000);
    }
    const QString &Display() const { return FDisplay; }

    // The program's environment on this display, with the home's settings folders and no
    // session to talk to.
    QProcessEnvironment Environment(const IsolatedHome &home) const {
        QProcessEnvironment env = isolatedEnvironment(home);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("DISPLAY"), FDisplay);
        env.remove(QStringLiteral("WAYLAND_DISPLAY"));
        env.remove(QStringLiteral("SESSION_MANAGER"));
        return env;
    }
    // The program, started and waited for until its bar is shown.
    std::unique_ptr<Copy> StartTarvo(const IsolatedHome &home, const QStringList &arguments = {},
                                     const QProcessEnvironment &extra = {}) const {
        QProcessEnvironment env = Environment(home);
        for (const QString &name : extra.keys())
            env.insert(name, extra.value(name));
        auto tarvo = std::make_unique<Copy>(TARVO_EXE, env, std::function<void()>(), arguments);
        EXPECT_TRUE(tarvo->WaitForTrace(QStringLiteral("%1 TForm1").arg(windowShown), 10000))
            << tarvo->Trace().toStdString();
        return tarvo;
    }

    // Runs a program on this display; gives its output.
    QString Run(const QString &program, const QStringList &arguments) const {
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), FDisplay);
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        tool.setProcessEnvironment(env);
        tool.start(program, arguments);
        tool.waitForFinished(10000);
        return QString::fromUtf8(tool.readAllStandardOutput()).trimmed();
    }
    QString Xdotool(const QStringList &arguments) const {
        return Run(QStringLiteral("xdotool"), arguments);
    }
    // The shown windows whose title is exactly this one.
    QStringList Windows(const QString &title) const {
        const QString ids = Xdotool({"search", "--onlyvisible", "--name", u'^' + title + u'$'});
        return ids.isEmpty() ? QStringList{} : ids.split(u'\n');
    }
    // The one shown window with this title, waited for; empty if none came.
    QString Window(const QString &title) const {
        for (int i = 0; i < 100; ++i) {
            const QStringList ids = Windows(title);
            if (!ids.isEmpty()) return ids.first();
            QThread::msleep(100);
        }
        return {};
    }
    // Where the window stands on the screen, and its size, without the window manager's frame.
    QRect Geometry(const QString &window) const {
        const QString text = Xdotool({"getwindowgeometry", window});
        const auto match =
            QRegularExpression(
                QStringLiteral("Position: (-?\\d+),(-?\\d+).*Geometry: (\\d+)x(\\d+)"),
                QRegularExpression::DotMatchesEverythingOption)
                .match(text);
        if (!match.hasMatch()) return {};
        return QRect(match.captured(1).toInt(), match.captured(2).toInt(),
                     match.captured(3).toInt(), match.captured(4).toInt());
    }
    // A left click at a point of the window's inside.
    void Click(const QString &window, int x, int y) const {
        Xdotool({"mousemove", "--window", window, QString::number(x), QString::number(y), "click",
                 "1"});
    }

private:
    QProcess FProcess;
    QString FDisplay;
};

// The program answers the pointer and keys in its own time.
inline bool Eventually(const std::function<bool()> &condition) {
    for (int i = 0; i < 50; ++i) {
        if (condition()) return true;
        QThread::msleep(100);
    }
    return false;
}

// A test of the whole program on its own display, skipped where the tools are missing.
class OnXDisplay : public ::testing::Test {
protected:
    void SetUp() override {
        if (const QString tool = XServer::MissingTool(); !tool.isEmpty())
            GTEST_SKIP() << tool.toStdString()
                         << " is not installed (tools/setup.sh --tests installs it)";
        ASSERT_FALSE(x.Display().isEmpty()) << "Xvfb did not start";
    }
    std::unique_ptr<Copy> Start() { return x.StartTarvo(home); }

    IsolatedHome home;
    XServer x;
};
