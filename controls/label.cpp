#include "controls/label.h"

#include "platform/canvas.h"

#include <QEvent>
#include <QFontMetrics>
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
    setFocusPolicy(Qt::NoFocus);
    AdjustBounds();
}

void TLabel::SetCaption(const QString &value) {
    if (FCaption == value) return;
    FCaption = value;
    setAccessibleName(QString(value).remove(u'&'));
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

// An empty caption still takes the height of a line (and the width of a blank).
void TLabel::AdjustBounds() {
    if (!FAutoSize) return;
    const QString text = FCaption.isEmpty() ? QStringLiteral(" ") : FCaption;
    const QSize needed = QFontMetrics(font()).size(Qt::TextShowMnemonic, text);
    const int left =
        FAlignment == TAlignment::taRightJustify ? x() + width() - needed.width() : x();
    setGeometry(left, y(), needed.width(), needed.height());
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
    canvas.DrawText(area, FCaption, FormatOf(FAlignment));
}
