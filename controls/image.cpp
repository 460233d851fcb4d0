#include "controls/image.h"

#include <QMouseEvent>
#include <QPainter>

TImage::TImage(TComponent *owner, QWidget *parent) : QWidget(parent), TComponent(owner) {
    setFocusPolicy(Qt::NoFocus);
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

// Qt grabs the pointer for the pressed widget until the release, which stands in for the
// platform's capture.
void TImage::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton) FClicked = true;
}

void TImage::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() != Qt::LeftButton || !FClicked) return;
    FClicked = false;
    if (rect().contains(event->position().toPoint()) && OnClick) OnClick(this);
}

// The second press of a double click: no clicked mark, so the release that follows does not
// click again.
void TImage::mouseDoubleClickEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && OnDblClick) OnDblClick(this);
}
