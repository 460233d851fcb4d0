#include "platform/core/hivefile_p.h"

#include "platform/base/clock.h"
#include "platform/base/numtext.h"
#include "platform/core/registry.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace hivefile {

const char *const Schema = R"sql(
CREATE TABLE IF NOT EXISTS reg_key (
    id     INTEGER PRIMARY KEY,
    path   TEXT NOT NULL,
    folded TEXT NOT NULL UNIQUE
);
CREATE TABLE IF NOT EXISTS reg_value (
    key    INTEGER NOT NULL REFERENCES reg_key(id) ON DELETE CASCADE,
    name   TEXT NOT NULL,
    folded TEXT NOT NULL,
    type   INTEGER NOT NULL,
    data   BLOB NOT NULL,
    PRIMARY KEY (key, folded)
);
INSERT OR IGNORE INTO reg_key(path, folded) VALUES ('', '');
)sql";

namespace {

QString reasonText(const Failure &failure) {
    switch (failure.Error) {
    case EACCES:
    case EPERM:
        return QStringLiteral("keine Schreibberechtigung für die Datei oder ihren Ordner");
    case EROFS:
        return QStringLiteral("das Dateisystem ist schreibgeschützt");
    case ENOSPC:
        return QStringLiteral("der Datenträger ist voll");
    case EDQUOT:
        return QStringLiteral("das Speicherkontingent ist erschöpft");
    case ENOTDIR:
    case EEXIST:
        return QStringLiteral("ein Teil des Pfades ist kein Ordner");
    case EISDIR:
        return QStringLiteral("an ihrer Stelle liegt ein Ordner");
    }
    switch (failure.Code & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return QStringLiteral("ein anderes Programm hält sie gesperrt");
    case SQLITE_READONLY:
        return failure.Code == SQLITE_READONLY_DIRECTORY
                   ? QStringLiteral("ihr Ordner ist schreibgeschützt")
                   : QStringLiteral("sie ist schreibgeschützt");
    case SQLITE_FULL:
        return QStringLiteral("der Datenträger ist voll");
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return QStringLiteral("sie ist beschädigt");
    }
    return failure.Error ? QString::fromLocal8Bit(std::strerror(failure.Error))
                         : QString::fromUtf8(sqlite3_errstr(failure.Code));
}

// A hive being built, with the journal files SQLite keeps beside it.
void removeBuild(const QString &temp) {
    for (const char *suffix : {"", "-wal", "-shm", "-journal"})
        ::unlink(QFile::encodeName(temp + QLatin1String(suffix)).constData());
}

// The process of a build's file name after the hive's: ".new-<pid>-<n>" and perhaps a
// journal's suffix; 0 for any other name.
pid_t builderOf(QStringView suffix) {
    if (!suffix.startsWith(u".new-")) return 0;
    const QList<QStringView> parts = suffix.sliced(5).split(u'-');
    const bool journal =
        parts.size() == 3 && (parts[2] == u"wal" || parts[2] == u"shm" || parts[2] == u"journal");
    if (parts.size() != 2 && !journal) return 0;
    const int pid = ReadDigits(parts[0], 9);
    return pid > 0 && ReadDigits(parts[1], 9) >= 0 ? pid : 0;
}

} // namespace

Failure SystemFailure(int error) {
    return {SQLITE_CANTOPEN, error};
}

Failure FailureOf(sqlite3 *db, int rc) {
    const int code = rc & 0xff;
    const bool fromSystem = code == SQLITE_IOERR || code == SQLITE_CANTOPEN ||
                            code == SQLITE_FULL || code == SQLITE_READONLY;
    return {rc, fromSystem && db ? sqlite3_system_errno(db) : 0};
}

void RaiseUnavailable(const QString &path, const Failure &failure) {
    throw ERegistryUnavailable(QStringLiteral("Die Einstellungsdatei „%1“ kann nicht benutzt "
                                              "werden: %2.")
                                   .arg(QDir::toNativeSeparators(path), reasonText(failure)));
}

std::optional<FileId> FileIdOf(const QString &path, int *error) {
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0) {
        if (error) *error = errno;
        return std::nullopt;
    }
    if (!S_ISREG(st.st_mode)) {
        if (error) *error = EISDIR;
        return std::nullopt;
    }
    return FileId{st.st_dev, st.st_ino, st.st_size};
}

// Makes a folder and its parents; 0 or the system's error number.
int MakeFolder(const QString &folder) {
    const QByteArray name = QFile::encodeName(folder);
    struct stat st;
    if (::stat(name.constData(), &st) == 0) return S_ISDIR(st.st_mode) ? 0 : ENOTDIR;
    if (errno != ENOENT) return errno;
    const QString parent = QFileInfo(folder).path();
    if (parent != folder)
        if (const int error = MakeFolder(parent)) return error;
    if (::mkdir(name.constData(), 0777) == 0) return 0;
    const int error = errno;
    return error == EEXIST && ::stat(name.constData(), &st) == 0 && S_ISDIR(st.st_mode) ? 0 : error;
}

// Builds whose process has gone (killed while it made a first hive) are removed; those of a
// process that is still running are its business.
void RemoveStaleBuilds(const QString &path) {
    const QFileInfo hive(path);
    // Read with the system's calls: QDir's name filters would cost the start a regular
    // expression compiler.
    const QByteArray folder = QFile::encodeName(hive.path());
    const QString prefix = hive.fileName();
    DIR *dir = ::opendir(folder.constData());
    if (!dir) return;
    while (const dirent *entry = ::readdir(dir)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (!name.startsWith(prefix)) continue;
        const pid_t pid = builderOf(QStringView(name).sliced(prefix.size()));
        if (pid <= 0 || pid == ::getpid() || ::kill(pid, 0) == 0 || errno != ESRCH) continue;
        ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

// Builds an empty hive beside the final name and links it into place once it is complete:
// its log folded back into the file and synced. Whatever happens, nothing of the build stays
// behind. Losing the race against another process that did the same is fine: its hive is as
// good as ours.
bool CreateFresh(const QString &path, Failure &failure) {
    static int counter = 0;
    const QString temp = path + QStringLiteral(".new-%1-%2").arg(::getpid()).arg(++counter);
    const QByteArray tempName = QFile::encodeName(temp);
    removeBuild(temp);
    sqlite3 *db = nullptr;
    int rc = sqlite3_open_v2(tempName.constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                             nullptr);
    const std::string version = "PRAGMA user_version=" + std::to_string(SchemaVersion);
    for (const char *sql : {"PRAGMA journal_mode=WAL", "PRAGMA synchronous=FULL", "BEGIN", Schema,
                            version.c_str(), "COMMIT"})
        if (rc == SQLITE_OK) rc = sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
    // Closing would try this too, but could not say that it failed (a full disk).
    if (rc == SQLITE_OK)
        rc = sqlite3_wal_checkpoint_v2(db, nullptr, SQLITE_CHECKPOINT_TRUNCATE, nullptr, nullptr);
    if (rc != SQLITE_OK) failure = FailureOf(db, sqlite3_extended_errcode(db));
    const int closed = sqlite3_close(db);
    if (rc == SQLITE_OK && closed != SQLITE_OK) {
        rc = closed;
        failure = {closed, 0};
    }
    bool ok = rc == SQLITE_OK;
    if (ok && ::chmod(tempName.constData(), 0600) != 0) {
        failure = SystemFailure(errno);
        ok = false;
    }
    if (ok) {
        const QByteArray finalName = QFile::encodeName(path);
        if (::link(tempName.constData(), finalName.constData()) != 0) {
            if (errno == EPERM || errno == EOPNOTSUPP)
                ok = !QFileInfo::exists(path) &&
                     ::rename(tempName.constData(), finalName.constData()) == 0;
            else
                ok = errno == EEXIST;
            if (!ok) failure = SystemFailure(errno);
        }
    }
    removeBuild(temp);
    return ok;
}

// Renames a file that is not a hive out of the way, with its journal files, unless
// someone else already replaced it.
bool MoveAside(const QString &path, const FileId &broken) {
    if (FileIdOf(path) != std::optional<FileId>(broken)) return true;
    const QString stem =
        path + QStringLiteral(".broken-") + Now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = stem;
    for (int n = 2; QFileInfo::exists(target); ++n)
        target = stem + QStringLiteral("-%1").arg(n);
    for (const char *suffix : {"-wal", "-shm", "-journal"}) {
        const QString side = path + QLatin1String(suffix);
        if (QFileInfo::exists(side))
            ::rename(QFile::encodeName(side).constData(),
                     QFile::encodeName(target + QLatin1String(suffix)).constData());
    }
    return ::rename(QFile::encodeName(path).constData(), QFile::encodeName(target).constData()) ==
           0;
}

} // namespace hivefile
