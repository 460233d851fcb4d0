#include "engine/bundesbank.h"
#include "engine/userrates.h"
#include "engine_test_p.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A download as the Bundesbank gives it: header block, end-of-month values from September
// 2001 to January 2026, no value for April 2024 and July 2025.
QByteArray sample() {
    QFile file(QStringLiteral(TARVO_ENGINE_TEST_DATA "/bbk_basiszinssatz.csv"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

// The sample with its line `line` (from 1) replaced.
QByteArray withLine(int line, const char *text) {
    QList<QByteArray> lines = sample().split('\n');
    lines[line - 1] = text;
    return lines.join('\n');
}

int lineOf(const char *start) {
    return int(sample().left(sample().indexOf(start)).count('\n')) + 1;
}

} // namespace

TEST(Bundesbank, ImportsOneRatePerHalfYearFrom2002) {
    const QByteArray crlf = sample().replace("\n", "\r\n");
    const QByteArray latin1 = QString::fromUtf8(sample()).toLatin1();
    for (const QByteArray &data : {sample(), crlf, latin1}) {
        const TBundesbankImport imported = ParseBundesbankCsv(data);
        ASSERT_FALSE(imported.Error) << imported.Error.Message.toStdString();
        // 2002 to 2025 and the first half of 2026; the gaps leave their half-years whole.
        ASSERT_EQ(imported.Rates.size(), 49u);
        const TBaseRateTable &shipped = ShippedBaseRates();
        for (const TBaseRate &rate : imported.Rates) {
            ASSERT_TRUE(shipped.Find(rate.From)) << FormatDayDate(rate.From).toStdString();
            EXPECT_EQ(rate.Rate, shipped.Find(rate.From)->Rate);
            EXPECT_TRUE(rate.User);
        }
        EXPECT_EQ(imported.Rates.front().From, day("01.01.2002"));
        EXPECT_EQ(imported.Rates.back().From, day("01.01.2026"));
    }
}

TEST(Bundesbank, BrokenLineImportsNothing) {
    const int may2010 = lineOf("2010-05;");
    const struct {
        QByteArray data;
        int line;
        const char *reason; // a part of the message
    } cases[] = {
        {withLine(may2010, "2010-0x;0,12;"), may2010, "keine Zeile"},
        {withLine(may2010, "2010-05"), may2010, "keine Zeile"},
        {withLine(may2010, "2010-05;0,1,2;"), may2010, "kein Zinssatz"},
        {withLine(may2010, "2010-05;0.12%;"), may2010, "kein Zinssatz"},
        {withLine(may2010, "2010-05;25,00;"), may2010, "20,00 %"},
        {withLine(may2010, "2010-04;0,12;"), may2010, "nicht in zeitlicher Folge"},
        {withLine(may2010, "2010-05;0,37;"), may2010, "ändert sich im Mai 2010"},
        {withLine(1, ";BBIN1.M.DE.BBK.BBKBAS1.EUR.ME;"), lineOf("2001-09;"), "BBKBAS2"},
        {"Stand vom;06.01.2026;\n", 0, "keine Monatswerte"},
    };
    for (const auto &c : cases) {
        const TBundesbankImport imported = ParseBundesbankCsv(c.data);
        EXPECT_EQ(imported.Error.Code, ecFileContent) << c.reason;
        EXPECT_EQ(imported.Error.Line, c.line) << c.reason;
        EXPECT_TRUE(imported.Error.Message.contains(QString::fromUtf8(c.reason)))
            << imported.Error.Message.toStdString();
        EXPECT_TRUE(imported.Rates.empty()) << c.reason;
    }
}

TEST(Bundesbank, FileErrorsNameTheFileAndAdoptingAddsTheNewHalfYear) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("BBK01.csv"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(sample() + "2026-07;1,52;\n2026-08;;Kein Wert vorhanden\n2026-09;1,52;\n");
    file.close();
    const TBundesbankImport imported = ReadBundesbankCsv(path);
    ASSERT_FALSE(imported.Error);
    std::vector<TBaseRate> user;
    EXPECT_EQ(AdoptRates(user, imported.Rates, ShippedBaseRates()), 0) << "nothing new";

    ASSERT_TRUE(file.open(QIODevice::Append));
    file.write("2027-01;2,00;\n2027-0");
    file.close();
    const TBundesbankImport broken = ReadBundesbankCsv(path);
    EXPECT_EQ(broken.Error.File, path);
    EXPECT_TRUE(broken.Error.Message.startsWith(
        QStringLiteral("Die Datei „%1“ ist in Zeile %2 nicht lesbar:")
            .arg(path)
            .arg(lineOf("2026-01;") + 5)))
        << broken.Error.Message.toStdString();
    EXPECT_EQ(ReadBundesbankCsv(dir.filePath(QStringLiteral("fehlt.csv"))).Error.Code, ecFile);
}
