#pragma once
// What the program takes from its surroundings, reached through one object: the clock, the
// regional settings, the desktop (messages, clipboard, links, beep), the lists of programs
// started at log-on, the storage folders and the error report. A program builds it from the
// system's parts (TSystemServices) and puts it in use; tests build it from fakes.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <exception>

class TDesktop;
class TRunList;
struct TFormatSettings;

class TServices {
public:
    virtual ~TServices() = default;

    virtual QDateTime Now() const = 0;
    virtual QDate Today() const = 0;

    virtual const TFormatSettings &FormatSettings() const = 0;
    // Reads the user's regional settings again, after they changed.
    virtual void RefreshFormatSettings() = 0;

    virtual TDesktop &Desktop() = 0;
    virtual TRunList &RunList() = 0;

    // The user's settings folder (~/.config), the machine's settings folders (/etc/xdg), the
    // user's data folder (~/.local/share), and the user's private runtime folder for locks and
    // sockets (empty when there is none).
    virtual QString ConfigHome() const = 0;
    virtual QStringList ConfigDirs() const = 0;
    virtual QString DataHome() const = 0;
    virtual QString RuntimeDir() const = 0;

    // Reports an error that cannot propagate, as the message loop would.
    virtual void ReportError(const std::exception &error) = 0;
};

// The services in use; a program that has put none in use ends here with a message.
TServices &Services();

// Puts services in use for its lifetime; those in use before come back after it.
class TServicesInUse {
public:
    explicit TServicesInUse(TServices &services);
    ~TServicesInUse();
    TServicesInUse(const TServicesInUse &) = delete;
    TServicesInUse &operator=(const TServicesInUse &) = delete;

private:
    TServices *FPrevious;
};
