#include "controls/image.h"

#include "controls/accessible.h"
#include "platform/gui/accessibility.h"

#include <QMouseEvent>
#include <QPainter>

TImage::TImage(TComponent *owner, QWidget *parent) : QWidget(parent), TComponent(owner) {
    setFocusPolicy(Qt::NoFocus);
    InstallControlAccessibility();
    // A window's background; a picture button makes itself seen.
    SetAccessibleExposure(*this, TAccessibleExposure::aeHidden);
    FPress.Click = [this] {
        if (OnClick) OnClick(this);
    };
}

void TImage::SetPicture(const TPicture &value) {
    FPicture = value;
    ApplyAutoSize();
    update();
}

void TImage::ApplyAutoSize() {
    if (FAutoSize && !FPicture.IsEmpty()) resize(FPicture.Size());
}

void TImage::SetAutoSize(bool value) {
    if (FAutoSize == value) return;
    FAutoSize = value;
    ApplyAutoSize();
}

void TImage::SetTransparent(bool value) {
    if (FTransparent == value) return;
    FTransparent = value;
    update();
}

void TImage::SetStretch(bool value) {
    if (FStretch == value) return;
    FStretch = value;
    update();
}

void TImage::SetCenter(bool value) {
    if (FCenter == value) return;
    FCenter = value;
    update();
}

void TImage::paintEvent(QPaintEvent *) {
    if (FPicture.IsEmpty()) return;
    QPainter painter(this);
    if (FStretch) {
        FPicture.StretchDraw(painter, rect(), FTransparent);
        return;
    }
    QPoint at(0, 0);
    if (FCenter) at = QPoint((width() - FPicture.Width()) / 2, (height() - FPicture.Height()) / 2);
    FPicture.Draw(painter, at, FTransparent);
}

void TImage::mousePressEvent(QMouseEvent *event) {
    FPress.Press(*event);
}

void TImage::mouseReleaseEvent(QMouseEvent *event) {
    FPress.Release(*event);
}

// The second press of a double click: no clicked mark, so the release that follows does not
// click again.
void TImage::mouseDoubleClickEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && OnDblClick) OnDblClick(this);
}
