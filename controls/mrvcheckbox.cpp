#include "controls/mrvcheckbox.h"

#include "platform/gui/canvas.h"

#include <QPainter>

// No double clicks: each press of one is a press of its own, so each click toggles.
TMRVCheckbox::TMRVCheckbox(TComponent *owner, QWidget *parent)
    : TOwnerDrawButton(owner, parent, QAccessible::CheckBox, false) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(100, 16);
}

void TMRVCheckbox::SetState(TCheckBoxState value) {
    if (value == FState) return;
    FState = value;
    update();
    CheckStateChanged();
    Click();
}

void TMRVCheckbox::SetChecked(bool value) {
    SetState(value ? cbChecked : cbUnchecked);
    update();
}

void TMRVCheckbox::SetCheckStyle(TMRVCheckStyle value) {
    if (value == FCheckStyle) return;
    FCheckStyle = value;
    update();
}

void TMRVCheckbox::SetLabelCheck(const TMRVCheckLabel &value) {
    FLabelCheck = value;
    update();
}

void TMRVCheckbox::Toggle() {
    switch (FState) {
    case cbUnchecked:
        SetState(FAllowGrayed ? cbGrayed : cbChecked);
        break;
    case cbChecked:
        SetState(cbUnchecked);
        break;
    case cbGrayed:
        SetState(cbChecked);
        break;
    }
    if (FLabelCheck.LabelCheck()) {
        const QString &text = FState == cbUnchecked ? FLabelCheck.Label_No()
                              : FState == cbChecked ? FLabelCheck.Label_Yes()
                                                    : FLabelCheck.Label_gray();
        if (!text.isEmpty()) SetCaption(text);
    }
    update();
}

void TMRVCheckbox::Accelerated() {
    setFocus(Qt::ShortcutFocusReason);
    if (hasFocus()) Toggle();
}

// A disabled box shows Label_NoEnabled or, without one, is unchecked through a toggle, so
// that a per-state caption follows.
void TMRVCheckbox::EnabledChanged() {
    if (Enabled()) return;
    if (!FLabelCheck.Label_NoEnabled().isEmpty()) {
        SetCaption(FLabelCheck.Label_NoEnabled());
        return;
    }
    SetState(cbChecked);
    Toggle();
}

Qt::CheckState TMRVCheckbox::CheckState() const {
    return FState == cbChecked  ? Qt::Checked
           : FState == cbGrayed ? Qt::PartiallyChecked
                                : Qt::Unchecked;
}

// Qt's backing store already draws it off-screen and shows it in one go.
void TMRVCheckbox::paintEvent(QPaintEvent *) {
    QPainter device(this);
    TCanvas canvas(device);
    const QColor border = Shade(Enabled() ? 0 : 8);
    canvas.Brush.Color = ColorToQColor(Color());
    canvas.FillRect({0, 0, width(), height()});
    DrawBox(canvas, border);
    const bool cross = (FState == cbChecked && FCheckStyle == mrvNo) ||
                       (FState == cbUnchecked && FCheckStyle == mrvYesNo);
    const bool tick = FState == cbChecked && (FCheckStyle == mrvYes || FCheckStyle == mrvYesNo);
    if (cross) DrawCross(canvas, border);
    if (tick) DrawTick(canvas, border);
    if (FState == cbGrayed) DrawGrayed(canvas, border);
    DrawCaption(canvas);
}

void TMRVCheckbox::DrawBox(TCanvas &canvas, const QColor &border) const {
    const bool pressed = Pressed();
    canvas.Brush.Color = Shade(Enabled() && pressed ? 7 : 13);
    canvas.Pen.Color = border;
    canvas.Rectangle(2, 2, 14, 14);
    if (!Enabled()) return;
    DrawPolyline(canvas, Shade(pressed ? 5 : 15), {{4, 10}, {4, 4}, {11, 4}});
    DrawPolyline(canvas, Shade(pressed ? 9 : 8), {{5, 11}, {11, 11}, {11, 4}});
}

void TMRVCheckbox::DrawCross(TCanvas &canvas, const QColor &border) const {
    DrawPolyline(canvas, border, {{5, 4}, {11, 10}});
    DrawPolyline(canvas, border, {{5, 5}, {11, 11}});
    DrawPolyline(canvas, border, {{5, 10}, {11, 4}});
    DrawPolyline(canvas, border, {{5, 9}, {11, 3}});
    if (!Enabled()) return;
    DrawPixels(canvas, ShadeA(), {{6, 10}, {7, 9}, {9, 7}, {10, 6}, {11, 5}, {11, 10}});
    DrawPixels(canvas, ShadeB(), {{6, 11}, {7, 10}, {8, 9}, {10, 7}, {11, 6}, {11, 11}});
}

// Its long stroke leaves the box at the top right.
void TMRVCheckbox::DrawTick(TCanvas &canvas, const QColor &border) const {
    DrawPolyline(canvas, border, {{4, 7}, {7, 10}, {15, 2}});
    DrawPolyline(canvas, border, {{5, 7}, {7, 9}, {14, 2}});
    if (!Enabled()) return;
    DrawPixels(canvas, ShadeB(), {{5, 9}, {6, 10}});
    DrawPolyline(canvas, ShadeA(), {{7, 11}, {13, 5}});
    DrawPolyline(canvas, ShadeB(), {{8, 11}, {12, 7}});
    DrawPixels(canvas, Shade(7), {{14, 4}});
    DrawPixels(canvas, Shade(10), {{15, 4}, {14, 5}});
}

void TMRVCheckbox::DrawGrayed(TCanvas &canvas, const QColor &border) const {
    canvas.Pen.Color = border;
    canvas.Rectangle(5, 7, 11, 9);
    if (Enabled()) DrawPolyline(canvas, ShadeB(), {{6, 9}, {11, 9}, {11, 6}});
}
