#include "controls/mrvcheckbox.h"

#include "platform/canvas.h"

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
    const bool enabled = Enabled(), pressed = Pressed();
    const QColor border = Shade(enabled ? 0 : 8);
    const QColor fill = Shade(enabled && pressed ? 7 : 13);
    const QColor shadeA = Shade(pressed ? 4 : 7), shadeB = Shade(pressed ? 5 : 10);
    const QColor background = ColorToQColor(Color());
    auto line = [&](const QColor &pen, std::initializer_list<QPoint> points) {
        DrawPolyline(canvas, pen, points);
    };
    auto pixels = [&](const QColor &color, std::initializer_list<QPoint> points) {
        DrawPixels(canvas, color, points);
    };

    canvas.Font = font();
    canvas.Brush.Color = background;
    canvas.FillRect({0, 0, width(), height()});

    canvas.Brush.Color = fill;
    canvas.Pen.Color = border;
    canvas.Rectangle(2, 2, 14, 14);
    if (enabled) {
        line(Shade(pressed ? 5 : 15), {{4, 10}, {4, 4}, {11, 4}});
        line(Shade(pressed ? 9 : 8), {{5, 11}, {11, 11}, {11, 4}});
    }

    const bool cross = (FState == cbChecked && FCheckStyle == mrvNo) ||
                       (FState == cbUnchecked && FCheckStyle == mrvYesNo);
    const bool tick = FState == cbChecked && (FCheckStyle == mrvYes || FCheckStyle == mrvYesNo);
    if (cross) {
        line(border, {{5, 4}, {11, 10}});
        line(border, {{5, 5}, {11, 11}});
        line(border, {{5, 10}, {11, 4}});
        line(border, {{5, 9}, {11, 3}});
        if (enabled) {
            pixels(shadeA, {{6, 10}, {7, 9}, {9, 7}, {10, 6}, {11, 5}, {11, 10}});
            pixels(shadeB, {{6, 11}, {7, 10}, {8, 9}, {10, 7}, {11, 6}, {11, 11}});
        }
    }
    if (tick) {
        // Its long stroke leaves the box at the top right.
        line(border, {{4, 7}, {7, 10}, {15, 2}});
        line(border, {{5, 7}, {7, 9}, {14, 2}});
        if (enabled) {
            pixels(shadeB, {{5, 9}, {6, 10}});
            line(shadeA, {{7, 11}, {13, 5}});
            line(shadeB, {{8, 11}, {12, 7}});
            pixels(Shade(7), {{14, 4}});
            pixels(Shade(10), {{15, 4}, {14, 5}});
        }
    }
    if (FState == cbGrayed) {
        canvas.Pen.Color = border;
        canvas.Rectangle(5, 7, 11, 9);
        if (enabled) line(shadeB, {{6, 9}, {11, 9}, {11, 6}});
    }

    canvas.FontColor = enabled ? ColorToQColor(FontColor()) : Shade(8);
    TRect caption{19, 0, width(), height()};
    canvas.DrawText(caption, Caption(), DT_SINGLELINE | DT_VCENTER | DT_LEFT);
}
