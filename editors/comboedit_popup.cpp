// The drop-down edit's button and drop-down window: opening the window below (or above) the
// field, closing it by a press elsewhere, and handing the value over.

#include "editors/comboedit.h"

#include "platform/gui/canvas.h"

#include <QAccessible>
#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScopeGuard>
#include <QScreen>

#include <algorithm>
#include <utility>

// ---- TEditButton ------------------------------------------------------------------------

TEditButton::TEditButton(TCustomComboEdit *field, QWidget *parent)
    : TGlyphSpeedButton(field, parent), FField(field) {}

void TEditButton::Click() {
    if (std::exchange(FSwallowClick, false)) return;
    TGlyphSpeedButton::Click();
}

void TEditButton::mousePressEvent(QMouseEvent *event) {
    FSwallowClick = false;
    if (event->button() == Qt::LeftButton && isEnabled()) {
        if (FField->PopupShown()) {
            FField->ClosePopup(true);
            FSwallowClick = true;
        } else if (FField->CanFocus() && (FField->focusPolicy() & Qt::TabFocus) &&
                   !FField->hasFocus()) {
            FField->setFocus(Qt::MouseFocusReason);
        }
    }
    TGlyphSpeedButton::mousePressEvent(event);
}

void TEditButton::paintEvent(QPaintEvent *event) {
    TGlyphSpeedButton::paintEvent(event);
    if (Pressed()) return;
    QPainter painter(this);
    TCanvas canvas(painter);
    canvas.Pen.Color = ColorToQColor(clBtnFace);
    canvas.MoveTo(0, 0);
    canvas.LineTo(0, height() - 1);
    canvas.Pen.Color = ColorToQColor(clBtnHighlight);
    canvas.MoveTo(1, 1);
    canvas.LineTo(1, height() - 2);
}

// ---- TPopupWindow -----------------------------------------------------------------------

TPopupWindow::TPopupWindow(TCustomComboEdit *owner)
    : QWidget(owner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus |
                         Qt::WindowStaysOnTopHint),
      TComponent(owner), FPopupOwner(owner) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    hide();
}

void TPopupWindow::RequestClose(bool accept) {
    if (CloseRequest) CloseRequest(this, accept);
}

void TPopupWindow::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        RequestClose(rect().contains(event->position().toPoint()));
}

// ---- closing by a press elsewhere ------------------------------------------------------

// Stands in for the cancel-mode notice: a press on anything but the field, its button and
// the window closes the window.
bool TCustomComboEdit::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
    case QEvent::NonClientAreaMouseButtonPress:
        if (FPopupShown && PressElsewhere(watched)) CloseUp(false, true);
        break;
    default:
        break;
    }
    return QLineEdit::eventFilter(watched, event);
}

bool TCustomComboEdit::PressElsewhere(QObject *watched) const {
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget) return false;
    if (widget == this || isAncestorOf(widget)) return false;
    return !(FPopup && (widget == FPopup || FPopup->isAncestorOf(widget)));
}

// ---- the window -------------------------------------------------------------------------

void TCustomComboEdit::SetPopup(TPopupWindow *popup) {
    FreePopup();
    FPopup = popup;
    if (FPopup) FPopup->CloseRequest = [this](TPopupWindow *, bool accept) { ClosePopup(accept); };
}

void TCustomComboEdit::FreePopup() {
    if (!FPopup) return;
    if (FPopupShown) {
        qApp->removeEventFilter(this);
        FPopupShown = false;
        FPopup->hide();
    }
    FPopup->CloseRequest = nullptr;
    delete FPopup;
}

void TCustomComboEdit::HandleButtonClick() {
    if (!IsReadOnly() || FButtonAlwaysEnabled) ButtonAction();
}

void TCustomComboEdit::ButtonAction() {
    if (OnButtonClick) OnButtonClick(this);
    if (FPopupShown)
        ClosePopup(true);
    else
        OpenPopup(true);
}

void TCustomComboEdit::OpenPopup(bool disableEdit) {
    if (!FPopup || IsReadOnly() || FPopupShown) return;
    const QPoint p = mapToGlobal(QPoint(0, 0));
    const QScreen *screen = this->screen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 640, 480);
    const int pw = FPopup->width(), ph = FPopup->height();
    int y = p.y() + height();
    if (y + ph > area.bottom() + 1) y = std::max(area.top(), p.y() - ph);
    int x;
    if (FPopupAlign == TPopupAlign::epaRight) {
        x = p.x() + width() - pw;
        if (x < area.left()) x = p.x();
    } else {
        x = p.x();
        if (x + pw > area.right() + 1) x = p.x() + width() - pw;
    }
    if (x < area.left()) x = area.left();
    if (x + pw > area.right() + 1) x = area.right() + 1 - pw;

    const QString text = Text();
    PushPopupValue(text.isEmpty() ? TVariant() : TVariant(text));
    TakeFocusBack();
    ShowPopupAt(QPoint(x, y));
    FPopupShown = true;
    if (disableEdit) setReadOnly(true);
    qApp->installEventFilter(this);
}

void TCustomComboEdit::ShowPopupAt(QPoint at) {
    FPopup->move(at);
    FPopup->show();
}

void TCustomComboEdit::HidePopupWindow() {
    FPopup->hide();
}

void TCustomComboEdit::ClosePopup(bool accept) {
    CloseUp(accept, true);
}

void TCustomComboEdit::CloseUp(bool accept, bool refocus) {
    if (!FPopup || !FPopupShown) return;
    qApp->removeEventFilter(this);
    const auto closed = qScopeGuard([this] { FPopupShown = false; });
    if (QWidget *grabber = QWidget::mouseGrabber()) grabber->releaseMouse();
    TVariant value = PullPopupValue();
    HidePopupWindow();
    if (refocus) {
        try {
            TakeFocusBack();
        } catch (const std::exception &) {
            // A failed focus change does not keep the window from closing.
        }
    }
    ApplyEditReadOnly();
    update();
    if (accept && ConfirmPopupValue(value) && !FReadOnly) {
        TakePopupValue(value);
        if (hasFocus()) SelectAll();
    }
    // The window's day had a screen reader's focus; it comes back to the field, which kept
    // the keyboard all along.
    if (hasFocus()) {
        QAccessibleEvent focus(this, QAccessible::Focus);
        QAccessible::updateAccessibility(&focus);
    }
}

bool TCustomComboEdit::ConfirmPopupValue(TVariant &) {
    return true;
}

void TCustomComboEdit::TakePopupValue(const TVariant &value) {
    const QString text = value.AsString();
    if (text != Text()) {
        SetText(text);
        setModified(true);
    }
    UpdatePopupShown();
    if (OnChange) OnChange(this);
}

void TCustomComboEdit::UpdatePopupShown() {
    FPopupShown = FPopup && FPopup->isVisible();
}

void TCustomComboEdit::PushPopupValue(const TVariant &value) {
    if (FPopup) FPopup->WriteValue(value);
}

TVariant TCustomComboEdit::PullPopupValue() {
    return FPopup ? FPopup->ReadValue() : TVariant(QString());
}
