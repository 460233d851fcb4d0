#include "platform/desktop.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

void TSystemDesktop::Beep() {
    QApplication::beep();
}

void TSystemDesktop::ShowMessage(const QString &caption, const QString &text) {
    QMessageBox::warning(QApplication::activeWindow(), caption, text);
}

void TSystemDesktop::ShowError(const QString &caption, const QString &text) {
    QMessageBox::critical(QApplication::activeWindow(), caption, text);
}

bool TSystemDesktop::OpenUrl(const QString &link) {
    return QDesktopServices::openUrl(QUrl::fromUserInput(link));
}

void TSystemDesktop::SetClipboardText(const QString &text) {
    QApplication::clipboard()->setText(text);
}
