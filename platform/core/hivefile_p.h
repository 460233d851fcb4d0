#pragma once
// Inside the SQLite registry: the hive's file on disk. Why an operation failed, in the user's
// words; building a fresh hive under a temporary name and linking it into place; moving a file
// that is no hive out of the way.

#include <QString>
#include <sqlite3.h>

#include <optional>
#include <sys/types.h>

namespace hivefile {

inline constexpr int SchemaVersion = 1;
extern const char *const Schema;

// Why a failure happened: SQLite's (extended) result code and the system's error number
// behind it, when there was one.
struct Failure {
    int Code = SQLITE_OK;
    int Error = 0;
};
Failure SystemFailure(int error);
Failure FailureOf(sqlite3 *db, int rc);
// Raises ERegistryUnavailable naming the file and the reason.
[[noreturn]] void RaiseUnavailable(const QString &path, const Failure &failure);

struct FileId {
    dev_t Device = 0;
    ino_t Inode = 0;
    off_t Size = 0;
    bool operator==(const FileId &other) const {
        return Device == other.Device && Inode == other.Inode;
    }
};
// The regular file at path; nullopt (with the reason in error) for none.
std::optional<FileId> FileIdOf(const QString &path, int *error = nullptr);

// Makes a folder and its parents; 0 or the system's error number.
int MakeFolder(const QString &folder);
// Removes the builds of processes that have gone.
void RemoveStaleBuilds(const QString &path);
// Builds an empty hive and links it into place; false with the failure when it could not.
bool CreateFresh(const QString &path, Failure &failure);
// Renames a file that is no hive out of the way, unless someone else replaced it already.
bool MoveAside(const QString &path, const FileId &broken);

} // namespace hivefile
