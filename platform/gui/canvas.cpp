#include "platform/gui/canvas.h"

#include <QFontMetrics>
#include <QPainterPath>
#include <algorithm>
#include <cstdlib>
#include <limits>

TCanvas::TCanvas(QPainter &painter)
    : FPainter(painter), FOldAntialiasing(painter.testRenderHint(QPainter::Antialiasing)) {
    FPainter.setRenderHint(QPainter::Antialiasing, false);
}

TCanvas::~TCanvas() {
    FPainter.setRenderHint(QPainter::Antialiasing, FOldAntialiasing);
}

void TCanvas::ApplyPenAndBrush() {
    if (SolidPen()) {
        QPen pen(Pen.Color, Pen.Width);
        pen.setJoinStyle(Qt::MiterJoin);
        FPainter.setPen(pen);
    } else {
        FPainter.setPen(Qt::NoPen);
    }
    if (Brush.Style == TBrushStyle::bsSolid)
        FPainter.setBrush(Brush.Color);
    else
        FPainter.setBrush(Qt::NoBrush);
}

void TCanvas::MoveTo(int x, int y) {
    FPenPos = QPoint(x, y);
}

void TCanvas::LineTo(int x, int y) {
    const QPoint from = FPenPos;
    FPenPos = QPoint(x, y);
    if (!SolidPen()) return;
    if (Pen.Width > 1) { // wide pens have no exact pixel rule to keep
        ApplyPenAndBrush();
        FPainter.drawLine(from, FPenPos);
        return;
    }
    // Bresenham, stopping one pixel short of the end point.
    int x0 = from.x(), y0 = from.y();
    const int dx = std::abs(x - x0), dy = -std::abs(y - y0);
    const int sx = x0 < x ? 1 : -1, sy = y0 < y ? 1 : -1;
    int error = dx + dy;
    while (x0 != x || y0 != y) {
        FPainter.fillRect(x0, y0, 1, 1, Pen.Color);
        const int e2 = 2 * error;
        if (e2 >= dy) {
            error += dy;
            x0 += sx;
        }
        if (e2 <= dx) {
            error += dx;
            y0 += sy;
        }
    }
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    if (x2 <= x1 || y2 <= y1) return;
    if (Brush.Style == TBrushStyle::bsSolid)
        FPainter.fillRect(x1, y1, x2 - x1, y2 - y1, Brush.Color);
    if (!SolidPen()) return;
    const int w = std::min(Pen.Width, std::min(x2 - x1, y2 - y1));
    FPainter.fillRect(x1, y1, x2 - x1, w, Pen.Color);
    FPainter.fillRect(x1, y2 - w, x2 - x1, w, Pen.Color);
    FPainter.fillRect(x1, y1, w, y2 - y1, Pen.Color);
    FPainter.fillRect(x2 - w, y1, w, y2 - y1, Pen.Color);
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    if (x2 <= x1 || y2 <= y1) return;
    ApplyPenAndBrush();
    // An aliased QPainter outline covers x..x+width, one pixel more than the rectangle.
    FPainter.drawEllipse(QRect(x1, y1, x2 - x1 - 1, y2 - y1 - 1));
}

// Filled, not stroked: an aliased fill takes the pixels whose centres lie inside, so all four
// corners come out alike, where an aliased outline is cut unevenly at small corners.
void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int w, int h) {
    if (x2 <= x1 || y2 <= y1) return;
    auto shape = [&](qreal inset) {
        QPainterPath path;
        const QRectF box = QRectF(x1, y1, x2 - x1, y2 - y1).adjusted(inset, inset, -inset, -inset);
        if (!box.isEmpty())
            path.addRoundedRect(box, std::max(0.0, w / 2.0 - inset),
                                std::max(0.0, h / 2.0 - inset));
        return path;
    };
    const int pen = SolidPen() ? std::min(Pen.Width, std::min(x2 - x1, y2 - y1)) : 0;
    const QPainterPath inside = shape(pen);
    if (pen > 0) FPainter.fillPath(shape(0).subtracted(inside), Pen.Color);
    if (Brush.Style == TBrushStyle::bsSolid) FPainter.fillPath(inside, Brush.Color);
}

void TCanvas::SetPixel(int x, int y, const QColor &color) {
    FPainter.fillRect(x, y, 1, 1, color);
}

void TCanvas::FillRect(const TRect &rect) {
    if (Brush.Style == TBrushStyle::bsSolid && rect.Width() > 0 && rect.Height() > 0)
        FPainter.fillRect(rect.ToQRect(), Brush.Color);
}

namespace {

int QtFlags(unsigned format) {
    int flags = 0;
    if (format & DT_CENTER)
        flags |= Qt::AlignHCenter;
    else if (format & DT_RIGHT)
        flags |= Qt::AlignRight;
    else
        flags |= Qt::AlignLeft;
    // The platform centres or bottom-aligns only single lines.
    if ((format & DT_SINGLELINE) && (format & DT_VCENTER))
        flags |= Qt::AlignVCenter;
    else if ((format & DT_SINGLELINE) && (format & DT_BOTTOM))
        flags |= Qt::AlignBottom;
    else
        flags |= Qt::AlignTop;
    if (format & DT_SINGLELINE)
        flags |= Qt::TextSingleLine;
    else if (format & DT_WORDBREAK)
        flags |= Qt::TextWordWrap;
    // Tab stops every eight widths of an "x", close to the platform's eight average characters
    // (Qt expands tabs in left-aligned text only).
    if (format & DT_EXPANDTABS) flags |= Qt::TextExpandTabs;
    if (!(format & DT_NOPREFIX)) flags |= Qt::TextShowMnemonic;
    return flags;
}

} // namespace

int TCanvas::DrawText(TRect &rect, const QString &text, unsigned format) {
    const int flags = QtFlags(format);
    const QFontMetrics metrics(Font);
    if (format & DT_CALCRECT) {
        // Word breaking keeps the given width; otherwise the width follows the text.
        const int width = (format & DT_WORDBREAK) && !(format & DT_SINGLELINE)
                              ? rect.Width()
                              : std::numeric_limits<short>::max();
        const QRect needed = metrics.boundingRect(QRect(rect.Left, rect.Top, width, 0),
                                                  flags & ~Qt::AlignVertical_Mask, text);
        rect.Right = rect.Left + needed.width();
        rect.Bottom = rect.Top + needed.height();
        return needed.height();
    }
    FPainter.save();
    FPainter.setFont(Font);
    FPainter.setPen(FontColor);
    if (!(format & DT_NOCLIP)) FPainter.setClipRect(rect.ToQRect(), Qt::IntersectClip);
    QRect used;
    FPainter.drawText(rect.ToQRect(), flags, text, &used);
    FPainter.restore();
    return used.height();
}

void TCanvas::TextOut(int x, int y, const QString &text, int escapement) {
    FPainter.save();
    FPainter.setFont(Font);
    FPainter.setPen(FontColor);
    FPainter.translate(x, y);
    FPainter.rotate(-escapement / 10.0);
    FPainter.drawText(QPoint(0, QFontMetrics(Font).ascent()), text);
    FPainter.restore();
}

int TCanvas::TextWidth(const QString &text) const {
    return QFontMetrics(Font).horizontalAdvance(text);
}

int TCanvas::TextHeight(const QString &) const {
    return QFontMetrics(Font).height();
}
