#pragma once
// The desktop of the running session, through Qt.

#include "platform/core/desktop.h"

#include <QObject>
#include <QPointer>
#include <QString>

class QWidget;

// Each box and file dialog opens above the
// window it belongs to, centred on it, and above the program's windows that stay on top.
class TSystemDesktop : public TDesktop {
public:
    TSystemDesktop();
    ~TSystemDesktop() override;
    TSystemDesktop(const TSystemDesktop &) = delete;
    TSystemDesktop &operator=(const TSystemDesktop &) = delete;

    void Beep() override;
    void ShowMessage(const QString &caption, const QString &text) override;
    void ShowError(const QString &caption, const QString &text) override;
    bool OpenUrl(const QString &link) override;
    void SetClipboardText(const QString &text) override;
    void SetClipboardHtml(const QString &text, const QString &html) override;
    bool Ask(const QString &caption, const QString &text, const QString &action) override;
    int Choose(const QString &caption, const QString &text, const QStringList &actions) override;
    QString SaveFileName(const QString &caption, const QString &suggested,
                         const QString &filter) override;
    QString OpenFileName(const QString &caption, const QString &folder,
                         const QString &filter) override;

private:
    // The window a box or file dialog belongs to.
    QWidget *Owner() const;
    QString FileName(bool save, const QString &caption, const QString &start,
                     const QString &filter) const;

    QPointer<QObject> FLastActive; // the window the user worked in last

    QMetaObject::Connection FWatch;
};
