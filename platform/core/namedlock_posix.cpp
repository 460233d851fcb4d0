#include "platform/core/namedlock.h"

#include "platform/base/services.h"

#include <QCryptographicHash>
#include <QDir>
#include <QSysInfo>
#include <QUrl>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Another user must neither own the folder nor reach into it, or it could take over the
// locks and sockets; a symbolic link is refused for the same reason.
bool isPrivateFolder(const QByteArray &path) {
    struct stat info;
    if (::lstat(path.constData(), &info) != 0) return false;
    return S_ISDIR(info.st_mode) && info.st_uid == ::geteuid() && (info.st_mode & 077) == 0;
}

bool makePrivateFolder(const QString &path) {
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST) return false;
    return isPrivateFolder(native);
}

} // namespace

QString UserRuntimeFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && isPrivateFolder(QFile::encodeName(runtime)))
        return QDir::cleanPath(runtime);
    const QString uid = QString::number(::geteuid());
    const QString shared = QDir::tempPath() + QStringLiteral("/runtime-") + uid;
    if (makePrivateFolder(shared)) return shared;
    // Somebody else took the name in the shared temporary folder; the home folder is out of
    // their reach. The host name keeps machines that share a home folder apart.
    QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
    if (!QDir::isAbsolutePath(cache)) cache = QDir::homePath() + QStringLiteral("/.cache");
    const QString own = cache + QStringLiteral("/runtime-") + QSysInfo::machineHostName();
    if (QDir().mkpath(cache) && makePrivateFolder(own)) return own;
    return {};
}

QString UserRuntimePath(const QString &name, const QString &suffix, int maxPathBytes) {
    const QString folder = Services().RuntimeDir();
    if (folder.isEmpty()) return {};
    QByteArray file = QUrl::toPercentEncoding(name) + QFile::encodeName(suffix);
    const QByteArray prefix = QFile::encodeName(folder) + '/';
    if (file.size() > NAME_MAX || prefix.size() + file.size() > maxPathBytes)
        file = QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1).toHex() +
               QFile::encodeName(suffix);
    return QFile::decodeName(prefix + file);
}

TNamedLock::TNamedLock(const QString &name)
    : FPath(UserRuntimePath(name, QStringLiteral(".lock"))) {}

TNamedLock::~TNamedLock() {
    Release();
}

TNamedLock::TAcquire TNamedLock::TryAcquire() {
    if (FHeld) return TAcquire::Acquired;
    if (FFd < 0) {
        if (FPath.isEmpty()) return TAcquire::Failed;
        FFd = ::open(QFile::encodeName(FPath).constData(),
                     O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (FFd < 0) return TAcquire::Failed;
    }
    int result;
    do
        result = ::flock(FFd, LOCK_EX | LOCK_NB);
    while (result != 0 && errno == EINTR);
    if (result == 0) {
        FHeld = true;
        return TAcquire::Acquired;
    }
    return errno == EWOULDBLOCK ? TAcquire::Busy : TAcquire::Failed;
}

void TNamedLock::Release() {
    // The lock file stays: removing it would let a later taker lock a new file while an
    // earlier one still holds the old.
    if (FFd >= 0) ::close(FFd);
    FFd = -1;
    FHeld = false;
}
