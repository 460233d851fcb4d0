// The registry on Linux: HKEY_CURRENT_USER is one SQLite database,
// <user's settings folder>/tarvo/registry.db. The other roots do not exist here.
//
// Every write is one IMMEDIATE transaction, synced at commit, so a killed writer (or a power
// cut) leaves the old or the new value, and two writers queue behind the busy wait instead
// of failing. A file that is not a database is renamed to registry.db.broken-<time> (the
// user's bytes stay there) and a fresh hive is built under a temporary name and linked into
// place only when it is complete, so that nobody ever sees a half-made one.
//
// A hive that cannot be written (read-only file, folder or file system, full disk, locked
// past the busy wait) is not used at all: opening a key raises ERegistryUnavailable with
// the reason, and nothing is left behind in the folder.
//
// A file is checked whole (PRAGMA quick_check) only after a read of it failed: a file that is
// no database or is cut short already fails the first read at opening, and a read that finds
// damage later makes the next open check it, move it aside and start afresh.
//
// Reads that belong together (BeginReads) take a key and all its values in one statement,
// one read transaction, and answer the key's opens and reads from that until they end.

#include "platform/core/hivefile_p.h"
#include "platform/core/registrybackend.h"
#include "platform/base/services.h"
#include "platform/core/stoprequest.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHash>
#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <ctime>
#include <functional>

namespace {

using namespace hivefile;

constexpr int BusyTimeoutMs = 10000;

QString hivePath() {
    return Services().ConfigHome() + QStringLiteral("/tarvo/registry.db");
}

// Names compare case-insensitively: each character upper-cased on its own, which for
// ASCII is what the sqlite3 shell's upper() does.
QString fold(const QString &name) {
    std::u32string folded;
    folded.reserve(name.size());
    for (char32_t c : name.toUcs4())
        folded.push_back(QChar::toUpper(c));
    return QString::fromUcs4(folded.data(), qsizetype(folded.size()));
}

bool isBrokenCode(int rc) {
    rc &= 0xff;
    return rc == SQLITE_NOTADB || rc == SQLITE_CORRUPT;
}

// Another process's writer is waited for as long as a busy timeout would, in short sleeps,
// so that a stop request arriving meanwhile ends the wait at once. (A stop request made
// before the wait began, the one that is ending the program, does not.)
struct BusyWait {
    QElapsedTimer Since;
    int Stops = 0;
};

int waitWhileBusy(void *state, int attempt) {
    auto *wait = static_cast<BusyWait *>(state);
    if (attempt == 0) {
        wait->Since.start();
        wait->Stops = StopRequests();
    }
    const qint64 left = BusyTimeoutMs - wait->Since.elapsed();
    if (left <= 0 || StopRequests() != wait->Stops) return 0;
    const qint64 step = std::min<qint64>({left, 50, 1 + 5 * qint64(attempt)});
    const timespec pause = {0, long(step) * 1000000L};
    ::nanosleep(&pause, nullptr); // a signal cuts it short
    return 1;
}

class Statement {
public:
    Statement(sqlite3 *db, const char *sql) {
        sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &FStmt, nullptr);
    }
    ~Statement() { sqlite3_finalize(FStmt); }
    Statement(const Statement &) = delete;
    Statement &operator=(const Statement &) = delete;
    bool Valid() const { return FStmt != nullptr; }
    sqlite3_stmt *Get() const { return FStmt; }

private:
    sqlite3_stmt *FStmt = nullptr;
};

// One use of a prepared statement; resets it afterwards so that no read stays open.
class Query {
public:
    explicit Query(Statement &statement) : FStmt(statement.Get()) {}
    ~Query() {
        sqlite3_reset(FStmt);
        sqlite3_clear_bindings(FStmt);
    }
    Query(const Query &) = delete;
    Query &operator=(const Query &) = delete;

    void Bind(int index, const QString &text) {
        const QByteArray utf8 = text.toUtf8();
        sqlite3_bind_text(FStmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    }
    void Bind(int index, qint64 number) { sqlite3_bind_int64(FStmt, index, number); }
    void BindBlob(int index, const QByteArray &bytes) {
        // A zero-length blob must still be a blob, not NULL.
        sqlite3_bind_blob(FStmt, index, bytes.constData() ? bytes.constData() : "",
                          int(bytes.size()), SQLITE_TRANSIENT);
    }
    int Step() { return sqlite3_step(FStmt); }
    qint64 Int(int column) const { return sqlite3_column_int64(FStmt, column); }
    QString Text(int column) const {
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(FStmt, column)),
                                 sqlite3_column_bytes(FStmt, column));
    }
    QByteArray Blob(int column) const {
        const void *data = sqlite3_column_blob(FStmt, column);
        return QByteArray(static_cast<const char *>(data), sqlite3_column_bytes(FStmt, column));
    }

private:
    sqlite3_stmt *FStmt;
};

bool exec(sqlite3 *db, const char *sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

// A key with all its values, read at once; values by their folded names.
struct KeyReading {
    qint64 Row = 0;
    QHash<QString, TRegData> Values;
};

class Hive {
public:
    enum class TCheck { Ok, Broken, Failed };

    Hive(sqlite3 *db, std::unique_ptr<BusyWait> wait, QString path, FileId id)
        : FDb(db), FWait(std::move(wait)), FPath(std::move(path)), FId(id),
          FBegin(db, "BEGIN IMMEDIATE"), FCommit(db, "COMMIT"), FRollback(db, "ROLLBACK"),
          FFindKey(db, "SELECT id, path FROM reg_key WHERE folded = ?1"),
          FInsertKey(db, "INSERT INTO reg_key(path, folded) VALUES (?1, ?2)"),
          FRead(db, "SELECT type, data FROM reg_value WHERE key = ?1 AND folded = ?2"),
          FReadKey(db, "SELECT k.id, v.folded, v.type, v.data FROM reg_key k "
                       "LEFT JOIN reg_value v ON v.key = k.id WHERE k.folded = ?1"),
          FWrite(db, "INSERT INTO reg_value(key, name, folded, type, data) "
                     "VALUES (?1, ?2, ?3, ?4, ?5) ON CONFLICT(key, folded) DO UPDATE SET "
                     "type = excluded.type, data = excluded.data"),
          FDelete(db, "DELETE FROM reg_value WHERE key = ?1 AND folded = ?2") {}
    // close_v2 waits for the members' statements to be finalized before it closes.
    ~Hive() { sqlite3_close_v2(FDb); }
    Hive(const Hive &) = delete;
    Hive &operator=(const Hive &) = delete;

    // Nothing when the hive cannot be used for reading and writing; failure says why. A
    // suspect file (a read of it failed) is checked whole first.
    static std::unique_ptr<Hive> Open(const QString &path, Failure &failure, bool suspect);

    const QString &Path() const { return FPath; }
    const FileId &Id() const { return FId; }
    bool Broken() const { return FBroken; }
    // Why the last OpenKey failed; no failure when the key just does not exist.
    const Failure &KeyFailure() const { return FFailure; }

    std::optional<TRegKeyHandle> OpenKey(const QStringList &path, bool create);
    // 1: the key was read, 0: there is no such key, -1: failed.
    int ReadKey(const QString &folded, KeyReading &reading);
    TRegistryBackend::TReadResult Read(TRegKeyHandle key, const QString &name, TRegData &data);
    bool Write(TRegKeyHandle key, const QString &name, const TRegData &data);
    bool Delete(TRegKeyHandle key, const QString &name);
    // One transaction around the writes until EndWrites.
    bool BeginWrites();
    bool EndWrites(bool commit);

private:
    bool Prepared() const {
        return FBegin.Valid() && FCommit.Valid() && FRollback.Valid() && FFindKey.Valid() &&
               FInsertKey.Valid() && FRead.Valid() && FReadKey.Valid() && FWrite.Valid() &&
               FDelete.Valid();
    }
    // Notes a failure; one that shows the file is damaged makes the next open repair it. The
    // first one is kept: a rollback after it may fail as well, for a reason of its own.
    void Note(int rc) {
        if (isBrokenCode(rc)) FBroken = true;
        if (rc != SQLITE_OK && rc != SQLITE_ROW && rc != SQLITE_DONE && FFailure.Code == SQLITE_OK)
            FFailure = FailureOf(FDb, sqlite3_extended_errcode(FDb));
    }
    bool Run(Statement &statement) {
        Query q(statement);
        const int rc = q.Step();
        Note(rc);
        return rc == SQLITE_DONE;
    }
    bool InWriteTransaction(const std::function<bool()> &body);
    // 1: found, 0: missing, -1: failed.
    int FindKey(const QString &folded, qint64 &id, QString &stored);

    sqlite3 *FDb;
    std::unique_ptr<BusyWait> FWait; // used by the connection until it is closed
    QString FPath;
    FileId FId;
    bool FBroken = false;
    // Inside BeginWrites: each write joins the open transaction.
    bool FWriting = false;
    Failure FFailure;
    Statement FBegin, FCommit, FRollback, FFindKey, FInsertKey, FRead, FReadKey, FWrite, FDelete;
};

// Counts our tables: the first read of a freshly opened file. SQLITE_OK or the failure.
int countTables(sqlite3 *db, bool &complete) {
    sqlite3_stmt *stmt = nullptr;
    int rc = sqlite3_prepare_v2(db,
                                "SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND "
                                "name IN ('reg_key', 'reg_value')",
                                -1, &stmt, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_step(stmt);
    if (rc == SQLITE_ROW) {
        complete = sqlite3_column_int(stmt, 0) == 2;
        rc = SQLITE_OK;
    }
    sqlite3_finalize(stmt);
    return rc;
}

bool brokenNow(sqlite3 *db, int rc) {
    return isBrokenCode(rc) || isBrokenCode(sqlite3_extended_errcode(db));
}

// Whether the file is one we can use, and whether it has our tables yet.
Hive::TCheck check(sqlite3 *db, const FileId &id, bool suspect, bool &complete) {
    // An empty file would pass as an empty database; we never leave one behind, so it
    // is the remains of something else.
    if (id.Size == 0) return Hive::TCheck::Broken;
    if (!suspect) {
        const int rc = countTables(db, complete);
        if (rc == SQLITE_OK) return Hive::TCheck::Ok;
        if (brokenNow(db, rc)) return Hive::TCheck::Broken;
    }
    sqlite3_stmt *stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &stmt, nullptr);
    if (rc == SQLITE_OK) rc = sqlite3_step(stmt);
    const bool rowOk =
        rc == SQLITE_ROW &&
        qstrcmp(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)), "ok") == 0;
    sqlite3_finalize(stmt);
    if (rowOk) {
        rc = countTables(db, complete);
        if (rc == SQLITE_OK) return Hive::TCheck::Ok;
    }
    if (rc == SQLITE_ROW || brokenNow(db, rc)) return Hive::TCheck::Broken;
    return Hive::TCheck::Failed;
}

std::unique_ptr<Hive> Hive::Open(const QString &path, Failure &failure, bool suspect) {
    if (const int error = MakeFolder(QFileInfo(path).path())) {
        failure = SystemFailure(error);
        return nullptr;
    }
    RemoveStaleBuilds(path);
    // A few rounds: create when missing, move aside when broken, then open what is there.
    for (int round = 0; round < 4; ++round) {
        int error = 0;
        const std::optional<FileId> id = FileIdOf(path, &error);
        if (!id) {
            if (error != ENOENT) {
                failure = SystemFailure(error);
                return nullptr;
            }
            if (!CreateFresh(path, failure)) return nullptr;
            continue;
        }
        const QByteArray name = QFile::encodeName(path);
        sqlite3 *db = nullptr;
        if (const int rc = sqlite3_open_v2(name.constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
            rc != SQLITE_OK) {
            failure = FailureOf(db, sqlite3_extended_errcode(db));
            sqlite3_close(db);
            return nullptr;
        }
        // SQLite would read a write-protected file, but leave journal files behind that
        // keep the hive read-only after its permissions are mended. Asked before any read.
        if (sqlite3_db_readonly(db, "main") == 1) {
            failure = {SQLITE_READONLY, ::access(name.constData(), W_OK) == 0 ? 0 : errno};
            sqlite3_close(db);
            return nullptr;
        }
        // A handful of short statements on a few pages: SQLite's lookaside pool of small
        // allocations would only add to the program's memory, and so would its page cache,
        // which sets aside room for 20 pages at the first read; the hive has about five.
        sqlite3_db_config(db, SQLITE_DBCONFIG_LOOKASIDE, nullptr, 0, 0);
        exec(db, "PRAGMA cache_size=8");
        auto wait = std::make_unique<BusyWait>();
        sqlite3_busy_handler(db, waitWhileBusy, wait.get());
        bool complete = false;
        const TCheck state = check(db, *id, suspect, complete);
        if (state == TCheck::Ok) {
            // A database the user emptied or made by hand gets our tables.
            const bool ready =
                exec(db, "PRAGMA foreign_keys=ON") && exec(db, "PRAGMA synchronous=FULL") &&
                (complete ||
                 (exec(db, "BEGIN IMMEDIATE") && exec(db, Schema) && exec(db, "COMMIT")));
            if (ready) {
                auto hive = std::make_unique<Hive>(db, std::move(wait), path, *id);
                if (hive->Prepared()) return hive;
                failure = FailureOf(db, sqlite3_extended_errcode(db));
                return nullptr;
            }
        }
        if (state != TCheck::Broken) failure = FailureOf(db, sqlite3_extended_errcode(db));
        sqlite3_close_v2(db);
        if (state != TCheck::Broken) return nullptr;
        if (!MoveAside(path, *id)) {
            failure = SystemFailure(errno);
            return nullptr;
        }
        suspect = false;
    }
    failure = {SQLITE_CANTOPEN, 0};
    return nullptr;
}

bool Hive::InWriteTransaction(const std::function<bool()> &body) {
    if (FWriting) return body();
    if (!Run(FBegin)) return false;
    if (body() && Run(FCommit)) return true;
    Run(FRollback);
    return false;
}

int Hive::FindKey(const QString &folded, qint64 &id, QString &stored) {
    Query q(FFindKey);
    q.Bind(1, folded);
    const int rc = q.Step();
    Note(rc);
    if (rc == SQLITE_ROW) {
        id = q.Int(0);
        stored = q.Text(1);
        return 1;
    }
    return rc == SQLITE_DONE ? 0 : -1;
}

int Hive::ReadKey(const QString &folded, KeyReading &reading) {
    FFailure = {};
    reading = {};
    Query q(FReadKey);
    q.Bind(1, folded);
    int rc = q.Step();
    const bool found = rc == SQLITE_ROW;
    for (; rc == SQLITE_ROW; rc = q.Step()) {
        reading.Row = q.Int(0);
        if (sqlite3_column_type(FReadKey.Get(), 1) != SQLITE_NULL)
            reading.Values.insert(q.Text(1), {quint32(q.Int(2)), q.Blob(3)});
    }
    Note(rc);
    if (rc != SQLITE_DONE) return -1;
    return found ? 1 : 0;
}

std::optional<TRegKeyHandle> Hive::OpenKey(const QStringList &path, bool create) {
    FFailure = {};
    qint64 id = 0;
    QString stored;
    const int found = FindKey(fold(path.join(u'\\')), id, stored);
    if (found == 1) return TRegKeyHandle(id);
    // The root always exists, even when someone deleted its row.
    if (found < 0 || !(create || path.isEmpty())) return std::nullopt;
    const bool ok = InWriteTransaction([&] {
        // Each missing part is added below the spelling its parent already has.
        QString parent;
        for (qsizetype depth = 0; depth <= path.size(); ++depth) {
            const QString spelled = depth == 0   ? QString()
                                    : depth == 1 ? path[0]
                                                 : parent + u'\\' + path[depth - 1];
            const QString folded = fold(spelled);
            const int state = FindKey(folded, id, stored);
            if (state < 0) return false;
            if (state == 1) {
                parent = stored;
                continue;
            }
            Query q(FInsertKey);
            q.Bind(1, spelled);
            q.Bind(2, folded);
            const int rc = q.Step();
            Note(rc);
            if (rc != SQLITE_DONE) return false;
            id = sqlite3_last_insert_rowid(FDb);
            parent = spelled;
        }
        return true;
    });
    if (!ok) return std::nullopt;
    return TRegKeyHandle(id);
}

TRegistryBackend::TReadResult Hive::Read(TRegKeyHandle key, const QString &name, TRegData &data) {
    Query q(FRead);
    q.Bind(1, qint64(key));
    q.Bind(2, fold(name));
    const int rc = q.Step();
    Note(rc);
    if (rc == SQLITE_ROW) {
        data.Type = quint32(q.Int(0));
        data.Bytes = q.Blob(1);
        return TRegistryBackend::TReadResult::Found;
    }
    return rc == SQLITE_DONE ? TRegistryBackend::TReadResult::Missing
                             : TRegistryBackend::TReadResult::Failed;
}

bool Hive::Write(TRegKeyHandle key, const QString &name, const TRegData &data) {
    return InWriteTransaction([&] {
        Query q(FWrite);
        q.Bind(1, qint64(key));
        q.Bind(2, name);
        q.Bind(3, fold(name));
        q.Bind(4, qint64(data.Type));
        q.BindBlob(5, data.Bytes);
        const int rc = q.Step();
        Note(rc);
        return rc == SQLITE_DONE;
    });
}

bool Hive::Delete(TRegKeyHandle key, const QString &name) {
    bool existed = false;
    return InWriteTransaction([&] {
               Query q(FDelete);
               q.Bind(1, qint64(key));
               q.Bind(2, fold(name));
               const int rc = q.Step();
               Note(rc);
               existed = sqlite3_changes(FDb) > 0;
               return rc == SQLITE_DONE;
           }) &&
           existed;
}

bool Hive::BeginWrites() {
    if (FWriting || !Run(FBegin)) return false;
    FWriting = true;
    return true;
}

bool Hive::EndWrites(bool commit) {
    if (!FWriting) return false;
    FWriting = false;
    if (commit && Run(FCommit)) return true;
    Run(FRollback);
    return false;
}

// A key handle is the key's row id tagged with the hive it came from, so that a handle
// from a hive that has since been replaced is refused instead of naming some other key.
class TSqliteRegistry : public TRegistryBackend {
public:
    std::optional<TRegKeyHandle> OpenKey(HKEY root, const QStringList &path, bool create) override {
        if (root != HKEY_CURRENT_USER) return std::nullopt;
        // A read that finds the file damaged has it checked, moved aside and started afresh
        // at the next open: one more try then works on the fresh hive.
        for (int attempt = 0;; ++attempt) {
            Hive *hive = Current();
            const std::optional<qint64> row = OpenRow(*hive, path, create);
            if (row) return (TRegKeyHandle(FGeneration) << GenerationShift) | *row;
            if (hive->KeyFailure().Code == SQLITE_OK) return std::nullopt;
            if (!hive->Broken() || attempt > 0) RaiseUnavailable(hive->Path(), hive->KeyFailure());
        }
    }

    void CloseKey(TRegKeyHandle) override {}

    TReadResult ReadValue(TRegKeyHandle key, const QString &name, TRegData &data) override {
        Hive *hive = For(key);
        if (!hive) return TReadResult::Failed;
        if (const KeyReading *reading = ReadingOf(Row(key))) {
            const auto value = reading->Values.constFind(fold(name));
            if (value == reading->Values.cend()) return TReadResult::Missing;
            data = *value;
            return TReadResult::Found;
        }
        return hive->Read(Row(key), name, data);
    }

    bool WriteValue(TRegKeyHandle key, const QString &name, const TRegData &data) override {
        Hive *hive = For(key);
        FReadings.clear();
        return hive && hive->Write(Row(key), name, data);
    }

    bool DeleteValue(TRegKeyHandle key, const QString &name) override {
        Hive *hive = For(key);
        FReadings.clear();
        return hive && hive->Delete(Row(key), name);
    }

    // On the hive the keys were opened in: a reopened one would refuse their handles anyway.
    bool BeginWrites() override { return FHive && FHive->BeginWrites(); }
    bool EndWrites(bool commit) override { return FHive && FHive->EndWrites(commit); }

    void BeginReads() override { ++FReadsTogether; }

    void EndReads() override {
        if (FReadsTogether > 0 && --FReadsTogether == 0) FReadings.clear();
    }

private:
    static constexpr int GenerationShift = 48;
    static TRegKeyHandle Row(TRegKeyHandle key) {
        return key & ((TRegKeyHandle(1) << GenerationShift) - 1);
    }

    Hive *For(TRegKeyHandle key) const {
        return FHive && (key >> GenerationShift) == FGeneration ? FHive.get() : nullptr;
    }

    // Nothing when the key does not exist (and is not to be made) or the hive failed.
    std::optional<qint64> OpenRow(Hive &hive, const QStringList &path, bool create) {
        if (FReadsTogether == 0) return hive.OpenKey(path, create);
        const QString folded = fold(path.join(u'\\'));
        auto reading = FReadings.find(folded);
        if (reading == FReadings.end()) {
            KeyReading read;
            const int state = hive.ReadKey(folded, read);
            if (state < 0) return std::nullopt;
            // The root always exists, even when someone deleted its row.
            if (state == 0)
                return create || path.isEmpty() ? hive.OpenKey(path, create) : std::nullopt;
            reading = FReadings.insert(folded, read);
        }
        return reading->Row;
    }

    const KeyReading *ReadingOf(qint64 row) const {
        for (const KeyReading &reading : FReadings)
            if (reading.Row == row) return &reading;
        return nullptr;
    }

    // The open hive, reopened when it turned out damaged or when the file at the hive's
    // path is no longer the one we have open (moved aside, replaced, or another home).
    // Raises ERegistryUnavailable when it cannot be opened.
    Hive *Current() {
        const QString path = hivePath();
        const bool suspect = FHive && FHive->Broken();
        if (FHive && (suspect || FHive->Path() != path || FileIdOf(path) != FHive->Id()))
            FHive.reset();
        if (!FHive) {
            FReadings.clear();
            Failure failure;
            FHive = Hive::Open(path, failure, suspect);
            FGeneration = (FGeneration + 1) & 0xffff;
            if (!FHive) RaiseUnavailable(path, failure);
        }
        return FHive.get();
    }

    std::unique_ptr<Hive> FHive;
    TRegKeyHandle FGeneration = 0;
    int FReadsTogether = 0;
    // Keys read together, by their folded paths; of the open hive only.
    QHash<QString, KeyReading> FReadings;
};

} // namespace

std::unique_ptr<TRegistryBackend> CreateRegistryBackend() {
    return std::make_unique<TSqliteRegistry>();
}

QString RegistryStoreFile() {
    return hivePath();
}
