// The built tarvo-zins under the law of the case: Austrian and Swiss default interest with their
// published figures, the rules each law refuses by their option, a batch whose rows name their
// law; and forderung on a case file, byte for byte as the statement's golden files, from a file
// and from standard input, with its refusals.

#include "tests/e2e/copies.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

namespace {

struct TRun {
    int status = -1;
    QByteArray out;
    QString err;
};

TRun Zins(const IsolatedHome &home, const QStringList &arguments, const QByteArray &input = {}) {
    QProcess zins;
    zins.setProcessEnvironment(isolatedEnvironment(home));
    zins.start(TARVO_ZINS_EXE, arguments);
    zins.write(input);
    zins.closeWriteChannel();
    if (!zins.waitForFinished(60000)) return {};
    return {zins.exitStatus() == QProcess::NormalExit ? zins.exitCode() : -1,
            zins.readAllStandardOutput(), QString::fromUtf8(zins.readAllStandardError())};
}

QByteArray FileBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

const QString CaseFile = QStringLiteral(TARVO_ENGINE_TEST_DATA "/mueller-schmidt.tarvo");
const QString Golden = QStringLiteral(TARVO_GOLDEN_DIR "/forderung/mueller-schmidt/tarvo-zins.");

} // namespace

// Published figures: CHF 10'000 at 5 % over 30, 90 and 365 actual days / 360; Austria's
// business rate over 2023 (11,08 % then 12,58 %); the rule and day count each law takes
// without being told.
TEST(CliLaw, GivesEachLawsFigures) {
    IsolatedHome home;
    const struct {
        QStringList arguments;
        const char *interest, *total, *rate;
    } cases[] = {
        {{"10000", "01.01.2025", "30.01.2025", "--recht", "ch", "--tage", "act360"},
         "41.67",
         "10041.67",
         "5.00"},
        {{"10000", "01.01.2025", "31.03.2025", "--recht", "ch", "--tage", "act360"},
         "125.00",
         "10125.00",
         "5.00"},
        {{"10000", "01.01.2025", "31.12.2025", "--recht", "ch", "--tage", "act360"},
         "506.94",
         "10506.94",
         "5.00"},
        // Swiss usance by default: 28.02. ends February's own 28 days, 58 days in all.
        {{"10000", "01.01.2025", "28.02.2025", "--recht", "ch"}, "80.56", "10080.56", "5.00"},
        {{"10000", "01.01.2025", "31.03.2025", "--recht", "CH", "--satz", "7,5"},
         "187.50",
         "10187.50",
         "7.50"},
        {{"10.000", "01.01.2023", "31.12.2023", "--recht", "at", "--unternehmer"},
         "1183.62",
         "11183.62",
         "12.58"},
        // Interest from 16.03.2013 or earlier: a contract before 16.03.2013, 8 points.
        {{"10000", "01.01.2013", "30.06.2013", "--recht", "at", "--unternehmer"},
         "415.56",
         "10415.56",
         "8.38"},
        {{"10000", "01.01.2025", "31.12.2025", "--recht", "at"}, "400.00", "10400.00", "4.00"},
        {{"10000", "01.01.2023", "31.12.2023", "--recht", "at", "--unternehmer", "--pauschale"},
         "1183.62",
         "11223.62",
         "12.58"},
    };
    for (const auto &c : cases) {
        const QStringList arguments =
            QStringList{"verzug"} + c.arguments + QStringList{"--format", "json"};
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        const TRun run = Zins(home, arguments);
        ASSERT_EQ(run.status, 0) << run.err.toStdString();
        const QJsonObject json = QJsonDocument::fromJson(run.out).object();
        EXPECT_EQ(json.value("summe").toString(), c.interest);
        EXPECT_EQ(json.value("gesamt").toString(), c.total);
        const QJsonArray periods = json.value("perioden").toArray();
        EXPECT_EQ(periods.last().toObject().value("zinssatz").toString(), c.rate);
    }
    const TRun swiss = Zins(home, {"verzug", "10000", "01.01.2025", "31.03.2025", "--recht", "ch"});
    EXPECT_TRUE(swiss.out.contains("Recht:         Schweiz\nForderung:     CHF 10.000,00\n"))
        << swiss.out.toStdString();
    EXPECT_TRUE(swiss.out.contains("5,00 % (Art. 104 Abs. 1 OR)"));
    EXPECT_FALSE(swiss.out.contains("Basiszinssätze")) << "no base rate under Swiss law";
    const TRun austrian = Zins(home, {"verzug", "10000", "01.01.2023", "31.12.2023", "--recht",
                                      "at", "--unternehmer", "--pauschale"});
    for (const char *shown :
         {"Basiszinssatz + 9,2 Prozentpunkte (§ 456 UGB)",
          "Pauschale nach § 458 UGB:", "EUR 11.223,62", "Österreichische Basiszinssätze bis"})
        EXPECT_TRUE(austrian.out.contains(shown)) << shown;
}

// A rule the law does not have is named by its option (usage, 2) or, in a batch, by its row.
TEST(CliLaw, RefusesWhatTheLawDoesNotHave) {
    IsolatedHome home;
    const struct {
        QStringList arguments;
        int status;
        const char *reported;
    } cases[] = {
        {{"--recht", "ch", "--verbraucher"},
         2,
         "--verbraucher: gibt es nach Schweizer Recht nicht; ohne Zinsregel gelten 5 % (Art. 104 "
         "Abs. 1 OR), ein höherer vertraglicher Satz mit --satz"},
        {{"--recht", "ch", "--aufschlag", "2"}, 2, "--aufschlag: gibt es nach Schweizer Recht"},
        {{"--recht", "ch", "--pauschale"}, 2, "--pauschale: gibt es nach Schweizer Recht nicht"},
        {{"--recht", "at", "--verbraucher"}, 2, "--verbraucher: gibt es nach österreichischem"},
        {{"--recht", "at", "--unternehmer", "--vor-2014"},
         2,
         "--vor-2014: gilt nur nach deutschem Recht; nach österreichischem: --vor-2013"},
        {{"--recht", "at", "--vor-2013"}, 2, "--vor-2013: gilt nur mit --unternehmer"},
        {{"--unternehmer", "--vor-2013"}, 2, "--vor-2013: gilt nur nach österreichischem Recht"},
        {{"--recht", "fr", "--satz", "5"}, 2, "--recht: „fr“ ist kein Recht (de, at oder ch)"},
        {{"--recht", "de"}, 2, "verzug: es fehlt eine von --verbraucher"},
        {{"--recht", "ch", "--tage", "actact"}, 1, "--tage: Nach Schweizer Recht"},
        {{"--recht", "at", "--tage", "30360ch"}, 1, "--tage: "},
    };
    for (const auto &c : cases) {
        const QStringList arguments =
            QStringList{"verzug", "1000", "01.01.2025", "31.03.2025"} + c.arguments;
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        const TRun run = Zins(home, arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(run.err.startsWith("tarvo-zins: " + QString::fromUtf8(c.reported)))
            << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    const TRun batch = Zins(home, {"verzug", "--csv", "-", "--format", "csv"},
                            "betrag;von;bis;recht;unternehmer;satz\n"
                            "10000;01.01.2023;31.12.2023;at;ja;\n"
                            "10000;01.01.2025;31.12.2025;ch;;\n"
                            "10000;01.01.2025;31.12.2025;ch;ja;\n"
                            "10000;01.01.2025;31.12.2025;;;4\n");
    EXPECT_EQ(batch.status, 1);
    const QList<QByteArray> rows = batch.out.split('\n');
    ASSERT_GE(rows.size(), 5) << batch.out.toStdString();
    EXPECT_TRUE(rows[1].startsWith("2;10000,00;01.01.2023;31.12.2023;2;1183,62;"));
    EXPECT_TRUE(rows[2].startsWith("3;10000,00;01.01.2025;31.12.2025;1;500,00;")) << "30/360";
    EXPECT_TRUE(rows[3].contains("unternehmer: gibt es nach Schweizer Recht nicht"));
    EXPECT_TRUE(rows[4].startsWith("5;10000,00;01.01.2025;31.12.2025;1;400,00;"));
}

// The statement of a case file, as the renderer's golden files have it, from a file and from a
// pipe; the statement day moved; and each refusal naming the file, the key or the line.
TEST(CliForderung, PrintsTheCaseFilesStatementAndRefusesBrokenFiles) {
    IsolatedHome home;
    for (const char *format : {"text", "json"}) {
        SCOPED_TRACE(format);
        const TRun file = Zins(home, {"forderung", CaseFile, "--format", format});
        EXPECT_EQ(file.status, 0) << file.err.toStdString();
        EXPECT_EQ(file.out, FileBytes(Golden + QLatin1String(format)));
        const TRun piped = Zins(home, {"forderung", "-", "--format", format}, FileBytes(CaseFile));
        EXPECT_EQ(piped.out, file.out);
    }
    const TRun csv = Zins(home, {"forderung", CaseFile, "--format", "csv"});
    EXPECT_TRUE(csv.out.startsWith("Bezeichnung;Müller ./. Schmidt\r\n"));
    EXPECT_TRUE(csv.out.contains("Gesamt;4.648,51 €\r\n"));
    EXPECT_TRUE(Zins(home, {"forderung", CaseFile, "--format", "csv", "--bom"})
                    .out.startsWith("\xEF\xBB\xBF"
                                    "Bezeichnung;"));
    const QJsonObject later =
        QJsonDocument::fromJson(
            Zins(home, {"forderung", CaseFile, "--stichtag", "31.12.2026", "--format", "json"}).out)
            .object();
    EXPECT_EQ(later.value("stichtag").toString(), "2026-12-31");
    EXPECT_EQ(later.value("zinsen_offen").toString(), "630.15")
        << "the half-year's period now 184 days: 214,59 instead of 186,60";

    const QString broken = home.path() + "/kaputt.tarvo";
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(FileBytes(CaseFile).replace("\"4250.00\"", "\"4250,00\""));
    file.close();
    const struct {
        QStringList arguments;
        QByteArray input;
        int status;
        QString reported;
    } refusals[] = {
        {{"forderung", broken},
         {},
         1,
         "DATEI: Die Datei „" + broken +
             "“ ist keine lesbare Forderungsaufstellung: Forderung 1, „betrag“ „4250,00“ ist keine "
             "Zahl der Form „4250.00“."},
        {{"forderung", home.path() + "/fehlt.tarvo"}, {}, 1, "DATEI: Die Datei „"},
        {{"forderung", "-"},
         "{\"format\": \"tarvo-forderung\",\n\"version\": 1,,}",
         1,
         "Standardeingabe: Zeile 2:"},
        {{"forderung", "-"},
         "{\"format\": \"tarvo-forderung\", \"version\": 2}",
         1,
         "Standardeingabe: Die Datei hat die Version 2"},
        {{"forderung", CaseFile, "--stichtag", "01.01.2020"},
         {},
         1,
         "--stichtag: Der Stichtag (01.01.2020) liegt vor dem ersten Zinsbeginn"},
        {{"forderung", CaseFile, "--stichtag", "31.02.2026"}, {}, 1, "--stichtag: „31.02.2026“"},
        {{"forderung"}, {}, 2, "DATEI: fehlt"},
        {{"forderung", CaseFile, "zwei.tarvo"}, {}, 2, "zwei.tarvo: unerwartetes Argument"},
        {{"forderung", CaseFile, "--csv", "x.csv"}, {}, 2, "--csv: unbekannte Option"},
        {{"forderung", CaseFile, "--verbraucher"}, {}, 2, "--verbraucher: unbekannte Option"},
    };
    for (const auto &c : refusals) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const TRun run = Zins(home, c.arguments, c.input);
        EXPECT_EQ(run.status, c.status);
        EXPECT_TRUE(run.err.startsWith("tarvo-zins: " + c.reported)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
}
