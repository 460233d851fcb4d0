#include "settings/oneinstance.h"

#include "platform/core/comeforward.h"
#include "platform/core/desktop.h"
#include "platform/base/exceptions.h"
#include "platform/core/namedlock.h"
#include "platform/core/program.h"

#include <QLocale>
#include <QLoggingCategory>
#include <vector>

// Off unless enabled (QT_LOGGING_RULES="tarvo.oneinstance.debug=true"): lets a test of the
// whole program see from outside that the running copy was asked to come forward.
Q_LOGGING_CATEGORY(lcOneInstance, "tarvo.oneinstance", QtInfoMsg)

namespace {

// The ownership locks this process holds. They stay held until the process ends, when their
// destruction releases them (the kernel would, too).
std::vector<std::unique_ptr<TNamedLock>> &ownedLocks() {
    static std::vector<std::unique_ptr<TNamedLock>> locks;
    return locks;
}

} // namespace

TOneInstance::TOneInstance(TComponent *owner) : TComponent(owner) {}

TOneInstance::~TOneInstance() = default;

QString TOneInstance::InstanceName() const {
    const QString base = FExeNameAsIdentifier ? QLocale().toUpper(TProgram::ExeName())
                                              : TProgram::Instance()->Title();
    QString name = base + FIdentifier + QStringLiteral(".OneInstance.");
    name.replace(u'\\', u'/');
    return name;
}

bool TOneInstance::IsAnotherInstanceRunning() {
    if (IsDesigning()) return false;
    const QString name = InstanceName();
    // Serialises copies that start at the same moment: whoever cannot take it counts as
    // second. Released when this function returns.
    TNamedLock guard(name + QStringLiteral("CriticalSection"));
    switch (guard.TryAcquire()) {
    case TNamedLock::TAcquire::Acquired:
        break;
    case TNamedLock::TAcquire::Busy:
        return true;
    case TNamedLock::TAcquire::Failed:
        // Counts as a second copy all the same; without this line the program would end
        // without a trace.
        qWarning("%s: cannot take the instance lock %s; check that XDG_RUNTIME_DIR or the "
                 "home folder is private and writable",
                 qPrintable(name), qPrintable(guard.Path()));
        return true;
    }
    auto owner = std::make_unique<TNamedLock>(name + QStringLiteral("Default"));
    for (const auto &held : ownedLocks())
        if (held->Path() == owner->Path()) return false;
    switch (owner->TryAcquire()) {
    case TNamedLock::TAcquire::Busy:
        return true;
    case TNamedLock::TAcquire::Failed:
        // Nobody else is known to own it: the test did not time out, so this copy runs.
        return false;
    case TNamedLock::TAcquire::Acquired:
        break;
    }
    ownedLocks().push_back(std::move(owner));
    // Listening before the guard is released means a later copy that finds the lock taken
    // can always reach this one.
    FServer = std::make_unique<TComeForwardServer>(
        name, [this](const QString &window) { ComeForward(window); });
    return false;
}

void TOneInstance::CheckInstance() {
    if (!IsAnotherInstanceRunning()) return;
    TProgram *app = TProgram::Instance();
    FTerminate = true;
    const bool showMainForm = app->ShowMainForm();
    app->SetShowMainForm(false);
    if (FShowMessage) ReportAlreadyRunning();
    if (FActivatePrevInstance) BringPreviousInstanceForward();
    if (FTerminate)
        app->Terminate();
    else
        app->SetShowMainForm(showMainForm);
}

void TOneInstance::Loaded() {
    TComponent::Loaded();
    CheckInstance();
}

void TOneInstance::ReportAlreadyRunning() {
    if (OnShowMessage) {
        OnShowMessage(this, FTerminate);
        return;
    }
    const QString title = TProgram::Instance()->Title();
    const QString text =
        FMessage.isEmpty()
            ? Exception::Format(QStringLiteral("Application \"%s\" is already running."), {title})
            : FMessage;
    Desktop().ShowMessage(title, text);
}

bool TOneInstance::BringPreviousInstanceForward() {
    return RequestComeForward(InstanceName(), TProgram::Instance()->StartRequest());
}

void TOneInstance::ComeForward(const QString &window) {
    qCDebug(lcOneInstance, "come forward: asked%s",
            qPrintable(window.isEmpty() ? window : u' ' + window));
    if (OnComeForward) OnComeForward(this, window);
}
