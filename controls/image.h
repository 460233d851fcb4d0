#pragma once
// The picture control: shows one picture at its top-left corner, centred or stretched, with
// or without its transparent colour. A graphic control: no focus, no native window, and the
// graphic controls' click rule (a left press here, then a release inside, clicks).

#include "pictures/picture.h"
#include "platform/core/component.h"
#include "platform/gui/pressrule.h"

#include <QWidget>

class TImage : public QWidget, public TComponent {
public:
    explicit TImage(TComponent *owner, QWidget *parent = nullptr);

    const TPicture &Picture() const { return FPicture; }
    // Shows a copy of value: applies AutoSize and repaints.
    void SetPicture(const TPicture &value);
    bool AutoSize() const { return FAutoSize; }
    void SetAutoSize(bool value);
    bool Transparent() const { return FTransparent; }
    void SetTransparent(bool value);
    bool Stretch() const { return FStretch; }
    void SetStretch(bool value);
    bool Center() const { return FCenter; }
    void SetCenter(bool value);

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void ApplyAutoSize();

    TPicture FPicture;
    bool FAutoSize = false;
    bool FTransparent = false;
    bool FStretch = false;
    bool FCenter = false;
    TPressRule FPress{*this};
};
