#pragma once
// What a component may ask of the running program without knowing its toolkit: its title
// (which names the single-instance locks), whether the main window is shown at start, and the
// request to end. The application object provides it.

#include <QString>
#include <exception>

class TProgram {
public:
    virtual ~TProgram() = default;

    // The program's application object, when it provides this; null otherwise.
    static TProgram *Instance();
    // Full path of the running program.
    static QString ExeName();

    virtual const QString &Title() const = 0;
    virtual bool ShowMainForm() const = 0;
    // What this start asks of a copy that already runs, besides coming forward (a window to
    // open); empty for nothing.
    virtual const QString &StartRequest() const = 0;
    virtual void SetShowMainForm(bool value) = 0;
    // Asks the message loop to end once it runs.
    virtual void Terminate() = 0;
    // The platform's standard report of an error that reached the message loop.
    virtual void ReportError(const std::exception &error) = 0;
};
