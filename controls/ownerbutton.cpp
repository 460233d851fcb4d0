#include "controls/ownerbutton_p.h"

#include "controls/accessible.h"

#include "platform/gui/canvas.h"
#include "platform/gui/focus.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QShortcutEvent>

void DrawPolyline(TCanvas &canvas, const QColor &pen, std::initializer_list<QPoint> points) {
    canvas.Pen.Color = pen;
    canvas.MoveTo(points.begin()->x(), points.begin()->y());
    for (auto p = points.begin() + 1; p != points.end(); ++p)
        canvas.LineTo(p->x(), p->y());
}

void DrawPixels(TCanvas &canvas, const QColor &color, std::initializer_list<QPoint> points) {
    for (const QPoint &p : points)
        canvas.SetPixel(p.x(), p.y(), color);
}

TOwnerDrawButton::TOwnerDrawButton(TComponent *owner, QWidget *parent, QAccessible::Role role,
                                   bool acceptsDoubleClicks)
    : QWidget(parent), TComponent(owner), FRole(role), FAcceptsDoubleClicks(acceptsDoubleClicks) {
    InstallControlAccessibility();
    SetTabStop(true);
    FBaseColor = FInActiveColor;
    FPress.ShowPressed = [this](bool pressed) { SetPressed(pressed); };
    FPress.Click = [this] { Clicked(); };
}

TOwnerDrawButton::~TOwnerDrawButton() = default;

void TOwnerDrawButton::SetCaption(const QString &value) {
    if (value == FCaption) return;
    FCaption = value;
    if (FShortcutId) releaseShortcut(FShortcutId);
    const QKeySequence accelerator = QKeySequence::mnemonic(FCaption);
    FShortcutId = accelerator.isEmpty() ? 0 : grabShortcut(accelerator);
    update();
    QAccessibleEvent changed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
}

void TOwnerDrawButton::SetBaseColor(TColor value) {
    if (value == FBaseColor) return;
    FBaseColor = value;
    update();
}

TColor TOwnerDrawButton::Color() const {
    return QColorToColor(palette().color(QPalette::Active, QPalette::Window));
}

void TOwnerDrawButton::SetTabStop(bool value) {
    setFocusPolicy(value ? Qt::StrongFocus : Qt::ClickFocus);
}

void TOwnerDrawButton::SetFontColor(TColor value) {
    if (value == FFontColor) return;
    FFontColor = value;
    update();
}

void TOwnerDrawButton::Click() {
    if (OnClick) OnClick(this);
}

void TOwnerDrawButton::CheckStateChanged() {
    QAccessible::State changed;
    changed.checked = true;
    changed.checkStateMixed = true;
    QAccessibleStateChangeEvent event(this, changed);
    QAccessible::updateAccessibility(&event);
}

void TOwnerDrawButton::DrawCaption(TCanvas &canvas) const {
    canvas.Font = font();
    canvas.FontColor = Enabled() ? ColorToQColor(FontColor()) : Shade(8);
    TRect area{19, 0, width(), height()};
    canvas.DrawText(area, Caption(), DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}

void TOwnerDrawButton::SetPressed(bool value) {
    if (value == FPressed) return;
    FPressed = value;
    update();
}

void TOwnerDrawButton::ReleaseHold() {
    FPress.Cancel();
    FSpaceHeld = false;
    SetPressed(false);
}

bool TOwnerDrawButton::event(QEvent *event) {
    if (event->type() == QEvent::Shortcut &&
        static_cast<QShortcutEvent *>(event)->shortcutId() == FShortcutId) {
        if (isEnabled() && isVisible() && focusPolicy() != Qt::NoFocus) Accelerated();
        return true;
    }
    return QWidget::event(event);
}

// Only the control's own switch counts: a disabled parent leaves its Enabled as it is.
void TOwnerDrawButton::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() != QEvent::EnabledChange || Enabled() == FEnabled) return;
    FEnabled = Enabled();
    if (!FEnabled) ReleaseHold();
    EnabledChanged();
    update();
}

// A window that merely goes inactive, or opens a popup, keeps its control entered and green.
void TOwnerDrawButton::focusInEvent(QFocusEvent *event) {
    QWidget::focusInEvent(event);
    if (!FFocusEntry.Enters()) return;
    if (OnEnter) OnEnter(this);
    SetBaseColor(FActiveColor);
}

void TOwnerDrawButton::focusOutEvent(QFocusEvent *event) {
    QWidget::focusOutEvent(event);
    ReleaseHold();
    if (!FFocusEntry.Leaves(*event)) return;
    FFocusEntry.Left();
    if (OnExit) OnExit(this);
    SetBaseColor(FInActiveColor);
}

void TOwnerDrawButton::KeyDown(TKeyCode &key, TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
    if (key == VK_RETURN || key == VK_DOWN)
        PostFocusMove(this, true);
    else if (key == VK_UP)
        PostFocusMove(this, false);
    else if ((key == VK_LEFT || key == VK_RIGHT) && shift == 0)
        SideStep(key == VK_LEFT ? -1 : 1);
}

void TOwnerDrawButton::keyPressEvent(QKeyEvent *event) {
    DispatchKey(
        event, [this](TKeyCode &key, TShiftState shift) { KeyDown(key, shift); },
        [this](QChar &key) {
            if (OnKeyPress) OnKeyPress(this, key);
        },
        [this](QKeyEvent *native) {
            if (native->key() != Qt::Key_Space || native->isAutoRepeat()) return;
            FSpaceHeld = true;
            SetPressed(true);
        });
}

// The platform sends no key-up for a repeated key.
void TOwnerDrawButton::keyReleaseEvent(QKeyEvent *event) {
    if (event->isAutoRepeat()) return;
    TKeyCode key = VirtualKeyOf(*event);
    if (OnKeyUp) OnKeyUp(this, key, ShiftStateOf(event->modifiers()));
    if (key != VK_SPACE || !FSpaceHeld) return;
    const bool pressed = FPressed;
    ReleaseHold();
    if (pressed) Clicked();
}

void TOwnerDrawButton::mousePressEvent(QMouseEvent *event) {
    if (!FPress.Press(*event)) QWidget::mousePressEvent(event);
}

void TOwnerDrawButton::mouseMoveEvent(QMouseEvent *event) {
    FPress.Move(*event);
}

void TOwnerDrawButton::mouseReleaseEvent(QMouseEvent *event) {
    // A release of the mouse ends a space bar's hold too, before any click.
    if (event->button() == Qt::LeftButton && FPress.Held()) FSpaceHeld = false;
    if (!FPress.Release(*event)) QWidget::mouseReleaseEvent(event);
}

void TOwnerDrawButton::mouseDoubleClickEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton) return QWidget::mouseDoubleClickEvent(event);
    if (FAcceptsDoubleClicks)
        DoubleClicked();
    else
        mousePressEvent(event);
}
