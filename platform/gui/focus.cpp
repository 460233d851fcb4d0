#include "platform/gui/focus.h"

#include <QFocusEvent>
#include <QPointer>
#include <QWidget>

namespace {

bool IsTabStop(const QWidget *widget) {
    return (widget->focusPolicy() & Qt::TabFocus) && widget->isVisibleTo(widget->window()) &&
           widget->isEnabled();
}

// Walks the window's focus chain from the control that has the focus now (the one that asked
// may have lost it meanwhile), wrapping around at the ends.
void MoveFocus(QWidget *window, bool forward) {
    QWidget *start = window->focusWidget();
    if (!start) return;
    QWidget *candidate = start;
    do {
        candidate = forward ? candidate->nextInFocusChain() : candidate->previousInFocusChain();
        if (candidate->window() == window && IsTabStop(candidate)) {
            candidate->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return;
        }
    } while (candidate != start);
}

} // namespace

void PostFocusMove(QWidget *from, bool forward) {
    QPointer<QWidget> window = from->window();
    QMetaObject::invokeMethod(
        window,
        [window, forward] {
            if (window) MoveFocus(window, forward);
        },
        Qt::QueuedConnection);
}

bool TFocusEntry::Enters() {
    if (FEntered) return false;
    FEntered = true;
    return true;
}

bool TFocusEntry::Leaves(const QFocusEvent &event) const {
    const Qt::FocusReason reason = event.reason();
    return FEntered && reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}
