#include "engine/casefile.h"
#include "engine_test_p.h"
#include "tests/support/smalldisk.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray fixture(const char *name) {
    QFile file(QStringLiteral(TARVO_ENGINE_TEST_DATA "/") + QLatin1String(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The key order, the unknown keys at every level and the text escapes stay as the file has them.
const TDateTime Today = day("07.12.2026");

} // namespace

TEST(CaseFile, ReadsAndWritesTheDocumentedShapeKeepingUnknownKeys) {
    const QByteArray text = fixture("mueller-schmidt.tarvo");
    TCaseFile file;
    const TEngineError error = ReadCaseFile(text, Today, file);
    ASSERT_FALSE(error) << ErrorText(error).toStdString();
    EXPECT_EQ(file.Name, "Müller ./. Schmidt");
    EXPECT_EQ(file.Debtor, "Erwin \"Ede\" Schmidt");
    const TClaimsCase &c = file.Case;
    ASSERT_EQ(c.Claims.size(), 2u);
    EXPECT_EQ(c.Claims[0].Amount, 425000);
    EXPECT_EQ(c.Claims[0].Rule.Kind, rkNoConsumer);
    EXPECT_TRUE(c.Claims[0].FlatFee);
    EXPECT_EQ(c.Claims[1].Rule.Kind, rkFixed);
    EXPECT_EQ(c.Claims[1].Rule.Value, 800);
    ASSERT_EQ(c.Costs.size(), 2u);
    EXPECT_FALSE(c.Costs[0].BearsInterest);
    EXPECT_EQ(c.Costs[1].FirstDay, day("03.05.2024"));
    EXPECT_EQ(c.Costs[1].Rule.Value, 500);
    ASSERT_EQ(c.Payments.size(), 2u);
    EXPECT_EQ(c.Payments[0].Claim, 1);
    EXPECT_EQ(c.Payments[1].Claim, -1);
    EXPECT_EQ(c.StatementDay, day("07.12.2026"));
    // Written again, byte for byte: the documented keys in their order, the unknown ones after.
    EXPECT_EQ(WriteCaseFile(file), text);

    // Saved and opened again, the same statement.
    QTemporaryDir dir;
    const QString path = dir.filePath("fall.tarvo");
    ASSERT_FALSE(SaveCaseFile(path, file));
    TCaseFile again;
    ASSERT_FALSE(LoadCaseFile(path, Today, again));
    const TClaimsStatement first = CalculateClaims(file.Case, ShippedBaseRates());
    const TClaimsStatement second = CalculateClaims(again.Case, ShippedBaseRates());
    ASSERT_FALSE(first.Error) << ErrorText(first.Error).toStdString();
    EXPECT_EQ(second.Open, first.Open);
    EXPECT_EQ(second.Claims, first.Claims);

    // Without a statement day the file means today, and stays so.
    TCaseFile undated;
    ASSERT_FALSE(ReadCaseFile(R"({"format":"tarvo-forderung","version":1,"forderungen":[]})", Today,
                              undated));
    EXPECT_TRUE(undated.StatementDayIsToday);
    EXPECT_EQ(undated.Case.StatementDay, Today);
    EXPECT_FALSE(WriteCaseFile(undated).contains("stichtag"));
}

TEST(CaseFile, RefusesWhatIsNoCaseFileNamingWhere) {
    const struct {
        const char *Text;
        const char *Message;
    } cases[] = {
        {"{\n\"format\": \"tarvo-forderung\",\n\"version\": 1\n\"forderungen\": []\n}",
         "Zeile 4: es fehlt „,“ vor dem nächsten Schlüssel oder „}“ am Ende des Objekts."},
        {"[]", "Die Datei enthält kein Objekt „{ … }“."},
        {R"({"format":"tarvo-rechnung","version":1})",
         "Die Datei ist keine Forderungsaufstellung von Tarvo („format“ ist nicht "
         "„tarvo-forderung“)."},
        {R"({"format":"tarvo-forderung","version":2,"forderungen":[]})",
         "Die Datei hat die Version 2; dieses Tarvo liest Forderungsaufstellungen bis zur "
         "Version 1. Bitte Tarvo aktualisieren."},
        {R"({"format":"tarvo-forderung","version":"1"})",
         "„version“ muss eine ganze Zahl ab 1 sein."},
        {R"({"format":"tarvo-forderung","version":1,"tageszaehlung":"365"})",
         "„tageszaehlung“ „365“ ist keiner der Werte „taggenau“, „actact“, „act360“, „30360“."},
        {R"({"format":"tarvo-forderung","version":1,"forderungen":[{"betrag":"42,50",
            "zinsbeginn":"2024-01-16","zins":{"regel":"verbraucher"}}]})",
         "Forderung 1, „betrag“ „42,50“ ist keine Zahl der Form „4250.00“."},
        {R"({"format":"tarvo-forderung","version":1,"forderungen":[{"betrag":"42.50",
            "zins":{"regel":"verbraucher"}}]})",
         "Forderung 1, „zinsbeginn“ fehlt."},
        {R"({"format":"tarvo-forderung","version":1,"forderungen":[{"betrag":"42.50",
            "zinsbeginn":"2024-01-16","zins":{"regel":"aufschlag"}}]})",
         "Forderung 1, „zins“, „wert“ fehlt."},
        {R"({"format":"tarvo-forderung","version":1,"forderungen":[],"kosten":[{"betrag":"1.00",
            "datum":"2024-01-16","zins":{"regel":"verbraucher"}}]})",
         "Kosten 1, „zinsbeginn“ fehlt."},
        {R"({"format":"tarvo-forderung","version":1,"forderungen":[],"zahlungen":[{
            "betrag":"1.00","datum":"2024-02-30"}]})",
         "Zahlung 1, „datum“ „2024-02-30“ ist kein Datum der Form JJJJ-MM-TT."},
        {R"({"format":"tarvo-forderung","version":1,"forderungen":[],"zahlungen":[{
            "betrag":"1.00","datum":"2024-02-03","forderung":0}]})",
         "Zahlung 1, „forderung“ muss die Nummer einer Forderung ab 1 sein."},
        {R"({"format":"tarvo-forderung","version":1,"forderungen":{}})",
         "„forderungen“ muss eine Liste sein."},
        {R"({"format":"tarvo-forderung","version":1,"forderungen":[[]]})",
         "„forderungen“ enthält an Stelle 1 kein Objekt „{ … }“ für eine Forderung."},
        {R"({"format":"tarvo-forderung","version":1,"bezeichnung":5})",
         "„bezeichnung“ muss eine Zeichenkette sein."},
        {R"({"format":"tarvo-forderung","version":1,"kosten":[{"zins":"5 %"}]})",
         "Kosten 1, „betrag“ fehlt."},
        {R"({"format":"tarvo-forderung","version":1,"forderungen":[{"betrag":"1.00",
            "zinsbeginn":"2024-01-16","zins":"5 %"}]})",
         "Forderung 1, „zins“ muss ein Objekt sein."},
        {"{\"format\" \"tarvo-forderung\"}", "Zeile 1: nach einem Schlüssel fehlt „:“."},
    };
    for (const auto &c : cases) {
        TCaseFile file;
        file.Name = QStringLiteral("unberührt");
        const TEngineError error = ReadCaseFile(c.Text, Today, file);
        EXPECT_EQ(ErrorText(error), QString::fromUtf8(c.Message)) << c.Text;
        EXPECT_EQ(file.Name, "unberührt") << c.Text;
    }
}

TEST(CaseFile, AFailedSaveKeepsTheFile) {
    TSmallDisk disk;
    if (!disk.Mounted()) GTEST_SKIP() << disk.Reason.toStdString();
    TCaseFile file;
    ASSERT_FALSE(ReadCaseFile(fixture("mueller-schmidt.tarvo"), Today, file));
    const QString path = disk.File("fall.tarvo");
    ASSERT_FALSE(SaveCaseFile(path, file));
    const QByteArray before = fixture("mueller-schmidt.tarvo");
    disk.Fill();
    file.Name = QString(20000, u'x');
    const TEngineError error = SaveCaseFile(path, file);
    EXPECT_EQ(ErrorText(error), QStringLiteral("Die Datei „%1“ kann nicht gespeichert werden: kein "
                                               "Platz mehr auf dem Datenträger.")
                                    .arg(path));
    QFile saved(path);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    EXPECT_EQ(saved.readAll(), before);
}

// The law and what only it knows: Austria's older contracts and sued claims, Switzerland's
// day count and order, and each law's defaults where the file names none.
TEST(CaseFile, ReadsAndWritesTheLawOfTheCase) {
    const QByteArray text = fixture("huber-gruber.tarvo");
    TCaseFile file;
    ASSERT_FALSE(ReadCaseFile(text, Today, file));
    const TClaimsCase &c = file.Case;
    EXPECT_EQ(c.Law, lwAustria);
    EXPECT_EQ(c.Allocation, arAbgb1416);
    ASSERT_EQ(c.Claims.size(), 2u);
    EXPECT_TRUE(c.Claims[0].Rule.ContractBefore16032013);
    EXPECT_TRUE(c.Claims[0].Sued);
    // "vor_2014" means nothing under Austrian law: kept, not read.
    EXPECT_FALSE(c.Claims[1].Rule.ContractBefore16032013 || c.Claims[1].Rule.ClaimBefore29072014);
    EXPECT_FALSE(c.Claims[1].Sued);
    EXPECT_EQ(WriteCaseFile(file), text);
    const TClaimsStatement s = CalculateClaims(c, ShippedBaseRates());
    ASSERT_FALSE(s.Error) << ErrorText(s.Error).toStdString();
    // The € 40 of § 458 UGB is a cost, paid first; then the sued claim's interest.
    const auto payment = std::find_if(s.Bookings.begin(), s.Bookings.end(), [](const TBooking &b) {
        return b.Kind == TBookingKind::Payment;
    });
    ASSERT_NE(payment, s.Bookings.end());
    ASSERT_GE(payment->Allocations.size(), 2u);
    EXPECT_EQ(payment->Allocations[0], (TAllocation{{TItemKind::FlatFee, 1}, false, 4000}));
    EXPECT_EQ(payment->Allocations[1].Item, (TItemRef{TItemKind::Claim, 0}));

    TCaseFile swiss;
    ASSERT_FALSE(ReadCaseFile(R"({"format":"tarvo-forderung","version":1,"recht":"ch",
        "forderungen":[{"betrag":"100.00","zinsbeginn":"2025-01-01",
        "zins":{"regel":"satz","wert":"5.00"},"eingeklagt":true}]})",
                              Today, swiss));
    EXPECT_EQ(swiss.Case.Law, lwSwitzerland);
    EXPECT_EQ(swiss.Case.DayCount, dc30360Swiss);
    EXPECT_EQ(swiss.Case.Allocation, arOr85);
    EXPECT_TRUE(swiss.Case.Claims[0].Sued);
    const QByteArray written = WriteCaseFile(swiss);
    for (const char *line : {"\"recht\": \"ch\"", "\"tageszaehlung\": \"30360ch\"",
                             "\"verrechnung\": \"85\"", "\"eingeklagt\": true"})
        EXPECT_TRUE(written.contains(line)) << line;
    TCaseFile again;
    ASSERT_FALSE(ReadCaseFile(written, Today, again));
    EXPECT_EQ(WriteCaseFile(again), written);

    const struct {
        const char *Text;
        const char *Message;
    } faults[] = {
        {R"({"format":"tarvo-forderung","version":1,"recht":"fr"})",
         "„recht“ „fr“ ist keiner der Werte „de“, „at“, „ch“."},
        {R"({"format":"tarvo-forderung","version":1,"recht":"ch","tageszaehlung":"365"})",
         "„tageszaehlung“ „365“ ist keiner der Werte „30360ch“, „taggenau“, „act360“."},
        {R"({"format":"tarvo-forderung","version":1,"forderungen":[{"betrag":"1.00",
            "zinsbeginn":"2024-01-16","zins":{"regel":"verbraucher"},"eingeklagt":"ja"}]})",
         "Forderung 1, „eingeklagt“ muss true oder false sein."},
    };
    for (const auto &f : faults) {
        TCaseFile refused;
        EXPECT_EQ(ErrorText(ReadCaseFile(f.Text, Today, refused)), QString::fromUtf8(f.Message));
    }
}
