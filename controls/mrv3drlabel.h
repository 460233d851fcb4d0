#pragma once
// The relief label: its caption drawn several times, shifted by one or three pixels in shades
// of BaseColor and in grey, then once more in the font colour on top; at any whole angle.

#include "controls/label.h"
#include "platform/gui/canvas.h"

enum TTextStyle {
    mrvNo3D,
    mrvRaised,
    mrvRecessed,
    mrvShadowRB, // grey shadow to the right and below
    mrvShadowRT,
    mrvShadowLT,
    mrvShadowLB,
};

class TMRV3DRLabel : public TLabel {
public:
    explicit TMRV3DRLabel(TComponent *owner, QWidget *parent = nullptr);

    // 0 draws unrotated text, other values turn it counter-clockwise. Kept within 0..360:
    // negative values end in 0..359, positive ones in 1..360.
    int TextRotation() const { return FTextRotation; }
    void SetTextRotation(int value);
    TTextStyle Style() const { return FStyle; }
    void SetStyle(TTextStyle value);
    // The colour the relief is shaded from. Writing it sets the font colour too, even when
    // the base colour stays the same.
    TColor BaseColor() const { return FBaseColor; }
    void SetBaseColor(TColor value);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void DrawReliefText(TCanvas &canvas, const TRect &rect, unsigned format);
    void DrawRotatedText(TCanvas &canvas, const TRect &rect, const QString &text, int angle);
    // Moves start so that the turned text lies within its bounding box; with AutoSize the
    // label takes the box's size, otherwise the box is aligned in the label.
    void PlaceRotatedText(QPoint &start, int angle, const QString &text);

    int FTextRotation = 8;
    TTextStyle FStyle = mrvRaised;
    TColor FBaseColor = clGreen;
};
