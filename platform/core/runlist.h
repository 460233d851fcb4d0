#pragma once
// The system's lists of programs started at log-on, one entry a program. The services in use
// give the lists; on Linux they are the XDG autostart folders (TXdgRunList).

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

// The run lists of the services in use.
TRunList &RunList();
