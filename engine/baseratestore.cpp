#include "engine/baseratestore.h"

#include "platform/base/filelock.h"
#include "platform/base/files.h"
#include "platform/base/services.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>

QString TBaseRateStore::DefaultPath() {
    return Services().DataHome() + QStringLiteral("/tarvo/") +
           QString::fromLatin1(UserRatesFileName);
}

TBaseRateStore::TBaseRateStore(QString path) : FPath(std::move(path)), FTable(ShippedBaseRates()) {}

TBaseRateStore::~TBaseRateStore() = default;

void TBaseRateStore::Adopt(const TUserRatesFile &file, const QByteArray &bytes) {
    FFile = file;
    FBytes = bytes;
    FTable = ShippedBaseRates().MergedWith(FFile.Rates());
}

TEngineError TBaseRateStore::Load() {
    QByteArray bytes;
    const TUserRates read = LoadUserRates(FPath, true, &bytes);
    Adopt(read.File, read.Error ? QByteArray() : bytes);
    return read.Error;
}

bool TBaseRateStore::Refresh() {
    const TFileRead bytes = ReadWholeFile(FPath);
    if (bytes.Status == TReadStatus::Failed || bytes.Data == FBytes) return false;
    const TUserRates read = ParseUserRates(bytes.Data);
    if (read.Error) return false;
    const std::vector<TBaseRate> before = FTable.Rates();
    Adopt(read.File, bytes.Data);
    return FTable.Rates() != before;
}

TEngineError TBaseRateStore::Set(const TBaseRate &rate) {
    return Change([&](TUserRatesFile &file) { return SetUserRate(file, rate); });
}

TEngineError TBaseRateStore::Remove(TDateTime from) {
    return Change([&](TUserRatesFile &file) {
        file.Remove(from);
        return TEngineError();
    });
}

TEngineError TBaseRateStore::Import(const QString &csvPath, int &changed) {
    std::vector<TRateChange> changes;
    const TEngineError error = TakeOver(ReadBundesbankCsv(csvPath), changes);
    changed = int(changes.size());
    return error;
}

TEngineError TBaseRateStore::TakeAnswer(const QByteArray &answer, const QString &url,
                                        std::vector<TRateChange> &changes) {
    return TakeOver(ParseBundesbankAnswer(answer, url), changes);
}

TEngineError TBaseRateStore::TakeOver(const TBundesbankImport &read,
                                      std::vector<TRateChange> &changes) {
    changes.clear();
    if (read.Error) return read.Error;
    std::vector<TRateChange> adopted;
    const TEngineError error = Change([&](TUserRatesFile &file) {
        adopted.clear();
        AdoptRates(file, read.Rates, ShippedBaseRates(), &adopted);
        return TEngineError();
    });
    // Only what reached the file changed.
    if (!error) changes = std::move(adopted);
    return error;
}

TEngineError TBaseRateStore::Change(const std::function<TEngineError(TUserRatesFile &)> &edit) {
    const QString folder = QFileInfo(FPath).absolutePath();
    if (!QDir().mkpath(folder))
        return TEngineError(ecFile, TErrorText::FileNotWritten,
                            {TErrorFile{FPath}, FolderError(folder)}, FPath);
    TFileLock lock(FPath);
    if (const QString reason = lock.Acquire(); !reason.isEmpty())
        return TEngineError(ecFile, TErrorText::FileLocked, {TErrorFile{FPath}, reason}, FPath);
    QByteArray bytes;
    const TUserRates read = LoadUserRates(FPath, true, &bytes);
    if (read.Error) {
        // Set aside when broken: then only the shipped rates count, as the message says.
        if (read.Error.Code == ecFileContent) Adopt({}, {});
        return Around(TErrorText::NothingChanged, {}, read.Error);
    }
    Adopt(read.File, bytes);
    TUserRatesFile changed = read.File;
    if (TEngineError error = edit(changed)) return error;
    const QByteArray written = changed.Bytes();
    if (written == bytes) return {};
    lock.RemoveStaleCopies();
    if (TEngineError error = SaveUserRates(FPath, changed)) return error;
    Adopt(changed, written);
    return {};
}

void TBaseRateStore::Watch() {
    if (FWatcher) return;
    FWatcher = std::make_unique<QFileSystemWatcher>();
    const auto changed = [this] {
        WatchPaths();
        if (Refresh() && OnChanged) OnChanged();
    };
    QObject::connect(FWatcher.get(), &QFileSystemWatcher::fileChanged, changed);
    QObject::connect(FWatcher.get(), &QFileSystemWatcher::directoryChanged, changed);
    WatchPaths();
}

// The file is replaced by renaming, which ends a watch on it; its folder sees every
// replacement, and the folder above sees the folder made.
void TBaseRateStore::WatchPaths() {
    const QFileInfo file(FPath);
    const QString folder = file.absolutePath();
    QStringList paths;
    // Not a device a link leads to: only the regular file is the user's.
    if (file.isFile()) paths << FPath;
    if (QFileInfo(folder).isDir())
        paths << folder;
    else if (const QString above = QFileInfo(folder).absolutePath(); QFileInfo(above).isDir())
        paths << above;
    const QStringList watched = FWatcher->files() + FWatcher->directories();
    for (const QString &path : paths)
        if (!watched.contains(path)) FWatcher->addPath(path);
}
