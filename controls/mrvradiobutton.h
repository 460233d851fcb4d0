#pragma once
// The round radio button of the settings dialog: a ring, sunken with a dot when checked and
// raised otherwise, shaded from BaseColor (green while focused, grey otherwise), the caption
// to its right. Checking one unchecks the other radio buttons of the same parent; Left and
// Right move to the previous or next enabled one of them and check it, stopping at the ends.

#include "controls/ownerbutton_p.h"

class TMRVRadioButton : public TOwnerDrawButton {
public:
    explicit TMRVRadioButton(TComponent *owner, QWidget *parent = nullptr);

    bool Checked() const { return FChecked; }
    // The tab stop follows. Checking unchecks the siblings first, then raises OnClick;
    // unchecking raises nothing.
    void SetChecked(bool value);

    TNotifyEvent OnDblClick;

protected:
    void Clicked() override { SetChecked(true); }
    void DoubleClicked() override;
    void SideStep(int delta) override;
    // Focuses without checking.
    void Accelerated() override { setFocus(Qt::ShortcutFocusReason); }
    Qt::CheckState CheckState() const override { return FChecked ? Qt::Checked : Qt::Unchecked; }
    void paintEvent(QPaintEvent *event) override;

private:
    void UncheckSiblings();
    // The round box, its shading sunken or raised, and the checked dot.
    void DrawRing(TCanvas &canvas, const QColor &outline, const QColor &fill) const;
    void DrawShading(TCanvas &canvas, bool sunken) const;
    void DrawDot(TCanvas &canvas, const QColor &outline) const;

    bool FChecked = false;
};
