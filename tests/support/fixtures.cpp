#include "tests/support/fixtures.h"

#include "platform/core/comeforward.h"
#include "platform/core/program.h"
#include "platform/core/runlist_xdg.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>

#include <atomic>
#include <cstdio>
#include <thread>

TFormatSettings AmericanSettings() {
    TFormatSettings s = TFormatSettings::German();
    s.DecimalSeparator = u'.';
    s.ThousandSeparator = u',';
    s.ShortDateFormat = QStringLiteral("M/d/yy");
    s.DateSeparator = u'/';
    s.LongTimeFormat = QStringLiteral("h:mm:ss AP");
    s.TimeAMString = QStringLiteral("AM");
    s.TimePMString = QStringLiteral("PM");
    return s;
}

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

TTestFolders TTestFolders::Below(const QString &root) {
    const TTestFolders folders{root + QStringLiteral("/config"), root + QStringLiteral("/machine"),
                               root + QStringLiteral("/data"), root + QStringLiteral("/runtime")};
    for (const QString &folder :
         {folders.ConfigHome, folders.MachineConfig, folders.DataHome, folders.RuntimeDir})
        QDir().mkpath(folder);
    QFile::setPermissions(folders.RuntimeDir,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return folders;
}

QDateTime TTestServices::Now() const {
    return PinnedMoment ? *PinnedMoment : SystemNow();
}

QDate TTestServices::Today() const {
    return PinnedMoment ? PinnedMoment->date() : SystemToday();
}

TDesktop &TTestServices::Desktop() {
    // Tests that show no interest in the desktop still never show a real window from it.
    static class : public TDesktop {
        void Beep() override {}
        void ShowMessage(const QString &, const QString &) override {}
        void ShowError(const QString &, const QString &) override {}
        bool OpenUrl(const QString &) override { return true; }
        void SetClipboardText(const QString &) override {}
        void SetClipboardHtml(const QString &, const QString &) override {}
        bool Ask(const QString &, const QString &, const QString &) override { return false; }
        int Choose(const QString &, const QString &, const QStringList &) override { return -1; }
        QString SaveFileName(const QString &, const QString &, const QString &) override {
            return {};
        }
        QString OpenFileName(const QString &, const QString &, const QString &) override {
            return {};
        }
    } silent;
    return DesktopInUse ? *DesktopInUse : silent;
}

TRunList &TTestServices::RunList() {
    static TXdgRunList xdg; // over the folders in use
    return RunListInUse ? *RunListInUse : xdg;
}

void TTestServices::ReportError(const std::exception &error) {
    if (TProgram *program = TProgram::Instance())
        program->ReportError(error);
    else
        std::fprintf(stderr, "%s\n", error.what());
}

TTestServices &TestServices() {
    return static_cast<TTestServices &>(Services());
}

IsolatedHome::IsolatedHome()
    : FFolders(TTestFolders::Below(FDir.path())), FScope(TestServices().Folders, FFolders) {}

bool RequestComeForwardFromOutside(const QString &name, const QString &argument) {
    std::atomic<bool> done = false;
    bool confirmed = false;
    std::thread client([&] {
        confirmed = RequestComeForward(name, argument);
        done = true;
    });
    QDeadlineTimer deadline(5000);
    while (!done && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    client.join();
    return confirmed;
}
