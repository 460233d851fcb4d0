#pragma once
// TAutoRun keeps one entry in one of the system's lists of programs started at log-on in step
// with its AutoRun property. The lists themselves are reached through TRunList, one
// implementation per platform.

#include "platform/component.h"

#include <QString>

enum TAutoExecKind {
    aekMachineRun,
    aekMachineRunOnce,
    aekUserRun,
    aekUserRunOnce,
    aekServiceRun, // the service kinds are ignored, as on NT-family systems
    aekServiceRunOnce
};

// The entry's name: the part of the file name after the last backslash, colon or slash.
QString RunEntryName(const QString &fileName);

// The platform's run lists. Neither call raises.
class TRunList {
public:
    virtual ~TRunList() = default;
    // Writes the entry for fileName into the list of kind, replacing one of the same name.
    virtual bool AddRunEntry(TAutoExecKind kind, const QString &fileName) = 0;
    // Deletes that entry; true also when there was none, false when the list cannot be opened.
    virtual bool DeleteRunEntry(TAutoExecKind kind, const QString &fileName) = 0;
    // Why no entry of kind can ever start fileName (a path the entry's form cannot hold), in
    // German; empty when one can.
    virtual QString CannotHold(TAutoExecKind kind, const QString &fileName) const;
};

// The run lists in use: the platform's, unless a test installed others.
TRunList &RunList();

class ScopedRunList {
public:
    explicit ScopedRunList(TRunList &runList);
    ~ScopedRunList();
    ScopedRunList(const ScopedRunList &) = delete;
    ScopedRunList &operator=(const ScopedRunList &) = delete;

private:
    TRunList *FPrevious;
};

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
