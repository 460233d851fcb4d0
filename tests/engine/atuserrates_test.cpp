#include "engine/atuserrates.h"
#include "engine_test_p.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray bytesOf(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

// What a file of the user's gives: its changes in day order, or the line at fault and nothing.
TEST(AtUserRates, ReadsChangesOrNamesTheBrokenLine) {
    QTemporaryDir dir;
    const QString path = dir.filePath("basiszinssaetze-at.txt");
    const struct {
        QByteArray bytes;
        std::vector<TBaseRateChange> changes;
        int line; // of the error, 0 for none
        const char *says = "";
    } cases[] = {
        {"\xEF\xBB\xBF# meine\r\n01.01.2027;2,50\r\n\r\n2026-12-15;-0,13\n",
         {{day("15.12.2026"), -13, true}, {day("01.01.2027"), 250, true}},
         0},
        {"# nur Kommentar\n", {}, 0},
        {"01.01.2027;2,50\n01.02.2027;zwei\n", {}, 2, "„zwei“ ist kein Zinssatz."},
        {"01.01.2027\n", {}, 1, "Erwartet wird „Datum;Zinssatz“"},
        {"31.12.1998;2,50\n", {}, 1, "Oesterreichischen Nationalbank"},
        {"01.01.2027;2,50;Bundesbank\n", {}, 1, "Erwartet wird"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.bytes.toStdString());
        writeFile(path, c.bytes);
        const TAtUserRates read = LoadAtUserRates(path);
        EXPECT_EQ(read.Changes, c.changes);
        EXPECT_EQ(read.Error.Line, c.line);
        EXPECT_TRUE(ErrorText(read.Error).contains(QString::fromUtf8(c.says)))
            << ErrorText(read.Error).toStdString();
    }
    EXPECT_FALSE(LoadAtUserRates(dir.filePath("fehlt.txt")).Error) << "a missing file is none";
}

// Set and remove keep the user's comments and the order of days; a change the checks refuse, or
// one over a broken file, leaves the file as it was. The user's change reaches the half-years.
TEST(AtUserRates, ChangesKeepTheFileWholeAndReachTheHalfYears) {
    QTemporaryDir dir;
    const QString path = dir.filePath("tarvo/basiszinssaetze-at.txt");
    ASSERT_FALSE(SetAtUserRate(path, {day("01.01.2027"), 250, true}));
    writeFile(path, "# meine\n" + bytesOf(path));
    ASSERT_FALSE(SetAtUserRate(path, {day("15.12.2026"), 240, true}));
    ASSERT_FALSE(SetAtUserRate(path, {day("01.01.2027"), 260, true}));
    EXPECT_EQ(bytesOf(path), "# meine\n15.12.2026;2,40\n01.01.2027;2,60\n");

    TEngineError error;
    const TAtBaseRates rates = AtRatesWithUsers(path, error);
    EXPECT_FALSE(error);
    EXPECT_EQ(rates.HalfYears(hrFirstDay).Find(day("01.01.2027"))->Rate, 260);
    EXPECT_EQ(rates.HalfYears(hrLastDayBefore).Find(day("01.01.2027"))->Rate, 240);

    EXPECT_EQ(SetAtUserRate(path, {day("01.01.2027"), 99999, true}).Code, ecRate);
    EXPECT_EQ(SetAtUserRate(path, {day("01.01.1990"), 100, true}).Code, ecRate);
    ASSERT_FALSE(RemoveAtUserRate(path, day("15.12.2026")));
    EXPECT_EQ(bytesOf(path), "# meine\n01.01.2027;2,60\n");

    writeFile(path, "01.01.2027;kaputt\n");
    EXPECT_EQ(SetAtUserRate(path, {day("01.07.2027"), 250, true}).Line, 1);
    EXPECT_EQ(RemoveAtUserRate(path, day("01.01.2027")).Line, 1);
    EXPECT_EQ(bytesOf(path), "01.01.2027;kaputt\n");
    AtRatesWithUsers(path, error);
    EXPECT_EQ(error.Code, ecFileContent) << "the shipped changes count";
}
