#include "platform/gui/caretrest.h"

#include <QApplication>
#include <QEvent>
#include <QTimerEvent>

TCaretRest::TCaretRest(QObject *parent)
    : QObject(parent), FFlashTime(QApplication::cursorFlashTime()) {
    qApp->installEventFilter(this);
}

bool TCaretRest::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::MouseButtonPress:
    case QEvent::Wheel:
    case QEvent::InputMethod:
        Wake();
        break;
    case QEvent::ApplicationStateChange:
        // An inactive program shows no caret, so nothing is left to rest.
        if (watched != qApp) break;
        if (QGuiApplication::applicationState() == Qt::ApplicationActive)
            Wake();
        else
            FTimer.stop();
        break;
    default:
        break;
    }
    return false;
}

void TCaretRest::Wake() {
    if (FFlashTime < 2) return;
    if (QApplication::cursorFlashTime() != FFlashTime) QApplication::setCursorFlashTime(FFlashTime);
    FTimer.start(RestAfterMs, this);
}

void TCaretRest::timerEvent(QTimerEvent *event) {
    if (event->timerId() != FTimer.timerId()) return QObject::timerEvent(event);
    FTimer.stop();
    // The fields stop their blink timers and leave the caret shown.
    QApplication::setCursorFlashTime(0);
}
