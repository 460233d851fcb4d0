#include "platform/base/exceptions.h"
#include "platform/core/registry.h"
#include "tests/support/fixtures.h"
#include "tests/support/hive.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <sqlite3.h>

#include <csignal>
#include <optional>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString Key = QStringLiteral("SOFTWARE\\Morvane Software\\Tarvo");

void writeFile(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

QByteArray readFile(const QString &path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

TEST(Registry, KeyPathsAreCaseInsensitiveKeepTheirFirstSpellingAndLiveInAPrivateHive) {
    IsolatedHome home;
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(Key, true));
    ASSERT_TRUE(reg.OpenKey("\\software\\MORVANE SOFTWARE\\tarvo\\Sub", true));
    EXPECT_FALSE(reg.OpenKey("\\SOFTWARE\\Nobody", false));
    EXPECT_FALSE(reg.OpenKey("\\SOFTWARE\\\\Empty part", true));
    EXPECT_EQ(reg.CurrentPath(), "software\\MORVANE SOFTWARE\\tarvo\\Sub") << "still open";
    ASSERT_TRUE(reg.OpenKey("\\Software\\Morvane Software", false));
    EXPECT_TRUE(reg.OpenKey("Tarvo", false)) << "relative to the open key";
    EXPECT_EQ(reg.CurrentPath(), "Software\\Morvane Software\\Tarvo");
    EXPECT_EQ(HiveSql(HiveFile(home), "SELECT path FROM reg_key ORDER BY path"),
              QStringList({"", "SOFTWARE", "SOFTWARE\\Morvane Software", Key, Key + "\\Sub"}));
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(HiveFile(home)).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(Registry, KeepsTheRegistryDataFormsExactly) {
    IsolatedHome home;
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(Key, true));
    reg.WriteString("s", "Größe");
    reg.WriteExpandString("e", "%HOME%\\x");
    reg.WriteInteger("i", -2);
    reg.WriteFloat("f", 2.5);
    EXPECT_EQ(HiveSql(HiveFile(home), "SELECT name, type, hex(data) FROM reg_value ORDER BY name"),
              QStringList({"e|2|25484F4D45255C7800", "f|3|0000000000000440", "i|4|FEFFFFFF",
                           "s|1|4772C3B6C39F6500"}));
    EXPECT_EQ(reg.ReadString("s"), "Größe");
    EXPECT_EQ(reg.ReadString("e"), "%HOME%\\x");
    EXPECT_EQ(reg.ReadInteger("i"), -2);
    EXPECT_EQ(reg.ReadFloat("f"), 2.5);
    EXPECT_EQ(reg.GetDataType("e"), TRegDataType::rdExpandString);
    EXPECT_EQ(reg.GetDataSize("i"), 4);
    EXPECT_EQ(reg.GetDataSize("none"), -1);
}

TEST(Registry, ReadsValuesEditedByHandAndRejectsWrongData) {
    IsolatedHome home;
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(Key, true));
        reg.WriteString("left", "20");
    }
    // What a user might do with the sqlite3 shell.
    HiveSql(HiveFile(home),
            "UPDATE reg_value SET data = CAST('300' AS BLOB) WHERE folded = 'LEFT';"
            "INSERT INTO reg_value(key, name, folded, type, data) SELECT id, column1, "
            "upper(column1), column2, column3 FROM reg_key, (VALUES "
            "('top', 4, X'C8000000'), ('cut', 1, X'610062'), ('short', 4, X'010203'), "
            "('bin4', 3, X'01020304')) WHERE folded = 'SOFTWARE\\MORVANE "
            "SOFTWARE\\TARVO'");
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(Key, false));
    EXPECT_EQ(reg.ReadString("left"), "300") << "without the closing NUL";
    EXPECT_EQ(reg.ReadInteger("top"), 200);
    EXPECT_EQ(reg.ReadString("cut"), "a") << "text ends at the first NUL";
    const struct {
        std::function<void()> read;
        const char *message;
    } failures[] = {
        {[&] { reg.ReadString("top"); }, "Ungültiger Datentyp für 'top'"},
        {[&] { reg.ReadInteger("left"); }, "Ungültiger Datentyp für 'left'"},
        {[&] { reg.ReadFloat("top"); }, "Ungültiger Datentyp für 'top'"},
        {[&] { reg.ReadFloat("bin4"); }, "Ungültiger Datentyp für 'bin4'"},
        {[&] { reg.ReadInteger("short"); }, "Konnte Daten für 'short' nicht holen"},
        {[&] { reg.ReadInteger("none"); }, "Konnte Daten für 'none' nicht holen"},
    };
    for (const auto &f : failures)
        EXPECT_EQ(ErrorOf<ERegistryException>(f.read), QString::fromUtf8(f.message));
}

TEST(Registry, OddValueNamesRoundTripAndCompareWithoutLetterCase) {
    IsolatedHome home;
    const QString longName = QString(20000, u'n') + "ä";
    const struct {
        QString key, name, lookup;
    } cases[] = {
        {Key, "it's \"quoted\"", "IT'S \"QUOTED\""},
        {Key, "back\\slash", "BACK\\SLASH"},
        {"SOFTWARE\\Größe 'x' \"y\"", "Größe", "GRÖßE"},
        {"SOFTWARE\\" + QString(300, u'k') + "\\Ende", longName, longName.toUpper()},
        {"SOFTWARE\\ümlaut", "%d%s' OR 1=1 --", "%D%S' OR 1=1 --"},
    };
    for (const auto &c : cases) {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(c.key, true)) << qPrintable(c.key);
        reg.WriteString(c.name, "first");
        reg.WriteString(c.lookup, c.name);
    }
    const QStringList names = HiveSql(HiveFile(home), "SELECT name FROM reg_value");
    for (const auto &c : cases) {
        EXPECT_TRUE(names.contains(c.name)) << "the first spelling stays";
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(c.key.toLower(), false)) << qPrintable(c.key);
        EXPECT_EQ(reg.ReadString(c.lookup), c.name);
        EXPECT_TRUE(reg.DeleteValue(c.name));
        EXPECT_FALSE(reg.ValueExists(c.lookup));
    }
    EXPECT_TRUE(HiveSql(HiveFile(home), "SELECT name FROM reg_value").isEmpty());
}

TEST(Registry, OnlyTheCurrentUsersRootExists) {
    IsolatedHome home;
    TRegistry reg;
    reg.SetRootKey(HKEY_LOCAL_MACHINE);
    EXPECT_FALSE(reg.OpenKey("Software", true));
    EXPECT_EQ(ErrorOf<ERegistryException>([&] { reg.ValueExists("x"); }),
              "Unable to open the HKEY_LOCAL_MACHINE key");
    reg.SetRootKey(HKEY_CURRENT_USER);
    reg.WriteString("at the root", "x");
    EXPECT_EQ(reg.ReadString("at the root"), "x");
}

TEST(Registry, AHomeWhereNoHiveCanBeMadeSaysWhyNamingTheFile) {
    IsolatedHome home;
    const QString unusable =
        QStringLiteral("Die Einstellungsdatei „%1“ kann nicht benutzt werden: ")
            .arg(HiveFile(home));
    // A file where the folder should be stops even root; the permission case only others.
    writeFile(home.configHome() + "/tarvo", "not a folder");
    {
        TRegistry reg;
        const QString expected = unusable + "ein Teil des Pfades ist kein Ordner.";
        EXPECT_EQ(ErrorOf<ERegistryUnavailable>([&] { reg.OpenKey(Key, true); }), expected);
        EXPECT_EQ(ErrorOf<ERegistryUnavailable>([&] { reg.WriteInteger("x", 1); }), expected);
        reg.SetRootKey(HKEY_LOCAL_MACHINE);
        EXPECT_FALSE(reg.OpenKey("Software", true)) << "a root that does not exist is no fault";
    }
    if (::geteuid() != 0) {
        QFile::remove(home.configHome() + "/tarvo");
        ::chmod(QFile::encodeName(home.configHome()).constData(), 0500);
        TRegistry reg;
        EXPECT_EQ(ErrorOf<ERegistryUnavailable>([&] { reg.OpenKey(Key, true); }),
                  unusable + "keine Schreibberechtigung für die Datei oder ihren Ordner.");
        ::chmod(QFile::encodeName(home.configHome()).constData(), 0700);
    }
}

TEST(Registry, BuildsLeftByAKilledFirstStartAreRemovedThoseOfARunningOneKept) {
    IsolatedHome home;
    const pid_t gone = ::fork();
    ASSERT_GE(gone, 0);
    if (gone == 0) ::_exit(0);
    ::waitpid(gone, nullptr, 0);
    const QString folder = home.configHome() + "/tarvo/";
    QStringList stale, kept = {QStringLiteral("registry.db.new-%1-3").arg(::getppid()),
                               "registry.db.new-x", "registry.db.newer"};
    for (const char *suffix : {"", "-wal", "-shm", "-journal"})
        stale << QStringLiteral("registry.db.new-%1-1%2").arg(gone).arg(QLatin1String(suffix));
    for (const QString &name : stale + kept)
        writeFile(folder + name, "x");
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(Key, true));
    for (const QString &name : stale)
        EXPECT_FALSE(QFile::exists(folder + name)) << qPrintable(name);
    for (const QString &name : kept)
        EXPECT_TRUE(QFile::exists(folder + name)) << qPrintable(name);
}

TEST(Registry, ABrokenHiveIsMovedAsideUnderItsOwnNameAndAFreshOneStarted) {
    QByteArray valid;
    {
        IsolatedHome home;
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(Key, true));
        for (int i = 0; i < 100; ++i)
            reg.WriteString(QString::number(i), QString(500, u'x'));
        reg.CloseKey();
        HiveSql(HiveFile(home), "PRAGMA wal_checkpoint(TRUNCATE)");
        valid = readFile(HiveFile(home));
        ASSERT_GT(valid.size(), 8192);
    }
    const QByteArray cases[] = {
        QByteArray("user data, not a database\n").repeated(300),
        valid.left(valid.size() / 2 + 100), // truncated
        QByteArray(),                       // zero length
    };
    PinnedClock clock(QDateTime(QDate(2026, 12, 7), QTime(8, 30, 5)));
    IsolatedHome home;
    const QString moved = HiveFile(home) + ".broken-20261207-083005";
    for (int i = 0; i < 3; ++i) {
        writeFile(HiveFile(home), cases[i]);
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(Key, true)) << i;
        reg.WriteInteger("top", 20);
        EXPECT_EQ(reg.ReadInteger("top"), 20) << i;
        EXPECT_EQ(readFile(i == 0 ? moved : moved + QStringLiteral("-%1").arg(i + 1)), cases[i])
            << "one name each, none overwritten: " << i;
    }
}

TEST(Registry, AHiveDamagedPastItsFirstPageIsMovedAsideWhenAReadFindsIt) {
    QByteArray damaged;
    PinnedClock clock(QDateTime(QDate(2026, 12, 7), QTime(8, 30, 5)));
    IsolatedHome home;
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(Key, true));
        for (int i = 0; i < 100; ++i)
            reg.WriteString(QString::number(i), QString(500, u'x'));
        HiveSql(HiveFile(home), "PRAGMA wal_checkpoint(TRUNCATE)");
        // The schema's page stays whole, so the hive opens; every other page is garbage.
        damaged = readFile(HiveFile(home));
        ASSERT_GT(damaged.size(), 8192);
        damaged.replace(4096, damaged.size() - 4096, QByteArray(damaged.size() - 4096, '\xA5'));
    }
    writeFile(HiveFile(home), damaged);
    for (bool together : {true, false}) {
        TRegistry reg;
        std::optional<TRegistry::TReadTogether> reads;
        if (together) reads.emplace(reg);
        ASSERT_TRUE(reg.OpenKey(Key, true)) << together;
        EXPECT_FALSE(reg.ValueExists("1")) << "a fresh hive";
        reg.WriteInteger("top", 20);
        EXPECT_EQ(reg.ReadInteger("top"), 20);
        if (together) {
            EXPECT_EQ(readFile(HiveFile(home) + ".broken-20261207-083005"), damaged);
            writeFile(HiveFile(home), damaged);
        }
    }
}

TEST(Registry, ReadsTogetherComeFromOneReadingOfTheKeyUntilAWriteOrTheirEnd) {
    IsolatedHome home;
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(Key, true));
    reg.WriteInteger("a", 1);
    {
        const TRegistry::TReadTogether together(reg);
        ASSERT_TRUE(reg.OpenKey("\\" + Key, false));
        EXPECT_FALSE(reg.OpenKey("\\SOFTWARE\\Nobody", false));
        EXPECT_EQ(reg.ReadInteger("A"), 1);
        // Another process writes meanwhile.
        HiveSql(HiveFile(home), "UPDATE reg_value SET data = X'02000000' WHERE folded = 'A'");
        EXPECT_EQ(reg.ReadInteger("a"), 1) << "still the one reading";
        EXPECT_FALSE(reg.ValueExists("b"));
        reg.WriteInteger("b", 3);
        EXPECT_EQ(reg.ReadInteger("b"), 3) << "a write is seen at once";
        EXPECT_EQ(reg.ReadInteger("a"), 2) << "and the key read anew";
    }
    HiveSql(HiveFile(home), "UPDATE reg_value SET data = X'04000000' WHERE folded = 'A'");
    EXPECT_EQ(reg.ReadInteger("a"), 4);
}

TEST(Registry, AHiveReplacedBehindItsBackIsReopenedAndOldKeysAreRefused) {
    IsolatedHome home;
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(Key, true));
    reg.WriteString("a", "old");
    ASSERT_EQ(::rename(QFile::encodeName(HiveFile(home)).constData(),
                       QFile::encodeName(HiveFile(home) + ".saved").constData()),
              0);
    EXPECT_FALSE(reg.OpenKey("\\SOFTWARE\\Nobody", false)) << "looked up in a fresh hive";
    EXPECT_EQ(ErrorOf<ERegistryException>([&] { reg.ReadString("a"); }),
              "Konnte Daten für 'a' nicht holen");
    ASSERT_TRUE(reg.OpenKey(Key, true));
    EXPECT_FALSE(reg.ValueExists("a"));
}

namespace {

constexpr int ValueCount = 8;

// Writes generation after generation into the values 0..7 and a long text, until killed;
// says on the pipe when the first generation is complete.
[[noreturn]] void writeGenerations(int progress) {
    try {
        TRegistry reg;
        if (!reg.OpenKey(Key, true)) ::_exit(2);
        for (qint32 generation = reg.ReadInteger("0") + 1;; ++generation) {
            for (int i = 0; i < ValueCount; ++i) {
                reg.OpenKey("\\" + Key, true);
                reg.WriteInteger(QString::number(i), generation);
            }
            reg.WriteString("long", QString::number(generation % 10).repeated(20000));
            if (progress >= 0) {
                (void)!::write(progress, "1", 1);
                ::close(progress);
                progress = -1;
            }
        }
    } catch (...) {
        ::_exit(1);
    }
}

} // namespace

TEST(RegistryReliability, AKilledWriterLeavesOldOrNewValuesNeverATornHive) {
    IsolatedHome home;
    {
        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(Key, true));
        for (int i = 0; i < ValueCount; ++i)
            reg.WriteInteger(QString::number(i), 0);
    }
    qint32 before[ValueCount] = {};
    for (int round = 0; round < 15; ++round) {
        int progress[2];
        ASSERT_EQ(::pipe(progress), 0);
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) writeGenerations(progress[1]);
        ::close(progress[1]);
        char byte;
        EXPECT_EQ(::read(progress[0], &byte, 1), 1) << "no generation completed";
        ::close(progress[0]);
        ::usleep(500 * round); // somewhere within the next generations
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped on its own: " << status;

        TRegistry reg;
        ASSERT_TRUE(reg.OpenKey(Key, false));
        // Each value is its old one or a newer one, and as every generation is written from
        // the front, no value is newer than the one before it.
        qint32 values[ValueCount];
        for (int i = 0; i < ValueCount; ++i) {
            values[i] = reg.ReadInteger(QString::number(i));
            EXPECT_GE(values[i], before[i]) << "round " << round << " value " << i;
            if (i > 0) {
                EXPECT_LE(values[i], values[i - 1]) << "round " << round << " value " << i;
            }
        }
        std::copy(std::begin(values), std::end(values), std::begin(before));
        const QString text = reg.ReadString("long");
        EXPECT_EQ(text.size(), 20000);
        EXPECT_EQ(text.count(text.front()), text.size()) << "torn text in round " << round;
        EXPECT_EQ(HiveSql(HiveFile(home), "PRAGMA integrity_check"), QStringList({"ok"}));
    }
}

// Values written together reach the hive together: a write that fails, and a process that
// dies before the end, leave every one of them as it was.
TEST(RegistryReliability, ValuesWrittenTogetherAllChangeOrNone) {
    IsolatedHome home;
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(Key, true));
    reg.WriteTogether([&] {
        reg.WriteInteger("a", 1);
        reg.WriteString("b", "eins");
    });
    HiveSql(HiveFile(home), "CREATE TRIGGER refuse BEFORE UPDATE ON reg_value WHEN NEW.name = "
                            "'b' BEGIN SELECT RAISE(ABORT, 'refused'); END");
    EXPECT_EQ(ErrorOf<ERegistryException>([&] {
                  reg.WriteTogether([&] {
                      reg.WriteInteger("a", 2);
                      reg.WriteString("b", "zwei");
                  });
              }),
              "Konnte Daten für 'b' nicht setzen");
    EXPECT_EQ(reg.ReadInteger("a"), 1);
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        TRegistry child;
        child.OpenKey(Key, false);
        child.WriteTogether([&] {
            child.WriteInteger("a", 3);
            ::_exit(child.ReadInteger("a") == 3 ? 0 : 1); // gone before the end
        });
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child wrote";
    EXPECT_EQ(reg.ReadInteger("a"), 1);
    EXPECT_EQ(reg.ReadString("b"), "eins");
    HiveSql(HiveFile(home), "DROP TRIGGER refuse");
    reg.WriteTogether([&] {
        reg.WriteInteger("a", 4);
        reg.DeleteValue("b");
    });
    EXPECT_EQ(HiveSql(HiveFile(home), "SELECT name, hex(data) FROM reg_value"),
              QStringList("a|04000000"));
}

TEST(RegistryReliability, TwoProcessesWritingAtOnceBothSucceed) {
    IsolatedHome home;
    constexpr int Rounds = 150;
    auto writer = [&](const QString &who) {
        try {
            TRegistry reg;
            for (int i = 0; i < Rounds; ++i) {
                if (!reg.OpenKey(QStringLiteral("\\%1\\%2%3").arg(Key, who).arg(i % 5), true) ||
                    !reg.OpenKey("\\" + Key, true))
                    ::_exit(2);
                reg.WriteString("shared", who + QString::number(i));
                reg.WriteInteger(who, i);
            }
        } catch (...) {
            ::_exit(1);
        }
        ::_exit(0);
    };
    { TRegistry().OpenKey(Key, true); }
    // A third process holds the hive while both start, so both must wait for it. (Not this
    // one: SQLite's lock bookkeeping must not be inherited through fork.)
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t holder = ::fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        sqlite3 *db = nullptr;
        sqlite3_open(QFile::encodeName(HiveFile(home)).constData(), &db);
        const bool locked = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == 0;
        (void)!::write(ready[1], locked ? "1" : "0", 1);
        ::usleep(300000);
        ::_exit(locked && sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == 0 ? 0 : 3);
    }
    char byte = 0;
    ASSERT_EQ(::read(ready[0], &byte, 1), 1);
    ASSERT_EQ(byte, '1');
    pid_t pids[2];
    const QString names[2] = {"A", "B"};
    for (int p = 0; p < 2; ++p) {
        pids[p] = ::fork();
        ASSERT_GE(pids[p], 0);
        if (pids[p] == 0) writer(names[p]);
    }
    for (pid_t pid : {holder, pids[0], pids[1]}) {
        int status = -1;
        ::waitpid(pid, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    }
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(Key, false));
    EXPECT_EQ(reg.ReadInteger("A"), Rounds - 1);
    EXPECT_EQ(reg.ReadInteger("B"), Rounds - 1);
    EXPECT_TRUE(reg.OpenKey("B4", false));
}
