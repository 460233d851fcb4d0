// The bar as a screen reader finds it on the desktop's accessibility bus: a private X display,
// a private D-Bus session with the AT-SPI bus on it, the program with its accessibility on,
// and a probe (atspi_probe.py, through pyatspi) that reads the bar's tree and presses
// Berechnen through its action.

#include "tests/e2e/copies.h"
#include "tests/e2e/xdisplay.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>

namespace {

// The session bus and the launcher of the AT-SPI bus on it, ended with the test.
class OnAccessibilityBus : public OnXDisplay {
protected:
    void SetUp() override {
        OnXDisplay::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        const QString launcher = QStandardPaths::findExecutable(
            "at-spi-bus-launcher", {"/usr/libexec", "/usr/lib/at-spi2-core"});
        QProcess pyatspi; // the system's Python, which the Debian package serves
        pyatspi.start("/usr/bin/python3", {"-c", "import pyatspi"});
        if (QStandardPaths::findExecutable("dbus-daemon").isEmpty() || launcher.isEmpty() ||
            !pyatspi.waitForFinished(10000) || pyatspi.exitCode() != 0)
            GTEST_SKIP() << "dbus-daemon, at-spi-bus-launcher or python3-pyatspi is missing "
                            "(tools/setup.sh --tests installs them)";
        session.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        ASSERT_TRUE(session.waitForReadyRead(5000)) << "no session bus";
        env = x.Environment(home);
        env.insert("DBUS_SESSION_BUS_ADDRESS", QString::fromUtf8(session.readLine()).trimmed());
        env.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
        env.insert("QT_ACCESSIBILITY", "1");
        busLauncher.setProcessEnvironment(env);
        busLauncher.start(launcher, {"--launch-immediately"});
    }
    void TearDown() override {
        for (QProcess *process : {&busLauncher, &session}) {
            process->terminate();
            if (!process->waitForFinished(3000)) process->kill();
        }
    }

    QProcess session, busLauncher;
    QProcessEnvironment env;
};

TEST_F(OnAccessibilityBus, AReaderFindsTheNamedBarAndCalculatesThroughBerechnen) {
    Copy tarvo(TARVO_EXE, env);
    ASSERT_TRUE(tarvo.WaitForTrace(QStringLiteral("%1 TForm1").arg(windowShown), 10000))
        << tarvo.Trace().toStdString();
    x.Click(x.Window(QStringLiteral("Tarvo 2.3 Freeware")), 8 + 40, 22 + 8); // the amount
    x.Xdotool({"type", "--delay", "20", "1000"});
    x.Xdotool({"key", "Return"});
    x.Xdotool({"type", "--delay", "20", "15012005"});
    x.Xdotool({"key", "Return"});
    x.Xdotool({"type", "--delay", "20", "15032005"}); // the end date keeps the focus

    QProcess probe;
    probe.setProcessEnvironment(env);
    probe.start("/usr/bin/python3", {ATSPI_PROBE});
    ASSERT_TRUE(probe.waitForFinished(20000));
    EXPECT_EQ(probe.exitCode(), 0) << probe.readAllStandardError().toStdString();
    const QStringList lines =
        QString::fromUtf8(probe.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    // depth|role|name|key binding (in German, as Qt names keys under its translations)|labelled by
    for (const char *line :
         {"0|frame|Tarvo 2.3 Freeware||", "1|push button|Berechnen|F9|",
          "1|push button|Ende|Strg+Q|", "1|push button|Einstellungen|Strg+,|",
          "1|text|Betrag||Betrag", "1|text|Anfangsdatum||Zinszeitraum / Zinstage",
          "2|push button|Kalender öffnen|F4|", "1|label|0,00||Zinsbetrag", "result|16,40"})
        EXPECT_TRUE(lines.contains(QString::fromUtf8(line))) << line << "\n"
                                                             << lines.join(u'\n').toStdString();
    EXPECT_FALSE(lines.join(u'\n').contains("|filler|"));
    QString clipboard;
    EXPECT_TRUE(Eventually([&] { return (clipboard = x.Run(DISPLAY_PROBE_EXE, {})) == "16,40"; }))
        << clipboard.toStdString();
}

// Qt's own dialogs speak German: the file dialog's buttons as a screen reader reads them.
TEST_F(OnAccessibilityBus, TheFileDialogSpeaksGerman) {
    Copy tarvo(TARVO_EXE, env, {}, {"--verzug"});
    ASSERT_TRUE(tarvo.WaitForTrace(QStringLiteral("%1 TVerzugForm").arg(windowShown), 10000))
        << tarvo.Trace().toStdString();
    x.Xdotool({"windowfocus", "--sync", x.Window(QStringLiteral("Verzugszinsen – Tarvo"))});
    // The first worked case, then CSV speichern.
    for (const QStringList &step : QList<QStringList>{{"type", "3089"},
                                                      {"key", "Tab"},
                                                      {"type", "17042025"},
                                                      {"key", "Tab"},
                                                      {"type", "20022026"},
                                                      {"key", "Return"},
                                                      {"key", "alt+c"}})
        x.Xdotool(step);
    const QString title = QStringLiteral("Zinsaufstellung als CSV speichern");
    ASSERT_FALSE(x.Window(title).isEmpty()) << tarvo.Trace().toStdString();
    QProcess probe;
    probe.setProcessEnvironment(env);
    probe.start("/usr/bin/python3", {ATSPI_PROBE, "buttons", title});
    ASSERT_TRUE(probe.waitForFinished(20000));
    EXPECT_EQ(probe.exitCode(), 0) << probe.readAllStandardError().toStdString();
    const QStringList names =
        QString::fromUtf8(probe.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    for (const char *name :
         {"Speichern", "Abbrechen", "Übergeordnetes Verzeichnis", "Neuen Ordner erstellen"})
        EXPECT_TRUE(names.contains(QString::fromUtf8(name))) << name << "\n"
                                                             << names.join(u'\n').toStdString();
    x.Xdotool({"key", "Escape"});
}

} // namespace
