#pragma once
// What the registry accessor needs of a platform's registry: opening keys below a
// predefined root and reading and writing raw typed values. Each platform has one source
// file with CreateRegistryBackend(), chosen in CMake.

#include "platform/base/exceptions.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <optional>

using HKEY = std::uintptr_t;

// The predefined roots, with the platform's handle values.
inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002;
inline constexpr HKEY HKEY_USERS = 0x80000003;
inline constexpr HKEY HKEY_PERFORMANCE_DATA = 0x80000004;
inline constexpr HKEY HKEY_CURRENT_CONFIG = 0x80000005;
inline constexpr HKEY HKEY_DYN_DATA = 0x80000006;

// The registry's data type codes.
inline constexpr quint32 REG_SZ = 1;
inline constexpr quint32 REG_EXPAND_SZ = 2;
inline constexpr quint32 REG_BINARY = 3;
inline constexpr quint32 REG_DWORD = 4;

struct TRegData {
    quint32 Type = 0;
    QByteArray Bytes;
};

using TRegKeyHandle = std::uint64_t;

// The store itself cannot be used (it cannot be made, opened or written: a read-only file,
// folder or file system, a full disk, another process holding it longer than the busy wait).
// The message names the store's file and the reason, in German.
class ERegistryUnavailable : public ERegistryException {
public:
    using ERegistryException::ERegistryException;
};

class TRegistryBackend {
public:
    enum class TReadResult { Found, Missing, Failed };

    virtual ~TRegistryBackend() = default;
    // Opens the key at path (non-empty parts, empty for the root itself), creating it and
    // its parents when create is true. Nothing when there is no such key (or root); raises
    // ERegistryUnavailable when the store cannot be used at all.
    virtual std::optional<TRegKeyHandle> OpenKey(HKEY root, const QStringList &path,
                                                 bool create) = 0;
    virtual void CloseKey(TRegKeyHandle key) = 0;
    virtual TReadResult ReadValue(TRegKeyHandle key, const QString &name, TRegData &data) = 0;
    // Each write is atomic: a reader sees the old value or the new one.
    virtual bool WriteValue(TRegKeyHandle key, const QString &name, const TRegData &data) = 0;
    // False when there was no such value or it could not be deleted.
    virtual bool DeleteValue(TRegKeyHandle key, const QString &name) = 0;
    // Between these two the writes and deletes are one: they reach the store all together
    // when it ends with commit, and none of them otherwise (nor after a crash). False when it
    // cannot begin, or when the commit fails, which leaves the store as before.
    virtual bool BeginWrites() = 0;
    virtual bool EndWrites(bool commit) = 0;
    // Reads that belong together, such as a store's values read at start: from BeginReads to
    // the matching EndReads a backend may answer the opens and reads of a key from one reading
    // of the key with all its values, taken at the first of them. Writes still reach the store
    // at once. Nestable.
    virtual void BeginReads() {}
    virtual void EndReads() {}
};

std::unique_ptr<TRegistryBackend> CreateRegistryBackend();
// The file that holds the platform's store (empty where it is no file), for a reader that must
// leave no trace: opening a key makes a missing store.
QString RegistryStoreFile();
