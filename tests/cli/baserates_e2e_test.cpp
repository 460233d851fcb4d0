// The built tarvo-zins with the user's base rates under strain: a FIFO or an endless device
// as the rates file or the import file, a full disk, a download cut short, and a second
// writer changing the file at the same time. Every case ends in time with a German message,
// the exit status and the file as it was.

#include "engine/baseratestore.h"
#include "engine/fixedtext.h"
#include "platform/base/fixedpoint.h"
#include "report/amounts.h"
#include "report/errortext.h"
#include "tests/e2e/copies.h"
#include "tests/support/smalldisk.h"
#include "tests/support/specialfiles.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

namespace {

struct TRun {
    int status = -1; // -1: did not end in time, or crashed
    QString out, err;
};

// tarvo-zins without a display on the home's folders (the data folder given, or the home's).
TRun Zins(const IsolatedHome &home, const QStringList &arguments, const QString &dataHome = {}) {
    QProcessEnvironment env = isolatedEnvironment(home);
    if (!dataHome.isEmpty()) env.insert("XDG_DATA_HOME", dataHome);
    QProcess zins;
    zins.setProcessEnvironment(env);
    zins.start(TARVO_ZINS_EXE, arguments);
    zins.closeWriteChannel();
    if (!zins.waitForFinished(20000)) {
        zins.kill();
        zins.waitForFinished();
        return {-1, {}, QStringLiteral("(did not end within 20 s)")};
    }
    return {zins.exitStatus() == QProcess::NormalExit ? zins.exitCode() : -1,
            QString::fromUtf8(zins.readAllStandardOutput()),
            QString::fromUtf8(zins.readAllStandardError())};
}

QByteArray download() {
    QFile file(TARVO_ENGINE_TEST_DATA "/bbk_download_de.csv");
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

struct TMonthValue {
    int Year, Month;
    TBasisPoints Rate;
};

// A German download of these months' values.
QByteArray monthsDownload(std::initializer_list<TMonthValue> months) {
    QByteArray data = "\"\";BBIN1.M.DE.BBK.BBKBAS2.EUR.ME;BBIN1.M.DE.BBK.BBKBAS2.EUR.ME_FLAGS\n";
    for (const TMonthValue &m : months)
        data += QStringLiteral("%1-%2;%3;\n")
                    .arg(m.Year)
                    .arg(m.Month, 2, 10, QLatin1Char('0'))
                    .arg(GermanRate(m.Rate))
                    .toUtf8();
    return data;
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

} // namespace

// A FIFO or a link to an endless device as the rates file: each command ends at once, names
// the file and the reason, and answers with the shipped rates; an import changes nothing.
TEST(CliBaseRates, SpecialRatesFilesNeitherBlockNorFillTheMemory) {
    const QStringList statement{"verzug", "1000", "01.01.2025", "31.01.2026", "--verbraucher"};
    IsolatedHome plain;
    const QString shipped = Zins(plain, statement).out;
    ASSERT_TRUE(shipped.contains("01.01.2026")) << shipped.toStdString();
    for (TSpecialFile kind :
         {TSpecialFile::Fifo, TSpecialFile::DevZero, TSpecialFile::DevUrandom}) {
        IsolatedHome home;
        const QString rates = home.dataHome() + "/tarvo/basiszinssaetze.txt";
        ASSERT_TRUE(QDir().mkpath(home.dataHome() + "/tarvo"));
        ASSERT_TRUE(MakeSpecialFile(kind, rates));
        QFile csv(home.path() + "/bbk.csv");
        writeFile(csv.fileName(), download());
        const QString unreadable = QStringLiteral("tarvo-zins: Basiszinssätze: Die Datei „%1“ "
                                                  "kann nicht gelesen werden: %2.\n")
                                       .arg(rates, SpecialFileReason(kind));
        const struct {
            QStringList arguments;
            int status;
            QString out, err;
        } cases[] = {
            {{"basiszins", "15.03.2025"},
             0,
             "Basiszinssatz am 15.03.2025: 2,27 % (ab 01.01.2025)\nBasiszinssätze bis "
             "31.12.2026\n",
             unreadable},
            {statement, 0, shipped, unreadable},
            {{"basiszins", "--import", csv.fileName()},
             1,
             {},
             unreadable +
                 QStringLiteral("tarvo-zins: --import: Die Datei „%1“ kann nicht gelesen werden: "
                                "%2. Es wurde nichts geändert.\n")
                     .arg(rates, SpecialFileReason(kind))},
        };
        for (const auto &c : cases) {
            FifoWatchdog watchdog(rates);
            const TRun run = Zins(home, c.arguments);
            EXPECT_FALSE(watchdog.Fired()) << SpecialFileName(kind) << " blocked tarvo-zins";
            EXPECT_EQ(run.status, c.status)
                << SpecialFileName(kind) << ": " << run.err.toStdString();
            EXPECT_EQ(run.out, c.out) << SpecialFileName(kind);
            EXPECT_EQ(run.err, c.err) << SpecialFileName(kind);
        }
        EXPECT_TRUE(QFileInfo(rates).isSymLink() || kind == TSpecialFile::Fifo);
    }
}

// An import file that is no regular file, or a download cut short: exit status 1, the file
// and the reason named, the user's rates as they were.
TEST(CliBaseRates, ImportFilesThatCannotBeReadChangeNothing) {
    IsolatedHome home;
    const QString rates = home.dataHome() + "/tarvo/basiszinssaetze.txt";
    ASSERT_TRUE(QDir().mkpath(home.dataHome() + "/tarvo"));
    const QByteArray before = "# meine\n01.01.2027;1,57\n";
    writeFile(rates, before);
    const QString cut = home.path() + "/abgebrochen.csv";
    writeFile(cut, download() + "2026-09;1");
    struct TCase {
        QString file, reason;
    };
    QList<TCase> cases{{cut, QStringLiteral("ist in Zeile 20 nicht lesbar: Die letzte Zeile hat "
                                            "kein Zeilenende. Die Datei ist wohl nicht "
                                            "vollständig heruntergeladen.")}};
    for (TSpecialFile kind : AllSpecialFiles) {
        const QString special = home.path() + QStringLiteral("/special-%1.csv").arg(int(kind));
        ASSERT_TRUE(MakeSpecialFile(kind, special));
        cases.append({special, "kann nicht gelesen werden: " + SpecialFileReason(kind) + "."});
    }
    for (const TCase &c : cases) {
        FifoWatchdog watchdog(c.file);
        const TRun run = Zins(home, {"basiszins", "--import", c.file});
        EXPECT_FALSE(watchdog.Fired()) << c.file.toStdString() << " blocked tarvo-zins";
        EXPECT_EQ(run.status, 1) << c.file.toStdString();
        EXPECT_EQ(run.err, "tarvo-zins: --import: Die Datei „" + c.file + "“ " + c.reason +
                               " Es wurde nichts übernommen.\n");
        EXPECT_EQ(readAll(rates), before);
    }
}

// A full disk: exit status 1, the reason, and the file as it was (it once came out empty).
TEST(CliBaseRates, AFullDiskKeepsTheRatesFile) {
    TSmallDisk disk;
    if (!disk.Mounted()) GTEST_SKIP() << disk.Reason.toStdString();
    IsolatedHome home;
    const QString rates = disk.Path() + "/tarvo/basiszinssaetze.txt";
    const QString csv = home.path() + "/bbk.csv";
    writeFile(csv, monthsDownload({{2026, 9, 152}, {2027, 1, 177}}));
    const QString firstCsv = home.path() + "/first.csv";
    writeFile(firstCsv, monthsDownload({{2025, 9, 999}}));
    ASSERT_EQ(Zins(home, {"basiszins", "--import", firstCsv}, disk.Path()).status, 0);
    const QByteArray before = readAll(rates);
    ASSERT_TRUE(before.contains("01.07.2025;9,99;Bundesbank"));
    disk.Fill();
    const TRun run = Zins(home, {"basiszins", "--import", csv}, disk.Path());
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "tarvo-zins: --import: Die Datei „" + rates +
                           "“ kann nicht geschrieben werden: kein Platz mehr auf dem "
                           "Datenträger. Sie bleibt, wie sie war.\n");
    EXPECT_EQ(readAll(rates), before);
    EXPECT_EQ(QDir(disk.Path() + "/tarvo").entryList(QDir::Files),
              (QStringList{"basiszinssaetze.txt", "basiszinssaetze.txt.lock"}));
}

// tarvo-zins importing and a store of another process adding, 200 times each at the same time:
// every rate of both arrives, and the file is whole whenever it is read.
TEST(CliBaseRates, TwoWritersAtOnceLoseNothing) {
    IsolatedHome home;
    const QString rates = home.dataHome() + "/tarvo/basiszinssaetze.txt";
    constexpr int Rounds = 200;
    // tarvo-zins brings the half-years of 2002 to 2026 in turn, each time with a new value.
    QStringList script;
    for (int i = 0; i < Rounds; ++i) {
        const QString csv = home.path() + QStringLiteral("/import-%1.csv").arg(i);
        const int halfYear = i % 50;
        writeFile(csv, monthsDownload({{2002 + halfYear / 2, halfYear % 2 ? 7 : 1, 1500 + i}}));
        script << QStringLiteral("\"$0\" basiszins --import '%1' >/dev/null || exit 1").arg(csv);
    }
    QProcess importer;
    importer.setProcessEnvironment(isolatedEnvironment(home));
    importer.start("bash", {"-c", script.join(u'\n'), TARVO_ZINS_EXE});
    ASSERT_TRUE(importer.waitForStarted());

    TBaseRateStore window(rates);
    TDateTime from = MakeDateSerial(2030, 1, 1);
    int torn = 0;
    for (int i = 0; i < Rounds; ++i, from = NextHalfYearStart(from)) {
        ASSERT_FALSE(window.Set({from, 100 + i, true})) << i;
        const TUserRates read = LoadUserRates(rates, false);
        torn += bool(read.Error);
    }
    ASSERT_TRUE(importer.waitForFinished(300000));
    EXPECT_EQ(importer.exitCode(), 0) << importer.readAllStandardError().toStdString();
    EXPECT_EQ(torn, 0);

    const TUserRates final = LoadUserRates(rates, false);
    ASSERT_FALSE(final.Error) << ErrorText(final.Error).toStdString();
    ASSERT_EQ(final.Rates.size(), std::size_t(Rounds + 50));
    from = MakeDateSerial(2030, 1, 1);
    for (int i = 0; i < Rounds; ++i, from = NextHalfYearStart(from)) {
        const TBaseRate *typed = final.File.Find(from);
        ASSERT_TRUE(typed) << FormatDayDate(from).toStdString();
        EXPECT_EQ(typed->Rate, 100 + i);
    }
    for (int halfYear = 0; halfYear < 50; ++halfYear) {
        const TDateTime day = MakeDateSerial(quint16(2002 + halfYear / 2), halfYear % 2 ? 7 : 1, 1);
        const TBaseRate *imported = final.File.Find(day);
        ASSERT_TRUE(imported) << FormatDayDate(day).toStdString();
        EXPECT_EQ(imported->Rate, 1500 + Rounds - 50 + halfYear) << "the last import's value";
        EXPECT_TRUE(imported->Imported);
    }
}
