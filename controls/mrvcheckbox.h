#pragma once
// The yes/no check box of the settings dialog: a small bevelled box with a tick for yes and a
// cross for no, shaded from BaseColor (green while focused, grey otherwise), the caption to
// its right. A click, the space bar or the accelerator toggles it.

#include "controls/ownerbutton_p.h"

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

// mrvYes ticks when checked, mrvNo crosses when checked, mrvYesNo ticks when checked and
// crosses when unchecked; the others leave an unchecked box empty.
enum TMRVCheckStyle { mrvYes, mrvNo, mrvYesNo };

// Captions per state. The setters only store: nothing is shown until the next toggle.
class TMRVCheckLabel {
public:
    bool LabelCheck() const { return FLabelCheck; }
    void SetLabelCheck(bool value) { FLabelCheck = value; }
    const QString &Label_Yes() const { return FLabelYes; }
    void SetLabel_Yes(const QString &value) { FLabelYes = value; }
    const QString &Label_No() const { return FLabelNo; }
    void SetLabel_No(const QString &value) { FLabelNo = value; }
    const QString &Label_gray() const { return FLabelGray; }
    void SetLabel_gray(const QString &value) { FLabelGray = value; }
    const QString &Label_NoEnabled() const { return FLabelNoEnabled; }
    void SetLabel_NoEnabled(const QString &value) { FLabelNoEnabled = value; }

private:
    bool FLabelCheck = false;
    QString FLabelYes, FLabelNo, FLabelGray, FLabelNoEnabled;
};

class TMRVCheckbox : public TOwnerDrawButton {
public:
    explicit TMRVCheckbox(TComponent *owner, QWidget *parent = nullptr);

    bool AllowGrayed() const { return FAllowGrayed; }
    void SetAllowGrayed(bool value) { FAllowGrayed = value; }
    TCheckBoxState State() const { return FState; }
    // Every real change raises OnClick once.
    void SetState(TCheckBoxState value);
    bool Checked() const { return FState == cbChecked; }
    void SetChecked(bool value);
    TMRVCheckStyle CheckStyle() const { return FCheckStyle; }
    void SetCheckStyle(TMRVCheckStyle value);
    const TMRVCheckLabel &LabelCheck() const { return FLabelCheck; }
    TMRVCheckLabel &LabelCheck() { return FLabelCheck; }
    void SetLabelCheck(const TMRVCheckLabel &value);

    // Unchecked, then grayed when allowed, then checked, then unchecked again.
    virtual void Toggle();

protected:
    void Clicked() override { Toggle(); }
    void Accelerated() override;
    void EnabledChanged() override;
    Qt::CheckState CheckState() const override;
    void paintEvent(QPaintEvent *event) override;

private:
    // The box with its edges, and the marks of each state.
    void DrawBox(TCanvas &canvas, const QColor &border) const;
    void DrawCross(TCanvas &canvas, const QColor &border) const;
    void DrawTick(TCanvas &canvas, const QColor &border) const;
    void DrawGrayed(TCanvas &canvas, const QColor &border) const;
    // The two shades of the marks' shading, lighter while pressed.
    QColor ShadeA() const { return Shade(Pressed() ? 4 : 7); }
    QColor ShadeB() const { return Shade(Pressed() ? 5 : 10); }

    bool FAllowGrayed = false;
    TCheckBoxState FState = cbUnchecked;
    TMRVCheckStyle FCheckStyle = mrvYes;
    TMRVCheckLabel FLabelCheck;
};
