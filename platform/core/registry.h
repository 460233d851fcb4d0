#pragma once
// The registry accessor: one predefined root, at most one open key, and typed reads and
// writes of the registry's data forms (string, expand-string, 32-bit integer, 8-byte
// binary). Failures raise ERegistryException with the registry's German texts. The store
// underneath is a TRegistryBackend chosen per platform.

#include "platform/core/registrybackend.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>

enum class TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

class TRegistry {
public:
    // Starts at HKEY_CURRENT_USER over the platform's backend.
    TRegistry();
    explicit TRegistry(std::unique_ptr<TRegistryBackend> backend);
    ~TRegistry();
    TRegistry(const TRegistry &) = delete;
    TRegistry &operator=(const TRegistry &) = delete;

    HKEY RootKey() const { return FRootKey; }
    // Closes the open key when the root changes.
    void SetRootKey(HKEY value);

    // Opens a key with full access, creating it (and its parents) when canCreate is true.
    // A path that starts with a backslash is taken from the root, any other from the open
    // key. False when the key cannot be opened or created; the previous key stays open.
    // ERegistryUnavailable when the store cannot be used at all.
    bool OpenKey(const QString &key, bool canCreate);
    void CloseKey();
    // Path of the open key below the root; empty when none is open.
    const QString &CurrentPath() const { return FCurrentPath; }

    // Value operations act on the open key, or on the root itself when none is open.
    bool ValueExists(const QString &name);
    TRegDataType GetDataType(const QString &name);
    // Size of the value's data in bytes, -1 when it does not exist.
    int GetDataSize(const QString &name);
    QString ReadString(const QString &name); // REG_SZ or REG_EXPAND_SZ, not expanded
    void WriteString(const QString &name, const QString &value);
    void WriteExpandString(const QString &name, const QString &value);
    qint32 ReadInteger(const QString &name);
    void WriteInteger(const QString &name, qint32 value);
    // An IEEE-754 double kept as 8 bytes of REG_BINARY, little-endian.
    double ReadFloat(const QString &name);
    void WriteFloat(const QString &name, double value);
    // False when there was no such value.
    bool DeleteValue(const QString &name);
    // Runs the writes as one: they all reach the store, or, when one of them fails (its error
    // passes on) or the program dies before the end, none does. Raises ERegistryException
    // naming the open key when they cannot begin or end.
    void WriteTogether(const std::function<void()> &writes);

    // "HKEY_CURRENT_USER" and the like; a handle outside the predefined ones in hex.
    static QString RootName(HKEY root);

    // While one lives, reads through the accessor belong together (see
    // TRegistryBackend::BeginReads): a store's values come from one reading of their key.
    class TReadTogether {
    public:
        explicit TReadTogether(TRegistry &registry) : FRegistry(registry) {
            FRegistry.FBackend->BeginReads();
        }
        ~TReadTogether() { FRegistry.FBackend->EndReads(); }
        TReadTogether(const TReadTogether &) = delete;
        TReadTogether &operator=(const TReadTogether &) = delete;

    private:
        TRegistry &FRegistry;
    };

private:
    TRegKeyHandle CurrentKey();
    TRegData ReadData(const QString &name);
    void WriteData(const QString &name, TRegData data);

    std::unique_ptr<TRegistryBackend> FBackend;
    HKEY FRootKey = HKEY_CURRENT_USER;
    std::optional<TRegKeyHandle> FCurrentKey;
    QString FCurrentPath;
};
