// The settings dialog in the running program, clicked with a real pointer on a private X
// display: a formula chosen there survives the end with Ende and a new start.

#include "platform/registry.h"
#include "tests/e2e/copies.h"
#include "tests/support/fixtures.h"

#include <QStandardPaths>
#include <QThread>
#include <gtest/gtest.h>

namespace {

const QString Key = QStringLiteral("SOFTWARE\\Morvane Software\\Tarvo");

class SettingsDialogInTheProgram : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char *tool : {"Xvfb", "xdotool"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_SKIP() << tool << " is not installed (tools/setup.sh installs it)";
        // The server names its display on the given descriptor once it accepts clients.
        server.start(QStringLiteral("Xvfb"),
                     {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                      QStringLiteral("0"), QStringLiteral("1024x768x24"),
                      QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        while (display.isEmpty() && server.waitForReadyRead(10000))
            display = QString::fromLatin1(server.readAllStandardOutput()).trimmed();
        ASSERT_FALSE(display.isEmpty()) << "Xvfb did not start";
        display.prepend(u':');
    }
    void TearDown() override {
        server.terminate();
        server.waitForFinished(5000);
    }

    std::unique_ptr<Copy> Start() {
        QProcessEnvironment env = isolatedEnvironment(home.configHome(), home.runtimeDir());
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        env.insert(QStringLiteral("DISPLAY"), display);
        auto tarvo = std::make_unique<Copy>(TARVO_EXE, env);
        EXPECT_TRUE(tarvo->WaitForTrace(QStringLiteral("%1 TForm1").arg(windowShown), 10000))
            << tarvo->Trace().toStdString();
        return tarvo;
    }
    QString Xdotool(const QStringList &arguments) {
        QProcess tool;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display);
        tool.setProcessEnvironment(env);
        tool.start(QStringLiteral("xdotool"), arguments);
        tool.waitForFinished(10000);
        return QString::fromLatin1(tool.readAllStandardOutput()).trimmed();
    }
    // The shown window with this title, waited for.
    QString Window(const QString &title) {
        for (int i = 0; i < 100; ++i) {
            const QString id = Xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                        QStringLiteral("--name"), u'^' + title + u'$'});
            if (!id.isEmpty()) return id.section(u'\n', 0, 0);
            QThread::msleep(100);
        }
        return {};
    }
    // A left click at a point of the window's client area.
    void ClickAt(const QString &window, int x, int y) {
        Xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window,
                 QString::number(x), QString::number(y), QStringLiteral("click"),
                 QStringLiteral("1")});
    }
    // Einstellungen on the bar; the dialog once it is there.
    QString OpenSettings(Copy &tarvo, const QString &bar) {
        ClickAt(bar, 467 + 30, 2 + 7);
        EXPECT_TRUE(tarvo.WaitForTrace(QStringLiteral("%1 TForm3").arg(windowShown), 10000));
        return Window(QStringLiteral("Tarvo Einstellungen"));
    }
    void EndWithEnde(Copy &tarvo, const QString &bar) {
        ClickAt(bar, 587 + 20, 19 + 7);
        ASSERT_TRUE(tarvo.WaitForEnd(10000));
        EXPECT_TRUE(tarvo.EndedCleanly()) << tarvo.Trace().toStdString();
    }
    int StoredFormula() {
        TRegistry reg;
        EXPECT_TRUE(reg.OpenKey(Key, false));
        return reg.ReadInteger(QStringLiteral("formel"));
    }

    IsolatedHome home;
    QProcess server;
    QString display;
};

TEST_F(SettingsDialogInTheProgram, EnglischeChosenThereIsStillChosenAfterARestart) {
    {
        std::unique_ptr<Copy> tarvo = Start();
        const QString bar = Window(QStringLiteral("Tarvo 2.3 Freeware"));
        ASSERT_FALSE(bar.isEmpty());
        const QString dialog = OpenSettings(*tarvo, bar);
        ASSERT_FALSE(dialog.isEmpty());
        ClickAt(dialog, 208 + 30, 200 + 8); // englische
        ClickAt(dialog, 112 + 47, 240 + 7); // Speichern
        EndWithEnde(*tarvo, bar);
    }
    EXPECT_EQ(StoredFormula(), 2);
    // The dialog opens on what was stored: saving it unchanged keeps englische.
    std::unique_ptr<Copy> tarvo = Start();
    const QString bar = Window(QStringLiteral("Tarvo 2.3 Freeware"));
    const QString dialog = OpenSettings(*tarvo, bar);
    ASSERT_FALSE(dialog.isEmpty());
    ClickAt(dialog, 112 + 47, 240 + 7);
    EndWithEnde(*tarvo, bar);
    EXPECT_EQ(StoredFormula(), 2);
}

} // namespace
