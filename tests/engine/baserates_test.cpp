#include "engine/baserates.h"
#include "engine/userrates.h"
#include "engine_test_p.h"
#include "tests/support/fixtures.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
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
    EXPECT_EQ(BaseRateReachText(table), "Basiszinssätze bis 31.12.2026");
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
    const struct {
        const char *text;
        int brokenLine; // 0: fine
        std::vector<TBaseRate> rates;
    } cases[] = {
        {"\xEF\xBB\xBF# eigene\r\n01.01.2027;1,52\r\n\r\n2027-07-01; 1.27 \n",
         0,
         {{day("01.01.2027"), 152, true}, {day("01.07.2027"), 127, true}}},
        {"01.01.2027;-0,5 %\n01.07.2027;-10\n01.01.2028;20,00",
         0,
         {{day("01.01.2027"), -50, true},
          {day("01.07.2027"), -1000, true},
          {day("01.01.2028"), 2000, true}}},
        {"", 0, {}},
        {"01.01.2027;1,52\n01.02.2027;1,52", 2, {}}, // no half-year
        {"01.01.2027;1,52\n01.01.2027;1,62", 2, {}}, // twice
        {"#\n01.01.2027;eins", 2, {}},
        {"01.01.2027;1,523", 1, {}},
        {"01.01.2027 1,52", 1, {}},
        {"32.01.2027;1,52", 1, {}},
        {"01.01.2027;20,01", 1, {}},
        {"01.07.2027;-10,01", 1, {}},
        {"01.07.2001;2,00", 1, {}}, // before § 247 BGB
    };
    for (const auto &c : cases) {
        const TUserRates parsed = ParseUserRates(QString::fromUtf8(c.text));
        EXPECT_EQ(parsed.Error.Line, c.brokenLine) << c.text;
        EXPECT_EQ(parsed.Rates, c.rates) << c.text;
        EXPECT_EQ(parsed.Error.Message.isEmpty(), c.brokenLine == 0) << c.text;
    }
}

TEST(UserRates, SavedFileReadsBackAndAddsOrCorrects) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sub/") + UserRatesFileName);
    std::vector<TBaseRate> user;
    EXPECT_FALSE(SetUserRate(user, {day("01.07.2027"), -88, false}));
    EXPECT_FALSE(SetUserRate(user, {day("01.01.2027"), 100, false}));
    EXPECT_FALSE(SetUserRate(user, {day("01.01.2027"), 152, false}));
    EXPECT_EQ(SetUserRate(user, {day("01.03.2027"), 152, false}).Code, ecRate);
    ASSERT_EQ(user.size(), 2u);
    EXPECT_EQ(SerializeUserRates(user).section(u'\n', 1), "01.01.2027;1,52\n01.07.2027;-0,88\n");
    ASSERT_FALSE(SaveUserRates(path, user)) << "folder created on the way";
    const TUserRates loaded = LoadUserRates(path);
    EXPECT_FALSE(loaded.Error);
    EXPECT_EQ(loaded.Rates, (std::vector<TBaseRate>{{day("01.01.2027"), 152, true},
                                                    {day("01.07.2027"), -88, true}}));
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
    EXPECT_TRUE(loaded.Error.Message.contains(path)) << loaded.Error.Message.toStdString();
    EXPECT_TRUE(loaded.Error.Message.contains(QStringLiteral("Zeile 2")));
    EXPECT_TRUE(loaded.Rates.empty()) << "never half-used";
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_TRUE(QFile::exists(path + QStringLiteral(".broken-20260304-050607")));
    // Invalid UTF-8 is broken too; the second one aside gets its own name.
    writeFile(path, "01.01.2027;1,52\n# \xff\n");
    EXPECT_EQ(LoadUserRates(path).Error.Line, 2);
    EXPECT_TRUE(QFile::exists(path + QStringLiteral(".broken-20260304-050607-2")));
}

// Works under root as well: a folder that is a file, a file that is a folder.
TEST(UserRates, UnwritableTargetLeavesNothingBehind) {
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("datei")), "kein Ordner");
    ASSERT_TRUE(QDir(dir.path()).mkdir(UserRatesFileName));
    for (const QString &path : {dir.filePath(QStringLiteral("datei/") + UserRatesFileName),
                                dir.filePath(UserRatesFileName)}) {
        const TEngineError error = SaveUserRates(path, {{day("01.01.2027"), 152, true}});
        EXPECT_EQ(error.Code, ecFile);
        EXPECT_EQ(error.File, path);
        EXPECT_TRUE(error.Message.contains(QStringLiteral("kann nicht geschrieben werden")));
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
              (QStringList{UserRatesFileName, QStringLiteral("datei")}));
}

TEST(UserRates, AdoptsImportedRates) {
    std::vector<TBaseRate> user{{day("01.07.2025"), 999, true}, {day("01.01.2027"), 100, true}};
    const int changed = AdoptRates(user,
                                   {{day("01.01.2025"), 227, true},  // as shipped: nothing
                                    {day("01.07.2025"), 127, true},  // as shipped: drops 9,99
                                    {day("01.01.2027"), 100, true},  // the user's already
                                    {day("01.07.2027"), 140, true}}, // new
                                   ShippedBaseRates());
    EXPECT_EQ(changed, 2);
    EXPECT_EQ(user, (std::vector<TBaseRate>{{day("01.01.2027"), 100, true},
                                            {day("01.07.2027"), 140, true}}));
}
