#include "platform/desktop.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
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

void TSystemDesktop::SetClipboardHtml(const QString &text, const QString &html) {
    auto *data = new QMimeData;
    data->setText(text);
    data->setHtml(html);
    QApplication::clipboard()->setMimeData(data);
}

bool TSystemDesktop::Ask(const QString &caption, const QString &text, const QString &action) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton,
                    QApplication::activeWindow());
    QPushButton *accept = box.addButton(action, QMessageBox::AcceptRole);
    // Qt's own button texts are English without a translation loaded.
    box.setEscapeButton(box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole));
    box.setDefaultButton(accept);
    box.exec();
    return box.clickedButton() == accept;
}

QString TSystemDesktop::SaveFileName(const QString &caption, const QString &suggested,
                               const QString &filter) {
    return QFileDialog::getSaveFileName(QApplication::activeWindow(), caption, suggested, filter);
}

QString TSystemDesktop::OpenFileName(const QString &caption, const QString &folder,
                               const QString &filter) {
    return QFileDialog::getOpenFileName(QApplication::activeWindow(), caption, folder, filter);
}
