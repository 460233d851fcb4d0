// The bar as a screen reader finds it on the desktop's accessibility bus: a private X display,
// a private D-Bus session with the AT-SPI bus on it, the program with its accessibility
// switched on, and a probe (atspi_probe.py, through pyatspi) that reads the bar's tree and
// presses Berechnen through its action.

#include "tests/e2e/copies.h"
#include "tests/e2e/xdisplay.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>

namespace {

// The system's Python first: pyatspi comes as a Debian package.
QString PythonWithPyatspi() {
    for (const QString &python :
         {QStringLiteral("/usr/bin/python3"), QStandardPaths::findExecutable("python3")}) {
        if (python.isEmpty()) continue;
        QProcess probe;
        probe.start(python, {"-c", "import pyatspi"});
        if (probe.waitForFinished(10000) && probe.exitStatus() == QProcess::NormalExit &&
            probe.exitCode() == 0)
            return python;
    }
    return {};
}

QString BusLauncher() {
    return QStandardPaths::findExecutable(
        "at-spi-bus-launcher",
        {"/usr/libexec", "/usr/lib/at-spi2-core", "/usr/libexec/at-spi2-core", "/usr/bin"});
}

// A session bus of the test's own, and the AT-SPI bus the launcher starts on it; both end
// with the test.
class AccessibilityBus {
public:
    explicit AccessibilityBus(const QString &display) {
        FSession.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (FSession.waitForStarted(5000) && FSession.waitForReadyRead(5000))
            FAddress = QString::fromUtf8(FSession.readLine()).trimmed();
        if (FAddress.isEmpty()) return;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DBUS_SESSION_BUS_ADDRESS", FAddress);
        env.insert("DISPLAY", display);
        FLauncher.setProcessEnvironment(env);
        FLauncher.start(BusLauncher(), {"--launch-immediately"});
        FLauncher.waitForStarted(5000);
    }
    ~AccessibilityBus() {
        for (QProcess *process : {&FLauncher, &FSession}) {
            process->terminate();
            if (!process->waitForFinished(3000)) process->kill();
            process->waitForFinished(3000);
        }
    }
    const QString &Address() const { return FAddress; }

private:
    QProcess FSession, FLauncher;
    QString FAddress;
};

class OnAccessibilityBus : public OnXDisplay {
protected:
    void SetUp() override {
        OnXDisplay::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        python = PythonWithPyatspi();
        if (QStandardPaths::findExecutable("dbus-daemon").isEmpty() || BusLauncher().isEmpty() ||
            python.isEmpty())
            GTEST_SKIP() << "dbus-daemon, at-spi-bus-launcher or python3-pyatspi is missing "
                            "(tools/setup.sh --tests installs them)";
        bus = std::make_unique<AccessibilityBus>(x.Display());
        ASSERT_FALSE(bus->Address().isEmpty()) << "no session bus";
        env = x.Environment(home);
        env.insert("DBUS_SESSION_BUS_ADDRESS", bus->Address());
        env.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
        env.insert("QT_ACCESSIBILITY", "1");
    }
    // The probe's lines.
    QStringList Probe() {
        QProcess probe;
        probe.setProcessEnvironment(env);
        probe.start(python, {ATSPI_PROBE});
        EXPECT_TRUE(probe.waitForFinished(20000));
        EXPECT_EQ(probe.exitCode(), 0) << probe.readAllStandardError().toStdString();
        return QString::fromUtf8(probe.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    }

    QString python;
    std::unique_ptr<AccessibilityBus> bus;
    QProcessEnvironment env;
};

TEST_F(OnAccessibilityBus, AReaderFindsTheNamedBarAndCalculatesThroughBerechnen) {
    Copy tarvo(TARVO_EXE, env);
    ASSERT_TRUE(tarvo.WaitForTrace(QStringLiteral("%1 TForm1").arg(windowShown), 10000))
        << tarvo.Trace().toStdString();
    const QString bar = x.Window(QStringLiteral("Tarvo 2.3 Freeware"));
    ASSERT_FALSE(bar.isEmpty());
    x.Click(bar, 8 + 40, 22 + 8); // the amount; the end date keeps the focus
    for (const char *text : {"1000", "15012005"}) {
        x.Xdotool({"type", "--delay", "20", text});
        x.Xdotool({"key", "Return"});
    }
    x.Xdotool({"type", "--delay", "20", "15032005"});

    const QStringList lines = Probe();
    const QString expected[] = {
        "0|frame|Tarvo 2.3 Freeware||",
        "1|push button|Berechnen|F9|",
        "1|push button|Ende|Ctrl+Q|",
        "1|push button|Einstellungen|Ctrl+,|",
        "1|text|Betrag||Betrag",
        "1|text|Anfangsdatum||Zinszeitraum / Zinstage",
        "2|push button|Kalender öffnen|F4|",
        "1|text|Zinssatz||Zinssatz",
        "1|label|0,00||Zinsbetrag",
        "result|16,40",
    };
    for (const QString &line : expected)
        EXPECT_TRUE(lines.contains(line)) << line.toStdString() << "\n"
                                          << lines.join(u'\n').toStdString();
    for (const QString &line : lines)
        EXPECT_FALSE(line.contains("|filler|")) << line.toStdString();
    QString clipboard;
    EXPECT_TRUE(Eventually([&] { return (clipboard = x.Run(DISPLAY_PROBE_EXE, {})) == "16,40"; }))
        << clipboard.toStdString();
}

} // namespace
