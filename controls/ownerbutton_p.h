#pragma once
// The owner-drawn push button under the check box and the radio button: it takes the focus,
// shows a pressed look while the left mouse button is held over it or the space bar is held
// while it has the focus, and reports a click when either is released over it. It is shaded
// from a 16-step ramp of BaseColor, which follows the focus; an "&" in the caption makes the
// next character an Alt accelerator; Enter and Down move the focus on, Up back; Left and
// Right are the control's own (SideStep).

#include "controls/mrvcolroute.h"
#include "platform/core/component.h"
#include "platform/gui/focus.h"
#include "platform/gui/keys.h"
#include "platform/gui/pressrule.h"

#include <QAccessible>
#include <QWidget>
#include <initializer_list>

class TCanvas;

// The drawing steps both controls are described in: a pen line through the points, and
// single pixels.
void DrawPolyline(TCanvas &canvas, const QColor &pen, std::initializer_list<QPoint> points);
void DrawPixels(TCanvas &canvas, const QColor &color, std::initializer_list<QPoint> points);

using TKeyEvent = std::function<void(TObject *Sender, TKeyCode &Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject *Sender, QChar &Key)>;

class TOwnerDrawButton : public QWidget, public TComponent {
public:
    ~TOwnerDrawButton() override;

    const QString &Caption() const { return FCaption; }
    void SetCaption(const QString &value);
    TColor BaseColor() const { return FBaseColor; }
    // The colour the shades are drawn from; repaints.
    void SetBaseColor(TColor value);
    // Both take effect at the next focus change.
    TColor ActiveColor() const { return FActiveColor; }
    void SetActiveColor(TColor value) { FActiveColor = value; }
    TColor InActiveColor() const { return FInActiveColor; }
    void SetInActiveColor(TColor value) { FInActiveColor = value; }
    // The background: the palette's Window colour, as the parent passes it on.
    TColor Color() const;
    // The caption's colour while enabled.
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor value);
    bool TabStop() const { return focusPolicy() & Qt::TabFocus; }
    void SetTabStop(bool value);
    // The control's own switch, whatever its parent's.
    bool Enabled() const { return !testAttribute(Qt::WA_ForceDisabled); }

    TNotifyEvent OnClick;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

protected:
    // A control that accepts double clicks gets the second press of one as DoubleClicked;
    // otherwise that press is an ordinary one.
    TOwnerDrawButton(TComponent *owner, QWidget *parent, QAccessible::Role role,
                     bool acceptsDoubleClicks);

    // Entry index of BaseColor's shade ramp.
    QColor Shade(int index) const { return ColorToQColor(RampEntry(FBaseColor, index)); }
    // The caption right of the box, in the ramp's eighth shade while disabled.
    void DrawCaption(TCanvas &canvas) const;
    // The pressed look: the draw request's "selected" flag.
    bool Pressed() const { return FPressed; }
    void Click();
    // The accessible state follows the check state.
    void CheckStateChanged();

    // The button was clicked: released over it, by mouse or space bar.
    virtual void Clicked() = 0;
    virtual void DoubleClicked() {}
    // The caption's accelerator was pressed and the control can take the focus.
    virtual void Accelerated() = 0;
    virtual void EnabledChanged() {}
    // Left (-1) or Right (+1) without modifiers.
    virtual void SideStep(int) {}
    virtual Qt::CheckState CheckState() const = 0;

    bool event(QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    friend class TOwnerDrawButtonAccessible;
    void SetPressed(bool value);
    void ReleaseHold();
    void KeyDown(TKeyCode &key, TShiftState shift);

    QString FCaption;
    int FShortcutId = 0;
    TColor FBaseColor = clGray;
    TColor FActiveColor = clGreen;
    TColor FInActiveColor = clGray;
    TColor FFontColor = clWindowText;
    QAccessible::Role FRole;
    bool FAcceptsDoubleClicks;
    bool FEnabled = true;
    TFocusEntry FFocusEntry;
    bool FPressed = false;
    TPressRule FPress{*this};
    bool FSpaceHeld = false;
};
