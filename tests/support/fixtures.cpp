#include "tests/support/fixtures.h"

#include <QDir>

namespace {

std::optional<QByteArray> takeEnv(const char *name) {
    if (!qEnvironmentVariableIsSet(name)) return std::nullopt;
    return qgetenv(name);
}

void restoreEnv(const char *name, const std::optional<QByteArray> &value) {
    if (value)
        qputenv(name, *value);
    else
        qunsetenv(name);
}

} // namespace

IsolatedHome::IsolatedHome()
    : FOldConfig(takeEnv("XDG_CONFIG_HOME")), FOldRuntime(takeEnv("XDG_RUNTIME_DIR")) {
    QDir(FDir.path()).mkpath(QStringLiteral("config"));
    QDir(FDir.path()).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(runtimeDir(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_CONFIG_HOME", configHome().toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", runtimeDir().toLocal8Bit());
}

IsolatedHome::~IsolatedHome() {
    restoreEnv("XDG_CONFIG_HOME", FOldConfig);
    restoreEnv("XDG_RUNTIME_DIR", FOldRuntime);
}

QString IsolatedHome::configHome() const {
    return FDir.path() + QStringLiteral("/config");
}

QString IsolatedHome::runtimeDir() const {
    return FDir.path() + QStringLiteral("/runtime");
}
