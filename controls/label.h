#pragma once
// The plain text label of the windows: a caption drawn in the label's font and font colour,
// aligned left, right or centred, on its colour or transparent; with AutoSize it takes the
// size of its text.

#include "platform/colors.h"
#include "platform/component.h"

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

protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void AdjustBounds();

    QString FCaption;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    bool FAutoSize = true;
    bool FTransparent = false;
    TColor FColor = clBtnFace;
    TColor FFontColor = clWindowText;
};
