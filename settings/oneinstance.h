#pragma once
// TOneInstance lets only one copy of the program run per user: once the owning window's
// layout has been read it tests two named locks and, when another copy holds them, brings
// that copy forward and asks this one to end before its main window is shown. In the copy
// that runs, OnComeForward answers the later copies' requests (the window restores or raises
// itself).

#include "platform/core/component.h"

#include <QString>
#include <functional>
#include <memory>

class TComeForwardServer;

using TOneInstanceShowMessage = std::function<void(TObject *Sender, bool &Terminate)>;

class TOneInstance : public TComponent {
public:
    explicit TOneInstance(TComponent *owner);
    ~TOneInstance() override;

    bool ActivatePrevInstance() const { return FActivatePrevInstance; }
    void SetActivatePrevInstance(bool value) { FActivatePrevInstance = value; }
    bool ExeNameAsIdentifier() const { return FExeNameAsIdentifier; }
    void SetExeNameAsIdentifier(bool value) { FExeNameAsIdentifier = value; }
    const QString &Message() const { return FMessage; }
    void SetMessage(const QString &value) { FMessage = value; }
    const QString &Identifier() const { return FIdentifier; }
    void SetIdentifier(const QString &value) { FIdentifier = value; }
    bool ShowMessage() const { return FShowMessage; }
    void SetShowMessage(bool value) { FShowMessage = value; }
    // Replaces the message box; clearing Terminate keeps this copy running.
    TOneInstanceShowMessage OnShowMessage;
    // A later copy asked this one to come forward, and for the window named (empty for none).
    std::function<void(TObject *Sender, const QString &Window)> OnComeForward;

    // The application title (or the upper-cased program path), Identifier and
    // ".OneInstance.", with slashes for backslashes; the locks add "CriticalSection" and
    // "Default".
    QString InstanceName() const;

    virtual bool IsAnotherInstanceRunning();
    virtual void CheckInstance();
    void Loaded() override;

protected:
    virtual void ReportAlreadyRunning();
    // Asks the running copy to come forward; false when it could not be reached.
    virtual bool BringPreviousInstanceForward();

    // The decision to end this copy.
    bool FTerminate = false;

private:
    void ComeForward(const QString &window);

    bool FActivatePrevInstance = true;
    bool FExeNameAsIdentifier = false;
    QString FMessage;
    QString FIdentifier;
    bool FShowMessage = false;
    // Present in the copy that runs: answers the later copies.
    std::unique_ptr<TComeForwardServer> FServer;
};
