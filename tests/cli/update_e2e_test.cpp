// tarvo-zins basiszins --aktualisieren against an HTTPS server of the test's own: the recorded
// Bundesbank answer, one with a new half-year, and every way the fetch can fail. A failure ends
// with exit status 1 and one German line naming the address and the reason, and leaves the
// user's rates file as it was, byte for byte.

#include "tests/e2e/copies.h"
#include "tests/support/httpsserver.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

struct TRun {
    int status = -1; // -1: did not end in time, or crashed
    QString out, err;
};

// The server answers from this process's event loop, which runs while tarvo-zins does.
TRun Zins(const QProcessEnvironment &env, const QStringList &arguments) {
    QProcess zins;
    zins.setProcessEnvironment(env);
    zins.start(TARVO_ZINS_EXE, arguments);
    zins.closeWriteChannel();
    if (!QTest::qWaitFor([&] { return zins.state() == QProcess::NotRunning; }, 40000)) {
        zins.kill();
        zins.waitForFinished();
        return {-1, {}, QStringLiteral("(did not end within 40 s)")};
    }
    return {zins.exitStatus() == QProcess::NormalExit ? zins.exitCode() : -1,
            QString::fromUtf8(zins.readAllStandardOutput()),
            QString::fromUtf8(zins.readAllStandardError())};
}

} // namespace

TEST(CliUpdate, TakesOverWhatIsNewAndChangesNothingOnAnyFailure) {
    THttpsServer server;
    if (!server.Ready()) GTEST_SKIP() << server.Reason().toStdString();
    const QByteArray recorded = readAll(TARVO_ENGINE_TEST_DATA "/bbk_download_de.csv");
    ASSERT_TRUE(recorded.endsWith('\n'));
    server.Serve("/aufgezeichnet", {200, recorded});
    server.Serve("/neu", {200, recorded + "2027-01;1,27;\n"});
    server.Serve("/abgebrochen", {200, recorded + "2027-01;1,2"});
    server.Serve("/fehler", {500, "Wartung\n"});
    server.Serve("/langsam", {200, recorded, THttpsServer::THow::Stall});
    server.Serve("/riesig", {200, QByteArray(64 << 10, 'x'), THttpsServer::THow::Endless});

    const QByteArray own = "# meine\n01.07.2026;1,60\n";
    const QString tail = QStringLiteral("Basiszinssätze bis 31.12.2026\n");
    const QString refused = QStringLiteral("https://127.0.0.1:%1/").arg(ClosedPort());
    const QString http = server.Url("/aufgezeichnet").replace("https:", "http:");
    const struct {
        const char *name;
        QString url;
        QByteArray before, after; // the user's file; after: empty for unchanged
        int status;
        QString out, reason = {}; // reason: the German words after the address
        QStringList more = {};    // further arguments, or environment as NAME=value
    } cases[] = {
        {"recorded, own rate corrected", server.Url("/aufgezeichnet"), own, "# meine\n", 0,
         "geändert: 01.07.2026 1,52 % (bisher 1,60 %)\n" + tail},
        {"recorded, nothing new",
         server.Url("/aufgezeichnet"),
         "# meine\n",
         {},
         0,
         "Keine Änderung: Die Basiszinssätze stimmen mit denen der Bundesbank überein.\n" + tail},
        {"a new half-year", server.Url("/neu"), "# meine\n",
         "# meine\n01.01.2027;1,27;Bundesbank\n", 0,
         "neu: 01.01.2027 1,27 %\nBasiszinssätze bis 30.06.2027\n"},
        {"as CSV",
         server.Url("/neu"),
         own,
         "# meine\n01.01.2027;1,27;Bundesbank\n",
         0,
         "ab;basiszinssatz;bisher\r\n01.07.2026;1,52;1,60\r\n01.01.2027;1,27;\r\n",
         {},
         {"--format", "csv"}},
        {"as JSON",
         server.Url("/neu"),
         "# meine\n",
         "# meine\n01.01.2027;1,27;Bundesbank\n",
         0,
         "{\"adresse\": \"" + server.Url("/neu") +
             "\", \"geaendert\": [{\"ab\": \"2027-01-01\", \"basiszinssatz\": \"1.27\", "
             "\"bisher\": null}], \"bis\": \"2027-06-30\"}\n",
         {},
         {"--format", "json"}},
        {"cut short",
         server.Url("/abgebrochen"),
         own,
         {},
         1,
         {},
         "ist in Zeile 20 nicht lesbar: Die letzte Zeile hat kein Zeilenende. Die Datei ist wohl "
         "nicht vollständig heruntergeladen. Es wurde nichts übernommen."},
        {"not found",
         server.Url("/fehlt"),
         own,
         {},
         1,
         {},
         "der Server meldet den Fehler 404 (Not Found)"},
        {"server error",
         server.Url("/fehler"),
         own,
         {},
         1,
         {},
         "der Server meldet den Fehler 500 (Internal Server Error)"},
        {"too large", server.Url("/riesig"), own, {}, 1, {}, "die Antwort ist größer als 16 MiB"},
        {"refused", refused, own, {}, 1, {}, "der Server „127.0.0.1“ nimmt keine Verbindung an"},
        {"untrusted certificate",
         server.Url("/aufgezeichnet"),
         own,
         {},
         1,
         {},
         "das Zertifikat des Servers stammt von keiner vertrauenswürdigen Stelle",
         {"TARVO_BASISZINS_CA="}},
        {"no https", http, own, {}, 1, {}, "nur Adressen mit https:// werden abgerufen"},
        // The system's proxy counts (here from the environment); it is never asked about
        // addresses on this machine.
        {"proxy refusing",
         "https://basiszins.invalid/",
         own,
         {},
         1,
         {},
         QStringLiteral("die Verbindung über den Proxy „127.0.0.1:%1“ scheitert (Proxy "
                        "connection refused)")
             .arg(refused.section(u':', 2).chopped(1)),
         {"https_proxy=http://127.0.0.1:" + refused.section(u':', 2).chopped(1)}},
        // Last: it waits the whole time-out.
        {"slow",
         server.Url("/langsam"),
         own,
         {},
         1,
         {},
         "keine vollständige Antwort innerhalb von 20 Sekunden"},
    };
    for (const auto &c : cases) {
        IsolatedHome home;
        const QString rates = home.dataHome() + "/tarvo/basiszinssaetze.txt";
        writeFile(rates, c.before);
        QProcessEnvironment env = isolatedEnvironment(home);
        for (const char *proxy : {"https_proxy", "HTTPS_PROXY", "all_proxy", "ALL_PROXY",
                                  "http_proxy", "HTTP_PROXY", "no_proxy", "NO_PROXY"})
            env.remove(proxy);
        env.insert("TARVO_BASISZINS_URL", c.url);
        env.insert("TARVO_BASISZINS_CA", server.CaFile());
        QStringList arguments{"basiszins", "--aktualisieren"};
        for (const QString &more : c.more)
            if (more.contains(u'='))
                env.insert(more.section(u'=', 0, 0), more.section(u'=', 1));
            else
                arguments << more;
        const TRun run = Zins(env, arguments);
        EXPECT_EQ(run.status, c.status) << c.name << ": " << run.err.toStdString();
        EXPECT_EQ(run.out, c.out) << c.name;
        if (c.status == 0) {
            EXPECT_EQ(run.err, "") << c.name;
        } else if (QString(c.reason).startsWith("ist in Zeile")) {
            EXPECT_EQ(run.err, "tarvo-zins: --aktualisieren: Die Antwort von „" + c.url + "“ " +
                                   c.reason + "\n")
                << c.name;
        } else {
            EXPECT_EQ(run.err, "tarvo-zins: --aktualisieren: Die Basiszinssätze lassen sich nicht "
                               "von „" +
                                   c.url + "“ laden: " + c.reason + ". Es wurde nichts geändert.\n")
                << c.name;
        }
        EXPECT_EQ(readAll(rates), c.after.isEmpty() ? c.before : c.after) << c.name;
        if (c.status != 0) {
            EXPECT_EQ(QDir(home.dataHome() + "/tarvo").entryList(QDir::Files),
                      QStringList("basiszinssaetze.txt"))
                << c.name << ": nothing beside the file";
        }
    }
}

// No command but --aktualisieren goes near the network: the others answer without the module.
TEST(CliUpdate, OtherCommandsLeaveTheNetworkAlone) {
    IsolatedHome home;
    QProcessEnvironment env = isolatedEnvironment(home);
    env.insert("LD_DEBUG", "files");
    const TRun run = Zins(env, {"basiszins", "15.03.2025"});
    EXPECT_EQ(run.status, 0);
    EXPECT_FALSE(run.err.contains("libQt6Network")) << "Qt Network was loaded";
    EXPECT_FALSE(run.err.contains("tarvo-download")) << "the download module was loaded";
    EXPECT_TRUE(run.err.contains("libQt6Core")) << "LD_DEBUG showed nothing";
}
