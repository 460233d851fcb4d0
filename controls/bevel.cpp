#include "controls/bevel.h"

#include "controls/accessible.h"
#include "platform/gui/accessibility.h"
#include "platform/gui/canvas.h"
#include "platform/gui/colors.h"

TBevel::TBevel(TComponent *owner, QWidget *parent) : QWidget(parent), TComponent(owner) {
    setFocusPolicy(Qt::NoFocus);
    InstallControlAccessibility();
    // A plain frame is drawing only; one that groups controls is made a group.
    SetAccessibleExposure(*this, TAccessibleExposure::aeHidden);
}

// The light frame sits one pixel right of and below the dark one, which is drawn over it.
void TBevel::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    TCanvas canvas(painter);
    canvas.Brush.Style = TBrushStyle::bsClear;
    canvas.Pen.Color = ColorToQColor(clBtnHighlight);
    canvas.Rectangle(1, 1, width(), height());
    canvas.Pen.Color = ColorToQColor(clBtnShadow);
    canvas.Rectangle(0, 0, width() - 1, height() - 1);
}
