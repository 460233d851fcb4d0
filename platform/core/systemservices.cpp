#include "platform/core/systemservices.h"

#include "platform/base/clock.h"
#include "platform/core/namedlock.h"
#include "platform/core/program.h"

#include <QStandardPaths>

#include <cstdio>

TSystemServices::TSystemServices(TDesktop &desktop) : FDesktop(desktop) {}

QDateTime TSystemServices::Now() const {
    return SystemNow();
}

QDate TSystemServices::Today() const {
    return SystemToday();
}

const TFormatSettings &TSystemServices::FormatSettings() const {
    if (!FFormatSettings) FFormatSettings = TFormatSettings::FromSystemLocale(QString());
    return *FFormatSettings;
}

void TSystemServices::RefreshFormatSettings() {
    FFormatSettings = TFormatSettings::FromSystemLocale(QString());
}

QString TSystemServices::ConfigHome() const {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
}

// The user's own folder comes first among the places settings are looked for.
QStringList TSystemServices::ConfigDirs() const {
    return QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation).mid(1);
}

QString TSystemServices::DataHome() const {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
}

QString TSystemServices::RuntimeDir() const {
    return UserRuntimeFolder();
}

void TSystemServices::ReportError(const std::exception &error) {
    if (TProgram *program = TProgram::Instance())
        program->ReportError(error);
    else
        std::fprintf(stderr, "%s\n", error.what());
}
