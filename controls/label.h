#pragma once
// The plain text label of the windows: a caption drawn in the label's font and font colour,
// aligned left, right or centred, on its colour or transparent; with AutoSize it takes the
// size of its text. "&" marks the accelerator character. A graphic control: no focus, and
// the graphic controls' click rule.

#include "platform/gui/colors.h"
#include "platform/core/component.h"
#include "platform/gui/pressrule.h"

#include <QWidget>

class TLabel : public QWidget, public TComponent {
public:
    enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

    explicit TLabel(TComponent *owner, QWidget *parent = nullptr);

    const QString &Caption() const { return FCaption; }
    void SetCaption(const QString &value);
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TColor FontColor() const { return FFontColor; }
    void SetFontColor(TColor value);
    // Breaks the text into lines at word boundaries; AutoSize then keeps the width.
    bool WordWrap() const { return FWordWrap; }
    void SetWordWrap(bool value);

    void Loaded() override;

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

protected:
    // The text format the label draws its caption with: word break, expand tabs, alignment.
    unsigned TextFormat() const;
    // Raises OnClick, as a click on the label does.
    void Click();

    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void AdjustBounds();

    QString FCaption;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    bool FAutoSize = true;
    bool FTransparent = false;
    TColor FColor = clBtnFace;
    TColor FFontColor = clWindowText;
    bool FWordWrap = false;
    TPressRule FPress{*this};
};
