#include "engine/baserates.h"
#include "engine/userrates.h"
#include "engine_test_p.h"
#include "tests/support/fixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(BaseRates, ShippedTableReachesTheEndOf2026) {
    const TBaseRateTable &table = ShippedBaseRates();
    ASSERT_EQ(table.Rates().size(), 50u);
    EXPECT_EQ(table.Rates().front(), (TBaseRate{day("01.01.2002"), 257, false}));
    EXPECT_EQ(table.Reach(), day("31.12.2026"));
    const struct {
        const char *day;
        TBasisPoints rate; // 99999: none
    } cases[] = {
        {"31.12.2001", 99999}, {"01.01.2002", 257}, {"30.06.2002", 257},
        {"01.07.2002", 247},   {"15.03.2013", -13}, {"31.12.2022", -88},
        {"01.07.2026", 152},   {"31.12.2026", 152}, {"01.01.2027", 99999},
    };
    for (const auto &c : cases) {
        const TBaseRate *found = table.Find(day(c.day));
        EXPECT_EQ(found ? found->Rate : 99999, c.rate) << c.day;
    }
}

TEST(BaseRates, UserRatesOverTheShippedOnes) {
    const TBaseRateTable merged = ShippedBaseRates().MergedWith({{day("01.07.2025"), 130, false},
                                                                 {day("01.01.2027"), 140, false},
                                                                 {day("01.01.2028"), 150, false}});
    EXPECT_EQ(*merged.Find(day("02.07.2025")), (TBaseRate{day("01.07.2025"), 130, true}));
    EXPECT_FALSE(merged.Find(day("01.01.2025"))->User);
    EXPECT_TRUE(merged.Find(day("01.07.2027")) == nullptr);
    // The gap of 2027's second half ends the reach.
    EXPECT_EQ(merged.Reach(), day("30.06.2027"));
}

TEST(UserRates, ParsesLinesAndNamesTheFirstBrokenOne) {
    const TBaseRate typed2027{day("01.01.2027"), 152, true};
    const TBaseRate typed2027b{day("01.07.2027"), 127, true};
    const struct {
        const char *text;
        int brokenLine; // 0: fine
        std::vector<TBaseRate> rates;
    } cases[] = {
        {"\xEF\xBB\xBF# eigene\r\n01.01.2027;1,52\r\n\r\n2027-07-01; 1.27 \n",
         0,
         {typed2027, typed2027b}},
        // Line ends of any kind; a comment's bytes are the user's, whatever they are.
        {"# alt\r01.01.2027;1,52\r01.07.2027;1,27", 0, {typed2027, typed2027b}},
        {"# M\xe4rz, Latin-1\n01.01.2027;1,52\n\n\r\n01.07.2027;1,27\r\n",
         0,
         {typed2027, typed2027b}},
        {"01.01.2027;-0,5 %\n01.07.2027;-10;Bundesbank\n01.01.2028;20,00; bundesbank ",
         0,
         {{day("01.01.2027"), -50, true},
          {day("01.07.2027"), -1000, true, true},
          {day("01.01.2028"), 2000, true, true}}},
        {"01.01.2027;1,52;\n", 0, {typed2027}},
        {"", 0, {}},
        {"01.01.2027;1,52\n01.02.2027;1,52", 2, {}}, // no half-year
        {"01.01.2027;1,52\n01.01.2027;1,62", 2, {}}, // twice
        {"#\n01.01.2027;eins", 2, {}},
        {"01.01.2027;1,523", 1, {}},
        {"01.01.2027 1,52", 1, {}},
        {"01.01.2027;1,52;Bank", 1, {}},
        {"01.01.2027;1,52;Bundesbank;x", 1, {}},
        {"#\r#\r01.01.2027;1,5\xe4", 3, {}}, // a rate line that is not UTF-8
        {"32.01.2027;1,52", 1, {}},
        {"01.01.2027;20,01", 1, {}},
        {"01.07.2027;-10,01", 1, {}},
        {"01.07.2001;2,00", 1, {}}, // before § 247 BGB
    };
    for (const auto &c : cases) {
        const TUserRates parsed = ParseUserRates(c.text);
        EXPECT_EQ(parsed.Error.Line, c.brokenLine) << c.text;
        EXPECT_EQ(parsed.Rates, c.rates) << c.text;
        EXPECT_EQ(ErrorText(parsed.Error).isEmpty(), c.brokenLine == 0) << c.text;
    }
}

// Every change keeps the user's lines around the rates, byte for byte.
TEST(UserRates, ChangesKeepTheUsersLines) {
    const QByteArray file = "# Meine S\xe4tze\r\n"
                            "01.01.2027;1,52\r\n"
                            "# Juli: gesch\xe4tzt\r"
                            "2027-07-01;1.6\n";
    const struct {
        const char *name;
        std::function<void(TUserRatesFile &)> change;
        QByteArray expected;
    } cases[] = {
        {"added at the end",
         [](TUserRatesFile &f) {
             f.Set({day("01.01.2028"), 200, true});
         },
         "# Meine S\xe4tze\n01.01.2027;1,52\n# Juli: gesch\xe4tzt\n2027-07-01;1.6\n"
         "01.01.2028;2,00\n"},
        {"added before the first",
         [](TUserRatesFile &f) {
             f.Set({day("01.07.2026"), 152, true, true});
         },
         "# Meine S\xe4tze\n01.07.2026;1,52;Bundesbank\n01.01.2027;1,52\n"
         "# Juli: gesch\xe4tzt\n2027-07-01;1.6\n"},
        {"corrected in its place",
         [](TUserRatesFile &f) {
             f.Set({day("01.07.2027"), 177, true});
         },
         "# Meine S\xe4tze\n01.01.2027;1,52\n# Juli: gesch\xe4tzt\n01.07.2027;1,77\n"},
        {"removed", [](TUserRatesFile &f) { EXPECT_TRUE(f.Remove(day("01.01.2027"))); },
         "# Meine S\xe4tze\n# Juli: gesch\xe4tzt\n2027-07-01;1.6\n"},
        {"nothing to remove", [](TUserRatesFile &f) { EXPECT_FALSE(f.Remove(day("01.01.2030"))); },
         "# Meine S\xe4tze\n01.01.2027;1,52\n# Juli: gesch\xe4tzt\n2027-07-01;1.6\n"},
    };
    for (const auto &c : cases) {
        TUserRates parsed = ParseUserRates(file);
        ASSERT_FALSE(parsed.Error) << ErrorText(parsed.Error).toStdString();
        c.change(parsed.File);
        EXPECT_EQ(parsed.File.Bytes(), c.expected) << c.name;
        EXPECT_FALSE(ParseUserRates(parsed.File.Bytes()).Error) << c.name;
    }
    TUserRatesFile fresh;
    EXPECT_FALSE(SetUserRate(fresh, {day("01.07.2027"), -88, true, true}));
    EXPECT_EQ(SetUserRate(fresh, {day("01.03.2027"), 152}).Code, ecRate);
    EXPECT_EQ(fresh.Bytes(), "# Eigene Basiszinssätze (§ 247 BGB): Halbjahr ab;Prozent"
                             "[;Bundesbank, wenn aus ihrem Download übernommen]\n"
                             "01.07.2027;-0,88\n")
        << "typed by the user, not imported";
}

TEST(UserRates, SavedFileReadsBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sub/") + UserRatesFileName);
    TUserRatesFile file;
    file.Set({day("01.01.2027"), 152, true});
    file.Set({day("01.07.2027"), 177, true, true});
    ASSERT_FALSE(SaveUserRates(path, file)) << "folder created on the way";
    const TUserRates loaded = LoadUserRates(path);
    EXPECT_FALSE(loaded.Error);
    EXPECT_EQ(loaded.Rates, file.Rates());
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("sub"))).entryList(QDir::Files),
              QStringList{UserRatesFileName});
    EXPECT_FALSE(LoadUserRates(dir.filePath(QStringLiteral("none.txt"))).Error);
}

TEST(UserRates, BrokenFileIsMovedAsideWhole) {
    PinnedClock clock(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)));
    QTemporaryDir dir;
    const QString path = dir.filePath(UserRatesFileName);
    writeFile(path, "01.01.2027;1,52\n01.07.2027;x\n");
    const TUserRates loaded = LoadUserRates(path);
    EXPECT_EQ(loaded.Error.Code, ecFileContent);
    EXPECT_EQ(loaded.Error.File, path);
    EXPECT_EQ(loaded.Error.Line, 2);
    EXPECT_EQ(ErrorText(loaded.Error),
              QStringLiteral("Die Datei „%1“ ist in Zeile 2 nicht lesbar: „x“ ist kein Zinssatz. "
                             "Sie wurde als „%1.broken-20260304-050607“ beiseitegelegt; es gelten "
                             "die mitgelieferten Basiszinssätze.")
                  .arg(path));
    EXPECT_TRUE(loaded.Rates.empty()) << "never half-used";
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(QFile::exists(path + QStringLiteral(".broken-20260304-050607")));
    // The second one aside gets its own name; the newest is named first.
    writeFile(path, "01.01.2027;1,52\n01.07.2027;1,5\xff\n");
    EXPECT_EQ(LoadUserRates(path).Error.Line, 2);
    EXPECT_EQ(SetAsideUserRates(path),
              (QStringList{path + QStringLiteral(".broken-20260304-050607-2"),
                           path + QStringLiteral(".broken-20260304-050607")}));
    // Read without setting aside: the user may be editing it.
    writeFile(path, "01.01.2027;x\n");
    EXPECT_EQ(LoadUserRates(path, false).Error.Line, 1);
    EXPECT_TRUE(QFile::exists(path));
}

// Works under root as well: a folder that is a file, a file that is a folder.
TEST(UserRates, UnwritableTargetLeavesNothingBehind) {
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("datei")), "kein Ordner");
    ASSERT_TRUE(QDir(dir.path()).mkdir(UserRatesFileName));
    TUserRatesFile file;
    file.Set({day("01.01.2027"), 152, true});
    for (const QString &path : {dir.filePath(QStringLiteral("datei/") + UserRatesFileName),
                                dir.filePath(UserRatesFileName)}) {
        const TEngineError error = SaveUserRates(path, file);
        EXPECT_EQ(error.Code, ecFile);
        EXPECT_EQ(error.File, path);
        EXPECT_TRUE(ErrorText(error).startsWith(
            QStringLiteral("Die Datei „%1“ kann nicht geschrieben werden: ").arg(path)))
            << ErrorText(error).toStdString();
        EXPECT_TRUE(ErrorText(error).endsWith(QStringLiteral(". Sie bleibt, wie sie war.")));
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
              (QStringList{UserRatesFileName, QStringLiteral("datei")}));
}

TEST(UserRates, AdoptsImportedRates) {
    TUserRatesFile file = ParseUserRates("01.07.2025;9,99\n01.01.2027;1,00\n").File;
    const int changed = AdoptRates(file,
                                   {{day("01.01.2025"), 227, true},  // as shipped: nothing
                                    {day("01.07.2025"), 127, true},  // as shipped: drops 9,99
                                    {day("01.01.2027"), 100, true},  // the same, now imported
                                    {day("01.07.2027"), 140, true}}, // new
                                   ShippedBaseRates());
    EXPECT_EQ(changed, 2);
    EXPECT_EQ(file.Bytes(), "01.01.2027;1,00;Bundesbank\n01.07.2027;1,40;Bundesbank\n");
}
