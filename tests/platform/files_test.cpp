#include "platform/base/files.h"

#include "tests/support/smalldisk.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray contents(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

void write(const QString &path, const QByteArray &data) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(data);
}

// The names in the folder besides the ones given, so that a left-over copy shows.
QStringList others(const QString &folder, const QStringList &known) {
    QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : known)
        names.removeAll(name);
    return names;
}

} // namespace

TEST(Files, ReadsOnlyRegularFilesUpToTheLimit) {
    QTemporaryDir dir;
    write(dir.filePath("ten"), "0123456789");
    ASSERT_EQ(::mkfifo(QFile::encodeName(dir.filePath("fifo")).constData(), 0600), 0);
    struct Case {
        QString Path;
        qint64 Limit;
        TReadStatus Status;
        QString Reason;
    } cases[] = {
        {dir.filePath("ten"), 10, TReadStatus::Read, ""},
        {dir.filePath("ten"), 9, TReadStatus::Failed, "die Datei ist größer als 9 Bytes"},
        {dir.filePath("none"), 10, TReadStatus::Missing, ""},
        {dir.path(), 10, TReadStatus::Failed, "das ist ein Ordner, keine Datei"},
        {dir.filePath("fifo"), 10, TReadStatus::Failed, "das ist keine gewöhnliche Datei"},
        {"/dev/zero", FileReadLimit, TReadStatus::Failed, "das ist keine gewöhnliche Datei"},
    };
    for (const Case &c : cases) {
        const TFileRead read = ReadWholeFile(c.Path, c.Limit);
        EXPECT_EQ(read.Status, c.Status) << c.Path.toStdString();
        EXPECT_EQ(read.Reason, c.Reason) << c.Path.toStdString();
        if (read) {
            EXPECT_EQ(read.Data, "0123456789");
        }
    }
}

TEST(Files, ReplacesWholeKeepingPermissionsAndLinks) {
    QTemporaryDir dir;
    const QString target = dir.filePath("rates.txt");
    write(target, "old");
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0640), 0);
    ASSERT_TRUE(QFile::link(target, dir.filePath("link")));

    EXPECT_EQ(ReplaceFile(dir.filePath("link"), "new"), "");
    EXPECT_EQ(contents(target), "new");
    EXPECT_TRUE(QFileInfo(dir.filePath("link")).isSymLink());
    struct stat info {};
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0640u);
    EXPECT_EQ(others(dir.path(), {"rates.txt", "link"}), QStringList());

    EXPECT_EQ(ReplaceFile(dir.path(), "x"), "das ist ein Ordner, keine Datei");
    EXPECT_EQ(ReplaceFile(dir.filePath("none/x.txt"), "x"), "Datei oder Ordner nicht gefunden");
}

TEST(Files, AFullDiskKeepsTheOldFile) {
    TSmallDisk disk;
    if (!disk.Mounted()) GTEST_SKIP() << disk.Reason.toStdString();
    const QString target = disk.File("rates.txt");
    write(target, "01.01.2026;1,27\n");
    disk.Fill();

    EXPECT_EQ(ReplaceFile(target, QByteArray(8192, 'y')), "kein Platz mehr auf dem Datenträger");
    EXPECT_EQ(contents(target), "01.01.2026;1,27\n");
    EXPECT_EQ(others(disk.Path(), {"rates.txt", ".filler"}), QStringList());
}
