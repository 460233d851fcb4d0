#include "settings/autorun.h"

#include "platform/base/exceptions.h"
#include "platform/core/program.h"

TAutoRun::TAutoRun(TComponent *owner) : TComponent(owner) {
    if (!IsDesigning()) FFileName = TProgram::ExeName();
}

void TAutoRun::SetAutoRun(bool value) {
    const bool switchedOn = value && !FAutoRun && !IsLoading() && !IsDesigning();
    Change(FAutoRun, value);
    // The list writes no entry it cannot hold, and says nothing; the user who asked for one
    // must hear why there is none.
    if (switchedOn)
        if (const QString why = RunList().CannotHold(FKind, FFileName); !why.isEmpty())
            ReportException(Exception(why));
}

void TAutoRun::SetFileName(const QString &value) {
    Change(FFileName, value);
}

void TAutoRun::SetKind(TAutoExecKind value) {
    Change(FKind, value);
}

template <typename T> void TAutoRun::Change(T &field, const T &value) {
    if (field == value) return;
    // Values read with the layout are not changes of an entry yet: Loaded() applies them once.
    if (IsLoading()) {
        field = value;
        return;
    }
    RemoveAutoRun();
    field = value;
    ApplyAutoRun();
}

void TAutoRun::ApplyAutoRun() {
    if (IsDesigning()) return;
    RemoveAutoRun();
    if (FAutoRun) RunList().AddRunEntry(FKind, FFileName);
}

void TAutoRun::RemoveAutoRun() {
    if (IsDesigning()) return;
    RunList().DeleteRunEntry(FKind, FFileName);
}

void TAutoRun::Loaded() {
    TComponent::Loaded();
    ApplyAutoRun();
}
