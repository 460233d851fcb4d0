#pragma once
// The application object: its title (which names the single-instance locks), the
// show-main-window switch, the quit request, and the rule that no error crosses the
// message loop: an escaped Exception is shown as the platform's error report and the
// loop goes on.

#include "platform/core/program.h"

#include <QApplication>
#include <QString>

// How the program ends, or may end.
enum class TEnding {
    LoopEnds,     // the message loop ends: the windows are destroyed in order after it
    SessionSaves, // the session asks for the data; it may end the process without further notice
    ProcessExits, // exit() without the loop ending, as Qt ends when the display's connection goes
};

class TApplication : public QApplication, public TProgram {
    Q_OBJECT
public:
    TApplication(int &argc, char **argv);
    ~TApplication() override;

    static TApplication *Instance();

    const QString &Title() const override { return FTitle; }
    void SetTitle(const QString &value);

    bool ShowMainForm() const override { return FShowMainForm; }
    const QString &StartRequest() const override { return FStartRequest; }
    void SetStartRequest(const QString &value) { FStartRequest = value; }
    void SetShowMainForm(bool value) override { FShowMainForm = value; }
    void Terminate() override;
    // Also after a stop request from outside that the message loop has not seen yet.
    bool Terminated() const;
    // The end was asked for from outside (a stop signal, the desktop session ending, the
    // display gone), so nobody may be there to dismiss a window.
    bool EndUnattended() const;

    // On standard error, and in a message box unless the end is unattended.
    void ReportError(const std::exception &error) override;

    bool notify(QObject *receiver, QEvent *event) override;

signals:
    // The program ends, or the session may end it without further notice: whoever keeps values
    // writes them now.
    void Ending(TEnding how);

private:
    QString FTitle;
    QString FStartRequest;
    bool FShowMainForm = true;
    bool FTerminated = false;
    bool FSessionEnding = false;
    bool FLoopEnded = false;
    bool FExiting = false;
};
