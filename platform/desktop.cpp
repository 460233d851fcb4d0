#include "platform/desktop.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QMessageBox>
#include <QUrl>

namespace {
TDesktop systemDesktop;
TDesktop *current = &systemDesktop;
} // namespace

void TDesktop::Beep() {
    QApplication::beep();
}

void TDesktop::ShowMessage(const QString &caption, const QString &text) {
    QMessageBox::warning(QApplication::activeWindow(), caption, text);
}

void TDesktop::ShowError(const QString &caption, const QString &text) {
    QMessageBox::critical(QApplication::activeWindow(), caption, text);
}

bool TDesktop::OpenUrl(const QString &link) {
    return QDesktopServices::openUrl(QUrl::fromUserInput(link));
}

void TDesktop::SetClipboardText(const QString &text) {
    QApplication::clipboard()->setText(text);
}

TDesktop &Desktop() {
    return *current;
}

ScopedDesktop::ScopedDesktop(TDesktop &desktop) : FPrevious(current) {
    current = &desktop;
}

ScopedDesktop::~ScopedDesktop() {
    current = FPrevious;
}
