#pragma once
// The desktop services the windows use (beep, message boxes, the error report, links,
// clipboard), behind one seam that tests replace with ScopedDesktop.

#include <QString>

class TDesktop {
public:
    virtual ~TDesktop() = default;
    virtual void Beep();
    // A message box with an OK button and the exclamation icon.
    virtual void ShowMessage(const QString &caption, const QString &text);
    // The platform's standard report of an error that reached the message loop.
    virtual void ShowError(const QString &caption, const QString &text);
    // Hands a web or mail link to the desktop; false when nothing could open it.
    virtual bool OpenUrl(const QString &link);
    virtual void SetClipboardText(const QString &text);
};

TDesktop &Desktop();

class ScopedDesktop {
public:
    explicit ScopedDesktop(TDesktop &desktop);
    ~ScopedDesktop();
    ScopedDesktop(const ScopedDesktop &) = delete;
    ScopedDesktop &operator=(const ScopedDesktop &) = delete;

private:
    TDesktop *FPrevious;
};
