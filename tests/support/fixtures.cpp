#include "tests/support/fixtures.h"

#include "platform/comeforward.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>

#include <atomic>
#include <thread>

ScopedEnv::ScopedEnv(const char *name, const std::optional<QByteArray> &value) : FName(name) {
    if (qEnvironmentVariableIsSet(name)) FOld = qgetenv(name);
    if (value)
        qputenv(name, *value);
    else
        qunsetenv(name);
}

ScopedEnv::~ScopedEnv() {
    if (FOld)
        qputenv(FName, *FOld);
    else
        qunsetenv(FName);
}

IsolatedHome::IsolatedHome()
    : FConfig("XDG_CONFIG_HOME", (FDir.path() + QStringLiteral("/config")).toLocal8Bit()),
      FData("XDG_DATA_HOME", (FDir.path() + QStringLiteral("/data")).toLocal8Bit()),
      FRuntime("XDG_RUNTIME_DIR", (FDir.path() + QStringLiteral("/runtime")).toLocal8Bit()) {
    QDir(FDir.path()).mkpath(QStringLiteral("config"));
    QDir(FDir.path()).mkpath(QStringLiteral("data"));
    QDir(FDir.path()).mkpath(QStringLiteral("runtime"));
    QFile::setPermissions(runtimeDir(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

QString IsolatedHome::configHome() const {
    return FDir.path() + QStringLiteral("/config");
}

QString IsolatedHome::dataHome() const {
    return FDir.path() + QStringLiteral("/data");
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
