#pragma once
// A private X display (Xvfb, no window manager) for tests of the whole program, and xdotool
// on it for a real pointer and keyboard.

#include <QProcess>
#include <QThread>

class XServer {
public:
    XServer() {
        FProcess.setProgram(QStringLiteral("Xvfb"));
        // The server names its display on the given descriptor once it accepts clients.
        FProcess.setArguments(
            {"-displayfd", "1", "-screen", "0", "1280x800x24", "-nolisten", "tcp"});
        FProcess.start();
        if (FProcess.waitForStarted(5000) && FProcess.waitForReadyRead(10000))
            FDisplay = u':' + QString::fromLatin1(FProcess.readLine()).trimmed();
    }
    ~XServer() {
        FProcess.terminate();
        FProcess.waitForFinished(5000);
    }
    const QString &Display() const { return FDisplay; }

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
    // A left click at a point of the window's inside.
    void Click(const QString &window, int x, int y) const {
        Xdotool({"mousemove", "--window", window, QString::number(x), QString::number(y), "click",
                 "1"});
    }

private:
    QProcess FProcess;
    QString FDisplay;
};
