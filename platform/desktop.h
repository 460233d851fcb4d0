#pragma once
// The desktop services the windows use (beep, message boxes, links, clipboard): the services in
// use give the desktop; the system's is TSystemDesktop.

#include <QString>

class TDesktop {
public:
    virtual ~TDesktop() = default;
    virtual void Beep() = 0;
    // A message box with an OK button and the exclamation icon.
    virtual void ShowMessage(const QString &caption, const QString &text) = 0;
    // The platform's standard report of an error that reached the message loop.
    virtual void ShowError(const QString &caption, const QString &text) = 0;
    // Hands a web or mail link to the desktop; false when nothing could open it.
    virtual bool OpenUrl(const QString &link) = 0;
    virtual void SetClipboardText(const QString &text) = 0;
};

// The desktop of the services in use.
TDesktop &Desktop();

// The desktop of the running session, through Qt.
class TSystemDesktop : public TDesktop {
public:
    void Beep() override;
    void ShowMessage(const QString &caption, const QString &text) override;
    void ShowError(const QString &caption, const QString &text) override;
    bool OpenUrl(const QString &link) override;
    void SetClipboardText(const QString &text) override;
};
