// The store of the user's base rates as the window and the command line share it: every change
// reads the file afresh under the writers' lock, so that none writes back an older list. (Special
// files and a full disk: through both programs, in tests/cli and tests/app.)

#include "engine/baseratestore.h"
#include "engine_test_p.h"
#include "platform/base/filelock.h"
#include "tests/support/fixtures.h"
#include "tests/support/specialfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QByteArray readAll(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

void writeFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QString ratesPath(const QTemporaryDir &dir) {
    return dir.filePath(QStringLiteral("tarvo/") + UserRatesFileName);
}

} // namespace

// The window's store keeps an old list in memory while another program changes the file; its
// next change starts from the file, not from its memory.
TEST(BaseRateStore, NoWriterWritesBackAnOlderList) {
    QTemporaryDir dir;
    const QString path = ratesPath(dir);
    TBaseRateStore window(path), commandLine(path);
    EXPECT_FALSE(window.Load());
    ASSERT_FALSE(commandLine.Set({day("01.01.2027"), 157, true}));
    EXPECT_FALSE(window.Table().Find(day("01.01.2027"))) << "not read yet";
    ASSERT_FALSE(window.Set({day("01.07.2027"), 177, true}));
    EXPECT_EQ(readAll(path).split('\n').mid(1),
              (QList<QByteArray>{"01.01.2027;1,57", "01.07.2027;1,77", ""}));
    EXPECT_EQ(window.Table().Find(day("01.01.2027"))->Rate, 157) << "read on the way";

    // A change elsewhere is seen by Refresh, and only once.
    ASSERT_FALSE(commandLine.Remove(day("01.01.2027")));
    EXPECT_TRUE(window.Refresh());
    EXPECT_FALSE(window.Refresh());
    EXPECT_FALSE(window.Table().Find(day("01.01.2027")));
    // A broken file is left alone by Refresh and the rates stay as they were.
    writeFile(path, "01.07.2027;x\n");
    EXPECT_FALSE(window.Refresh());
    EXPECT_EQ(window.Table().Find(day("01.07.2027"))->Rate, 177);
    EXPECT_TRUE(QFile::exists(path));
}

// The watched store hears of a change by another program while the event loop runs.
TEST(BaseRateStore, WatchedStoreFollowsOtherWriters) {
    QTemporaryDir dir;
    const QString path = ratesPath(dir);
    TBaseRateStore window(path), commandLine(path);
    window.Load();
    int heard = 0;
    window.OnChanged = [&] { ++heard; };
    window.Watch(); // before the folder exists
    ASSERT_FALSE(commandLine.Set({day("01.01.2027"), 157, true}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.Table().Find(day("01.01.2027")); }, 5000));
    ASSERT_FALSE(commandLine.Set({day("01.07.2027"), 177, true}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.Table().Find(day("01.07.2027")); }, 5000));
    const int before = heard;
    ASSERT_FALSE(window.Set({day("01.01.2028"), 190, true}));
    QTest::qWait(100);
    EXPECT_EQ(heard, before) << "its own change is no news";
    EXPECT_GE(before, 2);
}

// What a writer killed between writing and renaming left is removed at the next change; the
// lock file, the files set aside and other files stay.
TEST(BaseRateStore, StaleCopiesGoAtTheNextChange) {
    QTemporaryDir dir;
    const QString path = ratesPath(dir);
    TBaseRateStore store(path);
    ASSERT_FALSE(store.Set({day("01.01.2027"), 157, true}));
    const QStringList kept{UserRatesFileName + QStringLiteral(".broken-20260101-101010"),
                           UserRatesFileName + QStringLiteral(".lock"),
                           UserRatesFileName + QStringLiteral(".abc"),
                           UserRatesFileName + QStringLiteral(".Ab3dE6f")};
    for (const QString &name : kept + QStringList{UserRatesFileName + QStringLiteral(".Ab3dE6"),
                                                  UserRatesFileName + QStringLiteral(".zZ09yY")})
        writeFile(dir.filePath(QStringLiteral("tarvo/") + name), "01.01.2027;1,0");
    ASSERT_FALSE(store.Set({day("01.07.2027"), 177, true}));
    QStringList expected = kept + QStringList{UserRatesFileName};
    expected.sort();
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("tarvo"))).entryList(QDir::Files, QDir::Name),
              expected);
}

// A writer that holds the lock too long is waited for only so long; then the change is refused
// with the reason.
TEST(BaseRateStore, TheLockIsWaitedForOnlySoLong) {
    QTemporaryDir dir;
    const QString path = dir.filePath(UserRatesFileName);
    TFileLock holder(path), taker(path);
    ASSERT_EQ(holder.Acquire(), QString());
    EXPECT_EQ(taker.Acquire(50),
              QStringLiteral("ein anderes Programm hält die Sperrdatei „%1.lock“ zu lange "
                             "belegt; bitte gleich noch einmal versuchen")
                  .arg(path));
    holder.Release();
    EXPECT_EQ(taker.Acquire(50), QString());
    // A FIFO or a link in the lock file's place is not taken for it.
    for (TSpecialFile kind : {TSpecialFile::Fifo, TSpecialFile::DevZero}) {
        QTemporaryDir other;
        const QString guarded = other.filePath(UserRatesFileName);
        ASSERT_TRUE(MakeSpecialFile(kind, guarded + QStringLiteral(".lock")));
        TFileLock lock(guarded);
        EXPECT_EQ(lock.Acquire(50),
                  QStringLiteral("die Sperrdatei „%1.lock“ ist %2, keine gewöhnliche Datei")
                      .arg(guarded, kind == TSpecialFile::Fifo
                                        ? QStringLiteral("eine FIFO")
                                        : QStringLiteral("eine Verknüpfung")))
            << SpecialFileName(kind);
        EXPECT_FALSE(lock.Held());
    }
}
