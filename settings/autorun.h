#pragma once
// TAutoRun keeps one entry in one of the system's lists of programs started at log-on in step
// with its AutoRun property. The lists themselves are the platform's (TRunList).

#include "platform/core/component.h"
#include "platform/core/runlist.h"

#include <QString>

class TAutoRun : public TComponent {
public:
    explicit TAutoRun(TComponent *owner);

    bool AutoRun() const { return FAutoRun; }
    // Switching it on reports through the error report when the list cannot hold the entry.
    void SetAutoRun(bool value);
    const QString &FileName() const { return FFileName; }
    void SetFileName(const QString &value);
    TAutoExecKind Kind() const { return FKind; }
    void SetKind(TAutoExecKind value);

    // Removes the entry and, when AutoRun is set, writes it again. Nothing in design mode.
    virtual void ApplyAutoRun();
    // Removes the entry. Nothing in design mode.
    virtual void RemoveAutoRun();

    void Loaded() override;

private:
    template <typename T> void Change(T &field, const T &value);

    bool FAutoRun = false;
    QString FFileName;
    TAutoExecKind FKind = aekMachineRun;
};
