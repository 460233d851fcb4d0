#pragma once
// The desktop services the windows use (beep, message boxes, questions, file dialogs, the error
// report, links, clipboard), behind one seam that tests replace with ScopedDesktop.

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
    // One clipboard entry in two forms: plain text, and HTML for programs that take formatting.
    virtual void SetClipboardHtml(const QString &text, const QString &html);
    // A question with a button named for what it does and one that cancels; true for the first.
    virtual bool Ask(const QString &caption, const QString &text, const QString &action);
    // The desktop's file dialogs; an empty text when the user cancelled.
    virtual QString SaveFileName(const QString &caption, const QString &suggested,
                                 const QString &filter);
    virtual QString OpenFileName(const QString &caption, const QString &folder,
                                 const QString &filter);
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
