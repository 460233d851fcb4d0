#include "controls/label.h"

#include "controls/accessible.h"
#include "platform/gui/accessibility.h"
#include "platform/gui/canvas.h"

#include <QEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

namespace {

unsigned FormatOf(TLabel::TAlignment alignment) {
    switch (alignment) {
    case TLabel::TAlignment::taRightJustify:
        return DT_RIGHT;
    case TLabel::TAlignment::taCenter:
        return DT_CENTER;
    case TLabel::TAlignment::taLeftJustify:
        break;
    }
    return DT_LEFT;
}

} // namespace

TLabel::TLabel(TComponent *owner, QWidget *parent) : QWidget(parent), TComponent(owner) {
    InstallControlAccessibility();
    setFocusPolicy(Qt::NoFocus);
    FPress.Click = [this] { Click(); };
    SetAccessibleExposure(*this, TAccessibleExposure::aeHidden);
    AdjustBounds();
}

void TLabel::SetCaption(const QString &value) {
    if (FCaption == value) return;
    FCaption = value;
    const QString spoken = AccessibleCaption(value);
    SetAccessibleExposure(*this, spoken.isEmpty() ? TAccessibleExposure::aeHidden
                                                  : TAccessibleExposure::aeShown);
    setAccessibleName(spoken);
    AdjustBounds();
    update();
}

void TLabel::SetAlignment(TAlignment value) {
    if (FAlignment == value) return;
    FAlignment = value;
    update();
}

void TLabel::SetAutoSize(bool value) {
    if (FAutoSize == value) return;
    FAutoSize = value;
    AdjustBounds();
}

void TLabel::SetTransparent(bool value) {
    if (FTransparent == value) return;
    FTransparent = value;
    update();
}

void TLabel::SetColor(TColor value) {
    if (FColor == value) return;
    FColor = value;
    update();
}

void TLabel::SetFontColor(TColor value) {
    if (FFontColor == value) return;
    FFontColor = value;
    update();
}

void TLabel::SetWordWrap(bool value) {
    if (FWordWrap == value) return;
    FWordWrap = value;
    AdjustBounds();
    update();
}

unsigned TLabel::TextFormat() const {
    return (FWordWrap ? unsigned(DT_WORDBREAK) : 0u) | DT_EXPANDTABS | FormatOf(FAlignment);
}

// An empty caption still takes the height of a line (and the width of a blank). While the
// layout is read only its last caption, font and bounds count: the label is measured once,
// when the layout has been read.
void TLabel::AdjustBounds() {
    if (!FAutoSize || IsLoading()) return;
    const QString text = FCaption.isEmpty() ? QStringLiteral(" ") : FCaption;
    const QFontMetrics metrics(font());
    const int flags = Qt::TextShowMnemonic | Qt::TextExpandTabs;
    const QSize needed =
        FWordWrap
            ? QSize(width(),
                    metrics.boundingRect(QRect(0, 0, width(), 0), flags | Qt::TextWordWrap, text)
                        .height())
            : metrics.size(flags, text);
    const int left =
        FAlignment == TAlignment::taRightJustify ? x() + width() - needed.width() : x();
    setGeometry(left, y(), needed.width(), needed.height());
}

void TLabel::Loaded() {
    TComponent::Loaded();
    AdjustBounds();
}

void TLabel::changeEvent(QEvent *event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange) AdjustBounds();
}

void TLabel::paintEvent(QPaintEvent *) {
    QPainter painter(this);
    TCanvas canvas(painter);
    TRect area{0, 0, width(), height()};
    if (!FTransparent) {
        canvas.Brush.Color = ColorToQColor(FColor);
        canvas.FillRect(area);
    }
    canvas.Font = font();
    canvas.FontColor = ColorToQColor(FFontColor);
    canvas.DrawText(area, FCaption, TextFormat());
}

void TLabel::Click() {
    if (OnClick) OnClick(this);
}

void TLabel::mousePressEvent(QMouseEvent *event) {
    FPress.Press(*event);
}

void TLabel::mouseReleaseEvent(QMouseEvent *event) {
    FPress.Release(*event);
}

// The second press of a double click: no clicked mark, so the release that follows does not
// click again.
void TLabel::mouseDoubleClickEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && OnDblClick) OnDblClick(this);
}
