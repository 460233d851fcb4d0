#pragma once
// The application object: its title (which names the single-instance locks), the
// show-main-window switch, the quit request, and the rule that no error crosses the
// message loop: an escaped Exception is shown as the platform's error report and the
// loop goes on.

#include <QApplication>
#include <QString>

class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int &argc, char **argv);
    ~TApplication() override;

    static TApplication *Instance();

    const QString &Title() const { return FTitle; }
    void SetTitle(const QString &value);
    // Full path of the running program.
    static QString ExeName();

    bool ShowMainForm() const { return FShowMainForm; }
    void SetShowMainForm(bool value) { FShowMainForm = value; }
    // Asks the message loop to end once it runs.
    void Terminate();
    // Also after a stop request from outside that the message loop has not seen yet.
    bool Terminated() const;
    // The end was asked for from outside (a stop signal, the desktop session ending), so
    // nobody may be there to dismiss a window.
    bool EndUnattended() const;

    // Reports an error as the message loop would: on standard error, and in a message box
    // unless the end is unattended.
    void HandleException(const std::exception &error);

    bool notify(QObject *receiver, QEvent *event) override;

private:
    QString FTitle;
    bool FShowMainForm = true;
    bool FTerminated = false;
    bool FSessionEnding = false;
    bool FLoopEnded = false;
};
