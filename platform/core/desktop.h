#pragma once
// The desktop services the windows use (beep, message boxes, questions, file dialogs, links,
// clipboard), as an interface that code without windows can call too (a second copy's message,
// the command line's console): the services in use give the desktop; the session's is
// TSystemDesktop (platform/gui/systemdesktop.h).

#include <QString>
#include <QStringList>

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
    // One clipboard entry in two forms: plain text, and HTML for programs that take formatting.
    virtual void SetClipboardHtml(const QString &text, const QString &html) = 0;
    // A question with a button named for what it does and one that cancels; true for the first.
    virtual bool Ask(const QString &caption, const QString &text, const QString &action) = 0;
    // The same with a button for each action and one that cancels: the index of the action
    // chosen, or -1 for the cancel button (and for Escape or the window's close button).
    virtual int Choose(const QString &caption, const QString &text, const QStringList &actions) = 0;
    // The desktop's file dialogs; an empty text when the user cancelled.
    virtual QString SaveFileName(const QString &caption, const QString &suggested,
                                 const QString &filter) = 0;
    virtual QString OpenFileName(const QString &caption, const QString &folder,
                                 const QString &filter) = 0;
};

// The desktop of the services in use.
TDesktop &Desktop();
