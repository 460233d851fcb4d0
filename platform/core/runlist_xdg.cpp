#include "platform/core/runlist_xdg.h"

#include "platform/base/services.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QString machineConfigFolder() {
    const QStringList folders = Services().ConfigDirs();
    return folders.isEmpty() ? QStringLiteral("/etc/xdg") : folders.first();
}

bool isServiceKind(TAutoExecKind kind) {
    return kind == aekServiceRun || kind == aekServiceRunOnce;
}

bool isRunOnceKind(TAutoExecKind kind) {
    return kind == aekMachineRunOnce || kind == aekUserRunOnce;
}

// Quoted as the desktop entry rules require: inside double quotes, a backslash before each
// of " ` $ and backslash; then every percent sign doubled, so it is no field code; then the
// backslashes escaped once more for the string value the quoted text is stored in.
QString quoteArgument(const QString &argument) {
    QString quoted = QStringLiteral("\"");
    for (QChar c : argument) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\') quoted += u'\\';
        quoted += c;
    }
    quoted += u'"';
    quoted.replace(u'%', QStringLiteral("%%"));
    quoted.replace(u'\\', QStringLiteral("\\\\"));
    return quoted;
}

} // namespace

QString TXdgRunList::EntryPath(TAutoExecKind kind, const QString &fileName) {
    if (isServiceKind(kind)) return {};
    const bool machine = kind == aekMachineRun || kind == aekMachineRunOnce;
    const QString folder =
        (machine ? machineConfigFolder() : Services().ConfigHome()) + QStringLiteral("/autostart/");
    // Run and run-once entries share one folder, so the run-once ones carry a mark.
    const QString mark = isRunOnceKind(kind) ? QStringLiteral("-runonce") : QString();
    return folder + RunEntryName(fileName) + mark + QStringLiteral(".desktop");
}

QString TXdgRunList::ExecValue(const QStringList &arguments) {
    QStringList quoted;
    for (const QString &argument : arguments) {
        for (QChar c : argument)
            if (c.unicode() < 0x20 || c.unicode() == 0x7f) return {};
        quoted << quoteArgument(argument);
    }
    return quoted.join(u' ');
}

QStringList TXdgRunList::Command(TAutoExecKind kind, const QString &fileName) {
    if (isRunOnceKind(kind))
        // Starts the program, then deletes its own entry file.
        return {QStringLiteral("/bin/sh"),
                QStringLiteral("-c"),
                QStringLiteral("\"$2\" & exec rm -f -- \"$1\""),
                QStringLiteral("sh"),
                EntryPath(kind, fileName),
                fileName};
    if (fileName.contains(u'%'))
        // GLib-based sessions look for the program named first before they turn "%%" back
        // into "%", and so miss such a path; the shell, named first instead, gets the path as
        // an argument and runs it.
        return {QStringLiteral("/bin/sh"), QStringLiteral("-c"), QStringLiteral("exec \"$0\""),
                fileName};
    return {fileName};
}

QString TXdgRunList::CannotHold(TAutoExecKind kind, const QString &fileName) const {
    if (isServiceKind(kind)) return {};
    for (const QString &argument : Command(kind, fileName)) {
        if (!ExecValue({argument}).isEmpty()) continue;
        // Shown with the control characters spelled out, so the user can find them.
        QString shown;
        for (QChar c : argument)
            shown += c == u'\n'   ? QStringLiteral("\\n")
                     : c == u'\t' ? QStringLiteral("\\t")
                     : c.unicode() < 0x20 || c.unicode() == 0x7f
                         ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QChar(u'0'))
                         : QString(c);
        return QStringLiteral("Der Autostart kann nicht eingerichtet werden: Der Pfad „%1“ "
                              "enthält ein Steuerzeichen (Zeilenumbruch oder Tabulator), das "
                              "ein Autostart-Eintrag nicht aufnehmen kann.")
            .arg(shown);
    }
    return {};
}

bool TXdgRunList::AddRunEntry(TAutoExecKind kind, const QString &fileName) {
    if (isServiceKind(kind) || RunEntryName(fileName).isEmpty()) return false;
    const QString path = EntryPath(kind, fileName);
    const QString exec = ExecValue(Command(kind, fileName));
    if (exec.isEmpty() || !QDir().mkpath(QFileInfo(path).path())) return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    const QString entry = QStringLiteral("[Desktop Entry]\n"
                                         "Type=Application\n"
                                         "Name=Tarvo\n"
                                         "Exec=") +
                          exec + QStringLiteral("\nX-GNOME-Autostart-enabled=true\n");
    file.write(entry.toUtf8());
    return file.commit();
}

bool TXdgRunList::DeleteRunEntry(TAutoExecKind kind, const QString &fileName) {
    if (isServiceKind(kind)) return false;
    const QFileInfo entry(EntryPath(kind, fileName));
    if (!entry.dir().exists()) return false;
    // No entry without a name is ever written.
    if (RunEntryName(fileName).isEmpty() || (!entry.exists() && !entry.isSymLink())) return true;
    return QFile::remove(entry.filePath());
}
