#include "tests/support/fixtures.h"

#include "platform/comeforward.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>

#include <atomic>
#include <thread>

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

bool RequestComeForwardFromOutside(const QString &name) {
    std::atomic<bool> done = false;
    bool confirmed = false;
    std::thread client([&] {
        confirmed = RequestComeForward(name);
        done = true;
    });
    QDeadlineTimer deadline(5000);
    while (!done && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    client.join();
    return confirmed;
}
