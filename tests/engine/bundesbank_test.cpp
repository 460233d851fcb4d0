#include "engine/bundesbank.h"
#include "engine/userrates.h"
#include "engine_test_p.h"
#include "tests/support/fixtures.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray fixture(const char *name) {
    QFile file(QStringLiteral(TARVO_ENGINE_TEST_DATA "/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

// A download of September 2001 to January 2026, no value for April 2024 and July 2025.
QByteArray sample() {
    return fixture("bbk_basiszinssatz.csv");
}

// The sample with its line `line` (from 1) replaced.
QByteArray withLine(int line, const char *text) {
    QList<QByteArray> lines = sample().split('\n');
    lines[line - 1] = text;
    return lines.join('\n');
}

int lineOf(const QByteArray &data, const char *start) {
    return int(data.left(data.indexOf(start)).count('\n')) + 1;
}

// The day the fixtures were made for: months up to December 2027 are plausible.
QDateTime fixturesDay() {
    return QDateTime(QDate(2026, 12, 7), QTime(12, 0));
}

} // namespace

// Each layout the series comes in, as downloaded and as other programs pass it on.
TEST(Bundesbank, EveryLayoutGivesTheSameHalfYears) {
    PinnedClock clock(fixturesDay());
    const std::vector<TBaseRate> expected{
        {day("01.01.2002"), 257, true, true}, {day("01.07.2002"), 247, true, true},
        {day("01.01.2025"), 227, true, true}, {day("01.07.2025"), 127, true, true},
        {day("01.01.2026"), 127, true, true}, {day("01.07.2026"), 152, true, true}};
    const char *const layouts[] = {"bbk_download_de.csv", "bbk_download_en.csv", "bbk_sdmx.csv",
                                   "bbk_sdmx2.csv"};
    for (const char *layout : layouts) {
        const QByteArray data = fixture(layout);
        const QByteArray variants[] = {
            data,
            "\xEF\xBB\xBF" + data,
            QByteArray(data).replace("\n", "\r\n"),
            QByteArray(data).replace("\n", "\r"),
            QString::fromUtf8(data).toLatin1(),
        };
        for (const QByteArray &variant : variants) {
            const TBundesbankImport imported = ParseBundesbankCsv(variant);
            EXPECT_FALSE(imported.Error) << layout << ": " << ErrorText(imported.Error).toStdString();
            EXPECT_EQ(imported.Rates, expected) << layout << " variant " << &variant - variants;
        }
    }
}

TEST(Bundesbank, TheOlderDownloadGivesTheShippedRates) {
    PinnedClock clock(fixturesDay());
    const TBundesbankImport imported = ParseBundesbankCsv(sample());
    ASSERT_FALSE(imported.Error) << ErrorText(imported.Error).toStdString();
    // 2002 to 2025 and the first half of 2026; the gaps leave their half-years whole.
    ASSERT_EQ(imported.Rates.size(), 49u);
    for (const TBaseRate &rate : imported.Rates) {
        const TBaseRate *shipped = ShippedBaseRates().Find(rate.From);
        ASSERT_TRUE(shipped) << FormatDayDate(rate.From).toStdString();
        EXPECT_EQ(rate.Rate, shipped->Rate);
    }
}

// Line 0: the file as a whole. The reason is a part of the message.
TEST(Bundesbank, AnythingElseOrBrokenImportsNothing) {
    PinnedClock clock(fixturesDay());
    const QByteArray de = fixture("bbk_download_de.csv");
    const QByteArray en = fixture("bbk_download_en.csv");
    const QByteArray sdmx = fixture("bbk_sdmx.csv");
    const int may2010 = lineOf(sample(), "2010-05;");
    const int deEnd = int(de.count('\n')) + 1;
    const struct {
        QByteArray data;
        int line;
        const char *reason;
    } cases[] = {
        {withLine(may2010, "2010-0x;0,12;"), may2010, "ist keine Zeile „Jahr-Monat;Wert;"},
        {withLine(may2010, "2010-05"), may2010, "keine vollständige Zeile"},
        {withLine(may2010, "2010-05;0,12"), may2010, "keine vollständige Zeile"},
        {withLine(may2010, "2010-05;0,1,2;"), may2010, "„0,1,2“ ist kein Zinssatz"},
        {withLine(may2010, "2010-05;0.12%;"), may2010, "kein Zinssatz"},
        {withLine(may2010, "2010-05;25,00;"), may2010, "20,00 %"},
        {withLine(may2010, "2010-04;0,12;"), may2010, "2010-04 steht zweimal in der Datei"},
        {withLine(may2010, "2010-05;0,37;"), may2010, "ändert sich im Mai 2010 (von 0,12 %"},
        {withLine(may2010, "1998-12;3,00;"), may2010, "vor dem Beginn der Reihe im Januar 1999"},
        {withLine(may2010, "2028-01;1,00;"), may2010, "mehr als ein Jahr nach dem heutigen Tag"},
        {withLine(may2010, "9999-12;1,00;"), may2010, "9999-12 liegt mehr als ein Jahr"},
        // Cut short while downloading.
        {de + "2026-09;1", deEnd, "hat kein Zeilenende. Die Datei ist wohl nicht vollständig"},
        {de + "2026-09;1,5", deEnd, "hat kein Zeilenende"},
        {de + "2026-09;1,52;", deEnd, "hat kein Zeilenende"},
        {de + "\"\";\"Bemerkung zu 2026-09: Ab", deEnd, "Anführungszeichen endet nicht"},
        {en + "2026-09,1.5", deEnd, "hat kein Zeilenende"},
        {sdmx + "BBK:BBIN1(1.0);M;DE;BBK;BBKBAS2;EUR;ME;2026-09;1.5", 13, "kein Zeilenende"},
        {sdmx + "BBK:BBIN1(1.0);M;DE;BBK;BBKBAS2;EUR;ME;2026-09\n", 13, "hat 8 statt 11 Spalten"},
        // Another series, named with the one expected.
        {withLine(1, ";BBIN1.M.DE.BBK.BBKBAS1.EUR.ME;"), 0,
         "enthält die Reihe BBIN1.M.DE.BBK.BBKBAS1.EUR.ME, nicht die Reihe "
         "BBIN1.M.DE.BBK.BBKBAS2.EUR.ME (Basiszinssatz nach § 247 BGB)"},
        {"\"\";BBK01.SU0115;BBK01.SU0115_FLAGS\n2025-07;1,27;\n", 0,
         "enthält die Reihe BBK01.SU0115, nicht die Reihe BBIN1.M.DE.BBK.BBKBAS2.EUR.ME"},
        {QByteArray(sdmx).replace("BBKBAS2;EUR", "BBKBAS1;EUR"), 0,
         "enthält die Reihe BBIN1.M.DE.BBK.BBKBAS1.EUR.ME (Zeile 2), nicht die Reihe "
         "BBIN1.M.DE.BBK.BBKBAS2.EUR.ME"},
        // Not the series' file at all.
        {"Name;Betrag\nMeier;12,00\n", 0,
         "ist kein Download des Basiszinssatzes. Erwartet wird der CSV-Download der "
         "Bundesbank-Reihe BBIN1.M.DE.BBK.BBKBAS2.EUR.ME"},
        {"%PDF-1.4\n\x80\x81\n", 0, "Erwartet wird der CSV-Download"},
        {";Titel;\nStand vom;06.01.2026;\n", 0, "nennt in der ersten Zeile keine Reihe"},
        {"DATAFLOW;TIME_PERIOD;WERT\nBBK:BBIN1(1.0);2025-07;1.27\n", 1,
         "Der SDMX-CSV-Kopfzeile fehlt die Spalte OBS_VALUE."},
        {"", 0, "ist kein Download des Basiszinssatzes"},
        {"\"\";BBIN1.M.DE.BBK.BBKBAS2.EUR.ME;\n2001-11;3,62;\n2001-12;.;\n", 0,
         "enthält keine Monatswerte des Basiszinssatzes ab Januar 2002"},
    };
    for (const auto &c : cases) {
        const TBundesbankImport imported = ParseBundesbankCsv(c.data);
        EXPECT_EQ(imported.Error.Code, ecFileContent) << c.reason;
        EXPECT_EQ(imported.Error.Line, c.line) << c.reason;
        EXPECT_TRUE(ErrorText(imported.Error).contains(QString::fromUtf8(c.reason)))
            << ErrorText(imported.Error).toStdString();
        EXPECT_TRUE(imported.Rates.empty()) << c.reason;
    }
}

TEST(Bundesbank, FileErrorsNameTheFile) {
    PinnedClock clock(fixturesDay());
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("BBK01.csv"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(fixture("bbk_download_de.csv") + "2026-09;1");
    file.close();
    const TBundesbankImport cut = ReadBundesbankCsv(path);
    EXPECT_EQ(cut.Error.File, path);
    EXPECT_EQ(ErrorText(cut.Error),
              QStringLiteral("Die Datei „%1“ ist in Zeile 20 nicht lesbar: Die letzte Zeile hat "
                             "kein Zeilenende. Die Datei ist wohl nicht vollständig "
                             "heruntergeladen. Es wurde nichts übernommen.")
                  .arg(path));
    EXPECT_EQ(ErrorText(ReadBundesbankCsv(dir.filePath(QStringLiteral("fehlt.csv"))).Error),
              QStringLiteral("Die Datei „%1“ kann nicht gelesen werden: Datei oder Ordner "
                             "nicht gefunden. Es wurde nichts übernommen.")
                  .arg(dir.filePath(QStringLiteral("fehlt.csv"))));
}
