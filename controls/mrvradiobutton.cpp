#include "controls/mrvradiobutton.h"

#include "platform/gui/canvas.h"

#include <QPainter>

// The second press of a double click is reported as a double click, not as a press.
TMRVRadioButton::TMRVRadioButton(TComponent *owner, QWidget *parent)
    : TOwnerDrawButton(owner, parent, QAccessible::RadioButton, true) {
    // Where the drawing leaves the control alone (left of the ring) it shows Color.
    setAutoFillBackground(true);
    resize(120, 16);
}

void TMRVRadioButton::SetChecked(bool value) {
    if (value == FChecked) return;
    FChecked = value;
    SetTabStop(value);
    CheckStateChanged();
    if (value) {
        UncheckSiblings();
        Click();
    }
    update();
}

void TMRVRadioButton::UncheckSiblings() {
    if (!parentWidget()) return;
    for (QObject *child : parentWidget()->children())
        if (auto *sibling = dynamic_cast<TMRVRadioButton *>(child); sibling && sibling != this)
            sibling->SetChecked(false);
}

// In the parent's order, as the layout made them; the ends do not wrap round, as a radio
// group does nowhere on the desktop.
void TMRVRadioButton::SideStep(int delta) {
    if (!parentWidget()) return;
    QList<TMRVRadioButton *> group;
    for (QObject *child : parentWidget()->children())
        if (auto *radio = dynamic_cast<TMRVRadioButton *>(child)) group.append(radio);
    for (qsizetype at = group.indexOf(this) + delta; at >= 0 && at < group.size(); at += delta) {
        TMRVRadioButton *next = group[at];
        if (!next->isEnabled() || !next->isVisibleTo(parentWidget())) continue;
        next->setFocus(Qt::TabFocusReason);
        next->SetChecked(true);
        return;
    }
}

void TMRVRadioButton::DoubleClicked() {
    if (OnDblClick) OnDblClick(this);
}

void TMRVRadioButton::paintEvent(QPaintEvent *) {
    QPainter device(this);
    TCanvas canvas(device);
    const bool enabled = Enabled(), sunken = Pressed() || FChecked;
    const QColor outline = Shade(enabled ? 0 : 8);
    DrawRing(canvas, outline, Shade(enabled && sunken ? 7 : 13));
    if (enabled) DrawShading(canvas, sunken);
    if (FChecked) DrawDot(canvas, outline);
    canvas.Brush.Color = ColorToQColor(Color());
    canvas.FillRect({19, 0, width(), height()});
    DrawCaption(canvas);
}

void TMRVRadioButton::DrawRing(TCanvas &canvas, const QColor &outline, const QColor &fill) const {
    canvas.Brush.Color = ColorToQColor(Color());
    canvas.FillRect({4, 0, 19, height()});
    canvas.Brush.Color = fill;
    canvas.Pen.Color = outline;
    canvas.Ellipse(1, 1, 13, 13);
    // The ring is flattened at its four extremes.
    DrawPixels(canvas, outline,
               {{5, 1}, {8, 1}, {5, 12}, {8, 12}, {1, 5}, {1, 8}, {12, 5}, {12, 8}});
    DrawPixels(canvas, fill, {{5, 2}, {8, 2}, {5, 11}, {8, 11}, {2, 5}, {2, 8}, {11, 5}, {11, 8}});
}

void TMRVRadioButton::DrawShading(TCanvas &canvas, bool sunken) const {
    auto line = [&](int shade, std::initializer_list<QPoint> points) {
        DrawPolyline(canvas, Shade(shade), points);
    };
    auto pixels = [&](int shade, std::initializer_list<QPoint> points) {
        DrawPixels(canvas, Shade(shade), points);
    };
    if (sunken) {
        line(4, {{2, 8}, {2, 5}, {5, 2}, {9, 2}});
        pixels(4, {{3, 3}});
        line(5, {{3, 5}, {6, 2}});
        line(5, {{3, 6}, {7, 2}});
        line(6, {{3, 9}, {3, 7}, {7, 3}, {10, 3}});
        line(6, {{4, 7}, {8, 3}});
        line(8, {{5, 10}, {11, 4}});
        line(8, {{6, 10}, {11, 5}});
        line(9, {{5, 11}, {6, 11}, {11, 6}, {11, 4}});
        line(9, {{7, 11}, {12, 6}});
        line(10, {{8, 11}, {12, 7}});
        pixels(10, {{10, 10}});
        return;
    }
    pixels(11, {{7, 2}, {4, 2}, {3, 3}, {2, 8}});
    pixels(14, {{3, 5}, {4, 4}, {5, 3}});
    line(15, {{3, 6}, {6, 3}, {9, 3}});
    line(15, {{6, 4}, {3, 7}, {3, 9}});
    line(14, {{4, 7}, {8, 3}});
    line(14, {{4, 8}, {9, 3}});
    pixels(11, {{4, 10}});
    pixels(8, {{3, 10}, {10, 3}});
    line(11, {{5, 10}, {10, 5}, {10, 3}});
    line(11, {{6, 10}, {11, 5}});
    line(10, {{7, 10}, {11, 6}});
    pixels(10, {{8, 10}, {9, 9}, {10, 8}});
    line(8, {{4, 11}, {9, 11}, {11, 9}, {11, 4}});
    pixels(8, {{9, 10}, {10, 10}, {10, 9}, {11, 9}, {11, 4}});
}

void TMRVRadioButton::DrawDot(TCanvas &canvas, const QColor &outline) const {
    canvas.Pen.Color = outline;
    canvas.Brush.Color = outline;
    canvas.RoundRect(4, 4, 10, 10, 2, 2);
    canvas.SetPixel(6, 6, ColorToQColor(clGray)); // fixed, whatever the ramp
}
