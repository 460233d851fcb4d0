#pragma once
// The picture push button of every window: shows Pic, PicUp while the pointer is over it,
// PicDown while the left button is held on it, PicDeactive while disabled; clicks as a
// graphic control does.

#include "controls/image.h"

#include <functional>

enum class TMouseMessageId { mmEnter, mmLeave, mmLeftButtonDown, mmLeftButtonUp };

// The pointer notice as received; enter and leave carry no position.
struct TMouseMessage {
    TMouseMessageId Msg;
    Qt::MouseButtons Buttons;
    Qt::KeyboardModifiers Modifiers;
    int X = 0, Y = 0;
};

using TOnMouseEvent = std::function<void(const TMouseMessage &Msg)>;

class TImgBtn : public TImage {
public:
    explicit TImgBtn(TComponent *owner, QWidget *parent = nullptr);

    const TPicture &Pic() const { return FPic; }
    // Also shows it at once.
    void SetPic(const TPicture &value);
    const TPicture &PicDown() const { return FPicDown; }
    void SetPicDown(const TPicture &value) { FPicDown = value; }
    const TPicture &PicUp() const { return FPicUp; }
    void SetPicUp(const TPicture &value) { FPicUp = value; }
    const TPicture &PicDeactive() const { return FPicDeactive; }
    void SetPicDeactive(const TPicture &value) { FPicDeactive = value; }
    // When false the pictures follow only enabling and disabling and the four mouse events
    // stay silent; the button still clicks.
    bool Supported() const { return FSupported; }
    void SetSupported(bool value) { FSupported = value; }

    TOnMouseEvent OnMouseDown;
    TOnMouseEvent OnMouseEnter;
    TOnMouseEvent OnMouseLeave;
    TOnMouseEvent OnMouseUp;

protected:
    void changeEvent(QEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void PointerOver(bool inside, const TMouseMessage &message);
    bool Reacts() const { return isEnabled() && FSupported; }

    TPicture FPic, FPicUp, FPicDown, FPicDeactive;
    bool FSupported = true;
    bool FMouseInside = false;
    bool FButtonPressed = false;
    // Where the pointer is, known even while the flags are frozen.
    bool FPointerOver = false;
    // The click handler is running; a crossing meanwhile leaves the picture behind the flags.
    bool FClicking = false;
    bool FPictureBehind = false;
};
