#include "controls/imgbtn.h"

#include "platform/gui/accessibility.h"

#include <QMouseEvent>
#include <QScopedValueRollback>

#include <utility>

namespace {

TMouseMessage MessageOf(TMouseMessageId id, const QMouseEvent &event) {
    const QPoint at = event.position().toPoint();
    return {id, event.buttons(), event.modifiers(), at.x(), at.y()};
}

} // namespace

TImgBtn::TImgBtn(TComponent *owner, QWidget *parent) : TImage(owner, parent) {
    SetAccessibleExposure(*this, TAccessibleExposure::aeShown);
}

void TImgBtn::SetPic(const TPicture &value) {
    SetPicture(value);
    FPic = value;
}

void TImgBtn::changeEvent(QEvent *event) {
    TImage::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) SetPicture(isEnabled() ? FPic : FPicDeactive);
}

// Qt reports enter and leave only while no button is held; while the left button is held
// the pointer's moves tell it, as the platform's capture does. Either way each crossing
// counts once.
void TImgBtn::PointerOver(bool inside, const TMouseMessage &message) {
    if (inside == FPointerOver) return;
    FPointerOver = inside;
    if (!Reacts()) return;
    FMouseInside = inside;
    if (FClicking)
        FPictureBehind = true;
    else
        SetPicture(inside ? (FButtonPressed ? FPicDown : FPicUp) : FPic);
    const TOnMouseEvent &handler = inside ? OnMouseEnter : OnMouseLeave;
    if (handler) handler(message);
}

void TImgBtn::enterEvent(QEnterEvent *event) {
    TImage::enterEvent(event);
    PointerOver(true, {TMouseMessageId::mmEnter, {}, {}});
}

void TImgBtn::leaveEvent(QEvent *event) {
    TImage::leaveEvent(event);
    PointerOver(false, {TMouseMessageId::mmLeave, {}, {}});
}

void TImgBtn::mouseMoveEvent(QMouseEvent *event) {
    const bool inside = rect().contains(event->position().toPoint());
    PointerOver(inside, {inside ? TMouseMessageId::mmEnter : TMouseMessageId::mmLeave, {}, {}});
}

void TImgBtn::mousePressEvent(QMouseEvent *event) {
    TImage::mousePressEvent(event);
    if (event->button() != Qt::LeftButton || !Reacts()) return;
    FButtonPressed = true;
    if (FMouseInside) SetPicture(FPicDown);
    if (OnMouseDown) OnMouseDown(MessageOf(TMouseMessageId::mmLeftButtonDown, *event));
}

// The click runs first: a click handler that waits in a modal loop leaves PicDown showing.
// Qt reports the pointer as gone when a modal window blocks this one, so while the click
// runs the crossings only move the flags and the picture catches up afterwards.
void TImgBtn::mouseReleaseEvent(QMouseEvent *event) {
    {
        const QScopedValueRollback clicking(FClicking, true);
        TImage::mouseReleaseEvent(event);
    }
    const bool behind = std::exchange(FPictureBehind, false);
    if (event->button() != Qt::LeftButton || !Reacts()) return;
    FButtonPressed = false;
    if (FMouseInside)
        SetPicture(FPicUp);
    else if (behind)
        SetPicture(FPic);
    if (OnMouseUp) OnMouseUp(MessageOf(TMouseMessageId::mmLeftButtonUp, *event));
}
