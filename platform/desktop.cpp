#include "platform/desktop.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
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

void TDesktop::SetClipboardHtml(const QString &text, const QString &html) {
    auto *data = new QMimeData;
    data->setText(text);
    data->setHtml(html);
    QApplication::clipboard()->setMimeData(data);
}

bool TDesktop::Ask(const QString &caption, const QString &text, const QString &action) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    QPushButton *accept = box.addButton(action, QMessageBox::AcceptRole);
    // Qt's own button texts are English without a translation loaded.
    box.setEscapeButton(box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole));
    box.setDefaultButton(accept);
    box.exec();
    return box.clickedButton() == accept;
}

QString TDesktop::SaveFileName(const QString &caption, const QString &suggested,
                               const QString &filter) {
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), caption, suggested, filter);
}

QString TDesktop::OpenFileName(const QString &caption, const QString &folder,
                               const QString &filter) {
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, folder, filter);
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
