#include "platform/core/registry.h"

#include "platform/base/exceptions.h"

#include <QtEndian>
#include <cstring>

namespace {

const char *const InvalidRegType = "Ungültiger Datentyp für '%s'";
const char *const RegGetDataFailed = "Konnte Daten für '%s' nicht holen";
const char *const RegSetDataFailed = "Konnte Daten für '%s' nicht setzen";
const char *const RegCreateFailed = "Unable to open the %s key";

[[noreturn]] void raise(const char *pattern, const QString &arg) {
    throw ERegistryException(Exception::Format(QString::fromUtf8(pattern), {arg}));
}

TRegDataType dataTypeOf(quint32 type) {
    switch (type) {
    case REG_SZ:
        return TRegDataType::rdString;
    case REG_EXPAND_SZ:
        return TRegDataType::rdExpandString;
    case REG_DWORD:
        return TRegDataType::rdInteger;
    case REG_BINARY:
        return TRegDataType::rdBinary;
    default:
        return TRegDataType::rdUnknown;
    }
}

// Splits a key path into its parts. A single trailing backslash is allowed; empty parts
// anywhere else make the path invalid.
std::optional<QStringList> splitPath(const QString &path) {
    QString trimmed = path;
    if (trimmed.endsWith(u'\\')) trimmed.chop(1);
    if (trimmed.isEmpty()) return QStringList();
    QStringList parts = trimmed.split(u'\\');
    for (const QString &part : parts)
        if (part.isEmpty()) return std::nullopt;
    return parts;
}

} // namespace

TRegistry::TRegistry() : TRegistry(CreateRegistryBackend()) {}

TRegistry::TRegistry(std::unique_ptr<TRegistryBackend> backend) : FBackend(std::move(backend)) {}

TRegistry::~TRegistry() {
    CloseKey();
}

void TRegistry::SetRootKey(HKEY value) {
    if (value == FRootKey) return;
    CloseKey();
    FRootKey = value;
}

bool TRegistry::OpenKey(const QString &key, bool canCreate) {
    const bool fromRoot = key.startsWith(u'\\');
    const std::optional<QStringList> relative = splitPath(fromRoot ? key.mid(1) : key);
    if (!relative) return false;
    QStringList path;
    if (!fromRoot && FCurrentKey && !FCurrentPath.isEmpty()) path = FCurrentPath.split(u'\\');
    path += *relative;
    const std::optional<TRegKeyHandle> handle = FBackend->OpenKey(FRootKey, path, canCreate);
    if (!handle) return false;
    CloseKey();
    FCurrentKey = handle;
    FCurrentPath = path.join(u'\\');
    return true;
}

void TRegistry::CloseKey() {
    if (!FCurrentKey) return;
    FBackend->CloseKey(*FCurrentKey);
    FCurrentKey.reset();
    FCurrentPath.clear();
}

TRegKeyHandle TRegistry::CurrentKey() {
    if (FCurrentKey) return *FCurrentKey;
    const std::optional<TRegKeyHandle> root = FBackend->OpenKey(FRootKey, {}, false);
    if (!root) raise(RegCreateFailed, RootName(FRootKey));
    FCurrentKey = root;
    return *root;
}

TRegData TRegistry::ReadData(const QString &name) {
    TRegData data;
    if (FBackend->ReadValue(CurrentKey(), name, data) != TRegistryBackend::TReadResult::Found)
        raise(RegGetDataFailed, name);
    return data;
}

void TRegistry::WriteData(const QString &name, TRegData data) {
    if (!FBackend->WriteValue(CurrentKey(), name, data)) raise(RegSetDataFailed, name);
}

bool TRegistry::ValueExists(const QString &name) {
    return GetDataSize(name) >= 0;
}

TRegDataType TRegistry::GetDataType(const QString &name) {
    TRegData data;
    switch (FBackend->ReadValue(CurrentKey(), name, data)) {
    case TRegistryBackend::TReadResult::Found:
        return dataTypeOf(data.Type);
    case TRegistryBackend::TReadResult::Missing:
        return TRegDataType::rdUnknown;
    case TRegistryBackend::TReadResult::Failed:
        break;
    }
    raise(RegGetDataFailed, name);
}

int TRegistry::GetDataSize(const QString &name) {
    TRegData data;
    switch (FBackend->ReadValue(CurrentKey(), name, data)) {
    case TRegistryBackend::TReadResult::Found:
        return int(data.Bytes.size());
    case TRegistryBackend::TReadResult::Missing:
        return -1;
    case TRegistryBackend::TReadResult::Failed:
        break;
    }
    raise(RegGetDataFailed, name);
}

QString TRegistry::ReadString(const QString &name) {
    const TRegData data = ReadData(name);
    if (data.Type != REG_SZ && data.Type != REG_EXPAND_SZ) raise(InvalidRegType, name);
    const qsizetype end = data.Bytes.indexOf('\0');
    return QString::fromUtf8(end < 0 ? data.Bytes : data.Bytes.left(end));
}

void TRegistry::WriteString(const QString &name, const QString &value) {
    QByteArray bytes = value.toUtf8();
    bytes.append('\0');
    WriteData(name, {REG_SZ, bytes});
}

void TRegistry::WriteExpandString(const QString &name, const QString &value) {
    QByteArray bytes = value.toUtf8();
    bytes.append('\0');
    WriteData(name, {REG_EXPAND_SZ, bytes});
}

qint32 TRegistry::ReadInteger(const QString &name) {
    const TRegData data = ReadData(name);
    if (data.Type != REG_DWORD) raise(InvalidRegType, name);
    if (data.Bytes.size() != 4) raise(RegGetDataFailed, name);
    return qFromLittleEndian<qint32>(data.Bytes.constData());
}

void TRegistry::WriteInteger(const QString &name, qint32 value) {
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    WriteData(name, {REG_DWORD, bytes});
}

double TRegistry::ReadFloat(const QString &name) {
    const TRegData data = ReadData(name);
    if (data.Type != REG_BINARY || data.Bytes.size() != 8) raise(InvalidRegType, name);
    const quint64 bits = qFromLittleEndian<quint64>(data.Bytes.constData());
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void TRegistry::WriteFloat(const QString &name, double value) {
    quint64 bits;
    std::memcpy(&bits, &value, sizeof bits);
    QByteArray bytes(8, '\0');
    qToLittleEndian(bits, bytes.data());
    WriteData(name, {REG_BINARY, bytes});
}

bool TRegistry::DeleteValue(const QString &name) {
    return FBackend->DeleteValue(CurrentKey(), name);
}

void TRegistry::WriteTogether(const std::function<void()> &writes) {
    const QString key =
        RootName(FRootKey) + (FCurrentPath.isEmpty() ? QString() : u'\\' + FCurrentPath);
    CurrentKey();
    if (!FBackend->BeginWrites()) raise(RegSetDataFailed, key);
    try {
        writes();
    } catch (...) {
        FBackend->EndWrites(false);
        throw;
    }
    if (!FBackend->EndWrites(true)) raise(RegSetDataFailed, key);
}

QString TRegistry::RootName(HKEY root) {
    switch (root) {
    case HKEY_CLASSES_ROOT:
        return QStringLiteral("HKEY_CLASSES_ROOT");
    case HKEY_CURRENT_USER:
        return QStringLiteral("HKEY_CURRENT_USER");
    case HKEY_LOCAL_MACHINE:
        return QStringLiteral("HKEY_LOCAL_MACHINE");
    case HKEY_USERS:
        return QStringLiteral("HKEY_USERS");
    case HKEY_PERFORMANCE_DATA:
        return QStringLiteral("HKEY_PERFORMANCE_DATA");
    case HKEY_CURRENT_CONFIG:
        return QStringLiteral("HKEY_CURRENT_CONFIG");
    case HKEY_DYN_DATA:
        return QStringLiteral("HKEY_DYN_DATA");
    }
    return QStringLiteral("0x%1").arg(quint64(root), 0, 16);
}
