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
    bool Terminated() const { return FTerminated; }

    // Reports an error as the message loop would.
    void HandleException(const std::exception &error);

    bool notify(QObject *receiver, QEvent *event) override;

private:
    QString FTitle;
    bool FShowMainForm = true;
    bool FTerminated = false;
};
