#include "cli/console.h"

#include "report/echo.h"

#include <cstdio>

QString ReportText(const QString &subject, const QString &reason) {
    const QString line = QStringLiteral("tarvo-zins: ") +
                         (subject.isEmpty() ? QString() : subject + QStringLiteral(": ")) + reason;
    // A reader of the error output takes one message a line.
    return Visible(line) + u'\n';
}

namespace {

void ReportLine(const QString &subject, const QString &reason) {
    std::fputs(ReportText(subject, reason).toUtf8().constData(), stderr);
}

} // namespace

void TConsoleDesktop::ShowMessage(const QString &caption, const QString &text) {
    ReportLine(caption, text);
}

void TConsoleDesktop::ShowError(const QString &caption, const QString &text) {
    ReportLine(caption, text);
}
