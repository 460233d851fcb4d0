// The program's command line: help and version are printed without a display and without
// touching the settings; anything else it does not know is refused with status 2, and so is a
// case file that is not there.

#include "tests/support/fixtures.h"

#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

TEST(CommandLine, HelpAndVersionNeedNoDisplayAndUnknownArgumentsAreRefused) {
    IsolatedHome home;
    const struct {
        QStringList arguments;
        int status;
        QString printed;  // the start of standard output
        QString reported; // the first line of standard error
    } cases[] = {
        {{"--help"}, 0, "Aufruf: tarvo [Option] [DATEI.tarvo]\n", ""},
        {{"-h"}, 0, "Aufruf: tarvo [Option] [DATEI.tarvo]\n", ""},
        {{"--version"}, 0, "Tarvo 2.3\n", ""},
        {{"-v", "--bogus"}, 0, "Tarvo 2.3\n", ""},
        {{"--bogus"}, 2, "", "tarvo: unbekannte Option „--bogus“"},
        {{"-x"}, 2, "", "tarvo: unbekannte Option „-x“"},
        // One case file, and one that is there.
        {{"Rechnung.txt"}, 2, "", "tarvo: die Datei „Rechnung.txt“ gibt es nicht"},
        {{"/"}, 2, "", "tarvo: „/“ ist keine Datei"},
        {{"--verzug", "a.tarvo", "b.tarvo"}, 2, "", "tarvo: unerwartetes Argument „b.tarvo“"},
    };
    for (const auto &c : cases) {
        QProcess tarvo;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        // Help and version must not need the display; the refusals run offscreen.
        env.remove("DISPLAY");
        env.remove("WAYLAND_DISPLAY");
        if (c.status == 2)
            env.insert("QT_QPA_PLATFORM", "offscreen");
        else
            env.remove("QT_QPA_PLATFORM");
        tarvo.setProcessEnvironment(env);
        tarvo.start(TARVO_EXE, c.arguments);
        ASSERT_TRUE(tarvo.waitForFinished(10000));
        const QString what = c.arguments.join(u' ');
        EXPECT_EQ(tarvo.exitCode(), c.status) << what.toStdString();
        const QString printed = QString::fromUtf8(tarvo.readAllStandardOutput());
        EXPECT_EQ(printed.left(c.printed.size()), c.printed) << what.toStdString();
        EXPECT_EQ(printed.isEmpty(), c.printed.isEmpty()) << what.toStdString();
        const QStringList errors = QString::fromUtf8(tarvo.readAllStandardError()).split(u'\n');
        EXPECT_TRUE(c.reported.isEmpty() || errors.contains(c.reported)) << what.toStdString();
    }
    EXPECT_TRUE(QDir(home.configHome()).isEmpty()) << "no settings were touched";
}

} // namespace
