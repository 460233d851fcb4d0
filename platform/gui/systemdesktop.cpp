#include "platform/gui/systemdesktop.h"

#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QUrl>
#include <QWindow>

#include <algorithm>

void TSystemDesktop::Beep() {
    QApplication::beep();
}

// A message belongs to the active window; right after a dialog closes there is none for a moment,
// so the window the user worked in last stands in, else any shown window of the program.
QWidget *TSystemDesktop::Owner() const {
    if (QWidget *modal = QApplication::activeModalWidget()) return modal;
    if (QWidget *active = QApplication::activeWindow()) return active;
    if (auto *last = qobject_cast<QWidget *>(FLastActive.data()); last && last->isVisible())
        return last;
    for (QWidget *window : QApplication::topLevelWidgets())
        if (window->isVisible() &&
            (window->windowType() == Qt::Window || window->windowType() == Qt::Dialog))
            return window;
    return nullptr;
}

namespace {

// Centred on its window by the dialog itself; kept above the windows of the program that stay
// on top, which would otherwise hide a box that has the focus, and the program would seem to
// hang.
void Prepare(QDialog &dialog) {
    const QList<QWidget *> windows = QApplication::topLevelWidgets();
    const bool onTop = std::any_of(windows.begin(), windows.end(), [&](const QWidget *window) {
        return window != &dialog && window->isVisible() &&
               window->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
    });
    if (onTop) dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
}

void ShowBox(QWidget *owner, QMessageBox::Icon icon, const QString &caption, const QString &text) {
    QMessageBox box(icon, caption, text, QMessageBox::Ok, owner);
    Prepare(box);
    box.exec();
}

} // namespace

TSystemDesktop::TSystemDesktop() {
    if (auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        FWatch = QObject::connect(app, &QGuiApplication::focusWindowChanged, app, [this] {
            if (QWidget *active = QApplication::activeWindow()) FLastActive = active;
        });
}

TSystemDesktop::~TSystemDesktop() {
    QObject::disconnect(FWatch);
}

void TSystemDesktop::ShowMessage(const QString &caption, const QString &text) {
    ShowBox(Owner(), QMessageBox::Warning, caption, text);
}

void TSystemDesktop::ShowError(const QString &caption, const QString &text) {
    ShowBox(Owner(), QMessageBox::Critical, caption, text);
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
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, Owner());
    QPushButton *accept = box.addButton(action, QMessageBox::AcceptRole);
    box.setEscapeButton(box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole));
    box.setDefaultButton(accept);
    Prepare(box);
    box.exec();
    return box.clickedButton() == accept;
}

int TSystemDesktop::Choose(const QString &caption, const QString &text,
                           const QStringList &actions) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::NoButton, Owner());
    QList<QAbstractButton *> buttons;
    for (const QString &action : actions)
        buttons << box.addButton(action, buttons.isEmpty() ? QMessageBox::AcceptRole
                                                           : QMessageBox::DestructiveRole);
    box.setEscapeButton(box.addButton(QStringLiteral("Abbrechen"), QMessageBox::RejectRole));
    if (!buttons.isEmpty()) box.setDefaultButton(static_cast<QPushButton *>(buttons.first()));
    Prepare(box);
    box.exec();
    return int(buttons.indexOf(box.clickedButton()));
}

QString TSystemDesktop::FileName(bool save, const QString &caption, const QString &start,
                                 const QString &filter) const {
    QFileDialog dialog(Owner(), caption, start, filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    Prepare(dialog);
    if (dialog.exec() != QDialog::Accepted) return {};
    return dialog.selectedFiles().value(0);
}

QString TSystemDesktop::SaveFileName(const QString &caption, const QString &suggested,
                                     const QString &filter) {
    return FileName(true, caption, suggested, filter);
}

QString TSystemDesktop::OpenFileName(const QString &caption, const QString &folder,
                                     const QString &filter) {
    return FileName(false, caption, folder, filter);
}
