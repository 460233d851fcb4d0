#pragma once
// What tarvo-zins takes from its surroundings: the system's services with German regional
// settings whatever the user's locale (the program's text is German, as the bar's is), and a
// desktop without windows whose messages go to standard error.

#include "platform/base/formatsettings.h"
#include "platform/core/desktop.h"
#include "platform/core/systemservices.h"

#include <QString>

// "tarvo-zins: <Argument oder Zeile>: <Grund>" as one line, with its line break; without a
// subject "tarvo-zins: <Grund>".
QString ReportText(const QString &subject, const QString &reason);

// The command line asks nothing and shows nothing: no clipboard, no links, no dialogs.
class TConsoleDesktop : public TDesktop {
public:
    void Beep() override {}
    void ShowMessage(const QString &caption, const QString &text) override;
    void ShowError(const QString &caption, const QString &text) override;
    bool OpenUrl(const QString &) override { return false; }
    void SetClipboardText(const QString &) override {}
    void SetClipboardHtml(const QString &, const QString &) override {}
    bool Ask(const QString &, const QString &, const QString &) override { return false; }
    QString SaveFileName(const QString &, const QString &, const QString &) override { return {}; }
    QString OpenFileName(const QString &, const QString &, const QString &) override { return {}; }
};

class TConsoleServices : public TSystemServices {
public:
    explicit TConsoleServices(TDesktop &desktop) : TSystemServices(desktop) {}
    const TFormatSettings &FormatSettings() const override { return FGerman; }
    void RefreshFormatSettings() override {}

private:
    TFormatSettings FGerman = TFormatSettings::German();
};
