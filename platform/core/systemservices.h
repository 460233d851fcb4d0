#pragma once
// The system's services: the local clock, the user's regional settings, the given desktop, the
// XDG autostart folders, the storage folders of the XDG base directories (through
// QStandardPaths) and the private runtime folder, and the running program's error report.

#include "platform/base/formatsettings.h"
#include "platform/core/runlist_xdg.h"
#include "platform/base/services.h"

#include <optional>

class TSystemServices : public TServices {
public:
    explicit TSystemServices(TDesktop &desktop);

    QDateTime Now() const override;
    QDate Today() const override;
    // Read from the user's locale when first asked.
    const TFormatSettings &FormatSettings() const override;
    void RefreshFormatSettings() override;
    TDesktop &Desktop() override { return FDesktop; }
    TRunList &RunList() override { return FRunList; }
    QString ConfigHome() const override;
    QStringList ConfigDirs() const override;
    QString DataHome() const override;
    QString RuntimeDir() const override;
    // The application object's report, or standard error without one.
    void ReportError(const std::exception &error) override;

private:
    TDesktop &FDesktop;
    TXdgRunList FRunList;
    mutable std::optional<TFormatSettings> FFormatSettings;
};
