#pragma once
// The run lists on desktops that follow the XDG autostart rules: the per-user folder
// <user's settings folder>/autostart and the machine-wide one in the first of the machine's
// settings folders (the services' ConfigHome and ConfigDirs), one desktop entry file per
// program.

#include "platform/core/runlist.h"

#include <QStringList>

class TXdgRunList : public TRunList {
public:
    bool AddRunEntry(TAutoExecKind kind, const QString &fileName) override;
    bool DeleteRunEntry(TAutoExecKind kind, const QString &fileName) override;
    QString CannotHold(TAutoExecKind kind, const QString &fileName) const override;

    // The entry file for fileName in the list of kind; empty for the service kinds.
    static QString EntryPath(TAutoExecKind kind, const QString &fileName);
    // The program and its arguments as one Exec value of a desktop entry; empty when an
    // argument holds a control character, which that value cannot carry.
    static QString ExecValue(const QStringList &arguments);

private:
    // What the entry for fileName runs, program first.
    static QStringList Command(TAutoExecKind kind, const QString &fileName);
};
