// The built tarvo-zins as a whole program: the worked cases of the bar and of the
// default-interest window in every format, parsed back; batches with a bad row; the exit
// status; the libraries it loads; the bar's stored formula and the user's base rates; and the
// same day label and interest as the bar's calculation for 10,000 random cases.

#include "cli/batch.h"
#include "editors/numedit_p.h"
#include "engine/fixedtext.h"
#include "engine/interest.h"
#include "platform/base/fixedpoint.h"
#include "platform/base/numtext.h"
#include "platform/core/registry.h"
#include "report/amounts.h"
#include "settings/storedsettings.h"
#include "tests/e2e/copies.h"

#include <QBuffer>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

#include <random>

#include <sys/stat.h>

namespace {

struct TProgramRun {
    int status = -1;
    QString out, err;
};

// Runs tarvo-zins without a display, on the home's folders.
TProgramRun Zins(const IsolatedHome &home, const QStringList &arguments,
                 const QByteArray &input = {}) {
    QProcessEnvironment env = isolatedEnvironment(home);
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(name);
    QProcess zins;
    zins.setProcessEnvironment(env);
    zins.start(TARVO_ZINS_EXE, arguments);
    zins.write(input);
    zins.closeWriteChannel();
    if (!zins.waitForFinished(120000)) return {};
    return {zins.exitStatus() == QProcess::NormalExit ? zins.exitCode() : -1,
            QString::fromUtf8(zins.readAllStandardOutput()),
            QString::fromUtf8(zins.readAllStandardError())};
}

// The records of CSV output, read as a spreadsheet would.
QList<QStringList> CsvRecords(const QString &text) {
    QBuffer buffer;
    buffer.setData(text.toUtf8());
    buffer.open(QIODevice::ReadOnly);
    TCsvReader reader(buffer);
    QList<QStringList> records;
    QStringList fields;
    qint64 line = 0;
    TRecordFault fault = TRecordFault::None;
    while (reader.Next(fields, line, fault))
        records << fields;
    return records;
}

QJsonObject JsonObject(const QString &line) {
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(line.toUtf8(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError) << line.toStdString();
    return document.object();
}

QStringList Lines(const QString &text) {
    return text.split(u'\n', Qt::SkipEmptyParts);
}

struct TBarResult {
    int days;
    const char *interest;
};

// The bar's worked cases, in each formula and format; amounts, rates and dates written in the
// ways the command line reads.
TEST(CliProgram, GivesTheBarsWorkedCasesInEveryFormat) {
    IsolatedHome home;
    const struct {
        const char *amount, *from, *to, *rate;
        int difference;
        TBarResult results[3]; // euro, deutsche, englische
    } cases[] = {
        // clang-format off
        {"1000", "15.01.2005", "15.03.2005", "10", 59,
         {{59, "16,40"}, {60, "16,67"}, {59, "16,16"}}},
        {"1.000", "2005-01-15", "10.3.05", "10 %", 54,
         {{54, "15,01"}, {55, "15,28"}, {54, "14,79"}}},
        {"1000", "15.01.2005", "10.02.2005", "10", 26,
         {{26, "7,23"}, {25, "6,94"}, {26, "7,12"}}},
        {"1000,00", "31.01.2005", "28.02.2005", "10,0", 28,
         {{28, "7,78"}, {29, "8,06"}, {28, "7,67"}}},
        {"1000", "1.1.04", "28.2.04", "10", 58,
         {{58, "16,12"}, {59, "16,39"}, {58, "15,85"}}},
        {"1000.00", "01.12.2005", "31.01.2006", "10", 61,
         {{61, "16,96"}, {60, "16,67"}, {61, "16,71"}}},
        {"1000", "2003-12-15", "2004-01-15", "10", 31,
         {{31, "8,62"}, {30, "8,33"}, {31, "8,48"}}},
        {"1.000,00", "15.06.2003", "15.06.2006", "10", 1096,
         {{1096, "304,65"}, {1080, "300,00"}, {1096, "300,00"}}},
        {"1000", "02.05.2005", "01.05.2005", "10", -1,
         {{0, "0,00"}, {0, "0,00"}, {0, "0,00"}}},
        {"2.500", "01.01.2005", "02.05.2005", "7.5", 121,
         {{121, "63,06"}, {121, "63,02"}, {121, "62,16"}}},
        {"1000", "01.01.2005", "31.12.2005", "10", 364,
         {{364, "101,18"}, {360, "100,00"}, {364, "99,73"}}},
        {"1000", "31.12.2004", "01.01.2005", "10", 1,
         {{1, "0,28"}, {0, "0,00"}, {1, "0,27"}}},
        {"1000", "01.01.1800", "02.05.2005", "10", 74996,
         {{74996, "20846,49"}, {73921, "20533,61"}, {74996, "20533,15"}}},
        // clang-format on
    };
    const QStringList formulas{"euro", "deutsche", "englische"};
    for (const auto &c : cases) {
        for (int f = 0; f < 3; ++f) {
            const TBarResult &r = c.results[f];
            const QString label = QStringLiteral("( %1 / %2 Tage )").arg(c.difference).arg(r.days);
            const QStringList arguments{"zinsen", c.amount,   c.from,     c.to,
                                        c.rate,   "--formel", formulas[f]};
            SCOPED_TRACE(arguments.join(u' ').toStdString());

            const TProgramRun text = Zins(home, arguments);
            EXPECT_EQ(text.status, 0);
            EXPECT_EQ(text.out, label + "  " + r.interest + "\n");

            const TProgramRun csv = Zins(home, arguments + QStringList{"--format", "csv"});
            EXPECT_EQ(CsvRecords(csv.out),
                      (QList<QStringList>{{"tage", "zinstage", "zinsen", "formel"},
                                          {QString::number(c.difference), QString::number(r.days),
                                           r.interest, formulas[f]}}));

            const TProgramRun json = Zins(home, arguments + QStringList{"--format", "json"});
            const QJsonObject object = JsonObject(json.out);
            EXPECT_EQ(object.value("tage").toInt(), c.difference);
            EXPECT_EQ(object.value("zinstage").toInt(), r.days);
            EXPECT_EQ(object.value("zinsen").toString(), QString(r.interest).replace(',', '.'));
            EXPECT_EQ(object.value("formel").toString(), formulas[f]);
        }
    }
    EXPECT_TRUE(QDir(home.configHome()).isEmpty()) << "no settings file made";
}

struct TPeriodFigures {
    const char *from, *to;
    int days;
    const char *base, *margin, *rate, *interest;
};

TEST(CliProgram, GivesTheDefaultInterestWorkedCasesInEveryFormat) {
    IsolatedHome home;
    const std::vector<TPeriodFigures> business{
        {"2023-01-16", "2023-06-30", 166, "1.62", "9.00", "10.62", "482.99"},
        {"2023-07-01", "2023-12-31", 184, "3.12", "9.00", "12.12", "610.98"},
        {"2024-01-01", "2024-06-30", 182, "3.62", "9.00", "12.62", "629.27"},
        {"2024-07-01", "2024-12-31", 184, "3.37", "9.00", "12.37", "623.58"},
        {"2025-01-01", "2025-06-30", 181, "2.27", "9.00", "11.27", "558.87"},
        {"2025-07-01", "2025-10-02", 94, "1.27", "9.00", "10.27", "264.49"}};
    std::vector<TPeriodFigures> actual = business;
    actual[2].interest = "627.55";
    actual[3].interest = "621.88";
    const struct {
        QStringList arguments;
        std::vector<TPeriodFigures> periods;
        const char *sum, *perDay, *total;
    } cases[] = {
        {{"3.089,00", "17.04.2025", "20.02.2026", "--verbraucher"},
         {{"2025-04-17", "2025-06-30", 75, "2.27", "5.00", "7.27", "46.14"},
          {"2025-07-01", "2025-12-31", 184, "1.27", "5.00", "6.27", "97.64"},
          {"2026-01-01", "2026-02-20", 51, "1.27", "5.00", "6.27", "27.06"}},
         "170.84",
         "0.53",
         "3259.84"},
        {{"10.000,00", "16.01.2023", "02.10.2025", "--unternehmer"},
         business,
         "3170.18",
         "2.81",
         "13170.18"},
        {{"10000", "2023-01-16", "2025-10-02", "--unternehmer", "--tage", "actact"},
         actual,
         "3166.76",
         "2.81",
         "13166.76"},
    };
    for (const auto &c : cases) {
        const QStringList arguments = QStringList{"verzug"} + c.arguments;
        SCOPED_TRACE(arguments.join(u' ').toStdString());
        const QJsonObject json =
            JsonObject(Zins(home, arguments + QStringList{"--format", "json"}).out);
        const QJsonArray periods = json.value("perioden").toArray();
        ASSERT_EQ(periods.size(), qsizetype(c.periods.size()));
        const QList<QStringList> csv =
            CsvRecords(Zins(home, arguments + QStringList{"--format", "csv"}).out);
        ASSERT_EQ(csv.size(), qsizetype(c.periods.size()) + 6);
        EXPECT_EQ(csv[0], (QStringList{"von", "bis", "tage", "basiszinssatz", "aufschlag",
                                       "zinssatz", "zinsen"}));
        const QStringList text = Lines(Zins(home, arguments).out);
        for (std::size_t i = 0; i < c.periods.size(); ++i) {
            const TPeriodFigures &p = c.periods[i];
            const QJsonObject period = periods[qsizetype(i)].toObject();
            EXPECT_EQ(period.value("von").toString(), p.from);
            EXPECT_EQ(period.value("bis").toString(), p.to);
            EXPECT_EQ(period.value("tage").toInt(), p.days);
            EXPECT_EQ(period.value("basiszinssatz").toString(), p.base);
            EXPECT_EQ(period.value("aufschlag").toString(), p.margin);
            EXPECT_EQ(period.value("zinssatz").toString(), p.rate);
            EXPECT_EQ(period.value("zinsen").toString(), p.interest);
            const QString german = QString(p.interest).replace('.', ',');
            const QString from = QDate::fromString(p.from, Qt::ISODate).toString("dd.MM.yyyy");
            EXPECT_EQ(csv[qsizetype(i) + 1][0], from);
            EXPECT_EQ(csv[qsizetype(i) + 1][6], german);
            EXPECT_TRUE(std::any_of(text.begin(), text.end(), [&](const QString &line) {
                return line.startsWith(from) && line.endsWith(" " + german);
            })) << from.toStdString();
        }
        EXPECT_EQ(json.value("summe").toString(), c.sum);
        EXPECT_EQ(json.value("je_tag").toString(), c.perDay);
        EXPECT_EQ(json.value("pauschale").toString(), "0.00");
        EXPECT_EQ(json.value("gesamt").toString(), c.total);
        const QString sum = QString(c.sum).replace('.', ',');
        EXPECT_TRUE(csv.contains(QStringList{"summe", "", "", "", "", "", sum}));
        const QString interest = EuroText(QString(c.sum).remove('.').toLongLong());
        EXPECT_TRUE(std::any_of(text.begin(), text.end(), [&](const QString &line) {
            return line.startsWith("Zinsen:") && line.endsWith(" " + interest);
        })) << interest.toStdString();
    }
}

// A bad row in the middle gives an error row with its line and a message; the rows around it
// are calculated, and the status says that one failed.
TEST(CliProgram, BatchKeepsGoingPastABadRow) {
    IsolatedHome home;
    const QByteArray zinsen = "betrag;von;bis;satz;formel\n"
                              "1000;15.01.2005;15.03.2005;10;deutsche\n"
                              "1000;15.01.2005;10.03.2005;10;\n"
                              "1000;15.01.2005;30.02.2005;10;\n"
                              "\"2.500,00\";01.01.2005;02.05.2005;7,5;englische\n";
    const QByteArray verzug = "betrag;von;bis;verbraucher;unternehmer;tage\n"
                              "3089;17.04.2025;20.02.2026;ja;;\n"
                              "0;17.04.2025;20.02.2026;ja;;\n"
                              "10000;16.01.2023;02.10.2025;;x;actact\n";
    const QString zinsenError = "bis: „30.02.2005“ ist kein gültiges Datum (TT.MM.JJJJ, T.M.JJ "
                                "oder JJJJ-MM-TT)";
    const QString verzugError = "betrag: Die Forderung muss größer als 0,00 € sein.";
    for (const char *format : {"text", "csv", "json"}) {
        SCOPED_TRACE(format);
        const TProgramRun z = Zins(home, {"zinsen", "--csv", "-", "--format", format}, zinsen);
        const TProgramRun v = Zins(home, {"verzug", "--csv", "-", "--format", format}, verzug);
        EXPECT_EQ(z.status, 1);
        EXPECT_EQ(v.status, 1);
        EXPECT_EQ(z.err, "tarvo-zins: Zeile 4: " + zinsenError + "\n");
        EXPECT_EQ(v.err, "tarvo-zins: Zeile 3: " + verzugError + "\n");
        if (QLatin1String(format) == "json") {
            const QStringList rows = Lines(z.out), cases = Lines(v.out);
            ASSERT_EQ(rows.size(), 4);
            ASSERT_EQ(cases.size(), 3);
            EXPECT_EQ(JsonObject(rows[0]).value("zinsen").toString(), "16.67");
            EXPECT_EQ(JsonObject(rows[1]).value("zinsen").toString(), "15.01");
            EXPECT_EQ(JsonObject(rows[2]), (QJsonObject{{"zeile", 4}, {"fehler", zinsenError}}));
            EXPECT_EQ(JsonObject(rows[3]).value("zeile").toInt(), 5);
            EXPECT_EQ(JsonObject(rows[3]).value("zinsen").toString(), "62.16");
            EXPECT_EQ(JsonObject(cases[0]).value("summe").toString(), "170.84");
            EXPECT_EQ(JsonObject(cases[1]), (QJsonObject{{"zeile", 3}, {"fehler", verzugError}}));
            EXPECT_EQ(JsonObject(cases[2]).value("summe").toString(), "3166.76");
        } else if (QLatin1String(format) == "csv") {
            const QList<QStringList> rows = CsvRecords(z.out), cases = CsvRecords(v.out);
            ASSERT_EQ(rows.size(), 5);
            ASSERT_EQ(cases.size(), 4);
            EXPECT_EQ(rows[1], (QStringList{"2", "59", "60", "16,67", "deutsche", ""}));
            EXPECT_EQ(rows[2], (QStringList{"3", "54", "54", "15,01", "euro", ""}));
            EXPECT_EQ(rows[3], (QStringList{"4", "", "", "", "", zinsenError}));
            EXPECT_EQ(rows[4], (QStringList{"5", "121", "121", "62,16", "englische", ""}));
            EXPECT_EQ(cases[1][5], "170,84");
            EXPECT_EQ(cases[2], (QStringList{"3", "", "", "", "", "", "", "", "", verzugError}));
            EXPECT_EQ(cases[3][5], "3166,76");
        } else {
            const QStringList rows = Lines(z.out), cases = Lines(v.out);
            ASSERT_EQ(rows.size(), 5);
            EXPECT_TRUE(rows[1].startsWith("    2  ( 59 / 60 Tage )")) << rows[1].toStdString();
            EXPECT_TRUE(rows[3].startsWith("    4  Fehler: " + zinsenError));
            EXPECT_TRUE(rows[4].endsWith("62,16  englische"));
            ASSERT_EQ(cases.size(), 4);
            EXPECT_TRUE(cases[3].contains("3.166,76")) << cases[3].toStdString();
        }
    }
}

TEST(CliProgram, ExitsWithZeroOneOrTwoAndNamesTheArgument) {
    IsolatedHome home;
    const QString fifo = home.path() + "/fifo";
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const struct {
        QStringList arguments;
        int status;
        QString printed;  // the start of standard output
        QString reported; // standard error
    } cases[] = {
        {{"zinsen", "1000", "15.01.2005", "15.03.2005", "10"}, 0, "( 59 / 59 Tage )  16,40", ""},
        {{"--help"}, 0, "Aufruf: tarvo-zins BEFEHL", ""},
        {{"verzug", "-h"}, 0, "Aufruf: tarvo-zins BEFEHL", ""},
        {{"--version"}, 0, "tarvo-zins (Tarvo 2.3)\n", ""},
        {{"zinsen", "1.000,5x", "15.01.2005", "15.03.2005", "10"},
         1,
         "",
         "tarvo-zins: BETRAG: „1.000,5x“ ist keine Zahl"},
        {{"zinsen", "1000", "15.01.2005", "15.03.2005", "10,125"},
         1,
         "",
         "tarvo-zins: SATZ: „10,125“ hat mehr als zwei Nachkommastellen"},
        {{"verzug", "1000", "02.01.2025", "01.01.2025", "--verbraucher"},
         1,
         "",
         "tarvo-zins: BIS: Der letzte Zinstag (01.01.2025) liegt vor dem ersten Zinstag "
         "(02.01.2025)."},
        {{"verzug", "1000", "01.12.2026", "02.01.2027", "--aufschlag", "3"},
         1,
         "",
         "tarvo-zins: BIS: Für das Halbjahr ab 01.01.2027 ist kein Basiszinssatz bekannt (die "
         "Basiszinssätze reichen bis 31.12.2026). Bitte den Basiszinssatz ergänzen oder einen "
         "früheren letzten Zinstag wählen."},
        {{"verzug", "1000", "01.12.2025", "02.01.2026", "--satz", "101"},
         1,
         "",
         "tarvo-zins: --satz: Der Zinssatz 101,00 % liegt nicht zwischen 0,00 % und 100,00 %."},
        {{"basiszins", "31.12.2001"},
         1,
         "",
         "tarvo-zins: DATUM: Für Tage vor dem 01.01.2002 gibt es keinen Basiszinssatz nach § 247 "
         "BGB."},
        {{"basiszins", "1.1.2027"},
         1,
         "",
         "tarvo-zins: DATUM: Für das Halbjahr ab 01.01.2027 ist kein Basiszinssatz bekannt (die "
         "Basiszinssätze reichen bis 31.12.2026)."},
        {{"zinsen", "--csv", "fehlt.csv"},
         1,
         "",
         "tarvo-zins: --csv: Die Datei „fehlt.csv“ kann nicht gelesen werden: Datei oder Ordner "
         "nicht gefunden"},
        {{"zinsen", "--csv", home.path()},
         1,
         "",
         "tarvo-zins: --csv: Die Datei „" + home.path() +
             "“ kann nicht gelesen werden: das ist ein Ordner, keine Datei"},
        // Opening a FIFO would wait for a writer for ever.
        {{"verzug", "--csv", fifo},
         1,
         "",
         "tarvo-zins: --csv: Die Datei „" + fifo +
             "“ kann nicht gelesen werden: das ist keine gewöhnliche Datei (eine Pipe liest "
             "„--csv -“ von der Standardeingabe)"},
        // A court's 13.283,98 € for 883 days: the day of payment does not count.
        {{"verzug", "137.277,82", "01.01.2000", "02.06.2002", "--satz", "4", "--ohne-zahlungstag",
          "--format", "json"},
         0,
         "{\"perioden\": [{\"von\": \"2000-01-01\", \"bis\": \"2002-06-01\", \"tage\": 883, "
         "\"basiszinssatz\": null, \"aufschlag\": null, \"zinssatz\": \"4.00\", \"zinsen\": "
         "\"13283.98\"}], \"summe\": \"13283.98\"",
         ""},
        {{"zinsen", "1000", "15.01.2005", "15.03.2005", "10", "--format", "csv", "--bom"},
         0,
         "\uFEFFtage;zinstage;zinsen;formel\r\n59;59;16,40;euro\r\n",
         ""},
        {{},
         2,
         "",
         "tarvo-zins: der Befehl fehlt (zinsen, verzug, basiszins oder forderung) („tarvo-zins "
         "--help“ "
         "zeigt die Aufrufe)"},
        {{"basiszins", "--import="},
         2,
         "",
         "tarvo-zins: --import: der Wert ist leer („tarvo-zins --help“ zeigt die Aufrufe)"},
        {{QString("zins\nen\u202E") + QString(100000, u'x')},
         2,
         "",
         "tarvo-zins: zins␊en�xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx…: unbekannter Befehl (zinsen, "
         "verzug, basiszins oder forderung) („tarvo-zins --help“ zeigt die Aufrufe)"},
        {{"zinsen", "1000", "15.01.2005", "15.03.2005"},
         2,
         "",
         "tarvo-zins: SATZ: fehlt („tarvo-zins --help“ zeigt die Aufrufe)"},
        {{"zinsen", "1000", "15.01.2005", "15.03.2005", "10", "--tage", "act360"},
         2,
         "",
         "tarvo-zins: --tage: unbekannte Option („tarvo-zins --help“ zeigt die Aufrufe)"},
        {{"verzug", "1000", "1.1.2025", "1.2.2025", "--format", "xml", "--verbraucher"},
         2,
         "",
         "tarvo-zins: --format: „xml“ ist kein Format (text, csv oder json) („tarvo-zins "
         "--help“ zeigt die Aufrufe)"},
        {{"zins"},
         2,
         "",
         "tarvo-zins: zins: unbekannter Befehl (zinsen, verzug, basiszins oder forderung) "
         "(„tarvo-zins "
         "--help“ zeigt die Aufrufe)"},
    };
    for (const auto &c : cases) {
        const TProgramRun run = Zins(home, c.arguments);
        const std::string what = c.arguments.join(u' ').toStdString();
        EXPECT_EQ(run.status, c.status) << what;
        EXPECT_TRUE(c.printed.isEmpty() || run.out.startsWith(c.printed))
            << what << ": " << run.out.toStdString();
        EXPECT_EQ(run.out.isEmpty(), c.printed.isEmpty()) << what;
        EXPECT_EQ(run.err, c.reported.isEmpty() ? QString() : c.reported + "\n") << what;
    }
    EXPECT_TRUE(QDir(home.configHome()).isEmpty()) << "no settings file made";
}

TEST(CliProgram, LoadsNeitherQtGuiNorQtWidgets) {
    QProcess ldd;
    ldd.start("ldd", {TARVO_ZINS_EXE});
    ASSERT_TRUE(ldd.waitForFinished(10000));
    const QString libraries = QString::fromUtf8(ldd.readAllStandardOutput());
    EXPECT_TRUE(libraries.contains("libQt6Core.so")) << libraries.toStdString();
    for (const char *gui : {"libQt6Gui", "libQt6Widgets", "libQt6PrintSupport"})
        EXPECT_FALSE(libraries.contains(gui)) << gui << "\n" << libraries.toStdString();
}

// Without --formel the bar's stored formula counts; the settings file is read, never made.
TEST(CliProgram, TakesTheBarsStoredFormula) {
    IsolatedHome home;
    const QStringList arguments{"zinsen", "1000", "15.01.2005", "15.03.2005", "10"};
    EXPECT_EQ(Zins(home, arguments).out, "( 59 / 59 Tage )  16,40\n");
    EXPECT_TRUE(QDir(home.configHome()).isEmpty());
    {
        TRegistry registry; // the test's services lead it to the home's settings folder
        ASSERT_TRUE(registry.OpenKey(SettingsKey, true));
        registry.WriteInteger(Setting::Formel, 1);
    }
    EXPECT_EQ(Zins(home, arguments).out, "( 59 / 60 Tage )  16,67\n");
    EXPECT_EQ(Zins(home, arguments + QStringList{"--formel", "englische"}).out,
              "( 59 / 59 Tage )  16,16\n");
    EXPECT_EQ(QDir(home.configHome() + "/tarvo").entryList(QDir::Files),
              QStringList{"registry.db"});
}

// The Bundesbank's download as the window imports it, the user's rates in the statement, and a
// broken file of the user's named and moved aside while the shipped rates still count.
TEST(CliProgram, ImportsAndUsesTheUsersBaseRates) {
    IsolatedHome home;
    const QString ratesFile = home.dataHome() + "/tarvo/basiszinssaetze.txt";
    QFile sample(TARVO_ENGINE_TEST_DATA "/bbk_basiszinssatz.csv");
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    QByteArray download = sample.readAll();
    for (const char *month : {"02", "03", "04", "05", "06"})
        download += "2026-" + QByteArray(month) + ";1,27;\n";
    for (const char *month : {"07", "08", "09", "10", "11", "12"})
        download += "2026-" + QByteArray(month) + ";1,52;\n";
    download += "2027-01;2,02;\n";
    QFile csv(home.path() + "/bbk.csv");
    ASSERT_TRUE(csv.open(QIODevice::WriteOnly));
    csv.write(download);
    csv.close();

    const TProgramRun import = Zins(home, {"basiszins", "--import", csv.fileName()});
    EXPECT_EQ(import.status, 0) << import.err.toStdString();
    EXPECT_EQ(import.out, "„" + csv.fileName() +
                              "“ gelesen: ein Halbjahr mit neuem "
                              "Basiszinssatz.\nBasiszinssätze bis 30.06.2027\n");
    EXPECT_TRUE(QFile::exists(ratesFile));
    EXPECT_EQ(JsonObject(Zins(home, {"basiszins", "2027-03-01", "--format", "json"}).out),
              (QJsonObject{{"datum", "2027-03-01"},
                           {"basiszinssatz", "2.02"},
                           {"ab", "2027-01-01"},
                           {"eigener", true},
                           {"bis", "2027-06-30"}}));
    const TProgramRun statement =
        Zins(home, {"verzug", "1000", "01.12.2026", "31.01.2027", "--verbraucher"});
    EXPECT_EQ(statement.status, 0);
    EXPECT_TRUE(statement.out.contains("01.01.2027  31.01.2027    31       2,02 % *     5,00 %    "
                                       "7,02 %    5,96"))
        << statement.out.toStdString();
    EXPECT_TRUE(statement.out.contains("* vom Benutzer eingetragener Basiszinssatz"));

    QFile broken(ratesFile);
    ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
    broken.write("01.01.2027;zwei\n");
    broken.close();
    const TProgramRun shipped = Zins(home, {"basiszins", "15.03.2025"});
    EXPECT_EQ(shipped.status, 0);
    EXPECT_EQ(shipped.out, "Basiszinssatz am 15.03.2025: 2,27 % (ab 01.01.2025)\n"
                           "Basiszinssätze bis 31.12.2026\n");
    EXPECT_TRUE(shipped.err.startsWith("tarvo-zins: Basiszinssätze: Die Datei „" + ratesFile +
                                       "“ ist in Zeile 1 nicht lesbar:"))
        << shipped.err.toStdString();
    EXPECT_EQ(Lines(shipped.err).size(), 1);
    EXPECT_FALSE(QFile::exists(ratesFile));
    EXPECT_EQ(QDir(home.dataHome() + "/tarvo").entryList({"basiszinssaetze.txt.broken-*"}).size(),
              1);
}

// The value the bar's currency field holds for the text typed there.
long double BarFieldValue(const QString &text) {
    return StrToFloat(FieldNumberText(text));
}

QString DateText(TDateTime day, int form) {
    quint16 y, m, d;
    SplitDateSerial(day, y, m, d);
    const QDate date(y, m, d);
    switch (form) {
    case 0:
        return date.toString("dd.MM.yyyy");
    case 1:
        return date.toString(Qt::ISODate);
    default:
        // Two-digit years only where the century window gives the year back.
        return WidenYear(y % 100) == y ? date.toString("d.M.yy") : date.toString("d.M.yyyy");
    }
}

// 10,000 random cases through tarvo-zins in one batch give the day label and the interest that
// the bar's calculation gives for the same inputs, amounts and rates read as its fields read
// them.
TEST(CliProgram, PrintsWhatTheBarCalculatesForRandomCases) {
    IsolatedHome home;
    GermanLocale de;
    const unsigned seed = std::random_device()();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);
    const auto below = [&](int n) { return int(random() % unsigned(n)); };
    const TDateTime first = MakeDateSerial(1900, 1, 1), last = MakeDateSerial(2100, 12, 31);
    QByteArray input = "betrag;von;bis;satz;formel\n";
    QStringList expected;
    const QStringList formulas{"euro", "deutsche", "englische"};
    for (int i = 0; i < 10000; ++i) {
        const qint64 cents =
            below(20) == 0 ? -qint64(random() % 100000) : qint64(random() % 10000000000LL);
        const int hundredths = below(3000) - (below(20) == 0 ? 3000 : 0);
        const QString amount = HundredthsText(cents, u',', below(2) ? u'.' : QChar());
        const QString rate = GermanRate(hundredths);
        TDateTime start = first + below(int(last - first));
        // Leap days and month ends now and then; reversed periods too.
        if (below(8) == 0) start = MakeDateSerial(1904 + 4 * below(49), 2, 28 + below(2));
        const TDateTime end =
            std::clamp(start + below(4000) - (below(10) == 0 ? 4000 : 0), first, last);
        const int code = fcEuro + below(3);
        QString cliAmount = amount, cliRate = rate;
        if (below(3) == 0 && !amount.contains('.')) cliAmount.replace(',', '.');
        if (below(2) == 0) cliRate.replace(',', '.');
        input += (cliAmount + ';' + DateText(start, below(3)) + ';' + DateText(end, below(3)) +
                  ';' + cliRate + ';' + formulas[code - fcEuro] + '\n')
                     .toUtf8();
        const TInterestText bar =
            CalculateInterestText(code, start, end, BarFieldValue(amount), BarFieldValue(rate));
        expected << bar.DayLabel + '|' + bar.Interest;
    }
    const TProgramRun run = Zins(home, {"zinsen", "--csv", "-"}, input);
    ASSERT_EQ(run.status, 0) << run.err.toStdString();
    QStringList rows = Lines(run.out);
    ASSERT_EQ(rows.size(), expected.size() + 1);
    rows.removeFirst();
    const QStringList inputs = QString::fromUtf8(input).split('\n');
    for (qsizetype i = 0; i < rows.size(); ++i) {
        // "    2  ( 59 / 60 Tage )           16,67  deutsche"
        const QString label = rows[i].mid(7, 24).trimmed(),
                      interest = rows[i].mid(31, 16).trimmed();
        ASSERT_EQ(label + '|' + interest, expected[i]) << inputs[i + 1].toStdString();
    }
}

} // namespace
